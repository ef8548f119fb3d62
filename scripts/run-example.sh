#!/usr/bin/env bash
# Sets up, builds the program (only the program: not the tests or the benchmarks) and
# runs one bundled example deck (default: the plane-stress cantilever). The listing and
# the other output files are written beside the copy of the deck in build/example-run/.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)" --target vortan
deck=${1:-examples/cantilever-plane-stress.vtn}
run_dir=build/example-run
mkdir -p "$run_dir"
cp "$deck" "$run_dir/"
name=$(basename "$deck")
status=0
(cd "$run_dir" && ../vortan "$name") || status=$?
echo
echo "Listing:       $run_dir/${name%.vtn}.sal"
echo "Timing report: $run_dir/${name%.vtn}.tim"
[ -f "$run_dir/${name%.vtn}.err" ] && echo "Error report:  $run_dir/${name%.vtn}.err"
exit $status
