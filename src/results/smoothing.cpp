#include "results/smoothing.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "elements/element_pass.h"
#include "elements/recovery_tasks.h"
#include "elements/shell/flat_shell_tasks.h"
#include "elements/vector_helpers.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "results/smoothing_record.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"

namespace vortan {

namespace {

// Single-precision constants widened to double: the smallest pivot and diagonal of a
// smoothing matrix, and the smallest lumped weight.
constexpr double SMALLEST_PIVOT = 1.000000023742228e-32;
constexpr double SMALLEST_WEIGHT = 1.000000013351432e-10;
// A corner value counts towards a node's average only above this magnitude; a set
// value enters the model-wide average only above the second.
constexpr double CORNER_THRESHOLD = 1.0e-6;
constexpr double MODEL_THRESHOLD = 1.0e-30;

// The nodal sums of one set: lumped weights (SMOTI) and corner counts (NCONT), and the
// model-wide counts (NAUXI), NPNODS x g each.
struct NodalSums {
  double* weights;
  std::int32_t* counts;
  std::int32_t* model_counts;
};

// The second field of flat shells: a set's sums (TENCO) and lumped weights (SMOTP),
// and the model-wide counts (NCONP); null without flat-shell sets.
struct FaceSums {
  double* sums = nullptr;
  double* weights = nullptr;
  std::int32_t* model_counts = nullptr;
};

constexpr int FACES = FACE_STRESS_COMPONENTS;

double& face_value(int node, int c) { return WORK.reals(SMOOTHING.TENSP)[c + FACES * std::int64_t{node - 1}]; }

std::int64_t nodal_index(int node, int c) { return c + std::int64_t{SMOOTHING.components} * (node - 1); }

bool smoothed(int set) { return SETS(set).family != ElementFamily::frame; }

// Heading of the nodal stress tables of a set: by its problem type for the structural
// families, by its dimension for the heat fluxes of conduction; empty when it has none.
std::string nodal_heading(const ElementSet& s) {
  using fmt::X;
  if (s.family == ElementFamily::conduction) {
    const std::string columns[3] = {X(7) + "X-TENS.", X(9) + "Y-TENS.", X(9) + "Z-TENS."};
    std::string heading = " NODO";
    for (int i = 0; i < s.dimension && i < 3; ++i) heading += columns[i];
    return heading;
  }
  if (s.family != ElementFamily::continuum && s.family != ElementFamily::plate &&
      s.family != ElementFamily::shell_of_revolution)
    return "";
  switch (s.problem_type) {
    case PLANE_STRESS:
    case PLANE_STRAIN:
      return " NODO" + X(7) + "X-TENS." + X(9) + "Y-TENS." + X(8) + "XY-TENS." + X(9) + "Z-TENS.";
    case AXISYMMETRIC:
      return " NODO" + X(7) + "R-TENS." + X(7) + "Z-TENS." + X(8) + "RT-TENS." + X(9) + "T-TENS.";
    case SOLID:
      return " NODO" + X(7) + "X-TENS." + X(9) + "Y-TENS." + X(9) + "Z-TENS." + X(8) + "XY-TENS." +
             X(8) + "XZ-TENS." + X(8) + "YZ-TENS.";
    case PLATE:
      return " NODO" + X(7) + "X-MOME." + X(9) + "Y-MOME." + X(8) + "XY-MOME." + X(8) + "XZ-CORTE" +
             X(8) + "YZ-CORTE";
    case SHELL_OF_REVOLUTION:
      return " NODO" + X(7) + "X-AXIL" + X(10) + "T-AXIL" + X(9) + "X-MOME." + X(9) + "T-MOME." +
             X(9) + "Z-CORTE";
    default:
      return "";
  }
}

// The table of one slice: a title line, the heading, then every node of the model with
// its components, eight to a line.
void write_nodal_table(const std::string& title, const ElementSet& heading_set, int slice, int ncomp) {
  write_empty(UNIT_LISTING, 5);
  write_record(UNIT_LISTING, fmt::X(10) + title);
  write_empty(UNIT_LISTING);
  const std::string heading = nodal_heading(heading_set);
  if (!heading.empty()) write_record(UNIT_LISTING, heading);
  for (int node = 1; node <= PROBLEM.NPNODS; ++node) {
    std::string line = fmt::I(node, 5);
    for (int c = 0; c < ncomp; ++c) {
      if (c > 0 && c % 8 == 0) {
        write_record(UNIT_LISTING, line);
        line = fmt::X(5);
      }
      line += fmt::X(1) + fmt::E(*smoothed_value(slice, node, c), 15, 8);
    }
    write_record(UNIT_LISTING, line);
  }
}

// Corner mode: the element's corner values from its smoothing matrix and right-hand
// sides, added to the nodes they are large enough for.
void add_corner_values(int set, int element, int ncomp, const NodalSums& sums) {
  const ActiveSetRecord& a = ACTIVE;
  const int n = smoothing_nodes(a.element_type);
  double inverse[MAX_ELEMENT_NODES * MAX_ELEMENT_NODES];
  std::copy(a.reals(a.RIGID), a.reals(a.RIGID) + n * n, inverse);
  PCJENS(inverse, n);
  const double* r = a.reals(a.TENS1);
  for (int i = 0; i < n; ++i) {
    const std::int32_t node = element_node(set, element, 2 * i + 1);  // corners: odd positions
    for (int c = 0; c < ncomp; ++c) {
      double value = 0.0;
      for (int j = 0; j < n; ++j) value += inverse[i + n * j] * r[c + a.NSTR1 * j];
      if (std::fabs(value) <= CORNER_THRESHOLD) continue;
      *smoothed_value(set, node, c) += value;
      ++sums.counts[nodal_index(node, c)];
    }
  }
}

// Lumped mode: the smoothing matrix lumped by rows; right-hand sides and lumped
// diagonals added to the element's nodes.
void add_lumped_values(int set, int element, int ncomp, const NodalSums& sums) {
  const ActiveSetRecord& a = ACTIVE;
  const int n = smoothing_nodes(a.element_type);
  const double* m = a.reals(a.RIGID);
  const double* r = a.reals(a.TENS1);
  for (int i = 0; i < n; ++i) {
    double diagonal = 0.0;
    for (int j = 0; j < n; ++j) diagonal += m[i + n * j];
    const std::int32_t node = element_node(set, element, i + 1);
    for (int c = 0; c < ncomp; ++c) {
      *smoothed_value(set, node, c) += r[c + a.NSTR1 * i];
      sums.weights[nodal_index(node, c)] += diagonal;
    }
  }
}

// The set's averages, then (corner mode) the mid-side and centre nodes interpolated
// element by element from the corners.
void finish_set(int set, int ncomp, bool corner_mode, const NodalSums& sums) {
  for (int node = 1; node <= PROBLEM.NPNODS; ++node)
    for (int c = 0; c < ncomp; ++c) {
      double& value = *smoothed_value(set, node, c);
      const std::int64_t k = nodal_index(node, c);
      if (corner_mode) value = sums.counts[k] > 0 ? value / sums.counts[k] : 0.0;
      else value = std::fabs(sums.weights[k]) > SMALLEST_WEIGHT ? value / sums.weights[k] : 0.0;
    }
  if (!corner_mode) return;
  const ElementSet& s = SETS(set);
  const int corners = smoothing_nodes(s.element_type);
  for (int e = 1; e <= s.NELEM; ++e)
    for (int c = 0; c < ncomp; ++c) {
      double centre = 0.0;
      for (int k = 0; k < corners; ++k) {
        const double before = *smoothed_value(set, element_node(set, e, 2 * k + 1), c);
        const int next = k + 1 < corners ? 2 * k + 3 : 1;
        const double after = *smoothed_value(set, element_node(set, e, next), c);
        *smoothed_value(set, element_node(set, e, 2 * k + 2), c) = 0.5 * (before + after);
        centre += before;
      }
      if (s.NNODE == 2 * corners + 1) *smoothed_value(set, element_node(set, e, s.NNODE), c) = 0.25 * centre;
    }
}

// The face stresses of a flat-shell element, lumped like its first field.
void add_face_values(int set, int element, const FaceSums& faces) {
  const ActiveSetRecord& a = ACTIVE;
  const int n = smoothing_nodes(a.element_type);
  const double* m = a.reals(a.RIGID);
  const double* r = flat_shell_face_integrals();
  for (int i = 0; i < n; ++i) {
    double diagonal = 0.0;
    for (int j = 0; j < n; ++j) diagonal += m[i + n * j];
    const std::int32_t node = element_node(set, element, i + 1);
    faces.weights[node - 1] += diagonal;
    for (int c = 0; c < FACES; ++c) faces.sums[c + FACES * std::int64_t{node - 1}] += r[c + FACES * i];
  }
}

// The set's face stresses, added to the model's values that are not 0.
void finish_face_set(const FaceSums& faces) {
  for (int node = 1; node <= PROBLEM.NPNODS; ++node) {
    const double weight = faces.weights[node - 1];
    for (int c = 0; c < FACES; ++c) {
      const std::int64_t k = c + FACES * std::int64_t{node - 1};
      const double value = std::fabs(weight) > SMALLEST_WEIGHT ? faces.sums[k] / weight : 0.0;
      if (std::fabs(value) <= MODEL_THRESHOLD) continue;
      face_value(node, c) += value;
      ++faces.model_counts[k];
    }
  }
}

// The second field's table: the face stresses of every node, in the element axes.
void write_face_table() {
  write_empty(UNIT_LISTING, 5);
  write_record(UNIT_LISTING, fmt::X(10) + "TENSIONES ALISADAS NODALES EN LAS CARAS DE LA LAMINA:");
  write_empty(UNIT_LISTING);
  static constexpr const char* TITLES[FACES] = {"X-SUPERIOR", "Y-SUPERIOR", "XY-SUPERIOR", "VM-SUPERIOR",
                                                "X-INFERIOR", "Y-INFERIOR", "XY-INFERIOR", "VM-INFERIOR"};
  std::string heading = " NODO";
  for (const char* title : TITLES) heading += fmt::X(16 - static_cast<int>(std::string(title).size())) + title;
  write_record(UNIT_LISTING, heading);
  for (int node = 1; node <= PROBLEM.NPNODS; ++node) {
    std::string line = fmt::I(node, 5);
    for (int c = 0; c < FACES; ++c) line += fmt::X(1) + fmt::E(face_value(node, c), 15, 8);
    write_record(UNIT_LISTING, line);
  }
}

void smooth_set(int set, const double* displacements, const NodalSums& sums, const FaceSums& faces) {
  const std::int64_t values = std::int64_t{PROBLEM.NPNODS} * SMOOTHING.components;
  ZEROR(values, sums.weights);
  ZEROI(values, sums.counts);
  const int ncomp = smoothed_components(set);
  const bool corner_mode = corner_element_type(SETS(set).element_type) != 0;
  const bool shell = SETS(set).family == ElementFamily::flat_shell && faces.sums != nullptr;
  if (shell) {
    ZEROR(FACES * std::int64_t{PROBLEM.NPNODS}, faces.sums);
    ZEROR(PROBLEM.NPNODS, faces.weights);
  }
  run_set_pass(
      set, ElementTask::smoothing, [&](int e) { gather_element(e, displacements); },
      [&](int e) {
        if (corner_mode) add_corner_values(set, e, ncomp, sums);
        else add_lumped_values(set, e, ncomp, sums);
        if (shell) add_face_values(set, e, faces);
      });
  finish_set(set, ncomp, corner_mode, sums);
  if (shell) finish_face_set(faces);
  if (SETS(set).print[SET_PRINT_STRESSES] == 1)
    write_nodal_table("TENSIONES ALISADAS NODALES EN SET NUMERO:" + fmt::I(set, 5), SETS(set), set, ncomp);
  const int model = PROBLEM.NSETS + 1;
  for (int node = 1; node <= PROBLEM.NPNODS; ++node)
    for (int c = 0; c < ncomp; ++c) {
      const double value = *smoothed_value(set, node, c);
      if (std::fabs(value) <= MODEL_THRESHOLD) continue;
      *smoothed_value(model, node, c) += value;
      ++sums.model_counts[nodal_index(node, c)];
    }
}

void finish_model(const NodalSums& sums, const FaceSums& faces) {
  const int model = PROBLEM.NSETS + 1;
  for (int node = 1; node <= PROBLEM.NPNODS; ++node)
    for (int c = 0; c < SMOOTHING.components; ++c) {
      const std::int32_t count = sums.model_counts[nodal_index(node, c)];
      if (count > 0) *smoothed_value(model, node, c) /= count;
    }
  if (faces.sums != nullptr)
    for (int node = 1; node <= PROBLEM.NPNODS; ++node)
      for (int c = 0; c < FACES; ++c) {
        const std::int32_t count = faces.model_counts[c + FACES * std::int64_t{node - 1}];
        if (count > 0) face_value(node, c) /= count;
      }
  const ElementSet& last = SETS(PROBLEM.NSETS);
  if (!PROBLEM.printing(PRINT_STRESSES)) return;
  write_nodal_table("TENSIONES ALISADAS NODALES EN SISTEMA:", last, model, smoothed_components(PROBLEM.NSETS));
  if (faces.sums != nullptr) write_face_table();
}

template <class T>
T* allocate_zeroed(std::int64_t count, const char* name) {
  const int words = sizeof(T) == sizeof(double) ? REAL_WORDS : INT_WORDS;
  const std::int32_t pos = DIRECT(RUN.NXTPOS, RUN.MEMORY, count, name, words);
  T* values = reinterpret_cast<T*>(WORK.ints(pos));
  std::fill(values, values + count, T{});
  return values;
}

}  // namespace

void PCJENS(double* matrix, int n) {
  for (int i = 0; i < n; ++i) {
    if (matrix[i + n * i] >= SMALLEST_PIVOT) continue;
    for (int j = 0; j < n; ++j) matrix[i + n * j] = i == j ? 1.0 : 0.0;
  }
  if (gauss_jordan_inverse(matrix, n, SMALLEST_PIVOT)) return;
  write_record(UNIT_LISTING, "ERROR EN LA RUTINA DE INVERSION DE MATRICES");
  write_record(UNIT_LISTING, "ERROR EN EL LA INVERCION DE LA MATRIZ DE ALISADO DE TENSIONES");
  ERRSTP("PCJENS:ERROR EN LA INVERION DE MATRIZ");
}

void smooth_stresses(const double* displacements) {
  SMOOTHING.done = 1;
  int g = 1;
  for (int s = 1; s <= PROBLEM.NSETS; ++s) g = std::max(g, smoothed_components(s));
  SMOOTHING.components = g;
  const std::int64_t values = std::int64_t{PROBLEM.NPNODS} * g;
  SMOOTHING.TENST = DIRECT(RUN.NXTPOS, RUN.MEMORY, values * (PROBLEM.NSETS + 1), "TENST", REAL_WORDS);
  ZEROR(values * (PROBLEM.NSETS + 1), WORK.reals(SMOOTHING.TENST));
  SMOOTHING.TENSP = 0;
  const std::int64_t faces = FACES * std::int64_t{PROBLEM.NPNODS};
  if (PROBLEM.flat_shell_set > 0) {
    SMOOTHING.TENSP = DIRECT(RUN.NXTPOS, RUN.MEMORY, faces, "TENSP", REAL_WORDS);
    ZEROR(faces, WORK.reals(SMOOTHING.TENSP));
  }
  const std::int32_t mark = RUN.NXTPOS;
  const NodalSums sums{allocate_zeroed<double>(values, "SMOTI"), allocate_zeroed<std::int32_t>(values, "NCONT"),
                       allocate_zeroed<std::int32_t>(values, "NAUXI")};
  FaceSums face_sums;
  if (PROBLEM.flat_shell_set > 0) {
    face_sums.weights = allocate_zeroed<double>(PROBLEM.NPNODS, "SMOTP");
    face_sums.sums = allocate_zeroed<double>(faces, "TENCO");
    face_sums.model_counts = allocate_zeroed<std::int32_t>(faces, "NCONP");
  }
  for (int s = 1; s <= PROBLEM.NSETS; ++s)
    if (smoothed(s)) smooth_set(s, displacements, sums, face_sums);
  if (PROBLEM.NSETS > 0 && smoothed(PROBLEM.NSETS)) finish_model(sums, face_sums);
  RUN.NXTPOS = mark;
}

}  // namespace vortan
