// Local axes of flat elements (EJELOC): the element's plane from three of its corners,
// an in-plane first axis kept horizontal where possible, the normal as third axis; and
// their three uses for flat shells: the nodal-normal accumulation, the choice of the
// rotation a coplanar node does without, and the transformation between local and
// global axes.
#pragma once

namespace vortan {

// Axes of a flat element from its nodal coordinates (three per node, node by node):
// axes[0..2] = V1, axes[3..5] = V2, axes[6..8] = V3 (the normal).
void flat_element_axes(int nnode, const double* corel, double* axes);

// Per-node data of the nodal systems of a flat-shell model.
// A node on an inclined support has its axes turned further by the support's angle
// about the third axis (global z, or its own third axis when it has a system).
struct NodalSystems {
  const int* has_system = nullptr;   // per node: 1 when the node has its own local system
  const double* angles = nullptr;    // per node, node index fastest: three Euler angles (degrees)
  int nodes = 0;
  const double* support = nullptr;   // per node: inclined-support angle (radians), 0 none
};

// Mode 1: adds the element normal into the accumulator of each of its nodes (normals:
// nodes x 3, node index fastest), turned into the node's own system when it has one,
// and reversed when it points against what the node holds already.
void accumulate_nodal_normals(int nnode, const int* element_nodes, const double* axes,
                              const NodalSystems& systems, double* normals);

// Mode 2: the rotation (4, 5 or 6) that a node whose elements are coplanar does
// without, from its averaged normal: 6 when the set says so (sixth_always), else the
// rotation about the normal's dominant component. 0 when the node is not coplanar:
// the element's plane makes an angle with the node's whose cosine (the absolute value
// of the normals' product) is below the coplanarity cosine.
int suppressed_rotation(const double* element_normal, const double* node_normal,
                        double coplanarity_cosine, bool sixth_always);

// Mode 3: replaces the element's coordinates by their coordinates in the local axes
// and builds the transformation T (nevab x nevab, column by column) with a 3 by 3 block
// per node triple: the element axes A for the displacements (R^T A when the node has
// its own system R, in which its unknowns are then expressed) and, for nodes with six
// unknowns, the same block for the rotations placed with the given placement. Local
// vectors are T^T times the nodal ones.
void local_transformation(int nnode, const int* element_nodes, int ndofn, const double* axes,
                          const NodalSystems& systems, int rotation_placement, double* corel,
                          double* T);

// The axis of the mid-side rotation of side k (0: corners 1-2, 1: 2-3, 2: 3-1) of a
// TLCL flat shell, from the global coordinates of its corners (three per corner), their
// global node numbers and the element axes: m = t x V3, t the unit side vector from
// the corner of lower node number to the other. The plate unknown of the mid-side node
// (the slope along t, increment over the corners' mean) is the component about m of
// the node's rotation vector, so elements meeting at the side at any angle share it.
void midside_rotation_axis(const double* corel, const int* corner_nodes, const double* axes, int side,
                           double* m);

// Turns a vector of the global axes into the axes of a node's unknowns (unchanged when
// the node has no own system).
void to_nodal_axes(const NodalSystems& systems, int node, double* v);

}  // namespace vortan
