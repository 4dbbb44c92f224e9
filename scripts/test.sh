#!/usr/bin/env bash
# Builds tarq and runs every test. TARQ_SANITIZE=1 uses a sanitizer build in build-sanitize/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir="$root/build"
if [[ "${TARQ_SANITIZE:-0}" == "1" ]]; then
  dir="$root/build-sanitize"
fi
"$root/scripts/build.sh" "$dir"
cd "$dir"
ctest --output-on-failure -j"$(nproc)"
