#include "solve/iterative/incomplete_factor.h"

#include <algorithm>
#include <cmath>

#include "run/work_array.h"

namespace vortan {

namespace {

// A pivot must exceed this fraction of its row's unreduced diagonal.
constexpr double SMALLEST_PIVOT = 1.0E-12;
constexpr double FIRST_SHIFT = 1.0E-3;
constexpr double LARGEST_SHIFT = 1.1;

void find_diagonals(const CompressedRows& a, std::int32_t* diagonal) {
  for (std::int32_t i = 0; i < a.n; ++i) {
    const std::int32_t* begin = a.ja + a.ia[i];
    diagonal[i] = static_cast<std::int32_t>(std::lower_bound(begin, a.ja + a.ia[i + 1], i) - a.ja);
  }
}

// One attempt with the given shift; false at the first pivot that is not positive
// enough. marker: n entries of -1 on entry and on return.
bool factor(const CompressedRows& a, IncompleteFactors& f, double shift, std::int32_t* marker) {
  const std::int32_t* ia = a.ia;
  const std::int32_t* ja = a.ja;
  double* u = f.rows.a;
  std::copy(a.a, a.a + a.entries(), u);
  bool positive = true;
  for (std::int32_t i = 0; i < a.n && positive; ++i) {
    const std::int32_t d = f.diagonal[i];
    const double unreduced = a.a[d] * (1.0 + shift);
    u[d] = unreduced;
    for (std::int32_t p = ia[i]; p < ia[i + 1]; ++p) marker[ja[p]] = p;
    // Row i minus multiples of the rows above it, on row i's pattern only.
    for (std::int32_t p = ia[i]; p < d; ++p) {
      const std::int32_t k = ja[p];
      const double l = u[p] * f.inverse_pivot[k];
      u[p] = l;
      for (std::int32_t q = f.diagonal[k] + 1; q < ia[k + 1]; ++q) {
        const std::int32_t at = marker[ja[q]];
        if (at >= 0) u[at] -= l * u[q];
      }
    }
    for (std::int32_t p = ia[i]; p < ia[i + 1]; ++p) marker[ja[p]] = -1;
    if (!(u[d] > SMALLEST_PIVOT * std::fabs(unreduced))) positive = false;
    else f.inverse_pivot[i] = 1.0 / u[d];
  }
  return positive;
}

// row_sum with the entries taken from the last one down. The backward sweep visits the
// rows from the last one up; reading each row downwards too makes the sweep one
// descending run through memory, which the hardware prefetchers follow (read
// upwards, row after row, the sweep took four times as long).
inline double row_sum_downwards(const double* a, const std::int32_t* ja, const double* x, std::int32_t begin,
                                std::int32_t end) {
  double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
  std::int32_t k = end - 1;
  for (; k - 3 >= begin; k -= 4) {
    s0 += a[k] * x[ja[k]];
    s1 += a[k - 1] * x[ja[k - 1]];
    s2 += a[k - 2] * x[ja[k - 2]];
    s3 += a[k - 3] * x[ja[k - 3]];
  }
  for (; k >= begin; --k) s0 += a[k] * x[ja[k]];
  return (s0 + s1) + (s2 + s3);
}

}  // namespace

double incomplete_factorisation(const CompressedRows& a, IncompleteFactors& f) {
  f.rows.n = a.n;
  f.rows.ia = a.ia;
  f.rows.ja = a.ja;
  find_diagonals(a, f.diagonal);
  const std::int32_t mark = RUN.NXTPOS;
  std::int32_t* marker = WORK.ints(DIREC1(RUN.NXTPOS, RUN.MEMORY, a.n, "MARCA", INT_WORDS));
  std::fill(marker, marker + a.n, -1);
  double shift = 0.0;
  bool done = factor(a, f, shift, marker);
  for (double next = FIRST_SHIFT; !done && next < LARGEST_SHIFT; next *= 4.0) {
    shift = next;
    done = factor(a, f, shift, marker);
  }
  RUN.NXTPOS = mark;
  return done ? shift : -1.0;
}

void incomplete_solve(const IncompleteFactors& f, const double* r, double* z) {
  const std::int32_t* ia = f.rows.ia;
  const std::int32_t* ja = f.rows.ja;
  const double* u = f.rows.a;
  const std::int32_t n = f.rows.n;
  for (std::int32_t i = 0; i < n; ++i) z[i] = r[i] - row_sum(u, ja, z, ia[i], f.diagonal[i]);
  for (std::int32_t i = n - 1; i >= 0; --i)
    z[i] = (z[i] - row_sum_downwards(u, ja, z, f.diagonal[i] + 1, ia[i + 1])) * f.inverse_pivot[i];
}

void inverse_diagonal(const CompressedRows& a, double* inverse) {
  for (std::int32_t i = 0; i < a.n; ++i) {
    const std::int32_t* begin = a.ja + a.ia[i];
    const std::int32_t* at = std::lower_bound(begin, a.ja + a.ia[i + 1], i);
    const double d = at < a.ja + a.ia[i + 1] && *at == i ? a.a[at - a.ja] : 0.0;
    inverse[i] = d != 0.0 ? 1.0 / d : 0.0;
  }
}

}  // namespace vortan
