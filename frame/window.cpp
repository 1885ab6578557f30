// window: the frame loop. Keyboard and mouse events are processed at the end of a frame, so
// what a player does during frame n is first seen by the game in frame n + 1; joysticks are
// read at the start of each frame.
#include "frame/window.h"

#include "foundation/allocator.h"
#include "foundation/timeline.h"
#include "frame/integration_win.h"
#include "input/controller_win.h"

#ifdef __EMSCRIPTEN__
#include "frame/web/web_loop.h"
#endif

struct Window
{
    uint32_t width;
    uint32_t height;
    const char *title;
    WindowCallback logicFunction;
    WindowCallback renderFunction;
    Controller *controller;
    OSWindow *osWindow;
};

void Window_Initialize_Library(void)
{
    OSInit();
}

void Window_Deinitialize_Library(void)
{
    OSProgramExit();
}

Window *Window_Create(uint32_t width, uint32_t height, const char *title, WindowCallback logic,
                      WindowCallback render)
{
    Window *window = MEMORY_ALLOCATE_RECORD(Window);
    window->width = width;
    window->height = height;
    window->title = title;
    window->logicFunction = logic;
    window->renderFunction = render;
    window->osWindow =
        OSWindow_Create(static_cast<int32_t>(width), static_cast<int32_t>(height), title);
    // The controller registers its callbacks on the platform window, so it comes second; it
    // cannot name this module, so it is told how to reach the platform window first.
    Controller_SetOSWindowFunction(Window_GetOSWindow);
    window->controller = Controller_Create(window);
    return window;
}

void Window_Destroy(Window *window)
{
    if (window->controller != nullptr)
    {
        Controller_Destroy(window->controller);
    }
    OSWindow_Destroy(window->osWindow);
    MEMORY_FREE(window);
}

void Window_Fullscreen(Window *window)
{
    if (OSHasFullScreenMode())
    {
        OSWindow_SetFullScreen(window->osWindow);
    }
}

void Window_SetInputController(Window *window, Controller *controller)
{
    window->controller = controller;
}

void Window_SetShouldClose(Window *)
{
    OSProgramShouldExit();
}

Controller *Window_GetController(Window *window)
{
    return window->controller;
}

uint32_t Window_GetWidth(Window *window)
{
    return window->width;
}

uint32_t Window_GetHeight(Window *window)
{
    return window->height;
}

OSWindow *Window_GetOSWindow(Window *window)
{
    return window->osWindow;
}

static void _Frame(void *argument)
{
    Window *window = static_cast<Window *>(argument);
    if (window->controller != nullptr)
    {
        Controller_PollJoysticks(window->controller);
    }
    OSWindow_FrameBegin(window->osWindow);
    if (window->logicFunction != nullptr)
    {
        window->logicFunction(window);
    }
    if (window->renderFunction != nullptr)
    {
        window->renderFunction(window);
    }
    else
    {
        OSWindow_FrameDrawCube(window->osWindow);
    }
    OSWindow_FrameEnd(window->osWindow);
}

void Window_MakeActive(Window *window)
{
    OSWindow_FrameInit(window->osWindow);
#ifdef __EMSCRIPTEN__
    // A page cannot loop: the browser calls the frames, and this call never returns.
    WebLoop_Run(_Frame, window);
#else
    int64_t presented = 0;
    while (OSProgramRunning())
    {
        _Frame(window);
        if (++presented == 1)
        {
            Timeline_Mark("first frame");
        }
        Timeline_MarkFrame(presented);
    }
#endif
}
