# The player's handlers without a display or a sound card: start-up and loading, the play
# controls, track bars and timer, the keys and buttons, the links and tools, over the
# media-control service on a manual clock and a mixer in memory.
lorix_add_gtest(player_core_tests LABEL unit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/player_app_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/player_playback_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/player_links_test.cpp
  LIBRARIES lorix_player_core)
