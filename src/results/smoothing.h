// The smoothing of the integration-point stresses to the nodes, per set and over the
// model, and the error estimate that compares the element stresses with the smoothed
// field. Both leave their results in SMOOTHING (smoothing_record.h) and print their
// tables.
#pragma once

namespace vortan {

// Allocates TENST and the nodal sums, runs "SUAVIZADO" over the elements of every set
// that is not a frame with the displacements of the solution (NTOTV values), averages
// per set and over the model, and prints the tables the switches ask for.
void smooth_stresses(const double* displacements);

// Runs "ANALISISE" over the elements of every set that is not a frame with the set's
// smoothed stresses at the element nodes, prints the element and global errors the
// switches ask for and keeps them in SMOOTHING. The smoothing must have run.
void estimate_error(const double* displacements);

// Inverts a smoothing matrix of order n in place (column by column): every row whose
// diagonal is below 1.0E-32 becomes an identity row, then Gauss-Jordan elimination
// without row exchanges; a pivot below 1.0E-32 is a fatal stop.
void PCJENS(double* matrix, int n);

}  // namespace vortan
