# The application shell, in layers that stack: the application object,
# and on it the page frames and the panes of the main window (strips,
# tree, page splitter). The pages (pages.cmake) stand on the frames, and
# src/app (the main frame, the page table and start-up) on everything.
add_library(tarnix_app STATIC
  ${CMAKE_CURRENT_LIST_DIR}/app.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_engine.cpp)
target_link_libraries(tarnix_app PUBLIC tarnix_reports)

add_library(tarnix_frames STATIC
  ${CMAKE_CURRENT_LIST_DIR}/status_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/step_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/monitoring_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/alarm_row_controls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/annunciator_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/health_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/limit_gauge_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/alert_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/block_download.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recorded_test_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/compare_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/calibration_kit.cpp)
target_link_libraries(tarnix_frames PUBLIC tarnix_app)

# The panes of the main window: the identification and action strips, the
# navigation tree and the splitter that swaps the pages; and the numeric
# input check of the test pages.
add_library(tarnix_panes STATIC
  ${CMAKE_CURRENT_LIST_DIR}/strips.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tree_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/page_splitter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/validation.cpp)
target_link_libraries(tarnix_panes PUBLIC tarnix_app)
