// Implicit dynamics end to end on the one-degree-of-freedom bar (omega = 1): the
// trapezoidal rule against its closed-form behaviour (energy kept exactly, phase
// advancing 2 atan(omega h / 2) a step), Rayleigh damping decaying at xi omega, the
// initial conditions, the Newmark bounds, the end of the loop, and the stops of the
// initial-conditions reader.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "dynamics_decks.h"

namespace vortan {
namespace {

using test::DynamicsDeck;
using test::StepState;

std::string run(const DynamicsDeck& deck, int* status = nullptr) {
  test::TempDir dir;
  return test::run_deck_text(dir, "bar", deck.text(), status);
}

// The phase angle of the motion about the static position us: with omega = 1 the state
// (u - us, v) turns on a circle, e = -R cos(phi), v = R sin(phi).
double phase(const StepState& s, double us) { return std::atan2(s.v, -(s.u - us)); }

// Sum of the phase advances from state `from` on (each in (-pi, pi]).
double phase_travel(const std::vector<StepState>& h, std::size_t from, double us) {
  double total = 0.0;
  for (std::size_t i = from + 1; i < h.size(); ++i) total += std::remainder(phase(h[i], us) - phase(h[i - 1], us), 2 * M_PI);
  return total;
}

TEST(ImplicitDynamics, SuddenEndLoadKeepsTheTrapezoidalAmplitudeAndItsLongerPeriod) {
  DynamicsDeck deck;
  const double h = 0.1;
  deck.times = "DTIME=0.1 ENDTM=20.0 TOUTD=0.1 TOUTP=0.1 DTEND=1000";
  int status = -1;
  const std::string listing = run(deck, &status);
  ASSERT_EQ(status, 0) << listing.substr(listing.size() > 3000 ? listing.size() - 3000 : 0);
  EXPECT_NE(listing.find(" FRECUENCIA No.    1  0.100000000000E+01"), std::string::npos);
  const auto hist = test::end_history(listing);
  ASSERT_EQ(hist.size(), 201u);
  EXPECT_EQ(hist.back().step, 200);
  EXPECT_NEAR(hist.back().time, 20.0, 1e-9);
  // The load acts from the first step: u1 = h^2 / (4 + h^2) for unit stiffness and mass.
  EXPECT_NEAR(hist[1].u, h * h / (4 + h * h), 1e-7);
  // After the jump the state about the static displacement 1 keeps the radius
  // R^2 = 4 / (4 + h^2): no amplitude decay.
  double peak = 0.0;
  for (std::size_t i = 1; i < hist.size(); ++i) {
    const double e = hist[i].u - 1.0;
    EXPECT_NEAR(e * e + hist[i].v * hist[i].v, 4.0 / (4.0 + h * h), 2e-5) << "step " << i;
    peak = std::max(peak, hist[i].u);
  }
  // Peak twice the static value within the step error.
  EXPECT_NEAR(peak, 2.0, 0.005);
  // The phase advances 2 atan(h / 2) a step (period 2 pi / 0.99917 here), not h.
  const double travel = phase_travel(hist, 1, 1.0);
  EXPECT_NEAR(travel, 199 * 2 * std::atan(h / 2), 2e-4);
  EXPECT_GT(std::fabs(travel - 199 * h), 0.015);
}

TEST(ImplicitDynamics, InitialDisplacementAndVelocityStartAFreeVibration) {
  DynamicsDeck deck;
  deck.end_load = 0.0;
  deck.times = "DTIME=0.2 ENDTM=12.0 TOUTD=0.2 TOUTP=0.2 DTEND=1000";
  deck.initial =
      "DESPLAZAMIENTOS_INICIALES\n2 0.3 0\n4 9 9\n4 0.3 0\nFIN_DE\n"
      "VELOCIDADES_INICIALES\n2 0.4 0\n4 0.4 0\nFIN_VE\n";
  int status = -1;
  const std::string listing = run(deck, &status);
  ASSERT_EQ(status, 0);
  const auto hist = test::end_history(listing);
  ASSERT_EQ(hist.size(), 61u);
  EXPECT_NEAR(hist[0].u, 0.3, 1e-12);
  EXPECT_NEAR(hist[0].v, 0.4, 1e-12);
  // The start acceleration is the equilibrium one, a = -k u / m.
  EXPECT_NEAR(hist[0].a, -0.3, 1e-12);
  // u = 0.3 cos + 0.4 sin of the discrete phase: radius 0.5 from the first state on,
  // node 4 (given twice) the same as node 2.
  for (const StepState& s : hist) EXPECT_NEAR(s.u * s.u + s.v * s.v, 0.25, 2e-6) << "step " << s.step;
  const auto node4 = test::step_values(listing, "DESPLAZAMIENTOS EN EL PASO DE TIEMPO", 4);
  EXPECT_DOUBLE_EQ(node4.back().u, hist.back().u);
  EXPECT_NEAR(phase_travel(hist, 0, 0.0), 60 * 2 * std::atan(0.1), 1e-4);
}

TEST(ImplicitDynamics, DampingFromTheFundamentalFrequencyDecaysAtXiOmega) {
  DynamicsDeck deck;
  const double xi = 0.05;
  deck.times = "DTIME=0.05 ENDTM=20.0 TOUTD=0.05 TOUTP=0.05 DTEND=1000";
  deck.method = "NEWMARK AMORT=0.05\n";
  const auto hist = test::end_history(run(deck));
  ASSERT_EQ(hist.size(), 401u);
  // The amplitude about the static position, sqrt(e^2 + v^2) for omega = 1, follows
  // exp(-xi t) up to the ripple of order xi of a damped oscillation.
  auto radius = [](const StepState& s) { return std::hypot(s.u - 1.0, s.v); };
  const double decay = std::log(radius(hist.back()) / radius(hist[1]));
  EXPECT_NEAR(decay, -xi * (20.0 - 0.05), 0.06);
  // And it settles towards the static displacement.
  EXPECT_NEAR(hist.back().u, 1.0, 0.5);
}

// The curve files as docs/file-formats.md lays them out: the heading and one record per
// TOUTD=; the undamped trapezoidal rule keeps the total energy of a free vibration.
TEST(ImplicitDynamics, CurveFilesHoldTheHistoriesAndTheEnergyIsKept) {
  DynamicsDeck deck;
  deck.end_load = 0.0;
  deck.plot = "NREQD=2 NREQL=1 IENER=1";
  deck.node_lists = "4 2\n2\n";
  deck.times = "DTIME=0.1 ENDTM=3.0 TOUTD=0.5 TOUTP=10.0 DTEND=1000";
  deck.initial = "VELOCIDADES_INICIALES\n2 1.0 0\n4 1.0 0\nFIN_VE\n";
  test::TempDir dir;
  int status = -1;
  test::run_deck_text(dir, "bar", deck.text(), &status);
  ASSERT_EQ(status, 0);
  const std::string p11 = test::read_file(dir.file("bar.p11"));
  ASSERT_GE(p11.size(), 16u);
  std::int32_t head[4];
  std::memcpy(head, p11.data(), sizeof head);
  EXPECT_EQ(head[0], 2);  // nodes
  EXPECT_EQ(head[1], 2);  // values per node (NDIME)
  EXPECT_EQ(head[2], 4);
  EXPECT_EQ(head[3], 2);
  // Records at t = 0, 0.5, ..., 3.0: time and 2 x 2 displacements.
  const std::size_t width = 5 * sizeof(double);
  ASSERT_EQ(p11.size(), 16u + 7 * width);
  for (int r = 0; r < 7; ++r) {
    double rec[5];
    std::memcpy(rec, p11.data() + 16 + r * width, width);
    EXPECT_NEAR(rec[0], 0.5 * r, 1e-12);
    EXPECT_NEAR(rec[1], rec[3], 1e-12);  // nodes 4 and 2 move together
    EXPECT_EQ(rec[2], 0.0);     // restrained vertical motion
    // Unit speed from rest at the static position: u = sin of the discrete phase.
    EXPECT_NEAR(rec[1], std::sin(r * 5 * 2 * std::atan(0.05)), 1e-12);
  }
  const std::string p15 = test::read_file(dir.file("bar.p15"));
  ASSERT_EQ(p15.size(), 7 * 4 * sizeof(double));
  for (int r = 0; r < 7; ++r) {
    double e[4];
    std::memcpy(e, p15.data() + r * sizeof e, sizeof e);
    EXPECT_NEAR(e[3], 0.5, 1e-12) << "record " << r;  // 1/2 m v0^2 with m = 1
    EXPECT_NEAR(e[1] + e[2], e[3], 1e-15);
  }
  EXPECT_FALSE(test::read_file(dir.file("bar.p12")).empty());
  EXPECT_FALSE(test::file_exists(dir.file("bar.t47")));  // the scratch copy of K and M is gone
}

TEST(ImplicitDynamics, NewmarkConstantsAreRaisedToTheirLowerBounds) {
  struct Case {
    const char* card;
    const char* gamma;
    const char* beta;
  };
  for (const Case& c : {Case{"NEWMARK GAMMA=0.4", "0.500000E+00", "0.250000E+00"},
                        Case{"NEWMARK GAMMA=0.6 BETA1=0.25", "0.600000E+00", "0.302500E+00"},
                        Case{"NEWMARK GAMMA=0.6 BETA1=0.5", "0.600000E+00", "0.500000E+00"}}) {
    DynamicsDeck deck;
    deck.method = std::string(c.card) + "\n";
    const std::string listing = run(deck);
    const std::string gamma_line = std::string(" CONSTANTE DEL METODO NEWMARK        ") + c.gamma + "\n";
    const std::string beta_line = std::string(" CONSTANTE DEL METODO NEWMARK        ") + c.beta + "\n";
    EXPECT_NE(listing.find(gamma_line + beta_line), std::string::npos) << c.card;
  }
}

TEST(ImplicitDynamics, AStepTimeEqualToTheFinalTimeEndsTheLoop) {
  DynamicsDeck deck;
  deck.times = "DTIME=0.25 ENDTM=1.0 TOUTD=0.25 TOUTP=0.5 DTEND=0.5";
  const auto hist = test::end_history(run(deck));
  // Full outputs at t = 0, 0.5 and 1.0; the loop ends after step 4.
  ASSERT_EQ(hist.size(), 3u);
  EXPECT_EQ(hist[1].step, 2);
  EXPECT_EQ(hist[2].step, 4);
  EXPECT_NEAR(hist[2].time, 1.0, 1e-12);
}

TEST(ImplicitDynamics, InitialConditionStops) {
  struct Case {
    std::string lists, initial, message;
  };
  const Case cases[] = {
      {"2 4 1\n2\n", "", "INTIME : TARJETA EQUIVOCADA EN DESPLAZ."},
      {"2 4\nCARGAS\n", "", "INTIME : TARJETA EQUIVOCADA EN CARGAS"},
      {"2 4\n2\n", "DESPLAZAMIENTOS_INICIALES\n2 0.1\nFIN_DE\n", "INTIME : TARJETA EQUIVOCADA EN DESPLAZ."},
      {"2 4\n2\n", "DESPLAZAMIENTOS_INICIALES\n7 0.1 0\nFIN_DE\n", "INTIME : VERIFICAR NUMERO DE NODOS DESP."},
      {"2 4\n2\n", "VELOCIDADES_INICIALES\n0 0.1 0\nFIN_VE\n", "INTIME : VERIFICAR NUMERO DE NODOS VEL."},
      {"2 4\n2\n", "VELOCIDADES_INICIALES\nX 0.1 0\nFIN_VE\n", "INTIME : TARJETA EQUIVOCADA EN VELOCI."},
      {"2 4\n2\n", "DESPLAZAMIENTOS_INICIALES\n2 0.1 0\nFIN_DE\nFIN_CONDICIONES_INICIALES\n", "INTIME : TARJETA EQUIVOCADA"},
  };
  for (const Case& c : cases) {
    DynamicsDeck deck;
    deck.plot = "NREQD=2 NREQL=1";
    deck.node_lists = c.lists;
    deck.initial = c.initial;
    int status = 0;
    const std::string listing = run(deck, &status);
    EXPECT_NE(status, 0) << c.message;
    bool found = false;
    for (const std::string& line : test::lines_of(listing))
      found = found || line.substr(0, line.find_last_not_of(' ') + 1) == "     " + c.message;
    EXPECT_TRUE(found) << c.message;
  }
}

}  // namespace
}  // namespace vortan
