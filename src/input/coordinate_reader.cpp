#include "input/coordinate_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "input/card_integer.h"
#include "input/card_real.h"
#include "input/card_reader.h"
#include "input/element_sets.h"
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
constexpr int HEAT_CONDUCTION = 5;  // analysis code: its sets carry a dimension, not a problem type
constexpr int AXISYMMETRIC = 3;          // problem types whose first coordinate is a radius
constexpr int SHELL_OF_REVOLUTION = 6;
constexpr int NODES_PER_LINE = 10;
constexpr int CONSOLE_NODES = 100;  // the console names at most these; the listing all
// A radius below -RADIUS_TOLERANCE times the largest coordinate is negative; above it,
// it is the round-off of a node on the axis (r sin(-360 degrees) in polar input).
constexpr double RADIUS_TOLERANCE = 1.0E-12;

// Per node while the coordinates are read: whether a card gave it, whether an element
// uses it.
constexpr std::int32_t GIVEN = 1;
constexpr std::int32_t USED = 2;

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
void read_coordinate_card(std::int32_t& cards, std::int32_t* node_flags) {
  if (CARD.NWORD > 0) ERRSTP("INPGEO: COORDENADAS EQUIVOCADAS");
  const std::int32_t node = card_integer(1);
  ++cards;
  if (cards > PROBLEM.NPNODS || node < 1 || node > PROBLEM.NPNODS) ERRSTP("INPGEO: VERIFICA EL NUMERO DE NODOS");
  for (int d = 1; d <= PROBLEM.NDIME; ++d) coord(node, d) = card_real(1 + d, "INPGEO");
  node_flags[node - 1] |= GIVEN;
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

// Calls visit(set, node) for every node of every element.
template <class Visit>
void for_each_element_node(Visit visit) {
  for (int s = 1; s <= PROBLEM.NSETS; ++s) {
    const ElementSet& set = SETS(s);
    if (set.LNODS == 0) continue;
    const std::int32_t* lnods = WORK.ints(set.LNODS);
    for (std::int64_t k = set.NELEM; k < std::int64_t{set.NNODE + 1} * set.NELEM; ++k) {
      const std::int32_t node = lnods[k];
      if (node >= 1 && node <= PROBLEM.NPNODS) visit(s, node);
    }
  }
}

// A node that an element uses but no card gave stays at the origin: the listing and
// the console name every such node (nodes of no element are not reported).
void warn_of_nodes_without_coordinates(std::int32_t* node_flags) {
  for_each_element_node([&](int, std::int32_t node) { node_flags[node - 1] |= USED; });
  std::int64_t missing = 0;
  std::string line;
  auto write_line = [&](bool console) {
    write_record(UNIT_LISTING, line);
    if (console) write_record(UNIT_CONSOLE, line);
    line.clear();
  };
  for (std::int32_t node = 1; node <= PROBLEM.NPNODS; ++node) {
    if (node_flags[node - 1] != USED) continue;
    if (missing == 0) {
      const std::string heading = " WARNING: NODOS DE ELEMENTOS SIN COORDENADAS (QUEDAN EN EL ORIGEN):";
      write_empty(UNIT_LISTING);
      write_record(UNIT_LISTING, heading);
      write_record(UNIT_CONSOLE, heading);
    }
    line += fmt::I(node, 10);
    ++missing;
    if (missing % NODES_PER_LINE == 0) write_line(missing <= CONSOLE_NODES);
  }
  if (!line.empty()) write_line(missing <= CONSOLE_NODES);
  if (missing > CONSOLE_NODES)
    write_record(UNIT_CONSOLE, " ... EN TOTAL" + fmt::I(missing, 10) + " NODOS (VER EL LISTADO)");
}

// The first coordinate of the nodes of solids and shells of revolution is a radius.
void check_radii() {
  if (RUN.KANALI == HEAT_CONDUCTION) return;
  double largest = 0.0;
  for (std::int64_t i = 0; i < std::int64_t{PROBLEM.NPNODS} * PROBLEM.NDIME; ++i)
    largest = std::max(largest, std::fabs(WORK.reals(PROBLEM.COORD)[i]));
  for_each_element_node([&](int s, std::int32_t node) {
    const int type = SETS(s).problem_type;
    if (type != AXISYMMETRIC && type != SHELL_OF_REVOLUTION) return;
    const double r = coord(node, 1);
    if (!(r < -RADIUS_TOLERANCE * largest)) return;
    write_record(UNIT_LISTING, " NODO" + fmt::I(node, 10) + " DEL SET" + fmt::I(s, 5) + " DE REVOLUCION CON RADIO" +
                                   fmt::E(r, 15, 6));
    ERRSTP("INPGEO: RADIO NEGATIVO NODO " + std::to_string(node));
  });
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
  // The node flags live above the allocation cursor only while the block is read.
  std::int32_t cursor = RUN.NXTPOS;
  std::int32_t* node_flags = WORK.ints(DIREC1(cursor, RUN.MEMORY, PROBLEM.NPNODS, "NODCO", INT_WORDS));
  ZEROI(PROBLEM.NPNODS, node_flags);
  LISTEN("INPGEO");
  while (!CARD.word_is(1, "FINGEOMETRIA")) {
    read_coordinate_card(cards, node_flags);
    LISTEN("INPGEO");
  }
  convert_to_cartesian();
  if (PROBLEM.NRADS > 0 && PROBLEM.printing(PRINT_DATA)) list_cartesian();
  warn_of_nodes_without_coordinates(node_flags);
  check_radii();
}

}  // namespace vortan
