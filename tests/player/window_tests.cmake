# The player's window: its toolkit-free parts without a display, the window itself in the test
# process on the rig's X display, and whole runs of lorix-player there.
find_package(X11 REQUIRED)

lorix_add_gtest(player_window_parts_tests LABEL unit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_parts_test.cpp
  LIBRARIES lorix_player_window)

set(LORIX_X11_TEST_SUPPORT
  ${PROJECT_SOURCE_DIR}/tests/support/x11_windows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/xdnd_source.cpp)

lorix_add_gtest(player_window_tests LABEL x11 RIG
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/player_window_test.cpp ${LORIX_X11_TEST_SUPPORT}
  LIBRARIES lorix_player_window X11::X11)

lorix_add_gtest(player_program_tests LABEL x11 RIG
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/player_program_test.cpp
          ${PROJECT_SOURCE_DIR}/tests/support/child_program.cpp ${LORIX_X11_TEST_SUPPORT}
  LIBRARIES lorix_desktop X11::X11)
target_compile_definitions(player_program_tests PRIVATE
  LORIX_PLAYER_PATH="$<TARGET_FILE:lorix_player>"
  LORIX_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")
add_dependencies(player_program_tests lorix_player)
