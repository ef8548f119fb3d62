#!/usr/bin/env bash
# Configures and builds VORTAN (optimised) into build/; extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build "$@" >/dev/null
cmake --build build -j"$(nproc)"
