// What a player sees, read back from the window: the title's texts in their cells, the
// display's score at the bottom right, and the ships drawn with their own pictures.
#include "tests/game/game_fixture.h"

#include "game/player.h"
#include "game/spaceship.h"
#include "game/sprite.h"
#include "game/world.h"
#include "resources/asset.h"
#include "resources/subtexture.h"
#include "resources/texture_win.h"

#include <cmath>
#include <cstring>

namespace
{
using ScreenTest = GameTest;

constexpr Rgba8 kWhite = {255, 255, 255, 255};

// White glyph pixels in each character cell of a text of the given size whose first cell
// starts at x0, on the row from y.
std::vector<int64_t> WhitePerCell(const Frame &frame, const char *text, float x0, float y,
                                  float size)
{
    std::vector<int64_t> counts;
    for (size_t i = 0; i < strlen(text); i++)
    {
        const float left = x0 + static_cast<float>(i) * size;
        counts.push_back(CountInBox(frame, kWhite, left, y, left + size, y + size));
    }
    return counts;
}

void ExpectTextCells(const Frame &frame, const char *text, float x0, float y, float size)
{
    const std::vector<int64_t> counts = WhitePerCell(frame, text, x0, y, size);
    for (size_t i = 0; i < counts.size(); i++)
    {
        if (text[i] == ' ')
        {
            EXPECT_LT(counts[i], 8) << "cell " << i << " of \"" << text << "\" is blank";
        }
        else
        {
            EXPECT_GT(counts[i], 30)
                << "cell " << i << " ('" << text[i] << "') of \"" << text << "\"";
        }
    }
    // Nothing of the text spills over its first and last cells.
    const float width = static_cast<float>(strlen(text)) * size;
    EXPECT_LT(CountInBox(frame, kWhite, x0 - size, y, x0, y + size), 8) << text;
    EXPECT_LT(CountInBox(frame, kWhite, x0 + width, y, x0 + width + size, y + size), 8) << text;
}

// Every opaque texel of the sub-texture shows, unblended, where a sprite of that size centred
// on the position draws it (row 0 of the picture at the top).
void ExpectPicture(const Frame &frame, SubTexture *picture, Vector2 centre, Vector2 size)
{
    Texture *texture = SubTexture_GetTexture(picture);
    const int32_t width = Texture_GetWidth(texture);
    const int32_t height = Texture_GetHeight(texture);
    const Vector2 upperLeft = SubTexture_GetUpperLeftCoordinate(picture);
    const Vector2 lowerRight = SubTexture_GetLowerRightCoordinate(picture);
    const int32_t x0 = static_cast<int32_t>(std::lround(upperLeft.x * width));
    const int32_t y0 = static_cast<int32_t>(std::lround(upperLeft.y * height));
    const int32_t columns = static_cast<int32_t>(std::lround(lowerRight.x * width)) - x0;
    const int32_t rows = static_cast<int32_t>(std::lround(lowerRight.y * height)) - y0;
    const uint8_t *pixels = Texture_GetPixelData(texture);

    int32_t opaque = 0;
    for (int32_t row = 0; row < rows; row++)
    {
        for (int32_t column = 0; column < columns; column++)
        {
            const uint8_t *texel = &pixels[((y0 + row) * width + x0 + column) * 4];
            if (texel[3] != 255)
            {
                continue;
            }
            opaque++;
            const float x = centre.x - size.x / 2 + (column + 0.5f) * size.x / columns;
            const float y = centre.y + size.y / 2 - (row + 0.5f) * size.y / rows;
            EXPECT_TRUE(Rgba8_Near(frame.AtUnits(x, y), Rgba8{texel[0], texel[1], texel[2], 255}))
                << "texel (" << column << ", " << row << ") shows " << frame.AtUnits(x, y);
        }
    }
    EXPECT_GT(opaque, 10) << "the picture has a body";
}

TEST_F(ScreenTest, TitleShowsItsTextsAndTheFormationWithItsPictures)
{
    Step(276);
    const Frame &frame = ReadFrame();
    ExpectTextCells(frame, "Press Fire!", -0.605f, -0.3f, 0.11f);
    ExpectTextCells(frame, "ZINDREL!", -0.4f, 0.8f, 0.1f);

    Asset *asset = GetAsset();
    for (int32_t i : {0, 4, 9})
    {
        Sprite *sprite = SpaceShip_GetSprite(Ship(i));
        ExpectPicture(frame, Asset_GetSpaceShipSubTexture(asset, 1), Sprite_GetPosition(sprite),
                      Sprite_GetSize(sprite));
    }
    ExpectPicture(frame, Asset_GetPlayerSubTexture(asset, 0),
                  Sprite_GetPosition(Player_GetSprite(player)), Vector2_Static(0.15f, 0.15f));
}

TEST_F(ScreenTest, PlayShowsTheDisplayRightAlignedScoreAndLevel)
{
    StartPlay();
    Step();
    const Frame &frame = ReadFrame();
    // "Score: 0" is 8 cells of 0.09 ending at x = 0.94.
    ExpectTextCells(frame, "Score: 0", 0.94f - 8 * 0.09f, -0.95f, 0.09f);
    ExpectTextCells(frame, "Level: 1", -0.24f, 0.92f, 0.06f);
    ExpectPicture(frame, Asset_GetPlayerSubTexture(GetAsset(), 0),
                  Sprite_GetPosition(Player_GetSprite(player)), Vector2_Static(0.15f, 0.15f));
}
} // namespace
