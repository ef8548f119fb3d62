#include "solve/skyline_factor.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <ctime>
#include <vector>

#include "run/console.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "solve/dot_kernels.h"
#include "solve/pivot_rule.h"
#include "solve/skyline_panels.h"
#include "run/worker_threads.h"

namespace vortan {

namespace {

constexpr double DIGIT_LOSS = 5.0E-8;      // 7 digits
constexpr double ZERO_DIAGONAL = 1.0E-15;

struct Column {
  double* entries;      // from the top row down
  std::int32_t height;
  std::int32_t top;     // row of entries[0]
};

inline Column column_of(double* amatr, const std::int32_t* pointers, std::int32_t neqns, std::int32_t j) {
  const std::int32_t height = pointers[j] - pointers[j - 1];
  return {amatr + neqns + pointers[j - 1], height, j - height};
}

// Entry k of column j becomes a(i, j) - sum of u(r, i) g(r, j) over the rows r < i that
// both columns hold (i = top + k).
void reduce_column(double* amatr, const std::int32_t* pointers, std::int32_t neqns, const Column& c) {
  for (std::int32_t k = 1; k < c.height; ++k) {
    const std::int32_t i = c.top + k;
    const Column ci = column_of(amatr, pointers, neqns, i);
    const std::int32_t start = std::max(ci.top, c.top);
    const std::int32_t length = i - start;
    if (length > 0) c.entries[k] -= dot_contiguous(ci.entries + (start - ci.top), c.entries + (start - c.top), length);
  }
}

// Writes an integer right-justified in w columns (asterisks when it does not fit).
void put_integer(char* field, long long value, int w) {
  char digits[24];
  int n = 0;
  const bool negative = value < 0;
  unsigned long long v = negative ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  do {
    digits[n++] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v != 0);
  if (negative) digits[n++] = '-';
  if (n > w) {
    std::memset(field, '*', w);
    return;
  }
  std::memset(field, ' ', w - n);
  for (int i = 0; i < n; ++i) field[w - 1 - i] = digits[i];
}

// The console progress line of the factorisation, laid out once and refilled in place
// for every equation: "+ FACTORIZANDO ECUACION NUM:" I8 " CPU : " I6 ":" I2 ":" I2
// "    TOTAL EQ.=" I8. Reading the process CPU clock costs a system call, far more than
// a short column; it is read again only when a twentieth of a second has passed on
// the (cheap) monotonic clock, and at the last equation.
class ProgressLine {
 public:
  explicit ProgressLine(std::int32_t neqns) : neqns_(neqns), start_(std::clock()), read_at_(Wall::now()) {
    std::memcpy(text_, "+ FACTORIZANDO ECUACION NUM:", 28);
    std::memcpy(text_ + 36, " CPU : ", 7);
    text_[49] = ':';
    text_[52] = ':';
    std::memcpy(text_ + 55, "    TOTAL EQ.=", 14);
    put_integer(text_ + 69, neqns, 8);
    put_time(0.0);
  }
  void write(std::int32_t equation) {
    const Wall::time_point now = Wall::now();
    if (now - read_at_ >= CLOCK_INTERVAL || equation == neqns_) {
      read_at_ = now;
      put_time(static_cast<double>(std::clock() - start_) / CLOCKS_PER_SEC);
    }
    put_integer(text_ + 28, equation, 8);
    write_progress_record(std::string_view(text_, LENGTH), equation, neqns_);
  }

