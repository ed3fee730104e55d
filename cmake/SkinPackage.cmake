# The skin package: every file of skin/data in one solid 7z archive (SkinArchive.cmake), names
# relative to skin/data with their case kept. Rebuilt when a file of skin/data changes.
include(${CMAKE_CURRENT_LIST_DIR}/SkinArchive.cmake)
set(SKIN_DATA_DIR ${CMAKE_SOURCE_DIR}/skin/data)
set(SKIN_PACKAGE ${CMAKE_BINARY_DIR}/skin/skin.7z)
file(GLOB_RECURSE SKIN_FILES CONFIGURE_DEPENDS ${SKIN_DATA_DIR}/*)
add_custom_command(OUTPUT ${SKIN_PACKAGE}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${SKIN_PACKAGE}
  COMMAND 7zz a ${SKIN_7Z_OPTIONS} ${SKIN_PACKAGE} .
  WORKING_DIRECTORY ${SKIN_DATA_DIR}
  DEPENDS ${SKIN_FILES}
  COMMENT "Packing the skin")
add_custom_target(skin_package DEPENDS ${SKIN_PACKAGE})
