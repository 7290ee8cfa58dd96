# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the scripts: the Debian packages each needs, installing what is missing,
# configuring and building.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"

# Building zentu and zentu-cli (the run-time libraries come with these).
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-svg-dev
                libgl-dev libreadline-dev)
# Loaded by name when the desktop program runs: the stand-ins for the designed fonts, and
# the Turkish texts of Qt's own dialogs.
RUN_PACKAGES=(fonts-liberation2 fonts-dejavu-core fonts-comfortaa qt6-translations-l10n)
# The tests and benchmarks (xvfb: an X display for the start-up benchmark).
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth)
# Building the Debian package (dpkg-shlibdeps, file, the PNG icons) and checking it.
PACKAGE_PACKAGES=(dpkg-dev file librsvg2-bin gzip lintian)
CHECK_PACKAGES=(appstream desktop-file-utils man-db)

# install_missing PACKAGE...: installs those of the Debian packages that are missing.
# Without apt-get and dpkg, or without the rights to use them, it installs nothing and
# names what it would have installed; the build then goes on with what CMake finds.
install_missing() {
  if ! command -v apt-get >/dev/null || ! command -v dpkg-query >/dev/null; then
    echo "No apt-get/dpkg here, so nothing is installed. On Debian 12 this step would install"
    echo "those of these packages that are missing:"
    echo "  $*"
    return 0
  fi
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "Not root and no sudo, so nothing is installed. Missing: ${missing[*]}"
      return 0
    fi
    sudo=(sudo)
  fi
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# configure [CMAKE OPTION...]: configures BUILD_DIR every time, so that changed options and
# newly installed packages take effect (a few seconds when nothing changed). A new build
# folder uses Ninja where it is installed.
configure() {
  local generator=()
  if [ ! -f "$BUILD_DIR/CMakeCache.txt" ] && command -v ninja >/dev/null; then
    generator=(-G Ninja)
  fi
  cmake -S "$ROOT" -B "$BUILD_DIR" "${generator[@]}" --log-level=NOTICE "$@"
}

# build [TARGET...]: builds the targets named, or everything.
build() {
  local targets=()
  [ $# -gt 0 ] && targets=(--target "$@")
  cmake --build "$BUILD_DIR" --parallel "$(nproc)" "${targets[@]}"
}

# cache_value NAME: a variable of BUILD_DIR's CMake cache ("" when it is not set).
cache_value() {
  sed -n "s/^$1:[A-Z]*=//p" "$BUILD_DIR/CMakeCache.txt"
}
