# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads: std::thread works).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VARNOK_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VARNOK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VARNOK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VARNOK_MINGW_PREFIX}-windres)

# Only the target's own folders: the build machine's headers and libraries are not for Windows.
set(CMAKE_FIND_ROOT_PATH /usr/${VARNOK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Single self-contained programs: no compiler run-time DLLs to copy beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Programs built here run under wine; the wrapper keeps each run inside the build's own wine prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
