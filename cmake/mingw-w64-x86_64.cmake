# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix thread model, which std::thread
# and std::mutex need) and running the results under Wine:
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DKALDOR_WITH_QT=OFF -DKALDOR_GTEST_SOURCE=/usr/src/googletest
# and with the Qt of scripts/qt-mingw.sh (scripts/test.sh --windows, scripts/package.sh --windows):
#   cmake ... -DKALDOR_WITH_QT=ON -DCMAKE_PREFIX_PATH="$(scripts/qt-mingw.sh)" \
#         -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(kaldor_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${kaldor_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${kaldor_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${kaldor_mingw}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${kaldor_mingw})
# A Qt named by CMAKE_PREFIX_PATH is a root of its own, which the find root path would hide.
list(APPEND CMAKE_FIND_ROOT_PATH ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# How the C and C++ runtimes are linked depends on Qt (the project's CMakeLists.txt decides).
find_program(KALDOR_WINE NAMES wine64 wine)
if(KALDOR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KALDOR_WINE})
endif()
