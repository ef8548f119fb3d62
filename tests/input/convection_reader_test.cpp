// The convection block of the thermal problem: the boundary cards, their listing,
// storage and index by element, and the stops on a wrong block.
#include <gtest/gtest.h>

#include "../test_support.h"
#include "input/card_reader.h"
#include "input/convection_reader.h"
#include "input/problem.h"
#include "analyses/driver_phases.h"
#include "run/errstp.h"

namespace vortan {
namespace {

constexpr const char* WRONG_BLOCK = "INPTERE : ERROR EN CONDICIONES DE CONVEC";

// Two plane triangles (set 1) and a quadrilateral (set 2, film coefficient 7) over six
// nodes; the header announces nfron boundaries.
std::string thermal_deck(const std::string& block, int nfron = 2) {
  return "NUMERO_DE_NODOS NPNODS=6\nNUMERO_DE_SETS NSETS=2\nSOLVER LDLT\nPOSTPROCESO FEMVIEW\n"
         "CONDICIONES_DE_CONTORNO NFRON=" + std::to_string(nfron) + "\n"
         "SET_NUMERO 1\nTIPO DOSDIMENSIONES\nELEMENTO TR3 NELEM=2\nMATERIAL CONDX=1 CONDY=1 CONDZ=1\nFIN_SET\n"
         "SET_NUMERO 2\nTIPO DOSDIMENSIONES\nELEMENTO QU4 NELEM=1\nMATERIAL CONDX=1 CONDY=1 CONDZ=1 CONVC=7\nFIN_SET\n"
         "GEOMETRIA\n1 1 1 2 3\n2 1 2 4 3\n3 2 2 5 6 4\n"
         "1 0 0\n2 1 0\n3 0 1\n4 1 1\n5 2 0\n6 2 1\nFIN_GEOMETRIA\n"
         "CONDICIONES_DE_CONTORNO\nSIN_RESTRICCIONES\nFIN_CONDICIONES_DE_CONTORNO\n" +
         block;
}

// One 20-node brick over nodes 1 to 20.
std::string brick_deck(const std::string& block) {
  std::string deck = "NUMERO_DE_NODOS NPNODS=20\nNUMERO_DE_SETS NSETS=1\nSOLVER LDLT\nPOSTPROCESO FEMVIEW\n"
                     "CONDICIONES_DE_CONTORNO NFRON=1\n"
                     "SET_NUMERO 1\nTIPO TRESDIMENSIONES\nELEMENTO HE20 NELEM=1\n"
                     "MATERIAL CONDX=1 CONDY=1 CONDZ=1\nFIN_SET\nGEOMETRIA\n1 1";
  for (int n = 1; n <= 20; ++n) deck += " " + std::to_string(n);
  deck += "\n";
  for (int n = 1; n <= 20; ++n) deck += std::to_string(n) + " " + std::to_string(n) + " 0 0\n";
  return deck + "FIN_GEOMETRIA\nCONDICIONES_DE_CONTORNO\nSIN_RESTRICCIONES\nFIN_CONDICIONES_DE_CONTORNO\n" + block;
}

class ConvectionBlock : public ::testing::Test {
 protected:
  void TearDown() override { reset_run_state(); }
  // Reads a thermal problem and returns the message of its stop ("" when none).
  std::string read(const std::string& deck) {
    test::ensure_work_array();
    test::write_file(dir.file("T.vtn"), deck);
    test::open_deck(dir.file("T.vtn"));
    OPENFI(UNIT_ALLOCATION);
    RUN.NXTPOS = 1;
    try {
      INPEST(ProblemVariant::thermal);
    } catch (const FatalStop& stop) {
      return stop.message();
    }
    return "";
  }
  std::string listing() {
    flush_units();
    return test::read_file(dir.file("T.sal"));
  }
  test::TempDir dir;
};

// The second card takes the film coefficient of its set; the third card is a second
// boundary of element 2, chained after the first in card order.
TEST_F(ConvectionBlock, CardsAreStoredIndexedAndListed) {
  ASSERT_EQ(read(thermal_deck("CONVECCION_RADIACION\n1 2 1 2 2 4 3 20.0 5.0\n2 3 1 2 2 5 6 30.0\n"
                              "1 2 2 3 3 2 4 3 -1.5 0.5\nFIN_CONVECCION_RADIACION\n", 3)),
            "");
  EXPECT_EQ(PROBLEM.NFRON, 3);
  ASSERT_GT(PROBLEM.CONVE, 0);
  const int first[] = {1, 2, 1, 2, 2, 4, 3}, second[] = {2, 3, 1, 2, 2, 5, 6};
  for (int w = 1; w <= 7; ++w) {
    EXPECT_EQ(convection_word(1, w), first[w - 1]) << w;
    EXPECT_EQ(convection_word(2, w), second[w - 1]) << w;
  }
  for (int w = 8; w <= CONVECTION_WORDS; ++w) EXPECT_EQ(convection_word(1, w), 0) << w;  // padding
  EXPECT_EQ(convection_ambient(1), 20.0);
  EXPECT_EQ(convection_coefficient(1), 5.0);
  EXPECT_EQ(convection_ambient(2), 30.0);
  EXPECT_EQ(convection_coefficient(2), 7.0);  // "CONVC=" of set 2
  EXPECT_EQ(convection_ambient(3), -1.5);
  EXPECT_EQ(first_convection(1), 0);
  EXPECT_EQ(first_convection(2), 1);
  EXPECT_EQ(next_convection(1), 3);
  EXPECT_EQ(next_convection(3), 0);
  EXPECT_EQ(first_convection(3), 2);
  EXPECT_EQ(next_convection(2), 0);
  const std::string sal = listing();
  EXPECT_NE(sal.find("CONDICIONES DE CONVECCION-RADIACION"), std::string::npos);
  EXPECT_NE(sal.find("     SET ELEM. DIME. NNODE NGAUS NODOS\n"), std::string::npos);
  EXPECT_NE(sal.find("       2     3     1     2     2     5     6\n" + std::string(32, ' ') +
                     "TEMP. AMBIENTE=  0.300000E+02  COEF. CONVECCION=  0.700000E+01\n"),
            std::string::npos);
}

// A problem without boundaries still closes the block; a node list longer than ten
// continues on the next line.
TEST_F(ConvectionBlock, EmptyBlockAndLongNodeLists) {
  EXPECT_EQ(read(thermal_deck("CONVECCION_RADIACION\nFIN_CONVECCION_RADIACION\n", 0)), "");
  EXPECT_EQ(PROBLEM.NFRON, 0);
  EXPECT_EQ(first_convection(1), 0);
  reset_run_state();
  std::string card = "1 1 3 20 8";
  for (int n = 1; n <= 20; ++n) card += " " + std::to_string(n);
  EXPECT_EQ(read(brick_deck("CONVECCION_RADIACION\n" + card + " 10 2\nFIN_CONVECCION_RADIACION\n")), "");
  EXPECT_EQ(convection_word(1, 4), 20);
  EXPECT_EQ(convection_word(1, 5 + 20), 20);
  const std::string sal = listing();
  EXPECT_NE(sal.find("       1     1     3    20     8     1     2     3     4     5     6     7     8     9    10\n" +
                     std::string(32, ' ') + "    11    12    13    14    15    16    17    18    19    20\n"),
            std::string::npos);
}

TEST_F(ConvectionBlock, WrongBlocksStop) {
  const std::string end = "FIN_CONVECCION_RADIACION\n";
  const std::string open = "CONVECCION_RADIACION\n";
  const std::pair<std::string, std::string> cases[] = {
      {"CONVECCION\n" + end, WRONG_BLOCK},
      {"1 2 1 2 2 4 3 0\n" + end, WRONG_BLOCK},
      {open + "1 2 1 2 2 4 3 0\n2 3 1 2 2 5 6 0\n1 1 1 2 2 1 2 0\n" + end, "INPTERE: SOBRAN ELEMENTOS DE CONVECCION"},
      {open + "1 2 1 2 2 4 3 0\n" + end, "INPTERE: FALTAN ELEMENTOS DE CONVECCION"},
      {open + "0 2 1 2 2 4 3 0\n", "INPTERE: SET ERRONEO EN CONVECCION"},
      {open + "3 2 1 2 2 4 3 0\n", "INPTERE: SET ERRONEO EN CONVECCION"},
      {open + "1 4 1 2 2 4 3 0\n", "INPTERE: ELEMENTO ERRONEO EN CONVECCION"},
      {open + "2 1 1 2 2 1 2 0\n", "INPTERE: ELEMENTO ERRONEO EN CONVECCION"},  // element 1 is of set 1
      {open + "1 0 1 2 2 1 2 0\n", "INPTERE: ELEMENTO ERRONEO EN CONVECCION"},
      {open + "1 1 3 8 8 1 2 3 1 2 3 1 2 0\n", "INPTERE: DIMENSION ERRONEA EN CONVECCION"},  // a solid piece
      {open + "1 1 0 1 1 1 0\n", "INPTERE: DIMENSION ERRONEA EN CONVECCION"},  // a node of a plane set
      {open + "1 1 -1 1 1 1 0\n", "INPTERE: DIMENSION ERRONEA EN CONVECCION"},
      {open + "1 1 1 28 2 1 2 0\n", "INPTERE: NNODE ERRONEO EN CONVECCION"},
      {open + "1 1 1 0 2\n", "INPTERE: NNODE ERRONEO EN CONVECCION"},
      {open + "1 1 1 4 2 1 2 3 1 0\n", "INPTERE: NNODE ERRONEO EN CONVECCION"},  // no line of 4 nodes
      {open + "1 1 2 5 2 1 2 3 1 2 0\n", "INPTERE: NNODE ERRONEO EN CONVECCION"},
      {open + "1 1 1 2 0 1 2 0\n", "INPTERE: NGAUS ERRONEO EN CONVECCION"},
      {open + "1 1 1 2 4 1 2 0\n", "INPTERE: NGAUS ERRONEO EN CONVECCION"},  // no 4-point line rule
      {open + "1 1 2 3 2 1 2 3 0\n", "INPTERE: NGAUS ERRONEO EN CONVECCION"},  // nor 2-point triangle
      {open + "1 1 1 2 2 0 2 0\n", "INPTERE: NODO ERRONEO EN CONVECCION"},
      {open + "1 1 1 2 2 1 7 0\n", "INPTERE: NODO ERRONEO EN CONVECCION"},
      {open + "1 1 1 2 2 1 4 0\n", "INPTERE: NODO AJENO AL ELEMENTO"},  // node 4 is not on element 1
      {open + "1 1 1 2 2 1 2 0 -3\n", "INPTERE: COEF. DE CONVECCION NEGATIVO"},
      {open + "1 1 1 2 2 1\n", "INPTERE: TARJETA ERRONEA EN CONVECCION"},
      {open + "1 1 1 2 2 1 2\n", "INPTERE: TARJETA ERRONEA EN CONVECCION"},  // no ambient temperature
      {open + "1 1 1 2 2 1 2 3 4 5\n", "INPTERE: TARJETA ERRONEA EN CONVECCION"},
      {open + "1 1 1 2\n", "INPTERE: TARJETA ERRONEA EN CONVECCION"},
      {open + "NODOS 1 1 1 2 2 1 2 0\n", "INPTERE: TARJETA ERRONEA EN CONVECCION"},
  };
  for (const auto& [block, message] : cases) {
    EXPECT_EQ(read(thermal_deck(block)), message) << block;
    reset_run_state();
  }
  EXPECT_EQ(read(thermal_deck("CONVECCION_RADIACION\nFIN_CONVECCION_RADIACION\n", -1)), "INPTERE: NFRON NEGATIVO");
}

}  // namespace
}  // namespace vortan
