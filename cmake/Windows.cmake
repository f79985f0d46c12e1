# Settings of the Windows builds (the mingw-w64 toolchains in this folder).
# The Qt front-end is not built: src/win32 is the Windows one. Every program
# and the simulator DLL carry libstdc++, libgcc and winpthread inside them,
# so nothing but system DLLs (and the vendor's library) has to sit beside them.
set(TANDREL_GUI OFF)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
add_link_options(-static)
# The optimisation the Linux build has; GCC 12 at -O3 warns falsely about
# overlapping copies inside std::string's concatenation.
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG")
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG")

# GoogleTest from Debian's sources, built with the cross compiler; the
# config file beside this one lets the tests' find_package take it.
if(EXISTS /usr/src/googletest/CMakeLists.txt)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  set(GTest_DIR ${CMAKE_CURRENT_LIST_DIR}/gtest-config CACHE PATH "" FORCE)
endif()

# The tests' GoogleTest module, replaced for the Windows builds (windows/).
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/windows)
