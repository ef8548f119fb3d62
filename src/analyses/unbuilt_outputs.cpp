#include "analyses/unbuilt_outputs.h"

#include <string>

#include "input/problem.h"
#include "run/file_set.h"

namespace vortan {

void note_unbuilt_outputs() {
  if (PROBLEM.error_estimation == 1)
    write_record(UNIT_CONSOLE, "WARNING: ESTIMACION DEL ERROR NO CALCULADA (AUN NO DISPONIBLE)");
  if (PROBLEM.postprocessor == 1)
    write_record(UNIT_CONSOLE, "WARNING: FICHEROS KELDAR NO ESCRITOS (AUN NO DISPONIBLE): " +
                                   unit_file_name(".keldar.*"));
  if (PROBLEM.postprocessor == 2)
    write_record(UNIT_CONSOLE, "WARNING: FICHERO FEMVIEW NO ESCRITO (AUN NO DISPONIBLE): " + unit_file_name(".fem"));
}

}  // namespace vortan
