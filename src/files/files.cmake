# The plots of the test, monitoring and alert pages and their files, with
# the HDRL analysis the HDRL file opener needs.
add_library(tarnix_files STATIC
  ${CMAKE_CURRENT_LIST_DIR}/test_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ramp_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ramp_compare_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/step_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/step_compare_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/report_graphs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plot_file_kit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pst_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pst_compare_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hdrl_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hdrl_compare_plots.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hdrl_compare_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/logger_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/curve_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/histogram_plots.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hdrl_analysis.cpp)
target_link_libraries(tarnix_files PUBLIC tarnix_common)
