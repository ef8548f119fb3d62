#include "elements/pass_codes.h"

#include "input/element_sets.h"

namespace vortan {

namespace {

// The kinds a task computes, its own last (the displacement gradients of nonlinear
// sets come from the displacements the stress and force passes are given).
struct TaskKinds {
  int kinds[6];
  int count;
};

// In task order.
constexpr TaskKinds TASK_KINDS[ELEMENT_TASK_COUNT] = {
    {{KIND_D}, 1},                                                  // constitutive matrix
    {{KIND_B}, 1},                                                  // strain matrices
    {{KIND_D, KIND_B, KIND_DB}, 3},                                 // D B products
    {{KIND_D, KIND_B, KIND_DB, KIND_K}, 4},                         // stiffness
    {{KIND_D, KIND_B, KIND_DB, KIND_GRADIENT, KIND_STRESS}, 5},     // stresses
    {{KIND_D, KIND_B, KIND_DB, KIND_GRADIENT, KIND_STRESS, KIND_FORCES}, 6},  // internal forces
    {{KIND_WEIGHT}, 1},                                             // self weight
    {{}, 0},                                                        // smoothing: never stored
    {{}, 0},                                                        // error estimate: never stored
    {{KIND_MASS}, 1},                                               // mass
};

}  // namespace

PassCodes pass_codes(int set) {
  const ElementSet& s = SETS(set);
  PassCodes codes{};
  for (int k = 0; k < RECORD_KINDS; ++k) codes.fetch[k] = s.computed[k] ? s.storage[k] : 'R';
  codes.fetch[RECORD_KINDS] = '\0';
  return codes;
}

void mark_computed(int set, ElementTask task) {
  ElementSet& s = SETS(set);
  const TaskKinds& t = TASK_KINDS[static_cast<int>(task)];
  for (int i = 0; i < t.count; ++i) {
    const int kind = t.kinds[i];
    if (s.storage[kind] == 'D' || s.storage[kind] == 'M') s.computed[kind] = 1;
  }
}

void forget_computed_kind(int set, int kind) { SETS(set).computed[kind] = 0; }

void forget_computed(int set) {
  for (int& done : SETS(set).computed) done = 0;
}

}  // namespace vortan
