// Explicit dynamics: the transient response by central differences with the lumped
// mass and the internal forces formed element by element, so that no global matrix is
// assembled. The step is the input step, reduced to 1.6 / w_max whenever the highest
// circular frequency, re-estimated by power iteration every "KSTEP=" steps, asks for
// it; it never grows back. The structure is moved by the load vector times the load
// function, or, with "IFUNC=" 0, by ground accelerations read from the accelerogram
// files (the displacements are then relative to the ground).
#include <cmath>
#include <string>
#include <vector>

#include "analyses/driver_phases.h"
#include "analyses/drivers.h"
#include "analyses/dynamics_common.h"
#include "input/added_masses.h"
#include "input/dof_table.h"
#include "input/initial_conditions.h"
#include "input/problem.h"
#include "loads/load_reader.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/timing.h"
#include "run/work_array.h"
#include "solve/assembly.h"
#include "solve/eigen/eigen_methods.h"
#include "solve/element_loop.h"
#include "solve/element_product.h"
#include "solve/equation_numbering.h"
#include "solve/profile_matrix.h"

namespace vortan {

namespace {

using fmt::X;

// The stability limit of the step, 1.6 / w_max, with 1.6 held in single precision.
constexpr double STABILITY = static_cast<double>(1.6f);
constexpr int POWER_LIMIT = 10000;
// The power iteration stops when its estimate changes by less than this share of the
// first estimate. The step only needs w_max well inside the margin 1.6 / 2 of the
// stability limit, and the Rayleigh quotient approaches it from below through the
// cluster of the highest modes of a fine mesh, so a tolerance of 1.0E-10 there meant
// thousands of iterations (or none converging) for no safer step.
constexpr double POWER_TOLERANCE = 1.0e-6;
constexpr int MAX_NODE_DOFS = 15;

struct Explicit {
  double* xmast = nullptr;  // lumped mass by global position
  double* xmasn = nullptr;  // the same by equation
  double* fuert = nullptr;  // load vector, global order
  double* fload = nullptr;  // the same by equation
  double* u = nullptr;      // displacements by equation
  double* v = nullptr;      // velocities (at the half steps) by equation
  double* a = nullptr;      // accelerations by equation
  double* r = nullptr;      // internal forces K u by equation
  double* ground = nullptr;  // ground acceleration factor of each equation's direction
  double* work[4] = {};      // power-iteration vectors
  std::int32_t* direction = nullptr;  // accelerogram (1..3) driving each equation, 0 none
  std::vector<double> records[3];     // the accelerograms of x, y and z
  double dt = 0.0;
};

Explicit run;

double* reals_named(std::int64_t count, const char* name) {
  double* p = WORK.reals(DIRECT(RUN.NXTPOS, RUN.MEMORY, count, name, REAL_WORDS));
  ZEROR(count, p);
  return p;
}

// The equations of the free degrees of freedom, in global order, without a profile.
void number_equations() {
  const std::int32_t ntotv = PROBLEM.NTOTV;
  PROFILE.MHIGH = DIRECT(RUN.NXTPOS, RUN.MEMORY, ntotv, "MHIGH", INT_WORDS);
  PROFILE.NHIGH = DIRECT(RUN.NXTPOS, RUN.MEMORY, ntotv, "NHIGH", INT_WORDS);
  PROFILE.NEQNS = number_free_equations(WORK.ints(PROBLEM.IFFIX), ntotv, WORK.ints(PROFILE.MHIGH),
                                        WORK.ints(PROFILE.NHIGH));
  write_record(UNIT_LISTING, X(5) + "NEQNS=" + fmt::I(PROFILE.NEQNS, 15));
}

void assemble_loads() {
  number_equations();
  run.fuert = reals_named(PROBLEM.NTOTV, "FUERT");
  read_loads();
  for_each_element([](int element, const std::int32_t* positions, int n) {
    add_element_loads(element, positions, n, run.fuert);
  });
}

void assemble_masses() {
  run.xmast = reals_named(PROBLEM.NTOTV, "XMAST");
  assemble_lumped_mass(run.xmast);
  ADDMASF(run.xmast);
  const std::int32_t n = PROFILE.NEQNS;
  run.xmasn = reals_named(n, "XMASN");
  gather_equations(run.xmast, run.xmasn);
  for (std::int32_t i = 0; i < n; ++i)
    if (run.xmasn[i] < 0.0) ERRSTP("ADDMASF : MASA NEGATIVA EN GDL LIBRE");
  std::int32_t k = 0;
  for (std::int32_t node = 1; node <= PROBLEM.NPNODS; ++node) k = std::max(k, adres(node, 1));
  INTIME(k, WORK.reals(PROBLEM.analysis.DESPL), WORK.reals(PROBLEM.analysis.VELOC), PROBLEM.printing(PRINT_DATA));
  run.fload = reals_named(n, "FUERN");
  gather_equations(run.fuert, run.fload);
  run.u = reals_named(n, "VECTU");
  run.v = reals_named(n, "VECTV");
  run.a = reals_named(n, "VECTA");
  run.r = reals_named(n, "RESIN");
  for (double*& w : run.work) w = reals_named(n, "VECTW");
  gather_equations(WORK.reals(PROBLEM.analysis.DESPL), run.u);
  gather_equations(WORK.reals(PROBLEM.analysis.VELOC), run.v);
  COPYR(WORK.reals(PROBLEM.analysis.VELOC), WORK.reals(PROBLEM.analysis.VELOI), PROBLEM.NTOTV);
}

// With "IFUNC=" 0: the directions that "IFIXD=" names (its decimal digits, 1 x, 2 y,
// 3 z) take their accelerogram from <deck>.acx, .acy or .acz; every node's degrees of
// freedom are walked in order, the first three being its translations.
void read_ground_motion() {
  const std::int32_t n = PROFILE.NEQNS;
  run.direction = WORK.ints(DIRECT(RUN.NXTPOS, RUN.MEMORY, std::max<std::int32_t>(n, 1), "IDIRE", INT_WORDS));
  for (std::int32_t i = 0; i < n; ++i) run.direction[i] = 0;
  if (PROBLEM.IFUNC != 0) return;
  bool driven[3] = {};
  for (std::int32_t code = std::abs(PROBLEM.IFIXD); code > 0; code /= 10) {
    const int d = code % 10;
    if (d >= 1 && d <= 3) driven[d - 1] = true;
  }
  for (int d = 0; d < 3; ++d) {
    if (!driven[d]) continue;
    OPENFI(7 + d);
    run.records[d] = read_accelerogram(7 + d);
    CLOSFI(7 + d);
    if (PROBLEM.printing(PRINT_DATA))
      write_record(UNIT_LISTING, X(1) + "DATOS DE ACELERACION EN" + fmt::I(static_cast<long long>(run.records[d].size()), 8) +
                                     " SEG. EN DIR:" + fmt::I(d + 1, 3));
  }
  const std::int32_t* mhigh = WORK.ints(PROFILE.MHIGH);
  for (std::int32_t node = 1; node <= PROBLEM.NPNODS; ++node) {
    const std::int32_t count = adres(node, 1);
    if (count > MAX_NODE_DOFS) ERRSTP("EXPLIT: ERROR: NODO CON MAS DE 15 GDL");
    for (std::int32_t k = 0; k < count && k < 3; ++k) {
      const std::int32_t e = mhigh[adres(node, 2) + k];
      if (e > 0 && driven[k]) run.direction[e - 1] = k + 1;
    }
  }
}

// Internal forces K u, timed as their own action (the clock of the step loop stops
// meanwhile, as for the power iteration).
void internal_forces() {
  TIMACC(7, TIMING.table, 2);
  TIMACC(8, TIMING.table, 1);
  element_stiffness_product(WORK.ints(PROFILE.MHIGH), PROFILE.NEQNS, run.u, run.r);
  TIMACC(8, TIMING.table, 2);
  TIMACC(7, TIMING.table, 1);
}

// w_max by power iteration with the element-by-element product; the step is cut to
// 1.6 / w_max when that is smaller.
void limit_step(int step) {
  TIMACC(7, TIMING.table, 2);
  TIMACC(3, TIMING.table, 1);
  const PowerIteration p = von_mises_iteration(
      PROFILE.NEQNS, run.xmasn,
      [](const double* x, double* y) { element_stiffness_product(WORK.ints(PROFILE.MHIGH), PROFILE.NEQNS, x, y); },
      POWER_TOLERANCE, POWER_LIMIT, run.work[0], run.work[1], run.work[2], run.work[3]);
  const double omega = std::sqrt(std::max(p.eigenvalue, 0.0));
  if (omega > 0.0 && STABILITY / omega < run.dt) {
    run.dt = STABILITY / omega;
    write_record(UNIT_LISTING, X(5) + "PASO" + fmt::I(step, 8) + "  MAXIMA FRECUENCIA" + fmt::E(omega, 16, 8) +
                                   "  INCREMENTO DE TIEMPO REDUCIDO A" + fmt::E(run.dt, 16, 8));
  }
  TIMACC(3, TIMING.table, 2);
  TIMACC(7, TIMING.table, 1);
}

DynamicFields fields_of(double factor) {
  const AnalysisArrays& g = PROBLEM.analysis;
  scatter_equations(run.u, WORK.reals(g.DESPL));
  scatter_equations(run.v, WORK.reals(g.VELOC));
  scatter_equations(run.a, WORK.reals(g.ACELE));
  // The force curves: the internal forces K u.
  scatter_equations(run.r, WORK.reals(g.RESID));
  (void)factor;
  DynamicFields f{WORK.reals(g.DESPL), WORK.reals(g.VELOC), WORK.reals(g.ACELE), WORK.reals(g.RESID)};
  if (PROBLEM.IENER == 1) {
    double kinetic = 0.0, strain = 0.0;
    for (std::int32_t i = 0; i < PROFILE.NEQNS; ++i) {
      kinetic += run.xmasn[i] * run.v[i] * run.v[i];
      strain += run.u[i] * run.r[i];
    }
    f.kinetic = 0.5 * kinetic;
    f.strain = 0.5 * strain;
  }
  return f;
}

// One central-difference step from t to t + dt with the mean step dtm = (dt + dt_prev) / 2:
// a = (f(t + dt) F - K u - m a_ground) / m, v += a dtm, u += v dt.
void central_difference(double t_new, double dtm) {
  const double f = load_factor(PROBLEM.IFUNC, t_new, PROBLEM.DTEND, PROBLEM.AZERO, PROBLEM.BZERO, PROBLEM.OMEGA);
  double ground[3] = {};
  if (PROBLEM.IFUNC == 0)
    for (int d = 0; d < 3; ++d) ground[d] = PROBLEM.AALFA * accelerogram_value(run.records[d], PROBLEM.DTREC, t_new);
  for (std::int32_t i = 0; i < PROFILE.NEQNS; ++i) {
    const double residual = run.r[i] - f * run.fload[i];
    const int d = run.direction[i];
    run.a[i] = -residual / run.xmasn[i] - (d > 0 ? ground[d - 1] : 0.0);
    run.v[i] += run.a[i] * dtm;
    run.u[i] += run.v[i] * run.dt;
  }
}

void step_loop() {
  run.dt = PROBLEM.DTIME;
  if (!(run.dt > 0.0)) ERRSTP("EXPLIT: INCREMENTO DE TIEMPO NO POSITIVO");
  const int kstep = std::max(PROBLEM.KSTEP, 1);
  internal_forces();
  double time = 0.0, previous_dt = 0.0;
  int step = 0;
  limit_step(0);
  // The initial state, with the accelerations of equilibrium with the initial
  // displacements (the load function is 0 at time 0).
  for (std::int32_t i = 0; i < PROFILE.NEQNS; ++i) run.a[i] = 0.0 - run.r[i] / run.xmasn[i];
  dynamics_output(0, 0.0, run.dt, fields_of(0.0));
  // The time is counted from the last change of the step as a multiple of the step, so
  // that rounding in a running sum cannot add or lose a step before the final time.
  double anchor = 0.0;
  int since_anchor = 0;
  while (time < PROBLEM.ENDTM) {
    if (step > 0 && step % kstep == 0) limit_step(step);
    if (run.dt != previous_dt) {
      anchor = time;
      since_anchor = 0;
    }
    if (PROBLEM.ENDTM / run.dt > 2.0e9) ERRSTP("EXPLIT: DEMASIADOS PASOS DE TIEMPO");
    const double dtm = 0.5 * (run.dt + previous_dt);
    const double t_new = anchor + ++since_anchor * run.dt;
    central_difference(t_new, dtm);
    internal_forces();
    previous_dt = run.dt;
    time = t_new;
    ++step;
    if (passes_multiple(time, run.dt, PROBLEM.TOUTD) || passes_multiple(time, run.dt, PROBLEM.TOUTP))
      dynamics_output(step, time, run.dt, fields_of(0.0));
  }
}

}  // namespace

void explicit_dynamics_analysis() {
  run = Explicit{};
  HISTORY.reset();
  timed(2, 2, [] { INPEST(ProblemVariant::explicit_dynamics); });
  timed(4, 4, [] { assemble_loads(); });
  timed(5, 12, [] { compute_element_masses(); });
  timed(6, 15, [] {
    assemble_masses();
    read_ground_motion();
  });
  timed(7, 16, [] { step_loop(); });
  timed(9, 14, [] {
    for (int unit : {11, 12, 15}) CLOSFI(unit);
  });
}

}  // namespace vortan
