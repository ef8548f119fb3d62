#include "solve/solucion.h"

#include "input/problem.h"
#include "run/errstp.h"
#include "run/work_array.h"
#include "solve/solution_paths.h"
#include "solve/solution_record.h"

namespace vortan {

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void allocate_global_vectors() {
  const std::int64_t n = PROBLEM.NTOTV;
  SOLUTION.ASLOD = DIRECT(RUN.NXTPOS, RUN.MEMORY, n, "ASLOD", REAL_WORDS);
  SOLUTION.DESPL = DIRECT(RUN.NXTPOS, RUN.MEMORY, n, "DESPL", REAL_WORDS);
  SOLUTION.REACT = DIRECT(RUN.NXTPOS, RUN.MEMORY, n, "REACT", REAL_WORDS);
}

void SOLUCION(const SolveOptions& options) {
  switch (PROBLEM.solver) {
    case 1: solve_by_gauss_elimination(options); break;
    case 2: solve_by_ldlt(options); break;
    case 3: solve_by_element_conjugate_gradient(options); break;
    case 4: solve_by_damped_iteration(options); break;
    case 5: solve_by_compressed_rows(options); break;
    case 6: solve_by_sparse_direct(options); break;
    default: ERRSTP("SOLUCION: SOLVER NO IMPLEMENTADO");
  }
  ++SOLUTION.solutions;
}

}  // namespace vortan
