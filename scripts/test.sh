#!/usr/bin/env bash
# Sets up, builds VORTAN and runs every test (unit tests and deck tests).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
cd build
ctest --output-on-failure -j"$(nproc)"
