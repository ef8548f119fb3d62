// The work array: one block of 4-byte words that holds every problem-sized array of a
// run, addressed by 1-based word positions. Integer arrays take one word per entry,
// real arrays two; every array starts at an odd position, so a real view is 8-byte
// aligned.
#pragma once

#include <cstdint>
#include <string_view>

namespace vortan {

struct RunRecord {
  std::int32_t MEMORY = 268435456;  // words in the work array (1 GiB by default)
  std::int32_t NXTPOS = 1;          // first free word of the main cursor
  std::int32_t KANALI = 0;          // analysis code (AnalysisCode)
  std::int16_t date_time[7] = {};   // hour, minute, second, millisecond, day, month, year
  std::int16_t elapsed[4] = {};     // hours, minutes, seconds, milliseconds of the run
  bool stopping = false;            // the fatal stop is writing its report
  void reset() { *this = RunRecord{}; }
};
extern RunRecord RUN;

// Word sizes of array entries.
inline constexpr int INT_WORDS = 1;
inline constexpr int REAL_WORDS = 2;

class WorkArray {
 public:
  WorkArray() = default;
  WorkArray(const WorkArray&) = delete;
  WorkArray& operator=(const WorkArray&) = delete;
  ~WorkArray();

  // Obtains a block of the given number of words; false when the system refuses.
  bool obtain(std::int32_t words);
  void release();
  bool obtained() const { return base_ != nullptr; }

  std::int32_t* ints(std::int32_t pos) { return base_ + (pos - 1); }
  double* reals(std::int32_t pos) { return reinterpret_cast<double*>(base_ + (pos - 1)); }
  std::int32_t& int_at(std::int32_t pos) { return base_[pos - 1]; }
  double& real_at(std::int32_t pos) { return *reals(pos); }

 private:
  std::int32_t* base_ = nullptr;
};
extern WorkArray WORK;

// Sizes the work array: requests MEMORY words and, while the system refuses, shrinks
// MEMORY by the single-precision factor 0.8 (truncating) and asks again. The request
// function is replaceable so that the shrinking can be exercised.
using BlockRequest = bool (*)(std::int32_t words);
void size_work_array(BlockRequest request = nullptr);

// Bump allocators. Both return the start of the new array and advance cursor, keeping
// it odd. DIRECT lists the array in the allocation table file; DIREC1 (temporary
// arrays) does not. Exhaustion writes the overflow report and stops the run.
std::int32_t DIRECT(std::int32_t& cursor, std::int32_t limit, std::int64_t count,
                    std::string_view name, int size);
std::int32_t DIREC1(std::int32_t& cursor, std::int32_t limit, std::int64_t count,
                    std::string_view name, int size);

void ZEROI(std::int64_t count, std::int32_t* array);
void ZEROR(std::int64_t count, double* array);
void COPYR(const double* source, double* target, std::int64_t count);
// Copies a block column by column: column j (1..target_stride) and row k (0..rows-1)
// go from source[j + k*source_stride] to target[j + k*target_stride] (1-based j).
void COPYBL(int source_stride, int target_stride, int rows, const double* source,
            double* target);

}  // namespace vortan
