// Loads on element sides and faces: consistent nodal forces against closed forms, the
// left-hand normal, the ring factor of solids of revolution, and the side cards.
#include <cmath>

#include "elements/point_geometry.h"
#include "load_fixture.h"
#include "loads/side_loads.h"

namespace vortan {
namespace {

using test::FREE;
using test::geometry;
using test::header;
using test::section;
using test::set_cards;

// Sums of the nodal forces of a face, per direction.
void totals(int nodes, const double* forces, double* sum) {
  sum[0] = sum[1] = sum[2] = 0.0;
  for (int a = 0; a < nodes; ++a)
    for (int i = 0; i < 3; ++i) sum[i] += forces[3 * a + i];
}

TEST(SideForces, UniformNormalLoadActsToTheLeftOfTheSide) {
  const double xy[4] = {0, 0, 2, 0};
  const double reversed[4] = {2, 0, 0, 0};
  const double normal[4] = {1, 0, 1, 0};
  double f[4];
  side_forces(2, xy, normal, false, f);
  for (int a = 0; a < 2; ++a) {
    EXPECT_NEAR(f[2 * a], 0.0, 1e-15);
    EXPECT_NEAR(f[2 * a + 1], 1.0, 1e-15);
  }
  side_forces(2, reversed, normal, false, f);
  for (int a = 0; a < 2; ++a) EXPECT_NEAR(f[2 * a + 1], -1.0, 1e-15);
  const double tangential[4] = {0, 1, 0, 1};
  side_forces(2, xy, tangential, false, f);
  for (int a = 0; a < 2; ++a) {
    EXPECT_NEAR(f[2 * a], 1.0, 1e-15);
    EXPECT_NEAR(f[2 * a + 1], 0.0, 1e-15);
  }
  // A pressure growing from 0 to 1 along a side of length 2: L/6 and L/3.
  const double growing[4] = {0, 0, 1, 0};
  side_forces(2, xy, growing, false, f);
  EXPECT_NEAR(f[1], 1.0 / 3.0, 1e-7);
  EXPECT_NEAR(f[3], 2.0 / 3.0, 1e-7);
}

// A quadratic side of length 3 at 40 degrees under a uniform normal load of 2:
// 2L/6, 8L/6, 2L/6 along the left normal (-sin, cos), with the single-precision
// three-point weights.
TEST(SideForces, QuadraticSideTakesOneSixthTwoThirdsOneSixth) {
  const double c = std::cos(0.7), s = std::sin(0.7);
  const double xy[6] = {1, 1, 1 + 1.5 * c, 1 + 1.5 * s, 1 + 3 * c, 1 + 3 * s};
  const double loads[6] = {2, 0, 2, 0, 2, 0};
  double f[6];
  side_forces(3, xy, loads, false, f);
  const double share[3] = {1.0 / 6.0, 2.0 / 3.0, 1.0 / 6.0};
  for (int a = 0; a < 3; ++a) {
    EXPECT_NEAR(f[2 * a], -s * 2.0 * 3.0 * share[a], 2e-6) << a;
    EXPECT_NEAR(f[2 * a + 1], c * 2.0 * 3.0 * share[a], 2e-6) << a;
  }
}

// Solids of revolution carry 2 pi r: at constant radius the plane forces times
// 2 pi r; along a radius 2 pi times the integral of r N.
TEST(SideForces, AxisymmetricSidesCarryTheCircumference) {
  const double vertical[4] = {2, 0, 2, 3};
  const double loads[4] = {1, 0, 1, 0};
  double f[4];
  side_forces(2, vertical, loads, true, f);
  for (int a = 0; a < 2; ++a) {
    EXPECT_NEAR(f[2 * a], -CIRCUMFERENCE_FACTOR * 2.0 * 1.5, 1e-12);
    EXPECT_NEAR(f[2 * a + 1], 0.0, 1e-12);
  }
  const double radial[4] = {1, 0, 3, 0};
  side_forces(2, radial, loads, true, f);
  EXPECT_NEAR(f[1], CIRCUMFERENCE_FACTOR * 5.0 / 3.0, 1e-6);
  EXPECT_NEAR(f[3], CIRCUMFERENCE_FACTOR * 7.0 / 3.0, 1e-6);
}

// A uniform pressure on 4-, 8-, 3- and 6-node faces sums to pressure times area
// along the unit normal of t1 x t2, with the consistent shares of each family.
TEST(FaceForces, UniformPressureSumsToPressureTimesArea) {
  // Rectangle 2 x 3 in the vertical plane spanned by (0.6, 0.8, 0) and (0, 0, 1).
  const double e1[3] = {0.6, 0.8, 0.0}, e2[3] = {0.0, 0.0, 1.0}, n[3] = {0.8, -0.6, 0.0};
  auto at = [&](double u, double v, double* x) {
    for (int i = 0; i < 3; ++i) x[i] = 1.0 + u * e1[i] + v * e2[i];
  };
  double quad[24];
  const double corners[8][2] = {{0, 0}, {1, 0}, {2, 0}, {2, 1.5}, {2, 3}, {1, 3}, {0, 3}, {0, 1.5}};
  for (int a = 0; a < 4; ++a) at(corners[2 * a][0], corners[2 * a][1], quad + 3 * a);
  const double p[24] = {0, 0, 5, 0, 0, 5, 0, 0, 5, 0, 0, 5, 0, 0, 5, 0, 0, 5, 0, 0, 5, 0, 0, 5};
  double f[24], sum[3];
  face_forces(4, quad, p, f);
  for (int a = 0; a < 4; ++a)
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(f[3 * a + i], 5.0 * 6.0 / 4.0 * n[i], 1e-12);
  double serendipity[24];
  for (int a = 0; a < 8; ++a) at(corners[a][0], corners[a][1], serendipity + 3 * a);
  face_forces(8, serendipity, p, f);
  for (int a = 0; a < 8; ++a) {
    const double share = a % 2 == 0 ? -1.0 / 12.0 : 1.0 / 3.0;
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(f[3 * a + i], 5.0 * 6.0 * share * n[i], 1e-5) << a;
  }
  // A trapezoid of area 6 with straight sides.
  const double trapezoid[24] = {0, 0, 0, 2, 0, 0, 4, 0, 0, 3.5, 1, 0, 3, 2, 0, 2, 2, 0, 1, 2, 0, 0.5, 1, 0};
  face_forces(8, trapezoid, p, f);
  totals(8, f, sum);
  EXPECT_NEAR(sum[2], 30.0, 1e-5);
  EXPECT_NEAR(sum[0], 0.0, 1e-12);
  // A triangle (0,0,0), (2,0,0), (0,3,1) of area sqrt(40)/2, normal (0,-2,6)/sqrt(40).
  const double tri[9] = {0, 0, 0, 2, 0, 0, 0, 3, 1};
  face_forces(3, tri, p, f);
  const double area = std::sqrt(40.0) / 2.0;
  for (int a = 0; a < 3; ++a) {
    EXPECT_NEAR(f[3 * a + 1], 5.0 * area / 3.0 * (-2.0 / std::sqrt(40.0)), 1e-12);
    EXPECT_NEAR(f[3 * a + 2], 5.0 * area / 3.0 * (6.0 / std::sqrt(40.0)), 1e-12);
  }
  // The six-node triangle: nothing at the corners, a third at each mid-side node.
  const double tri6[18] = {0, 0, 0, 1, 0, 0, 2, 0, 0, 1, 1.5, 0.5, 0, 3, 1, 0, 1.5, 0.5};
  face_forces(6, tri6, p, f);
  for (int a = 0; a < 6; ++a) {
    const double share = a % 2 == 0 ? 0.0 : 1.0 / 3.0;
    EXPECT_NEAR(f[3 * a + 2], 5.0 * area * share * 6.0 / std::sqrt(40.0), 1e-12) << a;
  }
}

// A traction along a face tangent is a force per unit of area: on a 3 x 3 square its
// total is 9 times the traction, along the unit tangent.
TEST(FaceForces, TangentialTractionsActPerUnitOfArea) {
  const double square[12] = {0, 0, 0, 3, 0, 0, 3, 3, 0, 0, 3, 0};
  const double along_t1[12] = {2, 0, 0, 2, 0, 0, 2, 0, 0, 2, 0, 0};
  const double along_t2[12] = {0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0};
  double f[12], sum[3];
  face_forces(4, square, along_t1, f);
  totals(4, f, sum);
  EXPECT_NEAR(sum[0], 18.0, 1e-12);
  EXPECT_NEAR(sum[1], 0.0, 1e-12);
  EXPECT_NEAR(sum[2], 0.0, 1e-12);
  face_forces(4, square, along_t2, f);
  totals(4, f, sum);
  EXPECT_NEAR(sum[1], -9.0, 1e-12);
}

class SideCards : public test::LoadTest {};

const std::string PLANE_MATERIAL = "YOUNG=1000 POISSON=0.25 ESPESOR=1.0";

std::string plane_model() {
  return header(6, 1) + set_cards(1, "TENSION_PLANA", "QU4", 2, PLANE_MATERIAL) +
         geometry("1 1 1 2 5 4\n2 1 2 3 6 5\n1 0 0\n2 2 0\n3 4 0\n4 0 1\n5 2 1\n6 4 1\n") + FREE;
}

std::string distributed(const std::string& nodge, const std::string& sides) {
  return "FUERZAS\n" + section(1, "DISTRIBUIDAS\nLADOS " + nodge + "\n" + sides + "FIN_DISTRIBUIDAS\n");
}

// Forces land at each side node's own position in the element; a short load card
// leaves the missing values 0.
TEST_F(SideCards, SideForcesLandOnTheElementsNodes) {
  read(plane_model() + distributed("NODGE=2", "1 1 2\n1 0 1 0\n2 6 5\n1 0\n"));
  EXPECT_NEAR(load(1, 1, 2), 1.0, 1e-15);  // bottom of element 1: +y
  EXPECT_NEAR(load(1, 1, 4), 1.0, 1e-15);
  // Top of element 2 from node 6 to node 5 (positions 3 and 4), load 1 falling to 0.
  EXPECT_NEAR(load(1, 2, 6), -2.0 / 3.0, 1e-7);
  EXPECT_NEAR(load(1, 2, 8), -1.0 / 3.0, 1e-7);
  double others = 0.0;
  for (int e = 1; e <= 2; ++e)
    for (int i = 1; i <= 8; ++i) others += std::abs(load(1, e, i));
  EXPECT_NEAR(others, 2.0 + 1.0, 1e-7);
}

TEST_F(SideCards, AxisymmetricAndSolidSets) {
  read(header(4, 1) + set_cards(1, "SOLIDO_DE_REVOLUCION", "QU4", 1, "YOUNG=1 POISSON=0.2") +
       geometry("1 1 1 2 3 4\n1 1 0\n2 3 0\n3 3 2\n4 1 2\n") + FREE + distributed("NODGE=2", "1 2 3\n1 0 1 0\n"));
  EXPECT_NEAR(load(1, 1, 3), -CIRCUMFERENCE_FACTOR * 3.0, 1e-12);
  EXPECT_NEAR(load(1, 1, 5), -CIRCUMFERENCE_FACTOR * 3.0, 1e-12);
  reset_active_set();
  reset_run_state();
  // The top face of a 2 x 1 x 3 brick, listed with the default eight node slots.
  read(header(8, 1) + set_cards(1, "SOLIDO", "HE8", 1, "YOUNG=1 POISSON=0.2") +
       geometry("1 1 1 2 3 4 5 6 7 8\n1 0 0 0\n2 2 0 0\n3 2 1 0\n4 0 1 0\n5 0 0 3\n6 2 0 3\n7 2 1 3\n8 0 1 3\n") +
       FREE + distributed("", "1 5 6 7 8 0 0 0 0\n0 0 -4 0 0 -4 0 0 -4 0 0 -4\n"));
  for (int k = 1; k <= 8; ++k) EXPECT_NEAR(load(1, 1, 3 * k), k >= 5 ? -2.0 : 0.0, 1e-12) << k;
}

TEST_F(SideCards, BadSideCardsStopTheRun) {
  const std::string model = plane_model();
  const std::string brick = header(8, 1) + set_cards(1, "SOLIDO", "HE8", 1, "YOUNG=1 POISSON=0.2") +
                            geometry("1 1 1 2 3 4 5 6 7 8\n1 0 0 0\n2 2 0 0\n3 2 1 0\n4 0 1 0\n5 0 0 3\n"
                                     "6 2 0 3\n7 2 1 3\n8 0 1 3\n") + FREE;
  const std::pair<std::string, std::string> cases[] = {
      {model + distributed("NODGE=2", "0 1 2\n1 0 1 0\n"), "FUEREP : CONECTIVIDADES DE LADO"},
      {model + distributed("NODGE=2", "3 1 2\n1 0 1 0\n"), "FUEREP : CONECTIVIDADES DE LADO"},
      {model + distributed("NODGE=2", "1 1 2\n1 0 1 0 1\n"), "FUEREP : PRESIONES SOBRE LADO"},
      {model + distributed("NODGE=2", "1 2 3\n1 0 1 0\n"), "FUEREP: NODO DE LADO FUERA DEL ELEMENTO"},
      {model + distributed("NODGE=2", "1 2 9\n1 0 1 0\n"), "FUEREP: NODO DE LADO NO EXISTENTE"},
      {model + distributed("NODGE=2", "1 2 0\n1 0 1 0\n"), "FUEREP: NODO DE LADO NO EXISTENTE"},
      {model + distributed("NODGE=4", ""), "FUEREP: NODGE EQUIVOCADO"},
      {brick + distributed("", "1 5 6 7 8 1 0 0 0\n0 0 1\n"), "FUEREP: CARA CON NODOS EQUIVOCADOS"},
  };
  for (const auto& [deck, message] : cases) {
    EXPECT_EQ(stop_of(deck), message) << deck;
    reset_active_set();
    reset_run_state();
  }
}

}  // namespace
}  // namespace vortan
