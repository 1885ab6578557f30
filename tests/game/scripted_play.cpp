// Keys go straight to the player's keyboard handler, as the controller would hand them over.
#include "tests/game/scripted_play.h"

#include "foundation/list.h"
#include "game/bullet.h"
#include "game/level.h"
#include "game/player.h"
#include "game/spaceship.h"
#include "game/sprite.h"
#include "game/world.h"
#include "input/controller_win.h"

#include <cmath>

static constexpr int32_t KEY_SPACE = 32, KEY_RIGHT = 262, KEY_LEFT = 263;

void ScriptedPlayer::Act(bool fire)
{
    Player *player = World_GetPlayer(world);
    auto send = [&](int32_t key, int32_t action) {
        Player_HandleKeyboardEvent(player, window, KeyboardEvent{key, 0, action, 0});
    };
    const float x = Sprite_GetPosition(Player_GetSprite(player)).x;
    bool found = false;
    float dx = 0.0f;
    List *ships = Level_GetSpaceShips(World_GetLevel(world));
    for (void *s = List_GetFirst(ships); s != nullptr; s = List_GetNext(ships))
    {
        SpaceShip *ship = static_cast<SpaceShip *>(s);
        const float d = Sprite_GetPosition(SpaceShip_GetSprite(ship)).x - x;
        if (SpaceShip_GetHealthPoint(ship) > 0 && (!found || std::fabs(d) < std::fabs(dx)))
        {
            found = true;
            dx = d;
        }
    }
    const int32_t key = dx > 0.04f ? KEY_RIGHT : dx < -0.04f ? KEY_LEFT : 0;
    if (key != held)
    {
        if (held != 0)
            send(held, 0); // released before the new one is pressed
        if (key != 0)
            send(key, 1);
        held = key;
    }
    if (fire && found && std::fabs(dx) < 0.1f && Player_GetBullet(player) == nullptr)
        send(KEY_SPACE, 1), send(KEY_SPACE, 0);
}

void RemoveEnemyBullets(Level *level)
{
    List *ships = Level_GetSpaceShips(level);
    for (void *ship = List_GetFirst(ships); ship != nullptr; ship = List_GetNext(ships))
    {
        List *bullets = SpaceShip_GetBulletList(static_cast<SpaceShip *>(ship));
        while (void *bullet = List_GetFirst(bullets))
            SpaceShip_RemoveBullet(static_cast<SpaceShip *>(ship), static_cast<Bullet *>(bullet));
    }
}
