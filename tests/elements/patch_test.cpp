// Every continuum element type reproduces a linear displacement field exactly on a
// distorted element (uniform strains, stresses D e) and its stiffness gives no forces
// for rigid-body motions.
#include <gtest/gtest.h>

#include <cmath>

#include "element_model.h"
#include "elements/shape_functions.h"

namespace vortan {
namespace {

using test::active;

struct Case {
  int type;
  int ndime;
};

// Natural coordinates of every node: the candidate point where the node's function is 1.
std::vector<double> natural_nodes(int type, int ndime) {
  const int nodes = element_nodes(type);
  const bool simplex = type == 1 || type == 2 || type == 9 || type == 10;
  std::vector<double> s_values = simplex || type == 11 ? std::vector<double>{0, 0.5, 1} : std::vector<double>{-1, 0, 1};
  std::vector<double> u_values = type == 11 ? std::vector<double>{-1, 0, 1} : s_values;
  std::vector<double> out(nodes * ndime, 0.0);
  double f[27], d[81];
  for (double s : s_values)
    for (double t : s_values)
      for (double u : (ndime == 3 ? u_values : std::vector<double>{0})) {
        FUNFOR(s, t, u, type, ndime, f, d);
        double total = 0.0;
        for (int n = 0; n < nodes; ++n) total += std::fabs(f[n]);
        for (int n = 0; n < nodes; ++n)
          if (std::fabs(f[n] - 1.0) < 1e-12 && std::fabs(total - 1.0) < 1e-12) {
            out[ndime * n] = s;
            out[ndime * n + 1] = t;
            if (ndime == 3) out[ndime * n + 2] = u;
          }
      }
  return out;
}

test::ElementModel distorted(const Case& c) {
  test::ElementModel m;
  m.element_type = c.type;
  m.ndime = c.ndime;
  m.problem_type = c.ndime == 3 ? 4 : 2;
  m.nstre = c.ndime == 3 ? 6 : 3;
  m.nstr1 = c.ndime == 3 ? 6 : 4;
  m.ndofn = c.ndime;
  const std::vector<double> natural = natural_nodes(c.type, c.ndime);
  const int nodes = element_nodes(c.type);
  std::vector<int> connectivity;
  for (int n = 0; n < nodes; ++n) {
    const double s = natural[c.ndime * n], t = natural[c.ndime * n + 1];
    const double u = c.ndime == 3 ? natural[c.ndime * n + 2] : 0.0;
    m.coordinates.push_back(1.0 + 2.0 * s + 0.3 * t + 0.1 * s * t);
    m.coordinates.push_back(0.5 + 0.2 * s + 1.5 * t - 0.05 * s * s);
    if (c.ndime == 3) m.coordinates.push_back(-0.3 + 0.1 * s + 1.2 * u + 0.08 * t * u);
    connectivity.push_back(n + 1);
  }
  m.elements = {connectivity};
  m.props = {1000.0, 0.3, 1.0, 1.0, 0.0};
  return m;
}

class PatchTest : public ::testing::TestWithParam<Case> {
 protected:
  void TearDown() override {
    reset_active_set();
    reset_run_state();
  }
};

TEST_P(PatchTest, LinearFieldIsExactAndRigidMotionsAreFree) {
  const Case c = GetParam();
  test::build_model(distorted(c));
  const ActiveSetRecord& a = ACTIVE;
  const int nodes = a.NNODE, nd = c.ndime, n = a.NEVAB;
  // Displacement gradient of the linear field.
  const double grad[3][3] = {{1e-3, 4e-4, -2e-4}, {-3e-4, -2e-3, 5e-4}, {2e-4, 1e-4, 1.5e-3}};
  gather_element(1);
  const double* x = active(a.COREL);
  double* u = active(a.DESLO);
  for (int k = 0; k < nodes; ++k)
    for (int i = 0; i < nd; ++i) {
      u[nd * k + i] = 0.0;
      for (int j = 0; j < nd; ++j) u[nd * k + i] += grad[i][j] * x[nd * k + j];
    }
  ELETR3(1, 1, RECOMPUTE_ALL, RECOMPUTE_ALL, ElementTask::stresses);
  ELETR3(1, 1, RECOMPUTE_ALL, RECOMPUTE_ALL, ElementTask::constitutive_matrix);
  double strain[6];
  if (nd == 2) {
    strain[0] = grad[0][0], strain[1] = grad[1][1], strain[2] = grad[0][1] + grad[1][0];
  } else {
    strain[0] = grad[0][0], strain[1] = grad[1][1], strain[2] = grad[2][2];
    strain[3] = grad[0][1] + grad[1][0], strain[4] = grad[0][2] + grad[2][0], strain[5] = grad[1][2] + grad[2][1];
  }
  const double* d = active(a.DMATZ);
  for (int g = 0; g < a.NGAUS; ++g)
    for (int i = 0; i < a.NSTRE; ++i) {
      double expected = 0.0;
      for (int j = 0; j < a.NSTRE; ++j) expected += d[i + a.NSTRE * j] * strain[j];
      EXPECT_NEAR(active(a.TENSG)[a.NSTR1 * g + i], expected, 1e-10) << "type " << c.type << " point " << g;
    }
  ELETR3(1, 1, RECOMPUTE_ALL, RECOMPUTE_ALL, ElementTask::stiffness);
  const double* k = active(a.RIGID);
  // Translations along every axis, then infinitesimal rotations: about z in the plane,
  // about x, y and z in space. A rotation about axis r moves a point by e_r x (x, y, z).
  const int rotations = nd == 2 ? 1 : 3;
  for (int mode = 0; mode < nd + rotations; ++mode) {
    std::vector<double> v(n, 0.0);
    for (int node = 0; node < nodes; ++node) {
      if (mode < nd) {
        v[nd * node + mode] = 1.0;
        continue;
      }
      const int r = nd == 2 ? 2 : mode - nd;  // the axis of the rotation
      const int s1 = (r + 1) % 3, s2 = (r + 2) % 3;  // the two axes the rotation turns
      const double p[3] = {x[nd * node], x[nd * node + 1], nd == 3 ? x[nd * node + 2] : 0.0};
      // (e_r x p) has -p[s2] along s1, p[s1] along s2 and nothing along the axis itself.
      v[nd * node + s1] = -p[s2];
      v[nd * node + s2] = p[s1];
    }
    for (int i = 0; i < n; ++i) {
      double f = 0.0;
      for (int j = 0; j < n; ++j) f += k[i + n * j] * v[j];
      EXPECT_NEAR(f, 0.0, 1e-9 * k[i + n * i])
          << "type " << c.type << (mode < nd ? " translation along " : " rotation about ")
          << "xyz"[mode < nd ? mode : (nd == 2 ? 2 : mode - nd)] << ", row " << i;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryContinuumType, PatchTest,
                         ::testing::Values(Case{1, 2}, Case{2, 2}, Case{3, 2}, Case{4, 2}, Case{5, 2},
                                           Case{6, 3}, Case{7, 3}, Case{8, 3}, Case{9, 3}, Case{10, 3},
                                           Case{11, 3}),
                         [](const auto& info) { return std::string(element_keyword(info.param.type)); });

}  // namespace
}  // namespace vortan
