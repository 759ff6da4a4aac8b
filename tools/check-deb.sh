#!/usr/bin/env bash
# Checks a built package: the files an installation needs are in it at their freedesktop
# places, nothing that belongs to the system is, and its dependencies are declared.
# Usage: tools/check-deb.sh PACKAGE.deb
set -euo pipefail
package=$1
fail() { echo "check-deb: $*" >&2; exit 1; }

files=$(dpkg-deb -c "$package" | awk '{print $6}' | sed 's|^\./|/|')
for f in /usr/bin/tarnbook /usr/bin/tarnbook-cli /usr/bin/tarnbook-hhc /usr/bin/tarnbook-view \
  /usr/share/tarnbook/template/Default.HTML /usr/share/tarnbook/template/log.css \
  /usr/share/tarnbook/Tarnbook.CHM \
  /usr/share/applications/tarnbook.desktop /usr/share/applications/tarnbook-view.desktop \
  /usr/share/mime/packages/tarnbook.xml \
  /usr/share/icons/hicolor/scalable/apps/tarnbook.svg \
  /usr/share/man/man1/tarnbook.1.gz /usr/share/man/man1/tarnbook-cli.1.gz \
  /usr/share/man/man1/tarnbook-hhc.1.gz; do
  grep -qx "$f" <<<"$files" || fail "$package lacks $f"
done
# Caches are the system's: a package that ships one breaks every other package's types.
if grep -E '^/usr/share/(mime/mime\.cache|mime/globs|applications/mimeinfo\.cache)' <<<"$files"; then
  fail "$package holds a desktop cache file"
fi
if grep -vE '^/usr/' <<<"$files" | grep -vxE '/?'; then
  fail "$package installs outside /usr"
fi

depends=$(dpkg-deb -f "$package" Depends)
for d in libqt6widgets6 libqt6webenginewidgets6 libqt6svg6 qt6-translations-l10n libchm1 fp-utils fonts-ipafont-gothic; do
  grep -q "\b$d\b" <<<"$depends" || fail "$package does not depend on $d (Depends: $depends)"
done
[ "$(dpkg-deb -f "$package" Architecture)" = "$(dpkg --print-architecture)" ] ||
  fail "$package has the wrong architecture"
echo "check-deb: $package is complete"
