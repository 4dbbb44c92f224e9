#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs them.
#   scripts/fuzz.sh build                 build only
#   scripts/fuzz.sh corpus                build, then run every target once over its seed corpus
#   scripts/fuzz.sh run <format> <secs>   build, then fuzz one format (mps lp mst ord bin sdpa cbf) for secs
# Findings go to build-fuzz/findings/<format>/; the corpus grows in build-fuzz/corpus/<format>/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir="$root/build-fuzz"
mode=${1:-build}

"$root/scripts/install-deps.sh" --fuzz

CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARQ_WERROR=ON \
  -DTARQ_FUZZ=ON -DTARQ_BUILD_TESTS=OFF -DTARQ_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" -j"$(nproc)" --target tarq_fuzz

case "$mode" in
  build) ;;
  corpus)
    for format in mps lp mst ord bin sdpa cbf; do
      seeds="$root/fuzz/corpus/$format"
      if [[ "$format" == bin ]]; then
        seeds="$dir/seeds/bin"
        mkdir -p "$seeds"
        export TARQ_FUZZ_BIN_SEEDS="$root/fuzz/corpus/mps:$seeds"
      fi
      "$dir/fuzz/tarq_fuzz_$format" -runs=0 "$seeds"
    done
    ;;
  run)
    format=${2:?format}
    secs=${3:-60}
    mkdir -p "$dir/corpus/$format" "$dir/findings/$format"
    # The binary target starts from the MPS seeds written in the binary format.
    [[ "$format" == bin ]] && export TARQ_FUZZ_BIN_SEEDS="$root/fuzz/corpus/mps:$dir/corpus/bin"
    seeds=()
    [[ -d "$root/fuzz/corpus/$format" ]] && seeds=("$root/fuzz/corpus/$format")
    "$dir/fuzz/tarq_fuzz_$format" -max_total_time="$secs" -max_len=4096 -rss_limit_mb=1024 \
      -artifact_prefix="$dir/findings/$format/" "$dir/corpus/$format" "${seeds[@]}"
    ;;
  *) echo "usage: $0 build | corpus | run <format> <seconds>" >&2; exit 2 ;;
esac
