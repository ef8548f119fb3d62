// Node renumbering of the LDLT path. Two nodes are adjacent when an element (through
// the nodes that carry its degrees of freedom) or a link joins them; a node order that
// keeps adjacent nodes close keeps the column heights, and so the profile, small.
#pragma once

#include <cstdint>

namespace vortan {

// The node graph in compressed rows: the neighbours of node n (1-based) are
// adjacency[first[n-1] .. first[n]-1], node numbers, each once, never n itself.
struct NodeGraph {
  std::int32_t nodes = 0;
  std::int32_t* first = nullptr;
  std::int32_t* adjacency = nullptr;
  std::int32_t degree(std::int32_t node) const { return first[node] - first[node - 1]; }
};

// Builds the node graph from the connectivity of every set and the links, in scratch
// space taken from the main cursor (the caller restores the cursor). Stops with
// "RENUM0:NEED MORE WORKING SPACE" when the graph cannot be indexed in 32 bits.
NodeGraph build_node_graph();

// Reverse Cuthill-McKee order of every connected part, each started from a
// pseudo-peripheral node: order receives the NPNODS node numbers.
void reverse_cuthill_mckee(const NodeGraph& graph, std::int32_t* order);

// Sloan's profile-reducing order (priority = distance to the far end of the part
// minus twice the growth of the front a node causes), towards the end_rank-th of the
// equally far ends of each part: order receives the node numbers.
void sloan_order(const NodeGraph& graph, std::int32_t* order, int end_rank = 0);

// The renumbering step: computes the reverse Cuthill-McKee order and Sloan orders
// towards up to three far ends, measures the profile each gives with
// the equation numbering of the LDLT path, and leaves in order the one of the shortest
// profile (node-number order when neither shortens it). Records the three lengths and
// the choice in SOLUTION. Scratch space comes from the main cursor and is given back.
void RENUM0(std::int32_t* order);

}  // namespace vortan
