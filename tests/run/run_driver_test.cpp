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
      {"ANALISIS DINAMICO-IMPLICITO\n", "LISTEN: FIN DE FICHERO DETECTADO"},  // its header reader runs
      {"ANALISIS DINAMICO-EXPLICITO\n", "LISTEN: FIN DE FICHERO DETECTADO"},
      {"ANALISIS AUTOVALORES\n", "LISTEN: FIN DE FICHERO DETECTADO"},  // its header reader runs
      {"ANALISIS TERMICO-ESTACIONARIO\n", "LISTEN: FIN DE FICHERO DETECTADO"},  // the thermal reader wants its header
      {"ANALISIS CUANTICO\n", "INPDAT: ANALISIS NO IMPLEMENTADO"},
      {"12 3\n", "INPEST: TARJETA EQUIVOCADA EN INPDAT"},
      {"ANALISIS ESTATICO\nNOTITLE\n5\n", "INPDAT: TARJETA EQUIVOCADA EN INPDAT"},
      {"ANALISIS ESTATICO\nT\nGENERAL LINEAL\n5\n", "INPEST: TARJETA EQUIVOCADA EN INPDAT"},
      {"ANALISIS ESTATICO\nNOTITLE\nGENERAL LINEAL\nMATERIAL LINEAL\n",
       "LISTEN: FIN DE FICHERO DETECTADO"},  // the static reader wants its header
      {"ANALISIS ESTATICO\nT\nGENERAL NOLINEAL\nMATERIAL LINEAL\n",
       "LISTEN: FIN DE FICHERO DETECTADO"},  // the nonlinear reader wants its header
      {"ANALISIS ESTATICO\nT\nOPTIMIZACION LINEAL\nMATERIAL LINEAL\n",
       "LISTEN: FIN DE FICHERO DETECTADO"},  // the general static reader wants its header
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

namespace vortan {
namespace {

// Hostile inputs end in the fatal stop with their message; the listing and the error
// file are written and closed.
TEST(RunDriverBadInput, EveryHostileDeckEndsInItsFatalStop) {
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>((i * 7919) % 256));
  std::string many;
  for (int i = 0; i < 61; ++i) many += " 1";
  struct Case {
    std::string deck;
    std::string message;
  };
  const Case cases[] = {
      {"", "LISTEN: FIN DE FICHERO DETECTADO"},
      {binary, ""},
      {"VORTAN\n" + std::string(400, 'A') + "\n", "INPDAT: TIPO DE ANALISIS NO EXISTE"},
      {"VORTAN\n" + many + "\n", "LISTEN: MUCHOS PARAMETROS EN COMANDO"},
      {"VORTAN\nINCLUYE no-such-file.inc\n", "LISTEN: ERROR ABRIENDO FICHERO INCLUDE"},
      {"VORTAN\nINCLUYE self.inc\n", "LISTEN: ERROR: INCLUDE DE INCLUDE"},
      {"VORTAN\nANALISIS [kN\n", "LISTEN: UNIDADES DEBEN TERMINAR CON \"]\""},
      {"VORTAN\nINCLUYE /dev/zero\n", "LISTEN: ERROR ABRIENDO FICHERO INCLUDE"},
      {"VORTAN\nINCLUYE .\n", "LISTEN: ERROR ABRIENDO FICHERO INCLUDE"},
      {"VORTAN\n" + std::string(100000, 'X'), "INPDAT: TIPO DE ANALISIS NO EXISTE"},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    test::write_file(dir.file("self.inc"), "INCLUYE self.inc\n");
    test::write_file(dir.file("BAD.vtn"), c.deck);
    std::string console;
    EXPECT_EQ(test::run_program(dir, "BAD.vtn", &console), 1) << c.message;
    const std::string sal = test::read_file(dir.file("BAD.sal"));
    if (!c.message.empty()) {
      EXPECT_NE(sal.find("     " + c.message), std::string::npos) << c.message;
    }
    EXPECT_NE(sal.find("SE HA DETECTADO UN ERROR"), std::string::npos) << c.message;
    EXPECT_EQ(test::read_file(dir.file("BAD.err")).empty(), false) << c.message;
    EXPECT_NE(console.find("VORTAN:* * * FIN DE ANALISIS * * *"), std::string::npos);
  }
}

TEST(RunDriverBadInput, WrongOrMissingProblemPath) {
  test::TempDir dir;
  test::write_file(dir.file("VIGA.txt"), "VORTAN\n");
  for (const char* path : {"VIGA.txt", "missing.vtn", "dir/"}) {
    std::string console;
    EXPECT_EQ(test::run_program(dir, path, &console), 1) << path;
    EXPECT_NE(console.find("VORTAN:* * * FIN DE ANALISIS * * *"), std::string::npos) << path;
  }
  std::string console;
  test::run_program(dir, "VIGA.txt", &console);
  EXPECT_NE(console.find("OPENFI: ERROR EN EL NOMBRE DE *.vtn"), std::string::npos);
  test::run_program(dir, "missing.vtn", &console);
  EXPECT_NE(console.find("OPENFI: NO ABRE UNIDAD 5 .vtn"), std::string::npos);
}

}  // namespace
}  // namespace vortan
