// audio_openal: the audio output (one OpenAL device and context, through ALUT) and the game's
// sound effects. Each Sample owns one source, set up once, and one buffer, filled on its first
// play, so the in-place processing of audio.h must happen before that play to be heard.
#pragma once

#include <cstdint>

struct Sample;

// Opens the named OpenAL device, or the default one for null, and makes its context current.
// When that fails, one Error line names the device and the program runs on without sound:
// every later audio call then does nothing audible and logs nothing further.
void Audio_Initialize(const char *deviceName);

// Closes the context and device and shuts ALUT down. Destroy every sample first.
void Audio_Deinitialize(void);

// There is no master volume: the setter has no effect and the getter always returns 1.0.
void Audio_SetVolume(float volume);
float Audio_GetVolume(void);

// Decodes a sound file held in memory (WAV or AU) as every sample is decoded: through ALUT,
// which needs the context of Audio_Initialize. A file whose headers state more bytes than it
// holds is refused before ALUT allocates them. Null after one Error line when nothing can be
// decoded; format, bytes and frequency are set only on success.
// Ownership: the caller; release with free().
void *Audio_DecodeFile(const uint8_t *file, int32_t size, int32_t *format, int32_t *bytes,
                       float *frequency);

// Loads the named WAV entry of the resource archive and decodes it. Never null: a missing or
// undecodable entry (or no audio output) gives a silent sample with no data and format,
// size and frequency 0. The archive's own buffer is not kept. Logs "Loaded audio sample".
// Ownership: the caller; release with Sample_Destroy before Audio_Deinitialize.
Sample *Sample_Create(const char *name);

// Deletes the sample's source and buffer and releases its name, its decoded data and itself.
void Sample_Destroy(Sample *sample);

// Plays the sample from its start. A play while it still sounds cuts that play off and starts
// over. The first play copies the data to OpenAL; later changes to the data are not heard.
void Sample_Play(Sample *sample);

// The looping flag is only stored and reported: playback never loops.
void Sample_SetLooping(Sample *sample, int8_t looping);
int32_t Sample_GetLooping(Sample *sample);

// Accepted for the game's sound table; no weight is stored.
void Sample_SetWeight(Sample *sample, int32_t weight);

// The decoded data as OpenAL describes it: format code (AL_FORMAT_MONO8, AL_FORMAT_MONO16,
// AL_FORMAT_STEREO8 or AL_FORMAT_STEREO16), sample rate in Hz and size in bytes.
int32_t Sample_GetFormat(Sample *sample);
int32_t Sample_GetFrequence(Sample *sample);
int32_t Sample_GetSize(Sample *sample);

// The decoded PCM data, interleaved by channel: 8-bit values unsigned, 16-bit values signed
// little-endian. Null when nothing was decoded. It may be rewritten in place before the first
// play. Ownership: the sample; valid until Sample_Destroy.
void *Sample_GetData(Sample *sample);
