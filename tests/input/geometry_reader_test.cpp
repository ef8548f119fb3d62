#include <cmath>

#include "input/connectivity_reader.h"
#include "input/coordinate_reader.h"
#include "input/element_sets.h"
#include "reader_fixture.h"

namespace vortan {
namespace {

// Set 1: two QU4 elements, set 2: one TR3 element; six nodes.
class GeometryReaderTest : public test::ReaderTest {
 protected:
  void geometry(const std::string& cards, int ndime = 2, int nrads = 0, int print = 1) {
    open(cards);
    PROBLEM.NPNODS = 6;
    PROBLEM.NSETS = 2;
    PROBLEM.NDIME = ndime;
    PROBLEM.NRADS = nrads;
    PROBLEM.print[PRINT_DATA] = print;
    const int nodes[] = {4, 3}, elements[] = {2, 1};
    for (int s = 1; s <= 2; ++s) {
      SETS(s).NNODE = nodes[s - 1];
      SETS(s).NELEM = elements[s - 1];
      SETS(s).LNODS = zeroed_ints((nodes[s - 1] + 1) * elements[s - 1], "LNODS");
      SETS(s).rows_used = 1;
    }
    PROBLEM.NELEM = 3;
    PROBLEM.GLELEM = zeroed_ints(2 * 3, "GLELEM");
    PROBLEM.COORD = zeroed_reals(6 * ndime, "COORD");
  }
  static int lnods(int set, int row, int column) {
    return WORK.int_at(SETS(set).LNODS + (row - 1) + (column - 1) * SETS(set).NELEM);
  }
  static int glelem(int entry, int element) { return WORK.int_at(PROBLEM.GLELEM + 2 * (element - 1) + entry - 1); }
  static double coord(int node, int d) { return WORK.reals(PROBLEM.COORD)[(node - 1) + (d - 1) * 6]; }
  std::string connectivity_stop(const std::string& element_cards) {
    geometry("GEOMETRIA\n" + element_cards);
    return stop_of(INPCON);
  }
  std::string coordinate_stop(const std::string& cards, int ndime = 2, int nrads = 0) {
    geometry(cards + "FIN_GEOMETRIA\n", ndime, nrads);
    return stop_of(INPGEO);
  }
};

const std::string VALID = "3 1 1 2 5 4\n1 2 2 3 5\n2 1 4 5 6 3\n";

TEST_F(GeometryReaderTest, RowsFollowTheInputOrderOfEachSet) {
  geometry("GEOMETRIA\n" + VALID);
  INPCON();
  const int set1[2][5] = {{3, 1, 2, 5, 4}, {2, 4, 5, 6, 3}};
  for (int row = 1; row <= 2; ++row)
    for (int c = 1; c <= 5; ++c) EXPECT_EQ(lnods(1, row, c), set1[row - 1][c - 1]) << row << "," << c;
  const int set2[4] = {1, 2, 3, 5};
  for (int c = 1; c <= 4; ++c) EXPECT_EQ(lnods(2, 1, c), set2[c - 1]) << c;
  const int expected_glelem[3][2] = {{2, 1}, {1, 2}, {1, 1}};
  for (int e = 1; e <= 3; ++e) {
    EXPECT_EQ(glelem(1, e), expected_glelem[e - 1][0]) << e;
    EXPECT_EQ(glelem(2, e), expected_glelem[e - 1][1]) << e;
  }
  EXPECT_EQ(SETS(1).rows_used, 3);
  EXPECT_EQ(SETS(2).rows_used, 2);
  EXPECT_NE(listing().find("     DEFINICION ELEMENTAL :\n     ----------------------\n"), std::string::npos);
  EXPECT_NE(listing().find("       3      1       1       2       5       4\n"), std::string::npos);
}

TEST_F(GeometryReaderTest, ShortCardIsStoredButItsZeroNodesStopTheRun) {
  geometry("GEOMETRIA\n3 1 1 2\n1 2 2 3 5\n2 1 4 5 6 3\n");
  EXPECT_EQ(stop_of(INPCON), "INPCON: NODO ERRONEO EN ELEMENTO 3");
  EXPECT_EQ(lnods(1, 1, 3), 2);
  EXPECT_EQ(lnods(1, 1, 4), 0);
  EXPECT_EQ(lnods(1, 1, 5), 0);
  EXPECT_NE(listing().find("ELEMENTO         3  NODO           0"), std::string::npos);
}

TEST_F(GeometryReaderTest, NodesOutsideTheMeshStopNamingTheLowestElement) {
  EXPECT_EQ(connectivity_stop("3 1 1 2 5 0\n1 2 2 3 5\n2 1 4 5 7 3\n"), "INPCON: NODO ERRONEO EN ELEMENTO 2");
  EXPECT_EQ(connectivity_stop("3 1 1 2 5 4\n1 2 2 3 -5\n2 1 4 5 6 3\n"), "INPCON: NODO ERRONEO EN ELEMENTO 1");
  EXPECT_EQ(connectivity_stop("3 1 1 2 5 4\n1 2 2 3 1E12\n2 1 4 5 6 3\n"), "INPCON: NODO ERRONEO EN ELEMENTO 1");
}

TEST_F(GeometryReaderTest, WrongElementCardsStop) {
  const std::string bad = "INPCON: TARJETA ELEMENTAL ERRONEA", counts = "INPCON: VERIFICA NELEM & NNODE";
  geometry("COORDENADAS\n");
  EXPECT_EQ(stop_of(INPCON), "INPCON: SE ESPERA TARJETA DE GEOMETRIA");
  EXPECT_EQ(connectivity_stop("1 1 1 2 3 4 5\n"), counts);      // five nodes on a QU4
  EXPECT_EQ(connectivity_stop("4 1 1 2 3 4\n"), counts);        // element beyond NELEM
  EXPECT_EQ(connectivity_stop("1 1 2\n"), bad);                 // fewer than four values
  EXPECT_EQ(connectivity_stop("1 1 NODOS 1 2 3 4\n"), bad);     // a word
  EXPECT_EQ(connectivity_stop("1 3 1 2 3\n"), bad);             // set beyond NSETS
  EXPECT_EQ(connectivity_stop("1 0 1 2 3\n"), bad);             // set 0
  EXPECT_EQ(connectivity_stop("0 1 1 2 3 4\n"), bad);           // element 0
  EXPECT_EQ(connectivity_stop("2 1 1 2 3 4\n2 1 1 2 3 4\n"), bad);  // element given twice
  EXPECT_EQ(connectivity_stop("1 2 1 2 3\n2 2 1 2 3\n"), bad);  // second card for a one-element set
}

TEST_F(GeometryReaderTest, CartesianCardsFillMissingCoordinatesWithZero) {
  geometry("5 1.0\n1 2 3\n1 4 5 99\nFIN_GEOMETRIA\nCONDICIONES\n", 2, 0, 0);
  INPGEO();
  EXPECT_EQ(coord(5, 1), 1.0);
  EXPECT_EQ(coord(5, 2), 0.0);
  EXPECT_EQ(coord(1, 1), 4.0);  // the later card wins
  EXPECT_EQ(coord(1, 2), 5.0);
  EXPECT_EQ(coord(2, 1), 0.0);  // a node without a card is not reported
  EXPECT_EQ(listing().find("DEFINICION"), std::string::npos);  // print switch off
}

TEST_F(GeometryReaderTest, PolarAndSphericalInputBecomeCartesian) {
  geometry("1 2 90\n2 2 0\n3 2 30 7\nFIN_GEOMETRIA\n", 3, 1);
  INPGEO();
  const double polar[3][3] = {{2, 0, 0}, {0, 2, 0}, {1, std::sqrt(3.0), 7}};
  for (int n = 1; n <= 3; ++n)
    for (int d = 1; d <= 3; ++d) EXPECT_NEAR(coord(n, d), polar[n - 1][d - 1], 1e-14) << n << "," << d;
  EXPECT_NE(listing().find("     DEFINICION DE COORDENADAS CARTESIANAS:\n"), std::string::npos);

  geometry("1 2 90 90\n2 2 0 90\n3 2 45 0\n4 1 30 60\nFIN_GEOMETRIA\n", 3, 2);
  INPGEO();
  const double s60 = std::sqrt(3.0) / 2;
  const double spherical[4][3] = {{2, 0, 0}, {0, 2, 0}, {0, 0, 2}, {s60 * 0.5, s60 * s60, 0.5}};
  for (int n = 1; n <= 4; ++n)
    for (int d = 1; d <= 3; ++d) EXPECT_NEAR(coord(n, d), spherical[n - 1][d - 1], 1e-14) << n << "," << d;
}

TEST_F(GeometryReaderTest, WrongCoordinateCardsStop) {
  const std::string nodes = "INPGEO: VERIFICA EL NUMERO DE NODOS";
  EXPECT_EQ(coordinate_stop("0 1 1\n"), nodes);
  EXPECT_EQ(coordinate_stop("7 1 1\n"), nodes);
  EXPECT_EQ(coordinate_stop("1\n2\n3\n4\n5\n6\n1 0.5\n"), nodes);  // a seventh card
  EXPECT_EQ(coordinate_stop("1 X=2\n"), "INPGEO: COORDENADAS EQUIVOCADAS");
  EXPECT_EQ(coordinate_stop("1 2 30\n", 2, 2), "INPGEO: NRADS INCOMPATIBLE CON NDIME");
  EXPECT_EQ(coordinate_stop("1 2 30\n", 1, 1), "INPGEO: NRADS INCOMPATIBLE CON NDIME");
}

// The first coordinate of the nodes of a set of revolution is a radius: below zero it
// stops, unless it is the round-off of a node on the axis (sin -360 degrees). Nodes
// of the other sets, and of heat-conduction sets (whose type is a dimension), may lie
// anywhere.
TEST_F(GeometryReaderTest, NegativeRadiiOfSetsOfRevolutionStop) {
  const auto read = [&](const std::string& node5_angle, int analysis) {
    geometry("GEOMETRIA\n" + VALID + "1 2 90\n2 1 -360\n3 2 90\n4 1 -90\n5 1 " + node5_angle +
                 "\n6 1 0\nFIN_GEOMETRIA\n",
             2, 1);
    SETS(1).problem_type = 1;  // plane: nodes 1 to 6
    SETS(2).problem_type = 3;  // of revolution: nodes 2, 3, 5
    RUN.KANALI = analysis;
    INPCON();
    INPGEO();
  };
  EXPECT_EQ(stop_of([&] { read("45", 1); }), "no stop");
  EXPECT_LT(coord(2, 1), 0.0);  // on the axis but for round-off: accepted
  EXPECT_NEAR(coord(4, 1), -1.0, 1e-15);  // a plane node
  EXPECT_EQ(stop_of([&] { read("-45", 1); }), "INPGEO: RADIO NEGATIVO NODO 5");
  EXPECT_NE(listing().find(" NODO         5 DEL SET    2 DE REVOLUCION CON RADIO  -0.707107E+00\n"), std::string::npos);
  EXPECT_EQ(stop_of([&] { read("-45", 5); }), "no stop");
}

// Element nodes without a coordinate card are named in the listing, ten to a line.
TEST_F(GeometryReaderTest, ElementNodesWithoutCoordinatesAreListed) {
  geometry("GEOMETRIA\n" + VALID + "1 0 0\n2 1 0\n3 1 1\n5 2 0\nFIN_GEOMETRIA\n");
  INPCON();
  INPGEO();
  EXPECT_NE(listing().find("\n WARNING: NODOS DE ELEMENTOS SIN COORDENADAS (QUEDAN EN EL ORIGEN):\n"
                           "         4         6\n"),
            std::string::npos);
}

}  // namespace
}  // namespace vortan
