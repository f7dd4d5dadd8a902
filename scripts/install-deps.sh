#!/usr/bin/env bash
# Installs the Debian packages needed to build and test kiv.
set -euo pipefail
packages=(build-essential cmake pkg-config libgtest-dev libgmock-dev python3-numpy python3-sklearn libnetcdf-dev
          python3-netcdf4 qt6-base-dev qt6-svg-dev xvfb xauth
          fonts-dejavu-core)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
