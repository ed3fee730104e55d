#!/usr/bin/env bash
# Builds the third-party libraries from Debian's source packages into a cache outside the
# repository, one folder per (library, Debian version, target, recipe), reused when present:
#   libcurl (static, Schannel; HTTP, HTTPS and FILE only) and its curl.exe, jsoncpp, the LZMA SDK's C
#   7z decoder, GoogleTest/GoogleMock.
# Usage: build-deps.sh ARCH OUTPUT.cmake      (ARCH: i686 or x86_64)
# Writes OUTPUT.cmake with the install prefixes for the project's CMake configure.
set -euo pipefail
shopt -s inherit_errexit
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
arch=$1
out=$2
cache=${TALLOWMERE_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tallowmere-deps}
toolchain=$root/cmake/mingw-$arch.cmake
recipe=$(cat "$0" "$toolchain" | sha1sum | cut -c1-8)  # contents only, not paths
jobs=$(nproc)
mkdir -p "$cache/src"

read -r -a apt_opts <<<"$("$here/apt-sources.sh" "$cache/apt")"

# The Debian version of each source package is resolved once and recorded in the cache, so a
# warm build needs neither a package index nor the network.
src_version() {  # Debian version of a source package, without the epoch
  local pkg=$1 record=$cache/versions/$1 v
  if [ -s "$record" ]; then cat "$record"; return; fi
  v=$(apt-cache "${apt_opts[@]}" showsrc "$pkg" 2>/dev/null | awk '/^Version:/{print $2; exit}')
  if [ -z "$v" ]; then
    apt-get "${apt_opts[@]}" update -qq >&2 || apt-get "${apt_opts[@]}" update -qq >&2
    v=$(apt-cache "${apt_opts[@]}" showsrc "$pkg" | awk '/^Version:/{print $2; exit}')
  fi
  [ -n "$v" ] || { echo "no source package $pkg" >&2; return 1; }
  mkdir -p "$cache/versions"
  echo "${v#*:}" >"$record"
  echo "${v#*:}"
}

fetch_src() {  # fetch_src PACKAGE VERSION -> prints the unpacked source folder
  local pkg=$1 ver=$2 dir=$cache/src/$1-$2
  if [ ! -f "$dir/.unpacked" ]; then
    rm -rf "$dir"; mkdir -p "$dir"
    if ! (cd "$dir" && apt-get "${apt_opts[@]}" source -qq "$pkg=$ver" >&2); then
      apt-get "${apt_opts[@]}" update -qq >&2
      (cd "$dir" && apt-get "${apt_opts[@]}" source -qq "$pkg=$ver" >&2)
    fi
    touch "$dir/.unpacked"
  fi
  find "$dir" -mindepth 1 -maxdepth 1 -type d | head -1
}

cmake_dep() {  # cmake_dep SOURCE BUILD PREFIX [cmake args...]
  local src=$1 bld=$2 pfx=$3; shift 3
  rm -rf "$bld"
  cmake -S "$src" -B "$bld" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$pfx" "$@" >"$bld.log" 2>&1 ||
    { tail -30 "$bld.log" >&2; return 1; }
  cmake --build "$bld" -j"$jobs" >>"$bld.log" 2>&1 || { tail -30 "$bld.log" >&2; return 1; }
  cmake --install "$bld" >>"$bld.log" 2>&1
  rm -rf "$bld"
}

