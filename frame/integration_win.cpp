// integration_win: GLFW 3 with the OpenGL 1.x fixed pipeline. The game advances one step per
// presented frame; where the swap does not wait for the retrace (vsync off, virtual displays,
// fast monitors) the frame end sleeps out the rest of the frame's share of a second instead.
#include "frame/integration_win.h"

#include "foundation/allocator.h"
#include "foundation/logging.h"

#include <GL/glu.h>
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <thread>

struct OSWindow
{
    const char *title;
    int32_t width;
    int32_t height;
    void *userData;
    OSWindowCursorPosFunction cursorPosCallback;
    OSWindowMouseButtonFunction mouseButtonCallback;
    OSWindowScrollFunction scrollCallback;
    OSWindowKeyboardFunction keyboardCallback;
    GLFWwindow *frameworkWindow;
    // Start of the current frame's time slot on the steady clock; zero before the first frame.
    std::chrono::steady_clock::time_point frameSlot;
};

static constexpr int32_t CUBE_TEXTURE_SIZE = 64;
static constexpr GLuint CUBE_TEXTURE_NAME = 1;
// Kept as is: a radians value handed to glRotatef as degrees; the slow turn it gives is the
// demonstration frame's expected output.
static constexpr float CUBE_DEGREES_PER_FRAME = 0.79f * 3.14159265358979f / 180.0f;

// Also set from signal handlers, so it is of the one type they may write.
static volatile sig_atomic_t _winShouldTerminate = 0;
static uint8_t _cubeTexels[CUBE_TEXTURE_SIZE * CUBE_TEXTURE_SIZE * 4];
// Points at _cubeTexels once their texture exists in the current window's context.
static uint8_t *_cubeTexture = nullptr;
static int32_t _cubeFrame = 0;

static void _ErrorCallback(int, const char *description)
{
    fprintf(stderr, "Error: %s\n", description);
}

// The close button ends the program exactly as Escape does: the exit flag is set while the
// events are processed at the end of a frame, that frame completes, and the loop stops.
static void _CloseCallback(GLFWwindow *)
{
    OSProgramShouldExit();
}

// The software renderer allocates and frees blocks of a few hundred kilobytes at every state
// change between textured rectangles. With the C library's defaults those blocks come from
// the top of the heap, which is handed back to the system as soon as they are freed, so every
// rectangle faults fresh pages in again (most of the game's own thread time at the title).
// Keeping freed memory up to HEAP_TRIM_THRESHOLD, and mapping only blocks of HEAP_MMAP_THRESHOLD
// and more on their own, lets them reuse the same pages. The peak is not raised: the blocks were
// there at their largest anyway.
static constexpr int HEAP_MMAP_THRESHOLD = 4 << 20;
static constexpr int HEAP_TRIM_THRESHOLD = 32 << 20;

void OSInit(void)
{
    mallopt(M_MMAP_THRESHOLD, HEAP_MMAP_THRESHOLD);
    mallopt(M_TRIM_THRESHOLD, HEAP_TRIM_THRESHOLD);
    glfwSetErrorCallback(_ErrorCallback);
    if (!glfwInit())
    {
        LOG_ERROR("Failed to initialize GLFW library.");
        exit(1);
    }
}

int32_t OSHasWindowMode(void)
{
    return 1;
}

int32_t OSHasFullScreenMode(void)
{
    return 1;
}

void OSProgramShouldExit(void)
{
    _winShouldTerminate = 1;
}

int32_t OSProgramRunning(void)
{
    return _winShouldTerminate == 0 ? 1 : 0;
}

void OSProgramResume(void)
{
    _winShouldTerminate = 0;
}

void OSProgramExit(void) {}

OSWindow *OSWindow_Create(int32_t width, int32_t height, const char *title)
{
    OSWindow *window = MEMORY_ALLOCATE_RECORD(OSWindow);
    window->title = title;
    window->width = width;
    window->height = height;
    window->frameworkWindow = glfwCreateWindow(width, height, title, nullptr, nullptr);
    if (window->frameworkWindow == nullptr)
    {
        LOG_ERROR("Failed to open window %s with size [%dx%d]", title, width, height);
        OSWindow_Destroy(window);
        OSProgramExit(); // all that Window_Deinitialize_Library does, without naming the layer
                         // above
        exit(1);
    }
    // The game draws for a fixed 1024 x 768 client area. (A page's canvas keeps its size
    // anyway, and the browsers' GLFW 3.2 has no window attributes.)
#ifndef __EMSCRIPTEN__
    glfwSetWindowAttrib(window->frameworkWindow, GLFW_RESIZABLE, GLFW_FALSE);
#endif
    glfwSetWindowCloseCallback(window->frameworkWindow, _CloseCallback);
    return window;
}

void OSWindow_Destroy(OSWindow *window)
{
    glfwDestroyWindow(window->frameworkWindow);
    MEMORY_FREE(window);
    // The demonstration texture went with the window's context; a later window builds its own.
    _cubeTexture = nullptr;
    _winShouldTerminate = 1;
}

GLFWwindow *OSWindow_GetFrameworkWindow(OSWindow *window)
{
    return window->frameworkWindow;
}

