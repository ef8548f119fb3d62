// Benchmark decks and in-process timing of the solution paths.
//
//   bench_solvers deck qu4 NX NY [memory]      plane-stress QU4 cantilever, NX x NY elements
//   bench_solvers deck he8 NX NY NZ [memory]   solid HE8 cantilever, NX x NY x NZ elements
//   bench_solvers solve DECK [PATH] [natural]
//
// "deck" writes a complete static linear problem file to standard output: the
// cantilever of unit-square (unit-cube) elements along x, clamped at x = 0, with a
// total end load of -1 spread over the nodes of the free end (along y for QU4, along z
// for HE8). Nodes are numbered x fastest. With "memory" the set keeps its element
// stiffness matrices in memory ("MATRIZK MEMORIA") instead of recomputing them in every
// element pass.
//
// "solve" reads a deck in-process up to its loads, applies the deck's end load to the
// element load vectors, runs the element stiffness loop and SOLUCION, and prints one
// line of figures (key=value) to standard error; standard output receives the console
// progress lines, as in a run. PATH chooses the solution path (the header's solver
// card is overridden): ldlt (the default), gauss, ebe (element-by-element conjugate
// gradient), ebe-diagonal (the same with the diagonal preconditioner), cg and gmres
// (compressed rows, diagonal preconditioner), cg-ilu and gmres-ilu (compressed rows,
// incomplete factorisation), sparse (the sparse direct factorisation). "natural" switches the node renumbering of LDLT off;
// "loads=FACTOR" multiplies the deck's loads (the iterations stop on an absolute
// residual, so the factor sets how far below the loads they must go).
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>

#include "brick_mesh.h"
#include <cstdlib>
#include <string>
#include <vector>

#include "analyses/driver_phases.h"
#include "analyses/inpdat.h"
#include "elements/active_set.h"
#include "input/card_reader.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "analyses/driver_phases.h"
#include "run/file_set.h"
#include "run/work_array.h"
#include "solve/element_loop.h"
#include "solve/skyline_factor.h"
#include "solve/solucion.h"
#include "solve/solution_record.h"
#include "solve/sparse/sparse_direct.h"

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

void write_header(const char* title, long nodes, long elements, const char* type, const char* element) {
  std::printf("VORTAN\nANALISIS ESTATICO\nTITULO %s\nGENERAL LINEAL\nMATERIAL LINEAL\n", title);
  std::printf("NUMERO_DE_NODOS NPNODS=%ld\nNUMERO_DE_SETS NSETS=1\nSOLVER LDLT\nPOSTPROCESO FEMVIEW\n", nodes);
  std::printf("SET_NUMERO 1\nTIPO %s\nELEMENTO %s NELEM=%ld\n", type, element, elements);
}

void write_loads(const std::vector<long>& nodes, int components, int direction) {
  std::printf("FUERZAS\nSET_NUMERO 1\nCARGAS DEL SET\nPUNTUALES\n");
  for (std::size_t k = 0; k < nodes.size(); ++k) {
    // Trapezoidal share of a total load of -1 along the loaded edge (ends count half).
    const double share = (k == 0 || k + 1 == nodes.size() ? 0.5 : 1.0) / static_cast<double>(nodes.size() - 1);
    std::printf("%ld", nodes[k]);
    for (int c = 1; c <= components; ++c) std::printf(" %.15g", c == direction ? -share : 0.0);
    std::printf("\n");
  }
  std::printf("FIN_PUNTUALES\nFIN_FUERZAS\nFEMV BENCH\n");
}

const char* storage_card(bool memory) { return memory ? "MATRIZK MEMORIA\n" : ""; }

