# Installing Tessel as a desktop application, and its Debian package.
#
#   bin/tessel
#   share/applications/<id>.desktop
#   share/metainfo/<id>.metainfo.xml
#   share/icons/hicolor/<S>x<S>/apps/<id>.png   S = 16 32 48 64 128 256
#   share/man/man1/tessel.1.gz
#
# `cmake --install` (DESTDIR honoured) puts them under the prefix; `cpack`
# (the `package` target) makes tessel_<version>_<arch>.deb installing under
# /usr. tests/install/check_install.sh checks both.
include(GNUInstallDirs)

# TESSEL_APP_ID (set beside the UI library) names the desktop entry, the
# AppStream component and the icon.
set(TESSEL_HOMEPAGE "https://github.com/tesseleditor/tessel" CACHE STRING
    "The project's home page, named by the AppStream metainfo and the package")
set(TESSEL_LICENSE "LicenseRef-proprietary" CACHE STRING
    "SPDX expression of the program's license, for the AppStream metainfo")
# Who answers for the package and the metainfo. A real address is given at
# configure time (-DTESSEL_CONTACT=... or the environment); `make package`
# refuses the placeholder.
set(TESSEL_CONTACT_PLACEHOLDER "Tessel contact not set <contact-not-set@tessel.invalid>")
if(DEFINED ENV{TESSEL_CONTACT} AND NOT "$ENV{TESSEL_CONTACT}" STREQUAL "")
  set(contact_default "$ENV{TESSEL_CONTACT}")
else()
  set(contact_default "${TESSEL_CONTACT_PLACEHOLDER}")
endif()
set(TESSEL_CONTACT "${contact_default}" CACHE STRING "Name <address> of the package's maintainer")
string(REGEX REPLACE "^.*<([^>]+)>.*$" "\\1" TESSEL_CONTACT_ADDRESS "${TESSEL_CONTACT}")
# The date of the release named by PROJECT_VERSION.
set(TESSEL_RELEASE_DATE "2026-12-08")
# The screenshot is docs/screenshot.png of the project, as the home page serves it.
set(TESSEL_SCREENSHOT_PATH "docs/screenshot.png")
set(TESSEL_SCREENSHOT_URL "${TESSEL_HOMEPAGE}/raw/main/${TESSEL_SCREENSHOT_PATH}")

set(desktop_dir ${CMAKE_BINARY_DIR}/desktop)
configure_file(${CMAKE_SOURCE_DIR}/data/tessel.desktop.in
               ${desktop_dir}/${TESSEL_APP_ID}.desktop @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/data/tessel.metainfo.xml.in
               ${desktop_dir}/${TESSEL_APP_ID}.metainfo.xml @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/data/tessel.1.in ${desktop_dir}/tessel.1.in @ONLY)

# The package's copyright file and changelog, which Debian requires in
# share/doc/tessel (the changelog in the Debian format, compressed).
execute_process(COMMAND date -u -R -d "${TESSEL_RELEASE_DATE}" OUTPUT_VARIABLE TESSEL_RELEASE_DATE_RFC
                OUTPUT_STRIP_TRAILING_WHITESPACE)
configure_file(${CMAKE_SOURCE_DIR}/data/copyright.in ${desktop_dir}/copyright @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/data/changelog.in ${desktop_dir}/changelog @ONLY)
add_custom_command(OUTPUT ${desktop_dir}/changelog.gz
  COMMAND gzip -9 -n -c ${desktop_dir}/changelog > ${desktop_dir}/changelog.gz
  DEPENDS ${desktop_dir}/changelog VERBATIM)

# The man page's commands come from the command table that --help prints.
add_executable(make-man-page tools/make_man_page.cpp)
target_link_libraries(make-man-page PRIVATE tessel_ui)
add_custom_command(OUTPUT ${desktop_dir}/tessel.1
  COMMAND make-man-page ${desktop_dir}/tessel.1.in ${desktop_dir}/tessel.1
  DEPENDS make-man-page ${desktop_dir}/tessel.1.in VERBATIM)

# The man page, compressed as Debian keeps them (-n: no time stamp inside).
add_custom_command(OUTPUT ${desktop_dir}/tessel.1.gz
  COMMAND gzip -9 -n -c ${desktop_dir}/tessel.1 > ${desktop_dir}/tessel.1.gz
  DEPENDS ${desktop_dir}/tessel.1 VERBATIM)

# The icon in every size, from the program's own 16 and 32 pixel pictures.
add_executable(make-app-icons tools/make_app_icons.cpp)
target_link_libraries(make-app-icons PRIVATE Qt6::Gui)
set(icon_pictures ${CMAKE_SOURCE_DIR}/src/resources/icons/129.png
                  ${CMAKE_SOURCE_DIR}/src/resources/icons/128.png)
set(icon_stamp ${desktop_dir}/icons.stamp)
add_custom_command(OUTPUT ${icon_stamp}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${desktop_dir}/hicolor
  COMMAND make-app-icons ${desktop_dir}/hicolor ${TESSEL_APP_ID} ${icon_pictures}
  COMMAND ${CMAKE_COMMAND} -E touch ${icon_stamp}
  DEPENDS make-app-icons ${icon_pictures} VERBATIM)
add_custom_target(desktop_files ALL DEPENDS ${icon_stamp} ${desktop_dir}/tessel.1.gz ${desktop_dir}/changelog.gz)

install(TARGETS tessel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${desktop_dir}/${TESSEL_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop_dir}/${TESSEL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${desktop_dir}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${desktop_dir}/tessel.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${desktop_dir}/copyright ${desktop_dir}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tessel)

# --- The Debian package -----------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessel)
set(CPACK_PACKAGE_VENDOR "The Tessel developers")
set(CPACK_PACKAGE_CONTACT "${TESSEL_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the character sprites of an Oakenshore ROM")
set(CPACK_PACKAGE_DESCRIPTION
    "Tessel opens a ROM image of the Super Nintendo game Oakenshore, lets you paint\n"
    "its 1144 character sprites and edit its 32 palettes, and writes them back\n"
    "into the ROM in place.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TESSEL_HOMEPAGE})
# The libraries come from the binary (dpkg-shlibdeps). Qt loads its display
# plugins at run time, which no library lookup can see: that one is named.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
include(CPack)

if(TESSEL_TESTS)
  add_test(NAME install_and_package
    COMMAND ${CMAKE_SOURCE_DIR}/tests/install/check_install.sh
            ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR} ${TESSEL_APP_ID})
  set_tests_properties(install_and_package PROPERTIES LABELS install TIMEOUT 300)
endif()
