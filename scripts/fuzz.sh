#!/usr/bin/env bash
# Fuzzes the deck-reading path with libFuzzer for a given time.
#   scripts/fuzz.sh [seconds] [seed]
# Builds build-fuzz/ with clang, seeds the corpus from the test and example decks and
# keeps the grown corpus in build-fuzz/corpus; a crash leaves its input in build-fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
seed=${2:-1}
if ! command -v clang++ >/dev/null 2>&1; then
  if [ "$(id -u)" -eq 0 ]; then apt-get update -q && apt-get install -y -q clang libclang-rt-dev; else
    echo "The fuzzer needs clang (Debian packages clang, libclang-rt-dev)." >&2; exit 1; fi
fi
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DVORTAN_FUZZ=ON -DVORTAN_TESTS=OFF \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target vortan_fuzz
mkdir -p build-fuzz/corpus build-fuzz/seeds
find examples tests/cases -name '*.vtn' -exec cp {} build-fuzz/seeds/ \;
cd build-fuzz
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ./vortan_fuzz corpus seeds -seed="$seed" -max_total_time="$seconds" -timeout=10 \
  -rss_limit_mb=2048 -max_len=8192 -print_final_stats=1 2>&1 | tail -25
