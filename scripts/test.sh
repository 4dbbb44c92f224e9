#!/usr/bin/env bash
# Builds tarq and runs every test. TARQ_SANITIZE=1 uses a sanitizer build in build-sanitize/ and
# skips the tests labelled "slow" (the long solves of the public instances).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir="$root/build"
skip=()
if [[ "${TARQ_SANITIZE:-0}" == "1" ]]; then
  dir="$root/build-sanitize"
  skip=(-LE slow)
fi
"$root/scripts/build.sh" "$dir"
cd "$dir"
ctest --output-on-failure -j"$(nproc)" "${skip[@]}"
