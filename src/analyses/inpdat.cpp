#include "analyses/inpdat.h"

#include "analyses/drivers.h"
#include "elements/active_set.h"
#include "elements/element_tasks.h"
#include "elements/point_geometry.h"
#include "loads/load_reader.h"
#include "results/smoothing_record.h"
#include "solve/profile_matrix.h"
#include "solve/solution_record.h"
#include "input/card_reader.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "run/analysis_code.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/run_driver.h"
#include "run/timing.h"
#include "run/work_array.h"

namespace vortan {

namespace {

void run_driver(AnalysisCode kanali, void (*driver)()) {
  RUN.KANALI = kanali;
  driver();
}

// The selection cards of a static analysis chose no driver: the run ends after the
// banners as the selection rules say, and the console tells why.
void warn_no_analysis(const std::string& first, const std::string& second, const std::string& material) {
  std::string reason;
  if (first == "OPTIMIZACION" && second == "NOLINEAL")
    reason = "OPTIMIZACION NOLINEAL NO TIENE ANALISIS";
  else if (!(first == "GENERAL" && (second == "LINEAL" || second == "NOLINEAL")) &&
           !(first == "OPTIMIZACION" && second == "LINEAL"))
    reason = "SE ESPERA GENERAL LINEAL, GENERAL NOLINEAL U OPTIMIZACION LINEAL";
  else
    reason = "LA SEGUNDA TARJETA DEBE SER MATERIAL LINEAL";
  write_record(UNIT_CONSOLE, "WARNING: NO SE HA REALIZADO NINGUN ANALISIS");
  write_record(UNIT_CONSOLE, "         TARJETAS DE SELECCION: " + first + " " + second + " / " + material);
  write_record(UNIT_CONSOLE, "         " + reason);
}

// The static branch: title card, then the two selection cards.
void select_static_analysis() {
  LISTEN("INPDAT");
  if (CARD.word_is(1, "TITULO")) {
    PROBLEM.title = CARD.CARDIM;  // kept for the heading of the post-processing files
    write_record(UNIT_LISTING, CARD.CARDIM);
  }
  LISTEN("INPDAT");
  if (CARD.NWORD == 0) ERRSTP("INPDAT: TARJETA EQUIVOCADA EN INPDAT");
  const std::string first = CARD.WORD(1);
  const std::string second = CARD.WORD(2);
  LISTEN("INPDAT");
  if (CARD.NWORD == 0) ERRSTP("INPEST: TARJETA EQUIVOCADA EN INPDAT");
  const bool linear_material = CARD.word_is(1, "MATERIAL") && CARD.word_is(2, "LINEAL");
  const std::string material = CARD.WORD(1) + " " + CARD.WORD(2);
  if (!linear_material) warn_no_analysis(first, second, material);
  else if (first == "GENERAL" && second == "LINEAL") run_driver(STATIC_LINEAR, static_linear_analysis);
  else if (first == "GENERAL" && second == "NOLINEAL") run_driver(NONLINEAR_STATIC, nonlinear_static_analysis);
  else if (first == "OPTIMIZACION" && second == "LINEAL") run_driver(GENERAL_STATIC, general_static_analysis);
  else warn_no_analysis(first, second, material);
}

}  // namespace

void INPDAT() {
  RUN.NXTPOS = 1;
  for (int& kind : PROBLEM.union_pattern) kind = 0;
  PROBLEM.sequence.stresses_done = 0;
  LISTEN("INPDAT");
  if (!CARD.word_is(1, "VORTAN")) ERRSTP("INPDAT: NO ENCUENTRA TARJETA VORTAN");
  LISTEN("INPDAT");
  if (CARD.NWORD == 0) ERRSTP("INPEST: TARJETA EQUIVOCADA EN INPDAT");
  if (!CARD.word_is(1, "ANALISIS")) ERRSTP("INPDAT: TIPO DE ANALISIS NO EXISTE");
  const std::string kind = CARD.WORD(2);
  if (kind == "DINAMICO-IMPLICITO") run_driver(IMPLICIT_DYNAMICS, implicit_dynamics_analysis);
  else if (kind == "DINAMICO-EXPLICITO") run_driver(EXPLICIT_DYNAMICS, explicit_dynamics_analysis);
  else if (kind == "AUTOVALORES") run_driver(EIGENVALUES, eigenvalue_analysis);
  else if (kind == "TERMICO-ESTACIONARIO") run_driver(HEAT_CONDUCTION, heat_conduction_analysis);
  else if (kind == "ESTATICO") select_static_analysis();
  else ERRSTP("INPDAT: ANALISIS NO IMPLEMENTADO");
}

void reset_run_state() {
  close_all_units();
  const std::int32_t memory = RUN.MEMORY;
  RUN.reset();
  RUN.MEMORY = memory;
  TIMING.reset();
  CARD.reset();
  PROBLEM.reset();
  SETS.reset();
  FILESET = FileSetRecord{};
  reset_active_set();
  reset_point_geometry();
  ELEMENT_TOTALS.reset();
  LOADS.reset();
  SOLUTION.reset();
  PROFILE.reset();
  SMOOTHING.reset();
}

int run_vortan(std::string_view problem_path) {
  reset_run_state();
  set_command_argument(problem_path);
  try {
    INIRUN();
    INPDAT();
    ENDRUN();
    // The allocation table stays open to the end; its last records are checked too.
    CLOSFI(UNIT_ALLOCATION);
  } catch (const FatalStop&) {
    close_all_units();
    return 1;
  }
  close_all_units();
  return 0;
}

}  // namespace vortan
