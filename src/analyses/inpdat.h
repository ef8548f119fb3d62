// The input dispatcher and the whole program run.
#pragma once

#include <string_view>

namespace vortan {

// Reads the first cards of the problem file, sets the analysis code and runs the
// driver of the selected analysis.
void INPDAT();

// Clears every global record so that a run (or a test) starts clean.
void reset_run_state();

// One complete run of the program on a problem path: start-up, input dispatch and the
// analysis, end of run. Returns the exit status: 0 after a normal end, 1 after a fatal
// stop. The work array must already be obtained.
int run_vortan(std::string_view problem_path);

}  // namespace vortan
