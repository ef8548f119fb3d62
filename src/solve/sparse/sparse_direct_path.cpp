// Solver code 6: the sparse direct path (sparse_direct.h).
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <string>
#include <vector>

#include "input/dof_table.h"
#include "input/problem.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"
#include "solve/finite_solution.h"
#include "solve/iterative/compressed_rows.h"
#include "solve/pivot_rule.h"
#include "solve/solution_paths.h"
#include "solve/solution_record.h"
#include "solve/sparse/sparse_direct.h"

#ifdef VORTAN_HAVE_CHOLMOD
#include <cholmod.h>
#endif

namespace vortan {

SparseFactorReport SPARSE_REPORT;

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* ROUTINE = "SOLDIS";

// MemAvailable of /proc/meminfo in bytes, or -1 when it cannot be read.
double read_available_memory() {
  std::FILE* file = std::fopen("/proc/meminfo", "r");
  if (file == nullptr) return -1.0;
  char line[256];
  double bytes = -1.0;
  while (std::fgets(line, sizeof line, file) != nullptr) {
    unsigned long long kib = 0;
    if (std::sscanf(line, "MemAvailable: %llu kB", &kib) == 1) {
      bytes = 1024.0 * static_cast<double>(kib);
      break;
    }
  }
  std::fclose(file);
  return bytes;
}

AvailableMemoryQuery available_memory = read_available_memory;

double megabytes(double bytes) { return bytes / (1024.0 * 1024.0); }

void write_information_line(const std::string& label, const std::string& value) {
  write_record(UNIT_LISTING, fmt::X(15) + label + value);
}

void print_factor_information() {
  const SparseFactorReport& r = SPARSE_REPORT;
  write_empty(UNIT_LISTING, 2);
  write_record(UNIT_LISTING, fmt::X(5) + "INFORMACION DE SOLUCION DIRECTA DISPERSA:");
  write_record(UNIT_LISTING, fmt::X(5) + "=========================================");
  write_empty(UNIT_LISTING);
  write_information_line("NUMERO DE GDL              =", fmt::I(PROBLEM.NTOTV, 12));
  write_information_line("NUMERO DE ECUACIONES       =", fmt::I(SOLUTION.NEQNS, 12));
  write_information_line("NO NULOS DE LA MATRIZ      =", fmt::I(std::llround(r.matrix_entries), 12) + " (TRIANGULO SUPERIOR)");
  write_information_line("ORDENACION                 =", " " + r.ordering);
  write_information_line("NO NULOS DEL FACTOR        =", fmt::I(std::llround(r.factor_entries), 12));
  write_information_line("OPERACIONES DEL FACTOR     =", fmt::E(r.flops, 12, 4));
  write_information_line("TIEMPO DE FACTORIZACION    =", fmt::F(r.factor_seconds, 12, 3) + " S");
  write_information_line("MEMORIA DE LA FACTORIZACION=",
                         fmt::F(megabytes(r.peak_bytes), 12, 1) + " MB (FUERA DEL ARREGLO DE TRABAJO)");
}

// The allocation table names the memory that the work array does not hold.
void note_outside_memory() {
  write_empty(UNIT_ALLOCATION);
  write_record(UNIT_ALLOCATION, fmt::X(5) + "FACTOR DISPERSO FUERA DEL ARREGLO DE TRABAJO: MEMORIA MAXIMA DE LA BIBLIOTECA" +
                                    fmt::F(megabytes(SPARSE_REPORT.peak_bytes), 12, 1) + " MB");
}

[[noreturn]] void stop_without_memory(double needed, double available) {
  write_record(UNIT_LISTING, fmt::X(5) + "MEMORIA NECESARIA PARA EL FACTOR DISPERSO =" + fmt::F(megabytes(needed), 12, 1) +
                                 " MB");
  if (available >= 0.0)
    write_record(UNIT_LISTING, fmt::X(5) + "MEMORIA DISPONIBLE EN EL SISTEMA          =" +
                                   fmt::F(megabytes(available), 12, 1) + " MB");
  ERRSTP(std::string(ROUTINE) + ": MEMORIA DEL SISTEMA AGOTADA");
}

void lay_out() {
  allocate_global_vectors();
  SOLUTION.LEQNS = DIRECT(RUN.NXTPOS, RUN.MEMORY, PROBLEM.NTOTV, "LEQNS", INT_WORDS);
  const std::int32_t n = number_compressed_equations(WORK.ints(PROBLEM.IFFIX), WORK.ints(SOLUTION.LEQNS));
  SOLUTION.NEQNS = n;
  SOLUTION.VECTU = DIRECT(RUN.NXTPOS, RUN.MEMORY, n, "VECTU", REAL_WORDS);
  SOLUTION.VECTX = DIRECT(RUN.NXTPOS, RUN.MEMORY, n, "VECTX", REAL_WORDS);
  build_compressed_structure(WORK.ints(SOLUTION.LEQNS), n, INT_WORDS + REAL_WORDS, SOLUTION.IA, SOLUTION.JA);
  SOLUTION.entries = WORK.ints(SOLUTION.IA)[n];
  SOLUTION.STIFF = DIRECT(RUN.NXTPOS, RUN.MEMORY, SOLUTION.entries, "STIFF", REAL_WORDS);
}

// The diagonal entry of row i.
double diagonal_of(const CompressedRows& rows, std::int32_t i) {
  for (std::int32_t k = rows.ia[i]; k < rows.ia[i + 1]; ++k)
    if (rows.ja[k] == i) return rows.a[k];
  return 0.0;
}

double upper_entries(const CompressedRows& rows) {
  // Every row holds its diagonal; the off-diagonal entries come in symmetric pairs.
  return static_cast<double>(rows.n) + (static_cast<double>(rows.entries()) - rows.n) / 2.0;
}

#ifdef VORTAN_HAVE_CHOLMOD

const char* ordering_name(int ordering) {
  switch (ordering) {
    case CHOLMOD_NATURAL: return "NATURAL";
    case CHOLMOD_GIVEN: return "DADA";
    case CHOLMOD_AMD: return "GRADO MINIMO APROXIMADO (AMD)";
    case CHOLMOD_METIS: return "DISECCION ANIDADA (METIS)";
    case CHOLMOD_NESDIS: return "DISECCION ANIDADA (NESDIS)";
    case CHOLMOD_COLAMD: return "COLAMD";
    default: return "DESCONOCIDA";
  }
}

// The equations grouped by node: the equations of node k (in the compacted count of
// nodes that hold a free equation) are equations[start[k] .. start[k + 1]), and
// node_of[e] is the node of equation e (both 0-based).
struct EquationsByNode {
  std::vector<std::int32_t> start, equations, node_of;
};

EquationsByNode group_equations_by_node(std::int32_t n) {
  EquationsByNode g;
  g.node_of.assign(n, -1);
  g.start.push_back(0);
  const std::int32_t* leqns = WORK.ints(SOLUTION.LEQNS);
  for (std::int32_t node = 1; node <= PROBLEM.NPNODS; ++node) {
    const std::int64_t first = adres(node, 2), count = adres(node, 1);
    const std::size_t before = g.equations.size();
    for (std::int64_t p = first; p < first + count; ++p) {
      const std::int32_t e = leqns[p] - 1;
      if (e < 0) continue;
      g.node_of[e] = static_cast<std::int32_t>(g.start.size() - 1);
      g.equations.push_back(e);
    }
    if (g.equations.size() > before) g.start.push_back(static_cast<std::int32_t>(g.equations.size()));
  }
  return g;
}

// The graph of the nodes: two nodes are adjacent when an entry of the matrix couples
// one of their equations (both triangles and the diagonal, as the library wants them).
void node_graph(const CompressedRows& rows, const EquationsByNode& g, std::vector<std::int32_t>& p,
                std::vector<std::int32_t>& i) {
  const std::int32_t nodes = static_cast<std::int32_t>(g.start.size()) - 1;
  std::vector<std::int32_t> mark(nodes, -1);
  p.assign(1, 0);
  i.clear();
  for (std::int32_t a = 0; a < nodes; ++a) {
    const std::size_t column_start = i.size();
    for (std::int32_t k = g.start[a]; k < g.start[a + 1]; ++k) {
      const std::int32_t e = g.equations[k];
      for (std::int32_t q = rows.ia[e]; q < rows.ia[e + 1]; ++q) {
        const std::int32_t b = g.node_of[rows.ja[q]];
        if (mark[b] != a) {
          mark[b] = a;
          i.push_back(b);
        }
      }
    }
    std::sort(i.begin() + static_cast<std::ptrdiff_t>(column_start), i.end());
    p.push_back(static_cast<std::int32_t>(i.size()));
  }
}

// One factorisation and solution with the library: its common block, the factor, and
// their release whichever way the solution ends (a fatal stop included).
class Cholmod {
 public:
  Cholmod() {
    cholmod_start(&common_);
    common_.print = 0;  // the program reports; the library stays silent
    common_.error_handler = nullptr;
    common_.nmethods = 1;
    common_.method[0].ordering = CHOLMOD_METIS;
    common_.postorder = 1;
    common_.supernodal = CHOLMOD_SUPERNODAL;
  }
  ~Cholmod() {
    if (factor_ != nullptr) cholmod_free_factor(&factor_, &common_);
    cholmod_finish(&common_);
  }
  Cholmod(const Cholmod&) = delete;
  Cholmod& operator=(const Cholmod&) = delete;

