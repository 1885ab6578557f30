// background_art: periodic value noise for the nebula, seeded stars drawn with wrap-around.
#include "tools/background_art.h"

#include "tools/prng.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace
{
constexpr int32_t kWidth = 128;
constexpr int32_t kHeight = 256;

// A lattice of random values that repeats every `columns` x `rows` cells.
struct NoiseLattice
{
    int32_t columns;
    int32_t rows;
    std::vector<float> values;
};

// 4 x 4 ordered dither thresholds; the tile divides the sheet, so the pattern stays seamless.
constexpr std::array<std::array<float, 4>, 4> kBayer = {{
    {0.0f / 16, 8.0f / 16, 2.0f / 16, 10.0f / 16},
    {12.0f / 16, 4.0f / 16, 14.0f / 16, 6.0f / 16},
    {3.0f / 16, 11.0f / 16, 1.0f / 16, 9.0f / 16},
    {15.0f / 16, 7.0f / 16, 13.0f / 16, 5.0f / 16},
}};
} // namespace

static NoiseLattice _MakeLattice(int32_t columns, int32_t rows, Prng &prng)
{
    NoiseLattice lattice{columns, rows, {}};
    for (int32_t i = 0; i < columns * rows; i++)
    {
        lattice.values.push_back(Prng_Unit(prng));
    }
    return lattice;
}

static float _LatticeAt(const NoiseLattice &lattice, int32_t column, int32_t row)
{
    column = ((column % lattice.columns) + lattice.columns) % lattice.columns;
    row = ((row % lattice.rows) + lattice.rows) % lattice.rows;
    return lattice.values[static_cast<size_t>(row) * static_cast<size_t>(lattice.columns) +
                          static_cast<size_t>(column)];
}

// Smoothly interpolated lattice value at a pixel; u and v run over the whole sheet as 0 to 1.
static float _SampleLattice(const NoiseLattice &lattice, float u, float v)
{
    float fx = u * static_cast<float>(lattice.columns), fy = v * static_cast<float>(lattice.rows);
    int32_t cx = static_cast<int32_t>(std::floor(fx)), cy = static_cast<int32_t>(std::floor(fy));
    float tx = fx - static_cast<float>(cx), ty = fy - static_cast<float>(cy);
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    float top = _LatticeAt(lattice, cx, cy) +
                (_LatticeAt(lattice, cx + 1, cy) - _LatticeAt(lattice, cx, cy)) * tx;
    float bottom = _LatticeAt(lattice, cx, cy + 1) +
                   (_LatticeAt(lattice, cx + 1, cy + 1) - _LatticeAt(lattice, cx, cy + 1)) * tx;
    return top + (bottom - top) * ty;
}

// Four octaves whose lattices divide the sheet, so the sum repeats exactly at its edges.
static std::vector<float> _FractalNoise(uint64_t seed)
{
    Prng prng = Prng_Make(seed);
    std::vector<NoiseLattice> octaves;
    for (int32_t scale = 2; scale <= 16; scale *= 2)
    {
        octaves.push_back(_MakeLattice(scale, scale * 2, prng));
    }
    std::vector<float> field(static_cast<size_t>(kWidth * kHeight));
    for (int32_t y = 0; y < kHeight; y++)
    {
        for (int32_t x = 0; x < kWidth; x++)
        {
            float sum = 0.0f, weight = 0.5f, total = 0.0f;
            for (const NoiseLattice &octave : octaves)
            {
                sum += weight * _SampleLattice(octave, (static_cast<float>(x) + 0.5f) / kWidth,
                                               (static_cast<float>(y) + 0.5f) / kHeight);
                total += weight;
                weight *= 0.5f;
            }
            field[static_cast<size_t>(y) * kWidth + static_cast<size_t>(x)] = sum / total;
        }
    }
    return field;
}

static void _DrawNebula(Pixmap &sheet)
{
    const std::vector<float> density = _FractalNoise(0x0E8u);
    const std::vector<float> tint = _FractalNoise(0x7147u);
    const Rgba space = Rgba_Hex(0x05060e);
    const Rgba violet = Rgba_Hex(0x3c1c5c), teal = Rgba_Hex(0x103e58);
    for (int32_t y = 0; y < kHeight; y++)
    {
        for (int32_t x = 0; x < kWidth; x++)
        {
            size_t i = static_cast<size_t>(y) * kWidth + static_cast<size_t>(x);
            // Only the denser clouds show, in four dithered steps of brightness.
            float glow = std::clamp((density[i] - 0.42f) / 0.3f, 0.0f, 1.0f);
            float level = std::floor(glow * 4.0f + kBayer[y % 4][x % 4]) / 4.0f;
            Rgba cloud = Rgba_Mix(violet, teal, std::clamp((tint[i] - 0.3f) / 0.4f, 0.0f, 1.0f));
            Pixmap_Set(sheet, x, y, Rgba_Mix(space, cloud, 0.55f * level));
        }
    }
}

static void _PutStar(Pixmap &sheet, int32_t x, int32_t y, Rgba color)
{
    // Wrap around both edges so the sheet stays seamless.
    x = ((x % kWidth) + kWidth) % kWidth;
    y = ((y % kHeight) + kHeight) % kHeight;
    Pixmap_Add(sheet, x, y, color);
}

static void _DrawStars(Pixmap &sheet)
{
    static constexpr std::array<uint32_t, 4> kTints = {0xffffff, 0xc8d8ff, 0xfff0c8, 0xffc8b8};
    Prng prng = Prng_Make(0x57A125u);
    for (int32_t star = 0; star < 190; star++)
    {
        int32_t x = Prng_Range(prng, 0, kWidth - 1), y = Prng_Range(prng, 0, kHeight - 1);
        Rgba tint = Rgba_Hex(kTints[static_cast<size_t>(Prng_Range(prng, 0, 3))]);
        float kind = Prng_Unit(prng);
        if (kind < 0.72f) // distant: one dim pixel
        {
            _PutStar(sheet, x, y, Rgba_Scale(tint, 0.25f + 0.3f * Prng_Unit(prng)));
        }
        else if (kind < 0.93f) // near: one bright pixel
        {
            _PutStar(sheet, x, y, Rgba_Scale(tint, 0.7f + 0.3f * Prng_Unit(prng)));
        }
        else // bright: a small cross
        {
            _PutStar(sheet, x, y, tint);
            Rgba arm = Rgba_Scale(tint, 0.35f);
            _PutStar(sheet, x - 1, y, arm);
            _PutStar(sheet, x + 1, y, arm);
            _PutStar(sheet, x, y - 1, arm);
            _PutStar(sheet, x, y + 1, arm);
        }
    }
}

Pixmap BackgroundArt_DrawSheet(void)
{
    Pixmap sheet = Pixmap_Make(kWidth, kHeight);
    _DrawNebula(sheet);
    _DrawStars(sheet);
    return sheet;
}
