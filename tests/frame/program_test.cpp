// The real program, quit every way a person or the system quits it.
#include "tests/frame/x11_client.h"
#include "tests/support/support.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace
{
using Clock = std::chrono::steady_clock;

template <typename Condition> bool WaitFor(Condition done, int seconds = 60)
{
    for (const auto end = Clock::now() + std::chrono::seconds(seconds); !done();)
    {
        if (Clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

class Program : public ::testing::Test
{
  protected:
    void SetUp() override { ASSERT_TRUE(glfwInit()); } // its X connection looks and sends
    void TearDown() override
    {
        if (pid > 0)
        {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        glfwTerminate();
    }

    void Start()
    {
        pid = fork();
        if (pid == 0)
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
        ASSERT_TRUE(WaitFor(
            [&]
            {
                FILE *found = popen(search.c_str(), "r");
                const bool shown = fscanf(found, "%lu", &window) == 1;
                pclose(found);
                return shown;
            }))
            << "no window appeared";
    }

    void ExpectEndsAtOnceWithStatusZero()
    {
        int status = 0;
        ASSERT_TRUE(WaitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; }, 5))
            << "still running 5 s after it was asked to quit";
        pid = 0;
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
        const std::string printed = FileContents(output);
        EXPECT_TRUE(printed.starts_with("Error at main.cpp:") &&
                    printed.ends_with(" - Making window active.\n") &&
                    printed.find('\n') == printed.size() - 1)
            << printed;
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
        ASSERT_NO_FATAL_FAILURE(Start());
        EXPECT_TRUE(
            WaitFor([&] { return FileContents(output).ends_with(" - Making window active.\n"); }))
            << "the start-up line is not written";
        if (way == 0)
            x11::SendKey(window, "Escape");
        else if (way < 0)
            x11::SendCloseRequest(window);
        else
            kill(pid, way);
        ASSERT_NO_FATAL_FAILURE(ExpectEndsAtOnceWithStatusZero()) << way;
    }
}

} // namespace
