# The application shell: application object, main frame, navigation tree.
add_library(tarnix_shell STATIC
  ${CMAKE_CURRENT_LIST_DIR}/app.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tree_view.cpp)
target_link_libraries(tarnix_shell PUBLIC tarnix_pages tarnix_strips tarnix_common tarnix_opc)

add_executable(tarnix ${PROJECT_SOURCE_DIR}/src/app/main.cpp)
target_link_libraries(tarnix PRIVATE tarnix_shell tarnix_sim)
add_dependencies(tarnix tarnix_resources)

# Pages and strips reach the application object, which makes them: the
# libraries need each other.
target_link_libraries(tarnix_pages PUBLIC tarnix_shell)
target_link_libraries(tarnix_strips PUBLIC tarnix_shell)
