#include "elements/local_axes.h"

#include <cmath>
#include <utility>

#include "elements/vector_helpers.h"

namespace vortan {

namespace {

constexpr double AXIS_TOLERANCE = 1e-5;

double length(const double* v) { return std::sqrt(dot_product(v, v)); }

// The two corners that span the element's plane with node 1: the second and the last
// corner of the element.
void spanning_corners(int nnode, int& second, int& third) {
  switch (nnode) {
    case 4: second = 2, third = 4; return;
    case 8: second = 3, third = 7; return;
    default: second = 2, third = 3; return;
  }
}

bool has_system(const NodalSystems& systems, int node) {
  return (systems.has_system != nullptr && systems.has_system[node - 1] == 1) ||
         (systems.support != nullptr && systems.support[node - 1] != 0.0);
}

// The node's axes as the columns of R: the Euler matrix of its own angles (the stored
// degrees stay degrees) or the identity, turned by an inclined support's angle about
// the third axis.
void node_rotation(const NodalSystems& systems, int node, double* R) {
  if (systems.has_system != nullptr && systems.has_system[node - 1] == 1) {
    double angles[3];
    for (int i = 0; i < 3; ++i) angles[i] = systems.angles[(node - 1) + i * systems.nodes];
    euler_rotation(angles, 3, R);
  } else {
    for (int i = 0; i < 9; ++i) R[i] = (i % 4 == 0) ? 1.0 : 0.0;
  }
  const double angle = systems.support != nullptr ? systems.support[node - 1] : 0.0;
  if (angle == 0.0) return;
  const double c = std::cos(angle), s = std::sin(angle);
  for (int i = 0; i < 3; ++i) {
    const double first = R[i], second = R[3 + i];
    R[i] = c * first + s * second;
    R[3 + i] = c * second - s * first;
  }
}

}  // namespace

void flat_element_axes(int nnode, const double* corel, double* axes) {
  int second = 2, third = 3;
  spanning_corners(nnode, second, third);
  const double* p1 = corel;
  const double* p2 = corel + 3 * (second - 1);
  const double* p3 = corel + 3 * (third - 1);
  double* v1 = axes;
  double* v2 = axes + 3;
  double* v3 = axes + 6;
  double a[3], b[3];
  for (int i = 0; i < 3; ++i) a[i] = p2[i] - p1[i], b[i] = p3[i] - p1[i];
  cross_product(a, b, v3);
  REFER(v3);
  if (std::fabs(v3[1]) > AXIS_TOLERANCE) v1[0] = v3[1], v1[1] = -v3[0];
  else v1[0] = -v3[1], v1[1] = v3[0];
  v1[2] = 0.0;
  if (length(v1) == 0.0) v1[0] = 1.0, v1[1] = 0.0;
  cross_product(v3, v1, v2);
  if (length(v2) == 0.0 && std::fabs(v2[2]) < AXIS_TOLERANCE) {
    for (int i = 0; i < 9; ++i) axes[i] = (i % 4 == 0) ? 1.0 : 0.0;
    return;
  }
  REFER(v1);
  REFER(v2);
}

void accumulate_nodal_normals(int nnode, const int* element_nodes, const double* axes,
                              const NodalSystems& systems, double* normals) {
  const double* normal = axes + 6;
  for (int k = 0; k < nnode; ++k) {
    const int node = element_nodes[k];
    double n[3] = {normal[0], normal[1], normal[2]};
    if (has_system(systems, node)) {
      double R[9];
      node_rotation(systems, node, R);
      for (int i = 0; i < 3; ++i) n[i] = dot_product(R + 3 * i, normal);  // R^T normal
    }
    // The sense of an element's normal follows the order of its nodes only: a normal
    // against what the node holds already is added reversed, so that two coplanar
    // elements numbered in opposite senses do not cancel.
    double* sum[3];
    for (int i = 0; i < 3; ++i) sum[i] = normals + (node - 1) + i * systems.nodes;
    const double along = *sum[0] * n[0] + *sum[1] * n[1] + *sum[2] * n[2];
    const double sense = along < 0.0 ? -1.0 : 1.0;
    for (int i = 0; i < 3; ++i) *sum[i] += sense * n[i];
  }
}

int suppressed_rotation(const double* element_normal, const double* node_normal,
                        double coplanarity_cosine, bool sixth_always) {
  // A plane is the same plane whichever sense its normal has.
  if (std::fabs(dot_product(element_normal, node_normal)) < coplanarity_cosine) return 0;
  if (sixth_always) return 6;
  const double x = std::fabs(node_normal[0]), y = std::fabs(node_normal[1]), z = std::fabs(node_normal[2]);
  if (x > y && x > z) return 4;
  if (y > x && y > z) return 5;
  return 6;
}

void local_transformation(int nnode, const int* element_nodes, int ndofn, const double* axes,
                          const NodalSystems& systems, int rotation_placement, double* corel,
                          double* T) {
  for (int k = 0; k < nnode; ++k) {
    double* x = corel + 3 * k;
    const double global[3] = {x[0], x[1], x[2]};
    for (int i = 0; i < 3; ++i) x[i] = dot_product(axes + 3 * i, global);
  }
  const int nevab = nnode * ndofn;
  for (int i = 0; i < nevab * nevab; ++i) T[i] = 0.0;
  for (int k = 0; k < nnode; ++k) {
    const int node = element_nodes[k];
    // A node with its own system keeps its unknowns in that system (global = R nodal),
    // so its block is R^T A: local = A^T R nodal.
    double block[9];
    if (has_system(systems, node)) {
      double R[9];
      node_rotation(systems, node, R);
      for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) block[i + 3 * j] = dot_product(R + 3 * i, axes + 3 * j);
    } else {
      for (int i = 0; i < 9; ++i) block[i] = axes[i];
    }
    place_block(block, 3, BLOCK_AS_STORED, k * ndofn, T, nevab);
    if (ndofn == 6) place_block(block, 3, rotation_placement, k * ndofn + 3, T, nevab);
  }
}

void midside_rotation_axis(const double* corel, const int* corner_nodes, const double* axes, int side,
                           double* m) {
  int a = side, b = (side + 1) % 3;
  if (corner_nodes[b] < corner_nodes[a]) std::swap(a, b);
  double t[3];
  for (int i = 0; i < 3; ++i) t[i] = corel[3 * b + i] - corel[3 * a + i];
  const double l = length(t);
  for (int i = 0; i < 3; ++i) t[i] = l > 0.0 ? t[i] / l : 0.0;
  cross_product(t, axes + 6, m);
}

void to_nodal_axes(const NodalSystems& systems, int node, double* v) {
  if (!has_system(systems, node)) return;
  double R[9];
  node_rotation(systems, node, R);
  const double g[3] = {v[0], v[1], v[2]};
  for (int i = 0; i < 3; ++i) v[i] = dot_product(R + 3 * i, g);
}

}  // namespace vortan
