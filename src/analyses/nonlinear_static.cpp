// The incremental-iterative static analysis ("GENERAL" "NOLINEAL"). The loads of the
// load block are a reference load; every increment card adds "FACTOR=" times it to the
// applied load (and the same fraction of the prescribed displacements), and the
// increment is iterated to equilibrium: solve K du = out-of-balance forces, add du to
// the total displacements, recompute the element internal forces at the total
// displacements, and measure the out-of-balance forces against the applied load. The
// element matrices are recomputed or reused by the stiffness-update code of the header
// ("TIPODEALGORITMO"). docs/nonlinear.md describes the formulation and the files.
//
// Timing actions: 2 reading, 3 loads, 4 initial arrays, 5 increment cards and the
// update decision, 6 solutions, 7 internal forces, 8 convergence, 9 results; one
// console line (code 20) per iteration.
#include <cstdint>
#include <string>

#include "analyses/driver_phases.h"
#include "analyses/drivers.h"
#include "elements/element_pass.h"
#include "input/card_reader.h"
#include "input/dof_table.h"
#include "input/element_sets.h"
#include "input/parameters.h"
#include "input/problem.h"
#include "loads/load_reader.h"
#include "post/vtk_series.h"
#include "results/equilibrium.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"
#include "solve/solucion.h"
#include "solve/solution_record.h"
#include "solve/solution_tables.h"

