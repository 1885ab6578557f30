// The player's ship in a running game: firing, shield keys, steering, blinking, explosion.
#include "tests/game/game_fixture.h"

#include "frame/integration_win.h"
#include "game/bullet.h"
#include "game/hud.h"
#include "game/sprite.h"
#include "render/graphics_win.h"
#include "resources/asset.h"

#include <tuple>

namespace
{
using PlayerTest = GameTest;

TEST_F(PlayerTest, OneShotInFlightAndEveryShotNeedsAFreshPress)
{
    StartPlay();
    Key(kKeySpace, kPress);
    Bullet *bullet = Player_GetBullet(player);
    ASSERT_NE(bullet, nullptr);
    const Vector2 ship = Sprite_GetPosition(Player_GetSprite(player));
    const Vector2 start = Sprite_GetPosition(Bullet_GetSprite(bullet));
    EXPECT_FLOAT_EQ(start.x, ship.x + 0.01f) << "level 1 offsets its shots by 0.01";
    EXPECT_FLOAT_EQ(start.y, ship.y + 0.05f);
    Key(kKeySpace, kRepeat);
    Key(kKeyEnter, kPress);
    EXPECT_EQ(Player_GetBullet(player), bullet) << "no second shot while one is in flight";
    EXPECT_EQ(Player_GetBulletsFired(player), 2) << "the opening shot and this one";
    Step();
    EXPECT_FLOAT_EQ(Sprite_GetPosition(Bullet_GetSprite(bullet)).y, start.y + 0.08f);
    // Straight up between the ships' columns, it leaves the top and is gone.
    Player_SetPosition(player, Vector2_Static(-0.875f, -0.75f));
    Player_RemoveBullet(player);
    Key(kKeySpace, kPress);
    ASSERT_TRUE(StepUntil([&] { return Player_GetBullet(player) == nullptr; }, 40));
    Key(kKeySpace, kRepeat);
    EXPECT_EQ(Player_GetBullet(player), nullptr) << "a held key does not fire again";
}

TEST_F(PlayerTest, ShieldNeedsShiftOrAltAloneOrWithAnotherKeyAndACharge)
{
    StartPlay();
    Player_SetShields(player, 5);
    // Keys pressed together as the window library reports them: a modifier key with its own bit.
    constexpr int32_t kKeyLeftControl = 341, kKeyLeftAlt = 342, kKeyRightShift = 344;
    const struct
    {
        int32_t key, mods, countDown, charges, framesAfter;
    } presses[] = {
        {kKeySpace, kModShift | kModControl, 0, 5, 0}, // Ctrl+Shift+Space only fires
        {kKeyLeftControl, kModControl, 0, 5, 0},
        {kKeyLeftShift, kModControl | kModShift, 0, 5, 0},
        {kKeyLeftShift, kModShift, 60, 4, 0},
        {kKeyRight, kModAlt, 60, 4, 61}, // not again while one is up
        {kKeyLeftAlt, kModAlt, 60, 3, 61},
        {kKeySpace, kModShift, 60, 2, 0}, // fires and raises the shield
        {kKeyRightShift, kModShift, 60, 2, 61},
        {kKeyRightShift, kModShift, 60, 1, 61},
        {kKeyLeft, kModAlt, 60, 0, 61}, // Alt with any key
        {kKeyLeft, kModAlt, 0, 0, 0},   // no charges left
    };
    for (const auto &press : presses)
    {
        SCOPED_TRACE(testing::Message() << "key " << press.key << " mods " << press.mods);
        Key(press.key, kPress, press.mods);
        EXPECT_EQ(Player_GetShieldCountDown(player), press.countDown);
        EXPECT_EQ(Player_GetNumberOfShields(player), press.charges);
        EXPECT_EQ(Player_GetBullet(player) != nullptr, press.key == kKeySpace)
            << "only Space fires";
        Player_RemoveBullet(player);
        Key(press.key, kRelease, press.mods);
        Step(press.framesAfter);
        EXPECT_TRUE(press.framesAfter == 0 || Hud_GetShields(World_GetHud(world)) == press.charges)
            << "the display shows the charges left";
    }
}

TEST_F(PlayerTest, StepsAddUpTheShipStopsAtTheEdgesAndTheFiringPadIsSelected)
{
    StartPlay();
    Key(kKeyRight, kPress);
    PadState pad{0, true, {-0.5f}, {}};
    Pad(pad);
    EXPECT_EQ(std::make_pair(Player_GetKeyboardDeltaX(player), Player_GetJoystickDeltaX(player)),
              std::make_pair(0.02f, -0.025f));
    const float before = Sprite_GetPosition(Player_GetSprite(player)).x;
    Step();
    EXPECT_NEAR(Sprite_GetPosition(Player_GetSprite(player)).x, before - 0.005f, 1e-6f);
    EXPECT_FLOAT_EQ(Sprite_GetSize(Player_GetSprite(player)).x, 0.1f) << "banked while moving";
    Key(kKeyLeft, kRelease);
    EXPECT_EQ(Player_GetKeyboardDeltaX(player), 0.0f) << "releasing Left stops Right too";
    // Inside the dead zone, then just beyond it; d-pad left; then still. Level 1's ship pictures.
    const struct
    {
        float axis;
        unsigned char left;
        float delta, x, width;
        SubTexture *(*picture)(Asset *, int32_t);
    } moves[] = {{0.05f, 0, 0.0f, 0.0f, 0.0f, nullptr},
                 {0.11f, 0, 0.025f, 0.9f, 0.1f, Asset_GetPlayerGoingRightSubTexture},
                 {0.0f, 1, -0.025f, -0.9f, 0.1f, Asset_GetPlayerGoingLeftSubTexture},
                 {0.0f, 0, 0.0f, -0.9f, 0.15f, Asset_GetPlayerSubTexture}};
    for (const auto &move : moves)
    {
        pad.axes[0] = move.axis;
        pad.buttons[14] = move.left;
        Pad(pad);
        EXPECT_FLOAT_EQ(Player_GetJoystickDeltaX(player), move.delta) << move.axis;
        if (move.width != 0.0f)
        {
            Step(100);
            EXPECT_FLOAT_EQ(Sprite_GetPosition(Player_GetSprite(player)).x, move.x);
            EXPECT_FLOAT_EQ(Sprite_GetSize(Player_GetSprite(player)).x, move.width);
            EXPECT_EQ(Sprite_GetSubTexture(Player_GetSprite(player)),
                      move.picture(Graphics_GetAsset(), 0));
        }
    }
    Player_SetShields(player, 1);
    PadState other{2, true, {1.0f}, {}};
    Pad(other);
    EXPECT_EQ(Player_GetJoystickDeltaX(player), 0.0f) << "slot 0 is selected";
    other.buttons[2] = 1; // X
    Pad(other);
    EXPECT_EQ(Player_GetShieldCountDown(player), 60) << "any pad raises the shield";
    Key(kKeySpace, kPress);
    other.buttons[0] = 1; // A with a bullet in flight: no shot, no selection
    Pad(other);
    EXPECT_EQ(Player_GetSelectedJoystick(), 0);
    Player_RemoveBullet(player);
    Pad(other);
    EXPECT_EQ(std::make_pair(Player_GetSelectedJoystick(), Player_GetBullet(player) != nullptr),
              std::make_pair(2, true));
    EXPECT_FLOAT_EQ(Player_GetJoystickDeltaX(player), 0.025f) << "steers from the same event";
    // A plain joystick: any button fires and selects it; it has no shield button.
    Player_RemoveBullet(player);
    Pad(PadState{5, false, {-0.3f}, {0, 0, 0, 0, 0, 0, 0, 1}});
    EXPECT_EQ(std::make_pair(Player_GetSelectedJoystick(), Player_GetJoystickDeltaX(player)),
              std::make_pair(5, -0.025f));
}

TEST_F(PlayerTest, AHitBlinksForSixtyInvulnerableFramesAndTheLastStartsAnExplosionDeafToInput)
{
    StartPlay();
    Player_Die(player);
    EXPECT_EQ(Player_GetHitCountDown(player), 60);
    Player_Die(player);
    Step(59);
    Player_Die(player);
    EXPECT_EQ(Player_GetNumberOfLives(player), 2) << "invulnerable while blinking";
    Step();
    EXPECT_EQ(Player_GetHitCountDown(player), 0);
    Player_Die(player);
    Step(60);
    Player_SetShields(player, 1);
    Key(kKeySpace, kPress, kModShift);
    Player_Die(player);
    EXPECT_EQ(Player_GetNumberOfLives(player), 1) << "the shield makes it invulnerable too";
    Step(60);
    LoseLives();
    Step();
    Player_RemoveBullet(player);
    Key(kKeySpace, kPress);
    Key(kKeyRight, kPress);
    Pad(PadState{0, true, {1.0f}, {1}});
    EXPECT_EQ(std::make_tuple(Player_GetBullet(player), Player_GetKeyboardDeltaX(player),
                              Player_GetJoystickDeltaX(player)),
              std::make_tuple(nullptr, 0.0f, 0.0f));
    Key(kKeyEscape, kPress);
    EXPECT_EQ(OSProgramRunning(), 0) << "Escape is always honoured";
    OSProgramResume();
}
} // namespace
