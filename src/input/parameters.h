// Parameter lookup on the last card read: named integers and reals with their
// defaults, the check of necessary parameters and the echo that documents every value
// used; on/off switch words; the echo of word-valued entries.
//
// A description starts with a control character: "!" necessary and echoed, "*"
// necessary and silent, "#" optional and silent, "?" optional and echoed only when
// given; any other character: optional, always echoed, the whole text shown.
#pragma once

#include <cstdint>
#include <string_view>

namespace vortan {

// name is the parameter text with its "=" ("NPNODS="); the value found on the card is
// truncated toward zero.
std::int32_t GETINT(std::string_view name, std::int32_t default_value, std::string_view description);
double GETREA(std::string_view name, double default_value, std::string_view description);

// 1 for "ACTIVO", 0 for "NOACTIVO"; any other word stops the run.
int ACTIVA(std::string_view word);

// Echoes a word-valued entry; n = 0 gives the unnumbered layout.
void ECHWRD(int n, std::string_view description, std::string_view word);

}  // namespace vortan
