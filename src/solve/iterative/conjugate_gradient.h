// The conjugate-gradient iteration of the element-by-element and compressed-row
// paths, on vectors of one length n. The caller keeps every vector zero where the
// unknowns are not free (the product and the preconditioner must leave zeros there),
// so that the iteration acts on the free equations alone.
#pragma once

#include <cmath>
#include <cstdint>

#include "solve/dot_kernels.h"
#include "solve/iterative/iteration_report.h"

namespace vortan {

struct ConjugateGradientVectors {
  std::int64_t n = 0;
  double* x = nullptr;  // iterate (DESPL): updated in place
  double* r = nullptr;  // residual f - K x on entry (VECTU)
  double* p = nullptr;  // search direction (VECTP)
  double* q = nullptr;  // K p (VECT1)
  double* z = nullptr;  // preconditioned residual (ZVECT); null without a preconditioner
};

struct IterationOutcome {
  std::int32_t cycles = 0;
  double rr = 0.0;           // r.r at the end
  bool converged = false;    // false when p.q = 0 ended the iteration early
};

inline double dot(const double* a, const double* b, std::int64_t n) { return dot_contiguous(a, b, n); }

// Cycles while r.r >= ITERATION_TOLERANCE:
//   z = M r (z = r without a preconditioner); rho = r.z;
//   p = z + (rho / previous rho) p (p = z in the first cycle); q = K p;
//   alpha = rho / p.q; x += alpha p; r -= alpha q.
// product(p, q) forms q = K p; precondition(r, z) forms z = M r. An exactly zero p.q
// ends the iteration with the current iterate (with a warning when it has not
// converged); more than ITERATION_LIMIT cycles, or a residual that is not finite,
// stop the run through the report.
template <class Product, class Precondition>
IterationOutcome conjugate_gradient(const ConjugateGradientVectors& v, Product product, Precondition precondition,
                                    IterationReport& report) {
  const std::int64_t n = v.n;
  IterationOutcome out;
  double rr = dot(v.r, v.r, n);
  if (!std::isfinite(rr)) report.not_finite();
  double rho_previous = 0.0;
  std::int32_t k = 0;
  while (!(rr < ITERATION_TOLERANCE)) {
    if (++k > ITERATION_LIMIT) report.exceeded();
    const double* z = v.r;
    if (v.z != nullptr) {
      precondition(v.r, v.z);
      z = v.z;
    }
    const double rho = dot(v.r, z, n);
    if (k == 1) {
      for (std::int64_t i = 0; i < n; ++i) v.p[i] = z[i];
    } else {
      const double beta = rho / rho_previous;
      for (std::int64_t i = 0; i < n; ++i) v.p[i] = z[i] + beta * v.p[i];
    }
    rho_previous = rho;
    product(v.p, v.q);
    const double pq = dot(v.p, v.q, n);
    if (pq == 0.0) {
      report.stopped_early(rr);
      out.cycles = k - 1;
      out.rr = rr;
      return out;
    }
    const double alpha = rho / pq;
    for (std::int64_t i = 0; i < n; ++i) v.x[i] += alpha * v.p[i];
    subtract_multiple(alpha, v.q, v.r, n);
    rr = dot(v.r, v.r, n);
    report.cycle(k, rr);
    if (!std::isfinite(rr)) report.not_finite();
  }
  out.cycles = k;
  out.rr = rr;
  out.converged = true;
  return out;
}

}  // namespace vortan
