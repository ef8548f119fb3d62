// The flat-shell step of the problem build. Preparing flat shells (nodal normals,
// coplanarity, local rotations) needs the element geometry, which lives above the
// input layer; the element layer therefore hands its preparation to the problem build
// here, and the build calls it at its place in the sequence: after the fixity arrays
// and before the supports and the set files.
#pragma once

#include "input/problem_header.h"

namespace vortan {

using FlatShellPreparation = void (*)(ProblemVariant variant);

// Installs the preparation the problem build runs for flat-shell models (nullptr
// removes it). Without one, a flat-shell model stops at that step.
void set_flat_shell_preparation(FlatShellPreparation preparation);
FlatShellPreparation flat_shell_preparation();

}  // namespace vortan
