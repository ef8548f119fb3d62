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
#include <cstdlib>
#include <string>

namespace {

void he8_deck(long nx, long ny, long nz, long modes, const std::string& method) {
  auto node = [&](long i, long j, long k) { return 1 + i + (nx + 1) * (j + (ny + 1) * k); };
  std::printf("VORTAN\nANALISIS AUTOVALORES\nTITULO VOLADIZO HE8 %ldX%ldX%ld BENCHMARK DE AUTOVALORES\n", nx, ny, nz);
  std::printf("NUMERO_DE_NODOS NPNODS=%ld\nNUMERO_DE_SETS NSETS=1\nSOLVER %s\nPOSTPROCESO KELDAR\n",
              (nx + 1) * (ny + 1) * (nz + 1), method.c_str());
  std::printf("NUMERO_DE_AUTOVALORES NUMFR=%ld\nIMPRESIONES_GLOBALES SALIDA_DESPLAZAMIENTO NOACTIVO\n", modes);
  std::printf("SET_NUMERO 1\nTIPO SOLIDO\nELEMENTO HE8 NELEM=%ld\n", nx * ny * nz);
  std::printf("MATERIAL YOUNG=1000.0 POISSON=0.25 DENSIDAD=1.0\nFIN_SET\nGEOMETRIA\n");
  long e = 0;
  for (long k = 0; k < nz; ++k)
    for (long j = 0; j < ny; ++j)
      for (long i = 0; i < nx; ++i)
        std::printf("%ld 1 %ld %ld %ld %ld %ld %ld %ld %ld\n", ++e, node(i, j, k), node(i + 1, j, k),
                    node(i + 1, j + 1, k), node(i, j + 1, k), node(i, j, k + 1), node(i + 1, j, k + 1),
                    node(i + 1, j + 1, k + 1), node(i, j + 1, k + 1));
  for (long k = 0; k <= nz; ++k)
    for (long j = 0; j <= ny; ++j)
      for (long i = 0; i <= nx; ++i) std::printf("%ld %ld.0 %ld.0 %ld.0\n", node(i, j, k), i, j, k);
  std::printf("FIN_GEOMETRIA\nCONDICIONES_DE_CONTORNO\n");
  for (long k = 0; k <= nz; ++k)
    for (long j = 0; j <= ny; ++j) std::printf("%ld 1 1 1\n", node(0, j, k));
  std::printf("FIN_CONDICIONES_DE_CONTORNO\nMASAS_ANADIDAS INDPM=0\n");
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
