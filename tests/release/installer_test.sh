#!/usr/bin/env bash
# The installer under Wine, case after case in one prefix. It installs the program whose bitness
# can load the chat client's component, as registered at the time, and says why; /BITS= chooses
# instead or is refused. Each install replaces the last in place and writes nothing else; the
# program starts from there and, where the component is registered for it, reads the stand-in
# chat client's mood; a silent uninstall leaves the user's files and registry as they were.
# Started with administrator rights it asks first and leaves starting the program to the Start
# menu, and it refuses the system account; the uninstall entry shows the version and size, the
# installer file the program's version fields.
# The downloads are the same bytes when packed again elsewhere and later, and SHA256SUMS lists
# them; packed with a certificate, every program in them is signed, the uninstaller too.
# Takes the installer and zips that scripts/package left in build/package.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/lib/common.sh
source scripts/lib/wine.sh

packages=build/package
setup=$packages/tunemood-setup.exe
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall'
key="$uninstall_key\\Tunemood"
component_class='Software\Classes\CLSID\{830690FC-BF2F-47A6-AC2D-330BCB402664}'
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

# wait_for COMMAND...: polls the command until it succeeds; a minute is reached only by a hang,
# as in the Windows checks.
wait_for() {
  local deadline=$((SECONDS + 60))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}

# The bitness that a Windows program's PE header names: its machine field.
pe_bits() {
  local header
  header=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  case $(od -An -tx2 -j$((header + 4)) -N2 "$1" | tr -d ' ') in
    014c) echo 32 ;;
    8664) echo 64 ;;
    *) echo "neither 32- nor 64-bit" ;;
  esac
}
has_bits() { [ "$(pe_bits "$2")" = "$1" ] || { echo "$2 is $(pe_bits "$2")-bit" && return 1; }; }
exits_with() {
  local expected=$1 code=0
  shift
  "$@" || code=$?
  [ "$code" = "$expected" ] || { echo "exit code $code" && return 1; }
}
no_path_in() { ! { strings -a "$@" && strings -a -el "$@"; } | grep -F -- "$PWD"; }
listing_is() { [ "$(ls -A "$1" | tr '\n' ' ')" = "$2 " ] || { ls -A "$1" && return 1; }; }
# The value of a version field (ProductName, ...) of a Windows program: in its version resource,
# UTF-16 strings come in pairs, the name and then the value.
version_field() {
  strings -el "$2" | sed -n '/^VS_VERSION_INFO$/,$p' | grep -A1 -m1 -x "$1" | sed -n 2p
}
# The file version of its fixed version information, as four numbers.
fixed_version() {
  local at
  at=$(grep -obUaP -m1 '\xbd\x04\xef\xfe' "$1" | cut -d: -f1)
  od -An -tu2 -j$((at + 8)) -N8 "$1" | awk '{ print $2 "." $1 "." $4 "." $3 }'
}
same_version_field() {
  local installer program
  installer=$(version_field "$1" "$setup")
  program=$(version_field "$1" "$work/zips/32/tunemood.exe")
  [ "$installer" = "$2" ] && [ "$program" = "$2" ] ||
    { echo "installer: \"$installer\"; program: \"$program\"" && return 1; }
}

# Packs the programs that scripts/package packed into OUT again, from a copy of what packing reads
# in a new folder elsewhere, with every file's time now, the clock 400 days on, the local time 14
# hours ahead and new files readable by their owner alone. Each time, path or file mode that got
# into a download would differ then.
pack_elsewhere_later() {
  local copy
  copy=$(mktemp -d)
  cp -r --parents packaging LICENSE src/win32/tunemood.rc "$copy"
  cp build/win32/src/win32/tunemood.exe "$copy/program32.exe"
  cp build/win64/src/win32/tunemood.exe "$copy/program64.exe"
  # NO_FAKE_STAT: the clock moves on, the files' times stay what packing sets them to.
  (umask 077 && TZ=Pacific/Kiritimati SOURCE_DATE_EPOCH=$commit_time NO_FAKE_STAT=1 \
    faketime -f +400d "$copy/packaging/pack" "$1" "$copy/program32.exe" "$copy/program64.exe" \
    >/dev/null)
  rm -rf "$copy"
}
same_files() { diff -r "$1" "$2"; }
# sums_check FOLDER "NAME...": SHA256SUMS there lists exactly the names, and sha256sum -c passes.
sums_check() {
  [ "$(cut -c67- "$1/SHA256SUMS" | tr '\n' ' ')" = "$2 " ] &&
    (cd "$1" && sha256sum -c --strict SHA256SUMS)
}
# A valid signature by the test's certificate.
signed() { osslsigncode verify -CAfile "$work/signer/cert.pem" -in "$1"; }

