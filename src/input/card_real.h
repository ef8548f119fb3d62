// Reals read from the cards of the problem definition, held to a range in which the
// element and load arithmetic stays finite.
//
// A value on a data card (a coordinate, a prescribed value, a support angle or spring,
// a load) must be finite and below INPUT_REAL_LIMIT in magnitude: the element and load
// arithmetic multiplies up to four such values (a specific weight by a volume, a
// pressure by an area and a radius), and 1e75 to the fourth power is still far below
// the largest double. A real parameter (a material property, a header real) must be
// zero or lie between INPUT_REAL_FLOOR and INPUT_REAL_LIMIT in magnitude, since the
// element matrices scale with it: a modulus or thickness of 1e-320 would leave a
// stiffness of round-off. Values beyond these bounds stop the run with
// "<routine>: VALOR FUERA DE RANGO".
#pragma once

#include <string_view>

namespace vortan {

inline constexpr double INPUT_REAL_LIMIT = 1.0E75;
inline constexpr double INPUT_REAL_FLOOR = 1.0E-75;

// Finite and below the limit in magnitude (false for NaN and infinities).
bool card_value_in_range(double value);
// Zero, or finite with a magnitude from the floor up to (not including) the limit.
bool parameter_in_range(double value);

// Lists the value with the admitted range and stops with "<routine>: VALOR FUERA DE
// RANGO"; name, when not empty, is the parameter's name.
[[noreturn]] void stop_out_of_range(std::string_view routine, double value, std::string_view name = "");

// The number in a slot of the current card, checked by card_value_in_range.
double card_real(int slot, std::string_view routine);

}  // namespace vortan
