// The real program, quit every way a person or the system quits it.
#include "tests/frame/x11_client.h"
#include "tests/support/support.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <gmock/gmock.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace
{
template <typename Condition> bool WaitFor(Condition done, int seconds = 60)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (; !done(); std::this_thread::sleep_for(std::chrono::milliseconds(50)))
        if (std::chrono::steady_clock::now() > end)
            return false;
    return true;
}

class Program : public ::testing::Test
{
  protected:
    void SetUp() override { ASSERT_TRUE(glfwInit()); } // its X connection looks and sends
    void TearDown() override
    {
        if (pid > 0 && kill(pid, SIGKILL) == 0)
            waitpid(pid, nullptr, 0);
        glfwTerminate();
    }

    pid_t pid = 0;
    uint64_t window = 0;
    const std::string output = testing::TempDir() + "zindrel_" + std::to_string(getpid());
};

// Its output goes to a file, where the start-up line must be as soon as it is printed.
TEST_F(Program, EndsAtOnceWithStatusZeroEveryWay)
{
    for (const int way : {0, -1, SIGTERM, SIGINT, SIGHUP}) // 0: Escape; -1: the close button
    {
        SCOPED_TRACE(way);
        if ((pid = fork()) == 0)
        {
            alarm(240); // outlives the exec: a program that hangs is ended, and the test fails
            if (freopen(output.c_str(), "w", stdout) != nullptr)
                execl(ZINDREL_PROGRAM, ZINDREL_PROGRAM, nullptr);
            _exit(127);
        }
        ASSERT_GT(pid, 0);
        // Asked again: xdotool gives up when a window it looks at is closed under it.
        const std::string search = "xdotool search --onlyvisible --all --pid " +
                                   std::to_string(pid) + " --name '^Zindrel$' 2>/dev/null";
        const auto shown = [&]
        {
            FILE *found = popen(search.c_str(), "r");
            const bool read = fscanf(found, "%lu", &window) == 1;
            pclose(found);
            return read;
        };
        ASSERT_TRUE(WaitFor(shown)) << "no window appeared";
        EXPECT_TRUE(
            WaitFor([&] { return FileContents(output).ends_with(" - Making window active.\n"); }))
            << "the start-up line is not written";
        if (way == 0)
            x11::SendKey(window, "Escape");
        else if (way < 0)
            x11::SendCloseRequest(window);
        else
            kill(pid, way);
        int status = 0;
        ASSERT_TRUE(WaitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; }, 5))
            << "still running 5 s after it was asked to quit";
        pid = 0;
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
        EXPECT_THAT(
            FileContents(output),
            testing::MatchesRegex("Error at main\\.cpp:[^\n]* - Making window active\\.\n"));
    }
}
} // namespace
