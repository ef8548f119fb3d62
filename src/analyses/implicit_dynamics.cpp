// Implicit dynamics: the linear transient response M a + C v + K u = f(t) F by the
// Newmark method with a constant step, from the profile stiffness K, the lumped mass
// M (with the added masses), Rayleigh damping C = xi w1 M + (xi / w1) K fitted to the
// fundamental frequency w1, and the initial displacements and velocities. The
// effective stiffness is formed in place on the profile and factorised once; each
// step is one reduction and back substitution.
#include <cmath>
#include <string>

#include "analyses/driver_phases.h"
#include "analyses/drivers.h"
#include "analyses/dynamics_common.h"
#include "input/added_masses.h"
#include "input/card_reader.h"
#include "input/initial_conditions.h"
#include "input/parameters.h"
#include "input/problem.h"
#include "input/dof_table.h"
#include "loads/load_reader.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"
#include "solve/assembly.h"
#include "solve/element_loop.h"
#include "solve/profile_factor.h"
#include "solve/profile_matrix.h"

namespace vortan {

namespace {

using fmt::X;

constexpr int UNIT_MATRICES = 47;
constexpr int FREQUENCY_LIMIT = 1000;  // iterations before the tolerance is relaxed

// The arrays of the run, by work-array position or pointer.
struct Implicit {
  double* xmast = nullptr;  // diagonal mass by global position
  double* xmasn = nullptr;  // the same by equation
  double* fuert = nullptr;  // assembled load vector, global order
  double* stifm = nullptr;  // K kept for the damping products
  double* vect1 = nullptr;  // effective load, then new displacements (equations)
  double* vect2 = nullptr;  // work vector (equations)
  double* u = nullptr;      // displacements, velocities and accelerations by equation
  double* v = nullptr;
  double* a = nullptr;
  double omega1 = 0.0;
  double xi = 0.0, gamma = 0.5, beta = 0.25;
};

Implicit run;

double* reals_named(std::int64_t count, const char* name) {
  double* p = WORK.reals(DIRECT(RUN.NXTPOS, RUN.MEMORY, count, name, REAL_WORDS));
  ZEROR(count, p);
  return p;
}

void assemble_matrices() {
  build_stiffness_profile();
  run.xmast = reals_named(PROBLEM.NTOTV, "XMAST");
  run.stifm = reals_named(PROFILE.NWKTL + 1, "STIFM");
  run.fuert = reals_named(PROBLEM.NTOTV, "FUERT");
  assemble_profile_stiffness();
  assemble_lumped_mass(run.xmast);
}

void assemble_loads() {
  read_loads();
  for_each_element([](int element, const std::int32_t* positions, int n) {
    add_element_loads(element, positions, n, run.fuert);
  });
}

void read_masses_and_initial_conditions() {
  ADDMASF(run.xmast);
  run.xmasn = reals_named(PROFILE.NEQNS, "XMASN");
  gather_equations(run.xmast, run.xmasn);
  for (std::int32_t i = 0; i < PROFILE.NEQNS; ++i)
    if (run.xmasn[i] < 0.0) ERRSTP("ADDMASF : MASA NEGATIVA EN GDL LIBRE");
  std::int32_t k = 0;
  for (std::int32_t n = 1; n <= PROBLEM.NPNODS; ++n) k = std::max(k, adres(n, 1));
  INTIME(k, WORK.reals(PROBLEM.analysis.DESPL), WORK.reals(PROBLEM.analysis.VELOC),
         PROBLEM.printing(PRINT_DATA));
}

// Inverse iteration on the lowest mode of K x = lambda M x, with K factorised in
// place; K and M are kept on unit 47 meanwhile. The estimate is the smallest ratio
// x_i / xbar_i of the iterate to its image.
void fundamental_frequency() {
  const std::int32_t n = PROFILE.NEQNS;
  double* stiff = WORK.reals(PROFILE.STIFF);
  const std::int32_t* maxad = WORK.ints(PROFILE.MAXAD);
  OPENFI(UNIT_MATRICES);
  write_unformatted(UNIT_MATRICES, stiff, sizeof(double) * static_cast<std::size_t>(PROFILE.NWKTL + 1));
  write_unformatted(UNIT_MATRICES, run.xmast, sizeof(double) * static_cast<std::size_t>(PROBLEM.NTOTV));
  DECOMP(stiff, maxad, n, false, WORK.ints(PROFILE.MHIGH));
  double* x = reals_named(n, "VECTX");
  double* xbar = reals_named(n, "VECTY");
  for (std::int32_t i = 0; i < n; ++i) x[i] = 1.0;
  double tolerance = 1.0e-10, previous = 1.0e10, lambda = 0.0;
  int counter = 0;
  for (;;) {
    for (std::int32_t i = 0; i < n; ++i) xbar[i] = run.xmasn[i] * x[i];
    profile_resolution(stiff, maxad, n, xbar);
    lambda = 1.0e100;
    for (std::int32_t i = 0; i < n; ++i) {
      if (std::fabs(xbar[i]) <= 1.0e-10) continue;
      const double ratio = x[i] / xbar[i];
      if (ratio != 0.0 && ratio < lambda) lambda = ratio;
    }
    if (++counter > FREQUENCY_LIMIT) {
      counter = 0;
      tolerance *= 10.0;
    }
    if (std::fabs((previous - lambda) / lambda) < tolerance) break;
    previous = lambda;
    double norm = 0.0;
    for (std::int32_t i = 0; i < n; ++i) norm += xbar[i] * run.xmasn[i] * xbar[i];
    if (!(norm > 0.0)) ERRSTP("DINIMP: MATRIZ DE MASAS NULA");
    norm = std::sqrt(norm);
    for (std::int32_t i = 0; i < n; ++i) x[i] = xbar[i] / norm;
  }
  write_empty(UNIT_LISTING, 2);
  write_record(UNIT_LISTING, X(5) + "FRECUENCIA FUNDAMENTAL DE VIBRACION");
  write_record(UNIT_LISTING, X(5) + "EL NUMERO MAXIMO PERMITIDO DE ITER. (NMAXI) FUE:" + fmt::I(FREQUENCY_LIMIT, 6));
  if (lambda < 0.0 || lambda >= 1.0e100) {
    write_record(UNIT_LISTING, X(5) + "LAS SIGUIENTES FRECUNECIAS NATURALES SON COMPLEJAS");
    write_record(UNIT_LISTING, X(5) + "NO SERAN CALCULADAS");
    ERRSTP("DINIMP: FRECUENCIA FUNDAMENTAL COMPLEJA");
  }
  run.omega1 = std::sqrt(lambda);
  write_record(UNIT_LISTING, X(5) + " FRECUENCIA No." + fmt::I(1, 5) + fmt::E(run.omega1, 20, 12));
  const std::string report = unit_file_name(".frec");
  if (std::FILE* frec = std::fopen(report.c_str(), "wb")) {
    std::fprintf(frec, " FRECUENCIA FUNDAMENTAL DE VIBRACION\n MODO      AUTOVALOR           OMEGA\n%5d%20.12E%20.12E\n", 1,
                 lambda, run.omega1);
    std::fclose(frec);
  }
  if (PROBLEM.printing(PRINT_DISPLACEMENTS)) {
    double length = 0.0;
    for (std::int32_t i = 0; i < n; ++i) length += xbar[i] * xbar[i];
    length = std::sqrt(length);
    double* despl = reals_named(PROBLEM.NTOTV, "VECTP");
    for (std::int32_t i = 0; i < n; ++i) xbar[i] /= length;
    scatter_equations(xbar, despl);
    write_empty(UNIT_LISTING);
    write_record(UNIT_LISTING, X(5) + "VECTOR PROPIO");
    for (std::int32_t node = 1; node <= PROBLEM.NPNODS; ++node) {
      std::string line = fmt::I(node, 10);
      for (std::int32_t k = 0; k < adres(node, 1); ++k) line += fmt::E(despl[adres(node, 2) + k], 14, 6);
      write_record(UNIT_LISTING, line);
    }
  }
}

// The Newmark card, the restored K and M, and the effective stiffness
// K (1 + xi gamma / (w1 beta dt)) + M (1 + xi gamma w1 dt) / (beta dt^2), factorised.
void effective_stiffness() {
  double* stiff = WORK.reals(PROFILE.STIFF);
  rewind_unit(UNIT_MATRICES);
  if (!read_unformatted(UNIT_MATRICES, stiff, sizeof(double) * static_cast<std::size_t>(PROFILE.NWKTL + 1)) ||
      !read_unformatted(UNIT_MATRICES, run.xmast, sizeof(double) * static_cast<std::size_t>(PROBLEM.NTOTV)))
    ERRSTP("DINIMP: ERROR DE LECTURA EN UNIDAD 47");
  CLOSFI(UNIT_MATRICES);
  LISTEN("NEWMAR1");
  run.xi = GETREA("AMORT=", 0.0, "# PORCENTAJE DE AMORTIGUAMIENTO");
  run.gamma = std::max(GETREA("GAMMA=", 0.0, "# CONSTANTE DEL METODO NEWMARK"), 0.5);
  run.beta = std::max(GETREA("BETA1=", 0.0, "# CONSTANTE DEL METODO NEWMARK"),
                      0.25 * (run.gamma + 0.5) * (run.gamma + 0.5));
  if (PROBLEM.printing(PRINT_DATA)) {
    write_empty(UNIT_LISTING);
    write_record(UNIT_LISTING, " PORCENTAJE DE AMORTIGUAMIENTO" + X(5) + fmt::E(run.xi, 14, 6));
    write_record(UNIT_LISTING, " CONSTANTE DEL METODO NEWMARK" + X(6) + fmt::E(run.gamma, 14, 6));
    write_record(UNIT_LISTING, " CONSTANTE DEL METODO NEWMARK" + X(6) + fmt::E(run.beta, 14, 6));
  }
  const double dt = PROBLEM.DTIME;
  if (!(dt > 0.0)) ERRSTP("DINIMP: INCREMENTO DE TIEMPO NO POSITIVO");
  const std::int64_t length = PROFILE.NWKTL + 1;
  for (std::int64_t i = 0; i < length; ++i) run.stifm[i] = stiff[i];
  const double k_factor = 1.0 + run.xi * run.gamma / (run.omega1 * run.beta * dt);
  const double m_factor = (1.0 + run.xi * run.gamma * run.omega1 * dt) / (run.beta * dt * dt);
  for (std::int64_t i = 0; i < length; ++i) stiff[i] *= k_factor;
  const std::int32_t* maxad = WORK.ints(PROFILE.MAXAD);
  for (std::int32_t e = 0; e < PROFILE.NEQNS; ++e) stiff[maxad[e] - 1] += m_factor * run.xmasn[e];
  DECOMP(stiff, maxad, PROFILE.NEQNS, false, WORK.ints(PROFILE.MHIGH));
  run.vect1 = reals_named(PROFILE.NEQNS, "VECT1");
  run.vect2 = reals_named(PROFILE.NEQNS, "VECT2");
  run.u = reals_named(PROFILE.NEQNS, "VECTU");
  run.v = reals_named(PROFILE.NEQNS, "VECTV");
  run.a = reals_named(PROFILE.NEQNS, "VECTA");
}

// Energies of the state in equation order: 1/2 v^T M v and 1/2 u^T K u.
void energies(DynamicFields& f) {
  const std::int32_t n = PROFILE.NEQNS;
  profile_product(run.stifm, WORK.ints(PROFILE.MAXAD), n, run.u, run.vect2);
  double kinetic = 0.0, strain = 0.0;
  for (std::int32_t i = 0; i < n; ++i) {
    kinetic += run.xmasn[i] * run.v[i] * run.v[i];
    strain += run.u[i] * run.vect2[i];
  }
  f.kinetic = 0.5 * kinetic;
  f.strain = 0.5 * strain;
}

DynamicFields fields_of(double factor) {
  const AnalysisArrays& g = PROBLEM.analysis;
  scatter_equations(run.u, WORK.reals(g.DESPL));
  scatter_equations(run.v, WORK.reals(g.VELOC));
  scatter_equations(run.a, WORK.reals(g.ACELE));
  double* force = WORK.reals(g.FORCE);
  for (std::int32_t i = 0; i < PROBLEM.NTOTV; ++i) force[i] = factor * run.fuert[i];
  DynamicFields f{WORK.reals(g.DESPL), WORK.reals(g.VELOC), WORK.reals(g.ACELE), force};
  if (PROBLEM.IENER == 1) energies(f);
  return f;
}

// The state at time 0: the initial conditions, and the accelerations they give where
// there is mass, a = M^-1 (f(0) F - K u - C v); a degree of freedom without mass
// starts at rest.
void initial_state() {
  const std::int32_t n = PROFILE.NEQNS;
  const AnalysisArrays& g = PROBLEM.analysis;
  gather_equations(WORK.reals(g.DESPL), run.u);
  gather_equations(WORK.reals(g.VELOC), run.v);
  COPYR(WORK.reals(g.VELOC), WORK.reals(g.VELOI), PROBLEM.NTOTV);
  const std::int32_t* maxad = WORK.ints(PROFILE.MAXAD);
  // vect1 = K (u + (xi / w1) v), the stiffness part of K u + C v.
  for (std::int32_t i = 0; i < n; ++i) run.vect2[i] = run.u[i] + run.xi / run.omega1 * run.v[i];
  profile_product(run.stifm, maxad, n, run.vect2, run.vect1);
  gather_equations(run.fuert, run.vect2);
  const double f0 = load_factor(PROBLEM.IFUNC, 0.0, PROBLEM.DTEND, PROBLEM.AZERO, PROBLEM.BZERO, PROBLEM.OMEGA);
  for (std::int32_t i = 0; i < n; ++i) {
    const double m = run.xmasn[i];
    run.a[i] = m > 0.0 ? (f0 * run.vect2[i] - run.vect1[i] - run.xi * run.omega1 * m * run.v[i]) / m : 0.0;
  }
  dynamics_output(0, 0.0, PROBLEM.DTIME, fields_of(f0));
}

void step_loop() {
  const std::int32_t n = PROFILE.NEQNS;
  const double dt = PROBLEM.DTIME, g = run.gamma, b = run.beta, xi = run.xi, w1 = run.omega1;
  const double a0 = 1.0 / (b * dt * dt), a1 = g / (b * dt), a2 = 1.0 / (b * dt), a3 = 1.0 / (2.0 * b) - 1.0,
               a4 = g / b - 1.0, a5 = 0.5 * dt * (g / b - 2.0);
  const double* stiff = WORK.reals(PROFILE.STIFF);
  const std::int32_t* maxad = WORK.ints(PROFILE.MAXAD);
  double* fload = reals_named(n, "FUERN");
  gather_equations(run.fuert, fload);
  double time = 0.0;
  int step = 0;
  // The loop ends at the first step whose time is not below the final time. The time
  // is the step number times the step, so that rounding in a running sum cannot add
  // or lose a step; a step so small against the final time that the loop would not
  // end in any reasonable time stops the run.
  if (PROBLEM.ENDTM / dt > 2.0e9) ERRSTP("DINIMP: DEMASIADOS PASOS DE TIEMPO");
  while (time < PROBLEM.ENDTM) {
    ++step;
    time = step * dt;
    const double f = load_factor(PROBLEM.IFUNC, time, PROBLEM.DTEND, PROBLEM.AZERO, PROBLEM.BZERO, PROBLEM.OMEGA);
    // vect2 = a1 u + a4 v + a5 a, the argument of the damping.
    for (std::int32_t i = 0; i < n; ++i) run.vect2[i] = a1 * run.u[i] + a4 * run.v[i] + a5 * run.a[i];
    if (xi != 0.0) {
      profile_product(run.stifm, maxad, n, run.vect2, run.vect1);
      for (std::int32_t i = 0; i < n; ++i) run.vect1[i] *= xi / w1;
    } else {
      for (std::int32_t i = 0; i < n; ++i) run.vect1[i] = 0.0;
    }
    for (std::int32_t i = 0; i < n; ++i)
      run.vect1[i] += f * fload[i] +
                      run.xmasn[i] * (a0 * run.u[i] + a2 * run.v[i] + a3 * run.a[i] + xi * w1 * run.vect2[i]);
    profile_resolution(stiff, maxad, n, run.vect1);
    for (std::int32_t i = 0; i < n; ++i) {
      const double a_new = a0 * (run.vect1[i] - run.u[i]) - a2 * run.v[i] - a3 * run.a[i];
      run.v[i] += dt * ((1.0 - g) * run.a[i] + g * a_new);
      run.a[i] = a_new;
      run.u[i] = run.vect1[i];
    }
    if (passes_multiple(time, dt, PROBLEM.TOUTD) || passes_multiple(time, dt, PROBLEM.TOUTP))
      dynamics_output(step, time, dt, fields_of(f));
  }
}

void close_units() {
  for (int unit : {11, 12, 15}) CLOSFI(unit);
}

}  // namespace

void implicit_dynamics_analysis() {
  run = Implicit{};
  HISTORY.reset();
  timed(2, 2, [] { INPEST(ProblemVariant::implicit_dynamics); });
  timed(5, 3, [] {
    compute_element_stiffnesses();
    compute_element_masses();
  });
  timed(6, 15, [] { assemble_matrices(); });
  timed(4, 4, [] {
    assemble_loads();
    read_masses_and_initial_conditions();
  });
  timed(3, 13, [] { fundamental_frequency(); });
  timed(7, 17, [] {
    effective_stiffness();
    initial_state();
  });
  timed(8, 16, [] { step_loop(); });
  timed(9, 14, [] { close_units(); });
}

}  // namespace vortan
