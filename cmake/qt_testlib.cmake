# Qt Test for a Qt built without it (the MinGW-w64 Qt of scripts/qt-mingw.sh leaves it out): its
# sources from that Qt's own source tree (KALDOR_QT_SOURCE), built as a static library of the
# tests under the name they link, Qt6::Test. Its headers are laid out as an installed Qt has them
# (<QtTest/...>, <QtTest/private/...>, <QTest>), with the configuration headers its own build
# would generate.
set(kaldor_testlib_source ${KALDOR_QT_SOURCE}/src/testlib)
if(NOT EXISTS ${kaldor_testlib_source}/qtestcase.cpp)
  message(FATAL_ERROR "Qt Test is missing and KALDOR_QT_SOURCE has no src/testlib")
endif()
set(kaldor_testlib_include ${CMAKE_BINARY_DIR}/qt-testlib/include)

file(GLOB kaldor_testlib_headers ${kaldor_testlib_source}/*.h)
file(GLOB kaldor_testlib_private ${kaldor_testlib_source}/*_p.h ${kaldor_testlib_source}/3rdparty/*.h)
list(REMOVE_ITEM kaldor_testlib_headers ${kaldor_testlib_private})
file(COPY ${kaldor_testlib_headers} DESTINATION ${kaldor_testlib_include}/QtTest)
file(COPY ${kaldor_testlib_private} DESTINATION ${kaldor_testlib_include}/QtTest/private)
# A static library: no exports, and every inline API defined in the headers.
file(WRITE ${kaldor_testlib_include}/QtTest/qttestexports.h [=[
#ifndef QTTESTEXPORTS_H
#define QTTESTEXPORTS_H
#include <QtCore/qglobal.h>
#define Q_TESTLIB_EXPORT
#define QT_TESTLIB_INLINE_SINCE(major, minor) inline
#define QT_TESTLIB_INLINE_IMPL_SINCE(major, minor) 1
#define QT_TESTLIB_REMOVED_SINCE(major, minor) 0
#endif
]=])
file(WRITE ${kaldor_testlib_include}/QtTest/qttestlib-config.h [=[
#define QT_FEATURE_testlib_selfcover -1
#define QT_FEATURE_itemmodeltester 1
#define QT_FEATURE_valgrind -1
]=])
file(WRITE ${kaldor_testlib_include}/QtTest/private/qttestlib-config_p.h "\n")
file(WRITE ${kaldor_testlib_include}/QtTest/qttestversion.h
  "#define QTTEST_VERSION_STR QT_VERSION_STR\n#define QTTEST_VERSION QT_VERSION\n")
foreach(pair "QTest=qtest.h" "QSignalSpy=qsignalspy.h" "QtTest=qtest.h")
  string(REPLACE "=" ";" pair "${pair}")
  list(GET pair 0 name)
  list(GET pair 1 header)
  file(WRITE ${kaldor_testlib_include}/QtTest/${name} "#include \"${header}\"\n")
endforeach()

set(kaldor_testlib_sources)
foreach(name qabstracttestlogger qasciikey qbenchmark qbenchmarkevent qbenchmarkmeasurement
    qbenchmarkmetric qbenchmarkperfevents qcsvbenchmarklogger qjunittestlogger qplaintestlogger
    qsignaldumper qtaptestlogger qteamcitylogger qtestblacklist qtestcase qtestdata qtestelement
    qtestelementattribute qtestjunitstreamer qtestlog qtestmouse qtestresult qtesttable
    qxmltestlogger qabstractitemmodeltester)
  list(APPEND kaldor_testlib_sources ${kaldor_testlib_source}/${name}.cpp)
endforeach()
# The headers with Q_OBJECT (or Q_NAMESPACE) for AUTOMOC.
list(APPEND kaldor_testlib_sources ${kaldor_testlib_source}/qabstractitemmodeltester.h
  ${kaldor_testlib_source}/qtestlog_p.h ${kaldor_testlib_source}/qtesteventloop.h)

add_library(kaldor_qt_test STATIC ${kaldor_testlib_sources})
set_target_properties(kaldor_qt_test PROPERTIES AUTOMOC ON)
# Qt's sources name their private headers without a folder.
target_include_directories(kaldor_qt_test
  PUBLIC ${kaldor_testlib_include} ${kaldor_testlib_include}/QtTest
  PRIVATE ${kaldor_testlib_source})
target_compile_definitions(kaldor_qt_test PRIVATE QT_BUILD_TESTLIB_LIB QT_NO_CAST_FROM_ASCII
  QT_NO_CAST_TO_ASCII QT_NO_FOREACH QT_NO_MESSAGELOGCONTEXT QT_USE_QSTRINGBUILDER
  PUBLIC QT_TESTLIB_LIB)
# Qt's own code: its warnings are not this project's to fix.
target_compile_options(kaldor_qt_test PRIVATE -w)
target_link_libraries(kaldor_qt_test PUBLIC Qt6::Core PRIVATE Qt6::CorePrivate)
add_library(Qt6::Test ALIAS kaldor_qt_test)
