#include "run/file_set.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "../test_support.h"
#include "run/errstp.h"

namespace vortan {
namespace {

class FileSetTest : public ::testing::Test {
 protected:
  void TearDown() override { reset_run_state(); }
  test::TempDir dir;
};

TEST_F(FileSetTest, NamesComeFromDirectoryAndBaseNameWithoutBlanks) {
  std::filesystem::create_directory(dir.file("MIS CASOS"));
  std::filesystem::create_directory(dir.file("MISCASOS"));
  test::write_file(dir.file("MISCASOS/VIGA.vtn"), "VORTAN\n");
  test::open_deck(dir.file("MIS CASOS/VIGA.vtn"));
  EXPECT_EQ(FILESET.base_name, "VIGA");
  EXPECT_TRUE(test::file_exists(dir.file("MISCASOS/VIGA.sal")));
  EXPECT_TRUE(test::file_exists(dir.file("MISCASOS/VIGA.tim")));
  OPENFI(12);
  EXPECT_TRUE(test::file_exists(dir.file("MISCASOS/VIGA.p12")));
  OPENFI(59);
  EXPECT_TRUE(test::file_exists(dir.file("MISCASOS/VIGA.keldar.bon")));
}

TEST_F(FileSetTest, BackslashSeparatesTheDirectoryPart) {
  test::write_file(dir.file("sub\\VIGA.vtn"), "VORTAN\n");
  test::open_deck(dir.file("sub\\VIGA.vtn"));
  EXPECT_EQ(FILESET.base_name, "VIGA");
  EXPECT_TRUE(test::file_exists(dir.file("sub\\VIGA.sal")));
}

TEST_F(FileSetTest, LongBaseNamesAreCutToFiftyCharacters) {
  const std::string name(60, 'B');
  test::write_file(dir.file(name.substr(0, 50) + ".vtn"), "VORTAN\n");
  test::open_deck(dir.file(name + ".vtn"));
  EXPECT_EQ(FILESET.base_name.size(), 50u);
  EXPECT_TRUE(test::file_exists(dir.file(name.substr(0, 50) + ".sal")));
}

TEST_F(FileSetTest, WrongExtensionMissingInputAndUnknownCodesStop) {
  test::write_file(dir.file("VIGA.VTN"), "VORTAN\n");
  reset_run_state();
  set_command_argument(dir.file("VIGA.VTN"));
  try {
    OPENFI(1);
    FAIL();
  } catch (const FatalStop& stop) {
    EXPECT_EQ(stop.message(), "OPENFI: ERROR EN EL NOMBRE DE *.vtn");
  }
  EXPECT_FALSE(test::file_exists(dir.file(".err")));

  reset_run_state();
  set_command_argument(dir.file("NADA.vtn"));
  try {
    OPENFI(1);
    FAIL();
  } catch (const FatalStop& stop) {
    EXPECT_EQ(stop.message(), "OPENFI: NO ABRE UNIDAD 5 .vtn");
  }

  test::write_file(dir.file("OK.vtn"), "VORTAN\n");
  test::open_deck(dir.file("OK.vtn"));
  for (int code : {99, 106, 31, 0}) {
    try {
      OPENFI(code);
      FAIL() << code;
    } catch (const FatalStop& stop) {
      EXPECT_EQ(stop.message(), "OPENFI: NO FILE SPECIFIED FOR THATH NUMB");  // cut at 40
    }
    test::open_deck(dir.file("OK.vtn"));
  }
}

TEST_F(FileSetTest, DirectAccessRecordsAndClosingByCode) {
  test::write_file(dir.file("S.vtn"), "VORTAN\n");
  test::open_deck(dir.file("S.vtn"));
  OPENFI(101, 3);
  OPENFI(47);
  const double first[3] = {1, 2, 3}, third[3] = {7, 8, 9};
  write_direct(101, 3, third);
  write_direct(101, 1, first);
  double back[3] = {};
  read_direct(101, 3, back);
  EXPECT_EQ(back[0], 7);
  EXPECT_EQ(back[2], 9);
  read_direct(101, 1, back);
  EXPECT_EQ(back[1], 2);
  EXPECT_TRUE(test::file_exists(dir.file("S.st1")));
  CLOSFI(100);
  EXPECT_FALSE(test::file_exists(dir.file("S.st1")));
  CLOSFI(47);
  EXPECT_FALSE(test::file_exists(dir.file("S.t47")));
  OPENFI(69);
  write_record(69, "kept");
  CLOSFI(69);
  EXPECT_EQ(test::read_file(dir.file("S.opt")), "kept\n");
}

}  // namespace
}  // namespace vortan