  // Orders and factors the matrix of the rows (read as columns, upper triangle);
  // stops on a matrix that is not positive definite, on a pivot that kept no digits,
  // and when the memory of the system cannot hold the factor.
  void factor(const CompressedRows& rows) {
    matrix_.nrow = matrix_.ncol = static_cast<std::size_t>(rows.n);
    matrix_.nzmax = static_cast<std::size_t>(rows.entries());
    matrix_.p = const_cast<std::int32_t*>(rows.ia);
    matrix_.i = const_cast<std::int32_t*>(rows.ja);
    matrix_.x = rows.a;
    matrix_.stype = 1;
    matrix_.itype = CHOLMOD_INT;
    matrix_.xtype = CHOLMOD_REAL;
    matrix_.dtype = CHOLMOD_DOUBLE;
    matrix_.sorted = 1;
    matrix_.packed = 1;

    auto start = Clock::now();
    std::vector<std::int32_t> permutation = order_by_nodes(rows);
    if (static_cast<std::int32_t>(permutation.size()) == rows.n) {
      common_.method[0].ordering = CHOLMOD_GIVEN;
      factor_ = cholmod_analyze_p(&matrix_, permutation.data(), nullptr, 0, &common_);
    } else {  // equations outside the node table: the library orders the equations
      factor_ = cholmod_analyze(&matrix_, &common_);
    }
    check_status();
    SPARSE_REPORT.analysis_seconds = seconds_since(start);
    SPARSE_REPORT.ordering = ordering_name(CHOLMOD_METIS);
    SPARSE_REPORT.factor_entries = common_.lnz;
    SPARSE_REPORT.flops = common_.fl;
    check_room_for_factor();

    start = Clock::now();
    cholmod_factorize(&matrix_, factor_, &common_);
    SPARSE_REPORT.factor_seconds = seconds_since(start);
    if (common_.status == CHOLMOD_NOT_POSDEF) stop_not_positive_definite(rows);
    check_status();
    check_pivots(rows);
    SPARSE_REPORT.peak_bytes = static_cast<double>(common_.memory_usage);
  }

