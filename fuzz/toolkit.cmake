# Toolkit: the OBJ and 3DS readers and the Huffman decoder on any input. The seeds in
# seeds/toolkit were written once by our own code: the toolkit tests' shapes as OBJ text and 3DS
# chunks, and Huffman inputs made by our encoder and from the fixed DEFLATE code (huffman.cpp's
# input layout). The shapes' 3DS exports by assimp are added when it is installed.
set(toolkit_seeds ${CMAKE_CURRENT_SOURCE_DIR}/seeds/toolkit)
set(toolkit_seed_dir ${CMAKE_CURRENT_BINARY_DIR}/toolkit_seed_files)
file(GLOB toolkit_obj_seeds ${toolkit_seeds}/*.obj)
file(GLOB toolkit_3ds_seeds ${toolkit_seeds}/*.3ds)
file(GLOB toolkit_huffman_seeds ${toolkit_seeds}/*.huf)
find_program(ASSIMP_COMMAND assimp)
if(ASSIMP_COMMAND)
    set(toolkit_seed_commands COMMAND ${CMAKE_COMMAND} -E make_directory ${toolkit_seed_dir})
    foreach(name cube sphere groups)
        list(APPEND toolkit_3ds_exports ${toolkit_seed_dir}/${name}.3ds)
        list(APPEND toolkit_seed_commands
            COMMAND ${ASSIMP_COMMAND} export ${toolkit_seeds}/${name}.obj
                    ${toolkit_seed_dir}/${name}.3ds)
    endforeach()
    add_custom_command(
        OUTPUT ${toolkit_3ds_exports}
        ${toolkit_seed_commands}
        DEPENDS ${toolkit_obj_seeds}
        COMMENT "Exporting the toolkit's OBJ seeds as 3DS with assimp"
        VERBATIM)
    list(APPEND toolkit_3ds_seeds ${toolkit_3ds_exports})
else()
    message(WARNING "assimp (assimp-utils) not found: the 3DS fuzz target gets only our own seeds")
endif()
add_custom_target(toolkit_seed_files DEPENDS ${toolkit_3ds_exports})

zindrel_fuzz(toolkit_obj
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/toolkit_model.cpp
    LINKS zindrel_toolkit
    SEEDS ${toolkit_obj_seeds})
target_compile_definitions(fuzz_toolkit_obj PRIVATE FUZZ_OBJ)
zindrel_fuzz(toolkit_3ds
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/toolkit_model.cpp
    LINKS zindrel_toolkit
    SEEDS ${toolkit_3ds_seeds}
    SEED_DEPENDS toolkit_seed_files)
# Room for the largest alphabet the count can name (65,535 entries of 3 bytes) and a stream
# of the 65,535 bytes the encoder takes, with that whole length open to the mutations from the
# start (libFuzzer otherwise lets inputs grow only slowly, a few hundred bytes in half an hour).
zindrel_fuzz(toolkit_huffman
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/toolkit_huffman.cpp
    LINKS zindrel_toolkit
    SEEDS ${toolkit_huffman_seeds}
    OPTIONS -max_len=262144 -len_control=0)
