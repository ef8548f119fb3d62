// The resultant-stiffness matrices of plates and flat shells: one isotropic layer by
// its closed forms, and laminates by classical lamination theory against hand-worked
// layups.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "elements/plate/resultant_stiffness.h"

namespace vortan {
namespace {

std::vector<double> single(double e, double nu, double t, int nstre) {
  std::vector<double> d(nstre * nstre);
  single_layer_resultants(e, nu, t, nstre, d.data());
  return d;
}

std::vector<double> laminate(const std::vector<Layer>& layers, int nstre) {
  const int n = nstre * nstre;
  std::vector<double> d(n, 0.0), a(n), b(n), r(n), rt(n);
  double total = 0.0;
  for (const Layer& l : layers) total += l.thickness;
  double z = 0.5 * total;
  for (const Layer& l : layers) {
    add_layer_resultants(l, z - l.thickness, z, nstre, d.data(), a.data(), b.data(), r.data(), rt.data());
    z -= l.thickness;
  }
  return d;
}

Layer isotropic(double e, double nu, double t, double angle) {
  const double g = e / (2.0 * (1.0 + nu));
  return Layer{e, e, nu, nu, g, g, t, angle};
}

TEST(ResultantStiffness, OneLayerClosedForms) {
  const double e = 2.1e5, nu = 0.25, t = 0.2;
  const double db = e * t * t * t / (12.0 * (1.0 - nu * nu)), dm = e * t / (1.0 - nu * nu);
  const auto thin = single(e, nu, t, 3), thick = single(e, nu, t, 5), shell = single(e, nu, t, 8);
  EXPECT_DOUBLE_EQ(thin[0], db);
  EXPECT_DOUBLE_EQ(thin[1], nu * db);
  EXPECT_DOUBLE_EQ(thin[8], 0.5 * (1.0 - nu) * db);
  // The bending block is the same in every variant; the shear is 5/6 G t up to the
  // single-precision 2.4.
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      EXPECT_EQ(thick[i + 5 * j], thin[i + 3 * j]);
      EXPECT_EQ(shell[(3 + i) + 8 * (3 + j)], thin[i + 3 * j]);
      EXPECT_DOUBLE_EQ(shell[i + 8 * j], thin[i + 3 * j] * dm / db);
      EXPECT_EQ(shell[i + 8 * (3 + j)], 0.0);  // no membrane-bending coupling
    }
  const double g = e / (2.0 * (1.0 + nu));
  EXPECT_NEAR(thick[3 + 5 * 3], 5.0 / 6.0 * g * t, 1e-7 * g * t);
  EXPECT_EQ(thick[4 + 5 * 4], thick[3 + 5 * 3]);
  EXPECT_EQ(shell[6 + 8 * 6], thick[3 + 5 * 3]);
  EXPECT_EQ(thick[3 + 5 * 4], 0.0);
  // A thickness of 0 counts as 1.
  EXPECT_EQ(single(e, nu, 0.0, 5), single(e, nu, 1.0, 5));
}

// Two isotropic layers of half the thickness, whatever their angles, are the one
// layer: membrane, bending and shear blocks alike, and no coupling.
TEST(ResultantStiffness, SymmetricIsotropicLaminateIsTheOneLayer) {
  const double e = 7.0e4, nu = 0.3, t = 0.12;
  for (int nstre : {3, 5, 6, 8}) {
    const auto one = single(e, nu, t, nstre);
    const auto two = laminate({isotropic(e, nu, t / 2, 30.0), isotropic(e, nu, t / 2, -60.0)}, nstre);
    for (int i = 0; i < nstre * nstre; ++i) EXPECT_NEAR(two[i], one[i], 1e-9 * one[0]) << nstre << " " << i;
  }
}

// A 0/90 cross-ply of two equal layers (top layer fibres along x): classical
// lamination theory with Q11 = E1/m, Q22 = E2/m, Q12 = nu12 E2/m, Q66 = G12.
//   A = (Q0 + Q90) h,  D = (Q0 + Q90) h^3/12 ... per layer (z^3 weights), and the
//   coupling B = (Q0 - Q90) h^2/4 with the sign of the plate rows: -B.
TEST(ResultantStiffness, CrossPlyHasItsCoupling) {
  const double e1 = 140.0, e2 = 10.0, nu12 = 0.3, nu21 = nu12 * e2 / e1, g12 = 5.0, h = 0.5;
  const Layer top{e1, e2, nu12, nu21, g12, 4.0, h, 0.0};
  Layer bottom = top;
  bottom.angle_degrees = 90.0;
  const auto d = laminate({top, bottom}, 8);
  auto D = [&](int i, int j) { return d[i + 8 * j]; };
  const double m = 1.0 - nu12 * nu21;
  const double q11 = e1 / m, q22 = e2 / m, q12 = nu12 * e2 / m;
  // The 90-degree layer swaps Q11 and Q22 (up to the degree factor the layers have
  // always been turned with, 4e-6 short of pi/180).
  EXPECT_NEAR(D(0, 0), (q11 + q22) * h, 1e-7);
  EXPECT_NEAR(D(1, 1), (q11 + q22) * h, 1e-7);
  EXPECT_NEAR(D(0, 1), 2 * q12 * h, 1e-7);
  EXPECT_NEAR(D(2, 2), 2 * g12 * h, 1e-7);
  const double b11 = (q11 - q22) * (h * h) / 2.0;  // top layer (0, h), bottom (-h, 0)
  EXPECT_NEAR(D(0, 3), -b11, 1e-6);
  EXPECT_NEAR(D(3, 0), -b11, 1e-6);
  EXPECT_NEAR(D(1, 4), b11, 1e-6);
  EXPECT_NEAR(D(0, 4), 0.0, 1e-6);
  EXPECT_NEAR(D(3, 3), (q11 + q22) * (h * h * h) / 3.0, 1e-7);
  EXPECT_NEAR(D(6, 6), 2.0 * 4.0 * h / 1.2, 1e-6);
  for (int i = 0; i < 8; ++i)
    for (int j = 0; j < 8; ++j) EXPECT_DOUBLE_EQ(D(i, j), D(j, i));
}

// A single layer turned by 45 degrees gets the classical transformed stiffness.
TEST(ResultantStiffness, TurnedLayer) {
  const double e1 = 3.0, e2 = 1.0, nu12 = 0.25, nu21 = nu12 * e2 / e1, g12 = 0.5;
  const auto d = laminate({Layer{e1, e2, nu12, nu21, g12, 0.2, 1.0, 45.0}}, 3);
  const double m = 1.0 - nu12 * nu21;
  const double q11 = e1 / m, q22 = e2 / m, q12 = nu12 * e2 / m, q66 = g12;
  const double f = 1.0 / 12.0;
  EXPECT_NEAR(d[0], f * (q11 + 2 * (q12 + 2 * q66) + q22) / 4.0, 1e-6);
  EXPECT_NEAR(d[1], f * ((q11 + q22 - 4 * q66) / 4.0 + q12 / 2.0), 1e-6);
  EXPECT_NEAR(d[6], f * ((q11 - q12 - 2 * q66) + (q12 - q22 + 2 * q66)) / 4.0, 1e-6);
  EXPECT_NEAR(d[8], f * ((q11 + q22 - 2 * q12 - 2 * q66) / 4.0 + q66 / 2.0), 1e-6);
}

}  // namespace
}  // namespace vortan
