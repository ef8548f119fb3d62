#include "elements/active_set.h"
#include "elements/conduction_tasks.h"
#include "elements/continuum_tasks.h"
#include "elements/element_tasks.h"
#include "elements/plate/plate_tasks.h"
#include "elements/shell/flat_shell_tasks.h"
#include "elements/frame/beam_element_tasks.h"
#include "elements/frame/frame_tasks.h"
#include "elements/revolution/cone_tasks.h"
#include "input/element_sets.h"
#include "run/errstp.h"

namespace vortan {

ElementTotalsRecord ELEMENT_TOTALS;

namespace {

// The task table of every family, in family order; an empty row is a family whose
// element routines are not built.
const TaskTable* const FAMILY_TABLES[ELEMENT_FAMILY_COUNT] = {
    nullptr,            // none
    &CONTINUUM_TASKS,   // continuum
    &PLATE_TASKS,       // plate
    &FLAT_SHELL_TASKS,  // flat shell
    &FRAME_TASKS,       // frame, truss and grid
    &BEAM_ELEMENT_TASKS,  // beam finite element
    &CONE_TASKS,        // shell of revolution
    &CONDUCTION_TASKS,  // heat conduction
};

// The stress tables of the families that print their own, in family order.
const OwnStressTable* const FAMILY_STRESS_TABLES[ELEMENT_FAMILY_COUNT] = {
    nullptr,               // none
    nullptr,               // continuum
    nullptr,               // plate
    nullptr,               // flat shell
    &FRAME_STRESS_TABLE,   // frame, truss and grid
    &BEAM_ELEMENT_STRESS_TABLE,  // beam finite element
    nullptr,               // shell of revolution
    nullptr,               // heat conduction
};

[[noreturn]] void missing_task(ElementTask task) {
  switch (task) {
    case ElementTask::smoothing: ERRSTP("ELETR3: SUAVIZADO NO DISPONIBLE");
    case ElementTask::error_estimate: ERRSTP("ELETR3: ANALISIS DE ERROR NO DISPONIBLE");
    default: ERRSTP("ERROR EN LA SELECCION DE TAREA EN ELETR3");
  }
}

void dispatch(int element, int set, const char* fetch, const char* store, ElementTask task,
              const TaskTable* table) {
  if (set != ACTIVE.set) ERRSTP("ELETR3: EL SET NO ESTA ACTIVADO");
  if (table == nullptr) ERRSTP("ELETR3: TIPO DE ELEMENTO NO DISPONIBLE");
  const int index = static_cast<int>(task);
  if (index < 0 || index >= ELEMENT_TASK_COUNT) missing_task(task);
  const TaskRoutine routine = (*table)[index];
  if (routine == nullptr) missing_task(task);
  routine(element, TaskCodes{fetch, store});
}

}  // namespace

void ELETR3(int element, int set, const char* fetch, const char* store, ElementTask task) {
  const ElementFamily family = SETS(set).family;
  const TaskTable* table =
      family == ElementFamily::conduction ? nullptr : FAMILY_TABLES[static_cast<int>(family)];
  dispatch(element, set, fetch, store, task, table);
}

void ELETRT(int element, int set, const char* fetch, const char* store, ElementTask task) {
  dispatch(element, set, fetch, store, task, &CONDUCTION_TASKS);
}

const OwnStressTable* own_stress_table(int set) {
  return FAMILY_STRESS_TABLES[static_cast<int>(SETS(set).family)];
}

Dispatcher element_dispatcher(int set) {
  return SETS(set).family == ElementFamily::conduction ? ELETRT : ELETR3;
}

}  // namespace vortan
