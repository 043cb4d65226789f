# Installation and the Debian package: the programs, the text driver, the tips file and the
# desktop integration (menu entry, .dux file type, icon). Nothing is registered at install
# time outside the target folders; the program registers its text driver for the user
# (~/.odbcinst.ini) when it first needs it.
include(GNUInstallDirs)
set(DUXEL_DIST ${CMAKE_CURRENT_LIST_DIR})
set(DUXEL_ICONS ${CMAKE_SOURCE_DIR}/src/resources/icons)

install(TARGETS duxel duxel-cli casio-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The programs look for the driver in ../lib/duxel beside their own folder.
install(TARGETS duxeltxt LIBRARY DESTINATION lib/duxel NAMELINK_SKIP)
install(FILES ${CMAKE_SOURCE_DIR}/src/resources/Tips.txt
        DESTINATION ${CMAKE_INSTALL_DATADIR}/duxel)
install(FILES ${DUXEL_DIST}/duxel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${DUXEL_DIST}/duxel-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME duxel.xml)
install(FILES ${DUXEL_ICONS}/duxel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${DUXEL_ICONS}/duxel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes
        RENAME application-x-duxel.svg)
foreach(size 48 128)
  install(FILES ${DUXEL_ICONS}/duxel-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME duxel.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/duxel)

# A user prefix (cmake --install build --prefix ~/.local) gets its file-type and menu caches
# refreshed; a package build (DESTDIR) leaves that to the system's triggers.
install(CODE [[
  if("$ENV{DESTDIR}" STREQUAL "")
    find_program(DUXEL_UPDATE_MIME update-mime-database)
    find_program(DUXEL_UPDATE_DESKTOP update-desktop-database)
    if(DUXEL_UPDATE_MIME)
      execute_process(COMMAND ${DUXEL_UPDATE_MIME} "${CMAKE_INSTALL_PREFIX}/share/mime"
                      OUTPUT_QUIET ERROR_QUIET)
    endif()
    if(DUXEL_UPDATE_DESKTOP)
      execute_process(COMMAND ${DUXEL_UPDATE_DESKTOP} "${CMAKE_INSTALL_PREFIX}/share/applications"
                      OUTPUT_QUIET ERROR_QUIET)
    endif()
  endif()
]])

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME duxel)
set(CPACK_PACKAGE_VENDOR "Duxel")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Duxel developers <duxel@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop manager for Casio SF digital diaries")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Duxel keeps the data of Casio SF-series digital diaries (telephone book, business cards,\n"
    "memos, schedule, to-do, reminders, expenses, spreadsheets) in .dux documents, receives it\n"
    "from and sends it to a diary over a serial line, prints it and exchanges it with CSV files\n"
    "through its own ODBC text driver. Includes duxel-cli and the diary simulator casio-sim.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "unixodbc")
set(CPACK_STRIP_FILES ON)
include(CPack)
