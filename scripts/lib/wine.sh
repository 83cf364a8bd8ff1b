# A Wine session for one build: its own prefix and its own Xvfb display, so that the two
# bitnesses can run side by side without seeing each other's windows.

# wine_session_start DIR: makes (once) and starts a 64-bit prefix in DIR/prefix on a new display.
wine_session_start() {
  local dir=$1
  mkdir -p "$dir"
  # Wine takes only an absolute prefix path.
  dir=$(cd "$dir" && pwd)
  export WINEPREFIX="$dir/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

  if [ -z "${TUNEMOOD_DISPLAY:-}" ]; then
    local displayfile="$dir/display"
    rm -f "$displayfile"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
    WINE_SESSION_XVFB=$!
    local i
    for i in $(seq 100); do
      [ -s "$displayfile" ] && break
      sleep 0.1
    done
    export DISPLAY=":$(cat "$displayfile")"
  else
    export DISPLAY=$TUNEMOOD_DISPLAY
  fi

  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    say "Making the Wine prefix (once per build tree)"
    wineboot -i >/dev/null 2>&1
    # A virtual desktop: without a window manager every window that closes costs seconds.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    # A crash ends the process at once instead of opening a dialog that waits forever.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      >/dev/null 2>&1
    # The desktop setting takes effect with the next server; the registry is saved as it ends.
    wineserver -k
  fi
  # A persistent server keeps every test from paying for its start; its output goes nowhere,
  # since Wine's background services inherit it.
  wineserver -p >/dev/null 2>&1
  wine cmd /c exit >/dev/null 2>&1
}

wine_session_stop() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "${WINE_SESSION_XVFB:-}" ] && kill "$WINE_SESSION_XVFB" 2>/dev/null
  WINE_SESSION_XVFB=
}
