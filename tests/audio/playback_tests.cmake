# The media-control command service on a manual clock, and the playback operations with their
# command strings and texts.
lorix_add_gtest(playback_tests LABEL unit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/mci_service_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/wave_playback_test.cpp
  LIBRARIES lorix_audio)
# Playing spoken German through ALSA into the rig's null sink and recording it back.
lorix_add_gtest(playback_rig_tests LABEL rig RIG SPEECH
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/playback_rig_test.cpp
  LIBRARIES lorix_audio)