namespace vortan {

namespace {

constexpr int UNIT_RESULTS = 17;  // per-iteration and per-increment results
constexpr int UNIT_CURVE = 48;    // the load-displacement curve

struct IncrementCard {
  double factor = 0.0;
  double tolerance = 0.0;
  int iterations = 0;
  int first_level = 0;
  int last_level = 0;
};

// Where the analysis stands.
struct NonlinearState {
  double load_factor = 0.0;  // sum of the factors of the increments read so far
  std::int32_t curve_position = 0;  // global position of the traced component, 0 when none
  bool curve_open = false;
  // Out-of-balance vectors of the convergence check: internal forces s and applied
  // loads p (NTOTV each).
  std::int32_t internal = 0, applied = 0;
};
NonlinearState STATE;

double* vector(std::int32_t pos) { return WORK.reals(pos); }
std::int64_t element_rows(const ElementSet& s) { return std::int64_t{s.NELEM} * s.NEVAB(); }

// Times a phase that has no console line of its own.
template <class Phase>
void quietly(int action, Phase phase) {
  TIMACC(action, TIMING.table, 1);
  phase();
  TIMACC(action, TIMING.table, 2);
}

std::int32_t allocate_reals(std::int64_t count, const char* name) {
  const std::int32_t pos = DIRECT(RUN.NXTPOS, RUN.MEMORY, count, name, REAL_WORDS);
  ZEROR(count, WORK.reals(pos));
  return pos;
}

// A nonlinear set must keep its displacement gradients: the stiffness pass has no
// displacements and takes them from the last internal-force pass.
void check_sets() {
  for (int s = 1; s <= PROBLEM.NSETS; ++s) {
    const ElementSet& set = SETS(s);
    if (set.nonlinear == 1 && set.storage[KIND_GRADIENT] == 'R') ERRSTP("NOLING: GRADIENTES SIN ALMACENAMIENTO");
  }
}

// The traced displacement component: the "DIRECCION=" th degree of freedom of the node.
void locate_curve_component() {
  STATE.curve_position = 0;
  if (PROBLEM.plot_node == 0) return;
  if (PROBLEM.plot_node < 1 || PROBLEM.plot_node > PROBLEM.NPNODS) ERRSTP("NOLING: NODO DE CURVA EQUIVOCADO");
  const int d = PROBLEM.plot_direction;
  if (d < 1 || d > adres(PROBLEM.plot_node, 1)) ERRSTP("NOLING: DIRECCION DE CURVA EQUIVOCADA");
  STATE.curve_position = adres(PROBLEM.plot_node, 2) + d;
}

// The reference load: the element load rows of the load block become the reference
// rows CARGI (sets without nonlinear rows get theirs here), assembled into VECAR; the
// applied load, the total displacements and the applied rows start at zero.
void keep_reference_load() {
  const AnalysisArrays& a = PROBLEM.analysis;
  ZEROR(PROBLEM.NTOTV, vector(a.VECAR));
  std::int32_t positions[MAX_ELEMENT_VARIABLES];
  for (int s = 1; s <= PROBLEM.NSETS; ++s) {
    ElementSet& set = SETS(s);
    const std::int64_t n = element_rows(set);
    if (set.CARGI == 0) {
      set.CARGI = allocate_reals(n, "CARGI");
      set.CARG1 = allocate_reals(n, "CARG1");
      set.CARGT = allocate_reals(n, "CARGT");
    }
    COPYR(vector(set.CARGA), vector(set.CARGI), n);
    ZEROR(n, vector(set.CARGT));
    activate_for_pass(s);
    for (int e = 1; e <= set.NELEM; ++e) {
      const int count = element_positions(e, positions);
      for (int i = 0; i < count; ++i)
        if (positions[i] > 0)
          vector(a.VECAR)[positions[i] - 1] += vector(set.CARGI)[(e - 1) + std::int64_t{i} * set.NELEM];
    }
  }
  COPYR(vector(PROBLEM.FIXED), vector(a.FIXDD), PROBLEM.NTOTV);
  ZEROR(PROBLEM.NTOTV, vector(a.VECAT));
  ZEROR(PROBLEM.NTOTV, vector(a.DESPL));
  STATE.internal = allocate_reals(PROBLEM.NTOTV, "FUINT");
  STATE.applied = allocate_reals(PROBLEM.NTOTV, "FUAPL");
}

// The internal forces of the undeformed state, which also store the gradients of the
// nonlinear sets (zero) for the first stiffness pass.
void initial_state() {
  for (int s = 1; s <= PROBLEM.NSETS; ++s) forget_computed(s);
  equilibrium_pass(vector(PROBLEM.analysis.DESPL), vector(STATE.internal), vector(STATE.applied));
}

IncrementCard read_increment_card(int k) {
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, fmt::X(1) + "INCREMENTO NUMERO" + fmt::I(k, 6));
  write_empty(UNIT_LISTING);
  IncrementCard c;
  c.factor = GETREA("FACTOR=", 0.0, " FACTOR DE CARGA .........................................");
  c.tolerance = GETREA("TOLERANCIA=", 1.0, " TOLERANCIA DE CONVERGENCIA ..............................");
  c.iterations = GETINT("NUMEROITERACIONES=", 10, " MAXIMO NUMERO DE ITERACIONES ............................");
  c.first_level = GETINT("PARAMETROINICIAL=", 0, " PARAMETRO INICIAL DE SALIDA .............................");
  c.last_level = GETINT("PARAMETROFINAL=", 0, " PARAMETRO FINAL DE SALIDA ...............................");
  std::int32_t* levels = WORK.ints(PROBLEM.analysis.NSALP);
  levels[0] = c.first_level;
  levels[1] = c.last_level;
  return c;
}

// Scales every set's reference rows by the factor into CARG1 and adds them to the
// applied rows CARGT and to the out-of-balance rows CARGA (which the next solution
// assembles); the applied load VECAT grows by factor x VECAR.
void apply_increment(double factor) {
  for (int s = 1; s <= PROBLEM.NSETS; ++s) {
    const ElementSet& set = SETS(s);
    const std::int64_t n = element_rows(set);
    const double* reference = vector(set.CARGI);
    double* increment = vector(set.CARG1);
    double* total = vector(set.CARGT);
    double* out_of_balance = vector(set.CARGA);
    for (std::int64_t i = 0; i < n; ++i) {
      increment[i] = factor * reference[i];
      total[i] += increment[i];
      out_of_balance[i] += increment[i];
    }
  }
  const AnalysisArrays& a = PROBLEM.analysis;
  for (std::int32_t i = 0; i < PROBLEM.NTOTV; ++i) vector(a.VECAT)[i] += factor * vector(a.VECAR)[i];
  STATE.load_factor += factor;
}

// Stiffness update: 0 and 1 recompute only at the first iteration of the first
// increment, 2 at every iteration, n + 2 at iterations 1..n of every increment.
bool recomputes(int code, int k, int i) {
  if (code <= 1) return k == 1 && i == 1;
  if (code == 2) return true;
  return i <= code - 2;
}

// The four kinds the update decides: constitutive matrix, strain matrices, D B
// products and stiffness. Recomputing forces the last three (and the first at the
// very first iteration); otherwise the sets' own codes fetch what they keep.
void set_storage_modes(int k, int i) {
  if (!recomputes(PROBLEM.stiffness_update, k, i)) return;
  for (int s = 1; s <= PROBLEM.NSETS; ++s) {
    if (k == 1 && i == 1) forget_computed_kind(s, KIND_D);
    for (int kind : {KIND_B, KIND_DB, KIND_K}) forget_computed_kind(s, kind);
  }
}

// The internal-force pass works on the displacements of this iteration: what depends
// on them is computed afresh (and stored again where the set keeps it).
void forget_displacement_records() {
  for (int s = 1; s <= PROBLEM.NSETS; ++s)
    for (int kind : {KIND_GRADIENT, KIND_STRESS, KIND_FORCES}) forget_computed_kind(s, kind);
  for (int s = 1; s <= PROBLEM.NSETS; ++s)
    if (SETS(s).nonlinear == 1)
      for (int kind : {KIND_B, KIND_DB}) forget_computed_kind(s, kind);
}

// Prescribed values of this solution: the increment's share at its first iteration,
// nothing afterwards (the total already holds them).
void prescribe(double factor, int i) {
  const double scale = i == 1 ? factor : 0.0;
  const double* reference = vector(PROBLEM.analysis.FIXDD);
  double* fixed = vector(PROBLEM.FIXED);
  for (std::int32_t g = 0; g < PROBLEM.NTOTV; ++g) fixed[g] = scale * reference[g];
}

void add_correction() {
  const double* du = vector(SOLUTION.DESPL);
  double* u = vector(PROBLEM.analysis.DESPL);
  for (std::int32_t g = 0; g < PROBLEM.NTOTV; ++g) u[g] += du[g];
}

void write_iteration_line(int i, int code, const ResidualMeasure& m) {
  write_record(UNIT_LISTING, fmt::X(1) + "ITERACION:" + fmt::I(i, 5) + fmt::X(3) + "CODIGO DE CONVERGENCIA =" +
                                 fmt::I(code, 4) + fmt::X(3) + "NORMA DEL RESIDUO =" + fmt::E(m.norm, 13, 5) +
                                 fmt::X(3) + "RESIDUO MAXIMO =" + fmt::E(m.largest, 13, 5));
}

// One record of unit 17: kind (1 iteration, 2 converged increment), increment,
// iteration, the two output levels, the total load factor, the residual norm, then the
// NTOTV total displacements.
void write_results_record(int kind, int k, int i, const IncrementCard& c, double norm) {
  const std::int32_t head[5] = {kind, k, i, c.first_level, c.last_level};
  write_unformatted(UNIT_RESULTS, head, sizeof head);
  const double values[2] = {STATE.load_factor, norm};
  write_unformatted(UNIT_RESULTS, values, sizeof values);
  write_unformatted(UNIT_RESULTS, vector(PROBLEM.analysis.DESPL), sizeof(double) * PROBLEM.NTOTV);
}

// The curve file: a heading line starting with "#", then one line per converged
// increment: increment (I8), total load factor and the traced displacement (E18.9).
void write_curve_point(int k) {
  if (STATE.curve_position == 0) return;
  if (!STATE.curve_open) {
    OPENFI(UNIT_CURVE);
    write_record(UNIT_CURVE, "# INCREMENTO   FACTOR DE CARGA    DESPLAZAMIENTO  NODO" + fmt::I(PROBLEM.plot_node, 8) +
                                 "  DIRECCION" + fmt::I(PROBLEM.plot_direction, 3));
    STATE.curve_open = true;
  }
  write_record(UNIT_CURVE, fmt::I(k, 8) + fmt::E(STATE.load_factor, 18, 9) +
                               fmt::E(vector(PROBLEM.analysis.DESPL)[STATE.curve_position - 1], 18, 9));
}

// The converged state is the next file of the VTK series: its time is the increment
// number (always increasing, whatever the sign of the factors), the total load factor
// goes with it.
void write_series_step(int k) {
  VtkFields grid;
  grid.displacements = vector(PROBLEM.analysis.DESPL);
  grid.field_data = {{"LoadFactor", STATE.load_factor}, {"Increment", static_cast<double>(k)}};
  write_vtk_series_step(k, grid);
}

void write_converged_increment(int k, int i, const IncrementCard& c, double norm) {
  write_results_record(2, k, i, c, norm);
  write_series_step(k);
  if (!PROBLEM.printing(PRINT_DISPLACEMENTS)) return;
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, fmt::X(1) + "INCREMENTO NUMERO" + fmt::I(k, 6) + fmt::X(3) + "ITERACIONES" + fmt::I(i, 5) +
                                 fmt::X(3) + "FACTOR DE CARGA TOTAL" + fmt::E(STATE.load_factor, 15, 6));
  print_displacement_table(vector(PROBLEM.analysis.DESPL), SolutionPath::other);
}

