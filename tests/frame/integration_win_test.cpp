// The platform window layer against the real window library under an X server.
#include "frame/integration_win.h"

#include "foundation/logging.h"
#include "tests/frame/x11_client.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

namespace
{
class PlatformWindow : public ::testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        Logging_SetLevel(LOGGING_LEVEL_ERROR);
        OSInit();
    }
    void SetUp() override
    {
        OSProgramResume();
        window = OSWindow_Create(1024, 768, "Zindrel test");
    }
    void TearDown() override
    {
        if (window != nullptr)
        {
            OSWindow_Destroy(window);
        }
        OSProgramResume();
    }
    GLFWwindow *FrameworkWindow() { return OSWindow_GetFrameworkWindow(window); }

    OSWindow *window = nullptr;
};

void StoredKeyCallback(GLFWwindow *, int, int, int, int) {}
void StoredCursorCallback(GLFWwindow *, double, double) {}

TEST_F(PlatformWindow, OpensAtTheRequestedSizeAndCannotBeResized)
{
    int width = 0, height = 0;
    glfwGetWindowSize(FrameworkWindow(), &width, &height);
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 768);
    EXPECT_EQ(glfwGetWindowAttrib(FrameworkWindow(), GLFW_RESIZABLE), GLFW_FALSE);
    // What a window manager is told: the smallest and the largest size are both the client size.
    const x11::SizeLimits limits = x11::GetSizeLimits(FrameworkWindow());
    EXPECT_EQ(limits.minWidth, 1024);
    EXPECT_EQ(limits.minHeight, 768);
    EXPECT_EQ(limits.maxWidth, 1024);
    EXPECT_EQ(limits.maxHeight, 768);

    OSWindow_SetFullScreen(window);
    EXPECT_EQ(glfwGetWindowMonitor(FrameworkWindow()), nullptr);
    glfwGetWindowSize(FrameworkWindow(), &width, &height);
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 768);
    EXPECT_EQ(OSHasWindowMode(), 1);
    EXPECT_EQ(OSHasFullScreenMode(), 1);
}

// The input controller registers its own callbacks; the layer's setters must not take the
// library's slots away from it.
TEST_F(PlatformWindow, StoresCallbacksAndUserDataWithoutRegisteringThem)
{
    EXPECT_EQ(OSWindow_GetUserData(window), nullptr);
    int marker = 0;
    OSWindow_SetUserData(window, &marker);
    EXPECT_EQ(OSWindow_GetUserData(window), &marker);

    OSWindow_SetKeyboardCallback(window, StoredKeyCallback);
    OSWindow_SetCursorPosCallback(window, StoredCursorCallback);
    EXPECT_EQ(glfwSetKeyCallback(FrameworkWindow(), nullptr), nullptr);
    EXPECT_EQ(glfwSetCursorPosCallback(FrameworkWindow(), nullptr), nullptr);
    EXPECT_EQ(glfwGetWindowUserPointer(FrameworkWindow()), nullptr);
}

TEST_F(PlatformWindow, ExitFlagIsSetByRequestAndByDestroyingTheWindow)
{
    EXPECT_EQ(OSProgramRunning(), 1);
    OSProgramExit();
    EXPECT_EQ(OSProgramRunning(), 1);
    OSProgramShouldExit();
    EXPECT_EQ(OSProgramRunning(), 0);

    OSProgramResume();
    OSWindow_Destroy(window);
    window = nullptr;
    EXPECT_EQ(OSProgramRunning(), 0);
}

TEST_F(PlatformWindow, CloseButtonSetsTheExitFlagWhenEventsAreProcessed)
{
    x11::SendCloseRequest(FrameworkWindow());
    EXPECT_EQ(OSProgramRunning(), 1);
    glfwPollEvents();
    EXPECT_EQ(OSProgramRunning(), 0);
}

TEST_F(PlatformWindow, MainLoopChecksTheFlagBeforeEachFrameAndEndsOnClose)
{
    OSProgramShouldExit();
    OSWindow_MainLoop(window); // returns at once
    EXPECT_EQ(glfwGetCurrentContext(), FrameworkWindow());

    OSProgramResume();
    x11::SendCloseRequest(FrameworkWindow());
    OSWindow_MainLoop(window); // one frame, whose event processing sees the close request
    EXPECT_EQ(OSProgramRunning(), 0);
}

// The process ends in both failures, so each runs in a child of its own; the log line goes
// to standard output, which the child sends to standard error for the check.
TEST(PlatformFailure, WindowThatCannotOpenEndsTheProcess)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            OSInit();
            OSWindow_Create(0, 0, "Broken");
        },
        ::testing::ExitedWithCode(1),
        "Error: .*\n(.|\n)*Error at integration_win.cpp:[0-9]+ - Failed to open window Broken "
        "with size \\[0x0\\]");
}

TEST(PlatformFailure, LibraryThatCannotStartEndsTheProcess)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            unsetenv("DISPLAY");
            OSInit();
        },
        ::testing::ExitedWithCode(1),
        "Error: X11: .*\n(.|\n)*Failed to initialize GLFW library\\.");
}
} // namespace
