#!/usr/bin/env bash
# Builds the tools if needed and compiles the bundled sample project into a .chm.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
build_dir=${TARNBOOK_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" --target tarnbook-cli tarnbook-hhc

# The sample is compiled in a copy, so the repository stays clean; a private app folder
# keeps the user's own settings untouched.
sample_dir="$build_dir/sample"
rm -rf "$sample_dir"
mkdir -p "$sample_dir"
cp -r examples/sample/. "$sample_dir/"
"$build_dir/src/apps/cli/tarnbook-cli" --home "$build_dir/sample-home" \
  build "$sample_dir/Sample.XHP"
echo "The sample help is $(cd "$sample_dir" && pwd)/Sample.chm"
