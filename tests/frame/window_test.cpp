// The Window's frame loop under an X server: the order of the steps within a frame, the end of
// the loop, and the demonstration frame when there is no render callback.
#include "frame/window.h"

#include "foundation/logging.h"
#include "frame/integration_win.h"
#include "input/controller_win.h"
#include "tests/frame/x11_client.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

// The receiver registered with the controller in place of the game's player.
struct Player
{
    std::vector<std::string> *log;
};

namespace
{
std::vector<std::string> steps;
int frame = 0;
std::vector<std::vector<unsigned char>> shownFrames;

GLFWwindow *FrameworkWindow(Window *window)
{
    return OSWindow_GetFrameworkWindow(Window_GetOSWindow(window));
}

void LogKey(Player *player, Window *, KeyboardEvent event)
{
    player->log->push_back("key " + std::to_string(event.key) + " " + std::to_string(event.action));
}

class FrameLoop : public ::testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        Logging_SetLevel(LOGGING_LEVEL_ERROR);
        Window_Initialize_Library();
    }
    void SetUp() override
    {
        OSProgramResume();
        steps.clear();
        shownFrames.clear();
        frame = 0;
    }
    void TearDown() override
    {
        if (window != nullptr)
        {
            Window_Destroy(window);
        }
        OSProgramResume();
    }
    void Open(WindowCallback logic, WindowCallback render)
    {
        window = Window_Create(1024, 768, "Zindrel window test", logic, render);
        Controller_AddPlayer(Window_GetController(window), &player);
        Controller_SetPlayerFunctions(Window_GetController(window), LogKey, nullptr, nullptr);
    }

    Window *window = nullptr;
    Player player{&steps};
};

// Frame 2 receives a key press during its render, frame 3 asks to close in its logic step and
// receives another key during its render: each key is handled in the event processing that
// ends its own frame, and the frame that asked to close still renders and processes events.
void OrderLogic(Window *window)
{
    frame++;
    steps.push_back("logic " + std::to_string(frame));
    if (frame == 3)
    {
        Window_SetShouldClose(window);
    }
}

void OrderRender(Window *window)
{
    steps.push_back("render " + std::to_string(frame));
    // Press and release together: a window losing the focus to another test's window between
    // the two would otherwise have the library report a release of its own.
    if (frame == 2 || frame == 3)
    {
        const char *key = frame == 2 ? "Left" : "Right";
        x11::SendKey(FrameworkWindow(window), key, true);
        x11::SendKey(FrameworkWindow(window), key, false);
    }
}

TEST_F(FrameLoop, RunsTheStepsInOrderAndFinishesTheFrameThatAskedToClose)
{
    Open(OrderLogic, OrderRender);
    Window_MakeActive(window);
    const std::vector<std::string> expected = {"logic 1",   "render 1",  "logic 2", "render 2",
                                               "key 263 1", "key 263 0", "logic 3", "render 3",
                                               "key 262 1", "key 262 0"};
    EXPECT_EQ(steps, expected);
    EXPECT_EQ(OSProgramRunning(), 0);
}

void CloseButtonLogic(Window *window)
{
    frame++;
    steps.push_back("logic " + std::to_string(frame));
    if (frame == 2)
    {
        x11::SendCloseRequest(FrameworkWindow(window));
    }
}

void CountingRender(Window *)
{
    steps.push_back("render " + std::to_string(frame));
}

TEST_F(FrameLoop, CloseButtonEndsTheLoopAfterTheFrameAsEscapeDoes)
{
    Open(CloseButtonLogic, CountingRender);
    Window_MakeActive(window);
    const std::vector<std::string> expected = {"logic 1", "render 1", "logic 2", "render 2"};
    EXPECT_EQ(steps, expected);
}

// Without a logic callback the step is skipped; the render callback counts the frames itself.
void RenderWithoutLogic(Window *window)
{
    frame++;
    steps.push_back("render " + std::to_string(frame));
    if (frame == 2)
    {
        Window_SetShouldClose(window);
    }
}

TEST_F(FrameLoop, WindowHoldsItsPartsAndSkipsAMissingLogicCallback)
{
    Open(nullptr, RenderWithoutLogic);
    // The controller was created on this window's platform window and leads its callbacks.
    EXPECT_EQ(glfwGetWindowUserPointer(FrameworkWindow(window)), Window_GetController(window));
    Window_Fullscreen(window);
    EXPECT_EQ(glfwGetWindowMonitor(FrameworkWindow(window)), nullptr);

    Window_MakeActive(window);
    const std::vector<std::string> expected = {"render 1", "render 2"};
    EXPECT_EQ(steps, expected);
}

// With no render callback each frame shows the demonstration cube. The logic step of the next
// frame takes what the window shows from the X server.
void ReadShownFrame(Window *window)
{
    frame++;
    if (frame >= 2)
    {
        shownFrames.push_back(x11::GetShownPixels(FrameworkWindow(window), 1024, 768));
    }
    if (frame == 3)
    {
        Window_SetShouldClose(window);
    }
}

TEST_F(FrameLoop, NullRenderCallbackShowsTheTurningCube)
{
    Open(ReadShownFrame, nullptr);
    x11::KeepContentsOffScreen(FrameworkWindow(window));
    Window_MakeActive(window);
    ASSERT_EQ(shownFrames.size(), 2u);
    auto at = [](const std::vector<unsigned char> &pixels, int x, int y)
    {
        const unsigned char *pixel = &pixels[(y * 1024 + x) * 3];
        return std::vector<int>{pixel[0], pixel[1], pixel[2]};
    };
    const std::vector<int> blue = {0, 51, 255}, black = {0, 0, 0};
    int blueCount = 0, changed = 0;
    ASSERT_EQ(shownFrames[0].size(), 1024u * 768u * 3u);
    ASSERT_EQ(shownFrames[1].size(), shownFrames[0].size());
    for (size_t i = 0; i < shownFrames[0].size(); i += 3)
    {
        blueCount += shownFrames[0][i + 2] == 255;
        changed += shownFrames[0][i + 2] != shownFrames[1][i + 2];
    }
    for (const auto &pixels : shownFrames)
    {
        EXPECT_EQ(at(pixels, 512, 384), blue);
        EXPECT_EQ(at(pixels, 2, 2), black);
        EXPECT_EQ(at(pixels, 1021, 765), black);
    }
    // The cube covers a good part of the window and has turned a little between the frames:
    // only pixels along its outline change.
    EXPECT_GT(blueCount, 1024 * 768 / 5);
    EXPECT_GT(changed, 0);
    EXPECT_LT(changed, 2000);
}
} // namespace
