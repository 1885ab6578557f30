# Rendering: one typical play frame drawn into the window (run under Xvfb), pictures from the
# resources.dat the build writes beside the game.
zindrel_bench(render
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/render_frame.cpp
    LINKS zindrel_background zindrel_sprite zindrel_render zindrel_frame zindrel_resources
          zindrel_foundation OpenGL::GL glfw)
target_compile_definitions(bench_render PRIVATE
    ZINDREL_BENCH_RESOURCES="${ZINDREL_RUNTIME_DIR}/resources.dat")
if(TARGET zindrel_resources_dat)
    add_dependencies(bench_render zindrel_resources_dat)
endif()
