#include "solve/solution_record.h"

namespace vortan {

SolutionRecord SOLUTION;

}  // namespace vortan
