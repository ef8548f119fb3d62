#include <gtest/gtest.h>

#include "element_model.h"
#include "run/errstp.h"

namespace vortan {
namespace {

using test::active;
using test::build_model;
using test::ElementModel;

class ConductionTasks : public ::testing::Test {
 protected:
  void TearDown() override {
    reset_active_set();
    reset_run_state();
  }
  void task(ElementTask name) {
    gather_element(1);
    ELETRT(1, 1, RECOMPUTE_ALL, RECOMPUTE_ALL, name);
  }
};

ElementModel conduction_square(double k, double q) {
  ElementModel m;
  m.coordinates = {0, 0, 2, 0, 2, 1, 0, 1};
  m.elements = {{1, 2, 3, 4}};
  m.props = {k, 2 * k, 0.0, 0.0, 0.5, q};  // CONDX, CONDY, CONDZ, CONVC, ESPESOR, CALESP
  m.nstre = m.nstr1 = 2;
  m.ndofn = 1;
  m.conduction = true;
  return m;
}

TEST_F(ConductionTasks, ConductivityMatrixFluxesAndHeatGeneration) {
  build_model(conduction_square(3.0, 4.0));
  task(ElementTask::stiffness);
  const double* k = active(ACTIVE.RIGID);
  for (int i = 0; i < 4; ++i) {
    double row = 0.0;
    for (int j = 0; j < 4; ++j) row += k[i + 4 * j];
    EXPECT_NEAR(row, 0.0, 1e-12);
  }
  // A linear temperature T = x + 3y: the conductivity matrix gives the boundary flow of
  // q = (kx dT/dx, ky dT/dy) = (3, 18) times the thickness 0.5 at nodes of the side x = 2.
  const double* x = active(ACTIVE.COREL);
  double* t = active(ACTIVE.DESLO);
  for (int n = 0; n < 4; ++n) t[n] = x[2 * n] + 3 * x[2 * n + 1];
  ELETRT(1, 1, RECOMPUTE_ALL, RECOMPUTE_ALL, ElementTask::stresses);
  for (int g = 0; g < ACTIVE.NGAUS; ++g) {
    EXPECT_NEAR(active(ACTIVE.TENSG)[2 * g], 3.0, 1e-9);
    EXPECT_NEAR(active(ACTIVE.TENSG)[2 * g + 1], 18.0, 1e-9);
  }
  double flow_right = 0.0;  // nodes 2 and 3 lie on x = 2
  for (int i : {1, 2})
    for (int j = 0; j < 4; ++j) flow_right += k[i + 4 * j] * t[j];
  EXPECT_NEAR(flow_right, 3.0 * 1.0 * 0.5, 1e-8);

  task(ElementTask::self_weight);
  double total = 0.0;
  for (int n = 0; n < 4; ++n) {
    EXPECT_NEAR(active(ACTIVE.PESOP)[n], -4.0 * 2.0 * 0.5 / 4, 1e-8);
    total += active(ACTIVE.PESOP)[n];
  }
  EXPECT_NEAR(total, -4.0 * 2.0 * 0.5, 1e-8);
  // A conduction set answers through its own dispatcher, never the structural one.
  EXPECT_EQ(element_dispatcher(1), &ELETRT);
  try {
    ELETR3(1, 1, RECOMPUTE_ALL, RECOMPUTE_ALL, ElementTask::stiffness);
    FAIL();
  } catch (const FatalStop& stop) {
    EXPECT_EQ(stop.message(), "ELETR3: TIPO DE ELEMENTO NO DISPONIBLE");
  }
}

TEST(ElementActivation, PlateTrianglesAndMembersSizeTheirArrays) {
  test::ElementModel dkt;
  dkt.problem_type = 5;
  dkt.element_type = 13;
  dkt.coordinates = {0, 0, 1, 0, 0, 1};
  dkt.elements = {{1, 2, 3}};
  dkt.props = {1, 0.3, 0, 0.1};
  dkt.nstre = dkt.nstr1 = 3;
  dkt.ndofn = 3;
  test::build_model(dkt);
  EXPECT_EQ(ACTIVE.nfunctions, 6);  // six shape functions for three nodes
  EXPECT_EQ(ACTIVE.FFORM + 2 * 6, ACTIVE.DERIV);
  try {
    test::run_task(1, ElementTask::stiffness);  // plate routines are not part of the continuum
    FAIL();
  } catch (const FatalStop& stop) {
    EXPECT_EQ(stop.message(), "ELETR3: TIPO DE ELEMENTO NO DISPONIBLE");
  }
  reset_active_set();
  reset_run_state();
}

}  // namespace
}  // namespace vortan
