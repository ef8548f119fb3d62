#include "elements/plate/resultant_stiffness.h"

#include <cmath>
#include <initializer_list>

namespace vortan {

namespace {

// 2.4 held in single precision: the shear factor 5/6 enters as E t / (2.4 (1 + nu)).
constexpr double SHEAR_DIVISOR = 2.4000000953674316;
// Degrees to radians of the layer angles, as the layers have always been turned.
constexpr double LAYER_DEGREES = 0.017453224919128433;

struct Square {
  double* a;
  int n;
  double& operator()(int i, int j) const { return a[i + n * j]; }
};

// Adds factor times the 3 x 3 in-plane pattern [1 nu 0; nu 1 0; 0 0 (1-nu)/2] at (row, row).
void add_isotropic_block(const Square& d, int row, double factor, double nu) {
  d(row, row) += factor;
  d(row + 1, row + 1) += factor;
  d(row, row + 1) += factor * nu;
  d(row + 1, row) += factor * nu;
  d(row + 2, row + 2) += factor * (1.0 - nu) * 0.5;
}

void multiply(const double* a, const double* b, int n, double* c) {
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) {
      double sum = 0.0;
      for (int k = 0; k < n; ++k) sum += a[i + n * k] * b[k + n * j];
      c[i + n * j] = sum;
    }
}

// The layer's in-plane stiffness in its material axes (engineering shear strain):
//   Q11 = E1/m, Q22 = E2/m, Q12 = (nu12 E2 + nu21 E1)/(2m), Q66 = G12, m = 1 - nu12 nu21
// (Q12 is the mean of the two reciprocal forms, so the matrix is symmetric whatever
// the card gives).
void material_stiffness(const Layer& layer, double q[3][3]) {
  const double m = 1.0 - layer.poisson_12 * layer.poisson_21;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) q[i][j] = 0.0;
  q[0][0] = layer.young_1 / m;
  q[1][1] = layer.young_2 / m;
  q[0][1] = q[1][0] = 0.5 * (layer.poisson_12 * layer.young_2 + layer.poisson_21 * layer.young_1) / m;
  q[2][2] = layer.shear_12;
}

}  // namespace

ResultantBlocks resultant_blocks(int nstre) {
  ResultantBlocks b;
  if (nstre >= 6) b.membrane = 0, b.bending = 3;
  if (nstre == 5) b.shear = 3;
  if (nstre == 8) b.shear = 6;
  return b;
}

void single_layer_resultants(double e, double nu, double t, int nstre, double* d) {
  for (int i = 0; i < nstre * nstre; ++i) d[i] = 0.0;
  if (t <= 0.0) t = 1.0;
  const Square D{d, nstre};
  const ResultantBlocks blocks = resultant_blocks(nstre);
  const double dm = e * t / (1.0 - nu * nu);
  const double db = e * t * t * t / (12.0 * (1.0 - nu * nu));
  const double ds = e * t / (SHEAR_DIVISOR + SHEAR_DIVISOR * nu);
  if (blocks.membrane >= 0) add_isotropic_block(D, blocks.membrane, dm, nu);
  add_isotropic_block(D, blocks.bending, db, nu);
  if (blocks.shear >= 0) D(blocks.shear, blocks.shear) = D(blocks.shear + 1, blocks.shear + 1) = ds;
}

// With the strains at height z of the layer e(z) = e0 - z k (k the curvatures of the
// plate rows, positive for a surface concave towards +z) and Q the layer's stiffness,
// the layer adds
//   membrane   Q (z_top - z_bottom)
//   coupling  -Q (z_top^2 - z_bottom^2) / 2
//   bending    Q (z_top^3 - z_bottom^3) / 3
//   shear      G (z_top - z_bottom) / 1.2     (the same 5/6 as one layer)
// in its material axes; the strains of the element axes are turned into material axes
// by R (in-plane: cos^2, sin^2, sin cos, 2 sin cos; shear: cos, sin), so the element
// matrix receives R^T Q R.
void add_layer_resultants(const Layer& layer, double z_bottom, double z_top, int nstre, double* d,
                          double* tempa, double* tempb, double* girom, double* girot) {
  const int n = nstre * nstre;
  for (int i = 0; i < n; ++i) tempa[i] = girom[i] = 0.0;
  const Square A{tempa, nstre}, R{girom, nstre};
  const ResultantBlocks blocks = resultant_blocks(nstre);
  double q[3][3];
  material_stiffness(layer, q);
  const double h1 = z_top - z_bottom;
  const double h2 = (z_top * z_top - z_bottom * z_bottom) * 0.5;
  const double h3 = (z_top * z_top * z_top - z_bottom * z_bottom * z_bottom) / 3.0;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      A(blocks.bending + i, blocks.bending + j) = q[i][j] * h3;
      if (blocks.membrane < 0) continue;
      A(blocks.membrane + i, blocks.membrane + j) = q[i][j] * h1;
      A(blocks.membrane + i, blocks.bending + j) = -q[i][j] * h2;
      A(blocks.bending + i, blocks.membrane + j) = -q[i][j] * h2;
    }
  if (blocks.shear >= 0) {
    const double gs = layer.shear_transverse * h1 * 2.0 / SHEAR_DIVISOR;
    A(blocks.shear, blocks.shear) = A(blocks.shear + 1, blocks.shear + 1) = gs;
  }
  const double angle = layer.angle_degrees * LAYER_DEGREES;
  const double c = std::cos(angle), s = std::sin(angle);
  const double r[3][3] = {{c * c, s * s, s * c}, {s * s, c * c, -s * c}, {-2.0 * s * c, 2.0 * s * c, c * c - s * s}};
  for (int row : {blocks.membrane, blocks.bending}) {
    if (row < 0) continue;
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) R(row + i, row + j) = r[i][j];
  }
  if (blocks.shear >= 0) {
    R(blocks.shear, blocks.shear) = c;
    R(blocks.shear, blocks.shear + 1) = s;
    R(blocks.shear + 1, blocks.shear) = -s;
    R(blocks.shear + 1, blocks.shear + 1) = c;
  }
  for (int i = 0; i < nstre; ++i)
    for (int j = 0; j < nstre; ++j) girot[i + nstre * j] = girom[j + nstre * i];
  multiply(tempa, girom, nstre, tempb);  // Q R
  multiply(girot, tempb, nstre, tempa);  // R^T Q R, added exactly symmetric
  for (int i = 0; i < nstre; ++i)
    for (int j = 0; j < nstre; ++j) d[i + nstre * j] += 0.5 * (tempa[i + nstre * j] + tempa[j + nstre * i]);
}

}  // namespace vortan
