# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix thread model, which std::thread
# and std::mutex need) and running the results under Wine:
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DKALDOR_WITH_QT=OFF -DKALDOR_GTEST_SOURCE=/usr/src/googletest
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(kaldor_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${kaldor_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${kaldor_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${kaldor_mingw}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${kaldor_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The runtime libraries go into each program, so Wine needs no MinGW DLLs on its path.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
find_program(KALDOR_WINE NAMES wine64 wine)
if(KALDOR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KALDOR_WINE})
endif()
