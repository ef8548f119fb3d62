// The ".opt" file of the general static analysis (unit 69): the history of its damped
// element-by-element iteration and the outcome, for judging the convergence of a run
// without reading the console. Layout: docs/file-formats.md, "The iteration file of
// the general static analysis".
#pragma once

namespace vortan {

inline constexpr int UNIT_OPTIMISATION = 69;

// Writes the file to unit 69, which must be open, from the outcome of the last damped
// iteration (SOLUTION) and the cycles it kept (damped_iteration.h; without a kept
// history only the outcome is written).
void write_optimisation_file();

}  // namespace vortan