ensure_packages nsis zip unzip osslsigncode openssl faketime
for input in "$setup" "$packages"/tunemood-win{32,64}.zip \
  build/win{32,64}/tests/release/{installed_program_check,installer_window_check}.exe; do
  [ -f "$input" ] || { echo "Missing $input: run scripts/package first." >&2 && exit 1; }
done
rm -rf "$work/zips"
mkdir -p "$work/zips"

say "The downloads"
check "they are the installer and the two zips, and no other installer, with their SHA256SUMS" \
  listing_is "$packages" "SHA256SUMS tunemood-setup.exe tunemood-win32.zip tunemood-win64.zip"
check "SHA256SUMS holds the hash of each of them, and each matches" \
  sums_check "$packages" "tunemood-setup.exe tunemood-win32.zip tunemood-win64.zip"
check "the installer is a 32-bit program" has_bits 32 "$setup"
for bits in 32 64; do
  unzip -q -d "$work/zips/$bits" "$packages/tunemood-win$bits.zip"
  check "the $bits-bit zip holds the $bits-bit program, README.txt and LICENSE.txt" \
    listing_is "$work/zips/$bits" "LICENSE.txt README.txt tunemood.exe"
  check "its tunemood.exe is a $bits-bit program" has_bits "$bits" "$work/zips/$bits/tunemood.exe"
done
# Packed again below from the same built programs, the downloads cannot show a path that the
# build put into a program; a clone elsewhere would.
check "the programs hold no path of the folder they were built in" \
  no_path_in "$work/zips/32/tunemood.exe" "$work/zips/64/tunemood.exe"

say "The installer's version information, the same as the program's"
check "product name" same_version_field ProductName Tunemood
check "file description" same_version_field FileDescription \
  "Sets Winamp's current track as your Skype status (mood)."
check "copyright line" same_version_field LegalCopyright "Copyright (C) 2026 The Tunemood authors"
check "file version" same_version_field FileVersion 1.00
check "product version" same_version_field ProductVersion 1.00
check "the numeric file version" \
  test "$(fixed_version "$setup")" = "$(fixed_version "$work/zips/32/tunemood.exe")"

commit_time=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
say "The downloads, packed again elsewhere and later"
rm -rf "$work/again"
pack_elsewhere_later "$work/again"
check "they are the same bytes, SHA256SUMS too" same_files "$packages" "$work/again"

say "The downloads, signed"
# A throwaway certificate, valid since long before the commit, as a release's would be.
rm -rf "$work"/{signer,signed,signed-again,signed-zips}
mkdir -p "$work"/{signer,signed-zips}
faketime -f -3650d openssl req -x509 -newkey rsa:2048 -nodes -days 7300 -subj "/CN=Tunemood test" \
  -addext extendedKeyUsage=codeSigning -keyout "$work/signer/key.pem" \
  -out "$work/signer/cert.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$work/signer/key.pem" -in "$work/signer/cert.pem" \
  -passout pass:not-a-secret -out "$work/signer/signer.pfx"
export TUNEMOOD_SIGN_PFX=$work/signer/signer.pfx TUNEMOOD_SIGN_PASSWORD=not-a-secret
SOURCE_DATE_EPOCH=$commit_time packaging/pack "$work/signed" \
  build/win{32,64}/src/win32/tunemood.exe >/dev/null
pack_elsewhere_later "$work/signed-again"
unset TUNEMOOD_SIGN_PFX TUNEMOOD_SIGN_PASSWORD
for bits in 32 64; do
  unzip -q -d "$work/signed-zips/$bits" "$work/signed/tunemood-win$bits.zip"
  check "the $bits-bit zip's program is signed" signed "$work/signed-zips/$bits/tunemood.exe"
done
check "the installer is signed" signed "$work/signed/tunemood-setup.exe"
check "signed again elsewhere and later, they are the same bytes" \
  same_files "$work/signed" "$work/signed-again"

# The same installer built to take whose rights it runs with from TUNEMOOD_TEST_TOKEN (user,
# elevated or system), from the files of the zips.
test_setup=$work/tunemood-setup-test.exe
rm -rf "$work/stage"
mkdir -p "$work/stage"
cp "$work/zips/32/README.txt" "$work/zips/32/LICENSE.txt" "$work/stage"
ln -s ../zips/32 "$work/stage/win32"
ln -s ../zips/64 "$work/stage/win64"
makensis -V2 -DTEST_TOKEN -DSTAGE="$work/stage" -DOUTFILE="$test_setup" packaging/tunemood.nsi \
  >/dev/null

