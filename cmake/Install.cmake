# What `cmake --install` puts where, laid out as a Debian desktop program: the
# start command in bin/, the program itself in libexec/cubrix/, and the
# desktop entry, icons, software centre listing, manual page and workbook
# template under share/.
include_guard(GLOBAL)
include(GNUInstallDirs)

if(WIN32)
    install(TARGETS cubrix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    return()
endif()

set(_linux ${PROJECT_SOURCE_DIR}/assets/linux)
set(CUBRIX_PROGRAM_DIR ${CMAKE_INSTALL_LIBEXECDIR}/cubrix)
set(CUBRIX_DATA_DIR ${CMAKE_INSTALL_DATADIR}/cubrix)
set(CUBRIX_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/cubrix)
set(CUBRIX_APPSTREAM_ID org.example.cubrix)
set(CUBRIX_TEMPLATE_NAME "Tarnel账单.xls")

install(TARGETS cubrix workbook-path RUNTIME DESTINATION ${CUBRIX_PROGRAM_DIR})

# The start command finds the program and the template relative to itself, so
# the tree works under any prefix.
file(RELATIVE_PATH LAUNCHER_TO_PROGRAMS /${CMAKE_INSTALL_BINDIR} /${CUBRIX_PROGRAM_DIR})
file(RELATIVE_PATH LAUNCHER_TO_TEMPLATE /${CMAKE_INSTALL_BINDIR}
     /${CUBRIX_DATA_DIR}/${CUBRIX_TEMPLATE_NAME})
configure_file(${_linux}/cubrix-launcher.sh.in ${CMAKE_BINARY_DIR}/install/cubrix @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/install/cubrix DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${PROJECT_SOURCE_DIR}/assets/workbook/${CUBRIX_TEMPLATE_NAME}
        DESTINATION ${CUBRIX_DATA_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/app/cubrix.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_linux}/${CUBRIX_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/assets/icon-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME cubrix.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/assets/icon.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME cubrix.svg)

# Manual page and change log go compressed, without a time stamp, as Debian
# keeps them.
find_program(CUBRIX_GZIP gzip REQUIRED)
set(_compressed ${CMAKE_BINARY_DIR}/install/cubrix.1.gz ${CMAKE_BINARY_DIR}/install/changelog.gz)
add_custom_command(
    OUTPUT ${_compressed}
    COMMAND ${CUBRIX_GZIP} -9nc ${_linux}/cubrix.1 > ${CMAKE_BINARY_DIR}/install/cubrix.1.gz
    COMMAND ${CUBRIX_GZIP} -9nc ${_linux}/debian/changelog > ${CMAKE_BINARY_DIR}/install/changelog.gz
    DEPENDS ${_linux}/cubrix.1 ${_linux}/debian/changelog
    COMMENT "Compressing the manual page and the change log")
add_custom_target(cubrix_install_docs ALL DEPENDS ${_compressed})
install(FILES ${CMAKE_BINARY_DIR}/install/cubrix.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/install/changelog.gz ${_linux}/debian/copyright
        DESTINATION ${CUBRIX_DOC_DIR})
install(FILES ${_linux}/debian/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME cubrix)
