# Installing and packaging. `cmake --install` puts the programs in
# lib/tessarion/ with resource/ beside them (the installed program folder, which
# the program only reads), links to them in bin/, and the menu entry, icon and
# AppStream metainfo under share/. `cpack -G DEB` in the build folder makes the
# Debian package tessarion_<version>_<arch>.deb.
set(TESSARION_PROGRAM_DIR lib/tessarion)
set(TESSARION_APP_ID org.tessarion.Tessarion)
set(TESSARION_ICON_SIZES 16 32 48 64 128 256)

set(TESSARION_PROGRAMS tessarion tessarion-tool)
if(TARGET tessarion-tray)
  list(APPEND TESSARION_PROGRAMS tessarion-tray)
endif()
install(TARGETS ${TESSARION_PROGRAMS} RUNTIME DESTINATION ${TESSARION_PROGRAM_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resource/ DESTINATION ${TESSARION_PROGRAM_DIR}/resource)
# The programs find resource/ beside their real file, so bin/ holds links.
foreach(program IN LISTS TESSARION_PROGRAMS)
  install(CODE "
    set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(MAKE_DIRECTORY \"\${bin}\")
    file(CREATE_LINK \"../${TESSARION_PROGRAM_DIR}/${program}\" \"\${bin}/${program}\" SYMBOLIC)")
endforeach()

set(PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
install(FILES ${PACKAGING_DIR}/${TESSARION_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${PACKAGING_DIR}/${TESSARION_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${PACKAGING_DIR}/icons/${TESSARION_APP_ID}.svg DESTINATION share/icons/hicolor/scalable/apps)
foreach(size IN LISTS TESSARION_ICON_SIZES)
  install(FILES ${PACKAGING_DIR}/icons/${TESSARION_APP_ID}-${size}.png
    DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ${TESSARION_APP_ID}.png)
endforeach()

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
set(CPACK_PACKAGE_CONTACT "The Tessarion developers <tessarion@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libc6, libstdc++6, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), \
libqt6network6 (>= 6.4), libqt6svg6 (>= 6.4), qt6-qpa-plugins, qt6-translations-l10n, \
libsdl2-mixer-2.0-0, libespeak-ng1, espeak-ng-data, libfreexl1, libgsf-1-114, \
fonts-ipaexfont-gothic, fonts-sil-charis")
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
