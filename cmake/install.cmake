# What `cmake --install` puts where, and the Debian package made from it.
set(PYLOMIR_APP_ID org.example.pylomir)

install(TARGETS pylomir-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET pylomir)
    install(TARGETS pylomir RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
# The shipped filter files: an installed program seeds each user's program
# folder from them.
install(DIRECTORY data/Filtry/ DESTINATION ${CMAKE_INSTALL_DATADIR}/pylomir/Filtry)

# The desktop: the menu entry, the icon and the software centres' data.
if(TARGET pylomir)
    install(FILES data/${PYLOMIR_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(DIRECTORY data/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endif()
configure_file(data/${PYLOMIR_APP_ID}.metainfo.xml
               ${PROJECT_BINARY_DIR}/${PYLOMIR_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/${PYLOMIR_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

install(FILES data/completion/pylomir-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# The command line's man page, from the built program's --help and --version
# (not from a sanitizer build, whose run may end in a leak report).
find_program(PYLOMIR_HELP2MAN help2man)
if(PYLOMIR_HELP2MAN AND NOT PYLOMIR_SANITIZE)
    set(man_page ${PROJECT_BINARY_DIR}/man/pylomir-cli.1.gz)
    add_custom_command(OUTPUT ${man_page}
        COMMAND ${CMAKE_COMMAND} -DHELP2MAN=${PYLOMIR_HELP2MAN} -DCLI=$<TARGET_FILE:pylomir-cli>
                -DOUT=${man_page} -P ${PROJECT_SOURCE_DIR}/cmake/man_page.cmake
        DEPENDS pylomir-cli ${PROJECT_SOURCE_DIR}/cmake/man_page.cmake
        COMMENT "Writing the man page of pylomir-cli" VERBATIM)
    add_custom_target(pylomir_man_page ALL DEPENDS ${man_page})
    install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
elseif(NOT PYLOMIR_SANITIZE)
    message(STATUS "help2man not found: no man page for pylomir-cli (apt-get install help2man)")
endif()
# The window's man page is written by hand.
if(TARGET pylomir)
    set(gui_page ${PROJECT_BINARY_DIR}/man/pylomir.1.gz)
    add_custom_command(OUTPUT ${gui_page}
        COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/data/pylomir.1 > ${gui_page}
        DEPENDS ${PROJECT_SOURCE_DIR}/data/pylomir.1)
    add_custom_target(pylomir_gui_man_page ALL DEPENDS ${gui_page})
    install(FILES ${gui_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The package's own documents, where Debian wants them.
configure_file(data/debian/changelog.in ${PROJECT_BINARY_DIR}/debian/changelog @ONLY)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/debian/changelog.gz
    COMMAND gzip -9nc ${PROJECT_BINARY_DIR}/debian/changelog > ${PROJECT_BINARY_DIR}/debian/changelog.gz
    DEPENDS ${PROJECT_BINARY_DIR}/debian/changelog)
add_custom_target(pylomir_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/debian/changelog.gz)
install(FILES data/debian/copyright ${PROJECT_BINARY_DIR}/debian/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pylomir)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pylomir)
set(CPACK_PACKAGE_VENDOR Tessaly)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "find and remove disposable files")
set(CPACK_PACKAGE_DESCRIPTION
    "Pylomir finds disposable files in a folder you pick: temporary files, logs,\n"
    "backup copies, caches and suspicious scripts from the browser's temporary\n"
    "folder, and deletes what you select, optionally after packing it into a\n"
    "backup archive that can be restored later. Its window speaks Polish.\n"
    "The command line pylomir-cli scans and cleans without a window.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tessaly <pylomir@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/pylomir/")
# The libraries' packages come from dpkg-shlibdeps; Qt's plugins (the
# platforms beyond X11) and its Polish texts it cannot see.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-qpa-plugins, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
