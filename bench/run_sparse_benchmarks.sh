#!/usr/bin/env bash
# The sparse direct solver against LDLT and against CalculiX, side by side on the same
# cantilevers, end to end. Usage:
#   bench/run_sparse_benchmarks.sh [build-directory] [small|large|qu4-800|he8-40|all]
# small: QU4 100 x 100, 200 x 200, 400 x 400 and HE8 10^3, 20^3, 30^3; large: QU4
# 800 x 800 and HE8 40^3 (several minutes on a busy machine: run them one at a time
# with qu4-800 and he8-40); all: both.
#
# For every mesh: VORTAN with SOLVER DIRECTO_DISPERSO, VORTAN with SOLVER LDLT where its
# profile fits the work array (given the --memory it needs, and cut off after 150 s),
# and CalculiX (ccx, OMP_NUM_THREADS=1) on the same mesh written by bench_ccx_decks,
# one after the other. Each line gives the wall time and peak resident memory
# (/usr/bin/time; CalculiX is cut off after 150 s too), the factorisation time and GFLOP/s of the sparse factor (from the
# listing's information block), the ratio of VORTAN's time to CalculiX's, and the
# vertical displacement of the free end's corner node from both programs.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../build-bench}"
which="${2:-small}"
mkdir -p "$build"
build="$(cd "$build" && pwd)"
command -v ccx > /dev/null || { echo "ccx (Debian calculix-ccx) is needed for the comparison" >&2; exit 1; }
cmake -S "$here/.." -B "$build" -DVORTAN_TESTS=OFF > /dev/null
cmake --build "$build" -j2 --target vortan bench_solvers bench_ccx_decks > /dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Wall seconds and peak resident MB of a command run in $work: "seconds megabytes status".
timed() {
  local status=0
  (cd "$work" && /usr/bin/time -f "%e %M" -o "$work/time.txt" "$@" > "$work/console.txt" 2>&1) || status=$?
  read -r seconds kb < <(tail -1 "$work/time.txt") || true
  echo "$seconds $((kb / 1024)) $status"
}

# The displacement of a node in a direction (2 y, 3 z) from a VORTAN listing.
vortan_displacement() {  # listing, node, column
  awk -v node="$2" -v col="$3" '/DESPLAZAMIENTOS/ {table = 1; next} table && $1 == node {print $(col + 1); exit}' "$1"
}
# The same from the CalculiX .dat file (the node print of the set TIP).
ccx_displacement() {  # dat, column
  awk -v col="$2" '/displacements/ {table = 1; next} table && NF >= 4 {print $(col + 1); exit}' "$1"
}

case_line() {  # name, ldlt memory ("" when LDLT does not fit), ccx or no-ccx, kind, sizes...
  local name="$1" ldlt_memory="$2" with_ccx="$3" kind="$4"; shift 4
  local dims=("$@") corner column
  if [ "$kind" = qu4 ]; then
    corner=$((1 + dims[0])); column=2
  else
    corner=$((1 + dims[0])); column=3
  fi
  "$build/bench/bench_solvers" deck "$kind" "${dims[@]}" | sed 's/^SOLVER LDLT$/SOLVER DIRECTO_DISPERSO/' > "$work/S.vtn"
  read -r s_time s_peak s_status <<< "$(timed "$build/vortan" --memory 6G S.vtn)"
  local flops factor gflops
  flops="$(awk '/OPERACIONES DEL FACTOR/ {print $NF}' "$work/S.sal")"
  factor="$(awk '/TIEMPO DE FACTORIZACION/ {print $(NF - 1)}' "$work/S.sal")"
  gflops="$(awk -v f="${flops:-0}" -v t="${factor:-0}" 'BEGIN {if (t > 0) printf "%.1f", f / t * 1e-9; else print "-"}')"
  local s_tip phases
  s_tip="$(vortan_displacement "$work/S.sal" "$corner" "$column")"
  # The phases of the timing report (CPU seconds), in the order of the table.
  phases="$(awk '/DIMENSIONAMIENTO|MATRIZ DE RIGIDEZ|CARGAS EXTERNAS|SOLUCION SISTEMA|TENSIONES EN|SUAVIZADO|POSTPROCESO/ {
    printf "%s%.2f", sep, $(NF - 2); sep = "/"}' "$work/S.tim")"
  local listing_mb
  listing_mb="$(stat -c %s "$work/S.sal" | awk '{printf "%.0f", $1 / 1048576}')"
  rm -f "$work"/S.*

  local l_text="LDLT not run (profile beyond the work array)"
  if [ -n "$ldlt_memory" ]; then
    "$build/bench/bench_solvers" deck "$kind" "${dims[@]}" > "$work/L.vtn"
    read -r l_time l_peak l_status <<< "$(timed timeout 150 "$build/vortan" --memory "$ldlt_memory" L.vtn)"
    if [ "$l_status" = 0 ]; then
      l_text="LDLT ${l_time} s ${l_peak} MB (--memory $ldlt_memory)"
    else
      l_text="LDLT stopped after ${l_time} s (status $l_status, --memory $ldlt_memory)"
    fi
    rm -f "$work"/L.*
  fi

  local c_time="-" c_peak="-" c_status="not run" c_tip="-" ratio="-"
  if [ "$with_ccx" = ccx ]; then
    "$build/bench/bench_ccx_decks" "$kind" "${dims[@]}" > "$work/C.inp"
    read -r c_time c_peak c_status <<< "$(OMP_NUM_THREADS=1 timed timeout 150 ccx C)"
    c_tip="$(ccx_displacement "$work/C.dat" "$column")"
    [ "$c_status" = 0 ] && ratio="$(awk -v a="$s_time" -v b="$c_time" 'BEGIN {if (b > 0) printf "%.2f", a / b; else print "-"}')"
    rm -f "$work"/C.*
  fi
  echo "$name: DIRECTO_DISPERSO ${s_time} s ${s_peak} MB (status $s_status; factor ${factor} s, ${flops} flops, ${gflops} GFLOP/s;" \
       "phases read/stiffness/loads/solution/stresses/smoothing/post ${phases} s; listing ${listing_mb} MB);" \
       "$l_text; ccx ${c_time} s ${c_peak} MB (status $c_status); VORTAN/ccx time ${ratio};" \
       "corner displacement VORTAN ${s_tip} ccx ${c_tip}"
}

echo "machine: $(nproc) cores, $(free -g | awk '/Mem:/ {print $2}') GB, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs);" \
     "load average $(cut -d' ' -f1-3 /proc/loadavg); ccx: $(dpkg-query -W -f='${Version}' calculix-ccx 2>/dev/null || echo '?')"
if [ "$which" = small ] || [ "$which" = all ]; then
  case_line "QU4 100x100" 1G ccx qu4 100 100
  case_line "QU4 200x200" 1G ccx qu4 200 200
  case_line "QU4 400x400" 3G ccx qu4 400 400
  case_line "HE8 10^3" 1G ccx he8 10 10 10
  case_line "HE8 20^3" 1G ccx he8 20 20 20
  case_line "HE8 30^3" 3G ccx he8 30 30 30
fi
# CalculiX's SPOOLES solver took 5.3 GB on the 400 x 400 mesh: four times that is
# more than the machine should be asked for, so the 800 x 800 mesh runs VORTAN only.
case "$which" in large | all | qu4-800) case_line "QU4 800x800" "" no-ccx qu4 800 800 ;; esac
case "$which" in large | all | he8-40) case_line "HE8 40^3" "" ccx he8 40 40 40 ;; esac
