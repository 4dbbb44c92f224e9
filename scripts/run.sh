#!/usr/bin/env bash
# The main job: builds tarq and runs its command-line program on the built-in example.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" "$root/build"
"$root/build/tools/tarq-solve/tarq-solve" "$@"
