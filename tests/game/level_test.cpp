// A level's rules on real levels: the formation and the boss, hits and kills, when points are
// credited, enemy fire against the player, and a level ending when the cleared ship is gone.
#include "tests/game/game_fixture.h"

#include "foundation/list.h"
#include "foundation/logging.h"
#include "foundation/random.h"
#include "game/bullet.h"
#include "game/level.h"
#include "game/player.h"
#include "game/spaceship.h"
#include "game/sprite.h"
#include "game/world.h"

#include <cmath>
#include <cstring>
#include <set>
#include <utility>

namespace
{
using LevelTest = GameTest;

Vector2 PositionOf(SpaceShip *ship)
{
    return Sprite_GetPosition(SpaceShip_GetSprite(ship));
}

// Five columns a quarter apart, each with a ship in both rows.
TEST_F(LevelTest, LevelOneFormationIsACheckerboardOfTenShips)
{
    Level *level = CurrentLevel();
    EXPECT_EQ(Level_GetNumerOfAliveEnemies(level), 10);
    EXPECT_EQ(Level_GetBoss(level), nullptr);
    ASSERT_EQ(List_GetSize(Level_GetSpaceShips(level)), 10);
    std::set<std::pair<long, long>> places; // in hundredths
    for (int32_t i = 0; i < 10; i++)
    {
        places.emplace(std::lround(PositionOf(Ship(i)).x * 100),
                       std::lround(PositionOf(Ship(i)).y * 100));
        EXPECT_EQ(SpaceShip_GetHealthPoint(Ship(i)), 1);
        EXPECT_FLOAT_EQ(Sprite_GetMovement(SpaceShip_GetSprite(Ship(i))).x, 0.0125f);
    }
    std::set<std::pair<long, long>> checkerboard;
    for (long x = -50; x <= 50; x += 25)
        for (const long y : {35, 60})
            checkerboard.emplace(x, y);
    EXPECT_EQ(places, checkerboard);
}

TEST_F(LevelTest, BossLevelsAddABossWithHealthAndSpeedByLevel)
{
    struct Expectation
    {
        int32_t level;
        const char *name;
        float x;
        int32_t health;
        float speed;
    };
    for (const Expectation &e : {Expectation{5, "BossSpaceShip 1", -0.35f, 15, 0.0035f},
                                 Expectation{10, "BossSpaceShip 2", 0.35f, 30, 0.004f}})
    {
        Level *level = Level_Create(e.level, player);
        SpaceShip *boss = Level_GetBoss(level);
        ASSERT_NE(boss, nullptr);
        EXPECT_STREQ(Sprite_GetName(SpaceShip_GetSprite(boss)), e.name);
        EXPECT_FLOAT_EQ(PositionOf(boss).x, e.x);
        EXPECT_FLOAT_EQ(PositionOf(boss).y, 0.35f);
        EXPECT_EQ(SpaceShip_GetHealthPoint(boss), e.health);
        EXPECT_FLOAT_EQ(Sprite_GetMovement(SpaceShip_GetSprite(boss)).x, e.speed);
        EXPECT_EQ(Level_GetNumerOfAliveEnemies(level), 11);
        Level_Destroy(level);
    }
    Level *level = Level_Create(4, player);
    EXPECT_EQ(Level_GetBoss(level), nullptr);
    Level_Destroy(level);
}

TEST_F(LevelTest, TenthKillClearsLevelFourButNotLevelFive)
{
    StartPlay();
    AdvanceToLevel(4);
    for (int32_t i = 0; i < 10; i++)
    {
        Destroy(Ship(i));
    }
    EXPECT_EQ(Level_GetNumerOfAliveEnemies(CurrentLevel()), 0);
    EXPECT_FLOAT_EQ(Sprite_GetMovement(Player_GetSprite(player)).y, 0.01f) << "the climb begins";

    ASSERT_TRUE(StepUntil([&] { return World_GetLevelNumber(world) == 5; }, 400));
    for (int32_t i = 0; i < 10; i++)
    {
        Destroy(Ship(i));
    }
    EXPECT_EQ(Level_GetNumerOfAliveEnemies(CurrentLevel()), 1) << "the boss is left";
    Step(300);
    EXPECT_EQ(World_GetLevelNumber(world), 5);
    Destroy(Ship(10));
    EXPECT_EQ(Level_GetNumerOfAliveEnemies(CurrentLevel()), 0);
}

TEST_F(LevelTest, PointsArriveWhenTheExplosionEnds)
{
    StartPlay();
    AdvanceToLevel(5);
    const int32_t start = Player_GetScore(player);
    AimBulletAt(Ship(0));
    for (int32_t frame = 1; frame <= 24; frame++)
    {
        Step();
        ASSERT_EQ(Player_GetScore(player), start) << "frame " << frame;
    }
    Step();
    EXPECT_EQ(Player_GetScore(player), start + 100) << "in the 25th frame";

    SpaceShip *boss = Ship(10);
    while (SpaceShip_GetHealthPoint(boss) > 1)
    {
        AimBulletAt(boss);
        Step();
        EXPECT_EQ(SpaceShip_GetHitCountDown(boss), 9) << "hidden for 10 frames after a hit";
    }
    AimBulletAt(boss);
    for (int32_t frame = 1; frame <= 49; frame++)
    {
        Step();
        ASSERT_EQ(Player_GetScore(player), start + 100) << "frame " << frame;
    }
    Step();
    EXPECT_EQ(Player_GetScore(player), start + 1100) << "the boss's 1000 in the 50th frame";
}

TEST_F(LevelTest, ABulletOverTwoShipsHitsOnlyTheFirstCreated)
{
    StartPlay();
    SpaceShip *first = Ship(0);
    SpaceShip *second = Ship(5);
    // Ship 6 stands right above ship 1; between them the bullet touches both boxes.
    AimBulletAt(first);
    Sprite_SetPosition(Bullet_GetSprite(Player_GetBullet(player)),
                       Vector2_Static(PositionOf(first).x, 0.475f));
    Step();
    EXPECT_EQ(SpaceShip_GetHealthPoint(first), 0);
    EXPECT_EQ(SpaceShip_GetHealthPoint(second), 1);
    EXPECT_EQ(Player_GetBullet(player), nullptr) << "the bullet is used up";
}

TEST_F(LevelTest, EnemyBulletsCostALifeUnlessTheShieldIsUp)
{
    // The ships' own fire is taken away after every frame; the bullets dropped here are tested
    // against the player within their frame.
    StartPlay();
    const Vector2 ship = Sprite_GetPosition(Player_GetSprite(player));

    // A falling bullet placed just above the player's ship.
    auto dropBulletOnPlayer = [&](SpaceShip *shooter)
    {
        Bullet *bullet = Bullet_Create(-1, "bullet");
        Sprite *sprite = Bullet_GetSprite(bullet);
        Sprite_SetSubTexture(sprite, Sprite_GetSubTexture(SpaceShip_GetSprite(shooter)));
        Sprite_SetMovement(sprite, Vector2_Static(0.0f, -0.02f));
        Sprite_SetPosition(sprite, Vector2_Static(ship.x, ship.y + 0.12f));
        List_AddLast(SpaceShip_GetBulletList(shooter), bullet);
        return bullet;
    };
    Player_SetShields(player, 1);
    Key(kKeySpace, kPress, kModShift);
    Player_RemoveBullet(player);
    dropBulletOnPlayer(Ship(3));
    Step();
    EXPECT_EQ(List_GetSize(SpaceShip_GetBulletList(Ship(3))), 0) << "the bullet vanishes";
    EXPECT_EQ(Player_GetNumberOfLives(player), 3) << "and costs nothing while shielded";

    Step(60);
    ASSERT_EQ(Player_GetShieldCountDown(player), 0);
    // An exploded ship's bullets still hit.
    Destroy(Ship(3));
    Step(30);
    ASSERT_TRUE(SpaceShip_HasExploded(Ship(3)));
    dropBulletOnPlayer(Ship(3));
    Step();
    EXPECT_EQ(Player_GetNumberOfLives(player), 2);
    EXPECT_EQ(Player_GetHitCountDown(player), 60) << "hit after the ship was drawn";
}

TEST_F(LevelTest, EnemyFireFollowsTheLevelAndWaitsForTheGame)
{
    ceaseFire = false;
    Step(400);
    for (int32_t i = 0; i < 10; i++)
    {
        EXPECT_EQ(List_GetSize(SpaceShip_GetBulletList(Ship(i))), 0) << "no fire before the game";
    }
    // A level 30 ship fires with a chance of 1 in 10 a frame: over 300 frames each of ten
    // ships fires dozens of times; at level 1 (1 in 240) about a dozen shots in all.
    auto countShots = [&](int32_t levelNumber)
    {
        Level *level = Level_Create(levelNumber, player);
        skipSplashScreen = 1;
        int32_t shots = 0;
        for (int32_t frame = 0; frame < 300; frame++)
        {
            Level_Render(level);
            List *ships = Level_GetSpaceShips(level);
            for (void *ship = List_GetFirst(ships); ship != nullptr; ship = List_GetNext(ships))
            {
                List *bullets = SpaceShip_GetBulletList(static_cast<SpaceShip *>(ship));
                shots += List_GetSize(bullets);
                while (void *bullet = List_GetFirst(bullets))
                {
                    SpaceShip_RemoveBullet(static_cast<SpaceShip *>(ship),
                                           static_cast<Bullet *>(bullet));
                }
            }
            Player_SetPosition(player, Vector2_Static(0.0f, -0.75f));
        }
        Level_Destroy(level);
        return shots;
    };
    const int32_t early = countShots(1);
    const int32_t late = countShots(30);
    EXPECT_LT(early, 40);
    EXPECT_GT(late, 200);
}

TEST_F(LevelTest, ClearedShipClimbsOffAndTheNextLevelStartsFresh)
{
    StartPlay();
    Player_SetPosition(player, Vector2_Static(0.4f, -0.75f));
    ClearLevel();
    const float y = Sprite_GetPosition(Player_GetSprite(player)).y;
    Step(10);
    EXPECT_GT(Sprite_GetPosition(Player_GetSprite(player)).y, y);
    ASSERT_TRUE(StepUntil([&] { return World_GetLevelNumber(world) == 2; }, 400));
    const Vector2 start = Sprite_GetPosition(Player_GetSprite(player));
    EXPECT_FLOAT_EQ(start.x, 0.0f);
    EXPECT_FLOAT_EQ(start.y, -0.75f);
    EXPECT_EQ(Player_GetBullet(player), nullptr);
    EXPECT_EQ(Player_GetBulletsFired(player), 0);
    EXPECT_EQ(Level_GetNumerOfAliveEnemies(CurrentLevel()), 10);
}
} // namespace
