// Trusses, grids and frames run end to end: member forces, displacements and reactions
// against hand solutions (method of joints, slope deflection, the three-moment
// equation, the stiffness of a grid), frame invariance, the fixed-end forces of member
// loads and the stops of degenerate members and wrong member-load cards.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "listing_tables.h"

namespace vortan {
namespace {

// The listing prints six significant digits.
double printed(double value) { return 5e-6 * std::fabs(value) + 1e-9; }

using test::displacements;
using test::member_forces;
using test::reactions;

// A static deck: header for `nodes` nodes and `sets` sets, then the rest as given.
std::string deck(int nodes, int sets, const std::string& body, const std::string& node_extra = "") {
  return "VORTAN\nANALISIS ESTATICO\nTITULO BARRAS\nGENERAL LINEAL\nMATERIAL LINEAL\nNUMERO_DE_NODOS NPNODS=" +
         std::to_string(nodes) + node_extra + "\nNUMERO_DE_SETS NSETS=" + std::to_string(sets) +
         "\nSOLVER LDLT\nPOSTPROCESO FEMVIEW\n" + body;
}

std::string run(const test::TempDir& dir, const std::string& text, int* status = nullptr) {
  return test::run_deck_text(dir, "barras", text, status);
}

// Axial force of a member, tension positive: the end force along the member at its
// second node.
double axial(const test::MemberEnds& m) { return m.forces[1].at(0); }

// Pin at 1, roller at 3, panel point 2 loaded by 12 down, top node 4 by 6 to the
// right. Joints: F24 = 12 (tension), F12 = F23 = 11, F14 = -6.25, F43 = -13.75;
// reactions R1 = (-6, 3.75), R3 = 8.25. Deflection of node 2 by virtual work:
// sum F f L / EA = 178 / 2000 = 0.089.
TEST(FrameDecks, PlaneTrussByTheMethodOfJoints) {
  test::TempDir dir;
  int status = 0;
  const std::string sal = run(dir, deck(4, 1, R"(SET_NUMERO 1
TIPO VIGA ARMADURA DIMENSION=2 NELEM=5
MATERIAL YOUNG=200000.0 AREA=0.01
FIN_SET
GEOMETRIA
1 1 1 2
2 1 2 3
3 1 1 4
4 1 4 3
5 1 2 4
1 0.0 0.0
2 4.0 0.0
3 8.0 0.0
4 4.0 3.0
FIN_GEOMETRIA
CONDICIONES_DE_CONTORNO
1 1 1
3 0 1
FIN_CONDICIONES_DE_CONTORNO
FUERZAS
SET_NUMERO 1
CARGAS
PUNTUALES
2 0.0 -12.0
4 6.0 0.0
FIN_PUNTUALES
FIN_FUERZAS
FEMV CELOSIA
)"), &status);
  ASSERT_EQ(status, 0);
  const auto m = member_forces(sal, 1);
  ASSERT_EQ(m.size(), 5u);
  const double expected[5] = {11.0, 11.0, -6.25, -13.75, 12.0};
  for (int e = 1; e <= 5; ++e) {
    EXPECT_NEAR(axial(m.at(e)), expected[e - 1], printed(expected[e - 1])) << e;
    EXPECT_NEAR(m.at(e).forces[0][0], -expected[e - 1], printed(-expected[e - 1])) << e;
    EXPECT_NEAR(m.at(e).forces[0][1], 0.0, printed(0.0)) << e;  // bars carry no shear
  }
  const auto r = reactions(sal);
  EXPECT_NEAR(r.at(1)[0], -6.0, printed(-6.0));
  EXPECT_NEAR(r.at(1)[1], 3.75, printed(3.75));
  EXPECT_NEAR(r.at(3)[1], 8.25, printed(8.25));
  EXPECT_NEAR(displacements(sal).at(2)[1], -178.0 / 2000.0, printed(-178.0 / 2000.0));
}

// A tripod: apex D (0,0,4) on bars to A (3,0,0), B (0,4,0) and C (0,0,0), loaded by
// (6, 8, -10). Joint D: 0.6 FA + 6 = 0, FB / sqrt(2) + 8 = 0, and vertically
// FC = -10 + 0.8 FA + FB / sqrt(2)... giving FA = -10, FB = -8 sqrt(2), FC = 6.
TEST(FrameDecks, SpaceTrussByTheMethodOfJoints) {
  test::TempDir dir;
  int status = 0;
  const std::string sal = run(dir, deck(4, 1, R"(SET_NUMERO 1
TIPO VIGA ARMADURA DIMENSION=3 NELEM=3
MATERIAL YOUNG=200000.0 AREA=0.01
FIN_SET
GEOMETRIA
1 1 1 4
2 1 2 4
3 1 3 4
1 3.0 0.0 0.0
2 0.0 4.0 0.0
3 0.0 0.0 0.0
4 0.0 0.0 4.0
FIN_GEOMETRIA
CONDICIONES_DE_CONTORNO
1 1 1 1
2 1 1 1
3 1 1 1
FIN_CONDICIONES_DE_CONTORNO
FUERZAS
SET_NUMERO 1
CARGAS
PUNTUALES
4 6.0 8.0 -10.0
FIN_PUNTUALES
FIN_FUERZAS
FEMV TRIPODE
)"), &status);
  ASSERT_EQ(status, 0);
  const auto m = member_forces(sal, 1);
  // Tension pulls the apex (each member's second node) towards the base.
  EXPECT_NEAR(axial(m.at(1)), -10.0, printed(-10.0));
  EXPECT_NEAR(axial(m.at(2)), -8.0 * std::sqrt(2.0), printed(-8.0 * std::sqrt(2.0)));
  EXPECT_NEAR(axial(m.at(3)), 6.0, printed(6.0));
  const auto r = reactions(sal);
  EXPECT_NEAR(test::column_sum(r, 0), -6.0, printed(-6.0));
  EXPECT_NEAR(test::column_sum(r, 1), -8.0, printed(-8.0));
  EXPECT_NEAR(test::column_sum(r, 2), 10.0, printed(10.0));
}

// Two spans of 4 and 6 under w = 10, pinned at the ends: the three-moment equation
// gives M_B = w (L1^3 + L2^3) / (8 (L1 + L2)) = 35, reactions 11.25, 64.5833, 24.1667.
// The first member is a rigidly connected frame member (RETICULA), the second a
// combined one, so both plane models meet at the support.
TEST(FrameDecks, ContinuousBeamAgainstTheThreeMomentEquation) {
  test::TempDir dir;
  int status = 0;
  const std::string sal = run(dir, deck(3, 2, R"(SET_NUMERO 1
TIPO VIGA RETICULA DIMENSION=2 NELEM=1
MATERIAL YOUNG=200000.0 AREA=0.01 XINER=1.0E-4
FIN_SET
SET_NUMERO 2
TIPO VIGA COMBINADO DIMENSION=2 NELEM=1
MATERIAL YOUNG=200000.0 AREA=0.01 XINER=1.0E-4 CONEXION=2
FIN_SET
GEOMETRIA
1 1 1 2
2 2 2 3
1 0.0 0.0
2 4.0 0.0
3 10.0 0.0
FIN_GEOMETRIA
CONDICIONES_DE_CONTORNO
1 1 1 0
2 0 1 0
3 0 1 0
FIN_CONDICIONES_DE_CONTORNO
FUERZAS
SET_NUMERO 1
CARGAS
FUERZAS_VIGAS
REPARTIDAS
1 0.0 -10.0
FIN_REPARTIDAS
FIN_FUERZAS_VIGAS
FIN_FUERZAS
SET_NUMERO 2
CARGAS
FUERZAS_VIGAS
REPARTIDAS LOCALES
1 0.0 -10.0
FIN_REPARTIDAS
FIN_FUERZAS_VIGAS
FIN_FUERZAS
FEMV CONTINUA
)"), &status);
  ASSERT_EQ(status, 0);
  const auto r = reactions(sal);
  EXPECT_NEAR(r.at(1)[1], 11.25, printed(11.25));
  EXPECT_NEAR(r.at(2)[1], 64.5833333333, printed(64.5833333333));
  EXPECT_NEAR(r.at(3)[1], 24.1666666667, printed(24.1666666667));
  EXPECT_NEAR(member_forces(sal, 1).at(1).forces[1][2], -35.0, printed(-35.0));
  EXPECT_NEAR(member_forces(sal, 2).at(2).forces[0][2], 35.0, printed(35.0));
  EXPECT_NEAR(member_forces(sal, 2).at(2).forces[1][2], 0.0, printed(0.0));
}

// Two cantilevers of length L = 2 along x and y meet at B, loaded by P = 10 down; EI
// (about the horizontal axis) = GJ = 20. Stiffness at B with the rotations
// rx = -ry = r by symmetry: r (4EI + GJ)/L = 6EI w/L^2 and 24 w - 12 L r = -P L^3/EI
// give w = -5 P L^3 / (48 EI) = -0.416667, r = -0.25, torque GJ r / L = 2.5, and
// at the roots moments P L / 2 - 2.5 = 7.5. The in-plane inertia XINER plays no part.
TEST(FrameDecks, GridByHand) {
  test::TempDir dir;
  int status = 0;
  const std::string sal = run(dir, deck(3, 1, R"(SET_NUMERO 1
TIPO VIGA RETICULA DIMENSION=3 NELEM=2
MATERIAL YOUNG=200000.0 AREA=0.01 XINER=2.0E-4 YINER=1.0E-4 XJNER=2.5E-4 GCORT=80000.0
FIN_SET
GEOMETRIA
1 1 1 2
2 1 3 2
1 -2.0 0.0 0.0
2 0.0 0.0 0.0
3 0.0 -2.0 0.0
FIN_GEOMETRIA
CONDICIONES_DE_CONTORNO
1 1 1 1 1 1 1
3 1 1 1 1 1 1
FIN_CONDICIONES_DE_CONTORNO
FUERZAS
SET_NUMERO 1
CARGAS
PUNTUALES
2 0.0 0.0 -10.0 0.0 0.0 0.0
FIN_PUNTUALES
FIN_FUERZAS
FEMV EMPARRILLADO
)"), &status);
  ASSERT_EQ(status, 0);
  const auto u = displacements(sal).at(2);
  EXPECT_NEAR(u[2], -5.0 * 10 * 8 / (48.0 * 20), printed(-5.0 * 10 * 8 / (48.0 * 20)));
  EXPECT_NEAR(u[3], -0.25, printed(-0.25));
  EXPECT_NEAR(u[4], 0.25, printed(0.25));
  EXPECT_NEAR(u[0], 0.0, 1e-15);
  const auto m = member_forces(sal, 1);
  for (int e : {1, 2}) {
    EXPECT_NEAR(std::fabs(m.at(e).forces[0][3]), 2.5, printed(2.5)) << e;  // torque
    EXPECT_NEAR(std::fabs(m.at(e).forces[0][4]), 7.5, printed(7.5)) << e;  // root moment
    EXPECT_NEAR(std::fabs(m.at(e).forces[1][4]), 2.5, printed(2.5)) << e;
    EXPECT_NEAR(m.at(e).forces[0][2], 5.0, printed(5.0)) << e;
  }
}

// A space frame and a copy of it turned by an arbitrary rotation (with its loads and
// reference nodes) give the same member end forces, and displacements and rotations
// turned by the same rotation. One member takes its axes from a reference node that
// is a node of the frame, the others from points of their own that carry no degrees
// of freedom.
struct SpaceFrame {
  double R[9];  // rotation, column by column
  void turn(const double* a, double* b) const {
    for (int i = 0; i < 3; ++i) b[i] = R[i] * a[0] + R[i + 3] * a[1] + R[i + 6] * a[2];
  }
  std::string vector(const double* a) const {
    double b[3];
    turn(a, b);
    char text[100];
    std::snprintf(text, sizeof text, " %.17g %.17g %.17g", b[0], b[1], b[2]);
    return text;
  }
  std::string text() const {
    const double nodes[8][3] = {{0, 0, 0}, {0, 0, 3}, {4, 0, 3}, {4, 2, 3}, {4, 2, 0}, {-1, 0, 1}, {6, 1, 3}, {9, 2, 1}};
    std::string d = "SET_NUMERO 1\nTIPO VIGA COMBINADO DIMENSION=3 NELEM=4\n"
                    "MATERIAL YOUNG=200000.0 AREA=0.01 XINER=2.0E-4 YINER=1.0E-4 XJNER=1.5E-4 GCORT=80000.0\n"
                    "FIN_SET\nGEOMETRIA\n1 1 1 2 6\n2 1 2 3 5\n3 1 3 4 7\n4 1 5 4 8\n";
    for (int n = 0; n < 8; ++n) d += std::to_string(n + 1) + vector(nodes[n]) + "\n";
    const double force[3] = {5, -3, -10}, moment[3] = {1, 2, -1.5}, weight[3] = {0, 0, -2};
    d += "FIN_GEOMETRIA\nCONDICIONES_DE_CONTORNO\n1 1 1 1 1 1 1\n5 1 1 1 1 1 1\nFIN_CONDICIONES_DE_CONTORNO\n"
         "FUERZAS\nSET_NUMERO 1\nCARGAS\nPUNTUALES\n3" + vector(force) + vector(moment) + "\nFIN_PUNTUALES\n" +
         "FUERZAS_VIGAS\nREPARTIDAS\n2" + vector(weight) + "\nFIN_REPARTIDAS\nPUNTUALES LOCALES\n4 1.0 3.0 -4.0 2.0\n"
         "FIN_PUNTUALES\nFIN_FUERZAS_VIGAS\nFIN_FUERZAS\nFEMV ESPACIAL\n";
    return deck(8, 1, d);
  }
};

TEST(FrameDecks, SpaceFrameIsInvariantUnderRotation) {
  SpaceFrame plain{{1, 0, 0, 0, 1, 0, 0, 0, 1}};
  // Rotation by 40 degrees about the axis (1, 2, 2)/3.
  const double n[3] = {1 / 3.0, 2 / 3.0, 2 / 3.0}, a = 40 * M_PI / 180, c = std::cos(a), s = std::sin(a);
  SpaceFrame turned{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      const double cross = i == j ? 0.0 : ((j - i + 3) % 3 == 1 ? -1.0 : 1.0) * n[3 - i - j];
      turned.R[i + 3 * j] = c * (i == j) + (1 - c) * n[i] * n[j] + s * cross;
    }
  test::TempDir dir;
  int status = 0;
  const std::string first = run(dir, plain.text(), &status);
  ASSERT_EQ(status, 0);
  const std::string second = run(dir, turned.text(), &status);
  ASSERT_EQ(status, 0);
  const auto m1 = member_forces(first, 1), m2 = member_forces(second, 1);
  ASSERT_EQ(m1.size(), 4u);
  double largest = 0.0;
  for (const auto& [e, ends] : m1)
    for (int end = 0; end < 2; ++end)
      for (std::size_t i = 0; i < 6; ++i) {
        largest = std::max(largest, std::fabs(ends.forces[end][i]));
        EXPECT_NEAR(m2.at(e).forces[end][i], ends.forces[end][i], 1e-5 * 30) << e << " " << end << " " << i;
      }
  EXPECT_GT(largest, 10.0);
  const auto u1 = displacements(first), u2 = displacements(second);
  for (int node : {2, 3, 4}) {
    double t[3], r[3];
    turned.turn(u1.at(node).data(), t);
    turned.turn(u1.at(node).data() + 3, r);
    for (int i = 0; i < 3; ++i) {
      EXPECT_NEAR(u2.at(node)[i], t[i], 1e-5 * std::fabs(t[i]) + 1e-9) << node;
      EXPECT_NEAR(u2.at(node)[3 + i], r[i], 1e-5 * std::fabs(r[i]) + 1e-9) << node;
    }
  }
  // The reference points 6 to 8 carry no degrees of freedom.
  EXPECT_EQ(u1.at(6).size(), 0u);
}

// The example portal: the answers of its opening comment (slope deflection with a
// beam load and a horizontal load).
TEST(FrameDecks, ExamplePortalFrame) {
  test::TempDir dir;
  int status = 0;
  const std::string sal = test::run_deck_text(dir, "portico", test::source_file("examples/frame-portal.vtn"), &status);
  ASSERT_EQ(status, 0);
  const auto r = reactions(sal);
  const double left[3] = {5.125, 100.0 / 3, -1.5}, right[3] = {-15.125, 116.0 / 3, 25.5};
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(r.at(1)[i], left[i], 1e-4 * 40) << i;
    EXPECT_NEAR(r.at(4)[i], right[i], 1e-4 * 40) << i;
  }
  const auto m = member_forces(sal, 1);
  EXPECT_NEAR(std::fabs(m.at(1).forces[1][2]), 19.0, 1e-4 * 40);
  EXPECT_NEAR(std::fabs(m.at(3).forces[1][2]), 35.0, 1e-4 * 40);
  EXPECT_NEAR(displacements(sal).at(2)[0], 0.0025397, 1e-4 * 0.0025397);
}

// Fixed-end forces, every end held: a uniform load w = 10 on L = 6 (wL/2 = 30,
// wL^2/12 = 30); a point load P = 30 at a = 2 (P b^2 (3a+b)/L^3 = 22.22,
// P a b^2/L^2 = 26.67, P a^2 (a+3b)/L^3 = 7.78, P a^2 b/L^2 = 13.33); the uniform
// load on a member hinged at its first node (3wL/8, 5wL/8, wL^2/8).
TEST(FrameDecks, FixedEndForcesOfMemberLoads) {
  test::TempDir dir;
  int status = 0;
  const std::string sal = run(dir, deck(6, 2, R"(SET_NUMERO 1
TIPO VIGA COMBINADO DIMENSION=2 NELEM=2
MATERIAL YOUNG=200000.0 AREA=0.01 XINER=0.0001
FIN_SET
SET_NUMERO 2
TIPO VIGA COMBINADO DIMENSION=2 NELEM=1
MATERIAL YOUNG=200000.0 AREA=0.01 XINER=0.0001 CONEXION=3
FIN_SET
GEOMETRIA
1 1 1 2
2 1 3 4
3 2 5 6
1 0.0 0.0
2 6.0 0.0
3 0.0 1.0
4 6.0 1.0
5 0.0 2.0
6 6.0 2.0
FIN_GEOMETRIA
CONDICIONES_DE_CONTORNO
1 1 1 1
2 1 1 1
3 1 1 1
4 1 1 1
5 1 1 1
6 1 1 1
FIN_CONDICIONES_DE_CONTORNO
FUERZAS
SET_NUMERO 1
CARGAS
FUERZAS_VIGAS
REPARTIDAS
1 0.0 -10.0
FIN_REPARTIDAS
PUNTUALES
2 2.0 0.0 -30.0
FIN_PUNTUALES
FIN_FUERZAS_VIGAS
FIN_FUERZAS
SET_NUMERO 2
CARGAS
FUERZAS_VIGAS
REPARTIDAS
1 0.0 -10.0
FIN_REPARTIDAS
FIN_FUERZAS_VIGAS
FIN_FUERZAS
FEMV EMPOTRADA
)"), &status);
  ASSERT_EQ(status, 0);
  const auto m = member_forces(sal, 1);
  const std::vector<double> udl[2] = {{0, 30, 30}, {0, 30, -30}};
  const std::vector<double> point[2] = {{0, 30 * 16 * 10 / 216.0, 30 * 2 * 16 / 36.0},
                                        {0, 30 * 4 * 14 / 216.0, -30 * 4 * 4 / 36.0}};
  for (int end = 0; end < 2; ++end)
    for (int i = 0; i < 3; ++i) {
      EXPECT_NEAR(m.at(1).forces[end][i], udl[end][i], printed(udl[end][i]));
      EXPECT_NEAR(m.at(2).forces[end][i], point[end][i], printed(point[end][i]));
    }
  const auto hinged = member_forces(sal, 2).at(3);
  EXPECT_NEAR(hinged.forces[0][1], 22.5, printed(22.5));
  EXPECT_NEAR(hinged.forces[0][2], 0.0, printed(0.0));
  EXPECT_NEAR(hinged.forces[1][1], 37.5, printed(37.5));
  EXPECT_NEAR(hinged.forces[1][2], -45.0, printed(-45.0));
  // Every end held: the reactions are the fixed-end forces.
  const auto r = reactions(sal);
  EXPECT_NEAR(r.at(3)[2], 30 * 2 * 16 / 36.0, printed(30 * 2 * 16 / 36.0));
  EXPECT_NEAR(r.at(6)[2], -45.0, printed(-45.0));
}

// Member loads carried through the stiffness: a cantilever (E I = 20, L = 3) with a
// point load P = 6 at a = 2 from the root deflects P a^2 (3L - a) / (6 EI) = 2.8 at the
// tip; its self weight w = PESOVOL A = 0.5 deflects w L^4 / (8 EI) = 0.253125.
TEST(FrameDecks, CantileverUnderMemberLoads) {
  const std::string geometry = R"(GEOMETRIA
1 1 1 2
1 0.0 0.0
2 3.0 0.0
FIN_GEOMETRIA
CONDICIONES_DE_CONTORNO
1 1 1 1
FIN_CONDICIONES_DE_CONTORNO
FUERZAS
SET_NUMERO 1
CARGAS
)";
  const std::string set = "SET_NUMERO 1\nTIPO VIGA COMBINADO NELEM=1\n"
                          "MATERIAL YOUNG=200000.0 AREA=0.005 XINER=1.0E-4 PESOVOL=100.0\nFIN_SET\n";
  test::TempDir dir;
  int status = 0;
  std::string sal = run(dir, deck(2, 1, set + geometry + "FUERZAS_VIGAS\nPUNTUALES\n1 2.0 0.0 -6.0\nFIN_PUNTUALES\n"
                                                         "FIN_FUERZAS_VIGAS\nFIN_FUERZAS\nFEMV VOLADIZO\n"), &status);
  ASSERT_EQ(status, 0);
  EXPECT_NEAR(displacements(sal).at(2)[1], -6.0 * 4 * 7 / (6 * 20.0), printed(-6.0 * 4 * 7 / (6 * 20.0)));
  EXPECT_NEAR(member_forces(sal, 1).at(1).forces[0][2], 12.0, printed(12.0));
  sal = run(dir, deck(2, 1, set + geometry + "PESO_PROPIO\nFIN_FUERZAS\nFEMV VOLADIZO\n"), &status);
  ASSERT_EQ(status, 0);
  EXPECT_NEAR(displacements(sal).at(2)[1], -0.5 * 81 / (8 * 20.0), printed(-0.5 * 81 / (8 * 20.0)));
  EXPECT_NEAR(member_forces(sal, 1).at(1).forces[0][2], 0.5 * 9 / 2, printed(0.5 * 9 / 2));
  EXPECT_NE(sal.find("     CARGA POR PESO PROPIO =  0.500000E+00\n"), std::string::npos);
}

// A beam on a pin and a roller whose support is turned by 30 degrees, loaded by 12
// at mid-span: the roller pushes along its normal (-sin 30, cos 30) with
// 6 / cos 30; the pin takes the horizontal part, 6 tan 30.
TEST(FrameDecks, InclinedRollerOfAPlaneFrame) {
  test::TempDir dir;
  int status = 0;
  const std::string sal = run(dir, deck(2, 1, R"(SET_NUMERO 1
TIPO VIGA COMBINADO NELEM=1
MATERIAL YOUNG=200000.0 AREA=0.01 XINER=1.0E-4
FIN_SET
GEOMETRIA
1 1 1 2
1 0.0 0.0
2 4.0 0.0
FIN_GEOMETRIA
CONDICIONES_DE_CONTORNO
1 1 1 0
2 0 1 0
FIN_CONDICIONES_DE_CONTORNO
APOYOS_INCLINADOS
2 30.0
FIN_APOYOS_INCLINADOS
FUERZAS
SET_NUMERO 1
CARGAS
FUERZAS_VIGAS
PUNTUALES
1 2.0 0.0 -12.0
FIN_PUNTUALES
FIN_FUERZAS_VIGAS
FIN_FUERZAS
FEMV RODILLO
)", " MAPOY=1"), &status);
  ASSERT_EQ(status, 0);
  const double roller = 6.0 / std::cos(M_PI / 6);
  const auto r = reactions(sal);
  EXPECT_NEAR(r.at(2)[1], roller, printed(roller));  // in the support's axes
  EXPECT_NEAR(r.at(1)[0], 6.0 * std::tan(M_PI / 6), printed(6.0 * std::tan(M_PI / 6)));
  EXPECT_NEAR(r.at(1)[1], 6.0, printed(6.0));
  // The member sees the roller's push: axial compression 6 tan 30 along it.
  EXPECT_NEAR(member_forces(sal, 1).at(1).forces[1][0], -6.0 * std::tan(M_PI / 6), printed(-6.0 * std::tan(M_PI / 6)));
}

// Stops: a reference node on the member's line, with its listing line; the member-load
// cards A to E; member loads on a set that is not of members.
TEST(FrameDecks, DegenerateMembersAndWrongMemberLoadsStop) {
  const std::string frame = "SET_NUMERO 1\nTIPO VIGA COMBINADO DIMENSION=3 NELEM=1\n"
                            "MATERIAL YOUNG=1.0 AREA=1.0 XINER=1.0 YINER=1.0 XJNER=1.0 GCORT=1.0\nFIN_SET\n";
  const std::string fixed = "CONDICIONES_DE_CONTORNO\n1 1 1 1 1 1 1\nFIN_CONDICIONES_DE_CONTORNO\n";
  test::TempDir dir;
  int status = 0;
  std::string sal = run(dir, deck(3, 1, frame + "GEOMETRIA\n1 1 1 2 3\n1 0 0 0\n2 1 1 1\n3 2 2 2\nFIN_GEOMETRIA\n" +
                                            fixed + "FUERZAS\nSET_NUMERO 1\nCARGAS\nFIN_FUERZAS\nFEMV X\n"),
                        &status);
  EXPECT_NE(status, 0);
  EXPECT_NE(sal.find("\nERROR EN ELEMENTO:       1 EN EL VECTOR 2\n"), std::string::npos);
  EXPECT_NE(sal.find("RIGVIG:ERROR EL VECTOR 2"), std::string::npos);
  const std::string body = frame + "GEOMETRIA\n1 1 1 2 3\n1 0 0 0\n2 2 0 0\n3 0 1 0\nFIN_GEOMETRIA\n" + fixed +
                           "FUERZAS\nSET_NUMERO 1\nCARGAS\nFUERZAS_VIGAS\n";
  const std::pair<std::string, char> cases[] = {
      {"CARGAS\n", 'A'},
      {"PUNTUALES\n1 1.0 0.0\nFIN_PUNTUALES\n", 'B'},
      {"REPARTIDAS\n1 0.0 X 1.0\nFIN_REPARTIDAS\n", 'B'},
      {"REPARTIDAS\n2 0.0 0.0 1.0\nFIN_REPARTIDAS\n", 'C'},
      {"PUNTUALES\n1 2.5 0.0 0.0 1.0\nFIN_PUNTUALES\n", 'D'},
      {"PUNTUALES\n1 -0.1 0.0 0.0 1.0\nFIN_PUNTUALES\n", 'D'},
      {"PESO_PROPIO\n", 'E'},
  };
  for (const auto& [cards, letter] : cases) {
    sal = run(dir, deck(3, 1, body + cards + "FIN_FUERZAS_VIGAS\nFIN_FUERZAS\nFEMV X\n"), &status);
    EXPECT_NE(status, 0) << cards;
    EXPECT_NE(sal.find(std::string("FUEVIG: ERROR EN LA ENTRADA DE DATOS  ") + letter), std::string::npos) << cards;
  }
}

}  // namespace
}  // namespace vortan
