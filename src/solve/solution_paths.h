// The direct solution paths of SOLUCION and what they share.
#pragma once

#include "solve/solucion.h"

namespace vortan {

// Gauss elimination on the full matrix (solver code 1).
void solve_by_gauss_elimination(const SolveOptions& options);

// Profile LDL^T factorisation with node renumbering (solver code 2).
void solve_by_ldlt(const SolveOptions& options);

// Allocates ASLOD, DESPL and REACT (NTOTV reals each) into SOLUTION.
void allocate_global_vectors();

}  // namespace vortan
