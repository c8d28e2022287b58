# Cofferly.exe's outside: its icon, version information and manifest, compiled by the cross
# toolchain's windres from packaging/windows/cofferly.rc.in.

# The icon is drawn from packaging/cofferly.svg, the shapes of the window's own icon, in the
# sizes Explorer, the taskbar and shortcuts ask for (librsvg2-bin, imagemagick).
function(cofferly_windows_icon icon)
  find_program(COFFERLY_RSVG_CONVERT rsvg-convert REQUIRED)
  find_program(COFFERLY_MAGICK_CONVERT NAMES convert-im6.q16 convert REQUIRED)
  set(svg ${PROJECT_SOURCE_DIR}/packaging/cofferly.svg)
  set(commands)
  set(pngs)
  foreach(size 16 32 48 256)
    set(png ${CMAKE_CURRENT_BINARY_DIR}/windows/icon-${size}.png)
    list(APPEND commands COMMAND ${COFFERLY_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${svg})
    list(APPEND pngs ${png})
  endforeach()
  add_custom_command(OUTPUT ${icon} ${commands}
                     COMMAND ${COFFERLY_MAGICK_CONVERT} ${pngs} ${icon}
                     DEPENDS ${svg} VERBATIM)
endfunction()

function(cofferly_windows_resources target)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/windows)
  file(MAKE_DIRECTORY ${out})
  set(COFFERLY_ICON ${out}/Cofferly.ico)
  set(COFFERLY_MANIFEST ${out}/Cofferly.manifest)
  # Windows wants four numbers; the project's version has two.
  set(COFFERLY_FILE_VERSION_DOTS
      "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0")
  set(COFFERLY_FILE_VERSION_COMMAS
      "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},0,0")
  string(TIMESTAMP COFFERLY_YEAR "%Y" UTC)
  cofferly_windows_icon(${COFFERLY_ICON})
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/cofferly.manifest ${COFFERLY_MANIFEST}
                 @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/cofferly.rc.in ${out}/Cofferly.rc @ONLY)
  set_source_files_properties(${out}/Cofferly.rc PROPERTIES
                              OBJECT_DEPENDS "${COFFERLY_ICON};${COFFERLY_MANIFEST}")
  target_sources(${target} PRIVATE ${out}/Cofferly.rc)
endfunction()
