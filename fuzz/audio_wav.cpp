// Any bytes into the sound decoding: what it accepts is a buffer of the stated size in a format
// OpenAL plays. ALUT is not instrumented: the outcome is fed back as libFuzzer's extra counters.
#include "audio/audio_openal.h"
#include "fuzz/fuzz_prologue.h"

#include <AL/al.h>
#include <algorithm>
#include <bit>
#include <cstdlib>

// 8 size magnitudes for each of the four formats.
__attribute__((used, section("__libfuzzer_extra_counters"))) static uint8_t outcomes[32];

// ALUT decodes only with a current OpenAL context (null output).
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    setenv("ALSOFT_DRIVERS", "null", 0);
    Audio_Initialize(nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    int32_t format = 0, bytes = 0;
    float frequency = 0.0f;
    void *samples = Fuzz_Accept(size) ? Audio_DecodeFile(data, static_cast<int32_t>(size), &format,
                                                         &bytes, &frequency)
                                      : nullptr;
    if (samples == nullptr)
        return 0;
    const ALenum formats[] = {AL_FORMAT_MONO8, AL_FORMAT_MONO16, AL_FORMAT_STEREO8,
                              AL_FORMAT_STEREO16};
    const auto kind = static_cast<size_t>(std::find(formats, formats + 4, format) - formats);
    if (bytes < 0 || kind == 4)
        abort();
    outcomes[8 * kind + std::bit_width(static_cast<uint32_t>(bytes)) / 4]++;
    Fuzz_ReadAll(static_cast<const uint8_t *>(samples), static_cast<size_t>(bytes));
    free(samples);
    return 0;
}
