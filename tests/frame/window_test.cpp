// The platform window and the Window's frame loop under an X server.
#include "frame/window.h"

#include "foundation/logging.h"
#include "frame/integration_win.h"
#include "input/controller_win.h"
#include "tests/frame/x11_client.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

struct Player // in the game player's place
{
};

namespace
{
std::vector<std::string> steps;
int frame = 0;
void (*closeInFrame3)(Window *window) = nullptr;
std::vector<std::chrono::steady_clock::time_point> frameTimes;

uint64_t XWindow(Window *window)
{
    return x11::IdOf(OSWindow_GetFrameworkWindow(Window_GetOSWindow(window)));
}

void LogKey(Player *, Window *, KeyboardEvent event)
{
    steps.push_back("key " + std::to_string(event.key) + " " + std::to_string(event.action));
}

class FrameLoop : public ::testing::Test
{
  protected:
    void TearDown() override { Close(); }
    // A fresh window whose frames run until one asks to close.
    void Run(WindowCallback logic, WindowCallback render)
    {
        Close();
        Logging_SetLevel(LOGGING_LEVEL_ERROR);
        Window_Initialize_Library();
        OSProgramResume();
        steps.clear();
        frame = 0;
        window = Window_Create(1024, 768, "Zindrel window test", logic, render);
        Controller_AddPlayer(Window_GetController(window), &player);
        Controller_SetPlayerFunctions(Window_GetController(window), LogKey, nullptr, nullptr);
        Window_MakeActive(window);
    }
    void Close()
    {
        if (window != nullptr)
            Window_Destroy(std::exchange(window, nullptr));
    }

    Window *window = nullptr;
    Player player;
};

// A key sent during a render is handled at the end of its own frame, and the frame that asks to
// close (as Escape or the close button asks) still renders and processes its events.
void OrderLogic(Window *window)
{
    steps.push_back("logic " + std::to_string(++frame));
    if (frame >= 3) // after frame 3 the close went unheard: the test fails rather than hangs
        (frame == 3 ? closeInFrame3 : Window_SetShouldClose)(window);
}

void OrderRender(Window *window)
{
    steps.push_back("render " + std::to_string(frame));
    if (frame >= 2)
        x11::SendKey(XWindow(window), frame == 2 ? "Left" : "Right");
}

TEST_F(FrameLoop, RunsStepsInOrderFinishesTheFrameThatAskedToCloseAndKeeps62FramesASecond)
{
    void (*pressCloseButton)(Window *) = [](Window *w) { x11::SendCloseRequest(XWindow(w)); };
    for (void (*close)(Window *) : {Window_SetShouldClose, pressCloseButton})
    {
        closeInFrame3 = close;
        Run(OrderLogic, OrderRender);
        EXPECT_EQ(steps, (std::vector<std::string>{"logic 1", "render 1", "logic 2", "render 2",
                                                   "key 263 1", "key 263 0", "logic 3", "render 3",
                                                   "key 262 1", "key 262 0"}));
    }

    // Without a logic callback that step is left out.
    Run(nullptr, [](Window *shown) { steps.push_back("render"), Window_SetShouldClose(shown); });
    EXPECT_EQ(steps, std::vector<std::string>{"render"});

    // Frames are held to 62 a second (Xvfb's swap does not wait for a retrace); a busy machine
    // makes them late, never early. The window keeps its size; closing it ends the program.
    Run(
        [](Window *counted)
        {
            frameTimes.push_back(std::chrono::steady_clock::now());
            if (frameTimes.size() == 120)
                Window_SetShouldClose(counted);
        },
        nullptr);
    GLFWwindow *frameworkWindow = OSWindow_GetFrameworkWindow(Window_GetOSWindow(window));
    int width = 0, height = 0;
    glfwGetWindowSize(frameworkWindow, &width, &height);
    EXPECT_TRUE(width == 1024 && height == 768) << width << " x " << height;
    EXPECT_EQ(glfwGetWindowAttrib(frameworkWindow, GLFW_RESIZABLE), GLFW_FALSE);
    ASSERT_EQ(frameTimes.size(), 120u);
    // 119 slots at 62 frames a second are 1.92 s.
    EXPECT_GT(std::chrono::duration<double>(frameTimes.back() - frameTimes[0]).count(), 1.85);
    OSProgramResume();
    Close();
    EXPECT_EQ(OSProgramRunning(), 0);
}

TEST(PlatformFailure, LibraryOrWindowThatCannotStartEndsTheProcess)
{
    // Each child sends its log (standard output) to standard error for the check.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto start = [](const char *display)
    {
        dup2(STDERR_FILENO, STDOUT_FILENO);
        setenv("DISPLAY", display, 1);
        OSInit();
        OSWindow_Create(0, 0, "Broken");
    };
    EXPECT_EXIT(start(getenv("DISPLAY")), ::testing::ExitedWithCode(1),
                "Error: .*\n(.|\n)*Error at integration_win.cpp:[0-9]+ - Failed to open window "
                "Broken with size \\[0x0\\]");
    EXPECT_EXIT(start(":none"), ::testing::ExitedWithCode(1),
                "Error: X11: .*\n(.|\n)*Failed to initialize GLFW library\\.");
}
} // namespace
