# Installing and packaging. `cmake --install` puts the programs in
# lib/tessarion/ with a link resource/ beside them to the shipped data in
# share/tessarion/resource/ (the installed program folder, which the program
# only reads), links to the programs in bin/, and the menu entry, icon,
# AppStream metainfo, manual pages, bash completion, copyright and changelog
# under share/. `cpack -G DEB` in the build folder makes the Debian package
# tessarion_<version>_<arch>.deb.
set(TESSARION_PROGRAM_DIR lib/tessarion)
set(TESSARION_DATA_DIR share/tessarion)
set(TESSARION_DOC_DIR share/doc/tessarion)
set(TESSARION_APP_ID org.tessarion.Tessarion)
set(TESSARION_ICON_SIZES 16 32 48 64 128 256)

# Who answers for the package, and where its home and bug tracker are: set them
# when making a release (-DTESSARION_MAINTAINER=... and so on).
set(TESSARION_MAINTAINER "The Tessarion developers <tessarion@example.org>" CACHE STRING
  "Maintainer of the Debian package and the upstream contact: Name <address>")
set(TESSARION_HOMEPAGE "https://tessarion.example.org/" CACHE STRING "The project's home page")
set(TESSARION_BUGTRACKER "https://tessarion.example.org/issues" CACHE STRING "Where bugs are reported")

