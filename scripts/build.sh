#!/usr/bin/env bash
# Configures and builds tarq. Usage: scripts/build.sh [build-dir] [extra cmake args...]
# TARQ_SANITIZE=1 builds with the address and undefined-behaviour sanitizers.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-"$root/build"}
shift || true

"$root/scripts/install-deps.sh"

args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARQ_WERROR=ON)
if [[ "${TARQ_SANITIZE:-0}" == "1" ]]; then
  args+=(-DTARQ_SANITIZE=ON)
fi
cmake -S "$root" -B "$dir" "${args[@]}" "$@" >/dev/null
cmake --build "$dir" -j"$(nproc)"
