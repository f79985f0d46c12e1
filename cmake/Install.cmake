# Where an installed Tandrel puts its files, in the three components that
# become the three Debian packages, `station`, `simulator` and `line`: what
# packaging/shipped.txt lists, and the few files named below.
include(GNUInstallDirs)

# The simulator's library carries the vendor library's own file name, so it
# stays out of the folders the system searches: a station that has the
# vendor's library installed must load that one. It lives in a private folder
# under the architecture's library folder (lib/<multiarch>/tandrel on Debian),
# which the station searches last, found from its own folder so that an
# install under any prefix finds it too.
set(TANDREL_PACKAGE_LIBRARY_DIR ${CMAKE_INSTALL_LIBDIR}/tandrel)
set(TANDREL_PACKAGE_LIBRARY_FULL_DIR ${CMAKE_INSTALL_PREFIX}/${TANDREL_PACKAGE_LIBRARY_DIR})
file(RELATIVE_PATH TANDREL_PACKAGE_LIBRARY_FROM_PROGRAM ${CMAKE_INSTALL_FULL_BINDIR} ${TANDREL_PACKAGE_LIBRARY_FULL_DIR})

# Where udev looks for the rules that packages bring: /usr/lib/udev/rules.d,
# or /usr/local/lib/udev/rules.d for a local install.
set(TANDREL_UDEV_RULES_DIR lib/udev/rules.d)
set(TANDREL_UDEV_RULES_FULL_DIR ${CMAKE_INSTALL_PREFIX}/${TANDREL_UDEV_RULES_DIR})
set(TANDREL_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc)
# Where systemd finds the units that packages bring.
set(TANDREL_SYSTEMD_UNIT_DIR lib/systemd/system)
set(TANDREL_SYSTEMD_UNIT_FULL_DIR ${CMAKE_INSTALL_PREFIX}/${TANDREL_SYSTEMD_UNIT_DIR})
set(TANDREL_INSTALL_OUT ${PROJECT_BINARY_DIR}/install)
# What the manual pages name: their date (SOURCE_DATE_EPOCH's when set) and
# where the image format is described.
string(TIMESTAMP TANDREL_RELEASE_DATE "%Y-%m-%d" UTC)
set(TANDREL_IMAGE_FORMAT_DOC ${CMAKE_INSTALL_PREFIX}/${TANDREL_DOC_DIR}/tandrel-simulator/image-format.md)

# Manual pages (and Debian's changelogs) are shipped compressed, without the
# time stamp gzip would otherwise put in, so that the same tree gives the
# same files.
function(tandrel_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND gzip -9nc ${source} > ${output}
    DEPENDS ${source} VERBATIM)
endfunction()

# The programs and the library, and each program's manual page, from the
# one list of what ships.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/shipped.txt TANDREL_SHIPPED REGEX "^[^#]")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/packaging/shipped.txt)
set(TANDREL_SHIPPED_TARGETS)
set(TANDREL_MANUAL_PAGES)
foreach(entry IN LISTS TANDREL_SHIPPED)
  string(REGEX MATCHALL "[^ \t]+" fields "${entry}")
  list(GET fields 0 name)
  list(GET fields 1 kind)
  list(GET fields 2 component)
  if(NOT TARGET ${name})
    continue()
  endif()
  list(APPEND TANDREL_SHIPPED_TARGETS ${name})
  if(kind STREQUAL "library")
    install(TARGETS ${name} LIBRARY DESTINATION ${TANDREL_PACKAGE_LIBRARY_DIR} COMPONENT ${component})
    continue()
  endif()
  # A program's page is in section 1; a service's, in section 8, and it runs
  # under systemd from its unit.
  if(kind STREQUAL "service")
    set(section 8)
    set(folder ${CMAKE_INSTALL_SBINDIR})
    configure_file(${PROJECT_SOURCE_DIR}/packaging/${name}.service.in ${TANDREL_INSTALL_OUT}/${name}.service @ONLY)
    install(FILES ${TANDREL_INSTALL_OUT}/${name}.service DESTINATION ${TANDREL_SYSTEMD_UNIT_DIR} COMPONENT ${component})
  else()
    set(section 1)
    set(folder ${CMAKE_INSTALL_BINDIR})
  endif()
  install(TARGETS ${name} RUNTIME DESTINATION ${folder} COMPONENT ${component})
  # The pages name the version and the installed folders.
  set(page ${TANDREL_INSTALL_OUT}/${name}.${section})
  configure_file(${PROJECT_SOURCE_DIR}/docs/${name}.${section}.in ${page} @ONLY)
  tandrel_gzip(${page} ${page}.gz)
  list(APPEND TANDREL_MANUAL_PAGES ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section} COMPONENT ${component})
endforeach()
add_custom_target(manual-pages ALL DEPENDS ${TANDREL_MANUAL_PAGES})

# What comes with the station besides: the phones' udev rule, the desktop
# entry and its icon.
if(TARGET tandrel)
  target_compile_definitions(tandrel PRIVATE
    TANDREL_PACKAGE_LIBRARY_FOLDER="${TANDREL_PACKAGE_LIBRARY_FROM_PROGRAM}")
  install(FILES ${PROJECT_SOURCE_DIR}/scripts/70-tandrel-phones.rules
    DESTINATION ${TANDREL_UDEV_RULES_DIR} COMPONENT station)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/tandrel.desktop
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications COMPONENT station)
  # The window's own icon, 64 pixels square.
  install(FILES ${PROJECT_SOURCE_DIR}/src/qt/tandrel.png
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/64x64/apps COMPONENT station)
endif()

# And with the simulator: the description of the image format.
if(TARGET IFWD_DownloadDll)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/image-format.md
    DESTINATION ${TANDREL_DOC_DIR}/tandrel-simulator COMPONENT simulator)
endif()