if ! wine_runs_32bit; then
  skip "the installer test under Wine (the installer is a 32-bit program)" "$no_32bit"
  echo "installers: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
fi

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
registry_value() {
  wine reg query "$key" /v "$1" /reg:64 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$1 *REG_[A-Z]* *//p"
}
# The uninstall entry shows version 1.00 and the size, in KiB rounded up, of the files installed
# in the folder.
entry_shows_version_and_size() {
  local bytes version size
  bytes=$(cat "$1"/{tunemood.exe,README.txt,LICENSE.txt,uninstall.exe} | wc -c)
  version=$(registry_value DisplayVersion)
  size=$(registry_value EstimatedSize)
  [ "$version" = 1.00 ] && [ "$size" = "$(printf '0x%x' $(((bytes + 1023) / 1024)))" ] ||
    { echo "DisplayVersion \"$version\", EstimatedSize $size for $bytes bytes" && return 1; }
}
key_absent() { ! wine reg query "$key" /reg:64 >/dev/null 2>&1; }
absent() { [ ! -e "$1" ]; }
nothing_installed() { absent "$install_dir" && absent "$shortcut" && key_absent; }
# window_says SETUP STEPS TEXT ARGUMENT...: the installer, run with the arguments and taken
# through by installer_window_check STEPS, shows TEXT.
window_says() {
  local installer=$1 steps=$2 text=$3 said
  shift 3
  said=$(wine "$window_check" "$steps" "$(winepath -w "$installer")" "$@" | tr -d '\r')
  [ "$said" = "$text" ] || { echo "$said" && return 1; }
}

# The lines of the installer's details list, as Wine traces them: a silent install has no list
# to read, and the same line goes into it either way.
tracing_details() { WINEDEBUG=+listview "$@" 2>"$work/details.log"; }
details_say() { grep -qF "LISTVIEW_InsertItemT (item={iItem=0, iSubItem=0, pszText=L\"$1\"" "$work/details.log"; }

# register_server BITS: the stand-in's component registered as regsvr32 registers it. Under
# emulation, the 32-bit regsvr32 that Wine starts for a 32-bit DLL now and then ends with 1 and
# registers nothing (once in about a dozen calls); this is the test's setup, so it tries again.
register_server() {
  local try
  for try in 1 2 3; do
    wine regsvr32 /s "build/win$1/tests/standins/chat/standin_chat_com.dll" && return 0
    echo "regsvr32 did not register the $1-bit component (try $try of 3)"
  done
  return 1
}
# register NAME: registers the stand-in chat client's component as NAME says: for 32-bit
# programs, for 64-bit programs, for both, in the user's own classes, or not at all.
register() {
  local bits
  case $1 in
    32 | 64) register_server "$1" ;;
    both) for bits in 32 64; do register "$bits"; done ;;
    user)
      wine reg add "HKCU\\$component_class\\InprocServer32" /ve /reg:64 /f \
        /d "$(winepath -w build/win64/tests/standins/chat/standin_chat_com.dll)" >/dev/null
      ;;
  esac
}
unregister() {
  local hive bits
  for hive in HKLM HKCU; do
    for bits in 32 64; do
      wine reg delete "$hive\\$component_class" /reg:$bits /f >/dev/null 2>&1 || true
    done
  done
}

# install_case REGISTRATION BITS BECAUSE [ARGUMENT...]: with the component registered, a silent
# install with the arguments puts the BITS-bit program in place and says BECAUSE why; the program
# starts from there and reads the stand-in's mood where the component is registered for it.
install_case() {
  local registration=$1 bits=$2 because=$3
  shift 3
  say "Installer test: component registered: $registration; arguments: /S $*"
  register "$registration"
  check "the silent install succeeds" wine "$setup" /S "$@"
  check "it installs the program, README.txt, LICENSE.txt and the uninstaller, nothing more" \
    listing_is "$install_dir" "LICENSE.txt README.txt tunemood.exe uninstall.exe"
  check "the installed tunemood.exe is a $bits-bit program" has_bits "$bits" "$install_dir/tunemood.exe"
  check "it is the one in the $bits-bit zip" cmp "$install_dir/tunemood.exe" "$work/zips/$bits/tunemood.exe"
  check "the uninstall entry says: $because" \
    registry_has BitnessChoice "Installed the $bits-bit Tunemood, because $because"
  check "the uninstall entry shows the version and the size of the files installed" \
    entry_shows_version_and_size "$install_dir"
  if [ "$registration" = "$bits" ] || [ "$registration" = both ]; then
    check "the program starts from where it was installed and reads the stand-in's mood" \
      wine "$program_check" "$installed_exe" --reads-mood
  else
    check "the program starts from where it was installed and ends cleanly" \
      wine "$program_check" "$installed_exe"
  fi
  unregister
}

