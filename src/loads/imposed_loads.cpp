#include "loads/imposed_loads.h"

#include <cmath>
#include <string>

#include "elements/active_set.h"
#include "elements/element_tasks.h"
#include "elements/shape_functions.h"
#include "input/card_integer.h"
#include "input/card_real.h"
#include "input/card_reader.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "loads/element_loads.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"

namespace vortan {

namespace {

constexpr int MAX_COMPONENTS = 6;
constexpr int VALUES_PER_LINE = 6;

bool printing() { return PROBLEM.printing(PRINT_DATA); }

// The nodal table of a task: NSTRE rows by NNODE columns in the set's work space.
double* nodal_table(std::string_view task) {
  const ActiveSetRecord& a = ACTIVE;
  return a.reals(task == IMPOSED_STRAINS ? a.DEFOM : a.TEFOM);
}

double& table_entry(double* table, int k, int n) { return table[(k - 1) + ACTIVE.NSTRE * (n - 1)]; }

// One row card: component k and its value at each node of the element.
void read_table_row(double* table) {
  const ActiveSetRecord& a = ACTIVE;
  LISTEN("DEFIMPN");
  if (CARD.NWORD > 0 || CARD.NVALU != a.NNODE + 1) ERRSTP("FUE001 : TARJETA EQUIVOCADA EN PASO 1");
  const std::int32_t k = card_integer(1);
  if (k < 1 || k > a.NSTRE) ERRSTP("DEFIMPN: COMPONENTE FUERA DE RANGO");
  for (int n = 1; n <= a.NNODE; ++n) table_entry(table, k, n) = card_real(n + 1, "DEFIMPN");
}

void write_table(int element_number, double* table) {
  const ActiveSetRecord& a = ACTIVE;
  write_record(UNIT_LISTING, fmt::X(5) + "ELEMENTO:" + fmt::I(element_number, 8));
  for (int k = 1; k <= a.NSTRE; ++k) {
    std::string line = fmt::X(5) + fmt::I(k, 5);
    for (int n = 1; n <= a.NNODE; ++n) {
      line += fmt::E(table_entry(table, k, n), 13, 5);
      if (n % VALUES_PER_LINE == 0 && n < a.NNODE) {
        write_record(UNIT_LISTING, line);
        line = fmt::X(10);
      }
    }
    write_record(UNIT_LISTING, line);
  }
}

void read_imposed_table(int set, std::string_view task) {
  const ActiveSetRecord& a = ACTIVE;
  if (a.NSTRE < 1 || a.NSTRE > MAX_COMPONENTS) ERRSTP("DEFIMPN: TIPO DE PROBLEMA NO DISPONIBLE");
  double* table = nodal_table(task);
  ZEROR(std::int64_t{a.NSTRE} * a.NNODE, table);
  for (LISTEN("DEFIMPN"); !CARD.word_is(1, "FINDEFORMACIONESIMPU"); LISTEN("DEFIMPN")) {
    const std::int32_t element = card_integer(1);
    if (element < 1 || element > SETS(set).NELEM) ERRSTP("DEFIMPN: ELEMENTO FUERA DEL SET");
    for (int r = 0; r < a.NSTRE; ++r) read_table_row(table);
    if (printing()) write_table(element_node(set, element, 0), table);
    gather_element(element);
    integrate_imposed_loads(element, task);
  }
}

// The point values of the table: sigma = interpolated stresses, or D times the
// interpolated strains.
void point_stresses(const double* table, bool strains, double* sigma) {
  const ActiveSetRecord& a = ACTIVE;
  const double* fform = a.reals(a.FFORM);
  const int n = a.NSTRE;
  double values[MAX_COMPONENTS] = {};
  for (int k = 0; k < n; ++k)
    for (int node = 0; node < a.NNODE; ++node) values[k] += fform[node] * table[k + n * node];
  if (!strains) {
    for (int k = 0; k < n; ++k) sigma[k] = values[k];
    return;
  }
  const double* d = a.reals(a.DMATZ);
  for (int i = 0; i < n; ++i) {
    sigma[i] = 0.0;
    for (int j = 0; j < n; ++j) sigma[i] += d[i + n * j] * values[j];
  }
}

// The strain matrices of a two-dimensional element express the pair of a node on an
// inclined support in the support's axes; the forces of that pair are turned back to
// the global axes, so that the end of the section turns them once, with every load.
void turn_back_to_global_axes(double* forces) {
  const ActiveSetRecord& a = ACTIVE;
  if (a.NDIME != 2) return;
  const std::int32_t* flags = a.ints(a.APOYO);
  const double* angles = a.reals(a.APANG);
  for (int k = 0; k < a.NNODE && a.NDOFN * k + 1 < a.NEVAB; ++k) {
    if (flags[k] != 1) continue;
    const double c = std::cos(angles[k]);
    const double s = std::sin(angles[k]);
    double& x = forces[a.NDOFN * k];
    double& y = forces[a.NDOFN * k + 1];
    const double turned_x = x, turned_y = y;
    x = c * turned_x - s * turned_y;
    y = s * turned_x + c * turned_y;
  }
}

}  // namespace

void integrate_imposed_loads(int element, std::string_view task) {
  const ActiveSetRecord& a = ACTIVE;
  const bool strains = task == IMPOSED_STRAINS;
  if (!strains && task != IMPOSED_STRESSES) ERRSTP("DEFIMPN: TAREA NO CONOCIDA");
  // B of every point, with the volume element of each point (thickness of plane sets
  // and 2 pi r of solids of revolution included).
  ELETR3(element, a.set, RECOMPUTE_ALL, RECOMPUTE_ALL, ElementTask::strain_matrices);
  if (strains) ELETR3(element, a.set, RECOMPUTE_ALL, RECOMPUTE_ALL, ElementTask::constitutive_matrix);
  const double* table = nodal_table(task);
  const double* b = a.reals(a.BMATZ);
  const double* dvolu = a.reals(a.DVOLU);
  const double* posgt = a.reals(a.POSGT);
  double forces[MAX_ELEMENT_VARIABLES] = {};
  for (int g = 0; g < a.NGAUS; ++g) {
    // The shape functions at the point, as the B matrices were formed there.
    const double s = posgt[g], t = a.NDIME > 1 ? posgt[g + a.NGAUS] : 0.0;
    const double u = a.NDIME > 2 ? posgt[g + 2 * a.NGAUS] : 0.0;
    FUNFOR(s, t, u, a.element_type, a.NDIME, a.reals(a.FFORM), a.reals(a.DERIV));
    double sigma[MAX_COMPONENTS];
    point_stresses(table, strains, sigma);
    for (int i = 0; i < a.NEVAB; ++i) {
      const double* column = b + a.NSTRE * (i + a.NEVAB * g);
      double sum = 0.0;
      for (int k = 0; k < a.NSTRE; ++k) sum += column[k] * sigma[k];
      forces[i] += sum * dvolu[g];
    }
  }
  turn_back_to_global_axes(forces);
  for (int i = 0; i < a.NEVAB; ++i) load_entry(a.set, element, i + 1) += forces[i];
}

void read_imposed_strains(int set) { read_imposed_table(set, IMPOSED_STRAINS); }

void read_imposed_stresses(int set) { read_imposed_table(set, IMPOSED_STRESSES); }

}  // namespace vortan
