// Benchmark decks of the eigenvalue analysis.
//
//   bench_eigen_solvers deck NX NY NZ [MODES] [METHOD]
//
// writes to standard output a complete eigenvalue problem: the solid HE8 cantilever
// of the direct-solver benchmarks (unit cubes along x, nodes numbered x fastest,
// clamped at x = 0; E = 1000, Poisson 0.25) with density 1, asking for MODES modes
// (default 10) by METHOD, one of ITERACION_INVERSA, BUSQUEDA_DETERMINANTE, VON_MISES,
// INTEGRACION_EN_EL_SUBESPACIO (the default). The mode shapes are not printed, so that
// the listing stays small; run_eigen_benchmarks.sh times the program on the decks.
#include <cstdio>

#include "brick_mesh.h"
#include <cstdlib>
#include <string>

namespace {

void he8_deck(long nx, long ny, long nz, long modes, const std::string& method) {
  std::printf("VORTAN\nANALISIS AUTOVALORES\nTITULO VOLADIZO HE8 %ldX%ldX%ld BENCHMARK DE AUTOVALORES\n", nx, ny, nz);
  std::printf("NUMERO_DE_NODOS NPNODS=%ld\nNUMERO_DE_SETS NSETS=1\nSOLVER %s\nPOSTPROCESO KELDAR\n",
              (nx + 1) * (ny + 1) * (nz + 1), method.c_str());
  std::printf("NUMERO_DE_AUTOVALORES NUMFR=%ld\nIMPRESIONES_GLOBALES SALIDA_DESPLAZAMIENTO NOACTIVO\n", modes);
  std::printf("SET_NUMERO 1\nTIPO SOLIDO\nELEMENTO HE8 NELEM=%ld\n", nx * ny * nz);
  std::printf("MATERIAL YOUNG=1000.0 POISSON=0.25 DENSIDAD=1.0\nFIN_SET\nGEOMETRIA\n");
  write_brick_mesh(nx, ny, nz);
  std::printf("MASAS_ANADIDAS INDPM=0\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 5 && std::string(argv[1]) == "deck") {
    const long modes = argc > 5 ? std::atol(argv[5]) : 10;
    const std::string method = argc > 6 ? argv[6] : "INTEGRACION_EN_EL_SUBESPACIO";
    he8_deck(std::atol(argv[2]), std::atol(argv[3]), std::atol(argv[4]), modes, method);
    return 0;
  }
  std::fprintf(stderr, "usage: bench_eigen_solvers deck NX NY NZ [MODES] [METHOD]\n");
  return 2;
}
