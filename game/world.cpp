// world: three screens chosen every frame from two flags and the splash count-down; all game
// logic runs inside World_Render, once per displayed frame.
#include "game/world.h"

#include "audio/audio.h"
#include "audio/audio_openal.h"
#include "foundation/allocator.h"
#include "foundation/color.h"
#include "foundation/logging.h"
#include "foundation/mystring.h"
#include "foundation/vector.h"
#include "game/hud.h"
#include "game/level.h"
#include "game/player.h"
#include "game/sprite.h"
#include "render/animation.h"
#include "render/graphics_win.h"
#include "resources/asset.h"
#include "resources/subtexture.h"

#include <algorithm>
#include <cinttypes>

int32_t splashScreenPlaying = 1;
int32_t skipSplashScreen = 0;

Sample *samplePlayerLaser = nullptr;
Sample *sampleEnemyLaser = nullptr;
Sample *sampleEnemyKilled = nullptr;
Sample *samplePlayerKilled = nullptr;

void World_LoadSounds(void)
{
    sampleEnemyLaser = Sample_Create("mixkit-game-whip-shot-1512.wav");
    samplePlayerLaser = Sample_Create("mixkit-short-laser-gun-shot-1670.wav");
    sampleEnemyKilled = Sample_Create("mixkit-arcade-fast-game-over-233.wav");
    samplePlayerKilled = Sample_Create("mixkit-falling-hit-757.wav");
    Sample_SetWeight(sampleEnemyLaser, 1);
    Sample_SetWeight(samplePlayerLaser, 2);
    Sample_SetWeight(sampleEnemyKilled, 3);
    Sample_SetWeight(samplePlayerKilled, 4);
    // The jingle is loud next to the shots; scaled once, before it is ever played.
    Sample_Volume(sampleEnemyKilled, WORLD_ENEMY_KILLED_VOLUME);
}

void World_DestroySounds(void)
{
    Sample_Destroy(samplePlayerLaser);
    Sample_Destroy(samplePlayerKilled);
    Sample_Destroy(sampleEnemyLaser);
    Sample_Destroy(sampleEnemyKilled);
    samplePlayerLaser = samplePlayerKilled = sampleEnemyLaser = sampleEnemyKilled = nullptr;
}

static constexpr int32_t SPLASH_FRAMES = 275;
static constexpr int32_t SPLASH_REST_FRAMES = 85;
static constexpr int32_t MAX_SHIELD_REFILL = 5;

struct World
{
    int32_t levelNumber;
    Player *player;
    Vector2 startPosition;
    Level *level;
    Hud *hud;
    int32_t highscore;
    int32_t highscoreLevel;
    Asset *asset;
    SubTexture *logoSubTexture;
    Animation *splashAnimation;
    // The player's pause as it stood at the last frame, which is what the screen shows.
    int32_t pauseShown;
};

static void _UpdatePlayerPosition(Sprite *sprite, void *)
{
    const Vector2 position = Sprite_GetPosition(sprite);
    Sprite_SetPosition(sprite, skipSplashScreen ? Vector2_Add(position, Sprite_GetMovement(sprite))
                                                : position);
}

World *World_Create(void)
{
    World *world = MEMORY_ALLOCATE_RECORD(World);
    world->levelNumber = 1;
    world->startPosition = Vector2_Static(0.0f, -0.75f);

    String *name = String_Format("Player %d", -1);
    LOG_INFO("Creating %s.", String_ToCStr(name));
    world->player = Player_Create(String_ToCStr(name), 3);
    String_Destroy(name);

    Sprite *ship = Player_GetSprite(world->player);
    Sprite_SetSize(ship, Vector2_Static(0.15f, 0.15f));
    Sprite_SetCollisionSize(ship, Vector2_Static(0.1f, 0.1f));
    Player_SetPosition(world->player, world->startPosition);
    Sprite_SetLogicFunction(ship, _UpdatePlayerPosition, world);

    world->hud = Hud_Create();
    world->level = Level_Create(1, world->player);
    Hud_SetLevel(world->hud, 1);
    return world;
}

void World_Destroy(World *world)
{
    Hud_Destroy(world->hud);
    Level_Destroy(world->level);
    Player_Destroy(world->player);
    if (world->asset != nullptr)
    {
        SubTexture_Destroy(world->logoSubTexture);
        Animation_Destroy(world->splashAnimation);
    }
    MEMORY_FREE(world);
}

