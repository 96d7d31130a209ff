#!/usr/bin/env bash
# Runs the console tool kelpo, building it first if needed.
#
#   scripts/run-kelpo.sh                      extract the bundled mbox sample into ./out
#   scripts/run-kelpo.sh [OPTION] PATH...     run kelpo with these arguments
#   scripts/run-kelpo.sh --windows [...]      the same with Kelpo.exe under Wine
#
# Paths are passed on as they are, relative ones too (for --windows, absolute
# ones in Wine's Z:\ form). Only the first argument may be an option (-c,
# -mbox, -nifty), passed on unchanged.
#
# What it installs when it is missing: for the Linux kelpo only a C++
# compiler, CMake and make (the tool is built alone, without its tests, in
# build/kelpo); with --windows the MinGW cross compilers, Wine and the rest of
# scripts/install-deps.sh, and it builds build/win64.
set -u

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

windows=0
if [ "${1:-}" = "--windows" ]; then
  windows=1
  shift
fi

if [ "$windows" = 1 ]; then
  build="$top/build/win64"
  configure=(--preset win64)
  program="$build/bin/Kelpo.exe"
  needed="cmake x86_64-w64-mingw32-g++ /usr/lib/wine/wine64 iconv"
else
  build="$top/build/kelpo"
  configure=(-S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUILLBOX_TESTS=OFF
             -DQUILLBOX_BENCH=OFF)
  program="$build/bin/kelpo"
  needed="cmake c++ make"
fi

say() { printf '%s\n' "$*" >&2; }

missing_tools() {
  local tool
  for tool in $needed; do
    command -v "$tool" >/dev/null 2>&1 || return 0
  done
  return 1
}

installed=0
install_deps() {
  [ "$installed" = 0 ] || return 1
  installed=1
  if [ "$windows" = 1 ]; then
    say "run-kelpo: installing the toolchain (scripts/install-deps.sh)..."
    bash "$top/scripts/install-deps.sh"
    return
  fi
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  say "run-kelpo: installing a C++ compiler, CMake and make..."
  DEBIAN_FRONTEND=noninteractive $sudo apt-get update -qq &&
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq g++ cmake make >/dev/null
}

build_failed() {
  cat "$log" >&2
  say "run-kelpo: the build failed (log: $log)"
  exit 1
}

mkdir -p "$top/build"
log="$top/build/run-kelpo-$(basename "$build").log"
: >"$log"
if missing_tools; then
  install_deps || { say "run-kelpo: installing the toolchain failed"; exit 1; }
fi
# Configure once (a failure may mean a missing library: install, then retry),
# then bring the program up to date, which is quick when it already is.
if [ ! -f "$build/CMakeCache.txt" ]; then
  say "run-kelpo: building ${program##*/} in ${build#"$top"/}..."
  if ! (cd "$top" && cmake "${configure[@]}") >>"$log" 2>&1; then
    install_deps >&2 && (cd "$top" && cmake "${configure[@]}") >>"$log" 2>&1 || build_failed
  fi
fi
cmake --build "$build" -j2 --target kelpo_tool >>"$log" 2>&1 || build_failed

# A path argument as the program takes it: the Linux kelpo takes it as it
# stands (relative ones are the current folder's); Kelpo.exe gets an absolute
# one in Wine's Z:\ form and a relative one with Windows separators.
program_path() {
  local path=$1
  if [ "$windows" = 1 ] && [ -n "$path" ]; then
    case "$path" in
      /*) path="Z:$path" ;;
    esac
    path="${path//\//\\}"
  fi
  printf '%s' "$path"
}

run_program() {
  if [ "$windows" = 0 ]; then
    "$program" "$@"
    return
  fi
  # Kelpo.exe prints code page 932; show it in this terminal's character set.
  # Through a file, not a pipe: Wine's helpers would hold a pipe open.
  local out status charset
  out=$(mktemp)
  "$build/wine-run" "$program" "$@" >"$out" </dev/null
  status=$?
  charset=$(locale charmap 2>/dev/null)
  case "$charset" in ""|ANSI_X3.4-1968) charset=UTF-8 ;; esac
  iconv -f CP932 -t "$charset" <"$out" 2>/dev/null || cat "$out"
  rm -f "$out"
  return "$status"
}

if [ $# -eq 0 ]; then
  # The first try: the bundled mbox sample into ./out.
  sample="$top/samples/mailbox.mbox"
  out_dir="$PWD/out"
  before=$(ls "$out_dir" 2>/dev/null | grep -c '\.eml$')
  run_program -mbox "$(program_path "$sample")" "$(program_path "$out_dir")"
  status=$?
  [ "$status" -eq 0 ] || exit "$status"
  after=$(ls "$out_dir" 2>/dev/null | grep -c '\.eml$')
  echo
  echo "$((after - before)) messages extracted from samples/mailbox.mbox into $out_dir"
  exit 0
fi

args=()
first=1
for arg in "$@"; do
  if [ "$first" = 1 ] && [ "${arg#-}" != "$arg" ]; then
    args+=("$arg")
  else
    args+=("$(program_path "$arg")")
  fi
  first=0
done
run_program "${args[@]}"
