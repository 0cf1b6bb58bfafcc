# The recording workflow: the controls derived from its state, the step handlers over a scripted
# capture device and a playback without a device, the temporary WAV files, the size estimate,
# the sliders and reset, the recording journal and the restore at start; RecorderApp's start
# order, close query and settings through the window state, without a window; the tables the
# windows build their controls and menus from.
lorix_add_gtest(workflow_tests LABEL unit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/recording_workflow_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/recorder_controls_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/workflow_files_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/recording_journal_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/recorder_app_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/form_tables_test.cpp
  LIBRARIES lorix_recorder_core)
