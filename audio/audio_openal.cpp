// audio_openal: ALUT is started without a context of its own, so that the device named by the
// caller is the only one opened and the decoder works through its context. While no context
// is open every Sample operation skips OpenAL altogether, which keeps a machine without sound
// quiet in the log and safe from calls on a missing context.
#include "audio/audio_openal.h"

#include "foundation/allocator.h"
#include "foundation/logging.h"
#include "foundation/mystring.h"
#include "resources/resource_win.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alut.h>

#include <cstdlib>
#include <cstring>

struct Audio
{
    ALCdevice *device;
    ALCcontext *context;
};

struct Sample
{
    char *name;
    int32_t format;
    int32_t frequency;
    int32_t size;
    int8_t looping;
    void *data;
    uint32_t buffer;
    uint32_t source;
};

static Audio audio;

static bool _IsOpen(void)
{
    return audio.context != nullptr;
}

// Logs the pending OpenAL error, if any; the caller carries on either way.
static void _CheckError(void)
{
    const ALenum error = alGetError();
    if (error != AL_NO_ERROR)
    {
        const ALchar *text = alGetString(error);
        LOG_ERROR("Audio error: %s", text != nullptr ? text : "unknown error");
    }
}

static void _LogAlutError(void)
{
    LOG_ERROR("Audio error: %s", alutGetErrorString(alutGetError()));
}

static const char *_FormatLabel(int32_t format)
{
    switch (format)
    {
    case AL_FORMAT_MONO8:
        return "Mono 8bit";
    case AL_FORMAT_MONO16:
        return "Mono 16bit";
    case AL_FORMAT_STEREO8:
        return "Stereo 8bit";
    case AL_FORMAT_STEREO16:
        return "Stereo 16bit";
    default:
        return "Unknown";
    }
}

// The decoder reports the rate as a float; a rate no int32 can hold is no rate at all.
static int32_t _TruncateFrequency(float frequency)
{
    if (!(frequency >= 0.0f && frequency < 2147483648.0f))
    {
        return 0;
    }
    return static_cast<int32_t>(frequency);
}

void Audio_Initialize(const char *deviceName)
{
    if (alutInitWithoutContext(nullptr, nullptr) == AL_FALSE)
    {
        _LogAlutError();
    }
    audio.device = alcOpenDevice(deviceName);
    if (audio.device != nullptr)
    {
        audio.context = alcCreateContext(audio.device, nullptr);
    }
    if (audio.context != nullptr && alcMakeContextCurrent(audio.context) == ALC_TRUE)
    {
        return;
    }
    LOG_ERROR("Failed to initialize audio device %s.",
              deviceName != nullptr ? deviceName : "(default)");
    if (audio.context != nullptr)
    {
        alcDestroyContext(audio.context);
        audio.context = nullptr;
    }
    if (audio.device != nullptr)
    {
        alcCloseDevice(audio.device);
        audio.device = nullptr;
    }
}

void Audio_Deinitialize(void)
{
    if (_IsOpen())
    {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(audio.context);
        alcCloseDevice(audio.device);
        audio.context = nullptr;
        audio.device = nullptr;
    }
    // Fails only when the start-up did, which has been logged already.
    alutExit();
}

void Audio_SetVolume(float volume)
{
    (void)volume;
}

float Audio_GetVolume(void)
{
    return 1.0f;
}

