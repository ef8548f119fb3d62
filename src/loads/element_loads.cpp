#include "loads/element_loads.h"

#include "elements/active_set.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "run/work_array.h"

namespace vortan {

double& load_entry(int set, int element, int variable) {
  const ElementSet& s = SETS(set);
  const std::int64_t index = (element - 1) + std::int64_t{variable - 1} * s.NELEM;
  return WORK.reals(s.CARGA)[index];
}

void clear_load_rows(int set) {
  const ElementSet& s = SETS(set);
  ZEROR(std::int64_t{s.NELEM} * s.NEVAB(), WORK.reals(s.CARGA));
}

int loaded_nodes(int set) {
  const ElementSet& s = SETS(set);
  return s.NDOFN > 0 ? s.NEVAB() / s.NDOFN : 0;
}

int node_position(int set, int element, std::int32_t node) {
  const int nodes = loaded_nodes(set);
  for (int k = 1; k <= nodes; ++k)
    if (element_node(set, element, k) == node) return k;
  return 0;
}

void add_nodal_load(int set, int element, int position, const double* components, int count) {
  const int first = (position - 1) * SETS(set).NDOFN;
  for (int i = 0; i < count; ++i) load_entry(set, element, first + i + 1) += components[i];
}

double node_coordinate(std::int32_t node, int i) {
  if (i >= PROBLEM.NDIME) return 0.0;
  return WORK.reals(PROBLEM.COORD)[(node - 1) + std::int64_t{i} * PROBLEM.NPNODS];
}

}  // namespace vortan
