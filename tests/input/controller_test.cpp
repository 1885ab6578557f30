// The controller with a real window: the tests call the very callbacks the controller registered
// with the window library (fetched back from the library), as its event processing would.
#include "input/controller_win.h"

#include "foundation/logging.h"
#include "frame/integration_win.h"
#include "frame/window.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

// A receiver in the player's place: it records what reaches it and then scribbles over its
// copy of the event, which must not reach the receiver after it.
struct Player
{
    int id;
};

namespace
{
struct Delivery
{
    int player;
    Window *window;
    int32_t type;
    unsigned char bytes[16];
};
std::vector<Delivery> deliveries;

template <typename Event> void Record(Player *player, Window *window, Event &event, int32_t type)
{
    Delivery delivery{player->id, window, type, {}};
    static_assert(sizeof event <= sizeof delivery.bytes);
    memcpy(delivery.bytes, &event, sizeof event);
    deliveries.push_back(delivery);
    memset(&event, 0x5a, sizeof event);
}

void RecordKey(Player *player, Window *window, KeyboardEvent event)
{
    Record(player, window, event, 0);
}

void RecordMouse(Player *player, Window *window, MouseEvent event, int32_t type)
{
    Record(player, window, event, type);
}

template <typename Event> Event EventOf(const Delivery &delivery)
{
    Event event;
    memcpy(&event, delivery.bytes, sizeof event);
    return event;
}

// The library callbacks the controller registered; taken out and put back, so the library
// still calls them.
struct Callbacks
{
    GLFWkeyfun key;
    GLFWmousebuttonfun mouseButton;
    GLFWcursorposfun cursorPos;
    GLFWscrollfun scroll;
};

Callbacks RegisteredCallbacks(GLFWwindow *window)
{
    Callbacks callbacks{};
    callbacks.key = glfwSetKeyCallback(window, nullptr);
    glfwSetKeyCallback(window, callbacks.key);
    callbacks.mouseButton = glfwSetMouseButtonCallback(window, nullptr);
    glfwSetMouseButtonCallback(window, callbacks.mouseButton);
    callbacks.cursorPos = glfwSetCursorPosCallback(window, nullptr);
    glfwSetCursorPosCallback(window, callbacks.cursorPos);
    callbacks.scroll = glfwSetScrollCallback(window, nullptr);
    glfwSetScrollCallback(window, callbacks.scroll);
    return callbacks;
}

class ControllerEvents : public ::testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        Logging_SetLevel(LOGGING_LEVEL_ERROR);
        Window_Initialize_Library();
    }
    void SetUp() override
    {
        deliveries.clear();
        window = Window_Create(1024, 768, "Zindrel controller test", nullptr, nullptr);
        controller = Window_GetController(window);
        frameworkWindow = OSWindow_GetFrameworkWindow(Window_GetOSWindow(window));
        callbacks = RegisteredCallbacks(frameworkWindow);
        ASSERT_NE(callbacks.key, nullptr);
        ASSERT_NE(callbacks.mouseButton, nullptr);
        ASSERT_NE(callbacks.cursorPos, nullptr);
        ASSERT_NE(callbacks.scroll, nullptr);
    }
    void TearDown() override
    {
        Window_Destroy(window);
        OSProgramResume();
    }
    void SendEveryKind()
    {
        callbacks.key(frameworkWindow, GLFW_KEY_SPACE, 65, GLFW_PRESS, GLFW_MOD_SHIFT);
        callbacks.mouseButton(frameworkWindow, GLFW_MOUSE_BUTTON_RIGHT, GLFW_RELEASE, GLFW_MOD_ALT);
        callbacks.cursorPos(frameworkWindow, 12.5, -3.25);
        callbacks.scroll(frameworkWindow, 0.0, -1.0);
    }

    Window *window = nullptr;
    Controller *controller = nullptr;
    GLFWwindow *frameworkWindow = nullptr;
    Callbacks callbacks{};
    Player first{1}, second{2};
};

