// The restarted generalized minimum residual iteration of the compressed-row path,
// preconditioned on the right: it minimises the norm of the true residual b - A x over
// x0 + M^-1 K, K the Krylov space of A M^-1, so its convergence test is the test of
// the conjugate gradient (r.r below ITERATION_TOLERANCE, the residual of the
// unpreconditioned equations). Each cycle (one inner step) adds one basis vector,
// orthogonalised by modified Gram-Schmidt; after GMRES_RESTART steps the iterate is
// updated, the true residual recomputed, and the iteration restarts from it.
#pragma once

#include <cmath>
#include <cstdint>

#include "solve/iterative/conjugate_gradient.h"
#include "solve/iterative/iteration_report.h"

namespace vortan {

inline constexpr int GMRES_RESTART = 30;

struct GmresVectors {
  std::int64_t n = 0;
  double* x = nullptr;      // iterate, 0 on entry
  const double* b = nullptr;  // right-hand side
  double* r = nullptr;      // residual
  double* w = nullptr;      // work: A M^-1 v, then the update before preconditioning
  double* z = nullptr;      // work: M^-1 v
  double* basis = nullptr;  // GMRES_RESTART + 1 vectors of n, one after the other
};

// Cycles while r.r >= ITERATION_TOLERANCE; the listing and console lines of a cycle
// carry the squared residual norm that the least-squares problem predicts, the final
// test uses the true residual. If the Krylov space closes (a zero new basis vector or
// a zero diagonal in the reduced problem) before the tolerance is reached, the
// iteration ends with the warning of the report; more than ITERATION_LIMIT cycles or
// a residual that is not finite stop the run.
template <class Product, class Precondition>
IterationOutcome restarted_gmres(const GmresVectors& v, Product product, Precondition precondition,
                                 IterationReport& report) {
  constexpr int m = GMRES_RESTART;
  const std::int64_t n = v.n;
  double h[m + 1][m] = {};  // Hessenberg matrix, reduced to triangular by the rotations
  double cs[m], sn[m], g[m + 1], y[m];
  auto basis = [&](int i) { return v.basis + static_cast<std::int64_t>(i) * n; };
  for (std::int64_t i = 0; i < n; ++i) v.r[i] = v.b[i];
  double rr = dot(v.r, v.r, n);
  if (!std::isfinite(rr)) report.not_finite();
  IterationOutcome out;
  std::int32_t k = 0;
  while (!(rr < ITERATION_TOLERANCE)) {
    const double beta = std::sqrt(rr);
    for (std::int64_t i = 0; i < n; ++i) basis(0)[i] = v.r[i] / beta;
    g[0] = beta;
    int steps = 0;
    bool closed = false;
    for (int j = 0; j < m; ++j) {
      if (++k > ITERATION_LIMIT) report.exceeded();
      precondition(basis(j), v.z);
      product(v.z, v.w);
      for (int i = 0; i <= j; ++i) {
        h[i][j] = dot(v.w, basis(i), n);
        subtract_multiple(h[i][j], basis(i), v.w, n);
      }
      const double norm = std::sqrt(dot(v.w, v.w, n));
      h[j + 1][j] = norm;
      if (norm != 0.0)
        for (std::int64_t i = 0; i < n; ++i) basis(j + 1)[i] = v.w[i] / norm;
      for (int i = 0; i < j; ++i) {  // the earlier rotations on the new column
        const double a = h[i][j], b = h[i + 1][j];
        h[i][j] = cs[i] * a + sn[i] * b;
        h[i + 1][j] = -sn[i] * a + cs[i] * b;
      }
      const double radius = std::hypot(h[j][j], h[j + 1][j]);
      if (radius == 0.0) {  // A M^-1 is singular on the space: this column adds nothing
        closed = true;
        break;
      }
      cs[j] = h[j][j] / radius;
      sn[j] = h[j + 1][j] / radius;
      h[j][j] = radius;
      h[j + 1][j] = 0.0;
      g[j + 1] = -sn[j] * g[j];
      g[j] *= cs[j];
      steps = j + 1;
      const double estimate = g[j + 1] * g[j + 1];
      report.cycle(k, estimate);
      if (norm == 0.0) {
        closed = true;
        break;
      }
      if (estimate < ITERATION_TOLERANCE) break;
    }
    // y = R^-1 g, then x += M^-1 (V y).
    for (int i = steps - 1; i >= 0; --i) {
      double s = g[i];
      for (int c = i + 1; c < steps; ++c) s -= h[i][c] * y[c];
      y[i] = s / h[i][i];
    }
    for (std::int64_t i = 0; i < n; ++i) v.w[i] = 0.0;
    for (int i = 0; i < steps; ++i) subtract_multiple(-y[i], basis(i), v.w, n);
    precondition(v.w, v.z);
    for (std::int64_t i = 0; i < n; ++i) v.x[i] += v.z[i];
    product(v.x, v.w);
    for (std::int64_t i = 0; i < n; ++i) v.r[i] = v.b[i] - v.w[i];
    rr = dot(v.r, v.r, n);
    if (!std::isfinite(rr)) report.not_finite();
    if (closed && !(rr < ITERATION_TOLERANCE)) {
      report.stopped_early(rr);
      out.cycles = k;
      out.rr = rr;
      return out;
    }
  }
  out.cycles = k;
  out.rr = rr;
  out.converged = true;
  return out;
}

}  // namespace vortan
