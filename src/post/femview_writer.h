// The FEMVIEW neutral file (unit 49, ".fem"): the model and its static results for an
// external post-processor, written in one pass after the "FEMV" card naming the model.
#pragma once

namespace vortan {

inline constexpr int UNIT_FEMVIEW = 49;

// Reads the "FEMV" card and writes the whole file: the model name, the coordinates,
// the connectivity, the displacements and, unless the last set is a beam set, the
// stresses at the integration points and (once the stresses are smoothed) the nodal
// stresses with their resultant or principal-stress blocks.
//
// solution: the displacements as the elements hold them (in the support's axes at
// inclined supports), for the element stresses; displacements: the same vector in the
// global axes, for the file. Both are NTOTV long.
void write_femview_file(const double* solution, const double* displacements);

}  // namespace vortan
