// A level's rules: the boss, hits, when points are credited, enemy bullets, the level's end.
#include "tests/game/game_fixture.h"

#include "foundation/list.h"
#include "game/bullet.h"
#include "game/level.h"
#include "game/sprite.h"
#include "tests/game/scripted_play.h"

#include <string>
#include <tuple>

namespace
{
using LevelTest = GameTest;

TEST_F(LevelTest, EveryFifthLevelAddsABossWithHealthAndSpeedByLevel)
{
    // Per level: ships, then the last ship made: name, x, y, health and speed.
    for (const auto &[number, alive, name, x, y, health, speed] :
         {std::tuple{1, 10, "SpaceShip 10", 0.5f, 0.6f, 1, 0.0125f},
          {5, 11, "BossSpaceShip 1", -0.35f, 0.35f, 15, 0.0035f},
          {10, 11, "BossSpaceShip 2", 0.35f, 0.35f, 30, 0.004f}})
    {
        Level *level = Level_Create(number, player);
        SpaceShip *last = static_cast<SpaceShip *>(List_GetLast(Level_GetSpaceShips(level)));
        Sprite *sprite = SpaceShip_GetSprite(last);
        EXPECT_EQ(std::make_tuple(Level_GetNumerOfAliveEnemies(level),
                                  List_GetSize(Level_GetSpaceShips(level)), Level_GetBoss(level),
                                  std::string(Sprite_GetName(sprite)), Sprite_GetPosition(sprite).x,
                                  Sprite_GetPosition(sprite).y, SpaceShip_GetHealthPoint(last),
                                  Sprite_GetMovement(sprite).x),
                  std::make_tuple(alive, alive, alive == 11 ? last : nullptr, std::string(name), x,
                                  y, health, speed))
            << "level " << number;
        Level_Destroy(level);
    }
}

TEST_F(LevelTest, ShipsFireOnlyInPlayAndMoreOftenOnLaterLevels)
{
    ceaseFire = false;
    Step(400);
    for (int32_t i = 0; i < 10; i++)
        EXPECT_EQ(List_GetSize(SpaceShip_GetBulletList(Ship(i))), 0) << "no fire before play";
    // A ship fires with a chance of 1 in 250 - 10 x level a frame, but at least 1 in 10: over
    // 1000 frames of ten ships about 42 shots on level 1, 77 on level 12 and 1000 on level 29.
    skipSplashScreen = 1;
    for (const auto &[number, least, most] :
         {std::tuple{1, 15, 75}, {12, 40, 120}, {29, 850, 1150}})
    {
        Level *level = Level_Create(number, player);
        List *ships = Level_GetSpaceShips(level);
        int32_t shots = 0;
        for (int32_t frame = 0; frame < 1000; frame++)
        {
            // Held on screen: a shot fired above the top edge is gone before it is counted.
            for (void *ship = List_GetFirst(ships); ship != nullptr; ship = List_GetNext(ships))
                Sprite_SetPosition(SpaceShip_GetSprite(static_cast<SpaceShip *>(ship)),
                                   Vector2_Static(0.0f, 0.5f));
            Level_Render(level);
            for (void *ship = List_GetFirst(ships); ship != nullptr; ship = List_GetNext(ships))
                shots += List_GetSize(SpaceShip_GetBulletList(static_cast<SpaceShip *>(ship)));
            RemoveEnemyBullets(level);
        }
        EXPECT_TRUE(shots >= least && shots <= most) << "level " << number << ": " << shots;
        Level_Destroy(level);
    }
}

TEST_F(LevelTest, PointsArriveWhenTheExplosionEndsAndEveryFifthLevelWaitsForItsBoss)
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
    EXPECT_EQ(
        std::make_tuple(start.x, start.y, Player_GetBullet(player), Player_GetBulletsFired(player)),
        std::make_tuple(0.0f, -0.75f, nullptr, 0))
        << "a new level starts the player afresh";
    // The frames from the last hit until the points arrive.
    auto framesUntilPaid = [&](SpaceShip *ship)
    {
        const int32_t score = Player_GetScore(player);
        AimBulletAt(ship);
        int32_t frames = 0;
        for (; Player_GetScore(player) == score && frames < 100; frames++)
            Step();
        return Player_GetScore(player) - score == (ship == Ship(10) ? 1000 : 100) ? frames : -1;
    };
    EXPECT_EQ(framesUntilPaid(Ship(0)), 25);
    ClearLevel(10);
    EXPECT_EQ(Level_GetNumerOfAliveEnemies(CurrentLevel()), 1) << "the boss is left";
    Step(300);
    EXPECT_EQ(World_GetLevelNumber(world), 5);
    SpaceShip *boss = Ship(10);
    ASSERT_EQ(Level_GetBoss(CurrentLevel()), boss);
    EXPECT_EQ(SpaceShip_GetHealthPoint(boss), 15) << "the first boss";
    while (SpaceShip_GetHealthPoint(boss) > 1)
    {
        AimBulletAt(boss);
        Step();
        EXPECT_EQ(SpaceShip_GetHitCountDown(boss), 9) << "hidden for 10 frames after a hit";
    }
    EXPECT_EQ(framesUntilPaid(boss), 50);
    EXPECT_EQ(Level_GetNumerOfAliveEnemies(CurrentLevel()), 0);
}

TEST_F(LevelTest, ABulletOverTwoShipsHitsOnlyTheFirstCreatedAndEnemyBulletsCostALifeUnlessShielded)
{
    StartPlay();
    // Ship 6 stands right above ship 1; between them the bullet touches both boxes.
    AimBulletAt(Ship(0));
    Sprite_SetPosition(Bullet_GetSprite(Player_GetBullet(player)),
                       Vector2_Static(Sprite_GetPosition(SpaceShip_GetSprite(Ship(0))).x, 0.475f));
    Step();
    EXPECT_EQ(std::make_tuple(SpaceShip_GetHealthPoint(Ship(0)), SpaceShip_GetHealthPoint(Ship(5)),
                              Player_GetBullet(player)),
              std::make_tuple(0, 1, nullptr));
    // The ships' own fire is taken away after every frame; a bullet dropped just above the
    // player's ship is tested against the player within its frame.
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
    EXPECT_EQ(std::make_pair(List_GetSize(SpaceShip_GetBulletList(Ship(3))),
                             Player_GetNumberOfLives(player)),
              std::make_pair(0, 3))
        << "the bullet vanishes and costs nothing while shielded";
    Step(60);
    ASSERT_EQ(Player_GetShieldCountDown(player), 0);
    Destroy(Ship(3));
    Step(30);
    ASSERT_TRUE(SpaceShip_HasExploded(Ship(3)));
    dropBulletOnPlayer(Ship(3));
    Step();
    EXPECT_EQ(Player_GetNumberOfLives(player), 2) << "an exploded ship's bullets still hit";
    EXPECT_EQ(Player_GetHitCountDown(player), 60) << "hit after the ship was drawn";
}
} // namespace
