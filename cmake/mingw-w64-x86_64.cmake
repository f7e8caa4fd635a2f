# Cross-compiles Tenebrix for 64-bit Windows with Debian's mingw-w64 (g++, the
# posix threads variant, for std::thread and std::mutex):
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#
# CTest then runs the test programs under Wine (see the top CMakeLists.txt).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TENEBRIX_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TENEBRIX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TENEBRIX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TENEBRIX_MINGW_PREFIX}-windres)

# Headers and libraries of the target only; programs of the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${TENEBRIX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
