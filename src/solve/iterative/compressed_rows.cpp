#include "solve/iterative/compressed_rows.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "input/problem.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"
#include "solve/assembly.h"
#include "solve/solution_record.h"
#include "solve/element_loop.h"
#include "solve/supports.h"

namespace vortan {

namespace {

std::int32_t* temporary_ints(std::int64_t count) {
  return WORK.ints(DIREC1(RUN.NXTPOS, RUN.MEMORY, count, "CSRTM", INT_WORDS));
}

// The free equations of every element (and of every link, as a two-variable element),
// and for every equation the elements that hold it: what the rows of the structure
// are gathered from. Laid out in the work array above the cursor; the caller resets
// the cursor when done.
class ElementEquations {
 public:
  ElementEquations(const std::int32_t* leqns, std::int32_t neqns) : n_(neqns) {
    const std::int32_t start = RUN.NXTPOS;
    std::int64_t variables = 0;
    std::int32_t elements = PROBLEM.MGDLL;
    for_each_element([&](int, const std::int32_t*, int n) {
      variables += n;
      ++elements;
    });
    variables += 2 * std::int64_t{PROBLEM.MGDLL};
    first_ = temporary_ints(std::int64_t{elements} + 1);
    equations_ = temporary_ints(variables);
    std::int32_t e = 0;
    std::int32_t at = 0;
    auto add = [&](const std::int32_t* positions, int n) {
      first_[e++] = at;
      for (int i = 0; i < n; ++i) equations_[at++] = positions[i] > 0 ? leqns[positions[i] - 1] - 1 : -1;
    };
    for_each_element([&](int, const std::int32_t* positions, int n) { add(positions, n); });
    for (std::int32_t i = 0; i < PROBLEM.MGDLL; ++i) {
      std::int32_t pair[2];
      link_positions(i, pair[0], pair[1]);
      add(pair, 2);
    }
    first_[e] = at;
    // Elements of every equation, by counting sort.
    holders_first_ = temporary_ints(std::int64_t{neqns} + 1);
    std::fill(holders_first_, holders_first_ + neqns + 1, 0);
    std::int64_t held = 0;
    for (std::int32_t k = 0; k < at; ++k)
      if (equations_[k] >= 0) {
        ++holders_first_[equations_[k] + 1];
        ++held;
      }
    for (std::int32_t i = 0; i < neqns; ++i) holders_first_[i + 1] += holders_first_[i];
    holders_ = temporary_ints(held);
    marker_ = temporary_ints(neqns);  // first used as the fill cursor of each equation
    std::copy(holders_first_, holders_first_ + neqns, marker_);
    for (std::int32_t el = 0; el < e; ++el)
      for (std::int32_t k = first_[el]; k < first_[el + 1]; ++k)
        if (equations_[k] >= 0) holders_[marker_[equations_[k]]++] = el;
    std::fill(marker_, marker_ + neqns, -1);
    words_ = RUN.NXTPOS - start;
  }

  // Calls visit(j) once for every column j of row i: the diagonal and every equation
  // that an element of i holds.
  template <class Visit>
  void row(std::int32_t i, Visit visit) {
    marker_[i] = i;
    visit(i);
    for (std::int32_t h = holders_first_[i]; h < holders_first_[i + 1]; ++h) {
      const std::int32_t el = holders_[h];
      for (std::int32_t k = first_[el]; k < first_[el + 1]; ++k) {
        const std::int32_t j = equations_[k];
        if (j >= 0 && marker_[j] != i) {
          marker_[j] = i;
          visit(j);
        }
      }
    }
  }

  // Work-array words these tables take.
  std::int32_t words() const { return words_; }

