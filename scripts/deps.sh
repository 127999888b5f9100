#!/usr/bin/env bash
# Installs the Debian 12 packages the build needs, only those that are missing; further
# packages may be named as arguments (the fuzz build adds clang and its runtime).
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev qt6-svg-dev
          libsqlite3-dev libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core
          fonts-noto-cjk help2man qt6-translations-l10n
          # the report tests read PDF pages back as text and pictures
          poppler-utils
          # the window program's end-to-end test: an X server and the accessibility bus
          xvfb xauth dbus at-spi2-core python3-pyatspi "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
fi
