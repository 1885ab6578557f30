// Synthetic events go out with XSendEvent; the window library's code that handles them is the
// same as for events from the server.
#include "tests/frame/x11_client.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#define GLFW_EXPOSE_NATIVE_X11
#include <GLFW/glfw3native.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xcomposite.h>

namespace x11
{
static void SendCloseRequest(Display *display, ::Window xWindow)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = xWindow;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, xWindow, False, NoEventMask, &event);
    XSync(display, False);
}

void SendCloseRequest(GLFWwindow *window)
{
    SendCloseRequest(glfwGetX11Display(), glfwGetX11Window(window));
}

bool SendCloseRequest(uint64_t xWindow)
{
    Display *display = XOpenDisplay(nullptr);
    if (display == nullptr)
    {
        return false;
    }
    SendCloseRequest(display, static_cast<::Window>(xWindow));
    XCloseDisplay(display);
    return true;
}

bool PressKey(uint64_t xWindow, const char *keysymName)
{
    Display *display = XOpenDisplay(nullptr);
    if (display == nullptr)
    {
        return false;
    }
    int event = 0, error = 0, major = 0, minor = 0;
    const KeyCode keycode = XKeysymToKeycode(display, XStringToKeysym(keysymName));
    const bool sent = keycode != 0 && XTestQueryExtension(display, &event, &error, &major, &minor);
    if (sent)
    {
        XGrabServer(display);
        XSetInputFocus(display, static_cast<::Window>(xWindow), RevertToParent, CurrentTime);
        XTestFakeKeyEvent(display, keycode, True, CurrentTime);
        XTestFakeKeyEvent(display, keycode, False, CurrentTime);
        XUngrabServer(display);
        XSync(display, False);
    }
    XCloseDisplay(display);
    return sent;
}

void SendKey(GLFWwindow *window, const char *keysymName, bool press)
{
    Display *display = glfwGetX11Display();
    const ::Window xWindow = glfwGetX11Window(window);
    XEvent event{};
    event.xkey.type = press ? KeyPress : KeyRelease;
    event.xkey.display = display;
    event.xkey.window = xWindow;
    event.xkey.root = DefaultRootWindow(display);
    event.xkey.time = CurrentTime;
    event.xkey.same_screen = True;
    event.xkey.keycode = XKeysymToKeycode(display, XStringToKeysym(keysymName));
    XSendEvent(display, xWindow, True, press ? KeyPressMask : KeyReleaseMask, &event);
    XSync(display, False);
}

void KeepContentsOffScreen(GLFWwindow *window)
{
    XCompositeRedirectWindow(glfwGetX11Display(), glfwGetX11Window(window),
                             CompositeRedirectAutomatic);
    XSync(glfwGetX11Display(), False);
}

std::vector<unsigned char> GetShownPixels(GLFWwindow *window, int width, int height)
{
    std::vector<unsigned char> pixels;
    XImage *image =
        XGetImage(glfwGetX11Display(), glfwGetX11Window(window), 0, 0, static_cast<unsigned>(width),
                  static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (image == nullptr)
    {
        return pixels;
    }
    pixels.reserve(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; y++)
    {
        for (int x = 0; x < width; x++)
        {
            const unsigned long pixel = XGetPixel(image, x, y);
            pixels.push_back(static_cast<unsigned char>((pixel & image->red_mask) >> 16));
            pixels.push_back(static_cast<unsigned char>((pixel & image->green_mask) >> 8));
            pixels.push_back(static_cast<unsigned char>(pixel & image->blue_mask));
        }
    }
    XDestroyImage(image);
    return pixels;
}

SizeLimits GetSizeLimits(GLFWwindow *window)
{
    SizeLimits limits{};
    XSizeHints hints{};
    long supplied = 0;
    if (XGetWMNormalHints(glfwGetX11Display(), glfwGetX11Window(window), &hints, &supplied))
    {
        if (hints.flags & PMinSize)
        {
            limits.minWidth = hints.min_width;
            limits.minHeight = hints.min_height;
        }
        if (hints.flags & PMaxSize)
        {
            limits.maxWidth = hints.max_width;
            limits.maxHeight = hints.max_height;
        }
    }
    return limits;
}
} // namespace x11