 private:
  std::int32_t n_;
  std::int32_t* first_ = nullptr;          // element -> start of its equations
  std::int32_t* equations_ = nullptr;      // 0-based equations, -1 where not free
  std::int32_t* holders_first_ = nullptr;  // equation -> start of its elements
  std::int32_t* holders_ = nullptr;
  std::int32_t* marker_ = nullptr;         // last row that took each column
  std::int32_t words_ = 0;
};

[[noreturn]] void no_space(std::int64_t needed, std::int64_t available) {
  const std::string lines[2] = {
      fmt::X(5) + "ESPACIO INSUFICIENTE PARA ALMACENAR " + "MATRIZ DE RIGIDEZ",
      fmt::X(10) + "NLARG=" + fmt::I(needed, 8) + "NSIZZ" + fmt::I(available, 8)};
  for (int unit : {UNIT_CONSOLE, UNIT_LISTING}) {
    write_empty(unit, 5);
    for (const std::string& line : lines) write_record(unit, line);
  }
  ERRSTP("SOLGCAS:ESPACIO INSUFICIENTE MAT RIG");
}

}  // namespace

std::int32_t number_compressed_equations(const std::int32_t* iffix, std::int32_t* leqns) {
  std::int32_t counter = 0;
  for (std::int32_t g = 0; g < PROBLEM.NTOTV; ++g) leqns[g] = iffix[g] == 0 ? ++counter : 0;
  return counter;
}

void build_compressed_structure(const std::int32_t* leqns, std::int32_t neqns, int words_per_entry,
                                std::int32_t& ia_position, std::int32_t& ja_position) {
  ia_position = DIRECT(RUN.NXTPOS, RUN.MEMORY, std::int64_t{neqns} + 1, "IA", INT_WORDS);
  const std::int32_t mark = RUN.NXTPOS;
  std::int64_t entries = 0;
  std::int32_t table_words = 0;
  {
    ElementEquations tables(leqns, neqns);
    std::int32_t* ia = WORK.ints(ia_position);
    ia[0] = 0;
    for (std::int32_t i = 0; i < neqns; ++i) {
      std::int32_t length = 0;
      tables.row(i, [&](std::int32_t) { ++length; });
      entries += length;
      // The row starts are 32-bit: a longer structure could not be addressed anyway.
      ia[i + 1] = static_cast<std::int32_t>(std::min<std::int64_t>(entries, INT32_MAX));
    }
    table_words = tables.words();
  }
  RUN.NXTPOS = mark;
  // The tables are laid out again above the columns to fill them; a few words more for
  // the odd starts of the arrays.
  const std::int64_t free_words = std::int64_t{RUN.MEMORY} - RUN.NXTPOS - table_words - 16;
  const std::int64_t available = std::max<std::int64_t>(0, free_words / words_per_entry);
  if (available < entries) no_space(entries, available);
  ja_position = DIRECT(RUN.NXTPOS, RUN.MEMORY, entries, "JA", INT_WORDS);
  const std::int32_t fill_mark = RUN.NXTPOS;
  {
    ElementEquations tables(leqns, neqns);
    const std::int32_t* ia = WORK.ints(ia_position);
    std::int32_t* ja = WORK.ints(ja_position);
    for (std::int32_t i = 0; i < neqns; ++i) {
      std::int32_t at = ia[i];
      tables.row(i, [&](std::int32_t j) { ja[at++] = j; });
      std::sort(ja + ia[i], ja + ia[i + 1]);
    }
  }
  RUN.NXTPOS = fill_mark;
}

void add_to_compressed_rows(const double* matrix, int n, const std::int32_t* positions, CompressedSystem& s) {
  std::int32_t eq[MAX_ELEMENT_VARIABLES];
  for (int i = 0; i < n; ++i) eq[i] = positions[i] > 0 ? s.leqns[positions[i] - 1] - 1 : -1;
  const CompressedRows& rows = s.rows;
  for (int j = 0; j < n; ++j) {
    if (eq[j] >= 0 || positions[j] < 1) continue;
    // A prescribed column: its entries in free rows act on the prescribed value.
    if (s.prescribed_diagonal != nullptr)
      s.prescribed_diagonal[positions[j] - 1] += matrix[j + static_cast<std::ptrdiff_t>(j) * n];
    const double value = s.fixed[positions[j] - 1];
    if (value == 0.0) continue;
    const double* column = matrix + static_cast<std::ptrdiff_t>(j) * n;
    for (int i = 0; i < n; ++i)
      if (eq[i] >= 0) s.rhs[eq[i]] -= column[i] * value;
  }
  for (int i = 0; i < n; ++i) {
    if (eq[i] < 0) continue;
    const std::int32_t* begin = rows.ja + rows.ia[eq[i]];
    const std::int32_t* end = rows.ja + rows.ia[eq[i] + 1];
    for (int j = 0; j < n; ++j) {
      if (eq[j] < 0) continue;
      const std::int32_t* at = std::lower_bound(begin, end, eq[j]);
      rows.a[at - rows.ja] += matrix[i + static_cast<std::ptrdiff_t>(j) * n];
    }
  }
}

double assemble_compressed_system(CompressedSystem& s, double* aslod) {
  const CompressedRows& rows = s.rows;
  ZEROR(rows.entries(), rows.a);
  ZEROR(rows.n, s.rhs);
  ZEROR(PROBLEM.NTOTV, aslod);
  const std::int32_t mark = RUN.NXTPOS;
  if (PROBLEM.MGDLL > 0) {  // the largest diagonal of the prescribed positions decides the penalty too
    s.prescribed_diagonal = WORK.reals(DIREC1(RUN.NXTPOS, RUN.MEMORY, PROBLEM.NTOTV, "DIAGP", REAL_WORDS));
    ZEROR(PROBLEM.NTOTV, s.prescribed_diagonal);
  }
  for_each_element_stiffness([&](int e, const std::int32_t* positions, int n, const double* k) {
    add_element_loads(e, positions, n, aslod);
    add_to_compressed_rows(k, n, positions, s);
  });
  for (std::int32_t i = 0; i < PROBLEM.MRESO; ++i) {
    const std::int32_t g = spring_position(i);
    const double k = spring_stiffness(i);
    add_to_compressed_rows(&k, 1, &g, s);
  }
  double penalty = 0.0;
  if (PROBLEM.MGDLL > 0) {
    double largest = 0.0;
    for (std::int32_t g = 0; g < PROBLEM.NTOTV; ++g) largest = std::max(largest, std::fabs(s.prescribed_diagonal[g]));
    for (std::int32_t i = 0; i < rows.n; ++i) {
      const std::int32_t* begin = rows.ja + rows.ia[i];
      const std::int32_t* at = std::lower_bound(begin, rows.ja + rows.ia[i + 1], i);
      largest = std::max(largest, std::fabs(rows.a[at - rows.ja]));
    }
    s.prescribed_diagonal = nullptr;
    penalty = LINK_PENALTY_FACTOR * largest;
    double matrix[4];
    link_matrix(penalty, matrix);
    for (std::int32_t i = 0; i < PROBLEM.MGDLL; ++i) {
      std::int32_t pair[2];
      link_positions(i, pair[0], pair[1]);
      add_to_compressed_rows(matrix, 2, pair, s);
    }
  }
  RUN.NXTPOS = mark;
  for (std::int32_t g = 0; g < PROBLEM.NTOTV; ++g)
    if (s.leqns[g] > 0) s.rhs[s.leqns[g] - 1] += aslod[g];
  return penalty;
}

void compressed_product(const CompressedRows& rows, const double* x, double* y) {
  for (std::int32_t i = 0; i < rows.n; ++i) y[i] = row_sum(rows.a, rows.ja, x, rows.ia[i], rows.ia[i + 1]);
}

void scatter_compressed_solution(const double* x) {
  const std::int32_t* leqns = WORK.ints(SOLUTION.LEQNS);
  const double* fixed = WORK.reals(PROBLEM.FIXED);
  double* despl = WORK.reals(SOLUTION.DESPL);
  for (std::int32_t g = 0; g < PROBLEM.NTOTV; ++g) despl[g] = leqns[g] > 0 ? x[leqns[g] - 1] : fixed[g];
}

}  // namespace vortan