# The changelog's latest entry is the project's version: checked here so that
# the two never part.
set(PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
file(STRINGS ${PACKAGING_DIR}/changelog.in CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT CHANGELOG_TOP MATCHES "^tessarion \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog.in starts with \"${CHANGELOG_TOP}\": its latest entry must be "
    "the project's version ${PROJECT_VERSION} (the project line of CMakeLists.txt)")
endif()
# The release date of the latest entry, for the AppStream metainfo.
file(STRINGS ${PACKAGING_DIR}/changelog.in CHANGELOG_DATES REGEX "^ -- ")
list(GET CHANGELOG_DATES 0 CHANGELOG_DATE)
string(REGEX MATCH "([0-9]+) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9])" _ "${CHANGELOG_DATE}")
set(_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND _months "${CMAKE_MATCH_2}" _month)
math(EXPR _month "${_month} + 1")
string(LENGTH "${_month}" _length)
if(_length EQUAL 1)
  set(_month "0${_month}")
endif()
string(LENGTH "${CMAKE_MATCH_1}" _length)
set(_day "${CMAKE_MATCH_1}")
if(_length EQUAL 1)
  set(_day "0${_day}")
endif()
set(TESSARION_RELEASE_DATE "${CMAKE_MATCH_3}-${_month}-${_day}")

# The screenshots of the metainfo: made by the test suite (build folder,
# screenshots/) from the real windows, published under the home page.
string(REGEX REPLACE "/+$" "" _home "${TESSARION_HOMEPAGE}")
set(TESSARION_SCREENSHOTS "${_home}/screenshots")

set(GENERATED_PACKAGING ${CMAKE_BINARY_DIR}/packaging)
configure_file(${PACKAGING_DIR}/changelog.in ${GENERATED_PACKAGING}/changelog @ONLY)
configure_file(${PACKAGING_DIR}/copyright.in ${GENERATED_PACKAGING}/copyright @ONLY)
configure_file(${PACKAGING_DIR}/${TESSARION_APP_ID}.metainfo.xml.in
  ${GENERATED_PACKAGING}/${TESSARION_APP_ID}.metainfo.xml @ONLY)

set(TESSARION_PROGRAMS tessarion tessarion-tool)
if(TARGET tessarion-tray)
  list(APPEND TESSARION_PROGRAMS tessarion-tray)
endif()
install(TARGETS ${TESSARION_PROGRAMS} RUNTIME DESTINATION ${TESSARION_PROGRAM_DIR})
# The shipped data is the same on every architecture: it lives under share/,
# and the program folder reaches it through a link. Its licence file stays
# beside it (the About window points there) and is also in the documentation,
# where Debian looks for the licence texts the dictionaries ask a package to carry.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resource/ DESTINATION ${TESSARION_DATA_DIR}/resource)
install(FILES ${CMAKE_SOURCE_DIR}/resource/DATA_LICENSE.txt DESTINATION ${TESSARION_DOC_DIR})
install(CODE "
  set(lib \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${TESSARION_PROGRAM_DIR}\")
  file(MAKE_DIRECTORY \"\${lib}\")
  file(CREATE_LINK \"../../${TESSARION_DATA_DIR}/resource\" \"\${lib}/resource\" SYMBOLIC)")
# The programs find resource/ beside their real file, so bin/ holds links.
foreach(program IN LISTS TESSARION_PROGRAMS)
  install(CODE "
    set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(MAKE_DIRECTORY \"\${bin}\")
    file(CREATE_LINK \"../${TESSARION_PROGRAM_DIR}/${program}\" \"\${bin}/${program}\" SYMBOLIC)")
endforeach()

install(FILES ${PACKAGING_DIR}/${TESSARION_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${GENERATED_PACKAGING}/${TESSARION_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${PACKAGING_DIR}/icons/${TESSARION_APP_ID}.svg DESTINATION share/icons/hicolor/scalable/apps)
foreach(size IN LISTS TESSARION_ICON_SIZES)
  install(FILES ${PACKAGING_DIR}/icons/${TESSARION_APP_ID}-${size}.png
    DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ${TESSARION_APP_ID}.png)
endforeach()

# Manual pages and the bash completion, made from the programs' own option
# texts; the copyright and the changelog as Debian keeps them.
find_program(HELP2MAN_PROGRAM help2man)
if(HELP2MAN_PROGRAM)
  set(MAN_PAGES ${GENERATED_PACKAGING}/man/tessarion.1.gz ${GENERATED_PACKAGING}/man/tessarion-tool.1.gz
    ${GENERATED_PACKAGING}/man/tessarion-tray.1.gz)
  add_custom_command(OUTPUT ${MAN_PAGES}
    COMMAND bash ${PACKAGING_DIR}/make-man-pages ${CMAKE_BINARY_DIR} ${GENERATED_PACKAGING}/man
    DEPENDS ${TESSARION_PROGRAMS} ${PACKAGING_DIR}/make-man-pages ${PACKAGING_DIR}/changelog.in
    COMMENT "Making the manual pages from the programs' --help")
  add_custom_target(man_pages ALL DEPENDS ${MAN_PAGES})
  install(FILES ${MAN_PAGES} DESTINATION share/man/man1)
else()
  message(WARNING "help2man is missing (scripts/deps installs it): the manual pages are not made")
endif()
add_custom_command(OUTPUT ${GENERATED_PACKAGING}/tessarion-tool.bash
  COMMAND tessarion-tool completion > ${GENERATED_PACKAGING}/tessarion-tool.bash
  DEPENDS tessarion-tool
  COMMENT "Making the bash completion of tessarion-tool")
add_custom_command(OUTPUT ${GENERATED_PACKAGING}/changelog.gz
  COMMAND gzip -9n -c ${GENERATED_PACKAGING}/changelog > ${GENERATED_PACKAGING}/changelog.gz
  DEPENDS ${GENERATED_PACKAGING}/changelog)
add_custom_target(package_files ALL
  DEPENDS ${GENERATED_PACKAGING}/tessarion-tool.bash ${GENERATED_PACKAGING}/changelog.gz)
install(FILES ${GENERATED_PACKAGING}/tessarion-tool.bash DESTINATION share/bash-completion/completions
  RENAME tessarion-tool)
install(FILES ${GENERATED_PACKAGING}/copyright ${GENERATED_PACKAGING}/changelog.gz DESTINATION ${TESSARION_DOC_DIR})

# --- the Debian package ---------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessarion)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tessarion developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "vocabulary trainer for Japanese-speaking learners of English and Italian")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Tessarion drills the words of built-in and self-made word lists with timed\n\
multiple-choice and typed questions and spaces every word by its own\n\
forgetting curve. It speaks the words and draws forgetting curves, etymology\n\
charts and the learner's progress.")
set(CPACK_PACKAGE_CONTACT "${TESSARION_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TESSARION_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TESSARION_HOMEPAGE}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the programs link come from dpkg-shlibdeps; these are what
# they load or call by name: Qt's platform plugins and translations, the
# speech data, the two fonts, and xdg-utils (the spreadsheet program check).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qt6-qpa-plugins, qt6-translations-l10n, espeak-ng-data, fonts-ipaexfont-gothic, fonts-sil-charis, xdg-utils")
include(CPack)

# The package, unpacked into a temporary root, runs from a read-only program
# folder and writes only below a temporary home.
if(TESSARION_BUILD_TESTS)
  add_test(NAME Packaging.InstalledProgramRunsFromAReadOnlyFolder
    COMMAND bash ${PACKAGING_DIR}/check-installed-run ${CMAKE_BINARY_DIR})
  set_tests_properties(Packaging.InstalledProgramRunsFromAReadOnlyFolder PROPERTIES
    SKIP_RETURN_CODE 77 TIMEOUT 600 ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SDL_AUDIODRIVER=dummy")
  find_program(PYTHON3_FOR_ICON python3)
  if(PYTHON3_FOR_ICON)
    add_test(NAME ShippedArtwork.IconScriptMakesTheShippedIcons
      COMMAND ${PYTHON3_FOR_ICON} ${CMAKE_SOURCE_DIR}/tools/art/make_icon.py --check)
  endif()
endif()
