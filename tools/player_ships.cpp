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

static Palette _PlayerPalette(int32_t band)
{
    const StripeColors &stripe = kStripes[static_cast<size_t>(band)];
    return Palette_Make({
        {'o', 0x12121c}, // outline
        {'d', 0x4a5468}, // hull in shadow
        {'m', 0x8b9bb4}, // hull
        {'l', 0xc8d4e0}, // hull in light
        {'h', 0xffffff}, // highlight
        {'c', 0x2b4ad0}, // canopy
        {'C', 0x8ff0ff}, // canopy glint
        {'a', stripe.light},
        {'A', stripe.dark},
        {'e', 0xf07830}, // exhaust
        {'E', 0xffe070}, // exhaust core
    });
}

Pixmap ShipArt_PlayerShip(int32_t band)
{
    const Palette palette = _PlayerPalette(band);
    switch (band)
    {
    case 0: // dart: a slim fuselage with stub wings
        return Pixmap_FromHalfArt({"...o", "..oh", "..oC", "..oc", ".oal", "oAml", "oodm", "...E"},
                                  palette);
    case 1: // arrow: swept wings reach the sides
        return Pixmap_FromHalfArt({"...o", "..oh", "..oC", ".ooc", "oalm", "oAml", "oodm", "..oE"},
                                  palette);
    case 2: // lancer: wing-tip guns
        return Pixmap_FromHalfArt({"o..o", "o.oh", "a.oC", "aooc", "oalm", "oAml", "oodm", "..oE"},
                                  palette);
    case 3: // hawk: forward prongs and broad wings
        return Pixmap_FromHalfArt({"o.oh", "aooC", "aloc", "omlm", "oalm", "oAml", "oodm", ".oeE"},
                                  palette);
    default: // warden: full-width wings, twin guns and a double exhaust
        return Pixmap_FromHalfArt({"o.oo", "aohh", "aoCC", "olcc", "alml", "aAml", "oddm", ".Ee."},
                                  palette);
    }
}

Pixmap ShipArt_PlayerShipBankedLeft(int32_t band)
{
    // Rolled to the left: the canopy and nose lean toward the turn, the dipping left side falls
    // into shadow and the raised right side catches the light.
    const Palette palette = _PlayerPalette(band);
    switch (band)
    {
    case 0:
        return Pixmap_FromArt(
            {"..oo..", ".olho.", ".ocCo.", ".ocCo.", "oAmhao", "odmhlo", "oddlmo", "..eE.."},
            palette);
    case 1:
        return Pixmap_FromArt(
            {"..oo..", ".olho.", ".ocCo.", "oocCoo", "oAmlao", "odmhlo", "oddlmo", ".oeEo."},
            palette);
    case 2:
        return Pixmap_FromArt(
            {"o.oo.o", "oolhoo", "AocCoa", "AocCoa", "oAmlao", "odmhlo", "oddlmo", ".oeEo."},
            palette);
    case 3:
        return Pixmap_FromArt(
            {"oolhoo", "AocCoa", "AdcCla", "odmlho", "oAmlao", "odmhlo", "oddlmo", "oeeEeo"},
            palette);
    default:
        return Pixmap_FromArt(
            {"o.oo.o", "Aolhoa", "AocCoa", "odcClo", "Admhla", "AdmhAa", "oddlmo", ".ee.E."},
            palette);
    }
}

void ShipArt_DrawPlayerShips(Pixmap &sheet)
{
    for (int32_t band = 0; band < kPlayerShipCount; band++)
    {
        const Pixmap left = ShipArt_PlayerShipBankedLeft(band);
        Pixmap_Copy(sheet, left, 0, 8 * band);
        Pixmap_Copy(sheet, ShipArt_PlayerShip(band), 8, 8 * band);
        Pixmap_Copy(sheet, Pixmap_MirrorX(left), 18, 8 * band);
    }
}
