// Fortran edit descriptors for listing output.
//
// Each function renders one value exactly as a Fortran formatted WRITE renders it with
// the descriptor of the same name: right-justified in its field, a field filled with
// asterisks when the value does not fit, and the exponent form 0.dddE+xx that drops
// the "E" when the exponent needs three digits (0.100000+101). Listing lines are built
// by concatenating these pieces.
#pragma once

#include <string>
#include <string_view>

namespace vortan::fmt {

// nX: n blanks.
std::string X(int n);

// Iw: an integer right-justified in w columns.
std::string I(long long value, int w);

// Fw.d: fixed form with d decimals in w columns.
std::string F(double value, int w, int d);

// Ew.d: exponent form 0.ddd...E+xx with d digits in w columns.
std::string E(double value, int w, int d);

// Aw: a text in w columns; a longer text keeps its first w characters, a shorter one
// is right-justified after blanks.
std::string A(std::string_view text, int w);

// List-directed output items (WRITE(*,*)). A list-directed record is one blank
// followed by its items joined by single blanks:
//   " " + list_integer(17) + " " + list_real(1.234567e-3) + " " + list_real(-45.0)
// Neither function adds those blanks itself.
//
// list_integer: right-justified in 11 columns (sign and ten digits of a default
// integer); a value outside the default integer range takes 20 columns, as an
// 8-byte integer does.
//
// list_real: 25 columns, from the value rounded to 17 significant digits. When the
// rounded value is zero or 0.1 <= |v| < 1e17 it is fixed form with all 17 digits
// (0.10000000000000001, -45.000000000000000, 10000000000000000.) followed by five
// blanks where the exponent would stand; otherwise it is d.dddddddddddddddd with the
// exponent always written E+xxx (1.2345670000000000E-003, 1.0000000000000000E+100).
// The text is right-justified, so a positive value has two leading blanks and a
// negative one a single one. Infinity and NaN are right-justified without the
// trailing blanks.
std::string list_integer(long long value);
std::string list_real(double value);

}  // namespace vortan::fmt
