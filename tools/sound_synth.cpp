// sound_synth: each effect is a function of time rendered into floats, then normalised to its
// peak level and rounded to 16 bits.
#include "tools/sound_synth.h"

#include "tools/prng.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace
{
constexpr float kTwoPi = 6.28318531f;

// Floats interleaved by channel, before normalising.
struct Mix
{
    int32_t sampleRate;
    int32_t channels;
    std::vector<float> samples;
};

// An oscillator that follows a changing frequency without clicks: it accumulates phase.
struct Oscillator
{
    float phase; // 0 to 1
};

// A one-pole filter; the low-pass output, and the input minus it for a high-pass.
struct OnePole
{
    float state;
};
} // namespace

static Mix _MakeMix(int32_t sampleRate, int32_t channels, float seconds)
{
    size_t frames = static_cast<size_t>(std::lround(seconds * static_cast<float>(sampleRate)));
    return Mix{sampleRate, channels, std::vector<float>(frames * channels, 0.0f)};
}

static size_t _Frames(const Mix &mix)
{
    return mix.samples.size() / static_cast<size_t>(mix.channels);
}

static float _Advance(Oscillator &oscillator, float frequency, int32_t sampleRate)
{
    oscillator.phase += frequency / static_cast<float>(sampleRate);
    oscillator.phase -= std::floor(oscillator.phase);
    return oscillator.phase;
}

static float _Square(float phase, float duty)
{
    return phase < duty ? 1.0f : -1.0f;
}

static float _Saw(float phase)
{
    return 2.0f * phase - 1.0f;
}

static float _Triangle(float phase)
{
    return 4.0f * std::fabs(phase - 0.5f) - 1.0f;
}

static float _LowPass(OnePole &filter, float input, float cutoff, int32_t sampleRate)
{
    float a = 1.0f - std::exp(-kTwoPi * cutoff / static_cast<float>(sampleRate));
    filter.state += a * (input - filter.state);
    return filter.state;
}

static float _Noise(Prng &prng)
{
    return Prng_Unit(prng) * 2.0f - 1.0f;
}

// Fast rise over `attack` seconds, then exponential fall with time constant `decay`.
static float _Envelope(float t, float attack, float decay)
{
    float rise = attack > 0.0f ? std::min(1.0f, t / attack) : 1.0f;
    return rise * std::exp(-t / decay);
}

// Scales the mix so that its loudest sample reaches `peak` (1 is full scale), fades out the
// last few milliseconds so that no sound ends in a click, and rounds to 16 bits.
static Sound _Finish(Mix &mix, float peak)
{
    const size_t frames = _Frames(mix);
    const size_t fade = std::min(frames, static_cast<size_t>(mix.sampleRate / 200));
    for (size_t i = 0; i < fade; i++)
    {
        float gain = static_cast<float>(i) / static_cast<float>(fade);
        for (int32_t channel = 0; channel < mix.channels; channel++)
        {
            mix.samples[(frames - 1 - i) * static_cast<size_t>(mix.channels) +
                        static_cast<size_t>(channel)] *= gain;
        }
    }
    float loudest = 0.0f;
    for (float sample : mix.samples)
    {
        loudest = std::max(loudest, std::fabs(sample));
    }
    float gain = loudest > 0.0f ? peak / loudest : 0.0f;
    Sound sound{mix.sampleRate, mix.channels, {}};
    sound.samples.reserve(mix.samples.size());
    for (float sample : mix.samples)
    {
        long value = std::lround(sample * gain * 32767.0f);
        sound.samples.push_back(static_cast<int16_t>(std::clamp(value, -32767L, 32767L)));
    }
    return sound;
}

Sound SoundSynth_EnemyLaser(void)
{
    Mix mix = _MakeMix(22050, 1, 0.28f);
    Oscillator tone{0.0f};
    OnePole hiss{0.0f};
    Prng prng = Prng_Make(0xC4AC4u);
    for (size_t i = 0; i < _Frames(mix); i++)
    {
        float t = static_cast<float>(i) / static_cast<float>(mix.sampleRate);
        float noise = _Noise(prng);
        float crack =
            (noise - _LowPass(hiss, noise, 3000.0f, mix.sampleRate)) * _Envelope(t, 0.0f, 0.004f);
        float frequency = 170.0f + 2600.0f * std::exp(-t / 0.045f);
        float phase = _Advance(tone, frequency, mix.sampleRate);
        float body =
            (0.6f * _Saw(phase) + 0.4f * _Square(phase, 0.5f)) * _Envelope(t, 0.002f, 0.08f);
        mix.samples[i] = 0.8f * crack + body;
    }
    return _Finish(mix, 0.5f);
}

