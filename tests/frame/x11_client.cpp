#include "tests/frame/x11_client.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#define GLFW_EXPOSE_NATIVE_X11
#include <GLFW/glfw3native.h>
#include <X11/extensions/Xcomposite.h>

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

void KeepContentsOffScreen(uint64_t window)
{
    XCompositeRedirectWindow(glfwGetX11Display(), window, CompositeRedirectAutomatic);
}

std::vector<uint32_t> ShownPixels(uint64_t window, int width, int height)
{
    XImage *image = XGetImage(glfwGetX11Display(), window, 0, 0, width, height, AllPlanes, ZPixmap);
    std::vector<uint32_t> pixels;
    for (int y = 0; image != nullptr && y < height; y++)
        for (int x = 0; x < width; x++)
            pixels.push_back(XGetPixel(image, x, y) & 0xffffff);
    if (image != nullptr)
        XDestroyImage(image);
    return pixels;
}
} // namespace x11
