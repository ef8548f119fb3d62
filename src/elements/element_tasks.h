// The element tasks and their dispatchers. A driver never calls an element routine
// directly: for each element row of the active set it names a task, and the task
// fetches the element's record when the fetch code of its kind says it is stored
// ('D' disk, 'M' memory), or computes it and stores it when the store code asks.
#pragma once

#include <string_view>

namespace vortan {

// Codes of one character per record kind (11 kinds): 'D', 'M' or 'R'.
struct TaskCodes {
  const char* fetch;
  const char* store;
  bool fetches(int kind) const { return fetch[kind] == 'D' || fetch[kind] == 'M'; }
  bool stores(int kind) const { return store[kind] == 'D' || store[kind] == 'M'; }
};

// Codes that compute everything and store nothing.
inline constexpr const char* RECOMPUTE_ALL = "RRRRRRRRRRR";

// Structural task dispatcher: runs the task of the given nine-character name for
// element row `element` of the active set (`set` must be the active set).
void ELETR3(int element, int set, const char* fetch, const char* store, std::string_view task);

// Task dispatcher of heat-conduction sets (task 7 is "CALORINTE").
void ELETRT(int element, int set, const char* fetch, const char* store, std::string_view task);

// Running total of the lumped element masses computed so far.
double& total_structure_mass();

}  // namespace vortan
