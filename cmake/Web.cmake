# The web build: the game for WebAssembly with Emscripten (emcmake cmake), run by `make web`.
# It builds only what runs in the page; the asset builder is native and runs first, in a build
# of its own whose folder ZINDREL_HOST_DIR names. The C libraries come from ZINDREL_WEB_DEPS
# (scripts/web-deps.sh); Emscripten's ports would download them and are not used.
# The page goes to ZINDREL_WEB_OUTPUT: zindrel.html, .js, .wasm and .data (resources.dat).
set(ZINDREL_HOST_DIR "" CACHE PATH "Native build that made resources.dat and the picture blobs")
set(ZINDREL_WEB_DEPS "" CACHE PATH "zlib, libzip and freealut built with emcc")
set(ZINDREL_WEB_OUTPUT ${CMAKE_BINARY_DIR} CACHE PATH "Folder for the page and its files")
foreach(folder ZINDREL_HOST_DIR ZINDREL_WEB_DEPS)
    if(NOT IS_DIRECTORY "${${folder}}")
        message(FATAL_ERROR "${folder} must name a folder (make web sets it)")
    endif()
endforeach()
set(ZINDREL_RUNTIME_DIR ${ZINDREL_WEB_OUTPUT})

# The libraries the game names, as the desktop build's imported targets.
function(_zindrel_web_library name)
    add_library(${name} INTERFACE IMPORTED GLOBAL)
    target_include_directories(${name} INTERFACE ${ZINDREL_WEB_DEPS}/include)
    target_link_libraries(${name} INTERFACE ${ARGN})
endfunction()
_zindrel_web_library(ZLIB::ZLIB ${ZINDREL_WEB_DEPS}/lib/libz.a)
_zindrel_web_library(PkgConfig::ZIP ${ZINDREL_WEB_DEPS}/lib/libzip.a ZLIB::ZLIB)
_zindrel_web_library(OpenAL::OpenAL -lopenal)
_zindrel_web_library(PkgConfig::ALUT ${ZINDREL_WEB_DEPS}/lib/libalut.a OpenAL::OpenAL)
# GLFW and the GL are Emscripten's own JavaScript libraries. The game draws with the OpenGL 1
# fixed pipeline, which Emscripten emulates; WebGL 2, because under WebGL 1 the sheets whose
# sizes are not powers of two would draw as black boxes.
_zindrel_web_library(glfw "-sUSE_GLFW=3")
_zindrel_web_library(OpenGL::GL "-sLEGACY_GL_EMULATION=1" "-sMIN_WEBGL_VERSION=2")
_zindrel_web_library(OpenGL::GLU OpenGL::GL)

function(zindrel_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LINKS})
endfunction()

# The compiled-in pictures, from the native builder's blobs.
set(ZINDREL_ART_DIR ${ZINDREL_HOST_DIR}/tools/art)
configure_file(tools/art_web.S.in ${CMAKE_BINARY_DIR}/art_web.S @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/art_web.S PROPERTIES OBJECT_DEPENDS
    "${ZINDREL_ART_DIR}/FontC64Uppercase.bin;${ZINDREL_ART_DIR}/FontC64Lowercase.bin;${ZINDREL_ART_DIR}/BrindleLogo.bin")
add_library(zindrel_art STATIC ${CMAKE_BINARY_DIR}/art_web.S)
target_include_directories(zindrel_art PUBLIC ${PROJECT_SOURCE_DIR})

set(ZINDREL_RESOURCES_DAT ${ZINDREL_HOST_DIR}/bin/resources.dat)
add_custom_target(zindrel_resources_dat DEPENDS ${ZINDREL_RESOURCES_DAT})

add_subdirectory(foundation)
add_subdirectory(resources)
add_subdirectory(render)
add_subdirectory(frame)
add_subdirectory(input)
add_subdirectory(audio)
add_subdirectory(game)
# Not part of the game; built so that the toolkit's float reading stays compiled for the web.
add_subdirectory(toolkit)

target_sources(zindrel_platform PRIVATE frame/web/web_loop.cpp frame/web/glu_web.cpp)

set(ZINDREL_SHELL ${PROJECT_SOURCE_DIR}/web/shell.html)
set_target_properties(zindrel PROPERTIES SUFFIX ".html" LINK_DEPENDS
    "${ZINDREL_SHELL};${ZINDREL_RESOURCES_DAT}")
target_link_options(zindrel PRIVATE
    --shell-file ${ZINDREL_SHELL}
    --preload-file ${ZINDREL_RESOURCES_DAT}@/resources.dat
    -sENVIRONMENT=web
    -sALLOW_MEMORY_GROWTH=1
    -sMINIFY_HTML=0
    -sEXPORTED_FUNCTIONS=_main,_WebLoop_GetFrameCount)