void qu4_deck(long nx, long ny, bool memory) {
  auto node = [&](long i, long j) { return 1 + i + j * (nx + 1); };
  write_header("VOLADIZO QU4 BENCHMARK", (nx + 1) * (ny + 1), nx * ny, "TENSION_PLANA", "QU4");
  std::printf("MATERIAL YOUNG=1000.0 POISSON=0.25 DENSIDAD=0.0 ESPESOR=1.0\n%sFIN_SET\nGEOMETRIA\n", storage_card(memory));
  long e = 0;
  for (long j = 0; j < ny; ++j)
    for (long i = 0; i < nx; ++i)
      std::printf("%ld 1 %ld %ld %ld %ld\n", ++e, node(i, j), node(i + 1, j), node(i + 1, j + 1), node(i, j + 1));
  for (long j = 0; j <= ny; ++j)
    for (long i = 0; i <= nx; ++i) std::printf("%ld %ld.0 %ld.0\n", node(i, j), i, j);
  std::printf("FIN_GEOMETRIA\nCONDICIONES_DE_CONTORNO\n");
  for (long j = 0; j <= ny; ++j) std::printf("%ld 1 1\n", node(0, j));
  std::printf("FIN_CONDICIONES_DE_CONTORNO\n");
  std::vector<long> tip;
  for (long j = 0; j <= ny; ++j) tip.push_back(node(nx, j));
  write_loads(tip, 2, 2);
}

void he8_deck(long nx, long ny, long nz, bool memory) {
  auto node = [&](long i, long j, long k) { return 1 + i + (nx + 1) * (j + (ny + 1) * k); };
  write_header("VOLADIZO HE8 BENCHMARK", (nx + 1) * (ny + 1) * (nz + 1), nx * ny * nz, "SOLIDO", "HE8");
  std::printf("MATERIAL YOUNG=1000.0 POISSON=0.25 DENSIDAD=0.0\n%sFIN_SET\nGEOMETRIA\n", storage_card(memory));
  write_brick_mesh(nx, ny, nz);
  std::vector<long> tip;  // the free end's edge at y = 0 .. ny, all z, loaded along z
  for (long k = 0; k <= nz; ++k)
    for (long j = 0; j <= ny; ++j) tip.push_back(node(nx, j, k));
  write_loads(tip, 3, 3);
}

// The deck's point loads (after "PUNTUALES" up to "FIN_PUNTUALES") times a factor, each
// put into the load vector of the first element that holds its node.
void apply_deck_loads(const std::string& path, double factor) {
  std::FILE* f = std::fopen(path.c_str(), "r");
  if (f == nullptr) return;
  const vortan::ElementSet& s = vortan::SETS(1);
  std::vector<std::pair<int, int>> first(vortan::PROBLEM.NPNODS + 1, {0, 0});
  for (int e = s.NELEM; e >= 1; --e)
    for (int k = 1; k <= s.NNODE; ++k) first[vortan::element_node(1, e, k)] = {e, k};
  char line[512];
  bool inside = false;
  while (std::fgets(line, sizeof line, f) != nullptr) {
    const std::string text(line);
    if (text.rfind("PUNTUALES", 0) == 0) { inside = true; continue; }
    if (text.rfind("FIN_PUNTUALES", 0) == 0) break;
    if (!inside) continue;
    char* p = line;
    const long node = std::strtol(p, &p, 10);
    const auto [e, k] = first[node];
    for (int c = 0; c < s.NDOFN; ++c) {
      const double value = std::strtod(p, &p);
      vortan::WORK.reals(s.CARGA)[(e - 1) + static_cast<long>((k - 1) * s.NDOFN + c) * s.NELEM] += factor * value;
    }
  }
  std::fclose(f);
}

// The work of the console progress lines alone: one monotonic-clock reading and one
// 77-column record per equation, as the factorisation writes them.
double progress_line_seconds(int neqns) {
  char text[78] = "+ FACTORIZANDO ECUACION NUM:       1 CPU :      0: 0: 0    TOTAL EQ.=       1";
  const auto start = Clock::now();
  for (int j = 1; j <= neqns; ++j) {
    text[35] = static_cast<char>('0' + (Clock::now().time_since_epoch().count() + j) % 10);
    vortan::write_record(vortan::UNIT_CONSOLE, std::string_view(text, 77));
  }
  std::fflush(stdout);
  return seconds(start, Clock::now());
}

