# The identification and action strips of the main window, and the numeric
# input check of the test pages.
add_library(tarnix_strips STATIC
  ${CMAKE_CURRENT_LIST_DIR}/strips.cpp
  ${CMAKE_CURRENT_LIST_DIR}/validation.cpp)
target_link_libraries(tarnix_strips PUBLIC tarnix_common)
