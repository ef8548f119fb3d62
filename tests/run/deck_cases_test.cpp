// Whole decks run through the program, their listings compared with reviewed expected
// listings (date, clock and timing figures masked, see test::mask_listing).
//
// Golden listings: every deck of examples/ and of tests/cases/static, patch and eigen has
// an expected listing, <deck>.expected, beside it (those of examples/ are kept under
// tests/cases/examples). A failure names the first line that differs and shows both
// versions of it; the whole masked listing of the run is left in the build directory,
// under golden-mismatch/, for a full diff.
//
// When a listing changes on purpose, regenerate the expected listings and review the
// change with git diff before committing it (name the change in the commit message):
//
//     VORTAN_UPDATE_GOLDEN=1 ctest --test-dir build -R 'Golden|DeckCases'
//
// In that mode the tests write the masked listings of their runs over the expected
// files and report themselves skipped instead of comparing. A run that does not end
// normally, or whose listing holds a NaN, is never written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "../test_support.h"

namespace vortan {
namespace {

namespace fs = std::filesystem;

const fs::path SOURCE_DIR = VORTAN_SOURCE_DIR;

bool updating_golden() {
  const char* update = std::getenv("VORTAN_UPDATE_GOLDEN");
  return update != nullptr && std::string(update) == "1";
}

// Copies every file of a folder of the source tree (the deck and whatever it includes)
// into a scratch directory and runs one of its decks there.
int run_case(const test::TempDir& dir, const fs::path& folder, const std::string& deck) {
  for (const auto& entry : fs::directory_iterator(SOURCE_DIR / folder))
    if (entry.is_regular_file()) fs::copy_file(entry.path(), fs::path(dir.path()) / entry.path().filename());
  return test::run_program(dir, deck + ".vtn");
}

// Checks a listing against its expected listing (a path in the source tree), or
// rewrites the expected listing when regeneration is asked for.
void expect_golden(const std::string& listing, const fs::path& expected, const std::string& label) {
  const std::string masked = test::mask_listing(listing);
  if (updating_golden()) {
    ASSERT_EQ(masked.find("NaN"), std::string::npos) << label << ": not written, the listing holds a NaN";
    fs::create_directories((SOURCE_DIR / expected).parent_path());
    test::write_file((SOURCE_DIR / expected).string(), masked);
    ASSERT_EQ(test::read_file((SOURCE_DIR / expected).string()), masked) << "could not write " << expected.string();
    GTEST_SKIP() << "rewrote " << expected.string();
  }
  ASSERT_TRUE(test::file_exists((SOURCE_DIR / expected).string()))
      << label << ": no expected listing " << expected.string() << " (VORTAN_UPDATE_GOLDEN=1 writes it)";
  const std::string difference = test::listing_difference(test::read_file((SOURCE_DIR / expected).string()), masked);
  if (difference.empty()) return;
  const fs::path kept = fs::path(VORTAN_EXE).parent_path() / "golden-mismatch" / (label + ".sal");
  fs::create_directories(kept.parent_path());
  test::write_file(kept.string(), masked);
  ADD_FAILURE() << label << " against " << expected.string() << ": " << difference
                << "\nthe masked listing of this run is " << kept.string();
}

TEST(DeckCases, IncludeEchoAndNormalEndWithoutAnalysis) {
  test::TempDir dir;
  ASSERT_EQ(run_case(dir, "tests/cases/spine", "include-echo"), 0);
  const std::string listing = test::read_file(dir.file("include-echo.sal"));
  expect_golden(listing, "tests/cases/spine/include-echo.expected", "spine_include-echo");
  const fs::path included = fs::canonical(fs::path(dir.path()) / "common.inc");
  EXPECT_NE(listing.find("     FICHERO INCLUIDO: " + included.string() + "\n"), std::string::npos);
  const std::string timing = test::read_file(dir.file("include-echo.tim"));
  EXPECT_NE(timing.find("I N F O R M A C I O N    DE    T I E M P O S"), std::string::npos);
  EXPECT_NE(listing.find(timing), std::string::npos);  // the same report in both files
  EXPECT_FALSE(test::file_exists(dir.file("include-echo.err")));
}

// One deck with a golden listing.
struct GoldenDeck {
  fs::path folder;        // where the deck lives, in the source tree
  std::string deck;       // its name without ".vtn"
  fs::path expected_dir;  // where its expected listing lives
  std::string label() const { return folder.filename().string() + "_" + deck; }
  fs::path expected() const { return expected_dir / (deck + ".expected"); }
};

void PrintTo(const GoldenDeck& d, std::ostream* os) { *os << (d.folder / d.deck).string() << ".vtn"; }

// The folders whose every deck has a golden listing.
const std::vector<std::pair<fs::path, fs::path>> GOLDEN_FOLDERS = {
    {"examples", "tests/cases/examples"},
    {"tests/cases/static", "tests/cases/static"},
    {"tests/cases/patch", "tests/cases/patch"},
    {"tests/cases/heat", "tests/cases/heat"},
    {"tests/cases/eigen", "tests/cases/eigen"},
};

std::vector<GoldenDeck> golden_decks() {
  std::vector<GoldenDeck> decks;
  for (const auto& [folder, expected_dir] : GOLDEN_FOLDERS) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(SOURCE_DIR / folder))
      if (entry.path().extension() == ".vtn") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) decks.push_back({folder, name, expected_dir});
  }
  return decks;
}

