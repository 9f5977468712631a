# The report engine: definitions and pages without Qt, painting with Qt.
add_library(tarnix_report_model STATIC
  ${CMAKE_CURRENT_LIST_DIR}/definition.cpp
  ${CMAKE_CURRENT_LIST_DIR}/layout.cpp)
target_include_directories(tarnix_report_model PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(tarnix_report_model PUBLIC pugixml::pugixml tarnix_sys)

add_library(tarnix_report STATIC
  ${CMAKE_CURRENT_LIST_DIR}/render.cpp)
target_link_libraries(tarnix_report PUBLIC tarnix_report_model Qt6::Gui Qt6::PrintSupport)
