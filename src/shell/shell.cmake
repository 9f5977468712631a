# The application shell, in layers that stack: the application object,
# the page frames and the strips on it, the pages (pages.cmake) on the
# frames, and on top the main frame, the tree and start-up, which make
# them all.
add_library(tarnix_app STATIC
  ${CMAKE_CURRENT_LIST_DIR}/app.cpp)
target_link_libraries(tarnix_app PUBLIC tarnix_common)

add_library(tarnix_frames STATIC
  ${CMAKE_CURRENT_LIST_DIR}/status_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/step_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/monitoring_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_page.cpp)
target_link_libraries(tarnix_frames PUBLIC tarnix_app)

# The identification and action strips of the main window, and the numeric
# input check of the test pages.
add_library(tarnix_strips STATIC
  ${CMAKE_CURRENT_LIST_DIR}/strips.cpp
  ${CMAKE_CURRENT_LIST_DIR}/validation.cpp)
target_link_libraries(tarnix_strips PUBLIC tarnix_app)