  // Nested dissection of the graph of the nodes rather than of the equations: the
  // equations of a node share their couplings, so the node graph has the same
  // separators with a fraction of the edges (a quarter in the plane, a ninth in
  // space), and the library orders it several times faster. The equations of each
  // node follow one another in the order of the nodes.
  std::vector<std::int32_t> order_by_nodes(const CompressedRows& rows) {
    const EquationsByNode g = group_equations_by_node(rows.n);
    std::vector<std::int32_t> p, i;
    node_graph(rows, g, p, i);
    const std::size_t nodes = g.start.size() - 1;
    cholmod_sparse graph{};
    graph.nrow = graph.ncol = nodes;
    graph.nzmax = i.size();
    graph.p = p.data();
    graph.i = i.data();
    graph.stype = 1;
    graph.itype = CHOLMOD_INT;
    graph.xtype = CHOLMOD_PATTERN;
    graph.dtype = CHOLMOD_DOUBLE;
    graph.sorted = 1;
    graph.packed = 1;
    std::vector<std::int32_t> node_order(nodes);
    cholmod_metis(&graph, nullptr, 0, 0, node_order.data(), &common_);
    check_status();
    std::vector<std::int32_t> permutation;
    permutation.reserve(static_cast<std::size_t>(rows.n));
    for (const std::int32_t node : node_order)
      for (std::int32_t k = g.start[node]; k < g.start[node + 1]; ++k) permutation.push_back(g.equations[k]);
    return permutation;
  }

