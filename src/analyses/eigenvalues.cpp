// The eigenvalue analysis: natural frequencies and mode shapes of K phi = lambda M phi
// with the profile stiffness K and the lumped (diagonal) mass M, by the method the
// "SOLVER" card of its header chooses. Each phase is timed as an action of the
// eigenvalue timing table; the last one also prints the modes.
#include <cmath>
#include <string>

#include "analyses/driver_phases.h"
#include "analyses/drivers.h"
#include "input/added_masses.h"
#include "input/problem.h"
#include "post/vtk_series.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"
#include "solve/eigen/eigen_methods.h"
#include "solve/element_loop.h"
#include "solve/element_product.h"
#include "solve/mass_summary.h"
#include "solve/profile_matrix.h"
#include "solve/solution_tables.h"

namespace vortan {

namespace {

// Limits of the methods. Inverse iteration has none of its own: it is given that of
// the subspace iteration, per mode.
constexpr int INVERSE_ITERATION_LIMIT = 1000;
constexpr int DETERMINANT_SEARCH_LIMIT = 50;  // shifts, and vector iterations, per mode
constexpr int POWER_ITERATION_LIMIT = 10000;
constexpr int SUBSPACE_ITERATION_LIMIT = 1000;

constexpr double TWO_PI = 6.283185307179586;

// The lumped mass: XMAST by global position, XMASN by equation.
struct MassVectors {
  double* xmast = nullptr;
  double* xmasn = nullptr;
};

MassVectors assemble_matrices() {
  build_stiffness_profile();
  MassVectors m;
  m.xmast = WORK.reals(DIRECT(RUN.NXTPOS, RUN.MEMORY, PROBLEM.NTOTV, "XMAST", REAL_WORDS));
  ZEROR(PROBLEM.NTOTV, m.xmast);
  assemble_profile_stiffness();
  assemble_lumped_mass(m.xmast);
  m.xmasn = WORK.reals(DIRECT(RUN.NXTPOS, RUN.MEMORY, PROFILE.NEQNS, "XMASN", REAL_WORDS));
  gather_equations(m.xmast, m.xmasn);
  print_mass_summary(m.xmast, m.xmasn, PROFILE.NEQNS);
  ADDMASF(m.xmast);
  gather_equations(m.xmast, m.xmasn);
  for (std::int32_t i = 0; i < PROFILE.NEQNS; ++i)
    if (m.xmasn[i] < 0.0) ERRSTP("ADDMASF : MASA NEGATIVA EN GDL LIBRE");
  return m;
}

EigenModes run_method(const MassVectors& m) {
  EigenProblem p;
  p.stiff = WORK.reals(PROFILE.STIFF);
  p.maxad = WORK.ints(PROFILE.MAXAD);
  p.neqns = PROFILE.NEQNS;
  p.nwktl = PROFILE.NWKTL;
  p.mass = m.xmasn;
  p.modes = PROBLEM.NUMFR;
  p.print = PROBLEM.printing(PRINT_DISPLACEMENTS);
  switch (PROBLEM.solver) {
    case 1:
      p.iteration_limit = INVERSE_ITERATION_LIMIT;
      return inverse_iteration(p);
    case 2:
      p.iteration_limit = DETERMINANT_SEARCH_LIMIT;
      p.polynomial_limit = DETERMINANT_SEARCH_LIMIT;
      return determinant_search(p);
    case 3:
      p.iteration_limit = POWER_ITERATION_LIMIT;
      return highest_mode(p, [](const double* x, double* y) {
        element_stiffness_product(WORK.ints(PROFILE.MHIGH), PROFILE.NEQNS, x, y);
      });
    default:
      p.iteration_limit = SUBSPACE_ITERATION_LIMIT;
      return subspace_iteration(p);
  }
}

// The table of the modes (number, eigenvalue, circular frequency omega = sqrt|lambda|,
// frequency omega / 2 pi and period), then, when displacements are printed, each
// mode shape as a nodal displacement table.
void print_modes(const EigenModes& modes) {
  write_empty(UNIT_LISTING, 2);
  write_record(UNIT_LISTING, fmt::X(5) + "FRECUENCIAS NATURALES");
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, fmt::A("MODO", 10) + fmt::A("AUTOVALOR", 20) + fmt::A("OMEGA", 20) +
                                 fmt::A("FRECUENCIA", 20) + fmt::A("PERIODO", 20));
  for (int m = 1; m <= modes.count; ++m) {
    const double lambda = modes.eigenvalues[m - 1];
    const double omega = std::sqrt(std::abs(lambda));
    write_record(UNIT_LISTING, fmt::I(modes.numbers[m - 1], 10) + fmt::E(lambda, 20, 12) + fmt::E(omega, 20, 12) +
                                   fmt::E(omega / TWO_PI, 20, 12) +
                                   fmt::E(omega > 0.0 ? TWO_PI / omega : 0.0, 20, 12));
  }
  if (!PROBLEM.printing(PRINT_DISPLACEMENTS)) return;
  double* despl = WORK.reals(PROBLEM.analysis.DESPL);
  for (int m = 1; m <= modes.count; ++m) {
    scatter_equations(modes.vector(m), despl);
    write_empty(UNIT_LISTING);
    write_record(UNIT_LISTING, fmt::X(5) + "VECTOR PROPIO" + fmt::I(modes.numbers[m - 1], 6) + fmt::X(3) +
                                   "OMEGA =" + fmt::E(std::sqrt(std::abs(modes.eigenvalues[m - 1])), 20, 12));
    print_displacement_table(despl, SolutionPath::other);
  }
}

// With a "POSTPROCESO" card, every mode shape is a file of the VTK series, its time
// the mode number (one step per mode in the visualisation program), its eigenvalue
// and frequency (cycles per unit time) with it.
void write_mode_files(const EigenModes& modes) {
  if (PROBLEM.postprocessor == 0) return;
  start_vtk_series();
  double* despl = WORK.reals(PROBLEM.analysis.DESPL);
  for (int m = 1; m <= modes.count; ++m) {
    scatter_equations(modes.vector(m), despl);
    const double lambda = modes.eigenvalues[m - 1];
    VtkFields grid;
    grid.displacements = despl;
    grid.field_data = {{"Mode", static_cast<double>(modes.numbers[m - 1])},
                       {"Eigenvalue", lambda},
                       {"Frequency", std::sqrt(std::abs(lambda)) / TWO_PI}};
    write_vtk_series_step(modes.numbers[m - 1], grid);
  }
}

}  // namespace

void eigenvalue_analysis() {
  timed(2, 2, [] { INPEST(ProblemVariant::eigen); });
  timed(3, 3, [] { compute_element_stiffnesses(); });
  timed(4, 12, [] { compute_element_masses(); });
  timed(5, 13, [] {
    const EigenModes modes = run_method(assemble_matrices());
    print_modes(modes);
    write_mode_files(modes);
  });
}

}  // namespace vortan
