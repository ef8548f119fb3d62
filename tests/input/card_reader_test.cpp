#include "input/card_reader.h"

#include <gtest/gtest.h>

#include "../test_support.h"
#include "run/errstp.h"
#include "run/file_set.h"

namespace vortan {
namespace {

class CardReaderTest : public ::testing::Test {
 protected:
  void TearDown() override { reset_run_state(); }

  // Opens a deck made of the given lines as the input file.
  void deck(const std::string& text) {
    test::write_file(dir.file("CARDS.vtn"), text);
    test::open_deck(dir.file("CARDS.vtn"));
  }
  std::string listing() {
    flush_units();
    return test::read_file(dir.file("CARDS.sal"));
  }
  std::string stop_message() {
    try {
      LISTEN("INPDAT");
    } catch (const FatalStop& stop) {
      return stop.message();
    }
    return "no stop";
  }
  test::TempDir dir;
};

TEST_F(CardReaderTest, PairsNumbersWithTheWordBeforeThem) {
  deck("E=2.1E6 NU=0.3\nNODO 5 10 15\n1 2.5 3\nX 1 Y\n1 X\n");
  LISTEN("INPDAT");
  EXPECT_EQ(CARD.WORD(1), "E");
  EXPECT_DOUBLE_EQ(CARD.VALUE(1), 2.1e6);
  EXPECT_EQ(CARD.WORD(2), "NU");
  EXPECT_DOUBLE_EQ(CARD.VALUE(2), 0.3);
  EXPECT_EQ(CARD.NWORD, 2);
  EXPECT_EQ(CARD.NVALU, 2);
  EXPECT_EQ(CARD.NSLOT, 2);

  LISTEN("INPDAT");
  EXPECT_EQ(CARD.WORD(1), "NODO");
  EXPECT_EQ(CARD.VALUE(1), 5);
  EXPECT_EQ(CARD.WORD(2), "");
  EXPECT_EQ(CARD.VALUE(2), 10);
  EXPECT_EQ(CARD.VALUE(3), 15);
  EXPECT_EQ(CARD.NSLOT, 3);

  LISTEN("INPDAT");
  EXPECT_EQ(CARD.NWORD, 0);
  EXPECT_EQ(CARD.NVALU, 3);
  EXPECT_EQ(CARD.VALUE(2), 2.5);

  LISTEN("INPDAT");
  EXPECT_EQ(CARD.WORD(1), "X");
  EXPECT_EQ(CARD.VALUE(1), 1);
  EXPECT_EQ(CARD.WORD(2), "Y");
  EXPECT_EQ(CARD.VALUE(2), 0);

  LISTEN("INPDAT");
  EXPECT_EQ(CARD.VALUE(1), 1);
  EXPECT_EQ(CARD.WORD(1), "");
  EXPECT_EQ(CARD.WORD(2), "X");
  EXPECT_EQ(CARD.NSLOT, 2);
}

TEST_F(CardReaderTest, NumberForms) {
  double x = 0;
  EXPECT_TRUE(read_card_number("1.5-3", x));
  EXPECT_DOUBLE_EQ(x, 0.0015);
  EXPECT_TRUE(read_card_number("2.5D2", x));
  EXPECT_DOUBLE_EQ(x, 250);
  EXPECT_TRUE(read_card_number("-.5e+1", x));
  EXPECT_DOUBLE_EQ(x, -5);
  EXPECT_TRUE(read_card_number("7.", x));
  EXPECT_DOUBLE_EQ(x, 7);
  EXPECT_TRUE(read_card_number("+3", x));
  EXPECT_DOUBLE_EQ(x, 3);
  for (const char* word : {"-", ".", "+.", "1E", "1.5X", "E5", "TR3", "1-", "1..2"})
    EXPECT_FALSE(read_card_number(word, x)) << word;
  // A number longer than 20 characters is read whole, its exponent included.
  deck("6.123233995736766e-17 -0.33333333333333333333 1.00000000000000000000XYZ\n");
  LISTEN("INPDAT");
  ASSERT_EQ(CARD.NVALU, 3);
  EXPECT_DOUBLE_EQ(CARD.VALUE(1), 6.123233995736766e-17);
  EXPECT_DOUBLE_EQ(CARD.VALUE(2), -1.0 / 3.0);
  EXPECT_DOUBLE_EQ(CARD.VALUE(3), 1.0);  // a longer token that is a number in its first 20
}

// A number longer than a word is read whole: cut at 20 characters it would lose its
// exponent and turn into a word (0 on a data card).
TEST_F(CardReaderTest, LongNumbersKeepTheirExponent) {
  deck("3 -1.9999999999999999E-06 0.12345678901234567890123\n");
  LISTEN("INPDAT");
  ASSERT_EQ(CARD.NVALU, 3);
  EXPECT_EQ(CARD.NWORD, 0);
  EXPECT_DOUBLE_EQ(CARD.VALUE(2), -2e-6);
  EXPECT_DOUBLE_EQ(CARD.VALUE(3), 0.12345678901234567890123);
}

TEST_F(CardReaderTest, SeparatorsUnderscoresCaseAndLongWords) {
  deck("CARGAS_REPARTIDAS abcdefghijklmnopqrstuvwxy\n"
       "E = 3.0 [kN/m2] $ modulus\n"
       "A:1,B=2\tC\n");
  LISTEN("INPDAT");
  EXPECT_EQ(CARD.WORD(1), "CARGASREPARTIDAS");
  EXPECT_EQ(CARD.WORD(2), "ABCDEFGHIJKLMNOPQRST");
  LISTEN("INPDAT");
  EXPECT_EQ(CARD.WORD(1), "E");
  EXPECT_EQ(CARD.VALUE(1), 3.0);
  EXPECT_EQ(CARD.NSLOT, 1);
  LISTEN("INPDAT");
  EXPECT_EQ(CARD.WORD(1), "A");
  EXPECT_EQ(CARD.VALUE(1), 1);
  EXPECT_EQ(CARD.WORD(2), "B");
  EXPECT_EQ(CARD.WORD(3), "2\tC");  // the tabulator is no separator
  EXPECT_EQ(CARD.NWORD, 3);
}

TEST_F(CardReaderTest, ContinuationCommentsAndBlankLinesMakeOneCard) {
  deck("\n   \n! only a comment\nNODO 1 /\n  X=2 \\ more\nY 3 $ end\nNEXT\n");
  LISTEN("INPDAT");
  EXPECT_EQ(CARD.WORD(1), "NODO");
  EXPECT_EQ(CARD.VALUE(1), 1);
  EXPECT_EQ(CARD.WORD(2), "X");
  EXPECT_EQ(CARD.VALUE(2), 2);
  EXPECT_EQ(CARD.WORD(3), "Y");
  EXPECT_EQ(CARD.VALUE(3), 3);
  EXPECT_EQ(CARD.NSLOT, 3);
  LISTEN("INPDAT");
  EXPECT_EQ(CARD.WORD(1), "NEXT");
}

TEST_F(CardReaderTest, BlankLineEndsAContinuedCard) {
  deck("NODO 1 /\n\nX=2\n");
  LISTEN("INPDAT");
  EXPECT_EQ(CARD.NSLOT, 1);
  LISTEN("INPDAT");
  EXPECT_EQ(CARD.WORD(1), "X");
}

TEST_F(CardReaderTest, EchoShowsTokensAndSwitchCards) {
  deck("ecHo on\n  NODO 1 / comment\n X=2   $ c\nNOISE\necho OFF\nQUIET\n");
  LISTEN("INPGEO");
  LISTEN("NOECHO");
  LISTEN("INPGEO");
  const auto lines = test::lines_of(listing());
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], " LISTEN <-- ECHO ON");
  EXPECT_EQ(lines[1], " INPGEO <-- NODO 1 \\");
  EXPECT_EQ(lines[2], " INPGEO <-- X=2");
  EXPECT_EQ(lines[3], " LISTEN <-- ECHO OFF");
  EXPECT_EQ(CARD.WORD(1), "QUIET");
}

