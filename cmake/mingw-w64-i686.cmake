# The 32-bit Windows station, for a vendor library that is a 32-bit DLL:
# cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
# Built and checked, never run here: these machines cannot execute 32-bit code.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TANDREL_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
