#!/usr/bin/env bash
# Builds the program and the benchmark of the direct solvers (tests off), writes the
# benchmark decks and times the direct solution paths on them, in-process and through
# the program end to end. Usage: bench/run_benchmarks.sh [build-directory]
# Figures go to standard output, one line per case; the console progress lines of
# the factorisation go to a file, as in a batch run.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../build-bench}"
cmake -S "$here/.." -B "$build" -DVORTAN_TESTS=OFF > /dev/null
cmake --build "$build" -j2 --target vortan bench_direct_solvers > /dev/null
bench="$build/bench/bench_direct_solvers"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

run() {  # name, deck arguments..., then "--" and solve options
  local name="$1"; shift
  local deck=() options=()
  while [ "$#" -gt 0 ] && [ "$1" != "--" ]; do deck+=("$1"); shift; done
  [ "$#" -gt 0 ] && shift
  options=("$@")
  "$bench" deck "${deck[@]}" > "$work/$name.vtn"
  local figures
  figures="$("$bench" solve "$work/$name.vtn" "${options[@]}" 2>&1 > "$work/$name.console" | tail -1)"
  echo "$name ${options[*]:-} $figures"
}

echo "machine: $(nproc) cores, $(free -g | awk '/Mem:/ {print $2}') GB, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)"
run qu4-50x50 qu4 50 50
run qu4-100x100 qu4 100 100
run qu4-200x200 qu4 200 200
run qu4-300x300 qu4 300 300
run qu4-400x20 qu4 400 20
run qu4-400x20 qu4 400 20 -- natural
run he8-10x10x10 he8 10 10 10
run he8-15x15x15 he8 15 15 15
run he8-20x20x20 he8 20 20 20
run he8-40x10x10 he8 40 10 10
run he8-40x10x10 he8 40 10 10 -- natural
run gauss-qu4-20x20 qu4 20 20 -- gauss
run gauss-qu4-30x30 qu4 30 30 -- gauss
run gauss-he8-6x6x6 he8 6 6 6 -- gauss

# End to end through the program itself: read, stiffness, loads, solution, stresses
# and the whole listing.
end_to_end() {  # name, deck arguments...
  local name="$1"; shift
  "$bench" deck "$@" > "$work/$name.vtn"
  local figures
  figures="$(cd "$work" && /usr/bin/time -f "total_s=%e maxrss_kb=%M" "$build/vortan" "$name.vtn" 2>&1 > "$work/$name.console" | tail -1)"
  local end="normal end"
  grep -a -q 'FIN DE ANALISIS' "$work/$name.sal" && end="fatal stop: $(grep -a -m1 -A1 'FIN DE ANALISIS' "$work/$name.console" | tail -1 | xargs)"
  echo "end-to-end $name $figures ($end)"
}
end_to_end e2e-qu4-200x200 qu4 200 200
end_to_end e2e-he8-20x20x20 he8 20 20 20