 private:
  using Wall = std::chrono::steady_clock;
  static constexpr int LENGTH = 77;
  static constexpr std::chrono::milliseconds CLOCK_INTERVAL{50};
  void put_time(double t) {
    const long hours = static_cast<long>(t / 3600.0);
    const long minutes = static_cast<long>((t - 3600.0 * hours) / 60.0);
    const long seconds = std::lround(t - 3600.0 * hours - 60.0 * minutes);
    put_integer(text_ + 43, hours, 6);
    put_integer(text_ + 50, minutes, 2);
    put_integer(text_ + 53, seconds, 2);
  }
  std::int32_t neqns_;
  std::clock_t start_;
  Wall::time_point read_at_;
  char text_[LENGTH];
};

void singular_warning(std::int32_t j) {
  write_record(UNIT_LISTING, " *** singular matrix. reduced diagonal is zero for equation" + fmt::I(j, 5));
}

[[noreturn]] void rank_failure(std::int32_t j) {
  write_record(UNIT_LISTING, " *** singular matrix. rank failure for zero unreduced diagonal in eq. " + fmt::I(j, 5));
  ERRSTP("SKYTRI:MATRIZ SINGULAR");
}

// The checks of the reduced pivot d of equation j, in their order: the count of
// equations that lost seven digits, the singular warning, the rank test of a zero
// unreduced diagonal d0 (column_sum: its unreduced column) and the relative pivot rule.
void check_pivot(std::int32_t j, std::int32_t height, double d0, double d, double column_sum,
                 const std::int32_t* equation_of_position, std::int32_t& lost) {
  if (std::fabs(d0) * DIGIT_LOSS > std::fabs(d)) ++lost;
  if (std::fabs(d) < ZERO_DIAGONAL) singular_warning(j);
  if (height >= 1 && d0 == 0.0 && column_sum * DIGIT_LOSS > std::fabs(d)) rank_failure(j);
  if (pivot_lost_its_digits(d, d0))
    stop_on_lost_pivot("SKYTRI", j, d, d0, place_of_equation(equation_of_position, j));
}

double absolute_sum(const double* entries, std::int32_t count) {
  double sum = 0.0;
  for (std::int32_t k = 0; k < count; ++k) sum += std::fabs(entries[k]);
  return sum;
}

void report_lost_digits(std::int32_t lost) {
  if (lost > 0)
    write_record(UNIT_LISTING, " *** ill-conditioned matrix. loss of at least 7 digits for " + fmt::I(lost, 8) + " eqs.");
}

// Below this many products of the block updates in a panel, one thread does them:
// waking the others would cost more than it saves.
constexpr double THREADED_PANEL_WORK = 2.0E5;

// Runs a block update on the panel's columns j0 .. j1 in groups of whole tiles, the
// groups taken one after the other by whichever of up to `threads` threads is free
// (about two groups per thread, so that a thread held up by the machine leaves its
// share to the others).
template <class Update>
void update_panel(std::int32_t j0, std::int32_t j1, int threads, const Update& update) {
  const std::int32_t tiles = (j1 - j0 + PANEL_TILE_COLUMNS) / PANEL_TILE_COLUMNS;
  const int team = static_cast<int>(std::max<std::int32_t>(1, std::min<std::int32_t>(threads, tiles)));
  const std::int32_t tiles_per_group = team == 1 ? tiles : std::max<std::int32_t>(1, tiles / (2 * team));
  const std::int32_t groups = (tiles + tiles_per_group - 1) / tiles_per_group;
  const std::int32_t group_columns = tiles_per_group * PANEL_TILE_COLUMNS;
  std::atomic<std::int32_t> next{0};
  share_on_threads(team, [&] {
    for (std::int32_t group = next++; group < groups; group = next++)
      update(j0 + group * group_columns, std::min(j1, j0 + (group + 1) * group_columns - 1));
  });
}

}  // namespace

std::int32_t skyline_factor_by_columns(double* amatr, const std::int32_t* pointers, std::int32_t neqns,
                                       const std::int32_t* equation_of_position) {
  double* diagonal = amatr;
  std::int32_t lost = 0;
  ProgressLine progress(neqns);
  for (std::int32_t j = 1; j <= neqns; ++j) {
    const Column c = column_of(amatr, pointers, neqns, j);
    const double d0 = diagonal[j - 1];
    double column_sum = 0.0;
    if (c.height > 0) {
      if (d0 == 0.0) column_sum = absolute_sum(c.entries, c.height);
      reduce_column(amatr, pointers, neqns, c);
    }
    double d = d0;
    for (std::int32_t k = 0; k < c.height; ++k) {
      const double g = c.entries[k];
      const double u = g * diagonal[c.top + k - 1];
      d -= g * u;
      c.entries[k] = u;
    }
    check_pivot(j, c.height, d0, d, column_sum, equation_of_position, lost);
    diagonal[j - 1] = d != 0.0 ? 1.0 / d : d;
    progress.write(j);
  }
  report_lost_digits(lost);
  return lost;
}

std::int32_t skyline_factor_by_panels(double* amatr, const std::int32_t* pointers, std::int32_t neqns,
                                      const std::int32_t* equation_of_position, int threads, int panel_width) {
  const int width = std::max(1, (panel_width + PANEL_TILE_COLUMNS - 1) / PANEL_TILE_COLUMNS) * PANEL_TILE_COLUMNS;
  const SkylineView view{amatr, pointers, neqns};
  double* diagonal = amatr;
  std::int32_t lost = 0;
  ProgressLine progress(neqns);
  // Per column of the panel: the unreduced diagonal, the absolute sum of the unreduced
  // column when that diagonal is zero, and the part of the pivot's sum over the rows
  // above the panel.
  std::vector<double> unreduced(width), column_sums(width), above(width);
  for (std::int32_t j0 = 1; j0 <= neqns; j0 += width) {
    const std::int32_t j1 = std::min<std::int64_t>(std::int64_t{j0} + width - 1, neqns);
    double work = 0.0;
    for (std::int32_t j = j0; j <= j1; ++j) {
      const Column c = column_of(amatr, pointers, neqns, j);
      unreduced[j - j0] = diagonal[j - 1];
      column_sums[j - j0] = c.height > 0 && diagonal[j - 1] == 0.0 ? absolute_sum(c.entries, c.height) : 0.0;
      above[j - j0] = 0.0;
      const double rows_above = std::max(0, j0 - c.top);
      work += rows_above * rows_above;
    }
    if (j0 > 1) {
      const int team = work < THREADED_PANEL_WORK ? 1 : threads;
      update_panel(j0, j1, team, [&](std::int32_t first, std::int32_t last) {
        reduce_panel_above(view, j0, first, last);
      });
      update_panel(j0, j1, team, [&](std::int32_t first, std::int32_t last) {
        reduce_panel_inside(view, j0, j1, first, last, above.data());
      });
    }
    // The panel's own rows, column after column as in the column factorisation.
    for (std::int32_t j = j0; j <= j1; ++j) {
      const Column c = column_of(amatr, pointers, neqns, j);
      for (std::int32_t i = std::max(j0, c.top + 1); i < j; ++i) {
        const Column ci = column_of(amatr, pointers, neqns, i);
        const std::int32_t start = std::max(j0, std::max(ci.top, c.top));
        const std::int32_t length = i - start;
        if (length > 0)
          c.entries[i - c.top] -=
              dot_contiguous(ci.entries + (start - ci.top), c.entries + (start - c.top), length);
      }
      const double d0 = unreduced[j - j0];
      double d = d0 - above[j - j0];
      for (std::int32_t k = 0; k < c.height; ++k) {
        const std::int32_t r = c.top + k;
        const double g = c.entries[k];
        const double u = g * diagonal[r - 1];
        if (r >= j0) d -= g * u;
        c.entries[k] = u;
      }
      check_pivot(j, c.height, d0, d, column_sums[j - j0], equation_of_position, lost);
      diagonal[j - 1] = d != 0.0 ? 1.0 / d : d;
      progress.write(j);
    }
  }
  report_lost_digits(lost);
  return lost;
}

std::int32_t SKYTRI(double* amatr, const std::int32_t* pointers, std::int32_t neqns,
                    const std::int32_t* equation_of_position) {
  // Short columns gain nothing from the block products: a profile whose squared
  // column heights add up to little is factored column by column.
  double squares = 0.0;
  for (std::int32_t j = 1; j <= neqns; ++j) {
    const double height = pointers[j] - pointers[j - 1];
    squares += height * height;
  }
  if (squares < SKYLINE_PANEL_WORK) return skyline_factor_by_columns(amatr, pointers, neqns, equation_of_position);
  return skyline_factor_by_panels(amatr, pointers, neqns, equation_of_position, worker_thread_count(),
                                  SKYLINE_PANEL_WIDTH);
}

void skyline_resolution(const double* amatr, const std::int32_t* pointers, std::int32_t neqns, double* v) {
  double* a = const_cast<double*>(amatr);
  for (std::int32_t j = 1; j <= neqns; ++j) {
    const Column c = column_of(a, pointers, neqns, j);
    v[j - 1] -= dot_contiguous(c.entries, v + (c.top - 1), c.height);
  }
  for (std::int32_t j = 0; j < neqns; ++j) v[j] *= amatr[j];
  for (std::int32_t j = neqns; j >= 2; --j) {
    const Column c = column_of(a, pointers, neqns, j);
    subtract_multiple(v[j - 1], c.entries, v + (c.top - 1), c.height);
  }
}

double skyline_factor_flops(const std::int32_t* pointers, std::int32_t neqns) {
  double flops = 0.0;
  for (std::int32_t j = 1; j <= neqns; ++j) {
    const std::int32_t height = pointers[j] - pointers[j - 1];
    const std::int32_t top = j - height;
    for (std::int32_t k = 1; k < height; ++k) {
      const std::int32_t i = top + k;
      const std::int32_t length = i - std::max(i - (pointers[i] - pointers[i - 1]), top);
      if (length > 0) flops += 2.0 * length;
    }
    flops += 3.0 * height;
  }
  return flops;
}

}  // namespace vortan
