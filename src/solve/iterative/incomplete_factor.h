// The incomplete factorisation with no fill (ILU(0)) of the compressed rows: the
// preconditioner of the compressed-row path when the header asks for one. The factors
// keep the pattern of the matrix: L (unit diagonal, not stored) below the diagonal
// and U from the diagonal up; the reciprocals of U's diagonal are kept apart.
//
// On the symmetric positive definite stiffness matrix the factors are those of an
// incomplete Cholesky factorisation (U = D L^T), so the same factors precondition
// the conjugate gradient and GMRES. The conjugate gradient needs every pivot
// positive; when one is not (the incomplete factorisation of a matrix that is not an
// M-matrix can break down), the factorisation is repeated on the matrix with its
// diagonal enlarged by the factor 1 + shift, the shift growing from 1.0E-3 fourfold up
// to about 1; if that fails too the diagonal preconditioner is used instead.
#pragma once

#include <cstdint>

#include "solve/iterative/compressed_rows.h"

namespace vortan {

struct IncompleteFactors {
  CompressedRows rows;                  // the pattern, with the factors as values
  std::int32_t* diagonal = nullptr;     // position of every row's diagonal entry
  double* inverse_pivot = nullptr;      // 1 / U(i, i)
};

// Factors a into f (f.rows.a holds a's pattern's values afterwards; f.diagonal and
// f.inverse_pivot are filled). Returns the shift used (0 when none was needed), or a
// negative value when no shift gave positive pivots.
double incomplete_factorisation(const CompressedRows& a, IncompleteFactors& f);

// z = (L U)^-1 r.
void incomplete_solve(const IncompleteFactors& f, const double* r, double* z);

// The diagonal preconditioner: inverse(i) = 1 / A(i, i), 0 where the diagonal is 0.
void inverse_diagonal(const CompressedRows& a, double* inverse);

}  // namespace vortan
