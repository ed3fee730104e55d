#!/usr/bin/env bash
# Runs one Windows program in the project's Wine prefix (used by CTest and the test scripts).
# The architecture follows the program's PE header unless the caller's environment set it.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
if [ -z "${WINELOADER:-}" ] || [ -z "${WINEPREFIX:-}" ]; then
  if file -b "$1" | grep -q 'PE32+'; then wine_env x86_64; else wine_env i686; fi
fi
exec "$WINELOADER" "$@"
