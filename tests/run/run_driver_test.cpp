// Whole runs of the program: start-up, input dispatch, normal end and fatal stop.
#include <gtest/gtest.h>

#include "../test_support.h"

namespace vortan {
namespace {

using test::lines_of;
using test::read_file;

std::string stars() { return " " + std::string(78, '*'); }

std::string error_stars() {
  std::string s = "     ";
  for (int i = 0; i < 39; ++i) s += "* ";
  return s;
}

TEST(RunDriver, NormalEndWithoutAnalysisWritesBannersAndClosesFiles) {
  test::TempDir dir;
  test::write_file(dir.file("NADA.vtn"),
                   "VORTAN\nANALISIS ESTATICO\nTITULO  viga de prueba\nGENERAL LINEAL\nMATERIAL NOLINEAL\n");
  std::string console;
  EXPECT_EQ(test::run_program(dir, "NADA.vtn", &console), 0);
  const auto lines = lines_of(read_file(dir.file("NADA.sal")));
  ASSERT_GT(lines.size(), 60u);
  EXPECT_EQ(lines[3], stars());
  EXPECT_EQ(lines[15], "                        ----- V O R T A N v. 5.1.5  -----");
  EXPECT_EQ(lines[27], "                                                            MARZO DE 1999");
  EXPECT_EQ(lines[28].substr(0, 16), "          HORA: ");
  EXPECT_EQ(lines[29].substr(0, 16), "          DIA : ");
  EXPECT_EQ(lines[29].substr(21, 2), "/ ");
  EXPECT_EQ(lines[33], stars());
  std::string title = "TITULO  viga de prueba";
  title.resize(150, ' ');
  EXPECT_EQ(lines[36], title);
  const std::string sal = read_file(dir.file("NADA.sal"));
  EXPECT_NE(sal.find("----- V O R T A N v. 5.1.5 ------"), std::string::npos);
  EXPECT_NE(sal.find("SEPTIEMBRE DE 1999"), std::string::npos);
  EXPECT_NE(sal.find("          TIEMPO CONSUMIDO:    0/ 0/"), std::string::npos);
  EXPECT_EQ(lines.back(), "");
  EXPECT_EQ(lines[lines.size() - 3], stars());
  EXPECT_FALSE(test::file_exists(dir.file("NADA.err")));
  EXPECT_TRUE(test::file_exists(dir.file("NADA.dic")));
  EXPECT_NE(console.find("+              ESTOY REALIZANDO LOS CALCULOS PRELIMINARES"), std::string::npos);
  EXPECT_NE(console.find("+ TIEMPO CONSUMIDO EN LA EJECUCION DEL PROGRAMA  VORTAN      :   "),
            std::string::npos);
}

TEST(RunDriver, FatalStopWritesMessageErrorBlockAndErrorFile) {
  test::TempDir dir;
  test::write_file(dir.file("MAL.vtn"), "  PROGRAMA X=1\n");
  std::string console;
  EXPECT_EQ(test::run_program(dir, "MAL.vtn", &console), 1);
  std::string card = "  PROGRAMA X=1";
  card.resize(150, ' ');
  const std::vector<std::string> report = {
      "",
      "     INPDAT: NO ENCUENTRA TARJETA VORTAN     ",
      "",
      "",
      "",
      error_stars(),
      "",
      "                         SE HA DETECTADO UN ERROR",
      "",
      "     ULTIMA TARJETA LEIDA : " + card,
      "",
      error_stars()};
  const auto sal = lines_of(read_file(dir.file("MAL.sal")));
  ASSERT_GT(sal.size(), report.size());
  const std::vector<std::string> tail(sal.end() - report.size(), sal.end());
  EXPECT_EQ(tail, report);
  EXPECT_EQ(lines_of(read_file(dir.file("MAL.err"))), report);
  EXPECT_NE(console.find("VORTAN:* * * FIN DE ANALISIS * * *"), std::string::npos);
  EXPECT_EQ(read_file(dir.file("MAL.sal")).find("SEPTIEMBRE"), std::string::npos);
}

TEST(RunDriver, LastCardFincaGivesOnlyTheMessage) {
  test::TempDir dir;
  test::write_file(dir.file("F.vtn"), "VORTAN\nFINCA 3\n");
  EXPECT_EQ(test::run_program(dir, "F.vtn"), 1);
  const auto sal = lines_of(read_file(dir.file("F.sal")));
  ASSERT_GE(sal.size(), 3u);
  EXPECT_EQ(sal[sal.size() - 2], "     INPDAT: TIPO DE ANALISIS NO EXISTE      ");
  EXPECT_EQ(read_file(dir.file("F.sal")).find("SE HA DETECTADO"), std::string::npos);
  EXPECT_FALSE(test::file_exists(dir.file("F.err")));
}

TEST(RunDriver, AnalysisSelection) {
  struct Case {
    std::string cards;
    std::string message;  // empty: normal end
  };
  const Case cases[] = {
      {"ANALISIS DINAMICO-IMPLICITO\n", "INPDAT: DINAMICO IMPLICITO NO DISPONIBLE"},
      {"ANALISIS DINAMICO-EXPLICITO\n", "INPDAT: DINAMICO EXPLICITO NO DISPONIBLE"},
      {"ANALISIS AUTOVALORES\n", "INPDAT: AUTOVALORES NO DISPONIBLE"},
      {"ANALISIS TERMICO-ESTACIONARIO\n", "INPDAT: ANALISIS TERMICO NO DISPONIBLE"},
      {"ANALISIS CUANTICO\n", "INPDAT: ANALISIS NO IMPLEMENTADO"},
      {"12 3\n", "INPEST: TARJETA EQUIVOCADA EN INPDAT"},
      {"ANALISIS ESTATICO\nNOTITLE\n5\n", "INPDAT: TARJETA EQUIVOCADA EN INPDAT"},
      {"ANALISIS ESTATICO\nT\nGENERAL LINEAL\n5\n", "INPEST: TARJETA EQUIVOCADA EN INPDAT"},
      {"ANALISIS ESTATICO\nNOTITLE\nGENERAL LINEAL\nMATERIAL LINEAL\n",
       "INPDAT: ESTATICO LINEAL NO DISPONIBLE"},
      {"ANALISIS ESTATICO\nT\nGENERAL NOLINEAL\nMATERIAL LINEAL\n",
       "INPDAT: ESTATICO NO LINEAL NO DISPONIBLE"},
      {"ANALISIS ESTATICO\nT\nOPTIMIZACION LINEAL\nMATERIAL LINEAL\n",
       "INPDAT: OPTIMIZACION NO DISPONIBLE"},
      {"ANALISIS ESTATICO\nT\nOPTIMIZACION NOLINEAL\nOTRA COSA\n", ""},
      {"ANALISIS ESTATICO\nT\nGENERAL LINEAL\nMATERIAL NOLINEAL\n", ""},
      {"ANALISIS ESTATICO\nT\nGENERAL LINEAL\n", "LISTEN: FIN DE FICHERO DETECTADO"},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    test::write_file(dir.file("S.vtn"), "VORTAN\n" + c.cards);
    const int status = test::run_program(dir, "S.vtn");
    const std::string sal = read_file(dir.file("S.sal"));
    if (c.message.empty()) {
      EXPECT_EQ(status, 0) << c.cards;
      EXPECT_NE(sal.find("SEPTIEMBRE DE 1999"), std::string::npos) << c.cards;
    } else {
      EXPECT_EQ(status, 1) << c.cards;
      EXPECT_NE(sal.find("     " + c.message), std::string::npos) << c.cards;
    }
  }
}

}  // namespace
}  // namespace vortan
