#!/usr/bin/env bash
# Installs the build into a clean DESTDIR tree and compiles the sample with the installed
# tarnbook-cli, with an empty home and no settings: the installed programs must find their
# templates and the help compiler by themselves, and the manual must lie where the installed
# window looks for it (the data folder beside bin/).
# Usage: tools/check-install.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

DESTDIR="$scratch/root" cmake --install "$build_dir" >/dev/null
prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build_dir/CMakeCache.txt")
cli="$scratch/root$prefix/bin/tarnbook-cli"
cp -r examples/sample "$scratch/sample"
env -i PATH=/usr/bin:/bin HOME="$scratch/home" "$cli" --quiet build "$scratch/sample/Sample.XHP"
[ -f "$scratch/sample/Sample.chm" ] || { echo "check-install: no Sample.chm" >&2; exit 1; }
for f in Default.HTML Default.CSS NotFound.HTML Remote.HTML log.css; do
  [ -f "$scratch/home/.local/share/Tarnbook/TEMPLATE/$f" ] ||
    { echo "check-install: the first start did not copy the template $f" >&2; exit 1; }
done
manual="$scratch/root$prefix/share/tarnbook/Tarnbook.CHM"
[ -s "$manual" ] || { echo "check-install: the manual Tarnbook.CHM is not installed" >&2; exit 1; }
chmls -n list "$manual" 2>/dev/null | grep -q '^/_RESOURCE/wizard.htm$' ||
  { echo "check-install: the installed manual has no pages" >&2; exit 1; }
# The viewer is installed and offered for compiled help files, and opens the sample's.
root="$scratch/root$prefix"
[ -x "$root/bin/tarnbook-view" ] || { echo "check-install: no tarnbook-view" >&2; exit 1; }
grep -q '^MimeType=application/vnd.ms-htmlhelp;' "$root/share/applications/tarnbook-view.desktop" ||
  { echo "check-install: tarnbook-view.desktop does not offer the viewer for .chm" >&2; exit 1; }
grep -q 'type="application/vnd.ms-htmlhelp"' "$root/share/mime/packages/tarnbook.xml" ||
  { echo "check-install: the .chm file type is not registered" >&2; exit 1; }
status=0
"$root/bin/tarnbook-view" --context 1 "$scratch/missing.chm" 2>/dev/null || status=$?
[ "$status" -eq 2 ] ||
  { echo "check-install: tarnbook-view ended with $status for a missing file, not 2" >&2; exit 1; }
echo "check-install: the installed tarnbook-cli compiled the sample; the manual and the viewer are installed"
