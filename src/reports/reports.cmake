# The report builders, the top of the common functions, on the report frame.
add_library(tarnix_reports STATIC
  ${CMAKE_CURRENT_LIST_DIR}/report_frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/calibration_reports.cpp
  ${CMAKE_CURRENT_LIST_DIR}/step_test_report.cpp
  ${CMAKE_CURRENT_LIST_DIR}/step_compare_report.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ramp_test_report.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ramp_compare_report.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pst_test_report.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pst_compare_report.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hdrl_test_report.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hdrl_compare_report.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data_monitor_report.cpp
  ${CMAKE_CURRENT_LIST_DIR}/multi_test_report.cpp
  ${CMAKE_CURRENT_LIST_DIR}/alarm_reports.cpp)
target_link_libraries(tarnix_reports PUBLIC tarnix_files)
