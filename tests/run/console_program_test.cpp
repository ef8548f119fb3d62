// What a user sees on the console when running the program: the fatal report on
// standard error, usage and version, the progress of a large run written to a file,
// and the warnings for a run that does less than its deck asks.
#include <gtest/gtest.h>

#include <filesystem>

#include "../test_support.h"
#include "run_decks.h"

namespace vortan {
namespace {

namespace fs = std::filesystem;

// The line number (from 1) of the first line of text equal to line.
long line_number(const std::string& text, const std::string& line) {
  const auto lines = test::lines_of(text);
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i] == line) return static_cast<long>(i) + 1;
  return 0;
}

TEST(ConsoleProgram, AFatalStopNamesMessageCardFileLineAndListingOnStandardError) {
  test::TempDir dir;
  fs::create_directory(dir.file("case"));
  // The offending card sits in an include file of a deck in a sub-folder.
  std::string model = test::two_element_problem();
  model.replace(model.find("4 1 1\n"), 6, "9 1 1\n");
  test::write_file(dir.file("case/model.inc"), model);
  test::write_file(dir.file("case/deck.vtn"), test::STATIC_SELECTION + "INCLUYE model.inc\n" + test::TWO_ELEMENT_LOADS);
  const test::ProgramRun run = test::run_program_with(dir.path(), "case/deck.vtn");
  EXPECT_EQ(run.status, 1);
  const std::string where = "case/model.inc:" + std::to_string(line_number(model, "9 1 1"));
  EXPECT_EQ(test::lines_of(run.err),
            (std::vector<std::string>{"VORTAN: " + where + ": INPCCO: NODO NO EXISTENTE",
                                      "VORTAN: ULTIMA TARJETA LEIDA : 9 1 1", "VORTAN: LISTADO: case/deck.sal"}));
  EXPECT_NE(run.out.find("VORTAN:* * * FIN DE ANALISIS * * *"), std::string::npos);
  // The listing and the error file keep their own report.
  const std::string err_file = test::read_file(dir.file("case/deck.err"));
  EXPECT_NE(err_file.find("     INPCCO: NODO NO EXISTENTE"), std::string::npos);
  EXPECT_NE(err_file.find("     ULTIMA TARJETA LEIDA : 9 1 1"), std::string::npos);
  const std::string listing = test::read_file(dir.file("case/deck.sal"));
  EXPECT_NE(listing.find(err_file), std::string::npos);

  // An error on a card of the deck itself, and the end of the deck reached too early.
  test::write_file(dir.file("case/deck.vtn"), "VORTAN\n$ comment\nANALISIS CUANTICO\n");
  EXPECT_EQ(test::lines_of(test::run_program_with(dir.path(), "case/deck.vtn").err)[0],
            "VORTAN: case/deck.vtn:3: INPDAT: ANALISIS NO IMPLEMENTADO");
  test::write_file(dir.file("case/deck.vtn"), "VORTAN\nANALISIS ESTATICO\n");
  EXPECT_EQ(test::lines_of(test::run_program_with(dir.path(), "case/deck.vtn").err),
            (std::vector<std::string>{"VORTAN: case/deck.vtn:2: LISTEN: FIN DE FICHERO DETECTADO",
                                      "VORTAN: LISTADO: case/deck.sal"}));
}

TEST(ConsoleProgram, AGoodRunRemovesTheErrorReportOfAnEarlierFailedRun) {
  test::TempDir dir;
  test::write_file(dir.file("V.vtn"), test::STATIC_SELECTION + test::two_element_problem());  // no loads
  ASSERT_EQ(test::run_program_with(dir.path(), "V.vtn").status, 1);
  ASSERT_TRUE(test::file_exists(dir.file("V.err")));
  test::write_file(dir.file("V.vtn"), test::two_element_deck());
  EXPECT_EQ(test::run_program_with(dir.path(), "V.vtn").status, 0);
  EXPECT_FALSE(test::file_exists(dir.file("V.err")));
  EXPECT_EQ(test::directory_names(dir.path()), (std::vector<std::string>{"V.dic", "V.fem", "V.sal", "V.tim", "V.vtn", "V.vtu"}));
}

