#include "solve/supports.h"

#include "input/dof_table.h"
#include "input/problem.h"
#include "run/errstp.h"
#include "run/work_array.h"

namespace vortan {

namespace {

// The position of local degree of freedom `direction` of a node. The support readers
// check the direction against the largest count of any node; a node with fewer
// degrees of freedom must not have a neighbour's position taken for its own.
std::int32_t nodal_position(std::int32_t node, std::int32_t direction) {
  if (node < 1 || node > PROBLEM.NPNODS || direction < 1 || direction > adres(node, 1))
    ERRSTP("SOLUCION: APOYO EN GDL NO EXISTENTE");
  return adres(node, 2) + direction;
}

}  // namespace

std::int32_t spring_position(std::int32_t i) {
  return nodal_position(WORK.int_at(PROBLEM.RESOR + i), WORK.int_at(PROBLEM.REDIR + i));
}

double spring_stiffness(std::int32_t i) { return WORK.reals(PROBLEM.REVAL)[i]; }

void link_positions(std::int32_t i, std::int32_t& a, std::int32_t& b) {
  const std::int32_t* link = WORK.ints(PROBLEM.NGDLL + 3 * i);
  a = nodal_position(link[0], link[2]);
  b = nodal_position(link[1], link[2]);
}

}  // namespace vortan
