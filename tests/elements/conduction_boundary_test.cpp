// Integrals over the boundary pieces of conduction elements: M(a, b) = integral of
// N_a N_b dA over points, lines, surfaces and solids placed anywhere in space.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "elements/conduction_boundary.h"
#include "input/catalogue.h"

namespace vortan {
namespace {

// The Gauss constants are held in single precision.
constexpr double RULE_TOLERANCE = 1e-6;

std::vector<double> integrals(int dimension, const std::vector<double>& xyz, int ngaus) {
  const int nodes = static_cast<int>(xyz.size()) / 3;
  std::vector<double> m(nodes * nodes);
  piece_integrals(dimension, nodes, ngaus, xyz.data(), m.data());
  return m;
}

double total(const std::vector<double>& m) {
  double sum = 0.0;
  for (double v : m) sum += v;
  return sum;
}

// Row a of M summed: the integral of N_a.
double share(const std::vector<double>& m, int a) {
  const int n = static_cast<int>(std::lround(std::sqrt(m.size())));
  double sum = 0.0;
  for (int b = 0; b < n; ++b) sum += m[a + n * b];
  return sum;
}

TEST(ConductionBoundary, LinesOfAnyDirection) {
  EXPECT_EQ(integrals(0, {1, 2, 3}, 1), std::vector<double>{1.0});  // a node is its factor
  // A straight two-node line of length 5: M = L/6 [2 1; 1 2].
  const auto m = integrals(1, {0, 0, 0, 3, 4, 0}, 2);
  EXPECT_NEAR(m[0], 5.0 / 3, RULE_TOLERANCE);
  EXPECT_NEAR(m[1], 5.0 / 6, RULE_TOLERANCE);
  EXPECT_EQ(m[1], m[2]);
  // A straight quadratic line (start, middle, end): shares L/6, 2L/3, L/6.
  const double length = std::sqrt(3.0);
  const auto q = integrals(1, {1, 1, 1, 1.5, 1.5, 1.5, 2, 2, 2}, exact_piece_points(ELEM_LI3));
  EXPECT_NEAR(share(q, 0), length / 6, RULE_TOLERANCE);
  EXPECT_NEAR(share(q, 1), 2 * length / 3, RULE_TOLERANCE);
  EXPECT_NEAR(share(q, 2), length / 6, RULE_TOLERANCE);
  EXPECT_NEAR(q[0], 2 * length / 15, RULE_TOLERANCE);  // integral of N_1^2
}

TEST(ConductionBoundary, SurfacesInTiltedPlanes) {
  // A parallelogram spanned by (2, 0, 1) and (0, 3, 0): area sqrt(45), and for the
  // bilinear functions M = A/36 [4 2 1 2; ...].
  const double area = std::sqrt(45.0);
  const auto m = integrals(2, {0, 0, 0, 2, 0, 1, 2, 3, 1, 0, 3, 0}, exact_piece_points(ELEM_QU4));
  EXPECT_NEAR(total(m), area, RULE_TOLERANCE);
  EXPECT_NEAR(m[0], 4 * area / 36, RULE_TOLERANCE);
  EXPECT_NEAR(m[0 + 4 * 1], 2 * area / 36, RULE_TOLERANCE);
  EXPECT_NEAR(m[0 + 4 * 2], area / 36, RULE_TOLERANCE);
  // A six-node triangle (corner, mid-side alternating) with corners (0,0,0), (1,0,0),
  // (0,1,1): area sqrt(2)/2, nothing at the corners and a third at each mid-side node.
  const double tri = std::sqrt(2.0) / 2;
  const auto t = integrals(2, {0, 0, 0, 0.5, 0, 0, 1, 0, 0, 0.5, 0.5, 0.5, 0, 1, 1, 0, 0.5, 0.5},
                           exact_piece_points(ELEM_TR6));
  EXPECT_NEAR(total(t), tri, RULE_TOLERANCE);
  for (int a : {0, 2, 4}) EXPECT_NEAR(share(t, a), 0.0, RULE_TOLERANCE) << a;
  for (int a : {1, 3, 5}) EXPECT_NEAR(share(t, a), tri / 3, RULE_TOLERANCE) << a;
  // A 3-node triangle with the 3-point rule: M = A/12 [2 1 1; ...].
  const auto l = integrals(2, {0, 0, 0, 1, 0, 0, 0, 1, 1}, exact_piece_points(ELEM_TR3));
  EXPECT_NEAR(l[0], 2 * tri / 12, RULE_TOLERANCE);
  EXPECT_NEAR(l[1], tri / 12, RULE_TOLERANCE);
}

TEST(ConductionBoundary, SolidsAddUpToTheirVolume) {
  // A brick 2 x 1 x 3: the corners of its bottom face, then those of its top face.
  std::vector<double> xyz;
  for (double z : {0.0, 3.0})
    for (auto [x, y] : {std::pair{0.0, 0.0}, {2.0, 0.0}, {2.0, 1.0}, {0.0, 1.0}}) xyz.insert(xyz.end(), {x, y, z});
  const auto m = integrals(3, xyz, 8);
  EXPECT_NEAR(total(m), 6.0, RULE_TOLERANCE);
}

}  // namespace
}  // namespace vortan
