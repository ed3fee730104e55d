# Sourced: the Wine environment of the project's own prefix for one target architecture.
#   wine_env ARCH          exports WINEPREFIX, WINEARCH, WINELOADER, ... for ARCH (i686/x86_64)
#   wine_start / wine_stop start and stop Xvfb and the prefix's wineserver
# The prefix lives in the build folder and is created on first use.
wine_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

wine_env() {
  local arch=$1
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if [ "$arch" = i686 ]; then
    export WINEARCH=win32 WINELOADER=/usr/lib/wine/wine
  else
    export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
  fi
  export WINEPREFIX=${TALLOWMERE_WINEPREFIX:-$wine_root/build/wine-$arch}
  export WINESERVER=/usr/lib/wine/wineserver
}

wine_start() {
  if [ -z "${wine_xvfb_pid:-}" ]; then
    local n=90
    while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
    Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    wine_xvfb_pid=$!
    export DISPLAY=:$n
    for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
  fi
  # The server must know the display before any window exists.
  mkdir -p "$WINEPREFIX"
  "$WINESERVER" -k >/dev/null 2>&1 || true
  "$WINESERVER" -p
  if [ ! -f "$WINEPREFIX/.tallowmere-ready" ]; then
    echo "creating the Wine prefix $WINEPREFIX" >&2
    "$WINELOADER" wineboot -i >/dev/null 2>&1
    # The skin's font face is mapped to an installed CJK font.
    "$WINELOADER" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
      /v '微软雅黑' /t REG_SZ /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
    touch "$WINEPREFIX/.tallowmere-ready"
  fi
  if [ ! -f "$WINEPREFIX/.tallowmere-unmanaged" ]; then
    # Windows are not handed to a window manager (there is none): otherwise every window
    # destruction waits about two seconds for one.
    "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
      >/dev/null 2>&1
    touch "$WINEPREFIX/.tallowmere-unmanaged"
  fi
  # Start the prefix's services now, detached from our output: a service started by the first
  # test would inherit the test runner's pipes and keep it waiting after the test has ended.
  "$WINELOADER" wineboot </dev/null >/dev/null 2>&1
}

wine_stop() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  if [ -n "${wine_xvfb_pid:-}" ]; then
    kill "$wine_xvfb_pid" 2>/dev/null || true
    wait "$wine_xvfb_pid" 2>/dev/null || true
    wine_xvfb_pid=
  fi
}
