# Resources: the TGA decoder on any input. Seeds are ImageMagick's TGA files (raw and run-
# length encoded, 24 and 32 bits, both origins), written by the resource tests' fixture script.
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
add_custom_target(resources_targa_seed_images DEPENDS ${targa_seeds})

zindrel_fuzz(targa
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/resources_targa.cpp
    LINKS zindrel_resources
    SEEDS ${targa_seeds}
    SEED_DEPENDS resources_targa_seed_images)
