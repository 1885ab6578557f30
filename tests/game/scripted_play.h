// Scripted play shared by the game tests and the game benchmark: a player at the keyboard who
// steers under the nearest intact ship and fires, and a way to take the enemies' bullets away.
#pragma once

#include <cstdint>

struct World;
struct Window;
struct Level;

class ScriptedPlayer
{
  public:
    ScriptedPlayer(World *playWorld, Window *playWindow) : world(playWorld), window(playWindow) {}
    // One frame's input: hold Left or Right towards the nearest intact ship, and when under it
    // with no bullet in flight (and fire allowed) press and release Space.
    void Act(bool fire);

  private:
    World *world;
    Window *window;
    int32_t held = 0;
};

void RemoveEnemyBullets(Level *level);
