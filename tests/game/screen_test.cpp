// What a player sees, read back from the window: the title's texts in their cells, the
// display's score at the bottom right, and the ships drawn with their own pictures.
#include "tests/game/game_fixture.h"

#include "game/sprite.h"
#include "render/graphics_win.h"
#include "resources/asset.h"
#include "resources/subtexture.h"
#include "resources/texture_win.h"
#include <cmath>
#include <cstring>

namespace
{
using ScreenTest = GameTest;

// Every cell of a text of the given size whose first cell starts at x0, on the row from y,
// holds white glyph pixels but a blank; nothing spills over its first and last cells.
void ExpectTextCells(const Frame &frame, const char *text, float x0, float y, float size)
{
    for (int32_t i = -1; i <= static_cast<int32_t>(strlen(text)); i++)
    {
        const float left = x0 + static_cast<float>(i) * size;
        const int64_t white = CountInBox(frame, kWhite, left, y, left + size, y + size);
        if (i < 0 || text[i] == ' ' || text[i] == '\0')
            EXPECT_LT(white, 8) << "cell " << i << " of \"" << text << "\" is blank";
        else
        {
            EXPECT_GT(white, 30) << "cell " << i << " ('" << text[i] << "') of \"" << text << "\"";
        }
    }
}

// Every opaque texel of the sub-texture shows, unblended, where a sprite of that size centred
// on the position draws it (row 0 of the picture at the top).
void ExpectPicture(const Frame &frame, SubTexture *picture, Vector2 centre, Vector2 size)
{
    Texture *texture = SubTexture_GetTexture(picture);
    const int32_t width = Texture_GetWidth(texture), height = Texture_GetHeight(texture);
    const Vector2 from = SubTexture_GetUpperLeftCoordinate(picture);
    const Vector2 to = SubTexture_GetLowerRightCoordinate(picture);
    const int32_t x0 = std::lround(from.x * width), y0 = std::lround(from.y * height);
    const int32_t columns = std::lround(to.x * width) - x0, rows = std::lround(to.y * height) - y0;
    int32_t opaque = 0;
    for (int32_t row = 0; row < rows; row++)
    {
        for (int32_t column = 0; column < columns; column++)
        {
            const uint8_t *texel =
                &Texture_GetPixelData(texture)[((y0 + row) * width + x0 + column) * 4];
            const Rgba8 shown =
                frame.AtUnits(centre.x - size.x / 2 + (column + 0.5f) * size.x / columns,
                              centre.y + size.y / 2 - (row + 0.5f) * size.y / rows);
            opaque += texel[3] == 255;
            EXPECT_TRUE(texel[3] != 255 ||
                        Rgba8_Near(shown, Rgba8{texel[0], texel[1], texel[2], 255}))
                << "texel (" << column << ", " << row << ") shows " << shown;
        }
    }
    EXPECT_GT(opaque, 10) << "the picture has a body";
}

TEST_F(ScreenTest, TitleAndPlayShowTheirTextsAndTheShipsWithTheirPictures)
{
    Asset *asset = Graphics_GetAsset();
    Step(276);
    const Frame &title = ReadFrame();
    ExpectTextCells(title, "Press Fire!", -0.605f, -0.3f, 0.11f);
    ExpectTextCells(title, "ZINDREL!", -0.4f, 0.8f, 0.1f);
    for (int32_t i : {0, 4, 9})
    {
        Sprite *sprite = SpaceShip_GetSprite(Ship(i));
        ExpectPicture(title, Asset_GetSpaceShipSubTexture(asset, 1), Sprite_GetPosition(sprite),
                      Sprite_GetSize(sprite));
    }
    StartPlay();
    Step();
    const Frame &play = ReadFrame();
    // "Score: 0" is 8 cells of 0.09 ending at x = 0.94.
    ExpectTextCells(play, "Score: 0", 0.94f - 8 * 0.09f, -0.95f, 0.09f);
    ExpectTextCells(play, "Level: 1", -0.24f, 0.92f, 0.06f);
    ExpectPicture(play, Asset_GetPlayerSubTexture(asset, 0),
                  Sprite_GetPosition(Player_GetSprite(player)), Vector2_Static(0.15f, 0.15f));
}
} // namespace
