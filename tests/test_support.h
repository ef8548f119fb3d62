// Helpers shared by the tests: scratch directories, deck files, runs of the program.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "analyses/inpdat.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/work_array.h"

namespace vortan::test {

// A fresh directory under the system's temporary directory, removed at the end.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vortan-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    path_ = mkdtemp(buffer.data());
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline std::string write_file(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
  return path;
}

inline std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline bool file_exists(const std::string& path) { return std::filesystem::exists(path); }

inline std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream in(text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

// The message of the fatal stop a call ends in, or "no stop".
inline std::string stop_message_of(const std::function<void()>& call) {
  try {
    call();
  } catch (const FatalStop& stop) {
    return stop.message();
  }
  return "no stop";
}

// Makes sure the work array exists for in-process runs (a small one is enough).
inline void ensure_work_array(std::int32_t words = 1 << 22) {
  if (!WORK.obtained() || RUN.MEMORY != words) {
    RUN.MEMORY = words;
    WORK.obtain(words);
  }
}

// Starts a clean file set on a deck: input, listing and timing files open.
inline void open_deck(const std::string& deck_path) {
  reset_run_state();
  set_command_argument(deck_path);
  OPENFI(1);
}

// Runs the real executable on a deck from the deck's directory; returns its exit status
// and leaves the console output in console.
inline int run_program(const TempDir& dir, const std::string& deck_name, std::string* console = nullptr) {
  const std::string out = dir.file("console.txt");
  const std::string command = "cd '" + dir.path() + "' && '" + VORTAN_EXE + "' '" + deck_name +
                              "' > '" + out + "' 2>&1";
  const int status = std::system(command.c_str());
  if (console != nullptr) *console = read_file(out);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace vortan::test

namespace vortan::test {

// A listing with the date, the clock and the timing figures masked, so that two runs
// of one deck compare equal: the date and clock lines keep their labels and the blanks
// that follow them when the first value has a single digit, and everything after
// becomes one "#" (a two-digit hour or day, or a long run, then masks the same way);
// a timing row becomes "#" from its first figure on.
inline std::string mask_listing(const std::string& listing) {
  struct Clock {
    const char* label;
    const char* masked;
  };
  const Clock clocks[] = {{"          HORA: ", "          HORA:  #"},
                          {"          DIA : ", "          DIA :  #"},
                          {"          TIEMPO CONSUMIDO: ", "          TIEMPO CONSUMIDO:    #"}};
  std::string out;
  for (std::string line : lines_of(listing)) {
    bool clock = false;
    for (const Clock& c : clocks) {
      if (line.rfind(c.label, 0) != 0) continue;
      line = c.masked;
      clock = true;
    }
    const bool timing_row = !clock && line.size() > 2 && line.compare(line.size() - 2, 2, " %") == 0;
    if (timing_row) {
      const std::size_t figure = line.find_first_of("0123456789-");
      if (figure != std::string::npos) line = line.substr(0, figure) + "#";
    }
    out += line + "\n";
  }
  return out;
}

// Where two listings first differ, for a failure message: the line number, both lines
// and how many lines differ in all (line by line, so one inserted line makes every
// later line differ). Empty when the listings are equal.
inline std::string listing_difference(const std::string& expected, const std::string& actual) {
  if (expected == actual) return "";
  const std::vector<std::string> e = lines_of(expected), a = lines_of(actual);
  const std::size_t lines = std::max(e.size(), a.size());
  std::size_t first = lines, differing = 0;
  for (std::size_t i = 0; i < lines; ++i) {
    if (i < e.size() && i < a.size() && e[i] == a[i]) continue;
    if (first == lines) first = i;
    ++differing;
  }
  if (differing == 0) return "the listings differ only after their last line break";
  auto shown = [first](const std::vector<std::string>& text) {
    return first < text.size() ? "[" + text[first] + "]" : std::string("(the listing has ended)");
  };
  return "first difference at line " + std::to_string(first + 1) + "\n  expected: " + shown(e) +
         "\n  actual:   " + shown(a) + "\ndiffering lines: " + std::to_string(differing) + "; expected " +
         std::to_string(e.size()) + " lines, actual " + std::to_string(a.size());
}

}  // namespace vortan::test