  // x = A^-1 b.
  void solve(const double* b, double* x) {
    cholmod_dense right{};
    right.nrow = right.d = right.nzmax = factor_->n;
    right.ncol = 1;
    right.x = const_cast<double*>(b);
    right.xtype = CHOLMOD_REAL;
    right.dtype = CHOLMOD_DOUBLE;
    const auto start = Clock::now();
    cholmod_dense* solution = cholmod_solve(CHOLMOD_A, factor_, &right, &common_);
    check_status();
    std::memcpy(x, solution->x, factor_->n * sizeof(double));
    cholmod_free_dense(&solution, &common_);
    SPARSE_REPORT.solve_seconds = seconds_since(start);
    SPARSE_REPORT.peak_bytes = static_cast<double>(common_.memory_usage);
  }

 private:
  void check_status() {
    const int status = common_.status;
    if (status == CHOLMOD_OK) return;
    if (status == CHOLMOD_OUT_OF_MEMORY) stop_without_memory(static_cast<double>(common_.memory_usage), available_memory());
    if (status == CHOLMOD_TOO_LARGE) ERRSTP(std::string(ROUTINE) + ": MATRIZ DEMASIADO GRANDE");
    if (status < 0) ERRSTP(std::string(ROUTINE) + ": ERROR DE LA BIBLIOTECA " + std::to_string(status));
  }

  // The supernodal factor's values and integer pattern, the library's copy of the
  // permuted matrix and its workspace, against what the system has left.
  void check_room_for_factor() {
    const double n = static_cast<double>(factor_->n);
    double needed = static_cast<double>(common_.memory_inuse);
    if (factor_->is_super)
      needed += 8.0 * static_cast<double>(factor_->xsize) + 4.0 * static_cast<double>(factor_->ssize);
    else
      needed += 12.0 * common_.lnz;
    needed += 12.0 * SPARSE_REPORT.matrix_entries + 64.0 * n;
    const double available = available_memory();
    if (available >= 0.0 && needed > available) stop_without_memory(needed, available);
  }

  // The equation (1-based, in the numbering of the rows) of column k of the factor.
  std::int32_t equation_of_column(std::size_t k) const {
    return static_cast<const std::int32_t*>(factor_->Perm)[k] + 1;
  }

  // The library stops at the first pivot that is zero or negative without giving it
  // back: the listing names the equation and its original diagonal.
  [[noreturn]] void stop_not_positive_definite(const CompressedRows& rows) {
    const std::int32_t equation = equation_of_column(factor_->minor);
    const DofPlace place = place_of_equation(WORK.ints(SOLUTION.LEQNS), equation);
    write_record(UNIT_LISTING, "MATRIZ NO DEFINIDA POSITIVA, DIAGONAL ORIGINAL=" +
                                   fmt::E(diagonal_of(rows, equation - 1), 20, 6));
    write_record(UNIT_LISTING, "ECUACION No.=" + fmt::I(equation, 10) + " NODO=" + fmt::I(place.node, 10) +
                                   " GDL=" + fmt::I(place.dof, 3));
    ERRSTP(std::string(ROUTINE) + ": MECANISMO NODO " + std::to_string(place.node) + " GDL " +
           std::to_string(place.dof));
  }

