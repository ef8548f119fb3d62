#include "solve/skyline_factor.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <ctime>

#include "run/console.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "solve/dot_kernels.h"
#include "solve/pivot_rule.h"

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

}  // namespace

std::int32_t SKYTRI(double* amatr, const std::int32_t* pointers, std::int32_t neqns,
                    const std::int32_t* equation_of_position) {
  double* diagonal = amatr;
  std::int32_t lost = 0;
  ProgressLine progress(neqns);
  for (std::int32_t j = 1; j <= neqns; ++j) {
    const Column c = column_of(amatr, pointers, neqns, j);
    const double d0 = diagonal[j - 1];
    double column_sum = 0.0;
    if (c.height > 0) {
      if (d0 == 0.0)
        for (std::int32_t k = 0; k < c.height; ++k) column_sum += std::fabs(c.entries[k]);
      reduce_column(amatr, pointers, neqns, c);
    }
    double d = d0;
    for (std::int32_t k = 0; k < c.height; ++k) {
      const double g = c.entries[k];
      const double u = g * diagonal[c.top + k - 1];
      d -= g * u;
      c.entries[k] = u;
    }
    if (std::fabs(d0) * DIGIT_LOSS > std::fabs(d)) ++lost;
    if (std::fabs(d) < ZERO_DIAGONAL) singular_warning(j);
    if (c.height >= 1 && d0 == 0.0 && column_sum * DIGIT_LOSS > std::fabs(d)) rank_failure(j);
    if (pivot_lost_its_digits(d, d0))
      stop_on_lost_pivot("SKYTRI", j, d, d0, place_of_equation(equation_of_position, j));
    diagonal[j - 1] = d != 0.0 ? 1.0 / d : d;
    progress.write(j);
  }
  if (lost > 0)
    write_record(UNIT_LISTING, " *** ill-conditioned matrix. loss of at least 7 digits for " + fmt::I(lost, 8) + " eqs.");
  return lost;
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
