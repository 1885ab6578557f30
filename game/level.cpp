// level: ships stay in spaceShips after exploding (their bullets keep flying); the collider
// holds only the ships that can still be hit, explodingSpaceShips those not yet credited.
#include "game/level.h"

#include "foundation/allocator.h"
#include "foundation/list.h"
#include "foundation/logging.h"
#include "foundation/mystring.h"
#include "game/bullet.h"
#include "game/collider.h"
#include "game/player.h"
#include "game/spaceship.h"
#include "game/sprite.h"
#include "game/world.h"
#include "render/background.h"
#include "render/graphics_win.h"
#include "resources/asset.h"

#include <algorithm>
#include <cmath>

const int32_t showBossEveryLevels = 5;

// Kept as is: the name and the never-read entry 0 are the level's published table; entry
// band + 1 centres each band's bullet picture on its ship.
static constexpr float gfxBugBulletOffsetFixTable[6] = {-1.0f, 0.01f, 0.01f, 0.0f, -0.01f, 0.0f};
static constexpr int32_t FORMATION_SIZE = 10;
static constexpr int32_t LAST_BAND = 4;
static constexpr int32_t SHIP_POINTS = 100;
static constexpr int32_t BOSS_POINTS = 1000;

struct Level
{
    int32_t levelNumber;
    int32_t numberOfAliveEnemies;
    int32_t hasEnded;
    int32_t texturesLoaded;
    Player *player;
    Background *background;
    Collider *collider;
    List *spaceShips;
    List *explodingSpaceShips;
    SpaceShip *boss;
};

// The sway: x advances by the movement, y follows a sine of x whose strength grows with the
// level. Ships bounce off the edges one by one.
static void _Sway(Sprite *sprite, Level *level, double amplitude, double frequency, double divisor)
{
    if (!skipSplashScreen)
    {
        return;
    }
    const double n = level->levelNumber;
    Vector2 position = Sprite_GetPosition(sprite);
    Vector2 movement = Sprite_GetMovement(sprite);
    position.x = position.x + movement.x;
    position.y = static_cast<float>(position.y +
                                    std::sin(frequency * position.x) * amplitude / (divisor / n));
    Sprite_SetPosition(sprite, position);
    if (position.x > 1.0f || position.x < -1.0f)
    {
        movement.x = -movement.x;
        Sprite_SetMovement(sprite, movement);
    }
}

static void _UpdateSpaceShipPosition(Sprite *sprite, void *userData)
{
    Level *level = static_cast<Level *>(userData);
    const int32_t n = level->levelNumber;
    _Sway(sprite, level, n % 3 == 0 ? 0.75 : -1.0, n % 2 == 0 ? 1.0 : -1.0, 1000.0);
}

static void _UpdateBossSpaceShipPosition(Sprite *sprite, void *userData)
{
    Level *level = static_cast<Level *>(userData);
    const int32_t n = level->levelNumber;
    _Sway(sprite, level, n % 3 == 0 ? 0.075 : -0.1, n % 2 == 0 ? 0.1 : -0.1, 10000.0);
}

static void _CreateFormation(Level *level)
{
    for (int32_t i = 0; i < FORMATION_SIZE; i++)
    {
        String *name = String_Format("SpaceShip %d", i + 1);
        LOG_INFO("Creating %s.", String_ToCStr(name));
        SpaceShip *ship = SpaceShip_Create(static_cast<int16_t>(i + 1), String_ToCStr(name));
        String_Destroy(name);
        SpaceShip_SetLevel(ship, level->levelNumber);
        Sprite *sprite = SpaceShip_GetSprite(ship);
        Sprite_SetSize(sprite, Vector2_Static(0.15f, 0.15f));
        Sprite_SetCollisionSize(sprite, Vector2_Static(0.15f, 0.15f));
        Sprite_SetLogicFunction(sprite, _UpdateSpaceShipPosition, level);
        Sprite_SetPosition(sprite, Vector2_Static(static_cast<float>((i % 5) - 2) * 0.25f,
                                                  static_cast<float>(i % 2) * 0.25f + 0.35f));
        Sprite_SetMovement(sprite, Vector2_Static(0.0125f, 0.0f));
        List_AddLast(level->spaceShips, ship);
        Collider_AddSprite(level->collider, sprite);
    }
}

