# Every page of the program: the status header they share, the page
# classes of each subsystem's folder, and the table the frame builds them
# from.
add_library(tarnix_pages STATIC
  ${CMAKE_CURRENT_LIST_DIR}/shell/status_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shell/page_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/views/status/status_pages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/views/health/health_pages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/views/config/config_pages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/diagnostics/run/run_pages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/diagnostics/compare/compare_pages.cpp)
target_link_libraries(tarnix_pages PUBLIC tarnix_common)
