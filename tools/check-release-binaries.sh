#!/usr/bin/env bash
# Checks the shipped executables (and that the installer carries its skin): 32-bit GUI/console PE files for Intel 80386 that import
# only DLLs every Windows has (nothing from the compiler's runtime needs to lie beside them).
set -euo pipefail
dir=$1
status=0
for exe in "$dir"/installer-cli.exe "$dir"/RavellInstaller.exe; do
  desc=$(file -b "$exe")
  case "$desc" in
    "PE32 executable"*"Intel 80386"*) echo "ok: $(basename "$exe"): $desc" ;;
    *) echo "FAIL: $(basename "$exe") is not a PE32 i386 executable: $desc"; status=1 ;;
  esac
  dlls=$(i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/{print tolower($3)}' | sort -u)
  for dll in $dlls; do
    case "$dll" in
      libstdc++*|libgcc*|libwinpthread*|*mingw*|libcurl*|libjsoncpp*)
        echo "FAIL: $(basename "$exe") needs $dll beside it"; status=1 ;;
    esac
  done
  echo "imports: $(echo $dlls)"
done
# The installer carries the skin package: resource type "ZIPRES", id 147, language 2052.
resources=$(i686-w64-mingw32-windres -i "$dir/RavellInstaller.exe" -O rc 2>/dev/null)
if grep -A2 -x 'LANGUAGE 4, 2' <<<"$resources" | grep -q '^147 "ZIPRES"'; then
  echo "ok: RavellInstaller.exe carries ZIPRES 147 (language 2052)"
else
  echo "FAIL: RavellInstaller.exe has no ZIPRES 147 resource in language 2052"; status=1
fi
echo "size: RavellInstaller.exe $(stat -c %s "$dir/RavellInstaller.exe") bytes (stripped)"
exit $status
