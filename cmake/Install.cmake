# make install / cmake --install: the program, what it reads at run time, and
# what a desktop and a package manager expect of it.
include(GNUInstallDirs)

# make install and make package build what they install first (`make build`);
# cpack then packs it without building every test program as well.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(VORLU_APP_ID org.vorlu.Optical)
set(VORLU_DATA_DIR ${CMAKE_INSTALL_DATADIR}/vorlu-optical)

# The program finds its data relative to itself, so a staged root (DESTDIR) or
# a moved prefix still works.
file(RELATIVE_PATH vorlu_data_from_bin /${CMAKE_INSTALL_BINDIR} /${VORLU_DATA_DIR})
target_compile_definitions(vorlu_platform PRIVATE VORLU_DATA_FROM_BIN="${vorlu_data_from_bin}")

install(TARGETS vorlu-optical RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/media/ DESTINATION ${VORLU_DATA_DIR}/media
        FILES_MATCHING PATTERN "*.x" PATTERN "CMakeFiles" EXCLUDE)
install(FILES demo/network.json DESTINATION ${VORLU_DATA_DIR}/demo)
install(FILES docs/user-guide.html DESTINATION ${VORLU_DATA_DIR}/docs)
install(DIRECTORY docs/images DESTINATION ${VORLU_DATA_DIR}/docs)

set(pkg ${CMAKE_CURRENT_SOURCE_DIR}/packaging)
install(FILES ${pkg}/${VORLU_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${pkg}/${VORLU_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${pkg}/icons/${VORLU_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 48 128)
  install(FILES ${pkg}/icons/${VORLU_APP_ID}-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${VORLU_APP_ID}.png)
endforeach()

# Man page and Debian changelog compressed as Debian wants them (no name, no time: reproducible).
set(vorlu_gz ${CMAKE_BINARY_DIR}/packaging)
add_custom_command(
  OUTPUT ${vorlu_gz}/vorlu-optical.1.gz ${vorlu_gz}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${vorlu_gz}
  COMMAND gzip -9n -c ${pkg}/vorlu-optical.1 > ${vorlu_gz}/vorlu-optical.1.gz
  COMMAND gzip -9n -c ${pkg}/changelog > ${vorlu_gz}/changelog.gz
  DEPENDS ${pkg}/vorlu-optical.1 ${pkg}/changelog
  VERBATIM)
add_custom_target(vorlu_packaging_gz ALL DEPENDS ${vorlu_gz}/vorlu-optical.1.gz ${vorlu_gz}/changelog.gz)
install(FILES ${vorlu_gz}/vorlu-optical.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${vorlu_gz}/changelog.gz ${pkg}/copyright DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/vorlu-optical)
