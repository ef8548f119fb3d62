// Fixture of the load tests: a deck from the header cards on (mesh, restraints,
// supports) followed by its load block, read in process by the problem-header reader
// and the load reader; fatal stops caught as their messages.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "../test_support.h"
#include "elements/active_set.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "analyses/driver_phases.h"
#include "loads/element_loads.h"
#include "loads/load_reader.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/work_array.h"

namespace vortan::test {

class LoadTest : public ::testing::Test {
 protected:
  void TearDown() override {
    reset_active_set();
    reset_run_state();
  }

  // Reads the problem definition and the load block of a deck.
  void read(const std::string& deck) {
    ensure_work_array();
    write_file(dir.file("L.vtn"), deck);
    open_deck(dir.file("L.vtn"));
    OPENFI(UNIT_ALLOCATION);
    RUN.NXTPOS = 1;
    reset_active_set();
    INPEST(ProblemVariant::static_linear);
    read_loads();
  }
  // The stop message of reading a deck, or "no stop".
  std::string stop_of(const std::string& deck) {
    try {
      read(deck);
    } catch (const FatalStop& stop) {
      return stop.message();
    }
    return "no stop";
  }
  std::string listing() {
    flush_units();
    return read_file(dir.file("L.sal"));
  }
  static double load(int set, int element, int variable) { return load_entry(set, element, variable); }

  TempDir dir;
};

// The header cards of a deck of `nodes` nodes and `sets` sets; node_extra goes on the
// node-count card (MAPOY=...).
inline std::string header(int nodes, int sets, const std::string& node_extra = "") {
  return "NUMERO_DE_NODOS NPNODS=" + std::to_string(nodes) + node_extra + "\nNUMERO_DE_SETS NSETS=" +
         std::to_string(sets) + "\nSOLVER LDLT\nPOSTPROCESO FEMVIEW\n";
}

inline std::string set_cards(int set, const std::string& type, const std::string& element, int nelem,
                             const std::string& material) {
  return "SET_NUMERO " + std::to_string(set) + "\nTIPO " + type + "\nELEMENTO " + element +
         " NELEM=" + std::to_string(nelem) + "\nMATERIAL " + material + "\nFIN_SET\n";
}

inline std::string geometry(const std::string& lines) { return "GEOMETRIA\n" + lines + "FIN_GEOMETRIA\n"; }

inline const std::string FREE =
    "CONDICIONES_DE_CONTORNO\nSIN_RESTRICCIONES\nFIN_CONDICIONES_DE_CONTORNO\n";

// A load section of one set.
inline std::string section(int set, const std::string& body) {
  return "SET_NUMERO " + std::to_string(set) + "\nCARGAS DEL SET\n" + body + "FIN_FUERZAS\n";
}

}  // namespace vortan::test
