# A Wine session for one build: its own prefix and its own Xvfb display, so that the two
# bitnesses can run side by side without seeing each other's windows.

# Some machines boot with the kernel's 32-bit emulation off: every 32-bit Linux program, Wine's
# 32-bit loader among them, then fails with "Exec format error". There only 64-bit Windows
# programs run, unless scripts/emulate-32bit has them run under user-mode emulation.
wine_runs_32bit() { /lib/ld-linux.so.2 --version >/dev/null 2>&1; }
no_32bit="this machine's kernel runs no 32-bit programs (/lib/ld-linux.so.2 --version fails)"
i386_handler=tunemood-i386
wine_emulates_32bit() { grep -qx enabled "/proc/sys/fs/binfmt_misc/$i386_handler" 2>/dev/null; }
# Where 32-bit programs run only under emulation, says so in one line.
note_32bit_emulation() {
  if wine_emulates_32bit; then
    echo "The 32-bit side runs under emulation (qemu-i386-static, binfmt_misc handler $i386_handler)."
  fi
}

# Debian's wine wrapper takes the 32-bit loader whenever it is installed, and wineboot, winepath
# and the other tools go through its wine-stable: on a machine that cannot run it, or runs it
# only under emulation, both names lead to the 64-bit loader instead, from a folder first on PATH.
# It starts the 32-bit loader only for 32-bit programs.
use_64bit_loader() {
  local bin=$1/loader64 name
  mkdir -p "$bin"
  for name in wine wine-stable; do
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$bin/$name"
    chmod +x "$bin/$name"
  done
  export WINELOADER=/usr/lib/wine/wine64 PATH="$bin:$PATH"
}

# wine_session_start DIR [win32]: makes (once) and starts a 64-bit prefix in DIR/prefix on a new
# display, or a 32-bit one (a 32-bit Windows) when asked; a 64-bit prefix without 32-bit support,
# with the 64-bit loader alone.
wine_session_start() {
  local dir=$1 arch=${2:-win64}
  mkdir -p "$dir"
  # Wine takes only an absolute prefix path.
  dir=$(cd "$dir" && pwd)
  export WINEPREFIX="$dir/prefix" WINEARCH=$arch WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ "$arch" = win64 ] && { ! wine_runs_32bit || wine_emulates_32bit; }; then
    use_64bit_loader "$dir"
  fi

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
  elif [ "$arch" = win64 ] && wine_runs_32bit && [ ! -d "$WINEPREFIX/drive_c/windows/syswow64" ]; then
    say "Adding 32-bit support to the Wine prefix, made where 32-bit programs could not run"
    wineboot -u >/dev/null 2>&1
    wineserver -w
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
