#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the sample run need. Idempotent and
# quick when everything is there already.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-webengine-dev libqt6svg6 qt6-translations-l10n libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libchm-dev libchm-bin fp-utils libmspack-dev python3-chm libpng-dev
  clang clang-format libclang-rt-14-dev
  fonts-ipafont-gothic xvfb xauth xdg-utils
  tidy chromium
  help2man desktop-file-utils dpkg-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
