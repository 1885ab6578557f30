# Toolkit: the OBJ and 3DS readers and the Huffman decoder on any input. The seeds are the
# toolkit tests' shapes (written by our own seed writer) and their 3DS exports by assimp, and
# Huffman inputs made by our encoder and from the fixed DEFLATE code.
set(toolkit_seed_dir ${CMAKE_CURRENT_BINARY_DIR}/toolkit_seed_files)
add_executable(toolkit_seed_writer
    ${CMAKE_CURRENT_SOURCE_DIR}/toolkit_seeds.cpp
    ${PROJECT_SOURCE_DIR}/tests/toolkit/shapes.cpp)
target_link_libraries(toolkit_seed_writer PRIVATE zindrel_toolkit)
target_include_directories(toolkit_seed_writer PRIVATE ${PROJECT_SOURCE_DIR}
                           ${PROJECT_SOURCE_DIR}/tests/toolkit)

set(toolkit_obj_seeds)
foreach(name cube sphere groups lines)
    list(APPEND toolkit_obj_seeds ${toolkit_seed_dir}/${name}.obj)
endforeach()
set(toolkit_3ds_seeds ${toolkit_seed_dir}/objects.3ds ${toolkit_seed_dir}/short.3ds)
set(toolkit_huffman_seeds
    ${toolkit_seed_dir}/text.huf ${toolkit_seed_dir}/skewed.huf ${toolkit_seed_dir}/deflate.huf)
set(toolkit_seed_commands
    COMMAND ${CMAKE_COMMAND} -E make_directory ${toolkit_seed_dir}
    COMMAND toolkit_seed_writer ${toolkit_seed_dir})
find_program(ASSIMP_COMMAND assimp)
if(ASSIMP_COMMAND)
    foreach(name cube sphere groups)
        list(APPEND toolkit_3ds_seeds ${toolkit_seed_dir}/${name}.3ds)
        list(APPEND toolkit_seed_commands
            COMMAND ${ASSIMP_COMMAND} export ${toolkit_seed_dir}/${name}.obj
                    ${toolkit_seed_dir}/${name}.3ds)
    endforeach()
else()
    message(WARNING "assimp (assimp-utils) not found: the 3DS fuzz target gets only our own seeds")
endif()
add_custom_command(
    OUTPUT ${toolkit_obj_seeds} ${toolkit_3ds_seeds} ${toolkit_huffman_seeds}
    ${toolkit_seed_commands}
    DEPENDS toolkit_seed_writer
    COMMENT "Writing the toolkit fuzz seeds"
    VERBATIM)
add_custom_target(toolkit_seed_files
    DEPENDS ${toolkit_obj_seeds} ${toolkit_3ds_seeds} ${toolkit_huffman_seeds})

zindrel_fuzz(toolkit_obj
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/toolkit_obj.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/toolkit_model_check.cpp
    LINKS zindrel_toolkit
    SEEDS ${toolkit_obj_seeds}
    SEED_DEPENDS toolkit_seed_files)
zindrel_fuzz(toolkit_3ds
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/toolkit_3ds.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/toolkit_model_check.cpp
    LINKS zindrel_toolkit
    SEEDS ${toolkit_3ds_seeds}
    SEED_DEPENDS toolkit_seed_files)
# Room for the largest alphabet the count can name (65,535 entries of 3 bytes) and a stream
# of the 65,535 bytes the encoder takes.
zindrel_fuzz(toolkit_huffman
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/toolkit_huffman.cpp
    LINKS zindrel_toolkit
    SEEDS ${toolkit_huffman_seeds}
    SEED_DEPENDS toolkit_seed_files
    OPTIONS -max_len=262144)
