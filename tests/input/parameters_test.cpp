#include "input/parameters.h"

#include <gtest/gtest.h>

#include "../test_support.h"
#include "input/card_reader.h"
#include "run/errstp.h"

namespace vortan {
namespace {

// Three blanks, a 40-column description, two blanks: where the dots begin.
std::string lead(const std::string& description) {
  std::string text = description;
  text.resize(40, ' ');
  return "   " + text + "  ";
}

class ParameterTest : public ::testing::Test {
 protected:
  void TearDown() override { reset_run_state(); }
  void card(const std::string& text) {
    test::write_file(dir.file("P.vtn"), text + "\n");
    test::open_deck(dir.file("P.vtn"));
    LISTEN("INPEST");
  }
  std::vector<std::string> listing() {
    flush_units();
    return test::lines_of(test::read_file(dir.file("P.sal")));
  }
  test::TempDir dir;
};

// A real parameter is zero or lies between 1e-75 and 1e75 in magnitude; a default is
// taken as it is. The refused value is listed with its name.
TEST_F(ParameterTest, RealsOutsideTheirRangeStop) {
  card("A=0 B=1E-75 C=-9.99E74 D=1E-76 E=1E75 F=-4.9E-324");
  EXPECT_EQ(GETREA("A=", 1.0, "#"), 0.0);
  EXPECT_EQ(GETREA("B=", 1.0, "#"), 1.0E-75);
  EXPECT_EQ(GETREA("C=", 1.0, "#"), -9.99E74);
  EXPECT_EQ(GETREA("G=", 1.0E-300, "#"), 1.0E-300);
  for (const char* name : {"D=", "E=", "F="})
    EXPECT_EQ(test::stop_message_of([name] { GETREA(name, 1.0, "#"); }), "GETREA: VALOR FUERA DE RANGO") << name;
  EXPECT_EQ(listing()[0], "    *** ERROR: D =    0.100000E-75  SE ADMITE 0 O UN MODULO DE 1.0E-75 A 1.0E+75 (EXCLUIDO)");
}

TEST_F(ParameterTest, IntegersByNameWithTruncationDefaultsAndEcho) {
  card("NPNODS=120 NSETS=2.9 NEG=-2.9 NPNODS=7 ALONE");
  EXPECT_EQ(GETINT("NPNODS=", 5, " NUMERO DE PUNTOS NODALES"), 120);  // first match wins
  EXPECT_EQ(GETINT("NSETS=", 0, "#"), 2);
  EXPECT_EQ(GETINT("NEG=", 0, "#"), -2);
  EXPECT_EQ(GETINT("NELEM=", 0, " ELEMENTOS"), 0);
  EXPECT_EQ(GETINT("ALONE=", 9, "#"), 0);  // a name without a number gives 0
  EXPECT_EQ(GETINT("NONE=", 4, "?NO SE VE"), 4);
  EXPECT_EQ(GETINT("NPNODS=", 0, "?SE VE"), 120);
  const auto lines = listing();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], lead(" NUMERO DE PUNTOS NODALES") + "............... " "     120 (NPNOD)");
  EXPECT_EQ(lines[1], lead(" ELEMENTOS") + "............... " "       0 (NELEM)");
  EXPECT_EQ(lines[2], lead("SE VE") + "............... " "     120 (NPNOD)");
  EXPECT_EQ(lines[0].size(), 3u + 40 + 2 + 15 + 1 + 8 + 1 + 7);
}

