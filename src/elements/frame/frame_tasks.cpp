#include "elements/frame/frame_tasks.h"

#include <cmath>
#include <string>
#include <string_view>

#include "elements/frame/member_geometry.h"
#include "elements/task_support.h"
#include "input/property_layout.h"
#include "input/problem.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"

namespace vortan {

namespace {

using namespace props;

// The member data of the active set.
MemberSection section() {
  const bool space = ACTIVE.NDIME == 3;
  MemberSection s;
  s.young = property(FRAME_YOUNG);
  s.area = property(FRAME_AREA);
  s.inertia_v = property(FRAME_INERTIA_X);
  if (space) {
    s.inertia_w = property(FRAME_INERTIA_Y);
    s.torsion = property(FRAME_POLAR_INERTIA);
    s.shear_modulus = property(FRAME_SHEAR_MODULUS);
  }
  return s;
}

// A member of a space frame connected to a shell ("INDCONE=" not 0) lies off the
// shell's middle surface: each end is its node moved by d = (ESPVIGA + ESPLAM) n, n the
// shell's averaged unit normal at the node (GIROS, in the global axes; an end whose
// node no flat-shell element meets stays on it). Returns false when no end moves.
bool member_offsets(int element, double* offsets) {
  const ActiveSetRecord& a = ACTIVE;
  for (int i = 0; i < 6; ++i) offsets[i] = 0.0;
  const ElementSet& s = SETS(a.set);
  if (a.NDIME != 3 || s.nprops <= FRAME_SHELL_THICKNESS || property(FRAME_BEAM_CONNECTION) == 0.0) return false;
  if (frame_member_model(a.set) != MemberModel::space_frame) ERRSTP("ELETR3: VIGA EXCENTRICA SIN GIROS");
  if (PROBLEM.GIROS == 0) return false;
  const double distance = property(FRAME_BEAM_THICKNESS) + property(FRAME_SHELL_THICKNESS);
  const double* giros = WORK.reals(PROBLEM.GIROS);
  bool moved = false;
  for (int k = 0; k < 2; ++k) {
    const std::int32_t node = element_node(a.set, element, k + 1);
    if (node < 1 || node > PROBLEM.NPNODS) continue;
    for (int i = 0; i < 3; ++i) {
      offsets[3 * k + i] = distance * giros[(node - 1) + std::int64_t{i} * PROBLEM.NPNODS];
      moved = moved || offsets[3 * k + i] != 0.0;
    }
  }
  return moved;
}

// The member's length, axes and transformation t (local end variables = t nodal),
// its ends moved off their nodes when the set is connected to a shell: an end follows
// its node rigidly, u_end = u_node + theta x d, theta_end = theta_node, so each node's
// rotation columns of t gain the displacement columns times -[d]x (with [d]x v = d x v).
void member_frame(int element, MemberModel model, double& length, double* axes, double* t) {
  const ActiveSetRecord& a = ACTIVE;
  double offsets[6];
  if (!member_offsets(element, offsets)) {
    frame_member_axes(element, length, axes);
    member_transformation(model, axes, t);
    return;
  }
  double corel[9] = {};
  const double* gathered = a.reals(a.COREL);
  for (int i = 0; i < 3 * a.NNODE && i < 9; ++i) corel[i] = gathered[i];
  for (int i = 0; i < 6; ++i) corel[i] += offsets[i];
  const bool reference = a.NNODE == 3 && element_node(a.set, element, 3) != 0;
  RIGVIG(a.NDIME, corel, length, element_number(element), reference ? AXES_FROM_REFERENCE : AXES_FROM_MEMBER, axes);
  member_transformation(model, axes, t);
  const int n = 12;
  for (int k = 0; k < 2; ++k) {
    const double* d = offsets + 3 * k;
    const double cross[9] = {0.0, d[2], -d[1], -d[2], 0.0, d[0], d[1], -d[0], 0.0};  // [d]x, column by column
    for (int j = 0; j < 3; ++j)
      for (int r = 0; r < n; ++r) {
        double sum = 0.0;
        for (int i = 0; i < 3; ++i) sum -= t[r + n * (6 * k + i)] * cross[i + 3 * j];
        t[r + n * (6 * k + 3 + j)] += sum;
      }
  }
}

// One member of the active set: its model, matrices in local axes and transformation.
struct Member {
  MemberModel model;
  int n = 0;  // variables (NEVAB)
  double length = 0.0;
  double axes[9] = {};
  double k[MAX_MEMBER_VARIABLES * MAX_MEMBER_VARIABLES];
  double t[MAX_MEMBER_VARIABLES * MAX_MEMBER_VARIABLES];
};

// A node on an inclined support keeps its displacement pair in the support's axes:
// the columns of the pair in t become (c Cx + s Cy, c Cy - s Cx), as the continuum's
// strain matrices do, so that k t u still gives the member's local displacements.
void turn_inclined_supports(Member& m) {
  const ActiveSetRecord& a = ACTIVE;
  if (a.NDIME != 2) return;
  const std::int32_t* flags = a.ints(a.APOYO);
  const double* angles = a.reals(a.APANG);
  const int nd = member_node_dofs(m.model);
  for (int node = 0; node < 2; ++node) {
    if (flags[node] != 1) continue;
    const double c = std::cos(angles[node]), s = std::sin(angles[node]);
    double* cx = m.t + m.n * (nd * node);
    double* cy = cx + m.n;
    for (int i = 0; i < m.n; ++i) {
      const double x = cx[i], y = cy[i];
      cx[i] = c * x + s * y;
      cy[i] = c * y - s * x;
    }
  }
}

void prepare_member(int element, Member& m) {
  m.model = frame_member_model(ACTIVE.set);
  m.n = 2 * member_node_dofs(m.model);
  member_frame(element, m.model, m.length, m.axes, m.t);
  local_member_stiffness(m.model, section(), m.length, m.k);
  turn_inclined_supports(m);
}

// y = A x for an n x n matrix A stored column by column.
void multiply(int n, const double* A, const double* x, double* y) {
  for (int i = 0; i < n; ++i) {
    double sum = 0.0;
    for (int j = 0; j < n; ++j) sum += A[i + n * j] * x[j];
    y[i] = sum;
  }
}

// ---- The member force table -------------------------------------------------------

constexpr int VALUE_WIDTH = 14;

// Column titles of the end forces of a model, in its local order.
int force_titles(MemberModel model, const std::string_view*& titles) {
  static constexpr std::string_view PLANE_BAR[] = {"AXIL", "CORTANTE"};
  static constexpr std::string_view PLANE_FRAME[] = {"AXIL", "CORTANTE", "MOMENTO"};
  static constexpr std::string_view SPACE_BAR[] = {"AXIL", "CORTANTE-Y", "CORTANTE-Z"};
  static constexpr std::string_view SPACE_FRAME[] = {"AXIL",   "CORTANTE-Y", "CORTANTE-Z",
                                                     "TORSOR", "MOMENTO-Y",  "MOMENTO-Z"};
  switch (model) {
    case MemberModel::plane_bar: titles = PLANE_BAR; return 2;
    case MemberModel::space_bar: titles = SPACE_BAR; return 3;
    case MemberModel::space_frame: titles = SPACE_FRAME; return 6;
    default: titles = PLANE_FRAME; return 3;
  }
}

void write_member_heading(int set) {
  const std::string_view* titles = nullptr;
  const int count = force_titles(frame_member_model(set), titles);
  std::string line = " ELEMENTO    NODO";
  for (int i = 0; i < count; ++i) line += fmt::A(titles[i], VALUE_WIDTH);
  write_record(UNIT_LISTING, line);
}

// Two lines per member, one per end: the element number on the first, the node and
// the end forces in local axes.
void write_member_lines(int element) {
  const ActiveSetRecord& a = ACTIVE;
  const int nd = member_node_dofs(frame_member_model(a.set));
  const double* forces = a.reals(a.TENSG);
  for (int node = 0; node < 2; ++node) {
    std::string line = node == 0 ? fmt::I(element_number(element), 9) : fmt::X(9);
    line += fmt::I(element_node(a.set, element, node + 1), 8);
    for (int i = 0; i < nd; ++i) line += fmt::E(forces[nd * node + i], VALUE_WIDTH, 6);
    write_record(UNIT_LISTING, line);
  }
}

}  // namespace

MemberModel frame_member_model(int set) {
  const ElementSet& s = SETS(set);
  int connection = CONNECTION_RIGID;
  if (s.nprops > FRAME_MEMBER_CONNECTION && s.dimension == 2) {
    const double code = WORK.reals(s.PROPS)[FRAME_MEMBER_CONNECTION];
    if (code != 0.0) connection = static_cast<int>(code);
  }
  return member_model(s.dimension, s.beam_subtype, connection);
}

double& member_fixed_end_force(int set, int element, int i) {
  const ElementSet& s = SETS(set);
  const std::int64_t rows = std::int64_t{s.NELEM} * s.NEVAB();
  return WORK.reals(s.CARGA)[rows + (element - 1) + std::int64_t{i} * s.NELEM];
}

void frame_member_axes(int element, double& length, double* axes) {
  const ActiveSetRecord& a = ACTIVE;
  // Space grids and frames take their axes from the reference node when the member
  // has one (node 0 on the element card: none).
  const bool reference =
      a.NDIME == 3 && a.NNODE == 3 && element_node(a.set, element, 3) != 0;
  RIGVIG(a.NDIME, a.reals(a.COREL), length, element_number(element),
         reference ? AXES_FROM_REFERENCE : AXES_FROM_MEMBER, axes);
}

int member_load_vectors(int element, const MemberLoad& load, double* fixed_end, double* equivalent) {
  const MemberModel model = frame_member_model(ACTIVE.set);
  const int n = 2 * member_node_dofs(model);
  double length = 0.0, axes[9], t[MAX_MEMBER_VARIABLES * MAX_MEMBER_VARIABLES];
  member_frame(element, model, length, axes, t);
  fixed_end_forces(model, length, load, fixed_end);
  for (int j = 0; j < n; ++j) {
    double sum = 0.0;
    for (int i = 0; i < n; ++i) sum += t[i + n * j] * fixed_end[i];
    equivalent[j] = -sum;
  }
  return n;
}

void frame_stiffness(int element, const TaskCodes& codes) {
  double* rigid = ACTIVE.reals(ACTIVE.RIGID);
  fetch_or_compute(element, KIND_K, codes, rigid, [&] {
    Member m;
    prepare_member(element, m);
    rotate_to_global(m.n, m.t, m.k, rigid);
  });
}

void frame_member_forces(int element, const TaskCodes& codes) {
  const ActiveSetRecord& a = ACTIVE;
  double* forces = a.reals(a.TENSG);
  fetch_or_compute(element, KIND_STRESS, codes, forces, [&] {
    Member m;
    prepare_member(element, m);
    double local[MAX_MEMBER_VARIABLES];
    multiply(m.n, m.t, a.reals(a.DESLO), local);
    multiply(m.n, m.k, local, forces);
    if (SETS(a.set).CARGA != 0)
      for (int i = 0; i < m.n; ++i) forces[i] += member_fixed_end_force(a.set, element, i);
    for (int i = m.n; i < a.NGAUS * a.NSTR1; ++i) forces[i] = 0.0;
  });
}

void frame_internal_forces(int element, const TaskCodes& codes) {
  const ActiveSetRecord& a = ACTIVE;
  double* f = a.reals(a.FUERZ);
  fetch_or_compute(element, KIND_FORCES, codes, f, [&] {
    frame_stiffness(element, codes);
    multiply(a.NEVAB, a.reals(a.RIGID), a.reals(a.DESLO), f);
  });
}

const TaskTable FRAME_TASKS = {
    nullptr,                // constitutive matrix: the member constants are in the stiffness
    nullptr,                // strain matrices
    nullptr,                // D B products
    frame_stiffness,        // stiffness
    frame_member_forces,    // member end forces in local axes
    frame_internal_forces,  // end forces in global axes
    nullptr,                // self weight: a member load (member_loads.h)
    nullptr,                // smoothing: members are not smoothed
    nullptr,                // error estimate: not for members
    nullptr,                // mass
};

const OwnStressTable FRAME_STRESS_TABLE = {write_member_heading, write_member_lines};

}  // namespace vortan
