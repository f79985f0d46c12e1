# The three Debian packages, made by CPack from the install components (what
# they hold: cmake/Install.cmake): tandrel, the station, tandrel-simulator,
# and tandrel-line, the line's service. A station that has the vendor's
# library installs only the first; the line's server, only the last. Built by `make package`, which configures a tree of its own with
# the prefix /usr.
set(TANDREL_PACKAGE_CONTACT "Tandrel developers <developers@tandrel.example>"
  CACHE STRING "Maintainer of the Debian packages, as \"Name <address>\"")

# Each package carries the copyright and the changelog in its documentation
# folder. The packages are built from this tree alone (native), so the
# changelog is changelog.gz and has one entry, for the version in project().
string(TIMESTAMP TANDREL_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in ${TANDREL_INSTALL_OUT}/changelog @ONLY)
tandrel_gzip(${TANDREL_INSTALL_OUT}/changelog ${TANDREL_INSTALL_OUT}/changelog.gz)
add_custom_target(package-changelog ALL DEPENDS ${TANDREL_INSTALL_OUT}/changelog.gz)

function(tandrel_package_documents component package)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${TANDREL_INSTALL_OUT}/changelog.gz
    DESTINATION ${TANDREL_DOC_DIR}/${package} COMPONENT ${component})
endfunction()
if(TARGET tandrel)
  tandrel_package_documents(station tandrel)
endif()
if(TARGET IFWD_DownloadDll)
  tandrel_package_documents(simulator tandrel-simulator)
endif()
set(TANDREL_PACKAGED station simulator)
if(TARGET tandrel-line)
  tandrel_package_documents(line tandrel-line)
  list(APPEND TANDREL_PACKAGED line)
endif()

# What the packages hold, to build before CPack runs without building the
# tests (the install step would otherwise build everything).
add_custom_target(package-contents DEPENDS package-changelog)
add_dependencies(package-contents ${TANDREL_SHIPPED_TARGETS} manual-pages)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tandrel)
set(CPACK_PACKAGE_VENDOR "Tandrel developers")
set(CPACK_PACKAGE_CONTACT "${TANDREL_PACKAGE_CONTACT}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${TANDREL_PACKAGED})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE tandrel)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_STATION_PACKAGE_NAME tandrel)
set(CPACK_DEBIAN_STATION_PACKAGE_SUGGESTS tandrel-simulator)
# Some of the window's texts are Korean, which needs a font with Hangul.
set(CPACK_DEBIAN_STATION_PACKAGE_RECOMMENDS "fonts-nanum | fonts-noto-cjk")
set(CPACK_DEBIAN_STATION_PACKAGE_CONTROL_EXTRA
  ${PROJECT_SOURCE_DIR}/packaging/postinst ${PROJECT_SOURCE_DIR}/packaging/postrm)
set(CPACK_DEBIAN_STATION_DESCRIPTION "firmware download station for up to eight phones at once
Tandrel writes firmware images into up to eight phones at once, one phone
per channel, through the phone maker's download library, which it loads
when it starts. The operator chooses the images, presses Start and plugs
the phones in; each row of the window follows one phone to Success or Fail.
A command line and a JSON journal let a station be automated.

This package holds the station, the udev rule that lets the operator at the
seat open the phones, a desktop menu entry and the manual page.")

set(CPACK_DEBIAN_SIMULATOR_PACKAGE_NAME tandrel-simulator)
set(CPACK_DEBIAN_SIMULATOR_PACKAGE_ENHANCES tandrel)
set(CPACK_DEBIAN_SIMULATOR_DESCRIPTION "target simulator and virtual bench of phones for Tandrel
A stand-in for the phone maker's download library that serves the phones of
a virtual bench, so that the Tandrel station runs a whole session without
phones or the vendor's library: downloads really copy the images into each
virtual phone's flash, at the speed of a shared USB 2.0 bus.

This package holds the library (which the station finds by itself when no
other is installed), tandrel-bench to make and drive benches, tandrel-pack to
build image files, and the description of the image format.")

set(CPACK_DEBIAN_LINE_PACKAGE_NAME tandrel-line)
set(CPACK_DEBIAN_LINE_PACKAGE_SECTION net)
set(CPACK_DEBIAN_LINE_PACKAGE_RECOMMENDS postgresql)
set(CPACK_DEBIAN_LINE_DESCRIPTION "line service for Tandrel stations: their results in PostgreSQL
The stations of a production line send the result of every phone they write
to tandrel-line, which keeps each result once in one PostgreSQL database,
however often a station sends it, and shows the line live: a page with a
tile per station and a cell per port, and a JSON API for scripts.

This package holds the service, its systemd unit (not enabled until the
database and the stations' tokens are set) and the manual page.")

include(CPack)
