// One real window per test process with the archive, null-output audio and the shared catalogue,
// and a fixture that drives a World frame by frame and checks that everything it made was freed.
#pragma once

#include "game/level.h"
#include "game/player.h"
#include "game/spaceship.h"
#include "game/world.h"
#include "input/controller_win.h"
#include "tests/render/render_test_window.h"

#include <cstdint>
#include <gtest/gtest.h>

// Input codes as the window library reports them.
inline constexpr int32_t kKeySpace = 32, kKeyP = 80, kKeyEscape = 256, kKeyEnter = 257,
                         kKeyRight = 262, kKeyLeft = 263, kKeyPause = 284, kKeyLeftShift = 340;
inline constexpr int32_t kRelease = 0, kPress = 1, kRepeat = 2;
inline constexpr int32_t kModShift = 1, kModControl = 2, kModAlt = 4;

// A game pad's state for one frame: 6 axes and 15 buttons in the standard order.
struct PadState
{
    int32_t slot = 0;
    bool isGamepad = true;
    float axes[6] = {};
    unsigned char buttons[15] = {};
};

class GameTest : public ::testing::Test
{
  public:
    void SetUp() override;
    void TearDown() override;
    // Frames as the render callback runs them; enemy bullets are then taken away unless
    // ceaseFire is off, so scripted play is not disturbed by the ships' random fire.
    void Step(int32_t frames = 1);
    template <typename Condition> bool StepUntil(Condition condition, int32_t limit)
    {
        for (int32_t i = 0; i < limit && !condition(); i++)
            Step();
        return condition();
    }
    void Key(int32_t key, int32_t action, int32_t mods = 0)
    {
        Player_HandleKeyboardEvent(player, GetWindow(), KeyboardEvent{key, 0, action, mods});
    }
    void Tap(int32_t key, int32_t mods = 0) { Key(key, kPress, mods), Key(key, kRelease, mods); }
    void Pad(const PadState &pad);
    // Skips the splash with a shot, as a person would; the shot is then taken away.
    void StartPlay();
    // Puts a bullet of the player on the ship; the next frame's collision test hits it.
    void AimBulletAt(SpaceShip *ship);
    void Destroy(SpaceShip *ship);
    // Destroys the first count ships of the current level still to be hit.
    void ClearLevel(int32_t count = 11);
    // Loses lives one after another; the last starts the final explosion.
    void LoseLives(int32_t count = 3);
    void AdvanceToLevel(int32_t levelNumber);
    // Index 0 to 9 in creation order, 10 the boss.
    SpaceShip *Ship(int32_t index);
    Level *CurrentLevel() { return World_GetLevel(world); }
    const Frame &ReadFrame() { return lastFrame.ReadFromWindow(); }
    static Window *GetWindow();

    World *world = nullptr;
    Player *player = nullptr;
    bool ceaseFire = true;

  private:
    Frame lastFrame;
    int64_t liveAtStart = 0;
};
