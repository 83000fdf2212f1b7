#!/usr/bin/env bash
# Installs every build, test, benchmark and packaging dependency from
# Debian's packages (the last line: what scripts/package.sh and
# scripts/check-package.sh use to make and check the Debian package).
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build
  libeigen3-dev libopenblas-dev
  libgtest-dev libgmock-dev
  libbenchmark-dev
  libcli11-dev
  nlohmann-json3-dev
  qt6-base-dev qt6-svg-dev libgl-dev
  qt6-qpa-plugins fonts-dejavu-core
  xvfb xauth
  locales
  dpkg-dev desktop-file-utils appstream shared-mime-info groff-base
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
