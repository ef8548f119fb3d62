// The lumped mass of plates and flat shells: one layer, and laminates whose layers
// give their own densities.
#include <gtest/gtest.h>

#include <vector>

#include "element_model.h"

namespace vortan {
namespace {

// A laminate layer's ten properties: stiffness (unused here), thickness and density.
std::vector<double> layer(double thickness, double density) {
  return {1.0e4, 0.3, thickness, 0.0, 1.0e4, 0.3, 3.0e3, 3.0e3, density, 0.0};
}

// The diagonal of the mass matrix of the right triangle (0,0), (1,0), (0,1) of area
// 1/2, a third at each corner: (w, r1, r2) or (u, v, w, three rotations) per corner.
std::vector<double> mass_diagonal(int problem_type, const std::vector<std::vector<double>>& layers,
                                  double single_density = 0.0) {
  test::ElementModel m;
  m.problem_type = problem_type;
  m.element_type = ELEM_DKT;
  const bool shell = problem_type == FLAT_SHELL;
  m.ndime = shell ? 3 : 2;
  m.nstre = m.nstr1 = shell ? 6 : 3;
  m.ndofn = shell ? 6 : 3;
  m.coordinates = shell ? std::vector<double>{0, 0, 0, 1, 0, 0, 0, 1, 0} : std::vector<double>{0, 0, 1, 0, 0, 1};
  m.elements = {{1, 2, 3}};
  if (layers.empty()) {
    m.props = {1.0e4, 0.3, single_density, 0.01, 0.0, 0.0};
  } else {
    m.layers = static_cast<int>(layers.size());
    for (const auto& l : layers) m.props.insert(m.props.end(), l.begin(), l.end());
  }
  test::build_model(m);
  test::run_task(1, ElementTask::mass_matrix);
  const double* x = test::active(ACTIVE.XMASA);
  const int n = ACTIVE.NEVAB;
  std::vector<double> diagonal;
  for (int i = 0; i < n; ++i) diagonal.push_back(x[i + n * i]);
  return diagonal;
}

// Two equal layers of half the thickness and the same density give the one layer's
// mass, translations and rotations alike; three unequal layers give
// sum rho h and sum rho (z_top^3 - z_bottom^3)/3 (from the top face z = t/2 down).
TEST(PlateMass, LaminateLayersAddTheirDensities) {
  for (int type : {PLATE, FLAT_SHELL}) {
    const std::vector<double> single = mass_diagonal(type, {}, 2.0);
    const std::vector<double> halves = mass_diagonal(type, {layer(0.005, 2.0), layer(0.005, 2.0)});
    ASSERT_EQ(single.size(), halves.size());
    ASSERT_GT(single[0], 0.0);
    for (std::size_t i = 0; i < single.size(); ++i) EXPECT_NEAR(halves[i], single[i], 1e-12 * single[0]) << type << " " << i;

    const std::vector<double> three = mass_diagonal(type, {layer(0.002, 1.0), layer(0.005, 4.0), layer(0.003, 2.0)});
    const double translation = 0.002 * 1.0 + 0.005 * 4.0 + 0.003 * 2.0;
    auto cube = [](double z) { return z * z * z; };
    const double rotation = (1.0 * (cube(0.005) - cube(0.003)) + 4.0 * (cube(0.003) - cube(-0.002)) +
                             2.0 * (cube(-0.002) - cube(-0.005))) / 3.0;
    const int per_node = type == FLAT_SHELL ? 6 : 3;
    const int translations = type == FLAT_SHELL ? 3 : 1;
    for (int i = 0; i < 3 * per_node; ++i) {
      const double expected = (i % per_node < translations ? translation : rotation) / 6.0;
      EXPECT_NEAR(three[i], expected, 1e-12 * expected) << type << " " << i;
    }
    // Layers without a density carry no mass.
    for (double v : mass_diagonal(type, {layer(0.005, 0.0), layer(0.005, 0.0)})) EXPECT_EQ(v, 0.0) << type;
  }
}

// The TLCL flat shell's six-node membrane: the displacements share the mass rho t A
// as 1/19 per corner and 16/57 per mid-side node (the whole, once); the corners'
// rotations a third of rho t^3/12 A each, the mid-side rotations none.
TEST(PlateMass, TlclShellSharesItsMembraneMassWithTheMidSides) {
  test::ElementModel m;
  m.problem_type = FLAT_SHELL;
  m.element_type = ELEM_TLCL;
  m.ndime = 3;
  m.nstre = m.nstr1 = 8;
  m.ndofn = 6;
  m.coordinates = {0, 0, 0, 2, 0, 0, 0, 1, 0, 1, 0, 0, 1, 0.5, 0, 0, 0.5, 0};
  m.elements = {{1, 2, 3, 4, 5, 6}};
  m.props = {1.0e4, 0.3, 2.0, 0.01, 0.0, 0.0};
  test::build_model(m);
  test::run_task(1, ElementTask::mass_matrix);
  const double* x = test::active(ACTIVE.XMASA);
  const int n = ACTIVE.NEVAB;
  ASSERT_EQ(n, 36);
  const double mass = 2.0 * 0.01 * 1.0, inertia = 2.0 * 1e-6 / 12.0 * 1.0;
  double total = 0.0;
  for (int node = 0; node < 6; ++node)
    for (int j = 0; j < 6; ++j) {
      const int d = 6 * node + j;
      const double want = j < 3 ? mass * (node < 3 ? 1.0 / 19.0 : 16.0 / 57.0) : (node < 3 ? inertia / 3.0 : 0.0);
      EXPECT_NEAR(x[d + n * d], want, 1e-12 * mass) << node << " " << j;
      if (j == 0) total += x[d + n * d];
    }
  EXPECT_NEAR(total, mass, 1e-14);
}

}  // namespace
}  // namespace vortan
