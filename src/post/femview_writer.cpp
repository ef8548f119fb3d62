#include "post/femview_writer.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "elements/element_pass.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "post/element_shapes.h"
#include "post/femview_records.h"
#include "post/model_card.h"
#include "post/nodal_values.h"
#include "post/principal_stresses.h"
#include "post/stress_components.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/work_array.h"

namespace vortan {

namespace {

using namespace femview;

// Key of the header lines of the result blocks.
constexpr int RESULT_BLOCK_KEY = 100;
// The result integers of the set header and of every component line: a stress-type
// result, one layout.
constexpr int STRESS_RESULT = 4;
constexpr int ONE_LAYOUT = 1;
constexpr int MAX_NODE_VALUES = 16;

void out(const std::string& line) { write_record(UNIT_FEMVIEW, line); }

// The N lines of one item: six values to a line, the first line with `key`, the
// others as continuation lines.
void write_item_values(int key, long long number, const double* v, int count) {
  int k = 0;
  do {
    out(values(key, number, v + k, std::min(VALUES_PER_LINE, count - k)));
    key = KEY_CONTINUATION;
    k += VALUES_PER_LINE;
  } while (k < count);
}

bool frame_member(int set) { return SETS(set).family == ElementFamily::frame; }

// Advances the running type code over one element, the way every block numbers it.
WrittenElement next_element(int set, int& code) {
  const WrittenElement w = femview_element(SETS(set).element_type, frame_member(set));
  code = femview_type_code(w.dimension, w.count, code);
  return w;
}

void write_coordinates() {
  out(block_header(KEY_CONTINUATION, "CORRDE"));
  const double* coord = WORK.reals(PROBLEM.COORD);
  double x[3] = {};
  for (int n = 1; n <= PROBLEM.NPNODS; ++n) {
    // A flat-shell model was moved to its smallest coordinates: the file has the input's.
    for (int i = 0; i < PROBLEM.NDIME && i < 3; ++i)
      x[i] = coord[(n - 1) + static_cast<std::int64_t>(i) * PROBLEM.NPNODS] - PROBLEM.shell_shift[i];
    write_item_values(KEY_FIRST, n, x, std::min(PROBLEM.NDIME, 3));
  }
  out(end_of_block());
}

void write_connectivity() {
  out(block_header(KEY_END_OF_BLOCK, "CONECT"));
  long long running = 0;
  int code = 0;
  for (int set = 1; set <= PROBLEM.NSETS; ++set)
    for (int e = 1; e <= SETS(set).NELEM; ++e) {
      const WrittenElement w = next_element(set, code);
      const long long number = element_node(set, e, 0);
      const long long header[4] = {++running, code, number, number};
      out(element_header(KEY_FIRST, header, 4));
      long long nodes[MAX_WRITTEN_NODES];
      for (int k = 0; k < w.count; ++k) nodes[k] = element_node(set, e, w.positions[k]);
      for (int k = 0; k < w.count; k += NODES_PER_LINE)
        out(node_list(KEY_CONTINUATION, nodes + k, std::min(NODES_PER_LINE, w.count - k)));
    }
  out(end_of_block());
}

void write_displacements(const double* displacements) {
  out(block_header(4, "DESPLA"));
  double v[DOF_KINDS];
  for (int n = 1; n <= PROBLEM.NPNODS; ++n) write_item_values(KEY_FIRST, n, v, node_dof_values(displacements, n, v));
  out(end_of_block());
}

// Header line, result set, one line per component and the layout line of a block.
void write_result_header(std::string_view name, const ComponentTable& table) {
  out(block_header(RESULT_BLOCK_KEY, name));
  out(result_set(KEY_RESULT_SET, name, table.count, STRESS_RESULT, ONE_LAYOUT));
  int positions[MAX_WRITTEN_COMPONENTS];
  for (int c = 0; c < table.count; ++c) {
    const StressComponent& k = table.component[c];
    const int v[5] = {1, STRESS_RESULT, k.i, k.j, k.moment};
    out(component(KEY_COMPONENT, k.name, v));
    positions[c] = c + 1;
  }
  out(result_layout(KEY_RESULT_LAYOUT, ONE_LAYOUT, table.count, positions, table.count));
}

// Integration-point stresses: the "TENSIONES" task of every element of the sets with
// the block's layout; one element result header, then the coordinates and the
// stresses of each point. Sets of another layout are not written but keep their
// element numbers.
void write_point_stresses(StressLayout layout, const ComponentTable& table, const double* solution) {
  write_result_header("TENGAU", table);
  long long running = 0;
  int code = 0;
  for (int set = 1; set <= PROBLEM.NSETS; ++set) {
    if (stress_layout(set) != layout) {
      for (int e = 1; e <= SETS(set).NELEM; ++e) {
        ++running;
        next_element(set, code);
      }
      continue;
    }
    run_set_pass(
        set, ElementTask::stresses, [&](int element) { gather_element(element, solution); },
        [&](int) {
          const ActiveSetRecord& a = ACTIVE;
          next_element(set, code);
          const long long header[7] = {++running, code, ONE_LAYOUT, table.count, STRESS_RESULT, ONE_LAYOUT, a.NGAUS};
          out(element_result_header(KEY_FIRST, header, 7));
          for (int g = 1; g <= a.NGAUS; ++g) {
            write_item_values(KEY_CONTINUATION, g, a.reals(a.CORPG) + a.NDIME * (g - 1), a.NDIME);
            const double* sigma = a.reals(a.TENSG) + a.NSTR1 * (g - 1);
            double v[MAX_WRITTEN_COMPONENTS];
            // A set with fewer components than the block's (a DKT plate set beside
            // thick plates) writes 0 for the ones it has not.
            for (int c = 0; c < table.count; ++c) {
              const int source = table.component[c].source;
              v[c] = source < a.NSTR1 ? sigma[source] : 0.0;
            }
            write_item_values(KEY_CONTINUATION, g, v, table.count);
          }
        });
  }
  out(end_of_block());
}

// A block of nodal values from the smoothed stresses of the whole model.
void write_nodal_block(std::string_view name, const ComponentTable& table) {
  write_result_header(name, table);
  double v[MAX_WRITTEN_COMPONENTS];
  for (int n = 1; n <= PROBLEM.NPNODS; ++n) {
    for (int c = 0; c < table.count; ++c) v[c] = model_smoothed(n, table.component[c].source);
    write_item_values(KEY_FIRST, n, v, table.count);
  }
  out(end_of_block());
}

// The principal compression and traction vectors of every node.
void write_principal_blocks(StressLayout layout) {
  for (const bool traction : {false, true}) {
    write_result_header(traction ? "PRTRAPSTR" : "PRCOMPSTR", principal_components());
    for (int n = 1; n <= PROBLEM.NPNODS; ++n) {
      double smoothed[MAX_NODE_VALUES] = {}, tensor[6];
      for (int c = 0; c < MAX_NODE_VALUES; ++c) smoothed[c] = model_smoothed(n, c);
      continuum_tensor(layout, smoothed, tensor);
      const PrincipalVectors p = principal_vectors(tensor, layout != StressLayout::solid);
      write_item_values(KEY_FIRST, n, traction ? p.traction : p.compression, 3);
    }
    out(end_of_block());
  }
}

void write_stress_blocks(const double* solution) {
  const int last = PROBLEM.NSETS;
  const StressLayout layout = stress_layout(last);
  if (layout == StressLayout::none) return;
  if (layout == StressLayout::unhandled) {
    write_record(UNIT_LISTING, " ERROR EN SELECCION DE TIPO DE PROBLEMA");
    ERRSTP("FEMV:ERROR SELECCION TIPO DE PROBLEMA");
  }
  const ComponentTable* table = femview_stress_components(layout, SETS(last).NSTRE);
  if (table != nullptr) write_point_stresses(layout, *table, solution);
  if (!smoothed_stresses_exist()) return;
  if (table != nullptr) write_nodal_block("TENNOD", *table);
  if (is_continuum_layout(layout))
    write_principal_blocks(layout);
  else if (const ComponentTable* resultants = resultant_components(layout, SETS(last).NSTRE))
    write_nodal_block("STR_RESULTANTS", *resultants);
}

}  // namespace

void write_femview_file(const double* solution, const double* displacements) {
  const std::string name = read_model_card("FEMV", "FEMV", "FEMV   : TARJETA EQUIVOCADA EN FEMV");
  OPENFI(UNIT_FEMVIEW);
  out(block_header(KEY_FIRST, name));
  write_coordinates();
  write_connectivity();
  write_displacements(displacements);
  write_stress_blocks(solution);
  out(end_of_file());
  CLOSFI(UNIT_FEMVIEW);
}

}  // namespace vortan