Player *World_GetPlayer(World *world)
{
    return world->player;
}

void World_Logic(World *) {}

int32_t World_GetLevelNumber(World *world)
{
    return world->levelNumber;
}

int32_t World_GetHighscore(World *world)
{
    return world->highscore;
}

int32_t World_GetHighscoreLevel(World *world)
{
    return world->highscoreLevel;
}

Hud *World_GetHud(World *world)
{
    return world->hud;
}

Level *World_GetLevel(World *world)
{
    return world->level;
}

static void _LoadSplash(World *world)
{
    world->asset = Graphics_GetAsset();
    world->logoSubTexture = SubTexture_Create(
        Asset_GetBrindleLogo(world->asset), Vector2_Static(0.0f, 0.0f), Vector2_Static(1.0f, 1.0f));
    world->splashAnimation = Animation_Create(Vector2_Static(2.0f, 2.666f));
    Animation_AddFrame(world->splashAnimation, 0, world->logoSubTexture);
    Animation_SetCountDown(world->splashAnimation, SPLASH_FRAMES);
}

static void _DrawText(const char *text, Vector2 position, float size, int32_t alignment)
{
    Graphics_SetPosition(position);
    Graphics_DrawMessageCStr(text, size, alignment);
}

static void _RenderSplash(World *world)
{
    const int32_t k = Animation_GetCountDown(world->splashAnimation);
    Graphics_SetBlendFactors(1, 0);
    Graphics_SetPosition(Vector2_Static(-1.0f, -1.0f));
    Graphics_DrawRectangle(Vector2_Static(2048.0f, 2048.0f));

    // The logo slides down for 190 frames and rests for the last 85.
    float offset = 0.0f;
    if (k > SPLASH_REST_FRAMES)
    {
        offset = static_cast<float>(static_cast<double>(k - SPLASH_REST_FRAMES) / 190.0 * -2.0);
    }
    Graphics_SetPosition(Vector2_Static(-1.0f, static_cast<float>(-1.3 - offset)));
    const Color black = Color_Static(0.0f, 0.0f, 0.0f, 1.0f);
    Graphics_SetColor(&black);
    Animation_Render(world->splashAnimation);

    _DrawText("A Brindle Games production - every pixel our own", Vector2_Static(-0.975f, -0.95f),
              0.025f, 0);
    splashScreenPlaying = 1;
}

static void _RenderTitle(World *world)
{
    splashScreenPlaying = 0;
    Level_Render(world->level);
    Graphics_SetBlendFactors(1, 3);
    _DrawText("Press Fire!", Vector2_Static(0.0f, -0.3f), 0.11f, 1);
    _DrawText("  Move: D-Pad or Arrows ", Vector2_Static(-0.95f, -0.72f), 0.025f, 0);
    _DrawText("Shield: (X) or Shift/ALT", Vector2_Static(-0.95f, -0.77f), 0.025f, 0);
    _DrawText("  Fire: (A) or Spacebar ", Vector2_Static(-0.95f, -0.82f), 0.025f, 0);

    String *line = nullptr;
    if (world->highscore != 0)
    {
        line = String_Format("Highscore: %" PRId64 " (Level %d)",
                             static_cast<int64_t>(world->highscore), world->highscoreLevel);
        Graphics_SetPosition(Vector2_Static(0.0f, 0.9f));
        Graphics_DrawMessage(line, 0.06f, 1);
    }
    else
    {
        line = String_Format("ZINDREL!");
        Graphics_SetPosition(Vector2_Static(0.0f, 0.8f));
        Graphics_DrawMessage(line, 0.1f, 1);
    }
    String_Destroy(line);

    if (Player_GetBullet(world->player) != nullptr)
    {
        skipSplashScreen = 1;
    }
}

