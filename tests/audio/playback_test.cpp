// Real playback through OpenAL Soft's wave-file writer, read back from the rendered file.
#include "audio/audio.h"
#include "tests/audio/audio_test_support.h"

#include <AL/alc.h>
#include <AL/alext.h>

#include <chrono>
#include <cmath>
#include <thread>

namespace
{
// Waits in the output's own time: a busy machine holds the wave writer back, then it catches up.
void WaitRendered(int64_t milliseconds)
{
    ALCdevice *device = alcGetContextsDevice(alcGetCurrentContext());
    const auto get =
        reinterpret_cast<LPALCGETINTEGER64VSOFT>(alcGetProcAddress(device, "alcGetInteger64vSOFT"));
    ASSERT_TRUE(get != nullptr);
    const auto clock = [&]
    {
        ALCint64SOFT nanoseconds = 0;
        get(device, ALC_DEVICE_CLOCK_SOFT, 1, &nanoseconds);
        return nanoseconds;
    };
    for (const ALCint64SOFT until = clock() + milliseconds * 1000000; clock() < until;)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}
} // namespace

TEST_F(AudioTest, PlaysWholeRestartsOnReplayAndHearsOnlyScalingBeforeTheFirstPlay)
{
    // Read once per process: the output is then each sample times its panning gain, exactly.
    std::ofstream(Path("alsoft.conf"))
        << "[general]\nchannels = stereo\nsample-type = int16\nfrequency = 44100\n"
           "dither = false\noutput-limiter = false\nhrtf = false\n[wave]\nfile = "
        << Path("output.wav") << "\n";
    setenv("ALSOFT_DRIVERS", "wave", 1);
    setenv("ALSOFT_CONF", Path("alsoft.conf").c_str(), 1);
    Sox("noise.wav", mono16, 44100, "0.5 whitenoise vol 0.5");
    Open();
    Sample *plain = Create("noise.wav");
    Sample *early = Create("noise.wav");
    Sample *late = Create("noise.wav");
    const std::vector<int32_t> sound = Values(plain, mono16);

    // The fourth play cuts the third off; late is scaled between its two plays.
    Sample_Volume(early, 0.25f);
    for (const auto &[sample, wait] :
         {std::pair{plain, 700}, {early, 700}, {plain, 150}, {plain, 700}, {late, 700}})
    {
        Sample_Play(sample);
        WaitRendered(wait);
    }
    Sample_Volume(late, 0.25f);
    Sample_Play(late);
    WaitRendered(900);
    Close(); // completes the file
    ASSERT_TRUE(Run("sox -D output.wav -t raw -e signed -b 16 left.raw remix 1"));
    const std::vector<int32_t> out = Values(FileContents(Path("left.raw")), 2);

    // Each stretch of sound: its least-squares gain, and how many values match sound times it.
    std::vector<std::pair<double, size_t>> plays;
    for (size_t at = 0;; at += plays.back().second)
    {
        while (at < out.size() && out[at] == 0)
            at++;
        if (at == out.size())
            break;
        double cross = 0.0, power = 0.0;
        for (size_t k = 0; k < 2000 && at + k < out.size(); k++)
        {
            cross += double(out[at + k]) * sound[k];
            power += double(sound[k]) * sound[k];
        }
        size_t k = 0;
        while (k < sound.size() && at + k < out.size() &&
               std::fabs(out[at + k] - cross / power * sound[k]) <= 2.0)
            k++;
        ASSERT_GT(k, 0u) << "unknown sound at " << at;
        plays.emplace_back(cross / power, k);
    }

    ASSERT_EQ(plays.size(), 6u);
    const double ratios[] = {1.0, 0.25, 1.0, 1.0, 1.0, 1.0};
    for (size_t i = 0; i < plays.size(); i++)
    {
        EXPECT_NEAR(plays[i].first / plays[0].first, ratios[i], 0.01) << "play " << i;
        EXPECT_EQ(plays[i].second == sound.size(), i != 2) << "play " << i;
    }
}
