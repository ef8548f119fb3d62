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

TEST_F(FileSetTest, PathsAreUsedExactlyAsGiven) {
  // Blanks stay in the names, a long name is not cut, and the extension may be written
  // in any letter case; every output goes beside the input with the same stem.
  std::filesystem::create_directory(dir.file("MIS CASOS"));
  std::filesystem::create_directory(dir.file("MISCASOS"));
  test::write_file(dir.file("MIS CASOS/VIGA.vtn"), "VORTAN\n");
  test::write_file(dir.file("MISCASOS/VIGA.vtn"), "VORTAN\n");
  test::open_deck(dir.file("MIS CASOS/VIGA.vtn"));
  EXPECT_EQ(FILESET.base_name, "VIGA");
  EXPECT_TRUE(test::file_exists(dir.file("MIS CASOS/VIGA.sal")));
  EXPECT_TRUE(test::file_exists(dir.file("MIS CASOS/VIGA.tim")));
  OPENFI(12);
  EXPECT_TRUE(test::file_exists(dir.file("MIS CASOS/VIGA.p12")));
  OPENFI(59);
  EXPECT_TRUE(test::file_exists(dir.file("MIS CASOS/VIGA.keldar.bon")));
  EXPECT_FALSE(test::file_exists(dir.file("MISCASOS/VIGA.sal")));

  const std::string name(60, 'B');
  test::write_file(dir.file(name + ".vtn"), "VORTAN\n");
  test::write_file(dir.file(name.substr(0, 50) + ".vtn"), "VORTAN\n");
  test::open_deck(dir.file(name + ".vtn"));
  EXPECT_EQ(FILESET.base_name, name);
  EXPECT_TRUE(test::file_exists(dir.file(name + ".sal")));
  EXPECT_FALSE(test::file_exists(dir.file(name.substr(0, 50) + ".sal")));

  test::write_file(dir.file("Upper.VTN"), "VORTAN\n");
  test::open_deck(dir.file("Upper.VTN"));
  EXPECT_TRUE(test::file_exists(dir.file("Upper.sal")));
  EXPECT_EQ(unit_file_name(".err"), dir.file("Upper.err"));
}

TEST_F(FileSetTest, BackslashSeparatesTheDirectoryPart) {
  test::write_file(dir.file("sub\\VIGA.vtn"), "VORTAN\n");
  test::open_deck(dir.file("sub\\VIGA.vtn"));
  EXPECT_EQ(FILESET.base_name, "VIGA");
  EXPECT_TRUE(test::file_exists(dir.file("sub\\VIGA.sal")));
}

TEST_F(FileSetTest, WrongExtensionMissingInputAndUnknownCodesStop) {
  test::write_file(dir.file("VIGA.txt"), "VORTAN\n");
  reset_run_state();
  set_command_argument(dir.file("VIGA.txt"));
  EXPECT_EQ(test::stop_message_of([] { OPENFI(1); }), "OPENFI: ERROR EN EL NOMBRE DE *.vtn");
  EXPECT_FALSE(test::file_exists(dir.file("VIGA.err")));

  // A missing input is named in the fatal report.
  reset_run_state();
  set_command_argument(dir.file("NADA.vtn"));
  EXPECT_EQ(test::stop_message_of([] { OPENFI(1); }), "OPENFI: NO ABRE UNIDAD 5 .vtn");
  EXPECT_EQ(FILESET.file_errors,
            std::vector<std::string>{"NO SE PUEDE ABRIR EL FICHERO " + dir.file("NADA.vtn") + " (NO EXISTE)"});

  test::write_file(dir.file("OK.vtn"), "VORTAN\n");
  test::open_deck(dir.file("OK.vtn"));
  for (int code : {99, 106, 31, 0}) {
    // cut at 40
    EXPECT_EQ(test::stop_message_of([code] { OPENFI(code); }), "OPENFI: NO FILE SPECIFIED FOR THATH NUMB");
    test::open_deck(dir.file("OK.vtn"));
  }
}

TEST_F(FileSetTest, LongLinesAreReadInBoundedMemory) {
  // Only the first characters of a line are stored; the rest is read past.
  const std::string long_line = "HEAD" + std::string(1 << 20, 'x') + "TAIL";
  test::write_file(dir.file("L.vtn"), long_line + "\nNEXT\r\n" + std::string(149, 'y') + "\r\nLAST");
  test::open_deck(dir.file("L.vtn"));
  std::string line;
  bool error = false;
  ASSERT_TRUE(read_record(UNIT_INPUT, line, error, 150));
  EXPECT_EQ(line, long_line.substr(0, 150));
  EXPECT_LE(line.capacity(), 1024u);
  ASSERT_TRUE(read_record(UNIT_INPUT, line, error, 150));
  EXPECT_EQ(line, "NEXT");
  ASSERT_TRUE(read_record(UNIT_INPUT, line, error, 150));
  EXPECT_EQ(line, std::string(149, 'y'));
  ASSERT_TRUE(read_record(UNIT_INPUT, line, error, 150));
  EXPECT_EQ(line, "LAST");
  EXPECT_FALSE(read_record(UNIT_INPUT, line, error, 150));
  EXPECT_FALSE(error);
}

// A file of the run that is a link to the full device: every write to it fails once
// its buffer goes out.
bool link_to_full_device(const std::string& path) {
  std::error_code error;
  std::filesystem::create_symlink("/dev/full", path, error);
  return !error && std::filesystem::exists("/dev/full");
}

TEST_F(FileSetTest, FailedWritesAndClosesStopTheRunAndNameTheFile) {
  test::write_file(dir.file("W.vtn"), "VORTAN\n");
  if (!link_to_full_device(dir.file("W.p12")) || !link_to_full_device(dir.file("W.opt")))
    GTEST_SKIP() << "no /dev/full";
  test::open_deck(dir.file("W.vtn"));
  OPENFI(12);
  const std::string block(1 << 20, 'u');
  EXPECT_EQ(test::stop_message_of([&] { write_unformatted(12, block.data(), block.size()); }),
            "WRITFI: ERROR DE ESCRITURA EN UNIDAD 12");
  ASSERT_FALSE(FILESET.file_errors.empty());
  EXPECT_EQ(FILESET.file_errors[0], "ERROR DE ESCRITURA EN EL FICHERO " + dir.file("W.p12"));
  // The fatal stop wrote its report: the listing and the error file hold the message.
  EXPECT_NE(test::read_file(dir.file("W.sal")).find("WRITFI: ERROR DE ESCRITURA EN UNIDAD 12"), std::string::npos);
  EXPECT_NE(test::read_file(dir.file("W.err")).find("WRITFI: ERROR DE ESCRITURA EN UNIDAD 12"), std::string::npos);

  // A short record stays in the buffer; the close finds that it could not be written.
  test::open_deck(dir.file("W.vtn"));
  OPENFI(69);
  write_record(69, "kept");
  EXPECT_EQ(test::stop_message_of([] { CLOSFI(69); }), "CLOSFI: ERROR DE ESCRITURA EN UNIDAD 69");
  EXPECT_EQ(FILESET.file_errors.back(), "ERROR DE ESCRITURA EN EL FICHERO " + dir.file("W.opt"));
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
