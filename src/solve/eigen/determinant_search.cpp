// Method 2: determinant search.
//
// For mode i the deflated characteristic polynomial
//     p(mu) = det(K - mu M) / prod over the modes found (mu - lambda_j)
// has lambda_i as its lowest root. Its values come from factorisations of K - mu M
// (negative pivots allowed), whose negative pivots also count the eigenvalues below
// mu (Sturm sequence). A secant iteration on p from the two highest shifts below
// lambda_i, its step doubled at every shift until one passes lambda_i, then kept
// inside the bracket the counts give (aimed just past its estimate of lambda_i, on
// the side opposite to the last shift, and bisecting when it leaves the bracket or
// fails to halve it in two shifts),
// runs until the bracket is narrow. Inverse iteration at that shift, kept mass-orthogonal to the modes found,
// then converges to lambda_i and its vector (the nearest eigenvalue above the shift
// that is not yet found).
//
// K is kept on unit 54 and read back before each shifted factorisation, so that one
// profile matrix is in memory; unit 57 keeps the factor of the highest shift below
// the wanted eigenvalue for the inverse iteration.
#include <cmath>
#include <string>
#include <vector>

#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/timing.h"
#include "solve/eigen/eigen_methods.h"
#include "solve/eigen/eigen_support.h"
#include "solve/profile_factor.h"

namespace vortan {

namespace {

constexpr int STIFFNESS_UNIT = 54;
constexpr int FACTOR_UNIT = 57;
// The shift has settled when the bracket of the eigenvalue is no wider than this
// relative to it, or when, inside the bracket, the secant moves it by no more.
constexpr double SHIFT_TOLERANCE = 1.0e-6;
// Shifts nearer than this (relative) to a mode found are left out of the secant: the
// deflation divides by their small distance.
constexpr double DEFLATION_CLEARANCE = 1.0e-4;

// A factorised shift.
struct Shift {
  double mu = 0.0;
  double log_determinant = 0.0;
  int sign = 1;
  std::int32_t below = 0;
};

class Search {
 public:
  explicit Search(const EigenProblem& p) : p_(p), n_(p.neqns), bytes_((p.nwktl + 1) * sizeof(double)) {}

  EigenModes run();

 private:
  const EigenProblem& p_;
  std::int32_t n_;
  std::size_t bytes_;
  std::vector<Shift> shifts_;
  std::vector<double> found_;
  double factor_on_file_ = -1.0;  // shift whose factor unit 57 holds (-1: none)
  bool factor_saved_ = false;
  double first_guess_ = 0.0;
  double *x_ = nullptr, *y_ = nullptr, *modes_ = nullptr;

  // Factorises K - mu M into STIFF (K read back from unit 54) and records the shift.
  const Shift& factorise(double mu) {
    rewind_unit(STIFFNESS_UNIT);
    if (!read_unformatted(STIFFNESS_UNIT, p_.stiff, bytes_)) ERRSTP("DSEARC:ERROR DE LECTURA EN UNIDAD 54");
    const ShiftedFactor f = factorise_shifted(p_.stiff, p_.stiff, p_.maxad, n_, p_.nwktl, p_.mass, mu);
    shifts_.push_back({mu, f.log_determinant, f.sign, f.below});
    return shifts_.back();
  }

  void save_factor(double mu) {
    rewind_unit(FACTOR_UNIT);
    write_unformatted(FACTOR_UNIT, p_.stiff, bytes_);
    factor_on_file_ = mu;
    factor_saved_ = true;
  }

  // The factor of K - mu M into STIFF: from unit 57 when it holds it, else anew.
  void load_factor(double mu) {
    if (factor_saved_ && factor_on_file_ == mu) {
      rewind_unit(FACTOR_UNIT);
      if (read_unformatted(FACTOR_UNIT, p_.stiff, bytes_)) return;
    }
    factorise(mu);
    save_factor(mu);
  }

  // log |p(mu)| and the sign of p for the modes found so far; false when the shift is
  // too near one of them for the quotient to be trusted.
  bool deflated(const Shift& s, double& log_p, int& sign) const {
    log_p = s.log_determinant;
    sign = s.sign;
    for (double lambda : found_) {
      const double d = s.mu - lambda;
      if (std::abs(d) <= DEFLATION_CLEARANCE * std::abs(lambda)) return false;
      log_p -= std::log(std::abs(d));
      if (d < 0.0) sign = -sign;
    }
    return true;
  }

