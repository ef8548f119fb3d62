// The generalized-strain rows of the plate elements on single elements: the geometry
// record of the triangle, and constant-curvature and rigid-motion fields that every
// row set must reproduce exactly (the patch test at element level), with no shear.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "elements/plate/plate_strains.h"
#include "elements/shape_functions.h"

namespace vortan {
namespace {

TEST(TriangleGeometry, UnitRightTriangle) {
  const double xy[6] = {0, 0, 1, 0, 0, 1};
  const TriangleGeometry g = triangle_geometry(xy);
  EXPECT_DOUBLE_EQ(g.twice_area, 1.0);
  EXPECT_DOUBLE_EQ(g.area, 0.5);
  EXPECT_DOUBLE_EQ(g.length[0], 1.0);
  EXPECT_DOUBLE_EQ(g.length[1], std::sqrt(2.0));
  EXPECT_DOUBLE_EQ(g.length[2], 1.0);
  EXPECT_DOUBLE_EQ(g.cosine[1], -1.0 / std::sqrt(2.0));
  EXPECT_DOUBLE_EQ(g.sine[1], 1.0 / std::sqrt(2.0));
  EXPECT_DOUBLE_EQ(g.cosine[2], 0.0);
  EXPECT_DOUBLE_EQ(g.sine[2], -1.0);
}

// A plate field: w(x, y) with its slopes.
struct Field {
  std::function<double(double, double)> w, wx, wy;
  double kx, ky, kxy;  // its constant curvatures
};

const Field FIELDS[] = {
    {[](double x, double y) { return 0.5 * x * x - 0.2 * x + 0.1 * y + 0.3; }, [](double x, double) { return x - 0.2; },
     [](double, double) { return 0.1; }, 1.0, 0.0, 0.0},
    {[](double x, double y) { return 0.7 * x * y + 0.4 * y * y; }, [](double, double y) { return 0.7 * y; },
     [](double x, double y) { return 0.7 * x + 0.8 * y; }, 0.0, 0.8, 1.4},
};

// Linear triangle geometry at (s, t): inverse Jacobian and Cartesian derivatives of the
// six plate-triangle functions.
void triangle_point(const double* xy, double s, double t, double* xjaci, double* dcart) {
  double f[6], d[12];
  plate_triangle_shape_functions(s, t, f, d);
  double j[4] = {};
  for (int n = 0; n < 3; ++n)
    for (int i = 0; i < 2; ++i)
      for (int k = 0; k < 2; ++k) j[i + 2 * k] += d[i + 2 * n] * xy[k + 2 * n];
  const double det = j[0] * j[3] - j[1] * j[2];
  xjaci[0] = j[3] / det, xjaci[3] = j[0] / det, xjaci[1] = -j[1] / det, xjaci[2] = -j[2] / det;
  for (int n = 0; n < 6; ++n)
    for (int i = 0; i < 2; ++i) dcart[i + 2 * n] = xjaci[i] * d[2 * n] + xjaci[i + 2] * d[2 * n + 1];
}

// Strains B u at one point for rows of 5 (or 3) and a node's (w, r1, r2).
std::vector<double> strains(const std::vector<double>& b, const std::vector<double>& u, int nstre) {
  std::vector<double> e(nstre, 0.0);
  for (std::size_t c = 0; c < u.size(); ++c)
    for (int r = 0; r < nstre; ++r) e[r] += b[r + nstre * c] * u[c];
  return e;
}

const double TRIANGLE[6] = {0.1, 0.2, 1.3, 0.05, 0.4, 0.9};
const double POINTS[3][2] = {{1.0 / 6, 1.0 / 6}, {2.0 / 3, 1.0 / 6}, {0.2, 0.5}};

TEST(PlateStrains, DktReproducesConstantCurvature) {
  const PlateRows rows{3, 0, -1, 3, 0};
  const TriangleGeometry g = triangle_geometry(TRIANGLE);
  for (const Field& f : FIELDS) {
    std::vector<double> u;
    for (int n = 0; n < 3; ++n) {
      const double x = TRIANGLE[2 * n], y = TRIANGLE[2 * n + 1];
      u.insert(u.end(), {f.w(x, y), f.wx(x, y), f.wy(x, y)});
    }
    for (const auto& p : POINTS) {
      double xjaci[4], dcart[12];
      triangle_point(TRIANGLE, p[0], p[1], xjaci, dcart);
      std::vector<double> b(3 * 9, 0.0);
      dkt_rows(dcart, g, rows, b.data());
      const auto e = strains(b, u, 3);
      EXPECT_NEAR(e[0], f.kx, 1e-12);
      EXPECT_NEAR(e[1], f.ky, 1e-12);
      EXPECT_NEAR(e[2], f.kxy, 1e-12);
    }
  }
}

// The TLCL's mid-side rotations stay 0 for a quadratic deflection (its slopes are
// linear), whatever the global numbers of the corners.
TEST(PlateStrains, TlclReproducesConstantCurvatureWithoutShear) {
  const PlateRows rows{5, 0, 3, 3, 0};
  for (const auto& corners : {std::vector<int>{1, 2, 3}, std::vector<int>{9, 4, 7}}) {
    std::vector<double> sides(3 * 18);
    tlcl_side_shears(TRIANGLE, corners.data(), rows, 18, sides.data());
    for (const Field& f : FIELDS) {
      std::vector<double> u(18, 0.0);
      for (int n = 0; n < 3; ++n) {
        const double x = TRIANGLE[2 * n], y = TRIANGLE[2 * n + 1];
        u[3 * n] = f.w(x, y), u[3 * n + 1] = f.wx(x, y), u[3 * n + 2] = f.wy(x, y);
      }
      for (const auto& p : POINTS) {
        double xjaci[4], dcart[12];
        triangle_point(TRIANGLE, p[0], p[1], xjaci, dcart);
        std::vector<double> b(5 * 18, 0.0);
        tlcl_rows(dcart, p[0], p[1], xjaci, TRIANGLE, corners.data(), sides.data(), rows, 18, b.data());
        const auto e = strains(b, u, 5);
        EXPECT_NEAR(e[0], f.kx, 1e-12);
        EXPECT_NEAR(e[1], f.ky, 1e-12);
        EXPECT_NEAR(e[2], f.kxy, 1e-12);
        EXPECT_NEAR(e[3], 0.0, 1e-12);
        EXPECT_NEAR(e[4], 0.0, 1e-12);
      }
    }
  }
}

}  // namespace
}  // namespace vortan
