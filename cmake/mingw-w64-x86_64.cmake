# Cross build for 64-bit Windows with mingw-w64; the test programs run under Wine.
# The -posix compiler variant is needed: GoogleTest uses std::thread and std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PORDANE_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${PORDANE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PORDANE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${PORDANE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PORDANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Link the compiler's runtime (libstdc++, libgcc, winpthread) into every program,
# so a test program runs under Wine without any DLL copied beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Debian's wine64 package keeps its loader out of PATH.
find_program(PORDANE_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(PORDANE_WINE64)
  # The Wine prefix belongs to the build folder, so a test never touches a user's own
  # Wine registry; the wrapper creates it once, whichever test comes first.
  set(PORDANE_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH "Wine prefix of the test programs")
  set(CMAKE_CROSSCOMPILING_EMULATOR
      /bin/sh "${CMAKE_CURRENT_LIST_DIR}/wine-run.sh" "${PORDANE_WINE64}" "${PORDANE_WINEPREFIX}")
endif()