static void _CreateBoss(Level *level)
{
    const int32_t n = level->levelNumber;
    String *name = String_Format("BossSpaceShip %d", n / showBossEveryLevels);
    LOG_INFO("Creating %s.", String_ToCStr(name));
    SpaceShip *boss = SpaceShip_Create(-1, String_ToCStr(name));
    String_Destroy(name);
    level->boss = boss;
    SpaceShip_SetLevel(boss, n);
    Sprite *sprite = SpaceShip_GetSprite(boss);
    Sprite_SetSize(sprite, Vector2_Static(0.3f, 0.3f));
    Sprite_SetCollisionSize(sprite, Vector2_Static(0.25f, 0.25f));
    Sprite_SetLogicFunction(sprite, _UpdateBossSpaceShipPosition, level);
    Sprite_SetPosition(sprite, Vector2_Static(n % 10 == 0 ? 0.35f : -0.35f, 0.35f));
    Sprite_SetMovement(sprite, Vector2_Static(static_cast<float>(n * 0.0001 + 0.003), 0.0f));
    SpaceShip_SetHealthPoints(boss, 3 * n);
    Collider_AddSprite(level->collider, sprite);
    List_AddLast(level->spaceShips, boss);
    level->numberOfAliveEnemies++;
}

Level *Level_Create(int32_t levelNumber, Player *player)
{
    Level *level = MEMORY_ALLOCATE_RECORD(Level);
    level->levelNumber = levelNumber;
    level->numberOfAliveEnemies = FORMATION_SIZE;
    level->player = player;
    level->background = Background_Create(Vector2_Static(2.0f, 4.0f), nullptr);
    Background_SetAnimationSpeed(level->background, -0.01);
    level->collider = Collider_Create();
    level->spaceShips = List_Create(nullptr);
    level->explodingSpaceShips = List_Create(nullptr);
    _CreateFormation(level);
    if (levelNumber % showBossEveryLevels == 0)
    {
        _CreateBoss(level);
    }
    return level;
}

void Level_Destroy(Level *level)
{
    Collider_Destroy(level->collider);
    for (void *ship = List_GetFirst(level->spaceShips); ship != nullptr;
         ship = List_GetNext(level->spaceShips))
    {
        List_RemoveCurrent(level->spaceShips);
        SpaceShip_Destroy(static_cast<SpaceShip *>(ship));
    }
    List_Destroy(level->spaceShips);
    List_Destroy(level->explodingSpaceShips);
    Background_Destroy(level->background);
    MEMORY_FREE(level);
}

static void _LazyLoadTextures(Level *level)
{
    Asset *asset = Graphics_GetAsset();
    if (level->texturesLoaded)
    {
        return;
    }
    level->texturesLoaded = 1;
    const int32_t n = level->levelNumber;
    const int32_t band = std::min((n - 1) / 5, LAST_BAND);

    Player *player = level->player;
    Player_SetSubTextures(player, Asset_GetPlayerSubTexture(asset, band),
                          Asset_GetPlayerGoingLeftSubTexture(asset, band),
                          Asset_GetPlayerGoingRightSubTexture(asset, band));
    Player_SetBulletSubTexture(player, Asset_GetPlayerBulletSubTexture(asset, band + 1),
                               gfxBugBulletOffsetFixTable[band + 1]);
    Player_SetExplosionSubTextures(player, Asset_GetPlayerExplosionBigSubTexture(asset),
                                   Asset_GetPlayerExplosionMediumSubTexture(asset),
                                   Asset_GetPlayerExplosionSmallSubTexture(asset));
    Player_SetShieldSubTexture(player, Asset_GetPlayerShieldSubTexture(asset));

    Background_SetSubTexture(level->background, Asset_GetBackgroundSubTexture(asset));

    SubTexture *enemyBullet = Asset_GetSpaceShipBulletSubTexture(asset, n - 1);
    for (void *s = List_GetFirst(level->spaceShips); s != nullptr;
         s = List_GetNext(level->spaceShips))
    {
        SpaceShip *ship = static_cast<SpaceShip *>(s);
        SpaceShip_SetBulletSubTexture(ship, enemyBullet);
        if (ship == level->boss)
        {
            Sprite_SetSubTexture(SpaceShip_GetSprite(ship),
                                 Asset_GetBossSpaceShipSubTexture(asset, (n - 1) / 5));
            SpaceShip_SetExplosionSubTextures(ship, Asset_GetPlayerExplosionBigSubTexture(asset),
                                              Asset_GetPlayerExplosionMediumSubTexture(asset),
                                              Asset_GetPlayerExplosionSmallSubTexture(asset));
        }
        else
        {
            Sprite_SetSubTexture(SpaceShip_GetSprite(ship), Asset_GetSpaceShipSubTexture(asset, n));
            SpaceShip_SetExplosionSubTextures(ship, Asset_GetSpaceShipExplosionBigSubTexture(asset),
                                              Asset_GetSpaceShipExplosionMediumSubTexture(asset),
                                              Asset_GetSpaceShipExplosionSmallSubTexture(asset));
        }
    }
}

