#!/usr/bin/env bash
# Builds the third-party libraries of the native fuzzing build from Debian's source packages
# into the dependency cache, next to those of tools/build-deps.sh and from the same unpacked
# sources: the LZMA SDK's C 7z decoder and jsoncpp, compiled by clang with libFuzzer's coverage
# instrumentation and AddressSanitizer, so that the fuzz targets explore and check them too.
# (UndefinedBehaviorSanitizer is left to the installer's own code: the LZMA SDK reads unaligned
# words on purpose on x86.)
# Usage: build-native-deps.sh OUTPUT.cmake
# Writes OUTPUT.cmake with the install prefixes for the fuzzing build's CMake configure.
set -euo pipefail
shopt -s inherit_errexit
here=$(cd "$(dirname "$0")" && pwd)
out=$1
cache=${TALLOWMERE_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tallowmere-deps}
arch=native-clang
recipe=$(sha1sum <"$0" | cut -c1-8)  # contents only, not paths
jobs=$(nproc)
flags="-O1 -g -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address"
mkdir -p "$cache/src"

apt_opts=()
apt_setup() {  # the package sources, only when a version or a source must be fetched
  [ ${#apt_opts[@]} -gt 0 ] || read -r -a apt_opts <<<"$("$here/apt-sources.sh" "$cache/apt")"
}

# The same version records and unpacked sources as tools/build-deps.sh.
src_version() {
  local pkg=$1 record=$cache/versions/$1 v
  if [ -s "$record" ]; then cat "$record"; return; fi
  apt_setup
  v=$(apt-cache "${apt_opts[@]}" showsrc "$pkg" 2>/dev/null | awk '/^Version:/{print $2; exit}')
  if [ -z "$v" ]; then
    apt-get "${apt_opts[@]}" update -qq >&2
    v=$(apt-cache "${apt_opts[@]}" showsrc "$pkg" | awk '/^Version:/{print $2; exit}')
  fi
  [ -n "$v" ] || { echo "no source package $pkg" >&2; return 1; }
  mkdir -p "$cache/versions"
  echo "${v#*:}" >"$record"
  echo "${v#*:}"
}

fetch_src() {
  local pkg=$1 ver=$2 dir=$cache/src/$1-$2
  if [ ! -f "$dir/.unpacked" ]; then
    apt_setup
    rm -rf "$dir"; mkdir -p "$dir"
    if ! (cd "$dir" && apt-get "${apt_opts[@]}" source -qq "$pkg=$ver" >&2); then
      apt-get "${apt_opts[@]}" update -qq >&2
      (cd "$dir" && apt-get "${apt_opts[@]}" source -qq "$pkg=$ver" >&2)
    fi
    touch "$dir/.unpacked"
  fi
  find "$dir" -mindepth 1 -maxdepth 1 -type d | head -1
}

# --- jsoncpp -----------------------------------------------------------------
ver=$(src_version libjsoncpp)
json_pfx=$cache/jsoncpp-$ver-$arch-$recipe
if [ ! -f "$json_pfx/.done" ]; then
  echo "building jsoncpp $ver ($arch)" >&2
  src=$(fetch_src libjsoncpp "$ver")
  bld=$cache/build-jsoncpp-$arch
  rm -rf "$bld"
  CC=clang CXX=clang++ cmake -S "$src" -B "$bld" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS_RELEASE="$flags" -DCMAKE_INSTALL_PREFIX="$json_pfx" \
    -DBUILD_SHARED_LIBS=OFF -DBUILD_STATIC_LIBS=ON -DBUILD_OBJECT_LIBS=OFF \
    -DJSONCPP_WITH_TESTS=OFF -DJSONCPP_WITH_POST_BUILD_UNITTEST=OFF \
    -DJSONCPP_WITH_PKGCONFIG_SUPPORT=OFF -DJSONCPP_WITH_CMAKE_PACKAGE=ON >"$bld.log" 2>&1 ||
    { tail -30 "$bld.log" >&2; exit 1; }
  cmake --build "$bld" -j"$jobs" >>"$bld.log" 2>&1 || { tail -30 "$bld.log" >&2; exit 1; }
  cmake --install "$bld" >>"$bld.log" 2>&1
  rm -rf "$bld"
  touch "$json_pfx/.done"
fi

# --- LZMA SDK C 7z decoder -----------------------------------------------------
ver=$(src_version 7zip)
lzma_pfx=$cache/lzma7z-$ver-$arch-$recipe
if [ ! -f "$lzma_pfx/.done" ]; then
  echo "building the 7z decoder $ver ($arch)" >&2
  src=$(fetch_src 7zip "$ver")
  rm -rf "$lzma_pfx"; mkdir -p "$lzma_pfx/include/lzma" "$lzma_pfx/lib" "$lzma_pfx/obj"
  files=(7zAlloc 7zArcIn 7zBuf 7zBuf2 7zCrc 7zCrcOpt 7zDec 7zStream Bcj2 Bra Bra86
         BraIA64 CpuArch Delta Lzma2Dec LzmaDec Ppmd7 Ppmd7Dec)
  for f in "${files[@]}"; do
    # shellcheck disable=SC2086
    clang $flags -c "$src/C/$f.c" -o "$lzma_pfx/obj/$f.o"
  done
  ar rcs "$lzma_pfx/lib/liblzma7z.a" "$lzma_pfx"/obj/*.o
  cp "$src"/C/*.h "$lzma_pfx/include/lzma/"
  rm -rf "$lzma_pfx/obj"
  touch "$lzma_pfx/.done"
fi

cat >"$out" <<EOT
set(JSONCPP_ROOT "$json_pfx")
set(LZMA7Z_ROOT "$lzma_pfx")
set(STB_INCLUDE_DIR "/usr/include/stb")
EOT
