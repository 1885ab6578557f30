// Sprites: where Sprite_Logic puts the drawing origin and what Sprite_Render draws there.
#include "tests/render/render_test_window.h"

#include "game/sprite.h"
#include "render/graphics_win.h"

namespace
{

constexpr Rgba8 kBlack = {0, 0, 0, 255};
constexpr Rgba8 kPicture = {40, 200, 120, 255};

// A hook that moves the sprite and hands it the picture it is given.
void MoveAndDress(Sprite *sprite, void *picture)
{
    Sprite_SetPosition(sprite, Vector2_Add(Sprite_GetPosition(sprite), Sprite_GetMovement(sprite)));
    Sprite_SetSubTexture(sprite, static_cast<SubTexture *>(picture));
}

using SpriteTest = RenderTest;

TEST_F(SpriteTest, NewSpriteKeepsItsOwnNameAndIsCentredOnTheOriginByDefault)
{
    char name[] = "enemy";
    Sprite *sprite = Sprite_Create(3, name);
    name[0] = 'X';
    EXPECT_STREQ(Sprite_GetName(sprite), "enemy");
    Sprite_Logic(sprite);
    EXPECT_EQ(Graphics_GetPosition().x, -0.05f);
    EXPECT_EQ(Graphics_GetPosition().y, -0.0375f);
    Sprite_Destroy(sprite);
}

TEST_F(SpriteTest, DrawnBlackOverTheCollisionSizeOrWithThePictureOverTheSize)
{
    Sprite *sprite = Sprite_Create(-1, "bullet");
    Sprite_SetPosition(sprite, Vector2_Static(0.5f, 0.5f));
    Sprite_SetSize(sprite, Vector2_Static(1.0f, 1.0f)); // not used without a picture
    Sprite_SetCollisionSize(sprite, Vector2_Static(0.5f, 0.25f));
    const Color red = Color_Static(1.0f, 0.0f, 0.0f, 1.0f);
    Graphics_SetColor(&red);
    Sprite_Logic(sprite);
    Sprite_Render(sprite);
    EXPECT_EQ(ReadFrame().Mismatches(Vector2_Static(0.25f, 0.375f), Vector2_Static(0.75f, 0.625f),
                                     kBlack, kClearColor),
              0);

    // The hook runs first: it moves the sprite and gives it a picture, and the origin follows
    // both.
    Sprite_SetLogicFunction(sprite, MoveAndDress, Cut(MakeTexture(1, 1, {kPicture}), 0, 0, 1, 1));
    Sprite_SetMovement(sprite, Vector2_Static(-0.25f, -0.5f));
    Sprite_SetSize(sprite, Vector2_Static(0.25f, 0.5f));
    Graphics_SetBlendFactors(1, 0);
    NewFrame();
    Sprite_Logic(sprite);
    Sprite_Render(sprite);
    EXPECT_EQ(ReadFrame().Mismatches(Vector2_Static(0.125f, -0.25f), Vector2_Static(0.375f, 0.25f),
                                     kPicture, kClearColor),
              0);
    Sprite_Destroy(sprite);
}

} // namespace
