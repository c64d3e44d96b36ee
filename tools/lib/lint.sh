# ./moviquill lint [--all|--layout]: the C++ sources against the project's
# conventions: their layout (.clang-format) and their names (.clang-tidy,
# readability-identifier-naming, with the headers they include). The layout
# of every source is checked (a few seconds); names in the sources changed
# from main (clang-tidy reads the Windows headers for each: 1-3 s a file on a
# quiet machine, and over all of them 5 min of processor time, 19 min on a
# busy one), or in all of them with --all; --layout checks the layout alone.
# ./moviquill test runs it on the changed sources.

lint_sources() {  # all|changed
  (cd "$MVQ_ROOT"
   if [ "$1" = all ]; then
     git ls-files -- '*.cpp' '*.h'
   else
     local base
     base=$(git merge-base HEAD main 2>/dev/null || git rev-parse HEAD)
     { git diff --name-only --diff-filter=ACMR "$base" -- '*.cpp' '*.h'
       git ls-files --others --exclude-standard -- '*.cpp' '*.h'; } | sort -u
   fi)
}

lint_layout() {
  local files
  mapfile -t files < <(lint_sources all)
  local bad
  bad=$(cd "$MVQ_ROOT" && for f in "${files[@]}"; do
          clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || echo "$f"
        done)
  [ -z "$bad" ] && return 0
  say "layout differs from .clang-format (clang-format -i FILE fixes it):"
  echo "$bad" | sed 's/^/  /' >&2
  return 1
}

# The MinGW C++ headers, which clang does not find by itself for that target.
mingw_header_args() {
  echo | i686-w64-mingw32-g++-posix -E -x c++ - -v 2>&1 \
    | sed -n '/search starts here/,/End of search/p' | grep '^ /' \
    | while read -r dir; do echo "--extra-arg-before=-isystem$dir"; done
}

# The .cpp files of those given (root-relative, on stdin) that the Windows
# build compiles; the others (fuzz targets, benchmarks) have no compile
# commands there.
built_sources() {  # compile_commands.json
  python3 -c '
import json, os, sys
root, db = sys.argv[1], sys.argv[2]
built = {os.path.relpath(os.path.join(e["directory"], e["file"]), root) for e in json.load(open(db))}
for line in sys.stdin:
    if line.strip() in built: print(line.strip())' "$MVQ_ROOT" "$1"
}

# A header filter naming every checked header, so that names declared in
# headers are checked too (through the sources that include them).
header_filter() {
  lint_sources all | grep '\.h$' | sed "s|^|$MVQ_ROOT/|; s|[.]|[.]|g" | paste -sd'|' | sed 's/^/(/; s/$/)$/'
}

lint_names() {  # all|changed
  local commands=$MVQ_WIN_BUILD/compile_commands.json
  if [ ! -f "$commands" ]; then
    say "names not checked: no $commands yet (./moviquill setup makes it)"
    return 0
  fi
  # A changed header is checked through the source of its name.
  local files
  mapfile -t files < <(lint_sources "$1" | sed 's/\.h$/.cpp/' | sort -u |
                         built_sources "$commands")
  [ ${#files[@]} -eq 0 ] && return 0
  local out
  out=$(cd "$MVQ_ROOT" && printf '%s\n' "${files[@]}" |
          xargs -P "$MVQ_JOBS" -n 4 clang-tidy --quiet -p "$MVQ_WIN_BUILD" --header-filter="$(header_filter)" \
            --extra-arg-before=--target=i686-w64-mingw32 $(mingw_header_args) \
            --extra-arg=-Wno-unknown-warning-option --extra-arg=-Wno-unused-command-line-argument 2>/dev/null |
          grep -E 'warning: invalid case style|error:' | sort -u)
  [ -z "$out" ] && return 0
  say "names that differ from .clang-tidy:"
  echo "$out" | sed "s|^$MVQ_ROOT/|  |" >&2
  return 1
}

cmd_lint() {
  local scope=changed
  case "${1:-}" in
    --all) scope=all ;;
    --layout) scope=none ;;
    "") ;;
    *) say "usage: ./moviquill lint [--all|--layout]"; return 2 ;;
  esac
  command -v clang-format >/dev/null && command -v clang-tidy >/dev/null || install_packages
  local rc=0
  say "checking the layout of the sources"
  lint_layout || rc=1
  [ "$scope" = none ] && return $rc
  say "checking names ($scope sources)"
  lint_names "$scope" || rc=1
  return $rc
}
