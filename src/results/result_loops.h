// The result loops of a static solution: stresses at the integration points of every
// element and the element internal forces with their nodal sums, with their tables.
#pragma once

#include <string_view>

namespace vortan {

// Runs "TENSIONES" over every element of every set with the displacements of the
// solution (a vector of NTOTV values) and prints the stresses of the sets whose
// integration-point stress switch is on.
void stress_loop(const double* displacements);

// Runs "FUERINTER" over every element of every set, adds the element forces into the
// set's nodal sum ASLOL and into the global sum aslod (NTOTV values, cleared first)
// and prints the tables the switches ask for.
void internal_force_loop(const double* displacements, double* aslod);

// Stops when a value of the result of a task for element row `element` of the active
// set is not finite (count values in groups of per_group: the components of one
// integration point, or of one node): the listing names the element by its number,
// its set, the group and the component, and the stop "<task>: NO FINITO ELEMENTO n".
void check_finite_element_results(std::string_view task, int element, const double* values, int count,
                                  int per_group);

// The nodal vector table of a set (set > 0) or of the whole model (set 0).
void write_nodal_vector_table(int set, const double* vector, int length);

}  // namespace vortan
