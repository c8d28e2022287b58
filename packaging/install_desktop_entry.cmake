# Install step: writes the menu entry with the installed program's and icon's full paths.
# The program keeps its data file beside itself, so the entry must start that very copy.
set(_prefix "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(_program "${CMAKE_INSTALL_PREFIX}/cofferly")
set(_icon "${CMAKE_INSTALL_PREFIX}/share/icons/hicolor/scalable/apps/cofferly.svg")

# An Exec argument in double quotes escapes " ` $ and \ with a backslash; the entry's own
# string escaping then doubles every backslash, and % is written %%.
set(_quoted "${_program}")
string(REPLACE "\\" "\\\\" _quoted "${_quoted}")
string(REPLACE "\"" "\\\"" _quoted "${_quoted}")
string(REPLACE "`" "\\`" _quoted "${_quoted}")
string(REPLACE "$" "\\$" _quoted "${_quoted}")
string(REPLACE "\\" "\\\\" _quoted "${_quoted}")
string(REPLACE "%" "%%" _quoted "${_quoted}")
set(COFFERLY_EXEC "\"${_quoted}\"")
string(REPLACE "\\" "\\\\" COFFERLY_TRYEXEC "${_program}")
string(REPLACE "\\" "\\\\" COFFERLY_ICON "${_icon}")

set(_entry "${_prefix}/share/applications/cofferly.desktop")
message(STATUS "Installing: ${_entry}")
configure_file("${CMAKE_CURRENT_LIST_DIR}/cofferly.desktop" "${_entry}" @ONLY)
