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
#include <cmath>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

struct Player // in the game player's place
{
};

namespace
{
std::vector<std::string> steps;
int frame = 0;
void (*closeInFrame3)(Window *window) = nullptr;
std::vector<std::vector<uint32_t>> shownFrames;
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
    static void SetUpTestSuite()
    {
        Logging_SetLevel(LOGGING_LEVEL_ERROR);
        Window_Initialize_Library();
    }
    void TearDown() override { Close(); }
    void Open(WindowCallback logic, WindowCallback render, int width = 1024, int height = 768)
    {
        OSProgramResume();
        steps.clear();
        frame = 0;
        window = Window_Create(width, height, "Zindrel window test", logic, render);
        Controller_AddPlayer(Window_GetController(window), &player);
        Controller_SetPlayerFunctions(Window_GetController(window), LogKey, nullptr, nullptr);
    }
    void Close()
    {
        if (window != nullptr)
            Window_Destroy(window);
        window = nullptr;
    }

    Window *window = nullptr;
    Player player;
};

// Frames 2 and 3 each get a key during their render, and frame 3 asks to close in its logic
// step. Each key is handled in the event processing that ends its own frame, and the frame that
// asked to close still renders and processes its events, whether Escape (through the player's
// Window_SetShouldClose) or the close button asked.
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

TEST_F(FrameLoop, RunsTheStepsInOrderAndFinishesTheFrameThatAskedToClose)
{
    void (*pressCloseButton)(Window *) = [](Window *w) { x11::SendCloseRequest(XWindow(w)); };
    for (void (*close)(Window *) : {Window_SetShouldClose, pressCloseButton})
    {
        Open(OrderLogic, OrderRender);
        closeInFrame3 = close;
        Window_MakeActive(window);
        const std::vector<std::string> expected = {"logic 1",   "render 1",  "logic 2", "render 2",
                                                   "key 263 1", "key 263 0", "logic 3", "render 3",
                                                   "key 262 1", "key 262 0"};
        EXPECT_EQ(steps, expected);
        Close();
    }

    // Without a logic callback that step is left out.
    Open(nullptr, [](Window *shown) { steps.push_back("render"), Window_SetShouldClose(shown); });
    Window_MakeActive(window);
    EXPECT_EQ(steps, std::vector<std::string>{"render"});
}

// With no render callback each frame shows the demonstration cube; the logic steps of frames 2
// and 3 read what frames 1 and 2 left on the screen. Frames are held to 62 a second (Xvfb's swap
// does not wait for a retrace); a busy machine makes them late, never early.
void ReadShownFrame(Window *window)
{
    frameTimes.push_back(std::chrono::steady_clock::now());
    if (frameTimes.size() == 2 || frameTimes.size() == 3)
        shownFrames.push_back(x11::ShownPixels(XWindow(window), 1024, 768));
    if (frameTimes.size() == 120)
        Window_SetShouldClose(window);
}

TEST_F(FrameLoop, FixedSizeWindowShowsTheTurningCubeAtMost62FramesASecond)
{
    Open(ReadShownFrame, nullptr);
    GLFWwindow *frameworkWindow = OSWindow_GetFrameworkWindow(Window_GetOSWindow(window));
    int width = 0, height = 0;
    glfwGetWindowSize(frameworkWindow, &width, &height);
    EXPECT_TRUE(width == 1024 && height == 768) << width << " x " << height;
    EXPECT_EQ(glfwGetWindowAttrib(frameworkWindow, GLFW_RESIZABLE), GLFW_FALSE);

    x11::KeepContentsOffScreen(XWindow(window));
    Window_MakeActive(window);
    ASSERT_EQ(frameTimes.size(), 120u);
    // 119 slots at 62 frames a second are 1.92 s.
    EXPECT_GT(std::chrono::duration<double>(frameTimes.back() - frameTimes[0]).count(), 1.85);
    ASSERT_TRUE(shownFrames.size() == 2 && shownFrames[0].size() == 1024 * 768 &&
                shownFrames[1].size() == shownFrames[0].size());
    // Seen along d, a unit cube covers |dx| + |dy| + |dz| square units. Tilted 15 degrees about x
    // and 45 about y, d is (-cos 15 sin 45, sin 15, cos 15 cos 45); a unit is 512 x 384 pixels.
    const double area = (std::sqrt(2.0) * std::cos(M_PI / 12) + std::sin(M_PI / 12)) * 512 * 384;
    int changed = 0;
    for (const std::vector<uint32_t> &pixels : shownFrames)
    {
        int blue = 0, black = 0;
        for (size_t i = 0; i < pixels.size(); i++)
        {
            blue += pixels[i] == 0x0033ff;
            black += pixels[i] == 0;
            changed += &pixels != &shownFrames[0] && pixels[i] != shownFrames[0][i];
        }
        EXPECT_NEAR(blue, area, area / 500);
        EXPECT_EQ(blue + black, 1024 * 768);
    }
    // The cube has turned a little between the frames: only pixels along its outline change.
    EXPECT_GT(changed, 0);
    EXPECT_LT(changed, 2000);

    // Closing the window ends the program.
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
