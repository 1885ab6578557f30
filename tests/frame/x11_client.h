// What the X server or a window manager would send to a window, for tests that run without a
// window manager (Xvfb). Kept free of Xlib's names, which clash with the game's Window.
#pragma once

#include <cstdint>
#include <vector>

struct GLFWwindow;

namespace x11
{
// The window manager's close request (WM_PROTOCOLS / WM_DELETE_WINDOW), as sent when the user
// clicks the close button. Sent on the window library's own connection and synchronised, so
// the next event processing sees it.
void SendCloseRequest(GLFWwindow *window);
// The same for a window of another process, by its X window id, on a connection of our own.
bool SendCloseRequest(uint64_t xWindow);
// A real key press and release of the named key (X keysym name, e.g. "Escape") through the X
// test extension, to the window of another process. Focus is set and the key sent while the
// server is held, so that no window opened meanwhile by another program can take the key.
bool PressKey(uint64_t xWindow, const char *keysymName);
// A synthetic key press or release of the named key (X keysym name, e.g. "Escape") to the window,
// delivered like SendCloseRequest.
void SendKey(GLFWwindow *window, const char *keysymName, bool press);

// Keeps the window's contents in storage of its own (Composite redirection), so that reading
// them back is not spoilt by other windows over it, as on a display without a window manager.
void KeepContentsOffScreen(GLFWwindow *window);
// What the window shows, as rows of red, green, blue bytes from the top row down., as rows of red,
// green, blue bytes from the top row down.
std::vector<unsigned char> GetShownPixels(GLFWwindow *window, int width, int height);

// The size limits the window asks a window manager to keep (WM_NORMAL_HINTS); 0 when unset.
struct SizeLimits
{
    int minWidth;
    int minHeight;
    int maxWidth;
    int maxHeight;
};
SizeLimits GetSizeLimits(GLFWwindow *window);
} // namespace x11
