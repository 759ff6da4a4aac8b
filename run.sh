#!/usr/bin/env bash
# Builds the tools if needed and runs the main job on the bundled sample.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
build_dir=${TARNBOOK_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" --target tarnbook-cli
"$build_dir/src/apps/cli/tarnbook-cli" --help
