# 32-bit Windows; these machines cannot run 32-bit code, so the files are checked statically.
set(MINGW_TRIPLET i686-w64-mingw32)
set(WINDOWS_WIDL_TARGET --win32)
# Wine's stdole2.tlb is only needed for its type declarations; the 64-bit copy serves.
set(WINDOWS_IMPORTLIB_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
