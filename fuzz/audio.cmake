# Audio: ALUT's decoding of sound files on any input, seeded with the game's four sounds.
# sound_names comes from resources.cmake.
set(wav_seed_dir ${CMAKE_CURRENT_BINARY_DIR}/audio_wav_files)
list(TRANSFORM sound_names PREPEND ${wav_seed_dir}/ OUTPUT_VARIABLE wav_seeds)
add_custom_command(
    OUTPUT ${wav_seeds}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${wav_seed_dir}
    COMMAND unzip -o -q ${ZINDREL_RUNTIME_DIR}/resources.dat ${sound_names} -d ${wav_seed_dir}
    DEPENDS zindrel_resources_dat ${ZINDREL_RUNTIME_DIR}/resources.dat
    COMMENT "Taking the sounds out of resources.dat as WAV seeds"
    VERBATIM)
add_custom_target(audio_wav_seed_files DEPENDS ${wav_seeds})

# Inputs of past findings: regressions/wav (a 7 KB file stating a 2.4 GB data chunk, which
# ALUT allocated before reading; a 5-byte AU header, which it read past).
file(GLOB wav_regressions ${CMAKE_CURRENT_SOURCE_DIR}/regressions/wav/*)
zindrel_fuzz(wav
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/audio_wav.cpp
    LINKS zindrel_audio PkgConfig::ALUT
    SEEDS ${wav_seeds} ${wav_regressions}
    SEED_DEPENDS audio_wav_seed_files)
