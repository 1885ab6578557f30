#include "tests/frame/x11_client.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#define GLFW_EXPOSE_NATIVE_X11
#include <GLFW/glfw3native.h>

#include <initializer_list>

namespace x11
{
uint64_t IdOf(GLFWwindow *window)
{
    return glfwGetX11Window(window);
}

void SendCloseRequest(uint64_t window)
{
    Display *display = glfwGetX11Display();
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
}

void SendKey(uint64_t window, const char *keysymName)
{
    Display *display = glfwGetX11Display();
    XEvent event{};
    event.xkey.window = window;
    event.xkey.root = DefaultRootWindow(display);
    event.xkey.same_screen = True;
    event.xkey.keycode = XKeysymToKeycode(display, XStringToKeysym(keysymName));
    for (const int type : {KeyPress, KeyRelease})
    {
        event.xkey.type = type;
        XSendEvent(display, window, True, type == KeyPress ? KeyPressMask : KeyReleaseMask, &event);
    }
    XSync(display, False);
}

} // namespace x11
