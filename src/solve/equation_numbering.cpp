#include "solve/equation_numbering.h"

#include "input/dof_table.h"
#include "input/problem.h"
#include "run/work_array.h"

namespace vortan {

std::int32_t number_free_equations(const std::int32_t* iffix, std::int32_t ntotv,
                                   std::int32_t* equations, std::int32_t* heights) {
  std::int32_t counter = 0;
  for (std::int32_t i = 0; i < ntotv; ++i) {
    heights[i] = 0;
    equations[i] = iffix[i] == 0 ? ++counter : 0;
  }
  return counter;
}

std::int32_t number_equations_by_nodes(const std::int32_t* order, std::int32_t* equations,
                                       std::int32_t& prescribed) {
  const std::int32_t* iffix = WORK.ints(PROBLEM.IFFIX);
  const std::int32_t ntotv = PROBLEM.NTOTV;
  std::int32_t free = 0;
  prescribed = 0;
  auto number = [&](std::int32_t position) {  // 0-based
    equations[position] = iffix[position] == 0 ? ++free : -(++prescribed);
  };
  ZEROI(ntotv, equations);
  for (std::int32_t k = 0; k < PROBLEM.NPNODS; ++k) {
    const int node = order[k];
    const std::int32_t offset = adres(node, 2);
    const std::int32_t count = adres(node, 1);
    for (std::int32_t m = 0; m < count; ++m)
      if (equations[offset + m] == 0) number(offset + m);
  }
  for (std::int32_t i = 0; i < ntotv; ++i)
    if (equations[i] == 0) number(i);
  return free;
}

}  // namespace vortan
