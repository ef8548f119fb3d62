#include "elements/shape_functions.h"

namespace vortan {

namespace {

// Natural coordinates of the eight boundary nodes of a quadratic quadrilateral,
// counter-clockwise from the lower left corner, corner and mid-side alternating; the
// ninth entry is the centre of the Lagrange element.
constexpr int QUAD_RING[9][2] = {{-1, -1}, {0, -1}, {1, -1}, {1, 0}, {1, 1},
                                 {0, 1},   {-1, 1}, {-1, 0}, {0, 0}};

// Corners of the bilinear quadrilateral, counter-clockwise from (-1,-1).
constexpr int QUAD_CORNERS[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};

// Nodes of the serendipity hexahedron: each face ring starts at the corner (1,-1).
constexpr int HEX20_NODES[20][3] = {
    {1, -1, -1}, {1, 0, -1}, {1, 1, -1}, {0, 1, -1}, {-1, 1, -1}, {-1, 0, -1}, {-1, -1, -1},
    {0, -1, -1}, {1, -1, 0}, {1, 1, 0},  {-1, 1, 0}, {-1, -1, 0}, {1, -1, 1},  {1, 0, 1},
    {1, 1, 1},   {0, 1, 1},  {-1, 1, 1}, {-1, 0, 1}, {-1, -1, 1}, {0, -1, 1}};

// One-dimensional quadratic Lagrange function of the node at xi (-1, 0 or +1) and its
// derivative.
struct Value1D {
  double f;
  double d;
};

constexpr Value1D lagrange_quadratic(int xi, double x) {
  if (xi < 0) return {x * (x - 1.0) / 2.0, x - 0.5};
  if (xi > 0) return {x * (x + 1.0) / 2.0, x + 0.5};
  return {1.0 - x * x, -2.0 * x};
}

// Factor of a serendipity function along one coordinate: (1 - x*x) for a node at the
// centre of that coordinate, (1 + x*xi) otherwise.
constexpr Value1D serendipity_factor(int xi, double x) {
  if (xi == 0) return {1.0 - x * x, -2.0 * x};
  return {1.0 + x * xi, static_cast<double>(xi)};
}

void line2(double s, double* F, double* D) {
  F[0] = 0.5 - s / 2.0;
  F[1] = 0.5 + s / 2.0;
  D[0] = -0.5;
  D[1] = 0.5;
}

void line3(double s, double* F, double* D) {
  F[0] = s * (s - 1.0) / 2.0;
  F[1] = (1.0 + s) * (1.0 - s);
  F[2] = s * (s + 1.0) / 2.0;
  D[0] = s - 0.5;
  D[1] = -2.0 * s;
  D[2] = s + 0.5;
}

void set_pair(double* D, int node, double ds, double dt) {
  D[2 * node] = ds;
  D[2 * node + 1] = dt;
}

void set_triple(double* D, int node, double ds, double dt, double du) {
  D[3 * node] = ds;
  D[3 * node + 1] = dt;
  D[3 * node + 2] = du;
}

void tr3(double s, double t, double* F, double* D) {
  F[0] = 1.0 - s - t;
  F[1] = s;
  F[2] = t;
  set_pair(D, 0, -1.0, -1.0);
  set_pair(D, 1, 1.0, 0.0);
  set_pair(D, 2, 0.0, 1.0);
}

void tr6(double s, double t, double* F, double* D) {
  const double L = 1.0 - s - t;
  F[0] = 2.0 * (s * s + t * t) - 3.0 * (s + t) + 4.0 * s * t + 1.0;
  F[1] = 4.0 * s * L;
  F[2] = s * (2.0 * s - 1.0);
  F[3] = 4.0 * s * t;
  F[4] = t * (2.0 * t - 1.0);
  F[5] = 4.0 * t * L;
  const double d1 = 4.0 * s + 4.0 * t - 3.0;
  set_pair(D, 0, d1, d1);
  set_pair(D, 1, 4.0 - 4.0 * (2.0 * s + t), -4.0 * s);
  set_pair(D, 2, 4.0 * s - 1.0, 0.0);
  set_pair(D, 3, 4.0 * t, 4.0 * s);
  set_pair(D, 4, 0.0, 4.0 * t - 1.0);
  set_pair(D, 5, -4.0 * t, 4.0 - 4.0 * (s + 2.0 * t));
}

void qu4(double s, double t, double* F, double* D) {
  for (int i = 0; i < 4; ++i) {
    const double a = 1.0 + s * QUAD_CORNERS[i][0];
    const double b = 1.0 + t * QUAD_CORNERS[i][1];
    F[i] = a * b / 4.0;
    set_pair(D, i, QUAD_CORNERS[i][0] * b / 4.0, QUAD_CORNERS[i][1] * a / 4.0);
  }
}

// Corner: (1 + a)(1 + b)(a + b - 1)/4 with a = s*si, b = t*ti.
void qu8_corner(double s, double t, int si, int ti, double* F, double* D, int i) {
  const double a = s * si, b = t * ti;
  F[i] = (1.0 + a) * (1.0 + b) * (a + b - 1.0) / 4.0;
  set_pair(D, i, si * (1.0 + b) * (2.0 * a + b) / 4.0, ti * (1.0 + a) * (a + 2.0 * b) / 4.0);
}

void qu8(double s, double t, double* F, double* D) {
  for (int i = 0; i < 8; ++i) {
    const int si = QUAD_RING[i][0], ti = QUAD_RING[i][1];
    if (si != 0 && ti != 0) {
      qu8_corner(s, t, si, ti, F, D, i);
      continue;
    }
    const Value1D fs = serendipity_factor(si, s), ft = serendipity_factor(ti, t);
    F[i] = fs.f * ft.f / 2.0;
    set_pair(D, i, fs.d * ft.f / 2.0, fs.f * ft.d / 2.0);
  }
}

void qu9(double s, double t, double* F, double* D) {
  for (int i = 0; i < 9; ++i) {
    const Value1D ls = lagrange_quadratic(QUAD_RING[i][0], s);
    const Value1D lt = lagrange_quadratic(QUAD_RING[i][1], t);
    F[i] = ls.f * lt.f;
    set_pair(D, i, ls.d * lt.f, ls.f * lt.d);
  }
}

void he8(double s, double t, double u, double* F, double* D) {
  for (int i = 0; i < 8; ++i) {
    const int layer = i / 4;
    const int si = QUAD_CORNERS[i % 4][0], ti = QUAD_CORNERS[i % 4][1];
    const int ui = layer == 0 ? -1 : 1;
    const double a = (1.0 + s * si) / 2.0, b = (1.0 + t * ti) / 2.0, c = (1.0 + u * ui) / 2.0;
    F[i] = a * b * c;
    set_triple(D, i, si * b * c / 2.0, ti * a * c / 2.0, ui * a * b / 2.0);
  }
}

// Corner: (1 + a)(1 + b)(1 + c)(a + b + c - 2)/8 with a = s*si, b = t*ti, c = u*ui.
void he20_corner(double s, double t, double u, const int* n, double* F, double* D, int i) {
  const double a = s * n[0], b = t * n[1], c = u * n[2];
  const double pa = 1.0 + a, pb = 1.0 + b, pc = 1.0 + c;
  F[i] = pa * pb * pc * (a + b + c - 2.0) / 8.0;
  set_triple(D, i, n[0] * pb * pc * (2.0 * a + b + c - 1.0) / 8.0,
             n[1] * pa * pc * (a + 2.0 * b + c - 1.0) / 8.0,
             n[2] * pa * pb * (a + b + 2.0 * c - 1.0) / 8.0);
}

void he20(double s, double t, double u, double* F, double* D) {
  for (int i = 0; i < 20; ++i) {
    const int* n = HEX20_NODES[i];
    if (n[0] != 0 && n[1] != 0 && n[2] != 0) {
      he20_corner(s, t, u, n, F, D, i);
      continue;
    }
    const Value1D fs = serendipity_factor(n[0], s), ft = serendipity_factor(n[1], t),
                  fu = serendipity_factor(n[2], u);
    F[i] = fs.f * ft.f * fu.f / 4.0;
    set_triple(D, i, fs.d * ft.f * fu.f / 4.0, fs.f * ft.d * fu.f / 4.0,
               fs.f * ft.f * fu.d / 4.0);
  }
}

void he27(double s, double t, double u, double* F, double* D) {
  for (int i = 0; i < 27; ++i) {
    const int layer = i / 9;
    const Value1D ls = lagrange_quadratic(QUAD_RING[i % 9][0], s);
    const Value1D lt = lagrange_quadratic(QUAD_RING[i % 9][1], t);
    const Value1D lu = lagrange_quadratic(layer - 1, u);
    F[i] = ls.f * lt.f * lu.f;
    set_triple(D, i, ls.d * lt.f * lu.f, ls.f * lt.d * lu.f, ls.f * lt.f * lu.d);
  }
}

void te4(double s, double t, double u, double* F, double* D) {
  F[0] = 1.0 - s - t - u;
  F[1] = s;
  F[2] = t;
  F[3] = u;
  set_triple(D, 0, -1.0, -1.0, -1.0);
  set_triple(D, 1, 1.0, 0.0, 0.0);
  set_triple(D, 2, 0.0, 1.0, 0.0);
  set_triple(D, 3, 0.0, 0.0, 1.0);
}

void te10(double s, double t, double u, double* F, double* D) {
  const double L = 1.0 - s - t - u;
  F[0] = L * (2.0 * L - 1.0);
  F[1] = s * (2.0 * s - 1.0);
  F[2] = t * (2.0 * t - 1.0);
  F[3] = u * (2.0 * u - 1.0);
  F[4] = 4.0 * s * L;
  F[5] = 4.0 * s * t;
  F[6] = 4.0 * t * L;
  F[7] = 4.0 * u * L;
  F[8] = 4.0 * s * u;
  F[9] = 4.0 * t * u;
  const double dl = 1.0 - 4.0 * L;
  set_triple(D, 0, dl, dl, dl);
  set_triple(D, 1, 4.0 * s - 1.0, 0.0, 0.0);
  set_triple(D, 2, 0.0, 4.0 * t - 1.0, 0.0);
  set_triple(D, 3, 0.0, 0.0, 4.0 * u - 1.0);
  set_triple(D, 4, 4.0 * (L - s), -4.0 * s, -4.0 * s);
  set_triple(D, 5, 4.0 * t, 4.0 * s, 0.0);
  set_triple(D, 6, -4.0 * t, 4.0 * (L - t), -4.0 * t);
  set_triple(D, 7, -4.0 * u, -4.0 * u, 4.0 * (L - u));
  set_triple(D, 8, 4.0 * u, 0.0, 4.0 * s);
  set_triple(D, 9, 0.0, 4.0 * u, 4.0 * t);
}

// A triangle coordinate of the wedge with its derivatives along s and t.
struct TriangleCoordinate {
  double value;
  double ds;
  double dt;
};

// Corner in position c (0, 1, 2) and face direction w (+1 upper, -1 lower):
// Lc(2Lc - 1)(1 + w*u)/2 - Lc(1 - u*u)/2.
void wedge_corner(const TriangleCoordinate& L, double u, double w, double* F, double* D,
                  int i) {
  const double lc = L.value, bubble = 1.0 - u * u, face = 1.0 + w * u;
  F[i] = lc * (2.0 * lc - 1.0) * face / 2.0 - lc * bubble / 2.0;
  const double dlc = (4.0 * lc - 1.0) * face / 2.0 - bubble / 2.0;
  set_triple(D, i, dlc * L.ds, dlc * L.dt, w * lc * (2.0 * lc - 1.0) / 2.0 + lc * u);
}

// Mid-side of the face w between corners a and b: 2 La Lb (1 + w*u).
void wedge_midside(const TriangleCoordinate& A, const TriangleCoordinate& B, double u,
                   double w, double* F, double* D, int i) {
  const double face = 1.0 + w * u, ab = A.value * B.value;
  F[i] = 2.0 * ab * face;
  set_triple(D, i, 2.0 * face * (B.value * A.ds + A.value * B.ds),
             2.0 * face * (B.value * A.dt + A.value * B.dt), 2.0 * w * ab);
}

void pi15(double s, double t, double u, double* F, double* D) {
  // Corners in the order (0,1), (0,0), (1,0): their coordinates are t, L, s.
  const TriangleCoordinate corner[3] = {{t, 0.0, 1.0}, {1.0 - s - t, -1.0, -1.0}, {s, 1.0, 0.0}};
  const double bubble = 1.0 - u * u;
  for (int c = 0; c < 3; ++c) {
    wedge_corner(corner[c], u, 1.0, F, D, c);
    wedge_corner(corner[c], u, -1.0, F, D, 3 + c);
    const TriangleCoordinate& L = corner[c];
    F[6 + c] = L.value * bubble;
    set_triple(D, 6 + c, bubble * L.ds, bubble * L.dt, -2.0 * u * L.value);
  }
  for (int m = 0; m < 3; ++m) {
    const TriangleCoordinate& a = corner[m];
    const TriangleCoordinate& b = corner[(m + 1) % 3];
    wedge_midside(a, b, u, 1.0, F, D, 9 + m);
    wedge_midside(a, b, u, -1.0, F, D, 12 + m);
  }
}

}  // namespace

void line_shape_functions(double s, int nnode, double* FFORM, double* DERIV) {
  if (nnode == 2) line2(s, FFORM, DERIV);
  if (nnode == 3) line3(s, FFORM, DERIV);
}

void triangle_shape_functions(double s, double t, int nnode, double* FFORM, double* DERIV) {
  if (nnode == 3) tr3(s, t, FFORM, DERIV);
  if (nnode == 6) tr6(s, t, FFORM, DERIV);
}

void plate_triangle_shape_functions(double s, double t, double* F, double* D) {
  tr3(s, t, F, D);
  const double L = 1.0 - s - t;
  F[3] = 4.0 * s * L;
  F[4] = 4.0 * s * t;
  F[5] = 4.0 * t * L;
  set_pair(D, 3, 4.0 * (1.0 - 2.0 * s - t), -4.0 * s);
  set_pair(D, 4, 4.0 * t, 4.0 * s);
  set_pair(D, 5, -4.0 * t, 4.0 * (1.0 - s - 2.0 * t));
}

void quadrilateral_shape_functions(double s, double t, int nnode, double* FFORM,
                                   double* DERIV) {
  if (nnode == 4) qu4(s, t, FFORM, DERIV);
  if (nnode == 8) qu8(s, t, FFORM, DERIV);
  if (nnode == 9) qu9(s, t, FFORM, DERIV);
}

void hexahedron_shape_functions(double s, double t, double u, int nnode, double* FFORM,
                                double* DERIV) {
  if (nnode == 8) he8(s, t, u, FFORM, DERIV);
  if (nnode == 20) he20(s, t, u, FFORM, DERIV);
  if (nnode == 27) he27(s, t, u, FFORM, DERIV);
}

void tetrahedron_shape_functions(double s, double t, double u, int nnode, double* FFORM,
                                 double* DERIV) {
  if (nnode == 4) te4(s, t, u, FFORM, DERIV);
  if (nnode == 10) te10(s, t, u, FFORM, DERIV);
}

void wedge_shape_functions(double s, double t, double u, double* FFORM, double* DERIV) {
  pi15(s, t, u, FFORM, DERIV);
}

void FUNFOR(double s, double t, double u, int type_code, int /*ndime*/, double* FFORM,
            double* DERIV) {
  const int nnode = element_nodes(type_code);
  switch (type_code) {
    case ELEM_TR3:
    case ELEM_TR6:
      triangle_shape_functions(s, t, nnode, FFORM, DERIV);
      break;
    case ELEM_QU4:
    case ELEM_QU8:
    case ELEM_QU9:
    case ELEM_CLLL:
      quadrilateral_shape_functions(s, t, nnode, FFORM, DERIV);
      break;
    case ELEM_HE8:
    case ELEM_HE20:
    case ELEM_HE27:
      hexahedron_shape_functions(s, t, u, nnode, FFORM, DERIV);
      break;
    case ELEM_TE4:
    case ELEM_TE10:
      tetrahedron_shape_functions(s, t, u, nnode, FFORM, DERIV);
      break;
    case ELEM_PI15:
      wedge_shape_functions(s, t, u, FFORM, DERIV);
      break;
    case ELEM_TLCL:
    case ELEM_DKT:
      plate_triangle_shape_functions(s, t, FFORM, DERIV);
      break;
    case ELEM_LI2:
    case ELEM_LI3:
    case ELEM_TRC2:
      line_shape_functions(s, nnode, FFORM, DERIV);
      break;
    default:
      break;
  }
}

}  // namespace vortan
