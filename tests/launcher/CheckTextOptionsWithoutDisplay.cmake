# --help and --version of the GUI programs answer with no display at all (over ssh, in
# scripts, in a package build), instead of aborting in the window system.
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})
unset(ENV{QT_QPA_PLATFORM})
set(cases
  "${OHMLET}|--version|^Ohmlet [0-9]+\\.[0-9]+\n$"
  "${OHMLET}|-h|Usage: .*FILE\\.DZL.*--lang"
  "${KIOSA}|--version|^Kiosa [0-9]+\\.[0-9]+\n$"
  "${KIOSA}|--help|Usage: .*--lang")
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" parts "${case}")
  list(GET parts 0 program)
  list(GET parts 1 option)
  list(GET parts 2 expected)
  execute_process(COMMAND "${program}" ${option} RESULT_VARIABLE rc
    OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 30)
  if(NOT rc EQUAL 0)
    message(SEND_ERROR "${program} ${option} without a display: exit ${rc}\n${err}")
  elseif(NOT out MATCHES "${expected}")
    message(SEND_ERROR "${program} ${option}: output does not match ${expected}:\n${out}")
  endif()
endforeach()
