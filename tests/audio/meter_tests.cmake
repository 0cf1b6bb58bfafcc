# The level meter's segment count and drawing geometry.
lorix_add_gtest(audio_tests LABEL unit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/level_meter_test.cpp
  LIBRARIES lorix_audio)
