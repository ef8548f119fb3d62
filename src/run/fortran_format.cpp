#include "run/fortran_format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace vortan::fmt {

namespace {

// Width of a list-directed real item (17 significant digits, three-digit exponent).
constexpr int LIST_REAL_WIDTH = 25;
// Blanks that stand in for the exponent "E+xxx" when a list-directed real is fixed form.
constexpr int LIST_REAL_EXPONENT_BLANKS = 5;

std::string stars(int w) { return std::string(w > 0 ? w : 0, '*'); }

// Right-justifies `body` in w columns, or w asterisks when it does not fit.
std::string justify(const std::string& body, int w) {
  if (static_cast<int>(body.size()) > w) return stars(w);
  return std::string(w - body.size(), ' ') + body;
}

// printf-style "%.*f" or "%.*e" of a finite double into a std::string, through
// std::to_chars (correctly rounded like printf, without its format parsing; the
// listings print millions of numbers). Sized for any double (fixed form of 1e308).
std::string to_text(double value, std::chars_format form, int precision) {
  char buffer[400];
  const std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, value, form, precision);
  return std::string(buffer, r.ptr);
}

// Infinity and NaN in Fw.d and Ew.d: "Infinity" (or "Inf" when the field is shorter
// than the full word, sign included) and "NaN", right-justified; asterisks when even
// those do not fit.
std::string non_finite(double value, int w) {
  if (std::isnan(value)) return justify("NaN", w);
  const std::string sign = std::signbit(value) ? "-" : "";
  const std::string full = sign + "Infinity";
  if (static_cast<int>(full.size()) <= w) return justify(full, w);
  return justify(sign + "Inf", w);
}

// Significant digits of |value| correctly rounded to `count` digits, with the decimal
// exponent of the first one (value = d.ddd * 10^exponent). Zero gives zeros and 0.
struct Digits {
  std::string digits;
  int exponent = 0;
};

Digits significant_digits(double value, int count) {
  char buffer[64];
  const std::to_chars_result r =
      std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, count - 1);
  Digits out;
  const char* e = buffer;
  while (e < r.ptr && *e != 'e') ++e;
  out.digits.reserve(count);
  for (const char* c = buffer; c < e; ++c)
    if (*c != '.') out.digits += *c;
  int exponent = 0;
  std::from_chars(e + (e[1] == '+' ? 2 : 1), r.ptr, exponent);
  out.exponent = exponent;
  return out;
}

}  // namespace

std::string X(int n) { return std::string(n > 0 ? n : 0, ' '); }

std::string I(long long value, int w) {
  const std::string body = std::to_string(value);
  return w == 0 ? body : justify(body, w);
}

std::string F(double value, int w, int d) {
  if (!std::isfinite(value)) return non_finite(value, w);
  if (d < 0) return stars(w);
  std::string number = to_text(std::fabs(value), std::chars_format::fixed, d);
  if (d == 0) number += '.';
  // The sign stays on values that round to zero, as in -0.00.
  const std::string sign = std::signbit(value) ? "-" : "";
  std::string body = sign + number;
  // The zero before the decimal point is optional when decimals follow it.
  if (static_cast<int>(body.size()) > w && d > 0 && number[0] == '0') body = sign + number.substr(1);
  return justify(body, w);
}

std::string E(double value, int w, int d) {
  if (!std::isfinite(value)) return non_finite(value, w);
  if (d < 1) return stars(w);  // Ew.0 has no valid form
  Digits digits;
  if (value == 0.0) {
    digits.digits = std::string(d, '0');
  } else {
    digits = significant_digits(value, d);
    digits.exponent += 1;  // 0.ddd form
  }
  const int exponent = digits.exponent;
  // "E+dd", or "+ddd" when the exponent needs three digits.
  const int magnitude = std::abs(exponent);
  char exponent_text[6];
  char* p = exponent_text;
  if (magnitude <= 99) *p++ = 'E';
  *p++ = exponent < 0 ? '-' : '+';
  if (magnitude > 99) *p++ = static_cast<char>('0' + magnitude / 100);
  *p++ = static_cast<char>('0' + magnitude / 10 % 10);
  *p++ = static_cast<char>('0' + magnitude % 10);
  *p = '\0';
  const std::string sign = std::signbit(value) ? "-" : "";
  std::string body = sign + "0." + digits.digits + exponent_text;
  if (static_cast<int>(body.size()) > w) body = sign + body.substr(sign.size() + 1);
  return justify(body, w);
}

std::string A(std::string_view text, int w) {
  if (w <= 0) return {};
  if (static_cast<int>(text.size()) >= w) return std::string(text.substr(0, w));
  return std::string(w - text.size(), ' ') + std::string(text);
}

std::string list_integer(long long value) {
  const bool default_kind = value >= -2147483648LL && value <= 2147483647LL;
  return justify(std::to_string(value), default_kind ? 11 : 20);
}

std::string list_real(double value) {
  if (!std::isfinite(value)) return non_finite(value, LIST_REAL_WIDTH);
  const Digits d = significant_digits(value, 17);
  std::string body = std::signbit(value) ? "-" : "";
  if (d.exponent >= -1 && d.exponent <= 16) {
    if (d.exponent == -1)
      body += "0." + d.digits;
    else
      body += d.digits.substr(0, d.exponent + 1) + "." + d.digits.substr(d.exponent + 1);
    body += std::string(LIST_REAL_EXPONENT_BLANKS, ' ');
  } else {
    char exponent_text[8];
    std::snprintf(exponent_text, sizeof exponent_text, "E%+04d", d.exponent);
    body += d.digits.substr(0, 1) + "." + d.digits.substr(1) + exponent_text;
  }
  return justify(body, LIST_REAL_WIDTH);
}

}  // namespace vortan::fmt
