# Settings of the Windows builds (the mingw-w64 toolchains in this folder).
# The Qt front-end is not built: src/win32 is the Windows one. Every program
# and the simulator DLL carry libstdc++, libgcc and winpthread inside them,
# so nothing but system DLLs (and the vendor's library) has to sit beside them.
set(TANDREL_GUI OFF)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
add_link_options(-static)

# GoogleTest from Debian's sources, built with the cross compiler; the
# config file beside this one lets the tests' find_package take it.
if(EXISTS /usr/src/googletest/CMakeLists.txt)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  set(GTest_DIR ${CMAKE_CURRENT_LIST_DIR}/gtest-config CACHE PATH "" FORCE)
endif()

# Each test case as a process of its own would start Wine once per case;
# under Wine one process per test program runs the same tests in a
# fraction of the time. The labels and filters of the callers are kept. A
# build whose programs cannot run here (i686) registers none.
include(GoogleTest)
function(gtest_discover_tests target)
  if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    return()
  endif()
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "TEST_FILTER;DISCOVERY_TIMEOUT;DISCOVERY_MODE;WORKING_DIRECTORY" "PROPERTIES;EXTRA_ARGS" )
  set(name win.${target})
  set(serial 2)
  while(TEST ${name})
    set(name win.${target}.${serial})
    math(EXPR serial "${serial} + 1")
  endwhile()
  set(args ${arg_EXTRA_ARGS})
  if(arg_TEST_FILTER)
    list(APPEND args --gtest_filter=${arg_TEST_FILTER})
  endif()
  add_test(NAME ${name} COMMAND ${target} ${args})
  if(arg_WORKING_DIRECTORY)
    set_tests_properties(${name} PROPERTIES WORKING_DIRECTORY ${arg_WORKING_DIRECTORY})
  endif()
  if(arg_PROPERTIES)
    set_tests_properties(${name} PROPERTIES ${arg_PROPERTIES})
  endif()
endfunction()
