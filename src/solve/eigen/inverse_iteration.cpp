// Method 1: inverse iteration with mass-orthogonal deflation.
//
// K is factorised once. For each mode, from the start vector x and y = M x, every
// iteration solves K xbar = y and estimates lambda as the smallest non-zero ratio
// x_i / xbar_i; when the relative change of the estimate falls below the tolerance
// the mode has converged, otherwise xbar is mass-normalised, made mass-orthogonal to
// the converged modes and becomes the next x. Each mode restarts from the start
// vector, deflated by the modes found before it.
#include <cmath>
#include <string>

#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/timing.h"
#include "solve/eigen/eigen_methods.h"
#include "solve/eigen/eigen_support.h"
#include "solve/profile_factor.h"

namespace vortan {

namespace {

// The previous estimate each mode starts from: the single-precision constant 1.0E20.
constexpr double FIRST_ESTIMATE = static_cast<double>(1.0e20f);

// Components of xbar below this fraction of its largest one take no part in the
// estimate: their ratios carry the rounding of the solution, not the mode.
constexpr double RATIO_THRESHOLD = static_cast<double>(1.0e-10f);

// The smallest non-zero ratio x_i / xbar_i over the components of xbar that are not
// negligible; 1.0E100 when there is none.
double ratio_estimate(const double* x, const double* xbar, std::int32_t n) {
  double largest = 0.0;
  for (std::int32_t i = 0; i < n; ++i) largest = std::max(largest, std::abs(xbar[i]));
  double lambda = 1.0e100;
  for (std::int32_t i = 0; i < n; ++i) {
    if (std::abs(xbar[i]) <= RATIO_THRESHOLD * largest) continue;
    const double ratio = x[i] / xbar[i];
    if (ratio != 0.0 && ratio < lambda) lambda = ratio;
  }
  return lambda;
}

}  // namespace

EigenModes inverse_iteration(const EigenProblem& p) {
  const std::int32_t n = p.neqns;
  if (p.modes > mass_degrees_of_freedom(p.mass, n)) ERRSTP("INVERS: MAS AUTOVALORES QUE GDL CON MASA");
  // One column per mode: omega, then the mode vector.
  const std::int64_t column = std::int64_t{n} + 1;
  const std::int32_t stifn = DIRECT(RUN.NXTPOS, RUN.MEMORY, column * p.modes, "STIFN", REAL_WORDS);
  const std::int32_t vect1 = DIRECT(RUN.NXTPOS, RUN.MEMORY, n, "VECT1", REAL_WORDS);
  const std::int32_t vect2 = DIRECT(RUN.NXTPOS, RUN.MEMORY, n, "VECT2", REAL_WORDS);
  double* columns = WORK.reals(stifn);
  double* x = WORK.reals(vect1);
  double* y = WORK.reals(vect2);  // M x, then xbar once solved

  EigenModes modes;
  modes.vectors = stifn + REAL_WORDS;
  modes.stride = column;
  const double* converged_vectors = columns + 1;

  DECOMP(p.stiff, p.maxad, n, false);
  if (p.print) {
    write_empty(UNIT_LISTING);
    write_record(UNIT_LISTING, fmt::X(5) + "ITERACION INVERSA");
  }
  auto restart = [&] {
    start_vector(x, n);
    mass_orthogonalise(p.mass, x, n, converged_vectors, column, modes.count);
    times_mass(p.mass, x, y, n);
    PROGRE(TIMING.program_start, 19, modes.count + 1);
  };
  restart();
  double previous = FIRST_ESTIMATE;
  int iterations = 0;
  for (;;) {
    profile_resolution(p.stiff, p.maxad, n, y);
    const double* xbar = y;
    const double lambda = ratio_estimate(x, xbar, n);
    if (lambda == 1.0e100) ERRSTP("INVERS: VECTOR DE ITERACION NULO");
    ++iterations;
    const double change = std::abs((lambda - previous) / lambda);
    if (!(change < p.tolerance)) {
      if (iterations >= p.iteration_limit) {
        write_record(UNIT_LISTING, fmt::X(5) + "MODO" + fmt::I(modes.count + 1, 5) + fmt::X(3) +
                                       "SIN CONVERGENCIA TRAS" + fmt::I(iterations, 7) + " ITERACIONES");
        ERRSTP("INVERS: NO CONVERGE EN " + std::to_string(p.iteration_limit) + " ITERACIONES");
      }
      mass_normalise(p.mass, y, n);
      COPYR(y, x, n);
      if (modes.count > 0) mass_orthogonalise(p.mass, x, n, converged_vectors, column, modes.count);
      times_mass(p.mass, x, y, n);
      previous = lambda;
      continue;
    }
    ++modes.count;
    const double omega = std::sqrt(std::abs(lambda));
    if (p.print)
      write_record(UNIT_LISTING, fmt::X(5) + "MODO" + fmt::I(modes.count, 5) + fmt::X(3) + "OMEGA =" +
                                     fmt::E(omega, 20, 12) + fmt::X(3) + "ITERACIONES =" + fmt::I(iterations, 7));
    mass_normalise(p.mass, y, n);
    double* stored = columns + (modes.count - 1) * column;
    stored[0] = omega;
    COPYR(y, stored + 1, n);
    modes.eigenvalues.push_back(lambda);
    modes.numbers.push_back(modes.count);
    if (modes.count == p.modes) break;
    restart();
    iterations = 0;
    previous = FIRST_ESTIMATE;
  }
  // A mode whose start vector held little of a lower one may converge before it.
  sort_modes(modes, n);
  for (int m = 1; m <= modes.count; ++m) modes.vector(m)[-1] = std::sqrt(std::abs(modes.eigenvalues[m - 1]));
  return modes;
}

}  // namespace vortan