[[noreturn]] void increment_fails(int k) {
  const std::string line = " NO HAY CONVERGENCIA EN EL INCREMENTO NUMERO" + fmt::I(k, 6);
  write_record(UNIT_LISTING, line);
  write_record(UNIT_CONSOLE, line);
  ERRSTP("NOLING: MAXIMO NUMERO DE ITERACIONES");
}

// Iterates increment k to equilibrium; returns the iterations used.
int iterate(int k, const IncrementCard& c) {
  double previous = 0.0;
  for (int i = 1;; ++i) {
    PROBLEM.sequence.increment = k;
    PROBLEM.sequence.iteration = i;
    quietly(5, [&] { set_storage_modes(k, i); });
    quietly(6, [&] {
      prescribe(c.factor, i);
      const bool first = PROBLEM.sequence.first_solution();
      SOLUCION(SolveOptions{first && PROBLEM.printing(PRINT_DISPLACEMENTS), !first});
      add_correction();
    });
    quietly(7, [] {
      forget_displacement_records();
      equilibrium_pass(vector(PROBLEM.analysis.DESPL), vector(STATE.internal), vector(STATE.applied));
    });
    int code = 1;
    ResidualMeasure m;
    quietly(8, [&] {
      m = residual_measure(vector(STATE.applied), vector(STATE.internal), WORK.ints(PROBLEM.IFFIX), PROBLEM.NTOTV);
      code = convergence_code(m.norm, c.tolerance, i, previous);
      write_iteration_line(i, code, m);
      PROGRE(TIMING.program_start, 20, k, i, m.norm);
    });
    previous = m.norm;
    if (c.first_level > 0) quietly(9, [&] { write_results_record(1, k, i, c, m.norm); });
    if (code == 0) {
      quietly(9, [&] {
        write_curve_point(k);
        write_converged_increment(k, i, c, m.norm);
      });
      return i;
    }
    if (i >= c.iterations) increment_fails(k);
  }
}

}  // namespace

void nonlinear_static_analysis() {
  STATE = NonlinearState{};
  start_vtk_series();
  timed(2, 2, [] {
    INPEST(ProblemVariant::nonlinear);
    check_sets();
    locate_curve_component();
  });
  timed(3, 4, [] { read_loads(); });
  quietly(4, [] {
    keep_reference_load();
    initial_state();
  });
  int k = 1;
  LISTEN("NOLING");
  while (!CARD.word_is(1, "FININCREMENTOSDECARGA")) {
    IncrementCard c;
    quietly(5, [&] {
      c = read_increment_card(k);
      apply_increment(c.factor);
    });
    if (c.iterations < 1) increment_fails(k);
    iterate(k, c);
    ++k;
    LISTEN("NOLING");
  }
  flush_units();
}

}  // namespace vortan
