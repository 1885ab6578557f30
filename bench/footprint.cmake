# The footprint harness's floor: a bare GLFW program beside the game (bench/footprint.py).
add_executable(footprint_baseline ${CMAKE_CURRENT_SOURCE_DIR}/footprint_baseline.cpp)
target_link_libraries(footprint_baseline PRIVATE zindrel_foundation OpenGL::GL glfw)
target_include_directories(footprint_baseline PRIVATE ${PROJECT_SOURCE_DIR})
