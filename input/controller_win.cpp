// controller_win: the library callbacks find their controller through the library window's user
// pointer and do nothing while it is null. Slot 15 of the library's 16 joystick slots is never
// polled.
#include "input/controller_win.h"

#include "foundation/allocator.h"
#include "foundation/list.h"
#include "foundation/logging.h"
#include "frame/integration_win.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

struct Controller
{
    Window *window;
    List *players;
    ControllerMouseFunction mouseFunction;
    ControllerKeyboardFunction keyboardFunction;
    ControllerJoystickFunction joystickFunction;
    PlayerKeyboardFunction playerKeyboardFunction;
    PlayerMouseFunction playerMouseFunction;
    PlayerJoystickFunction playerJoystickFunction;
    PlayerFocusFunction playerFocusFunction;
};

static ControllerOSWindowFunction _osWindowFunction = nullptr;

void Controller_SetOSWindowFunction(ControllerOSWindowFunction function)
{
    _osWindowFunction = function;
}

static GLFWwindow *_GetFrameworkWindow(Controller *controller)
{
    OSWindow *osWindow =
        _osWindowFunction != nullptr ? _osWindowFunction(controller->window) : nullptr;
    return osWindow != nullptr ? OSWindow_GetFrameworkWindow(osWindow) : nullptr;
}

static Controller *_GetController(GLFWwindow *frameworkWindow)
{
    return static_cast<Controller *>(glfwGetWindowUserPointer(frameworkWindow));
}

// The modifier bit a modifier key stands for; 0 for every other key.
static int _ModifierBit(int key)
{
    switch (key)
    {
    case GLFW_KEY_LEFT_SHIFT:
    case GLFW_KEY_RIGHT_SHIFT:
        return GLFW_MOD_SHIFT;
    case GLFW_KEY_LEFT_CONTROL:
    case GLFW_KEY_RIGHT_CONTROL:
        return GLFW_MOD_CONTROL;
    case GLFW_KEY_LEFT_ALT:
    case GLFW_KEY_RIGHT_ALT:
        return GLFW_MOD_ALT;
    case GLFW_KEY_LEFT_SUPER:
    case GLFW_KEY_RIGHT_SUPER:
        return GLFW_MOD_SUPER;
    default:
        return 0;
    }
}

// On X11 the library reports the modifiers held before the event, so a Shift key's own press
// carries no Shift. Every event leaves here with the set as it is after the key changed: a
// modifier key's press and repeat include its bit, its release excludes it.
static void _KeyCallback(GLFWwindow *frameworkWindow, int key, int scancode, int action, int mods)
{
    Controller *controller = _GetController(frameworkWindow);
    if (controller == nullptr || controller->keyboardFunction == nullptr)
    {
        return;
    }
    int bit = _ModifierBit(key);
    mods = action == GLFW_RELEASE ? mods & ~bit : mods | bit;
    controller->keyboardFunction(controller, KeyboardEvent{key, scancode, action, mods});
}

static void _MouseButtonCallback(GLFWwindow *frameworkWindow, int button, int action, int mods)
{
    Controller *controller = _GetController(frameworkWindow);
    if (controller == nullptr || controller->mouseFunction == nullptr)
    {
        return;
    }
    MouseEvent event;
    event.button = {button, action, mods, 0};
    controller->mouseFunction(controller, event, MOUSE_EVENT_BUTTON);
}

static void _SendMousePosition(GLFWwindow *frameworkWindow, double x, double y, int32_t type)
{
    Controller *controller = _GetController(frameworkWindow);
    if (controller == nullptr || controller->mouseFunction == nullptr)
    {
        return;
    }
    MouseEvent event;
    event.position = {x, y};
    controller->mouseFunction(controller, event, type);
}

static void _CursorPosCallback(GLFWwindow *frameworkWindow, double x, double y)
{
    _SendMousePosition(frameworkWindow, x, y, MOUSE_EVENT_CURSOR);
}

static void _ScrollCallback(GLFWwindow *frameworkWindow, double xOffset, double yOffset)
{
    _SendMousePosition(frameworkWindow, xOffset, yOffset, MOUSE_EVENT_SCROLL);
}

// The built-in handlers: every player, first added first, each called with its own copy of the
// event. Without the player's functions there is nobody to tell, and the event is dropped.
template <typename Deliver> static void _ForEachPlayer(Controller *controller, Deliver deliver)
{
    for (auto *player = static_cast<Player *>(List_GetFirst(controller->players));
         player != nullptr; player = static_cast<Player *>(List_GetNext(controller->players)))
    {
        deliver(player);
    }
}

static void _HandleKeyboardEvent(Controller *controller, KeyboardEvent event)
{
    PlayerKeyboardFunction function = controller->playerKeyboardFunction;
    if (function != nullptr)
    {
        _ForEachPlayer(controller,
                       [&](Player *player) { function(player, controller->window, event); });
    }
}

static void _HandleMouseEvent(Controller *controller, MouseEvent event, int32_t type)
{
    PlayerMouseFunction function = controller->playerMouseFunction;
    if (function != nullptr)
    {
        _ForEachPlayer(controller,
                       [&](Player *player) { function(player, controller->window, event, type); });
    }
}

static void _HandleJoystickEvent(Controller *controller, JoystickEvent event)
{
    PlayerJoystickFunction function = controller->playerJoystickFunction;
    if (function != nullptr)
    {
        _ForEachPlayer(controller,
                       [&](Player *player) { function(player, controller->window, event); });
    }
}

