#!/usr/bin/env bash
# Builds the program and the deck writer of the eigenvalue benchmarks (tests off), then
# runs the program end to end on the solid HE8 cantilevers: subspace iteration for 10
# modes on cubes of 10, 15 and 20 elements a side, and the other methods on the
# smallest. Usage: bench/run_eigen_benchmarks.sh [build-directory]
# One line of figures per case on standard output; run one benchmark at a time.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../build-bench}"
cmake -S "$here/.." -B "$build" -DVORTAN_TESTS=OFF > /dev/null
cmake --build "$build" -j2 --target vortan bench_eigen_solvers > /dev/null
build="$(cd "$build" && pwd)"
decks="$build/bench/bench_eigen_solvers"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

run() {  # name, NX NY NZ, modes, method
  local name="$1" nx="$2" ny="$3" nz="$4" modes="$5" method="$6"
  "$decks" deck "$nx" "$ny" "$nz" "$modes" "$method" > "$work/$name.vtn"
  local figures status=0
  figures="$(cd "$work" && /usr/bin/time -f "total_s=%e maxrss_mb=%M" "$build/vortan" "$name.vtn" 2>&1 \
             > "$work/$name.console" | tail -1)" || status=$?
  figures="${figures/maxrss_mb=/maxrss_kb=}"
  local sal="$work/$name.sal"
  local sizes iterations solution first last sturm end="normal end"
  # Each figure is looked for in the listing, the console or the timing file; a run
  # that stopped lacks some of them.
  sizes="$(grep -a -m1 'NEQNS=' "$sal" | awk '{print "neqns=" $2 " nwktl=" $4}' || true)"
  iterations="$(grep -a 'AUTOVALORES EN ITERACION' "$work/$name.console" | tail -1 | awk '{print "iterations=" $6}' || true)"
  solution="$(grep -a -m1 'SOLUCION DE AUTOVALORES' "$work/$name.tim" | awk '{print "solution_s=" $4}' || true)"
  first="$(grep -a -A3 '     FRECUENCIAS NATURALES' "$sal" | tail -1 | awk '{print "lambda_first=" $2}' || true)"
  last="$(grep -a -A$((2 + modes)) '     FRECUENCIAS NATURALES' "$sal" | tail -1 | awk '{print "lambda_last=" $2}' || true)"
  sturm="$(grep -a -m1 'SECUENCIA DE STURM' "$sal" | awk '{print "sturm=" $10 "/" $13}' || true)"
  [ "$status" -ne 0 ] && end="fatal stop: $(sed -n 2p "$work/$name.err" | xargs)"
  echo "$name $sizes $iterations $solution $figures $first $last $sturm ($end)"
}

echo "machine: $(nproc) cores, $(free -g | awk '/Mem:/ {print $2}') GB, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)"
run subspace-he8-10 10 10 10 10 INTEGRACION_EN_EL_SUBESPACIO
run subspace-he8-15 15 15 15 10 INTEGRACION_EN_EL_SUBESPACIO
run subspace-he8-20 20 20 20 10 INTEGRACION_EN_EL_SUBESPACIO
run determinant-he8-10 10 10 10 10 BUSQUEDA_DETERMINANTE
run inverse-he8-10 10 10 10 10 ITERACION_INVERSA