TEST(ConsoleProgram, UsageAndVersionWriteNoFile) {
  test::TempDir dir;
  for (const char* arguments : {"", "-h", "--help"}) {
    const test::ProgramRun run = test::run_program_with(dir.path(), arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_EQ(run.out.rfind("Usage: vortan [--memory SIZE] PROBLEM.vtn\n", 0), 0u) << arguments;
    for (const char* topic : {".sal", ".err", "Exit status", "--version", "/examples/", "/docs/cards.md", "VORTAN_THREADS", "VORTAN_MEMORY"})
      EXPECT_NE(run.out.find(topic), std::string::npos) << topic;
    EXPECT_EQ(run.err, "");
  }
  const test::ProgramRun version = test::run_program_with(dir.path(), "--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "VORTAN 5.1.5\n");
  // Wrong use: the usage goes to standard error.
  for (const char* arguments : {"-x", "A.vtn B.vtn"}) {
    const test::ProgramRun run = test::run_program_with(dir.path(), arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("Usage: vortan [--memory SIZE] PROBLEM.vtn"), std::string::npos);
  }
  EXPECT_TRUE(test::directory_names(dir.path()).empty());
}

TEST(ConsoleProgram, ALargeRunWrittenToAFilePrintsAFewHundredLinesAtMost) {
  test::TempDir dir;
  test::write_file(dir.file("Q.vtn"), test::qu4_cantilever_deck(200, 200));
  const test::ProgramRun run = test::run_program_with(dir.path(), "Q.vtn");
  ASSERT_EQ(run.status, 0) << run.err;
  const auto lines = test::lines_of(run.out);
  EXPECT_LE(lines.size(), 300u);
  long counter_lines = 0;
  for (const std::string& line : lines)
    if (line.rfind("+ FACTORIZANDO ECUACION NUM:", 0) == 0) ++counter_lines;
  EXPECT_GE(counter_lines, 100);
  EXPECT_LE(counter_lines, 101);
  // The last equation and every phase line are there, with their text.
  EXPECT_NE(run.out.find("+ FACTORIZANDO ECUACION NUM:   80400"), std::string::npos);
  for (const char* phase : {"+ TIEMPO CONSUMIDO EN LA  LECTURA DE DATOS DEL   PROGRAMA    :   ",
                            "+ TIEMPO CONSUMIDO EN LA SOLUCION DEL SISTEMA DE ECUACIONES  :   ",
                            "+ TIEMPO CONSUMIDO EN LA EJECUCION DEL PROGRAMA  VORTAN      :   "})
    EXPECT_NE(run.out.find(phase), std::string::npos) << phase;
}

TEST(ConsoleProgram, ARunWithoutAnAnalysisSaysWhy) {
  struct Case {
    std::string cards;
    std::string reason;
  };
  const Case cases[] = {
      {"GENERAL LINEAL\nMATERIAL NOLINEAL\n", "LA SEGUNDA TARJETA DEBE SER MATERIAL LINEAL"},
      {"OPTIMIZACION NOLINEAL\nMATERIAL LINEAL\n", "OPTIMIZACION NOLINEAL NO TIENE ANALISIS"},
      {"GENERAL ELASTICO\nMATERIAL LINEAL\n", "SE ESPERA GENERAL LINEAL, GENERAL NOLINEAL U OPTIMIZACION LINEAL"},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    test::write_file(dir.file("N.vtn"), "VORTAN\nANALISIS ESTATICO\nTITULO T\n" + c.cards);
    const test::ProgramRun run = test::run_program_with(dir.path(), "N.vtn");
    EXPECT_EQ(run.status, 0) << c.cards;
    EXPECT_NE(run.out.find("WARNING: NO SE HA REALIZADO NINGUN ANALISIS\n"), std::string::npos) << c.cards;
    EXPECT_NE(run.out.find("\n         " + c.reason + "\n"), std::string::npos) << c.cards;
  }
  test::TempDir dir;
  test::write_file(dir.file("N.vtn"),
                   "VORTAN\nANALISIS ESTATICO\nTITULO T\nGENERAL LINEAL\nMATERIAL NOLINEAL\n");
  EXPECT_NE(test::run_program_with(dir.path(), "N.vtn").out.find(
                "         TARJETAS DE SELECCION: GENERAL LINEAL / MATERIAL NOLINEAL\n"),
            std::string::npos);
}

// The post-processing files and the error estimate a deck asks for are written, with
// no console warning.
TEST(ConsoleProgram, RequestedOutputIsWrittenWithoutWarnings) {
  test::TempDir dir;
  test::write_file(dir.file("P.vtn"), test::two_element_deck());
  test::ProgramRun run = test::run_program_with(dir.path(), "P.vtn");
  ASSERT_EQ(run.status, 0);
  EXPECT_TRUE(test::file_exists(dir.file("P.fem")));
  EXPECT_EQ(run.out.find("WARNING"), std::string::npos) << run.out;

  std::string keldar = test::two_element_deck("ERROR ACTIVO\n");
  keldar.replace(keldar.find("FEMVIEW"), 7, "KELDAR");
  keldar.replace(keldar.find("FEMV "), 5, "KELDAR ");
  test::write_file(dir.file("K.vtn"), keldar);
  run = test::run_program_with(dir.path(), "K.vtn");
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(run.out.find("WARNING"), std::string::npos) << run.out;
  EXPECT_TRUE(test::file_exists(dir.file("K.keldar.res")));
  EXPECT_NE(test::read_file(dir.file("K.sal")).find("ANALISIS DE ERROR GLOBAL"), std::string::npos);
}

}  // namespace
}  // namespace vortan
