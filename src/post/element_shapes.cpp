#include "post/element_shapes.h"

#include <algorithm>
#include <initializer_list>

#include "input/catalogue.h"

namespace vortan {

namespace {

struct CodeRow {
  int dimension, nodes, code;
};

constexpr CodeRow FEMVIEW_CODES[] = {
    {3, 2, 11}, {3, 3, 7},  {3, 4, 9},  {3, 6, 8},  {3, 8, 1}, {3, 15, 5}, {3, 20, 4}, {2, 2, 11},
    {2, 3, 7},  {2, 4, 9},  {2, 6, 8},  {2, 8, 10}, {2, 9, 10}, {1, 2, 11}, {1, 3, 12},
};

// Local positions of the 20-node brick in the neutral file's order: the eight corners
// (lower face, then upper face), the mid-sides of the lower face, the four vertical
// edges and the mid-sides of the upper face.
constexpr int HE20_ORDER[20] = {1, 3, 5, 7, 13, 15, 17, 19, 2, 4, 6, 8, 9, 10, 11, 12, 14, 16, 18, 20};
// The same corners and edges of the 27-node brick (three layers of nine nodes, each
// ring from its lower left corner, centre last).
constexpr int HE27_ORDER[20] = {3, 5, 7, 1, 21, 23, 25, 19, 4, 6, 8, 2, 12, 14, 16, 10, 22, 24, 26, 20};
// The wedge: the corners of both faces, the mid-sides of the upper face, the corners'
// mid-height nodes, the mid-sides of the lower face.
constexpr int PI15_ORDER[15] = {1, 2, 3, 4, 5, 6, 10, 11, 12, 7, 8, 9, 13, 14, 15};

void copy_order(WrittenElement& w, const int* order, int count) {
  w.count = count;
  std::copy(order, order + count, w.positions);
}

void element_order(WrittenElement& w, int count) {
  w.count = count;
  for (int k = 0; k < count; ++k) w.positions[k] = k + 1;
}

// Corner and mid-side nodes alternate round the element: odd positions first, then
// even ones, up to `boundary` nodes (a centre node after them is dropped).
void corners_first(WrittenElement& w, int boundary) {
  w.count = 0;
  for (int k = 1; k <= boundary; k += 2) w.positions[w.count++] = k;
  for (int k = 2; k <= boundary; k += 2) w.positions[w.count++] = k;
}

int set_pieces(int pieces[MAX_PIECES][8], std::initializer_list<std::initializer_list<int>> list) {
  int p = 0;
  for (const auto& piece : list) {
    std::copy(piece.begin(), piece.end(), pieces[p]);
    ++p;
  }
  return p;
}

int line_pieces(int element_type, bool frame_member, int pieces[MAX_PIECES][8]) {
  if (frame_member) return set_pieces(pieces, {{1, 2}});
  switch (element_type) {
    case ELEM_LI2: case ELEM_TRC2: return set_pieces(pieces, {{1, 2}});
    case ELEM_LI3: return set_pieces(pieces, {{1, 2}, {2, 3}});
    default: return 0;
  }
}

// Counter-clockwise triangles that cover the element with the element's own nodes.
int triangle_pieces(int element_type, int pieces[MAX_PIECES][8]) {
  switch (element_type) {
    case ELEM_TR3: case ELEM_DKT: return set_pieces(pieces, {{1, 2, 3}});
    case ELEM_QU4: case ELEM_CLLL: return set_pieces(pieces, {{1, 2, 3}, {1, 3, 4}});
    case ELEM_TR6: return set_pieces(pieces, {{1, 2, 6}, {2, 3, 4}, {6, 4, 5}, {2, 4, 6}});
    case ELEM_TLCL: return set_pieces(pieces, {{1, 4, 6}, {4, 2, 5}, {6, 5, 3}, {4, 5, 6}});
    case ELEM_QU8:
      return set_pieces(pieces, {{1, 2, 8}, {3, 4, 2}, {5, 6, 4}, {7, 8, 6}, {2, 4, 6}, {2, 6, 8}});
    case ELEM_QU9:
      return set_pieces(pieces, {{1, 2, 9}, {2, 3, 9}, {3, 4, 9}, {4, 5, 9}, {5, 6, 9}, {6, 7, 9}, {7, 8, 9}, {8, 1, 9}});
    default: return 0;
  }
}

int solid_pieces(int element_type, int mesh_code, int pieces[MAX_PIECES][8]) {
  const bool tetrahedron = element_type == ELEM_TE4 || element_type == ELEM_TE10;
  if (mesh_code == KELDAR_TETRAHEDRA) return tetrahedron ? set_pieces(pieces, {{1, 2, 3, 4}}) : 0;
  switch (element_type) {
    case ELEM_HE8: return set_pieces(pieces, {{1, 2, 3, 4, 5, 6, 7, 8}});
    case ELEM_HE20: return set_pieces(pieces, {{1, 3, 5, 7, 13, 15, 17, 19}});
    case ELEM_HE27: return set_pieces(pieces, {{1, 3, 5, 7, 19, 21, 23, 25}});
    // Degenerate bricks: the wedge with a collapsed edge on each face, the
    // tetrahedron with a collapsed lower edge and upper face.
    case ELEM_PI15: return set_pieces(pieces, {{4, 5, 6, 6, 1, 2, 3, 3}});
    case ELEM_TE4: case ELEM_TE10: return set_pieces(pieces, {{1, 2, 3, 3, 4, 4, 4, 4}});
    default: return 0;
  }
}

}  // namespace

int femview_type_code(int dimension, int nodes, int previous) {
  for (const CodeRow& row : FEMVIEW_CODES)
    if (row.dimension == dimension && row.nodes == nodes) return row.code;
  return previous;
}

WrittenElement femview_element(int element_type, bool frame_member) {
  WrittenElement w;
  if (frame_member) {
    w.dimension = 1;
    element_order(w, 2);
    return w;
  }
  w.dimension = element_natural_dimension(element_type);
  switch (element_type) {
    case ELEM_TR6: case ELEM_QU8: corners_first(w, element_nodes(element_type)); break;
    case ELEM_QU9: corners_first(w, 8); break;
    case ELEM_HE20: copy_order(w, HE20_ORDER, 20); break;
    case ELEM_HE27: copy_order(w, HE27_ORDER, 20); break;
    case ELEM_PI15: copy_order(w, PI15_ORDER, 15); break;
    case ELEM_TE10: element_order(w, 4); break;
    default: element_order(w, element_nodes(element_type)); break;
  }
  return w;
}

int keldar_piece_nodes(int mesh_code) {
  switch (mesh_code) {
    case KELDAR_LINES: return 2;
    case KELDAR_TRIANGLES: return 3;
    case KELDAR_TETRAHEDRA: return 4;
    default: return 8;
  }
}

int keldar_pieces(int element_type, bool frame_member, int mesh_code, int pieces[MAX_PIECES][8]) {
  if (mesh_code == KELDAR_LINES) return line_pieces(element_type, frame_member, pieces);
  if (frame_member) return 0;
  const int dimension = element_natural_dimension(element_type);
  if (mesh_code == KELDAR_TRIANGLES) return dimension == 2 ? triangle_pieces(element_type, pieces) : 0;
  return dimension == 3 ? solid_pieces(element_type, mesh_code, pieces) : 0;
}

}  // namespace vortan