static void _ShowLevelCleared(World *world)
{
    Graphics_SetBlendFactors(1, 3);
    _DrawText("NEXT LEVEL", Vector2_Static(0.0f, 0.0f), 0.16f, 1);
    int32_t bonus = Player_GetNumberOfLives(world->player) * 100 +
                    Player_GetNumberOfShields(world->player) * 200;
    if (world->levelNumber % showBossEveryLevels == 0)
    {
        bonus *= 5;
    }
    Hud_SetBonus(world->hud, bonus);
    // Kept as is: the text is drawn a second time over the first, and screenshots expect it.
    _DrawText("NEXT LEVEL", Vector2_Static(0.0f, 0.0f), 0.16f, 1);
}

static void _StartNextLevel(World *world)
{
    world->levelNumber++;
    Level_Destroy(world->level);
    Player_SetPosition(world->player, world->startPosition);
    Player_SetMovement(world->player, Vector2_Static(0.0f, 0.0f));
    Player_RemoveBullet(world->player);
    Player_ResetBulletsFired(world->player);
    world->level = Level_Create(world->levelNumber, world->player);
    Player_AddScore(world->player, Hud_GetBonus(world->hud));
    Hud_SetBonus(world->hud, 0);
    Hud_SetBulletBonus(world->hud, 0);
    if ((world->levelNumber - 1) % 5 == 0)
    {
        Player_SetShields(world->player, std::min(world->levelNumber / 5, MAX_SHIELD_REFILL));
    }
}

static void _EndGame(World *world)
{
    const int32_t score = Player_GetScore(world->player);
    if (world->highscore < score)
    {
        world->highscore = score;
        world->highscoreLevel = world->levelNumber;
    }
    world->levelNumber = 1;
    Player_ResetLives(world->player);
    Level_Destroy(world->level);
    Player_SetPosition(world->player, world->startPosition);
    Player_SetMovement(world->player, Vector2_Static(0.0f, 0.0f));
    world->level = Level_Create(1, world->player);
    Hud_SetBonus(world->hud, 0);
    Hud_SetBulletBonus(world->hud, 0);
    skipSplashScreen = 0;
}

static void _RenderPlay(World *world)
{
    Level_Render(world->level);
    const int32_t lives = Player_GetNumberOfLives(world->player);
    if (lives > 0 && Level_GetNumerOfAliveEnemies(world->level) == 0)
    {
        _ShowLevelCleared(world);
    }
    if (lives <= 0)
    {
        Graphics_SetBlendFactors(1, 3);
        _DrawText("GAME OVER", Vector2_Static(0.0f, 0.0f), 0.16f, 1);
    }
    if (Level_HasEnded(world->level))
    {
        _StartNextLevel(world);
    }
    if (Player_HasDied(world->player))
    {
        _EndGame(world);
    }
    Hud_SetScore(world->hud, Player_GetScore(world->player));
    Hud_SetLifes(world->hud, Player_GetNumberOfLives(world->player));
    Hud_SetShields(world->hud, Player_GetNumberOfShields(world->player));
    Hud_SetLevel(world->hud, world->levelNumber);
    Hud_Render(world->hud);
}

// The world stands still: the last frame played stays on show under the pause texts.
static void _RenderPaused(void)
{
    Graphics_DrawHeldFrame();
    Graphics_SetBlendFactors(1, 3);
    _DrawText("PAUSED", Vector2_Static(0.0f, 0.0f), 0.16f, 1);
    _DrawText("P: resume   Esc: quit", Vector2_Static(0.0f, -0.1f), 0.04f, 1);
}

void World_Render(World *world)
{
    if (world->asset == nullptr)
    {
        _LoadSplash(world);
    }
    Level_LazyLoadTextures(world->level);
    // A pause begins with a key or a lost focus, after the last frame was shown, when that
    // frame can no longer be read back. So the screen follows the pause one frame late: the
    // world plays one more frame, kept for the pause to stand on (copying every frame instead
    // would cost the renderer a full-screen copy each time), and a resume waits one paused
    // frame likewise, so a pause leaves the game exactly as it found it.
    const int32_t paused = skipSplashScreen && Player_IsPaused(world->player);
    if (world->pauseShown)
    {
        _RenderPaused();
    }
    else if (skipSplashScreen)
    {
        _RenderPlay(world);
        if (paused)
        {
            Graphics_HoldFrame();
        }
    }
    else if (Animation_GetCountDown(world->splashAnimation) != 0)
    {
        _RenderSplash(world);
    }
    else
    {
        _RenderTitle(world);
    }
    world->pauseShown = paused;
}
