# Toolkit: OBJ reading beside tinyobjloader (Debian's libtinyobjloader-dev) on the same
# generated 100,000-triangle text, and Huffman encoding throughput.
find_package(tinyobjloader REQUIRED)
zindrel_bench(toolkit
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/toolkit_obj.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/toolkit_huffman.cpp
            ${PROJECT_SOURCE_DIR}/tests/toolkit/shapes.cpp
    LINKS zindrel_toolkit tinyobjloader::tinyobjloader)
target_include_directories(bench_toolkit PRIVATE ${PROJECT_SOURCE_DIR}/tests/toolkit)
