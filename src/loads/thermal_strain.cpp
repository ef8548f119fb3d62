#include "loads/thermal_strain.h"

#include "elements/active_set.h"
#include "elements/continuum_tasks.h"
#include "input/catalogue.h"
#include "input/element_sets.h"
#include "loads/imposed_loads.h"
#include "loads/load_reader.h"
#include "run/errstp.h"
#include "run/work_array.h"

namespace vortan {

namespace {

// The nodal strain table of the imposed-strain integration (NSTRE x NNODE) filled with
// the free thermal strain of every node of the element.
void fill_nodal_strains(int set, int element, const double* temperatures) {
  const ActiveSetRecord& a = ACTIVE;
  double* table = a.reals(a.DEFOM);
  for (int n = 0; n < a.NNODE; ++n)
    free_thermal_strain(temperatures[element_node(set, element, n + 1) - 1], table + a.NSTRE * n);
}

}  // namespace

void FUETEM(int set) {
  ElementSet& s = SETS(set);
  if (!is_continuum(s.problem_type)) ERRSTP("FUETEM: TIPO DE PROBLEMA NO DISPONIBLE");
  if (LOADS.TEMPE == 0) ERRSTP("FUETEM: FALTAN TEMPERATURAS EN NODOS");
  // A second card would add the loads twice while the stresses take the strain once.
  if (s.TEMPE != 0) ERRSTP("FUETEM: TEMPERATURA REPETIDA EN EL SET");
  const double* temperatures = WORK.reals(LOADS.TEMPE);
  // The strain table is linear in the temperature, so interpolating the nodal strains
  // gives the strain of the interpolated temperature at every point.
  for (int element = 1; element <= s.NELEM; ++element) {
    fill_nodal_strains(set, element, temperatures);
    gather_element(element);
    integrate_imposed_loads(element, IMPOSED_STRAINS);
  }
  s.TEMPE = LOADS.TEMPE;
}

}  // namespace vortan
