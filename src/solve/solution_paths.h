// The direct solution paths of SOLUCION and what they share.
#pragma once

namespace vortan {

// Gauss elimination on the full matrix (solver code 1).
void solve_by_gauss_elimination();

// Profile LDL^T factorisation with node renumbering (solver code 2).
void solve_by_ldlt();

// True when the arrays of a path are to be laid out: always, except in the nonlinear
// static analysis once its first solution has laid them out (given by `laid_out`).
bool lay_out_arrays(bool laid_out);

// The header's displacement print switch as the paths honour it: never in the
// nonlinear static analysis for the Gauss path, and there only at the first solution
// for the other paths.
bool printing_results(bool gauss_path);

// Allocates ASLOD, DESPL and REACT (NTOTV reals each) into SOLUTION.
void allocate_global_vectors();

}  // namespace vortan
