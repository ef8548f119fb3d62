#include "post/keldar_writer.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "elements/active_set.h"
#include "input/catalogue.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "post/element_shapes.h"
#include "post/model_card.h"
#include "post/nodal_values.h"
#include "post/principal_stresses.h"
#include "post/stress_components.h"
#include "results/smoothing_record.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"

namespace vortan {

namespace {

// Columns of a result line: the node (element) number, then three values.
constexpr int COLUMNS = 3;
constexpr int MAX_NODE_VALUES = 16;

enum Place : int { AT_NODES = 1, AT_ELEMENTS = 2 };

bool frame_member(int set) { return SETS(set).family == ElementFamily::frame; }

bool is_line_set(int set) {
  return frame_member(set) || element_natural_dimension(SETS(set).element_type) == 1;
}

bool heat_conduction() {
  for (int set = 1; set <= PROBLEM.NSETS; ++set)
    if (SETS(set).family == ElementFamily::conduction) return true;
  return false;
}

// The heading of both files: the model name and what the file holds, then the lines
// naming the producer and the title of the problem.
void write_heading(int unit, const std::string& name, std::string_view contents) {
  write_record(unit, " KELDAR " + name + " " + std::string(contents));
  write_record(unit, "C ELABORADO POR TRADUCTOR FEMKEL");
  write_record(unit, "C PROGRAMA DE ELEMENTOS FINITOS VORTAN");
  std::string title = PROBLEM.title.substr(0, std::min<std::size_t>(PROBLEM.title.size(), 78));
  title.erase(title.find_last_not_of(' ') + 1);
  write_record(unit, "C " + title);
}

// Calls visit(piece, set, element row, running element number, positions) for every
// piece of the mesh, in set and row order.
template <class Visit>
long long for_each_piece(int mesh_code, Visit visit) {
  long long piece = 0, running = 0;
  for (int set = 1; set <= PROBLEM.NSETS; ++set)
    for (int e = 1; e <= SETS(set).NELEM; ++e) {
      ++running;
      int pieces[MAX_PIECES][8];
      const int count = keldar_pieces(SETS(set).element_type, frame_member(set), mesh_code, pieces);
      for (int p = 0; p < count; ++p) visit(++piece, set, e, running, pieces[p]);
    }
  return piece;
}

std::string result_line(long long number, const double* v) {
  std::string line = fmt::I(number, 8);
  for (int c = 0; c < COLUMNS; ++c) line += fmt::E(v[c], 15, 8);
  return line;
}

void write_mesh(int unit, const std::string& name, int code) {
  write_heading(unit, name, "MALLA");
  const long long pieces = for_each_piece(code, [](long long, int, int, long long, const int*) {});
  write_record(unit, fmt::I(pieces, 8) + fmt::I(PROBLEM.NPNODS, 8) + fmt::I(code, 8));
  write_record(unit, "  C O O R D E N A D A S");
  const double* coord = WORK.reals(PROBLEM.COORD);
  for (int n = 1; n <= PROBLEM.NPNODS; ++n) {
    double x[COLUMNS] = {};
    // A flat-shell model was moved to its smallest coordinates: the file has the input's.
    for (int i = 0; i < PROBLEM.NDIME && i < COLUMNS; ++i)
      x[i] = coord[(n - 1) + static_cast<std::int64_t>(i) * PROBLEM.NPNODS] - (i < 3 ? PROBLEM.shell_shift[i] : 0.0);
    write_record(unit, result_line(n, x));
  }
  write_record(unit, "  C O N E C T I V I D A D E S");
  const int nodes = keldar_piece_nodes(code);
  for_each_piece(code, [&](long long piece, int set, int e, long long, const int* positions) {
    std::string line = fmt::I(piece, 8);
    for (int k = 0; k < nodes; ++k) line += fmt::I(element_node(set, e, positions[k]), 8);
    write_record(unit, line + fmt::I(set, 8) + fmt::I(element_node(set, e, 0), 8));
  });
}

// One result block of up to three components: its title line (name, components,
// lines, place), the component names over their columns, then one line per item.
struct Block {
  std::string_view name;
  int components;
  const char* const* names;
  long long lines;
  Place place;
};

void write_block_heading(const Block& b) {
  write_record(UNIT_KELDAR_RESULTS, " " + std::string(b.name) + fmt::X(20 - static_cast<int>(b.name.size())) +
                                        fmt::I(b.components, 8) + fmt::I(b.lines, 8) + fmt::I(b.place, 8));
  std::string names = fmt::X(8);
  for (int c = 0; c < b.components; ++c) names += fmt::A(b.names[c], 15);
  write_record(UNIT_KELDAR_RESULTS, names);
}

// A nodal block of any number of components, written as blocks of three; value(n, c)
// gives component c of node n.
template <class Value>
void write_nodal_blocks(std::string_view name, int components, const char* const* names, Value value) {
  for (int first = 0; first < components; first += COLUMNS) {
    const int count = std::min(COLUMNS, components - first);
    write_block_heading({name, count, names + first, PROBLEM.NPNODS, AT_NODES});
    for (int n = 1; n <= PROBLEM.NPNODS; ++n) {
      double v[COLUMNS] = {};
      for (int c = 0; c < count; ++c) v[c] = value(n, first + c);
      write_record(UNIT_KELDAR_RESULTS, result_line(n, v));
    }
  }
}

// The displacement columns: the translations along the mesh axes and, in plane models
// with rotations, the rotation about z; a plate's deflection is its z translation.
void displacement_columns(int kinds[COLUMNS], const char* names[COLUMNS]) {
  int model[DOF_KINDS];
  const int n = model_kinds(model);
  names[0] = "X-DISP";
  names[1] = "Y-DISP";
  names[2] = "Z-DISP";
  std::fill(kinds, kinds + COLUMNS, 0);
  if (PROBLEM.NDIME == 3) {
    for (int c = 0; c < COLUMNS; ++c)
      if (PROBLEM.union_pattern[c] == 1) kinds[c] = c + 1;
    return;
  }
  int translations[3], t = 0, rotation = 0;
  for (int i = 0; i < n; ++i) {
    if (model[i] <= 3) translations[t++] = model[i];
    else if (rotation == 0) rotation = model[i];
  }
  if (t == 1 && translations[0] == 3) {
    kinds[2] = 3;
    return;
  }
  for (int c = 0; c < t && c < 2; ++c) kinds[c] = translations[c];
  if (rotation != 0) {
    kinds[2] = rotation;
    names[2] = "ROTATIONZ-DISP";
  }
}

void write_displacements(const double* displacements) {
  if (heat_conduction()) {
    static const char* const temperature[] = {"TEMPER"};
    write_nodal_blocks("TEMPERATURA", 1, temperature, [&](int n, int) {
      double v[DOF_KINDS];
      node_dof_values(displacements, n, v);
      return v[0];
    });
    return;
  }
  int kinds[COLUMNS];
  const char* names[COLUMNS];
  displacement_columns(kinds, names);
  int model[DOF_KINDS];
  const int n = model_kinds(model);
  write_nodal_blocks("DISPLACEMENT", COLUMNS, names, [&](int node, int c) {
    double v[DOF_KINDS];
    node_dof_values(displacements, node, v);
    for (int i = 0; i < n; ++i)
      if (kinds[c] != 0 && model[i] == kinds[c]) return v[i];
    return 0.0;
  });
}

void node_tensor(StressLayout layout, int n, double tensor[6]) {
  double smoothed[MAX_NODE_VALUES];
  for (int c = 0; c < MAX_NODE_VALUES; ++c) smoothed[c] = model_smoothed(n, c);
  continuum_tensor(layout, smoothed, tensor);
}

void write_continuum_stresses(StressLayout layout) {
  static const char* const stress_names[] = {"Sx", "Sy", "Sz", "Sxy", "Sxz", "Syz"};
  write_nodal_blocks("NODAL STRESS", continuum_tensor_components(layout), stress_names, [&](int n, int c) {
    double t[6];
    node_tensor(layout, n, t);
    return t[c];
  });
  const ComponentTable& principal = principal_components();
  const char* names[3] = {principal.component[0].name, principal.component[1].name, principal.component[2].name};
  for (const bool traction : {false, true})
    write_nodal_blocks(traction ? "PRTRAPSTR" : "PRCOMPSTR", 3, names, [&](int n, int c) {
      double t[6];
      node_tensor(layout, n, t);
      const PrincipalVectors p = principal_vectors(t, layout != StressLayout::solid);
      return traction ? p.traction[c] : p.compression[c];
    });
  static const char* const mises[] = {"VON MISES"};
  write_nodal_blocks("NODAL V. MISES", 1, mises, [&](int n, int) {
    double t[6];
    node_tensor(layout, n, t);
    return von_mises(t);
  });
}

void write_resultants(const ComponentTable& table) {
  const char* names[MAX_WRITTEN_COMPONENTS];
  for (int c = 0; c < table.count; ++c) names[c] = table.component[c].name;
  write_nodal_blocks("STR_RESULTANTS", table.count, names,
                     [&](int n, int c) { return model_smoothed(n, table.component[c].source); });
}

// The element errors by mesh element (the pieces of an element share its error), and
// their mean over the elements that meet at each node.
void write_errors(int mesh_code) {
  const double* erele = WORK.reals(SMOOTHING.ERELE);
  const long long pieces = for_each_piece(mesh_code, [](long long, int, int, long long, const int*) {});
  static const char* const quantity[] = {"CUANT"};
  write_block_heading({"ERELE", 1, quantity, pieces, AT_ELEMENTS});
  for_each_piece(mesh_code, [&](long long piece, int, int, long long running, const int*) {
    const double v[COLUMNS] = {erele[running - 1], 0.0, 0.0};
    write_record(UNIT_KELDAR_RESULTS, result_line(piece, v));
  });
  std::int32_t cursor = RUN.NXTPOS;
  double* sums = WORK.reals(DIREC1(cursor, RUN.MEMORY, PROBLEM.NPNODS, "ERNOD", REAL_WORDS));
  std::int32_t* counts = WORK.ints(DIREC1(cursor, RUN.MEMORY, PROBLEM.NPNODS, "NERNO", INT_WORDS));
  ZEROR(PROBLEM.NPNODS, sums);
  ZEROI(PROBLEM.NPNODS, counts);
  long long running = 0;
  for (int set = 1; set <= PROBLEM.NSETS; ++set) {
    const ElementSet& s = SETS(set);
    const int nodes = frame_member(set) ? 2 : s.NNODE;
    for (int e = 1; e <= s.NELEM; ++e) {
      ++running;
      for (int k = 1; k <= nodes; ++k) {
        const std::int32_t node = element_node(set, e, k);
        if (node < 1 || node > PROBLEM.NPNODS) continue;
        sums[node - 1] += erele[running - 1];
        counts[node - 1] += 1;
      }
    }
  }
  static const char* const error[] = {"ERROR"};
  write_nodal_blocks("ERROR NODAL", 1, error,
                     [&](int n, int) { return counts[n - 1] > 0 ? sums[n - 1] / counts[n - 1] : 0.0; });
}

void write_results(const std::string& name, int mesh_code, const double* displacements) {
  write_heading(UNIT_KELDAR_RESULTS, name, "RESULTADOS");
  write_displacements(displacements);
  if (!smoothed_stresses_exist()) return;
  const StressLayout layout = stress_layout(PROBLEM.NSETS);
  if (is_continuum_layout(layout))
    write_continuum_stresses(layout);
  else if (const ComponentTable* resultants = resultant_components(layout, SETS(PROBLEM.NSETS).NSTRE))
    write_resultants(*resultants);
  if (PROBLEM.error_estimation == 1 && SMOOTHING.error_done == 1 && SMOOTHING.ERELE != 0) write_errors(mesh_code);
}

}  // namespace

int keldar_mesh_code() {
  bool lines = true, surfaces = false, tetrahedra = true;
  for (int set = 1; set <= PROBLEM.NSETS; ++set) {
    if (is_line_set(set)) continue;
    lines = false;
    const int type = SETS(set).element_type;
    if (element_natural_dimension(type) == 2) surfaces = true;
    if (type != ELEM_TE4 && type != ELEM_TE10) tetrahedra = false;
  }
  if (lines) return KELDAR_LINES;
  if (surfaces) return KELDAR_TRIANGLES;
  return tetrahedra ? KELDAR_TETRAHEDRA : KELDAR_BRICKS;
}

void write_keldar_files(const double* displacements) {
  const std::string name = read_model_card("KELDAR", "KELDAR", "KELDAR   : TARJETA EQUIVOCADA EN KELDAR");
  const int code = keldar_mesh_code();
  const int mesh_unit = code == KELDAR_LINES || code == KELDAR_TRIANGLES ? UNIT_KELDAR_SURFACE_MESH
                                                                          : UNIT_KELDAR_SOLID_MESH;
  OPENFI(mesh_unit);
  write_mesh(mesh_unit, name, code);
  CLOSFI(mesh_unit);
  OPENFI(UNIT_KELDAR_RESULTS);
  write_results(name, code, displacements);
  CLOSFI(UNIT_KELDAR_RESULTS);
}

}  // namespace vortan
