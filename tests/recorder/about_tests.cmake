# The about box: its texts (running time, versions, the recommendation mail read from
# "Empfehlung.txt") and the box itself on the offscreen platform, with a screenshot.
lorix_add_gtest(about_tests LABEL unit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/about_texts_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/about_box_test.cpp
  LIBRARIES lorix_recorder_window)
target_compile_definitions(about_tests PRIVATE
  LORIX_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")
