# Icons and version information for the Windows programs. The .ico files were made from
# resources/desktop/icons (16, 32, 48 and 256 pixels) with ImageMagick's convert; make
# them again when those pictures change.
function(ohmlet_windows_resources target description)
  set(OHMLET_RC_NAME ${target})
  set(OHMLET_RC_DESCRIPTION "${description}")
  set(OHMLET_RC_ICONS "")
  set(id 1)
  foreach(icon ${ARGN})
    # The first icon is the program's; the others follow by index (the DZL file type's).
    string(APPEND OHMLET_RC_ICONS "${id} ICON \"${icon}\"\n")
    math(EXPR id "${id} + 1")
  endforeach()
  set(rc ${CMAKE_BINARY_DIR}/generated/${target}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/Program.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()

ohmlet_windows_resources(Ohmlet "混凝土电阻率测试仪数据分析软件"
  ${PROJECT_SOURCE_DIR}/src/app/Ohmlet.ico ${PROJECT_SOURCE_DIR}/src/app/DzlFile.ico)
ohmlet_windows_resources(ohmlet-cli "混凝土电阻率测试仪数据分析软件（命令行）"
  ${PROJECT_SOURCE_DIR}/src/app/Ohmlet.ico)
ohmlet_windows_resources(Kiosa "Kiosa" ${PROJECT_SOURCE_DIR}/src/launcher/Kiosa.ico)
