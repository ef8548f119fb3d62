// Coverage-guided fuzzing of the whole deck-reading path: every input is written as a
// problem file and run through a complete analysis, in process. A fatal stop is a
// normal outcome; a crash, a hang or a sanitizer report is a defect.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "analyses/inpdat.h"
#include "run/console.h"
#include "run/work_array.h"

namespace {

std::string deck_path() {
  static std::string path = [] {
    char pattern[] = "/tmp/vortan-fuzz-XXXXXX";
    const char* dir = mkdtemp(pattern);
    return std::string(dir != nullptr ? dir : "/tmp") + "/F.vtn";
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // A small work array: large requests end in the allocator's stop quickly.
  vortan::RUN.MEMORY = 1 << 22;
  vortan::WORK.obtain(vortan::RUN.MEMORY);
  // The console and the fatal report of every run would flood the fuzzer's output,
  // which shares standard error with them.
  vortan::set_diagnostic_stream(nullptr);
  if (std::freopen("/dev/null", "w", stdout) == nullptr) return 0;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = deck_path();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  vortan::RUN.MEMORY = 1 << 22;
  vortan::run_vortan(path);
  return 0;
}
