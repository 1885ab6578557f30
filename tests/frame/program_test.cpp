// The real program used as a person would: start it, wait for its window (xdotool), quit it with
// a real Escape key or the window manager's close request, and check that it ends at once with
// status 0. And the frame-rate cap of the real loop: under Xvfb the swap does not wait for a
// retrace, so without the cap the frames would take a few milliseconds.
#include "frame/window.h"

#include "foundation/logging.h"
#include "tests/frame/x11_client.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
// Quit with the Escape key or the close button.
class Program : public ::testing::TestWithParam<std::string>
{
  protected:
    void SetUp() override
    {
        pid = fork();
        if (pid == 0)
        {
            alarm(20); // outlives the exec: a program that hangs is ended, and the test fails
            if (freopen(output.c_str(), "w", stdout) != nullptr)
            {
                execl(ZINDREL_PROGRAM, ZINDREL_PROGRAM, nullptr);
            }
            _exit(127);
        }
        ASSERT_GT(pid, 0);
        ASSERT_TRUE(glfwInit()); // for its X connection, which sends the key or the request
    }
    void TearDown() override
    {
        if (pid > 0)
        {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        glfwTerminate();
    }

    pid_t pid = 0;
    const std::string output = testing::TempDir() + "zindrel_" + std::to_string(getpid());
};

TEST_P(Program, EndsAtOnceWithStatusZero)
{
    // xdotool gives up when a window it looks at is closed under it (other tests open and close
    // windows all the time), so the search is asked again until the window shows.
    const std::string search = "timeout 10 sh -c 'until xdotool search --onlyvisible --all --pid " +
                               std::to_string(pid) +
                               " --name ^Zindrel$ 2>/dev/null; do sleep 0.02; done'";
    FILE *found = popen(search.c_str(), "r");
    unsigned long long window = 0;
    ASSERT_TRUE(found != nullptr && fscanf(found, "%llu", &window) == 1) << "no window appeared";
    pclose(found);
    usleep(300000);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, WNOHANG), 0) << "ended by itself with status " << status;

    GetParam() == "Escape" ? x11::PressKey(window, "Escape") : x11::SendCloseRequest(window);
    const auto sent = std::chrono::steady_clock::now();
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    pid = 0;
    EXPECT_LT(std::chrono::steady_clock::now() - sent, std::chrono::seconds(2));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    // Its one line of output, whatever the log puts before it.
    std::ifstream file(output);
    const std::string printed{std::istreambuf_iterator<char>(file), {}};
    EXPECT_TRUE(printed.ends_with(" - Making window active.\n") &&
                printed.find('\n') == printed.size() - 1)
        << printed;
}

INSTANTIATE_TEST_SUITE_P(QuitBy, Program, ::testing::Values("Escape", "CloseButton"));

int frames = 0;

void CountFrames(Window *window)
{
    if (++frames == 120)
    {
        Window_SetShouldClose(window);
    }
}

TEST(FramePacing, HundredTwentyFramesTakeAboutTwoSeconds)
{
    Logging_SetLevel(LOGGING_LEVEL_ERROR);
    Window_Initialize_Library();
    // A small window keeps each frame's own work (clear, cube, swap) far below its share of a
    // second even on a busy machine, so the time measured is the cap's.
    Window *window = Window_Create(160, 120, "Zindrel pacing test", CountFrames, nullptr);
    const auto start = std::chrono::steady_clock::now();
    Window_MakeActive(window);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    Window_Destroy(window);
    EXPECT_EQ(frames, 120);
    // 119 full slots at 62 frames a second are 1.92 s.
    EXPECT_GT(elapsed.count(), 1.5);
    EXPECT_LT(elapsed.count(), 3.0);
}
} // namespace
