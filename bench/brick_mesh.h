// The brick cantilever mesh the benchmark decks share: nx x ny x nz unit HE8 cubes,
// nodes numbered x fastest, clamped at x = 0. Writes the GEOMETRIA block and the
// restraints to standard output.
#pragma once

#include <cstdio>

inline long brick_node(long nx, long ny, long i, long j, long k) {
  return 1 + i + (nx + 1) * (j + (ny + 1) * k);
}

inline void write_brick_mesh(long nx, long ny, long nz) {
  auto node = [&](long i, long j, long k) { return brick_node(nx, ny, i, j, k); };
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
  std::printf("FIN_CONDICIONES_DE_CONTORNO\n");
}
