// The size of the work array chosen by the user (--memory and VORTAN_MEMORY): the
// size texts, the program's refusal of bad ones, the precedence of the option, and the
// report of a run that does not fit, which says how much it needed and how to raise it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "../test_support.h"
#include "run/memory_size.h"
#include "run_decks.h"

namespace vortan {
namespace {

std::int32_t words_of(const char* text) {
  std::int32_t words = -1;
  std::string error;
  EXPECT_TRUE(parse_memory_size(text, words, error)) << text << ": " << error;
  return words;
}

std::string refusal_of(const char* text) {
  std::int32_t words = -1;
  std::string error;
  EXPECT_FALSE(parse_memory_size(text, words, error)) << text;
  EXPECT_EQ(words, -1) << text;
  return error;
}

TEST(MemorySize, TextsInBytesWithBinaryMultiples) {
  EXPECT_EQ(words_of("6G"), 1610612736);
  EXPECT_EQ(words_of("6g"), 1610612736);
  EXPECT_EQ(words_of("1.5G"), 402653184);
  EXPECT_EQ(words_of("1M"), 262144);
  EXPECT_EQ(words_of("2048K"), 524288);
  EXPECT_EQ(words_of("1048579"), 262144);  // bytes, cut to whole words
  EXPECT_EQ(words_of("1073741824"), 268435456);  // the default, 1G
  // 8G is one word more than the largest work array: taken as the largest.
  EXPECT_EQ(words_of("8G"), 2147483647);
  EXPECT_EQ(words_of("8192M"), 2147483647);
  EXPECT_NE(refusal_of("8193M").find("beyond the largest work array, 8G"), std::string::npos);
  EXPECT_NE(refusal_of("1T").find("beyond"), std::string::npos);
  EXPECT_NE(refusal_of("1023K").find("below the smallest work array, 1M"), std::string::npos);
  EXPECT_NE(refusal_of("0").find("below"), std::string::npos);
  for (const char* bad : {"", "G", "six", "6X", "6GB", "-1G", "1.2.3M", "1e9", " 6G", "6G "})
    EXPECT_NE(refusal_of(bad).find("is not a size"), std::string::npos) << bad;
}

TEST(MemorySize, TextOfAByteCountRoundsUp) {
  EXPECT_EQ(memory_size_text(1024.0 * 1024.0), "1M");
  EXPECT_EQ(memory_size_text(1024.0 * 1024.0 + 1.0), "2M");
  EXPECT_EQ(memory_size_text(1000.5 * 1024.0 * 1024.0), "1001M");
  EXPECT_EQ(memory_size_text(1023.5 * 1024.0 * 1024.0), "1G");
  EXPECT_EQ(memory_size_text(1024.0 * 1024.0 * 1024.0 + 1.0), "2G");
}

class MemoryOption : public ::testing::Test {
 protected:
  void TearDown() override { unsetenv(MEMORY_VARIABLE); }
  test::TempDir dir;
};

// Bad sizes are usage errors, named with where they came from; the option wins over
// the environment.
TEST_F(MemoryOption, BadSizesAreUsageErrors) {
  test::write_file(dir.file("V.vtn"), test::two_element_deck());
  struct Case {
    const char* arguments;
    const char* reason;
  };
  for (const Case& c : {Case{"--memory 3X V.vtn", "vortan: --memory: '3X' is not a size"},
                        Case{"--memory=9G V.vtn", "vortan: --memory: '9G' is beyond the largest work array"},
                        Case{"V.vtn --memory", "vortan: --memory needs a size"},
                        Case{"--memory 64M", "vortan: no problem deck"}}) {
    const test::ProgramRun run = test::run_program_with(dir.path(), c.arguments);
    EXPECT_EQ(run.status, 2) << c.arguments;
    EXPECT_EQ(run.err.rfind(c.reason, 0), 0u) << run.err;
    EXPECT_NE(run.err.find("Usage: vortan [--memory SIZE] PROBLEM.vtn"), std::string::npos);
  }
  setenv(MEMORY_VARIABLE, "lots", 1);
  const test::ProgramRun from_environment = test::run_program_with(dir.path(), "V.vtn");
  EXPECT_EQ(from_environment.status, 2);
  EXPECT_EQ(from_environment.err.rfind("vortan: VORTAN_MEMORY: 'lots' is not a size", 0), 0u) << from_environment.err;
  EXPECT_EQ(test::run_program_with(dir.path(), "--memory 64M V.vtn").status, 0);
  EXPECT_EQ(test::run_program_with(dir.path(), "V.vtn --memory=64M").status, 0);
}

// The advice of a stop: the size after "--memory ", or empty when there is none.
std::string advised_size(const std::string& listing) {
  const std::string label = "          AUMENTELO CON --memory ";
  const std::size_t at = listing.find(label);
  if (at == std::string::npos) return "";
  const std::size_t begin = at + label.size();
  return listing.substr(begin, listing.find(' ', begin) - begin);
}

// A model that does not fit a small work array stops with the size it needed and the
// way to raise it, on the console, in the listing and on standard error. The advice
// covers the array that failed, so a run that needs more later stops again with a
// larger advice; following it runs the model in a few steps, whether the size is given
// as the option or in the environment.
TEST_F(MemoryOption, ExhaustionSaysHowMuchAndHowToRaiseIt) {
  test::write_file(dir.file("Q.vtn"), test::qu4_cantilever_deck(60, 60));
  const test::ProgramRun small = test::run_program_with(dir.path(), "--memory 1M Q.vtn");
  ASSERT_EQ(small.status, 1);
  std::string sal = test::read_file(dir.file("Q.sal"));
  EXPECT_NE(sal.find("DIRECT: MEMORIA EXCEDIDA"), std::string::npos);
  const std::string size_line = "          EL ARREGLO DE TRABAJO TIENE 1M; ESTA CORRIDA NECESITA AL MENOS ";
  EXPECT_NE(sal.find(size_line), std::string::npos);
  EXPECT_NE(small.out.find(size_line), std::string::npos);
  EXPECT_NE(small.err.find("VORTAN: EL ARREGLO DE TRABAJO TIENE 1M;"), std::string::npos) << small.err;
  std::string size = advised_size(sal);
  ASSERT_FALSE(size.empty());
  EXPECT_NE(sal.find("O CON LA VARIABLE VORTAN_MEMORY=" + size + " (HASTA 8G)"), std::string::npos);
  std::int32_t previous_words = 262144;
  int status = 1;
  for (int attempt = 0; attempt < 6 && status != 0; ++attempt) {
    std::int32_t words = 0;
    std::string error;
    ASSERT_TRUE(parse_memory_size(size, words, error)) << size;
    EXPECT_GT(words, previous_words) << size;
    previous_words = words;
    status = test::run_program_with(dir.path(), "--memory " + size + " Q.vtn").status;
    if (status != 0) size = advised_size(test::read_file(dir.file("Q.sal")));
  }
  EXPECT_EQ(status, 0) << size;
  // The environment sizes the array when the option is absent.
  setenv(MEMORY_VARIABLE, "1M", 1);
  EXPECT_EQ(test::run_program_with(dir.path(), "Q.vtn").status, 1);
  setenv(MEMORY_VARIABLE, size.c_str(), 1);
  EXPECT_EQ(test::run_program_with(dir.path(), "Q.vtn").status, 0);
}

// A model beyond the largest work array says that no size is enough.
TEST_F(MemoryOption, ModelBeyondTheLargestArraySaysSo) {
  std::string deck = test::two_element_deck();
  deck.replace(deck.find("NPNODS=6"), 8, "NPNODS=2000000000");
  test::write_file(dir.file("H.vtn"), deck);
  const test::ProgramRun run = test::run_program_with(dir.path(), "H.vtn");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(test::read_file(dir.file("H.sal")).find("          NI EL MAYOR ARREGLO DE TRABAJO (8G) BASTA PARA ESTE MODELO"),
            std::string::npos);
}

}  // namespace
}  // namespace vortan
