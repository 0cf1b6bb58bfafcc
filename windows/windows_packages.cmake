# The Windows programs as Windows users get them (scripts/package-windows.sh builds the target
# lorix_windows_packages): the portable archive Lorix-<version>-win64.zip, whose folder "Lorix"
# holds the programs with their help pages, mail texts and LIESMICH.txt, and the setup program
# Lorix-<version>-win64-setup.exe that makensis builds from installer/lorix.nsi with the same files.
# Included by the top-level CMakeLists after windows_programs.cmake and the recorder's files.
# Without NSIS (a build for the Debian package alone) there is no such target.
find_program(LORIX_MAKENSIS makensis)
if(NOT LORIX_MAKENSIS)
  message(STATUS "No Windows packages: they need NSIS (makensis), which scripts/setup.sh installs")
  return()
endif()

set(LORIX_WINDOWS_PACKAGE_DIR ${PROJECT_BINARY_DIR}/windows/packages)
set(LORIX_WINDOWS_ZIP ${LORIX_WINDOWS_PACKAGE_DIR}/Lorix-${PROJECT_VERSION}-win64.zip
  CACHE INTERNAL "The portable archive of the Windows programs")
set(LORIX_WINDOWS_SETUP_EXE ${LORIX_WINDOWS_PACKAGE_DIR}/Lorix-${PROJECT_VERSION}-win64-setup.exe
  CACHE INTERNAL "The setup program of the Windows programs")

set(installer_dir ${CMAKE_CURRENT_LIST_DIR}/installer)
set(staged_dir ${LORIX_WINDOWS_PACKAGE_DIR}/Lorix)
set(packaged_files ${LORIX_WINDOWS_RECORDER_EXE} ${LORIX_WINDOWS_PLAYER_EXE})
foreach(name Lorix-Hilfe.html Lorix-Hilfe-Mail.html MailTextMAPI.txt MailTextSystem.txt)
  list(APPEND packaged_files ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${name})
endforeach()
list(APPEND packaged_files ${installer_dir}/LIESMICH.txt)

add_custom_command(OUTPUT ${LORIX_WINDOWS_ZIP} ${LORIX_WINDOWS_SETUP_EXE}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${staged_dir}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${staged_dir}
  COMMAND ${CMAKE_COMMAND} -E copy ${packaged_files} ${staged_dir}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${LORIX_WINDOWS_ZIP}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${LORIX_WINDOWS_ZIP} --format=zip Lorix
  COMMAND ${LORIX_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DFILES=${staged_dir}
    -DICON=${LORIX_PLAYER_ICON_DIR}/LORIX.ico -DOUTFILE=${LORIX_WINDOWS_SETUP_EXE}
    ${installer_dir}/lorix.nsi
  WORKING_DIRECTORY ${LORIX_WINDOWS_PACKAGE_DIR}
  DEPENDS ${packaged_files} ${installer_dir}/lorix.nsi lorix_windows lorix_player_icon_files
  COMMENT "Packing the Windows programs: portable archive and setup program")
add_custom_target(lorix_windows_packages DEPENDS ${LORIX_WINDOWS_ZIP} ${LORIX_WINDOWS_SETUP_EXE})
