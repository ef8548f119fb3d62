#!/usr/bin/env bash
# Builds VORTAN with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/
# and runs every test under them.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build-asan -DVORTAN_SANITIZE=ON -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-asan -j"$(nproc)"
cd build-asan
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --output-on-failure -j"$(nproc)"
