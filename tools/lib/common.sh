# Paths and small helpers shared by the ./moviquill subcommands.
MVQ_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# MVQ_BUILD_DIR: another build root of the same layout (win, native, bin,
# wineprefix), for trying the commands against a build of one's own.
MVQ_BUILD=${MVQ_BUILD_DIR:-$MVQ_ROOT/build}
MVQ_WIN_BUILD=$MVQ_BUILD/win
MVQ_NATIVE_BUILD=$MVQ_BUILD/native
MVQ_FUZZ_BUILD=$MVQ_BUILD/fuzz
MVQ_BIN=$MVQ_BUILD/bin
MVQ_NATIVE_BIN=$MVQ_NATIVE_BUILD/bin
# The prepared prefix; each command runs Wine in a private copy of it
# (wine_session.sh). Inside a caller's session (MVQ_SESSION) its prefix holds.
MVQ_PREFIX=$MVQ_BUILD/wineprefix
[ -n "${MVQ_SESSION:-}" ] || export WINEPREFIX=$MVQ_PREFIX
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
MVQ_JOBS=${MVQ_JOBS:-$(nproc)}

say() { echo "moviquill: $*" >&2; }

# A control or command id of the program, by its name in the resource headers,
# so that the scripts follow the resources instead of repeating their numbers.
resource_id() {  # NAME
  awk -v name="$1" '$1 == "#define" && $2 == name { print $3; exit }' \
    "$MVQ_ROOT/resources/resource_ids.h" "$MVQ_ROOT/resources/export_ids.h"
}
die() { echo "moviquill: $*" >&2; exit 1; }
