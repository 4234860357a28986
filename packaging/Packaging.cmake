# Desktop integration of both programs and their Debian packages.
#
# Each program is one install component and one package. In a Release tree that has
# built the lorvane and tarnwick targets, `cpack -G DEB` makes
# lorvane_<version>_amd64.deb and tarnwick_<version>_amd64.deb (./run.sh package does
# all of it). The package test builds both in a tree of its own and checks them the way
# Debian's own tools would.

set(PACKAGE_MAINTAINER "Lorvane developers <developers@lorvane.org>")
set(PACKAGING_BINARY_DIR ${PROJECT_BINARY_DIR}/packaging)

# Debian keeps man pages and changelogs compressed, without a time stamp. They are
# made while configuring, so that building the two programs is all an install needs.
function(packaging_gzip_configured source output)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    configure_file(${source} ${output} @ONLY)
    execute_process(COMMAND gzip -9nf ${output} COMMAND_ERROR_IS_FATAL ANY)
endfunction()

# The menu entry, the icons, the AppStream metainfo, the man page and the package's
# documents of one program, all from its resources/ folder.
function(packaging_desktop_files PACKAGE APPSTREAM_ID)
    set(resources ${PROJECT_SOURCE_DIR}/${PACKAGE}/resources)
    set(generated ${PACKAGING_BINARY_DIR}/${PACKAGE})
    set(datadir ${CMAKE_INSTALL_DATADIR})
    install(FILES ${resources}/${PACKAGE}.desktop DESTINATION ${datadir}/applications
            COMPONENT ${PACKAGE})
    foreach(size 16 32 48 64 128 256)
        install(FILES ${resources}/icons/${PACKAGE}-${size}.png
                DESTINATION ${datadir}/icons/hicolor/${size}x${size}/apps
                RENAME ${PACKAGE}.png COMPONENT ${PACKAGE})
    endforeach()
    install(FILES ${resources}/icons/${PACKAGE}.svg
            DESTINATION ${datadir}/icons/hicolor/scalable/apps COMPONENT ${PACKAGE})
    install(FILES ${resources}/${APPSTREAM_ID}.metainfo.xml DESTINATION ${datadir}/metainfo
            COMPONENT ${PACKAGE})

    packaging_gzip_configured(${resources}/${PACKAGE}.1 ${generated}/${PACKAGE}.1)
    install(FILES ${generated}/${PACKAGE}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
            COMPONENT ${PACKAGE})
    packaging_gzip_configured(${PROJECT_SOURCE_DIR}/packaging/changelog.in
                              ${generated}/changelog)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${generated}/changelog.gz
            DESTINATION ${datadir}/doc/${PACKAGE} COMPONENT ${PACKAGE})
endfunction()

packaging_desktop_files(lorvane org.lorvane.Lorvane)
packaging_desktop_files(tarnwick org.lorvane.Tarnwick)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lorvane-tarnwick)
set(CPACK_PACKAGE_VENDOR "Lorvane developers")
set(CPACK_PACKAGE_CONTACT ${PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Folders the install creates get the modes Debian expects, whatever the umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL lorvane tarnwick)
set(CPACK_COMPONENTS_GROUPING IGNORE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

set(CPACK_DEBIAN_LORVANE_PACKAGE_NAME lorvane)
set(CPACK_DEBIAN_LORVANE_PACKAGE_SECTION sound)
# Opening the help text, songs, playlists and folders goes through xdg-open; Qt's
# Wayland plugin, which the shared libraries do not pull in, shows the window on a
# Wayland session without Xwayland.
set(CPACK_DEBIAN_LORVANE_PACKAGE_DEPENDS "xdg-utils, qt6-wayland")
set(CPACK_COMPONENT_LORVANE_DESCRIPTION
    "manager for a collection of MP3 files in genres and artists
Lorvane keeps a collection of MP3 files as plain files: one folder per
genre, one text file per artist, one song path per line. Songs enter it by
scanning a folder tree; the artist is taken from each file name by naming
patterns. It shows and edits ID3v1 tags, plays songs through the desktop's
media player, and renames, copies and deletes song files.")

# Pages are laid out through Qt's CUPS support, which the shared libraries pull in, and
# sent with lp; lpstat tells whether a queue takes jobs and whether the print system
# runs at all. Qt's Wayland plugin is not pulled in by the libraries: without it the
# program has no window on a Wayland session without Xwayland.
set(CPACK_DEBIAN_TARNWICK_PACKAGE_NAME tarnwick)
set(CPACK_DEBIAN_TARNWICK_PACKAGE_DEPENDS "cups-client, qt6-wayland")
set(CPACK_DEBIAN_TARNWICK_PACKAGE_SECTION graphics)
set(CPACK_COMPONENT_TARNWICK_DESCRIPTION
    "resident utility that prints the screen with the Print Screen key
Tarnwick32 sits in the notification area. Print Screen prints one page of
the screen, Alt+Print Screen the active window: whole or a defined area,
fitted or stretched, landscape or portrait, negative or greyscale, after an
optional prompt. The key is watched on X11 desktops.")

include(CPack)

# The package test makes both packages in a Release tree of its own below this one, so
# it costs a build of the two programs; it stays out of the sanitizer run.
add_test(NAME debian_packages
         COMMAND bash ${PROJECT_SOURCE_DIR}/packaging/check-packages.sh
                 ${PROJECT_BINARY_DIR}/package-check ${PROJECT_VERSION}
                 "${CMAKE_CXX_COMPILER_LAUNCHER}")
set_tests_properties(debian_packages PROPERTIES LABELS package TIMEOUT 3000)
