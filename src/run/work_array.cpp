#include "run/work_array.h"

#include <algorithm>
#include <new>
#include <string>

#include "run/console.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/memory_size.h"

namespace vortan {

RunRecord RUN;
WorkArray WORK;

WorkArray::~WorkArray() { release(); }

bool WorkArray::obtain(std::int32_t words) {
  release();
  if (words <= 0) return false;
  const std::size_t bytes = static_cast<std::size_t>(words) * 4;
  base_ = static_cast<std::int32_t*>(::operator new(bytes, std::align_val_t(64), std::nothrow));
  return base_ != nullptr;
}

void WorkArray::release() {
  if (base_ != nullptr) ::operator delete(base_, std::align_val_t(64));
  base_ = nullptr;
}

namespace {

bool request_from_system(std::int32_t words) { return WORK.obtain(words); }

// The single-precision value 0.8 widened to double.
constexpr double SHRINK_FACTOR = 0.800000011920929;

void write_to_three(std::string_view line) {
  write_record(UNIT_CONSOLE, line);
  write_record(UNIT_LISTING, line);
  write_record(UNIT_ALLOCATION, line);
}

void empty_to_three(int count) {
  for (int i = 0; i < count; ++i) write_to_three("");
}

void write_overflow_block(std::int32_t limit, std::int64_t needed, std::string_view name) {
  empty_to_three(5);
  const std::string indent = fmt::X(10);
  write_to_three(indent + "MEMORIA DISPONIBLE EXCEDIDA ");
  empty_to_three(1);
  write_to_three(indent + "MAXIMA MEMORIA USADA        " + fmt::I(limit, 9));
  empty_to_three(1);
  write_to_three(indent + "MEMORIA NECESARIA AHORA     " + fmt::I(needed, 9));
  empty_to_three(1);
  write_to_three(indent + "ULTIMO ARREGLO DIMENSIONADO " + fmt::A(std::string(name).substr(0, 5), 5));
  empty_to_three(1);
  write_to_three(indent + "EJECUCION DE PROGRAMA DETENIDA");
  empty_to_three(1);
  // The figures above are words in nine digits; the advice is in bytes, with the way
  // to a larger work array.
  const double word_bytes = 4.0;
  const std::string size_line = "EL ARREGLO DE TRABAJO TIENE " + memory_size_text(word_bytes * limit) +
                                "; ESTA CORRIDA NECESITA AL MENOS " + memory_size_text(word_bytes * needed);
  std::string advice;
  if (needed <= LARGEST_WORK_ARRAY_WORDS) {
    const std::string larger = memory_size_text(std::min(word_bytes * needed * 1.25, 8.0 * 1024 * 1024 * 1024));
    advice = "AUMENTELO CON --memory " + larger + " O CON LA VARIABLE " + MEMORY_VARIABLE + "=" + larger + " (HASTA 8G)";
  } else {
    advice = "NI EL MAYOR ARREGLO DE TRABAJO (8G) BASTA PARA ESTE MODELO";
  }
  write_to_three(indent + size_line);
  write_to_three(indent + advice);
  empty_to_three(3);
  write_diagnostic(size_line);
  write_diagnostic(advice);
}

// The end position of a request, computed in 64 bits so that a huge count can never
// wrap into a small 32-bit position.
std::int64_t end_position(std::int32_t old, std::int64_t count, int size) {
  if (count < 0) count = 0;
  return static_cast<std::int64_t>(old) + count * size;
}

std::int32_t make_odd(std::int64_t position) {
  return static_cast<std::int32_t>(position % 2 == 0 ? position + 1 : position);
}

}  // namespace

void size_work_array(BlockRequest request) {
  if (request == nullptr) request = request_from_system;
  while (!request(RUN.MEMORY)) {
    RUN.MEMORY = static_cast<std::int32_t>(RUN.MEMORY * SHRINK_FACTOR);
    if (RUN.MEMORY <= 0) break;
  }
}

std::int32_t DIRECT(std::int32_t& cursor, std::int32_t limit, std::int64_t count,
                    std::string_view name, int size) {
  const std::int32_t old = cursor;
  if (old == 1) {
    write_empty(UNIT_ALLOCATION, 5);
    write_record(UNIT_ALLOCATION, "      ARREGLO    MEM. ANTER.      MEM. TOTAL   MEM. ARREG.");
    write_empty(UNIT_ALLOCATION, 2);
  }
  const std::int64_t next = end_position(old, count, size);
  if (next > limit) {
    write_overflow_block(limit, next, name);
    ERRSTP("DIRECT: MEMORIA EXCEDIDA");
  }
  cursor = static_cast<std::int32_t>(next);
  write_record(UNIT_ALLOCATION, fmt::X(5) + fmt::A(std::string(name).substr(0, 5), 5) +
                                    fmt::X(5) + fmt::I(old, 10) + fmt::X(5) + fmt::I(next, 10) +
                                    fmt::X(5) + fmt::I(next - old, 10));
  cursor = make_odd(next);
  return old;
}

std::int32_t DIREC1(std::int32_t& cursor, std::int32_t limit, std::int64_t count,
                    std::string_view name, int size) {
  const std::int32_t old = cursor;
  const std::int64_t next = end_position(old, count, size);
  if (next > limit) {
    empty_to_three(5);
    write_to_three("      FALLO MEMORIA EN ARREGLOS TEMPORALES");
    empty_to_three(3);
    write_overflow_block(limit, next, name);
    ERRSTP("DIREC1: MEMORIA EXCEDIDA");
  }
  cursor = make_odd(next);
  return old;
}

void ZEROI(std::int64_t count, std::int32_t* array) {
  if (count > 0) std::fill(array, array + count, 0);
}

void ZEROR(std::int64_t count, double* array) {
  if (count > 0) std::fill(array, array + count, 0.0);
}

void COPYR(const double* source, double* target, std::int64_t count) {
  if (count > 0) std::copy(source, source + count, target);
}

void COPYBL(int source_stride, int target_stride, int rows, const double* source,
            double* target) {
  for (int k = 0; k < rows; ++k)
    for (int j = 1; j <= target_stride; ++j)
      target[j - 1 + k * target_stride] = source[j - 1 + k * source_stride];
}

}  // namespace vortan
