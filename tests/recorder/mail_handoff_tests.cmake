# The mail hand-off: the mail texts and their fallbacks, the subject, and the three start
# methods over a fake composer, a fake desktop opener and the recording dialogs.
lorix_add_gtest(mail_handoff_tests LABEL unit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/mail_handoff_test.cpp
  LIBRARIES lorix_recorder_core)
