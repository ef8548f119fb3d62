// Decks that would make a careless reader index outside its arrays, allocate without
// bound or divide by zero: each ends in the fatal stop with its message, and the
// listing and error file are written and closed.
#include <gtest/gtest.h>

#include <cmath>

#include "listing_tables.h"

namespace vortan {
namespace {

// A sound two-element plane model; each case replaces one piece of it.
std::string model(const std::string& nodes_card, const std::string& element_cards,
                  const std::string& restraints, const std::string& loads,
                  const std::string& material = "MATERIAL YOUNG=1000 POISSON=0.3 ESPESOR=1") {
  return "VORTAN\nANALISIS ESTATICO\nTITULO HOSTIL\nGENERAL LINEAL\nMATERIAL LINEAL\n" + nodes_card +
         "\nNUMERO_DE_SETS NSETS=1\nSOLVER LDLT\nPOSTPROCESO FEMVIEW\n"
         "SET_NUMERO 1\nTIPO TENSION_PLANA\nELEMENTO QU4 NELEM=2\n" + material + "\nFIN_SET\n"
         "GEOMETRIA\n" + element_cards +
         "1 0 0\n2 1 0\n3 2 0\n4 0 1\n5 1 1\n6 2 1\nFIN_GEOMETRIA\n"
         "CONDICIONES_DE_CONTORNO\n" + restraints + "FIN_CONDICIONES_DE_CONTORNO\n"
         "FUERZAS\nSET_NUMERO 1\nCARGAS DEL SET\n" + loads + "FIN_FUERZAS\nFEMV HOSTIL\n";
}

const std::string NODES = "NUMERO_DE_NODOS NPNODS=6";
const std::string ELEMENTS = "1 1 1 2 5 4\n2 1 2 3 6 5\n";
const std::string SUPPORTS = "1 1 1\n4 1 1\n";
const std::string LOADS = "PUNTUALES\n3 0 -1\n6 0 -1\nFIN_PUNTUALES\n";

TEST(HostileDecks, EveryClassEndsInItsFatalStop) {
  struct Case {
    std::string deck;
    std::string message;
  };
  const Case cases[] = {
      {model(NODES, ELEMENTS, SUPPORTS, LOADS), ""},  // the sound model runs
      {model("NUMERO_DE_NODOS NPNODS=2000000000", ELEMENTS, SUPPORTS, LOADS), "DIRECT: MEMORIA EXCEDIDA"},
      {model(NODES, "1 1 1 2 5 0\n2 1 2 3 6 5\n", SUPPORTS, LOADS), "INPCON: NODO ERRONEO EN ELEMENTO 1"},
      {model(NODES, "1 1 1 2 5 4\n2 1 2 3 6 99\n", SUPPORTS, LOADS), "INPCON: NODO ERRONEO EN ELEMENTO 2"},
      {model(NODES, "1 1 1 2 5 4\n1 1 2 3 6 5\n", SUPPORTS, LOADS), "INPCON: TARJETA ELEMENTAL ERRONEA"},
      {model(NODES, "1 1 1 2 5 4\n2 7 2 3 6 5\n", SUPPORTS, LOADS), "INPCON: TARJETA ELEMENTAL ERRONEA"},
      {model(NODES, "1 1 1 4 5 2\n2 1 2 3 6 5\n", SUPPORTS, LOADS), "JACOBM:DETER DEL JACOB CERO O NEGATIVO"},
      {model(NODES, ELEMENTS, "1 1 1\n7 1 1\n", LOADS), "INPCCO: NODO NO EXISTENTE"},
      {model(NODES, ELEMENTS, "1 A 4 INC 0 1 1\n", LOADS), "INPCCO: TARJETA EQUIVOCADA EN INPCCO"},
      {model(NODES, ELEMENTS, SUPPORTS, "PUNTUALES\n9 0 -1\nFIN_PUNTUALES\n"), "FUE001 : TARJETA EQUIVOCADA EN PASO 2"},
      {model(NODES, ELEMENTS, SUPPORTS, "DISTRIBUIDAS\nNODGE=2\n5 3 6\n1 0 1 0\nFIN_DISTRIBUIDAS\n"),
       "FUEREP : CONECTIVIDADES DE LADO"},
      {model(NODES, ELEMENTS, SUPPORTS, LOADS, "MATERIAL YOUNG=1000 POISSON=1.5"),
       "INPSET: MODULO DE POISSON FUERA DE RANGO"},
      {model("NUMERO_DE_NODOS NPNODS=1E30", ELEMENTS, SUPPORTS, LOADS), "GETINT: VALOR ENTERO FUERA DE RANGO"},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    int status = 0;
    const std::string sal = test::run_deck_text(dir, "H", c.deck, &status);
    if (c.message.empty()) {
      EXPECT_EQ(status, 0) << sal.substr(sal.size() > 2000 ? sal.size() - 2000 : 0);
      continue;
    }
    EXPECT_EQ(status, 1) << c.message;
    EXPECT_NE(sal.find("     " + c.message), std::string::npos) << c.message;
    // The listing was closed after the whole error block; the error file holds it too.
    const auto lines = test::lines_of(sal);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().substr(0, 9), "     * * ") << c.message;
    EXPECT_NE(test::read_file(dir.file("H.err")).find(c.message), std::string::npos) << c.message;
  }
}


// ---- Decks that used to end with exit status 0 and a wrong answer -------------------

// A deck with one piece of text replaced (the piece must be there).
std::string with(std::string deck, const std::string& from, const std::string& to) {
  const std::size_t at = deck.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) deck.replace(at, from.size(), to);
  return deck;
}

