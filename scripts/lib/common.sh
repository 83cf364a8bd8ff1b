# Shared by the scripts: messages, and installing the Debian packages a step needs.

say() { printf '\n== %s\n' "$*"; }

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
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
}

build_packages=(cmake make g++ libgtest-dev googletest clang-format
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64)
wine_packages=(wine wine64 wine32:i386 xvfb xauth x11-utils imagemagick xdotool)
# libFuzzer and the sanitizers' runtimes come with clang's runtime package; clang builds for
# Windows link with lld.
fuzz_packages=(clang libclang-rt-14-dev)
analysis_packages=(clang lld clang-tidy cppcheck)

# Configures and builds one CMake preset, quietly unless something fails.
build_preset() {
  local preset=$1 log
  log=$(mktemp)
  say "Building the $preset preset"
  if ! { cmake --preset "$preset" && cmake --build --preset "$preset" -j "$(nproc)"; } >"$log" 2>&1; then
    cat "$log"
    rm -f "$log"
    return 1
  fi
  rm -f "$log"
}
