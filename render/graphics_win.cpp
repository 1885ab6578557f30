// graphics_win: immediate mode on purpose. A textured rectangle binds its texture and blends
// on its own, so every draw call leaves the OpenGL state as it found it (no texture, no
// blending) and plain rectangles always overwrite. Nothing is flushed per rectangle: a flush
// shows nothing, and with the software renderer it hands every glyph to the rasteriser
// threads on its own, which cost the title more than all the rest of its frame.
#include "render/graphics_win.h"

#include "foundation/logging.h"
#include "foundation/mystring.h"
#include "frame/integration_win.h"
#include "frame/window.h"
#include "render/font.h"
#include "resources/asset.h"
#include "resources/subtexture.h"
#include "resources/texture_win.h"

#include <GLFW/glfw3.h>
#include <array>

// Index = blend code; codes outside the table mean GL_ZERO.
static constexpr std::array<GLenum, 11> _blendFactors = {
    GL_ZERO,
    GL_ONE,
    GL_SRC_COLOR,
    GL_ONE_MINUS_SRC_COLOR,
    GL_DST_COLOR,
    GL_ONE_MINUS_DST_COLOR,
    GL_SRC_ALPHA,
    GL_ONE_MINUS_SRC_ALPHA,
    GL_DST_ALPHA,
    GL_ONE_MINUS_DST_ALPHA,
    GL_SRC_ALPHA_SATURATE,
};

static Vector2 currentPosition = {0.0f, 0.0f};
static GLenum sfactor = GL_ONE;
static GLenum dfactor = GL_ZERO;
static Asset *asset = nullptr;
static Font *activeFont = nullptr;
// The texture Graphics_HoldFrame copies the frame into, and its size; 0 before the first copy.
static GLuint heldFrame = 0;
static GLint heldSize[2] = {0, 0};

static GLenum _BlendFactor(int32_t code)
{
    return code >= 1 && code <= 10 ? _blendFactors[static_cast<size_t>(code)] : GL_ZERO;
}

void Graphics_Initialize(void)
{
    currentPosition = Vector2_Static(0.0f, 0.0f);
}

void Graphics_Deinitialize(void)
{
    // Cleared, so that shutting down twice, or drawing text afterwards, touches nothing freed.
    if (activeFont != nullptr)
    {
        Font_Destroy(activeFont);
        activeFont = nullptr;
    }
    if (asset != nullptr)
    {
        Asset_Destroy(asset);
        asset = nullptr;
    }
    if (heldFrame != 0)
    {
        glDeleteTextures(1, &heldFrame);
        heldFrame = 0;
        heldSize[0] = heldSize[1] = 0;
    }
}

Asset *Graphics_GetAsset(void)
{
    if (asset == nullptr)
    {
        asset = Asset_Create();
        activeFont = Font_Create(Asset_GetFontUppercase(asset), Asset_GetFontLowercase(asset));
    }
    return asset;
}

void Graphics_SetContext(Window *window)
{
    // The framebuffer, not the window: on a scaled desktop it has more pixels than the window
    // has screen units, and a viewport of the window's size would fill only a corner of it.
    int width = 0;
    int height = 0;
    glfwGetFramebufferSize(OSWindow_GetFrameworkWindow(Window_GetOSWindow(window)), &width,
                           &height);
    glViewport(0, 0, width, height);
    glClearColor(0.2f, 0.2f, 0.2f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
}

void Graphics_SetPosition(Vector2 position)
{
    currentPosition = position;
    glLoadIdentity();
    glTranslatef(position.x, position.y, 0.0f);
}

Vector2 Graphics_GetPosition(void)
{
    return currentPosition;
}

void Graphics_SetColor(const Color *color)
{
    glColor4f(color->red, color->green, color->blue, color->alpha);
}

void Graphics_SetBlendFactors(int32_t source, int32_t destination)
{
    sfactor = _BlendFactor(source);
    dfactor = _BlendFactor(destination);
}

// Textured rectangles leave texturing and blending on, so that a run of them (a line of text,
// a formation) costs the software renderer no state change between quads; the plain drawings
// turn them off for themselves. Turning off what is off already is free.
static void _EndTexturing(void)
{
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

void Graphics_DrawRectangle(Vector2 size)
{
    _EndTexturing();
    glBegin(GL_QUADS);
    glVertex2f(0.0f, 0.0f);
    glVertex2f(size.x, 0.0f);
    glVertex2f(size.x, size.y);
    glVertex2f(0.0f, size.y);
    glEnd();
}

void Graphics_DrawSquare(double size)
{
    const float side = static_cast<float>(size);
    Graphics_DrawRectangle(Vector2_Static(side, side));
}

void Graphics_DrawTexturedRectangle(Vector2 size, SubTexture *subTexture)
{
    if (subTexture == nullptr)
    {
        LOG_ERROR("Graphics_DrawTexturedRectangle called but subTexture=NULL");
        Graphics_DrawRectangle(size);
        return;
    }
    const Vector2 upperLeft = SubTexture_GetUpperLeftCoordinate(subTexture);
    const Vector2 lowerRight = SubTexture_GetLowerRightCoordinate(subTexture);
    const GLuint textureNumber = Texture_GetTextureNumber(SubTexture_GetTexture(subTexture));

    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBindTexture(GL_TEXTURE_2D, textureNumber);
    glEnable(GL_BLEND);
    glBlendFunc(sfactor, dfactor);

    // The upper-left row of the sub-texture goes along the top edge: swapped corners mirror
    // the picture or turn it upside down.
    glBegin(GL_QUADS);
    glTexCoord2f(upperLeft.x, lowerRight.y);
    glVertex2f(0.0f, 0.0f);
    glTexCoord2f(upperLeft.x, upperLeft.y);
    glVertex2f(0.0f, size.y);
    glTexCoord2f(lowerRight.x, upperLeft.y);
    glVertex2f(size.x, size.y);
    glTexCoord2f(lowerRight.x, lowerRight.y);
    glVertex2f(size.x, 0.0f);
    glEnd();
}

void Graphics_DrawMessage(String *text, float size, int32_t alignment)
{
    if (activeFont != nullptr)
    {
        Font_RenderCStr(activeFont, size, String_ToCStr(text), alignment);
    }
}

void Graphics_DrawMessageCStr(const char *text, float size, int32_t alignment)
{
    if (activeFont != nullptr)
    {
        Font_RenderCStr(activeFont, size, text, alignment);
    }
}

void Graphics_HoldFrame(void)
{
    // Copied from the back buffer before the swap: what a buffer holds after a swap, the front
    // one included, differs from driver to driver.
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    if (heldFrame == 0)
    {
        glGenTextures(1, &heldFrame);
    }
    glBindTexture(GL_TEXTURE_2D, heldFrame);
    if (viewport[2] == heldSize[0] && viewport[3] == heldSize[1])
    {
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, viewport[0], viewport[1], viewport[2],
                            viewport[3]);
    }
    else
    {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, viewport[0], viewport[1], viewport[2],
                         viewport[3], 0);
        heldSize[0] = viewport[2];
        heldSize[1] = viewport[3];
    }
    glBindTexture(GL_TEXTURE_2D, 0);
}

void Graphics_DrawHeldFrame(void)
{
    if (heldFrame == 0)
    {
        return;
    }
    glLoadIdentity();
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBindTexture(GL_TEXTURE_2D, heldFrame);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(-1.0f, -1.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(1.0f, -1.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(1.0f, 1.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
    glTranslatef(currentPosition.x, currentPosition.y, 0.0f);
}
