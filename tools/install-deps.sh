#!/usr/bin/env bash
# Installs the Debian packages kelt needs to build, run and test; quiet and quick when all are there.
set -euo pipefail
packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libfontconfig-dev libgl-dev qt6-translations-l10n libqt6svg6 qt6-charts-dev libqt6opengl6-dev
  libgtest-dev libbenchmark-dev clang-format clang-tidy poppler-utils
  # The tests switch on the platform's accessibility, as a listening screen reader would.
  qt6-base-private-dev
  fonts-ipafont-gothic fonts-ipafont-mincho
  # Characters outside the IPA faces (𠮷 of 𠮷田, a common family name) are drawn from Noto CJK.
  fonts-noto-cjk
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
