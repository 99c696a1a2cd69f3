# The Debian package (scripts/package.sh): programs in /opt/pqdesk/bin, where they look for Pass.mdb
# and ports/ beside themselves; those two are links into /var/lib/pqdesk, made and kept by the
# maintainer scripts (packaging/postinst, postrm). /usr/bin links the three programs for the shell
# and the desktop entry.
if(NOT PQ_BUILD_GUI)
  return()
endif()

set(pq_packaging ${PROJECT_SOURCE_DIR}/packaging)
set(pq_staged ${CMAKE_BINARY_DIR}/packaging)
set(pq_bin opt/pqdesk/bin)
file(MAKE_DIRECTORY ${pq_staged}/links ${pq_staged}/usr-bin ${pq_staged}/man)

install(TARGETS pqdesk pqdesk-cli pqdesk-cli-render pqdesk-sim RUNTIME DESTINATION ${pq_bin})
# The shipped limit sets, found beside the programs.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/limits DESTINATION ${pq_bin})

# Links are staged in the build folder and installed as links.
file(CREATE_LINK /var/lib/pqdesk/Pass.mdb ${pq_staged}/links/Pass.mdb SYMBOLIC)
file(CREATE_LINK /var/lib/pqdesk/ports ${pq_staged}/links/ports SYMBOLIC)
install(FILES ${pq_staged}/links/Pass.mdb ${pq_staged}/links/ports DESTINATION ${pq_bin})
foreach(program pqdesk pqdesk-cli pqdesk-sim)
  file(CREATE_LINK /${pq_bin}/${program} ${pq_staged}/usr-bin/${program} SYMBOLIC)
  install(FILES ${pq_staged}/usr-bin/${program} DESTINATION usr/bin)
endforeach()

install(FILES ${pq_packaging}/org.pqdesk.PQDesk.desktop DESTINATION usr/share/applications)
install(FILES ${pq_packaging}/org.pqdesk.PQDesk.metainfo.xml DESTINATION usr/share/metainfo)
install(FILES ${pq_packaging}/pqdesk-mime.xml DESTINATION usr/share/mime/packages RENAME pqdesk.xml)
install(FILES ${pq_packaging}/copyright DESTINATION usr/share/doc/pqdesk)
install(FILES ${pq_packaging}/lintian-overrides DESTINATION usr/share/lintian/overrides RENAME pqdesk)

# Compressed as Debian wants them; -n keeps the time stamp out, so the package is reproducible.
foreach(page pqdesk.1 pqdesk-cli.1 pqdesk-sim.1 changelog)
  if(page STREQUAL changelog)
    set(source ${pq_packaging}/changelog)
    set(target ${pq_staged}/man/changelog.Debian.gz)
    set(destination usr/share/doc/pqdesk)
  else()
    set(source ${pq_packaging}/man/${page})
    set(target ${pq_staged}/man/${page}.gz)
    set(destination usr/share/man/man1)
  endif()
  add_custom_command(OUTPUT ${target} COMMAND gzip -9n -c ${source} > ${target} DEPENDS ${source} VERBATIM)
  list(APPEND pq_compressed ${target})
  install(FILES ${target} DESTINATION ${destination})
endforeach()

# The icon, drawn by the program's own artwork code at the hicolor sizes.
add_custom_command(
  OUTPUT ${pq_staged}/icons/256x256/apps/org.pqdesk.PQDesk.png
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:pqdesk-icon> ${pq_staged}/icons
  DEPENDS pqdesk-icon VERBATIM)
add_custom_target(pqdesk-package-files ALL DEPENDS ${pq_compressed}
                                                   ${pq_staged}/icons/256x256/apps/org.pqdesk.PQDesk.png)
install(DIRECTORY ${pq_staged}/icons/ DESTINATION usr/share/icons/hicolor)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pqdesk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "PQ Desk developers <pqdesk-developers@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "power-quality analyser records and reports")
# CPack indents every line of the long description itself; "." is the empty line between paragraphs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "PQ Desk (电能质量分析系统) is the desktop companion of a portable three-phase
power-quality analyser. It imports the instrument's record files, shows and
deletes their records, draws trends, spectra and phasor diagrams, watches live
values over a serial port and prints power-quality reports with spreadsheet
export. Its texts and Qt's dialogs are Chinese.
.
The package also holds pqdesk-cli, the same core on the command line, and
pqdesk-sim, an instrument simulator on a pseudo-terminal.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the libraries: the fonts the pages are drawn in, Qt's translations
# and addgroup for the maintainer scripts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk, fonts-liberation2, qt6-translations-l10n, adduser")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${pq_packaging}/postinst ${pq_packaging}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
