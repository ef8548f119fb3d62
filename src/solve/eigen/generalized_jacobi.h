// The generalized Jacobi method for the small projected problem A v = lambda B v of
// the subspace iteration: A and B symmetric positive definite, q x q, kept as packed
// upper triangles (entry (i, j), i <= j, 0-based, at i + j (j + 1) / 2).
#pragma once

namespace vortan {

inline int packed_index(int i, int j) { return i <= j ? i + j * (j + 1) / 2 : j + i * (i + 1) / 2; }

enum class JacobiOutcome {
  solved,
  not_positive_on_entry,    // a diagonal entry of A or B was not positive to start with
  not_positive_in_sweep,    // a rotation or a sweep met a matrix that is not positive definite
  not_positive_at_scaling,  // a diagonal entry of B was not positive when the vectors were scaled
};

// Diagonalises A and B together by plane rotations, sweep after sweep (a pair is
// rotated in sweep s when its coupling factor a_jk^2 / (a_jj a_kk), or that of B,
// reaches 10^-2s), until the diagonal quotients change by no more than `tolerance`
// and every coupling factor is below it, or `max_sweeps` sweeps are done. On return
// A and B are diagonal, eigenvalues[i] = a_ii / b_ii and the columns of vectors (q x
// q, column by column) are scaled so that V^T B V = I. The eigenvalues are not sorted.
JacobiOutcome generalized_jacobi(double* a, double* b, double* vectors, double* eigenvalues, int q,
                                 double tolerance, int max_sweeps);

}  // namespace vortan