struct PathChoice {
  int solver = 2;
  int preconditioned = 0;
  int conjugate_gradient = 1;
};

bool path_choice(const std::string& word, PathChoice& c) {
  if (word == "ldlt") c = {2, 0, 1};
  else if (word == "gauss") c = {1, 0, 1};
  else if (word == "ebe") c = {3, 0, 1};
  else if (word == "ebe-diagonal") c = {3, 1, 1};
  else if (word == "cg") c = {5, 0, 1};
  else if (word == "cg-ilu") c = {5, 1, 1};
  else if (word == "gmres") c = {5, 0, 0};
  else if (word == "gmres-ilu") c = {5, 1, 0};
  else if (word == "sparse") c = {6, 0, 1};
  else return false;
  return true;
}

// Bytes one compressed-row product moves at the least: every entry's value and
// column, the row starts, the vector read once and the result written once.
double product_bytes() {
  using namespace vortan;
  return SOLUTION.entries * 12.0 + (SOLUTION.NEQNS + 1) * 4.0 + SOLUTION.NEQNS * 16.0;
}

int solve(const std::string& path, const PathChoice& choice, bool natural, double load_factor) {
  using namespace vortan;
  RUN.MEMORY = 1900000000;  // 7.6 GB of address space; only the pages used are touched
  size_work_array();
  reset_run_state();
  set_command_argument(path);
  OPENFI(1);
  OPENFI(UNIT_ALLOCATION);
  RUN.KANALI = 1;
  const auto t0 = Clock::now();
  for (int k = 0; k < 5; ++k) LISTEN("INPDAT");
  INPEST(ProblemVariant::static_linear);
  apply_deck_loads(path, load_factor);
  const auto t1 = Clock::now();
  compute_element_stiffnesses();
  const auto t2 = Clock::now();
  PROBLEM.solver = choice.solver;
  PROBLEM.preconditioned = choice.preconditioned;
  PROBLEM.conjugate_gradient = choice.conjugate_gradient;
  SOLUTION.renumbering = natural ? 0 : 1;
  SOLUCION(SolveOptions{PROBLEM.printing(PRINT_DISPLACEMENTS)});
  const auto t3 = Clock::now();
  flush_units();
  struct rusage usage {};
  getrusage(RUSAGE_SELF, &usage);
  const double* despl = WORK.reals(SOLUTION.DESPL);
  double tip = 0.0;
  for (int g = 0; g < PROBLEM.NTOTV; ++g) tip = std::min(tip, despl[g]);
  std::fprintf(stderr, "ntotv=%d read_s=%.3f stiffness_s=%.3f solucion_s=%.3f total_s=%.3f work_mb=%.1f maxrss_mb=%.1f "
               "min_displacement=%.9g",
               PROBLEM.NTOTV, seconds(t0, t1), seconds(t1, t2), seconds(t2, t3), seconds(t0, t3),
               4.0 * RUN.NXTPOS / 1048576.0, usage.ru_maxrss / 1024.0, tip);
  if (choice.solver == 2) {
    const double flops = skyline_factor_flops(WORK.ints(SOLUTION.LPONT), SOLUTION.NEQNS);
    std::fprintf(stderr,
                 " neqns=%d profile=%lld profile_natural=%lld profile_rcm=%lld profile_sloan=%lld order=%d "
                 "renumber_s=%.3f assembly_s=%.3f factor_s=%.3f gflops=%.2f progress_s=%.3f",
                 SOLUTION.NEQNS, static_cast<long long>(SOLUTION.profile_length),
                 static_cast<long long>(SOLUTION.profile_natural), static_cast<long long>(SOLUTION.profile_rcm),
                 static_cast<long long>(SOLUTION.profile_sloan), static_cast<int>(SOLUTION.order_used),
                 SOLUTION.renumbering_seconds, SOLUTION.assembly_seconds, SOLUTION.factor_seconds,
                 flops / SOLUTION.factor_seconds * 1e-9, progress_line_seconds(SOLUTION.NEQNS));
  }
  if (choice.solver == 6) {
    const SparseFactorReport& r = SPARSE_REPORT;
    std::fprintf(stderr,
                 " neqns=%d entries_upper=%.0f factor_entries=%.0f flops=%.3g ordering=\"%s\" assembly_s=%.3f "
                 "analysis_s=%.3f factor_s=%.3f solve_s=%.3f gflops=%.2f library_peak_mb=%.1f",
                 SOLUTION.NEQNS, r.matrix_entries, r.factor_entries, r.flops, r.ordering.c_str(),
                 SOLUTION.assembly_seconds, r.analysis_seconds, r.factor_seconds, r.solve_seconds,
                 r.factor_seconds > 0 ? r.flops / r.factor_seconds * 1e-9 : 0.0, r.peak_bytes / 1048576.0);
  }
  if (choice.solver == 3 || choice.solver == 5) {
    const int cycles = SOLUTION.iterations;
    const double* aslod = WORK.reals(SOLUTION.ASLOD);
    double ff = 0.0;
    for (int g = 0; g < PROBLEM.NTOTV; ++g) ff += aslod[g] * aslod[g];
    std::fprintf(stderr, " relative_residual=%.3g", std::sqrt(SOLUTION.residual / ff));
    std::fprintf(stderr,
                 " iterations=%d residual=%.3g setup_s=%.3f iteration_s=%.3f per_iteration_ms=%.3f products=%.0f "
                 "product_ms=%.3f shift=%g",
                 cycles, SOLUTION.residual, SOLUTION.setup_seconds, SOLUTION.iteration_seconds,
                 cycles > 0 ? 1e3 * SOLUTION.iteration_seconds / cycles : 0.0, SOLUTION.products,
                 SOLUTION.products > 0 ? 1e3 * SOLUTION.product_seconds / SOLUTION.products : 0.0, SOLUTION.shift);
    if (choice.solver == 5)
      std::fprintf(stderr, " neqns=%d entries=%lld product_gb_s=%.2f", SOLUTION.NEQNS,
                   static_cast<long long>(SOLUTION.entries),
                   SOLUTION.product_seconds > 0 ? product_bytes() * SOLUTION.products / SOLUTION.product_seconds * 1e-9
                                                : 0.0);
  }
  std::fprintf(stderr, "\n");
  close_all_units();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  const bool memory = argc > 1 && std::string(argv[argc - 1]) == "memory";
  const int words = argc - (memory ? 1 : 0);
  if (mode == "deck" && words == 5 && std::string(argv[2]) == "qu4") {
    qu4_deck(std::atol(argv[3]), std::atol(argv[4]), memory);
    return 0;
  }
  if (mode == "deck" && words == 6 && std::string(argv[2]) == "he8") {
    he8_deck(std::atol(argv[3]), std::atol(argv[4]), std::atol(argv[5]), memory);
    return 0;
  }
  if (mode == "solve" && argc >= 3) {
    PathChoice choice;
    bool natural = false, known = true;
    double load_factor = 1.0;
    for (int i = 3; i < argc; ++i) {
      const std::string word = argv[i];
      if (word == "natural") natural = true;
      else if (word.rfind("loads=", 0) == 0) load_factor = std::atof(word.c_str() + 6);
      else known = path_choice(word, choice) && known;
    }
    if (known) {
      try {
        return solve(argv[2], choice, natural, load_factor);
      } catch (const std::exception& stop) {
        std::fprintf(stderr, "stopped: %s\n", stop.what());
        return 1;
      }
    }
  }
  std::fprintf(stderr,
               "usage: bench_solvers deck qu4 NX NY [memory] | deck he8 NX NY NZ [memory] | solve DECK "
               "[ldlt|gauss|ebe|ebe-diagonal|cg|cg-ilu|gmres|gmres-ilu|sparse] [natural] [loads=FACTOR]\n");
  return 2;
}