void Level_LazyLoadTextures(Level *level)
{
    _LazyLoadTextures(level);
}

static SpaceShip *_FindShip(Level *level, Sprite *sprite)
{
    for (void *s = List_GetFirst(level->spaceShips); s != nullptr;
         s = List_GetNext(level->spaceShips))
    {
        if (SpaceShip_GetSprite(static_cast<SpaceShip *>(s)) == sprite)
        {
            return static_cast<SpaceShip *>(s);
        }
    }
    return nullptr;
}

static void _CheckPlayerBullet(Level *level)
{
    Bullet *bullet = Player_GetBullet(level->player);
    if (bullet == nullptr)
    {
        return;
    }
    Sprite *hit = Collider_CheckForCollision(level->collider, Bullet_GetSprite(bullet));
    SpaceShip *ship = hit != nullptr ? _FindShip(level, hit) : nullptr;
    if (ship == nullptr)
    {
        return;
    }
    SpaceShip_HitByBullet(ship);
    Bullet_Destroy(bullet);
    Player_SetBullet(level->player, nullptr);
    if (SpaceShip_GetHealthPoint(ship) != 0)
    {
        return;
    }
    Collider_RemoveSprite(level->collider, hit);
    level->numberOfAliveEnemies--;
    List_AddLast(level->explodingSpaceShips, ship);
    if (level->numberOfAliveEnemies == 0)
    {
        LOG_INFO("CONGRATULATION!!");
        Player_SetMovement(level->player, Vector2_Static(0.0f, 0.01f));
    }
}

static void _CreditExplodedShips(Level *level)
{
    List *exploding = level->explodingSpaceShips;
    for (void *s = List_GetFirst(exploding); s != nullptr; s = List_GetNext(exploding))
    {
        SpaceShip *ship = static_cast<SpaceShip *>(s);
        if (SpaceShip_HasExploded(ship))
        {
            List_RemoveCurrent(exploding);
            Player_AddScore(level->player, ship == level->boss ? BOSS_POINTS : SHIP_POINTS);
        }
    }
}

static void _CheckEnemyBullets(Level *level)
{
    Sprite *playerSprite = Player_GetSprite(level->player);
    for (void *s = List_GetFirst(level->spaceShips); s != nullptr;
         s = List_GetNext(level->spaceShips))
    {
        SpaceShip *ship = static_cast<SpaceShip *>(s);
        List *bullets = SpaceShip_GetBulletList(ship);
        // The ship list's cursor is in use, so the bullets are walked with their own list's.
        for (void *b = List_GetFirst(bullets); b != nullptr; b = List_GetNext(bullets))
        {
            Bullet *bullet = static_cast<Bullet *>(b);
            if (Collider_CheckIfSpritesOverlap(Bullet_GetSprite(bullet), playerSprite))
            {
                LOG_INFO("GAME OVER");
                SpaceShip_RemoveBullet(ship, bullet);
                Player_Die(level->player);
            }
        }
    }
}

void Level_Render(Level *level)
{
    _LazyLoadTextures(level);
    Background_Render(level->background);
    _CheckPlayerBullet(level);
    for (void *s = List_GetFirst(level->spaceShips); s != nullptr;
         s = List_GetNext(level->spaceShips))
    {
        SpaceShip_Render(static_cast<SpaceShip *>(s));
    }
    Player_Render(level->player);
    _CreditExplodedShips(level);
    _CheckEnemyBullets(level);
    if (Sprite_GetPosition(Player_GetSprite(level->player)).y > 1.25f && !level->hasEnded)
    {
        level->hasEnded = 1;
    }
}

int32_t Level_GetNumerOfAliveEnemies(Level *level)
{
    return level->numberOfAliveEnemies;
}

int32_t Level_HasEnded(Level *level)
{
    return level->hasEnded;
}

int32_t Level_GetLevelNumber(Level *level)
{
    return level->levelNumber;
}

List *Level_GetSpaceShips(Level *level)
{
    return level->spaceShips;
}

SpaceShip *Level_GetBoss(Level *level)
{
    return level->boss;
}
