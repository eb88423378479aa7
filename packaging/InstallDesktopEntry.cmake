# Runs at install time, so that the menu entry names the prefix actually installed to, also when
# it is given only then (cmake --install --prefix). Writes the entry into the build folder and
# installs it from there; file(INSTALL) honours DESTDIR and records the file in the manifest.
set(program "${CMAKE_INSTALL_PREFIX}/tankverzehr")

# The program is always quoted in Exec, which a desktop entry allows for any path and which keeps
# blanks and other reserved characters in it; inside the quotes ", `, $ and \ are escaped with a backslash, and the backslashes
# are then doubled once more because the value itself is a string with escapes. A "%" would start
# a field code and is written twice.
string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" quoted "${program}")
string(REPLACE "\\" "\\\\" quoted "${quoted}")
string(REPLACE "%" "%%" quoted "${quoted}")
set(desktop_exec "\"${quoted}\"")
string(REPLACE "\\" "\\\\" desktop_try_exec "${program}")

configure_file("${desktop_source}" "${desktop_binary}" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications" TYPE FILE FILES "${desktop_binary}")
