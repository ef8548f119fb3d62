// The vocabulary of a problem definition, shared by every layer and free of any
// dependency: the element types of the catalogue (keyword, nodes, shape functions,
// parent shape, default integration), the problem types of the element sets and the
// element families whose task tables answer for them.
#pragma once

#include <string_view>

namespace vortan {

// Element type codes of the catalogue.
enum ElementTypeCode : int {
  ELEM_TR3 = 1,
  ELEM_TR6 = 2,
  ELEM_QU4 = 3,
  ELEM_QU8 = 4,
  ELEM_QU9 = 5,
  ELEM_HE8 = 6,
  ELEM_HE20 = 7,
  ELEM_HE27 = 8,
  ELEM_TE4 = 9,
  ELEM_TE10 = 10,
  ELEM_PI15 = 11,
  ELEM_TLCL = 12,
  ELEM_DKT = 13,
  ELEM_CLLL = 14,
  ELEM_LI2 = 15,
  ELEM_LI3 = 16,
  ELEM_TRC2 = 17,
};

inline constexpr int ELEMENT_TYPE_COUNT = 17;
// Largest number of shape functions, and of nodes, of any type (HE27).
inline constexpr int MAX_SHAPE_FUNCTIONS = 27;
inline constexpr int MAX_ELEMENT_NODES = 27;
// Points of the wedge rule, whatever NGAUS the set declares.
inline constexpr int WEDGE_RULE_POINTS = 21;

// Parent element of a type: the natural space its functions and rules live on.
enum class ElementShape { none, line, triangle, quadrilateral, hexahedron, tetrahedron, wedge };

struct ElementCatalogueEntry {
  std::string_view keyword;  // word of the "ELEMENTO" card
  int nodes;                 // nodes per element
  int functions;             // functions FUNFOR writes (6 for DKT, which has 3 nodes)
  int natural_dimension;     // 1 line, 2 triangle / square, 3 solid
  int default_ngaus;         // integration points when the set gives none
  ElementShape shape;
};

// Entry 0 is the empty entry returned for an unknown code; entries 1 to 17 follow the
// type codes.
inline constexpr ElementCatalogueEntry ELEMENT_CATALOGUE[ELEMENT_TYPE_COUNT + 1] = {
    {"", 0, 0, 0, 0, ElementShape::none},
    {"TR3", 3, 3, 2, 1, ElementShape::triangle},
    {"TR6", 6, 6, 2, 3, ElementShape::triangle},
    {"QU4", 4, 4, 2, 4, ElementShape::quadrilateral},
    {"QU8", 8, 8, 2, 9, ElementShape::quadrilateral},
    {"QU9", 9, 9, 2, 9, ElementShape::quadrilateral},
    {"HE8", 8, 8, 3, 8, ElementShape::hexahedron},
    {"HE20", 20, 20, 3, 27, ElementShape::hexahedron},
    {"HE27", 27, 27, 3, 27, ElementShape::hexahedron},
    {"TE4", 4, 4, 3, 4, ElementShape::tetrahedron},
    {"TE10", 10, 10, 3, 5, ElementShape::tetrahedron},
    {"PI15", 15, 15, 3, 21, ElementShape::wedge},
    {"TLCL", 6, 6, 2, 3, ElementShape::triangle},
    {"DKT", 3, 6, 2, 3, ElementShape::triangle},
    {"CLLL", 4, 4, 2, 4, ElementShape::quadrilateral},
    {"LI2", 2, 2, 1, 1, ElementShape::line},
    {"LI3", 3, 3, 1, 2, ElementShape::line},
    {"TRC2", 2, 2, 1, 1, ElementShape::line},
};

constexpr bool is_element_type(int code) { return code >= 1 && code <= ELEMENT_TYPE_COUNT; }

// Catalogue entry of a code; the empty entry (all zero) for an unknown code.
constexpr const ElementCatalogueEntry& element_catalogue(int code) {
  return ELEMENT_CATALOGUE[is_element_type(code) ? code : 0];
}
constexpr int element_nodes(int code) { return element_catalogue(code).nodes; }
constexpr int element_functions(int code) { return element_catalogue(code).functions; }
constexpr int element_natural_dimension(int code) {
  return element_catalogue(code).natural_dimension;
}
constexpr int element_default_ngaus(int code) { return element_catalogue(code).default_ngaus; }
constexpr std::string_view element_keyword(int code) { return element_catalogue(code).keyword; }
constexpr ElementShape element_shape(int code) { return element_catalogue(code).shape; }

// Code of a keyword ("QU8" -> 4); 0 when the keyword is not in the catalogue.
constexpr int element_type_of_keyword(std::string_view keyword) {
  for (int code = 1; code <= ELEMENT_TYPE_COUNT; ++code)
    if (ELEMENT_CATALOGUE[code].keyword == keyword) return code;
  return 0;
}

// Points per direction of a tensor-product rule of NGAUS points in dim directions (1
// to 3 points per direction); 0 when NGAUS is not such a count.
constexpr int points_per_direction(int ngaus, int dim) {
  for (int n = 1; n <= 3; ++n) {
    int total = 1;
    for (int k = 0; k < dim; ++k) total *= n;
    if (total == ngaus) return n;
  }
  return 0;
}

// Number of points the integration rule of a type writes for NGAUS: NGAUS itself, 21
// for the wedge (any NGAUS >= 1), 0 when the combination has no rule. The arrays of a
// set are laid out for this count, and it is the NGAUS the set carries.
constexpr int integration_point_count(int type_code, int ngaus) {
  switch (element_shape(type_code)) {
    case ElementShape::line: return points_per_direction(ngaus, 1) ? ngaus : 0;
    case ElementShape::quadrilateral: return points_per_direction(ngaus, 2) ? ngaus : 0;
    case ElementShape::hexahedron: return points_per_direction(ngaus, 3) ? ngaus : 0;
    case ElementShape::triangle: return ngaus == 1 || ngaus == 3 || ngaus == 7 ? ngaus : 0;
    case ElementShape::tetrahedron: return ngaus == 1 || ngaus == 4 || ngaus == 5 ? ngaus : 0;
    case ElementShape::wedge: return ngaus >= 1 ? WEDGE_RULE_POINTS : 0;
    case ElementShape::none: break;
  }
  return 0;
}

// True when the integration rules hold a rule for the combination.
constexpr bool has_integration_rule(int type_code, int ngaus) {
  return integration_point_count(type_code, ngaus) > 0;
}

// The type whose shape functions smooth the stresses of a type in corner mode: the
// linear triangle for the 6-node triangle, the bilinear quadrilateral for the 8- and
// 9-node quadrilaterals; 0 for the types smoothed with their own functions (lumped).
constexpr int corner_element_type(int code) {
  if (code == ELEM_TR6) return ELEM_TR3;
  if (code == ELEM_QU8 || code == ELEM_QU9) return ELEM_QU4;
  return 0;
}

// The element type whose shape functions describe a piece of a boundary of natural
// dimension 1 (a line), 2 (a surface) or 3 (a solid) with `nodes` nodes, listed in that
// type's node order: LI2, LI3; TR3, TR6, QU4, QU8, QU9; HE8, HE20, HE27, TE4, TE10, PI15.
// 0 when no type fits (a piece of dimension 0 is a single node and has no type).
constexpr int piece_element_type(int dimension, int nodes) {
  for (int code = 1; code <= ELEMENT_TYPE_COUNT; ++code) {
    // Plate and cone types repeat node counts of the continuum ones with other functions.
    if (code == ELEM_TLCL || code == ELEM_DKT || code == ELEM_CLLL || code == ELEM_TRC2) continue;
    if (ELEMENT_CATALOGUE[code].natural_dimension == dimension && ELEMENT_CATALOGUE[code].nodes == nodes)
      return code;
  }
  return 0;
}

// Problem type codes of structural sets (the "TIPO" card). Heat-conduction sets carry
// their dimension (1 to 3) in the same field instead.
enum ProblemType : int {
  PLANE_STRESS = 1,         // "TENSIONPLANA"
  PLANE_STRAIN = 2,         // "DEFORMACIONPLANA"
  AXISYMMETRIC = 3,         // "SOLIDODEREVOLUCION"
  SOLID = 4,                // "SOLIDO"
  PLATE = 5,                // "PLACA"
  SHELL_OF_REVOLUTION = 6,  // "LAMINADEREVOLUCION"
  FRAME = 7,                // "VIGA"
  FLAT_SHELL = 8,           // "LAMINAPLANA"
  BEAM_ELEMENT = 9,         // "ELEMENTOFINITOVIGA"
};

constexpr bool is_continuum(int problem_type) {
  return problem_type >= PLANE_STRESS && problem_type <= SOLID;
}

// The element families: each has its own table of element tasks.
enum class ElementFamily : int {
  none = 0,
  continuum,            // plane stress, plane strain, solids of revolution, solids
  plate,                // "PLACA"
  flat_shell,           // "LAMINAPLANA"
  frame,                // "VIGA": trusses, grids, frames
  beam_element,         // "ELEMENTOFINITOVIGA"
  shell_of_revolution,  // "LAMINADEREVOLUCION"
  conduction,           // heat-conduction sets
};
inline constexpr int ELEMENT_FAMILY_COUNT = 8;

// Family of a structural set of a problem type.
constexpr ElementFamily structural_family(int problem_type) {
  switch (problem_type) {
    case PLANE_STRESS: case PLANE_STRAIN: case AXISYMMETRIC: case SOLID: return ElementFamily::continuum;
    case PLATE: return ElementFamily::plate;
    case SHELL_OF_REVOLUTION: return ElementFamily::shell_of_revolution;
    case FRAME: return ElementFamily::frame;
    case FLAT_SHELL: return ElementFamily::flat_shell;
    case BEAM_ELEMENT: return ElementFamily::beam_element;
    default: return ElementFamily::none;
  }
}

}  // namespace vortan
