#include <string>

#include "elements/active_set.h"
#include "elements/conduction_tasks.h"
#include "elements/continuum_tasks.h"
#include "elements/element_tasks.h"
#include "run/errstp.h"

namespace vortan {

namespace {

using Task = void (*)(int element, const TaskCodes& codes);

struct TaskEntry {
  const char* name;             // structural task name
  const char* conduction_name;  // task name of heat-conduction sets
  Task structural;
  Task conduction;
};

[[noreturn]] void no_smoothing(int, const TaskCodes&) { ERRSTP("ELETR3: SUAVIZADO NO DISPONIBLE"); }
[[noreturn]] void no_error_analysis(int, const TaskCodes&) { ERRSTP("ELETR3: ANALISIS DE ERROR NO DISPONIBLE"); }

// Problem types whose element routines exist: the continuum (1 to 4).
void require_continuum() {
  if (ACTIVE.NTYPE < 1 || ACTIVE.NTYPE > 4) ERRSTP("ELETR3: TIPO DE ELEMENTO NO DISPONIBLE");
}

// The ten tasks in the order their names are compared.
const TaskEntry TASKS[] = {
    {"DCOMATRIZ", "DCOMATRIZ", continuum_constitutive_matrix, conduction_matrix_of_material},
    {"BDEMATRIZ", "BDEMATRIZ", continuum_strain_matrices, conduction_gradient_matrices},
    {"DEBMATRIZ", "DEBMATRIZ", continuum_stress_strain_products, conduction_flux_matrices},
    {"RIGMATRIZ", "RIGMATRIZ", continuum_stiffness, conduction_matrix},
    {"TENSIONES", "TENSIONES", continuum_stresses, conduction_fluxes},
    {"FUERINTER", "FUERINTER", continuum_internal_forces, conduction_internal_forces},
    {"PESOPROPI", "CALORINTE", continuum_self_weight, conduction_heat_generation},
    {"SUAVIZADO", "SUAVIZADO", no_smoothing, no_smoothing},
    {"ANALISISE", "ANALISISE", no_error_analysis, no_error_analysis},
    {"MASMATRIZ", "MASMATRIZ", MASMTR, MASMTR},
};

void dispatch(int element, int set, const char* fetch, const char* store, std::string_view task,
              bool conduction) {
  if (set != ACTIVE.set) ERRSTP("ELETR3: EL SET NO ESTA ACTIVADO");
  const TaskCodes codes{fetch, store};
  for (const TaskEntry& entry : TASKS) {
    if (task.substr(0, 9) != (conduction ? entry.conduction_name : entry.name)) continue;
    if (conduction) {
      entry.conduction(element, codes);
    } else {
      require_continuum();
      entry.structural(element, codes);
    }
    return;
  }
  ERRSTP("ERROR EN LA SELECCION DE TAREA EN ELETR3");
}

}  // namespace

double& total_structure_mass() {
  static double total = 0.0;
  return total;
}

void ELETR3(int element, int set, const char* fetch, const char* store, std::string_view task) {
  dispatch(element, set, fetch, store, task, false);
}

void ELETRT(int element, int set, const char* fetch, const char* store, std::string_view task) {
  dispatch(element, set, fetch, store, task, true);
}

}  // namespace vortan
