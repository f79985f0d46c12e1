# The GoogleTest module of the Windows builds, found before CMake's own.
# Each test case as a process of its own would start Wine once per case;
# under Wine one process per test program runs the same tests in a
# fraction of the time. The labels and filters of the callers are kept. A
# build whose programs cannot run here (i686) registers none.
function(gtest_discover_tests target)
  if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    return()
  endif()
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "TEST_FILTER;DISCOVERY_TIMEOUT;DISCOVERY_MODE;WORKING_DIRECTORY" "PROPERTIES;EXTRA_ARGS")
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
