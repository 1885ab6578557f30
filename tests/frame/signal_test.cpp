// The real program asked to stop from outside (kill, Ctrl+C, a closed terminal) with its
// output going to a file: it ends as Escape ends it, status 0 after the shut-down, and what
// it printed is in the file as soon as it was printed.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace
{
class StopSignal : public ::testing::TestWithParam<int>
{
};

std::string Read(const std::string &path)
{
    std::ifstream file(path);
    return {std::istreambuf_iterator<char>(file), {}};
}

TEST_P(StopSignal, EndsTheProgramAsEscapeDoes)
{
    const std::string output = testing::TempDir() + "zindrel_signal_" + std::to_string(getpid());
    const pid_t pid = fork();
    if (pid == 0)
    {
        alarm(30); // outlives the exec: a program that ignores the signal still ends
        if (freopen(output.c_str(), "w", stdout) != nullptr)
        {
            execl(ZINDREL_PROGRAM, ZINDREL_PROGRAM, nullptr);
        }
        _exit(127);
    }
    ASSERT_GT(pid, 0);
    // The start-up line comes just before the frame loop starts.
    const std::string line = " - Making window active.\n";
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (Read(output).find(line) == std::string::npos && std::chrono::steady_clock::now() < limit)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_NE(Read(output).find(line), std::string::npos) << "the start-up line is not written";
    kill(pid, GetParam());
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    EXPECT_TRUE(Read(output).ends_with(line)) << Read(output);
    unlink(output.c_str());
}

INSTANTIATE_TEST_SUITE_P(Signals, StopSignal, ::testing::Values(SIGTERM, SIGINT, SIGHUP));
} // namespace
