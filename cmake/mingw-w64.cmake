# Cross-compiling for 64-bit Windows with Debian's MinGW-w64
# (g++-mingw-w64-x86-64): cmake --toolchain cmake/mingw-w64.cmake ...
# For the whole application, CMAKE_PREFIX_PATH must also name a Qt 6 built
# for MinGW (Debian ships none).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(NETCONFIG_MINGW_PREFIX x86_64-w64-mingw32 CACHE STRING "The cross tools' prefix")
set(CMAKE_C_COMPILER ${NETCONFIG_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${NETCONFIG_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${NETCONFIG_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${NETCONFIG_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
