# add_subsystem(NAME PURE <sources without Windows headers> WIN <Windows-only sources>
#               DEPS <libraries the Windows sources need>
#               [PURE_LIB <sources without Windows headers that need a third-party library>
#                PURE_LIB_DEPS <those libraries>])
# One static library per subsystem folder, named NAME_lib. A native build keeps only the PURE
# sources, which need no other library, and the PURE_LIB sources when every one of the
# PURE_LIB_DEPS targets exists (the native dependency build of the fuzzing build).
function(add_subsystem name)
  cmake_parse_arguments(S "" "" "PURE;WIN;DEPS;PURE_LIB;PURE_LIB_DEPS" ${ARGN})
  set(sources ${S_PURE})
  set(with_libs ON)
  foreach(dep IN LISTS S_PURE_LIB_DEPS)
    if(NOT TARGET ${dep})
      set(with_libs OFF)
    endif()
  endforeach()
  if(S_PURE_LIB AND with_libs)
    list(APPEND sources ${S_PURE_LIB})
  endif()
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
  if(S_PURE_LIB AND with_libs)
    target_link_libraries(${name}_lib PUBLIC ${S_PURE_LIB_DEPS})
  endif()
endfunction()
