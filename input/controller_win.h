// controller_win: turns the window library's keyboard, mouse and joystick input into event
// records and hands each event to every registered player, the first added first. Keyboard and
// mouse events arrive while the frame loop processes window events at the end of a frame;
// joysticks are polled once at the start of each frame.
#pragma once

#include <cstdint>

struct Controller;
struct OSWindow;
struct Player;
struct Window;

// The four integers exactly as the window library reports them (GLFW key codes, GLFW_PRESS 1,
// GLFW_RELEASE 0, GLFW_REPEAT 2, GLFW_MOD_ bits).
struct KeyboardEvent
{
    int32_t key;
    int32_t scancode;
    int32_t action;
    int32_t mods;
};

// Which member of a MouseEvent is meant travels beside it. Type 3 is not used.
#define MOUSE_EVENT_CURSOR 1
#define MOUSE_EVENT_BUTTON 2
#define MOUSE_EVENT_SCROLL 4

// 16 bytes read according to the event type: the cursor position in screen coordinates from the
// window's upper-left corner (type 1) or the scroll offsets (type 4) as two doubles, or a button
// change (type 2) as four integers, the last always 0.
union MouseEvent
{
    struct
    {
        double x;
        double y;
    } position;
    struct
    {
        int32_t button;
        int32_t action;
        int32_t mods;
        int32_t zero;
    } button;
};
static_assert(sizeof(MouseEvent) == 16, "a mouse event is 16 bytes");

// One present device in one frame. A game pad (standard mapping) has 6 axes and 15 buttons in
// the GLFW_GAMEPAD_ orders and no hats; a plain joystick has its raw arrays. The arrays are
// valid only during the handler call and are not to be written.
struct JoystickEvent
{
    int32_t joystickId; // 0 to 14
    int32_t isGamepad;
    const char *name;
    int32_t axisCount;
    const float *axes; // -1.0 to 1.0
    int32_t buttonCount;
    const unsigned char *buttons; // GLFW_PRESS or GLFW_RELEASE
    int32_t hatCount;
    const unsigned char *hats; // GLFW_HAT_ bits
};

// Handlers the controller sends every event through; the built-in ones hand it to each player.
typedef void (*ControllerMouseFunction)(Controller *controller, MouseEvent event, int32_t type);
typedef void (*ControllerKeyboardFunction)(Controller *controller, KeyboardEvent event);
typedef void (*ControllerJoystickFunction)(Controller *controller, JoystickEvent event);

// What a registered player receives, with the controller's window (so it can end the game with
// Window_SetShouldClose) and its own copy of the event. The player's module sits above this one,
// so it hands its three functions in with Controller_SetPlayerFunctions.
typedef void (*PlayerKeyboardFunction)(Player *player, Window *window, KeyboardEvent event);
typedef void (*PlayerMouseFunction)(Player *player, Window *window, MouseEvent event, int32_t type);
typedef void (*PlayerJoystickFunction)(Player *player, Window *window, JoystickEvent event);
// focused: 1 when the window gained the keyboard focus, 0 when it lost it.
typedef void (*PlayerFocusFunction)(Player *player, Window *window, int32_t focused);

// How a controller finds the platform window of the Window it serves. The window module sits
// above this one (it owns the controller), so it installs Window_GetOSWindow here before it
// creates a controller; until then a controller receives no keyboard or mouse input.
typedef OSWindow *(*ControllerOSWindowFunction)(Window *window);
void Controller_SetOSWindowFunction(ControllerOSWindowFunction function);

// A controller for the window with no players and the built-in handlers, its callbacks
// registered on the window's library window.
// Ownership: the caller (the Window); release with Controller_Destroy.
Controller *Controller_Create(Window *window);
// Releases the player list (not the players) and the record, and detaches the callbacks from
// the library window when they still lead here.
void Controller_Destroy(Controller *controller);
// Appends a receiver; players are not owned and must outlive the controller. Null is refused.
void Controller_AddPlayer(Controller *controller, Player *player);
// The three functions every added player receives its events through. Any may be null: that
// kind of event is then dropped, as is every event before this is called.
void Controller_SetPlayerFunctions(Controller *controller, PlayerKeyboardFunction keyboard,
                                   PlayerMouseFunction mouse, PlayerJoystickFunction joystick);
// What every added player is told when the window gains or loses the keyboard focus; null (the
// default) tells nobody.
void Controller_SetPlayerFocusFunction(Controller *controller, PlayerFocusFunction function);
// Store the handler, point the library window's user pointer at the controller and register the
// matching library callbacks (cursor position, mouse button and scroll; key and focus; none).
void Controller_SetMouseFunction(Controller *controller, ControllerMouseFunction function);
void Controller_SetKeyboardFunction(Controller *controller, ControllerKeyboardFunction function);
void Controller_SetJoystickFunction(Controller *controller, ControllerJoystickFunction function);
// Sends one event per present device in slots 0 to 14, lowest slot first. The frame loop calls
// it once per frame; every present device is reported every frame, changed or not.
void Controller_PollJoysticks(Controller *controller);
