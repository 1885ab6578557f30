// asset_bundle: names, encodings and arrangement of the builder's outputs.
#include "tools/asset_bundle.h"

#include "tools/background_art.h"
#include "tools/glyph_art.h"
#include "tools/logo_art.h"
#include "tools/misc_art.h"
#include "tools/play_mock.h"
#include "tools/projectile_art.h"
#include "tools/ship_art.h"
#include "tools/sound_synth.h"
#include "tools/tga_writer.h"
#include "tools/wav_writer.h"

std::vector<ArchiveEntry> AssetBundle_ArchiveEntries(void)
{
    // The background is noise to a run-length coder; the sprite sheets are mostly empty and
    // shrink well. One of each keeps both of the game's decoder paths in use.
    return {
        {"SpaceShooterAssetPack_BackGrounds.tga",
         TgaWriter_Encode(BackgroundArt_DrawSheet(), false)},
        {"SpaceShooterAssetPack_Miscellaneous.tga", TgaWriter_Encode(MiscArt_DrawSheet(), true)},
        {"SpaceShooterAssetPack_Projectiles.tga",
         TgaWriter_Encode(ProjectileArt_DrawSheet(), true)},
        {"SpaceShooterAssetPack_Ships.tga", TgaWriter_Encode(ShipArt_DrawSheet(), true)},
        {"mixkit-game-whip-shot-1512.wav", WavWriter_Encode(SoundSynth_EnemyLaser())},
        {"mixkit-short-laser-gun-shot-1670.wav", WavWriter_Encode(SoundSynth_PlayerLaser())},
        {"mixkit-arcade-fast-game-over-233.wav", WavWriter_Encode(SoundSynth_EnemyKilled())},
        {"mixkit-falling-hit-757.wav", WavWriter_Encode(SoundSynth_PlayerHit())},
    };
}

static void _PutLittle32(std::vector<uint8_t> &out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
    {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

std::vector<uint8_t> AssetBundle_Blob(const Pixmap &pixmap, int32_t bytesPerPixel)
{
    std::vector<uint8_t> blob;
    blob.reserve(12 + pixmap.pixels.size());
    _PutLittle32(blob, static_cast<uint32_t>(pixmap.width));
    _PutLittle32(blob, static_cast<uint32_t>(pixmap.height));
    _PutLittle32(blob, static_cast<uint32_t>(bytesPerPixel));
    for (size_t i = 0; i < pixmap.pixels.size(); i += 4)
    {
        blob.insert(blob.end(), pixmap.pixels.begin() + static_cast<ptrdiff_t>(i),
                    pixmap.pixels.begin() + static_cast<ptrdiff_t>(i) + bytesPerPixel);
    }
    return blob;
}

std::vector<ArchiveEntry> AssetBundle_Blobs(void)
{
    return {
        {"FontC64Uppercase.bin", AssetBundle_Blob(GlyphArt_DrawSheet(false), 3)},
        {"FontC64Lowercase.bin", AssetBundle_Blob(GlyphArt_DrawSheet(true), 3)},
        {"BrindleLogo.bin", AssetBundle_Blob(LogoArt_Draw(), 4)},
    };
}

// A sheet enlarged over a checkerboard, so that transparent parts and partial alpha show.
static void _PlaceOnChecker(Pixmap &canvas, const Pixmap &sheet, int32_t factor, int32_t x,
                            int32_t y)
{
    Pixmap large = Pixmap_ScaleUp(sheet, factor);
    const Rgba light = Rgba_Hex(0x30303c), dark = Rgba_Hex(0x24242e);
    for (int32_t row = 0; row < large.height; row++)
    {
        for (int32_t column = 0; column < large.width; column++)
        {
            bool odd = ((column / (2 * factor)) + (row / (2 * factor))) % 2 != 0;
            Pixmap_Set(canvas, x + column, y + row, odd ? light : dark);
        }
    }
    Pixmap_Over(canvas, large, x, y);
}

Pixmap AssetBundle_ContactSheet(void)
{
    const int32_t gap = 16;
    Pixmap canvas = Pixmap_Make(1360, 1056 + 768 + 16);
    Pixmap_FillRect(canvas, 0, 0, canvas.width, canvas.height, Rgba_Hex(0x101018));
    // Left column: the background, 512 x 1024.
    _PlaceOnChecker(canvas, BackgroundArt_DrawSheet(), 4, gap, gap);
    // Middle: ships 320 x 320, projectiles 192 x 160, miscellaneous 416 x 224.
    const int32_t middle = 512 + 2 * gap;
    _PlaceOnChecker(canvas, ShipArt_DrawSheet(), 4, middle, gap);
    _PlaceOnChecker(canvas, ProjectileArt_DrawSheet(), 4, middle + 320 + gap, gap);
    _PlaceOnChecker(canvas, MiscArt_DrawSheet(), 4, middle, 320 + 2 * gap);
    // Below: the glyph sheets at twice their size, then the logo at a quarter.
    const int32_t lower = 320 + 224 + 3 * gap;
    _PlaceOnChecker(canvas, GlyphArt_DrawSheet(false), 2, middle, lower);
    _PlaceOnChecker(canvas, GlyphArt_DrawSheet(true), 2, middle + 256 + gap, lower);
    _PlaceOnChecker(canvas, Pixmap_ScaleDown(LogoArt_Draw(), 4), 1, middle + 2 * (256 + gap),
                    lower);
    // At the bottom, a still of the play screen at its real size.
    Pixmap_Copy(canvas, PlayMock_Draw(), gap, 1024 + 2 * gap);
    return canvas;
}