TEST_F(CardReaderTest, IncludeFileSuppliesCardsThenInputResumes) {
  test::write_file(dir.file("inc.dat"), "ONE\nTWO\nTHREE\n");
  deck("ECHO ON\nINCLUYE " + dir.file("inc.dat") + " ignored\nFOUR\n");
  for (const char* expected : {"ONE", "TWO", "THREE", "FOUR"}) {
    LISTEN("INPSET");
    EXPECT_EQ(CARD.WORD(1), expected);
  }
  const auto lines = test::lines_of(listing());
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[1], " LISTEN <-- INCLUYE " + dir.file("inc.dat") + " ignored");
  EXPECT_EQ(lines[2], "     FICHERO INCLUIDO: " + dir.file("inc.dat"));
  EXPECT_EQ(lines[3], " INPSET <-- ONE");
  EXPECT_EQ(lines[6], " LISTEN <-- END OF INCLUDE FILE");
  EXPECT_EQ(lines[7], " INPSET <-- FOUR");
}

TEST_F(CardReaderTest, IncludeNameRelativeToTheProblemDirectory) {
  test::write_file(dir.file("part.inc"), "INSIDE\n");
  deck("INCLUYE part.inc\n");
  LISTEN("INPSET");
  EXPECT_EQ(CARD.WORD(1), "INSIDE");
}

TEST_F(CardReaderTest, FatalConditions) {
  struct Case {
    std::string text;
    std::string message;
  };
  test::write_file(dir.file("nested.dat"), "INCLUYE other\n");
  std::string many_numbers, many_words, numbers_then_word;
  for (int i = 0; i < 61; ++i) many_numbers += "1 ";
  for (int i = 0; i < 61; ++i) many_words += "W ";
  for (int i = 0; i < 60; ++i) numbers_then_word += "1 ";
  numbers_then_word += "W";
  const Case cases[] = {
      {"", "LISTEN: FIN DE FICHERO DETECTADO"},
      {"E=3 [kN\n", "LISTEN: UNIDADES DEBEN TERMINAR CON \"]\""},
      {many_numbers + "\n", "LISTEN: MUCHOS PARAMETROS EN COMANDO"},
      {many_words + "\n", "LISTEN: MUCHAS PALABRAS EN COMANDO"},
      {numbers_then_word + "\n", "LISTEN: MUCHAS PALABRAS EN COMANDO"},
      {"INCLUYE\n", "LISTEN: ERROR LINEA EN BLANCO"},
      {"INCLUYE nothing-here.dat\n", "LISTEN: ERROR ABRIENDO FICHERO INCLUDE"},
      {"INCLUYE " + dir.file("nested.dat") + "\n", "LISTEN: ERROR: INCLUDE DE INCLUDE"},
      {"E=1E999\n", "LISTEN: NUMERO FUERA DE RANGO"},
  };
  for (const Case& c : cases) {
    deck(c.text);
    EXPECT_EQ(stop_message(), c.message) << c.text.substr(0, 30);
  }
}

TEST(CardReaderHelpers, LenlinAndUpword) {
  EXPECT_EQ(LENLIN("  AB  "), 4);
  EXPECT_EQ(LENLIN("      "), 0);
  std::string w = "abz_9{";
  UPWORD(w);
  EXPECT_EQ(w, "ABZ_9{");
}

}  // namespace
}  // namespace vortan
