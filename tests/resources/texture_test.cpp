// Textures and sub-textures in a real OpenGL context (Xvfb under the test scripts).
#include "resources/subtexture.h"
#include "resources/targa.h"
#include "resources/texture_win.h"

#include "foundation/allocator.h"
#include "foundation/logging.h"
#include "test_support.h"

#include <GL/gl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::ElementsAreArray;

namespace
{

class TextureTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        Logging_SetLevel(LOGGING_LEVEL_ERROR);
        ASSERT_TRUE(MakeGlContextCurrent());
    }
    void TearDown() override { Logging_SetLevel(LOGGING_LEVEL_DEBUG); }

    // The pixels OpenGL holds for the texture, rows packed without padding.
    static std::vector<uint8_t> ReadBack(Texture *texture, GLenum format, int channels)
    {
        std::vector<uint8_t> pixels(static_cast<size_t>(Texture_GetWidth(texture)) *
                                    Texture_GetHeight(texture) * channels);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glBindTexture(GL_TEXTURE_2D, Texture_GetTextureNumber(texture));
        glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, pixels.data());
        glBindTexture(GL_TEXTURE_2D, 0);
        return pixels;
    }

    static GLint Parameter(Texture *texture, GLenum name)
    {
        GLint value = 0;
        glBindTexture(GL_TEXTURE_2D, Texture_GetTextureNumber(texture));
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
        glBindTexture(GL_TEXTURE_2D, 0);
        return value;
    }

    static GLint Bound()
    {
        GLint bound = -1;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        return bound;
    }
};

TEST_F(TextureTest, RowsOfOddWidthUploadWithoutPadding)
{
    // Width 5 at 3 bytes a pixel: rows of 15 bytes, which a 4-byte alignment would misread.
    std::vector<uint8_t> pixels(5 * 3 * 3);
    for (size_t i = 0; i < pixels.size(); i++)
    {
        pixels[i] = static_cast<uint8_t>(i * 5 + 1);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    Texture *texture = Texture_Create(pixels.data(), 3, 5, 3);
    EXPECT_NE(Texture_GetTextureNumber(texture), 0u);
    EXPECT_EQ(Texture_GetWidth(texture), 5);
    EXPECT_EQ(Texture_GetHeight(texture), 3);
    EXPECT_EQ(Texture_GetBytesPerPixel(texture), 3);
    EXPECT_EQ(Texture_GetPixelData(texture), pixels.data());
    EXPECT_EQ(Texture_GetTarga(texture), nullptr);
    EXPECT_THAT(ReadBack(texture, GL_RGB, 3), ElementsAreArray(pixels));
    EXPECT_EQ(Bound(), 0);
    Texture_Destroy(texture);
}

TEST_F(TextureTest, FourBytesAndAnyOtherCountUploadAsRgba)
{
    const std::vector<uint8_t> pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    for (int32_t bytesPerPixel : {4, 2})
    {
        Texture *texture = Texture_Create(pixels.data(), bytesPerPixel, 3, 1);
        EXPECT_THAT(ReadBack(texture, GL_RGBA, 4), ElementsAreArray(pixels));
        GLint internalFormat = 0;
        glBindTexture(GL_TEXTURE_2D, Texture_GetTextureNumber(texture));
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &internalFormat);
        glBindTexture(GL_TEXTURE_2D, 0);
        EXPECT_EQ(internalFormat, GL_RGBA);
        Texture_Destroy(texture);
    }
}

