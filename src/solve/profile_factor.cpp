#include "solve/profile_factor.h"

#include <algorithm>

#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "solve/dot_kernels.h"
#include "solve/pivot_rule.h"

namespace vortan {

namespace {

// The place of the equation follows the block when the caller gave the numbering.
[[noreturn]] void not_positive_definite(std::int32_t equation, double pivot, const std::int32_t* equation_of_position) {
  write_record(UNIT_LISTING, "LA MATRIZ DE RIGIDEZ NO ES DEFINIDA POSITIVA");
  write_record(UNIT_LISTING, "ECUACION =" + fmt::I(equation, 4));
  write_record(UNIT_LISTING, "PIVOTE =" + fmt::E(pivot, 20, 12));
  const DofPlace place = place_of_equation(equation_of_position, equation);
  if (place.node > 0) write_record(UNIT_LISTING, "NODO =" + fmt::I(place.node, 10) + " GDL =" + fmt::I(place.dof, 3));
  ERRSTP("DECOMP: MAT RIGIDEZ NO DEFINIDA POSITIVA");
}

// Column n (1-based) of the storage: its diagonal at a[maxad(n) - 1], then rows
// n - 1, n - 2, ... upward; returns the count of entries above the diagonal.
inline std::int32_t column_height(const std::int32_t* maxad, std::int32_t n) {
  return maxad[n] - maxad[n - 1] - 1;
}

// Reduces the entries above the diagonal of column n: the entry of row i becomes
// a(i, n) - sum over k < i of u(k, i) g(k, n), over the rows both columns hold.
void reduce_column(double* a, const std::int32_t* maxad, std::int32_t n, std::int32_t height) {
  double* column = a + maxad[n - 1] + 1;  // column[t - 1] is row n - t
  // Top down; the topmost entry has nothing above it to reduce with.
  for (std::int32_t t = height - 1; t >= 1; --t) {
    const std::int32_t i = n - t;
    const std::int32_t common = std::min(column_height(maxad, i), height - t);
    if (common <= 0) continue;
    // Rows i - 1, i - 2, ...: column i holds them after its diagonal, column n from column[t].
    column[t - 1] -= dot_contiguous(a + maxad[i - 1] + 1, column + t, common);
  }
}

}  // namespace

std::int32_t DECOMP(double* stiff, const std::int32_t* maxad, std::int32_t neqns, bool allow_negative,
                    const std::int32_t* equation_of_position) {
  double* a = stiff - 1;  // a[address] with the 1-based addresses of MAXAD
  std::int32_t negatives = 0;
  for (std::int32_t n = 1; n <= neqns; ++n) {
    const std::int32_t height = column_height(maxad, n);
    if (height > 1) reduce_column(a, maxad, n, height);
    double& diagonal = a[maxad[n - 1]];
    const double original_diagonal = diagonal;
    double* column = a + maxad[n - 1] + 1;
    double b = 0.0;
    for (std::int32_t t = 0; t < height; ++t) {
      const double c = column[t] / a[maxad[n - t - 2]];
      b += c * column[t];
      column[t] = c;
    }
    diagonal -= b;
    if (diagonal == 0.0 || (diagonal < 0.0 && !allow_negative)) not_positive_definite(n, diagonal, equation_of_position);
    // A shifted matrix may come as near singular as the shift comes near an
    // eigenvalue; only a plain stiffness is held to the relative pivot rule.
    if (!allow_negative && pivot_lost_its_digits(diagonal, original_diagonal))
      stop_on_lost_pivot("DECOMP", n, diagonal, original_diagonal, place_of_equation(equation_of_position, n));
    if (diagonal < 0.0) ++negatives;
  }
  return negatives;
}

void profile_resolution(const double* stiff, const std::int32_t* maxad, std::int32_t neqns, double* v) {
  const double* a = stiff - 1;
  double* x = v - 1;  // x[n], 1-based
  for (std::int32_t n = 1; n <= neqns; ++n) {
    const double* column = a + maxad[n - 1] + 1;  // rows n-1, n-2, ...
    const std::int32_t height = column_height(maxad, n);
    double c = 0.0;
    for (std::int32_t t = 0; t < height; ++t) c += column[t] * x[n - 1 - t];
    x[n] -= c;
  }
  for (std::int32_t n = 1; n <= neqns; ++n) x[n] /= a[maxad[n - 1]];
  for (std::int32_t n = neqns; n >= 2; --n) {
    const double* column = a + maxad[n - 1] + 1;
    const std::int32_t height = column_height(maxad, n);
    for (std::int32_t t = 0; t < height; ++t) x[n - 1 - t] -= column[t] * x[n];
  }
}

namespace {

// r[k] -= c * x[k] for k < count, four at a time.
inline void subtract_scaled_run(double* __restrict r, double c, const double* __restrict x, int count) {
  int k = 0;
  for (; k + 4 <= count; k += 4) {
    r[k] -= c * x[k];
    r[k + 1] -= c * x[k + 1];
    r[k + 2] -= c * x[k + 2];
    r[k + 3] -= c * x[k + 3];
  }
  for (; k < count; ++k) r[k] -= c * x[k];
}

}  // namespace

void profile_resolution_interleaved(const double* stiff, const std::int32_t* maxad, std::int32_t neqns, double* v,
                                    int count) {
  const double* a = stiff - 1;
  const std::int64_t q = count;
  // Forward reduction: row n loses the column of n times the rows above it.
  for (std::int32_t n = 1; n <= neqns; ++n) {
    const double* column = a + maxad[n - 1] + 1;  // rows n-1, n-2, ...
    const std::int32_t height = column_height(maxad, n);
    double* row = v + (n - 1) * q;
    for (std::int32_t t = 0; t < height; ++t) subtract_scaled_run(row, column[t], v + (n - 2 - t) * q, count);
  }
  for (std::int32_t n = 1; n <= neqns; ++n) {
    const double d = a[maxad[n - 1]];
    double* row = v + (n - 1) * q;
    for (int k = 0; k < count; ++k) row[k] /= d;
  }
  for (std::int32_t n = neqns; n >= 2; --n) {
    const double* column = a + maxad[n - 1] + 1;
    const std::int32_t height = column_height(maxad, n);
    const double* row = v + (n - 1) * q;
    for (std::int32_t t = 0; t < height; ++t) subtract_scaled_run(v + (n - 2 - t) * q, column[t], row, count);
  }
}

void profile_product(const double* stiff, const std::int32_t* maxad, std::int32_t neqns, const double* x,
                     double* y) {
  const double* a = stiff - 1;
  for (std::int32_t n = 0; n < neqns; ++n) y[n] = 0.0;
  for (std::int32_t n = 1; n <= neqns; ++n) {
    const double* column = a + maxad[n - 1] + 1;  // rows n-1, n-2, ...
    const std::int32_t height = column_height(maxad, n);
    double s = a[maxad[n - 1]] * x[n - 1];
    for (std::int32_t t = 0; t < height; ++t) {
      const std::int32_t row = n - 1 - t;  // 1-based
      s += column[t] * x[row - 1];
      y[row - 1] += column[t] * x[n - 1];
    }
    y[n - 1] += s;
  }
}

}  // namespace vortan
