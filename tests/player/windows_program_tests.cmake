# The Windows player program as built: an x86-64 PE within its size that imports only system
# DLLs. Its behaviour is tested under Wine (tests/e2e, label wine).
if(LORIX_WINDOWS)
  add_test(NAME windows_player_pe
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/windows_player_pe.sh ${LORIX_WINDOWS_PLAYER_EXE})
  set_tests_properties(windows_player_pe PROPERTIES LABELS unit)
endif()