TEST_F(ControllerEvents, EveryEventReachesEachPlayerInTurnWithItsOwnCopy)
{
    Controller_AddPlayer(controller, &first);
    Controller_AddPlayer(controller, &second);
    Controller_SetPlayerFunctions(controller, RecordKey, RecordMouse, nullptr);
    SendEveryKind();

    ASSERT_EQ(deliveries.size(), 8u);
    for (size_t i = 0; i < deliveries.size(); i++)
    {
        EXPECT_EQ(deliveries[i].player, i % 2 == 0 ? 1 : 2);
        EXPECT_EQ(deliveries[i].window, window);
        // The second receiver sees the event untouched by the first.
        if (i % 2 == 1)
        {
            EXPECT_EQ(memcmp(deliveries[i].bytes, deliveries[i - 1].bytes, 16), 0);
            EXPECT_EQ(deliveries[i].type, deliveries[i - 1].type);
        }
    }

    const auto key = EventOf<KeyboardEvent>(deliveries[0]);
    EXPECT_EQ(key.key, GLFW_KEY_SPACE);
    EXPECT_EQ(key.scancode, 65);
    EXPECT_EQ(key.action, GLFW_PRESS);
    EXPECT_EQ(key.mods, GLFW_MOD_SHIFT);

    EXPECT_EQ(deliveries[2].type, MOUSE_EVENT_BUTTON);
    const auto button = EventOf<MouseEvent>(deliveries[2]);
    EXPECT_EQ(button.button.button, GLFW_MOUSE_BUTTON_RIGHT);
    EXPECT_EQ(button.button.action, GLFW_RELEASE);
    EXPECT_EQ(button.button.mods, GLFW_MOD_ALT);
    EXPECT_EQ(button.button.zero, 0);

    EXPECT_EQ(deliveries[4].type, MOUSE_EVENT_CURSOR);
    EXPECT_EQ(EventOf<MouseEvent>(deliveries[4]).position.x, 12.5);
    EXPECT_EQ(EventOf<MouseEvent>(deliveries[4]).position.y, -3.25);
    EXPECT_EQ(deliveries[6].type, MOUSE_EVENT_SCROLL);
    EXPECT_EQ(EventOf<MouseEvent>(deliveries[6]).position.x, 0.0);
    EXPECT_EQ(EventOf<MouseEvent>(deliveries[6]).position.y, -1.0);
}

TEST_F(ControllerEvents, NothingHappensWithoutReceivers)
{
    // Players but no functions to reach them through.
    Controller_AddPlayer(controller, &first);
    SendEveryKind();
    EXPECT_TRUE(deliveries.empty());

    // Functions but no players: a controller of its own, which takes over the callbacks.
    Controller *empty = Controller_Create(window);
    Controller_SetPlayerFunctions(empty, RecordKey, RecordMouse, nullptr);
    SendEveryKind();
    EXPECT_TRUE(deliveries.empty());
    Controller_Destroy(empty);
}

// A controller released while its window lives on (replaced with Window_SetInputController)
// must not be reached by the window's later events.
TEST_F(ControllerEvents, ReleasedControllerIsNoLongerReachedByTheWindowsEvents)
{
    Controller_SetPlayerFunctions(controller, RecordKey, RecordMouse, nullptr);
    Controller_AddPlayer(controller, &first);
    Window_SetInputController(window, nullptr);
    Controller_Destroy(controller);
    EXPECT_EQ(glfwGetWindowUserPointer(frameworkWindow), nullptr);
    SendEveryKind();
    EXPECT_TRUE(deliveries.empty());

    // Releasing a controller the callbacks no longer lead to leaves them with the newer one.
    Controller *older = Controller_Create(window);
    Controller *newer = Controller_Create(window);
    Window_SetInputController(window, newer);
    Controller_Destroy(older);
    EXPECT_EQ(glfwGetWindowUserPointer(frameworkWindow), newer);
}
} // namespace
