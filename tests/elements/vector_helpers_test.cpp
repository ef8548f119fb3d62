#include "elements/vector_helpers.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

#include "run/errstp.h"

namespace vortan {
namespace {

TEST(ElementVectorHelpers, CrossDotAndNormalisation) {
  const double a[3] = {1.0, 2.0, -0.5}, b[3] = {-3.0, 0.25, 4.0};
  double c[3];
  cross_product(a, b, c);
  EXPECT_NEAR(dot_product(a, c), 0.0, 1e-14);
  EXPECT_NEAR(dot_product(b, c), 0.0, 1e-14);
  const double e1[3] = {1, 0, 0}, e2[3] = {0, 1, 0};
  cross_product(e1, e2, c);
  EXPECT_EQ(c[0], 0.0);
  EXPECT_EQ(c[1], 0.0);
  EXPECT_EQ(c[2], 1.0);  // right-handed

  double v[3] = {3.0, 0.0, -4.0};
  REFER(v);
  EXPECT_DOUBLE_EQ(v[0], 0.6);
  EXPECT_DOUBLE_EQ(v[2], -0.8);
  double zero[3] = {0.0, 0.0, 0.0};
  try {
    REFER(zero);
    ADD_FAILURE() << "a zero vector must stop the run";
  } catch (const FatalStop& stop) {
    EXPECT_EQ(stop.message(), "REFER: ERROR XNO3");
  }
}

TEST(ElementVectorHelpers, EulerRotationIsAProperRotation) {
  constexpr int ld = 4;
  std::array<double, ld * 3> R;
  R.fill(9.0);
  double angles[3] = {30.0, 45.0, -60.0};
  euler_rotation(angles, ld, R.data());
  EXPECT_DOUBLE_EQ(angles[0], std::numbers::pi / 6.0);
  EXPECT_DOUBLE_EQ(angles[2], -std::numbers::pi / 3.0);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      double p = 0.0;
      for (int k = 0; k < 3; ++k) p += R[k + ld * i] * R[k + ld * j];
      EXPECT_NEAR(p, i == j ? 1.0 : 0.0, 1e-14);
    }
  const double det = R[0] * (R[ld + 1] * R[2 * ld + 2] - R[2 * ld + 1] * R[ld + 2]) -
                     R[ld] * (R[1] * R[2 * ld + 2] - R[2 * ld + 1] * R[2]) +
                     R[2 * ld] * (R[1] * R[ld + 2] - R[ld + 1] * R[2]);
  EXPECT_NEAR(det, 1.0, 1e-14);
  for (int j = 0; j < 3; ++j) EXPECT_EQ(R[3 + ld * j], 9.0);  // padding rows untouched
  // A first angle alone turns the x axis towards y about z.
  double about_z[3] = {90.0, 0.0, 0.0};
  euler_rotation(about_z, 3, R.data());
  EXPECT_NEAR(R[0], 0.0, 1e-15);
  EXPECT_NEAR(R[1], 1.0, 1e-15);
  EXPECT_NEAR(R[8], 1.0, 1e-15);
}

TEST(ElementVectorHelpers, BlockPlacementModes) {
  const double B[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};  // B(i,j) = B[i + 3j]
  auto placed = [&](int mode) {
    std::array<double, 36> M;
    M.fill(0.0);
    place_block(B, 3, mode, 3, M.data(), 6);
    return M;
  };
  const auto copy = placed(BLOCK_AS_STORED), trans = placed(BLOCK_TRANSPOSED),
             swap = placed(BLOCK_SWAP_NEGATE), none = placed(7);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      const int m = (3 + i) + 6 * (3 + j);
      EXPECT_EQ(copy[m], B[i + 3 * j]);
      EXPECT_EQ(trans[m], B[j + 3 * i]);
      const double expected_swap = j == 0 ? -B[i + 3] : (j == 1 ? B[i] : B[i + 6]);
      EXPECT_EQ(swap[m], expected_swap);
    }
  double outside = 0.0, untouched = 0.0;
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j) {
      if (i < 3 || j < 3) outside += std::abs(copy[i + 6 * j]) + std::abs(swap[i + 6 * j]);
      untouched += std::abs(none[i + 6 * j]);
    }
  EXPECT_EQ(outside, 0.0);
  EXPECT_EQ(untouched, 0.0);
}

}  // namespace
}  // namespace vortan
