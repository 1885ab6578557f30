// Any bytes into the call that decodes the game's sounds, ALUT's loader of file images in
// memory. Whatever it accepts must come back as a buffer of the stated size in a format
// OpenAL plays. ALUT is the system's library and not instrumented, so the coverage seen is
// only ours; AddressSanitizer still checks the memory functions it calls.
#include "fuzz/fuzz_prologue.h"

#include <AL/alut.h>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    return alutInitWithoutContext(nullptr, nullptr) == AL_TRUE ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (!Fuzz_Accept(size))
    {
        return 0;
    }
    ALenum format = 0;
    ALsizei bytes = 0;
    ALfloat frequency = 0.0f;
    void *samples = alutLoadMemoryFromFileImage(data, static_cast<ALsizei>(size), &format,
                                                &bytes, &frequency);
    if (samples == nullptr)
    {
        return 0;
    }
    if (bytes < 0 || (format != AL_FORMAT_MONO8 && format != AL_FORMAT_MONO16 &&
                      format != AL_FORMAT_STEREO8 && format != AL_FORMAT_STEREO16))
    {
        abort();
    }
    Fuzz_ReadAll(static_cast<const uint8_t *>(samples), static_cast<size_t>(bytes));
    free(samples);
    return 0;
}
