// The player's ship through its input handlers and its frame, inside a running game: firing,
// the shield's key rules, steering from keyboard and pads, blinking and the final explosion.
#include "tests/game/game_fixture.h"

#include "frame/integration_win.h"
#include "game/bullet.h"
#include "game/player.h"
#include "game/sprite.h"
#include "game/world.h"

namespace
{
using PlayerTest = GameTest;

float ShipX(Player *player)
{
    return Sprite_GetPosition(Player_GetSprite(player)).x;
}

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

TEST_F(PlayerTest, ShieldNeedsShiftOrAltAloneAndACharge)
{
    StartPlay();
    Player_SetShields(player, 2);
    Key(kKeySpace, kPress, kModShift | kModControl);
    EXPECT_NE(Player_GetBullet(player), nullptr) << "Ctrl+Shift+Space only fires";
    EXPECT_EQ(Player_GetShieldCountDown(player), 0);
    Player_RemoveBullet(player);

    Key(kKeySpace, kPress, kModShift);
    EXPECT_NE(Player_GetBullet(player), nullptr) << "Shift+Space fires ...";
    EXPECT_EQ(Player_GetShieldCountDown(player), 60) << "... and raises the shield";
    EXPECT_EQ(Player_GetNumberOfShields(player), 1);

    Key(kKeyRight, kPress, kModAlt);
    EXPECT_EQ(Player_GetNumberOfShields(player), 1) << "not again while one is up";
    Step(60);
    EXPECT_EQ(Player_GetShieldCountDown(player), 0);
    Key(kKeyLeft, kPress, kModAlt);
    EXPECT_EQ(Player_GetShieldCountDown(player), 60) << "Alt alone, with any key";
    Step(60);
    Key(kKeyLeft, kPress, kModAlt);
    EXPECT_EQ(Player_GetShieldCountDown(player), 0) << "no charges left";
}

TEST_F(PlayerTest, KeyboardAndPadStepsAddUpAndTheShipStopsAtTheEdges)
{
    StartPlay();
    Key(kKeyRight, kPress);
    PadState pad;
    pad.axes[0] = -0.5f;
    Pad(pad);
    EXPECT_FLOAT_EQ(Player_GetKeyboardDeltaX(player), 0.02f);
    EXPECT_FLOAT_EQ(Player_GetJoystickDeltaX(player), -0.025f);
    const float before = ShipX(player);
    Step();
    EXPECT_NEAR(ShipX(player), before - 0.005f, 1e-6f);
    EXPECT_FLOAT_EQ(Sprite_GetSize(Player_GetSprite(player)).x, 0.1f) << "banked while moving";

    // Releasing Left stops keyboard steering even while Right is held.
    Key(kKeyLeft, kRelease);
    EXPECT_EQ(Player_GetKeyboardDeltaX(player), 0.0f);

    pad.axes[0] = 0.05f;
    Pad(pad);
    EXPECT_EQ(Player_GetJoystickDeltaX(player), 0.0f) << "inside the dead zone";
    pad.axes[0] = 0.11f;
    Pad(pad);
    EXPECT_FLOAT_EQ(Player_GetJoystickDeltaX(player), 0.025f);
    Step(100);
    EXPECT_FLOAT_EQ(ShipX(player), 0.9f);
    pad.axes[0] = 0.0f;
    pad.buttons[14] = 1; // d-pad left
    Pad(pad);
    Step(100);
    EXPECT_FLOAT_EQ(ShipX(player), -0.9f);
    EXPECT_FLOAT_EQ(Sprite_GetSize(Player_GetSprite(player)).x, 0.1f);
    pad.buttons[14] = 0;
    Pad(pad);
    Step();
    EXPECT_FLOAT_EQ(Sprite_GetSize(Player_GetSprite(player)).x, 0.15f) << "straight when still";
}

TEST_F(PlayerTest, PadSelectionFollowsTheFiringPadAndAnyPadRaisesTheShield)
{
    StartPlay();
    Player_SetShields(player, 1);
    PadState other;
    other.slot = 2;
    other.axes[0] = 1.0f;
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
    EXPECT_EQ(Player_GetSelectedJoystick(), 2);
    EXPECT_NE(Player_GetBullet(player), nullptr);
    EXPECT_FLOAT_EQ(Player_GetJoystickDeltaX(player), 0.025f) << "steers from the same event";

    // A plain joystick: any button fires and selects it; it has no shield button.
    PadState stick;
    stick.slot = 5;
    stick.isGamepad = false;
    stick.buttons[7] = 1;
    stick.axes[0] = -0.3f;
    Player_RemoveBullet(player);
    Pad(stick);
    EXPECT_EQ(Player_GetSelectedJoystick(), 5);
    EXPECT_FLOAT_EQ(Player_GetJoystickDeltaX(player), -0.025f);
}

TEST_F(PlayerTest, AHitWithLivesLeftBlinksForSixtyInvulnerableFrames)
{
    StartPlay();
    Player_Die(player);
    EXPECT_EQ(Player_GetNumberOfLives(player), 2);
    EXPECT_EQ(Player_GetHitCountDown(player), 60);
    Player_Die(player);
    EXPECT_EQ(Player_GetNumberOfLives(player), 2) << "invulnerable while blinking";
    Step(59);
    Player_Die(player);
    EXPECT_EQ(Player_GetNumberOfLives(player), 2);
    Step();
    EXPECT_EQ(Player_GetHitCountDown(player), 0);
    Player_Die(player);
    EXPECT_EQ(Player_GetNumberOfLives(player), 1);

    // The shield makes the ship invulnerable too.
    Step(60);
    Player_SetShields(player, 1);
    Key(kKeySpace, kPress, kModShift);
    Player_Die(player);
    EXPECT_EQ(Player_GetNumberOfLives(player), 1);
}

TEST_F(PlayerTest, FinalExplosionIgnoresInputButEscapeStillQuits)
{
    StartPlay();
    while (Player_GetNumberOfLives(player) > 0)
    {
        Player_Die(player);
        StepUntil([&] { return Player_GetHitCountDown(player) == 0; }, 100);
    }
    Step();
    Key(kKeySpace, kPress);
    Key(kKeyRight, kPress);
    EXPECT_EQ(Player_GetBullet(player), nullptr);
    EXPECT_EQ(Player_GetKeyboardDeltaX(player), 0.0f);
    PadState pad;
    pad.axes[0] = 1.0f;
    pad.buttons[0] = 1;
    Pad(pad);
    EXPECT_EQ(Player_GetJoystickDeltaX(player), 0.0f);
    EXPECT_EQ(Player_GetBullet(player), nullptr);

    Key(kKeyEscape, kPress);
    EXPECT_EQ(OSProgramRunning(), 0) << "Escape is always honoured";
    OSProgramResume();
}
} // namespace
