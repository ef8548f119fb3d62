// Explicit dynamics end to end on the one-degree-of-freedom bar (omega = 1, and the
// bar's other mode too): central differences against their closed form
// u_n = 1 - cos(n wbar h), sin(wbar h / 2) = omega h / 2, below the critical step and
// after the automatic reduction to 1.6 / omega_max; the initial conditions; and the
// accelerogram interpolation, load function and output instants.
#include <gtest/gtest.h>

#include <cmath>

#include "analyses/dynamics_common.h"
#include "dynamics_decks.h"

namespace vortan {
namespace {

using test::DynamicsDeck;
using test::StepState;

std::vector<StepState> run_explicit(DynamicsDeck deck, int* status = nullptr) {
  deck.analysis = "DINAMICO-EXPLICITO";
  deck.method = "";
  test::TempDir dir;
  return test::end_history(test::run_deck_text(dir, "bar", deck.text(), status));
}

TEST(ExplicitDynamics, CentralDifferencesBelowTheCriticalStepFollowTheirClosedForm) {
  DynamicsDeck deck;
  const double h = 0.1;
  deck.switches = "IFUNC=1 KSTEP=50";
  deck.times = "DTIME=0.1 ENDTM=20.0 TOUTD=0.1 TOUTP=0.1 DTEND=1000";
  int status = -1;
  const auto hist = run_explicit(deck, &status);
  ASSERT_EQ(status, 0);
  ASSERT_EQ(hist.size(), 201u);
  const double wbar_h = 2 * std::asin(h / 2);
  double peak = 0.0;
  for (const StepState& s : hist) {
    EXPECT_NEAR(s.time, s.step * h, 1e-6);
    EXPECT_NEAR(s.u, 1.0 - std::cos(s.step * wbar_h), 6e-6) << "step " << s.step;
    peak = std::max(peak, s.u);
  }
  EXPECT_NEAR(peak, 2.0, 0.005);
  // The period is shortened: by t = 20 the response has left 1 - cos t.
  EXPECT_GT(std::fabs(hist.back().u - (1.0 - std::cos(20.0))), 5e-3);
}

TEST(ExplicitDynamics, TheStepIsCutToTheStabilityLimitAndNeverGrowsBack) {
  DynamicsDeck deck;
  deck.switches = "IFUNC=1 KSTEP=1";
  deck.times = "DTIME=5.0 ENDTM=8.0 TOUTD=0.0001 TOUTP=0.0001 DTEND=1000";
  int status = -1;
  const auto hist = run_explicit(deck, &status);
  ASSERT_EQ(status, 0);
  // omega_max = 1: every step is 1.6 (single precision); the fifth reaches 8.
  const double h = static_cast<double>(1.6f);
  ASSERT_EQ(hist.size(), 6u);
  for (const StepState& s : hist) {
    EXPECT_NEAR(s.time, s.step * h, 1e-5);
    EXPECT_NEAR(s.u, 1.0 - std::cos(s.step * 2 * std::asin(h / 2)), 6e-6) << "step " << s.step;
  }
}

TEST(ExplicitDynamics, InitialConditionsStartTheHalfStepVelocity) {
  DynamicsDeck deck;
  const double h = 0.2;
  deck.end_load = 0.0;
  deck.switches = "IFUNC=1 KSTEP=100";
  deck.times = "DTIME=0.2 ENDTM=10.0 TOUTD=0.2 TOUTP=0.2 DTEND=1000";
  deck.initial =
      "DESPLAZAMIENTOS_INICIALES\n2 0.3 0\n4 0.3 0\nFIN_DE\nVELOCIDADES_INICIALES\n2 0.4 0\n4 0.4 0\nFIN_VE\n";
  const auto hist = run_explicit(deck);
  ASSERT_EQ(hist.size(), 51u);
  EXPECT_NEAR(hist[0].a, -0.3, 1e-12);
  // u1 = u0 + h (v0 + a0 h / 2) starts u_n = 0.3 cos(n wbar h) + B sin(n wbar h).
  const double wbar_h = 2 * std::asin(h / 2), b = 0.4 * h / std::sin(wbar_h);
  for (const StepState& s : hist)
    EXPECT_NEAR(s.u, 0.3 * std::cos(s.step * wbar_h) + b * std::sin(s.step * wbar_h), 2e-6) << "step " << s.step;
}

TEST(ExplicitDynamics, GroundAccelerationFromTheAccelerogramMovesTheBarRelativeToTheGround) {
  DynamicsDeck deck;
  const double h = 0.1;
  deck.analysis = "DINAMICO-EXPLICITO";
  deck.method = "";
  deck.end_load = 0.0;
  deck.switches = "IFUNC=0 IFIXD=1 KSTEP=100";
  deck.times = "DTIME=0.1 ENDTM=5.0 TOUTD=0.1 TOUTP=0.1 DTREC=0.05 AALFA=2.0";
  test::TempDir dir;
  std::string records = "$ a constant ground acceleration of 1 in x, every 0.05 s\n";
  for (int i = 0; i < 200; ++i) records += "1.0\n";
  test::write_file(dir.file("bar.acx"), records);
  int status = -1;
  const std::string listing = test::run_deck_text(dir, "bar", deck.text(), &status);
  ASSERT_EQ(status, 0) << listing.substr(listing.size() > 2000 ? listing.size() - 2000 : 0);
  const auto hist = test::end_history(listing);
  ASSERT_EQ(hist.size(), 51u);
  // A ground acceleration 2 x 1 acts as the end load -m 2: u_n = -2 (1 - cos(n wbar h)).
  const double wbar_h = 2 * std::asin(h / 2);
  for (const StepState& s : hist)
    EXPECT_NEAR(s.u, -2.0 * (1.0 - std::cos(s.step * wbar_h)), 1.2e-5) << "step " << s.step;
  // Without the file the run stops in the file set.
  test::TempDir empty;
  test::run_deck_text(empty, "bar", deck.text(), &status);
  EXPECT_NE(status, 0);
}

TEST(DynamicsCommon, AccelerogramInterpolation) {
  const std::vector<double> records = {1.0, 3.0, -1.0};  // at t = 0, 0.5, 1.0
  const double dtrec = 0.5;
  EXPECT_EQ(accelerogram_value(records, dtrec, 0.0), 0.0);
  EXPECT_DOUBLE_EQ(accelerogram_value(records, dtrec, 0.5), 3.0);  // phi = 0: the record itself
  EXPECT_DOUBLE_EQ(accelerogram_value(records, dtrec, 0.25), 2.0);
  EXPECT_DOUBLE_EQ(accelerogram_value(records, dtrec, 0.875), 0.0);
  EXPECT_DOUBLE_EQ(accelerogram_value(records, dtrec, 1.0), -1.0);  // the last record
  EXPECT_EQ(accelerogram_value(records, dtrec, 1.01), 0.0);          // beyond the record
  EXPECT_EQ(accelerogram_value({}, dtrec, 0.3), 0.0);
  EXPECT_EQ(accelerogram_value(records, 0.0, 0.3), 0.0);
}

TEST(DynamicsCommon, LoadFunctionAndOutputInstants) {
  EXPECT_EQ(load_factor(1, 0.0, 1.0, 1.0, 0.0, 0.0), 0.0);
  EXPECT_EQ(load_factor(1, 1e-9, 1.0, 1.0, 0.0, 0.0), 1.0);
  EXPECT_EQ(load_factor(1, 1.0, 1.0, 1.0, 0.0, 0.0), 1.0);
  EXPECT_EQ(load_factor(1, 1.0 + 1e-12, 1.0, 1.0, 0.0, 0.0), 0.0);
  EXPECT_DOUBLE_EQ(load_factor(2, 0.5, 1.0, 0.5, 2.0, M_PI), 2.5);
  EXPECT_EQ(load_factor(0, 0.5, 1.0, 1.0, 1.0, 1.0), 0.0);
  EXPECT_EQ(load_factor(3, 0.5, 1.0, 1.0, 1.0, 1.0), 0.0);
  // Every multiple of the interval is reached once, whatever rounding did to t.
  int hits = 0;
  double t = 0.0;
  for (int n = 0; n < 100; ++n) {
    t += 0.1;
    hits += passes_multiple(t, 0.1, 0.5) ? 1 : 0;
  }
  EXPECT_EQ(hits, 20);
  EXPECT_TRUE(passes_multiple(0.3, 0.3, 0.25));  // a multiple passed inside the step
  EXPECT_FALSE(passes_multiple(0.3, 0.3, 0.0));
}

}  // namespace
}  // namespace vortan
