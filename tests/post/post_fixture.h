// Fixture of the post-processing tests: a problem read in process by the problem-header
// reader, a displacement field and (when a test asks) smoothed nodal stresses and
// element errors filled by hand, and the files the writers leave.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "../test_support.h"
#include "analyses/driver_phases.h"
#include "elements/active_set.h"
#include "input/dof_table.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "results/smoothing_record.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/work_array.h"
#include "solve/solution_record.h"

namespace vortan::test {

class PostTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SOLUTION.reset();
    reset_active_set();
    reset_run_state();
  }

  // Reads the problem of a deck (from the header cards on; the writer's card follows
  // the restraints) and lays out a zero displacement vector.
  void read(const std::string& deck) {
    ensure_work_array();
    SOLUTION.reset();
    reset_active_set();
    write_file(dir.file("P.vtn"), deck);
    open_deck(dir.file("P.vtn"));
    OPENFI(UNIT_ALLOCATION);
    RUN.NXTPOS = 1;
    RUN.KANALI = 1;
    INPEST(ProblemVariant::static_linear);
    SOLUTION.DESPL = DIRECT(RUN.NXTPOS, RUN.MEMORY, PROBLEM.NTOTV, "DESPL", REAL_WORDS);
    ZEROR(PROBLEM.NTOTV, despl());
  }

  static double* despl() { return WORK.reals(SOLUTION.DESPL); }

  // Sets the value of a kind of degree of freedom at a node.
  static void set_dof(int node, int kind, double value) { despl()[kind_equation(node, kind) - 1] = value; }

  static double coordinate(int node, int i) {
    return WORK.reals(PROBLEM.COORD)[(node - 1) + static_cast<std::int64_t>(i) * PROBLEM.NPNODS];
  }

  // Smoothed stresses of the whole model as the smoothing leaves them: g components per
  // node, value(node, c).
  static void smooth_by_hand(int g, const std::function<double(int node, int c)>& value) {
    SMOOTHING.components = g;
    SMOOTHING.TENST = DIRECT(RUN.NXTPOS, RUN.MEMORY, std::int64_t{PROBLEM.NSETS + 1} * PROBLEM.NPNODS * g, "TENST", REAL_WORDS);
    for (int n = 1; n <= PROBLEM.NPNODS; ++n)
      for (int c = 0; c < g; ++c) *smoothed_value(PROBLEM.NSETS + 1, n, c) = value(n, c);
    SMOOTHING.done = 1;
  }

  // Element errors by running element number, as the error estimate leaves them.
  static void errors_by_hand(const std::vector<double>& errors) {
    SMOOTHING.ERELE = DIRECT(RUN.NXTPOS, RUN.MEMORY, static_cast<std::int64_t>(errors.size()), "ERELE", REAL_WORDS);
    for (std::size_t e = 0; e < errors.size(); ++e) WORK.reals(SMOOTHING.ERELE)[e] = errors[e];
    SMOOTHING.error_done = 1;
    PROBLEM.error_estimation = 1;
  }

  std::vector<std::string> file_lines(const std::string& extension) {
    flush_units();
    return lines_of(read_file(dir.file("P" + extension)));
  }
  std::string listing() {
    flush_units();
    return read_file(dir.file("P.sal"));
  }

  TempDir dir;
};

inline std::string header(int nodes, int sets, const std::string& post = "FEMVIEW", const std::string& node_extra = "") {
  return "NUMERO_DE_NODOS NPNODS=" + std::to_string(nodes) + node_extra + "\nNUMERO_DE_SETS NSETS=" +
         std::to_string(sets) + "\nSOLVER LDLT\nPOSTPROCESO " + post + "\n";
}

inline std::string set_cards(int set, const std::string& type, const std::string& element, int nelem) {
  return "SET_NUMERO " + std::to_string(set) + "\nTIPO " + type + "\nELEMENTO " + element + " NELEM=" +
         std::to_string(nelem) + "\nMATERIAL YOUNG=1000 POISSON=0.25 ESPESOR=1.0\nFIN_SET\n";
}

inline const std::string FREE = "CONDICIONES_DE_CONTORNO\nSIN_RESTRICCIONES\nFIN_CONDICIONES_DE_CONTORNO\n";

// The values of an N or result line after its first `skip` characters, read as numbers
// in fields of `width` columns.
inline std::vector<double> fields(const std::string& line, std::size_t skip, std::size_t width) {
  std::vector<double> out;
  for (std::size_t at = skip; at + width <= line.size(); at += width) out.push_back(std::stod(line.substr(at, width)));
  return out;
}

// The blocks of a neutral file: for each header line (1X, I4 key, "C", name), its name
// and the lines up to its end line " -3" (the first line holds the model name, the
// last " 9999"). Empty when the file is not well formed: a block without its end line,
// a line after " 9999", or a file that does not end with it.
struct FemBlock {
  std::string name;
  std::vector<std::string> lines;
};

inline std::vector<FemBlock> fem_blocks(const std::vector<std::string>& lines) {
  std::vector<FemBlock> blocks;
  if (lines.size() < 2 || lines.back() != " 9999" || lines[0].size() != 12 || lines[0].substr(0, 6) != "   -1C")
    return {};
  blocks.push_back({lines[0].substr(6), {}});
  for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
    const std::string& h = lines[i];
    if (h.size() != 12 || h[5] != 'C') return {};
    FemBlock b{h.substr(6), {}};
    for (++i; i + 1 < lines.size() && lines[i] != " -3"; ++i) b.lines.push_back(lines[i]);
    if (i + 1 >= lines.size()) return {};
    blocks.push_back(b);
  }
  return blocks;
}

inline std::vector<std::string> block_names(const std::vector<FemBlock>& blocks) {
  std::vector<std::string> names;
  for (const FemBlock& b : blocks) names.push_back(b.name);
  return names;
}

}  // namespace vortan::test
