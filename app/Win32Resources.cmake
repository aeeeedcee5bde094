# The Windows program's resources: the icon in every size the shell asks
# for, the version, and the manifest (common controls 6, per-monitor DPI).
find_program(MAGICK_CONVERT convert REQUIRED)
set(icon_ico ${CMAKE_CURRENT_BINARY_DIR}/qadrill.ico)
add_custom_command(OUTPUT ${icon_ico}
                   COMMAND ${MAGICK_CONVERT} ${icon_pngs} ${icon_ico}
                   DEPENDS ${icon_pngs}
                   VERBATIM)
configure_file(win32/qadrill.rc.in ${CMAKE_CURRENT_BINARY_DIR}/qadrill.rc @ONLY)
configure_file(win32/qadrill.manifest ${CMAKE_CURRENT_BINARY_DIR}/qadrill.manifest COPYONLY)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/qadrill.rc PROPERTIES
                            OBJECT_DEPENDS "${icon_ico};${CMAKE_CURRENT_BINARY_DIR}/qadrill.manifest")
target_sources(qadrill PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/qadrill.rc)
# A window program: no console of its own opens beside it.
set_target_properties(qadrill PROPERTIES WIN32_EXECUTABLE ON)
target_link_options(qadrill PRIVATE $<$<CONFIG:Release>:-s>)
set(QADRILL_ICON ${icon_ico} CACHE INTERNAL "The program's icon, for the installer")
