#include "elements/pass_codes.h"

#include "input/element_sets.h"

namespace vortan {

namespace {

// The kinds a task computes, its own last.
struct TaskKinds {
  int kinds[5];
  int count;
};

// In task order.
constexpr TaskKinds TASK_KINDS[ELEMENT_TASK_COUNT] = {
    {{KIND_D}, 1},                                                  // constitutive matrix
    {{KIND_B}, 1},                                                  // strain matrices
    {{KIND_D, KIND_B, KIND_DB}, 3},                                 // D B products
    {{KIND_D, KIND_B, KIND_DB, KIND_K}, 4},                         // stiffness
    {{KIND_D, KIND_B, KIND_DB, KIND_STRESS}, 4},                    // stresses
    {{KIND_D, KIND_B, KIND_DB, KIND_STRESS, KIND_FORCES}, 5},       // internal forces
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

void forget_computed(int set) {
  for (int& done : SETS(set).computed) done = 0;
}

}  // namespace vortan
