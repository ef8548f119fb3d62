// The benchmark cantilevers of bench_solvers written as CalculiX input, so that the two
// programs can be timed side by side on the same meshes (CalculiX is a benchmark tool
// here, never a dependency of the program or its tests).
//
//   bench_ccx_decks qu4 NX NY       plane stress, CPS4, thickness 1
//   bench_ccx_decks he8 NX NY NZ    solid, C3D8
//
// Same mesh, node numbers, element numbers, material (E = 1000, nu = 0.25), clamp at
// x = 0 and end load (a total of -1 over the nodes of the free end, trapezoidal
// shares; along y for the plane model, along z for the bricks) as the VORTAN decks.
// The displacements of the node at the free end's corner (x = NX, y = 0, z = 0) are
// printed to the .dat file, to compare with VORTAN's listing; all displacements and
// the element stresses go to the .frd file, as VORTAN writes its results.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "brick_mesh.h"

namespace {

void write_material() {
  std::printf("*MATERIAL, NAME=STEEL\n*ELASTIC\n1000.0, 0.25\n");
}

void write_loads(const std::vector<long>& nodes, int direction) {
  std::printf("*CLOAD\n");
  for (std::size_t k = 0; k < nodes.size(); ++k) {
    const double share = (k == 0 || k + 1 == nodes.size() ? 0.5 : 1.0) / static_cast<double>(nodes.size() - 1);
    std::printf("%ld, %d, %.15g\n", nodes[k], direction, -share);
  }
}

void write_step(const std::vector<long>& clamped, int dofs, long tip, const std::vector<long>& loaded, int direction) {
  std::printf("*NSET, NSET=TIP\n%ld\n*BOUNDARY\n", tip);
  for (long n : clamped) std::printf("%ld, 1, %d\n", n, dofs);
  std::printf("*STEP\n*STATIC\n");
  write_loads(loaded, direction);
  std::printf("*NODE PRINT, NSET=TIP\nU\n*NODE FILE\nU\n*EL FILE\nS\n*END STEP\n");
}

void qu4(long nx, long ny) {
  auto node = [&](long i, long j) { return 1 + i + j * (nx + 1); };
  std::printf("*HEADING\nQU4 cantilever %ld x %ld (CPS4)\n*NODE, NSET=NALL\n", nx, ny);
  for (long j = 0; j <= ny; ++j)
    for (long i = 0; i <= nx; ++i) std::printf("%ld, %ld.0, %ld.0, 0.0\n", node(i, j), i, j);
  std::printf("*ELEMENT, TYPE=CPS4, ELSET=EALL\n");
  long e = 0;
  for (long j = 0; j < ny; ++j)
    for (long i = 0; i < nx; ++i)
      std::printf("%ld, %ld, %ld, %ld, %ld\n", ++e, node(i, j), node(i + 1, j), node(i + 1, j + 1), node(i, j + 1));
  write_material();
  std::printf("*SOLID SECTION, ELSET=EALL, MATERIAL=STEEL\n1.0\n");
  std::vector<long> clamped, tip;
  for (long j = 0; j <= ny; ++j) clamped.push_back(node(0, j));
  for (long j = 0; j <= ny; ++j) tip.push_back(node(nx, j));
  write_step(clamped, 2, node(nx, 0), tip, 2);
}

void he8(long nx, long ny, long nz) {
  auto node = [&](long i, long j, long k) { return brick_node(nx, ny, i, j, k); };
  std::printf("*HEADING\nHE8 cantilever %ld x %ld x %ld (C3D8)\n*NODE, NSET=NALL\n", nx, ny, nz);
  for (long k = 0; k <= nz; ++k)
    for (long j = 0; j <= ny; ++j)
      for (long i = 0; i <= nx; ++i) std::printf("%ld, %ld.0, %ld.0, %ld.0\n", node(i, j, k), i, j, k);
  std::printf("*ELEMENT, TYPE=C3D8, ELSET=EALL\n");
  long e = 0;
  for (long k = 0; k < nz; ++k)
    for (long j = 0; j < ny; ++j)
      for (long i = 0; i < nx; ++i)
        std::printf("%ld, %ld, %ld, %ld, %ld, %ld, %ld, %ld, %ld\n", ++e, node(i, j, k), node(i + 1, j, k),
                    node(i + 1, j + 1, k), node(i, j + 1, k), node(i, j, k + 1), node(i + 1, j, k + 1),
                    node(i + 1, j + 1, k + 1), node(i, j + 1, k + 1));
  write_material();
  std::printf("*SOLID SECTION, ELSET=EALL, MATERIAL=STEEL\n");
  std::vector<long> clamped, tip;
  for (long k = 0; k <= nz; ++k)
    for (long j = 0; j <= ny; ++j) clamped.push_back(node(0, j, k));
  for (long k = 0; k <= nz; ++k)
    for (long j = 0; j <= ny; ++j) tip.push_back(node(nx, j, k));
  write_step(clamped, 3, node(nx, 0, 0), tip, 3);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string kind = argc > 1 ? argv[1] : "";
  if (kind == "qu4" && argc == 4) {
    qu4(std::atol(argv[2]), std::atol(argv[3]));
    return 0;
  }
  if (kind == "he8" && argc == 5) {
    he8(std::atol(argv[2]), std::atol(argv[3]), std::atol(argv[4]));
    return 0;
  }
  std::fprintf(stderr, "usage: bench_ccx_decks qu4 NX NY | he8 NX NY NZ\n");
  return 2;
}
