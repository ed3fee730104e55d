# The language test skin: the files of skin/data with those of tests/app/data/langskin laid
# over them (a main window with a language box, and language.json), staged in the build folder
# and packed like the skin package. Target langskin_package builds ${LANGSKIN_PACKAGE}; it is
# rebuilt when a file of either folder changes.
include(${CMAKE_CURRENT_LIST_DIR}/SkinArchive.cmake)
set(LANGSKIN_BASE_DIR ${CMAKE_SOURCE_DIR}/skin/data)
set(LANGSKIN_OVERLAY_DIR ${CMAKE_SOURCE_DIR}/tests/app/data/langskin)
set(LANGSKIN_STAGE_DIR ${CMAKE_BINARY_DIR}/skin/langskin)
set(LANGSKIN_PACKAGE ${CMAKE_BINARY_DIR}/skin/langskin.7z)
file(GLOB_RECURSE LANGSKIN_FILES CONFIGURE_DEPENDS ${LANGSKIN_BASE_DIR}/*
     ${LANGSKIN_OVERLAY_DIR}/*)
add_custom_command(OUTPUT ${LANGSKIN_PACKAGE}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${LANGSKIN_STAGE_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${LANGSKIN_BASE_DIR} ${LANGSKIN_STAGE_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${LANGSKIN_OVERLAY_DIR} ${LANGSKIN_STAGE_DIR}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${LANGSKIN_PACKAGE}
  COMMAND ${CMAKE_COMMAND} -E chdir ${LANGSKIN_STAGE_DIR}
          7zz a ${SKIN_7Z_OPTIONS} ${LANGSKIN_PACKAGE} .
  DEPENDS ${LANGSKIN_FILES}
  COMMENT "Packing the language test skin")
add_custom_target(langskin_package DEPENDS ${LANGSKIN_PACKAGE})
