#!/bin/sh
# Builds what the benchmark needs, makes (or reuses) its inputs, and prints
# the measurements against reference commands run on the same inputs.
#
#   bench/run.sh [--runs N] [--quick] [--dir DIR] [--only SECTION] [--skip SECTION]
#                [--against REV [--against-target RATIO]]
#
# --against REV builds the Linux kelpo of the commit REV (a git worktree in
# build/against-<REV>) and times this build's kelpo beside it on the same
# inputs (section "against", target 1.10 times the reference unless given);
# with --only the other sections are left out, "against" never is.
#
# Sections: count, extract, wine, desktop, memory, folder, tree (only when
# asked for: a Maildir of 100,000 files, a 2 GiB profile folder of 40 mbox
# files and a tree of a million files, made once beside the inputs), and
# archive (only when asked for: a web-mail export of 6 GiB or more, made by gen_archive.py
# beside the other inputs, and its output folders on the disk). --quick uses small inputs
# (a separate scratch folder) to try the harness out. Inputs go to
# /tmp/quillbox-bench (QUILLBOX_BENCH_DIR or --dir), and are reused while the
# generator's settings match; output folders go to /dev/shm/quillbox-bench-out
# (QUILLBOX_BENCH_OUT), because a throttled virtual disk would otherwise
# decide the figures.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)

# The desktop program's window needs a display: a virtual one when there is none.
if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null 2>&1; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

dir=${QUILLBOX_BENCH_DIR:-/tmp/quillbox-bench}
runs=3
quick=0
pass=""
against=""
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift 2 ;;
    --dir) dir=$2; shift 2 ;;
    --quick) quick=1; shift ;;
    --only|--skip) pass="$pass $1 $2"; shift 2 ;;
    --against) against=$2; shift 2 ;;
    --against-target) pass="$pass --against-target $2"; shift 2 ;;
    *) echo "unknown argument: $1" >&2; exit 2 ;;
  esac
done

# Tools the references and the memory figure need.
missing=""
command -v git >/dev/null 2>&1 || missing="$missing git"
[ -x /usr/bin/time ] || missing="$missing time"
if [ -n "$missing" ]; then
  apt-get update -qq && apt-get install -y -qq $missing
fi

# Builds only the targets that the build defines: the library may still be
# under construction, and then the rows that need it say so. A build folder is
# configured only when it lacks the benchmark's own targets (other builds may
# be running in it).
targets() { cmake --build "$1" --target help 2>/dev/null | sed -n 's/^\.\.\. \([^ ]*\).*/\1/p'; }
build() { # preset, marker target, wanted targets...
  preset=$1; marker=$2; shift 2
  folder=build/$preset
  if ! targets "$folder" | grep -qx "$marker"; then
    cmake --preset "$preset" >/dev/null 2>&1 || echo "warning: configuring $preset failed" >&2
  fi
  have=$(targets "$folder")
  for t in "$@"; do
    if echo "$have" | grep -qx "$t"; then
      cmake --build "$folder" -j2 --target "$t" >"$folder/bench-build-$t.log" 2>&1 \
        || echo "warning: building $t failed (see $folder/bench-build-$t.log)" >&2
    fi
  done
}

echo "== building (native)"
build native bench_plain_split Corvex kelpo_tool bench_plain_split bench_native_driver
echo "== building (win64)"
build win64 Corvex Corvex kelpo_tool bench_win_plain_split bench_win_driver bench_quillrun_driver
# Until the win64 build itself takes in bench/, build the two Win32 helpers directly.
if [ ! -f build/win64/bin/bench_win_driver.exe ]; then
  mkdir -p build/win64/bench-bin
  for p in win_plain_split win_driver; do
    x86_64-w64-mingw32-g++ -O2 -std=c++17 -Wall -Wextra -DSTRICT -DWIN32_LEAN_AND_MEAN -D_WIN32_WINNT=0x0501 \
      -I"$root/Corvex/include" -static -static-libgcc -static-libstdc++ \
      -o "build/win64/bench-bin/bench_$p.exe" "bench/$p.cpp"
  done
fi
echo "== building (win32, the shipping product)"
build win32 Corvex Corvex kelpo_tool
# The shipping build leaves bench/ out: its Win32 plain split is built here,
# with the same compiler and options as the product.
if [ ! -f build/win32/bench-bin/bench_win_plain_split.exe ] \
   || [ bench/win_plain_split.cpp -nt build/win32/bench-bin/bench_win_plain_split.exe ]; then
  mkdir -p build/win32/bench-bin
  i686-w64-mingw32-g++ -O2 -std=c++17 -Wall -Wextra -DSTRICT -DWIN32_LEAN_AND_MEAN -D_WIN32_WINNT=0x0501 \
    -static -static-libgcc -static-libstdc++ \
    -o build/win32/bench-bin/bench_win_plain_split.exe bench/win_plain_split.cpp
fi
# The native helpers, likewise, when the native build cannot make them yet.
if [ ! -x build/native/bin/bench_plain_split ]; then
  mkdir -p build/native/bin
  g++ -O2 -std=c++17 -Wall -Wextra -o build/native/bin/bench_plain_split bench/plain_split.cpp
fi

if [ -n "$against" ]; then
  rev=$(git rev-parse --short "$against")
  ref="$root/build/against-$rev"
  echo "== building the reference $rev (native kelpo)"
  if [ ! -d "$ref/src" ]; then
    git worktree add -f --detach "$ref/src" "$rev" >/dev/null
  fi
  (cd "$ref/src" && cmake -S . -B "$ref/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLBOX_TESTS=OFF \
     -DQUILLBOX_BENCH=OFF >"$ref/configure.log" 2>&1 &&
   cmake --build "$ref/build" -j2 --target kelpo_tool >"$ref/build.log" 2>&1) \
    || { echo "building the reference $rev failed (see $ref/*.log)" >&2; exit 1; }
  pass="$pass --against-bin $ref/build/bin --against-name $rev"
fi

echo "== inputs"
if [ "$quick" = 1 ]; then
  dir="$dir-quick"
  python3 bench/gen_inputs.py --dir "$dir" --mbox-mib 32 --head-mib 4 --big-mib 128 --big-message-mib 40 \
    --folder-files 20 --folder-messages 100
else
  python3 bench/gen_inputs.py --dir "$dir"
fi
case " $pass " in
  *" --only archive "*)
    if [ "$quick" = 1 ]; then
      python3 bench/gen_archive.py --dir "$dir" --gib 0.2 --min-messages 3000
    else
      python3 bench/gen_archive.py --dir "$dir"
    fi ;;
esac

exec python3 bench/harness.py --dir "$dir" --runs "$runs" $pass
