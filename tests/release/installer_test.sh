#!/usr/bin/env bash
# The installers under Wine, one after the other in one prefix: a silent install puts the
# program, its shortcut and its uninstall entry in place and writes nothing else; the program
# starts from there; a silent uninstall leaves the user's files and registry as they were.
# Takes the installers and zips that scripts/package left in build/package.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/lib/common.sh
source scripts/lib/wine.sh

packages=build/package
program_check=build/win64/tests/release/installed_program_check.exe
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall'
key="$uninstall_key\\Tunemood"
work=$PWD/build/installer-test

passed=0
failed=0
# check WHAT COMMAND...: runs the command and counts it; its output is shown only on failure.
check() {
  local what=$1 output
  shift
  if output=$("$@" 2>&1); then
    passed=$((passed + 1))
    echo "ok      $what"
  else
    failed=$((failed + 1))
    echo "FAILED  $what"
    [ -z "$output" ] || printf '%s\n' "$output" | sed 's/^/        /'
  fi
}

# wait_for SECONDS COMMAND...: polls the command until it succeeds or the time is up.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}

# The prefix's files and the registry's software keys, one line for each file, key and value.
# Left out: Wine's own folder, and the temporary folder, where the uninstaller runs from a copy
# of itself that it cannot delete while it runs.
snapshot() {
  (cd "$WINEPREFIX/drive_c" && find . -path ./windows -prune -o -path './users/*/Temp' -prune -o -print)
  local hive
  for hive in 'HKCU\Software' 'HKLM\Software'; do
    wine reg export "$hive" "$work/export.reg" /reg:64 /y >/dev/null 2>&1
    iconv -f UTF-16LE -t UTF-8 "$work/export.reg" | tr -d '\r' |
      awk '/^\[/ { key = $0; print key; next } /./ { print key "|" $0 }'
  done
}

# Lines of the snapshot that are new since the first one, less those that match the pattern.
new_lines_except() {
  local pattern=$1
  snapshot | LC_ALL=C sort | LC_ALL=C comm -13 "$work/before" - | grep -vE -- "$pattern" || true
}
nothing_new_except() { [ -z "$(new_lines_except "$1" | tee /dev/stderr)" ]; }

registry_has() { wine reg query "$key" /v "$1" /reg:64 2>/dev/null | grep -qF -- "$2"; }
key_absent() { ! wine reg query "$key" /reg:64 >/dev/null 2>&1; }
absent() { [ ! -e "$1" ]; }
installed_files() {
  local name
  for name in tunemood.exe README.txt LICENSE.txt uninstall.exe; do
    [ -f "$install_dir/$name" ] || { echo "missing: $name" && return 1; }
  done
}

for input in "$packages"/tunemood-win{32,64}{.zip,-setup.exe} "$program_check"; do
  [ -f "$input" ] || { echo "Missing $input: run scripts/package first." >&2 && exit 1; }
done

mkdir -p "$work"
wine_session_start "$work/wine"
trap wine_session_stop EXIT
# Wine would copy each Start-menu shortcut into this machine's own desktop menus.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"

windows_folder() { winepath -u "$(wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r')"; }
install_dir=$(windows_folder LOCALAPPDATA)/Programs/Tunemood
shortcut="$(windows_folder APPDATA)/Microsoft/Windows/Start Menu/Programs/Tunemood.lnk"
installed_exe=$(winepath -w "$install_dir/tunemood.exe")
# What the install may add: its folder (with the per-user Programs folder), the shortcut and
# the uninstall entry.
expected_writes='/AppData/Local/Programs(/Tunemood(/.*)?)?$|/Tunemood\.lnk$|\\Uninstall\\Tunemood\]'
# Windows always has the key that holds the uninstall entries; a fresh prefix may not.
wine reg add "$uninstall_key" /reg:64 /f >/dev/null 2>&1

check "the 64-bit installer is a 64-bit program" \
  grep -q 'file format pei-x86-64' <(x86_64-w64-mingw32-objdump -f "$packages/tunemood-win64-setup.exe")

bitnesses=(win64)
if wine_runs_32bit; then
  bitnesses=(win32 win64)
  note_32bit_emulation
else
  skip "the installer test of tunemood-win32-setup.exe" "$no_32bit"
fi
for bitness in "${bitnesses[@]}"; do
  say "Installer test: tunemood-$bitness-setup.exe"
  # What an earlier, interrupted run may have left.
  rm -rf "$install_dir" "$shortcut"
  wine reg delete "$key" /reg:64 /f >/dev/null 2>&1 || true
  snapshot | LC_ALL=C sort >"$work/before"

  check "the silent install succeeds" wine "$packages/tunemood-$bitness-setup.exe" /S
  check "it installs the program, README.txt, LICENSE.txt and the uninstaller" installed_files
  check "the installed program is the one in the zip" \
    cmp "$install_dir/tunemood.exe" <(unzip -p "$packages/tunemood-$bitness.zip" tunemood.exe)
  check "the Start-menu shortcut starts the installed program" \
    grep -qiF "$installed_exe" <(strings -a "$shortcut")
  check "the uninstall entry shows the name Tunemood" registry_has DisplayName Tunemood
  check "the uninstall entry removes silently with the installed uninstaller" \
    registry_has QuietUninstallString "\"$(winepath -w "$install_dir/uninstall.exe")\" /S"
  check "nothing else is written" nothing_new_except "$expected_writes"

  check "the program starts from the installed path and ends cleanly" \
    wine "$program_check" "$installed_exe"
  check "installing again while the program runs is refused" \
    wine "$program_check" "$installed_exe" "$(winepath -w "$packages/tunemood-$bitness-setup.exe")"

  # The uninstaller runs from a copy of itself in the temporary folder, so the process started
  # here ends before the removal is done.
  check "the silent uninstall succeeds" wine "$install_dir/uninstall.exe" /S
  check "the program's folder is removed" wait_for 20 absent "$install_dir"
  check "the shortcut is removed" wait_for 20 absent "$shortcut"
  check "the uninstall entry is removed" wait_for 20 key_absent
  check "nothing is left behind" nothing_new_except '^$'
done

say "The installer test"
echo "installers: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
