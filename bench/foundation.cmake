# Foundation: CRC-32 beside zlib's, list and map operations.
zindrel_bench(foundation
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/foundation_bench.cpp
    LINKS zindrel_foundation ZLIB::ZLIB)
