# The recorder's smaller Qt parts on the offscreen platform: the level meter widget, the message
# boxes, the hand-off to the UI thread, the single-instance socket and the sound-card window.
lorix_add_gtest(window_parts_tests LABEL unit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_parts_app_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/window_parts_meter_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/window_parts_dialogs_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/window_parts_poster_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/window_parts_single_instance_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/window_parts_sound_card_test.cpp
  LIBRARIES lorix_recorder_window)
target_compile_definitions(window_parts_tests PRIVATE
  LORIX_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")
