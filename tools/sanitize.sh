#!/usr/bin/env bash
# Builds the unit tests with AddressSanitizer and UndefinedBehaviorSanitizer and runs them.
# Too slow for CI's two cores inside ./test.sh, so a session runs it before it stops.
#
#   tools/sanitize.sh [CTEST-REGEX]        (build folder: build-sanitize, or $TARNBOOK_SANITIZE_DIR)
#   TARGETS="test_platform test_compile" tools/sanitize.sh   (only these test programs)
#
# Findings that are not ours (Qt WebEngine's and fontconfig's leaks at exit) are suppressed by
# the files in tools/sanitize/; anything else fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${TARNBOOK_SANITIZE_DIR:-build-sanitize}
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DTARNBOOK_BUILD_BENCH=OFF -DTARNBOOK_BUILD_FUZZ=OFF >/dev/null
# shellcheck disable=SC2086
nice cmake --build "$build_dir" -j"${JOBS:-2}" ${TARGETS:+--target $TARGETS}

supp=$(realpath tools/sanitize)
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="suppressions=$supp/ubsan.supp:print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"
if [ -n "${TARGETS:-}" ]; then
  failed=0
  for t in $TARGETS; do
    program=$(find "$build_dir/tests" -type f -name "$t" -perm -u+x | head -n 1)
    echo "-- $t"
    "$program" --gtest_brief=1 || failed=1
  done
  [ "$failed" -eq 0 ] || { echo "sanitized unit tests: failures above"; exit 1; }
else
  ctest --test-dir "$build_dir" --output-on-failure -j"${JOBS:-2}" ${1:+-R "$1"}
fi
echo "sanitized unit tests: no finding"
