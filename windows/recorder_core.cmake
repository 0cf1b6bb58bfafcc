# The recorder's toolkit-free core for Lorix.exe: the same sources the Linux recorder builds,
# with the Windows version of each system service in place of its Linux one. Included by
# CMakeLists.txt here, whose LORIX_ROOT, LORIX_GENERATED_DIR, lorix_windows_target() and
# lorix_mp3 it uses; it defines the static library lorix_recorder_core_win32, which the Win32
# window and the Windows services (wave input, Simple MAPI) complete.
#
# A source X.cpp with a sibling win32/X_win32.cpp is the Linux version of that service and is
# replaced by the sibling; every other source of codec/ and recorder/ is shared as it is, and
# every source in their win32/ folders is added.

# The .cpp files of `folder` with the Windows siblings swapped in, into `out`.
function(lorix_sources_with_win32_siblings out folder)
  file(GLOB shared CONFIGURE_DEPENDS ${LORIX_ROOT}/${folder}/*.cpp)
  file(GLOB windows CONFIGURE_DEPENDS ${LORIX_ROOT}/${folder}/win32/*.cpp)
  foreach(source ${windows})
    get_filename_component(name ${source} NAME)
    if(name MATCHES "_win32\\.cpp$")
      string(REGEX REPLACE "_win32\\.cpp$" ".cpp" linux_name ${name})
      list(REMOVE_ITEM shared ${LORIX_ROOT}/${folder}/${linux_name})
    endif()
  endforeach()
  set(${out} ${shared} ${windows} PARENT_SCOPE)
endfunction()

lorix_sources_with_win32_siblings(lorix_core_codec_sources codec)
lorix_sources_with_win32_siblings(lorix_core_recorder_sources recorder)
# Linux only: where an installed Linux program finds its files (Windows decides in
# recorder/win32/user_folders_win32.cpp).
list(REMOVE_ITEM lorix_core_codec_sources ${LORIX_ROOT}/codec/install_layout.cpp)

# The engine logic of audio/ beside winmm's services; the ALSA backends and the media-control
# interpreter that stands in for winmm on Linux stay out, as do the test doubles.
set(lorix_core_audio_sources)
foreach(name error_log level_meter mci_errors mci_quoted mixer mixer_bindings mixer_setup
             recording_engine sound_level time_text volume_scale wave_in_errors wave_playback
             win32/ui_thread_mailbox win32/wave_in_capture_backend win32/wave_in_window
             win32/winmm_mci win32/winmm_mixer_backend)
  list(APPEND lorix_core_audio_sources ${LORIX_ROOT}/audio/${name}.cpp)
endforeach()

# The mail hand-off's texts and codes, its Simple MAPI composer and Explorer's selection, and
# the Windows shell. The Linux desktop's program spawning and mail composer stay out.
set(lorix_core_desktop_sources)
foreach(name application_name mailto_url mapi_result win32/explorer_selection_win32
             win32/mail_composer_win32 win32/shell_win32)
  list(APPEND lorix_core_desktop_sources ${LORIX_ROOT}/desktop/${name}.cpp)
endforeach()

add_library(lorix_recorder_core_win32 STATIC
  ${lorix_core_codec_sources}
  ${lorix_core_audio_sources}
  ${lorix_core_desktop_sources}
  ${lorix_core_recorder_sources})
# The programs' own std::filesystem::path (UTF-8 text; see compat/filesystem) comes first, for
# the program that links the core as well: paths cross between them.
target_include_directories(lorix_recorder_core_win32 BEFORE PUBLIC
  ${LORIX_ROOT}/player/window_win32/compat)
lorix_windows_target(lorix_recorder_core_win32)
target_compile_options(lorix_recorder_core_win32 PRIVATE -Os)
# uuid: the known folders' identifiers; lorix_win32_ui: the file dialog (recorder/win32/).
target_link_libraries(lorix_recorder_core_win32 PUBLIC
  lorix_mp3 lorix_win32_ui winmm shell32 ole32 advapi32 uuid)
