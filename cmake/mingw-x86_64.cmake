# The 64-bit Windows program, ZAVExport64.exe.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZAV_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
