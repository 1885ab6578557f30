// A level's rules on real levels: the formation and the boss, hits and kills, when points are
// credited, enemy fire against the player, and a level ending when the cleared ship is gone.
#include "tests/game/game_fixture.h"
#include "tests/game/scripted_play.h"

#include "foundation/list.h"
#include "game/bullet.h"
#include "game/sprite.h"

namespace
{
using LevelTest = GameTest;

Vector2 PositionOf(SpaceShip *ship)
{
    return Sprite_GetPosition(SpaceShip_GetSprite(ship));
}

TEST_F(LevelTest, EveryFifthLevelAddsABossWithHealthAndSpeedByLevel)
{
    const struct
    {
        int32_t level, alive;
        const char *last; // the name of the last ship made
        float x, y;
        int32_t health;
        float speed;
    } levels[] = {{1, 10, "SpaceShip 10", 0.5f, 0.6f, 1, 0.0125f},
                  {5, 11, "BossSpaceShip 1", -0.35f, 0.35f, 15, 0.0035f},
                  {10, 11, "BossSpaceShip 2", 0.35f, 0.35f, 30, 0.004f}};
    for (const auto &row : levels)
    {
        Level *level = Level_Create(row.level, player);
        SpaceShip *last = static_cast<SpaceShip *>(List_GetLast(Level_GetSpaceShips(level)));
        EXPECT_EQ(Level_GetNumerOfAliveEnemies(level), row.alive) << row.level;
        EXPECT_EQ(List_GetSize(Level_GetSpaceShips(level)), row.alive);
        EXPECT_EQ(Level_GetBoss(level), row.alive == 11 ? last : nullptr);
        EXPECT_STREQ(Sprite_GetName(SpaceShip_GetSprite(last)), row.last);
        EXPECT_FLOAT_EQ(PositionOf(last).x, row.x);
        EXPECT_FLOAT_EQ(PositionOf(last).y, row.y);
        EXPECT_EQ(SpaceShip_GetHealthPoint(last), row.health);
        EXPECT_FLOAT_EQ(Sprite_GetMovement(SpaceShip_GetSprite(last)).x, row.speed);
        Level_Destroy(level);
    }
}

TEST_F(LevelTest, PointsArriveWhenTheExplosionEndsAndABossLevelWaitsForTheBoss)
{
    StartPlay();
    AdvanceToLevel(4);
    Player_SetPosition(player, Vector2_Static(0.4f, -0.75f));
    ClearLevel(10);
    EXPECT_EQ(Level_GetNumerOfAliveEnemies(CurrentLevel()), 0);
    EXPECT_FLOAT_EQ(Sprite_GetMovement(Player_GetSprite(player)).y, 0.01f) << "the climb begins";
    const float y = Sprite_GetPosition(Player_GetSprite(player)).y;
    Step(10);
    EXPECT_GT(Sprite_GetPosition(Player_GetSprite(player)).y, y);
    ASSERT_TRUE(StepUntil([&] { return World_GetLevelNumber(world) == 5; }, 400));
    const Vector2 start = Sprite_GetPosition(Player_GetSprite(player));
    EXPECT_FLOAT_EQ(start.x, 0.0f);
    EXPECT_FLOAT_EQ(start.y, -0.75f);
    EXPECT_EQ(Player_GetBullet(player), nullptr);
    EXPECT_EQ(Player_GetBulletsFired(player), 0);

    // The frames from the last hit until the points arrive.
    auto framesUntilPaid = [&](SpaceShip *ship)
    {
        const int32_t score = Player_GetScore(player);
        AimBulletAt(ship);
        int32_t frames = 0;
        while (Player_GetScore(player) == score && frames < 100)
        {
            Step();
            frames++;
        }
        return Player_GetScore(player) - score == (ship == Ship(10) ? 1000 : 100) ? frames : -1;
    };
    EXPECT_EQ(framesUntilPaid(Ship(0)), 25);
    ClearLevel(10);
    EXPECT_EQ(Level_GetNumerOfAliveEnemies(CurrentLevel()), 1) << "the boss is left";
    Step(300);
    EXPECT_EQ(World_GetLevelNumber(world), 5);
    SpaceShip *boss = Ship(10);
    while (SpaceShip_GetHealthPoint(boss) > 1)
    {
        AimBulletAt(boss);
        Step();
        EXPECT_EQ(SpaceShip_GetHitCountDown(boss), 9) << "hidden for 10 frames after a hit";
    }
    EXPECT_EQ(framesUntilPaid(boss), 50);
    EXPECT_EQ(Level_GetNumerOfAliveEnemies(CurrentLevel()), 0);
}

TEST_F(LevelTest, ABulletOverTwoShipsHitsOnlyTheFirstCreated)
{
    StartPlay();
    // Ship 6 stands right above ship 1; between them the bullet touches both boxes.
    AimBulletAt(Ship(0));
    Sprite_SetPosition(Bullet_GetSprite(Player_GetBullet(player)),
                       Vector2_Static(PositionOf(Ship(0)).x, 0.475f));
    Step();
    EXPECT_EQ(SpaceShip_GetHealthPoint(Ship(0)), 0);
    EXPECT_EQ(SpaceShip_GetHealthPoint(Ship(5)), 1);
    EXPECT_EQ(Player_GetBullet(player), nullptr) << "the bullet is used up";
}

TEST_F(LevelTest, EnemyBulletsCostALifeUnlessTheShieldIsUp)
{
    // The ships' own fire is taken away after every frame; a falling bullet dropped just above
    // the player's ship is tested against the player within its frame.
    StartPlay();
    const Vector2 ship = Sprite_GetPosition(Player_GetSprite(player));
    auto dropBulletOnPlayer = [&](SpaceShip *shooter)
    {
        Bullet *bullet = Bullet_Create(-1, "bullet");
        Sprite *sprite = Bullet_GetSprite(bullet);
        Sprite_SetSubTexture(sprite, Sprite_GetSubTexture(SpaceShip_GetSprite(shooter)));
        Sprite_SetMovement(sprite, Vector2_Static(0.0f, -0.02f));
        Sprite_SetPosition(sprite, Vector2_Static(ship.x, ship.y + 0.12f));
        List_AddLast(SpaceShip_GetBulletList(shooter), bullet);
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
        EXPECT_EQ(List_GetSize(SpaceShip_GetBulletList(Ship(i))), 0) << "no fire before the game";
    // A level 30 ship fires with a chance of 1 in 10 a frame: over 300 frames each of ten
    // ships fires dozens of times; at level 1 (1 in 240) about a dozen shots in all.
    skipSplashScreen = 1;
    int32_t shots[2] = {};
    for (const int32_t levelNumber : {1, 30})
    {
        Level *level = Level_Create(levelNumber, player);
        List *ships = Level_GetSpaceShips(level);
        for (int32_t frame = 0; frame < 300; frame++)
        {
            Level_Render(level);
            for (void *s = List_GetFirst(ships); s != nullptr; s = List_GetNext(ships))
            {
                shots[levelNumber / 30] +=
                    List_GetSize(SpaceShip_GetBulletList(static_cast<SpaceShip *>(s)));
            }
            RemoveEnemyBullets(level);
            Player_SetPosition(player, Vector2_Static(0.0f, -0.75f));
        }
        Level_Destroy(level);
    }
    EXPECT_LT(shots[0], 40);
    EXPECT_GT(shots[1], 200);
}
} // namespace
