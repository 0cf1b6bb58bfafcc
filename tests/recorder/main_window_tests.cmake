# The recorder's main window on Qt's offscreen platform: the start state, the step buttons and
# tips through the real widgets over a scripted capture device, block visibility and the
# window size, the settings at first show and at close, the command line, and a screenshot;
# the menu bar, the keys and the close sequence (main_menu_test.cpp).
find_package(Qt6 REQUIRED COMPONENTS Test)
lorix_add_gtest(main_window_tests LABEL unit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/main_window_test.cpp ${CMAKE_CURRENT_LIST_DIR}/main_menu_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/main_window_files_test.cpp
  LIBRARIES lorix_recorder_window Qt6::Test)
target_compile_definitions(main_window_tests PRIVATE
  LORIX_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")
