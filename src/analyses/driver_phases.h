// What every analysis driver does the same way: its timed phases and the reading of
// its problem definition.
#pragma once

#include "input/problem_header.h"
#include "run/timing.h"

namespace vortan {

// Runs a phase as a timed action of the driver's timing table, with its console
// progress line.
template <class Phase>
void timed(int action, int progress_code, Phase phase) {
  TIMACC(action, TIMING.table, 1);
  phase();
  PROGRE(TIMING.program_start, progress_code);
  TIMACC(action, TIMING.table, 2);
}

// The problem-header reader of a driver: the header cards and the problem build of the
// variant, with the flat-shell step of the element layer between the build's two
// halves; then the per-set element work area gets its place, before any phase takes
// scratch space.
void INPEST(ProblemVariant variant);

}  // namespace vortan
