# The top: the main frame, the table of every page and start-up, over the
# pages and the panes; and the program.
add_library(tarnix_program STATIC
  ${CMAKE_CURRENT_LIST_DIR}/init_instance.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/page_table.cpp)
target_link_libraries(tarnix_program PUBLIC tarnix_pages tarnix_panes tarnix_opc)

add_executable(tarnix ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(tarnix PRIVATE tarnix_program tarnix_sim)
add_dependencies(tarnix tarnix_resources)
