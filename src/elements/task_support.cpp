#include "elements/task_support.h"

namespace vortan {

double point_geometry(int element, int g, int ntype, double thickness) {
  const ActiveSetRecord& a = ACTIVE;
  double dvolu = 0.0;
  PREVIO(element_number(element), g, a.NGAUS, a.NDIME, a.NNODE, ntype, a.element_type, dvolu,
         thickness, a.reals(a.POSGT), a.reals(a.PESGT), a.reals(a.FFORM), a.reals(a.DERIV),
         a.reals(a.DCART), a.reals(a.COREL), a.reals(a.CORPG), a.reals(a.XJACI), a.reals(a.XJACM));
  a.reals(a.DVOLU)[g - 1] = dvolu;
  return dvolu;
}

}  // namespace vortan
