# Mixer control lookup, volume scales, start-up adjustments and the layout of ALSA mixer elements.
lorix_add_gtest(mixer_tests LABEL unit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/mixer_test.cpp
  LIBRARIES lorix_audio)
# The same operations on the ALSA mixer of the PulseAudio test rig.
lorix_add_gtest(mixer_rig_tests LABEL rig RIG
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/mixer_rig_test.cpp
  LIBRARIES lorix_audio)
