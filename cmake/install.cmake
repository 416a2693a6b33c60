# Installing: the programs in bin/, the run-time folder in share/zemo (found by the programs from
# their own location), and what the desktop needs to offer Zemo for captures.
include(GNUInstallDirs)
# Installing (and cpack) takes what is built and builds nothing more: a build of the tests alone
# (the sanitizer build) installs and packages too.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

install(TARGETS zemo zemo-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/runtime/ DESTINATION ${CMAKE_INSTALL_DATADIR}/zemo
        USE_SOURCE_PERMISSIONS)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/samples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/zemo/samples)
install(FILES ${CMAKE_SOURCE_DIR}/desktop/zemo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/desktop/zemo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/tools/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${CMAKE_SOURCE_DIR}/desktop/zemo.1 ${CMAKE_SOURCE_DIR}/desktop/zemo-cli.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
