// The floor for the footprint harness: the least a GLFW program of the game's kind does. It
// opens the same 1024 x 768 window, uploads one 256 x 256 RGBA picture, then draws it as one
// full-screen textured quad per frame, swaps and holds the frame to the game's 62 frames a
// second, until Escape or the close button. With ZINDREL_TIMELINE set it writes the same
// timeline and frame lines on standard error as the game, through the same module.
#include "foundation/timeline.h"

#include <GL/gl.h>
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

static constexpr int TEXTURE_SIZE = 256;
static constexpr int FRAME_RATE_CAP = 62;

static void _OnKey(GLFWwindow *window, int key, int, int action, int)
{
    if (key == GLFW_KEY_ESCAPE && action == GLFW_PRESS)
    {
        glfwSetWindowShouldClose(window, GLFW_TRUE);
    }
}

static GLuint _UploadPicture(void)
{
    std::vector<uint8_t> texels(TEXTURE_SIZE * TEXTURE_SIZE * 4);
    for (int y = 0; y < TEXTURE_SIZE; y++)
    {
        for (int x = 0; x < TEXTURE_SIZE; x++)
        {
            uint8_t *texel =
                &texels[(static_cast<size_t>(y) * TEXTURE_SIZE + static_cast<size_t>(x)) * 4];
            texel[0] = static_cast<uint8_t>(x);
            texel[1] = static_cast<uint8_t>(y);
            texel[2] = static_cast<uint8_t>((x ^ y) & 0xFF);
            texel[3] = 255;
        }
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, TEXTURE_SIZE, TEXTURE_SIZE, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, texels.data());
    return name;
}

int main(void)
{
    Timeline_Mark("main");
    if (!glfwInit())
    {
        return 1;
    }
    GLFWwindow *window = glfwCreateWindow(1024, 768, "Footprint baseline", nullptr, nullptr);
    if (window == nullptr)
    {
        glfwTerminate();
        return 1;
    }
    glfwSetKeyCallback(window, _OnKey);
    glfwMakeContextCurrent(window);
    glfwSwapInterval(1);
    const GLuint picture = _UploadPicture();
    Timeline_Mark("window");

    using Clock = std::chrono::steady_clock;
    const auto period =
        std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) / FRAME_RATE_CAP;
    Clock::time_point slot = Clock::now();
    int64_t presented = 0;
    while (!glfwWindowShouldClose(window))
    {
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, picture);
        glBegin(GL_QUADS);
        glTexCoord2f(0.0f, 1.0f);
        glVertex2f(-1.0f, -1.0f);
        glTexCoord2f(1.0f, 1.0f);
        glVertex2f(1.0f, -1.0f);
        glTexCoord2f(1.0f, 0.0f);
        glVertex2f(1.0f, 1.0f);
        glTexCoord2f(0.0f, 0.0f);
        glVertex2f(-1.0f, 1.0f);
        glEnd();
        glfwSwapBuffers(window);
        if (++presented == 1)
        {
            Timeline_Mark("first frame");
        }
        Timeline_MarkFrame(presented);
        // The game's cap: slots follow one another, an overrun starts the next slot late.
        const Clock::time_point now = Clock::now();
        if (now < slot + period)
        {
            std::this_thread::sleep_until(slot + period);
            slot += period;
        }
        else
        {
            slot = now;
        }
        glfwPollEvents();
    }
    glDeleteTextures(1, &picture);
    glfwDestroyWindow(window);
    glfwTerminate();
    return 0;
}