Sound SoundSynth_PlayerLaser(void)
{
    Mix mix = _MakeMix(22050, 1, 0.16f);
    Oscillator base{0.0f}, octave{0.0f};
    for (size_t i = 0; i < _Frames(mix); i++)
    {
        float t = static_cast<float>(i) / static_cast<float>(mix.sampleRate);
        float frequency = 900.0f + 1800.0f * std::exp(-t / 0.03f);
        float low = _Square(_Advance(base, frequency, mix.sampleRate), 0.25f);
        float high = _Square(_Advance(octave, 2.0f * frequency, mix.sampleRate), 0.5f);
        mix.samples[i] = (low + 0.3f * high) * _Envelope(t, 0.001f, 0.05f);
    }
    return _Finish(mix, 0.33f);
}

Sound SoundSynth_EnemyKilled(void)
{
    // A descending run of notes, the last one held with a wobble (MIDI note numbers).
    static constexpr std::array<int32_t, 6> kNotes = {88, 84, 79, 76, 72, 67};
    const float noteLength = 0.045f, lastLength = 0.16f;
    Mix mix = _MakeMix(44100, 2, noteLength * (kNotes.size() - 1) + lastLength + 0.02f);
    Oscillator tone{0.0f};
    OnePole crunch[2] = {{0.0f}, {0.0f}};
    Prng prng = Prng_Make(0xB1A57u);
    for (size_t i = 0; i < _Frames(mix); i++)
    {
        float t = static_cast<float>(i) / static_cast<float>(mix.sampleRate);
        size_t note = std::min(static_cast<size_t>(t / noteLength), kNotes.size() - 1);
        float start = static_cast<float>(note) * noteLength;
        float local = t - start;
        float frequency = 440.0f * std::pow(2.0f, static_cast<float>(kNotes[note] - 69) / 12.0f);
        bool last = note == kNotes.size() - 1;
        if (last)
        {
            frequency *= 1.0f + 0.02f * std::sin(kTwoPi * 18.0f * local);
        }
        // Notes held nearly full, so that the jingle stays dense at the low level it is played.
        float gate = last ? _Envelope(local, 0.002f, 0.4f) : _Envelope(local, 0.002f, 0.5f);
        float voice = _Square(_Advance(tone, frequency, mix.sampleRate), 0.5f) * gate;
        // Alternate notes lean left and right.
        int32_t louder = note % 2 == 0 ? 0 : 1;
        for (int32_t channel = 0; channel < 2; channel++)
        {
            float noise = _LowPass(crunch[channel], _Noise(prng), 2500.0f, mix.sampleRate);
            float burst = 0.4f * noise * _Envelope(t, 0.0f, 0.03f);
            float side = channel == louder ? 1.0f : 0.85f;
            mix.samples[i * 2 + static_cast<size_t>(channel)] = voice * side + burst;
        }
    }
    return _Finish(mix, 1.0f);
}

Sound SoundSynth_PlayerHit(void)
{
    Mix mix = _MakeMix(22050, 2, 0.9f);
    Oscillator tone{0.0f};
    OnePole rumble[2] = {{0.0f}, {0.0f}};
    Prng prng = Prng_Make(0xD0D0u);
    for (size_t i = 0; i < _Frames(mix); i++)
    {
        float t = static_cast<float>(i) / static_cast<float>(mix.sampleRate);
        // A steady fall over the whole sound, slowing toward the bottom.
        float remaining = 1.0f - t / 0.9f;
        float frequency = 55.0f + 850.0f * remaining * remaining;
        float phase = _Advance(tone, frequency, mix.sampleRate);
        float fall =
            (0.7f * _Triangle(phase) + 0.3f * _Square(phase, 0.5f)) * _Envelope(t, 0.003f, 0.35f);
        for (int32_t channel = 0; channel < 2; channel++)
        {
            float noise = _LowPass(rumble[channel], _Noise(prng), 1800.0f, mix.sampleRate);
            float burst = noise * _Envelope(t, 0.001f, 0.12f) * 2.5f;
            mix.samples[i * 2 + static_cast<size_t>(channel)] = 0.8f * fall + burst;
        }
    }
    return _Finish(mix, 0.85f);
}
