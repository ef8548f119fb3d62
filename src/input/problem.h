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

// Work-array positions of the NTOTV-long vectors the problem build lays out for the
// dynamics, eigenvalue and nonlinear static drivers (0 when the analysis has none).
struct AnalysisArrays {
  std::int32_t FORCE = 0;  // dynamics: external forces of the current time
  std::int32_t RESID = 0;  // explicit dynamics: residual forces
  std::int32_t DESPL = 0;  // displacements of the current step (eigenvalues: a mode)
  std::int32_t DISPL = 0;  // displacements of the previous step (eigenvalues: an iterate)
  std::int32_t VELOC = 0;  // velocities
  std::int32_t XXMAS = 0;  // diagonal mass
  std::int32_t VELOI = 0;  // initial velocities
  std::int32_t ACELE = 0;  // accelerations
  std::int32_t ACCEG = 0;  // ground acceleration of each degree of freedom
  // Nonlinear static analysis (DESPL above holds the total displacements):
  std::int32_t FIXDD = 0;  // the prescribed values of the input (the reference ones)
  std::int32_t VECAR = 0;  // the assembled reference load
  std::int32_t VECAT = 0;  // the applied load: the reference load times the load factor
  std::int32_t NSALP = 0;  // output levels of the current increment (2 integers)
};

// Where the run stands in its sequence of static solutions: flags an analysis driver
// sets for the phases below it (the solver, the element routines, the result loops).
// The general static driver makes one solution and sets the first three to 1 before
// anything else, and stresses_done after its stresses.
struct SolutionSequence {
  // Load increment and equilibrium iteration of the solution being made, from 1 (0
  // before any). The first solution of an analysis (both 1) lays out the solver's
  // arrays and prints its tables; later solutions of the same model reuse the arrays.
  // The drivers pass this down as SolveOptions::reuse_arrays; the nonlinear static
  // driver counts its increments and iterations here.
  int increment = 0;
  int iteration = 0;
  bool first_solution() const { return increment <= 1 && iteration <= 1; }
  // 1: the damped element-by-element iteration keeps the squared residual norm and the
  // energy of every cycle (SOLUTION.HISTO) for the driver's ".opt" file; 0: it keeps
  // only the outcome.
  int keep_history = 0;
  // 1 once the stresses of the solution have been computed; cleared at the start of
  // every run. Nothing reads it yet: the general static driver makes one solution, so
  // no solver call or stress loop comes after it; a driver that solves the same model
  // again would learn from it that the set storage holds the stresses of an earlier
  // solution.
  int stresses_done = 0;
};

// Work-array positions of the flat-shell matrices the problem build lays out (0 when
// the problem has no flat shell): a point's strain matrix in the element axes (BMATG,
// first x second), ROTAR (first x first), the element transformation (GIROT) and
// three matrices of its size (TEMPO, GIROM, TEMP1; second x second), with first the
// largest stress count and second the most element variables of the flat-shell sets.
struct ShellArrays {
  std::int32_t first = 0, second = 0;
  std::int32_t BMATG = 0, ROTAR = 0, TEMPO = 0, GIROM = 0, GIROT = 0, TEMP1 = 0;
};

