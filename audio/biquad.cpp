// biquad: the coefficients are normalised by a0 once at design time, so each value costs five
// multiplications and the history shift.
#include "audio/biquad.h"

#include <cmath>
#include <cstdlib>

struct BiQuadFilter
{
    double coefficients[5]; // b0/a0, b1/a0, b2/a0, a1/a0, a2/a0
    double x1;
    double x2;
    double y1;
    double y2;
};

static constexpr double twoPi = 6.283185307179586;
static constexpr double halfLn2 = 0.34657359027997264;

// NOLINTNEXTLINE(readability-function-size): one case per filter type, read as a table.
BiQuadFilter *BiQuad_new(int32_t type, double gain, double frequency, double sampleRate,
                         double bandwidth)
{
    auto *filter = static_cast<BiQuadFilter *>(malloc(sizeof(BiQuadFilter)));
    if (filter == nullptr)
    {
        return nullptr;
    }

    const double A = pow(10.0, gain / 40.0);
    const double omega = twoPi * frequency / sampleRate;
    const double sn = sin(omega);
    const double cs = cos(omega);
    const double alpha = sn * sinh(halfLn2 * bandwidth * omega / sn);
    const double beta = sqrt(A + A);

    double b0, b1, b2, a0, a1, a2;
    switch (type)
    {
    case BIQUAD_LOWPASS:
        b0 = (1.0 - cs) / 2.0;
        b1 = 1.0 - cs;
        b2 = (1.0 - cs) / 2.0;
        a0 = 1.0 + alpha;
        a1 = -2.0 * cs;
        a2 = 1.0 - alpha;
        break;
    case BIQUAD_HIGHPASS:
        b0 = (1.0 + cs) / 2.0;
        b1 = -(1.0 + cs);
        b2 = (1.0 + cs) / 2.0;
        a0 = 1.0 + alpha;
        a1 = -2.0 * cs;
        a2 = 1.0 - alpha;
        break;
    case BIQUAD_BANDPASS:
        b0 = alpha;
        b1 = 0.0;
        b2 = -alpha;
        a0 = 1.0 + alpha;
        a1 = -2.0 * cs;
        a2 = 1.0 - alpha;
        break;
    case BIQUAD_NOTCH:
        b0 = 1.0;
        b1 = -2.0 * cs;
        b2 = 1.0;
        a0 = 1.0 + alpha;
        a1 = -2.0 * cs;
        a2 = 1.0 - alpha;
        break;
    case BIQUAD_PEAKING:
        b0 = 1.0 + alpha * A;
        b1 = -2.0 * cs;
        b2 = 1.0 - alpha * A;
        a0 = 1.0 + alpha / A;
        a1 = -2.0 * cs;
        a2 = 1.0 - alpha / A;
        break;
    case BIQUAD_LOWSHELF:
        b0 = A * ((A + 1.0) - (A - 1.0) * cs + beta * sn);
        b1 = 2.0 * A * ((A - 1.0) - (A + 1.0) * cs);
        b2 = A * ((A + 1.0) - (A - 1.0) * cs - beta * sn);
        a0 = (A + 1.0) + (A - 1.0) * cs + beta * sn;
        a1 = -2.0 * ((A - 1.0) + (A + 1.0) * cs);
        a2 = (A + 1.0) + (A - 1.0) * cs - beta * sn;
        break;
    case BIQUAD_HIGHSHELF:
        b0 = A * ((A + 1.0) + (A - 1.0) * cs + beta * sn);
        b1 = -2.0 * A * ((A - 1.0) + (A + 1.0) * cs);
        b2 = A * ((A + 1.0) + (A - 1.0) * cs - beta * sn);
        a0 = (A + 1.0) - (A - 1.0) * cs + beta * sn;
        a1 = 2.0 * ((A - 1.0) - (A + 1.0) * cs);
        a2 = (A + 1.0) - (A - 1.0) * cs - beta * sn;
        break;
    default:
        free(filter);
        return nullptr;
    }

    const double normalised[5] = {b0 / a0, b1 / a0, b2 / a0, a1 / a0, a2 / a0};
    for (int32_t i = 0; i < 5; i++)
    {
        // A degenerate design (sin ω = 0, a zero sample rate) yields NaN or infinity, which
        // would turn every later output into NaN; refusing it leaves the caller's data alone.
        if (!std::isfinite(normalised[i]))
        {
            free(filter);
            return nullptr;
        }
        filter->coefficients[i] = normalised[i];
    }
    filter->x1 = 0.0;
    filter->x2 = 0.0;
    filter->y1 = 0.0;
    filter->y2 = 0.0;
    return filter;
}

double BiQuad(double sample, BiQuadFilter *filter)
{
    const double *c = filter->coefficients;
    const double y = c[0] * sample + c[1] * filter->x1 + c[2] * filter->x2 - c[3] * filter->y1 -
                     c[4] * filter->y2;
    filter->x2 = filter->x1;
    filter->x1 = sample;
    filter->y2 = filter->y1;
    filter->y1 = y;
    return y;
}
