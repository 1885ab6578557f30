// sheet_layout: where each picture lies on the four sprite sheets, in pixels (x to the right, y
// down, corners from (x0, y0) up to but not including (x1, y1)). The asset builder draws at these
// rectangles and the catalogue cuts them, so a picture that moves is moved here alone. Constants
// only: nothing to link.
#pragma once

#include <cstdint>

struct SheetRect
{
    int32_t x0, y0, x1, y1;
};

constexpr int32_t LAYOUT_PLAYER_COUNT = 5;
constexpr int32_t LAYOUT_ENEMY_COUNT = 36, LAYOUT_ENEMY_COLUMNS = 6;
constexpr int32_t LAYOUT_BOSS_COUNT = 6, LAYOUT_BOSS_COLUMNS = 3;
constexpr int32_t LAYOUT_BULLET_COUNT = 30, LAYOUT_BULLET_COLUMNS = 6;

// The ships sheet (80 x 80): player band i straight, banked left and banked right.
constexpr SheetRect SheetLayout_Player(int32_t i)
{
    return {8, 8 * i, 16, 8 * i + 8};
}
constexpr SheetRect SheetLayout_PlayerLeft(int32_t i)
{
    return {0, 8 * i, 6, 8 * i + 8};
}
constexpr SheetRect SheetLayout_PlayerRight(int32_t i)
{
    return {18, 8 * i, 24, 8 * i + 8};
}
constexpr SheetRect SheetLayout_Enemy(int32_t i)
{
    const int32_t x = 32 + 8 * (i % LAYOUT_ENEMY_COLUMNS), y = 8 * (i / LAYOUT_ENEMY_COLUMNS);
    return {x, y, x + 8, y + 8};
}
constexpr SheetRect SheetLayout_Boss(int32_t i)
{
    const int32_t x = 32 + 16 * (i % LAYOUT_BOSS_COLUMNS), y = 48 + 16 * (i / LAYOUT_BOSS_COLUMNS);
    return {x, y, x + 16, y + 16};
}

// The projectiles sheet (48 x 40): bullet i, drawn pointing up.
constexpr SheetRect SheetLayout_Bullet(int32_t i)
{
    const int32_t x = 8 * (i % LAYOUT_BULLET_COLUMNS), y = 8 * (i / LAYOUT_BULLET_COLUMNS);
    return {x, y, x + 8, y + 8};
}

// The miscellaneous sheet (104 x 56). Explosions big, medium and small; the player's small one
// is the 6 middle columns of its frame.
constexpr SheetRect LAYOUT_LIFE_ICON = {16, 0, 24, 8};
constexpr SheetRect LAYOUT_SHIELD_ICON = {24, 0, 32, 8};
constexpr SheetRect LAYOUT_SHIELD = {88, 32, 104, 48};
constexpr SheetRect LAYOUT_ENEMY_EXPLOSION[3] = {
    {48, 48, 56, 56}, {56, 48, 64, 56}, {64, 48, 72, 56}};
constexpr SheetRect LAYOUT_PLAYER_EXPLOSION[3] = {
    {80, 48, 88, 56}, {88, 48, 96, 56}, {97, 48, 103, 56}};

// The background sheet: the whole of it.
constexpr SheetRect LAYOUT_BACKGROUND = {0, 0, 128, 256};
