// The smoothing of the integration-point stresses to the nodes, per set and over the
// model, and the error estimate that compares the element stresses with the smoothed
// field. Both leave their results in SMOOTHING (smoothing_record.h) and print their
// tables.
#pragma once

#include <string_view>

namespace vortan {

// Allocates TENST and the nodal sums, runs "SUAVIZADO" over the elements of every set
// that is not a frame with the displacements of the solution (NTOTV values), averages
// per set and over the model, and prints the tables the switches ask for.
void smooth_stresses(const double* displacements);

// What the driver asks of the error estimate.
struct ErrorEstimateOptions {
  // An element whose reference measure is exactly 0 has no relative error. Empty: its
  // line says "ERROR NO REPORTABLE" and the estimate goes on; otherwise the run stops
  // with this message after the element's line.
  std::string_view unreportable_stop;
};

// Runs "ANALISISE" over the elements of every set that is not a frame with the set's
// smoothed stresses at the element nodes, prints the element and global errors the
// switches ask for and keeps them in SMOOTHING. The smoothing must have run.
void estimate_error(const double* displacements, const ErrorEstimateOptions& options = {});

// Inverts a smoothing matrix of order n in place (column by column): every row whose
// diagonal is below 1.0E-32 becomes an identity row, then Gauss-Jordan elimination
// without row exchanges; a pivot below 1.0E-32 is a fatal stop.
void PCJENS(double* matrix, int n);

}  // namespace vortan
