// The files of a run, end to end: a file that cannot be written ends the run with a
// failure, the deck is read from the path exactly as given, include files are found
// beside the deck first, and lines of any length are read.
#include <gtest/gtest.h>

#include <filesystem>

#include "../test_support.h"
#include "run_decks.h"

namespace vortan {
namespace {

namespace fs = std::filesystem;

bool link_to_full_device(const std::string& path) {
  std::error_code error;
  fs::create_symlink("/dev/full", path, error);
  return !error && fs::exists("/dev/full");
}

std::string last_line(const std::string& text) {
  const auto lines = test::lines_of(text);
  return lines.empty() ? "" : lines.back();
}

const std::string ERROR_STARS = [] {
  std::string s = "     ";
  for (int i = 0; i < 39; ++i) s += "* ";
  return s;
}();

TEST(OutputFiles, AFileThatCannotBeWrittenEndsTheRunWithAFailure) {
  struct Case {
    std::string deck;
    std::string full;     // the extension of the file on the full device
    std::string message;  // the message of the stop
  };
  const Case cases[] = {
      {test::two_element_deck(), ".sal", "WRITFI: ERROR DE ESCRITURA EN UNIDAD 16"},
      {test::two_element_deck(), ".tim", "WRITFI: ERROR DE ESCRITURA EN UNIDAD 2"},
      {test::two_element_deck(), ".dic", "WRITFI: ERROR DE ESCRITURA EN UNIDAD 10"},
      // A deck that stops by itself before its listing fills a buffer: the listing that
      // could not take the report is named too.
      {"VORTAN\nANALISIS CUANTICO\n", ".sal", "INPDAT: ANALISIS NO IMPLEMENTADO"},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    test::write_file(dir.file("D.vtn"), c.deck);
    if (!link_to_full_device(dir.file("D" + c.full))) GTEST_SKIP() << "no /dev/full";
    const test::ProgramRun run = test::run_program_with(dir.path(), "D.vtn");
    EXPECT_EQ(run.status, 1) << c.full;
    const auto err = test::lines_of(run.err);
    ASSERT_FALSE(err.empty()) << c.full;
    EXPECT_NE(err[0].find(": " + c.message), std::string::npos) << err[0];
    EXPECT_NE(run.err.find("VORTAN: ERROR DE ESCRITURA EN EL FICHERO D" + c.full + "\n"), std::string::npos)
        << run.err;
    // The error file holds the report; a listing that could be written ends with it.
    EXPECT_NE(test::read_file(dir.file("D.err")).find("     " + c.message), std::string::npos) << c.full;
    if (c.full != ".sal") {
      EXPECT_EQ(last_line(test::read_file(dir.file("D.sal"))), ERROR_STARS) << c.full;
    }
  }
}

TEST(OutputFiles, AListingThatCannotBeOpenedIsNamedAndNotReportedAsTheListing) {
  test::TempDir dir;
  test::write_file(dir.file("D.vtn"), test::two_element_deck());
  fs::create_directory(dir.file("D.sal"));
  const test::ProgramRun run = test::run_program_with(dir.path(), "D.vtn");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(test::lines_of(run.err), (std::vector<std::string>{
                                         "VORTAN: OPENFI: NO ABRE UNIDAD 16 .sal",
                                         "VORTAN: NO SE PUEDE ABRIR EL FICHERO D.sal (ES UN DIRECTORIO)"}));
  // The error file is the only report of the stop.
  EXPECT_NE(test::read_file(dir.file("D.err")).find("     OPENFI: NO ABRE UNIDAD 16 .sal"), std::string::npos);
}

TEST(OutputFiles, TheDeckIsReadFromThePathExactlyAsGiven) {
  test::TempDir dir;
  // Namesakes that the old name rules would have picked: blanks dropped, the name cut
  // to 50 characters. Each is a deck that would stop at once.
  fs::create_directory(dir.file("my dir"));
  fs::create_directory(dir.file("mydir"));
  const std::string long_name(60, 'L');
  for (const std::string& decoy : std::vector<std::string>{"mydir/t.vtn", long_name.substr(0, 50) + ".vtn"})
    test::write_file(dir.file(decoy), "NO ES UN PROBLEMA\n");
  for (const std::string& deck : std::vector<std::string>{"my dir/t.vtn", long_name + ".vtn", "Mayus.VTN"}) {
    test::write_file(dir.file(deck), test::two_element_deck());
    const test::ProgramRun run = test::run_program_with(dir.path(), "'" + deck + "'");
    EXPECT_EQ(run.status, 0) << deck << run.err;
    const std::string stem = deck.substr(0, deck.size() - 4);
    EXPECT_NE(test::read_file(dir.file(stem + ".sal")).find("SEPTIEMBRE DE 1999"), std::string::npos) << deck;
    EXPECT_TRUE(test::file_exists(dir.file(stem + ".tim"))) << deck;
  }
  EXPECT_EQ(test::directory_names(dir.file("mydir")), std::vector<std::string>{"t.vtn"});
  EXPECT_FALSE(test::file_exists(dir.file(long_name.substr(0, 50) + ".sal")));

  // A missing deck, a folder that does not exist and a folder given as the deck are
  // named on standard error, and nothing is written.
  fs::create_directory(dir.file("folder.vtn"));
  const auto before = test::directory_names(dir.path());
  for (const std::string deck : {"missing.vtn", "no such/t.vtn", "folder.vtn"}) {
    const test::ProgramRun run = test::run_program_with(dir.path(), "'" + deck + "'");
    EXPECT_EQ(run.status, 1) << deck;
    EXPECT_NE(run.err.find("VORTAN: NO SE PUEDE ABRIR EL FICHERO " + deck + " ("), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("LISTADO"), std::string::npos) << run.err;
  }
  EXPECT_NE(test::run_program_with(dir.path(), "folder.vtn").err.find("(ES UN DIRECTORIO)"), std::string::npos);
  EXPECT_NE(test::run_program_with(dir.path(), "missing.vtn").err.find("(NO EXISTE)"), std::string::npos);
  EXPECT_EQ(test::directory_names(dir.path()), before);
  EXPECT_TRUE(fs::is_empty(dir.file("folder.vtn")));
}

TEST(OutputFiles, IncludeFilesAreFoundBesideTheDeckFirstAndRecordedInTheListing) {
  test::TempDir dir;
  fs::create_directory(dir.file("case"));
  fs::create_directory(dir.file("shared"));
  const std::string problem = test::two_element_problem();
  // The deck's own include file, and a namesake in the working directory that would stop.
  test::write_file(dir.file("case/model.inc"), problem);
  test::write_file(dir.file("model.inc"), "NO ES EL MODELO\n");
  test::write_file(dir.file("case/deck.vtn"), test::STATIC_SELECTION + "INCLUYE model.inc\n" + test::TWO_ELEMENT_LOADS);
  test::ProgramRun run = test::run_program_with(dir.path(), "case/deck.vtn");
  EXPECT_EQ(run.status, 0) << run.err;
  const std::string root = fs::canonical(dir.path()).string();
  EXPECT_NE(test::read_file(dir.file("case/deck.sal")).find("     FICHERO INCLUIDO: " + root + "/case/model.inc\n"),
            std::string::npos);

  // Not beside the deck: the working directory. A name that leaves the deck's folder
  // and an absolute name are allowed; the listing shows where each file really is.
  const struct {
    std::string name;
    std::string where;
  } names[] = {{"only-here.inc", root + "/only-here.inc"},
               {"../shared/model.inc", root + "/shared/model.inc"},
               {root + "/shared/./model.inc", root + "/shared/model.inc"}};
  test::write_file(dir.file("only-here.inc"), problem);
  test::write_file(dir.file("shared/model.inc"), problem);
  for (const auto& include : names) {
    test::write_file(dir.file("case/deck.vtn"),
                     test::STATIC_SELECTION + "INCLUYE " + include.name + "\n" + test::TWO_ELEMENT_LOADS);
    run = test::run_program_with(dir.path(), "case/deck.vtn");
    EXPECT_EQ(run.status, 0) << include.name << run.err;
    EXPECT_NE(test::read_file(dir.file("case/deck.sal")).find("     FICHERO INCLUIDO: " + include.where + "\n"),
              std::string::npos)
        << include.name;
  }
}

TEST(OutputFiles, CharactersAfterColumn150AreIgnoredOnLinesOfAnyLength) {
  test::TempDir dir;
  // The selection card ends at column 150; what follows on its line is never read (were
  // it read, the card would select the static linear analysis, which finds no header).
  std::string card = "MATERIAL";
  card.resize(150, ' ');
  test::write_file(dir.file("A.vtn"), "VORTAN\nECHO ON\nANALISIS ESTATICO\nTITULO T\nGENERAL LINEAL\n" + card +
                                          "LINEAL" + std::string(8 << 20, 'Z') + " $ [ /\n");
  const test::ProgramRun run = test::run_program_with(dir.path(), "A.vtn");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(test::read_file(dir.file("A.sal")).find("\n INPDAT <-- MATERIAL\n"), std::string::npos);
}

}  // namespace
}  // namespace vortan
