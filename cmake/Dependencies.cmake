# Every third-party library, found once and exposed as an imported target:
#   OpenGL::GL OpenGL::GLU glfw OpenAL::OpenAL PkgConfig::ALUT PkgConfig::ZIP ZLIB::ZLIB
# GoogleTest and Google Benchmark are found by tests/ and bench/.
set(OpenGL_GL_PREFERENCE LEGACY)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)
find_package(glfw3 3.3 REQUIRED)
find_package(OpenAL REQUIRED)
find_package(ZLIB REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(ALUT REQUIRED IMPORTED_TARGET GLOBAL freealut)
pkg_check_modules(ZIP REQUIRED IMPORTED_TARGET GLOBAL libzip)

if(NOT TARGET OpenAL::OpenAL)
    add_library(OpenAL::OpenAL INTERFACE IMPORTED GLOBAL)
    target_include_directories(OpenAL::OpenAL INTERFACE ${OPENAL_INCLUDE_DIR})
    target_link_libraries(OpenAL::OpenAL INTERFACE ${OPENAL_LIBRARY})
endif()

# A library of this project: zindrel_library(NAME SOURCES ... LINKS ...).
# Headers are included by folder, e.g. #include "foundation/list.h".
function(zindrel_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>)
    target_link_libraries(${name} PUBLIC ${ARG_LINKS})
endfunction()
