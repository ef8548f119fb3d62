#include "post/post_dispatch.h"

#include "input/problem.h"
#include "post/femview_writer.h"
#include "post/keldar_writer.h"
#include "post/nodal_values.h"
#include "post/vtk_writer.h"
#include "run/work_array.h"

namespace vortan {

void post_process(int code, const double* solution) {
  if (code != POST_KELDAR && code != POST_FEMVIEW) return;
  // The copy and the writers' scratch space live above this mark only while the files
  // are written.
  const std::int32_t mark = RUN.NXTPOS;
  double* displacements = WORK.reals(DIREC1(RUN.NXTPOS, RUN.MEMORY, PROBLEM.NTOTV, "DESPG", REAL_WORDS));
  displacements_in_global_axes(solution, displacements);
  if (code == POST_KELDAR)
    write_keldar_files(displacements);
  else
    write_femview_file(solution, displacements);
  write_vtk_file(displacements);
  RUN.NXTPOS = mark;
}

}  // namespace vortan
