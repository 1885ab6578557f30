// The controller on a real window: keyboard and mouse events go through the callbacks it
// registered with the window library; game pads are stand-ins this binary defines.
#include "input/controller_win.h"

#include "foundation/logging.h"
#include "frame/integration_win.h"
#include "frame/window.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

struct Player
{
    int id;
};

namespace
{
std::vector<std::string> received;
std::vector<int> polledSlots;
Window *window = nullptr;

// Each receiver notes what reached it, then scribbles over its copy of the event, which must
// not reach the receiver after it.
template <typename Event, typename... Values>
void Note(Player *player, Window *to, Event &event, const char *format, Values... values)
{
    char text[128];
    snprintf(text, sizeof text, format, values...);
    received.push_back(std::to_string(player->id) + (to == window ? " " : " elsewhere ") + text);
    memset(static_cast<void *>(&event), 0x5a, sizeof event);
}

void NoteKey(Player *player, Window *to, KeyboardEvent e)
{
    Note(player, to, e, "key %d %d %d %d", e.key, e.scancode, e.action, e.mods);
}

void NoteMouse(Player *player, Window *to, MouseEvent e, int32_t type)
{
    if (type == MOUSE_EVENT_BUTTON)
        Note(player, to, e, "button %d %d %d %d", e.button.button, e.button.action, e.button.mods,
             e.button.zero);
    else
        Note(player, to, e, "%d: %g %g", type, e.position.x, e.position.y);
}

void NoteJoystick(Player *player, Window *to, JoystickEvent e)
{
    Note(player, to, e, "pad %d %d %s, %d axes %g, %d buttons %d%d, %d hats", e.joystickId,
         e.isGamepad, e.name, e.axisCount, e.axes[GLFW_GAMEPAD_AXIS_LEFT_X], e.buttonCount,
         e.buttons[GLFW_GAMEPAD_BUTTON_A], e.buttons[GLFW_GAMEPAD_BUTTON_DPAD_LEFT], e.hatCount);
}

void NoteFocus(Player *player, Window *to, int32_t focused)
{
    Note(player, to, focused, "focus %d", focused);
}

// One event of every kind, then a frame's game-pad poll; what reached the players.
std::vector<std::string> SendEveryKind(GLFWwindow *to, Controller *polled)
{
    // The callback the controller registered, left registered.
    const auto registered = [to](auto set)
    {
        const auto callback = set(to, nullptr);
        set(to, callback);
        return callback;
    };
    registered(glfwSetKeyCallback)(to, GLFW_KEY_SPACE, 65, GLFW_PRESS, GLFW_MOD_SHIFT);
    registered(glfwSetMouseButtonCallback)(to, GLFW_MOUSE_BUTTON_RIGHT, GLFW_RELEASE, GLFW_MOD_ALT);
    registered(glfwSetCursorPosCallback)(to, 12.5, -3.25);
    registered(glfwSetScrollCallback)(to, 0.0, -1.0);
    registered(glfwSetWindowFocusCallback)(to, GLFW_FALSE);
    if (polled != nullptr)
        Controller_PollJoysticks(polled);
    return std::exchange(received, {});
}
} // namespace

// Stand-in game pads in slots 0, 2 (unplugged between the check and the read) and 15.
int glfwJoystickPresent(int slot)
{
    polledSlots.push_back(slot);
    return slot == 0 || slot == 2 || slot == 15;
}
int glfwJoystickIsGamepad(int)
{
    return GLFW_TRUE;
}
int glfwGetGamepadState(int slot, GLFWgamepadstate *state)
{
    *state = {};
    state->axes[GLFW_GAMEPAD_AXIS_LEFT_X] = 0.75f;
    state->buttons[GLFW_GAMEPAD_BUTTON_DPAD_LEFT] = GLFW_PRESS;
    return slot != 2;
}
const char *glfwGetGamepadName(int)
{
    return "Pad";
}

TEST(ControllerEvents, EveryEventReachesEachPlayerInTurnWithItsOwnCopyAndNoneAfterRelease)
{
    Logging_SetLevel(LOGGING_LEVEL_ERROR);
    Window_Initialize_Library();
    window = Window_Create(1024, 768, "Zindrel controller test", nullptr, nullptr);
    Controller *controller = Window_GetController(window);
    GLFWwindow *frameworkWindow = OSWindow_GetFrameworkWindow(Window_GetOSWindow(window));
    Player first{1}, second{2};
    Controller_AddPlayer(controller, &first);
    Controller_AddPlayer(controller, &second);
    // Players but no functions to reach them through.
    EXPECT_TRUE(SendEveryKind(frameworkWindow, controller).empty());
    polledSlots.clear();
    Controller_SetPlayerFunctions(controller, NoteKey, NoteMouse, NoteJoystick);
    Controller_SetPlayerFocusFunction(controller, NoteFocus);
    // Key 32 is space, button 1 the right one, modifier 1 Shift and 4 Alt. Of the pads only the
    // one in slot 0 is reported; slot 15 is never polled.
    std::vector<std::string> expected;
    for (const char *event : {"key 32 65 1 1", "button 1 0 4 0", "1: 12.5 -3.25", "4: 0 -1",
                              "focus 0", "pad 0 1 Pad, 6 axes 0.75, 15 buttons 01, 0 hats"})
        expected.insert(expected.end(), {std::string("1 ") + event, std::string("2 ") + event});
    EXPECT_EQ(SendEveryKind(frameworkWindow, controller), expected);
    EXPECT_EQ(polledSlots, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}));

    // Functions but no players: a controller of its own, which takes the callbacks over.
    Controller *replacement = Controller_Create(window);
    Controller_SetPlayerFunctions(replacement, NoteKey, NoteMouse, NoteJoystick);
    Controller_SetPlayerFocusFunction(replacement, NoteFocus);
    EXPECT_TRUE(SendEveryKind(frameworkWindow, replacement).empty());
    // Releasing a controller the callbacks no longer lead to leaves them with the newer one, and
    // a released controller is never reached again.
    Window_SetInputController(window, replacement);
    Controller_Destroy(controller);
    EXPECT_EQ(glfwGetWindowUserPointer(frameworkWindow), replacement);
    Window_SetInputController(window, nullptr);
    Controller_AddPlayer(replacement, &first);
    Controller_Destroy(replacement);
    EXPECT_EQ(glfwGetWindowUserPointer(frameworkWindow), nullptr);
    EXPECT_TRUE(SendEveryKind(frameworkWindow, nullptr).empty());
    Window_Destroy(window);
}
