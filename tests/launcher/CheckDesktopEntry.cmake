# Writes the Ohmlet and Kiosa entries for several prefixes and checks their Exec lines,
# which a file manager splits and unquotes before it runs the program.
# In: DESKTOP_DIR (the source folder of the entries), WORK_DIR.

set(cases
  "/usr|lib/ohmlet/gangjin/Ohmlet|Exec=/usr/lib/ohmlet/gangjin/Ohmlet %f"
  "/opt/kiosa space|lib/ohmlet/gangjin/Ohmlet|Exec=\"/opt/kiosa space/lib/ohmlet/gangjin/Ohmlet\" %f"
  "/opt/a$b|lib/ohmlet/gangjin/Ohmlet|Exec=\"/opt/a\\\\$b/lib/ohmlet/gangjin/Ohmlet\" %f"
  "/opt/x|/srv/ohmlet/gangjin/Ohmlet|Exec=/srv/ohmlet/gangjin/Ohmlet %f"
  "/opt/x/|lib/../lib/ohmlet/gangjin/Ohmlet|Exec=/opt/x/lib/ohmlet/gangjin/Ohmlet %f"
)

set(failures 0)
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" fields "${case}")
  list(GET fields 0 CMAKE_INSTALL_PREFIX)
  list(GET fields 1 OHMLET_PROGRAM)
  list(GET fields 2 expected)
  set(KIOSA_PROGRAM "lib/ohmlet/Kiosa")
  set(ENTRY_TEMPLATE "${DESKTOP_DIR}/ohmlet.desktop.in")
  set(ENTRY_OUTPUT "${WORK_DIR}/ohmlet.desktop")
  file(REMOVE "${ENTRY_OUTPUT}")
  include("${DESKTOP_DIR}/ConfigureDesktopEntry.cmake")
  file(STRINGS "${ENTRY_OUTPUT}" exec_lines REGEX "^Exec=")
  if(NOT exec_lines STREQUAL expected)
    message(SEND_ERROR "prefix '${CMAKE_INSTALL_PREFIX}': got '${exec_lines}', want '${expected}'")
    math(EXPR failures "${failures} + 1")
  endif()
  file(READ "${ENTRY_OUTPUT}" entry)
  if(NOT entry MATCHES "\nMimeType=application/x-ohmlet-dzl;\n")
    message(SEND_ERROR "no MimeType line for the DZL type")
  endif()
endforeach()
message(STATUS "${failures} Exec line(s) wrong")