TEST_F(ParameterTest, RealsChooseFixedOrExponentEcho) {
  card("A=210000.0 B=2.1E7 C=0.00005 D=0 E=1E-4 F=1E6 G=-3.5");
  const char* names[] = {"A=", "B=", "C=", "D=", "E=", "F=", "G="};
  const double expected[] = {210000.0, 2.1e7, 5e-5, 0.0, 1e-4, 1e6, -3.5};
  for (int i = 0; i < 7; ++i) EXPECT_DOUBLE_EQ(GETREA(names[i], 9.0, " V"), expected[i]);
  EXPECT_EQ(GETREA("H=", 1.5, "#"), 1.5);
  const auto lines = listing();
  ASSERT_EQ(lines.size(), 7u);
  const std::string head = lead(" V");
  EXPECT_EQ(lines[0], head + "..........  210000.00000 (A    )");
  EXPECT_EQ(lines[1], head + "..... " + std::string(7, ' ') + "0.21000E+08 (B    )");
  EXPECT_EQ(lines[2], head + "..... " + std::string(7, ' ') + "0.50000E-04 (C    )");
  EXPECT_EQ(lines[3], head + "..........       0.00000 (D    )");
  EXPECT_EQ(lines[4], head + "..........       0.00010 (E    )");
  EXPECT_EQ(lines[5], head + ".......... 1000000.00000 (F    )");
  EXPECT_EQ(lines[6], head + "..........      -3.50000 (G    )");
  EXPECT_EQ(lines[0].size(), lines[1].size());
  EXPECT_EQ(lines[0].size(), 3u + 40 + 2 + 10 + 1 + 13 + 1 + 7);
}

TEST_F(ParameterTest, MissingNecessaryParameterShowsTheErrorBlock) {
  card("OTHER=1");
  try {
    GETINT("NELEM=", 0, "! NUMERO DE ELEMENTOS EN EL SET");
    FAIL();
  } catch (const FatalStop& stop) {
    EXPECT_EQ(stop.message(), "GETINT: NO ENCUENTRA PARAMETRO INISP.");
  }
  const auto lines = listing();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], "    *** ERROR: NELEM =  NUMERO DE ELEMENTOS EN EL SET    ");
  EXPECT_EQ(lines[2], "               ES UN PARAMETRO NECESARIO, ESPECIFIQUELO !");
  card("OTHER=1");
  EXPECT_THROW(GETREA("YOUNG=", 0, "*"), FatalStop);
}

TEST_F(ParameterTest, BadNamesSwitchWordsAndHugeIntegers) {
  card("N=1E12");
  try {
    GETINT("NPNODS", 0, "#");
    FAIL();
  } catch (const FatalStop& stop) {
    EXPECT_EQ(stop.message(), "GETINT: = ES UN PARAMETRO DE LA VARIABLE");
  }
  card("N=1E12");
  try {
    GETREA("X", 0, "#");
    FAIL();
  } catch (const FatalStop& stop) {
    EXPECT_EQ(stop.message(), "GETREA: = ES UN PARAMETRO DE LA VARIABLE");
  }
  card("N=1E12");
  EXPECT_THROW(GETINT("N=", 0, "#"), FatalStop);
  EXPECT_EQ(ACTIVA("ACTIVO"), 1);
  EXPECT_EQ(ACTIVA("NOACTIVO"), 0);
  card("X");
  try {
    ACTIVA("SI");
    FAIL();
  } catch (const FatalStop& stop) {
    EXPECT_EQ(stop.message(), "INPEST: ACTIVACION DESCONOCIDA");
  }
}

TEST_F(ParameterTest, WordEchoLayouts) {
  card("X");
  ECHWRD(0, "ALMACENAMIENTO DE MATRIZ K ...", "DISCO");
  ECHWRD(12, "TIPO", "LAMINADEREVOLUCION");
  const auto lines = listing();
  ASSERT_EQ(lines.size(), 2u);
  std::string first = "ALMACENAMIENTO DE MATRIZ K ...", second = "TIPO";
  first.resize(40, ' ');
  second.resize(40, ' ');
  EXPECT_EQ(lines[0], "    " + first + "  .............." + std::string(6, ' ') + "  DISCO");
  EXPECT_EQ(lines[1], "   12   " + second + "  ..........  LAMINAD");
}

}  // namespace
}  // namespace vortan
