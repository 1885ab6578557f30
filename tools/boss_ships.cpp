// boss_ships: six bosses, 16 x 16, drawn by hand as the left half and mirrored. Every boss
// points down at the player, shows glowing eyes or a burning core, and carries the guns of
// its three-bullet fan; each has its own silhouette and a dark, saturated palette.
#include "tools/ship_art.h"

#include <array>

namespace
{
struct BossPalette
{
    uint32_t outline, dark, mid, light, highlight, eye, eyeCore, accent, accentDark;
};

constexpr std::array<BossPalette, kBossShipCount> kBossPalettes = {{
    {0x1a0608, 0x5a0e1a, 0x9a1a28, 0xd8403a, 0xffb090, 0xffe040, 0xffffff, 0xf08a20, 0x8a3a0a},
    {0x061a08, 0x184a1c, 0x2e7a2a, 0x62b83a, 0xd8ff90, 0xff2a5a, 0xffd0e0, 0xd0ff30, 0x6a8a10},
    {0x10061c, 0x2e1458, 0x50289a, 0x8a58e0, 0xe0c8ff, 0x40fff0, 0xffffff, 0xff50b0, 0x8a1a6a},
    {0x140c06, 0x4a3a30, 0x7a6a5a, 0xb0a08a, 0xf0e8d8, 0xff6a10, 0xfff0a0, 0xe04a1a, 0x7a1a0a},
    {0x080808, 0x262030, 0x40384c, 0x6a6078, 0xc8c0d0, 0xff1a1a, 0xffc0a0, 0xd8a830, 0x7a5a10},
    {0x04141a, 0x0c3a4a, 0x14687a, 0x2aa8b0, 0xb0fff0, 0xfff060, 0xffffff, 0x40d0ff, 0x1a5aa0},
}};

// Each boss's left half, top row first (the right half is its mirror image).
// clang-format off
constexpr std::array<std::array<const char *, 16>, kBossShipCount> kBossHalves = {{
    // warlord: an armoured crab, claws closing below
    {".....ooo",
     "....oddm",
     "...odmml",
     "..odmlhl",
     ".odmmlll",
     "oadmeEml",
     "oAdmmmml",
     "oAddmmmm",
     ".oAddmmd",
     "oaoAdddo",
     "oaooAdo.",
     "oaAo.oo.",
     ".oaAo...",
     ".oaAo...",
     "..oao...",
     "...o...."},
    // hive queen: a wasp with mandibles and a sting
    {"oo......",
     "oAo....o",
     ".oAo..od",
     "..oooodm",
     "..odmmml",
     ".odmmlhl",
     "odmmeEel",
     "odmmmeel",
     ".odmmmml",
     "..oaAaAm",
     "..oAaAao",
     "...oaAao",
     "....oAo.",
     "...oado.",
     "...ooAo.",
     "......oo"},
    // eclipse: a ringed saucer with a gun under each wing
    {"........",
     ".....ooo",
     "...oodml",
     "..odmlhh",
     ".oammlll",
     "oaAdmmlm",
     "oAoodmme",
     "oooddmeE",
     "oaAdoomm",
     ".oaAddoo",
     "..oodddd",
     "..oo.ooo",
     "..oo....",
     "..oa....",
     "..oo....",
     "........"},
    // forge: a blocky battleship with three barrels
    {"ooooooo.",
     "odmmmlo.",
     "odmmlhoo",
     "odmmllll",
     "oAadmmml",
     "oaAdmmee",
     "oAadmmeE",
     "oddddmml",
     "oAdoodmm",
     "oao.odmd",
     "oao.oddo",
     "oAo..oAo",
     "oao..oao",
     ".o...oao",
     ".....oao",
     "......oo"},
    // reaper: a horned skull between two scythe blades
    {"oo......",
     "oao.....",
     ".oao.ooo",
     ".oaAodmm",
     "..oAdmlh",
     ".ooodmll",
     "oaAoddoo",
     "oaAodoeE",
     "oaAoddoo",
     "oAo.oddm",
     "oAo.oddd",
     "oAo..odo",
     ".oAo.oam",
     "..oAooao",
     "...oo.oo",
     "........"},
    // leviathan: a manta with a glowing throat and long horns
    {"........",
     "o......o",
     "ao....od",
     "aAo..odm",
     ".aAoodml",
     ".oaAdmlh",
     "oaAddmll",
     "oAddmmlm",
     "odddmmee",
     ".oddmmeE",
     "..oddmme",
     "...oddmm",
     "....oodd",
     "....oaAo",
     ".....oao",
     "......oo"},
}};
// clang-format on
} // namespace

static Palette _BossPalette(int32_t index)
{
    const BossPalette &c = kBossPalettes[static_cast<size_t>(index)];
    return Palette_Make({{'o', c.outline},
                         {'d', c.dark},
                         {'m', c.mid},
                         {'l', c.light},
                         {'h', c.highlight},
                         {'e', c.eye},
                         {'E', c.eyeCore},
                         {'a', c.accent},
                         {'A', c.accentDark}});
}

static Pixmap _DrawBoss(int32_t index)
{
    return Pixmap_FromHalfArt(kBossHalves[static_cast<size_t>(index)], _BossPalette(index));
}

void ShipArt_DrawBossShips(Pixmap &sheet)
{
    for (int32_t index = 0; index < kBossShipCount; index++)
    {
        Pixmap_Copy(sheet, _DrawBoss(index), SheetLayout_Boss(index).x0,
                    SheetLayout_Boss(index).y0);
    }
}
