#include "elements/pass_codes.h"

#include "input/element_sets.h"

namespace vortan {

namespace {

// The kinds a task computes, its own last.
struct TaskKinds {
  const char* task;
  int kinds[5];
  int count;
};

constexpr TaskKinds TASK_KINDS[] = {
    {"DCOMATRIZ", {KIND_D}, 1},
    {"BDEMATRIZ", {KIND_B}, 1},
    {"DEBMATRIZ", {KIND_D, KIND_B, KIND_DB}, 3},
    {"RIGMATRIZ", {KIND_D, KIND_B, KIND_DB, KIND_K}, 4},
    {"TENSIONES", {KIND_D, KIND_B, KIND_DB, KIND_STRESS}, 4},
    {"FUERINTER", {KIND_D, KIND_B, KIND_DB, KIND_STRESS, KIND_FORCES}, 5},
    {"PESOPROPI", {KIND_WEIGHT}, 1},
    {"CALORINTE", {KIND_WEIGHT}, 1},
    {"MASMATRIZ", {KIND_MASS}, 1},
};

}  // namespace

PassCodes pass_codes(int set) {
  const ElementSet& s = SETS(set);
  PassCodes codes{};
  for (int k = 0; k < RECORD_KINDS; ++k) codes.fetch[k] = s.computed[k] ? s.storage[k] : 'R';
  codes.fetch[RECORD_KINDS] = '\0';
  return codes;
}

void mark_computed(int set, std::string_view task) {
  ElementSet& s = SETS(set);
  for (const TaskKinds& t : TASK_KINDS) {
    if (task != t.task) continue;
    for (int i = 0; i < t.count; ++i) {
      const int kind = t.kinds[i];
      if (s.storage[kind] == 'D' || s.storage[kind] == 'M') s.computed[kind] = 1;
    }
  }
}

}  // namespace vortan
