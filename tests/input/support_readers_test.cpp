#include "input/support_readers.h"
#include "reader_fixture.h"

namespace vortan {
namespace {

const std::string INCLINED = "ERROR EN LECTURA DE APOYOS INCLINADOS";
const std::string LINKED = "ERROR EN LECTURA DE GRADOS DE LIBERTAD L";  // cut to 40

// Six nodes with three degrees of freedom; two entries in each block.
class SupportReaderTest : public test::ReaderTest {
 protected:
  void supports(const std::string& cards) {
    open(cards);
    PROBLEM.NPNODS = 6;
    PROBLEM.NDOFG = 3;
    PROBLEM.MAPOY = PROBLEM.MRESO = PROBLEM.MGDLL = 2;
    PROBLEM.APOYO = zeroed_ints(2, "APOYO");
    PROBLEM.APANG = zeroed_reals(2, "APANG");
    PROBLEM.RESOR = zeroed_ints(2, "RESOR");
    PROBLEM.REDIR = zeroed_ints(2, "REDIR");
    PROBLEM.REVAL = zeroed_reals(2, "REVAL");
    PROBLEM.NGDLL = zeroed_ints(6, "NGDLL");
  }
  std::string inclined_stop(const std::string& data) {
    supports("APOYOS_INCLINADOS\n" + data + "FIN_APOYOS_INCLINADOS\n");
    return stop_of(LEAPYO);
  }
  std::string elastic_stop(const std::string& data) {
    supports("APOYOS_ESLATICOS\n" + data + "FIN_APOYOS_ESLATICOS\n");
    return stop_of(LERESO);
  }
  std::string linked_stop(const std::string& data) {
    supports("GRADOS_DE_LIBERTAD_LIGADOS\n" + data + "FIN_GRADOS_DE_LIBERTAD_LIGADOS\n");
    return stop_of(LEGDLL);
  }
};

TEST_F(SupportReaderTest, BlocksFillTheirArrays) {
  supports("APOYOS_INCLINADOS\n2 30\n5 -45\nFIN_APOYOS_INCLINADOS\n"
           "APOYOS_ESLATICOS\n3 2 1.5E6\n6 3 20\nFIN_APOYOS_ESLATICOS\n"
           "GRADOS_DE_LIBERTAD_LIGADOS\n1 4 1\n2 6 3\nFIN_GRADOS_DE_LIBERTAD_LIGADOS\n");
  LEAPYO();
  LERESO();
  LEGDLL();
  EXPECT_EQ(WORK.int_at(PROBLEM.APOYO + 1), 5);
  EXPECT_DOUBLE_EQ(WORK.reals(PROBLEM.APANG)[0], 30 * 0.01745329238474369);
  EXPECT_DOUBLE_EQ(WORK.reals(PROBLEM.APANG)[1], -45 * 0.01745329238474369);
  EXPECT_EQ(WORK.int_at(PROBLEM.RESOR + 1), 6);
  EXPECT_EQ(WORK.int_at(PROBLEM.REDIR + 1), 3);
  EXPECT_EQ(WORK.reals(PROBLEM.REVAL)[0], 1.5e6);
  const int groups[6] = {1, 4, 1, 2, 6, 3};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(WORK.int_at(PROBLEM.NGDLL + i), groups[i]) << i;
  const std::string text = listing();
  EXPECT_NE(text.find("\n\n\n          APOYOS INCLINADOS\n"), std::string::npos);
  EXPECT_NE(text.find("              5      -45.000000\n"), std::string::npos);  // the angle as read
  EXPECT_NE(text.find("          APOYOS ELASTICOS\n"), std::string::npos);
  EXPECT_NE(text.find("          GRADOS DE LIBERTAD LIGADOS\n"), std::string::npos);
}

TEST_F(SupportReaderTest, MissingBlockCardsStop) {
  supports("APOYOS_INCLINADOS\n2 30\n5 -45\nCARGAS\n");
  EXPECT_EQ(stop_of(LEAPYO), INCLINED);
  supports("APOYOS\n2 30\n");
  EXPECT_EQ(stop_of(LEAPYO), INCLINED);
  supports("APOYOS_ESLATICOS\n3 2 1.5E6\n6 3 20\nCARGAS\n");
  EXPECT_EQ(stop_of(LERESO), INCLINED);
  supports("APOYOS_ELASTICOS\n");  // the block word is spelled APOYOSESLATICOS
  EXPECT_EQ(stop_of(LERESO), INCLINED);
  supports("GRADOS_DE_LIBERTAD_LIGADOS\n1 4 1\n2 6 3\nCARGAS\n");
  EXPECT_EQ(stop_of(LEGDLL), LINKED);
}

TEST_F(SupportReaderTest, NodesDirectionsAndShortCardsAreChecked) {
  EXPECT_EQ(inclined_stop("0 30\n5 -45\n"), "LEAPYO: NODO NO EXISTENTE");
  EXPECT_EQ(inclined_stop("2 30\n7 -45\n"), "LEAPYO: NODO NO EXISTENTE");
  EXPECT_EQ(inclined_stop("2\n5 -45\n"), "LEAPYO: TARJETA EQUIVOCADA EN LEAPYO");
  EXPECT_EQ(inclined_stop("2 30\n"), "LEAPYO: TARJETA EQUIVOCADA EN LEAPYO");  // end card too early
  EXPECT_EQ(elastic_stop("7 1 10\n6 3 20\n"), "LERESO: NODO NO EXISTENTE");
  EXPECT_EQ(elastic_stop("3 0 10\n6 3 20\n"), "LERESO: DIRECCION NO EXISTENTE");
  EXPECT_EQ(elastic_stop("3 4 10\n6 3 20\n"), "LERESO: DIRECCION NO EXISTENTE");
  EXPECT_EQ(elastic_stop("3 2\n6 3 20\n"), "LERESO: TARJETA EQUIVOCADA EN LERESO");
  EXPECT_EQ(linked_stop("1 0 1\n2 6 3\n"), "LEGDLL: NODO NO EXISTENTE");
  EXPECT_EQ(linked_stop("1 4 1\n7 6 3\n"), "LEGDLL: NODO NO EXISTENTE");
  EXPECT_EQ(linked_stop("1 4 4\n2 6 3\n"), "LEGDLL: DIRECCION NO EXISTENTE");
  EXPECT_EQ(linked_stop("1 4\n2 6 3\n"), "LEGDLL: TARJETA EQUIVOCADA EN LEGDLL");
}

}  // namespace
}  // namespace vortan
