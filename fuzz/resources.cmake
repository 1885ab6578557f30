# Resources: the TGA decoder on any input. Seeds are ImageMagick's TGA files (raw and run-
# length encoded, 24 and 32 bits, both origins), written by the resource tests' fixture
# script, and the game's own four sprite sheets taken out of resources.dat.
set(targa_seed_dir ${CMAKE_CURRENT_BINARY_DIR}/resources_targa_images)
set(targa_seeds)
foreach(depth 24 32)
    foreach(compression None RLE)
        foreach(origin BottomLeft TopLeft)
            list(APPEND targa_seeds ${targa_seed_dir}/im_${depth}_${compression}_${origin}.tga)
        endforeach()
    endforeach()
endforeach()
add_custom_command(
    OUTPUT ${targa_seeds}
    COMMAND ${PROJECT_SOURCE_DIR}/tests/resources/make_fixtures.sh ${targa_seed_dir}
    DEPENDS ${PROJECT_SOURCE_DIR}/tests/resources/make_fixtures.sh
    COMMENT "Writing TGA seeds with ImageMagick"
    VERBATIM)

set(sheet_seed_dir ${CMAKE_CURRENT_BINARY_DIR}/resources_targa_sheets)
set(sheet_names
    SpaceShooterAssetPack_BackGrounds.tga SpaceShooterAssetPack_Miscellaneous.tga
    SpaceShooterAssetPack_Projectiles.tga SpaceShooterAssetPack_Ships.tga)
list(TRANSFORM sheet_names PREPEND ${sheet_seed_dir}/ OUTPUT_VARIABLE sheet_seeds)
add_custom_command(
    OUTPUT ${sheet_seeds}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${sheet_seed_dir}
    COMMAND unzip -o -q ${ZINDREL_RUNTIME_DIR}/resources.dat ${sheet_names} -d ${sheet_seed_dir}
    DEPENDS zindrel_resources_dat ${ZINDREL_RUNTIME_DIR}/resources.dat
    COMMENT "Taking the sprite sheets out of resources.dat as TGA seeds"
    VERBATIM)
add_custom_target(resources_targa_seed_files DEPENDS ${targa_seeds} ${sheet_seeds})

zindrel_fuzz(targa
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/resources_targa.cpp
    LINKS zindrel_resources
    SEEDS ${targa_seeds} ${sheet_seeds}
    SEED_DEPENDS resources_targa_seed_files)

# The archive reader on any bytes as resources.dat. Seeds: the game's own archive, and each of
# its entries alone in an archive written by CMake (libarchive), a writer other than ours.
set(archive_seed_dir ${CMAKE_CURRENT_BINARY_DIR}/resources_archive_files)
set(sound_names
    mixkit-game-whip-shot-1512.wav mixkit-short-laser-gun-shot-1670.wav
    mixkit-arcade-fast-game-over-233.wav mixkit-falling-hit-757.wav)
set(archive_seeds ${archive_seed_dir}/resources.dat)
set(archive_seed_commands
    COMMAND ${CMAKE_COMMAND} -E make_directory ${archive_seed_dir}
    COMMAND ${CMAKE_COMMAND} -E copy ${ZINDREL_RUNTIME_DIR}/resources.dat ${archive_seed_dir}
    COMMAND unzip -o -q ${ZINDREL_RUNTIME_DIR}/resources.dat -d ${archive_seed_dir}/entries)
foreach(entry ${sheet_names} ${sound_names})
    list(APPEND archive_seeds ${archive_seed_dir}/${entry}.zip)
    list(APPEND archive_seed_commands
        COMMAND ${CMAKE_COMMAND} -E chdir ${archive_seed_dir}/entries
                ${CMAKE_COMMAND} -E tar cf ${archive_seed_dir}/${entry}.zip --format=zip ${entry})
endforeach()
add_custom_command(
    OUTPUT ${archive_seeds}
    ${archive_seed_commands}
    DEPENDS zindrel_resources_dat ${ZINDREL_RUNTIME_DIR}/resources.dat
    COMMENT "Writing archive seeds from resources.dat"
    VERBATIM)
add_custom_target(resources_archive_seed_files DEPENDS ${archive_seeds})

# Inputs of past findings stay in the corpus: regressions/archive (an entry whose directory
# states 128 MB for a few hundred bytes once made every run allocate and clear it all).
file(GLOB archive_regressions ${CMAKE_CURRENT_SOURCE_DIR}/regressions/archive/*)
zindrel_fuzz(archive
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/resources_archive.cpp
    LINKS zindrel_resources PkgConfig::ZIP
    SEEDS ${archive_seeds} ${archive_regressions}
    SEED_DEPENDS resources_archive_seed_files)

# A sheet entry through every step before OpenGL, seeded with the game's four sheets.
zindrel_fuzz(sheet
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/resources_sheet.cpp
    LINKS zindrel_resources
    SEEDS ${sheet_seeds}
    SEED_DEPENDS resources_targa_seed_files)
