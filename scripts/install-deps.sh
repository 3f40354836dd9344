#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need,
# calling apt-get only for what is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-qpa-plugins libgl-dev
  libpugixml-dev libgeographiclib-dev gpsbabel
  fonts-liberation fontconfig
  poppler-utils
  desktop-file-utils appstream shared-mime-info man-db libxml2-utils libglib2.0-bin file dpkg-dev
  libutf8proc-dev
  libsqlite3-dev zlib1g-dev libeccodes-dev libeccodes-tools
  ccache
  clang libclang-rt-14-dev
  libnetcdf-dev libhdf5-dev libgeotiff-dev libtiff-dev gmt-gshhg-low gmt-dcw gdal-bin
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == *"install ok installed"* ]] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
