# Installation directories, known before the sources are configured because
# the program finds its installed files relative to its own directory.
include(GNUInstallDirs)

set(HALVIX_APP_ID example.halvix.Halvix)
# Read-only data of the program: the manual in doc/; other data goes in a
# subdirectory beside it.
set(HALVIX_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/halvix)
set(HALVIX_INSTALL_MANUALDIR ${HALVIX_INSTALL_DATADIR}/doc)
# Debian's place for the copyright and changelog, named after the package.
set(HALVIX_INSTALL_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/halvix)

# From the program's directory, so any prefix and DESTDIR work.
file(RELATIVE_PATH HALVIX_MANUAL_FROM_PROGRAM
     ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${HALVIX_INSTALL_MANUALDIR})
# Modules the programs load on first use, in the package's private folder
# under the multiarch one where the system has it (there a package needs no
# ldconfig run for them, as it would directly under lib/).
if(CMAKE_LIBRARY_ARCHITECTURE)
  set(HALVIX_INSTALL_LIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE}/halvix)
else()
  set(HALVIX_INSTALL_LIBDIR ${CMAKE_INSTALL_LIBDIR}/halvix)
endif()
file(RELATIVE_PATH HALVIX_LIB_FROM_PROGRAM
     ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${HALVIX_INSTALL_LIBDIR})
file(RELATIVE_PATH HALVIX_DATA_FROM_PROGRAM
     ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${HALVIX_INSTALL_DATADIR})

# The data the programs read, relative to data/ in the source tree and to
# share/halvix once installed. The folder's notes for developers and the
# model's test values stay in the source tree.
set(HALVIX_DATA_FILES wmm2025/WMM2025.COF)
# The modules the programs load on first use (halvix-grib.so and so on).
set(HALVIX_MODULES halvix-grib halvix-basemap halvix-geotiff)

# Lays the data out beside a built program as an installation does, so that a
# program run from the build folder finds it by the same relative path and no
# path of this machine is compiled into a binary that may be installed.
# Programs built in one folder share one copy.
function(halvix_stage_data target)
  get_filename_component(stage ${CMAKE_CURRENT_BINARY_DIR}/${HALVIX_DATA_FROM_PROGRAM} ABSOLUTE)
  file(RELATIVE_PATH where ${PROJECT_BINARY_DIR} ${stage})
  string(MAKE_C_IDENTIFIER "halvix_data_${where}" stage_target)
  if(NOT TARGET ${stage_target})
    set(staged)
    foreach(file ${HALVIX_DATA_FILES})
      add_custom_command(OUTPUT ${stage}/${file}
                         COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/data/${file} ${stage}/${file}
                         DEPENDS ${PROJECT_SOURCE_DIR}/data/${file} VERBATIM)
      list(APPEND staged ${stage}/${file})
    endforeach()
    # The modules too, where an installation puts them.
    get_filename_component(lib ${CMAKE_CURRENT_BINARY_DIR}/${HALVIX_LIB_FROM_PROGRAM} ABSOLUTE)
    foreach(module ${HALVIX_MODULES})
      add_custom_command(OUTPUT ${lib}/${module}.so
                         COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${module}> ${lib}/${module}.so
                         DEPENDS ${module} VERBATIM)
      list(APPEND staged ${lib}/${module}.so)
    endforeach()
    add_custom_target(${stage_target} DEPENDS ${staged})
  endif()
  add_dependencies(${target} ${stage_target})
endfunction()
