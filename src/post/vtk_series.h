// A series of VTK grid files for the runs that have more than one result state: one
// "<deck>_NNNN.vtu" per mode shape, output time or converged increment, and the
// collection "<deck>.pvd" that lists them with their times, so that a visualisation
// program opens the whole series as one animated data set.
#pragma once

#include "post/vtk_writer.h"

namespace vortan {

inline constexpr int UNIT_VTK_COLLECTION = 51;  // "<deck>.pvd"
inline constexpr int UNIT_VTK_STEP = 52;        // the file of the state being written

// Starts an empty series (a run's first state will be file 1).
void start_vtk_series();

// Writes the next file of the series and adds it to the collection, which is complete
// after every state, so that a run stopped later still leaves a collection of the
// states it wrote. The vectors of `fields` are NTOTV values in global order as the
// elements hold them: nodes on inclined supports are turned back to the global axes
// here. time: the file's time in the collection.
void write_vtk_series_step(double time, const VtkFields& fields);

// How many files the series has so far.
int vtk_series_length();

}  // namespace vortan
