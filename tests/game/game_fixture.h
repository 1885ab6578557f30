// Shared pieces of the game tests: one real 1024 x 768 window per test process with the
// resource archive, the (null-output) audio device, the four game sounds and the shared asset
// catalogue, and a fixture that drives a World frame by frame as the render callback does,
// feeds it input as the controller would, and checks that everything it made was released.
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
inline constexpr Rgba8 kWhite = {255, 255, 255, 255};

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

    // One frame as the render callback runs it: viewport and clear, black, World_Render.
    // The enemy bullets are then taken away unless ceaseFire is off.
    void Step(int32_t frames = 1);
    // Runs frames until the condition holds; false when it has not after the limit.
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
    // Skips the splash and starts play with a shot, as a person would; the shot is then taken
    // away so that it hits nothing.
    void StartPlay();
    // Puts a bullet of the player on the ship; the next frame's collision test hits it.
    void AimBulletAt(SpaceShip *ship);
    // Hits the ship until it is destroyed (one frame per hit).
    void Destroy(SpaceShip *ship);
    // Destroys the first count ships of the current level (all by default) still to be hit.
    void ClearLevel(int32_t count = 11);
    // Loses every life left (waiting out each blink); the last starts the final explosion.
    void LoseAllLives();
    // Clears levels until the world stands at the given level number.
    void AdvanceToLevel(int32_t levelNumber);
    // A ship of the current level: index 0 to 9 in creation order, 10 the boss.
    SpaceShip *Ship(int32_t index);
    Level *CurrentLevel() { return World_GetLevel(world); }
    const Frame &ReadFrame() { return lastFrame.ReadFromWindow(); }
    // Tracking-allocator records alive now.
    static int64_t LiveBlocks();
    static Window *GetWindow();

    World *world = nullptr;
    Player *player = nullptr;
    // While set, every enemy bullet is taken away after each frame, so scripted play is not
    // disturbed by the random fire of the ships.
    bool ceaseFire = true;

  private:
    Frame lastFrame;
    int64_t liveAtStart = 0;
};

// Pixels of the frame inside a rectangle in drawing units (x0 <= x < x1, y0 <= y < y1) that
// hold exactly this colour.
int64_t CountInBox(const Frame &frame, Rgba8 color, float x0, float y0, float x1, float y1);
