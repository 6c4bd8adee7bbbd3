# Precompiled headers for the targets whose sources spend most of their compile time reading the
# same large headers (GoogleTest, Qt Widgets, Qt Test). Each target precompiles its own set:
# their compile definitions differ, so one shared header would not be taken by the others.
option(KALDOR_PCH "Precompile the common headers of the Qt and test targets" ON)

set(kaldor_pch_std <algorithm> <array> <cstdint> <cstring> <functional> <map> <memory> <optional>
  <set> <string> <string_view> <utility> <vector>)
set(kaldor_pch_qt <QAction> <QApplication> <QCheckBox> <QComboBox> <QLabel> <QLineEdit>
  <QMainWindow> <QMenu> <QPushButton> <QString> <QTableWidget> <QTimer> <QWidget>)

# kaldor_precompile(TARGET KIND...): KIND is any of std, qt, gtest, qttest.
function(kaldor_precompile target)
  if(NOT KALDOR_PCH)
    return()
  endif()
  set(headers)
  foreach(kind ${ARGN})
    if(kind STREQUAL "std")
      list(APPEND headers ${kaldor_pch_std})
    elseif(kind STREQUAL "qt")
      list(APPEND headers ${kaldor_pch_qt})
    elseif(kind STREQUAL "gtest")
      list(APPEND headers <gtest/gtest.h>)
    elseif(kind STREQUAL "qttest")
      list(APPEND headers <QtTest/QTest>)
    else()
      message(FATAL_ERROR "kaldor_precompile: unknown kind ${kind}")
    endif()
  endforeach()
  target_precompile_headers(${target} PRIVATE ${headers})
endfunction()
