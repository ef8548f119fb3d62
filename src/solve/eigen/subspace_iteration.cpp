// Method 4: subspace iteration.
//
// q iteration vectors X (q = min(2p, p + 8), at most the number of mass degrees of
// freedom) start from the diagonal of M, unit vectors at the degrees of freedom with
// the largest ratios m_ii / k_ii and a pseudo-random vector added to the last one.
// Every iteration solves K Xbar = M X, projects K and M onto Xbar (Kr = Xbar^T M X,
// Mr = Xbar^T M Xbar), solves Kr Q = Mr Q Lambda by the generalized Jacobi method,
// orders the eigenvalues and takes X = Xbar Q. The first p eigenvalues converge when
// each changes by no more than the tolerance relative to its value.
//
// K itself is kept on a scratch file while its factor is in use, so that after
// convergence the residual of every mode can be measured with K and K - shift M can
// be factorised for the Sturm-sequence check: a shift just above the converged
// eigenvalues must have exactly as many eigenvalues below it as were found.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/timing.h"
#include "solve/eigen/eigen_methods.h"
#include "solve/eigen/eigen_support.h"
#include "solve/eigen/generalized_jacobi.h"
#include "solve/profile_factor.h"

namespace vortan {

namespace {

constexpr int SCRATCH_UNIT = 60;
constexpr const char* SCRATCH_EXTENSION = ".SPACE.TMP";
// The projected problem is solved until its coupling factors (squares of relative
// off-diagonal entries) are below 1e-20, so that its eigenvectors, and the modes
// formed from them, are not the less accurate part.
constexpr double JACOBI_TOLERANCE = 1.0e-20;
constexpr int JACOBI_SWEEPS = 15;
// Width of the band around a converged eigenvalue that the Sturm shift keeps clear of.
constexpr double CLUSTER_BAND = 0.01;

struct Arrays {
  double* r;        // q x n: the iteration vectors X, then the modes
  double* xbar;     // q x n: K^-1 M X
  double* block;    // n x q: the same, equation by equation, while it is solved
  double* w;        // n: ratios m_ii / k_ii of the start vectors
  double* ar;       // projected stiffness, packed
  double* br;       // projected mass, packed
  double* vec;      // q x q: eigenvectors of the projected problem
  double* eigv;     // q: current eigenvalue estimates
  double* d;        // q: the estimates of the previous iteration
  double* rtolv;    // q: relative change of each estimate
  double* tt;       // q: the scale of each solved vector
};

Arrays allocate(std::int32_t n, int q, std::int32_t& r_position) {
  const std::int64_t block = static_cast<std::int64_t>(q) * n;
  const std::int64_t packed = static_cast<std::int64_t>(q) * (q + 1) / 2;
  Arrays a{};
  r_position = DIRECT(RUN.NXTPOS, RUN.MEMORY, block, "R", REAL_WORDS);
  a.r = WORK.reals(r_position);
  a.xbar = WORK.reals(DIRECT(RUN.NXTPOS, RUN.MEMORY, block, "XBARS", REAL_WORDS));
  a.block = WORK.reals(DIRECT(RUN.NXTPOS, RUN.MEMORY, block, "XBLOC", REAL_WORDS));
  a.w = WORK.reals(DIRECT(RUN.NXTPOS, RUN.MEMORY, n, "W", REAL_WORDS));
  a.eigv = WORK.reals(DIRECT(RUN.NXTPOS, RUN.MEMORY, q, "EIGV", REAL_WORDS));
  a.ar = WORK.reals(DIRECT(RUN.NXTPOS, RUN.MEMORY, packed, "AR", REAL_WORDS));
  a.br = WORK.reals(DIRECT(RUN.NXTPOS, RUN.MEMORY, packed, "BR", REAL_WORDS));
  a.vec = WORK.reals(DIRECT(RUN.NXTPOS, RUN.MEMORY, static_cast<std::int64_t>(q) * q, "VEC", REAL_WORDS));
  a.d = WORK.reals(DIRECT(RUN.NXTPOS, RUN.MEMORY, q, "D", REAL_WORDS));
  a.rtolv = WORK.reals(DIRECT(RUN.NXTPOS, RUN.MEMORY, q, "RTOLV", REAL_WORDS));
  a.tt = WORK.reals(DIRECT(RUN.NXTPOS, RUN.MEMORY, q, "TT", REAL_WORDS));
  return a;
}

void start_vectors(const EigenProblem& p, const Arrays& a, int q) {
  const std::int32_t n = p.neqns;
  ZEROR(static_cast<std::int64_t>(q) * n, a.r);
  for (std::int32_t i = 0; i < n; ++i) {
    a.r[i] = p.mass[i];
    const double k = p.stiff[p.maxad[i] - 1];
    a.w[i] = p.mass[i] > 0.0 && k > 0.0 ? p.mass[i] / k : 0.0;
  }
  for (int j = 1; j < q; ++j) {
    const std::int32_t at = static_cast<std::int32_t>(std::max_element(a.w, a.w + n) - a.w);
    a.r[static_cast<std::int64_t>(j) * n + at] = 1.0;
    a.w[at] = 0.0;
  }
  // A pseudo-random vector added to the last one: x := frac((pi + x)^5).
  double* last = a.r + static_cast<std::int64_t>(q - 1) * n;
  double x = 0.5;
  for (std::int32_t i = 0; i < n; ++i) {
    x = std::pow(3.141592654 + x, 5);
    x -= std::floor(x);
    last[i] += x;
  }
}

// One iteration: Xbar = K^-1 M X, the projections, the projected eigenproblem and
// X = Xbar Q with the eigenvalues in ascending order.
void iterate(const EigenProblem& p, const Arrays& a, int q) {
  const std::int32_t n = p.neqns;
  const std::int64_t nq = static_cast<std::int64_t>(n);
  // M X, equation by equation in the work block, solved for all vectors at once, and
  // back into the columns of Xbar.
  for (std::int32_t k = 0; k < n; ++k)
    for (int j = 0; j < q; ++j) a.block[k * q + j] = p.mass[k] * a.r[j * nq + k];
  profile_resolution_interleaved(p.stiff, p.maxad, n, a.block, q);
  for (std::int32_t k = 0; k < n; ++k)
    for (int j = 0; j < q; ++j) a.xbar[j * nq + k] = a.block[k * q + j];
  // Each solved vector scaled to unit mass norm: near convergence they are the modes
  // divided by their eigenvalues, and projections whose entries span the square of the
  // eigenvalue range would lose their positive definiteness to rounding.
  for (int j = 0; j < q; ++j) {
    const double norm = mass_normalise(p.mass, a.xbar + j * nq, n);
    a.tt[j] = norm > 0.0 ? 1.0 / norm : 0.0;
  }
  for (int j = 0; j < q; ++j)
    for (int i = 0; i <= j; ++i) {
      // Kr = Xbar^T K Xbar = Xbar^T M X (K Xbar = M X); Mr = Xbar^T M Xbar.
      a.ar[packed_index(i, j)] = mass_product(p.mass, a.xbar + i * nq, a.r + j * nq, n) * a.tt[j];
      a.br[packed_index(i, j)] = mass_product(p.mass, a.xbar + i * nq, a.xbar + j * nq, n);
    }
  switch (generalized_jacobi(a.ar, a.br, a.vec, a.eigv, q, JACOBI_TOLERANCE, JACOBI_SWEEPS)) {
    case JacobiOutcome::solved: break;
    case JacobiOutcome::not_positive_on_entry: ERRSTP("SPACE:STIFFNESS MAT NOT POSITIVE DEF  A");
    case JacobiOutcome::not_positive_in_sweep: ERRSTP("SPACE:STIFFNESS MAT NOT POSITIVE DEF  B");
    case JacobiOutcome::not_positive_at_scaling: ERRSTP("SPACE:STIFFNESS MAT NOT POSITIVE DEF  C");
  }
  // Ascending order, the columns of Q with their eigenvalues.
  for (int i = 0; i < q; ++i) {
    const int lowest = static_cast<int>(std::min_element(a.eigv + i, a.eigv + q) - a.eigv);
    if (lowest == i) continue;
    std::swap(a.eigv[i], a.eigv[lowest]);
    std::swap_ranges(a.vec + i * q, a.vec + (i + 1) * q, a.vec + lowest * q);
  }
  for (int j = 0; j < q; ++j) {
    double* x = a.r + j * nq;
    for (std::int32_t k = 0; k < n; ++k) x[k] = 0.0;
    for (int l = 0; l < q; ++l) {
      const double c = a.vec[l + q * j];
      const double* xb = a.xbar + l * nq;
      for (std::int32_t k = 0; k < n; ++k) x[k] += c * xb[k];
    }
  }
}

void restore_stiffness(const EigenProblem& p) {
  rewind_unit(SCRATCH_UNIT);
  const bool read = read_unformatted(SCRATCH_UNIT, p.stiff, static_cast<std::size_t>(p.nwktl + 1) * sizeof(double));
  close_unit(SCRATCH_UNIT, true);
  if (!read) ERRSTP("SPACE:ERROR DE LECTURA EN SPACE.TMP");
}

// Residual of each mode, |K phi - lambda M phi| / |K phi|, with K restored.
void print_residuals(const EigenProblem& p, const Arrays& a, double* scratch) {
  const std::int32_t n = p.neqns;
  for (int m = 0; m < p.modes; ++m) {
    const double* phi = a.r + static_cast<std::int64_t>(m) * n;
    profile_product(p.stiff, p.maxad, n, phi, scratch);
    double residual = 0.0, size = 0.0;
    for (std::int32_t i = 0; i < n; ++i) {
      const double r = scratch[i] - a.eigv[m] * p.mass[i] * phi[i];
      residual += r * r;
      size += scratch[i] * scratch[i];
    }
    write_record(UNIT_LISTING, fmt::X(5) + "MODO" + fmt::I(m + 1, 5) + fmt::X(3) + "ERROR RELATIVO =" +
                                   fmt::E(size > 0.0 ? std::sqrt(residual / size) : 0.0, 14, 6));
  }
}

// The Sturm-sequence check. The shift lies 1 % above the leading run of converged
// eigenvalues, extended over every estimate within 2 % of the last one taken, so that
// it falls in a gap of the spectrum: a square section has its bending modes in pairs,
// and the twin of the last converged mode may not have converged yet. The estimates
// are upper bounds of the eigenvalues of the same rank, so K - shift M has at least as
// many negative pivots as there are estimates below the shift; more means that the
// subspace missed an eigenvalue.
void sturm_check(const EigenProblem& p, const Arrays& a, int q) {
  int below = 0;
  while (below < q && a.rtolv[below] <= p.tolerance) ++below;
  while (below < q && a.eigv[below] <= a.eigv[below - 1] * (1.0 + 2.0 * CLUSTER_BAND)) ++below;
  const double top = a.eigv[below - 1];
  const double shift = top * (1.0 + CLUSTER_BAND);
  if (!(top > 0.0)) ERRSTP("SPACE:ERROR SOLUTION STOP IN SCHECK");
  const ShiftedFactor f = factorise_shifted(p.stiff, p.stiff, p.maxad, p.neqns, p.nwktl, p.mass, shift);
  write_record(UNIT_LISTING, fmt::X(5) + "SECUENCIA DE STURM: SHIFT =" + fmt::E(shift, 20, 12) + fmt::X(3) +
                                   "AUTOVALORES MENORES =" + fmt::I(f.below, 6) + fmt::X(3) + "CALCULADOS =" +
                                   fmt::I(below, 6));
  if (f.below != below) ERRSTP("SPACE:STURM SEQUENCE CHECK FAILED");
}

}  // namespace

EigenModes subspace_iteration(const EigenProblem& p) {
  const std::int32_t n = p.neqns;
  const std::int32_t mass_dofs = mass_degrees_of_freedom(p.mass, n);
  if (p.modes > mass_dofs) ERRSTP("SPACE:NC LARGER THAN MASS DOF");
  const int q = std::min({2 * p.modes, p.modes + 8, mass_dofs});
  std::int32_t r_position = 0;
  const Arrays a = allocate(n, q, r_position);

  open_scratch(SCRATCH_UNIT, SCRATCH_EXTENSION);
  write_unformatted(SCRATCH_UNIT, p.stiff, static_cast<std::size_t>(p.nwktl + 1) * sizeof(double));
  start_vectors(p, a, q);
  if (DECOMP(p.stiff, p.maxad, n, true) > 0) ERRSTP("SPACE:STIFFNESS MATRIX NOT POSITIVE DEF");

  for (int i = 0; i < q; ++i) a.d[i] = 0.0;
  int iterations = 0;
  for (;;) {
    ++iterations;
    iterate(p, a, q);
    double largest = 0.0;
    bool converged = true;
    for (int i = 0; i < q; ++i) {
      a.rtolv[i] = std::abs(a.eigv[i] - a.d[i]) / std::abs(a.eigv[i]);
      if (i < p.modes) {
        largest = std::max(largest, a.rtolv[i]);
        if (!(a.rtolv[i] <= p.tolerance)) converged = false;
      }
      a.d[i] = a.eigv[i];
    }
    PROGRE(TIMING.program_start, 18, iterations, largest);
    if (converged) break;
    if (iterations >= p.iteration_limit) {
      write_record(UNIT_LISTING, fmt::X(5) + "INTEGRACION EN EL SUBESPACIO SIN CONVERGENCIA TRAS" +
                                     fmt::I(iterations, 7) + " ITERACIONES");
      ERRSTP("SPACE:NO CONVERGE EN " + std::to_string(p.iteration_limit) + " ITERACIONES");
    }
  }
  restore_stiffness(p);
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, fmt::X(5) + "INTEGRACION EN EL SUBESPACIO:" + fmt::I(q, 5) + " VECTORES," +
                                 fmt::I(iterations, 7) + " ITERACIONES");
  if (p.print) print_residuals(p, a, a.xbar);
  sturm_check(p, a, q);

  EigenModes modes;
  modes.count = p.modes;
  modes.eigenvalues.assign(a.eigv, a.eigv + p.modes);
  for (int m = 1; m <= p.modes; ++m) modes.numbers.push_back(m);
  modes.vectors = r_position;
  modes.stride = n;
  return modes;
}

}  // namespace vortan
