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

  // Internal heat Q = 4 over the volume 2 x 1 x 0.5: a source, so every node receives a
  // positive share of Q V (the load that raises the temperature).
  task(ElementTask::self_weight);
  double total = 0.0;
  for (int n = 0; n < 4; ++n) {
    EXPECT_NEAR(active(ACTIVE.PESOP)[n], 4.0 * 2.0 * 0.5 / 4, 1e-8);
    total += active(ACTIVE.PESOP)[n];
  }
  EXPECT_NEAR(total, 4.0 * 2.0 * 0.5, 1e-8);
  // A conduction set answers through its own dispatcher, never the structural one.
  EXPECT_EQ(element_dispatcher(1), &ELETRT);
  try {
    ELETR3(1, 1, RECOMPUTE_ALL, RECOMPUTE_ALL, ElementTask::stiffness);
    FAIL();
  } catch (const FatalStop& stop) {
    EXPECT_EQ(stop.message(), "ELETR3: TIPO DE ELEMENTO NO DISPONIBLE");
  }
}

// The recovery integrals of a constant flux: the smoothing matrix adds up to the volume,
// the right-hand sides to flux times volume, and nodal values equal to the flux give no
// error while the reference measure is the flux energy q^T K^-1 q V.
TEST_F(ConductionTasks, RecoveryIntegralsOfAConstantFlux) {
  build_model(conduction_square(3.0, 0.0));
  gather_element(1);
  const double* x = active(ACTIVE.COREL);
  double* t = active(ACTIVE.DESLO);
  for (int n = 0; n < 4; ++n) t[n] = x[2 * n] + 3 * x[2 * n + 1];
  task(ElementTask::smoothing);
  const double volume = 2.0 * 1.0 * 0.5;
  double m = 0.0, r[2] = {};
  for (int i = 0; i < 16; ++i) m += active(ACTIVE.RIGID)[i];
  for (int k = 0; k < 4; ++k)
    for (int c = 0; c < 2; ++c) r[c] += active(ACTIVE.TENS1)[c + 2 * k];
  EXPECT_NEAR(m, volume, 1e-12);
  EXPECT_NEAR(r[0], 3.0 * volume, 1e-9);
  EXPECT_NEAR(r[1], 18.0 * volume, 1e-9);
  for (int k = 0; k < 4; ++k) {
    active(ACTIVE.TENEL)[2 * k] = 3.0;
    active(ACTIVE.TENEL)[2 * k + 1] = 18.0;
  }
  task(ElementTask::error_estimate);
  EXPECT_NEAR(ACTIVE.error_measure, 0.0, 1e-12);
  EXPECT_NEAR(ACTIVE.reference_measure, (3.0 * 3.0 / 3.0 + 18.0 * 18.0 / 6.0) * volume, 1e-9);
  active(ACTIVE.TENEL)[0] = 4.0;  // one nodal value off: a positive error
  task(ElementTask::error_estimate);
  EXPECT_GT(ACTIVE.error_measure, 0.0);
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
  // The plate family answers: the deflection of the whole plate as a rigid body
  // stores no energy.
  test::run_task(1, ElementTask::stiffness);
  const double* k = WORK.reals(ACTIVE.RIGID);
  for (int i = 0; i < 9; ++i) {
    double sum = 0.0;
    for (int j = 0; j < 9; j += 3) sum += k[i + 9 * j];
    EXPECT_NEAR(sum, 0.0, 1e-12) << i;
  }
  reset_active_set();
  reset_run_state();
}

}  // namespace
}  // namespace vortan
