#include <string>

#include "elements/element_pass.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "results/result_loops.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"

namespace vortan {

namespace {

const std::string POINT = " P.G.";

// Column heading of the heat fluxes of a conduction set, by its dimension.
std::string flux_heading(int dimension) {
  switch (dimension) {
    case 1: return POINT + "    X-COOR.    X-TENS.";
    case 2: return POINT + "    X-COOR.  Y-COOR.    X-TENS.     Y-TENS.";
    default: return POINT + "    X-COOR.   Y-COOR.   Z-COOR.    X-TENS.    Y-TENS.    Z-TENS.";
  }
}

// Column heading of the stresses of a set: by its problem type for the structural
// families (empty for the types whose element routines print their own), by its
// dimension for heat conduction.
std::string stress_heading(const ElementSet& set) {
  if (set.family == ElementFamily::conduction) return flux_heading(set.dimension);
  const std::string& pg = POINT;
  switch (set.problem_type) {
    case PLANE_STRESS:
    case PLANE_STRAIN:
      return pg + "    X-COOR.  Y-COOR.    X-TENS.     Y-TENS.    XY-TENS.     Z-TENS.";
    case AXISYMMETRIC:
      return pg + "    R-COOR.  Z-COOR.    R-TENS.     Z-TENS.    RT-TENS.     T-TENS.";
    case SOLID:
      return pg + "    X-COOR.   Y-COOR.   Z-COOR.    X-TENS.    Y-TENS.    Z-TENS.     XY-TENS.    XZ-TENS.    YZ-TENS.";
    case PLATE:
      return pg + "    X-COOR.  Y-COOR.    X-MOME.     Y-MOME.    XY-MOME.    XZ-CORTE    YZ-CORTE";
    case SHELL_OF_REVOLUTION:
      return pg + "    X-COOR.  Y-COOR.    X-AXIL     T-AXIL    X-MOME.    T-MOME.    Z-CORTE";
    case FLAT_SHELL: {
      // Membrane forces, moments and shears in the element's own axes, each title
      // ending over its twelve columns.
      std::string heading = pg + "    X-COOR.   Y-COOR.   Z-COOR.";
      const char* names[8] = {"X-AXIL", "Y-AXIL", "XY-AXIL", "X-MOME.", "Y-MOME.", "XY-MOME.", "XZ-CORTE", "YZ-CORTE"};
      for (int i = 0; i < set.NSTR1 && i < 8; ++i) heading += std::string(12 - std::string(names[i]).size(), ' ') + names[i];
      return heading;
    }
    default:
      return "";
  }
}

// Fields under the heading: coordinates in fixed form, stresses in exponent form,
// each ending under its column title and always parted from its neighbour by a blank.
void write_point_line(int g) {
  const ActiveSetRecord& a = ACTIVE;
  const double* x = a.reals(a.CORPG) + a.NDIME * (g - 1);
  const double* s = a.reals(a.TENSG) + a.NSTR1 * (g - 1);
  std::string line = fmt::I(g, 5);
  const bool conduction = SETS(a.set).family == ElementFamily::conduction;
  if (!conduction && a.NTYPE == FLAT_SHELL) {
    line += fmt::F(x[0], 11, 4) + fmt::F(x[1], 10, 4) + fmt::F(x[2], 10, 4);
    for (int i = 0; i < a.NSTR1; ++i) line += fmt::E(s[i], 12, 4);
  } else if (a.NDIME == 3 && (a.NTYPE == SOLID || conduction)) {
    line += fmt::F(x[0], 11, 4) + fmt::F(x[1], 10, 4) + fmt::F(x[2], 10, 4);
    const int widths[6] = {11, 11, 11, 13, 12, 12};
    for (int i = 0; i < a.NSTRE && i < 6; ++i) line += fmt::E(s[i], widths[i], widths[i] > 11 ? 4 : 3);
  } else if (a.NDIME == 1) {
    // The coordinate gives its last column to the flux.
    line += fmt::F(x[0], 10, 4) + fmt::E(s[0], 12, 4);
  } else if (!conduction && a.NTYPE == SHELL_OF_REVOLUTION) {
    // The five stress resultants of a shell of revolution, each ending under its title.
    line += fmt::F(x[0], 11, 4) + fmt::F(x[1], 8, 4);
    for (int i = 0; i < 5; ++i) line += fmt::E(s[i], 11, 3);
  } else {
    // The second coordinate gives its last column to the first stress. Plates list
    // their three moments and two shears.
    line += fmt::F(x[0], 11, 4) + fmt::F(x[1], 8, 4);
    const int columns = a.NTYPE == PLATE ? 5 : 4;
    for (int i = 0; i < a.NSTR1 && i < columns; ++i) line += fmt::E(s[i], 12, 4);
  }
  write_record(UNIT_LISTING, line);
}

void write_element_stresses(int element) {
  write_record(UNIT_LISTING, " ELEMENTO:" + fmt::I(element_node(ACTIVE.set, element, 0), 8));
  for (int g = 1; g <= ACTIVE.NGAUS; ++g) write_point_line(g);
}

bool prints_stresses(int set) { return SETS(set).print[SET_PRINT_GAUSS] == 1; }

}  // namespace

void stress_loop(const double* displacements) {
  if (prints_stresses(1)) {
    write_empty(UNIT_LISTING, 6);
    write_record(UNIT_LISTING, fmt::X(10) + "TENSIONES");
    write_empty(UNIT_LISTING);
  }
  for (int set = 1; set <= PROBLEM.NSETS; ++set) {
    const bool printing = prints_stresses(set);
    const OwnStressTable* own = own_stress_table(set);
    if (printing) {
      write_empty(UNIT_LISTING);
      write_record(UNIT_LISTING, fmt::X(20) + " TENSIONES EN SET NUMERO: " + fmt::I(set, 5));
      write_empty(UNIT_LISTING);
      const std::string heading = stress_heading(SETS(set));
      if (own != nullptr) own->heading(set);
      else if (!heading.empty()) write_record(UNIT_LISTING, heading);
    }
    run_set_pass(
        set, ElementTask::stresses, [&](int element) { gather_element(element, displacements); },
        [&](int element) {
          check_finite_element_results("TENSIONES", element, ACTIVE.reals(ACTIVE.TENSG),
                                       ACTIVE.NGAUS * ACTIVE.NSTR1, ACTIVE.NSTR1);
          if (!printing) return;
          if (own != nullptr && own->element_lines != nullptr) own->element_lines(element);
          else write_element_stresses(element);
        });
  }
}

}  // namespace vortan