TEST_F(TextureTest, SharpRepeatingTexturesWithoutMipmaps)
{
    const uint8_t pixels[4] = {0, 0, 0, 255};
    Texture *texture = Texture_Create(pixels, 4, 1, 1);
    EXPECT_EQ(Parameter(texture, GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(Parameter(texture, GL_TEXTURE_WRAP_T), GL_REPEAT);
    EXPECT_EQ(Parameter(texture, GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    EXPECT_EQ(Parameter(texture, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    GLint shadeModel = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shadeModel);
    EXPECT_EQ(shadeModel, GL_FLAT);
    Texture_Destroy(texture);
}

TEST_F(TextureTest, DestroyDeletesTheTextureObjectAndUnbinds)
{
    const uint8_t pixels[4] = {9, 9, 9, 9};
    Texture *texture = Texture_Create(pixels, 4, 1, 1);
    const GLuint name = Texture_GetTextureNumber(texture);
    EXPECT_EQ(glIsTexture(name), GL_TRUE);
    glBindTexture(GL_TEXTURE_2D, name);
    const uint32_t freed = Allocator_GetDeallocatedObjects();
    Texture_Destroy(texture);
    EXPECT_EQ(Allocator_GetDeallocatedObjects(), freed + 1);
    EXPECT_EQ(glIsTexture(name), GL_FALSE);
    EXPECT_EQ(Bound(), 0);
    // The pixel block is the caller's and untouched.
    EXPECT_EQ(pixels[0], 9);
}

TEST_F(TextureTest, TexturesFromTargasRecordTheirImage)
{
    const std::vector<uint8_t> file = {0, 0, 2, 0, 0,  0, 0, 0, 0, 0, 0, 0,
                                       2, 0, 1, 0, 24, 0, 1, 2, 3, 4, 5, 6};
    Targa *targa = Targa_Create_FromMemory(file.data(), static_cast<int32_t>(file.size()));
    ASSERT_NE(targa, nullptr);
    Texture *texture = Texture_CreateFromTarga(targa);
    EXPECT_EQ(Texture_GetTarga(texture), targa);
    EXPECT_EQ(Texture_GetPixelData(texture), Targa_GetData(targa));
    EXPECT_EQ(Texture_GetBytesPerPixel(texture), 3);
    EXPECT_EQ(Texture_GetWidth(texture), 2);
    EXPECT_EQ(Texture_GetHeight(texture), 1);
    EXPECT_THAT(ReadBack(texture, GL_RGB, 3), testing::ElementsAre(3, 2, 1, 6, 5, 4));
    Texture_Destroy(texture);
    // The Targa outlives its texture and is released by its owner.
    EXPECT_EQ(Targa_GetWidth(targa), 2u);
    Targa_Destroy(targa);
}

TEST_F(TextureTest, PixelPositionsBecomeTextureCoordinates)
{
    Texture *texture = Texture_Create(nullptr, 4, 128, 256);
    Vector2 half = Texture_CalculatePixelPosition(texture, 64, 64);
    EXPECT_FLOAT_EQ(half.x, 0.5f);
    EXPECT_FLOAT_EQ(half.y, 0.25f);
    Vector2 corner = Texture_CalculatePixelPosition(texture, 128, 256);
    EXPECT_FLOAT_EQ(corner.x, 1.0f);
    EXPECT_FLOAT_EQ(corner.y, 1.0f);
    // No clamping either way.
    Vector2 outside = Texture_CalculatePixelPosition(texture, -64, 512);
    EXPECT_FLOAT_EQ(outside.x, -0.5f);
    EXPECT_FLOAT_EQ(outside.y, 2.0f);
    // Worked out in double precision before rounding once to float.
    Vector2 third = Texture_CalculatePixelPosition(texture, 1, 3);
    EXPECT_EQ(third.x, static_cast<float>(1.0 / 128));
    EXPECT_EQ(third.y, static_cast<float>(3.0 / 256));
    Texture_Destroy(texture);
}

TEST_F(TextureTest, SubTextureSizesArePositiveWhileCornersKeepTheirOrder)
{
    Texture *texture = Texture_Create(nullptr, 4, 64, 64);
    SubTexture *cell = SubTexture_Create(texture, Texture_CalculatePixelPosition(texture, 8, 0),
                                         Texture_CalculatePixelPosition(texture, 16, 8));
    EXPECT_EQ(SubTexture_GetTexture(cell), texture);
    EXPECT_FLOAT_EQ(SubTexture_GetSize(cell).x, 0.125f);
    EXPECT_FLOAT_EQ(SubTexture_GetSize(cell).y, 0.125f);
    EXPECT_FLOAT_EQ(SubTexture_GetUpperLeftCoordinate(cell).x, 0.125f);
    EXPECT_FLOAT_EQ(SubTexture_GetLowerRightCoordinate(cell).y, 0.125f);

    // Mirrored (x swapped) and upside down (y swapped): same size, corners as passed.
    SubTexture *mirrored =
        SubTexture_Create(texture, Texture_CalculatePixelPosition(texture, 24, 0),
                          Texture_CalculatePixelPosition(texture, 16, 8));
    EXPECT_FLOAT_EQ(SubTexture_GetSize(mirrored).x, 0.125f);
    EXPECT_FLOAT_EQ(SubTexture_GetSize(mirrored).y, 0.125f);
    EXPECT_FLOAT_EQ(SubTexture_GetUpperLeftCoordinate(mirrored).x, 0.375f);
    EXPECT_FLOAT_EQ(SubTexture_GetLowerRightCoordinate(mirrored).x, 0.25f);
    SubTexture *upsideDown =
        SubTexture_Create(texture, Texture_CalculatePixelPosition(texture, 0, 16),
                          Texture_CalculatePixelPosition(texture, 8, 8));
    EXPECT_FLOAT_EQ(SubTexture_GetSize(upsideDown).y, 0.125f);
    EXPECT_FLOAT_EQ(SubTexture_GetUpperLeftCoordinate(upsideDown).y, 0.25f);
    EXPECT_FLOAT_EQ(SubTexture_GetLowerRightCoordinate(upsideDown).y, 0.125f);

    // Destroying touches nothing else, in either order.
    SubTexture_Destroy(cell);
    Texture_Destroy(texture);
    SubTexture_Destroy(mirrored);
    SubTexture_Destroy(upsideDown);
}

} // namespace
