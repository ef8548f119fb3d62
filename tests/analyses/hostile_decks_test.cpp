// Decks that would make a careless reader index outside its arrays, allocate without
// bound or divide by zero: each ends in the fatal stop with its message, and the
// listing and error file are written and closed.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vortan
