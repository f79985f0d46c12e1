# The version lives in project(VERSION) alone. Code reads it from one
# generated header (the --version text, the About box), which also gives its
# numbers as plain integers, as a Windows version resource wants them.
if(PROJECT_VERSION_PATCH STREQUAL "")
  set(TANDREL_VERSION_PATCH 0)
else()
  set(TANDREL_VERSION_PATCH ${PROJECT_VERSION_PATCH})
endif()
set(TANDREL_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/TandrelVersion.h.in ${TANDREL_GENERATED_DIR}/TandrelVersion.h @ONLY)
target_include_directories(tandrel_core PUBLIC ${TANDREL_GENERATED_DIR})
