#!/bin/bash
# The test command: installs what is missing, builds every preset and runs
# every test (native, native with sanitizers, Windows under Wine, the fuzzer,
# the static check of the shipping 32-bit build).
set -euo pipefail
cd "$(dirname "$0")/.."

FUZZ_SECONDS=${FUZZ_SECONDS:-30}
JOBS=${JOBS:-2}

bash scripts/install-deps.sh

build() {
  cmake --preset "$1" >/dev/null
  cmake --build "build/$1" -j"$JOBS" >/dev/null
}

echo "== building win32 (the shipping product)"
build win32
echo "== building win64"
build win64
echo "== building native"
build native
echo "== building native with AddressSanitizer and UBSan"
build native-asan
echo "== building the fuzzer"
build fuzz

status=0
echo "== native tests"
ctest --test-dir build/native --output-on-failure -j"$JOBS" || status=1
echo "== native tests under AddressSanitizer and UBSan"
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build/native-asan --output-on-failure -j"$JOBS" || status=1
echo "== Windows tests under Wine (x86_64 build)"
bash scripts/ctest-wine.sh win64 -j"$JOBS" || status=1
echo "== Windows tests under 32-bit Wine (the shipping i686 build)"
win32_tests="passed"
win32_status=0
bash scripts/ctest-wine.sh win32 -j"$JOBS" || win32_status=$?
case $win32_status in
  0) ;;
  77) win32_tests="NOT RUN: this machine does not execute 32-bit programs" ;;
  *) win32_tests="FAILED"; status=1 ;;
esac

# Each fuzz target runs from its committed seeds (the corpus that longer runs
# grew) in a scratch copy, so a short run leaves the tree as it was.
fuzz() { # target, seed folder
  echo "== fuzzing $1 for ${FUZZ_SECONDS} s"
  local corpus
  corpus=$(mktemp -d)
  cp "$2"/* "$corpus"/
  if build/fuzz/bin/"$1" -max_total_time="$FUZZ_SECONDS" -max_len=4096 -print_final_stats=1 \
       "$corpus" > build/fuzz/"$1".log 2>&1; then
    grep -E 'stat::number_of_executed_units' build/fuzz/"$1".log || true
    echo "fuzz $1: 1 passed, 0 failed"
  else
    tail -n 40 build/fuzz/"$1".log
    echo "fuzz $1: 0 passed, 1 failed"
    status=1
  fi
  rm -rf "$corpus"
}
fuzz corvex_fuzz fuzz/seeds
fuzz setup_script_fuzz fuzz/setup-seeds

echo "== 32-bit Windows tests: $win32_tests"
if [ "$status" -eq 0 ]; then echo "== all tests passed"; else echo "== some tests FAILED"; fi
exit "$status"
