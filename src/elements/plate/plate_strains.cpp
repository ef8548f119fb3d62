#include "elements/plate/plate_strains.h"

#include <cmath>
#include <initializer_list>

#include "elements/point_geometry.h"
#include "elements/shape_functions.h"

namespace vortan {

namespace {

// The side 2-3 of the TLCL runs along the natural diagonal, sqrt 2 long; its row is
// scaled by 1/sqrt 2, with the constants held in single precision.
constexpr double SQRT2 = 1.4142135381698608;
constexpr double SIDE_ONE[3] = {1.0, 0.7071067690849304, 1.0};
constexpr double SIDE_HALF[3] = {0.5, 0.3535533845424652, 0.5};
constexpr double SIDE_TWO_THIRDS[3] = {2.0 / 3.0, 0.47140451272328693, 2.0 / 3.0};

// Corners of the TLCL sides 1-2, 2-3 and 1-3, in the order their rows run.
constexpr int SIDE_FIRST[3] = {0, 1, 0};
constexpr int SIDE_SECOND[3] = {1, 2, 2};

struct Matrix {
  double* b;
  int nstre;
  double& operator()(int row, int col) const { return b[row + nstre * col]; }
};

// Element variable of unknown `which` (0 w, 1 r1, 2 r2) of local node `node`.
int variable(const PlateRows& rows, int node, int which) { return node * rows.ndofn + rows.w_offset + which; }

// Curvature rows of the corner slopes: r1 and r2 interpolated by the functions of the
// corners (dcart of `corners` functions).
void corner_curvatures(const double* dcart, int corners, const PlateRows& rows, const Matrix& B) {
  const int kx = rows.bending_row, ky = kx + 1, kxy = kx + 2;
  for (int n = 0; n < corners; ++n) {
    const double nx = dcart[2 * n], ny = dcart[2 * n + 1];
    B(kx, variable(rows, n, 1)) += nx;
    B(ky, variable(rows, n, 2)) += ny;
    B(kxy, variable(rows, n, 1)) += ny;
    B(kxy, variable(rows, n, 2)) += nx;
  }
}

// Curvature rows of a rotation increment (c, s) times `amount` carried by a function
// with Cartesian derivatives (nx, ny), added at element variable `column`.
void add_rotation_curvatures(double nx, double ny, double c, double s, double amount, int column,
                             const PlateRows& rows, const Matrix& B) {
  const int kx = rows.bending_row;
  B(kx, column) += nx * c * amount;
  B(kx + 1, column) += ny * s * amount;
  B(kx + 2, column) += (ny * c + nx * s) * amount;
}

// Cartesian shear rows from the natural (covariant) strains es, et of one column.
void cartesian_shears(double es, double et, const double* xjaci, int column, const PlateRows& rows,
                      const Matrix& B) {
  B(rows.shear_row, column) = xjaci[0] * es + xjaci[2] * et;
  B(rows.shear_row + 1, column) = xjaci[1] * es + xjaci[3] * et;
}

}  // namespace

TriangleGeometry triangle_geometry(const double* xy) {
  TriangleGeometry g;
  const double x12 = xy[0] - xy[2], y12 = xy[1] - xy[3];
  const double x23 = xy[2] - xy[4], y23 = xy[3] - xy[5];
  g.twice_area = std::fabs(x12 * y23 - y12 * x23);
  g.area = 0.5 * g.twice_area;
  for (int k = 0; k < 3; ++k) {
    const int i = k, j = (k + 1) % 3;
    const double dx = xy[2 * j] - xy[2 * i], dy = xy[2 * j + 1] - xy[2 * i + 1];
    g.length[k] = std::sqrt(dx * dx + dy * dy);
    g.cosine[k] = g.length[k] > 0.0 ? dx / g.length[k] : 0.0;
    g.sine[k] = g.length[k] > 0.0 ? dy / g.length[k] : 0.0;
  }
  return g;
}

// Each mid-side function k of the DKT (side from corner i to corner j, length L, unit
// vector (c, s)) carries the increment, over the mean of the corners, of the slope
// along the side that the discrete Kirchhoff condition gives at the side's middle
// (the deflection cubic along the side, the shear strain zero there):
//   d_k = 1.5 (w_j - w_i) / L - 0.75 (c r1_i + s r2_i + c r1_j + s r2_j)
// The rotation field is sum N_i r_i over the corners plus sum N_k d_k (c, s).
void dkt_rows(const double* dcart, const TriangleGeometry& geometry, const PlateRows& rows, double* b) {
  const Matrix B{b, rows.nstre};
  corner_curvatures(dcart, 3, rows, B);
  for (int k = 0; k < 3; ++k) {
    const int i = k, j = (k + 1) % 3;
    const double c = geometry.cosine[k], s = geometry.sine[k], L = geometry.length[k];
    const double nx = dcart[2 * (3 + k)], ny = dcart[2 * (3 + k) + 1];
    add_rotation_curvatures(nx, ny, c, s, -1.5 / L, variable(rows, i, 0), rows, B);
    add_rotation_curvatures(nx, ny, c, s, 1.5 / L, variable(rows, j, 0), rows, B);
    for (int node : {i, j}) {
      add_rotation_curvatures(nx, ny, c, s, -0.75 * c, variable(rows, node, 1), rows, B);
      add_rotation_curvatures(nx, ny, c, s, -0.75 * s, variable(rows, node, 2), rows, B);
    }
  }
}

namespace {

// Unit vector of TLCL side k from its first to its second corner, and its length.
void tlcl_side(const double* xy, int k, double& tx, double& ty, double& length) {
  const int a = SIDE_FIRST[k], b = SIDE_SECOND[k];
  const double dx = xy[2 * b] - xy[2 * a], dy = xy[2 * b + 1] - xy[2 * a + 1];
  length = std::sqrt(dx * dx + dy * dy);
  tx = length > 0.0 ? dx / length : 0.0;
  ty = length > 0.0 ? dy / length : 0.0;
}

// +1 when the side's mid-side rotation is positive along the side as its row runs,
// -1 when the row runs from the higher global node number to the lower.
double side_sign(const int* corner_nodes, int k) {
  return corner_nodes[SIDE_SECOND[k]] < corner_nodes[SIDE_FIRST[k]] ? -1.0 : 1.0;
}

}  // namespace

// Side k from corner a to corner b (unit vector t, length L): the integral along the
// side of the tangential shear strain dw/ds - r.t is
//   w_b - w_a - (L/2) t.(r_a + r_b) - (2/3) L sign_k theta_k
// (the mid-side function integrates to 2L/3 along its side).
void tlcl_side_shears(const double* xy, const int* corner_nodes, const PlateRows& rows, int nevab,
                      double* sides) {
  for (int i = 0; i < 3 * nevab; ++i) sides[i] = 0.0;
  for (int k = 0; k < 3; ++k) {
    double tx, ty, L;
    tlcl_side(xy, k, tx, ty, L);
    auto at = [&](int col) -> double& { return sides[k + 3 * col]; };
    at(variable(rows, SIDE_FIRST[k], 0)) = -SIDE_ONE[k];
    at(variable(rows, SIDE_SECOND[k], 0)) = SIDE_ONE[k];
    for (int corner : {SIDE_FIRST[k], SIDE_SECOND[k]}) {
      at(variable(rows, corner, 1)) = -L * SIDE_HALF[k] * tx;
      at(variable(rows, corner, 2)) = -L * SIDE_HALF[k] * ty;
    }
    at(variable(rows, 3 + k, 1)) = -L * SIDE_TWO_THIRDS[k] * side_sign(corner_nodes, k);
  }
}

// Natural shear strains at (s, t): P times the side shears, with
//   P = [1 - t, -sqrt2 t, t; s, sqrt2 s, 1 - s]
// (on side 1-2 the s strain is the side's, on side 1-3 the t strain, on side 2-3 the
// strain along the diagonal), then Cartesian through the inverse Jacobian.
void tlcl_rows(const double* dcart, double s, double t, const double* xjaci, const double* xy,
               const int* corner_nodes, const double* sides, const PlateRows& rows, int nevab, double* b) {
  const Matrix B{b, rows.nstre};
  corner_curvatures(dcart, 3, rows, B);
  for (int k = 0; k < 3; ++k) {
    double tx, ty, L;
    tlcl_side(xy, k, tx, ty, L);
    const double nx = dcart[2 * (3 + k)], ny = dcart[2 * (3 + k) + 1];
    add_rotation_curvatures(nx, ny, tx, ty, side_sign(corner_nodes, k), variable(rows, 3 + k, 1), rows, B);
  }
  for (int col = 0; col < nevab; ++col) {
    const double* e = sides + 3 * col;
    if (e[0] == 0.0 && e[1] == 0.0 && e[2] == 0.0) continue;
    const double es = (1.0 - t) * e[0] - SQRT2 * t * e[1] + t * e[2];
    const double et = s * e[0] + SQRT2 * s * e[1] + (1.0 - s) * e[2];
    cartesian_shears(es, et, xjaci, col, rows, B);
  }
}

namespace {

// The four shear sampling points of the quadrilateral: the middles of the sides
// t = -1, s = +1, t = +1 and s = -1.
constexpr double SAMPLE_S[4] = {0.0, 1.0, 0.0, -1.0};
constexpr double SAMPLE_T[4] = {-1.0, 0.0, 1.0, 0.0};

}  // namespace

// At a sampling point the covariant shear strains are
//   e_s = dw/ds - r.(dx/ds),  e_t = dw/dt - r.(dx/dt)
// with w and r bilinear.
void clll_sampled_shears(int element, const double* xy, const PlateRows& rows, int nevab, double* sampling) {
  for (int i = 0; i < 8 * nevab; ++i) sampling[i] = 0.0;
  for (int p = 0; p < 4; ++p) {
    double fform[4], deriv[8], dcart[8], point[2], xjaci[4], xjacm[4], det = 0.0;
    FUNFOR(SAMPLE_S[p], SAMPLE_T[p], 0.0, ELEM_CLLL, 2, fform, deriv);
    JACOBM(2, 4, element, det, 1, fform, dcart, deriv, xy, point, xjaci, xjacm);
    double* es = sampling + (2 * p) * nevab;
    double* et = sampling + (2 * p + 1) * nevab;
    for (int n = 0; n < 4; ++n) {
      es[variable(rows, n, 0)] = deriv[2 * n];
      es[variable(rows, n, 1)] = -fform[n] * xjacm[0];
      es[variable(rows, n, 2)] = -fform[n] * xjacm[2];
      et[variable(rows, n, 0)] = deriv[2 * n + 1];
      et[variable(rows, n, 1)] = -fform[n] * xjacm[1];
      et[variable(rows, n, 2)] = -fform[n] * xjacm[3];
    }
  }
}

void clll_rows(const double* dcart, double s, double t, const double* xjaci, const double* sampling,
               const PlateRows& rows, int nevab, double* b) {
  const Matrix B{b, rows.nstre};
  corner_curvatures(dcart, 4, rows, B);
  const double* es_a = sampling;
  const double* es_c = sampling + 4 * nevab;
  const double* et_b = sampling + 3 * nevab;
  const double* et_d = sampling + 7 * nevab;
  for (int col = 0; col < nevab; ++col) {
    const double es = (0.5 - 0.5 * t) * es_a[col] + (0.5 + 0.5 * t) * es_c[col];
    const double et = (0.5 + 0.5 * s) * et_b[col] + (0.5 - 0.5 * s) * et_d[col];
    if (es == 0.0 && et == 0.0) continue;
    cartesian_shears(es, et, xjaci, col, rows, B);
  }
}

}  // namespace vortan
