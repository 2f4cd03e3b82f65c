#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
# Usage: scripts/install-deps.sh [run|test]
set -euo pipefail

packages=(cmake g++ make qt6-base-dev qt6-qpa-plugins libgl-dev fonts-dejavu-core
          python3-dev python3-numpy pybind11-dev)
if [ "${1:-run}" = test ]; then
  packages+=(libgtest-dev libgmock-dev libbenchmark-dev clang clang-format libclang-rt-14-dev git
             python3-pytest python3-matplotlib)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi
