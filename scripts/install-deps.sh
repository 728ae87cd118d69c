#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the hosts need, and any further packages
# named on the command line (scripts/install-deps.sh clang qemu-user), when any is missing.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config python3
          libgtest-dev libgmock-dev libbenchmark-dev
          libplist-dev libcairo2-dev libpango1.0-dev fontconfig fonts-dejavu-core fonts-liberation2
          libsndfile1-dev "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
$sudo_cmd apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
