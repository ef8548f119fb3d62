// Element catalogue and shape functions of the isoparametric element library.
//
// Every element set has one element type code (1 to 17). The type fixes the node count,
// the natural (parent) space, the local node order and the shape functions. FUNFOR
// evaluates the functions of a type and their derivatives with respect to the natural
// coordinates at one point; the family routines below do the same for one family and
// may be called directly where the family is fixed.
//
// Output layout, shared by every routine of this header:
//   FFORM[i]            N(i+1), one value per function;
//   DERIV[k + nd * i]   dN(i+1)/d(natural coordinate k+1), column by column, with nd the
//                       dimension of the natural space of the type (1, 2 or 3).
// Natural coordinates: squares, cubes and lines run from -1 to +1; triangles and
// tetrahedra use area / volume coordinates s, t (, u) >= 0 with s + t (+ u) <= 1; the
// wedge is the triangle (s, t) times the line u in [-1, 1].
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
// Largest number of shape functions of any type (HE27).
inline constexpr int MAX_SHAPE_FUNCTIONS = 27;

struct ElementCatalogueEntry {
  std::string_view keyword;  // word of the "ELEMENTO" card
  int nodes;                 // nodes per element
  int functions;             // functions FUNFOR writes (6 for DKT, which has 3 nodes)
  int natural_dimension;     // 1 line, 2 triangle / square, 3 solid
  int default_ngaus;         // integration points when the set gives none
};

// Entry 0 is the empty entry returned for an unknown code; entries 1 to 17 follow the
// type codes.
inline constexpr ElementCatalogueEntry ELEMENT_CATALOGUE[ELEMENT_TYPE_COUNT + 1] = {
    {"", 0, 0, 0, 0},
    {"TR3", 3, 3, 2, 1},   {"TR6", 6, 6, 2, 3},    {"QU4", 4, 4, 2, 4},
    {"QU8", 8, 8, 2, 9},   {"QU9", 9, 9, 2, 9},    {"HE8", 8, 8, 3, 8},
    {"HE20", 20, 20, 3, 27}, {"HE27", 27, 27, 3, 27}, {"TE4", 4, 4, 3, 4},
    {"TE10", 10, 10, 3, 5}, {"PI15", 15, 15, 3, 21}, {"TLCL", 6, 6, 2, 3},
    {"DKT", 3, 6, 2, 3},   {"CLLL", 4, 4, 2, 4},   {"LI2", 2, 2, 1, 1},
    {"LI3", 3, 3, 1, 2},   {"TRC2", 2, 2, 1, 1},
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

// Code of a keyword ("QU8" -> 4); 0 when the keyword is not in the catalogue.
int element_type_of_keyword(std::string_view keyword);

// Shape functions of one element type at (s, t, u). Two-dimensional types ignore u,
// one-dimensional types ignore t and u; ndime is carried for the callers but not used.
// An unknown code leaves FFORM and DERIV as they were.
void FUNFOR(double s, double t, double u, int type_code, int ndime, double* FFORM,
            double* DERIV);

// Family routines. nnode selects the member of the family; a node count the family
// does not have leaves the arrays as they were.
// Lines, nodes at s = -1, (0,) +1: LI2 / TRC2 (2), LI3 (3).
void line_shape_functions(double s, int nnode, double* FFORM, double* DERIV);
// Triangles: TR3 (3, corners (0,0), (1,0), (0,1)); TR6 (6, corner and mid-side
// alternating from (0,0)).
void triangle_shape_functions(double s, double t, int nnode, double* FFORM, double* DERIV);
// The six plate-triangle functions of TLCL and DKT: linear corners first, then the
// quadratic mid-side bubbles of edges 1-2, 2-3, 3-1 (not a partition of unity).
void plate_triangle_shape_functions(double s, double t, double* FFORM, double* DERIV);
// Quadrilaterals, counter-clockwise from (-1,-1): QU4 / CLLL (4); QU8 (8, corner and
// mid-side alternating); QU9 (9, as QU8 then the centre).
void quadrilateral_shape_functions(double s, double t, int nnode, double* FFORM,
                                   double* DERIV);
// Hexahedra: HE8 (8), HE20 (20, rings starting at the corner (1,-1)), HE27 (27).
void hexahedron_shape_functions(double s, double t, double u, int nnode, double* FFORM,
                                double* DERIV);
// Tetrahedra: TE4 (4), TE10 (10, corners first, then the mid-edge nodes of the edges
// 1-2, 2-3, 3-1, 1-4, 2-4, 3-4).
void tetrahedron_shape_functions(double s, double t, double u, int nnode, double* FFORM,
                                 double* DERIV);
// The 15-node wedge PI15.
void wedge_shape_functions(double s, double t, double u, double* FFORM, double* DERIV);

}  // namespace vortan
