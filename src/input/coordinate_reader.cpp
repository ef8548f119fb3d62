#include "input/coordinate_reader.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "input/card_integer.h"
#include "input/card_reader.h"
#include "input/listing_heading.h"
#include "input/problem.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"

namespace vortan {

namespace {

constexpr double DEGREES_TO_RADIANS = 0.0174532925199433;
constexpr int POLAR = 1;
constexpr int SPHERICAL = 2;

// COORD(node, d), node index fastest.
double& coord(std::int32_t node, int d) {
  return WORK.real_at(PROBLEM.COORD + REAL_WORDS * ((node - 1) + (d - 1) * PROBLEM.NPNODS));
}

const char* const COLUMN_TITLES[] = {"X-COORD", "Y-COORD", "Z-COORD"};

void write_heading() {
  write_empty(UNIT_LISTING, 2);
  write_underlined_heading("DEFINICION DE COORDENADAS :");
  std::string titles = fmt::X(5) + fmt::A("NODO", 8);
  for (int d = 1; d <= PROBLEM.NDIME && d <= 3; ++d) titles += fmt::A(COLUMN_TITLES[d - 1], 16);
  write_record(UNIT_LISTING, titles);
}

void list_node(std::int32_t node) {
  std::string line = fmt::X(5) + fmt::I(node, 8);
  for (int d = 1; d <= PROBLEM.NDIME; ++d) line += fmt::E(coord(node, d), 16, 7);
  write_record(UNIT_LISTING, line);
}

// One coordinate card; cards counts the cards read so far.
void read_coordinate_card(std::int32_t& cards) {
  if (CARD.NWORD > 0) ERRSTP("INPGEO: COORDENADAS EQUIVOCADAS");
  const std::int32_t node = card_integer(1);
  ++cards;
  if (cards > PROBLEM.NPNODS || node < 1 || node > PROBLEM.NPNODS) ERRSTP("INPGEO: VERIFICA EL NUMERO DE NODOS");
  for (int d = 1; d <= PROBLEM.NDIME; ++d) coord(node, d) = CARD.VALUE(1 + d);
  if (PROBLEM.printing(PRINT_DATA)) list_node(node);
}

// Polar (r, theta): the angle is measured from the y axis towards the x axis.
void convert_polar() {
  for (std::int32_t node = 1; node <= PROBLEM.NPNODS; ++node) {
    const double r = coord(node, 1);
    const double theta = coord(node, 2) * DEGREES_TO_RADIANS;
    coord(node, 1) = r * std::sin(theta);
    coord(node, 2) = r * std::cos(theta);
  }
}

// Spherical (r, phi, theta): phi about the z axis from y towards x, theta from z.
void convert_spherical() {
  for (std::int32_t node = 1; node <= PROBLEM.NPNODS; ++node) {
    const double r = coord(node, 1);
    const double phi = coord(node, 2) * DEGREES_TO_RADIANS;
    const double theta = coord(node, 3) * DEGREES_TO_RADIANS;
    coord(node, 1) = r * std::sin(theta) * std::sin(phi);
    coord(node, 2) = r * std::sin(theta) * std::cos(phi);
    coord(node, 3) = r * std::cos(theta);
  }
}

void convert_to_cartesian() {
  // Polar input needs two coordinates per node and spherical input three; with fewer
  // the angles would be read from outside COORD.
  if ((PROBLEM.NRADS == POLAR && PROBLEM.NDIME < 2) || (PROBLEM.NRADS == SPHERICAL && PROBLEM.NDIME < 3))
    ERRSTP("INPGEO: NRADS INCOMPATIBLE CON NDIME");
  if (PROBLEM.NRADS == POLAR) convert_polar();
  if (PROBLEM.NRADS == SPHERICAL) convert_spherical();
}

void list_cartesian() {
  write_empty(UNIT_LISTING, 2);
  write_underlined_heading("DEFINICION DE COORDENADAS CARTESIANAS:");
  for (std::int32_t node = 1; node <= PROBLEM.NPNODS; ++node) list_node(node);
}

}  // namespace

void INPGEO() {
  if (PROBLEM.printing(PRINT_DATA)) write_heading();
  std::int32_t cards = 0;
  LISTEN("INPGEO");
  while (!CARD.word_is(1, "FINGEOMETRIA")) {
    read_coordinate_card(cards);
    LISTEN("INPGEO");
  }
  convert_to_cartesian();
  if (PROBLEM.NRADS > 0 && PROBLEM.printing(PRINT_DATA)) list_cartesian();
}

}  // namespace vortan
