# Qt Charts (GPL-3) for the chart pane, Qt Svg for chart export.
#
# Debian 12's qt6-charts-dev leaves out the OpenGL development files its CMake package
# insists on (libqt6opengl6-dev), though the charts we draw never use OpenGL. Where that
# package is missing, the library and headers are taken as they are.
find_package(Qt6 REQUIRED COMPONENTS Svg)
find_package(Qt6Charts QUIET)
if(NOT TARGET Qt6::Charts)
  find_library(OHMLET_QT_CHARTS_LIBRARY NAMES Qt6Charts REQUIRED)
  find_path(OHMLET_QT_INCLUDE_DIR QtCharts/QChart PATH_SUFFIXES qt6 REQUIRED)
  message(STATUS "Qt Charts without its CMake package: ${OHMLET_QT_CHARTS_LIBRARY}")
  add_library(Qt6::Charts UNKNOWN IMPORTED)
  set_target_properties(Qt6::Charts PROPERTIES
    IMPORTED_LOCATION "${OHMLET_QT_CHARTS_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${OHMLET_QT_INCLUDE_DIR}/QtCharts"
    INTERFACE_COMPILE_DEFINITIONS QT_CHARTS_LIB
    INTERFACE_LINK_LIBRARIES "Qt6::Widgets;Qt6::Gui;Qt6::Core")
endif()
