#include "elements/plate/plate_element.h"

#include "elements/active_set.h"
#include "elements/point_geometry.h"
#include "elements/task_support.h"
#include "run/errstp.h"

namespace vortan {

namespace {

// The geometry of the triangles is the linear triangle of their corners.
int geometry_type(int element_type) { return element_type == ELEM_CLLL ? ELEM_CLLL : ELEM_DKT; }

}  // namespace

bool is_plate_element(int element_type) {
  return element_type == ELEM_TLCL || element_type == ELEM_DKT || element_type == ELEM_CLLL;
}

int plate_corners(int element_type) { return element_type == ELEM_CLLL ? 4 : 3; }

double plate_point_geometry(int element, int g, const double* xy, double* corpg) {
  const ActiveSetRecord& a = ACTIVE;
  double dvolu = 0.0;
  const int corners = plate_corners(a.element_type);
  PREVIO(element_number(element), g, a.NGAUS, 2, corners, PLATE, geometry_type(a.element_type), dvolu, 0.0,
         a.reals(a.POSGT), a.reals(a.PESGT), a.reals(a.FFORM), a.reals(a.DERIV), a.reals(a.DCART), xy, corpg,
         a.reals(a.XJACI), a.reals(a.XJACM));
  // PREVIO turns the corner functions only; the mid-side functions of the triangles
  // need their Cartesian derivatives too.
  const double* xjaci = a.reals(a.XJACI);
  const double* deriv = a.reals(a.DERIV);
  double* dcart = a.reals(a.DCART);
  for (int n = corners; n < a.nfunctions; ++n)
    for (int i = 0; i < 2; ++i) dcart[i + 2 * n] = xjaci[i] * deriv[2 * n] + xjaci[i + 2] * deriv[2 * n + 1];
  a.reals(a.DVOLU)[g - 1] = dvolu;
  return dvolu;
}

void plate_strain_rows(int element, const double* xy, const PlateRows& rows, double* b, double* corpg) {
  const ActiveSetRecord& a = ACTIVE;
  const int type = a.element_type;
  if (!is_plate_element(type)) ERRSTP("ELETR3: ELEMENTO DE PLACA NO DISPONIBLE");
  const int n = a.NEVAB;
  for (int i = 0; i < rows.nstre * n * a.NGAUS; ++i) b[i] = 0.0;
  int corner_nodes[4] = {};
  for (int k = 0; k < plate_corners(type); ++k) corner_nodes[k] = element_node(a.set, element, k + 1);
  double element_rows[8 * MAX_ELEMENT_VARIABLES];
  if (type == ELEM_TLCL) tlcl_side_shears(xy, corner_nodes, rows, n, element_rows);
  if (type == ELEM_CLLL) clll_sampled_shears(element_number(element), xy, rows, n, element_rows);
  const TriangleGeometry triangle = type == ELEM_CLLL ? TriangleGeometry{} : triangle_geometry(xy);
  const double* posgt = a.reals(a.POSGT);
  for (int g = 1; g <= a.NGAUS; ++g) {
    plate_point_geometry(element, g, xy, corpg);
    const double s = posgt[g - 1], t = posgt[a.NGAUS + g - 1];
    const double* dcart = a.reals(a.DCART);
    double* bg = b + rows.nstre * n * (g - 1);
    if (type == ELEM_DKT) dkt_rows(dcart, triangle, rows, bg);
    else if (type == ELEM_TLCL) tlcl_rows(dcart, s, t, a.reals(a.XJACI), xy, corner_nodes, element_rows, rows, n, bg);
    else clll_rows(dcart, s, t, a.reals(a.XJACI), element_rows, rows, n, bg);
  }
}

void plate_pressure_forces(int element, const double* xy, double p, double* forces) {
  const ActiveSetRecord& a = ACTIVE;
  const int type = a.element_type;
  const bool triangle = type != ELEM_CLLL;
  const int corners = triangle ? 3 : 4;
  for (int k = 0; k < corners; ++k) forces[k] = 0.0;
  double point[2 * 27];
  for (int g = 1; g <= a.NGAUS; ++g) {
    double dvolu = 0.0;
    PREVIO(element_number(element), g, a.NGAUS, 2, corners, PLATE, triangle ? ELEM_TR3 : ELEM_CLLL, dvolu, 0.0,
           a.reals(a.POSGT), a.reals(a.PESGT), a.reals(a.FFORM), a.reals(a.DERIV), a.reals(a.DCART), xy, point,
           a.reals(a.XJACI), a.reals(a.XJACM));
    const double* fform = a.reals(a.FFORM);
    for (int k = 0; k < corners; ++k) forces[k] += p * fform[k] * dvolu;
  }
}

}  // namespace vortan
