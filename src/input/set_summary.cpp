// The set summary in the listing, written when the data print switch is on:
//
//   (empty)
//   10X, "RESUMEN DE DATOS DEL SET NUMERO", I5           when the block starts
//   (empty)
//   ... echo of the set's cards and parameters ...
//   (empty)                                              once "FINSET" is read:
//   15X, A30 storage label, 2X, "DISCO" | "MEMORIA" | "RECALCULO"   one per kind
//   15X, A30 print label, 2X, "ACTIVO" | "NOACTIVO"                 one per switch
//   15X, A41 element description, 2X, element keyword
//
// Frame sets ("VIGA") have no catalogue element: their element line shows "VIGA" and
// the structure kind.
#include <string>
#include <string_view>

#include "input/catalogue.h"
#include "input/set_input.h"
#include "run/file_set.h"
#include "run/fortran_format.h"

namespace vortan::set_input {

namespace {

constexpr std::string_view ELEMENT_DESCRIPTIONS[ELEMENT_TYPE_COUNT + 1] = {
    "",
    "ELEMENTO TRIANGULAR DE 3 NODOS",
    "ELEMENTO TRIANGULAR DE 6 NODOS",
    "ELEM. CUADRILATERO LAGRANGEANO DE 4 NODOS",
    "ELEM, CUADRILATERO SERENDIPITO DE 8 NODOS",
    "ELEM. CUADRILATERO LAGRANGEANO DE 9 NODOS",
    "ELEM. HEXAGONAL LAGRANGEANO DE 8 NODOS",
    "ELEM. HEXAGONAL SERENDIPITO DE 20 NODOS",
    "ELEM. HEXAGONAL LAGRANGEANO DE 27 NODOS",
    "ELEMENTO TETRAEDRICO DE 4 NODOS",
    "ELEMENTO TETRAEDRICO DE 10 NODOS",
    "ELEMENTO PRISMATICO DE 15 NODOS",
    "ELEMENTO TRIANGULAR DE PLACA TLCL",
    "ELEMENTO TRIANGULAR DE PLACA D.K.T.",
    "ELEMENTO CUADRILATERO DE PLACA CLLL",
    "ELEMENTO LINEAL DE 2 NODOS",
    "ELEMENTO LINEAL DE 3 NODOS",
    "ELEMENTO TRONCOCONICO TRC2",
};
constexpr std::string_view BEAM_KINDS[] = {"", "ARMADURA", "RETICULA", "COMBINADO"};

constexpr int LABEL_WIDTH = 30;
constexpr int DESCRIPTION_WIDTH = 41;

std::string padded(std::string_view text, int width) {
  std::string out(text.substr(0, width));
  out.resize(width, ' ');
  return out;
}

std::string_view storage_word(char code) {
  if (code == 'D') return "DISCO";
  if (code == 'M') return "MEMORIA";
  return "RECALCULO";
}

void labelled_line(std::string_view label, std::string_view value) {
  write_record(UNIT_LISTING,
               fmt::X(15) + padded(label, LABEL_WIDTH) + fmt::X(2) + std::string(value));
}

void element_line(const SetCards& cards) {
  // Heat-conduction types stop at 3, so only a structural set is a frame.
  const bool frame = cards.problem_type == FRAME;
  const int element = is_element_type(cards.element_type) ? cards.element_type : 0;
  const std::string_view description = frame ? "VIGA" : ELEMENT_DESCRIPTIONS[element];
  const std::string_view keyword =
      frame ? BEAM_KINDS[cards.beam_subtype] : element_keyword(element);
  write_record(UNIT_LISTING, fmt::X(15) + padded(description, DESCRIPTION_WIDTH) + fmt::X(2) +
                                 std::string(keyword));
}

}  // namespace

void write_set_heading(int set_number) {
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING,
               fmt::X(10) + "RESUMEN DE DATOS DEL SET NUMERO" + fmt::I(set_number, 5));
  write_empty(UNIT_LISTING);
}

void write_set_summary(const Reader& reader, const SetCards& cards) {
  write_empty(UNIT_LISTING);
  for (int kind = 0; kind < storage_kinds(reader); ++kind)
    labelled_line(STORAGE_CARDS[kind].label, storage_word(cards.storage[kind]));
  for (int which = 0; which < 5; ++which)
    labelled_line(PRINT_CARDS[which].label, cards.print[which] == 1 ? "ACTIVO" : "NOACTIVO");
  element_line(cards);
}

}  // namespace vortan::set_input
