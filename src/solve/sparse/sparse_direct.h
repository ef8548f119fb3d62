// The sparse direct path (solver code 6): the free-free part of the global matrix in
// compressed columns, ordered by nested dissection and factored by the supernodal
// Cholesky factorisation of a library (SuiteSparse CHOLMOD), then solved once.
//
// The matrix is assembled as in the compressed-row path (compressed_rows.h): one entry
// for every pair of free equations that an element, a spring or a link couples, the
// prescribed values moved to the right-hand side. The rows of a symmetric matrix are
// its columns, so the structure is handed to the library as it stands and the library
// reads its upper triangle. The factor lives in the library's own memory, outside the
// work array: the allocation table says so and states the library's peak.
#pragma once

#include <string>

namespace vortan {

// Whether this build holds the library; without it the path stops naming the package.
bool sparse_direct_available();

// The Debian package that brings the library.
inline constexpr const char* SPARSE_DIRECT_PACKAGE = "libsuitesparse-dev";

// Bytes the system can still give to the process, or a negative value when unknown
// (the factor is not sized against it then). Replaceable so that the stop can be
// exercised; a null query restores the reading of /proc/meminfo.
using AvailableMemoryQuery = double (*)();
void set_available_memory_query(AvailableMemoryQuery query);

// What the last factorisation did (the listing block and the benchmarks read it).
struct SparseFactorReport {
  std::string ordering;         // name of the fill-reducing ordering used
  double matrix_entries = 0.0;  // entries of the upper triangle, diagonal included
  double factor_entries = 0.0;  // entries of the factor L
  double flops = 0.0;           // floating-point operations of the factorisation
  double peak_bytes = 0.0;      // the library's peak memory
  double analysis_seconds = 0.0;
  double factor_seconds = 0.0;
  double solve_seconds = 0.0;
};
extern SparseFactorReport SPARSE_REPORT;

}  // namespace vortan
