// Benchmark decks and in-process timing of the direct solution paths.
//
//   bench_direct_solvers deck qu4 NX NY       plane-stress QU4 cantilever, NX x NY elements
//   bench_direct_solvers deck he8 NX NY NZ    solid HE8 cantilever, NX x NY x NZ elements
//   bench_direct_solvers solve DECK [gauss] [natural]
//
// "deck" writes a complete static linear problem file to standard output: the
// cantilever of unit-square (unit-cube) elements along x, clamped at x = 0, with a
// total end load of -1 spread over the nodes of the free end (along y for QU4, along z
// for HE8). Nodes are numbered x fastest.
//
// "solve" reads a deck in-process up to its loads, applies the deck's end load to the
// element load vectors, runs the element stiffness loop and SOLUCION (LDLT, or Gauss
// elimination with "gauss"; "natural" switches the node renumbering off), and prints
// one line of figures (key=value) to standard error; standard output receives the
// console progress lines, as in a run.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
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

void qu4_deck(long nx, long ny) {
  auto node = [&](long i, long j) { return 1 + i + j * (nx + 1); };
  write_header("VOLADIZO QU4 BENCHMARK", (nx + 1) * (ny + 1), nx * ny, "TENSION_PLANA", "QU4");
  std::printf("MATERIAL YOUNG=1000.0 POISSON=0.25 DENSIDAD=0.0 ESPESOR=1.0\nFIN_SET\nGEOMETRIA\n");
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

void he8_deck(long nx, long ny, long nz) {
  auto node = [&](long i, long j, long k) { return 1 + i + (nx + 1) * (j + (ny + 1) * k); };
  write_header("VOLADIZO HE8 BENCHMARK", (nx + 1) * (ny + 1) * (nz + 1), nx * ny * nz, "SOLIDO", "HE8");
  std::printf("MATERIAL YOUNG=1000.0 POISSON=0.25 DENSIDAD=0.0\nFIN_SET\nGEOMETRIA\n");
  long e = 0;
  for (long k = 0; k < nz; ++k)
    for (long j = 0; j < ny; ++j)
      for (long i = 0; i < nx; ++i)
        std::printf("%ld 1 %ld %ld %ld %ld %ld %ld %ld %ld\n", ++e, node(i, j, k), node(i + 1, j, k),
                    node(i + 1, j + 1, k), node(i, j + 1, k), node(i, j, k + 1), node(i + 1, j, k + 1),
                    node(i + 1, j + 1, k + 1), node(i, j + 1, k + 1));
  for (long k = 0; k <= nz; ++k)
    for (long j = 0; j <= ny; ++j)
      for (long i = 0; i <= nx; ++i) std::printf("%ld %ld.0 %ld.0 %ld.0\n", node(i, j, k), i, j, k);
  std::printf("FIN_GEOMETRIA\nCONDICIONES_DE_CONTORNO\n");
  for (long k = 0; k <= nz; ++k)
    for (long j = 0; j <= ny; ++j) std::printf("%ld 1 1 1\n", node(0, j, k));
  std::printf("FIN_CONDICIONES_DE_CONTORNO\n");
  std::vector<long> tip;  // the free end's edge at y = 0 .. ny, all z, loaded along z
  for (long k = 0; k <= nz; ++k)
    for (long j = 0; j <= ny; ++j) tip.push_back(node(nx, j, k));
  write_loads(tip, 3, 3);
}

// The deck's point loads (after "PUNTUALES" up to "FIN_PUNTUALES"), each put into the
// load vector of the first element that holds its node.
void apply_deck_loads(const std::string& path) {
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
      vortan::WORK.reals(s.CARGA)[(e - 1) + static_cast<long>((k - 1) * s.NDOFN + c) * s.NELEM] += value;
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

int solve(const std::string& path, bool gauss, bool natural) {
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
  apply_deck_loads(path);
  const auto t1 = Clock::now();
  compute_element_stiffnesses();
  const auto t2 = Clock::now();
  PROBLEM.solver = gauss ? 1 : 2;
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
  if (!gauss) {
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
  std::fprintf(stderr, "\n");
  close_all_units();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "deck" && argc == 5 && std::string(argv[2]) == "qu4") {
    qu4_deck(std::atol(argv[3]), std::atol(argv[4]));
    return 0;
  }
  if (mode == "deck" && argc == 6 && std::string(argv[2]) == "he8") {
    he8_deck(std::atol(argv[3]), std::atol(argv[4]), std::atol(argv[5]));
    return 0;
  }
  if (mode == "solve" && argc >= 3) {
    bool gauss = false, natural = false;
    for (int i = 3; i < argc; ++i) {
      gauss = gauss || std::string(argv[i]) == "gauss";
      natural = natural || std::string(argv[i]) == "natural";
    }
    try {
      return solve(argv[2], gauss, natural);
    } catch (const std::exception& stop) {
      std::fprintf(stderr, "stopped: %s\n", stop.what());
      return 1;
    }
  }
  std::fprintf(stderr, "usage: bench_direct_solvers deck qu4 NX NY | deck he8 NX NY NZ | solve DECK [gauss] [natural]\n");
  return 2;
}
