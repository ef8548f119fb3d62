// The element load rows of a set ("CARGA"): one row per element, one column per
// element variable, node by node in connectivity order. Every load type of the load
// block ends up here; the assembly adds the rows into the global load vector.
#pragma once

#include <cstdint>

namespace vortan {

// Entry of element row `element` (1..NELEM) and element variable `variable`
// (1..NEVAB) of a set's load rows.
double& load_entry(int set, int element, int variable);

// Sets every load row of a set to zero.
void clear_load_rows(int set);

// Nodes of an element that carry element variables: NEVAB / NDOFN (the two end nodes
// of a member whose third node only fixes its axes, every node otherwise).
int loaded_nodes(int set);

// First position (1-based) of a node among the loaded nodes of element row
// `element`; 0 when the element does not hold the node.
int node_position(int set, int element, std::int32_t node);

// Adds `count` components to the variables of the node at `position` in the row.
void add_nodal_load(int set, int element, int position, const double* components, int count);

// Coordinate i (0-based) of a node; 0 beyond the problem's coordinates.
double node_coordinate(std::int32_t node, int i);

}  // namespace vortan
