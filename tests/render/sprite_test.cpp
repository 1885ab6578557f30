// Sprites: their defaults, where Sprite_Logic puts the drawing origin, and what Sprite_Render
// draws there, read back from the window.
#include "tests/render/render_test_window.h"

#include "game/sprite.h"
#include "render/graphics_win.h"
#include "resources/subtexture.h"

namespace
{

constexpr Rgba8 kBlack = {0, 0, 0, 255};
constexpr Rgba8 kPicture = {40, 200, 120, 255};

class SpriteTest : public RenderTest
{
  protected:
    void SetUp() override
    {
        RenderTest::SetUp();
        texture = TestTexture_Create(1, 1, {kPicture});
        picture = TestSubTexture_Create(texture, 0, 0, 1, 1);
        Graphics_SetBlendFactors(1, 0);
    }
    void TearDown() override
    {
        SubTexture_Destroy(picture);
        Texture_Destroy(texture);
        RenderTest::TearDown();
    }

    // The rectangle (drawing units) shows inside just within its corners and outside just
    // beyond its edges.
    void ExpectDrawn(float x0, float y0, float x1, float y1, Rgba8 inside)
    {
        const Frame &frame = ReadFrame();
        const float midX = (x0 + x1) / 2;
        const float midY = (y0 + y1) / 2;
        EXPECT_EQ(frame.AtUnits(x0 + 0.003f, y0 + 0.004f), inside);
        EXPECT_EQ(frame.AtUnits(x1 - 0.003f, y1 - 0.004f), inside);
        EXPECT_EQ(frame.AtUnits(x0 - 0.003f, midY), kClearColor);
        EXPECT_EQ(frame.AtUnits(x1 + 0.003f, midY), kClearColor);
        EXPECT_EQ(frame.AtUnits(midX, y0 - 0.004f), kClearColor);
        EXPECT_EQ(frame.AtUnits(midX, y1 + 0.004f), kClearColor);
    }

    Texture *texture = nullptr;
    SubTexture *picture = nullptr;
};

TEST_F(SpriteTest, NewSpriteHasTheDefaultsAndItsOwnName)
{
    char name[] = "enemy";
    Sprite *sprite = Sprite_Create(3, name);
    name[0] = 'X';
    EXPECT_STREQ(Sprite_GetName(sprite), "enemy");
    EXPECT_EQ(Sprite_GetSize(sprite).y, 0.075f);
    EXPECT_EQ(Sprite_GetCollisionSize(sprite).x, 0.1f);
    EXPECT_EQ(Sprite_GetMovement(sprite).x, 0.0f);
    EXPECT_EQ(Sprite_GetSubTexture(sprite), nullptr);
    // The default hook does nothing: the sprite stays centred on the origin.
    Sprite_Logic(sprite);
    EXPECT_EQ(Graphics_GetPosition().x, -0.05f);
    EXPECT_EQ(Graphics_GetPosition().y, -0.0375f);
    Sprite_Destroy(sprite);
}

TEST_F(SpriteTest, PlainSpriteIsABlackRectangleOfItsCollisionSize)
{
    Sprite *sprite = Sprite_Create(-1, "bullet");
    Sprite_SetPosition(sprite, Vector2_Static(0.5f, 0.5f));
    Sprite_SetSize(sprite, Vector2_Static(1.0f, 1.0f)); // not used without a picture
    Sprite_SetCollisionSize(sprite, Vector2_Static(0.5f, 0.25f));
    const Color red = Color_Static(1.0f, 0.0f, 0.0f, 1.0f);
    Graphics_SetColor(&red);
    Sprite_Logic(sprite);
    Sprite_Render(sprite);
    ExpectDrawn(0.25f, 0.375f, 0.75f, 0.625f, kBlack);
    Sprite_Destroy(sprite);
}

TEST_F(SpriteTest, PictureIsStretchedOverTheSizeAtTheLastOrigin)
{
    Sprite *sprite = Sprite_Create(1, "enemy");
    Sprite_SetSubTexture(sprite, picture);
    Sprite_SetPosition(sprite, Vector2_Static(-0.5f, -0.25f));
    Sprite_SetSize(sprite, Vector2_Static(0.5f, 0.25f));
    Sprite_SetCollisionSize(sprite, Vector2_Static(0.01f, 0.01f)); // not drawn with a picture
    Sprite_Logic(sprite);
    Sprite_Render(sprite);
    ExpectDrawn(-0.75f, -0.375f, -0.25f, -0.125f, kPicture);

    // Without Sprite_Logic the sprite is drawn wherever the last origin was.
    NewFrame();
    Graphics_SetPosition(Vector2_Static(0.0f, 0.0f));
    Sprite_Render(sprite);
    ExpectDrawn(0.0f, 0.0f, 0.5f, 0.25f, kPicture);
    Sprite_Destroy(sprite);
}

struct HookRecord
{
    Sprite *seen = nullptr;
    SubTexture *pictureToSet = nullptr;
};

void MoveAndDress(Sprite *sprite, void *userData)
{
    auto *record = static_cast<HookRecord *>(userData);
    record->seen = sprite;
    Sprite_SetPosition(sprite, Vector2_Add(Sprite_GetPosition(sprite), Sprite_GetMovement(sprite)));
    Sprite_SetSubTexture(sprite, record->pictureToSet);
}

TEST_F(SpriteTest, LogicRunsTheHookBeforePlacingTheOrigin)
{
    HookRecord record = {nullptr, picture};
    Sprite *sprite = Sprite_Create(-1, "player");
    Sprite_SetLogicFunction(sprite, MoveAndDress, &record);
    Sprite_SetMovement(sprite, Vector2_Static(0.25f, 0.0f));
    Sprite_SetSize(sprite, Vector2_Static(0.5f, 0.5f));
    Sprite_SetCollisionSize(sprite, Vector2_Static(0.1f, 0.1f));

    // The hook moves the sprite and gives it a picture: the origin follows both.
    Sprite_Logic(sprite);
    EXPECT_EQ(record.seen, sprite);
    Sprite_Render(sprite);
    ExpectDrawn(0.0f, -0.25f, 0.5f, 0.25f, kPicture);

    // Without the picture the collision size is the extent again.
    record.pictureToSet = nullptr;
    Sprite_Logic(sprite);
    EXPECT_FLOAT_EQ(Graphics_GetPosition().x, 0.45f);
    EXPECT_FLOAT_EQ(Graphics_GetPosition().y, -0.05f);
    Sprite_Destroy(sprite);
}

} // namespace
