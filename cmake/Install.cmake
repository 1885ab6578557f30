# What `cmake --install` puts where, in two components:
#   game    lib/zindrel/zindrel and resources.dat side by side, the desktop entry, the icons,
#           the AppStream metainfo, the manual page and the Debian copyright and changelog
#   path    bin/zindrel, a relative link to the program (which finds its data through it)
#   debian  the same link as games/zindrel, only for the Debian package
#   devel   headers under include/zindrel/<folder>/, the static libraries, the CMake package
#           Zindrel (Zindrel::foundation, Zindrel::toolkit) and zindrel-toolkit.pc
# The Debian package (cmake/Packaging.cmake) holds the game alone.
include(CMakePackageConfigHelpers)

# Names and dates of this release, used by the package, the metainfo and the manual page.
set(ZINDREL_APP_ID org.zindrel.Zindrel)
set(ZINDREL_LICENSE_SPDX LicenseRef-proprietary)
set(ZINDREL_MAINTAINER "Zindrel maintainers <maintainers@users.noreply.c-seed-bffb1afe.example>")
set(ZINDREL_RELEASE_DATE 2026-12-07)
execute_process(COMMAND date -u -R -d "${ZINDREL_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE ZINDREL_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE)

set(ZINDREL_GAME_DIR lib/zindrel)
set(ZINDREL_STAGE ${CMAKE_BINARY_DIR}/install-stage)
set(ZINDREL_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)

# The game.
install(TARGETS zindrel RUNTIME DESTINATION ${ZINDREL_GAME_DIR} COMPONENT game)
install(FILES ${ZINDREL_RUNTIME_DIR}/resources.dat DESTINATION ${ZINDREL_GAME_DIR} COMPONENT game)
file(MAKE_DIRECTORY ${ZINDREL_STAGE})
file(CREATE_LINK ../${ZINDREL_GAME_DIR}/zindrel ${ZINDREL_STAGE}/zindrel SYMBOLIC)
install(FILES ${ZINDREL_STAGE}/zindrel DESTINATION bin COMPONENT path)
install(FILES ${ZINDREL_STAGE}/zindrel DESTINATION games COMPONENT debian EXCLUDE_FROM_ALL)

configure_file(${ZINDREL_PACKAGING}/zindrel.desktop.in
               ${ZINDREL_STAGE}/${ZINDREL_APP_ID}.desktop @ONLY)
configure_file(${ZINDREL_PACKAGING}/zindrel.metainfo.xml.in
               ${ZINDREL_STAGE}/${ZINDREL_APP_ID}.metainfo.xml @ONLY)
configure_file(${ZINDREL_PACKAGING}/zindrel.6.in ${ZINDREL_STAGE}/zindrel.6 @ONLY)
configure_file(${ZINDREL_PACKAGING}/changelog.in ${ZINDREL_STAGE}/changelog @ONLY)
configure_file(${ZINDREL_PACKAGING}/copyright.in ${ZINDREL_STAGE}/copyright @ONLY)
install(FILES ${ZINDREL_STAGE}/${ZINDREL_APP_ID}.desktop
        DESTINATION share/applications COMPONENT game)
install(FILES ${ZINDREL_STAGE}/${ZINDREL_APP_ID}.metainfo.xml
        DESTINATION share/metainfo COMPONENT game)
install(FILES ${ZINDREL_STAGE}/copyright DESTINATION share/doc/zindrel COMPONENT game)

# Debian wants the manual page and the changelog compressed, without a time stamp.
set(ZINDREL_GZIPPED ${ZINDREL_STAGE}/zindrel.6.gz ${ZINDREL_STAGE}/changelog.gz)
add_custom_command(
    OUTPUT ${ZINDREL_GZIPPED}
    COMMAND gzip -9nkf zindrel.6 changelog
    DEPENDS ${ZINDREL_STAGE}/zindrel.6 ${ZINDREL_STAGE}/changelog
    WORKING_DIRECTORY ${ZINDREL_STAGE}
    VERBATIM)

# The icons, drawn by the asset builder at every size.
set(ZINDREL_ICONS ${ZINDREL_STAGE}/icons)
add_custom_command(
    OUTPUT ${ZINDREL_ICONS}/16x16/apps/zindrel.png
    COMMAND zindrel_assetgen icons ${ZINDREL_ICONS}
    DEPENDS zindrel_assetgen
    COMMENT "Drawing the desktop icons"
    VERBATIM)
add_custom_target(zindrel_install_files ALL
    DEPENDS ${ZINDREL_GZIPPED} ${ZINDREL_ICONS}/16x16/apps/zindrel.png)
install(FILES ${ZINDREL_STAGE}/zindrel.6.gz DESTINATION share/man/man6 COMPONENT game)
install(FILES ${ZINDREL_STAGE}/changelog.gz DESTINATION share/doc/zindrel COMPONENT game)
install(DIRECTORY ${ZINDREL_ICONS}/ DESTINATION share/icons/hicolor COMPONENT game)

# The libraries for other programs. The resources and the compiled-in pictures come along only
# because the toolkit's meshes link them.
set(ZINDREL_EXPORTED zindrel_foundation zindrel_art zindrel_resources zindrel_toolkit)
foreach(library IN LISTS ZINDREL_EXPORTED)
    string(REPLACE zindrel_ "" short ${library})
    set_target_properties(${library} PROPERTIES EXPORT_NAME ${short})
endforeach()
install(TARGETS ${ZINDREL_EXPORTED} EXPORT ZindrelTargets
        ARCHIVE DESTINATION lib COMPONENT devel
        INCLUDES DESTINATION include/zindrel)
foreach(folder foundation toolkit)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/${folder}/ DESTINATION include/zindrel/${folder}
            COMPONENT devel FILES_MATCHING PATTERN "*.h")
endforeach()
install(EXPORT ZindrelTargets NAMESPACE Zindrel:: DESTINATION lib/cmake/Zindrel COMPONENT devel)
configure_package_config_file(${ZINDREL_PACKAGING}/ZindrelConfig.cmake.in
    ${ZINDREL_STAGE}/ZindrelConfig.cmake INSTALL_DESTINATION lib/cmake/Zindrel)
write_basic_package_version_file(${ZINDREL_STAGE}/ZindrelConfigVersion.cmake
    COMPATIBILITY SameMinorVersion)
install(FILES ${ZINDREL_STAGE}/ZindrelConfig.cmake ${ZINDREL_STAGE}/ZindrelConfigVersion.cmake
        DESTINATION lib/cmake/Zindrel COMPONENT devel)
configure_file(${ZINDREL_PACKAGING}/zindrel-toolkit.pc.in ${ZINDREL_STAGE}/zindrel-toolkit.pc @ONLY)
install(FILES ${ZINDREL_STAGE}/zindrel-toolkit.pc DESTINATION lib/pkgconfig COMPONENT devel)
