# Checks that the PulseAudio test rig is reachable through ALSA, before the real-audio tests.
lorix_add_gtest(audio_rig_tests LABEL rig RIG
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/rig_smoke_test.cpp
  LIBRARIES lorix_audio)
