#include "elements/frame/member_matrices.h"

#include <algorithm>

namespace vortan {

namespace {

constexpr int SPACE = 12;  // variables of a space frame member
constexpr int PLANE = 6;   // variables of a plane frame member

// Entry (i, j) of an n x n matrix stored column by column, filled symmetrically.
struct Symmetric {
  double* m;
  int n;
  void set(int i, int j, double v) {
    m[i + n * j] = v;
    m[j + n * i] = v;
  }
};

// Bending constants of a member of stiffness EI and length L.
struct Bending {
  double b4, b6, b12, b2;
  Bending(double ei, double length) {
    b4 = 4.0 * ei / length;
    b6 = 1.5 * b4 / length;
    b12 = 2.0 * b6 / length;
    b2 = 0.5 * b4;
  }
};

void zero(double* m, int count) { std::fill(m, m + count, 0.0); }

void axial(Symmetric k, int first, int second, double a) {
  k.set(first, first, a);
  k.set(first, second, -a);
  k.set(second, second, a);
}

// Bending in one plane: deflection d and rotation r at each end (d1, r1, d2, r2 the
// positions); sign +1 in the plane of V1 and V2, -1 in that of V1 and V3, where a
// positive rotation turns the member away from the positive deflection.
void bending(Symmetric k, int d1, int r1, int d2, int r2, const Bending& c, double sign) {
  k.set(d1, d1, c.b12);
  k.set(d1, r1, sign * c.b6);
  k.set(d1, d2, -c.b12);
  k.set(d1, r2, sign * c.b6);
  k.set(r1, r1, c.b4);
  k.set(r1, d2, -sign * c.b6);
  k.set(r1, r2, c.b2);
  k.set(d2, d2, c.b12);
  k.set(d2, r2, -sign * c.b6);
  k.set(r2, r2, c.b4);
}

void plane_frame_stiffness(const MemberSection& s, double length, double* k) {
  zero(k, PLANE * PLANE);
  Symmetric m{k, PLANE};
  axial(m, 0, 3, s.young * s.area / length);
  bending(m, 1, 2, 4, 5, Bending(s.young * s.inertia_v, length), 1.0);
}

void space_frame_stiffness(const MemberSection& s, double length, double* k) {
  zero(k, SPACE * SPACE);
  Symmetric m{k, SPACE};
  axial(m, 0, 6, s.young * s.area / length);
  axial(m, 3, 9, s.shear_modulus * s.torsion / length);
  bending(m, 1, 5, 7, 11, Bending(s.young * s.inertia_v, length), 1.0);
  bending(m, 2, 4, 8, 10, Bending(s.young * s.inertia_w, length), -1.0);
}

// Removes variable r from the system (k, f) by static condensation: the variable's
// equation is solved for it and substituted into the others; its row, column and load
// become zero.
void condense(int n, double* k, double* f, int r) {
  const double pivot = k[r + n * r];
  for (int i = 0; i < n; ++i) {
    if (i == r) continue;
    const double factor = k[i + n * r] / pivot;
    f[i] -= factor * f[r];
    for (int j = 0; j < n; ++j)
      if (j != r) k[i + n * j] -= factor * k[r + n * j];
  }
  for (int i = 0; i < n; ++i) k[i + n * r] = k[r + n * i] = 0.0;
  f[r] = 0.0;
}

// Fixed-end forces of a fully held space member, node by node (u, v, w, rx, ry, rz).
void held_member_forces(double length, const MemberLoad& load, double* f) {
  zero(f, SPACE);
  const double L = length;
  const double* p = load.local;
  if (!load.point) {
    f[0] = f[6] = -p[0] * L / 2.0;
    f[1] = f[7] = -p[1] * L / 2.0;
    f[5] = -p[1] * L * L / 12.0;
    f[11] = p[1] * L * L / 12.0;
    f[2] = f[8] = -p[2] * L / 2.0;
    f[4] = p[2] * L * L / 12.0;
    f[10] = -p[2] * L * L / 12.0;
    return;
  }
  const double a = load.distance, b = L - a;
  const double L2 = L * L, L3 = L2 * L;
  f[0] = -p[0] * b / L;
  f[6] = -p[0] * a / L;
  const double first = b * b * (3.0 * a + b) / L3, second = a * a * (a + 3.0 * b) / L3;
  const double m1 = a * b * b / L2, m2 = a * a * b / L2;
  f[1] = -p[1] * first;
  f[7] = -p[1] * second;
  f[5] = -p[1] * m1;
  f[11] = p[1] * m2;
  f[2] = -p[2] * first;
  f[8] = -p[2] * second;
  f[4] = p[2] * m1;
  f[10] = -p[2] * m2;
}

}  // namespace

MemberModel member_model(int dimension, int subtype, int connection) {
  if (dimension == 3) return subtype == FRAME_TRUSS ? MemberModel::space_bar : MemberModel::space_frame;
  if (subtype == FRAME_TRUSS) return MemberModel::plane_bar;
  if (subtype == FRAME_COMBINED) {
    if (connection == CONNECTION_BAR) return MemberModel::plane_link;
    if (connection == CONNECTION_HINGED) return MemberModel::plane_hinged;
  }
  return MemberModel::plane_frame;
}

int member_node_dofs(MemberModel model) {
  switch (model) {
    case MemberModel::plane_bar: return 2;
    case MemberModel::space_frame: return 6;
    default: return 3;
  }
}

void local_member_stiffness(MemberModel model, const MemberSection& s, double length, double* k) {
  const int n = 2 * member_node_dofs(model);
  zero(k, n * n);
  Symmetric m{k, n};
  const double a = s.young * s.area / length;
  switch (model) {
    case MemberModel::plane_bar: axial(m, 0, 2, a); break;
    case MemberModel::space_bar: axial(m, 0, 3, a); break;
    case MemberModel::plane_link: axial(m, 0, 3, a); break;
    case MemberModel::plane_frame: plane_frame_stiffness(s, length, k); break;
    case MemberModel::plane_hinged: {
      axial(m, 0, 3, a);
      const double h1 = 0.75 * Bending(s.young * s.inertia_v, length).b4;  // 3EI/L
      const double h2 = h1 / length, h3 = h2 / length;
      m.set(1, 1, h3);
      m.set(1, 4, -h3);
      m.set(1, 5, h2);
      m.set(4, 4, h3);
      m.set(4, 5, -h2);
      m.set(5, 5, h1);
      break;
    }
    case MemberModel::space_frame: space_frame_stiffness(s, length, k); break;
  }
}

void member_transformation(MemberModel model, const double* axes, double* t) {
  const int nd = member_node_dofs(model);
  const int n = 2 * nd;
  zero(t, n * n);
  // Row i of a block is axis V(i+1): t(i, j) = component j of V(i+1).
  auto block = [&](int offset, int size) {
    for (int i = 0; i < size; ++i)
      for (int j = 0; j < size; ++j) t[(offset + i) + n * (offset + j)] = axes[j + 3 * i];
  };
  for (int node = 0; node < 2; ++node) {
    const int first = node * nd;
    switch (model) {
      case MemberModel::plane_bar: block(first, 2); break;
      case MemberModel::space_bar: block(first, 3); break;
      case MemberModel::space_frame:
        block(first, 3);
        block(first + 3, 3);
        break;
      default:  // plane members: the two displacements turn, the rotation does not
        block(first, 2);
        t[(first + 2) + n * (first + 2)] = 1.0;
        break;
    }
  }
}

void rotate_to_global(int n, const double* t, const double* k, double* K) {
  double kt[MAX_MEMBER_VARIABLES * MAX_MEMBER_VARIABLES];
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      double sum = 0.0;
      for (int m = 0; m < n; ++m) sum += k[i + n * m] * t[m + n * j];
      kt[i + n * j] = sum;
    }
  for (int j = 0; j < n; ++j)
    for (int i = 0; i <= j; ++i) {
      double sum = 0.0;
      for (int m = 0; m < n; ++m) sum += t[m + n * i] * kt[m + n * j];
      K[i + n * j] = K[j + n * i] = sum;
    }
}

