# The main build's side of the Windows programs (included by the top-level CMakeLists when
# LORIX_WINDOWS is on): LAME cross-built from Debian's source package, then the cross project
# in this folder, which compiles the programs with the MinGW-w64 compilers and puts them beside
# the other programs.
include(ExternalProject)

find_program(LORIX_MINGW_CXX x86_64-w64-mingw32-g++-win32)
if(NOT LORIX_MINGW_CXX)
  message(FATAL_ERROR "The Windows programs need the MinGW-w64 cross compiler: run scripts/setup.sh")
endif()

# Built once per build folder; the script leaves it alone when it is there.
set(LORIX_LAME_MINGW_PREFIX ${PROJECT_BINARY_DIR}/lame-mingw)
set(LORIX_LAME_MINGW_LIBRARY ${LORIX_LAME_MINGW_PREFIX}/lib/libmp3lame.a)
add_custom_command(OUTPUT ${LORIX_LAME_MINGW_LIBRARY}
  COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/build_lame_mingw.sh ${LORIX_LAME_MINGW_PREFIX}
  DEPENDS ${PROJECT_SOURCE_DIR}/scripts/build_lame_mingw.sh
  COMMENT "Building LAME for Windows from Debian's source package")
add_custom_target(lorix_lame_mingw DEPENDS ${LORIX_LAME_MINGW_LIBRARY})

# Beside the recorder, which copies it into every attachment, and lorix-tool, whose pack uses
# it; LORIX_WINDOWS_PLAYER_EXE names it for the tests.
set(LORIX_WINDOWS_OUTPUT_DIR ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
set(LORIX_WINDOWS_PLAYER_EXE ${LORIX_WINDOWS_OUTPUT_DIR}/LorixPlayer.exe
  CACHE INTERNAL "The Windows player program")
set(LORIX_WINDOWS_RECORDER_EXE ${LORIX_WINDOWS_OUTPUT_DIR}/Lorix.exe
  CACHE INTERNAL "The Windows recorder program")
# Windows programs of the tests, run under Wine.
set(LORIX_WINDOWS_TEST_DIR ${PROJECT_BINARY_DIR}/windows/test_programs)
set(LORIX_MP3_PROBE_EXE ${LORIX_WINDOWS_TEST_DIR}/lorix_mp3_probe.exe
  CACHE INTERNAL "The MP3 encoder built for Windows, as a test program")
set(LORIX_MAPI_MAIL_PROBE_EXE ${LORIX_WINDOWS_TEST_DIR}/lorix_mapi_mail_probe.exe
  CACHE INTERNAL "The recorder's Simple MAPI hand-off built for Windows, as a test program")
set(LORIX_WAVE_IN_PROBE_EXE ${LORIX_WINDOWS_TEST_DIR}/lorix_wave_in_probe.exe
  CACHE INTERNAL "The recording engine on Windows' wave input, as a test program")
set(LORIX_FILE_DIALOG_PROBE_EXE ${LORIX_WINDOWS_TEST_DIR}/lorix_file_dialog_probe.exe
  CACHE INTERNAL "The recorder's Windows file dialog, as a test program")
set(LORIX_WINDOWS_BYPRODUCTS ${LORIX_WINDOWS_PLAYER_EXE} ${LORIX_WINDOWS_RECORDER_EXE})
if(LORIX_TESTS)
  list(APPEND LORIX_WINDOWS_BYPRODUCTS ${LORIX_MP3_PROBE_EXE} ${LORIX_MAPI_MAIL_PROBE_EXE}
    ${LORIX_WAVE_IN_PROBE_EXE} ${LORIX_FILE_DIALOG_PROBE_EXE})
endif()

ExternalProject_Add(lorix_windows
  SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}
  BINARY_DIR ${PROJECT_BINARY_DIR}/windows/cross
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake
    -DCMAKE_BUILD_TYPE=MinSizeRel
    -DLORIX_VERSION=${PROJECT_VERSION}
    -DLORIX_ICON_DIR=${LORIX_PLAYER_ICON_DIR}
    -DLORIX_OUTPUT_DIR=${LORIX_WINDOWS_OUTPUT_DIR}
    -DLORIX_LAME_PREFIX=${LORIX_LAME_MINGW_PREFIX}
    -DLORIX_TESTS=${LORIX_TESTS}
    -DLORIX_TEST_OUTPUT_DIR=${LORIX_WINDOWS_TEST_DIR}
  INSTALL_COMMAND ""
  # Its sources are the shared ones: the cross build looks at them on every build.
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${LORIX_WINDOWS_BYPRODUCTS}
  DEPENDS lorix_player_icon_files lorix_lame_mingw)

# The name the Windows build had when it built the player alone.
add_custom_target(lorix_windows_player DEPENDS lorix_windows)
