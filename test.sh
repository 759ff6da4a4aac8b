#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")"

tools/install-deps.sh

build_dir=${TARNBOOK_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNBOOK_WERROR=ON >/dev/null
cmake --build "$build_dir"

echo "== format check"
git ls-files -- '*.cpp' '*.h' | xargs -r clang-format --dry-run --Werror

echo "== tests"
export QT_QPA_PLATFORM=offscreen
export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"
ctest --test-dir "$build_dir" --output-on-failure -j2

echo "== installation and the Debian package"
desktop-file-validate data/tarnbook.desktop data/tarnbook-view.desktop
tools/check-install.sh "$build_dir"
package=$(TARNBOOK_BUILD_DIR="$build_dir" TARNBOOK_SKIP_DEPS=1 tools/make-deb.sh | tail -n 1)
tools/check-deb.sh "$package"

echo "== fuzz targets (short smoke run)"
tools/fuzz-smoke.sh
