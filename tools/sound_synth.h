// sound_synth: the game's four sound effects, synthesised from oscillators and seeded noise.
// All are 16-bit PCM; the two lasers are mono at 22050 Hz, the enemy's destruction jingle is
// stereo at 44100 Hz and the player's hit stereo at 22050 Hz.
#pragma once

#include "tools/wav_writer.h"

// A short whip-like shot: a crack of noise, then a saw-and-square tone diving from high to low.
Sound SoundSynth_EnemyLaser(void);
// A short bright zap: a narrow pulse wave sweeping down, with its octave above.
Sound SoundSynth_PlayerLaser(void);
// A fast arcade jingle over a crunch of noise, bouncing between the speakers. Peaks at full
// scale, because the game plays it at 0.15 of its volume.
Sound SoundSynth_EnemyKilled(void);
// The player hit: a long falling tone under a burst of noise, a little different on each side.
Sound SoundSynth_PlayerHit(void);
