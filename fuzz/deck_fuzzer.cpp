// Coverage-guided fuzzing of the whole deck-reading path: every input is written as a
// problem file and run through a complete analysis, in process. A fatal stop is a
// normal outcome; a crash, a hang or a sanitizer report is a defect, and so is a run
// that ends with exit status 0 without a complete listing (the closing banner and,
// for every analysis that has one, the timing report) or with a number that is not
// finite in its listing.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "analyses/inpdat.h"
#include "run/analysis_code.h"
#include "run/console.h"
#include "run/work_array.h"

namespace {

std::string deck_directory() {
  static std::string path = [] {
    char pattern[] = "/tmp/vortan-fuzz-XXXXXX";
    const char* dir = mkdtemp(pattern);
    return std::string(dir != nullptr ? dir : "/tmp");
  }();
  return path;
}

std::string read_whole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

[[noreturn]] void oracle_failure(const char* what) {
  std::fprintf(stderr, "deck_fuzzer: run ended with exit status 0 but %s\n", what);
  std::abort();
}

// The formatter writes a value that is not finite as "NaN", "Infinity" or "Inf".
// Listing text copied from the deck (the title, the echo of its cards) keeps the
// deck's letters, so a spelling that the deck itself holds proves nothing.
bool holds_non_finite(const std::string& listing, std::string_view deck) {
  for (const char* word : {"NaN", "Inf"})
    if (deck.find(word) == std::string_view::npos && listing.find(word) != std::string::npos) return true;
  return false;
}

// What a run that ended with exit status 0 must have left.
void check_finished_run(const std::string& stem, std::string_view deck) {
  const std::string listing = read_whole(stem + ".sal");
  if (listing.find("----- V O R T A N v. 5.1.5 ------") == std::string::npos ||
      listing.find("TIEMPO CONSUMIDO:") == std::string::npos)
    oracle_failure("its listing has no closing banner");
  // The general static analysis has no timing table: its timing file stays empty.
  const bool timed = vortan::RUN.KANALI != vortan::GENERAL_STATIC;
  if (timed && read_whole(stem + ".tim").find("I N F O R M A C I O N    DE    T I E M P O S") == std::string::npos)
    oracle_failure("it wrote no timing report");
  if (holds_non_finite(listing, deck)) oracle_failure("its listing holds a number that is not finite");
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
  const std::string stem = deck_directory() + "/F";
  const std::string path = stem + ".vtn";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  // The listing and timing report of the previous input must not pass for this one's.
  std::remove((stem + ".sal").c_str());
  std::remove((stem + ".tim").c_str());
  vortan::RUN.MEMORY = 1 << 22;
  if (vortan::run_vortan(path) == 0)
    check_finished_run(stem, std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
