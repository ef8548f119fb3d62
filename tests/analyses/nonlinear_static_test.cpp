// The nonlinear static analysis end to end: a linear model converges in one iteration
// to the static linear answer; a slender cantilever under a large end load follows the
// elastica; a slender column with a small initial offset buckles at the Euler load;
// full Newton converges quadratically and the initial stiffness linearly; an increment
// without iterations stops; and the convergence measure of the driver.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include "listing_tables.h"
#include "results/equilibrium.h"
#include "run_decks_nonlinear.h"

namespace vortan {
namespace {

std::vector<double> residual_norms(const std::string& sal) {
  std::vector<double> norms;
  const std::regex line("NORMA DEL RESIDUO =\\s*(\\S+)");
  for (auto it = std::sregex_iterator(sal.begin(), sal.end(), line); it != std::sregex_iterator(); ++it)
    norms.push_back(std::strtod((*it)[1].str().c_str(), nullptr));
  return norms;
}

// The converged displacement table of the last increment.
std::map<int, std::vector<double>> last_converged(const std::string& sal) {
  const std::size_t at = sal.rfind(" ITERACIONES ");
  return test::displacements(sal.substr(sal.rfind('\n', at)));
}

// The tip of a cantilever elastica under a dead end load, alpha = P L^2 / (E I):
// theta'' = -alpha cos(theta), theta(0) = 0, theta'(1) = 0, solved by shooting;
// returns the tip deflection, the shortening (both over L) and the tip rotation.
struct Elastica { double deflection, shortening, rotation; };
Elastica elastica(double alpha) {
  auto shoot = [&](double slope, Elastica* tip) {
    const int n = 2000;
    const double h = 1.0 / n;
    double y[4] = {0.0, slope, 0.0, 0.0};  // theta, theta', integral sin, integral cos
    auto f = [&](const double* s, double* d) {
      d[0] = s[1]; d[1] = -alpha * std::cos(s[0]); d[2] = std::sin(s[0]); d[3] = std::cos(s[0]);
    };
    for (int i = 0; i < n; ++i) {
      double k1[4], k2[4], k3[4], k4[4], t[4];
      f(y, k1);
      for (int j = 0; j < 4; ++j) t[j] = y[j] + 0.5 * h * k1[j];
      f(t, k2);
      for (int j = 0; j < 4; ++j) t[j] = y[j] + 0.5 * h * k2[j];
      f(t, k3);
      for (int j = 0; j < 4; ++j) t[j] = y[j] + h * k3[j];
      f(t, k4);
      for (int j = 0; j < 4; ++j) y[j] += h / 6.0 * (k1[j] + 2 * k2[j] + 2 * k3[j] + k4[j]);
    }
    if (tip != nullptr) *tip = {y[2], 1.0 - y[3], y[0]};
    return y[1];
  };
  double lo = 0.0, hi = alpha;  // theta'(1) falls with the initial slope's deficit
  for (int i = 0; i < 100; ++i) {
    const double mid = 0.5 * (lo + hi);
    (shoot(mid, nullptr) > 0.0 ? hi : lo) = mid;
  }
  Elastica tip{};
  shoot(0.5 * (lo + hi), &tip);
  return tip;
}

TEST(NonlinearStatic, LinearModelConvergesInOneIterationToTheStaticLinearAnswer) {
  test::TempDir nonlinear_dir, linear_dir;
  int status = 1;
  const std::string sal = test::run_deck_text(nonlinear_dir, "N", test::two_element_nonlinear_deck(), &status);
  ASSERT_EQ(status, 0);
  const std::string linear = test::run_deck_text(linear_dir, "L", test::two_element_deck(), &status);
  ASSERT_EQ(status, 0);
  EXPECT_NE(sal.find("ITERACION:    1   CODIGO DE CONVERGENCIA =   0"), std::string::npos);
  EXPECT_EQ(sal.find("ITERACION:    2"), std::string::npos);
  const auto u = last_converged(sal), expected = test::displacements(linear);
  ASSERT_EQ(u.size(), expected.size());
  for (const auto& [node, values] : expected)
    for (std::size_t c = 0; c < values.size(); ++c) EXPECT_NEAR(u.at(node)[c], values[c], 1e-6 * std::fabs(values[c]) + 1e-12) << node;
  // The curve file: heading, then increment, load factor and the traced component.
  const auto curve = test::lines_of(test::read_file(nonlinear_dir.file("N.c48")));
  ASSERT_EQ(curve.size(), 2u);
  EXPECT_EQ(curve[0].rfind("# INCREMENTO", 0), 0u);
  EXPECT_NEAR(std::strtod(curve[1].substr(26).c_str(), nullptr), expected.at(6)[1], 1e-6 * std::fabs(expected.at(6)[1]));
}

// A QU8 cantilever 10 long and 1 deep (E I = 1000) loaded to P L^2 / (E I) = 2 in
// four increments: tip deflection, shortening and rotation against the elastica
// within 2 % (the shear of a beam of span/depth 10 adds about 0.8 %).
TEST(NonlinearStatic, CantileverFollowsTheElastica) {
  test::TempDir dir;
  int status = 1;
  const test::CantileverDeck deck{};
  const std::string sal = test::run_deck_text(dir, "C", test::nonlinear_cantilever(deck, {0.25, 0.25, 0.25, 0.25}), &status);
  ASSERT_EQ(status, 0);
  const auto curve = test::lines_of(test::read_file(dir.file("C.c48")));
  ASSERT_EQ(curve.size(), 5u);
  const auto u = last_converged(sal);
  const int n = deck.elements;
  const auto& bottom = u.at(test::cantilever_bottom(deck, 2 * n));
  const auto& middle = u.at(test::cantilever_middle(deck, n));
  const auto& top = u.at(test::cantilever_top(deck, 2 * n));
  const Elastica exact = elastica(2.0);
  EXPECT_NEAR(-middle[1] / deck.length, exact.deflection, 0.02 * exact.deflection);
  EXPECT_NEAR(-middle[0] / deck.length, exact.shortening, 0.02 * exact.shortening);
  const double rotation = std::atan2(top[0] - bottom[0], deck.depth + top[1] - bottom[1]);
  EXPECT_NEAR(rotation, exact.rotation, 0.02 * exact.rotation);
  // Every increment's point of the curve lies on the elastica too.
  for (int k = 1; k <= 4; ++k) {
    const double factor = std::strtod(curve[k].substr(8, 18).c_str(), nullptr);
    const double v = std::strtod(curve[k].substr(26).c_str(), nullptr);
    const double expected = elastica(2.0 * factor).deflection;
    EXPECT_NEAR(-v / deck.length, expected, 0.02 * expected) << k;
  }
}

// The same cantilever at P L^2 / (E I) = 0.1, one increment, tolerance 1e-6 %: full
// Newton squares its error (three iterations after the first), the initial stiffness
// kept in memory reduces it by a roughly constant factor.
TEST(NonlinearStatic, FullNewtonConvergesQuadraticallyAndInitialStiffnessLinearly) {
  test::TempDir newton_dir, initial_dir;
  test::CantileverDeck deck;
  deck.load = 0.1;
  deck.tolerance = 1e-6;
  deck.iterations = 60;
  deck.algorithm = "RECALCULASIEMPRE";
  const auto newton = residual_norms(test::run_deck_text(newton_dir, "N", test::nonlinear_cantilever(deck, {1.0})));
  deck.algorithm = "INICIAL";
  deck.set_cards = "MATRIZK MEMORIA\n";
  const auto initial = residual_norms(test::run_deck_text(initial_dir, "I", test::nonlinear_cantilever(deck, {1.0})));
  // Measured: 474, 7.9e-3, 4.7e-10 (Newton); 474, 12.3, 12.4, 0.63, 0.33, 2.5e-2,
  // 9.2e-3, 8.6e-4, 2.6e-4, 2.9e-5, 7.3e-6, 9.1e-7 (initial stiffness).
  ASSERT_EQ(newton.size(), 3u);
  EXPECT_LE(newton.back(), 1e-6);
  // Quadratic: the last norm is below the square of the one before (in percent); a
  // linear rate would leave it near a fixed fraction of it.
  EXPECT_LT(newton[2], newton[1] * newton[1]);
  EXPECT_LT(newton[2] / newton[1], 1e-5);
  ASSERT_GE(initial.size(), 10u);
  EXPECT_LE(initial.back(), 1e-6);
  // Linear: over the last iterations the reduction factor per two iterations stays
  // between 0.01 and 0.5.
  for (std::size_t i = initial.size() - 6; i + 2 < initial.size(); ++i) {
    const double ratio = initial[i + 2] / initial[i];
    EXPECT_GT(ratio, 0.01) << i;
    EXPECT_LT(ratio, 0.5) << i;
  }
  // Both reach the same tip deflection.
  const auto un = last_converged(test::read_file(newton_dir.file("N.sal")));
  const auto ui = last_converged(test::read_file(initial_dir.file("I.sal")));
  const int tip = test::cantilever_middle(deck, deck.elements);
  EXPECT_NEAR(ui.at(tip)[1], un.at(tip)[1], 1e-6 * std::fabs(un.at(tip)[1]));
}

// The tip deflection over L of the perfect clamped-free elastica at P / P_cr = r > 1:
// r = (2 K(k) / pi)^2 with k = sin(alpha / 2) of the tip angle alpha, deflection 2 k / K(k).
double buckled_cantilever(double r) {
  auto complete_elliptic = [](double k) {
    double a = 1.0, b = std::sqrt(1.0 - k * k);
    for (int i = 0; i < 40; ++i) {
      const double m = 0.5 * (a + b);
      b = std::sqrt(a * b);
      a = m;
    }
    return M_PI / (2.0 * a);
  };
  double lo = 0.0, hi = 0.999;
  for (int i = 0; i < 100; ++i) {
    const double k = 0.5 * (lo + hi);
    (std::pow(2.0 * complete_elliptic(k) / M_PI, 2) < r ? lo : hi) = k;
  }
  return 2.0 * lo / complete_elliptic(lo);
}

// A clamped-free QU8 column (the cantilever above: 20 elements, L = 10, E I = 1000)
// whose axis starts with the lateral offset a (1 - cos(pi x / 2 L)), a = L / 1000, is
// compressed by an end load in 16 increments up to 1.054 times the Euler load
// P_cr = pi^2 E I / (2 L)^2 = 24.674. Below P_cr the tip deflection is
// d = a (P / P_cr) / (1 - P / P_cr), so d / P against d is a line of slope 1 / P_cr
// (Southwell) whose intercept gives a. Measured: P_cr 24.527 (-0.6 %, the shear of a
// column of slenderness 20 lowers it by 0.6 %), a 0.00992; the tip deflection goes from
// 0.0025 at P = 5 to 0.87 at 24.3 and 4.29 at 26 (elastica 4.12 at that P over the fitted P_cr).
TEST(NonlinearStatic, EulerColumnDeflectsWithoutBoundAtTheCriticalLoad) {
  test::TempDir dir;
  test::CantileverDeck deck;
  deck.load = 0.0;
  deck.axial = -1.0;
  deck.offset = deck.length / 1000;
  deck.iterations = 30;
  const double euler = M_PI * M_PI * 1000.0 / std::pow(2.0 * deck.length, 2);
  const std::vector<double> levels = {5, 10, 14, 17, 19, 20.5, 21.5, 22.3, 23.0, 23.5, 24.0, 24.3, 24.6, 25.0, 25.5, 26.0};
  std::vector<double> factors;
  double reached = 0.0;
  for (double p : levels) factors.push_back(p - reached), reached = p;
  int status = 1;
  test::run_deck_text(dir, "E", test::nonlinear_cantilever(deck, factors), &status);
  ASSERT_EQ(status, 0);
  const auto curve = test::lines_of(test::read_file(dir.file("E.c48")));
  ASSERT_EQ(curve.size(), levels.size() + 1);
  std::vector<double> load, deflection;
  for (std::size_t k = 1; k < curve.size(); ++k) {
    load.push_back(-std::strtod(curve[k].substr(8, 18).c_str(), nullptr) * deck.axial);
    deflection.push_back(std::strtod(curve[k].substr(26).c_str(), nullptr));
    EXPECT_NEAR(load.back(), levels[k - 1], 1e-6);
    if (k > 1) {
      EXPECT_GT(deflection[k - 1], deflection[k - 2]);
    }
  }
  // Southwell line through the points below 0.96 P_cr (deflections under L / 40).
  double sx = 0, sy = 0, sxx = 0, sxy = 0;
  int n = 0;
  for (std::size_t k = 0; k < load.size() && load[k] < 0.96 * euler; ++k, ++n) {
    const double x = deflection[k], y = deflection[k] / load[k];
    sx += x, sy += y, sxx += x * x, sxy += x * y;
  }
  ASSERT_EQ(n, 10);
  const double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
  const double intercept = (sy - slope * sx) / n;
  const double southwell = 1.0 / slope;
  EXPECT_NEAR(southwell, euler, 0.02 * euler);
  EXPECT_NEAR(intercept * southwell, deck.offset, 0.05 * deck.offset);
  // Near P_cr the deflection is out of all proportion to the offset, and past it the
  // column stands in its buckled shape, on the elastica of the perfect column.
  EXPECT_GT(deflection[11], 50 * deck.offset);
  const double buckled = buckled_cantilever(load.back() / southwell) * deck.length;
  EXPECT_NEAR(deflection.back(), buckled, 0.08 * buckled);
}

TEST(NonlinearStatic, IncrementWithoutIterationsStops) {
  test::TempDir dir;
  test::CantileverDeck deck;
  deck.iterations = 0;
  int status = 0;
  const std::string sal = test::run_deck_text(dir, "Z", test::nonlinear_cantilever(deck, {1.0}), &status);
  EXPECT_EQ(status, 1);
  EXPECT_NE(sal.find("NO HAY CONVERGENCIA EN EL INCREMENTO NUMERO     1"), std::string::npos);
  EXPECT_NE(sal.find("NOLING: MAXIMO NUMERO DE ITERACIONES"), std::string::npos);
  EXPECT_EQ(sal.find("ITERACION:"), std::string::npos);
}

TEST(NonlinearStatic, ConvergenceMeasure) {
  // A norm equal to the tolerance converges; above it, a rise from the second
  // iteration on is divergence; within it, a rise still converges.
  EXPECT_EQ(convergence_code(0.5, 0.5, 1, 0.0), 0);
  EXPECT_EQ(convergence_code(0.5, 0.5, 3, 0.1), 0);
  EXPECT_EQ(convergence_code(0.6, 0.5, 1, 0.0), 1);
  EXPECT_EQ(convergence_code(0.6, 0.5, 2, 0.7), 1);
  EXPECT_EQ(convergence_code(0.6, 0.5, 2, 0.55), 999);
  // Free positions only: the restrained one carries a reaction.
  const double p[3] = {3.0, 0.0, 4.0}, s[3] = {3.0, 7.0, 3.0};
  const std::int32_t iffix[3] = {0, 1, 0};
  const ResidualMeasure m = residual_measure(p, s, iffix, 3);
  EXPECT_DOUBLE_EQ(m.norm, 20.0);
  EXPECT_DOUBLE_EQ(m.largest, 1.0);
  // No load on the free positions: relative to the internal forces, 0 when all vanish.
  const double none[3] = {0.0, 0.0, 0.0}, some[3] = {0.0, 3.0, 4.0};
  EXPECT_DOUBLE_EQ(residual_measure(none, some, iffix, 3).norm, 100.0 * 4.0 / 5.0);
  EXPECT_DOUBLE_EQ(residual_measure(none, none, iffix, 3).norm, 0.0);
}

}  // namespace
}  // namespace vortan
