#include "input/set_files.h"

#include "input/element_sets.h"
#include "input/problem.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"

namespace vortan {

namespace {

constexpr int MAX_RECORD_LENGTH = 30000;

int square_or_packed(int n, bool packed) { return packed ? n * (n + 1) / 2 + 1 : n * n; }

// Displacement-gradient components of a nonlinear set: the full gradient of the
// in-plane or spatial displacement, plus the hoop term of a solid of revolution.
int gradient_components(const ElementSet& set) {
  if (!set.nonlinear) return 0;
  switch (set.problem_type) {
    case 1: case 2: return 4;
    case 3: return 5;
    case 4: return 9;
    default: return 0;
  }
}

void list_storage(int set, const ElementSet& s) {
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, fmt::X(10) + "INFORMACION DE ALMACENAMIENTO DINAMICO PARA EL SET " + fmt::I(set, 3));
  write_empty(UNIT_LISTING);
  write_record(UNIT_LISTING, fmt::X(20) + "LONGITUD DE REGISTRO EN DISCO   " + fmt::I(s.disk_length, 5));
  write_record(UNIT_LISTING, fmt::X(20) + "LONGITUD DE REGISTRO EN MEMORIA " + fmt::I(s.memory_length, 5));
}

}  // namespace

int record_kind_size(int set, int kind) {
  const ElementSet& s = SETS(set);
  const std::int64_t n = s.NEVAB();
  const std::int64_t st = s.NSTRE;
  const std::int64_t g = s.NGAUS;
  std::int64_t size = 0;
  switch (kind) {
    case KIND_D: size = square_or_packed(static_cast<int>(st), s.packed[KIND_D]); break;
    case KIND_B:
    case KIND_DB: size = st * n * g; break;
    case KIND_K: size = square_or_packed(static_cast<int>(n), s.packed[KIND_K]); break;
    case KIND_STRESS: size = s.NSTR1 * g; break;
    case KIND_FORCES:
    case KIND_WEIGHT:
    case KIND_SMOOTH:
    case KIND_ERROR: size = n; break;
    case KIND_MASS: size = square_or_packed(static_cast<int>(n), s.packed[KIND_MASS]); break;
    case KIND_GRADIENT: size = g * gradient_components(s); break;
    default: break;
  }
  return static_cast<int>(size);
}

void OPENSE(int set) {
  ElementSet& s = SETS(set);
  s.disk_length = 0;
  s.memory_length = 0;
  s.gradient_components = gradient_components(s);
  for (int kind = 0; kind < RECORD_KINDS; ++kind) {
    const int size = record_kind_size(set, kind);
    s.record_size[kind] = size;
    s.record_offset[kind] = 0;
    if (s.storage[kind] == 'D') {
      s.record_offset[kind] = s.disk_length;
      s.disk_length += size;
    } else if (s.storage[kind] == 'M') {
      s.record_offset[kind] = s.memory_length;
      s.memory_length += size;
    }
  }
  if (s.disk_length > 0) {
    if (s.disk_length > MAX_RECORD_LENGTH) ERRSTP("OPENSE: MAXIMUM RECORD LENGHT REACHED");
    OPENFI(100 + set, s.disk_length);
  }
  s.MEMSET = 0;
  if (s.memory_length > 0) {
    if (s.memory_length > MAX_RECORD_LENGTH) ERRSTP("OPENSE: MAXIMUM RECORD LENGHT REACHED");
    const std::int64_t values = static_cast<std::int64_t>(s.memory_length) * s.NELEM;
    s.MEMSET = DIRECT(RUN.NXTPOS, RUN.MEMORY, values, "MEM-SET", REAL_WORDS);
    ZEROR(values, WORK.reals(s.MEMSET));
  }
  if (PROBLEM.printing(PRINT_DATA)) list_storage(set, s);
  for (int& done : s.computed) done = 0;
}

}  // namespace vortan
