// integration_win: the only place that talks to the window library (GLFW 3). It starts the
// library, opens the one window with its OpenGL context, runs the per-frame begin and end
// steps, draws the demonstration cube and holds the process-wide exit flag of the frame loop.
#pragma once

#include <cstdint>

struct GLFWwindow;
struct OSWindow;

// Shapes of the window library's input callbacks, so they can be stored without the library's
// header. The platform layer only stores them; the input controller registers its own.
typedef void (*OSWindowCursorPosFunction)(GLFWwindow *window, double x, double y);
typedef void (*OSWindowMouseButtonFunction)(GLFWwindow *window, int button, int action, int mods);
typedef void (*OSWindowScrollFunction)(GLFWwindow *window, double xOffset, double yOffset);
typedef void (*OSWindowKeyboardFunction)(GLFWwindow *window, int key, int scancode, int action,
                                         int mods);

// The frame-rate cap: a frame that ends sooner than its share of a second at this rate is held
// back until its share is over. A little above 60, so a 60 Hz display that honours the swap
// interval is never held back.
#define OS_FRAME_RATE_CAP 62

// Starts the window library with the error callback installed first. Ends the process with
// exit status 1 when the library cannot start. Calling it again does no harm.
void OSInit(void);
// 1: windowed mode is available.
int32_t OSHasWindowMode(void);
// 1: full-screen mode is available.
int32_t OSHasFullScreenMode(void);
// Sets the exit flag: the frame loop ends after the frame it is in. Async-signal-safe: it
// only stores to a sig_atomic_t, so signal handlers may call it.
void OSProgramShouldExit(void);
// 1 while the exit flag is clear, else 0.
int32_t OSProgramRunning(void);
// Clears the exit flag so that a window opened after an earlier one was closed can run its own
// loop. The game never needs it: it opens one window for its whole run.
void OSProgramResume(void);
// Does nothing: the window library stays up until the process ends.
void OSProgramExit(void);

// Opens a width x height window with the given title and an OpenGL context; the user cannot
// resize it, and its close button sets the exit flag just as OSProgramShouldExit does. Ends
// the process with exit status 1 when the window cannot be opened.
// Ownership: the caller; release with OSWindow_Destroy. The title is not copied and must
// outlive the window.
OSWindow *OSWindow_Create(int32_t width, int32_t height, const char *title);
// Closes the window, releases the record and sets the exit flag.
void OSWindow_Destroy(OSWindow *window);
// The library's window. Ownership: the OSWindow's; valid until OSWindow_Destroy.
GLFWwindow *OSWindow_GetFrameworkWindow(OSWindow *window);
// A free slot for the caller; starts null and is never read by this layer.
void *OSWindow_GetUserData(OSWindow *window);
void OSWindow_SetUserData(OSWindow *window, void *userData);
// Store the pointer only: nothing is registered with the library and nothing is called.
void OSWindow_SetCursorPosCallback(OSWindow *window, OSWindowCursorPosFunction callback);
void OSWindow_SetMouseButtonCallback(OSWindow *window, OSWindowMouseButtonFunction callback);
void OSWindow_SetScrollCallback(OSWindow *window, OSWindowScrollFunction callback);
void OSWindow_SetKeyboardCallback(OSWindow *window, OSWindowKeyboardFunction callback);
// Does nothing: the window stays as it was opened.
void OSWindow_SetFullScreen(OSWindow *window);

// Once before the first frame: makes the context current and asks for a swap per retrace.
void OSWindow_FrameInit(OSWindow *window);
// Clears the colour and depth buffers to transparent black.
void OSWindow_FrameBegin(OSWindow *window);
// Draws the demonstration frame: a tilted cube whose angle about its own z axis grows by
// 0.79 x pi / 180 degrees a frame, so it turns slowly. Leaves the model-view matrix as it found
// it. The first call in a window builds the cube's texture in that window's context.
void OSWindow_FrameDrawCube(OSWindow *window);
// Swaps the buffers, holds the frame back to the rate cap, then processes pending window
// events (which is when input callbacks run).
void OSWindow_FrameEnd(OSWindow *window);
// A loop of its own that shows only the demonstration frame until the exit flag is set.
void OSWindow_MainLoop(OSWindow *window);
