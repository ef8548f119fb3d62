// The post-processing dispatcher of the static analyses: writes the files of the
// post-processor chosen by the header ("POSTPROCESO": 1 KELDAR, 2 FEMVIEW) and, with
// either, the VTK unstructured-grid file of the model and its results.
#pragma once

namespace vortan {

enum PostProcessor : int {
  POST_KELDAR = 1,
  POST_FEMVIEW = 2,
};

// Turns the displacements of the nodes on inclined supports back to the global axes
// (in a copy: the solution stays as the elements hold it, for the phases after this
// one) and calls the writer of the code, then the VTK writer; any other code writes
// nothing. solution: the NTOTV displacements of the solution.
void post_process(int code, const double* solution);

}  // namespace vortan
