# What `cmake --install` puts where (directories in InstallDirs.cmake), and
# the Debian package of `make package`. Parts of the program that install
# files add them here.
install(TARGETS halvix halvix-navlog RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS ${HALVIX_MODULES} LIBRARY DESTINATION ${HALVIX_INSTALL_LIBDIR})

# What an installation needs built, and nothing more: `make package` builds
# this, not the tests, and installing does not build everything first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
add_custom_target(halvix_installed)
add_dependencies(halvix_installed halvix halvix-navlog ${HALVIX_MODULES})

foreach(file ${HALVIX_DATA_FILES})
  get_filename_component(dir ${file} DIRECTORY)
  install(FILES ${PROJECT_SOURCE_DIR}/data/${file} DESTINATION ${HALVIX_INSTALL_DATADIR}/${dir})
endforeach()

install(FILES ${HALVIX_MANUAL_FILES} DESTINATION ${HALVIX_INSTALL_MANUALDIR})

set(pkg ${PROJECT_SOURCE_DIR}/packaging)
install(FILES ${pkg}/${HALVIX_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${pkg}/${HALVIX_APP_ID}.metainfo.xml.in ${CMAKE_CURRENT_BINARY_DIR}/${HALVIX_APP_ID}.metainfo.xml
               @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${HALVIX_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${pkg}/halvix-plan.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${pkg}/icons/halvix.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${HALVIX_APP_ID}.svg)
foreach(size 48 256)
  install(FILES ${pkg}/icons/halvix-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${HALVIX_APP_ID}.png)
endforeach()

# Manual pages and the changelog are installed compressed, as Debian does
# (gzip -n: no name or time inside, the same bytes from every build).
set(gz ${CMAKE_CURRENT_BINARY_DIR}/gz)
foreach(page halvix halvix-navlog)
  configure_file(${pkg}/man/${page}.1.in ${gz}/${page}.1 @ONLY)
  list(APPEND halvix_man_pages ${gz}/${page}.1.gz)
endforeach()
configure_file(${pkg}/changelog ${gz}/changelog COPYONLY)
foreach(out ${halvix_man_pages} ${gz}/changelog.gz)
  string(REGEX REPLACE "[.]gz$" "" in ${out})
  add_custom_command(OUTPUT ${out} COMMAND gzip -n -9 -f -k ${in} DEPENDS ${in} VERBATIM)
endforeach()
add_custom_target(halvix_man ALL DEPENDS ${halvix_man_pages} ${gz}/changelog.gz)
add_dependencies(halvix_installed halvix_man)
install(FILES ${halvix_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${pkg}/copyright ${gz}/changelog.gz DESTINATION ${HALVIX_INSTALL_DOCDIR})

# Last, once every file is in place.
install(CODE "set(halvix_datadir \"${CMAKE_INSTALL_DATADIR}\")
set(halvix_bindir \"${CMAKE_INSTALL_BINDIR}\")")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/RefreshDesktop.cmake)

# make package: a .deb for Debian 12 and its descendants.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME halvix)
set(CPACK_PACKAGE_VENDOR "The Halvix developers")
set(CPACK_PACKAGE_CONTACT "The Halvix developers <halvix@halvix.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "flight planner for VFR cross-country flights")
# The summary is the synopsis line; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Halvix takes the route checkpoint by checkpoint, the aircraft and the
airfields of a trip, solves the wind triangle leg by leg and prints a
landscape navigation log, filled in or blank. halvix-navlog writes the same
log as text, CSV, PDF or images from the command line.")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.halvix.example/")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not linked, so the library scan cannot see it: the face the windows and the
# printed log are drawn in. Qt's X11 platform plugin comes with libqt6gui6;
# the Wayland one is optional (X11 through XWayland otherwise).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
# Help opens the manual through xdg-open; the route chart's coastlines, lakes,
# rivers and borders come from gmt-gshhg-low and gmt-dcw (without them it
# draws the graticule and says which package to install).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-wayland, hicolor-icon-theme, shared-mime-info, desktop-file-utils, xdg-utils, gmt-gshhg-low, gmt-dcw")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Staged through DESTDIR, so the install leaves the desktop's caches alone.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX ${CPACK_PACKAGING_INSTALL_PREFIX})
include(CPack)
