# What the Qt programs need beside them on Windows, which has no shared library folder for them:
# the Qt DLLs they link, the plugins Qt loads (the platforms windows and offscreen, the styles)
# and the MinGW-w64 runtime DLLs that Qt's DLLs and the programs share. The build copies them
# into the programs' folder, so bin/ starts as it is under Wine (the tests too); the install puts
# them beside the installed programs (scripts/package.sh --windows).
# The licence texts the packages ship with Qt's DLLs, from the source the Qt was built from.
set(KALDOR_QT_LICENCES)
if(KALDOR_QT_SOURCE)
  foreach(text LGPL-3.0-only GPL-2.0-only GPL-3.0-only Qt-GPL-exception-1.0)
    list(APPEND KALDOR_QT_LICENCES ${KALDOR_QT_SOURCE}/LICENSES/${text}.txt)
  endforeach()
  if(EXISTS ${KALDOR_QT_SOURCE}/debian/copyright)
    configure_file(${KALDOR_QT_SOURCE}/debian/copyright
      ${CMAKE_BINARY_DIR}/licences/qtbase-copyright.txt COPYONLY)
    list(APPEND KALDOR_QT_LICENCES ${CMAKE_BINARY_DIR}/licences/qtbase-copyright.txt)
  endif()
endif()

set(kaldor_qt_dll_targets Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport)
set(kaldor_qt_plugins
  platforms Qt6::QWindowsIntegrationPlugin
  platforms Qt6::QOffscreenIntegrationPlugin
  styles Qt6::QWindowsVistaStylePlugin)

# The runtime DLLs wherever this compiler finds its libraries (the posix thread model's own).
set(kaldor_runtime_dlls)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
    OUTPUT_VARIABLE kaldor_dll OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${kaldor_dll}" OR NOT EXISTS "${kaldor_dll}")
    message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not find ${dll}, which the Qt DLLs need")
  endif()
  list(APPEND kaldor_runtime_dlls ${kaldor_dll})
endforeach()

set(kaldor_runtime_commands)
set(kaldor_runtime_files)
foreach(dll ${kaldor_runtime_dlls})
  list(APPEND kaldor_runtime_commands
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${dll} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/)
endforeach()
foreach(target ${kaldor_qt_dll_targets})
  list(APPEND kaldor_runtime_commands COMMAND ${CMAKE_COMMAND} -E copy_if_different
    $<TARGET_FILE:${target}> ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/)
  install(FILES $<TARGET_FILE:${target}> DESTINATION . COMPONENT kaldor)
endforeach()
set(kaldor_plugin_folders)
while(kaldor_qt_plugins)
  list(POP_FRONT kaldor_qt_plugins folder plugin)
  # A Qt built without a plugin (a style left out) lacks its target: nothing to ship then.
  if(NOT TARGET ${plugin})
    continue()
  endif()
  list(APPEND kaldor_runtime_commands
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${folder}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${plugin}>
      ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${folder}/)
  install(FILES $<TARGET_FILE:${plugin}> DESTINATION ${folder} COMPONENT kaldor)
endwhile()
install(FILES ${kaldor_runtime_dlls} DESTINATION . COMPONENT kaldor)

# Built by default, and named by the scripts that build single targets.
add_custom_target(kaldor_windows_runtime ALL ${kaldor_runtime_commands} VERBATIM)
# Whichever of the Qt programs is built alone finds its DLLs beside it.
foreach(program kaldor kaldor-cli widget_tests dialog_tests logic_tests window_tests cli_tests)
  if(TARGET ${program})
    add_dependencies(${program} kaldor_windows_runtime)
  endif()
endforeach()
