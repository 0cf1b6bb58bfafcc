#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the unit tests, the real-audio and
# real-window tests on a private PulseAudio daemon and X display, the unit tests again under
# AddressSanitizer + UBSan, the fuzz smokes, and the Debian package and the Windows setup program
# and archive packed from the release build and checked. Ends with one line "N passed, N failed".
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
total_passed=0
total_failed=0

# Runs ctest with the given arguments and adds its counts to the totals.
run_ctest() {
  local log
  log=$(mktemp)
  local status=0
  ctest "$@" --output-on-failure -j "$jobs" 2>&1 | tee "$log" || status=$?
  local summary
  summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)
  rm -f "$log"
  if [ -z "$summary" ]; then
    echo "test.sh: ctest $* ran no test" >&2
    exit 1
  fi
  local failed total
  failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
  total=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$summary")
  total_passed=$((total_passed + total - failed))
  total_failed=$((total_failed + failed))
  [ "$status" -eq 0 ] || total_failed=$((total_failed > 0 ? total_failed : 1))
}

# Runs one checking command and counts it as one test.
run_check() {
  if "$@"; then
    total_passed=$((total_passed + 1))
  else
    total_failed=$((total_failed + 1))
  fi
}

bash scripts/setup.sh

echo "== release build and unit tests =="
bash scripts/build.sh release
run_ctest --test-dir build/release -L unit

echo "== real audio and real windows on the test rig (PulseAudio, Xvfb, Wine, Wayland) =="
# The rig tests share one null sink and one display, so CTest runs them one at a time; the
# Windows player runs there under Wine, the recorder also under a headless Wayland compositor.
run_ctest --test-dir build/release -L 'rig|x11|wine|wayland'

echo "== unit tests under AddressSanitizer + UBSan =="
bash scripts/build.sh asan
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp"
run_ctest --test-dir build/asan -L unit
unset ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS

echo "== fuzz smokes =="
bash scripts/build.sh fuzz
run_ctest --test-dir build/fuzz -L fuzz

echo "== Debian package from the release build (packed and checked) =="
run_check bash scripts/package.sh build/release

echo "== Windows setup program and portable archive from the release build (packed and checked) =="
run_check bash scripts/package-windows.sh build/release

echo "$total_passed passed, $total_failed failed"
[ "$total_failed" -eq 0 ]
