# The plot controls: look-ups, points, files, pictures.
tarnix_test(test_platform_plot LABEL widget SANITIZE
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/plot_test.cpp ${CMAKE_CURRENT_LIST_DIR}/plot_test_main.cpp
  LIBS tarnix_activex)
target_compile_definitions(test_platform_plot PRIVATE TARNIX_BUILD_DIR="${CMAKE_BINARY_DIR}")
