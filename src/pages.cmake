# Every page of the program, one file pair each, on the frames of the shell.
add_library(tarnix_pages STATIC
  ${CMAKE_CURRENT_LIST_DIR}/views/status/alarm_annunciator.cpp
  ${CMAKE_CURRENT_LIST_DIR}/views/status/dashboard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/views/status/event_history.cpp
  ${CMAKE_CURRENT_LIST_DIR}/views/status/management_annunciator.cpp
  ${CMAKE_CURRENT_LIST_DIR}/views/status/tech_annunciator.cpp
  ${CMAKE_CURRENT_LIST_DIR}/views/health/actuator_health.cpp
  ${CMAKE_CURRENT_LIST_DIR}/views/health/control_loop_health.cpp
  ${CMAKE_CURRENT_LIST_DIR}/views/health/deviation_alert.cpp
  ${CMAKE_CURRENT_LIST_DIR}/views/health/piezo_voltage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/views/health/pilot_relay.cpp
  ${CMAKE_CURRENT_LIST_DIR}/views/health/position_alert.cpp
  ${CMAKE_CURRENT_LIST_DIR}/views/health/positioner_health.cpp
  ${CMAKE_CURRENT_LIST_DIR}/views/health/positioner_temperature.cpp
  ${CMAKE_CURRENT_LIST_DIR}/views/health/valve_cycles_travel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/views/health/valve_health.cpp
  ${CMAKE_CURRENT_LIST_DIR}/views/config/calibration_errors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/views/config/command_calibration.cpp
  ${CMAKE_CURRENT_LIST_DIR}/views/config/custom_characterisation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/views/config/hart_information.cpp
  ${CMAKE_CURRENT_LIST_DIR}/views/config/pressure_control.cpp
  ${CMAKE_CURRENT_LIST_DIR}/views/config/sensor_calibration.cpp
  ${CMAKE_CURRENT_LIST_DIR}/views/config/stroke_characterisation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/views/config/zero_supply.cpp
  ${CMAKE_CURRENT_LIST_DIR}/diagnostics/run/data_monitor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/diagnostics/run/hdrl_test_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/diagnostics/run/multi_test_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/diagnostics/run/online.cpp
  ${CMAKE_CURRENT_LIST_DIR}/diagnostics/run/partial_stroke_test_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/diagnostics/run/ramp_test_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/diagnostics/run/step_test_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/diagnostics/run/tech_sensors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/diagnostics/compare/hdrl_compare.cpp
  ${CMAKE_CURRENT_LIST_DIR}/diagnostics/compare/partial_stroke_compare.cpp
  ${CMAKE_CURRENT_LIST_DIR}/diagnostics/compare/ramp_compare.cpp
  ${CMAKE_CURRENT_LIST_DIR}/diagnostics/compare/step_compare.cpp)
target_link_libraries(tarnix_pages PUBLIC tarnix_frames tarnix_reports)
