// Member matrices of the frame family ("VIGA"): the Euler-Bernoulli stiffness of bars,
// plane and space frame members in their local axes, the transformation from global
// to local components, and the fixed-end forces of loads along a member.
//
// Local degrees of freedom, node by node (first node, then second):
//   plane bar               u, v            (v carries no stiffness)
//   plane frame member      u, v, rotation
//   space bar               u, v, w         (v, w carry no stiffness)
//   space frame member      u, v, w, rx, ry, rz
// u along the member (V1), v along V2, w along V3; rx the twist, ry and rz the
// rotations about V2 and V3. The inertia XINER acts in bending in the plane of V1 and
// V2 (rotation rz; the rotation of plane members), YINER in the plane of V1 and V3
// (rotation ry).
#pragma once

namespace vortan {

// The member models, fixed by the set's dimension, structure kind and connection.
enum class MemberModel : int {
  plane_bar,        // "ARMADURA" in two dimensions: two displacements per node
  plane_link,       // "COMBINADO" connection 1: a bar between nodes that also rotate
  plane_frame,      // "RETICULA", "COMBINADO" connection 2: rigidly connected
  plane_hinged,     // "COMBINADO" connection 3: hinged at its first node
  space_bar,        // "ARMADURA" in three dimensions
  space_frame,      // "RETICULA", "COMBINADO" in three dimensions
};

// Connection codes of two-dimensional "COMBINADO" members.
enum MemberConnection : int {
  CONNECTION_BAR = 1,
  CONNECTION_RIGID = 2,
  CONNECTION_HINGED = 3,
};

// Structure kinds ("VIGA" third word).
enum FrameSubtype : int { FRAME_TRUSS = 1, FRAME_GRID = 2, FRAME_COMBINED = 3 };

MemberModel member_model(int dimension, int subtype, int connection);

// Degrees of freedom per node of a model (2, 3 or 6).
int member_node_dofs(MemberModel model);

// The section and material of a member.
struct MemberSection {
  double young = 0.0;          // E
  double area = 0.0;           // A
  double inertia_v = 0.0;      // XINER: bending in the plane of V1 and V2
  double inertia_w = 0.0;      // YINER: bending in the plane of V1 and V3
  double torsion = 0.0;        // XJNER
  double shear_modulus = 0.0;  // GCORT
};

// Largest member matrix order (space frame member).
inline constexpr int MAX_MEMBER_VARIABLES = 12;

// Stiffness k of a member of length L in its local axes: n x n (n = 2 x node dofs),
// column by column. With 4EI/L the constants 6EI/L^2 = 1.5 (4EI/L)/L, 12EI/L^3 =
// 2 (6EI/L^2)/L and 2EI/L = (4EI/L)/2; a hinged end gives 3EI/L^3, 3EI/L^2, 3EI/L.
void local_member_stiffness(MemberModel model, const MemberSection& section, double length, double* k);

// Transformation t (n x n, column by column) from the member's global components to
// its local ones: local = t global, block by block with the rows of the axes (the
// columns V1, V2, V3 of `axes`, as RIGVIG writes them).
void member_transformation(MemberModel model, const double* axes, double* t);

// K = t^T k t (n x n), exactly symmetric.
void rotate_to_global(int n, const double* t, const double* k, double* K);

// A load along a member, in its local axes: a point load of components (px, py, pz)
// at `distance` from the first node, or a load of (qx, qy, qz) per unit length over
// the whole member. Plane members use the first two components.
struct MemberLoad {
  bool point = false;
  double distance = 0.0;
  double local[3] = {};
};

// The fixed-end forces of a load on a member of length L: the forces and moments the
// ends exert on the member when every end degree of freedom of the model is held, in
// local axes and in the model's order (n values). Released ends (bars, hinges) carry
// no moment: the load is spread to the held ones by static condensation.
void fixed_end_forces(MemberModel model, double length, const MemberLoad& load, double* forces);

}  // namespace vortan