static void _SetUpSource(Sample *sample)
{
    alGenSources(1, &sample->source);
    _CheckError();
    alSourcef(sample->source, AL_PITCH, 1.0f);
    _CheckError();
    alSourcef(sample->source, AL_GAIN, 1.0f);
    _CheckError();
    alSource3f(sample->source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    _CheckError();
    alSource3f(sample->source, AL_VELOCITY, 0.0f, 0.0f, 0.0f);
    _CheckError();
    alSourcei(sample->source, AL_LOOPING, AL_FALSE);
    _CheckError();
}

static uint32_t _Read32(const uint8_t *bytes, bool bigEndian)
{
    return bigEndian ? (uint32_t{bytes[0]} << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3]
                     : (uint32_t{bytes[3]} << 24) | (bytes[2] << 16) | (bytes[1] << 8) | bytes[0];
}

// ALUT reads the headers of a file in memory without measuring them against its size, and
// allocates what they state before it reads the bytes: a 7 KB file stating a 2.4 GB data chunk
// would cost 2.4 GB, and a file cut short in a header is read past its end. So it is given
// only files whose headers are whole: a RIFF WAVE of whole chunks with a PCM "fmt " before a "data"
// chunk that is not empty, an AU file whose header and stated data lie inside it, or anything else
// of 4 bytes or more (which it refuses by its first 4).
static bool _HeadersFitFile(const uint8_t *file, int32_t size)
{
    const auto bytes = static_cast<uint32_t>(size);
    if (bytes >= 4 && memcmp(file, "RIFF", 4) == 0)
    {
        if (bytes < 12 || memcmp(file + 8, "WAVE", 4) != 0)
        {
            return false;
        }
        bool format = false;
        uint32_t at = 12;
        while (bytes - at >= 8)
        {
            const uint32_t length = _Read32(file + at + 4, false);
            if (length > bytes - at - 8)
            {
                return false;
            }
            // Only plain PCM of one or two channels of 8 or 16 bits, which OpenAL plays as it is:
            // from other formats ALUT has made a 4 GB request out of a 102-byte file. ALUT keeps
            // the last format chunk it meets, so each one decides anew.
            const uint8_t *body = file + at + 8;
            if (memcmp(file + at, "fmt ", 4) == 0)
            {
                format = length >= 16 && (body[0] | (body[1] << 8)) == 1 &&
                         ((body[2] | (body[3] << 8)) - 1u) < 2u &&
                         ((body[14] | (body[15] << 8)) == 8 || (body[14] | (body[15] << 8)) == 16);
            }
            // ALUT stops at the data, which must come after the format; an empty data chunk it
            // reads past.
            if (memcmp(file + at, "data", 4) == 0)
            {
                return format && length > 0;
            }
            at += 8 + length;
            // A chunk of odd length is followed by a pad byte that ALUT steps over unless the
            // file ends there; walking the chunks any other way sees a different file than it.
            if ((length & 1) != 0 && at < bytes)
            {
                at++;
            }
        }
        return false;
    }
    if (bytes >= 4 && memcmp(file, ".snd", 4) == 0)
    {
        if (bytes < 24)
        {
            return false;
        }
        const uint32_t offset = _Read32(file + 4, true);
        const uint32_t length = _Read32(file + 8, true);
        const uint32_t encoding = _Read32(file + 12, true);
        const uint32_t channels = _Read32(file + 20, true);
        // The length must be stated and inside the file: ALUT turns the "unknown" length (all
        // ones) into a request for nearly 2^64 bytes. Only the encodings it decodes (mu-law, 8
        // and 16-bit linear), in one or two channels.
        return offset >= 24 && offset <= bytes && length > 0 && length <= bytes - offset &&
               encoding >= 1 && encoding <= 3 && channels >= 1 && channels <= 2;
    }
    return bytes >= 4;
}

void *Audio_DecodeFile(const uint8_t *file, int32_t size, int32_t *format, int32_t *bytes,
                       float *frequency)
{
    if (file == nullptr || size <= 0 || !_HeadersFitFile(file, size))
    {
        LOG_ERROR("Audio error: %s", "headers cut short or stating more than the file holds");
        return nullptr;
    }
    // Should a header field it reads still reach past the end, it reads zero bytes of a copy.
    constexpr size_t overread = 8;
    auto *copy = static_cast<uint8_t *>(calloc(static_cast<size_t>(size) + overread, 1));
    if (copy == nullptr)
    {
        LOG_ERROR("Audio error: %s", "out of memory");
        return nullptr;
    }
    memcpy(copy, file, static_cast<size_t>(size));
    ALenum decodedFormat = 0;
    ALsizei decodedBytes = 0;
    ALfloat decodedFrequency = 0.0f;
    void *data =
        alutLoadMemoryFromFileImage(copy, size, &decodedFormat, &decodedBytes, &decodedFrequency);
    free(copy);
    if (data == nullptr)
    {
        _LogAlutError();
        return nullptr;
    }
    *format = decodedFormat;
    *bytes = decodedBytes;
    *frequency = decodedFrequency;
    return data;
}

static void _Decode(Sample *sample, const uint8_t *file, int32_t fileSize)
{
    int32_t format = 0;
    int32_t size = 0;
    float frequency = 0.0f;
    void *data = Audio_DecodeFile(file, fileSize, &format, &size, &frequency);
    if (data == nullptr)
    {
        return;
    }
    sample->data = data;
    sample->format = format;
    sample->size = size;
    sample->frequency = _TruncateFrequency(frequency);
}

Sample *Sample_Create(const char *name)
{
    Sample *sample = MEMORY_ALLOCATE_RECORD(Sample);
    const int32_t fileSize = Resource_GetSize(name);
    const uint8_t *file = Resource_GetData(name);
    sample->name = String_CStrCopy(name);

    if (_IsOpen())
    {
        _SetUpSource(sample);
        // A missing entry has been reported by the archive already.
        if (file != nullptr)
        {
            _Decode(sample, file, fileSize);
        }
    }

    // Info, not Error: a successful load is no failure, and the game's start-up prints exactly
    // one line at its Error level.
    LOG_INFO("Loaded audio sample\n Filename: %s, fileSize: %d.\n format: %s, size: %d, freq: "
             "%d, loop: %d.",
             sample->name, fileSize, _FormatLabel(sample->format), sample->size, sample->frequency,
             sample->looping);
    return sample;
}

void Sample_Destroy(Sample *sample)
{
    if (_IsOpen())
    {
        alDeleteSources(1, &sample->source);
        _CheckError();
        alDeleteBuffers(1, &sample->buffer);
        _CheckError();
    }
    if (sample->name != nullptr)
    {
        String_CStrFree(sample->name);
    }
    // ALUT hands out its decoded data from malloc and leaves its release to the caller.
    free(sample->data);
    MEMORY_FREE(sample);
}

void Sample_Play(Sample *sample)
{
    if (!_IsOpen())
    {
        return;
    }
    ALint state = AL_INITIAL;
    alGetSourcei(sample->source, AL_SOURCE_STATE, &state);
    if (state == AL_PLAYING)
    {
        alSourceStop(sample->source);
    }
    if (sample->buffer == 0)
    {
        alGenBuffers(1, &sample->buffer);
        _CheckError();
        alBufferData(sample->buffer, sample->format, sample->data, sample->size, sample->frequency);
        _CheckError();
    }
    alSourcei(sample->source, AL_BUFFER, static_cast<ALint>(sample->buffer));
    _CheckError();
    alSourcePlay(sample->source);
    _CheckError();
}

void Sample_SetLooping(Sample *sample, int8_t looping)
{
    sample->looping = looping;
}

int32_t Sample_GetLooping(Sample *sample)
{
    return sample->looping;
}

void Sample_SetWeight(Sample *sample, int32_t weight)
{
    (void)sample;
    (void)weight;
}

int32_t Sample_GetFormat(Sample *sample)
{
    return sample->format;
}

int32_t Sample_GetFrequence(Sample *sample)
{
    return sample->frequency;
}

int32_t Sample_GetSize(Sample *sample)
{
    return sample->size;
}

void *Sample_GetData(Sample *sample)
{
    return sample->data;
}
