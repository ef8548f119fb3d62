// The flat-shell preparation of the problem build: the translation of the
// coordinates, the nodal-normal arrays GIROS and NCONT, the coplanarity card and, once
// the supports are read, the averaged unit normal of every flat-shell node and the
// rotations restrained where no element stiffens them.
#pragma once

#include "input/problem_header.h"

namespace vortan {

// Runs the preparation for the current problem (which has a flat-shell set): the
// translation of the coordinates (by the static linear reader only), the arrays and
// the coplanarity card.
void prepare_flat_shells(ProblemVariant variant);

// After the supports are read: the averaged nodal normals (in the global axes) and the
// restraint, in each node's axes (an inclined support's turn included), of the
// rotations no flat-shell element stiffens (about the normal at coplanar nodes; the
// unused ones at the TLCL's mid-side nodes).
void restrain_unused_shell_rotations();

// Stored coplanarity value of an angle TOLCP in degrees: its cosine, 0.0 when the
// cosine is below 1.0e-10, and -1.0 for a negative angle.
double coplanarity_cosine(double tolcp);

}  // namespace vortan
