# Cross-compiling the Windows program with mingw-w64 (posix thread model, which GoogleTest needs).
# Included by the toolchain file of each target with ZAV_MINGW_TRIPLE and CMAKE_SYSTEM_PROCESSOR set.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${ZAV_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZAV_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZAV_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZAV_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# ctest runs the Windows test programs through Wine (the loader of the program's word size).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
