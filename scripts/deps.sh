#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; does nothing when they are there.
set -euo pipefail
pkgs="g++ make cmake ninja-build qtbase5-dev libqt5svg5-dev libqwt-qt5-dev libmuparser-dev libbenchmark-dev
  qttools5-dev qttools5-dev-tools qttranslations5-l10n
  desktop-file-utils appstream clang libclang-rt-14-dev
  python3-dev pybind11-dev python3-pybind11 python3-numpy python3-distributed python3-dask"
missing=""
for p in $pkgs; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing="$missing $p"
done
if [ -n "$missing" ]; then
  sudo=""
  [ "$(id -u)" = 0 ] || sudo="sudo"
  echo "Installing:$missing"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends $missing
fi
