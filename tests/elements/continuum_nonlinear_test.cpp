// The total Lagrangian continuum sets: at a displaced state with large rotations and
// strains of some per cent, the tangent stiffness of every nonlinear continuum set is
// the derivative of its internal forces with respect to the element displacements
// (central differences), with and without a node on an inclined support; the stiffness
// pass that takes the gradients the internal-force pass stored gives the same matrix;
// and a rigid rotation leaves no internal forces.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "element_model.h"

namespace vortan {
namespace {

using test::active;
using test::build_model;
using test::ElementModel;

class ContinuumNonlinear : public ::testing::Test {
 protected:
  void TearDown() override {
    reset_active_set();
    reset_run_state();
  }
};

// Only the displacement gradients are fetched (the stiffness pass of the driver).
constexpr const char* FETCH_GRADIENTS = "RRRRRRRRRRM";

// A distorted quadrilateral (curved sides for QU8) of the given problem type, away
// from the axis so that it also serves as a solid of revolution.
ElementModel quadrilateral(int problem_type, int element_type) {
  ElementModel m;
  m.problem_type = problem_type;
  m.element_type = element_type;
  m.nonlinear = 1;
  if (element_type == 3)
    m.coordinates = {1.0, 0.1, 3.0, 0.2, 2.9, 2.0, 1.2, 1.9};
  else
    m.coordinates = {1.0, 0.1, 2.1, 0.0, 3.0, 0.2, 3.1, 1.2, 2.9, 2.0, 2.0, 2.2, 1.2, 1.9, 1.1, 1.0};
  m.elements = {{}};
  for (int k = 1; k <= static_cast<int>(m.coordinates.size()) / 2; ++k) m.elements[0].push_back(k);
  m.props = {210.0, 0.3, 0.0, 0.5, 0.0};
  if (problem_type == 3) m.nstre = m.nstr1 = 4;
  return m;
}

// A distorted eight-node brick.
ElementModel brick() {
  ElementModel m;
  m.problem_type = 4;
  m.element_type = 6;
  m.ndime = 3;
  m.nstre = m.nstr1 = 6;
  m.ndofn = 3;
  m.nonlinear = 1;
  double f[27], d[81];
  for (int n = 0; n < 8; ++n) {
    double natural[3] = {};
    for (double s : {-1.0, 1.0})
      for (double t : {-1.0, 1.0})
        for (double w : {-1.0, 1.0}) {
          FUNFOR(s, t, w, 6, 3, f, d);
          if (std::fabs(f[n] - 1.0) < 1e-12) natural[0] = s, natural[1] = t, natural[2] = w;
        }
    const double s = natural[0], t = natural[1], w = natural[2];
    m.coordinates.push_back(2.0 + s + 0.1 * t * w);
    m.coordinates.push_back(1.0 + 0.8 * t + 0.05 * s);
    m.coordinates.push_back(0.6 * w + 0.1 * s * t);
  }
  m.elements = {{1, 2, 3, 4, 5, 6, 7, 8}};
  m.props = {100.0, 0.25, 0.0, 0.0, 0.0};
  return m;
}

// Internal forces of element 1 at displacements u (DESLO is overwritten).
std::vector<double> internal_forces(const std::vector<double>& u, const char* store = RECOMPUTE_ALL) {
  const ActiveSetRecord& a = ACTIVE;
  std::copy(u.begin(), u.end(), active(a.DESLO));
  ELETR3(1, 1, RECOMPUTE_ALL, store, ElementTask::internal_forces);
  return std::vector<double>(active(a.FUERZ), active(a.FUERZ) + a.NEVAB);
}

// The tangent stiffness against central differences of the internal forces at a
// state of displacement gradients of about 0.1 to 0.3 (rotation and stretch); returns
// the largest difference over the largest stiffness term. With `inclined`, node 2 lies
// on a support inclined at 0.4 rad: its pair is held in the support's axes.
double tangent_mismatch(const ElementModel& m, const std::string& label, bool inclined) {
  build_model(m);
  PROBLEM.MAPOY = 0;
  if (inclined) {
    PROBLEM.MAPOY = 1;
    PROBLEM.APOYO = DIRECT(RUN.NXTPOS, RUN.MEMORY, 1, "APOYO", INT_WORDS);
    PROBLEM.APANG = DIRECT(RUN.NXTPOS, RUN.MEMORY, 2, "APANG", REAL_WORDS);
    WORK.int_at(PROBLEM.APOYO) = 2;
    WORK.real_at(PROBLEM.APANG) = 0.4;
  }
  const ActiveSetRecord& a = ACTIVE;
  const int n = a.NEVAB;
  gather_element(1);
  std::vector<double> u(n);
  for (int i = 0; i < n; ++i) u[i] = 0.15 * std::sin(1.0 + 1.7 * i);
  // The driver's order: the internal-force pass keeps the gradients, the stiffness
  // pass (no displacements) takes them.
  const std::vector<double> f = internal_forces(u, "RRRRRRRRRRM");
  gather_element(1);
  ELETR3(1, 1, FETCH_GRADIENTS, RECOMPUTE_ALL, ElementTask::stiffness);
  const std::vector<double> stored(active(a.RIGID), active(a.RIGID) + n * n);
  // And from the displacements directly.
  std::copy(u.begin(), u.end(), active(a.DESLO));
  ELETR3(1, 1, RECOMPUTE_ALL, RECOMPUTE_ALL, ElementTask::stiffness);
  const std::vector<double> k(active(a.RIGID), active(a.RIGID) + n * n);
  double largest = 0.0;
  for (int i = 0; i < n * n; ++i) largest = std::max(largest, std::fabs(k[i]));
  for (int i = 0; i < n * n; ++i) EXPECT_NEAR(stored[i], k[i], 1e-12 * largest) << label;
  // The state is far from linear: the forces differ from K0 u by a good fraction.
  double worst = 0.0;
  const double h = 1e-5;
  for (int j = 0; j < n; ++j) {
    std::vector<double> up = u, down = u;
    up[j] += h;
    down[j] -= h;
    const std::vector<double> fp = internal_forces(up), fm = internal_forces(down);
    for (int i = 0; i < n; ++i) {
      const double derivative = (fp[i] - fm[i]) / (2 * h);
      worst = std::max(worst, std::fabs(derivative - k[i + n * j]) / largest);
    }
  }
  double force = 0.0;
  for (double v : f) force = std::max(force, std::fabs(v));
  EXPECT_GT(force, 0.01 * largest) << label;
  return worst;
}

TEST_F(ContinuumNonlinear, TangentStiffnessIsTheDerivativeOfTheInternalForces) {
  struct Case { ElementModel model; const char* label; bool inclined; };
  const Case cases[] = {{quadrilateral(1, 4), "QU8 plane stress", false},
                        {quadrilateral(2, 3), "QU4 plane strain", false},
                        {quadrilateral(2, 4), "QU8 plane strain", false},
                        {quadrilateral(2, 4), "QU8 plane strain, inclined support", true},
                        {quadrilateral(3, 4), "QU8 axisymmetric", false},
                        {quadrilateral(3, 3), "QU4 axisymmetric", false},
                        {quadrilateral(3, 4), "QU8 axisymmetric, inclined support", true},
                        {brick(), "HE8 solid", false}};
  for (const Case& c : cases) {
    const double mismatch = tangent_mismatch(c.model, c.label, c.inclined);
    // Central differences of a cubic in the displacements: only rounding is left.
    EXPECT_LT(mismatch, 1e-7) << c.label;
    char text[32];
    std::snprintf(text, sizeof text, "%.2e", mismatch);
    RecordProperty(c.label, text);
  }
}

// A rigid rotation by a finite angle strains nothing: zero Green-Lagrange strains,
// stresses and internal forces (a small-strain set would report strains of the order
// of 1 - cos of the angle).
TEST_F(ContinuumNonlinear, FiniteRigidRotationLeavesNoForces) {
  for (const ElementModel& m : {quadrilateral(2, 4), brick()}) {
    build_model(m);
    PROBLEM.MAPOY = 0;
    const ActiveSetRecord& a = ACTIVE;
    gather_element(1);
    const double* x = active(a.COREL);
    const double angle = 0.6, c = std::cos(angle), s = std::sin(angle);
    std::vector<double> u(a.NEVAB);
    for (int k = 0; k < a.NNODE; ++k) {  // about the z axis
      const double px = x[a.NDIME * k], py = x[a.NDIME * k + 1];
      u[a.NDOFN * k] = c * px - s * py - px;
      u[a.NDOFN * k + 1] = s * px + c * py - py;
    }
    const std::vector<double> f = internal_forces(u);
    for (int i = 0; i < a.NEVAB; ++i) EXPECT_NEAR(f[i], 0.0, 1e-10) << m.problem_type;
    for (int i = 0; i < a.NSTR1 * a.NGAUS; ++i) EXPECT_NEAR(active(a.TENSG)[i], 0.0, 1e-10);
  }
}

}  // namespace
}  // namespace vortan
