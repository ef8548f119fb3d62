// The deck skeleton of a mesh made with Gmsh: the elements of the mesh's highest
// dimension become element sets (one per physical group and element type), their
// nodes the geometry block in the element catalogue's node order, and physical
// groups of lower dimension named on the command line become restraints.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace vortan::gmsh_import {

// A failure the user can mend (a missing group, an element type the catalogue lacks):
// the tool prints its text and ends with a non-zero status.
struct ImportError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A catalogue element type that a Gmsh element type becomes: its keyword and, for each
// Gmsh local node in Gmsh's order, the element's local node position (1-based) in the
// catalogue order. count 0 when the catalogue has no such element.
struct NodeMap {
  const char* keyword = nullptr;
  int count = 0;
  int position[27] = {};
};
NodeMap catalogue_element(int gmsh_type);

// The reflection of a 2-D element in Gmsh's node order (the same element run the other
// way round), used for elements whose corners run clockwise in the x-y plane.
std::vector<int> reversed_order(int gmsh_type);

// A restraint of the command line: "--fix NAME=xy" restrains x and y of every node of
// the physical group NAME; "--fix NAME=x:0.01" prescribes x to 0.01.
struct Restraint {
  std::string group;
  bool fixed[3] = {false, false, false};
  double value[3] = {0.0, 0.0, 0.0};
};
Restraint parse_restraint(const std::string& text);

struct Options {
  std::string input;             // .msh, or .geo to be meshed
  std::string output;            // the deck
  std::string problem_type;      // TIPO of every set; "" = TENSION_PLANA in 2-D, SOLIDO in 3-D
  std::string material = "YOUNG=1.0 POISSON=0.0";
  std::string title;             // TITULO; "" = the input's name
  std::vector<Restraint> restraints;
};

// Parses the command line (without the program name); throws ImportError with the
// usage text when it is not understood.
Options parse_arguments(const std::vector<std::string>& arguments);

// Writes the deck of the current Gmsh model (already meshed); throws ImportError.
std::string deck_of_current_model(const Options& options);

// The whole tool: opens (and, for a .geo file, meshes) the input and writes the deck.
void import_file(const Options& options);

}  // namespace vortan::gmsh_import
