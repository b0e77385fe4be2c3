# 64-bit Windows; the programs run here under Wine.
set(MINGW_TRIPLET x86_64-w64-mingw32)
set(WINDOWS_WIDL_TARGET --win64)
set(WINDOWS_IMPORTLIB_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
