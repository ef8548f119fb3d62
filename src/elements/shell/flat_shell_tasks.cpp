#include "elements/shell/flat_shell_tasks.h"

#include <cmath>
#include <cstdint>

#include "elements/local_axes.h"
#include "elements/plate/plate_element.h"
#include "elements/plate/plate_tasks.h"
#include "elements/recovery_tasks.h"
#include "elements/task_support.h"
#include "elements/vector_helpers.h"
#include "input/problem.h"
#include "run/errstp.h"

namespace vortan {

namespace {

constexpr int SHELL_UNKNOWNS = 6;

void require_linear() {
  if (ACTIVE.nonlinear) ERRSTP("ELETR3: ELEMENTO NO LINEAL NO DISPONIBLE");
}

// The shell elements: DKT, TLCL and CLLL.
void require_shell_element() {
  if (!is_plate_element(ACTIVE.element_type)) ERRSTP("ELETR3: ELEMENTO DE PLACA NO DISPONIBLE");
}

NodalSystems nodal_systems() {
  NodalSystems systems;
  if (PROBLEM.shell_flags != 0) {
    systems.has_system = WORK.ints(PROBLEM.shell_flags);
    systems.angles = WORK.reals(PROBLEM.shell_vectors);
  }
  systems.nodes = PROBLEM.NPNODS;
  return systems;
}

// The element in its own axes: the axes, the nodes' x, y in COOR2 and, when T is
// given, the transformation T (NEVAB x NEVAB) with local = T^T nodal.
struct LocalFrame {
  double axes[9];
};

// The TLCL's mid-side node holds its plate unknown (the slope along the side) in the
// place of the first slope; it is the component of the node's rotation vector about
// the side's in-plane normal, so its column of T is that axis in the node's axes.
void midside_columns(const double* corel, const int* nodes, const double* axes, int nevab, double* T) {
  const NodalSystems systems = nodal_systems();
  for (int k = 0; k < 3; ++k) {
    double m[3];
    midside_rotation_axis(corel, nodes, axes, k, m);
    const int node = 3 + k;
    to_nodal_axes(systems, nodes[node], m);
    const int first = SHELL_UNKNOWNS * node + 3;
    for (int j = first; j < first + 3; ++j)
      for (int i = 0; i < nevab; ++i) T[i + nevab * j] = 0.0;
    for (int i = 0; i < 3; ++i) T[(first + i) + nevab * first] = m[i];
  }
}

// A node on an inclined support has its unknowns in the support's axes, turned by the
// support's angle about the third axis: the rows of its displacements and of its
// rotations about x and y in T become (c X + s Y, c Y - s X).
void turn_support_rows(int nnode, int nevab, double* T) {
  const ActiveSetRecord& a = ACTIVE;
  const std::int32_t* flags = a.ints(a.APOYO);
  const double* angles = a.reals(a.APANG);
  for (int k = 0; k < nnode; ++k) {
    if (flags[k] != 1) continue;
    const double c = std::cos(angles[k]), s = std::sin(angles[k]);
    for (int first : {SHELL_UNKNOWNS * k, SHELL_UNKNOWNS * k + 3})
      for (int j = 0; j < nevab; ++j) {
        double& x = T[first + nevab * j];
        double& y = T[first + 1 + nevab * j];
        const double tx = x, ty = y;
        x = c * tx + s * ty;
        y = c * ty - s * tx;
      }
  }
}

LocalFrame prepare_local(int element, double* T) {
  require_shell_element();
  const ActiveSetRecord& a = ACTIVE;
  LocalFrame frame;
  const int nnode = a.element_type == ELEM_TLCL ? 6 : plate_corners(a.element_type);
  double corel[3 * 6], global[3 * 6];
  int nodes[6];
  const double* stored = a.reals(a.COREL);
  for (int k = 0; k < nnode; ++k) {
    nodes[k] = element_node(a.set, element, k + 1);
    for (int i = 0; i < 3; ++i) corel[3 * k + i] = global[3 * k + i] = stored[3 * k + i];
  }
  flat_element_axes(nnode, corel, frame.axes);
  constexpr int MOST = SHELL_UNKNOWNS * 6;
  double scratch[MOST * MOST];
  double* t = T != nullptr ? T : scratch;
  local_transformation(nnode, nodes, SHELL_UNKNOWNS, frame.axes, nodal_systems(), BLOCK_SWAP_NEGATE, corel, t);
  if (a.element_type == ELEM_TLCL) midside_columns(global, nodes, frame.axes, SHELL_UNKNOWNS * nnode, t);
  turn_support_rows(nnode, SHELL_UNKNOWNS * nnode, t);
  double* coor2 = a.reals(a.COOR2);
  for (int k = 0; k < nnode; ++k) coor2[2 * k] = corel[3 * k], coor2[2 * k + 1] = corel[3 * k + 1];
  return frame;
}

double shell_point_volume(int element, int g) {
  prepare_local(element, nullptr);
  return plate_point_geometry(element, g, ACTIVE.reals(ACTIVE.COOR2), ACTIVE.reals(ACTIVE.CORP2));
}

// Membrane rows (ex = du/dx, ey = dv/dy, gxy = du/dy + dv/dx) at the current point:
// the corner functions of DKT and CLLL; for TLCL the six-node quadratic triangle on
// its corners and mid-side nodes, written with the linear corner functions L (FFORM)
// and their derivatives (DCART): corners L_i (2 L_i - 1), mid-side node of side i-j
// 4 L_i L_j.
void add_membrane_rows(double* b) {
  const ActiveSetRecord& a = ACTIVE;
  const double* dcart = a.reals(a.DCART);
  double nx[6], ny[6];
  int nodes = plate_corners(a.element_type);
  for (int k = 0; k < nodes; ++k) nx[k] = dcart[2 * k], ny[k] = dcart[2 * k + 1];
  if (a.element_type == ELEM_TLCL) {
    const double* L = a.reals(a.FFORM);
    const double dx[3] = {nx[0], nx[1], nx[2]}, dy[3] = {ny[0], ny[1], ny[2]};
    for (int k = 0; k < 3; ++k) {
      const int j = (k + 1) % 3;
      nx[k] = (4.0 * L[k] - 1.0) * dx[k];
      ny[k] = (4.0 * L[k] - 1.0) * dy[k];
      nx[3 + k] = 4.0 * (L[k] * dx[j] + L[j] * dx[k]);
      ny[3 + k] = 4.0 * (L[k] * dy[j] + L[j] * dy[k]);
    }
    nodes = 6;
  }
  for (int k = 0; k < nodes; ++k) {
    const int u = SHELL_UNKNOWNS * k, v = u + 1;
    b[0 + a.NSTRE * u] = nx[k];
    b[1 + a.NSTRE * v] = ny[k];
    b[2 + a.NSTRE * u] = ny[k];
    b[2 + a.NSTRE * v] = nx[k];
  }
}

// The global coordinates of the current point g (1-based) in CORPG, as the input gave
// them (the model's shift taken back).
void global_point(int g) {
  const ActiveSetRecord& a = ACTIVE;
  const int corners = plate_corners(a.element_type);
  const double* fform = a.reals(a.FFORM);
  const double* global = a.reals(a.COREL);
  double* x = a.reals(a.CORPG) + 3 * (g - 1);
  for (int i = 0; i < 3; ++i) {
    x[i] = -PROBLEM.shell_shift[i];  // the negated minimum
    for (int k = 0; k < corners; ++k) x[i] += fform[k] * global[3 * k + i];
  }
}

// BMATZ in the element's axes, then carried to the nodal unknowns: B T^T.
void compute_strain_matrices(int element) {
  const ActiveSetRecord& a = ACTIVE;
  const int n = a.NEVAB, s = a.NSTRE;
  double* T = WORK.reals(PROBLEM.shell.GIROT);
  prepare_local(element, T);
  const PlateRows rows{s, 3, s == 8 ? 6 : -1, SHELL_UNKNOWNS, 2};
  double* b = a.reals(a.BMATZ);
  plate_strain_rows(element, a.reals(a.COOR2), rows, b, a.reals(a.CORP2));
  double* local = WORK.reals(PROBLEM.shell.BMATG);
  for (int g = 1; g <= a.NGAUS; ++g) {
    plate_point_geometry(element, g, a.reals(a.COOR2), a.reals(a.CORP2));
    global_point(g);
    double* bg = b + s * n * (g - 1);
    add_membrane_rows(bg);
    for (int i = 0; i < s * n; ++i) local[i] = bg[i];
    for (int c = 0; c < n; ++c)
      for (int r = 0; r < s; ++r) {
        double sum = 0.0;
        for (int j = 0; j < n; ++j) sum += local[r + s * j] * T[c + n * j];
        bg[r + s * c] = sum;
      }
  }
}

// The point geometry and global point coordinates of a fetched record.
void refresh_points(int element) {
  const ActiveSetRecord& a = ACTIVE;
  prepare_local(element, nullptr);
  for (int g = 1; g <= a.NGAUS; ++g) {
    plate_point_geometry(element, g, a.reals(a.COOR2), a.reals(a.CORP2));
    global_point(g);
  }
}

void shell_constitutive_matrix(int element, const TaskCodes& codes) {
  double* d = ACTIVE.reals(ACTIVE.DMATZ);
  fetch_or_compute(element, KIND_D, codes, d, [&] { plate_resultant_matrix(d); });
}

void shell_strain_matrices(int element, const TaskCodes& codes) {
  require_linear();
  const bool fetched =
      fetch_or_compute(element, KIND_B, codes, ACTIVE.reals(ACTIVE.BMATZ), [&] { compute_strain_matrices(element); });
  if (fetched) refresh_points(element);
}

void shell_stresses(int element, const TaskCodes& codes);
const RecordChain SHELL_CHAIN{shell_constitutive_matrix, shell_strain_matrices, shell_stresses};

void shell_stress_strain_products(int element, const TaskCodes& codes) {
  chained_stress_strain_products(element, codes, SHELL_CHAIN);
}

void shell_stiffness(int element, const TaskCodes& codes) { chained_stiffness(element, codes, SHELL_CHAIN); }

void shell_stresses(int element, const TaskCodes& codes) { chained_stresses(element, codes, SHELL_CHAIN); }

void shell_internal_forces(int element, const TaskCodes& codes) {
  chained_internal_forces(element, codes, SHELL_CHAIN);
}

// Forces of a load per unit area along a global direction on the corners.
void directed_forces(int element, double p, const double* direction, double* forces) {
  const ActiveSetRecord& a = ACTIVE;
  const int corners = plate_corners(a.element_type);
  double amounts[4];
  plate_pressure_forces(element, a.reals(a.COOR2), p, amounts);
  const NodalSystems systems = nodal_systems();
  for (int k = 0; k < corners; ++k) {
    double* f = forces + 3 * k;
    for (int i = 0; i < 3; ++i) f[i] = amounts[k] * direction[i];
    to_nodal_axes(systems, element_node(a.set, element, k + 1), f);
  }
}

// The weight acts downward (along -z of the model), whatever the element's slope.
void shell_self_weight(int element, const TaskCodes& codes) {
  const ActiveSetRecord& a = ACTIVE;
  double* p = a.reals(a.PESOP);
  fetch_or_compute(element, KIND_WEIGHT, codes, p, [&] {
    for (int i = 0; i < a.NEVAB; ++i) p[i] = 0.0;
    const double w = plate_weight_per_area();
    if (w == 0.0) return;
    prepare_local(element, nullptr);
    const double down[3] = {0.0, 0.0, -1.0};
    double forces[12];
    directed_forces(element, w, down, forces);
    for (int k = 0; k < plate_corners(a.element_type); ++k)
      for (int i = 0; i < 3; ++i) p[SHELL_UNKNOWNS * k + i] = forces[3 * k + i];
  });
}

// Lumped mass: the corners' shares of the area times t for each displacement and
// t^3/12 for each rotation (times the density).
void shell_mass(int element, const TaskCodes& codes) {
  const ActiveSetRecord& a = ACTIVE;
  double* m = a.reals(a.XMASA);
  fetch_or_compute(element, KIND_MASS, codes, m, [&] {
    const int n = a.NEVAB;
    for (int i = 0; i < n * n; ++i) m[i] = 0.0;
    prepare_local(element, nullptr);
    const int corners = plate_corners(a.element_type);
    double squares[4] = {}, area = 0.0;
    for (int g = 1; g <= a.NGAUS; ++g) {
      const double dv = plate_point_geometry(element, g, a.reals(a.COOR2), a.reals(a.CORP2));
      const double* fform = a.reals(a.FFORM);
      area += dv;
      for (int k = 0; k < corners; ++k) squares[k] += dv * fform[k] * fform[k];
    }
    double sum = 0.0;
    for (int k = 0; k < corners; ++k) sum += squares[k];
    double translation, rotation;
    plate_mass_factors(translation, rotation);
    for (int k = 0; k < corners; ++k)
      for (int j = 0; j < SHELL_UNKNOWNS; ++j) {
        const int d = SHELL_UNKNOWNS * k + j;
        m[d + n * d] = area * squares[k] / sum * (j < 3 ? translation : rotation);
      }
    // The TLCL's membrane is the six-node triangle: its displacements share the mass
    // in proportion to the integrals of the squares of its functions (A/30 at each
    // corner, 8A/45 at each mid-side node: 1/19 and 16/57 of the whole); the mid-side
    // rotations, increments over the corners' mean, carry none.
    if (a.element_type == ELEM_TLCL)
      for (int k = 0; k < 6; ++k)
        for (int j = 0; j < 3; ++j) {
          const int d = SHELL_UNKNOWNS * k + j;
          m[d + n * d] = area * translation * (k < 3 ? 1.0 / 19.0 : 16.0 / 57.0);
        }
    ELEMENT_TOTALS.structure_mass += area * translation;
  });
}

const RecoveryRoutines SHELL_RECOVERY{shell_stresses, shell_constitutive_matrix, shell_point_volume};

// The face stresses of a homogeneous section at one point, from its resultants:
// top (z = t/2) N/t - 6 M/t^2, bottom N/t + 6 M/t^2 (a positive moment stretches the
// bottom face), each followed by its von Mises stress.
void face_stresses(const double* resultants, double t, double* faces) {
  for (int face = 0; face < 2; ++face) {
    const double sign = face == 0 ? -1.0 : 1.0;
    double* f = faces + 4 * face;
    for (int i = 0; i < 3; ++i) f[i] = resultants[i] / t + sign * 6.0 * resultants[3 + i] / (t * t);
    f[3] = std::sqrt(f[0] * f[0] + f[1] * f[1] - f[0] * f[1] + 3.0 * f[2] * f[2]);
  }
}

// The first field's integrals (the resultants), then the right-hand sides of the
// second (the face stresses) with the same lumped functions.
void shell_smoothing(int element, const TaskCodes& codes) {
  smoothing_integrals(element, codes, SHELL_RECOVERY);
  const ActiveSetRecord& a = ACTIVE;
  const int n = smoothing_nodes(a.element_type);
  double* r = WORK.reals(PROBLEM.shell.TEMP1);
  for (int i = 0; i < FACE_STRESS_COMPONENTS * n; ++i) r[i] = 0.0;
  const double t = plate_thickness();
  const double* stresses = a.reals(a.TENSG);
  for (int g = 0; g < a.NGAUS; ++g) {
    const double dv = shell_point_volume(element, g + 1);
    const double* f = a.reals(a.FFORM);
    double faces[FACE_STRESS_COMPONENTS];
    face_stresses(stresses + a.NSTR1 * g, t, faces);
    for (int j = 0; j < n; ++j)
      for (int c = 0; c < FACE_STRESS_COMPONENTS; ++c) r[c + FACE_STRESS_COMPONENTS * j] += f[j] * faces[c] * dv;
  }
}

void shell_error_estimate(int element, const TaskCodes& codes) { error_integrals(element, codes, SHELL_RECOVERY); }

}  // namespace

const double* flat_shell_face_integrals() { return WORK.reals(PROBLEM.shell.TEMP1); }

void flat_shell_pressure_forces(int element, double p, double* forces) {
  const LocalFrame frame = prepare_local(element, nullptr);
  directed_forces(element, p, frame.axes + 6, forces);
}

const TaskTable FLAT_SHELL_TASKS = {
    shell_constitutive_matrix,     // resultant stiffness
    shell_strain_matrices,         // membrane, curvature and shear matrices
    shell_stress_strain_products,  // D B products
    shell_stiffness,               // stiffness
    shell_stresses,                // resultants at the points
    shell_internal_forces,         // internal forces
    shell_self_weight,             // self weight
    shell_smoothing,               // smoothing integrals
    shell_error_estimate,          // error and reference measures
    shell_mass,                    // lumped mass
};

}  // namespace vortan
