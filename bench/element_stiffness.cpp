// Time to form, and to form and store in memory, the stiffness of many elements: a
// structured block of HE8 bricks and a strip of QU8 quadrilaterals.
//   bench_element_stiffness [elements]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "analyses/inpdat.h"
#include "elements/active_set.h"
#include "elements/element_tasks.h"
#include "elements/shape_functions.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "input/set_files.h"
#include "run/work_array.h"

using namespace vortan;

namespace {

// A row of n elements along x; nodes of each element from the type's natural nodes.
void build_row(int type, int n, char stiffness_storage) {
  reset_run_state();
  reset_active_set();
  RUN.NXTPOS = 1;
  const bool solid = type == 6;
  const int nnode = element_nodes(type);
  PROBLEM.NSETS = 1;
  PROBLEM.NDIME = solid ? 3 : 2;
  ElementSet& s = SETS(1);
  s.problem_type = solid ? 4 : 1;
  s.element_type = type;
  s.NNODE = nnode;
  s.NELEM = n;
  s.NGAUS = element_default_ngaus(type);
  s.NDOFN = PROBLEM.NDIME;
  s.NSTRE = solid ? 6 : 3;
  s.NSTR1 = solid ? 6 : 4;
  s.dimension = PROBLEM.NDIME;
  s.nprops = 5;
  for (char& c : s.storage) c = 'R';
  s.storage[KIND_K] = stiffness_storage;
  // Every element has its own nodes: the geometry is what costs, not the sharing.
  PROBLEM.NPNODS = nnode * n;
  s.LNODS = DIRECT(RUN.NXTPOS, RUN.MEMORY, static_cast<std::int64_t>(nnode + 1) * n, "LNODS", INT_WORDS);
  PROBLEM.COORD = DIRECT(RUN.NXTPOS, RUN.MEMORY, static_cast<std::int64_t>(PROBLEM.NPNODS) * PROBLEM.NDIME, "COORD", REAL_WORDS);
  double f[27], d[81];
  const double corners[3] = {-1, 0, 1};
  const double solid_layers[2] = {-1, 1}, plane_layer[1] = {0};
  const double* layers = solid ? solid_layers : plane_layer;
  const int layer_count = solid ? 2 : 1;
  for (int e = 0; e < n; ++e) {
    WORK.int_at(s.LNODS + e) = e + 1;
    int k = 0;
    for (int l = 0; l < layer_count; ++l)
      for (double t : corners)
        for (double r : corners) {
          const double w = layers[l];
          FUNFOR(r, t, w, type, PROBLEM.NDIME, f, d);
          for (int i = 0; i < nnode; ++i) {
            if (f[i] < 0.999999) continue;
            const int node = e * nnode + i + 1;
            WORK.int_at(s.LNODS + e + (i + 1) * n) = node;
            double* x = WORK.reals(PROBLEM.COORD);
            x[node - 1] = e + 0.5 * (r + 1) + 0.05 * t;
            x[node - 1 + PROBLEM.NPNODS] = 0.5 * (t + 1);
            if (solid) x[node - 1 + 2 * PROBLEM.NPNODS] = 0.5 * (w + 1);
            ++k;
          }
        }
  }
  s.PROPS = DIRECT(RUN.NXTPOS, RUN.MEMORY, 5, "PROPS", REAL_WORDS);
  const double props[5] = {210000.0, 0.3, 7.8, 1.0, 0.0};
  for (int i = 0; i < 5; ++i) WORK.reals(s.PROPS)[i] = props[i];
  OPENSE(1);
  ACTSET(1);
}

double form_all(int n) {
  const auto start = std::chrono::steady_clock::now();
  for (int e = 1; e <= n; ++e) {
    gather_element(e);
    ELETR3(e, 1, RECOMPUTE_ALL, ACTIVE.fetch_default, ElementTask::stiffness);
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) try {
  const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
  size_work_array();
  std::printf("%-6s %9s %14s %14s %12s\n", "type", "elements", "form (s)", "form+store (s)", "us/element");
  for (int type : {6, 4}) {
    build_row(type, n, 'R');
    const double formed = form_all(n);
    build_row(type, n, 'M');
    const double stored = form_all(n);
    std::printf("%-6s %9d %14.3f %14.3f %12.2f\n", type == 6 ? "HE8" : "QU8", n, formed, stored, 1e6 * stored / n);
  }
  return 0;
} catch (const std::exception& stop) {
  std::printf("stopped: %s\n", stop.what());
  return 1;
}
