// Helpers shared by the tests: scratch directories, deck files, runs of the program.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <regex>
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

// Runs the real executable from a directory with the given arguments (already quoted
// for the shell); returns its exit status with standard output and standard error
// kept apart. The two capture files live outside the directory, which stays as the
// run left it.
struct ProgramRun {
  int status = -1;
  std::string out;
  std::string err;
};
inline ProgramRun run_program_with(const std::string& directory, const std::string& arguments) {
  const TempDir capture;
  const std::string out = capture.file("stdout.txt");
  const std::string err = capture.file("stderr.txt");
  const std::string command = "cd '" + directory + "' && '" + VORTAN_EXE + "' " + arguments + " > '" + out +
                              "' 2> '" + err + "'";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_file(out), read_file(err)};
}

// The names in a directory, sorted.
inline std::vector<std::string> directory_names(const std::string& directory) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace vortan::test

namespace vortan::test {

// A listing with the date, the clock and the timing figures masked, so that two runs
// of one deck compare equal: everything from the first figure of such a line on
// becomes one "#". The full path of an include file depends on where the deck runs; it
// is masked too.
inline std::string mask_listing(const std::string& listing) {
  std::string out;
  for (std::string line : lines_of(listing)) {
    const std::string included = "     FICHERO INCLUIDO: ";
    if (line.rfind(included, 0) == 0) {
      out += included + "#\n";
      continue;
    }
    // Clock lines: everything after the label, whatever the width of the figures.
    bool clock = false;
    for (const char* label : {"          HORA: ", "          DIA : ", "          TIEMPO CONSUMIDO: ",
                              "     TOTAL DE TIEMPO DE CPU CONSUMIDO AHORA"})
      if (line.rfind(label, 0) == 0) {
        line = std::string(label) + "#";
        clock = true;
      }
    // Rows of the timing report: a label, seconds in exponent form and a percentage;
    // other lines that end in " %" (the element errors, in fixed form) are results.
    static const std::regex timing_row(R"(^(.*\S\s+)-?\d\.\d{4}E[+-]\d{2}\s+-?\d+\.\d{2} %$)");
    std::smatch row;
    if (!clock && std::regex_match(line, row, timing_row)) line = row[1].str() + "#";
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
