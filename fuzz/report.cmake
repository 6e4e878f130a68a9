# Settings files: IniFile alone, and the report driven by fuzzed settings.
ohmlet_fuzz_target(ini_file_fuzz ini_file_fuzz.cpp)
target_link_libraries(ini_file_fuzz PRIVATE ohmlet_report)
ohmlet_fuzz_target(report_settings_fuzz report_settings_fuzz.cpp)
target_link_libraries(report_settings_fuzz PRIVATE ohmlet_report Qt6::Gui)
