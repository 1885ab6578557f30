// spaceship: an ordinary ship fires at random, more often on later levels; a boss fires a fan
// of three whenever at most one of its bullets is left.
#include "game/spaceship.h"

#include "audio/audio_openal.h"
#include "foundation/allocator.h"
#include "foundation/list.h"
#include "foundation/logging.h"
#include "foundation/random.h"
#include "game/bullet.h"
#include "game/sprite.h"
#include "game/world.h"
#include "render/animation.h"
#include "render/graphics_win.h"

static constexpr float BULLET_FALL = -0.02f;
static constexpr float BOSS_SIDE_DRIFT = 0.0075f;
static constexpr float BOSS_SIDE_OFFSET = 0.1f;
static constexpr int32_t HIT_FRAMES = 10;

struct SpaceShip
{
    Sprite *sprite;
    List *bullets;
    SubTexture *bulletSubTexture;
    Animation *explosion;
    int32_t level;
    int32_t healthPoints;
    int32_t hitCountDown;
};

static bool _IsBoss(SpaceShip *ship)
{
    return Sprite_GetName(ship->sprite)[0] == 'B';
}

SpaceShip *SpaceShip_Create(int16_t id, const char *name)
{
    SpaceShip *ship = MEMORY_ALLOCATE_RECORD(SpaceShip);
    ship->sprite = Sprite_Create(id, name);
    ship->bullets = List_Create(Bullet_Destroy);
    const float explosionSize = _IsBoss(ship) ? 0.75f : 0.25f;
    ship->explosion = Animation_Create(Vector2_Static(explosionSize, explosionSize));
    ship->level = 1;
    ship->healthPoints = 1;
    return ship;
}

void SpaceShip_Destroy(SpaceShip *ship)
{
    Sprite_Destroy(ship->sprite);
    Animation_Destroy(ship->explosion);
    List_Destroy(ship->bullets);
    MEMORY_FREE(ship);
}

Sprite *SpaceShip_GetSprite(SpaceShip *ship)
{
    return ship->sprite;
}

int32_t SpaceShip_GetHealthPoint(SpaceShip *ship)
{
    return ship->healthPoints;
}

void SpaceShip_SetHealthPoints(SpaceShip *ship, int32_t points)
{
    ship->healthPoints = points;
}

void SpaceShip_SetLevel(SpaceShip *ship, int32_t level)
{
    ship->level = level;
}

void SpaceShip_SetBulletSubTexture(SpaceShip *ship, SubTexture *subTexture)
{
    ship->bulletSubTexture = subTexture;
}

void SpaceShip_SetExplosionSubTextures(SpaceShip *ship, SubTexture *big, SubTexture *medium,
                                       SubTexture *small)
{
    const int32_t step = _IsBoss(ship) ? 10 : 5;
    Animation_AddFrame(ship->explosion, 4 * step, medium);
    Animation_AddFrame(ship->explosion, 3 * step, big);
    Animation_AddFrame(ship->explosion, 2 * step, medium);
    Animation_AddFrame(ship->explosion, 1 * step, small);
}

void SpaceShip_HitByBullet(SpaceShip *ship)
{
    ship->hitCountDown = HIT_FRAMES;
    if (ship->healthPoints > 0)
    {
        ship->healthPoints--;
    }
    if (ship->healthPoints != 0 || Animation_GetCountDown(ship->explosion) != 0)
    {
        return;
    }
    LOG_INFO("Enemy hit by bullet.");
    if (_IsBoss(ship))
    {
        Animation_SetCountDown(ship->explosion, 50);
        Sample_Play(samplePlayerKilled);
    }
    else
    {
        Animation_SetCountDown(ship->explosion, 25);
        Sample_Play(sampleEnemyKilled);
    }
}

int32_t SpaceShip_HasExploded(SpaceShip *ship)
{
    return Animation_HasEnded(ship->explosion);
}

List *SpaceShip_GetBulletList(SpaceShip *ship)
{
    return ship->bullets;
}

void SpaceShip_RemoveBullet(SpaceShip *ship, Bullet *bullet)
{
    if (List_Remove(ship->bullets, bullet) != nullptr)
    {
        Bullet_Destroy(bullet);
    }
}

