# Client code for a Wayland protocol extension: wayland-scanner turns the protocol's description
# (from wayland-protocols) into a header and the interface tables, built into a small library
# that carries the header's folder and libwayland-client. Needs the C language (top level).
#   lorix_wayland_protocol(TARGET RELATIVE_XML_PATH)
include_guard(GLOBAL)
find_package(PkgConfig REQUIRED)
pkg_check_modules(WAYLAND_CLIENT REQUIRED IMPORTED_TARGET GLOBAL wayland-client)
pkg_get_variable(LORIX_WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)
find_program(LORIX_WAYLAND_SCANNER wayland-scanner REQUIRED)
if(NOT LORIX_WAYLAND_PROTOCOLS_DIR)
  message(FATAL_ERROR "wayland-protocols is missing (run scripts/setup.sh)")
endif()

function(lorix_wayland_protocol target xml_path)
  set(xml ${LORIX_WAYLAND_PROTOCOLS_DIR}/${xml_path})
  get_filename_component(name ${xml} NAME_WE)
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/${target})
  set(header ${folder}/${name}-client-protocol.h)
  set(code ${folder}/${name}-protocol.c)
  add_custom_command(OUTPUT ${header} ${code}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${LORIX_WAYLAND_SCANNER} client-header ${xml} ${header}
    COMMAND ${LORIX_WAYLAND_SCANNER} private-code ${xml} ${code}
    DEPENDS ${xml}
    COMMENT "Generating the client code of ${name}")
  add_library(${target} STATIC ${code} ${header})
  target_include_directories(${target} PUBLIC ${folder})
  target_link_libraries(${target} PUBLIC PkgConfig::WAYLAND_CLIENT)
endfunction()