  double shift_below(int mode, int& polynomial);
  double vector_iteration(int mode, double shift, int& iterations, double& change);
};

// The secant step mu1 - eta (mu1 - mu0) / (1 - p0 / p1), or NaN when p0 = p1.
double secant(double mu0, double log_p0, int sign0, double mu1, double log_p1, int sign1, double eta) {
  const double ratio = sign0 * sign1 * std::exp(log_p0 - log_p1);
  if (!std::isfinite(ratio) || ratio == 1.0) return std::nan("");
  return mu1 - eta * (mu1 - mu0) / (1.0 - ratio);
}

double Search::shift_below(int mode, int& polynomial) {
  // Consecutive steps that have not yet passed the eigenvalue: each doubles the
  // acceleration of the secant, since far below the root the step of the secant on a
  // polynomial of high degree is small against the distance left.
  double eta = 2.0;
  bool last_above = false;
  std::vector<double> widths;  // of the bracket, at each shift since the last bisection
  for (;;) {
    // The bracket: the highest shift with fewer than `mode` eigenvalues below it and
    // the lowest with at least `mode`.
    const Shift* lo = nullptr;
    const Shift* hi = nullptr;
    const Shift* s1 = nullptr;  // the two highest shifts below, fit for the secant
    const Shift* s0 = nullptr;
    double log_p1 = 0.0, log_p0 = 0.0;
    int sign1 = 1, sign0 = 1;
    for (const Shift& s : shifts_) {
      if (s.below >= mode) {
        if (hi == nullptr || s.mu < hi->mu) hi = &s;
        continue;
      }
      if (lo == nullptr || s.mu > lo->mu) lo = &s;
      double log_p = 0.0;
      int sign = 1;
      if (!deflated(s, log_p, sign)) continue;
      if (s1 == nullptr || s.mu > s1->mu) {
        s0 = s1, log_p0 = log_p1, sign0 = sign1;
        s1 = &s, log_p1 = log_p, sign1 = sign;
      } else if (s0 == nullptr || s.mu > s0->mu) {
        s0 = &s, log_p0 = log_p, sign0 = sign;
      }
    }
    if (hi != nullptr && hi->mu - lo->mu <= SHIFT_TOLERANCE * hi->mu) return lo->mu;
    double mu = std::nan("");
    if (s0 != nullptr) {
      // Far from the root the values of p differ by orders of magnitude and the
      // secant moves little: there it is no sign that the shift has settled.
      const double root = secant(s0->mu, log_p0, sign0, s1->mu, log_p1, sign1, 1.0);
      // Inside a bracket the secant is trusted when it would move the lower end by
      // no more than the tolerance (near a multiple root it creeps up from below and
      // the upper end stays away), provided its two values of p are of one order:
      // across a crowd of eigenvalues p falls by orders of magnitude and the secant
      // stands still far from the root.
      if (hi != nullptr && s1 == lo && std::isfinite(root) && std::abs(root - lo->mu) <= SHIFT_TOLERANCE * hi->mu &&
          std::abs(log_p0 - log_p1) <= 3.0)
        return lo->mu;
      if (std::isfinite(root) && root > s1->mu) {
        // Below the eigenvalue the step is accelerated. Once a shift has passed it,
        // the next shift is aimed a tenth of the last step beyond the root of the
        // secant, or short of it after a shift that fell above: an accurate
        // estimate then closes the bracket around the eigenvalue from both sides.
        const double step = root - s1->mu;
        mu = hi == nullptr ? s1->mu + eta * step : root + (last_above ? -0.1 : 0.1) * step;
      }
    }
    if (hi == nullptr) {
      if (!std::isfinite(mu) || mu <= lo->mu) mu = lo->mu > 0.0 ? 2.0 * lo->mu : first_guess_;
      eta = std::min(2.0 * eta, 1024.0);
    } else {
      // The secant lost, or the bracket not halved in two shifts (the secant creeps
      // up to a multiple root from one side): bisect.
      const double width = hi->mu - lo->mu;
      const bool creeping = widths.size() >= 2 && width > 0.5 * widths[widths.size() - 2];
      widths.push_back(width);
      if (!std::isfinite(mu) || mu <= lo->mu || mu >= hi->mu || creeping) {
        mu = 0.5 * (lo->mu + hi->mu);
        widths.clear();
      }
    }
    if (polynomial >= p_.polynomial_limit) {
      write_empty(UNIT_LISTING);
      write_record(UNIT_LISTING, fmt::X(5) + "NO SE OBTUVO CONVERGENCIA EN EL SHIFT" + fmt::X(3) + "AUTOVALOR" +
                                     fmt::I(mode, 5) + fmt::X(3) + "SHIFT =" + fmt::E(lo->mu, 20, 12));
      ERRSTP("DSEARC:NO HAY CONVERGENCIA EN EL SHIFT");
    }
    ++polynomial;
    const Shift& s = factorise(mu);
    last_above = s.below >= mode;
    if (!last_above) save_factor(mu);
  }
}

// Inverse iteration at the shift; returns the eigenvalue and leaves the vector in x.
double Search::vector_iteration(int mode, double shift, int& iterations, double& change) {
  const int found = static_cast<int>(found_.size());
  load_factor(shift);
  start_vector(x_, n_);
  mass_orthogonalise(p_.mass, x_, n_, modes_, n_, found);
  mass_normalise(p_.mass, x_, n_);
  double previous = 0.0;
  for (iterations = 1; iterations <= p_.iteration_limit; ++iterations) {
    times_mass(p_.mass, x_, y_, n_);
    profile_resolution(p_.stiff, p_.maxad, n_, y_);
    mass_orthogonalise(p_.mass, y_, n_, modes_, n_, found);
    const double rayleigh = shift + mass_product(p_.mass, y_, x_, n_) / mass_product(p_.mass, y_, y_, n_);
    mass_normalise(p_.mass, y_, n_);
    COPYR(y_, x_, n_);
    change = std::abs(rayleigh - previous) / std::abs(rayleigh);
    if (iterations > 1 && change <= p_.tolerance) return rayleigh;
    previous = rayleigh;
  }
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, fmt::X(5) + "LA CONVERGENCIA EN EL EIGENVECTOR No." + fmt::I(mode, 5));
  write_record(UNIT_LISTING, fmt::X(5) + "NO SE HA OBTENIDO DESPUES DE" + fmt::I(p_.iteration_limit, 5) +
                                 " ITERACIONES");
  ERRSTP("DSEARC:SUPERADO EL NUMERO DE ITERACIONES");
}

EigenModes Search::run() {
  if (p_.modes > mass_degrees_of_freedom(p_.mass, n_)) ERRSTP("DSEARC: MAS AUTOVALORES QUE GDL CON MASA");
  x_ = WORK.reals(DIRECT(RUN.NXTPOS, RUN.MEMORY, n_, "VECT1", REAL_WORDS));
  const std::int32_t stifn =
      DIRECT(RUN.NXTPOS, RUN.MEMORY, static_cast<std::int64_t>(n_) * p_.modes, "STIFN", REAL_WORDS);
  modes_ = WORK.reals(stifn);
  y_ = WORK.reals(DIRECT(RUN.NXTPOS, RUN.MEMORY, n_, "TEMP1", REAL_WORDS));
  OPENFI(STIFFNESS_UNIT);
  OPENFI(FACTOR_UNIT);
  write_unformatted(STIFFNESS_UNIT, p_.stiff, bytes_);

  if (p_.print) {
    write_empty(UNIT_LISTING);
    write_record(UNIT_LISTING, fmt::X(5) + "CALCULO DE AUTOVALORES Y AUTOVECTORES");
  }
  // The unshifted factor: no eigenvalue below 0, and a Rayleigh quotient of one
  // inverse-iteration step, an upper bound of the lowest eigenvalue, for the scale of
  // the first steps.
  if (factorise(0.0).below > 0) ERRSTP("DSEARC:RIGIDEZ NO DEFINIDA POSITIVA");
  save_factor(0.0);
  start_vector(x_, n_);
  times_mass(p_.mass, x_, y_, n_);
  profile_resolution(p_.stiff, p_.maxad, n_, y_);
  first_guess_ = 0.5 * mass_product(p_.mass, y_, x_, n_) / mass_product(p_.mass, y_, y_, n_);

  EigenModes modes;
  modes.vectors = stifn;
  modes.stride = n_;
  for (int mode = 1; mode <= p_.modes; ++mode) {
    PROGRE(TIMING.program_start, 19, mode);
    int polynomial = mode == 1 ? 1 : 0;
    const double shift = shift_below(mode, polynomial);
    std::int32_t below = 0;
    for (const Shift& s : shifts_)
      if (s.mu == shift) below = s.below;
    int iterations = 0;
    double change = 0.0;
    const double lambda = vector_iteration(mode, shift, iterations, change);
    COPYR(x_, modes.vector(mode), n_);
    found_.push_back(lambda);
    ++modes.count;
    modes.eigenvalues.push_back(lambda);
    if (!p_.print) continue;
    write_empty(UNIT_LISTING);
    write_record(UNIT_LISTING, fmt::X(5) + "EL AUTOVALOR NUMERO" + fmt::I(mode, 5) + " =" + fmt::E(lambda, 20, 12) +
                                   fmt::X(3) + "FRECUENCIA No." + fmt::I(mode, 5) + " =" +
                                   fmt::E(std::sqrt(std::abs(lambda)), 20, 12));
    write_record(UNIT_LISTING, fmt::X(5) + "SHIFT USADO =" + fmt::E(shift, 20, 12) + fmt::X(3) + "IS =" +
                                   fmt::I(below, 6));
    write_record(UNIT_LISTING, fmt::X(5) + "NUMERO DE ITERACIONES POLINOMIALALES = " + fmt::I(polynomial, 5));
    write_record(UNIT_LISTING, fmt::X(5) + "NUMERO DE ITERACIONES VECTORIALES = " + fmt::I(iterations, 5));
    write_record(UNIT_LISTING, fmt::X(5) + "PORCENTAJE DE ERROR RELATIVO = " + fmt::E(100.0 * change, 14, 6));
  }
  CLOSFI(STIFFNESS_UNIT);
  CLOSFI(FACTOR_UNIT);
  sort_modes(modes, n_);
  for (int m = 1; m <= modes.count; ++m) modes.numbers.push_back(m);
  return modes;
}

}  // namespace

EigenModes determinant_search(const EigenProblem& problem) { return Search(problem).run(); }

}  // namespace vortan
