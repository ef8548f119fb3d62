#include "run/banners.h"

#include <string>

#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"

namespace vortan {

namespace {

// Block letters of the program name, seven rows of seven columns each.
constexpr const char* LETTER_V[7] = {"V     V", "V     V", "V     V", " V   V ",
                                     " V   V ", "  V V  ", "   V   "};
constexpr const char* LETTER_O[7] = {" OOOOO ", "O     O", "O     O", "O     O",
                                     "O     O", "O     O", " OOOOO "};
constexpr const char* LETTER_R[7] = {"RRRRRR ", "R     R", "R     R", "RRRRRR ",
                                     "R   R  ", "R    R ", "R     R"};
constexpr const char* LETTER_T[7] = {"TTTTTTT", "   T   ", "   T   ", "   T   ",
                                     "   T   ", "   T   ", "   T   "};
constexpr const char* LETTER_A[7] = {"   A   ", "  A A  ", " A   A ", "A     A",
                                     "AAAAAAA", "A     A", "A     A"};
constexpr const char* LETTER_N[7] = {"N     N", "NN    N", "N N   N", "N  N  N",
                                     "N   N N", "N    NN", "N     N"};

constexpr const char* const* NAME_LETTERS[6] = {LETTER_V, LETTER_O, LETTER_R,
                                               LETTER_T, LETTER_A, LETTER_N};

const char* const LISTING_CREDITS[3] = {
    "PROGRAMA DE ANALISIS POR ELEMENTOS FINITOS",
    "SOLIDOS, ESTRUCTURAS Y CONDUCCION DE CALOR",
    "ESTATICA, DINAMICA, AUTOVALORES Y TERMICO"};
const char* const LISTING_AUTHORS[4] = {
    "EQUIPO DE DESARROLLO VORTAN", "IMPLEMENTACION EN C++",
    "ARITMETICA EN DOBLE PRECISION", "SALIDA EN FORMATO FIJO"};
const char* const CONSOLE_SUBTITLES[3] = {
    "ANALISIS POR ELEMENTOS FINITOS DE SOLIDOS Y ESTRUCTURAS",
    "ESTATICO, NO LINEAL, AUTOVALORES, DINAMICO Y TERMICO",
    "EJECUCION EN LOTE A PARTIR DE UN FICHERO DE DATOS .vtn"};
const char* const CONSOLE_CREDITS[3] = {
    "                             EQUIPO DE DESARROLLO VORTAN",
    "                             LISTADO EN FICHERO .sal",
    "                             TIEMPOS EN FICHERO .tim"};

std::string stars() { return " " + std::string(78, '*'); }

void write_logo(int unit) {
  const std::string* lines = logo_lines();
  for (int i = 0; i < 7; ++i) write_record(unit, fmt::X(12) + lines[i]);
}

void write_banner(bool final) {
  const int L = UNIT_LISTING;
  write_empty(L, 3);
  write_record(L, stars());
  write_empty(L, 3);
  write_logo(L);
  write_empty(L);
  write_record(L, fmt::X(24) + (final ? "----- V O R T A N v. 5.1.5 ------"
                                      : "----- V O R T A N v. 5.1.5  -----"));
  write_empty(L, 2);
  for (const char* line : LISTING_CREDITS) write_record(L, fmt::X(15) + line);
  write_empty(L, 2);
  for (const char* line : LISTING_AUTHORS) write_record(L, fmt::X(50) + line);
  write_record(L, fmt::X(50) + (final ? "          SEPTIEMBRE DE 1999" : "          MARZO DE 1999"));
  const std::int16_t* d = RUN.date_time;
  write_record(L, fmt::X(10) + "HORA: " + fmt::I(d[0], 2) + "/" + fmt::I(d[1], 2) + "/" +
                      fmt::I(d[2], 2) + "/" + fmt::I(d[3], 3));
  write_record(L, fmt::X(10) + "DIA : " + fmt::I(d[4], 2) + "/" + fmt::I(d[5], 2) + "/ " +
                      fmt::I(d[6], 4));
  write_empty(L, 3);
  if (final) {
    const std::int16_t* e = RUN.elapsed;
    write_record(L, fmt::X(10) + "TIEMPO CONSUMIDO: " + fmt::I(e[0], 4) + "/" + fmt::I(e[1], 2) +
                        "/" + fmt::I(e[2], 2) + "/" + fmt::I(e[3], 3));
    write_empty(L, 2);
  }
  write_record(L, stars());
  write_empty(L, 2);
}

}  // namespace

const std::string* logo_lines() {
  static std::string lines[7];
  if (lines[0].empty()) {
    for (int row = 0; row < 7; ++row) {
      std::string line;
      for (int letter = 0; letter < 6; ++letter) {
        if (letter > 0) line += "  ";
        line += NAME_LETTERS[letter][row];
      }
      line.resize(55, ' ');
      lines[row] = line;
    }
  }
  return lines;
}

void write_console_banner() {
  const int C = UNIT_CONSOLE;
  for (int i = 0; i < 5; ++i) write_record(C, "  ");
  write_logo(C);
  for (int i = 0; i < 3; ++i) write_record(C, "  ");
  for (const char* line : CONSOLE_SUBTITLES) write_record(C, fmt::X(6) + line);
  write_empty(C);
  write_record(C, CONSOLE_CREDITS[0]);
  write_empty(C);
  write_record(C, "                             Version. 5.1.5");
  write_empty(C);
  write_record(C, CONSOLE_CREDITS[1]);
  write_empty(C);
  write_record(C, CONSOLE_CREDITS[2]);
  write_empty(C);
  write_record(C, std::string("+              ESTOY REALIZANDO LOS CALCULOS") + " PRELIMINARES");
}

void write_start_banner() { write_banner(false); }
void write_final_banner() { write_banner(true); }

}  // namespace vortan
