# Lorix.exe, the recorder for Windows: its window from recorder/window_win32/ on the recorder's
# core (lorix_recorder_core_win32, LAME included), its icon, version and manifest here. Included
# by CMakeLists.txt after recorder_core.cmake. Static, system DLLs only; "MAPI32.DLL" is loaded
# by name when a mail is sent.
set(RECORDER_WIN32_DIR ${LORIX_ROOT}/recorder/window_win32)
configure_file(recorder.rc.in recorder.rc @ONLY)

file(GLOB lorix_recorder_window_win32_sources CONFIGURE_DEPENDS ${RECORDER_WIN32_DIR}/*.cpp)
add_executable(Lorix WIN32
  ${lorix_recorder_window_win32_sources}
  ${CMAKE_CURRENT_BINARY_DIR}/recorder.rc)
lorix_windows_target(Lorix)
# For size, as the player: nothing in the window asks for run-time type information.
target_compile_options(Lorix PRIVATE -Os -fno-rtti)
set(recorder_resource_inputs ${CMAKE_CURRENT_SOURCE_DIR}/recorder.manifest)
foreach(name LORIX PLAY PAUSE STOP MIXER)
  list(APPEND recorder_resource_inputs ${LORIX_ICON_DIR}/${name}.ico)
endforeach()
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/recorder.rc PROPERTIES
  OBJECT_DEPENDS "${recorder_resource_inputs}")
target_link_libraries(Lorix PRIVATE lorix_recorder_core_win32 comctl32 shell32)
target_link_options(Lorix PRIVATE -static -static-libgcc -static-libstdc++ -Wl,--gc-sections -s)
# Beside LorixPlayer.exe, which it copies into every attachment, and the recorder's files
# (help pages, mail texts), which the main build puts there.
set_target_properties(Lorix PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${LORIX_OUTPUT_DIR})
