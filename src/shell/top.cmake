# The top of the shell: the main frame, the navigation tree, the page table
# and start-up, over every page and strip.
add_library(tarnix_shell STATIC
  ${CMAKE_CURRENT_LIST_DIR}/init_instance.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tree_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/page_table.cpp)
target_link_libraries(tarnix_shell PUBLIC tarnix_pages tarnix_strips tarnix_opc)

add_executable(tarnix ${PROJECT_SOURCE_DIR}/src/app/main.cpp)
target_link_libraries(tarnix PRIVATE tarnix_shell tarnix_sim)
add_dependencies(tarnix tarnix_resources)
