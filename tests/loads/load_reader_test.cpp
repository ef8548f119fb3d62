// The load block: global and set point loads, nodal temperatures, self weight, the
// set sections and their keyword dispatch, inclined supports and the listing.
#include <cmath>

#include "input/card_reader.h"
#include "load_fixture.h"

namespace vortan {
namespace {

using test::FREE;
using test::geometry;
using test::header;
using test::section;
using test::set_cards;

class LoadBlock : public test::LoadTest {};

// Two plane-stress squares in two sets sharing nodes 2 and 5; node 7 belongs to no
// element.
std::string two_sets(const std::string& node_extra = "", const std::string& supports = "") {
  const std::string material = "YOUNG=1000 POISSON=0.25 ESPESOR=1.0";
  return header(7, 2, node_extra) + set_cards(1, "TENSION_PLANA", "QU4", 1, material) +
         set_cards(2, "TENSION_PLANA", "QU4", 1, material) +
         geometry("1 1 1 2 5 4\n2 2 2 3 6 5\n1 0 0\n2 1 0\n3 2 0\n4 0 1\n5 1 1\n6 2 1\n7 5 5\n") + FREE +
         supports;
}

// The bundled example: a uniform end shear of total 1 on the quadratic side 21-32-53,
// consistent nodal loads 1/6, 2/3, 1/6 downwards (nodes 3, 4, 5 of element 10).
TEST_F(LoadBlock, ExampleCantileverEndShearGivesConsistentNodalLoads) {
  const std::string full = test::read_file(std::string(VORTAN_SOURCE_DIR) + "/examples/cantilever-plane-stress.vtn");
  read(full.substr(full.find("NUMERO_DE_NODOS")));
  for (int e = 1; e <= 10; ++e)
    for (int i = 1; i <= 16; ++i) {
      double expected = 0.0;
      if (e == 10 && (i == 6 || i == 10)) expected = -1.0 / 6.0;
      if (e == 10 && i == 8) expected = -2.0 / 3.0;
      EXPECT_NEAR(load(1, e, i), expected, 1e-7) << "element " << e << " variable " << i;
    }
  EXPECT_TRUE(CARD.word_is(1, "FINFUERZAS"));
  const std::string sal = listing();
  EXPECT_NE(sal.find("\n\n\n                    FUERZAS EN SET NUMERO:    1\n\n"), std::string::npos);
  EXPECT_NE(sal.find("     CARGAS UNIFORMEMNTE REPARTIDAS EN LADOS DE LEMENTOS\n\n"
                     "     NUMERO DE NODOS EN LADO       (NODGE) =    3\n"),
            std::string::npos);
  const std::string zeros5 = "  0.0000E+00  0.0000E+00  0.0000E+00  0.0000E+00  0.0000E+00";
  const std::string margin(15, ' ');
  EXPECT_NE(sal.find(" FUERZAS TOTALES NODALES EQUIVALENTES ELEMENTALES\n         1     " + zeros5 + "\n" + margin +
                     zeros5 + "\n" + margin + zeros5 + "\n" + margin + "  0.0000E+00\n         2     "),
            std::string::npos);
  EXPECT_NE(sal.find("        10     " + zeros5 + "\n" + margin +
                     " -0.1667E+00  0.0000E+00 -0.6667E+00  0.0000E+00 -0.1667E+00\n"),
            std::string::npos);
}

// A global load goes to the first element holding its node (set 1 before set 2,
// whatever the order of the sections), a later global card replaces an earlier one,
// extra components are not used, and set point loads add up.
TEST_F(LoadBlock, GlobalLoadsGoToTheFirstElementAndSetLoadsAddUp) {
  read(two_sets() +
       "FUERZAS GLOBALES PUNTUALES\n2 1.0 2.0\n2 3.0\n5 0 -1\n6 0.5 0.25 9.0\nFIN_PUNTUALES_GLOBALES\n" +
       section(2, "PUNTUALES\n5 1 1\n5 1 1\nFIN_PUNTUALES\n") + section(1, ""));
  EXPECT_EQ(LOADS.global_point_loads, 1);
  const double set1[8] = {0, 0, 3.0, 0, 0, -1.0, 0, 0};   // nodes 1 2 5 4
  const double set2[8] = {0, 0, 0, 0, 0.5, 0.25, 2.0, 2.0};  // nodes 2 3 6 5
  for (int i = 1; i <= 8; ++i) {
    EXPECT_EQ(load(1, 1, i), set1[i - 1]) << i;
    EXPECT_EQ(load(2, 1, i), set2[i - 1]) << i;
  }
  const std::string sal = listing();
  EXPECT_NE(sal.find("\n\n\n CARGAS PUNTUALES\n\n    2 0.10000E+01 0.20000E+01\n    2 0.30000E+01 0.00000E+00\n"),
            std::string::npos);
}

// Solids of revolution take a point load per unit of circumference: 2 pi r with the
// single-precision 2 pi, and 1 on the axis.
TEST_F(LoadBlock, AxisymmetricPointLoadsCarryTheRingFactor) {
  read(header(4, 1) + set_cards(1, "SOLIDO_DE_REVOLUCION", "QU4", 1, "YOUNG=1 POISSON=0.2") +
       geometry("1 1 1 2 3 4\n1 0 0\n2 0.5 0\n3 0.5 1\n4 0 1\n") + FREE +
       "FUERZAS\n" + section(1, "PUNTUALES\n2 1.0 0.0\n1 0.0 1.0\nFIN_PUNTUALES\n"));
  EXPECT_EQ(load(1, 1, 3), 3.1415927410125732);
  EXPECT_EQ(load(1, 1, 2), 1.0);
}

TEST_F(LoadBlock, NodalTemperaturesAccumulate) {
  read(two_sets() + "FUERZAS\nTEMPERATURA\n2 10.5\n2 1.5\n4\n5 -3\nFIN_TEMPERATURA\n" + section(1, "") +
       section(2, ""));
  ASSERT_NE(LOADS.TEMPE, 0);
  const double* t = WORK.reals(LOADS.TEMPE);
  const double expected[7] = {0, 12.0, 0, 0, -3.0, 0, 0};
  for (int n = 0; n < 7; ++n) EXPECT_EQ(t[n], expected[n]) << n + 1;
  const std::string sal = listing();
  EXPECT_NE(sal.find("     TEMPERATURAS IMPUESTAS EN NODOS\n\n\n    2 0.12000000E+02\n    5-0.30000000E+01\n"),
            std::string::npos);
}

// The weight of a set is the sum of its self-weight forces, against the last axis:
// a plane trapezoid (area 6, thickness 0.5), a ring (2 pi times r A = 2 pi 2 4) and a
// brick (volume 6).
TEST_F(LoadBlock, SelfWeightOfASetSumsToItsWeight) {
  struct Case {
    std::string deck;
    int ndofn;
    double weight;
  };
  const std::string trapezoid = "1 0 0\n2 2 0\n3 4 0\n4 3.5 1\n5 3 2\n6 2 2\n7 1 2\n8 0.5 1\n";
  const Case cases[] = {
      {header(8, 1) + set_cards(1, "TENSION_PLANA", "QU8", 1, "YOUNG=1 POISSON=0.2 ESPESOR=0.5 PESOVOL=3") +
           geometry("1 1 1 2 3 4 5 6 7 8\n" + trapezoid), 2, 3.0 * 0.5 * 6.0},
      {header(4, 1) + set_cards(1, "SOLIDO_DE_REVOLUCION", "QU4", 1, "YOUNG=1 POISSON=0.2 PESOVOL=3") +
           geometry("1 1 1 2 3 4\n1 1 0\n2 3 0\n3 3 2\n4 1 2\n"), 2, 3.0 * 6.2831854820251465 * 8.0},
      {header(8, 1) + set_cards(1, "SOLIDO", "HE8", 1, "YOUNG=1 POISSON=0.2 PESOVOL=3") +
           geometry("1 1 1 2 3 4 5 6 7 8\n1 0 0 0\n2 2 0 0\n3 2 1 0\n4 0 1 0\n5 0 0 3\n6 2 0 3\n7 2 1 3\n8 0 1 3\n"),
       3, 3.0 * 6.0},
  };
  for (const Case& c : cases) {
    read(c.deck + FREE + "FUERZAS\n" + section(1, "PESO_PROPIO\n"));
    const int nevab = SETS(1).NEVAB();
    double along_last = 0.0, others = 0.0;
    for (int i = 1; i <= nevab; ++i) (i % c.ndofn == 0 ? along_last : others) += load(1, 1, i);
    EXPECT_NEAR(along_last, -c.weight, 1e-6 * c.weight);
    EXPECT_EQ(others, 0.0);
    reset_active_set();
    reset_run_state();
  }
}

// The element expresses the two unknowns of a node on an inclined support along
// (cos a, sin a) and (-sin a, cos a); the load pair is turned into the same axes.
TEST_F(LoadBlock, LoadsOfInclinedSupportNodesAreTurnedIntoTheSupportAxes) {
  read(two_sets(" MAPOY=1", "APOYOS_INCLINADOS\n2 30\nFIN_APOYOS_INCLINADOS\n") + "FUERZAS\n" +
       section(1, "PUNTUALES\n2 1.0 0.0\n5 0.0 -2.0\nFIN_PUNTUALES\n") +
       section(2, "PUNTUALES\n3 1.0 0.0\nFIN_PUNTUALES\n"));
  const double angle = WORK.reals(PROBLEM.APANG)[0];
  ASSERT_NEAR(angle, M_PI / 6.0, 1e-7);
  EXPECT_DOUBLE_EQ(load(1, 1, 3), std::cos(angle));
  EXPECT_DOUBLE_EQ(load(1, 1, 4), -std::sin(angle));
  EXPECT_EQ(load(1, 1, 5), 0.0);  // node 5 has no support
  EXPECT_EQ(load(1, 1, 6), -2.0);
  EXPECT_EQ(load(2, 1, 3), 1.0);
}

TEST_F(LoadBlock, BadLoadCardsStopTheRun) {
  const std::string model = two_sets();
  const std::string both = section(1, "") + section(2, "");
  std::string eight_cards;
  for (int i = 0; i < 8; ++i) eight_cards += "2 1 1\n";
  auto in_set_1 = [&](const std::string& body) { return model + "FUERZAS\n" + section(1, body) + section(2, ""); };
  const std::pair<std::string, std::string> cases[] = {
      {model + "CARGAS\n", "CARGAS : TARJETA EQUIVOCADA EN FUERZAS"},
      {model + "FUERZAS\nSET_NUMERO 3\n", "CARGAS: NUMERO DE SET EQUIVOCADO"},
      {model + "FUERZAS\nSET_NUMERO 0\n", "CARGAS: NUMERO DE SET EQUIVOCADO"},
      {model + "FUERZAS\n" + section(1, "") + section(1, ""), "CARGAS: SET REPETIDO EN FUERZAS"},
      {model + "FUERZAS\n" + section(1, "") + "CARGAS DEL SET\n", "CARGAS: ESPERO LEER SET_NUMERO"},
      {model + "FUERZAS\nSET_NUMERO 1\n1 2\n", "FUERZAS : TARJETA EQUIVOCADA EN FUERZAS"},
      {in_set_1("CARGAS_NUEVAS\n"), "FUERZAS : TARJETA EQUIVOCADA EN FUERZAS"},
      {in_set_1("PUNTUALES\n3 1 1\nFIN_PUNTUALES\n"), "FUE001: NODO SIN ELEMENTO EN EL SET"},
      {in_set_1("PUNTUALES\n2 1\nFIN_PUNTUALES\n"), "FUE001 : TARJETA EQUIVOCADA EN PASO 1"},
      {in_set_1("PUNTUALES\n2 1 1 CARGA\nFIN_PUNTUALES\n"), "FUE001 : TARJETA EQUIVOCADA EN PASO 1"},
      {in_set_1("PUNTUALES\n8 1 1\nFIN_PUNTUALES\n"), "FUE001 : TARJETA EQUIVOCADA EN PASO 2"},
      {in_set_1("PUNTUALES\n0 1 1\nFIN_PUNTUALES\n"), "FUE001 : TARJETA EQUIVOCADA EN PASO 2"},
      {in_set_1("PUNTUALES\n" + eight_cards + "FIN_PUNTUALES\n"),  // more cards than nodes
       "FUE001 : TARJETA EQUIVOCADA EN PASO 2"},
      {model + "FUERZAS GLOBALES PUNTUALES\n2 UNO 1\n", "CARGAS : TARJETA EQUIVOCADA EN PASO 1"},
      {model + "FUERZAS GLOBALES PUNTUALES\n9 1 1\n", "CARGAS : TARJETA EQUIVOCADA EN PASO 2"},
      {model + "FUERZAS GLOBALES PUNTUALES\n7 1 0\nFIN_PUNTUALES_GLOBALES\n" + both,
       "CARGAS: CARGA PUNTUAL SIN ELEMENTO"},
      {model + "FUERZAS\nTEMPERATURA\n1 2 3\n", "FUE001 : TARJETA EQUIVOCADA EN TEMPERATU"},
      {model + "FUERZAS\nTEMPERATURA\n9 1\n", "TEMPER : TARJETA EQUIVOCADA EN NUMERO DE"},
      {in_set_1("CARGAS_REPARTIDAS\n"), "FUEREU : SET SIN CARGAS REPARTIDAS"},
      {in_set_1("TEMPERATURA\n"), "FUETEM: FALTAN TEMPERATURAS EN NODOS"},
      {in_set_1("INTERPOLADAS\n"), "INTERF : TARJETA EQUIVOCADA EN CARGA"},  // FIN_FUERZAS as a load card
      {in_set_1("FUERZAS_VIGAS\n"), "FUEVIG: EL SET NO ES DE BARRAS"},
      {in_set_1("CARGAS_DE_LINEA\n"), "FUERLIN: TIPO DE PROBLEMA NO DISPONIBLE"},
  };
  for (const auto& [deck, message] : cases) {
    EXPECT_EQ(stop_of(deck), message) << deck.substr(model.size());
    reset_active_set();
    reset_run_state();
  }
}

}  // namespace
}  // namespace vortan
