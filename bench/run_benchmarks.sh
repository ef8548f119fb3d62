#!/usr/bin/env bash
# Builds the program and the benchmark of the solvers (tests off), writes the
# benchmark decks and times the solution paths on them, in-process and through the
# program end to end. Usage: bench/run_benchmarks.sh [build-directory] [direct|iterative|all]
# Figures go to standard output, one line per case; the console progress lines go to
# a file, as in a batch run. The cases run one after the other, never two at once.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../build-bench}"
which="${2:-all}"
cmake -S "$here/.." -B "$build" -DVORTAN_TESTS=OFF > /dev/null
cmake --build "$build" -j2 --target vortan bench_solvers > /dev/null
bench="$build/bench/bench_solvers"
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
if [ "$which" != "iterative" ]; then
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
fi

if [ "$which" != "direct" ]; then
  # The iterative paths on the brick cantilevers: compressed rows (conjugate gradient
  # and GMRES, diagonal or incomplete factors), element by element (stiffness
  # matrices kept in memory, and recomputed), and LDLT beside them where it fits.
  # loads=1e4 asks the absolute residual test for four more decimal places.
  for size in 10 20; do
    for path in ldlt cg cg-ilu gmres gmres-ilu; do run "he8-$size" he8 $size $size $size -- $path; done
    run "he8-$size-memory" he8 $size $size $size memory -- ebe
    run "he8-$size-memory" he8 $size $size $size memory -- ebe-diagonal
  done
  run he8-10 he8 10 10 10 -- ebe-diagonal
  for path in cg cg-ilu gmres gmres-ilu; do run he8-20 he8 20 20 20 -- $path loads=1e4; done
  for path in cg cg-ilu gmres gmres-ilu; do
    run he8-30 he8 30 30 30 -- $path
    run he8-30 he8 30 30 30 -- $path loads=1e4
  done
  run he8-30-memory he8 30 30 30 memory -- ebe-diagonal
  for path in cg-ilu gmres-ilu; do run he8-40 he8 40 40 40 -- $path; done
fi

# End to end through the program itself: read, stiffness, loads, solution, stresses
# and the whole listing.
end_to_end() {  # name, solver card, deck arguments...
  local name="$1" card="$2"; shift 2
  "$bench" deck "$@" | sed "s/^SOLVER LDLT\$/SOLVER $card/" > "$work/$name.vtn"
  local figures
  figures="$(cd "$work" && /usr/bin/time -f "total_s=%e maxrss_kb=%M" "$build/vortan" "$name.vtn" 2>&1 > "$work/$name.console" | tail -1)"
  local end="normal end"
  grep -a -q 'FIN DE ANALISIS' "$work/$name.sal" && end="fatal stop: $(grep -a -m1 -A1 'FIN DE ANALISIS' "$work/$name.console" | tail -1 | xargs)"
  echo "end-to-end $name ($card) $figures ($end)"
}
if [ "$which" != "iterative" ]; then
  end_to_end e2e-qu4-200x200 LDLT qu4 200 200
  end_to_end e2e-he8-20x20x20 LDLT he8 20 20 20
fi
if [ "$which" != "direct" ]; then
  end_to_end e2e-he8-30x30x30 "GRADIENTE_CONJUGADO SPARCE PRECONDICIONADO GMRES" he8 30 30 30
  end_to_end e2e-he8-30x30x30 "GRADIENTE_CONJUGADO SPARCE PRECONDICIONADO" he8 30 30 30
fi
