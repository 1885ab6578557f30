// What a person, the X server or a window manager would send to a window, for tests under Xvfb
// (no window manager), on the window library's X connection. Kept free of Xlib's names, which
// clash with the game's Window.
#pragma once

#include <cstdint>

struct GLFWwindow;

namespace x11
{
uint64_t IdOf(GLFWwindow *window);
// As a window manager does when the user clicks the close button (WM_DELETE_WINDOW).
void SendCloseRequest(uint64_t window);
// A press and release of an X keysym such as "Escape" sent straight to the window, as xdotool
// does: it does not depend on the focus, which a window of a parallel test may take.
void SendKey(uint64_t window, const char *keysymName);
} // namespace x11