# start_session DIR [win32]: a Wine session in a prefix of its own, 64-bit unless asked, and what
# belongs to it: where the installer puts things there, and the helper programs of its bitness.
# What an earlier, interrupted run may have left there is removed.
start_session() {
  wine_session_start "$@"
  trap wine_session_stop EXIT
  # Wine would copy each Start-menu shortcut into this machine's own desktop menus.
  export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
  local helpers=build/${2:-win64}/tests/release
  program_check=$helpers/installed_program_check.exe
  window_check=$helpers/installer_window_check.exe
  install_dir=$(windows_folder LOCALAPPDATA)/Programs/Tunemood
  shortcut="$(windows_folder APPDATA)/Microsoft/Windows/Start Menu/Programs/Tunemood.lnk"
  installed_exe=$(winepath -w "$install_dir/tunemood.exe")
  chosen_dir=$WINEPREFIX/drive_c/Apps/Tunemood
  # Windows always has the keys that hold the uninstall entries and the user's classes; a fresh
  # prefix may not.
  wine reg add "$uninstall_key" /reg:64 /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Classes\CLSID' /reg:64 /f >/dev/null 2>&1
  rm -rf "$install_dir" "$shortcut" "$(dirname "$chosen_dir")"
  wine reg delete "$key" /reg:64 /f >/dev/null 2>&1 || true
  unregister
}
windows_folder() { winepath -u "$(wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r')"; }

# What an install may add: its folder (with the per-user Programs folder), the shortcut and the
# uninstall entry.
expected_writes='/AppData/Local/Programs(/Tunemood(/.*)?)?$|/Tunemood\.lnk$|\\Uninstall\\Tunemood\]'

start_session "$work/wine"
note_32bit_emulation
snapshot | LC_ALL=C sort >"$work/before"

say "Installer test: refused arguments"
check "an unknown /BITS value is refused with a message and exit code 2" \
  window_says "$setup" ok $'Unknown /BITS value "16": give /BITS=32 or /BITS=64.\nNothing was installed.\nexit code 2' \
  /BITS=16
check "a silent install with an empty /BITS value ends with exit code 2" \
  exits_with 2 wine "$setup" /S /BITS=
check "neither installs anything" nothing_installed

# Wine runs every program with a full administrator's token, as "Run as administrator" does: the
# installer built for shipping sees it so. The test build sees what TUNEMOOD_TEST_TOKEN says.
as_token() { TUNEMOOD_TEST_TOKEN=$1 "${@:2}"; }
asks=$'Tunemood installs for the current user and needs no administrator rights.\n\nInstall it for this account anyway?\n'
say "Installer test: started with administrator rights, or in the system account"
check "with administrator rights it says that it needs none; the user's No stops it (exit code 1)" \
  window_says "$setup" no "${asks}exit code 1"
check "the system account is refused with a message and exit code 2" \
  as_token system window_says "$test_setup" ok $'Tunemood installs for one user, and this is the system account, which no one signs in to. Run the installer as the user who will use Tunemood (in a deployment tool: in the user\'s context).\nNothing was installed.\nexit code 2'
check "a silent install in the system account ends with exit code 2" \
  as_token system exits_with 2 wine "$test_setup" /S
check "none installs anything" nothing_installed

install_case none 32 "the chat client's component is not registered yet, and it is usually 32-bit."
check "the Start-menu shortcut starts the installed program" \
  grep -qiF "$installed_exe" <(strings -a "$shortcut")
check "the uninstall entry shows the name Tunemood" registry_has DisplayName Tunemood
check "the uninstall entry removes silently with the installed uninstaller" \
  registry_has QuietUninstallString "\"$(winepath -w "$install_dir/uninstall.exe")\" /S"
check "nothing else is written" nothing_new_except "$expected_writes"
check "installing again while the program runs is refused" \
  wine "$program_check" "$installed_exe" --refuses "$(winepath -w "$setup")"

# Left by an older install: each install writes the version and the size anew.
wine reg add "$key" /v DisplayVersion /d 0.99 /reg:64 /f >/dev/null
wine reg add "$key" /v EstimatedSize /t REG_DWORD /d 1 /reg:64 /f >/dev/null
install_case 32 32 "the chat client's component is registered for 32-bit programs."
install_case 64 64 "the chat client's component is registered for 64-bit programs."
check "over the 32-bit install: one program, one shortcut, one uninstall entry, nothing else" \
  nothing_new_except "$expected_writes"
