#include "solve/eigen/generalized_jacobi.h"

#include <cmath>

namespace vortan {

namespace {

struct Packed {
  double* m;
  double& operator()(int i, int j) const { return m[packed_index(i, j)]; }
};

// The rotation of the pair (j, k), j < k, that makes a_jk and b_jk zero together:
// column j becomes column j + cg column k, column k becomes column k + ca column j.
bool rotation(const Packed& a, const Packed& b, int j, int k, double& ca, double& cg) {
  const double akk = a(k, k) * b(j, k) - b(k, k) * a(j, k);
  const double ajj = a(j, j) * b(j, k) - b(j, j) * a(j, k);
  const double ab = a(j, j) * b(k, k) - a(k, k) * b(j, j);
  const double check = (ab * ab + 4.0 * akk * ajj) / 4.0;
  if (check < 0.0) return false;
  const double root = std::sqrt(check);
  const double d1 = ab / 2.0 + root;
  const double d2 = ab / 2.0 - root;
  const double den = std::abs(d2) > std::abs(d1) ? d2 : d1;
  if (den == 0.0) {
    ca = 0.0;
    cg = -a(j, k) / a(k, k);
  } else {
    ca = akk / den;
    cg = -ajj / den;
  }
  return true;
}

void rotate(const Packed& m, int q, int j, int k, double ca, double cg) {
  for (int i = 0; i < q; ++i) {
    if (i == j || i == k) continue;
    const double mj = m(i, j), mk = m(i, k);
    m(i, j) = mj + cg * mk;
    m(i, k) = mk + ca * mj;
  }
  const double mjj = m(j, j), mkk = m(k, k), mjk = m(j, k);
  m(k, k) = mkk + 2.0 * ca * mjk + ca * ca * mjj;
  m(j, j) = mjj + 2.0 * cg * mjk + cg * cg * mkk;
  m(j, k) = 0.0;
}

}  // namespace

JacobiOutcome generalized_jacobi(double* a_packed, double* b_packed, double* vectors, double* eigenvalues, int q,
                                 double tolerance, int max_sweeps) {
  const Packed a{a_packed}, b{b_packed};
  for (int i = 0; i < q * q; ++i) vectors[i] = 0.0;
  for (int i = 0; i < q; ++i) {
    if (!(a(i, i) > 0.0 && b(i, i) > 0.0)) return JacobiOutcome::not_positive_on_entry;
    vectors[i + q * i] = 1.0;
    eigenvalues[i] = a(i, i) / b(i, i);
  }
  for (int sweep = 1; sweep <= max_sweeps && q > 1; ++sweep) {
    const double threshold = std::pow(0.01, sweep);
    for (int j = 0; j < q - 1; ++j)
      for (int k = j + 1; k < q; ++k) {
        const double coupling_a = a(j, k) * a(j, k) / (a(j, j) * a(k, k));
        const double coupling_b = b(j, k) * b(j, k) / (b(j, j) * b(k, k));
        if (coupling_a < threshold && coupling_b < threshold) continue;
        double ca = 0.0, cg = 0.0;
        if (!rotation(a, b, j, k, ca, cg)) return JacobiOutcome::not_positive_in_sweep;
        rotate(a, q, j, k, ca, cg);
        rotate(b, q, j, k, ca, cg);
        for (int i = 0; i < q; ++i) {
          double& xj = vectors[i + q * j];
          double& xk = vectors[i + q * k];
          const double vj = xj, vk = xk;
          xj = vj + cg * vk;
          xk = vk + ca * vj;
        }
      }
    bool converged = true;
    for (int i = 0; i < q; ++i) {
      if (!(a(i, i) > 0.0 && b(i, i) > 0.0)) return JacobiOutcome::not_positive_in_sweep;
      const double lambda = a(i, i) / b(i, i);
      if (std::abs(lambda - eigenvalues[i]) > tolerance * std::abs(eigenvalues[i])) converged = false;
      eigenvalues[i] = lambda;
    }
    for (int j = 0; j < q - 1 && converged; ++j)
      for (int k = j + 1; k < q && converged; ++k) {
        const double coupling_a = a(j, k) * a(j, k) / (a(j, j) * a(k, k));
        const double coupling_b = b(j, k) * b(j, k) / (b(j, j) * b(k, k));
        if (coupling_a >= tolerance || coupling_b >= tolerance) converged = false;
      }
    if (converged) break;
  }
  for (int j = 0; j < q; ++j) {
    if (!(b(j, j) > 0.0)) return JacobiOutcome::not_positive_at_scaling;
    const double scale = 1.0 / std::sqrt(b(j, j));
    for (int i = 0; i < q; ++i) vectors[i + q * j] *= scale;
    eigenvalues[j] = a(j, j) / b(j, j);
  }
  return JacobiOutcome::solved;
}

}  // namespace vortan
