// The solution paths of SOLUCION and what they share.
#pragma once

#include <chrono>

#include "solve/solucion.h"

namespace vortan {

// Gauss elimination on the full matrix (solver code 1).
void solve_by_gauss_elimination(const SolveOptions& options);

// Profile LDL^T factorisation with node renumbering (solver code 2).
void solve_by_ldlt(const SolveOptions& options);

// Element-by-element conjugate gradient, with the diagonal preconditioner when the
// header asks for it (solver code 3).
void solve_by_element_conjugate_gradient(const SolveOptions& options);

// The damped element-by-element iteration of the general static analysis (solver
// code 4, damped_iteration.h).
void solve_by_damped_iteration(const SolveOptions& options);

// The free-free matrix in compressed rows, solved by the conjugate gradient or the
// restarted GMRES (solver code 5).
void solve_by_compressed_rows(const SolveOptions& options);

// The free-free matrix in compressed columns, ordered by nested dissection and factored
// by a library's supernodal Cholesky factorisation (solver code 6, sparse/sparse_direct.h).
void solve_by_sparse_direct(const SolveOptions& options);

// Wall-clock seconds since a reading of the steady clock (the phase times of the
// solution record, kept for the benchmarks).
double seconds_since(std::chrono::steady_clock::time_point start);

// Allocates ASLOD, DESPL and REACT (NTOTV reals each) into SOLUTION.
void allocate_global_vectors();

// The end of every path but Gauss elimination, once DESPL holds the solution and
// ASLOD the applied loads: the displacement table (when printing), the reactions
// recomputed element by element (links with the given penalty), and the reaction and
// elastic-support tables (when printing).
void finish_with_element_reactions(const SolveOptions& options, double penalty);

}  // namespace vortan
