# Where an installed Tandrel puts its files, in two components that become
# the two Debian packages: `station` (the program, the phones' udev rule, the
# desktop entry with its icon, the manual page) and `simulator` (the stand-in
# download library, the bench and packer tools, the image format document).
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
set(TANDREL_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc)
set(TANDREL_INSTALL_OUT ${PROJECT_BINARY_DIR}/install)
# What the manual pages name: their date and where the image format is described.
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

if(TARGET tandrel)
  target_compile_definitions(tandrel PRIVATE
    TANDREL_PACKAGE_LIBRARY_FOLDER="${TANDREL_PACKAGE_LIBRARY_FROM_PROGRAM}")
  install(TARGETS tandrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT station)
  install(FILES ${PROJECT_SOURCE_DIR}/scripts/70-tandrel-phones.rules
    DESTINATION ${TANDREL_UDEV_RULES_DIR} COMPONENT station)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/tandrel.desktop
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications COMPONENT station)
  # The window's own icon, 64 pixels square.
  install(FILES ${PROJECT_SOURCE_DIR}/src/qt/tandrel.png
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/64x64/apps COMPONENT station)

  # The manual page names the version and the installed folders.
  set(TANDREL_UDEV_RULES_FULL_DIR ${CMAKE_INSTALL_PREFIX}/${TANDREL_UDEV_RULES_DIR})
  configure_file(${PROJECT_SOURCE_DIR}/docs/tandrel.1.in ${TANDREL_INSTALL_OUT}/tandrel.1 @ONLY)
  tandrel_gzip(${TANDREL_INSTALL_OUT}/tandrel.1 ${TANDREL_INSTALL_OUT}/tandrel.1.gz)
  add_custom_target(manual-page ALL DEPENDS ${TANDREL_INSTALL_OUT}/tandrel.1.gz)
  install(FILES ${TANDREL_INSTALL_OUT}/tandrel.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT station)
endif()

# The reader of the station's results store comes with the station.
if(TARGET tandrel-results)
  install(TARGETS tandrel-results RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT station)
  configure_file(${PROJECT_SOURCE_DIR}/docs/tandrel-results.1.in ${TANDREL_INSTALL_OUT}/tandrel-results.1 @ONLY)
  tandrel_gzip(${TANDREL_INSTALL_OUT}/tandrel-results.1 ${TANDREL_INSTALL_OUT}/tandrel-results.1.gz)
  add_custom_target(results-manual-page ALL DEPENDS ${TANDREL_INSTALL_OUT}/tandrel-results.1.gz)
  install(FILES ${TANDREL_INSTALL_OUT}/tandrel-results.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT station)
endif()

if(TARGET IFWD_DownloadDll)
  install(TARGETS IFWD_DownloadDll LIBRARY DESTINATION ${TANDREL_PACKAGE_LIBRARY_DIR} COMPONENT simulator)
  install(TARGETS tandrel-bench tandrel-pack RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT simulator)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/image-format.md
    DESTINATION ${TANDREL_DOC_DIR}/tandrel-simulator COMPONENT simulator)
  foreach(tool tandrel-bench tandrel-pack)
    configure_file(${PROJECT_SOURCE_DIR}/docs/${tool}.1.in ${TANDREL_INSTALL_OUT}/${tool}.1 @ONLY)
    tandrel_gzip(${TANDREL_INSTALL_OUT}/${tool}.1 ${TANDREL_INSTALL_OUT}/${tool}.1.gz)
    list(APPEND TANDREL_TOOL_PAGES ${TANDREL_INSTALL_OUT}/${tool}.1.gz)
  endforeach()
  add_custom_target(tool-manual-pages ALL DEPENDS ${TANDREL_TOOL_PAGES})
  install(FILES ${TANDREL_TOOL_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT simulator)
endif()