void fixed_end_forces(MemberModel model, double length, const MemberLoad& load, double* forces) {
  double held[SPACE];
  held_member_forces(length, load, held);
  if (model == MemberModel::space_frame) {
    std::copy(held, held + SPACE, forces);
    return;
  }
  // Ends that carry no moment: condensed out of a member of unit section, whose
  // stiffness ratios are those of every member of the same length.
  const MemberSection unit{1.0, 1.0, 1.0, 1.0, 1.0, 1.0};
  double k[SPACE * SPACE];
  if (model == MemberModel::space_bar) {
    space_frame_stiffness(unit, length, k);
    for (int r : {4, 5, 10, 11}) condense(SPACE, k, held, r);  // no torque loads: twist stays
    for (int node = 0; node < 2; ++node)
      for (int i = 0; i < 3; ++i) forces[3 * node + i] = held[6 * node + i];
    return;
  }
  double plane[PLANE];
  for (int node = 0; node < 2; ++node) {
    plane[3 * node] = held[6 * node];
    plane[3 * node + 1] = held[6 * node + 1];
    plane[3 * node + 2] = held[6 * node + 5];
  }
  plane_frame_stiffness(unit, length, k);
  if (model == MemberModel::plane_hinged) condense(PLANE, k, plane, 2);
  if (model == MemberModel::plane_link || model == MemberModel::plane_bar) {
    condense(PLANE, k, plane, 2);
    condense(PLANE, k, plane, 5);
  }
  if (model == MemberModel::plane_bar) {
    for (int node = 0; node < 2; ++node)
      for (int i = 0; i < 2; ++i) forces[2 * node + i] = plane[3 * node + i];
    return;
  }
  std::copy(plane, plane + PLANE, forces);
}

}  // namespace vortan
