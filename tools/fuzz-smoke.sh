#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each briefly on its seed corpus, so a parser
# that crashes on hostile input fails the test run. Longer runs: FUZZ_SECONDS=600.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang++ >/dev/null; then
  echo "clang++ not found: fuzz targets skipped"
  exit 0
fi
ls fuzz/fuzz_*.cpp >/dev/null 2>&1 || { echo "no fuzz targets"; exit 0; }

build_dir=${TARNBOOK_FUZZ_BUILD_DIR:-build-fuzz}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DTARNBOOK_BUILD_FUZZ=ON -DTARNBOOK_BUILD_GUI=OFF -DTARNBOOK_BUILD_TESTS=OFF \
  -DTARNBOOK_BUILD_BENCH=OFF >/dev/null
cmake --build "$build_dir"

seconds=${FUZZ_SECONDS:-10}
for src in fuzz/fuzz_*.cpp; do
  name=$(basename "$src" .cpp)
  corpus="$build_dir/corpus/$name"
  mkdir -p "$corpus"
  seeds=()
  [ -d "fuzz/seeds/$name" ] && seeds=("fuzz/seeds/$name")
  echo "-- $name (${seconds}s)"
  "$build_dir/fuzz/$name" -max_total_time="$seconds" -print_final_stats=0 \
    -artifact_prefix="$build_dir/$name-" "$corpus" "${seeds[@]}" \
    > "$build_dir/$name.log" 2>&1 || { tail -n 40 "$build_dir/$name.log"; exit 1; }
done
echo "fuzz targets: no crash"
