// The flat-shell preparation of the problem build: the translation of the
// coordinates, the nodal-normal arrays GIROS and NCONT, the coplanarity card and the
// averaged unit normal of every flat-shell node.
#pragma once

#include "input/problem_header.h"

namespace vortan {

// Runs the preparation for the current problem (which has a flat-shell set); the
// translation of the coordinates is made by the static linear reader only.
void prepare_flat_shells(ProblemVariant variant);

// Stored coplanarity value of an angle TOLCP in degrees: its cosine, 0.0 when the
// cosine is below 1.0e-10, and -1.0 for a negative angle.
double coplanarity_cosine(double tolcp);

}  // namespace vortan
