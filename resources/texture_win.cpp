// texture_win: the upload parameters are the whole point: unpack alignment 1 so rows of
// any width are read back to back, and nearest filtering so pixel art stays sharp.
#include "resources/texture_win.h"

#include "foundation/allocator.h"
#include "foundation/logging.h"
#include "resources/targa.h"

#include <GL/gl.h>

struct Texture
{
    uint32_t textureNumber;
    int32_t width;
    int32_t height;
    int32_t bytesPerPixel;
    const uint8_t *pixelData;
    Targa *targa;
};

// No picture side is allowed beyond this, whatever the driver offers: a sheet of the game is
// at most 256 pixels high, and a 4096 x 4096 picture already takes 64 MB a copy.
static constexpr GLint largestSide = 4096;

int32_t Texture_GetLargestSize(void)
{
    // Without a current context the query does nothing and the value stays 0.
    GLint side = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &side);
    return side > 0 && side < largestSide ? side : largestSide;
}

Texture *Texture_Create(const uint8_t *pixelData, int32_t bytesPerPixel, int32_t width,
                        int32_t height)
{
    Texture *texture = MEMORY_ALLOCATE_RECORD(Texture);
    texture->width = width;
    texture->height = height;
    texture->bytesPerPixel = bytesPerPixel;
    texture->pixelData = pixelData;
    texture->targa = nullptr;
    LOG_INFO("Loading texture");

    glShadeModel(GL_FLAT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    GLuint name = 0;
    glGenTextures(1, &name);
    texture->textureNumber = name;
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    const GLenum format = bytesPerPixel == 3 ? GL_RGB : GL_RGBA;
    // Errors left over from earlier calls are not this upload's; each query clears one.
    for (int32_t i = 0; i < 16 && glGetError() != GL_NO_ERROR; i++)
    {
    }
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, format,
                 GL_UNSIGNED_BYTE, pixelData);
    const GLenum error = glGetError();
    glBindTexture(GL_TEXTURE_2D, 0);
    if (error != GL_NO_ERROR)
    {
        // Drawn, a texture without level 0 is black squares; the caller substitutes its own.
        LOG_ERROR("Unable to upload a %d x %d texture (OpenGL error 0x%04x).", width, height,
                  error);
        Texture_Destroy(texture);
        return nullptr;
    }
    return texture;
}

Texture *Texture_CreateFromTarga(Targa *targa)
{
    Texture *texture = Texture_Create(Targa_GetData(targa), Targa_GetBitsPerPixel(targa) / 8,
                                      static_cast<int32_t>(Targa_GetWidth(targa)),
                                      static_cast<int32_t>(Targa_GetHeight(targa)));
    if (texture != nullptr)
    {
        texture->targa = targa;
    }
    return texture;
}

void Texture_Destroy(Texture *texture)
{
    glBindTexture(GL_TEXTURE_2D, 0);
    // Textures are replaced while catalogues are built; deleting the object here means
    // nothing is left behind on the graphics side.
    GLuint name = texture->textureNumber;
    glDeleteTextures(1, &name);
    MEMORY_FREE(texture);
}

uint32_t Texture_GetTextureNumber(Texture *texture)
{
    return texture->textureNumber;
}

int32_t Texture_GetWidth(Texture *texture)
{
    return texture->width;
}

int32_t Texture_GetHeight(Texture *texture)
{
    return texture->height;
}

int32_t Texture_GetBytesPerPixel(Texture *texture)
{
    return texture->bytesPerPixel;
}

const uint8_t *Texture_GetPixelData(Texture *texture)
{
    return texture->pixelData;
}

Targa *Texture_GetTarga(Texture *texture)
{
    return texture->targa;
}

Vector2 Texture_CalculatePixelPosition(Texture *texture, int32_t x, int32_t y)
{
    const double s = static_cast<double>(x) / texture->width;
    const double t = static_cast<double>(y) / texture->height;
    return Vector2_Static(static_cast<float>(s), static_cast<float>(t));
}
