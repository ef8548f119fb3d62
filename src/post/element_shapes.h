// How the post-processing files write an element: the nodes in the order and number
// of the FEMVIEW neutral file with its element type code, and the linear pieces
// (lines, triangles, tetrahedra, bricks) of the KELDAR mesh.
#pragma once

namespace vortan {

// Most nodes a written element has (the 20-node brick).
inline constexpr int MAX_WRITTEN_NODES = 20;

// FEMVIEW element type code of an element of the given dimension and node count; an
// element whose combination is not in the table keeps the code of the element written
// before it (`previous`).
int femview_type_code(int dimension, int nodes, int previous);

// An element as the neutral file writes it: its dimension and its nodes, as local
// positions (1-based) of its connectivity, in FEMVIEW order.
struct WrittenElement {
  int dimension = 0;
  int count = 0;
  int positions[MAX_WRITTEN_NODES] = {};
};

// The written form of an element of a catalogue type; frame members (beam sets) are
// written as lines between their two end nodes. Quadratic quadrilaterals and
// triangles put their corners first and drop a centre node, the 20-node brick and the
// wedge follow the neutral file's own orders, a 27-node brick is written as the
// 20-node brick of its corners and edges, a 10-node tetrahedron as its four corners,
// and the other elements keep their own order.
WrittenElement femview_element(int element_type, bool frame_member);

// KELDAR mesh codes: the one linear element shape of a mesh file.
enum KeldarMeshCode : int {
  KELDAR_BRICKS = 1,       // 8-node bricks
  KELDAR_TETRAHEDRA = 3,   // 4-node tetrahedra
  KELDAR_TRIANGLES = 7,    // 3-node triangles
  KELDAR_LINES = 11,       // 2-node lines
};

// Nodes of a piece of the given mesh code.
int keldar_piece_nodes(int mesh_code);

// Most pieces an element splits into (the 9-node quadrilateral: eight triangles).
inline constexpr int MAX_PIECES = 8;

// The pieces an element is written as in a mesh of the given code: piece p uses the
// local positions pieces[p][0 .. keldar_piece_nodes(code) - 1]. Returns the number of
// pieces; 0 when the element's shape has no place in such a mesh.
int keldar_pieces(int element_type, bool frame_member, int mesh_code, int pieces[MAX_PIECES][8]);

}  // namespace vortan
