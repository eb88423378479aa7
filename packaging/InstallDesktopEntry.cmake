# Runs at install time, so that the menu entry names the prefix actually installed to, also when
# it is given only then (cmake --install --prefix). Writes the entry into the build folder and
# installs it from there; file(INSTALL) honours DESTDIR and records the file in the manifest.
set(program "${CMAKE_INSTALL_PREFIX}/tankverzehr")

# A program is always quoted in Exec, which a desktop entry allows for any path and which keeps
# blanks and other reserved characters in it; inside the quotes ", `, $ and \ are escaped with a backslash, and the backslashes
# are then doubled once more because the value itself is a string with escapes. A "%" would start
# a field code and is written twice.
function(tankverzehr_exec_quoted path result)
    string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" quoted "${path}")
    string(REPLACE "\\" "\\\\" quoted "${quoted}")
    string(REPLACE "%" "%%" quoted "${quoted}")
    set(${result} "\"${quoted}\"" PARENT_SCOPE)
endfunction()

tankverzehr_exec_quoted("${program}" desktop_exec)
string(REPLACE "\\" "\\\\" desktop_try_exec "${program}")
# The actions "Bericht anzeigen" and "Log sichern" start the data tool installed beside the program.
tankverzehr_exec_quoted("${CMAKE_INSTALL_PREFIX}/tankverzehr-daten" desktop_datatool_exec)

configure_file("${desktop_source}" "${desktop_binary}" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications" TYPE FILE FILES "${desktop_binary}")
