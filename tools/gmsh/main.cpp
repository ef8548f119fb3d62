// vortan-gmsh: a deck skeleton from a Gmsh mesh (.msh) or geometry (.geo, meshed here).
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "gmsh_import.h"

int main(int argc, char** argv) {
  try {
    vortan::gmsh_import::import_file(vortan::gmsh_import::parse_arguments(std::vector<std::string>(argv + 1, argv + argc)));
  } catch (const vortan::gmsh_import::ImportError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vortan-gmsh: %s\n", e.what());
    return 1;
  }
  return 0;
}
