# Run by `cmake --install` once the files are in place (halvix_datadir and
# halvix_bindir are set before it). Installed without DESTDIR, the files are
# where the desktop reads them, so its caches are brought up to date at once:
# otherwise plans open as text and the file type has no program. A staged
# install (DESTDIR, a package build) leaves that to the package manager.
if(NOT "$ENV{DESTDIR}" STREQUAL "")
  return()
endif()

foreach(dir halvix_datadir halvix_bindir)
  if(NOT IS_ABSOLUTE "${${dir}}")
    set(${dir} "${CMAKE_INSTALL_PREFIX}/${${dir}}")
  endif()
endforeach()

find_program(halvix_update_mime update-mime-database)
if(halvix_update_mime)
  message(STATUS "Updating the file types in ${halvix_datadir}/mime")
  execute_process(COMMAND ${halvix_update_mime} "${halvix_datadir}/mime")
endif()
find_program(halvix_update_desktop update-desktop-database)
if(halvix_update_desktop)
  message(STATUS "Updating the programs for file types in ${halvix_datadir}/applications")
  execute_process(COMMAND ${halvix_update_desktop} -q "${halvix_datadir}/applications")
endif()
# A theme's icon cache hides icons it does not list; none is made where the
# theme has none.
find_program(halvix_update_icons gtk-update-icon-cache)
if(halvix_update_icons AND EXISTS "${halvix_datadir}/icons/hicolor/icon-theme.cache")
  execute_process(COMMAND ${halvix_update_icons} -q -t -f "${halvix_datadir}/icons/hicolor")
endif()

# The desktop starts the program by name, as a package installs it.
string(REPLACE ":" ";" halvix_path "$ENV{PATH}")
list(FIND halvix_path "${halvix_bindir}" halvix_on_path)
if(halvix_on_path EQUAL -1)
  message(STATUS "Note: ${halvix_bindir} is not on PATH: add it (log in again once it exists, "
                 "for ~/.local/bin) so that the menu entry and double-clicked plans start Halvix")
endif()
