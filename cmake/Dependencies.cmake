# Third-party libraries built by tools/build-deps.sh into the dependency cache.
if(NOT CURL_ROOT)
  message(FATAL_ERROR "DEPS_FILE with the dependency prefixes is required (./run build)")
endif()

add_library(deps_curl STATIC IMPORTED GLOBAL)
set_target_properties(deps_curl PROPERTIES
  IMPORTED_LOCATION ${CURL_ROOT}/lib/libcurl.a
  INTERFACE_INCLUDE_DIRECTORIES ${CURL_ROOT}/include
  INTERFACE_COMPILE_DEFINITIONS CURL_STATICLIB
  INTERFACE_LINK_LIBRARIES "ws2_32;crypt32;secur32;bcrypt;advapi32;normaliz")
set(CURL_EXE ${CURL_ROOT}/bin/curl.exe)

add_library(deps_jsoncpp STATIC IMPORTED GLOBAL)
set_target_properties(deps_jsoncpp PROPERTIES
  IMPORTED_LOCATION ${JSONCPP_ROOT}/lib/libjsoncpp.a
  INTERFACE_INCLUDE_DIRECTORIES ${JSONCPP_ROOT}/include)

add_library(deps_lzma7z STATIC IMPORTED GLOBAL)
set_target_properties(deps_lzma7z PROPERTIES
  IMPORTED_LOCATION ${LZMA7Z_ROOT}/lib/liblzma7z.a
  INTERFACE_INCLUDE_DIRECTORIES ${LZMA7Z_ROOT}/include)

add_library(deps_stb INTERFACE IMPORTED GLOBAL)
set_target_properties(deps_stb PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${STB_INCLUDE_DIR})

if(BUILD_TESTS)
  add_library(deps_gtest STATIC IMPORTED GLOBAL)
  set_target_properties(deps_gtest PROPERTIES
    IMPORTED_LOCATION ${GTEST_ROOT}/lib/libgtest.a
    INTERFACE_INCLUDE_DIRECTORIES ${GTEST_ROOT}/include)
  add_library(deps_gtest_main STATIC IMPORTED GLOBAL)
  set_target_properties(deps_gtest_main PROPERTIES
    IMPORTED_LOCATION ${GTEST_ROOT}/lib/libgtest_main.a
    INTERFACE_LINK_LIBRARIES deps_gtest)
  add_library(deps_gmock STATIC IMPORTED GLOBAL)
  set_target_properties(deps_gmock PROPERTIES
    IMPORTED_LOCATION ${GTEST_ROOT}/lib/libgmock.a
    INTERFACE_LINK_LIBRARIES deps_gtest)
endif()
