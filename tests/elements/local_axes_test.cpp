#include "elements/local_axes.h"

#include <gtest/gtest.h>

#include <cmath>

#include "elements/vector_helpers.h"
#include "run/errstp.h"

namespace vortan {
namespace {

void expect_orthonormal(const double* axes) {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(dot_product(axes + 3 * i, axes + 3 * j), i == j ? 1.0 : 0.0, 1e-12);
}

TEST(ElementLocalAxes, HorizontalElementsTakeTheGlobalAxes) {
  const double triangle[9] = {0, 0, 2, 1, 0, 2, 0, 1, 2};
  double axes[9];
  flat_element_axes(3, triangle, axes);
  for (int i = 0; i < 9; ++i) EXPECT_NEAR(axes[i], i % 4 == 0 ? 1.0 : 0.0, 1e-14);
}

TEST(ElementLocalAxes, InclinedElementsKeepTheirFirstAxisHorizontal) {
  // A quadrilateral in the plane z = x (normal along (-1, 0, 1)/sqrt 2); its plane is
  // spanned by corners 1, 2 and 4.
  const double quad[12] = {0, 0, 0, 1, 0, 1, 1, 2, 1, 0, 2, 0};
  double axes[9];
  flat_element_axes(4, quad, axes);
  expect_orthonormal(axes);
  EXPECT_NEAR(axes[6], -std::sqrt(0.5), 1e-12);
  EXPECT_NEAR(axes[8], std::sqrt(0.5), 1e-12);
  EXPECT_NEAR(axes[2], 0.0, 1e-14);  // V1 horizontal
  // The eight-node element spans its plane with corners 3 and 7.
  double serendipity[24] = {};
  const double corners[4][3] = {{0, 0, 0}, {1, 0, 1}, {1, 2, 1}, {0, 2, 0}};
  for (int c = 0; c < 4; ++c)
    for (int i = 0; i < 3; ++i) serendipity[3 * (2 * c) + i] = corners[c][i];
  double axes8[9];
  flat_element_axes(8, serendipity, axes8);
  for (int i = 0; i < 9; ++i) EXPECT_NEAR(axes8[i], axes[i], 1e-12);
}

TEST(ElementLocalAxes, CollinearCornersStop) {
  const double line[9] = {0, 0, 0, 1, 1, 1, 2, 2, 2};
  double axes[9];
  try {
    flat_element_axes(3, line, axes);
    FAIL();
  } catch (const FatalStop& stop) {
    EXPECT_EQ(stop.message(), "REFER: ERROR XNO3");
  }
}

TEST(ElementLocalAxes, NormalsAccumulateAtNodesInTheirOwnSystems) {
  const double axes[9] = {1, 0, 0, 0, 0, 1, 0, -1, 0};  // normal (0, -1, 0)
  const int nodes[3] = {1, 2, 3};
  int has_system[3] = {0, 1, 0};
  // Node 2's system: a quarter turn about z (first Euler angle 90 degrees).
  double angles[9] = {0, 90, 0, 0, 0, 0, 0, 0, 0};
  const NodalSystems systems{has_system, angles, 3};
  double normals[9] = {};
  accumulate_nodal_normals(3, nodes, axes, systems, normals);
  accumulate_nodal_normals(3, nodes, axes, systems, normals);
  EXPECT_NEAR(normals[0 + 3], -2.0, 1e-12);  // node 1, y
  // In node 2's system the global -y direction is the first axis, negated.
  double R[9];
  double a[3] = {90, 0, 0};
  euler_rotation(a, 3, R);
  const double minus_y[3] = {0, -1, 0};
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(normals[1 + 3 * i], 2 * dot_product(R + 3 * i, minus_y), 1e-12);
  EXPECT_EQ(angles[1], 90.0);  // the stored angles stay in degrees
}

TEST(ElementLocalAxes, CoplanarNodesDropTheRotationAboutTheirNormal) {
  const double n_x[3] = {1, 0, 0}, n_y[3] = {0, -1, 0}, n_z[3] = {0, 0, 1}, tilted[3] = {0.6, 0.6, 0.52915};
  EXPECT_EQ(suppressed_rotation(n_x, n_x, 0.99, false), 4);
  EXPECT_EQ(suppressed_rotation(n_y, n_y, 0.99, false), 5);
  EXPECT_EQ(suppressed_rotation(n_z, n_z, 0.99, false), 6);
  EXPECT_EQ(suppressed_rotation(tilted, tilted, 0.99, false), 6);  // no strictly dominant component
  EXPECT_EQ(suppressed_rotation(n_x, n_x, 0.99, true), 6);
  EXPECT_EQ(suppressed_rotation(n_x, n_z, 0.5, false), 0);          // a fold at the node
}

TEST(ElementLocalAxes, LocalCoordinatesAndTransformation) {
  double corel[9] = {0, 0, 0, 1, 0, 1, 0, 2, 0};
  double axes[9];
  flat_element_axes(3, corel, axes);
  const int nodes[3] = {1, 2, 3};
  const NodalSystems none{nullptr, nullptr, 3};
  double T[18 * 18];
  local_transformation(3, nodes, 6, axes, none, BLOCK_TRANSPOSED, corel, T);
  for (int k = 1; k < 3; ++k) EXPECT_NEAR(corel[3 * k + 2], corel[2], 1e-12);  // one local plane
  // Displacement blocks are the axes, rotation blocks their transpose.
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      EXPECT_EQ(T[i + 18 * j], axes[i + 3 * j]);
      EXPECT_EQ(T[(3 + i) + 18 * (3 + j)], axes[j + 3 * i]);
      EXPECT_EQ(T[(6 + i) + 18 * j], 0.0);
    }
}

// A node with its own system (turned 90 degrees about z) keeps its unknowns in it: its
// block is R^T A, so that local = A^T R nodal; the slopes of the plate rows take the
// swap-negate placement (r1 = -theta_y, r2 = theta_x).
TEST(ElementLocalAxes, NodeWithItsOwnSystem) {
  double corel[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
  double axes[9];
  flat_element_axes(3, corel, axes);
  const int nodes[3] = {1, 2, 3};
  const int has_system[3] = {0, 1, 0};
  const double angles[9] = {0, 90, 0, 0, 0, 0, 0, 0, 0};  // node 2: a = 90, b = c = 0
  const NodalSystems systems{has_system, angles, 3};
  double T[18 * 18];
  local_transformation(3, nodes, 6, axes, systems, BLOCK_SWAP_NEGATE, corel, T);
  // Node 2's nodal x is the global y: a nodal unit x displacement is local (0, 1, 0).
  const double nodal_x[3] = {1, 0, 0};
  for (int j = 0; j < 3; ++j) {
    double local = 0.0;
    for (int i = 0; i < 3; ++i) local += T[(6 + i) + 18 * (6 + j)] * nodal_x[i];
    EXPECT_NEAR(local, j == 1 ? 1.0 : 0.0, 1e-7) << j;
  }
  // Node 1 (global axes = element axes): a rotation about global y is the slope -r1.
  EXPECT_NEAR(T[4 + 18 * 3], -1.0, 1e-12);
  EXPECT_NEAR(T[3 + 18 * 4], 1.0, 1e-12);
  EXPECT_NEAR(T[5 + 18 * 5], 1.0, 1e-12);
}

}  // namespace
}  // namespace vortan