void *OSWindow_GetUserData(OSWindow *window)
{
    return window->userData;
}

void OSWindow_SetUserData(OSWindow *window, void *userData)
{
    window->userData = userData;
}

void OSWindow_SetCursorPosCallback(OSWindow *window, OSWindowCursorPosFunction callback)
{
    window->cursorPosCallback = callback;
}

void OSWindow_SetMouseButtonCallback(OSWindow *window, OSWindowMouseButtonFunction callback)
{
    window->mouseButtonCallback = callback;
}

void OSWindow_SetScrollCallback(OSWindow *window, OSWindowScrollFunction callback)
{
    window->scrollCallback = callback;
}

void OSWindow_SetKeyboardCallback(OSWindow *window, OSWindowKeyboardFunction callback)
{
    window->keyboardCallback = callback;
}

void OSWindow_SetFullScreen(OSWindow *) {}

void OSWindow_FrameInit(OSWindow *window)
{
    glfwMakeContextCurrent(window->frameworkWindow);
    // In a browser the refresh drives the frames (frame/web/web_loop), and a swap interval
    // set before that loop exists is refused with an error on the page's console.
#ifndef __EMSCRIPTEN__
    glfwSwapInterval(1);
#endif
}

void OSWindow_FrameBegin(OSWindow *)
{
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

static void _BuildCubeTexture(void)
{
    for (int32_t row = 0; row < CUBE_TEXTURE_SIZE; row++)
    {
        for (int32_t column = 0; column < CUBE_TEXTURE_SIZE; column++)
        {
            const double red = 64.0 * sin(row) + 64.0 * sin(column);
            uint8_t *texel = &_cubeTexels[(row * CUBE_TEXTURE_SIZE + column) * 4];
            texel[0] = static_cast<uint8_t>(static_cast<int32_t>(red));
            texel[1] = 0;
            texel[2] = 0;
            texel[3] = 0;
        }
    }
    glBindTexture(GL_TEXTURE_2D, CUBE_TEXTURE_NAME);
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, CUBE_TEXTURE_SIZE, CUBE_TEXTURE_SIZE, GL_RGBA,
                      GL_UNSIGNED_BYTE, _cubeTexels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    _cubeTexture = _cubeTexels;
}

static void _DrawCubeFace(void)
{
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-0.5f, -0.5f, 0.5f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(0.5f, -0.5f, 0.5f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(0.5f, 0.5f, 0.5f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-0.5f, 0.5f, 0.5f);
    glEnd();
}

void OSWindow_FrameDrawCube(OSWindow *)
{
    if (_cubeTexture == nullptr)
    {
        _BuildCubeTexture();
    }
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glRotatef(15.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(45.0f, 0.0f, 1.0f, 0.0f);
    glRotatef(static_cast<float>(_cubeFrame) * CUBE_DEGREES_PER_FRAME, 0.0f, 0.0f, 1.0f);

    static constexpr GLfloat blue[] = {0.0f, 0.2f, 1.0f, 1.0f};
    static constexpr GLfloat none[] = {0.0f, 0.0f, 0.0f, 0.0f};
    glMaterialfv(GL_FRONT, GL_DIFFUSE, blue);
    glMaterialfv(GL_FRONT, GL_SPECULAR, none);
    glColor4fv(blue);
    glBindTexture(GL_TEXTURE_2D, CUBE_TEXTURE_NAME);

    // Front, then bottom, back and top by quarter turns about x, then right and left about y.
    _DrawCubeFace();
    for (int32_t face = 0; face < 3; face++)
    {
        glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
        _DrawCubeFace();
    }
    glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
    _DrawCubeFace();
    glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
    _DrawCubeFace();

    glPopMatrix();
    _cubeFrame++;
}

#ifdef __EMSCRIPTEN__
// A browser page must not sleep: the web loop (frame/web/web_loop) skips the refreshes that
// come too early instead.
static void _HoldToFrameRateCap(OSWindow *) {}
#else
static constexpr std::chrono::steady_clock::duration FRAME_PERIOD =
    std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::seconds(1)) /
    OS_FRAME_RATE_CAP;

// Each frame owns a slot of FRAME_PERIOD. Slots follow one another exactly, so sleeping does not
// drift the rate; a frame that overruns its slot (a slower display, a stall) starts the next
// slot where it ended rather than rushing to catch up.
static void _HoldToFrameRateCap(OSWindow *window)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point now = Clock::now();
    const Clock::time_point slotEnd = window->frameSlot + FRAME_PERIOD;
    if (window->frameSlot != Clock::time_point() && now < slotEnd)
    {
        std::this_thread::sleep_until(slotEnd);
        window->frameSlot = slotEnd;
    }
    else
    {
        window->frameSlot = now;
    }
}
#endif

void OSWindow_FrameEnd(OSWindow *window)
{
    glfwSwapBuffers(window->frameworkWindow);
    _HoldToFrameRateCap(window);
    glfwPollEvents();
}

void OSWindow_MainLoop(OSWindow *window)
{
    OSWindow_FrameInit(window);
    while (OSProgramRunning())
    {
        OSWindow_FrameBegin(window);
        OSWindow_FrameDrawCube(window);
        OSWindow_FrameEnd(window);
    }
}
