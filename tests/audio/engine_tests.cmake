# The recording engine: its state machine, counters, failure texts and error log against a
# scripted device, and the data sink's level, silence and size computations.
lorix_add_gtest(engine_tests LABEL unit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/recording_engine_test.cpp
  LIBRARIES lorix_audio)
# The engine on ALSA's default device, recording back what the test rig plays.
lorix_add_gtest(engine_rig_tests LABEL rig RIG SPEECH
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/recording_engine_rig_test.cpp
  LIBRARIES lorix_audio)