static void _FocusCallback(GLFWwindow *frameworkWindow, int focused)
{
    Controller *controller = _GetController(frameworkWindow);
    if (controller == nullptr || controller->playerFocusFunction == nullptr)
    {
        return;
    }
    PlayerFocusFunction function = controller->playerFocusFunction;
    _ForEachPlayer(controller,
                   [&](Player *player) { function(player, controller->window, focused); });
}

// Points the library window's user pointer at the controller; null when there is no library
// window to point (no way to reach it was installed).
static GLFWwindow *_Attach(Controller *controller)
{
    GLFWwindow *frameworkWindow = _GetFrameworkWindow(controller);
    if (frameworkWindow != nullptr)
    {
        glfwSetWindowUserPointer(frameworkWindow, controller);
    }
    return frameworkWindow;
}

Controller *Controller_Create(Window *window)
{
    Controller *controller = MEMORY_ALLOCATE_RECORD(Controller);
    controller->window = window;
    controller->players = List_Create(nullptr);
    if (_GetFrameworkWindow(controller) == nullptr)
    {
        LOG_ERROR("Controller has no platform window: keyboard and mouse input is off.");
    }
    Controller_SetMouseFunction(controller, _HandleMouseEvent);
    Controller_SetKeyboardFunction(controller, _HandleKeyboardEvent);
    Controller_SetJoystickFunction(controller, _HandleJoystickEvent);
    return controller;
}

void Controller_Destroy(Controller *controller)
{
    // A window that outlives its controller (one replaced with Window_SetInputController) must
    // not lead its callbacks to a released record.
    GLFWwindow *frameworkWindow = _GetFrameworkWindow(controller);
    if (frameworkWindow != nullptr && _GetController(frameworkWindow) == controller)
    {
        glfwSetWindowUserPointer(frameworkWindow, nullptr);
    }
    List_Destroy(controller->players);
    MEMORY_FREE(controller);
}

void Controller_AddPlayer(Controller *controller, Player *player)
{
    List_AddLast(controller->players, player);
}

void Controller_SetPlayerFunctions(Controller *controller, PlayerKeyboardFunction keyboard,
                                   PlayerMouseFunction mouse, PlayerJoystickFunction joystick)
{
    controller->playerKeyboardFunction = keyboard;
    controller->playerMouseFunction = mouse;
    controller->playerJoystickFunction = joystick;
}

void Controller_SetPlayerFocusFunction(Controller *controller, PlayerFocusFunction function)
{
    controller->playerFocusFunction = function;
}

void Controller_SetMouseFunction(Controller *controller, ControllerMouseFunction function)
{
    controller->mouseFunction = function;
    GLFWwindow *frameworkWindow = _Attach(controller);
    if (frameworkWindow != nullptr)
    {
        glfwSetCursorPosCallback(frameworkWindow, _CursorPosCallback);
        glfwSetMouseButtonCallback(frameworkWindow, _MouseButtonCallback);
        glfwSetScrollCallback(frameworkWindow, _ScrollCallback);
    }
}

void Controller_SetKeyboardFunction(Controller *controller, ControllerKeyboardFunction function)
{
    controller->keyboardFunction = function;
    GLFWwindow *frameworkWindow = _Attach(controller);
    if (frameworkWindow != nullptr)
    {
        glfwSetKeyCallback(frameworkWindow, _KeyCallback);
        glfwSetWindowFocusCallback(frameworkWindow, _FocusCallback);
    }
}

void Controller_SetJoystickFunction(Controller *controller, ControllerJoystickFunction function)
{
    controller->joystickFunction = function;
    _Attach(controller);
}

// Game pads are left out of the web build: the browsers' GLFW 3.2 has no game-pad mapping and
// no hats, so the buttons the player reads would mean different things there.
#ifndef __EMSCRIPTEN__
static constexpr int32_t POLLED_JOYSTICK_SLOTS = 15;

static void _SendGamepad(Controller *controller, int32_t slot)
{
    GLFWgamepadstate state;
    // The device can go between the mapping check and the read; a pad whose state cannot be
    // read is left out of this frame rather than reported with made-up values.
    if (!glfwGetGamepadState(slot, &state))
    {
        return;
    }
    JoystickEvent event{};
    event.joystickId = slot;
    event.isGamepad = 1;
    event.name = glfwGetGamepadName(slot);
    event.axisCount = GLFW_GAMEPAD_AXIS_LAST + 1;
    event.axes = state.axes;
    event.buttonCount = GLFW_GAMEPAD_BUTTON_LAST + 1;
    event.buttons = state.buttons;
    controller->joystickFunction(controller, event);
}

static void _SendJoystick(Controller *controller, int32_t slot)
{
    JoystickEvent event{};
    event.joystickId = slot;
    event.name = glfwGetJoystickName(slot);
    int count = 0;
    event.axes = glfwGetJoystickAxes(slot, &count);
    event.axisCount = count;
    event.buttons = glfwGetJoystickButtons(slot, &count);
    event.buttonCount = count;
    event.hats = glfwGetJoystickHats(slot, &count);
    event.hatCount = count;
    controller->joystickFunction(controller, event);
}

#endif

void Controller_PollJoysticks(Controller *controller)
{
#ifdef __EMSCRIPTEN__
    (void)controller;
#else
    for (int32_t slot = GLFW_JOYSTICK_1; slot < GLFW_JOYSTICK_1 + POLLED_JOYSTICK_SLOTS; slot++)
    {
        if (!glfwJoystickPresent(slot) || controller->joystickFunction == nullptr)
        {
            continue;
        }
        if (glfwJoystickIsGamepad(slot))
        {
            _SendGamepad(controller, slot);
        }
        else
        {
            _SendJoystick(controller, slot);
        }
    }
#endif
}
