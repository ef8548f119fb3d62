// The equilibrium check of the incremental-iterative static analysis: the element
// internal forces at the current total displacements against the applied element
// loads, the out-of-balance forces that the next solution takes as its loads, and the
// measure of convergence.
#pragma once

#include <cstdint>

namespace vortan {

// Runs "FUERINTER" over every element of every set at the total displacements `despl`
// (NTOTV values). For each element row it adds the internal forces into s and the
// element's applied load row (CARGT: its share of the applied load, the equivalent
// nodal loads of its imposed strains and stresses, self weight and side loads
// included) into p, and leaves the element's out-of-balance forces CARGT - FUERZ in its
// load row CARGA, where the next solution assembles them. s and p are cleared first.
void equilibrium_pass(const double* despl, double* s, double* p);

// The residual d = p - s over the free degrees of freedom (iffix 0; the restrained
// ones carry the reactions): norm = 100 |d| / |p| in percent, largest = max |d_i|.
// When p is zero on every free degree of freedom (a run driven by prescribed
// displacements alone), the norm is taken relative to |s| over all degrees of freedom
// (the reactions), and it is 0 when that is zero too.
struct ResidualMeasure {
  double norm = 0.0;     // percent
  double largest = 0.0;  // largest absolute out-of-balance force
};
ResidualMeasure residual_measure(const double* p, const double* s, const std::int32_t* iffix, std::int32_t n);

// Convergence code of an iteration: 0 converged (a norm equal to the tolerance counts
// as converged), 1 not yet, 999 diverging (from the second iteration on, a norm above
// the tolerance and greater than the previous iteration's; it does not stop the
// iterations by itself). A norm within the tolerance converges even when it rose: near
// the rounding level of a quadratically converging run the norm may rise a little.
int convergence_code(double norm, double tolerance, int iteration, double previous_norm);

}  // namespace vortan
