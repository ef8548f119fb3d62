#include "elements/integration_rules.h"

#include "elements/shape_functions.h"

namespace vortan {

namespace {

// Gauss-Legendre constants held in single precision: 1/sqrt(3), sqrt(0.6), 5/9, 8/9.
constexpr double GAUSS2 = 0.5773502588272095;
constexpr double GAUSS3 = 0.7745966911315918;
constexpr double WEIGHT3_END = 0.5555555820465088;
constexpr double WEIGHT3_MID = 0.8888888955116272;

// Products of the three-point weights, each rounded to single precision, indexed by
// the number of coordinates of the point at the centre: 25/81, 40/81, 64/81 and
// 125/729, 200/729, 320/729, 512/729.
constexpr double WEIGHT3X3[3] = {0.3086419701576233, 0.4938271641731262, 0.790123462677002};
constexpr double WEIGHT3X3X3[4] = {0.17146776616573334, 0.2743484079837799,
                                   0.43895748257637024, 0.7023319602012634};

// Point i of an n-point Gauss line rule (n = 1, 2, 3), and its weight.
double gauss_point(int n, int i) {
  if (n == 2) return i == 0 ? -GAUSS2 : GAUSS2;
  if (n == 3) return (i - 1) * GAUSS3;
  return 0.0;
}

double gauss_weight(int n, int i) {
  if (n == 2) return 1.0;
  if (n == 3) return i == 1 ? WEIGHT3_MID : WEIGHT3_END;
  return 2.0;
}

void line_rule(int n, double* P, double* W) {
  for (int i = 0; i < n; ++i) {
    P[i] = gauss_point(n, i);
    W[i] = gauss_weight(n, i);
  }
}

// s varies slowest, t fastest.
void quadrilateral_rule(int n, double* P, double* W) {
  const int np = n * n;
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      const int p = i * n + j;
      P[p] = gauss_point(n, i);
      P[np + p] = gauss_point(n, j);
      const int centred = (n == 3) * ((i == 1) + (j == 1));
      W[p] = n == 3 ? WEIGHT3X3[centred] : gauss_weight(n, i) * gauss_weight(n, j);
    }
}

// u varies slowest, then s, t fastest.
void hexahedron_rule(int n, double* P, double* W) {
  const int np = n * n * n;
  for (int k = 0; k < n; ++k)
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j) {
        const int p = (k * n + i) * n + j;
        P[p] = gauss_point(n, i);
        P[np + p] = gauss_point(n, j);
        P[2 * np + p] = gauss_point(n, k);
        const int centred = (i == 1) + (j == 1) + (k == 1);
        W[p] = n == 3 ? WEIGHT3X3X3[centred]
                      : gauss_weight(n, i) * gauss_weight(n, j) * gauss_weight(n, k);
      }
}

void set_point2(double* P, double* W, int np, int p, double s, double t, double w) {
  P[p] = s;
  P[np + p] = t;
  W[p] = w;
}

void set_point3(double* P, double* W, int np, int p, double s, double t, double u, double w) {
  P[p] = s;
  P[np + p] = t;
  P[2 * np + p] = u;
  W[p] = w;
}

void triangle_rule7(double* P, double* W) {
  constexpr double a = 0.1012865073235, b = 0.7974269853531;
  constexpr double c = 0.4701420641051, d = 0.0597158717898;
  constexpr double wab = 0.0629695902724, wcd = 0.06619707639425;
  set_point2(P, W, 7, 0, a, a, wab);
  set_point2(P, W, 7, 1, b, a, wab);
  set_point2(P, W, 7, 2, a, b, wab);
  set_point2(P, W, 7, 3, c, d, wcd);
  set_point2(P, W, 7, 4, c, c, wcd);
  set_point2(P, W, 7, 5, d, c, wcd);
  set_point2(P, W, 7, 6, 1.0 / 3.0, 1.0 / 3.0, 0.1125);
}