int32_t SpaceShip_GetHitCountDown(SpaceShip *ship)
{
    return ship->hitCountDown;
}

static Bullet *_CreateBullet(SpaceShip *ship, Vector2 movement, Vector2 offset)
{
    const Vector2 start = Vector2_Add(Sprite_GetPosition(ship->sprite), offset);
    Bullet *bullet = Bullet_Create(-1, "bullet");
    LOG_INFO("SpaceShip %s created a Bullet", Sprite_GetName(ship->sprite));
    Sprite *sprite = Bullet_GetSprite(bullet);
    Sprite_SetMovement(sprite, movement);
    Sprite_SetPosition(sprite, start);
    Sprite_SetSubTexture(sprite, ship->bulletSubTexture);
    Sample_Play(sampleEnemyLaser);
    return bullet;
}

static void _Fire(SpaceShip *ship)
{
    if (_IsBoss(ship))
    {
        List_AddLast(ship->bullets, _CreateBullet(ship, Vector2_Static(0.0f, BULLET_FALL),
                                                  Vector2_Static(0.0f, 0.0f)));
        List_AddLast(ship->bullets,
                     _CreateBullet(ship, Vector2_Static(-BOSS_SIDE_DRIFT, BULLET_FALL),
                                   Vector2_Static(-BOSS_SIDE_OFFSET, 0.0f)));
        List_AddLast(ship->bullets,
                     _CreateBullet(ship, Vector2_Static(BOSS_SIDE_DRIFT, BULLET_FALL),
                                   Vector2_Static(BOSS_SIDE_OFFSET, 0.0f)));
        return;
    }
    int32_t divisor = 250 - 10 * ship->level;
    if (divisor <= 0)
    {
        divisor = 10;
    }
    if (Random_GetValue() % divisor == 0)
    {
        List_AddLast(ship->bullets, _CreateBullet(ship, Vector2_Static(0.0f, BULLET_FALL),
                                                  Vector2_Static(0.0f, 0.0f)));
    }
}

static bool _IsOffScreen(Bullet *bullet)
{
    const Vector2 p = Sprite_GetPosition(Bullet_GetSprite(bullet));
    return p.x < -1.0f || p.x > 1.0f || p.y < -1.0f || p.y > 1.0f;
}

static void _MoveBullets(SpaceShip *ship)
{
    for (void *b = List_GetFirst(ship->bullets); b != nullptr; b = List_GetNext(ship->bullets))
    {
        Bullet_Render(static_cast<Bullet *>(b));
    }
    for (void *b = List_GetFirst(ship->bullets); b != nullptr; b = List_GetNext(ship->bullets))
    {
        if (_IsOffScreen(static_cast<Bullet *>(b)))
        {
            List_RemoveCurrent(ship->bullets);
            Bullet_Destroy(b);
        }
    }
}

void SpaceShip_Render(SpaceShip *ship)
{
    const int32_t hasEnded = Animation_HasEnded(ship->explosion);
    const int32_t countDown = Animation_GetCountDown(ship->explosion);
    if (countDown == 0 && !hasEnded && skipSplashScreen && List_GetSize(ship->bullets) <= 1)
    {
        _Fire(ship);
    }
    _MoveBullets(ship);
    Graphics_SetBlendFactors(1, 7);
    if (countDown > 0)
    {
        const Vector2 position = Sprite_GetPosition(ship->sprite);
        const Vector2 halfCollisionWidth =
            Vector2_Static(Sprite_GetCollisionSize(ship->sprite).x / 2.0f, 0.0f);
        const Vector2 halfExplosion = Vector2_Divide(Animation_GetSize(ship->explosion), 2.0f);
        Graphics_SetPosition(
            Vector2_Subtract(Vector2_Subtract(position, halfCollisionWidth), halfExplosion));
        Animation_Render(ship->explosion);
        return;
    }
    if (hasEnded)
    {
        return;
    }
    if (ship->hitCountDown > 0)
    {
        ship->hitCountDown--;
        Sprite_Logic(ship->sprite);
        return;
    }
    Sprite_Logic(ship->sprite);
    Sprite_Render(ship->sprite);
}
