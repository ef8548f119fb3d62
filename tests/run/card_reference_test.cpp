// The card reference (docs/cards.md) names every message a deck can bring about in
// the card readers, the load readers, the analysis selection and the run itself: a
// message added to a reader without its line in the reference fails here.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>

#include "../test_support.h"

namespace vortan {
namespace {

namespace fs = std::filesystem;

// The string literals of a source text with the shape of a stop message: a routine
// name of four to eight letters or digits, a colon, and an upper-case text.
std::set<std::string> messages_in(const std::string& source) {
  static const std::regex literal(R"re("((?:[^"\\\n]|\\.)*)")re");
  static const std::regex message(R"(^[A-Z][A-Z0-9]{3,7} ?: ?[A-Z].*)");
  std::set<std::string> found;
  for (auto it = std::sregex_iterator(source.begin(), source.end(), literal); it != std::sregex_iterator(); ++it) {
    std::string text = (*it)[1].str();
    for (std::size_t at = text.find("\\\""); at != std::string::npos; at = text.find("\\\"", at + 1))
      text.erase(at, 1);
    if (std::regex_match(text, message)) found.insert(text.substr(0, 40));
  }
  return found;
}

TEST(CardReference, NamesEveryMessageOfTheReaders) {
  const fs::path root(VORTAN_SOURCE_DIR);
  const std::string reference = test::read_file((root / "docs" / "cards.md").string());
  ASSERT_FALSE(reference.empty());
  // Faults of the program itself, which no deck can bring about.
  const std::set<std::string> internal = {"DEFIMPN: TAREA NO CONOCIDA"};
  std::size_t checked = 0;
  for (const char* folder : {"input", "loads", "analyses", "run"}) {
    for (const auto& entry : fs::directory_iterator(root / "src" / folder)) {
      if (entry.path().extension() != ".cpp") continue;
      for (const std::string& text : messages_in(test::read_file(entry.path().string()))) {
        if (internal.count(text) != 0) continue;
        ++checked;
        EXPECT_NE(reference.find(text), std::string::npos) << text << " (" << entry.path().filename() << ")";
      }
    }
  }
  EXPECT_GT(checked, 100u);
}

}  // namespace
}  // namespace vortan
