# Third-party libraries of the native fuzzing build, built by tools/build-native-deps.sh into
# the dependency cache.
add_library(deps_jsoncpp STATIC IMPORTED GLOBAL)
set_target_properties(deps_jsoncpp PROPERTIES
  IMPORTED_LOCATION ${JSONCPP_ROOT}/lib/libjsoncpp.a
  INTERFACE_INCLUDE_DIRECTORIES ${JSONCPP_ROOT}/include)

add_library(deps_lzma7z STATIC IMPORTED GLOBAL)
set_target_properties(deps_lzma7z PROPERTIES
  IMPORTED_LOCATION ${LZMA7Z_ROOT}/lib/liblzma7z.a
  INTERFACE_INCLUDE_DIRECTORIES ${LZMA7Z_ROOT}/include)
