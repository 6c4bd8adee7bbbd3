# Install layout and the Debian package.
#   bin/                              the programs: kaldor, kaldor-cli, ecu-sim (those this
#                                     configuration builds; a core-only build has none)
#   share/kaldor/lang, share/kaldor/sch   language files and the help folder; the programs look
#                                     there (../share/kaldor from their own folder) after the
#                                     working folder and their own folder
#   share/applications, share/icons   the desktop entry and its icon
# Included last, so every program target already exists.
include(GNUInstallDirs)

set(KALDOR_DATA_DESTINATION ${CMAKE_INSTALL_DATADIR}/kaldor)
foreach(program kaldor ecu-sim kaldor-cli)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT kaldor)
  endif()
endforeach()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/lang ${PROJECT_SOURCE_DIR}/sch
  DESTINATION ${KALDOR_DATA_DESTINATION} COMPONENT kaldor)
if(NOT WIN32)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/kaldor.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT kaldor)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/kaldor.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT kaldor)
endif()

# cpack -G DEB (run in the build folder): dpkg-shlibdeps works out the library packages the
# programs link against, with their least versions: the Qt 6 runtime (libqt6widgets6,
# libqt6serialport6, libqt6gui6, libqt6core6) and the C and C++ runtimes.
set(CPACK_PACKAGE_NAME kaldor)
set(CPACK_PACKAGE_VENDOR "KALDOR")
set(CPACK_PACKAGE_CONTACT "KALDOR service tool maintainers <kaldor@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "Service tool for the KALDOR DIESEL dual-fuel controller, with a virtual controller")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
