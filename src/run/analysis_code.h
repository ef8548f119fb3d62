// The analysis codes of a run (KANALI): set by the input dispatcher just before it
// calls the driver of the analysis; the timing report chooses its table by it.
#pragma once

namespace vortan {

enum AnalysisCode : int {
  NO_ANALYSIS = 0,         // the header cards selected no driver
  STATIC_LINEAR = 1,
  IMPLICIT_DYNAMICS = 2,
  EXPLICIT_DYNAMICS = 3,
  EIGENVALUES = 4,
  HEAT_CONDUCTION = 5,
  NONLINEAR_STATIC = 6,    // "GENERAL" "NOLINEAL"
  GENERAL_STATIC = 101,    // "OPTIMIZACION" "LINEAL"
};

}  // namespace vortan