  // The squared diagonal of the factor is the pivot of each equation; one that kept no
  // digits of its original diagonal is a mechanism (pivot_rule.h).
  void check_pivots(const CompressedRows& rows) {
    const double* x = static_cast<const double*>(factor_->x);
    auto check = [&](std::size_t k, double l) {
      const std::int32_t equation = equation_of_column(k);
      const double diagonal = diagonal_of(rows, equation - 1);
      if (pivot_lost_its_digits(l * l, diagonal))
        stop_on_lost_pivot(ROUTINE, equation, l * l, diagonal, place_of_equation(WORK.ints(SOLUTION.LEQNS), equation));
    };
    if (factor_->is_super) {
      const auto* super = static_cast<const std::int32_t*>(factor_->super);
      const auto* pi = static_cast<const std::int32_t*>(factor_->pi);
      const auto* px = static_cast<const std::int32_t*>(factor_->px);
      for (std::size_t s = 0; s < factor_->nsuper; ++s) {
        const std::int64_t rows_of_s = pi[s + 1] - pi[s];
        for (std::int32_t k = super[s]; k < super[s + 1]; ++k) {
          const std::int64_t j = k - super[s];
          check(static_cast<std::size_t>(k), x[px[s] + j + j * rows_of_s]);
        }
      }
    } else {
      const auto* p = static_cast<const std::int32_t*>(factor_->p);
      for (std::size_t k = 0; k < factor_->n; ++k) {
        const double d = x[p[k]];
        check(k, factor_->is_ll ? d : std::sqrt(std::fabs(d)));
      }
    }
  }

  cholmod_common common_{};
  cholmod_sparse matrix_{};
  cholmod_factor* factor_ = nullptr;
};

void factor_and_solve(const CompressedRows& rows, const double* b, double* x) {
  Cholmod library;
  library.factor(rows);
  library.solve(b, x);
}

#else

[[noreturn]] void factor_and_solve(const CompressedRows&, const double*, double*) {
  ERRSTP(std::string(ROUTINE) + ": FALTA PAQUETE " + SPARSE_DIRECT_PACKAGE);
}

#endif

}  // namespace

bool sparse_direct_available() {
#ifdef VORTAN_HAVE_CHOLMOD
  return true;
#else
  return false;
#endif
}

void set_available_memory_query(AvailableMemoryQuery query) {
  available_memory = query != nullptr ? query : read_available_memory;
}

void solve_by_sparse_direct(const SolveOptions& options) {
  if (!sparse_direct_available()) factor_and_solve({}, nullptr, nullptr);
  if (!(options.reuse_arrays && SOLUTION.STIFF != 0 && SOLUTION.VECTX != 0)) lay_out();
  SPARSE_REPORT = SparseFactorReport{};
  CompressedRows rows;
  rows.n = SOLUTION.NEQNS;
  rows.ia = WORK.ints(SOLUTION.IA);
  rows.ja = WORK.ints(SOLUTION.JA);
  rows.a = WORK.reals(SOLUTION.STIFF);
  CompressedSystem system;
  system.rows = rows;
  system.leqns = WORK.ints(SOLUTION.LEQNS);
  system.fixed = WORK.reals(PROBLEM.FIXED);
  system.rhs = WORK.reals(SOLUTION.VECTU);
  const auto start = Clock::now();
  SOLUTION.penalty = assemble_compressed_system(system, WORK.reals(SOLUTION.ASLOD));
  SOLUTION.assembly_seconds = seconds_since(start);
  ZEROR(PROBLEM.NTOTV, WORK.reals(SOLUTION.REACT));
  SPARSE_REPORT.matrix_entries = upper_entries(rows);
  double* x = WORK.reals(SOLUTION.VECTX);
  if (rows.n > 0) {
    factor_and_solve(rows, system.rhs, x);
    SOLUTION.factor_seconds = SPARSE_REPORT.factor_seconds;
    note_outside_memory();
    if (options.print_results) print_factor_information();
  }
  scatter_compressed_solution(x);
  check_finite_displacements(WORK.reals(SOLUTION.DESPL));
  finish_with_element_reactions(options, SOLUTION.penalty);
}

}  // namespace vortan