// What only a finished run writes: the closing banner of the listing, the timing
// report, and the result tables.
bool claims_success(const test::TempDir& dir, const std::string& sal) {
  return sal.find("----- V O R T A N v. 5.1.5 ------") != std::string::npos ||
         sal.find("TIEMPO CONSUMIDO:") != std::string::npos || sal.find("DESPLAZAMIENTOS") != std::string::npos ||
         test::read_file(dir.file("H.tim")).find("I N F O R M A C I O N") != std::string::npos;
}

// Runs a deck that must end in the fatal stop with the message; returns the listing.
std::string expect_stop(const std::string& deck, const std::string& message) {
  test::TempDir dir;
  int status = 0;
  const std::string sal = test::run_deck_text(dir, "H", deck, &status);
  EXPECT_EQ(status, 1) << message;
  EXPECT_NE(sal.find("\n     " + message + " "), std::string::npos) << message << "\n" << sal.substr(sal.size() > 1500 ? sal.size() - 1500 : 0);
  EXPECT_NE(test::read_file(dir.file("H.err")).find(message), std::string::npos) << message;
  EXPECT_FALSE(claims_success(dir, sal)) << message;
  return sal;
}

const std::string SOUND = model(NODES, ELEMENTS, SUPPORTS, LOADS);

// A value of an Ew.d field, the exponent written with or without its E (0.5+142).
double field_value(const std::string& field) {
  const std::size_t sign = field.find_last_of("+-");
  if (field.find('E') != std::string::npos || sign == std::string::npos || sign == 0) return std::stod(field);
  return std::stod(field.substr(0, sign)) * std::pow(10.0, std::stoi(field.substr(sign)));
}

double vertical_displacement_of_node_3(const std::string& sal) {
  const std::size_t table = sal.find("DESPLAZAMIENTOS");
  const std::size_t line = sal.find("\n         3 ", table);
  if (table == std::string::npos || line == std::string::npos) return 0.0;
  return field_value(sal.substr(line + 25, 14));
}

// Values whose products would leave the doubles are refused where they are read.
TEST(HostileDecks, NumbersThatWouldOverflowAreRefusedAtInput) {
  expect_stop(with(SOUND, "\n2 1 0\n", "\n2 1E308 0\n"), "INPGEO: VALOR FUERA DE RANGO");
  expect_stop(with(SOUND, "ESPESOR=1\n", "ESPESOR=1E-320\n"), "GETREA: VALOR FUERA DE RANGO");
  expect_stop(with(SOUND, "YOUNG=1000", "YOUNG=1E80"), "GETREA: VALOR FUERA DE RANGO");
  expect_stop(model(NODES, ELEMENTS, "1 1 1 1E308 0\n4 1 1\n", LOADS), "INPCCO: VALOR FUERA DE RANGO");
  expect_stop(model(NODES, ELEMENTS, SUPPORTS, "PUNTUALES\n3 0 -1E300\nFIN_PUNTUALES\n"),
              "FUE001: VALOR FUERA DE RANGO");
  const std::string sal = expect_stop(with(SOUND, "\n2 1 0\n", "\n2 1E75 0\n"), "INPGEO: VALOR FUERA DE RANGO");
  EXPECT_NE(sal.find("*** ERROR:    0.100000E+76  SE ADMITEN VALORES FINITOS DE MODULO MENOR QUE 1.0E+75"),
            std::string::npos);

  // Values just inside the bounds still give a finished run with numbers only: the
  // model 1e70 times larger with a modulus and a thickness of 1e-70 has a stiffness
  // 1e-143 times the sound model's, and so its displacements 1e143 times larger.
  std::string large = model(NODES, ELEMENTS, SUPPORTS, LOADS, "MATERIAL YOUNG=1E-70 POISSON=0.3 ESPESOR=1E-70");
  const char* const moved[][2] = {
      {"\n2 1 0\n", "\n2 1E70 0\n"}, {"\n3 2 0\n", "\n3 2E70 0\n"}, {"\n4 0 1\n", "\n4 0 1E70\n"},
      {"\n5 1 1\n", "\n5 1E70 1E70\n"}, {"\n6 2 1\n", "\n6 2E70 1E70\n"}};
  for (const auto& node : moved) large = with(large, node[0], node[1]);
  test::TempDir dir, sound_dir;
  int status = 0;
  const std::string listing = test::run_deck_text(dir, "H", large, &status);
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(claims_success(dir, listing));
  EXPECT_EQ(listing.find("NaN"), std::string::npos);
  EXPECT_EQ(listing.find("Inf"), std::string::npos);
  const double sound_tip = vertical_displacement_of_node_3(test::run_deck_text(sound_dir, "H", SOUND));
  EXPECT_NEAR(vertical_displacement_of_node_3(listing) / 1.0E143, sound_tip, 1e-5 * std::fabs(sound_tip));
}

