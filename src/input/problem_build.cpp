// The problem build that follows the header cards: element sets, connectivity,
// coordinates, restraints, degree-of-freedom table, fixity, supports, set files and
// the arrays of the analysis.
#include <cstdint>

#include "input/card_reader.h"
#include "input/dof_table.h"
#include "input/convection_reader.h"
#include "input/element_sets.h"
#include "input/parameters.h"
#include "input/problem.h"
#include "input/problem_header.h"
#include "input/problem_readers.h"
#include "input/set_files.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"

namespace vortan {

namespace {

std::int32_t allocate(std::int64_t count, const char* name, int size) {
  return DIRECT(RUN.NXTPOS, RUN.MEMORY, count, name, size);
}

std::int32_t allocate_zeroed_ints(std::int64_t count, const char* name) {
  const std::int32_t pos = allocate(count, name, INT_WORDS);
  ZEROI(count, WORK.ints(pos));
  return pos;
}

std::int32_t allocate_zeroed_reals(std::int64_t count, const char* name) {
  const std::int32_t pos = allocate(count, name, REAL_WORDS);
  ZEROR(count, WORK.reals(pos));
  return pos;
}

// Connectivity arrays of every set; NELEM becomes the total element count.
void allocate_connectivity() {
  std::int64_t total = 0;
  for (int s = 1; s <= PROBLEM.NSETS; ++s) {
    ElementSet& set = SETS(s);
    set.LNODS = allocate_zeroed_ints(static_cast<std::int64_t>(set.NNODE + 1) * set.NELEM, "LNODS");
    set.rows_used = 1;
    total += set.NELEM;
  }
  if (total > 2000000000) ERRSTP("INPEST: DEMASIADOS ELEMENTOS");
  PROBLEM.NELEM = static_cast<std::int32_t>(total);
}

void scan_structural_sets() {
  PROBLEM.flat_shell_set = 0;
  PROBLEM.frame = 0;
  for (int s = 1; s <= PROBLEM.NSETS; ++s) {
    if (SETS(s).family == ElementFamily::flat_shell) PROBLEM.flat_shell_set = s;
    if (SETS(s).family == ElementFamily::frame) PROBLEM.frame = 1;
  }
  if (PROBLEM.flat_shell_set > 0) {
    PROBLEM.shell_flags = allocate_zeroed_ints(PROBLEM.NPNODS, "ADRES");
    PROBLEM.shell_vectors = allocate_zeroed_reals(3 * static_cast<std::int64_t>(PROBLEM.NPNODS), "ADRES");
  }
}

void read_boundary_conditions() {
  const std::int64_t count = static_cast<std::int64_t>(PROBLEM.NDOFG + 1) * PROBLEM.NPNODS;
  PROBLEM.boundary_codes = DIREC1(RUN.NXTPOS, RUN.MEMORY, count, "ADRES", INT_WORDS);
  ZEROI(count, WORK.ints(PROBLEM.boundary_codes));
  PROBLEM.boundary_values = DIREC1(RUN.NXTPOS, RUN.MEMORY, count, "ADRES", REAL_WORDS);
  ZEROR(count, WORK.reals(PROBLEM.boundary_values));
  INPCCO();
}

// The total count of degrees of freedom, echoed like a parameter.
void echo_total_dofs() {
  std::string description = " NUMERO TOTAL DE GRADOS DE LIBERTAD";
  description.resize(40, ' ');
  write_record(UNIT_LISTING, fmt::X(3) + description + fmt::X(2) + std::string(15, '.') + fmt::X(1) +
                                 fmt::I(PROBLEM.NTOTV, 8) + fmt::X(1) + "(NTOTV)");
}

void build_dof_table() {
  PROBLEM.ADRES = allocate_zeroed_ints(ADRES_WORDS * static_cast<std::int64_t>(PROBLEM.NPNODS), "ADRES");
  merge_set_patterns();
  number_degrees_of_freedom();
  echo_total_dofs();
  PROBLEM.IFFIX = allocate_zeroed_ints(PROBLEM.NTOTV, "IFFIX");
  PROBLEM.FIXED = allocate_zeroed_reals(PROBLEM.NTOTV, "FIXED");
  fill_fixity();
}

void prepare_frames() {
  // A flat-shell model has its GIROS from the flat-shell step, which has run between
  // the two halves of the build.
  if (PROBLEM.frame == 1 && PROBLEM.flat_shell_set == 0)
    PROBLEM.GIROS =
        allocate_zeroed_reals(static_cast<std::int64_t>(PROBLEM.NPNODS) * PROBLEM.NDIME, "GIROS");
}

void read_supports() {
  if (PROBLEM.MAPOY >= 1) {
    PROBLEM.APOYO = allocate_zeroed_ints(PROBLEM.MAPOY, "APOYO");
    PROBLEM.APANG = allocate_zeroed_reals(PROBLEM.MAPOY, "APANG");
    LEAPYO();
  }
  if (PROBLEM.MRESO >= 1) {
    PROBLEM.RESOR = allocate_zeroed_ints(PROBLEM.MRESO, "RESOR");
    PROBLEM.REDIR = allocate_zeroed_ints(PROBLEM.MRESO, "REDIR");
    PROBLEM.REVAL = allocate_zeroed_reals(PROBLEM.MRESO, "REVAL");
    LERESO();
  }
  if (PROBLEM.MGDLL > 0) {
    PROBLEM.NGDLL = allocate_zeroed_ints(3 * static_cast<std::int64_t>(PROBLEM.MGDLL), "NGDLL");
    LEGDLL();
  }
}

bool writes_mesh_records(ProblemVariant v) {
  return v == ProblemVariant::nonlinear || v == ProblemVariant::eigen ||
         v == ProblemVariant::implicit_dynamics || v == ProblemVariant::explicit_dynamics;
}

// The mesh record file (unit 17): a header record with the problem sizes, then one
// record per element of every set with its set, number and nodes.
void write_mesh_records() {
  OPENFI(17);
  std::int32_t max_nodes = 0, max_evab = 0;
  for (int s = 1; s <= PROBLEM.NSETS; ++s) {
    max_nodes = std::max(max_nodes, SETS(s).NNODE);
    max_evab = std::max(max_evab, SETS(s).NEVAB());
  }
  const std::int32_t header[7] = {PROBLEM.NPNODS, PROBLEM.NSETS, PROBLEM.NELEM, PROBLEM.NDIME,
                                  PROBLEM.NTOTV, max_nodes, max_evab};
  write_unformatted(17, header, sizeof header);
  for (int s = 1; s <= PROBLEM.NSETS; ++s) {
    const ElementSet& set = SETS(s);
    for (int row = 1; row <= set.NELEM; ++row) {
      write_unformatted(17, &s, sizeof s);
      for (int k = 0; k <= set.NNODE; ++k)
        write_unformatted(17, WORK.ints(set.LNODS + (row - 1) + k * set.NELEM), sizeof(std::int32_t));
    }
  }
  flush_units();
}

// The NTOTV-long vectors of the dynamics, eigenvalue and nonlinear drivers, in the order they are
// laid out; their positions are kept in PROBLEM.analysis for those drivers.
void allocate_analysis_arrays(ProblemVariant v) {
  AnalysisArrays& a = PROBLEM.analysis;
  auto vector = [](std::int32_t& field, const char* name) {
    field = allocate_zeroed_reals(PROBLEM.NTOTV, name);
  };
  const bool explicit_dynamics = v == ProblemVariant::explicit_dynamics;
  if (v == ProblemVariant::implicit_dynamics || explicit_dynamics) {
    vector(a.FORCE, "FORCE");
    if (explicit_dynamics) vector(a.RESID, "RESID");
    vector(a.DESPL, "DESPL");
    vector(a.DISPL, "DISPL");
    vector(a.VELOC, "VELOC");
    vector(a.XXMAS, "XXMAS");
    vector(a.VELOI, "VELOI");
    vector(a.ACELE, "ACELE");
    vector(a.ACCEG, "ACCEG");
  } else if (v == ProblemVariant::eigen) {
    vector(a.DISPL, "DISPL");
    vector(a.DESPL, "DESPL");
  } else if (v == ProblemVariant::nonlinear) {
    vector(a.FIXDD, "FIXDD");
    vector(a.VECAR, "VECAR");
    vector(a.VECAT, "VECAT");
    vector(a.DESPL, "DESPL");
    a.NSALP = allocate_zeroed_ints(2, "NSALP");
  }
}

}  // namespace

void read_problem_definition(ProblemVariant variant) {
  read_header_cards(variant);
  const bool thermal = variant == ProblemVariant::thermal;
  if (thermal) read_thermal_sets();
  else INPSET();
  allocate_connectivity();
  PROBLEM.GLELEM = allocate_zeroed_ints(2 * static_cast<std::int64_t>(PROBLEM.NELEM), "GLELEM");
  INPCON();
  PROBLEM.COORD = allocate_zeroed_reals(static_cast<std::int64_t>(PROBLEM.NPNODS) * PROBLEM.NDIME, "COORD");
  INPGEO();
  if (!thermal) scan_structural_sets();
  read_boundary_conditions();
  build_dof_table();
}

void complete_problem_build(ProblemVariant variant) {
  const bool thermal = variant == ProblemVariant::thermal;
  if (!thermal) {
    prepare_frames();
    read_supports();
  }
  for (int s = 1; s <= PROBLEM.NSETS; ++s) OPENSE(s);
  if (thermal) read_convection_block();
  if (writes_mesh_records(variant)) write_mesh_records();
  allocate_analysis_arrays(variant);
}

}  // namespace vortan
