// The element tasks and their dispatchers. A driver never calls an element routine
// directly: for each element row of the active set it names a task, and the task
// fetches the element's record when the fetch code of its kind says it is stored
// ('D' disk, 'M' memory), or computes it and stores it when the store code asks.
//
// Each element family answers the tasks through its own table (one file of tasks per
// family); the dispatcher chooses the table by the family of the set.
#pragma once

#include <array>

#include "input/catalogue.h"

namespace vortan {

// The element tasks, by the names the system gives them.
enum class ElementTask : int {
  constitutive_matrix,     // "DCOMATRIZ": DMATZ
  strain_matrices,         // "BDEMATRIZ": BMATZ of every point, with the volume elements
  stress_strain_products,  // "DEBMATRIZ": DBMAT = DMATZ BMATZ
  stiffness,               // "RIGMATRIZ": RIGID
  stresses,                // "TENSIONES": TENSG at the integration points
  internal_forces,         // "FUERINTER": FUERZ
  self_weight,             // "PESOPROPI" (heat conduction: "CALORINTE", internal heat)
  smoothing,               // "SUAVIZADO"
  error_estimate,          // "ANALISISE"
  mass_matrix,             // "MASMATRIZ": XMASA
};
inline constexpr int ELEMENT_TASK_COUNT = 10;

// Codes of one character per record kind (11 kinds): 'D', 'M' or 'R'.
struct TaskCodes {
  const char* fetch;
  const char* store;
  bool fetches(int kind) const { return fetch[kind] == 'D' || fetch[kind] == 'M'; }
  bool stores(int kind) const { return store[kind] == 'D' || store[kind] == 'M'; }
};

// Codes that compute everything and store nothing.
inline constexpr const char* RECOMPUTE_ALL = "RRRRRRRRRRR";

// The routine of one task of a family, for element row `element` of the active set;
// an empty entry is a task the family does not have.
using TaskRoutine = void (*)(int element, const TaskCodes& codes);
using TaskTable = std::array<TaskRoutine, ELEMENT_TASK_COUNT>;

// Structural task dispatcher: runs the task for element row `element` of the active
// set (`set` must be the active set) through the table of the set's family.
void ELETR3(int element, int set, const char* fetch, const char* store, ElementTask task);

// The stress table of a family that prints its own (the stress loop prints the
// integration-point lines of the others under its own headings): the column heading
// of a set (before the set is activated), and, when not null, the lines of element row `element` of the active set
// from its TENSG (otherwise the loop's point lines follow the family's heading).
struct OwnStressTable {
  void (*heading)(int set);
  void (*element_lines)(int element);
};

// The own stress table of a set's family; null when the stress loop prints the set.
const OwnStressTable* own_stress_table(int set);

// Task dispatcher of heat-conduction sets.
void ELETRT(int element, int set, const char* fetch, const char* store, ElementTask task);

// The dispatcher of a set: ELETRT for heat-conduction sets, ELETR3 for the others.
using Dispatcher = void (*)(int element, int set, const char* fetch, const char* store,
                            ElementTask task);
Dispatcher element_dispatcher(int set);

// What the element tasks add up over the run.
struct ElementTotalsRecord {
  double structure_mass = 0.0;  // the lumped element masses computed so far
  void reset() { *this = ElementTotalsRecord{}; }
};
extern ElementTotalsRecord ELEMENT_TOTALS;

}  // namespace vortan
