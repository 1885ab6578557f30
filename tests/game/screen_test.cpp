// What a player sees, read back from the window: the title's texts in their cells, the
// display's score at the bottom right, and the ships drawn with their own pictures.
#include "tests/game/game_fixture.h"

#include "game/sprite.h"
#include "render/graphics_win.h"
#include "resources/asset.h"

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
            EXPECT_GT(white, 30) << "cell " << i << " ('" << text[i] << "') of \"" << text << "\"";
    }
}

// The sprite holds the picture, and the middle of its box is drawn. How a picture is drawn
// over a sprite's box is the render suite's part.
void ExpectPicture(const Frame &frame, Sprite *sprite, SubTexture *picture)
{
    EXPECT_EQ(Sprite_GetSubTexture(sprite), picture) << Sprite_GetName(sprite);
    const Vector2 at = Sprite_GetPosition(sprite);
    EXPECT_NE(frame.AtUnits(at.x, at.y), (Rgba8{0, 0, 0, 255})) << Sprite_GetName(sprite);
}

TEST_F(ScreenTest, TitleAndPlayShowTheirTextsAndTheShipsWithTheirPictures)
{
    Asset *asset = Graphics_GetAsset();
    Step(276);
    const Frame &title = ReadFrame();
    ExpectTextCells(title, "Press Fire!", -0.605f, -0.3f, 0.11f);
    ExpectTextCells(title, "ZINDREL!", -0.4f, 0.8f, 0.1f);
    for (int32_t i : {0, 4, 9})
        ExpectPicture(title, SpaceShip_GetSprite(Ship(i)), Asset_GetSpaceShipSubTexture(asset, 1));
    StartPlay();
    Step();
    const Frame &play = ReadFrame();
    // "Score: 0" is 8 cells of 0.09 ending at x = 0.94.
    ExpectTextCells(play, "Score: 0", 0.94f - 8 * 0.09f, -0.95f, 0.09f);
    ExpectTextCells(play, "Level: 1", -0.24f, 0.92f, 0.06f);
    ExpectPicture(play, Player_GetSprite(player), Asset_GetPlayerSubTexture(asset, 0));
    EXPECT_FLOAT_EQ(Sprite_GetSize(Player_GetSprite(player)).x, 0.15f);
}
} // namespace
