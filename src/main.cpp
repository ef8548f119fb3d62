// VORTAN: batch finite-element analysis of solids, structures and heat conduction.
// Usage: vortan problem.vtn
#include "analyses/inpdat.h"
#include "run/work_array.h"

int main(int argc, char** argv) {
  vortan::size_work_array();
  return vortan::run_vortan(argc > 1 ? argv[1] : "");
}
