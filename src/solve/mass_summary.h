// The summary of the lumped mass printed before an eigenvalue method runs.
#pragma once

#include <cstdint>

namespace vortan {

// "SUMA DE MASA LIBRE:" (the free degrees of freedom, compact holds them in equation
// order), "SUMA DE MASA TOTAL:" (every degree of freedom of xmast; continuum sets
// repeat a node's mass on each of its translations, so with continuum sets only the
// total is divided by the largest number of degrees of freedom per node) and the list
// "MASA POR GRADO DE LIBERTAD ACTIVO": the equation of the first value of each line,
// then the masses of six equations.
void print_mass_summary(const double* xmast, const double* compact, std::int32_t neqns);

}  // namespace vortan
