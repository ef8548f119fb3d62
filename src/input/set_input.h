// What the two set readers share: the values of the set block being read, the storage
// and print cards with their summary labels, and the pieces each reader is built of
// (materials, the table of valid combinations, the set summary in the listing).
#pragma once

#include <cstdint>
#include <string_view>

#include "input/catalogue.h"
#include "input/element_sets.h"
#include "input/property_layout.h"
#include "input/problem.h"

namespace vortan::set_input {

inline constexpr int MAX_LAYERS = 10;
inline constexpr int MAX_PROPERTIES = MAX_LAYERS * props::LAYER_COUNT;
inline constexpr int BEAM_GAUSS_POINTS = 2;
inline constexpr int DEFAULT_BEAM_DIMENSION = 2;  // "DIMENSION=" when the card has none

// The reader at work: its name for the card reader and the first word of its stops.
struct Reader {
  std::string_view routine;
  std::string_view prefix;
  bool thermal;
};
inline constexpr Reader STRUCTURAL_READER{"INPSET", "INPSET", false};
inline constexpr Reader THERMAL_READER{"INPEST", "INPEST", true};

// Fatal stop "<prefix>: <text>".
[[noreturn]] void stop(const Reader& reader, std::string_view text);

// The values of the set being read. They carry over from one set block to the next
// until a card sets them, except what start_set resets.
struct SetCards {
  int set = 0;
  int problem_type = 0;
  int element_type = 0;
  int beam_subtype = 0;
  int beam_dimension = DEFAULT_BEAM_DIMENSION;
  int local_axes = 0;
  int nonlinear = 0;
  int layers = 1;
  std::int32_t NNODE = 0;
  std::int32_t NELEM = 0;
  std::int32_t NGAUS = 0;
  char storage[RECORD_KINDS] = {};
  int print[5] = {};
  double props[MAX_PROPERTIES] = {};

  // At the start of every set block: default storage codes and print switches, and a
  // fresh element count, property list and beam dimension, so that the end checks
  // and the dimension test see this set's cards and not the previous set's.
  void start_set(int set_number);
};

// A set card and its label in the set summary.
struct CardLabel {
  std::string_view keyword;
  std::string_view label;
};

// Storage cards in record-kind order.
inline constexpr CardLabel STORAGE_CARDS[RECORD_KINDS] = {
    {"MATRIZD", "ALMACENAMIENTO DE MATRIZ D ..."},
    {"MATRIZB", "ALMACENAMIENTO DE MATRIZ B ..."},
    {"MATRIZDB", "ALMACENAMIENTO DE MATRIZ DB .."},
    {"MATRIZK", "ALMACENAMIENTO DE MATRIZ K ..."},
    {"TENSIONES", "ALMACENAMIENTO DE TENSIONES .."},
    {"FUERZASINT", "ALMACENAMIENTO DE FUERZAS INT."},
    {"FUERZASPESOPROPIO", "ALMACENAMIENTO DE FUERZAS P.P."},
    {"SUAVIZADOTENSIONES", "ALMACENAMIENTO DE SUAV. TENS.."},
    {"ERROR", "ALMACENAMIENTO DE ERROR......."},
    {"MATRIZMASA", "ALMACENAMIENTO DE MATR. MASA.."},
    {"GRADIENTEDESPLAZAMIE", "ALMACENAMIENTO DE GRAD. DESP.."},
};
// The thermal reader has no displacement gradients: it knows the first ten kinds.
inline constexpr int THERMAL_RECORD_KINDS = RECORD_KINDS - 1;
inline int storage_kinds(const Reader& reader) {
  return reader.thermal ? THERMAL_RECORD_KINDS : RECORD_KINDS;
}

// Print cards in switch order.
inline constexpr CardLabel PRINT_CARDS[5] = {
    {"SALIDADATOS", "IMPRESION DE DATOS ..........."},
    {"SALIDATENSIONES", "IMPRESION DE TENSIONES ......."},
    {"SALIDATENSIONESGAUSS", "IMPRESION DE TENSIONES GAUSS.."},
    {"SALIDAERRORELEMENTAL", "IMPRESION DE ERROR ELEMENTAL.."},
    {"SALIDAFUERZASINTERNA", "IMPRESION DE FUERZAS INTERNAS."},
};

// What a valid combination of problem type and element gives a set.
struct SetCounts {
  int NDOFN = 0;
  int NSTRE = 0;
  int NSTR1 = 0;
  int NSTNL = 0;
  int dimension = 0;
  int nprops = 0;  // properties per layer block
  int pattern[DOF_KINDS] = {};
};

// Materials (material_reader.cpp). The structural reader reads the "MATERIAL" card
// by the current problem type, beam dimension and layer count; a laminate reads its
// layer cards after it.
void read_structural_material(SetCards& cards);
void read_thermal_material(SetCards& cards);
int structural_property_count(const SetCards& cards);
// Stops when a Poisson's ratio would make the constitutive matrix singular or
// meaningless for the set's problem type.
void check_structural_material(const SetCards& cards);
// Stops when the modulus (of every layer) or the thickness read by the last "MATERIAL"
// card is not positive.
void check_moduli_and_thicknesses(const Reader& reader, const SetCards& cards);

// The table of valid combinations (set_combinations.cpp), applied at "FINSET". The
// structural one also fixes the nodes and points of "VIGA" sets.
SetCounts structural_combination(SetCards& cards);
SetCounts thermal_combination(const SetCards& cards);

// The set summary in the listing (set_summary.cpp).
void write_set_heading(int set_number);
void write_set_summary(const Reader& reader, const SetCards& cards);

}  // namespace vortan::set_input
