// Method 3: power (von Mises) iteration for the highest eigenvalue of K phi = lambda
// M phi. From g = K v, every iteration forms x = M^-1 g and b = K x, the estimate
// lambda = x.b / x.g (the Rayleigh quotient of x) and the next g = b / sqrt(x.g).
// The iteration stops when the change of the estimate is no longer above the first
// estimate times the tolerance.
#include <cmath>
#include <string>

#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/timing.h"
#include "solve/eigen/eigen_methods.h"
#include "solve/eigen/eigen_support.h"

namespace vortan {

PowerIteration von_mises_iteration(std::int32_t n, const double* mass, const StiffnessProduct& product,
                                   double tolerance, int limit, double* v, double* g, double* x, double* b) {
  // Without mass a degree of freedom has an infinite frequency.
  for (std::int32_t i = 0; i < n; ++i)
    if (!(mass[i] > 0.0)) ERRSTP("VONMIS: GRADO DE LIBERTAD LIBRE SIN MASA");
  start_vector(v, n);
  product(v, g);
  PowerIteration result;
  double threshold = 0.0;
  for (;;) {
    for (std::int32_t i = 0; i < n; ++i) x[i] = g[i] / mass[i];
    product(x, b);
    double d = 0.0, e = 0.0;
    for (std::int32_t i = 0; i < n; ++i) {
      d += x[i] * g[i];
      e += x[i] * b[i];
    }
    if (!(d > 0.0)) ERRSTP("VONMIS: VECTOR DE ITERACION NULO");
    const double lambda = e / d;
    const double scale = 1.0 / std::sqrt(d);
    for (std::int32_t i = 0; i < n; ++i) g[i] = b[i] * scale;
    const double change = std::abs(lambda - result.eigenvalue);
    ++result.iterations;
    if (result.iterations == 1) threshold = std::abs(lambda) * tolerance;
    result.eigenvalue = lambda;
    if (!(change > threshold)) return result;
    if (result.iterations >= limit) {
      write_record(UNIT_LISTING, fmt::X(5) + "ITERACION DE POTENCIAS SIN CONVERGENCIA TRAS" +
                                     fmt::I(result.iterations, 7) + " ITERACIONES" + fmt::X(3) + "AUTOVALOR =" +
                                     fmt::E(lambda, 20, 12) + fmt::X(3) + "CAMBIO =" + fmt::E(change, 14, 6));
      ERRSTP("VONMIS: NO CONVERGE EN " + std::to_string(limit) + " ITERACIONES");
    }
  }
}

EigenModes highest_mode(const EigenProblem& p, const StiffnessProduct& product) {
  const std::int32_t n = p.neqns;
  if (n < 1) ERRSTP("VONMIS: MAS AUTOVALORES QUE GDL CON MASA");
  const std::int32_t vect1 = DIRECT(RUN.NXTPOS, RUN.MEMORY, n, "VECT1", REAL_WORDS);
  const std::int32_t vect2 = DIRECT(RUN.NXTPOS, RUN.MEMORY, n, "VECT2", REAL_WORDS);
  const std::int32_t temp1 = DIRECT(RUN.NXTPOS, RUN.MEMORY, n, "TEMP1", REAL_WORDS);
  const std::int32_t temp2 = DIRECT(RUN.NXTPOS, RUN.MEMORY, n, "TEMP2", REAL_WORDS);
  PROGRE(TIMING.program_start, 19, n);
  const PowerIteration power = von_mises_iteration(n, p.mass, product, p.tolerance, p.iteration_limit,
                                                   WORK.reals(vect1), WORK.reals(vect2), WORK.reals(temp1),
                                                   WORK.reals(temp2));
  mass_normalise(p.mass, WORK.reals(temp1), n);
  const double omega = std::sqrt(std::abs(power.eigenvalue));
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, fmt::X(5) + "FRECUENCIA MAS ALTA" + " =" + fmt::E(omega, 20, 12) + fmt::X(3) +
                                 "ITERACIONES =" + fmt::I(power.iterations, 7));
  EigenModes modes;
  modes.count = 1;
  modes.eigenvalues.push_back(power.eigenvalue);
  modes.numbers.push_back(n);  // every equation has mass, so the highest mode is the n-th
  modes.vectors = temp1;
  modes.stride = n;
  return modes;
}

}  // namespace vortan
