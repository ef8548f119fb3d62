#include "solve/solucion.h"

#include "input/problem.h"
#include "run/errstp.h"
#include "run/work_array.h"
#include "solve/element_loop.h"
#include "solve/solution_paths.h"
#include "solve/solution_record.h"

namespace vortan {

namespace {

constexpr int NONLINEAR_STATIC = 6;  // analysis code

}  // namespace

bool lay_out_arrays(bool laid_out) { return !(RUN.KANALI == NONLINEAR_STATIC && laid_out); }

bool printing_results(bool gauss_path) {
  if (!PROBLEM.printing(PRINT_DISPLACEMENTS)) return false;
  if (RUN.KANALI != NONLINEAR_STATIC) return true;
  return !gauss_path && SOLUTION.solutions == 0;
}

void allocate_global_vectors() {
  const std::int64_t n = PROBLEM.NTOTV;
  SOLUTION.ASLOD = DIRECT(RUN.NXTPOS, RUN.MEMORY, n, "ASLOD", REAL_WORDS);
  SOLUTION.DESPL = DIRECT(RUN.NXTPOS, RUN.MEMORY, n, "DESPL", REAL_WORDS);
  SOLUTION.REACT = DIRECT(RUN.NXTPOS, RUN.MEMORY, n, "REACT", REAL_WORDS);
}

void SOLUCION() {
  reserve_element_area();
  switch (PROBLEM.solver) {
    case 1: solve_by_gauss_elimination(); break;
    case 2: solve_by_ldlt(); break;
    case 3:
    case 4:
    case 5: ERRSTP("SOLUCION: SOLVER ITERATIVO NO DISPONIBLE");
    default: ERRSTP("SOLUCION: SOLVER NO IMPLEMENTADO");
  }
  ++SOLUTION.solutions;
}

}  // namespace vortan