# --- libcurl -----------------------------------------------------------------
ver=$(src_version curl)
curl_pfx=$cache/curl-$ver-$arch-$recipe
if [ ! -f "$curl_pfx/.done" ]; then
  echo "building libcurl $ver ($arch)" >&2
  src=$(fetch_src curl "$ver")
  cmake_dep "$src" "$cache/build-curl-$arch" "$curl_pfx" \
    -DBUILD_SHARED_LIBS=OFF -DBUILD_CURL_EXE=ON -DBUILD_TESTING=OFF -DENABLE_MANUAL=OFF \
    -DCURL_USE_SCHANNEL=ON -DCURL_USE_OPENSSL=OFF -DCURL_USE_LIBSSH2=OFF -DCURL_USE_LIBSSH=OFF \
    -DHTTP_ONLY=OFF -DCURL_DISABLE_FILE=OFF -DCURL_DISABLE_FTP=ON -DCURL_DISABLE_TELNET=ON \
    -DCURL_DISABLE_DICT=ON -DCURL_DISABLE_TFTP=ON -DCURL_DISABLE_GOPHER=ON -DCURL_DISABLE_IMAP=ON \
    -DCURL_DISABLE_POP3=ON -DCURL_DISABLE_SMTP=ON -DCURL_DISABLE_RTSP=ON -DCURL_DISABLE_SMB=ON \
    -DCURL_DISABLE_MQTT=ON -DCURL_DISABLE_LDAPS=ON -DCURL_DISABLE_LDAP=ON -DUSE_LIBIDN2=OFF -DUSE_NGHTTP2=OFF \
    -DCURL_ZLIB=OFF -DCURL_BROTLI=OFF -DCURL_ZSTD=OFF -DENABLE_UNIX_SOCKETS=OFF \
    -DCURL_CA_BUNDLE=none -DCURL_CA_PATH=none -DCMAKE_EXE_LINKER_FLAGS=-static
  touch "$curl_pfx/.done"
fi

# --- jsoncpp -----------------------------------------------------------------
ver=$(src_version libjsoncpp)
json_pfx=$cache/jsoncpp-$ver-$arch-$recipe
if [ ! -f "$json_pfx/.done" ]; then
  echo "building jsoncpp $ver ($arch)" >&2
  src=$(fetch_src libjsoncpp "$ver")
  cmake_dep "$src" "$cache/build-jsoncpp-$arch" "$json_pfx" \
    -DBUILD_SHARED_LIBS=OFF -DBUILD_STATIC_LIBS=ON -DBUILD_OBJECT_LIBS=OFF \
    -DJSONCPP_WITH_TESTS=OFF -DJSONCPP_WITH_POST_BUILD_UNITTEST=OFF \
    -DJSONCPP_WITH_PKGCONFIG_SUPPORT=OFF -DJSONCPP_WITH_CMAKE_PACKAGE=ON
  touch "$json_pfx/.done"
fi

# --- LZMA SDK C 7z decoder -----------------------------------------------------
ver=$(src_version 7zip)
lzma_pfx=$cache/lzma7z-$ver-$arch-$recipe
if [ ! -f "$lzma_pfx/.done" ]; then
  echo "building the 7z decoder $ver ($arch)" >&2
  src=$(fetch_src 7zip "$ver")
  rm -rf "$lzma_pfx"; mkdir -p "$lzma_pfx/include/lzma" "$lzma_pfx/lib" "$lzma_pfx/obj"
  files=(7zAlloc 7zArcIn 7zBuf 7zBuf2 7zCrc 7zCrcOpt 7zDec 7zFile 7zStream Bcj2 Bra Bra86
         BraIA64 CpuArch Delta Lzma2Dec LzmaDec Ppmd7 Ppmd7Dec)
  for f in "${files[@]}"; do
    "$arch-w64-mingw32-gcc-posix" -O2 -c "$src/C/$f.c" -o "$lzma_pfx/obj/$f.o"
  done
  "$arch-w64-mingw32-ar" rcs "$lzma_pfx/lib/liblzma7z.a" "$lzma_pfx"/obj/*.o
  cp "$src"/C/*.h "$lzma_pfx/include/lzma/"
  rm -rf "$lzma_pfx/obj"
  touch "$lzma_pfx/.done"
fi

# --- GoogleTest ----------------------------------------------------------------
gtest_ver=$(dpkg-query -W -f='${Version}' googletest)
gtest_pfx=$cache/googletest-$gtest_ver-$arch-$recipe
if [ ! -f "$gtest_pfx/.done" ]; then
  echo "building googletest $gtest_ver ($arch)" >&2
  cmake_dep /usr/src/googletest "$cache/build-gtest-$arch" "$gtest_pfx" \
    -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON -Dgtest_force_shared_crt=ON
  touch "$gtest_pfx/.done"
fi

cat >"$out" <<EOT
set(CURL_ROOT "$curl_pfx")
set(JSONCPP_ROOT "$json_pfx")
set(LZMA7Z_ROOT "$lzma_pfx")
set(GTEST_ROOT "$gtest_pfx")
set(STB_INCLUDE_DIR "/usr/include/stb")
EOT
