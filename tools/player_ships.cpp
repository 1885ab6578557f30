// player_ships: the player's five ships, one per band of five levels. They are one family:
// the same silver hull, blue canopy and twin exhaust, growing wings and guns from band to
// band, each band with its own stripe colour. The banked frames show the same ship rolled
// into a turn: narrower, the lower wing in shadow and the raised one catching the light.
#include "tools/ship_art.h"

#include <array>

struct StripeColors
{
    uint32_t light;
    uint32_t dark;
};

// Band stripe colours: blue, green, gold, red, violet.
static constexpr std::array<StripeColors, kPlayerShipCount> kStripes = {{
    {0x41a6f6, 0x2a5ca8},
    {0x5ad05a, 0x257a3c},
    {0xffcd4a, 0xb0701c},
    {0xf0504a, 0x9a2038},
    {0xc070ff, 0x6a2cb0},
}};

// Band by band, the straight ship as its left half (mirrored onto the right), then the same
// ship rolled to the left: the canopy and nose lean toward the turn, the dipping left side falls
// into shadow and the raised right side catches the light. The right turn is its mirror image.
// clang-format off
constexpr std::array<std::array<const char *, 8>, kPlayerShipCount> kStraightHalves = {{
    // dart: a slim fuselage with stub wings
    {"...o", "..oh", "..oC", "..oc", ".oal", "oAml", "oodm", "...E"},
    // arrow: swept wings reach the sides
    {"...o", "..oh", "..oC", ".ooc", "oalm", "oAml", "oodm", "..oE"},
    // lancer: wing-tip guns
    {"o..o", "o.oh", "a.oC", "aooc", "oalm", "oAml", "oodm", "..oE"},
    // hawk: forward prongs and broad wings
    {"o.oh", "aooC", "aloc", "omlm", "oalm", "oAml", "oodm", ".oeE"},
    // warden: full-width wings, twin guns and a double exhaust
    {"o.oo", "aohh", "aoCC", "olcc", "alml", "aAml", "oddm", ".Ee."},
}};

constexpr std::array<std::array<const char *, 8>, kPlayerShipCount> kBankedLeft = {{
    {"..oo..", ".olho.", ".ocCo.", ".ocCo.", "oAmhao", "odmhlo", "oddlmo", "..eE.."},
    {"..oo..", ".olho.", ".ocCo.", "oocCoo", "oAmlao", "odmhlo", "oddlmo", ".oeEo."},
    {"o.oo.o", "oolhoo", "AocCoa", "AocCoa", "oAmlao", "odmhlo", "oddlmo", ".oeEo."},
    {"oolhoo", "AocCoa", "AdcCla", "odmlho", "oAmlao", "odmhlo", "oddlmo", "oeeEeo"},
    {"o.oo.o", "Aolhoa", "AocCoa", "odcClo", "Admhla", "AdmhAa", "oddlmo", ".ee.E."},
}};
// clang-format on

static Palette _PlayerPalette(int32_t band)
{
    const StripeColors &stripe = kStripes[static_cast<size_t>(band)];
    return Palette_Make({
        // outline
        {'o', 0x12121c},
        // hull in shadow
        {'d', 0x4a5468},
        // hull
        {'m', 0x8b9bb4},
        // hull in light
        {'l', 0xc8d4e0},
        // highlight
        {'h', 0xffffff},
        // canopy
        {'c', 0x2b4ad0},
        // canopy glint
        {'C', 0x8ff0ff},
        {'a', stripe.light},
        {'A', stripe.dark},
        // exhaust
        {'e', 0xf07830},
        // exhaust core
        {'E', 0xffe070},
    });
}

Pixmap ShipArt_PlayerShip(int32_t band)
{
    return Pixmap_FromHalfArt(kStraightHalves[static_cast<size_t>(band)], _PlayerPalette(band));
}

Pixmap ShipArt_PlayerShipBankedLeft(int32_t band)
{
    return Pixmap_FromArt(kBankedLeft[static_cast<size_t>(band)], _PlayerPalette(band));
}

void ShipArt_DrawPlayerShips(Pixmap &sheet)
{
    for (int32_t band = 0; band < kPlayerShipCount; band++)
    {
        const Pixmap left = ShipArt_PlayerShipBankedLeft(band);
        Pixmap_Copy(sheet, left, SheetLayout_PlayerLeft(band).x0, SheetLayout_PlayerLeft(band).y0);
        Pixmap_Copy(sheet, ShipArt_PlayerShip(band), SheetLayout_Player(band).x0,
                    SheetLayout_Player(band).y0);
        Pixmap_Copy(sheet, Pixmap_MirrorX(left), SheetLayout_PlayerRight(band).x0,
                    SheetLayout_PlayerRight(band).y0);
    }
}
