#include "elements/conduction_boundary.h"

#include <algorithm>
#include <cmath>

#include "elements/active_set.h"
#include "elements/integration_rules.h"
#include "elements/shape_functions.h"
#include "input/catalogue.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "input/property_layout.h"
#include "run/errstp.h"
#include "run/work_array.h"

namespace vortan {

namespace {

constexpr int MAX_PIECE_POINTS = 27;

// Square root of the Gram determinant of the piece's tangents at a point.
double measure(int dimension, const double tangents[3][3]) {
  double g[3][3];
  for (int k = 0; k < dimension; ++k)
    for (int l = 0; l < dimension; ++l)
      g[k][l] = tangents[k][0] * tangents[l][0] + tangents[k][1] * tangents[l][1] + tangents[k][2] * tangents[l][2];
  double det = 0.0;
  if (dimension == 1) det = g[0][0];
  else if (dimension == 2) det = g[0][0] * g[1][1] - g[0][1] * g[1][0];
  else
    det = g[0][0] * (g[1][1] * g[2][2] - g[1][2] * g[2][1]) - g[0][1] * (g[1][0] * g[2][2] - g[1][2] * g[2][0]) +
          g[0][2] * (g[1][0] * g[2][1] - g[1][1] * g[2][0]);
  return std::sqrt(std::max(det, 0.0));
}

}  // namespace

int exact_piece_points(int type) {
  switch (type) {
    case ELEM_LI2: return 2;
    case ELEM_LI3: return 3;
    case ELEM_TR3: return 3;
    case ELEM_TR6: return 7;
    case ELEM_QU4: return 4;
    case ELEM_QU8: case ELEM_QU9: return 9;
    default: return element_default_ngaus(type);
  }
}

void piece_integrals(int dimension, int nodes, int ngaus, const double* xyz, double* m) {
  std::fill(m, m + nodes * nodes, 0.0);
  if (dimension == 0) {
    m[0] = 1.0;  // a single node: the factor is the whole measure
    return;
  }
  const int type = piece_element_type(dimension, nodes);
  const int points = integration_point_count(type, ngaus);
  if (type == 0 || points == 0 || points > MAX_PIECE_POINTS) ERRSTP("PIEZAC: PIEZA DE CONTORNO ERRONEA");
  double posgt[3 * MAX_PIECE_POINTS], pesgt[MAX_PIECE_POINTS];
  REGINT(type, ngaus, posgt, pesgt);
  double N[MAX_SHAPE_FUNCTIONS], dN[3 * MAX_SHAPE_FUNCTIONS];
  for (int g = 0; g < points; ++g) {
    const double s = posgt[g];
    const double t = dimension > 1 ? posgt[points + g] : 0.0;
    const double u = dimension > 2 ? posgt[2 * points + g] : 0.0;
    FUNFOR(s, t, u, type, dimension, N, dN);
    double tangents[3][3] = {};
    for (int a = 0; a < nodes; ++a)
      for (int k = 0; k < dimension; ++k)
        for (int i = 0; i < 3; ++i) tangents[k][i] += dN[k + dimension * a] * xyz[3 * a + i];
    const double da = measure(dimension, tangents) * pesgt[g];
    for (int b = 0; b < nodes; ++b)
      for (int a = 0; a < nodes; ++a) m[a + nodes * b] += N[a] * N[b] * da;
  }
}

double piece_measure_factor(int set, int dimension) {
  const ElementSet& s = SETS(set);
  if (dimension != s.dimension - 1) return 1.0;
  const double thickness = WORK.reals(s.PROPS)[props::CONDUCTION_THICKNESS];
  return thickness != 0.0 ? thickness : 1.0;  // as the volume element takes it
}

void node_point(std::int32_t node, double* xyz) {
  for (int i = 0; i < 3; ++i)
    xyz[i] = i < PROBLEM.NDIME ? WORK.reals(PROBLEM.COORD)[(node - 1) + std::int64_t{i} * PROBLEM.NPNODS] : 0.0;
}

void convection_terms(std::int32_t card, ConvectionTerms& terms) {
  const int set = convection_word(card, 1);
  const std::int32_t element = convection_word(card, 2);
  const int dimension = convection_word(card, 3);
  const int nodes = convection_word(card, 4);
  const int ngaus = convection_word(card, 5);
  const std::int32_t row = WORK.int_at(PROBLEM.GLELEM + 2 * (element - 1) + 1);
  const int nnode = SETS(set).NNODE;
  double xyz[3 * CONVECTION_MAX_NODES];
  terms.nodes = nodes;
  for (int a = 0; a < nodes; ++a) {
    const std::int32_t node = convection_word(card, 6 + a);
    node_point(node, xyz + 3 * a);
    terms.positions[a] = 0;
    for (int k = 1; k <= nnode && terms.positions[a] == 0; ++k)
      if (element_node(set, row, k) == node) terms.positions[a] = k;
    if (terms.positions[a] == 0) ERRSTP("INPTERE: NODO AJENO AL ELEMENTO");
  }
  piece_integrals(dimension, nodes, ngaus, xyz, terms.conductance);
  const double h = convection_coefficient(card) * piece_measure_factor(set, dimension);
  const double ambient = convection_ambient(card);
  for (int a = 0; a < nodes; ++a) {
    double area = 0.0;  // integral of N_a dA: the functions add up to 1
    for (int b = 0; b < nodes; ++b) {
      area += terms.conductance[a + nodes * b];
      terms.conductance[a + nodes * b] *= h;
    }
    terms.heat[a] = h * ambient * area;
  }
}

void add_convection_conductance(int element) {
  const ActiveSetRecord& a = ACTIVE;
  double* k = a.reals(a.RIGID);
  ConvectionTerms terms;
  for (std::int32_t card = first_convection(element_node(a.set, element, 0)); card != 0;
       card = next_convection(card)) {
    convection_terms(card, terms);
    const int n = terms.nodes;
    for (int j = 0; j < n; ++j)
      for (int i = 0; i < n; ++i)
        k[(terms.positions[i] - 1) + a.NEVAB * (terms.positions[j] - 1)] += terms.conductance[i + n * j];
  }
}

}  // namespace vortan
