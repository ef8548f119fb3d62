#include "input/element_sets.h"
#include "input/problem.h"

namespace vortan {

ProblemRecord PROBLEM;
SetTable SETS;

}  // namespace vortan
