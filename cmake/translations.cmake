# The window's texts for translators and the translations for users.
#
#   <build>/translations/tessel.ts        the template: every text of the
#                                          window, made by lupdate from the
#                                          UI sources on every build
#   translations/tessel_<lang>.ts          a translation (source tree), made
#                                          from the template with Qt Linguist
#   <build>/translations/tessel_<lang>.qm  compiled by lrelease; the program
#                                          looks for it beside its binary
#   share/tessel/translations/             where the .qm files are installed
include(GNUInstallDirs)
find_package(Qt6 REQUIRED COMPONENTS LinguistTools)

set(TESSEL_TRANSLATIONS_DIR ${CMAKE_BINARY_DIR}/translations)
set(TESSEL_TRANSLATION_TEMPLATE ${TESSEL_TRANSLATIONS_DIR}/tessel.ts)
file(MAKE_DIRECTORY ${TESSEL_TRANSLATIONS_DIR})

# lupdate reads the file list from a file: the command line stays short.
set(lupdate_list ${TESSEL_TRANSLATIONS_DIR}/sources.lst)
string(JOIN "\n" lupdate_lines ${UI_SOURCES} ${UI_HEADERS})
file(GENERATE OUTPUT ${lupdate_list} CONTENT "${lupdate_lines}\n")
# -no-obsolete: a text taken out of the program leaves the template too.
add_custom_command(OUTPUT ${TESSEL_TRANSLATION_TEMPLATE}
  COMMAND Qt6::lupdate -silent -no-obsolete -locations relative -I ${CMAKE_SOURCE_DIR}/src @${lupdate_list}
          -ts ${TESSEL_TRANSLATION_TEMPLATE}
  DEPENDS ${UI_SOURCES} ${UI_HEADERS} ${lupdate_list}
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} VERBATIM)

file(GLOB TESSEL_TS_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/translations/tessel_*.ts)
set(TESSEL_QM_FILES)
foreach(ts IN LISTS TESSEL_TS_FILES)
  get_filename_component(name ${ts} NAME_WE)
  set(qm ${TESSEL_TRANSLATIONS_DIR}/${name}.qm)
  add_custom_command(OUTPUT ${qm}
    COMMAND Qt6::lrelease -silent ${ts} -qm ${qm}
    DEPENDS ${ts} VERBATIM)
  list(APPEND TESSEL_QM_FILES ${qm})
endforeach()
add_custom_target(translations ALL DEPENDS ${TESSEL_TRANSLATION_TEMPLATE} ${TESSEL_QM_FILES})
if(TESSEL_QM_FILES)
  install(FILES ${TESSEL_QM_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/tessel/translations)
endif()

# A translation for the tests only, into a language the program does not
# ship: it proves that a translation is found and changes the window.
if(TESSEL_TESTS)
  set(TESSEL_TEST_TRANSLATIONS_DIR ${CMAKE_BINARY_DIR}/test-translations)
  set(test_qm ${TESSEL_TEST_TRANSLATIONS_DIR}/tessel_eo.qm)
  add_custom_command(OUTPUT ${test_qm}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TESSEL_TEST_TRANSLATIONS_DIR}
    COMMAND Qt6::lrelease -silent ${CMAKE_SOURCE_DIR}/tests/support/tessel_eo.ts -qm ${test_qm}
    DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/tessel_eo.ts VERBATIM)
  add_custom_target(test_translations DEPENDS ${test_qm})
endif()

# Qt's own translations (the standard buttons) come with Debian's package.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
