# Installation directories, known before the sources are configured because
# the program finds its installed files relative to its own directory.
include(GNUInstallDirs)

set(HALVIX_APP_ID example.halvix.Halvix)
# Read-only data of the program: the manual in doc/; other data goes in a
# subdirectory beside it.
set(HALVIX_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/halvix)
set(HALVIX_INSTALL_MANUALDIR ${HALVIX_INSTALL_DATADIR}/doc)

# From the program's directory, so any prefix and DESTDIR work.
file(RELATIVE_PATH HALVIX_MANUAL_FROM_PROGRAM
     ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${HALVIX_INSTALL_MANUALDIR})
