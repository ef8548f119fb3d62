// Whole decks of tests/cases run through the program, their listings compared with
// reviewed expected listings (date, clock and timing figures masked).
#include <gtest/gtest.h>

#include <filesystem>

#include "../test_support.h"

namespace vortan {
namespace {

namespace fs = std::filesystem;

// Copies a case folder into a scratch directory and runs one of its decks there.
int run_case(const test::TempDir& dir, const std::string& folder, const std::string& deck) {
  const fs::path source = fs::path(VORTAN_SOURCE_DIR) / "tests" / "cases" / folder;
  for (const auto& entry : fs::directory_iterator(source))
    fs::copy_file(entry.path(), fs::path(dir.path()) / entry.path().filename());
  return test::run_program(dir, deck + ".vtn");
}

std::string expected_listing(const std::string& folder, const std::string& deck) {
  return test::read_file(std::string(VORTAN_SOURCE_DIR) + "/tests/cases/" + folder + "/" + deck + ".expected");
}

TEST(DeckCases, IncludeEchoAndNormalEndWithoutAnalysis) {
  test::TempDir dir;
  ASSERT_EQ(run_case(dir, "spine", "include-echo"), 0);
  const std::string listing = test::read_file(dir.file("include-echo.sal"));
  EXPECT_EQ(test::mask_listing(listing), expected_listing("spine", "include-echo"));
  const fs::path included = fs::canonical(fs::path(dir.path()) / "common.inc");
  EXPECT_NE(listing.find("     FICHERO INCLUIDO: " + included.string() + "\n"), std::string::npos);
  const std::string timing = test::read_file(dir.file("include-echo.tim"));
  EXPECT_NE(timing.find("I N F O R M A C I O N    DE    T I E M P O S"), std::string::npos);
  EXPECT_NE(listing.find(timing), std::string::npos);  // the same report in both files
  EXPECT_FALSE(test::file_exists(dir.file("include-echo.err")));
}

}  // namespace
}  // namespace vortan
