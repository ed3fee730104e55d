#!/usr/bin/env bash
# Makes delay-load import libraries for system DLLs outside the known DLLs: a program linked
# with them binds each DLL on its first call (through LoadLibrary, after the program has
# restricted the search to the system folder) instead of at start, before any code of its own
# has run. The libraries get the usual names (libwinhttp.a ...), so a link that searches OUTDIR
# first takes them instead of the ordinary import libraries.
# Usage: make-delaylibs.sh ARCH OUTDIR DLL...        (ARCH: i686 or x86_64)
set -euo pipefail
arch=$1 out=$2; shift 2
triple=$arch-w64-mingw32
if [ "$arch" = i686 ]; then machine=i386; prefix=__imp__; kill=-k; else machine=i386:x86-64; prefix=__imp_; kill=; fi
mkdir -p "$out"
for dll in "$@"; do
  lib=/usr/$triple/lib/lib$dll.a
  [ -f "$lib" ] || { echo "no import library for $dll" >&2; exit 1; }
  def=$out/$dll.def
  {
    echo "LIBRARY $dll.dll"
    echo "EXPORTS"
    nm -g --defined-only "$lib" | awk -v p="$prefix" '$2 == "I" && index($3, p) == 1 { print substr($3, length(p) + 1) }' | sort -u
  } >"$def"
  "$triple-dlltool" -m "$machine" $kill -d "$def" -y "$out/lib$dll.a"
  rm -f "$def"
done
