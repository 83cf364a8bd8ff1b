# Shared by the scripts: messages, skipped steps, failures that name themselves, and installing
# the Debian packages a step needs.

# The step under way, named in the message of a command that fails in it. The script the user
# started keeps when each of its own steps began, for summarise_times.
step="start"
step_began=()
step_names=()
say() {
  step=$*
  if [ -n "${timed_script:-}" ]; then
    step_began+=("$(date +%s)")
    step_names+=("$*")
  fi
  printf '\n== %s\n' "$*"
}
# Says how long each step of the script the user started took, and the whole.
summarise_times() {
  local now count i seconds
  now=$(date +%s)
  count=${#step_began[@]}
  [ "$count" -gt 0 ] || return 0
  printf '\n== Time of each step\n'
  for ((i = 0; i < count; i++)); do
    seconds=$(((i + 1 < count ? step_began[i + 1] : now) - step_began[i]))
    printf '%4d:%02d  %s\n' $((seconds / 60)) $((seconds % 60)) "${step_names[i]}"
  done
  seconds=$((now - step_began[0]))
  printf '%4d:%02d  in all\n' $((seconds / 60)) $((seconds % 60))
}

# A failing command ends the script (set -e) with one line that names the step and the command;
# -E carries this into functions. Command substitutions run in subshells that only report back.
set -E
report_failure() {
  [ "$BASH_SUBSHELL" -eq 0 ] || return 0
  local command="\`$2\` exited with status $1"
  # A function of ours that gives up has said why already.
  case $2 in return*) command="status $1" ;; esac
  printf '\n%s FAILED in step "%s": %s\n' "$(basename "$0")" "$step" "$command" >&2
}
trap 'report_failure $? "$BASH_COMMAND"' ERR

# skip WHAT WHY: says in one line what this machine cannot run, and keeps it for the summary of
# the script the user started (the scripts it calls add theirs to the same list).
if [ -z "${TUNEMOOD_SKIPPED:-}" ]; then
  mkdir -p build
  export TUNEMOOD_SKIPPED=$PWD/build/skipped.txt
  : >"$TUNEMOOD_SKIPPED"
  timed_script=yes
fi
skip() {
  echo "Skipped: $1: $2"
  echo "Skipped: $1: $2" >>"$TUNEMOOD_SKIPPED"
}
# Repeats, last, what was skipped, so that a run that passed says what it did not cover.
summarise_skipped() {
  [ -s "$TUNEMOOD_SKIPPED" ] || return 0
  say "Skipped on this machine"
  cat "$TUNEMOOD_SKIPPED"
}

# Installs the Debian packages that are missing; says which ones it installs.
ensure_packages() {
  local missing=() pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  say "Installing Debian packages: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  if printf '%s\n' "${missing[@]}" | grep -q ':i386$' &&
    ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo[@]}" dpkg --add-architecture i386
  fi
  # A list that a mirror in the middle of a sync could not give (say the i386 security updates)
  # leaves that architecture's packages behind the installed ones, and the install unsolvable;
  # the release's own suite has every architecture at one version.
  local suite=()
  if ! apt_get "${sudo[@]}" -- update -qq; then
    suite=(-o "APT::Default-Release=$(. /etc/os-release && echo "$VERSION_CODENAME")")
    echo "Some package lists could not be fetched: installing from ${suite[1]#*=} itself." >&2
  fi
  apt_get "${sudo[@]}" -- install -y -qq --no-install-recommends "${suite[@]}" "${missing[@]}" \
    >/dev/null
}

# apt_get [sudo] -- ARGS: apt-get, waiting while another program holds the package manager's
# locks, as automatic updates do for minutes on a machine that has just booted. apt-get's own
# DPkg::Lock::Timeout waits silently, and not at all for the lists lock of `apt-get update`:
# the call is made again every few seconds instead, for up to five minutes, and the wait is said.
package_lock_wait=300
apt_get() {
  local sudo=()
  while [ "$1" != -- ]; do
    sudo+=("$1")
    shift
  done
  shift
  local errors status waited=0
  errors=$(mktemp)
  while :; do
    status=0
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get "$@" 2>"$errors" || status=$?
    if [ "$status" -eq 0 ] || [ "$waited" -ge "$package_lock_wait" ] ||
      ! grep -qE 'Could not get lock|Unable to acquire the dpkg frontend lock' "$errors"; then
      cat "$errors" >&2
      rm -f "$errors"
      return "$status"
    fi
    if [ "$waited" -eq 0 ]; then
      {
        echo "Waiting up to $((package_lock_wait / 60)) minutes for the package manager's lock:"
        grep -m1 -E 'Could not get lock|Unable to acquire' "$errors" | sed 's/^E: /  /'
      } >&2
    fi
    sleep 5
    waited=$((waited + 5))
  done
}

build_packages=(cmake make g++ libgtest-dev googletest clang-format
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64)
wine_packages=(wine wine64 wine32:i386 xvfb xauth x11-utils imagemagick xdotool)
# libFuzzer and the sanitizers' runtimes come with clang's runtime package; clang builds for
# Windows link with lld.
fuzz_packages=(clang libclang-rt-14-dev)
analysis_packages=(clang lld clang-tidy cppcheck)

# Configures and builds one CMake preset (or the targets named after it, as --target NAME),
# quietly unless something fails.
build_preset() {
  local preset=$1 log
  shift
  log=$(mktemp)
  say "Building the $preset preset"
  if ! { cmake --preset "$preset" && cmake --build --preset "$preset" -j "$(nproc)" "$@"; } >"$log" 2>&1; then
    cat "$log"
    rm -f "$log"
    echo "cmake could not configure or build the $preset preset (its output is above)." >&2
    return 1
  fi
  rm -f "$log"
}
