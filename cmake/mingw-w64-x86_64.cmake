# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (posix thread model, which
# GoogleTest needs for std::mutex) and runs the results under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUORIEL_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUORIEL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUORIEL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QUORIEL_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUORIEL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# wine64 is not on PATH in Debian's package; ctest needs the absolute path.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)

# Everything static: the module and the test programs import system DLLs only.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
