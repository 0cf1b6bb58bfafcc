# The INI file layer (reading, editing in place, line ends, bytes kept) and the recorder's
# settings file: both directions of the settings routine, the single-key write, the file name.
lorix_add_gtest(settings_tests LABEL unit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ini_document_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/settings_file_test.cpp
  LIBRARIES lorix_recorder_core)
