#!/usr/bin/env bash
# Builds the programs and writes the Debian package tarnbook_<version>_<arch>.deb into the
# build folder (TARNBOOK_BUILD_DIR, default build), printing its path on the last line.
# Install it with: sudo apt install ./build/tarnbook_<version>_<arch>.deb
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${TARNBOOK_BUILD_DIR:-build}
# The package needs the manual pages, which help2man makes, and the compiled manual
# Tarnbook.CHM; the rest comes from the build.
[ "${TARNBOOK_SKIP_DEPS:-}" = 1 ] || tools/install-deps.sh
# Only what the package holds is built: cpack must not build the tests and benchmarks first.
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build "$build_dir" --target tarnbook tarnbook-cli tarnbook-hhc \
  tarnbook_help tarnbook-man tarnbook-cli-man tarnbook-hhc-man >/dev/null
(cd "$build_dir" && cpack -G DEB >/dev/null)

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")
package="$build_dir/tarnbook_${version}_$(dpkg --print-architecture).deb"
[ -f "$package" ] || { echo "make-deb: cpack wrote no $package" >&2; exit 1; }
echo "$package"
