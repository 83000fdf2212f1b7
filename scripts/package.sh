#!/usr/bin/env bash
# Builds the Debian package of Tarvolin on a Debian 12 machine:
#
#   bash scripts/package.sh [BUILD_DIR]
#
# It installs what it needs from Debian's packages, builds the programs in
# build/package (the package preset: optimised, no tests) and writes
# build/package/tarvolin_VERSION_amd64.deb with CPack. Given BUILD_DIR, a
# build folder already configured and built (build/ci, say), it packages
# that instead of building again. Install the result with
#
#   sudo apt install ./build/package/tarvolin_VERSION_amd64.deb
#
# and check it with scripts/check-package.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
build=${1:-}
if [ -z "$build" ]; then
  cmake --preset package
  cmake --build --preset package -j "$(nproc)"
  build=build/package
fi
(cd "$build" && cpack -G DEB)
version=$(sed -n 's/^project(Tarvolin VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
echo "Package written: build/package/tarvolin_${version}_amd64.deb"
