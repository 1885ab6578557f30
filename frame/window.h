// window: the one Window of the program, tying the platform window, the input controller and
// the two per-frame callbacks together, and running the frame loop.
#pragma once

#include <cstdint>

struct Controller;
struct OSWindow;
struct Window;

// Called once per frame with the window; either may be null.
typedef void (*WindowCallback)(Window *window);

// Start and stop the platform layer; once per program, around every window.
void Window_Initialize_Library(void);
void Window_Deinitialize_Library(void);

// Opens the platform window, then creates the controller on it. A null render callback shows
// the platform layer's demonstration frame instead.
// Ownership: the caller; release with Window_Destroy. The title is not copied and must outlive
// the window.
Window *Window_Create(uint32_t width, uint32_t height, const char *title, WindowCallback logic,
                      WindowCallback render);
// Destroys the controller, then the platform window (which sets the exit flag), then the record.
void Window_Destroy(Window *window);
// Asks the platform window for full screen when the platform offers it.
void Window_Fullscreen(Window *window);
// Replaces the controller: the window owns the new one and no longer the old one, which the
// caller destroys. Null leaves the window without input.
void Window_SetInputController(Window *window, Controller *controller);
// Ends the frame loop after the frame it is called in (render, swap and events still run).
void Window_SetShouldClose(Window *window);
// Ownership of the results: the window's.
Controller *Window_GetController(Window *window);
uint32_t Window_GetWidth(Window *window);
uint32_t Window_GetHeight(Window *window);
OSWindow *Window_GetOSWindow(Window *window);
// Runs frames until the program is asked to exit. Each frame: joystick poll, clear, logic,
// render (or the demonstration frame), swap held to the frame-rate cap, window events.
void Window_MakeActive(Window *window);
