#include "elements/record_storage.h"

#include <string>
#include <vector>

#include "input/element_sets.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/work_array.h"

namespace vortan {

namespace {

// One disk record of the largest length a set may have.
std::vector<double>& record_buffer() {
  static std::vector<double> buffer(30000);
  return buffer;
}

void check_element(const ElementSet& s, int element, const char* routine) {
  if (element < 1 || element > s.NELEM) ERRSTP(std::string(routine) + ": ELEMENTO FUERA DEL SET");
}

// Upper triangle row by row from the diagonal: (1,1), (1,2), ..., (1,n), (2,2), ...
void pack(int n, const double* full, double* packed) {
  int p = 0;
  for (int i = 0; i < n; ++i)
    for (int j = i; j < n; ++j) packed[p++] = full[i + n * j];
}

void unpack(int n, const double* packed, double* full) {
  int p = 0;
  for (int i = 0; i < n; ++i)
    for (int j = i; j < n; ++j) {
      full[i + n * j] = packed[p];
      full[j + n * i] = packed[p++];
    }
}

double* memory_slice(const ElementSet& s, int element, int kind) {
  const std::int64_t values =
      static_cast<std::int64_t>(element - 1) * s.memory_length + s.record_offset[kind];
  return WORK.reals(s.MEMSET) + values;
}

}  // namespace

int packed_order(int set, int kind) {
  const ElementSet& s = SETS(set);
  if (!s.packed[kind]) return 0;
  if (kind == KIND_D) return s.NSTRE;
  if (kind == KIND_K || kind == KIND_MASS) return s.NEVAB();
  return 0;
}

void GETSER(int set, int element, int kind, double* destination) {
  const ElementSet& s = SETS(set);
  const int size = s.record_size[kind];
  const int order = packed_order(set, kind);
  const double* from = nullptr;
  if (s.storage[kind] == 'D') {
    check_element(s, element, "GETSER");
    std::vector<double>& buffer = record_buffer();
    if (!read_direct(100 + set, element, buffer.data())) ERRSTP("GETSER: REGISTRO NO ALMACENADO");
    from = buffer.data() + s.record_offset[kind];
  } else if (s.storage[kind] == 'M' && size > 0) {
    check_element(s, element, "GETSER");
    from = memory_slice(s, element, kind);
  } else {
    ERRSTP("GETSER: NO MEDIA FOUND FOR THE REQUEST");
  }
  if (order > 0) unpack(order, from, destination);
  else COPYR(from, destination, size);
}

void PUTSER(int set, int element, int kind, const double* source) {
  const ElementSet& s = SETS(set);
  const int size = s.record_size[kind];
  const int order = packed_order(set, kind);
  double* to = nullptr;
  std::vector<double>& buffer = record_buffer();
  if (s.storage[kind] == 'D') {
    check_element(s, element, "PUTSER");
    read_direct(100 + set, element, buffer.data());
    to = buffer.data() + s.record_offset[kind];
  } else if (s.storage[kind] == 'M' && size > 0) {
    check_element(s, element, "PUTSER");
    to = memory_slice(s, element, kind);
  } else {
    ERRSTP("PUTSER: NO MEDIA FOUND FOR THE REQUEST");
  }
  if (order > 0) pack(order, source, to);
  else COPYR(source, to, size);
  if (s.storage[kind] == 'D') write_direct(100 + set, element, buffer.data());
}

}  // namespace vortan
