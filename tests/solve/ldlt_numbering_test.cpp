// Equation numbering and node renumbering of the LDLT path.
#include <algorithm>
#include <numeric>

#include "solve_fixture.h"
#include "solve/node_renumbering.h"

namespace vortan {
namespace {

using test::PlaneMesh;

constexpr int LDLT = 2;

class LdltNumbering : public test::SolveTest {};

// Without renumbering the nodes are taken in number order; prescribed degrees of
// freedom get -1, -2, ... in the order they are met.
TEST_F(LdltNumbering, WithoutRenumberingEquationsFollowNodeOrder) {
  PlaneMesh m;
  m.nx = 2;
  m.ny = 1;
  m.restraints = "1 1 1\n5 0 1\n";
  read(m.deck());
  SOLUTION.renumbering = 0;
  solve(LDLT);
  const std::int32_t* leqns = WORK.ints(SOLUTION.LEQNS);
  EXPECT_EQ(std::vector<std::int32_t>(leqns, leqns + 12),
            (std::vector<std::int32_t>{-1, -2, 1, 2, 3, 4, 5, 6, 7, -3, 8, 9}));
  EXPECT_EQ(SOLUTION.NEQNS, 9);
  EXPECT_EQ(SOLUTION.NPRES, 3);
}

// A strip numbered along its length has a profile of the strip's length; renumbered,
// of its width. The solution does not depend on the numbering.
TEST_F(LdltNumbering, RenumberingShrinksTheProfileOfABadlyNumberedStrip) {
  PlaneMesh m;
  m.nx = 30;
  m.ny = 2;
  m.lx = 30.0;
  m.ly = 2.0;
  m.restraints = "1 1 1\n32 1 1\n63 1 1\n";
  read(m.deck());
  SOLUTION.renumbering = 0;
  load(m.node(30, 2), 2, -1.0);
  const std::vector<double> natural = solve(LDLT).despl;
  const std::int64_t natural_profile = SOLUTION.profile_length;
  SOLUTION.renumbering = 1;
  const std::vector<double> renumbered = solve(LDLT).despl;
  EXPECT_NE(SOLUTION.order_used, NodeOrder::natural);
  EXPECT_EQ(SOLUTION.profile_natural, natural_profile);
  EXPECT_EQ(SOLUTION.profile_length, std::min(SOLUTION.profile_rcm, SOLUTION.profile_sloan));
  EXPECT_LT(SOLUTION.profile_length * 4, natural_profile);
  test::expect_close(natural, renumbered, 1e-10, "displacement");
}

// The node graph of two separate bars (no links): neighbours once each, the node
// itself never; both orders are permutations that keep each bar together.
TEST_F(LdltNumbering, NodeGraphAndOrdersOfSeparateParts) {
  read("NUMERO_DE_NODOS NPNODS=12\nNUMERO_DE_SETS NSETS=1\nSOLVER LDLT\nPOSTPROCESO FEMVIEW\n"
       "SET_NUMERO 1\nTIPO TENSION_PLANA\nELEMENTO QU4 NELEM=4\nMATERIAL YOUNG=1000.0 POISSON=0.25\nFIN_SET\n"
       "GEOMETRIA\n1 1 1 2 5 4\n2 1 2 3 6 5\n3 1 7 8 11 10\n4 1 8 9 12 11\n"
       "1 0 0\n2 1 0\n3 2 0\n4 0 1\n5 1 1\n6 2 1\n7 2 0\n8 3 0\n9 4 0\n10 2 1\n11 3 1\n12 4 1\n"
       "FIN_GEOMETRIA\nCONDICIONES_DE_CONTORNO\n1 1 1\nFIN_CONDICIONES_DE_CONTORNO\nFIN\n");
  ACTSET(1);
  const std::int32_t mark = RUN.NXTPOS;
  const NodeGraph g = build_node_graph();
  EXPECT_EQ(std::vector<std::int32_t>(g.adjacency + g.first[4], g.adjacency + g.first[5]),
            (std::vector<std::int32_t>{1, 2, 3, 4, 6}));
  EXPECT_EQ(g.degree(1), 3);
  EXPECT_EQ(g.degree(9), 3);
  std::vector<std::int32_t> order(12);
  auto check = [&](const char* name) {
    std::vector<std::int32_t> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    std::vector<std::int32_t> all(12);
    std::iota(all.begin(), all.end(), 1);
    EXPECT_EQ(sorted, all) << name;
    for (int k = 0; k < 6; ++k) EXPECT_EQ((order[k] <= 6), (order[0] <= 6)) << name << " place " << k;
  };
  reverse_cuthill_mckee(g, order.data());
  check("reverse Cuthill-McKee");
  for (int rank = 0; rank < 3; ++rank) {
    sloan_order(g, order.data(), rank);
    check("Sloan");
  }
  RUN.NXTPOS = mark;
}

}  // namespace
}  // namespace vortan
