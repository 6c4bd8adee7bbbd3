# Install layout and the Debian package.
#   bin/                              the programs: kaldor, kaldor-cli, ecu-sim (those this
#                                     configuration builds; a core-only build has none)
#   share/kaldor/lang, share/kaldor/sch   language files and the help folder; the programs look
#                                     there (../share/kaldor from their own folder) after the
#                                     working folder and their own folder
#   share/kaldor/sch/images           the manual's pictures (docs/*.png)
#   share/man/man1                    the manual pages of the three programs
#   share/doc/kaldor                  the README and the manual (index.html with its pictures)
#   share/applications, share/icons   the desktop entry and its icon
# On Windows one folder holds it all, as the programs look beside themselves first:
#   kaldor.exe, kaldor-cli.exe, the DLLs and plugins (cmake/windows_runtime.cmake)
#   lang/, sch/ with sch/images/      language files, the help folder and the manual's pictures
#   README.md, licences/              the README and the licence texts of what is shipped
# Included last, so every program target already exists.
include(GNUInstallDirs)

if(WIN32)
  set(KALDOR_BIN_DESTINATION .)
  set(KALDOR_DATA_DESTINATION .)
  set(KALDOR_DOC_DESTINATION .)
else()
  set(KALDOR_BIN_DESTINATION ${CMAKE_INSTALL_BINDIR})
  set(KALDOR_DATA_DESTINATION ${CMAKE_INSTALL_DATADIR}/kaldor)
  set(KALDOR_DOC_DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()
foreach(program kaldor ecu-sim kaldor-cli)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${KALDOR_BIN_DESTINATION} COMPONENT kaldor)
  endif()
endforeach()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/lang ${PROJECT_SOURCE_DIR}/sch
  DESTINATION ${KALDOR_DATA_DESTINATION} COMPONENT kaldor)
file(GLOB KALDOR_MANUAL_IMAGES ${PROJECT_SOURCE_DIR}/docs/*.png)
install(FILES ${KALDOR_MANUAL_IMAGES}
  DESTINATION ${KALDOR_DATA_DESTINATION}/sch/images COMPONENT kaldor)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${KALDOR_DOC_DESTINATION}
  COMPONENT kaldor)
if(WIN32)
  # The manual is sch/index.html with its pictures, already beside the programs. The licences:
  # Qt's (its DLLs are shipped; cmake/windows_runtime.cmake) and the MinGW-w64 runtime's, as
  # Debian states them.
  if(KALDOR_QT_LICENCES)
    install(FILES ${KALDOR_QT_LICENCES} DESTINATION licences/qt COMPONENT kaldor)
  endif()
  foreach(package gcc-mingw-w64-base mingw-w64-common)
    if(EXISTS /usr/share/doc/${package}/copyright)
      install(FILES /usr/share/doc/${package}/copyright DESTINATION licences
        RENAME ${package}.txt COMPONENT kaldor)
    endif()
  endforeach()
  return()
endif()

foreach(program kaldor ecu-sim kaldor-cli)
  if(TARGET ${program})
    install(FILES ${PROJECT_SOURCE_DIR}/docs/man/${program}.1
      DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT kaldor)
  endif()
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/sch/index.html DESTINATION ${CMAKE_INSTALL_DOCDIR}
  COMPONENT kaldor)
install(FILES ${KALDOR_MANUAL_IMAGES}
  DESTINATION ${CMAKE_INSTALL_DOCDIR}/images COMPONENT kaldor)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/kaldor.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT kaldor)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/kaldor.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT kaldor)

# cpack -G DEB (run in the build folder): dpkg-shlibdeps works out the library packages the
# programs link against, with their least versions: the Qt 6 runtime (libqt6widgets6,
# libqt6printsupport6, libqt6serialport6, libqt6gui6, libqt6core6) and the C and C++ runtimes.
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
