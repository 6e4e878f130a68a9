# Writes a .desktop entry at install time, so that its Exec line names the prefix the
# tree is really installed to (cmake --install --prefix ... included).
# In:  ENTRY_TEMPLATE, ENTRY_OUTPUT (both absolute), OHMLET_PROGRAM (program path,
#      relative to the prefix or absolute), KIOSA_PROGRAM (likewise).

function(absolute_install_path out relative)
  if(IS_ABSOLUTE "${relative}")
    set(path "${relative}")
  else()
    set(path "${CMAKE_INSTALL_PREFIX}/${relative}")
  endif()
  cmake_path(NORMAL_PATH path)
  set(${out} "${path}" PARENT_SCOPE)
endfunction()

# Exec quoting: a path with reserved characters goes in double quotes with ", `, $ and \
# escaped; a desktop file value then doubles every backslash once more.
function(exec_argument out path)
  if(path MATCHES "[ \t\n\"'\\\\><~|&;$*?#()`]")
    string(REPLACE "\\" "\\\\" path "${path}")
    string(REPLACE "\"" "\\\"" path "${path}")
    string(REPLACE "`" "\\`" path "${path}")
    string(REPLACE "$" "\\$" path "${path}")
    set(path "\"${path}\"")
    string(REPLACE "\\" "\\\\" path "${path}")
  endif()
  set(${out} "${path}" PARENT_SCOPE)
endfunction()

absolute_install_path(ohmlet_path "${OHMLET_PROGRAM}")
absolute_install_path(kiosa_path "${KIOSA_PROGRAM}")
exec_argument(OHMLET_EXEC "${ohmlet_path}")
exec_argument(KIOSA_EXEC "${kiosa_path}")
# TryExec takes a plain path: only backslashes need escaping there.
string(REPLACE "\\" "\\\\" OHMLET_TRYEXEC "${ohmlet_path}")
string(REPLACE "\\" "\\\\" KIOSA_TRYEXEC "${kiosa_path}")

configure_file("${ENTRY_TEMPLATE}" "${ENTRY_OUTPUT}" @ONLY)
