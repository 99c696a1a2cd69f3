#!/usr/bin/env bash
# Installs every Debian package PQ Desk needs to build, test and run. Idempotent; quiet when all is there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libqt6printsupport6 libgl-dev
  libqcustomplot-dev libqcustomplot2.1-qt6
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libsqlite3-dev sqlite3 libpq-dev postgresql libssl-dev
  fonts-noto-cjk fonts-liberation2
  python3 python3-xlrd python3-openpyxl python3-docx
  zlib1g-dev libisal-dev nlohmann-json3-dev ccache
  xvfb xauth imagemagick poppler-utils xdotool
  cups printer-driver-cups-pdf libreoffice-calc-nogui libreoffice-writer-nogui
  clang libclang-rt-14-dev
  qt6-translations-l10n
  lintian desktop-file-utils appstream hyperfine
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

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
