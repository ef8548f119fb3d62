// The boundary-condition block: from "CONDICIONESDECONTORN" to
// "FINCONDICIONESDECONT", either "SINRESTRICCIONES" or restraint cards for single
// nodes ("node codes [values] [P x y z]") and node ranges
// ("first A last INC step codes [values]").
#pragma once

namespace vortan {

// Reads the block into the two working arrays (PROBLEM.boundary_codes and
// PROBLEM.boundary_values, one column of NDOFG+1 entries per node: the node number,
// then its codes or prescribed values), a later card for a node replacing an earlier
// one. In flat-shell problems a "P" card also gives its node a direction vector
// (PROBLEM.shell_flags, PROBLEM.shell_vectors, PROBLEM.direction_vectors). Then
// compacts the filled columns, in node order, into the named arrays "NODPR" and
// "PRESC", sets PROBLEM.NVFIX to their count and lists them when the data print switch
// is on.
void INPCCO();

}  // namespace vortan
