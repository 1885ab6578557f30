// The real program as a person uses it, quit three ways: each must end at once with status 0.
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
#include <vector>

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

class Program : public ::testing::TestWithParam<int>
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

    void Start(bool findWindow = true)
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
        if (!findWindow)
            return;
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
        x11::KeepContentsOffScreen(window); // windows of parallel tests may lie over it
    }

    // Pixels of one colour, or of any but it, in a rectangle of what the window shows.
    int Count(int left, int top, int width, int height, uint32_t colour, bool other = false)
    {
        const std::vector<uint32_t> shown = x11::ShownPixels(window, 1024, 768);
        int count = 0;
        for (int y = top; y < top + height && !shown.empty(); y++)
            for (int x = left; x < left + width; x++)
                count += (shown[y * 1024 + x] == colour) != other;
        return count;
    }
    int PressFire() { return Count(202, 457, 620, 42, 0xffffff); }
    int Score() { return Count(624, 714, 369, 35, 0xffffff); }

    void ExpectEndsAtOnceWithStatusZero()
    {
        int status = 0;
        ASSERT_TRUE(WaitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; }, 5))
            << "still running 5 s after it was asked to quit";
        pid = 0;
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
        const std::string printed = Printed();
        EXPECT_TRUE(printed.starts_with("Error at main.cpp:") &&
                    printed.ends_with(" - Making window active.\n") &&
                    printed.find('\n') == printed.size() - 1)
            << printed;
    }

    std::string Printed() { return FileContents(output); }

    pid_t pid = 0;
    uint64_t window = 0;
    const std::string output = testing::TempDir() + "zindrel_" + std::to_string(getpid());
};

TEST_F(Program, PlayedAsAPersonWouldAndClosedBothWays)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(WaitFor([&] { return PressFire() > 500; })) << "no \"Press Fire!\" on the title";
    x11::SendKey(window, "space");
    ASSERT_TRUE(WaitFor([&] { return Score() > 200 && PressFire() < 50; }))
        << "no score at the bottom right, or still the title";
    x11::SendKey(window, "space"); // fires
    x11::SendKey(window, "Escape");
    ASSERT_NO_FATAL_FAILURE(ExpectEndsAtOnceWithStatusZero());

    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(WaitFor([&] { return Count(0, 0, 1024, 768, 0, true) > 0; })) << "nothing drawn";
    x11::SendCloseRequest(window);
    ExpectEndsAtOnceWithStatusZero();
}

// Stopped from outside, it ends as Escape ends it, its output in the file as soon as printed.
TEST_P(Program, EndsOnAStopSignalAsEscapeEndsIt)
{
    ASSERT_NO_FATAL_FAILURE(Start(false));
    EXPECT_TRUE(WaitFor([&] { return Printed().ends_with(" - Making window active.\n"); }))
        << "the start-up line is not written";
    kill(pid, GetParam());
    ExpectEndsAtOnceWithStatusZero();
}

INSTANTIATE_TEST_SUITE_P(Signals, Program, ::testing::Values(SIGTERM, SIGINT, SIGHUP));

} // namespace
