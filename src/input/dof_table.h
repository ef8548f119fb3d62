// The nodal degree-of-freedom table "ADRES" (16 words per node: count, equation
// offset, one status code per kind: 0 absent, 1 free, 2 restrained) and the fixity
// arrays IFFIX / FIXED built from it and the compacted restraints.
#pragma once

#include <cstdint>

namespace vortan {

// Merges the degree-of-freedom pattern of every set into the nodes of its elements.
void merge_set_patterns();
// Counts NTOTV, sets the equation offsets and marks the restrained kinds from NODPR.
void number_degrees_of_freedom();
// Fills FIXED from PRESC and IFFIX from the restrained kinds.
void fill_fixity();

// Equation (1-based) of a kind of degree of freedom at a node: the node's offset plus
// the ordinal of the kind among the kinds present at the node; 0 when absent.
int kind_equation(int node, int kind);

// Word w (1..16) of node n's record in ADRES.
std::int32_t& adres(int node, int word);

}  // namespace vortan
