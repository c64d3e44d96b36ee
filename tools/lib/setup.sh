# ./moviquill setup: Debian packages, both builds, the Wine prefix.

MVQ_PACKAGES=(wine wine32:i386 wine64 g++-mingw-w64-i686 libz-mingw-w64-dev googletest
  cmake make g++ zlib1g-dev clang xvfb xauth x11-apps imagemagick fonts-wine
  pulseaudio pulseaudio-utils libpulse0:i386 libpulse-dev gcc-multilib ffmpeg sox libstb-dev fonts-liberation
  clang-format clang-tidy)

missing_packages() {
  local p
  for p in "${MVQ_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

install_packages() {
  local missing
  missing=$(missing_packages)
  [ -z "$missing" ] && return 0
  say "installing from Debian: $(echo $missing)"
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -qq >/dev/null
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing >/dev/null \
    || die "package installation failed"
}

configure_build() {  # dir, extra cmake args...
  local dir=$1; shift
  [ -f "$dir/CMakeCache.txt" ] && return 0
  say "configuring $(basename "$dir") build"
  cmake -S "$MVQ_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null || die "cmake failed for $dir"
}

build_all() {
  configure_build "$MVQ_WIN_BUILD" \
    -DCMAKE_TOOLCHAIN_FILE="$MVQ_ROOT/cmake/toolchain-mingw-i686.cmake" \
    -DCMAKE_RUNTIME_OUTPUT_DIRECTORY="$MVQ_BIN" -DCMAKE_LIBRARY_OUTPUT_DIRECTORY="$MVQ_BIN"
  configure_build "$MVQ_NATIVE_BUILD"
  say "building (native)"
  cmake --build "$MVQ_NATIVE_BUILD" -j "$MVQ_JOBS" >"$MVQ_BUILD/native-build.log" 2>&1 \
    || { tail -40 "$MVQ_BUILD/native-build.log"; die "native build failed"; }
  say "building (Windows)"
  cmake --build "$MVQ_WIN_BUILD" -j "$MVQ_JOBS" >"$MVQ_BUILD/win-build.log" 2>&1 \
    || { tail -40 "$MVQ_BUILD/win-build.log"; die "Windows build failed"; }
}

create_prefix() {
  [ -f "$WINEPREFIX/.mvq-ready" ] && return 0
  say "creating the Wine prefix"
  mkdir -p "$WINEPREFIX"
  wineboot -i </dev/null >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
  touch "$WINEPREFIX/.mvq-ready"
}

# Registrations that must follow every build (the stand-in control, ...).
register_components() {
  local f
  for f in "$MVQ_ROOT"/tools/lib/register.d/*.sh; do
    [ -f "$f" ] && . "$f"
  done
  return 0
}

registration_stale() {
  local stamp=$MVQ_PREFIX/.mvq-registered
  [ ! -f "$stamp" ] || [ -n "$(find "$MVQ_BIN" -newer "$stamp" -print -quit 2>/dev/null)" ]
}

prepare_prefix() {
  create_prefix
  register_components
  touch "$WINEPREFIX/.mvq-registered"
}

# One setup at a time per build root: two commands building the same tree at
# once would break each other's builds, and a prefix is copied only between setups.
lock_setup() {
  mkdir -p "$MVQ_BUILD"
  exec {MVQ_SETUP_LOCK}>>"$MVQ_BUILD/.setup-lock"
  flock -n "$MVQ_SETUP_LOCK" && return 0
  say "waiting for another setup of $MVQ_BUILD"
  flock "$MVQ_SETUP_LOCK"
}

unlock_setup() {
  flock -u "$MVQ_SETUP_LOCK"
  exec {MVQ_SETUP_LOCK}>&-
}

cmd_setup() {
  lock_setup
  install_packages
  build_all
  if [ ! -f "$MVQ_PREFIX/.mvq-ready" ] || registration_stale; then
    with_shared_prefix prepare_prefix
  fi
  unlock_setup
}

# MVQ_NO_SETUP: the caller has set everything up (tests that run commands).
ensure_setup() {
  [ -n "${MVQ_NO_SETUP:-}" ] || cmd_setup
}