std::string test_name(const ::testing::TestParamInfo<GoldenDeck>& info) {
  std::string name = info.param.label();
  std::replace_if(name.begin(), name.end(), [](unsigned char c) { return !std::isalnum(c); }, '_');
  return name;
}

// Every expected listing belongs to a deck (a renamed or removed deck leaves none
// behind), and every folder holds decks.
TEST(GoldenListings, EveryExpectedListingHasItsDeck) {
  std::set<fs::path> wanted;
  for (const GoldenDeck& d : golden_decks()) wanted.insert(d.expected());
  for (const auto& [folder, expected_dir] : GOLDEN_FOLDERS) {
    bool has_deck = false;
    for (const GoldenDeck& d : golden_decks()) has_deck = has_deck || d.folder == folder;
    EXPECT_TRUE(has_deck) << folder.string();
    if (!fs::exists(SOURCE_DIR / expected_dir)) continue;  // then every deck's own test fails
    for (const auto& entry : fs::directory_iterator(SOURCE_DIR / expected_dir)) {
      if (entry.path().extension() == ".expected") {
        EXPECT_EQ(wanted.count(expected_dir / entry.path().filename()), 1u) << "stale " << entry.path().string();
      }
    }
  }
}

class GoldenListing : public ::testing::TestWithParam<GoldenDeck> {};

// The general static analysis ("OPTIMIZACION" "LINEAL") is the one static analysis
// without a timing table.
bool has_timing_table(const GoldenDeck& d) {
  const std::string deck = test::read_file((SOURCE_DIR / d.folder / (d.deck + ".vtn")).string());
  return deck.find("\nOPTIMIZACION LINEAL\n") == std::string::npos;
}

TEST_P(GoldenListing, MatchesTheExpectedListing) {
  const GoldenDeck& d = GetParam();
  test::TempDir dir;
  ASSERT_EQ(run_case(dir, d.folder, d.deck), 0) << d.label();
  const std::string listing = test::read_file(dir.file(d.deck + ".sal"));
  // A complete listing: the timing report when the analysis has one, then the final
  // banner with its elapsed time.
  const std::size_t report = listing.find("I N F O R M A C I O N    DE    T I E M P O S");
  if (has_timing_table(d)) {
    ASSERT_NE(report, std::string::npos) << d.label();
  } else {
    ASSERT_EQ(report, std::string::npos) << d.label();
  }
  ASSERT_NE(listing.find("          TIEMPO CONSUMIDO: ", report == std::string::npos ? 0 : report), std::string::npos)
      << d.label();
  EXPECT_FALSE(test::file_exists(dir.file(d.deck + ".err"))) << d.label();
  expect_golden(listing, d.expected(), d.label());
}

INSTANTIATE_TEST_SUITE_P(EveryStaticDeck, GoldenListing, ::testing::ValuesIn(golden_decks()), test_name);

// Runs in one process (as the fuzzer makes them) do not leak into each other: a deck
// run twice, with the next deck of the list run in between, gives the same listing both
// times. The deck in between differs in size and often in dimension, so state that a run
// leaves behind and the next one does not set again shows up here.
class InProcessRepeat : public ::testing::TestWithParam<GoldenDeck> {
 protected:
  void TearDown() override { reset_run_state(); }
};

std::string run_in_process(const test::TempDir& dir, const GoldenDeck& d) {
  const std::string deck = dir.file(d.deck + ".vtn");
  fs::copy_file(SOURCE_DIR / d.folder / (d.deck + ".vtn"), deck, fs::copy_options::overwrite_existing);
  testing::internal::CaptureStdout();
  const int status = run_vortan(deck);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(status, 0) << d.label();
  return test::mask_listing(test::read_file(dir.file(d.deck + ".sal")));
}

TEST_P(InProcessRepeat, SecondRunEqualsTheFirst) {
  const GoldenDeck& d = GetParam();
  const std::vector<GoldenDeck> decks = golden_decks();
  const auto at = std::find_if(decks.begin(), decks.end(), [&](const GoldenDeck& e) { return e.label() == d.label(); });
  ASSERT_NE(at, decks.end());
  const GoldenDeck& between = std::next(at) == decks.end() ? decks.front() : *std::next(at);
  test::ensure_work_array();
  test::TempDir dir;
  const std::string first = run_in_process(dir, d);
  run_in_process(dir, between);
  const std::string second = run_in_process(dir, d);
  const std::string difference = test::listing_difference(first, second);
  EXPECT_TRUE(difference.empty()) << d.label() << " after " << between.label() << ": " << difference;
}

INSTANTIATE_TEST_SUITE_P(EveryStaticDeck, InProcessRepeat, ::testing::ValuesIn(golden_decks()), test_name);

}  // namespace
}  // namespace vortan
