# How Lorix is installed and packed into a Debian package (scripts/package.sh runs it):
#   bin/lorix, bin/lorix-player, bin/lorix-tool      the programs
#   lib/lorix/LorixPlayer.exe                        the Windows player attachments start with
#   share/lorix/                                     help pages and default mail texts
#   share/applications, share/mime/packages,
#   share/icons/hicolor, share/metainfo, share/man   the desktop's view of them
# An installed recorder recognises its prefix by share/lorix beside its bin folder.
if(NOT LORIX_WINDOWS)
  message(STATUS "No install rules: the package needs the Windows player (LORIX_WINDOWS)")
  return()
endif()

set(LORIX_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(LORIX_PACKAGING_OUT ${PROJECT_BINARY_DIR}/packaging)
find_program(LORIX_CONVERT convert REQUIRED)
find_program(LORIX_GZIP gzip REQUIRED)

# Icons in the desktop's sizes, scaled up from the players' own 32 x 32 pictures pixel by pixel.
set(LORIX_PICTURES_DIR ${LORIX_PLAYER_ICON_DIR})
set(LORIX_DESKTOP_ICONS)
foreach(size 32 48 64 128)
  foreach(pair "lorix:LORIX" "lorix-player:MAINICON")
    string(REPLACE ":" ";" pair ${pair})
    list(GET pair 0 name)
    list(GET pair 1 picture)
    set(png ${LORIX_PACKAGING_OUT}/icons/${size}x${size}/apps/${name}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${LORIX_PACKAGING_OUT}/icons/${size}x${size}/apps
      COMMAND ${LORIX_CONVERT} ${LORIX_PICTURES_DIR}/${picture}.ico -filter point
              -resize ${size}x${size} -strip PNG32:${png}
      DEPENDS lorix_player_icon_files ${LORIX_PICTURES_DIR}/${picture}.ico
      COMMENT "Drawing the ${size} x ${size} icon ${name}.png")
    list(APPEND LORIX_DESKTOP_ICONS ${png})
  endforeach()
endforeach()

# Man pages and the changelog carry the version; the package holds them compressed.
string(TIMESTAMP LORIX_RELEASE_DATE "%Y-%m-%d" UTC)
configure_file(${LORIX_PACKAGING_DIR}/de.lorix.Lorix.metainfo.xml
  ${LORIX_PACKAGING_OUT}/de.lorix.Lorix.metainfo.xml @ONLY)
set(LORIX_COMPRESSED_DOCS)
foreach(page lorix.1 lorix-player.1 lorix-tool.1 changelog)
  configure_file(${LORIX_PACKAGING_DIR}/${page} ${LORIX_PACKAGING_OUT}/${page} @ONLY)
  add_custom_command(OUTPUT ${LORIX_PACKAGING_OUT}/${page}.gz
    COMMAND ${LORIX_GZIP} -9nf -k ${LORIX_PACKAGING_OUT}/${page}
    DEPENDS ${LORIX_PACKAGING_OUT}/${page})
  list(APPEND LORIX_COMPRESSED_DOCS ${LORIX_PACKAGING_OUT}/${page}.gz)
endforeach()
add_custom_target(lorix_packaging_files ALL DEPENDS ${LORIX_DESKTOP_ICONS} ${LORIX_COMPRESSED_DOCS})

include(GNUInstallDirs)
# The recorder is "Lorix" in the build tree and "lorix" on the system's path.
install(PROGRAMS $<TARGET_FILE:lorix_recorder> DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME lorix)
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/lorix\")
  endif()")
install(TARGETS lorix_player lorix-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${LORIX_WINDOWS_PLAYER_EXE} DESTINATION lib/lorix)
file(GLOB LORIX_RECORDER_FILES ${PROJECT_SOURCE_DIR}/recorder/files/*)
install(FILES ${LORIX_RECORDER_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/lorix)
install(FILES ${LORIX_PACKAGING_DIR}/lorix.desktop ${LORIX_PACKAGING_DIR}/lorix-player.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${LORIX_PACKAGING_DIR}/lorix.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${LORIX_PACKAGING_OUT}/de.lorix.Lorix.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${LORIX_PACKAGING_OUT}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${LORIX_PACKAGING_OUT}/lorix.1.gz ${LORIX_PACKAGING_OUT}/lorix-player.1.gz
  ${LORIX_PACKAGING_OUT}/lorix-tool.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${LORIX_PACKAGING_DIR}/copyright ${LORIX_PACKAGING_OUT}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lorix)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lorix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "Lorix developers <lorix@example.org>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The desktop's programs for mail, links and folders; the recorder's window needs Qt's X11/Wayland
# platform plugins, which Qt itself only recommends.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils, qt6-qpa-plugins")
# Sound through PulseAudio/PipeWire, Wayland, German Qt dialogs, the documents folder, and the
# index of which desktop entry opens which file type.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "libasound2-plugins, qt6-wayland, qt6-translations-l10n, xdg-user-dirs, desktop-file-utils")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "record a spoken message and mail it as a self-playing attachment")
# CPack puts the summary in front of the long description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Lorix records a spoken message from the microphone, compresses it
with its own speech codec and builds a mail attachment: a copy of a
small Windows player with the message appended, which plays itself
when the recipient opens it. The recorder has a German user interface
and leads through four steps: level check, recording, compress and
listen, attach and mail.
.
This package holds the recorder (lorix), the Linux player for received
messages and saved attachments (lorix-player), the command-line tool
(lorix-tool) and the Windows player the attachments are built from.")
include(CPack)