void triangle_rule(int ngaus, double* P, double* W) {
  if (ngaus == 1) {
    set_point2(P, W, 1, 0, 1.0 / 3.0, 1.0 / 3.0, 0.5);
  } else if (ngaus == 3) {
    set_point2(P, W, 3, 0, 1.0 / 6.0, 1.0 / 6.0, 1.0 / 6.0);
    set_point2(P, W, 3, 1, 2.0 / 3.0, 1.0 / 6.0, 1.0 / 6.0);
    set_point2(P, W, 3, 2, 1.0 / 6.0, 2.0 / 3.0, 1.0 / 6.0);
  } else if (ngaus == 7) {
    triangle_rule7(P, W);
  }
}

void tetrahedron_rule(int ngaus, double* P, double* W) {
  if (ngaus == 1) {
    set_point3(P, W, 1, 0, 0.25, 0.25, 0.25, 1.0 / 6.0);
  } else if (ngaus == 4) {
    constexpr double a = 0.1381966, b = 0.5854102, w = 1.0 / 24.0;
    set_point3(P, W, 4, 0, a, a, a, w);
    set_point3(P, W, 4, 1, b, a, a, w);
    set_point3(P, W, 4, 2, a, b, a, w);
    set_point3(P, W, 4, 3, a, a, b, w);
  } else if (ngaus == 5) {
    constexpr double a = 1.0 / 6.0, b = 0.5, w = 3.0 / 40.0;
    set_point3(P, W, 5, 0, 0.25, 0.25, 0.25, -2.0 / 15.0);
    set_point3(P, W, 5, 1, a, a, a, w);
    set_point3(P, W, 5, 2, b, a, a, w);
    set_point3(P, W, 5, 3, a, b, a, w);
    set_point3(P, W, 5, 4, a, a, b, w);
  }
}

// Three Gauss layers along u (slowest) times seven triangle points: corners, mid-sides
// and the centroid, in the order of the nodes of TR6 and then the centroid.
void wedge_rule(double* P, double* W) {
  constexpr double third = 0.3333333432674408;
  constexpr double tri[7][2] = {{0.0, 0.0}, {0.5, 0.0}, {1.0, 0.0}, {0.5, 0.5},
                                {0.0, 1.0}, {0.0, 0.5}, {third, third}};
  // Weights of a corner, a mid-side and the centroid in the end layers and the middle.
  constexpr double end_layer[3] = {0.013888889095849462, 0.03703703896866904,
                                   0.12499999668863085};
  constexpr double mid_layer[3] = {0.022222222553359136, 0.05925926234987047,
                                   0.19999999470180935};
  constexpr int kind[7] = {0, 1, 0, 1, 0, 1, 2};
  for (int k = 0; k < 3; ++k) {
    const double* w = k == 1 ? mid_layer : end_layer;
    for (int i = 0; i < 7; ++i)
      set_point3(P, W, WEDGE_RULE_POINTS, 7 * k + i, tri[i][0], tri[i][1], gauss_point(3, k),
                 w[kind[i]]);
  }
}

}  // namespace

void REGINT(int type_code, int ngaus, double* POSGT, double* PESGT) {
  if (integration_point_count(type_code, ngaus) == 0) return;
  switch (element_shape(type_code)) {
    case ElementShape::line: line_rule(points_per_direction(ngaus, 1), POSGT, PESGT); break;
    case ElementShape::quadrilateral:
      quadrilateral_rule(points_per_direction(ngaus, 2), POSGT, PESGT);
      break;
    case ElementShape::hexahedron: hexahedron_rule(points_per_direction(ngaus, 3), POSGT, PESGT); break;
    case ElementShape::triangle: triangle_rule(ngaus, POSGT, PESGT); break;
    case ElementShape::tetrahedron: tetrahedron_rule(ngaus, POSGT, PESGT); break;
    case ElementShape::wedge: wedge_rule(POSGT, PESGT); break;
    case ElementShape::none: break;
  }
}

}  // namespace vortan