struct ProblemRecord {
  // Header values.
  std::int32_t NPNODS = 0;   // nodes ("NPNODS=")
  std::int32_t NSETS = 0;    // element sets ("NSETS=")
  int solver = 0;            // 1 Gauss, 2 LDLT, 3 element CG, 4 damped, 5 sparse CG/GMRES, 6 sparse direct; eigen methods 1..4
  int preconditioned = 0;    // element CG with the diagonal preconditioner
  int conjugate_gradient = 1;  // 1 conjugate gradient, 0 GMRES (sparse solver)
  int postprocessor = 0;     // 1 KELDAR, 2 FEMVIEW
  int error_estimation = 0;  // 1 when the error estimate is asked for ("ERROR" "ACTIVO")
  int internal_forces = 0;   // 1 when the internal forces are asked for
  int internal_forces_per_element = 0;  // 1: also the forces of every element
  int print[6] = {1, 1, 1, 1, 1, 1};    // global print switches (PrintSwitch)
  std::int32_t NRADS = 0;    // coordinates: 0 Cartesian, 1 polar, 2 spherical
  std::int32_t MAPOY = 0;    // inclined supports
  std::int32_t MRESO = 0;    // elastic supports (springs)
  std::int32_t MGDLL = 0;    // linked degrees of freedom
  std::int32_t NFRON = 0;    // thermal boundary elements
  int stiffness_update = 0;  // nonlinear: 1 initial, 2 always, n+2 every n
  std::int32_t plot_node = 0;       // nonlinear: node of the load-displacement curve
  std::int32_t plot_direction = 1;  // nonlinear: its degree of freedom
  std::int32_t NUMFR = 0;    // eigenvalues wanted
  std::int32_t NREQD = 0;    // dynamics: nodes of the displacement curves
  std::int32_t NREQL = 0;    // dynamics: nodes of the force curves
  std::int32_t IENER = 0;    // dynamics: 1 to write the energy curve
  std::int32_t IFUNC = 0;    // dynamics: 1 to read an accelerogram
  std::int32_t IFIXD = 0;    // dynamics: degree of freedom of the ground acceleration
  std::int32_t KSTEP = 0;    // explicit dynamics: steps between highest-frequency estimates
  double TOUTD = 0;          // dynamics: time between curve points
  double TOUTP = 0;          // dynamics: time between full result prints
  double DTREC = 0;          // dynamics: start time of the accelerogram
  double DTEND = 0;          // dynamics: end time of the actions
  double DTIME = 0;          // dynamics: initial time step
  double ENDTM = 0;          // dynamics: final time
  double AALFA = 0;          // explicit dynamics: acceleration amplification factor
  double AZERO = 0;          // dynamics: constant acceleration increment
  double BZERO = 0;          // dynamics: phase constant of the acceleration
  double OMEGA = 0;          // dynamics: phase angle of the actions
  std::string title = std::string(150, ' ');  // the title card image

  // Counts built from the problem definition.
  std::int32_t NELEM = 0;   // elements over all sets
  std::int32_t NDIME = 0;   // coordinates per node (largest set dimension)
  std::int32_t NDOFG = 0;   // distinct degree-of-freedom kinds over all sets
  std::int32_t NTOTV = 0;   // global degrees of freedom, restrained ones included
  std::int32_t NVFIX = 0;   // nodes with boundary conditions
  int union_pattern[DOF_KINDS] = {};  // kinds used by any set
  int flat_shell_set = 0;   // last set of the flat-shell family, 0 when none
  int frame = 0;            // 1 when a set of the frame family exists
  int direction_vectors = 0;  // flat-shell nodes with their own direction vector
  double coplanarity = 0.0;   // cosine of the largest coplanar angle
  double shell_shift[3] = {};  // negated coordinate minima of flat-shell models
  SolutionSequence sequence;  // the driver's flags for the phases below it

  // Work-array positions of the problem-wide named arrays (0 when absent).
  std::int32_t GLELEM = 0;  // set and row of every element, by element number
  std::int32_t COORD = 0;   // nodal coordinates, NPNODS x NDIME, node fastest
  std::int32_t ADRES = 0;   // degree-of-freedom table, ADRES_WORDS per node
  std::int32_t IFFIX = 0;   // 1 at every prescribed global degree of freedom
  std::int32_t FIXED = 0;   // prescribed value of every global degree of freedom
  std::int32_t NODPR = 0;   // restrained nodes with their restraint codes
  std::int32_t PRESC = 0;   // their prescribed values
  std::int32_t boundary_codes = 0, boundary_values = 0;  // working arrays of the restraints
  std::int32_t shell_flags = 0, shell_vectors = 0;       // per-node direction vectors
  std::int32_t GIROS = 0;   // nodal rotation axes of flat shells and frames
  std::int32_t NCONT = 0;   // flat-shell elements meeting at each node
  std::int32_t CONVE = 0;   // thermal convection boundaries (see convection_reader.h)
  std::int32_t CONVT = 0;   // their ambient temperatures and film coefficients
  std::int32_t CONVI = 0;   // their index by element
  std::int32_t APOYO = 0;   // nodes of the inclined supports
  std::int32_t APANG = 0;   // their angles
  std::int32_t RESOR = 0;   // nodes of the elastic supports
  std::int32_t REDIR = 0;   // their directions
  std::int32_t REVAL = 0;   // their stiffnesses
  std::int32_t NGDLL = 0;   // linked degrees of freedom: node, node, direction per link
  AnalysisArrays analysis;  // vectors of the dynamics and eigenvalue drivers
  ShellArrays shell;        // matrices of the flat-shell elements

  void reset() { *this = ProblemRecord{}; }
  bool printing(PrintSwitch which) const { return print[which] == 1; }
};
extern ProblemRecord PROBLEM;

}  // namespace vortan
