# add_subsystem(NAME PURE <sources without Windows headers> WIN <Windows-only sources>
#               DEPS <libraries the Windows sources need>)
# One static library per subsystem folder, named NAME_lib. A native build keeps only the PURE
# sources, which need no other library.
function(add_subsystem name)
  cmake_parse_arguments(S "" "" "PURE;WIN;DEPS" ${ARGN})
  set(sources ${S_PURE})
  if(WIN32)
    list(APPEND sources ${S_WIN})
  endif()
  if(NOT sources)
    return()
  endif()
  add_library(${name}_lib STATIC ${sources})
  target_include_directories(${name}_lib PUBLIC ${CMAKE_SOURCE_DIR})
  if(WIN32 AND S_DEPS)
    target_link_libraries(${name}_lib PUBLIC ${S_DEPS})
  endif()
endfunction()
