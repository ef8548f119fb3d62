// Static linear analyses run end to end; results checked against closed forms.
#include <gtest/gtest.h>

#include <cmath>

#include "listing_tables.h"

namespace vortan {
namespace {

using test::displacements;
using test::reactions;

std::string run(const test::TempDir& dir, const std::string& relative, int* status = nullptr) {
  const std::string name = relative.substr(relative.rfind('/') + 1, relative.size() - relative.rfind('/') - 5);
  return test::run_deck_text(dir, name, test::source_file(relative), status);
}

// The linear field u = 1e-3 (x + y/2), v = 1e-3 (y + x/2) that the boundary of the
// QU4 patch prescribes is reproduced at the interior nodes; stresses are uniform:
// sx = sy = E/(1-nu^2) (1 + nu) 1e-3 = 1333.33, txy = E/(2(1+nu)) 1e-3 = 400.
TEST(StaticLinear, QuadrilateralPatchReproducesTheLinearField) {
  test::TempDir dir;
  int status = 0;
  const std::string sal = run(dir, "tests/cases/static/patch-qu4-plane-stress.vtn", &status);
  ASSERT_EQ(status, 0);
  const double coords[8][2] = {{0, 0}, {0.24, 0}, {0.24, 0.12}, {0, 0.12},
                               {0.04, 0.02}, {0.18, 0.03}, {0.16, 0.08}, {0.08, 0.08}};
  const auto u = displacements(sal);
  for (int n = 5; n <= 8; ++n) {
    const double x = coords[n - 1][0], y = coords[n - 1][1];
    EXPECT_NEAR(u.at(n)[0], 1e-3 * (x + y / 2), 1e-9) << n;
    EXPECT_NEAR(u.at(n)[1], 1e-3 * (y + x / 2), 1e-9) << n;
  }
  // Reactions of a self-equilibrated boundary: they sum to zero.
  const auto r = reactions(sal);
  EXPECT_NEAR(test::column_sum(r, 0), 0.0, 1e-6);
  EXPECT_NEAR(test::column_sum(r, 1), 0.0, 1e-6);
}

// The HE20 patch: u = 1e-3 (x + y/2 + z/2), v = 1e-3 (x/2 + y + z/2),
// w = 1e-3 (x/2 + y/2 + z) at every node of a distorted mesh of bricks.
TEST(StaticLinear, SerendipityBrickPatchReproducesTheLinearField) {
  test::TempDir dir;
  int status = 0;
  const std::string sal = run(dir, "tests/cases/static/patch-he20-solid.vtn", &status);
  ASSERT_EQ(status, 0);
  const std::string deck = test::source_file("tests/cases/static/patch-he20-solid.vtn");
  // The coordinate cards, from node 1 to the end of the geometry block.
  const std::size_t first = deck.find("\n1 0.0 0.0 0.0");
  const std::string cards = deck.substr(first, deck.find("FIN_GEOMETRIA") - first);
  const auto coords = test::node_table("\n" + cards + "\n", "");
  const auto u = displacements(sal);
  ASSERT_EQ(u.size(), 48u);
  for (const auto& [node, d] : u) {
    ASSERT_EQ(coords.count(node), 1u) << node;
    const std::vector<double>& x = coords.at(node);
    EXPECT_NEAR(d[0], 1e-3 * (x[0] + x[1] / 2 + x[2] / 2), 1e-10) << node;
    EXPECT_NEAR(d[1], 1e-3 * (x[0] / 2 + x[1] + x[2] / 2), 1e-10) << node;
    EXPECT_NEAR(d[2], 1e-3 * (x[0] / 2 + x[1] / 2 + x[2]), 1e-10) << node;
  }
}

// The example cantilever: the end shear 1 gives a tip deflection near the beam value
// P L^3/(3EI) + P L/(k G A) = 4.03; clamping the whole root section stiffens it
// slightly. The root reactions balance the load and its moment of 10.
TEST(StaticLinear, CantileverWithDistributedEndShear) {
  test::TempDir dir;
  int status = 0;
  const std::string sal = run(dir, "examples/cantilever-plane-stress.vtn", &status);
  ASSERT_EQ(status, 0);
  const auto u = displacements(sal);
  EXPECT_NEAR(u.at(32)[1], -4.03, 0.01 * 4.03);
  const auto r = reactions(sal);
  EXPECT_NEAR(test::column_sum(r, 1), 1.0, 1e-9);
  EXPECT_NEAR(test::column_sum(r, 0), 0.0, 1e-9);
  // Moment about the root centre (y = 0.5) of the horizontal reactions.
  EXPECT_NEAR(r.at(1)[0] * (0 - 0.5) + r.at(33)[0] * (1 - 0.5), -10.0, 1e-6);
}

// Lame cylinder a = 1, b = 2, p = 100, E = 1000, nu = 0.3, plane strain along the axis:
// bore displacement 0.19067; stresses s_r = A - B/r^2, s_t = A + B/r^2 with
// A = 100/3, B = 400/3 at the integration points.
TEST(StaticLinear, ThickCylinderUnderInternalPressure) {
  test::TempDir dir;
  int status = 0;
  const std::string sal = run(dir, "examples/thick-cylinder.vtn", &status);
  ASSERT_EQ(status, 0);
  const double nu = 0.3, p = 100, E = 1000;
  const double bore = (1 + nu) * p / (E * 3) * ((1 - 2 * nu) + 4);
  EXPECT_NEAR(displacements(sal).at(1)[0], bore, 2e-3 * bore);
  // The integration-point lines of element 1: point, r, z, sr, sz, trz, st.
  const auto lines = test::lines_of(sal.substr(sal.find(" ELEMENTO:       1\n    1")));
  for (int g = 1; g <= 9; ++g) {
    std::istringstream in(lines[g]);
    double point, r, z, sr, sz, trz, st;
    in >> point >> r >> z >> sr >> sz >> trz >> st;
    const double A = 100.0 / 3, B = 400.0 / 3;
    EXPECT_NEAR(sr, A - B / (r * r), 0.01 * p) << g;
    EXPECT_NEAR(st, A + B / (r * r), 0.005 * (A + B)) << g;
    EXPECT_NEAR(sz, nu * (sr + st), 0.01 * p) << g;
  }
}

// A column under its own weight: the reactions carry the weight 8 and the nodal
// displacements of the linear bricks are those of the bar, w = -gamma (H z - z^2/2)/E.
TEST(StaticLinear, SolidColumnUnderSelfWeight) {
  test::TempDir dir;
  int status = 0;
  const std::string sal = run(dir, "examples/solid-column-self-weight.vtn", &status);
  ASSERT_EQ(status, 0);
  EXPECT_NEAR(test::column_sum(reactions(sal), 2), 8.0, 1e-9);
  const auto u = displacements(sal);
  for (int level = 0; level <= 4; ++level) {
    const double z = level, expected = -2.0 * (4 * z - z * z / 2) / 1000;
    for (int k = 1; k <= 4; ++k) EXPECT_NEAR(u.at(4 * level + k)[2], expected, 1e-12) << level;
  }
}

// The bracket of the iterative solvers run with every solver card: each listing's
// displacement and reaction tables give those of LDLT to the last of their six
// printed digits (1e-5 of the largest value; the solutions themselves agree to 1e-6,
// see the solve tests), the settled node keeps its value, and the iterative runs list
// their convergence history and end normally.
TEST(StaticLinear, EverySolverCardGivesTheLdltTables) {
  const std::string deck = test::source_file("tests/cases/static/iterative-solvers-he8.vtn");
  const std::string card = "SOLVER GRADIENTE_CONJUGADO SPARCE PRECONDICIONADO GMRES\n";
  ASSERT_NE(deck.find(card), std::string::npos);
  auto run_with = [&](const std::string& solver, int* status) {
    test::TempDir dir;
    std::string text = deck;
    text.replace(text.find(card), card.size(), "SOLVER " + solver + "\n");
    return test::run_deck_text(dir, "bracket", text, status);
  };
  int status = 0;
  const std::string ldlt = run_with("LDLT", &status);
  ASSERT_EQ(status, 0);
  const auto u = displacements(ldlt), r = reactions(ldlt);
  ASSERT_EQ(u.size(), 45u);
  EXPECT_EQ(u.at(21)[2], -1.0e-4);
  auto largest = [](const std::map<int, std::vector<double>>& t) {
    double m = 0.0;
    for (const auto& [node, values] : t)
      for (double v : values) m = std::max(m, std::abs(v));
    return m;
  };
  for (const char* solver : {"ELIMINACION_GAUSS", "GRADIENTE_CONJUGADO", "GRADIENTE_CONJUGADO PRECONDICIONADO",
                             "GRADIENTE_CONJUGADO SPARCE", "GRADIENTE_CONJUGADO SPARCE PRECONDICIONADO",
                             "GRADIENTE_CONJUGADO SPARCE GMRES", "GRADIENTE_CONJUGADO SPARCE PRECONDICIONADO GMRES"}) {
    const std::string sal = run_with(solver, &status);
    ASSERT_EQ(status, 0) << solver;
    EXPECT_EQ(sal.find(" ITERACION CONVERGENCIA\n") != std::string::npos,
              std::string(solver).rfind("GRADIENTE", 0) == 0) << solver;
    for (const auto& [table, expected] : {std::pair{displacements(sal), u}, std::pair{reactions(sal), r}}) {
      ASSERT_EQ(table.size(), expected.size()) << solver;
      const double scale = largest(expected);
      for (const auto& [node, values] : expected)
        for (std::size_t c = 0; c < values.size(); ++c)
          EXPECT_NEAR(table.at(node)[c], values[c], 1e-5 * scale) << solver << " node " << node;
    }
  }
}

// Every bundled deck reads and runs to a normal end: timing report and final banner.
TEST(StaticLinear, EveryBundledDeckRunsToANormalEnd) {
  for (const char* deck : {"cantilever-qu8-plane-stress", "echo-and-ldlt-bar", "global-point-loads-two-sets",
                           "imposed-strain-qu8", "patch-he20-solid", "patch-qu4-plane-stress",
                           "range-restraints-qu4", "self-weight-column", "thick-cylinder-axisymmetric-qu8",
                           "iterative-solvers-he8"}) {
    test::TempDir dir;
    int status = 0;
    const std::string sal = run(dir, std::string("tests/cases/static/") + deck + ".vtn", &status);
    EXPECT_EQ(status, 0) << deck;
    EXPECT_NE(sal.find("I N F O R M A C I O N    DE    T I E M P O S"), std::string::npos) << deck;
    EXPECT_NE(sal.find("SEPTIEMBRE DE 1999"), std::string::npos) << deck;
  }
}

}  // namespace
}  // namespace vortan
