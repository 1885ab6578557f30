# Resources: the TGA decoder beside stb_image on the same 1024 x 1024 32-bit images.
zindrel_bench(resources
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/resources_targa.cpp
    LINKS zindrel_resources)
