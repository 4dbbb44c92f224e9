#!/usr/bin/env bash
# Installs the Debian packages tarq needs that are missing. As root it runs apt-get; otherwise it
# prints the exact command to run and fails. With --fuzz it also installs clang and its fuzzing
# runtime, which the fuzz targets need.
set -euo pipefail

packages=(cmake g++ make pkg-config
          coinor-libcbc-dev coinor-libclp-dev coinor-libcoinutils-dev coinor-libipopt-dev
          coinor-libbonmin-dev libdsdp-dev zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev)
if [[ "${1:-}" == "--fuzz" ]]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if [[ ${#missing[@]} -eq 0 ]]; then
  exit 0
fi

if [[ $(id -u) -ne 0 ]]; then
  echo "tarq needs these Debian packages: ${missing[*]}" >&2
  echo "Install them with:" >&2
  echo "  sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi

echo "Installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
