#include "solve/skyline_panels.h"

#if defined(__AVX512F__)
#include <immintrin.h>
#endif

namespace vortan {

// This file may be built for the instruction set of the building machine while the
// rest of the program is not: its helpers stay inside it (no standard-library template
// and no inline function shared with other files is instantiated here), so that the
// linker never hands another file a copy built with those instructions.
namespace {

// Lanes of the vector registers the build targets, and the rows of a tile: a tile of
// ROWS x COLUMNS products keeps its sums in ROWS * COLUMNS registers, with room left
// for one vector of each row and one of a column (32 registers with AVX-512, 16 below).
#if defined(__AVX512F__)
constexpr int LANES = 8;
constexpr int ROWS = 4;
#elif defined(__AVX__)
constexpr int LANES = 4;
constexpr int ROWS = 2;
#else
constexpr int LANES = 2;
constexpr int ROWS = 2;
#endif
constexpr int COLUMNS = 4;
// A tile goes through the vector kernel when the run its products share is at least
// this long; shorter runs are plain dot products.
constexpr std::int64_t KERNEL_RUN = 2 * LANES;

typedef double Lanes __attribute__((vector_size(LANES * sizeof(double))));
typedef double UnalignedLanes __attribute__((vector_size(LANES * sizeof(double)), aligned(sizeof(double))));

#define LOAD_LANES(p) (*reinterpret_cast<const UnalignedLanes*>(p))

inline std::int32_t larger(std::int32_t a, std::int32_t b) { return a > b ? a : b; }
inline std::int32_t smaller(std::int32_t a, std::int32_t b) { return a < b ? a : b; }

// sum x[k] y[k] (times scale[k] when SCALED) over k < n, four partial sums.
template <bool SCALED>
inline double dot(const double* __restrict x, const double* __restrict scale, const double* __restrict y,
                  std::int64_t n) {
  double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
  std::int64_t k = 0;
  for (; k + 4 <= n; k += 4) {
    if constexpr (SCALED) {
      s0 += x[k] * scale[k] * y[k];
      s1 += x[k + 1] * scale[k + 1] * y[k + 1];
      s2 += x[k + 2] * scale[k + 2] * y[k + 2];
      s3 += x[k + 3] * scale[k + 3] * y[k + 3];
    } else {
      s0 += x[k] * y[k];
      s1 += x[k + 1] * y[k + 1];
      s2 += x[k + 2] * y[k + 2];
      s3 += x[k + 3] * y[k + 3];
    }
  }
  for (; k < n; ++k) s0 += (SCALED ? x[k] * scale[k] : x[k]) * y[k];
  return (s0 + s1) + (s2 + s3);
}

// The rows just before the common run of a tile, where the columns start one after
// another: how many (at most LANES), and per column the lanes of those rows it holds.
struct Lead {
  int rows;
  unsigned char row_mask[ROWS];
  unsigned char column_mask[COLUMNS];
};

// out[a][b] = sum over k < n of x[a][k] (scale[k]) y[b][k] for a full tile, the sums
// of each product held in the lanes of one register and added up at the end.
template <bool SCALED>
inline void tile_kernel(const double* const* x, const double* scale, const double* const* y, std::int64_t n,
                        double (*out)[COLUMNS], const Lead* lead = nullptr) {
  Lanes sums[ROWS][COLUMNS];
#pragma GCC unroll 8
  for (int a = 0; a < ROWS; ++a)
#pragma GCC unroll 8
    for (int b = 0; b < COLUMNS; ++b) sums[a][b] = Lanes{};
#if defined(__AVX512F__)
  if (lead != nullptr) {
    // The rows before x[.][0], each column's from its own top on: one vector of each,
    // read through masks that leave out the rows a column does not hold.
    const int before = lead->rows;
    Lanes xs[ROWS];
#pragma GCC unroll 8
    for (int a = 0; a < ROWS; ++a) xs[a] = _mm512_maskz_loadu_pd(lead->row_mask[a], x[a] - before);
    if constexpr (SCALED) {
      const Lanes s = _mm512_maskz_loadu_pd(static_cast<__mmask8>((1u << before) - 1u), scale - before);
#pragma GCC unroll 8
      for (int a = 0; a < ROWS; ++a) xs[a] *= s;
    }
#pragma GCC unroll 8
    for (int b = 0; b < COLUMNS; ++b) {
      const Lanes ys = _mm512_maskz_loadu_pd(lead->column_mask[b], y[b] - before);
#pragma GCC unroll 8
      for (int a = 0; a < ROWS; ++a) sums[a][b] += xs[a] * ys;
    }
  }
#else
  (void)lead;
#endif
  std::int64_t k = 0;
  for (; k + LANES <= n; k += LANES) {
    Lanes xs[ROWS];
#pragma GCC unroll 8
    for (int a = 0; a < ROWS; ++a) xs[a] = LOAD_LANES(x[a] + k);
    if constexpr (SCALED) {
      const Lanes s = LOAD_LANES(scale + k);
#pragma GCC unroll 8
      for (int a = 0; a < ROWS; ++a) xs[a] *= s;
    }
#pragma GCC unroll 8
    for (int b = 0; b < COLUMNS; ++b) {
      const Lanes ys = LOAD_LANES(y[b] + k);
#pragma GCC unroll 8
      for (int a = 0; a < ROWS; ++a) sums[a][b] += xs[a] * ys;
    }
  }
#if defined(__AVX512F__)
  // The last few entries through loads that read only them (the other lanes zero),
  // instead of one product at a time.
  if (k < n) {
    const __mmask8 mask = static_cast<__mmask8>((1u << (n - k)) - 1u);
    Lanes xs[ROWS];
#pragma GCC unroll 8
    for (int a = 0; a < ROWS; ++a) xs[a] = _mm512_maskz_loadu_pd(mask, x[a] + k);
    if constexpr (SCALED) {
      const Lanes s = _mm512_maskz_loadu_pd(mask, scale + k);
#pragma GCC unroll 8
      for (int a = 0; a < ROWS; ++a) xs[a] *= s;
    }
#pragma GCC unroll 8
    for (int b = 0; b < COLUMNS; ++b) {
      const Lanes ys = _mm512_maskz_loadu_pd(mask, y[b] + k);
#pragma GCC unroll 8
      for (int a = 0; a < ROWS; ++a) sums[a][b] += xs[a] * ys;
    }
    k = n;
  }
#endif
#pragma GCC unroll 8
  for (int a = 0; a < ROWS; ++a)
#pragma GCC unroll 8
    for (int b = 0; b < COLUMNS; ++b) {
      double t = 0.0;
#pragma GCC unroll 8
      for (int l = 0; l < LANES; ++l) t += sums[a][b][l];
      out[a][b] = t;
    }
  for (; k < n; ++k)
    for (int a = 0; a < ROWS; ++a) {
      const double xa = SCALED ? x[a][k] * scale[k] : x[a][k];
      for (int b = 0; b < COLUMNS; ++b) out[a][b] += xa * y[b][k];
    }
}

// The products of a block of columns i0 .. i0 + rows - 1 (as rows i) with the columns
// c0 .. c0 + columns - 1 (as columns j): out[i - i0][j - c0] = sum over the rows r
// both columns hold below `end` of e(r, i) (/ d(r)) e(r, j). A full tile with a long
// common run goes through the kernel from the lowest of its tops, the rows between each
// pair's own top and that row as plain dot products; anything else is plain dot products.
template <bool SCALED>
void tile_products(const SkylineView& s, std::int32_t i0, int rows, std::int32_t c0, int columns, std::int32_t end,
                   double (*out)[COLUMNS]) {
  const double* scale = s.amatr - 1;  // scale[r] = 1 / d(r)
  std::int32_t row_top[ROWS], column_top[COLUMNS];
  const double* row_entries[ROWS];
  const double* column_entries[COLUMNS];
  std::int32_t common = 1;
  for (int a = 0; a < rows; ++a) {
    row_top[a] = s.top(i0 + a);
    row_entries[a] = s.column(i0 + a);
    common = larger(common, row_top[a]);
  }
  for (int b = 0; b < columns; ++b) {
    column_top[b] = s.top(c0 + b);
    column_entries[b] = s.column(c0 + b);
    common = larger(common, column_top[b]);
  }
  if (rows == ROWS && columns == COLUMNS && end - common >= KERNEL_RUN) {
    const double* x[ROWS];
    const double* y[COLUMNS];
    for (int a = 0; a < ROWS; ++a) x[a] = row_entries[a] + (common - row_top[a]);
    for (int b = 0; b < COLUMNS; ++b) y[b] = column_entries[b] + (common - column_top[b]);
#if defined(__AVX512F__)
    // The first row any pair of the tile holds: the later of the two lowest tops.
    std::int32_t lowest_row = common, lowest_column = common;
    for (int a = 0; a < ROWS; ++a) lowest_row = smaller(lowest_row, row_top[a]);
    for (int b = 0; b < COLUMNS; ++b) lowest_column = smaller(lowest_column, column_top[b]);
    const std::int32_t lowest = larger(lowest_row, lowest_column);
    if (common - lowest <= LANES) {
      // Lane l of the lead is row lowest + l: a column holds it from its top on, and a
      // pair where both do.
      Lead lead;
      lead.rows = common - lowest;
      const unsigned all = (1u << lead.rows) - 1u;
      for (int a = 0; a < ROWS; ++a)
        lead.row_mask[a] = static_cast<unsigned char>(all & ~((1u << larger(0, row_top[a] - lowest)) - 1u));
      for (int b = 0; b < COLUMNS; ++b)
        lead.column_mask[b] = static_cast<unsigned char>(all & ~((1u << larger(0, column_top[b] - lowest)) - 1u));
      tile_kernel<SCALED>(x, scale + common, y, end - common, out, &lead);
      return;
    }
#endif
    tile_kernel<SCALED>(x, scale + common, y, end - common, out);
    for (int a = 0; a < ROWS; ++a)
      for (int b = 0; b < COLUMNS; ++b) {
        const std::int32_t low = larger(row_top[a], column_top[b]);
        if (low < common)
          out[a][b] += dot<SCALED>(row_entries[a] + (low - row_top[a]), scale + low,
                                   column_entries[b] + (low - column_top[b]), common - low);
      }
    return;
  }
  for (int a = 0; a < rows; ++a)
    for (int b = 0; b < columns; ++b) {
      const std::int32_t low = larger(row_top[a], column_top[b]);
      out[a][b] = low < end ? dot<SCALED>(row_entries[a] + (low - row_top[a]), scale + low,
                                          column_entries[b] + (low - column_top[b]), end - low)
                            : 0.0;
    }
}

}  // namespace

const int PANEL_TILE_COLUMNS = COLUMNS;

void reduce_panel_above(const SkylineView& s, std::int32_t j0, std::int32_t first, std::int32_t last) {
  std::int32_t lowest = j0;
  for (std::int32_t j = first; j <= last; ++j) lowest = smaller(lowest, s.top(j));
  // Blocks of rows start at 1, 1 + ROWS, ...: the blocks of an entry do not depend on
  // the range of columns. Row i = top(j) of column j has nothing above it to reduce with.
  const std::int32_t start = 1 + (lowest / ROWS) * ROWS;
  double sums[ROWS][COLUMNS];
  for (std::int32_t i0 = start; i0 < j0; i0 += ROWS) {
    const int rows = smaller(ROWS, j0 - i0);
    for (std::int32_t c0 = first; c0 <= last; c0 += COLUMNS) {
      const int columns = smaller(COLUMNS, last - c0 + 1);
      tile_products<false>(s, i0, rows, c0, columns, i0, sums);
      // Then the rows of the block one after the other: row i also loses the part of
      // its sum that runs over the rows of the block above it, which are final by then.
      for (int a = 0; a < rows; ++a) {
        const std::int32_t i = i0 + a;
        const std::int32_t row_top = s.top(i);
        const double* row_entries = s.column(i);
        for (int b = 0; b < columns; ++b) {
          const std::int32_t top = s.top(c0 + b);
          if (i <= top) continue;
          double* entries = s.column(c0 + b);
          double sum = sums[a][b];
          const std::int32_t low = larger(i0, larger(row_top, top));
          if (low < i) sum += dot<false>(row_entries + (low - row_top), nullptr, entries + (low - top), i - low);
          entries[i - top] -= sum;
        }
      }
    }
  }
}

void reduce_panel_inside(const SkylineView& s, std::int32_t j0, std::int32_t j1, std::int32_t first,
                         std::int32_t last, double* diagonal_sums) {
  double sums[ROWS][COLUMNS];
  for (std::int32_t i0 = j0; i0 <= last; i0 += ROWS) {
    const int rows = smaller(ROWS, j1 - i0 + 1);
    for (std::int32_t c0 = first; c0 <= last; c0 += COLUMNS) {
      const int columns = smaller(COLUMNS, last - c0 + 1);
      if (c0 + columns - 1 < i0) continue;  // below the diagonal
      tile_products<true>(s, i0, rows, c0, columns, j0, sums);
      for (int a = 0; a < rows; ++a)
        for (int b = 0; b < columns; ++b) {
          const std::int32_t i = i0 + a, j = c0 + b;
          if (i == j) {
            diagonal_sums[j - j0] = sums[a][b];
          } else if (i < j) {
            const std::int32_t top = s.top(j);
            if (i >= top) s.column(j)[i - top] -= sums[a][b];
          }
        }
    }
  }
}

}  // namespace vortan