// A model that can move without straining stops on its first pivot without digits,
// naming the node and degree of freedom, on both direct paths.
TEST(HostileDecks, MechanismsStopNamingTheNodeAndDegreeOfFreedom) {
  const std::string gauss = with(SOUND, "SOLVER LDLT", "SOLVER ELIMINACION_GAUSS");
  const std::string free_restraints = "SIN_RESTRICCIONES\n";
  std::string sal = expect_stop(model(NODES, ELEMENTS, free_restraints, LOADS), "SKYTRI: MECANISMO NODO 4 GDL 1");
  EXPECT_NE(sal.find("PIVOTE SIN CIFRAS SIGNIFICATIVAS="), std::string::npos);
  sal = expect_stop(with(model(NODES, ELEMENTS, free_restraints, LOADS), "SOLVER LDLT", "SOLVER ELIMINACION_GAUSS"),
                    "REDUCE: MECANISMO NODO 5 GDL 2");
  EXPECT_NE(sal.find("ECUACION No.=        10 NODO=         5 GDL=  2"), std::string::npos);
  // Held at one node only, the model can still turn about it.
  expect_stop(with(model(NODES, ELEMENTS, "1 1 1\n", LOADS), "SOLVER LDLT", "SOLVER ELIMINACION_GAUSS"),
              "REDUCE: MECANISMO NODO 6 GDL 2");
  // A modulus of 4.9E-324 gave zero displacements under load.
  expect_stop(with(gauss, "YOUNG=1000", "YOUNG=4.9E-324"), "GETREA: VALOR FUERA DE RANGO");
}

TEST(HostileDecks, ImpossibleValuesStopWithTheirOwnMessages) {
  expect_stop(with(SOUND, "YOUNG=1000", "YOUNG=-1000"), "INPSET: MODULO DE YOUNG NO POSITIVO");
  expect_stop(with(SOUND, "YOUNG=1000", "YOUNG=0"), "INPSET: MODULO DE YOUNG NO POSITIVO");
  expect_stop(with(SOUND, "ESPESOR=1\n", "ESPESOR=0\n"), "INPSET: ESPESOR NO POSITIVO");
  expect_stop(with(SOUND, "ESPESOR=1\n", "ESPESOR=-0.5\n"), "INPSET: ESPESOR NO POSITIVO");
  // A 2 left its degree of freedom free.
  expect_stop(model(NODES, ELEMENTS, "1 1 2\n4 1 1\n", LOADS), "INPCCO: CODIGO DE RESTRICCION NO VALIDO");
  // A solid of revolution reaching across its axis; a node on the axis is sound.
  const std::string axisymmetric = with(SOUND, "TIPO TENSION_PLANA", "TIPO SOLIDO_DE_REVOLUCION");
  const std::string sal =
      expect_stop(with(axisymmetric, "\n2 1 0\n", "\n2 -0.5 0\n"), "INPGEO: RADIO NEGATIVO NODO 2");
  EXPECT_NE(sal.find(" NODO         2 DEL SET    1 DE REVOLUCION CON RADIO  -0.500000E+00"), std::string::npos);
  test::TempDir dir;
  int status = 0;
  test::run_deck_text(dir, "H", axisymmetric, &status);
  EXPECT_EQ(status, 0);
}

// An element node that no coordinate card gave sits at the origin: the run goes on
// and names it in the listing and on the console; a node of no element stays silent.
TEST(HostileDecks, ElementNodesWithoutCoordinatesAreNamed) {
  test::TempDir dir;
  test::write_file(dir.file("H.vtn"), with(model("NUMERO_DE_NODOS NPNODS=7", ELEMENTS, SUPPORTS, LOADS),
                                           "\n1 0 0\n", "\n"));
  std::string console;
  EXPECT_EQ(test::run_program(dir, "H.vtn", &console), 0);
  const std::string warning = " WARNING: NODOS DE ELEMENTOS SIN COORDENADAS (QUEDAN EN EL ORIGEN):\n         1\n";
  const std::string sal = test::read_file(dir.file("H.sal"));
  EXPECT_NE(sal.find(warning), std::string::npos);
  EXPECT_NE(console.find(warning), std::string::npos);
  EXPECT_TRUE(claims_success(dir, sal));
  // Node 1 belongs at the origin, so the answers are those of the complete deck.
  test::TempDir full;
  const std::string complete =
      test::run_deck_text(full, "H", model("NUMERO_DE_NODOS NPNODS=7", ELEMENTS, SUPPORTS, LOADS));
  EXPECT_EQ(complete.find("WARNING: NODOS"), std::string::npos);
  EXPECT_EQ(test::displacements(sal), test::displacements(complete));
}

}  // namespace
}  // namespace vortan
