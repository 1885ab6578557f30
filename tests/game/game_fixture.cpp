// The window, archive, audio device and shared catalogue are made once per test process and
// kept: closing the window would set the frame loop's exit flag for the rest of the process.
#include "tests/game/game_fixture.h"

#include "tests/game/scripted_play.h"

#include "audio/audio_openal.h"
#include "foundation/allocator.h"
#include "foundation/color.h"
#include "foundation/list.h"
#include "foundation/logging.h"
#include "foundation/random.h"
#include "frame/integration_win.h"
#include "frame/window.h"
#include "game/bullet.h"
#include "game/sprite.h"
#include "render/graphics_win.h"
#include "resources/asset.h"
#include "resources/resource_win.h"

Window *GameTest::GetWindow()
{
    static Window *window = nullptr;
    if (window == nullptr)
    {
        Logging_SetLevel(LOGGING_LEVEL_SILENT);
        Resource_Load(ZINDREL_RESOURCES_DAT);
        Window_Initialize_Library();
        Audio_Initialize(nullptr);
        World_LoadSounds();
        window = Window_Create(RENDER_TEST_WIDTH, RENDER_TEST_HEIGHT, "Zindrel game test", nullptr,
                               nullptr);
        OSWindow_FrameInit(Window_GetOSWindow(window));
        Graphics_Initialize();
        Graphics_GetAsset(); // lives for the whole process, as it does in the game
    }
    return window;
}

// Every buffer the archive hands out stays listed until it is unloaded (a catalogue made during
// a test asks for the sheets), so the archive is reopened on both sides of the count.
static int64_t _LiveBlocks()
{
    Resource_Unload();
    Resource_Load(ZINDREL_RESOURCES_DAT);
    return int64_t{Allocator_GetAllocatedObjects()} - Allocator_GetDeallocatedObjects();
}

void GameTest::SetUp()
{
    GetWindow();
    Random_SetSeed(20261206);
    splashScreenPlaying = 1;
    skipSplashScreen = 0;
    Player_SetSelectedJoystick(0);
    liveAtStart = _LiveBlocks();
    world = World_Create();
    player = World_GetPlayer(world);
}

void GameTest::TearDown()
{
    World_Destroy(world);
    EXPECT_EQ(_LiveBlocks(), liveAtStart) << "tracking-allocator blocks leaked or freed twice";
}

void GameTest::Step(int32_t frames)
{
    const Color black = Color_Static(0.0f, 0.0f, 0.0f, 1.0f);
    for (int32_t i = 0; i < frames; i++)
    {
        Graphics_SetContext(GetWindow());
        Graphics_SetColor(&black);
        World_Render(world);
        if (ceaseFire)
            RemoveEnemyBullets(CurrentLevel());
    }
}

void GameTest::Pad(const PadState &pad)
{
    const JoystickEvent event{pad.slot, pad.isGamepad, "test pad", 6,      pad.axes,
                              15,       pad.buttons,   0,          nullptr};
    Player_HandleJoystickEvent(player, GetWindow(), event);
}

void GameTest::StartPlay()
{
    Step(275);
    Tap(kKeySpace);
    Step();
    ASSERT_EQ(skipSplashScreen, 1);
    Player_RemoveBullet(player);
}

SpaceShip *GameTest::Ship(int32_t index)
{
    List *ships = Level_GetSpaceShips(CurrentLevel());
    void *ship = List_GetFirst(ships);
    for (int32_t i = 0; i < index && ship != nullptr; i++)
        ship = List_GetNext(ships);
    return static_cast<SpaceShip *>(ship);
}

void GameTest::AimBulletAt(SpaceShip *ship)
{
    Player_RemoveBullet(player);
    Bullet *bullet = Bullet_Create(-1, "bullet");
    Sprite *sprite = Bullet_GetSprite(bullet);
    Sprite_SetSubTexture(sprite, Asset_GetPlayerBulletSubTexture(Graphics_GetAsset(), 1));
    Sprite_SetPosition(sprite, Sprite_GetPosition(SpaceShip_GetSprite(ship)));
    Player_SetBullet(player, bullet);
}

void GameTest::Destroy(SpaceShip *ship)
{
    while (SpaceShip_GetHealthPoint(ship) > 0)
        AimBulletAt(ship), Step();
}

void GameTest::ClearLevel(int32_t count)
{
    for (int32_t i = 0; i < count; i++)
    {
        if (Ship(i) != nullptr)
            Destroy(Ship(i));
    }
}

void GameTest::AdvanceToLevel(int32_t levelNumber)
{
    while (World_GetLevelNumber(world) < levelNumber)
    {
        const int32_t before = World_GetLevelNumber(world);
        ClearLevel();
        ASSERT_TRUE(StepUntil([&] { return World_GetLevelNumber(world) > before; }, 400))
            << "level " << before << " did not end after it was cleared";
    }
}

void GameTest::LoseLives(int32_t count)
{
    for (int32_t i = 0; i < count && Player_GetNumberOfLives(player) > 0; i++)
    {
        Player_Die(player);
        StepUntil([&] { return Player_GetHitCountDown(player) == 0; }, 100);
    }
}
