// The problem definition shared by every subsystem: header values, print switches,
// global counts and the work-array positions of the problem-wide named arrays.
#pragma once

#include <cstdint>
#include <string>

namespace vortan {

inline constexpr int DOF_KINDS = 14;  // kinds of nodal degree of freedom
inline constexpr int ADRES_WORDS = 16;  // words per node of the degree-of-freedom table

// Print switches of the header ("IMPRESIONESGLOBALES").
enum PrintSwitch {
  PRINT_DATA = 0,           // "SALIDADATOS"
  PRINT_DISPLACEMENTS = 1,  // "SALIDADESPLAZAMIENTO"
  PRINT_STRESSES = 2,       // "SALIDATENSIONES"
  PRINT_ERROR = 3,          // "SALIDAERROR"
  PRINT_FORCES = 4,         // "SALIDAFUERZASINTERNA"
  PRINT_FORCES_PER_ELEMENT = 5,  // "FUERZASPORELEMENTO"
};

struct ProblemRecord {
  // Header values.
  std::int32_t NPNODS = 0;
  std::int32_t NSETS = 0;
  int solver = 0;            // 1 Gauss, 2 LDLT, 3 element CG, 4 damped, 5 sparse; eigen methods 1..4
  int preconditioned = 0;
  int conjugate_gradient = 1;  // 1 conjugate gradient, 0 GMRES (sparse solver)
  int postprocessor = 0;     // 1 KELDAR, 2 FEMVIEW
  int error_estimation = 0;
  int internal_forces = 0;
  int internal_forces_per_element = 0;
  int print[6] = {1, 1, 1, 1, 1, 1};
  std::int32_t NRADS = 0;
  std::int32_t MAPOY = 0;
  std::int32_t MRESO = 0;
  std::int32_t MGDLL = 0;
  std::int32_t NFRON = 0;     // thermal boundary elements
  int stiffness_update = 0;   // nonlinear: 1 initial, 2 always, n+2 every n
  std::int32_t plot_node = 0;
  std::int32_t plot_direction = 1;
  std::int32_t NUMFR = 0;     // eigenvalues wanted
  std::int32_t NREQD = 0, NREQL = 0, IENER = 0;
  std::int32_t IFUNC = 0, IFIXD = 0, KSTEP = 0;
  double TOUTD = 0, TOUTP = 0, DTREC = 0, DTEND = 0, DTIME = 0, ENDTM = 0;
  double AALFA = 0, AZERO = 0, BZERO = 0, OMEGA = 0;
  std::string title = std::string(150, ' ');

  // Counts built from the problem definition.
  std::int32_t NELEM = 0;   // elements over all sets
  std::int32_t NDIME = 0;   // coordinates per node (largest set dimension)
  std::int32_t NDOFG = 0;   // distinct degree-of-freedom kinds over all sets
  std::int32_t NTOTV = 0;   // global degrees of freedom, restrained ones included
  std::int32_t NVFIX = 0;   // nodes with boundary conditions
  int union_pattern[DOF_KINDS] = {};  // kinds used by any set
  int flat_shell_set = 0;   // last set of problem type 8, 0 when none
  int frame = 0;            // 1 when a set of problem type 7 exists
  int direction_vectors = 0;  // flat-shell nodes with their own direction vector
  double coplanarity = 0.0;   // cosine of the largest coplanar angle
  double shell_shift[3] = {};  // negated coordinate minima of flat-shell models
  int general_static_stresses_done = 0;

  // Work-array positions of the problem-wide named arrays (0 when absent).
  std::int32_t GLELEM = 0, COORD = 0, ADRES = 0, IFFIX = 0, FIXED = 0;
  std::int32_t NODPR = 0, PRESC = 0;
  std::int32_t boundary_codes = 0, boundary_values = 0;  // working arrays of the restraints
  std::int32_t shell_flags = 0, shell_vectors = 0;       // per-node direction vectors
  std::int32_t GIROS = 0, NCONT = 0;
  std::int32_t CONVE = 0;  // thermal convection-radiation elements (see convection_reader.h)
  std::int32_t APOYO = 0, APANG = 0, RESOR = 0, REDIR = 0, REVAL = 0, NGDLL = 0;

  void reset() { *this = ProblemRecord{}; }
  bool printing(PrintSwitch which) const { return print[which] == 1; }
};
extern ProblemRecord PROBLEM;

}  // namespace vortan
