# Toolkit: OBJ reading beside tinyobjloader (Debian's libtinyobjloader-dev) on the same
# generated 100,000-triangle text, and Huffman encoding throughput.
find_package(tinyobjloader REQUIRED)
zindrel_bench(toolkit
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/toolkit_obj.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/toolkit_huffman.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/terrain_shapes.cpp
    LINKS zindrel_toolkit tinyobjloader::tinyobjloader)