install_case both 32 "the chat client's component is registered for both 32-bit and 64-bit programs."
check "over the 64-bit install: one program, one shortcut, one uninstall entry, nothing else" \
  nothing_new_except "$expected_writes"

say "Installer test: component registered: 64; installed by the user"
register 64
choice=$'Installed the 64-bit Tunemood, because the chat client\'s component is registered for 64-bit programs.\n\n'
finish=$'Click Finish to close this wizard.\n'
from_start_menu=$'Start Tunemood from the Start menu: from here it would run with the installer\'s administrator rights.\n'
check "with administrator rights, the user's Yes installs; the finish page says which program, and why, and to start it from the Start menu, and does not start it" \
  tracing_details window_says "$setup" yes,finish \
  "$asks$choice${from_start_menu}it does not offer to start Tunemood"$'\nexit code 0\nTunemood does not run'
check "the install details say that it needs no administrator rights" details_say \
  "Tunemood installs for the current user and needs no administrator rights."
check "the installed tunemood.exe is a 64-bit program" has_bits 64 "$install_dir/tunemood.exe"
check "with the user's own rights it asks nothing, and the finish page starts the program itself" \
  as_token user window_says "$test_setup" run "$choice${finish}started by the installer"$'\nexit code 0'
unregister

# Windows keeps the user's classes apart for 32-bit and 64-bit programs; Wine 8 shows one key
# to both, so the registration counts as one for both bitnesses here.
install_case user 32 "the chat client's component is registered for both 32-bit and 64-bit programs."
install_case 32 64 "/BITS=64 asked for it." /BITS=64

say "Installer test: uninstall"
# The uninstaller runs from a copy of itself in the temporary folder, so the process started
# here ends before the removal is done.
check "the silent uninstall succeeds" wine "$install_dir/uninstall.exe" /S
check "the program's folder is removed" wait_for absent "$install_dir"
check "the shortcut is removed" wait_for absent "$shortcut"
check "the uninstall entry is removed" wait_for key_absent

say "Installer test: the signed installer"
check "a silent install succeeds" wine "$work/signed/tunemood-setup.exe" /S
check "the program it installs is signed" signed "$install_dir/tunemood.exe"
check "the uninstaller it writes is signed" signed "$install_dir/uninstall.exe"
check "the silent uninstall succeeds" wine "$install_dir/uninstall.exe" /S
check "the program's folder is removed" wait_for absent "$install_dir"

say "Installer test: installed in a folder of the user's choice"
# A file of the user's there, which is no part of the install's size.
mkdir -p "$chosen_dir"
head -c 100000 /dev/zero >"$chosen_dir/notes.txt"
check "a silent install with /D= succeeds" wine "$setup" /S "/D=$(winepath -w "$chosen_dir")"
check "installing again replaces it in that folder" wine "$setup" /S /BITS=64
check "the 64-bit program is there" has_bits 64 "$chosen_dir/tunemood.exe"
check "the size in the uninstall entry leaves out a file of the user's in that folder" \
  entry_shows_version_and_size "$chosen_dir"
rm -f "$chosen_dir/notes.txt"
check "and not in the default folder" absent "$install_dir"
check "the silent uninstall succeeds" wine "$chosen_dir/uninstall.exe" /S
check "the chosen folder is removed" wait_for absent "$chosen_dir"
# The folder that held the chosen one is the user's own: the uninstaller leaves it.
rm -rf "$(dirname "$chosen_dir")"
check "nothing is left behind" nothing_new_except '^$'

wine_session_stop
if wine_emulates_32bit; then
  skip "the installer test on 32-bit Windows" "Wine's 32-bit loader runs here only under emulation"
else
  say "Installer test: on 32-bit Windows"
  start_session "$work/wine32" win32
  check "/BITS=64 is refused with a message and exit code 2" \
    window_says "$setup" ok $'/BITS=64 needs 64-bit Windows, and this Windows is 32-bit.\nNothing was installed.\nexit code 2' \
    /BITS=64
  check "it installs nothing" nothing_installed
  install_case 32 32 "this Windows is 32-bit."
  check "the silent uninstall succeeds" wine "$install_dir/uninstall.exe" /S
  check "the program's folder is removed" wait_for absent "$install_dir"
  wine_session_stop
fi

say "The installer test"
echo "installers: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
