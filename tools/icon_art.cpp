// icon_art: whole-number enlargements only. The sky keeps one sheet pixel per icon pixel up to
// 64 px so that small icons still show stars, and the ship fills about three quarters of the
// side, never less than twice its drawn size.
#include "tools/icon_art.h"

#include "tools/background_art.h"
#include "tools/ship_art.h"

#include <algorithm>
#include <utility>

static constexpr int32_t kSizes[] = {16, 32, 48, 64, 128, 256};
// A corner of the background sheet with a bright star cluster and little nebula.
static constexpr int32_t kSkyX = 40;
static constexpr int32_t kSkyY = 120;

std::span<const int32_t> IconArt_Sizes(void)
{
    return kSizes;
}

// Clears the pixels outside a quarter circle of the given radius in each corner.
static void _RoundCorners(Pixmap &icon, int32_t radius)
{
    for (int32_t y = 0; y < radius; y++)
    {
        for (int32_t x = 0; x < radius; x++)
        {
            const float dx = static_cast<float>(radius - x) - 0.5f;
            const float dy = static_cast<float>(radius - y) - 0.5f;
            if (dx * dx + dy * dy <= static_cast<float>(radius * radius))
            {
                continue;
            }
            const int32_t right = icon.width - 1 - x, bottom = icon.height - 1 - y;
            for (const auto &[px, py] : {std::pair{x, y}, {right, y}, {x, bottom}, {right, bottom}})
            {
                Pixmap_Set(icon, px, py, Rgba{0, 0, 0, 0});
            }
        }
    }
}

Pixmap IconArt_Draw(int32_t size)
{
    const int32_t skyFactor = std::max(1, size / 64);
    const int32_t skySide = size / skyFactor;
    Pixmap icon = Pixmap_ScaleUp(
        Pixmap_Crop(BackgroundArt_DrawSheet(), kSkyX, kSkyY, skySide, skySide), skyFactor);
    const Pixmap ship = Pixmap_ScaleUp(ShipArt_PlayerShip(0), std::max(2, size * 3 / 32));
    Pixmap_Over(icon, ship, (size - ship.width) / 2, (size - ship.height) / 2);
    _RoundCorners(icon, size / 8);
    return icon;
}
