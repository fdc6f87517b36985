# Cross build of the Windows executable with MinGW-w64 (Debian: g++-mingw-w64-x86-64).
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DPICTOSWAP_TESTS=OFF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PICTOSWAP_MINGW_PREFIX x86_64-w64-mingw32 CACHE STRING "Target triplet of the MinGW-w64 tools")
# The tool starts no threads, so either thread model of the compiler serves.
find_program(CMAKE_CXX_COMPILER NAMES ${PICTOSWAP_MINGW_PREFIX}-g++-posix
                                      ${PICTOSWAP_MINGW_PREFIX}-g++-win32
                                      ${PICTOSWAP_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${PICTOSWAP_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PICTOSWAP_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No MinGW DLLs beside the .exe: it runs on a bare Windows.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
