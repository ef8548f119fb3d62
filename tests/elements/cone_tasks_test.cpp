// The truncated cone: its strain matrix, constitutive matrix and degenerate geometry.
#include <gtest/gtest.h>

#include <cmath>

#include "element_model.h"
#include "elements/revolution/cone_tasks.h"
#include "run/errstp.h"

namespace vortan {
namespace {

double entry(const double* b, int strain, int column) { return b[strain + 5 * column]; }

// A generator along the axis (c = 0) has no hoop curvature; an inclined one has
// -c / (2 r) at both nodes. Rigid motion along the axis strains nothing.
TEST(ConeElement, StrainMatrix) {
  double b[30];
  const double cylinder[4] = {2.0, 0.0, 2.0, 0.5};
  BMATROC(cylinder, b);
  for (int column : {2, 5}) EXPECT_EQ(entry(b, 3, column), 0.0);
  EXPECT_DOUBLE_EQ(entry(b, 1, 0), 0.25);   // hoop strain 1 / (2 r)
  EXPECT_DOUBLE_EQ(entry(b, 0, 4), 2.0);    // meridional strain of w at node 2: s / L
  EXPECT_DOUBLE_EQ(entry(b, 2, 2), 2.0);    // meridional curvature -P / L at node 1
  const double cone[4] = {1.0, 0.0, 4.0, 4.0};  // L = 5, c = 0.6, s = 0.8, r = 2.5
  BMATROC(cone, b);
  for (int column : {2, 5}) EXPECT_DOUBLE_EQ(entry(b, 3, column), -0.5 * 0.6 / 2.5);
  EXPECT_DOUBLE_EQ(entry(b, 4, 0), 0.8 / 5);   // shear of u at node 1: -P s / L
  EXPECT_DOUBLE_EQ(entry(b, 4, 5), -0.5);
  for (int strain = 0; strain < 5; ++strain) EXPECT_EQ(entry(b, strain, 1) + entry(b, strain, 4), 0.0) << strain;
  const double on_axis[4] = {0.0, 0.0, 0.0, 1.0};
  try {
    BMATROC(on_axis, b);
    FAIL();
  } catch (const FatalStop& stop) {
    EXPECT_EQ(stop.message(), "BMATROC:ERROR EN LA GEOMETRIA ELEMENTAL");
  }
}

// D of a shell of thickness 0.1 (E = 1000, nu = 0.25); a thickness of 0 counts as 1.
TEST(ConeElement, ConstitutiveMatrix) {
  test::ElementModel m;
  m.problem_type = SHELL_OF_REVOLUTION;
  m.element_type = ELEM_TRC2;
  m.nstre = m.nstr1 = 5;
  m.ndofn = 3;
  m.coordinates = {1, 0, 1, 1};
  m.elements = {{1, 2}};
  m.props = {1000.0, 0.25, 0.0, 0.1};
  test::build_model(m);
  test::run_task(1, ElementTask::constitutive_matrix);
  const double* d = test::active(ACTIVE.DMATZ);
  const double f = 1000 * 0.1 / (1 - 0.0625);
  EXPECT_DOUBLE_EQ(d[0], f);
  EXPECT_DOUBLE_EQ(d[5], 0.25 * f);
  EXPECT_DOUBLE_EQ(d[12], 0.01 * f / 12);
  EXPECT_DOUBLE_EQ(d[24], 100.0 / (2.4000000953674316 * 1.25));
  WORK.reals(SETS(1).PROPS)[3] = 0.0;
  test::run_task(1, ElementTask::constitutive_matrix);
  EXPECT_DOUBLE_EQ(d[0], 1000.0 / (1 - 0.0625));
  reset_active_set();
  reset_run_state();
}

}  // namespace
}  // namespace vortan
