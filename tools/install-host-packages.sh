#!/usr/bin/env bash
# Installs the host packages the build and the tests need: cross compilers, Wine with its
# 32-bit half, Xvfb, a CJK font, 7-Zip, nginx, osslsigncode (signed test packages), the tools
# to fetch dependency sources, clang with libFuzzer for the fuzz targets.
# Returns at once when everything is already installed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

packages=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine32:i386 wine64 xvfb xauth
          fonts-wqy-microhei 7zip libstb-dev nginx-light dpkg-dev googletest
          libgnutls30 openssl cmake ninja-build python3 file imagemagick xdotool xcompmgr
          x11-utils osslsigncode clang libclang-rt-14-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing host packages: ${missing[*]}"

export DEBIAN_FRONTEND=noninteractive
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
read -r -a opts <<<"$("$here/apt-sources.sh" "$work")"
apt-get "${opts[@]}" update -qq
apt-get "${opts[@]}" install -y -qq --no-install-recommends "${packages[@]}"
