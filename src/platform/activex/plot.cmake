# The two plot controls, drawn with QCustomPlot.
list(APPEND TARNIX_ACTIVEX_PLOT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/plot_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plot_control.cpp)
list(APPEND TARNIX_ACTIVEX_PLOT_LIBS tarnix_plot_model QCustomPlotQt6::QCustomPlotQt6 Qt6::Widgets tarnix_sys tarnix_com)
