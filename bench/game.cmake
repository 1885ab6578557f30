# The whole game: 10,000 frames of scripted play in a real window (run under Xvfb:
# scripts/with-display.sh), and the time from a fresh process to its first presented frame.
zindrel_bench(game
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/game_bench.cpp
            ${PROJECT_SOURCE_DIR}/tests/game/scripted_play.cpp
    LINKS zindrel_game zindrel_frame zindrel_foundation OpenGL::GL glfw
)
target_compile_definitions(bench_game PRIVATE
    ZINDREL_BENCH_RESOURCES="${ZINDREL_RUNTIME_DIR}/resources.dat")
add_dependencies(bench_game zindrel_resources_dat)
