// The element-set readers: the set blocks that follow the problem header, from
// "SETNUMERO" to "FINSET", with the problem type, the element type, the material,
// where the element records are kept and what each set prints.
//
// Both readers fill the per-set table (element_sets.h) for sets 1..PROBLEM.NSETS,
// create each set's "PROPS" and load arrays in the work array, and set PROBLEM.NDIME,
// PROBLEM.NDOFG and PROBLEM.union_pattern. On entry the current card is the first
// "SETNUMERO" card (left there by the header reader); on return the last "FINSET" card
// is the current one.
#pragma once

namespace vortan {

// The structural set reader (every analysis but steady heat conduction).
void INPSET();

// The set reader of steady heat conduction: one, two or three dimensions, one
// temperature per node, conductivities as material. Its stop messages begin "INPEST:".
void read_thermal_sets();

}  // namespace vortan
