#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test Strixel.
# Asks dpkg first, so a second run costs seconds.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libfreetype-dev libfontconfig-dev libtiff-dev
  fonts-urw-base35 fonts-ocr-b fonts-ocr-a
  libzxing-dev zbar-tools ghostscript qpdf poppler-utils libtiff-tools
  locales
  clang-14 libclang-rt-14-dev clang-format
  libcairo2-dev libpng-dev libjpeg-dev libcups2-dev
  zint libreoffice-draw-nogui imagemagick cups-daemon cups-client
  qt6-base-dev xvfb xauth xdotool
  desktop-file-utils shared-mime-info xdg-utils libfile-mimeinfo-perl man-db file libxml2-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
