#include "run/file_set.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

#include "run/errstp.h"
#include "run/fortran_format.h"

namespace vortan {

FileSetRecord FILESET;

namespace {

enum class Form { formatted, unformatted, direct };

struct Unit {
  std::FILE* file = nullptr;
  std::string path;
  Form form = Form::formatted;
  std::size_t record_bytes = 0;  // direct access only
};

std::map<int, Unit>& units() {
  static std::map<int, Unit> table;
  return table;
}

// The console: buffered; an overprint line ("+" in the first column) returns to the
// start of the line when the console is a terminal.
struct Console {
  bool checked = false;
  bool terminal = false;
  bool line_open = false;
};
Console console;

void write_console(std::string_view line) {
  if (!console.checked) {
    console.terminal = isatty(fileno(stdout)) != 0;
    console.checked = true;
  }
  if (console.terminal && !line.empty() && line.front() == '+') {
    std::fputs("\r\x1b[K", stdout);
    std::fwrite(line.data() + 1, 1, line.size() - 1, stdout);
    console.line_open = true;
    std::fflush(stdout);
    return;
  }
  if (console.line_open) std::fputc('\n', stdout);
  console.line_open = false;
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
}

// Input comes only from regular files: a device or a pipe could block the run or
// never end its line.
bool is_regular_file(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Longest physical line kept in memory; a longer one is a read error.
constexpr std::size_t MAX_RECORD_LENGTH = 65536;

std::string without_blanks(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c != ' ') out.push_back(c);
  return out;
}

struct UnitRow {
  const char* extension;
  Form form;
  bool must_exist;
};

// Extension, form and status of every unit that is opened by name.
bool unit_row(int unit, UnitRow& row) {
  static char work_extension[5];
  switch (unit) {
    case 5: row = {".vtn", Form::formatted, true}; return true;
    case 16: row = {".sal", Form::formatted, false}; return true;
    case 2: row = {".tim", Form::formatted, false}; return true;
    case 7: row = {".acx", Form::formatted, true}; return true;
    case 8: row = {".acy", Form::formatted, true}; return true;
    case 9: row = {".acz", Form::formatted, true}; return true;
    case 10: row = {".dic", Form::formatted, false}; return true;
    case 17: row = {".f17", Form::unformatted, false}; return true;
    case 47: row = {".t47", Form::unformatted, false}; return true;
    case 49: row = {".fem", Form::formatted, false}; return true;
    case 54: row = {".dt1", Form::unformatted, false}; return true;
    case 57: row = {".dt2", Form::unformatted, false}; return true;
    case 59: row = {".keldar.bon", Form::formatted, false}; return true;
    case 60: row = {".keldar.msh", Form::formatted, false}; return true;
    case 61: row = {".keldar.res", Form::formatted, false}; return true;
    case 65: row = {".err", Form::formatted, false}; return true;
    case 69: row = {".opt", Form::formatted, false}; return true;
    default: break;
  }
  if ((unit >= 11 && unit <= 15) || (unit >= 21 && unit <= 30)) {
    std::snprintf(work_extension, sizeof work_extension, ".p%d%d", unit / 10, unit % 10);
    row = {work_extension, Form::unformatted, false};
    return true;
  }
  if (unit >= 101 && unit <= 105) {
    std::snprintf(work_extension, sizeof work_extension, ".st%d", unit - 100);
    row = {work_extension, Form::direct, false};
    return true;
  }
  return false;
}

void open_unit(int unit, int record_length) {
  UnitRow row{};
  if (!unit_row(unit, row)) ERRSTP("OPENFI: NO FILE SPECIFIED FOR THATH NUMBER");
  if (unit_is_open(unit)) close_unit(unit, false);
  Unit u;
  u.path = unit_file_name(row.extension);
  u.form = row.form;
  const char* mode = row.must_exist ? "rb" : (row.form == Form::formatted ? "wb" : "w+b");
  u.file = row.must_exist && !is_regular_file(u.path) ? nullptr : std::fopen(u.path.c_str(), mode);
  if (u.file == nullptr) {
    write_empty(UNIT_LISTING);
    write_record(UNIT_LISTING, fmt::X(5) + "NO SE PUEDE ABRIR EL FICHERO " + u.path);
    ERRSTP("OPENFI: NO ABRE UNIDAD " + std::to_string(unit) + " " + row.extension);
  }
  if (row.form == Form::direct) u.record_bytes = 8 * static_cast<std::size_t>(record_length);
  units()[unit] = u;
}

// Splits the problem path into directory part and base name.
void read_problem_path() {
  FILESET.directory.clear();
  FILESET.base_name.clear();
  FILESET.named = false;
  std::string path = FILESET.command_argument.substr(0, 261);
  if (path.size() < 4 || path.compare(path.size() - 4, 4, ".vtn") != 0)
    ERRSTP("OPENFI: ERROR EN EL NOMBRE DE *.vtn");
  // Both separators are honoured: the backslash and, on this platform, the slash.
  const std::size_t last = path.find_last_of("\\/");
  const std::size_t dir_length = last == std::string::npos ? 0 : last + 1;
  FILESET.directory = path.substr(0, std::min<std::size_t>(dir_length, 200));
  FILESET.base_name = path.substr(dir_length, path.size() - dir_length - 4).substr(0, 50);
  FILESET.named = true;
}

}  // namespace

void set_command_argument(std::string_view argument) { FILESET.command_argument = argument; }

std::string unit_file_name(std::string_view extension) {
  std::string name = without_blanks(FILESET.directory) + without_blanks(FILESET.base_name) +
                     without_blanks(extension);
  return name.substr(0, 261);
}

void OPENFI(int code, int length) {
  if (code == 1) {
    read_problem_path();
    open_unit(UNIT_INPUT, 0);
    open_unit(UNIT_LISTING, 0);
    open_unit(UNIT_TIMING, 0);
    return;
  }
  open_unit(code, length);
}

void CLOSFI(int code) {
  switch (code) {
    case 1:
      close_unit(UNIT_INPUT, false);
      close_unit(UNIT_LISTING, false);
      close_unit(UNIT_TIMING, false);
      return;
    case 17:
      close_unit(17, false);
      close_unit(44, false);
      return;
    case 41:
      for (int unit = 41; unit <= 47; ++unit) close_unit(unit, unit != 46);
      return;
    case 44:
    case 47:
    case 54:
    case 57:
      close_unit(code, true);
      return;
    case 100:
      for (auto it = units().begin(); it != units().end();) {
        const int unit = (it++)->first;
        if (unit >= 101 && unit <= 1100) close_unit(unit, true);
      }
      return;
    default:
      close_unit(code, false);
  }
}

bool open_existing_formatted(int unit, const std::string& path) {
  if (unit_is_open(unit)) close_unit(unit, false);
  if (!is_regular_file(path)) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  units()[unit] = Unit{file, path, Form::formatted, 0};
  return true;
}

void open_scratch(int unit, std::string_view extension) {
  if (unit_is_open(unit)) close_unit(unit, false);
  Unit u;
  u.path = unit_file_name(extension);
  u.form = Form::unformatted;
  u.file = std::fopen(u.path.c_str(), "w+b");
  if (u.file == nullptr) {
    write_empty(UNIT_LISTING);
    write_record(UNIT_LISTING, fmt::X(5) + "NO SE PUEDE ABRIR EL FICHERO " + u.path);
    ERRSTP("OPENFI: NO ABRE UNIDAD " + std::to_string(unit) + " " + std::string(extension));
  }
  units()[unit] = u;
}

bool unit_is_open(int unit) { return units().count(unit) != 0; }

void close_unit(int unit, bool delete_file) {
  auto it = units().find(unit);
  if (it == units().end()) return;
  std::fclose(it->second.file);
  if (delete_file) std::remove(it->second.path.c_str());
  units().erase(it);
}

void close_all_units() {
  while (!units().empty()) close_unit(units().begin()->first, false);
  std::fflush(stdout);
}

void write_record(int unit, std::string_view line) {
  if (unit == UNIT_CONSOLE) {
    write_console(line);
    return;
  }
  auto it = units().find(unit);
  if (it == units().end()) return;
  std::FILE* file = it->second.file;
  std::fwrite(line.data(), 1, line.size(), file);
  std::fputc('\n', file);
}

void write_empty(int unit, int count) {
  for (int i = 0; i < count; ++i) write_record(unit, "");
}

bool read_record(int unit, std::string& line, bool& error) {
  error = false;
  line.clear();
  auto it = units().find(unit);
  if (it == units().end()) {
    error = true;
    return false;
  }
  std::FILE* file = it->second.file;
  int c = 0;
  bool any = false;
  while ((c = std::fgetc(file)) != EOF) {
    any = true;
    if (c == '\n') break;
    if (line.size() >= MAX_RECORD_LENGTH) {
      error = true;
      return false;
    }
    line.push_back(static_cast<char>(c));
  }
  if (std::ferror(file)) {
    error = true;
    return false;
  }
  if (!any) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

void write_unformatted(int unit, const void* data, std::size_t bytes) {
  auto it = units().find(unit);
  if (it == units().end()) return;
  std::fwrite(data, 1, bytes, it->second.file);
}

bool read_unformatted(int unit, void* data, std::size_t bytes) {
  auto it = units().find(unit);
  if (it == units().end()) return false;
  return std::fread(data, 1, bytes, it->second.file) == bytes;
}

void rewind_unit(int unit) {
  auto it = units().find(unit);
  if (it != units().end()) std::rewind(it->second.file);
}

void write_direct(int unit, int record, const double* values) {
  auto it = units().find(unit);
  if (it == units().end() || record < 1) return;
  const Unit& u = it->second;
  std::fseek(u.file, static_cast<long>((record - 1) * u.record_bytes), SEEK_SET);
  std::fwrite(values, 1, u.record_bytes, u.file);
}

bool read_direct(int unit, int record, double* values) {
  auto it = units().find(unit);
  if (it == units().end() || record < 1) return false;
  const Unit& u = it->second;
  std::fseek(u.file, static_cast<long>((record - 1) * u.record_bytes), SEEK_SET);
  const std::size_t got = std::fread(values, 1, u.record_bytes, u.file);
  if (got == u.record_bytes) return true;
  std::fill(reinterpret_cast<char*>(values) + got, reinterpret_cast<char*>(values) + u.record_bytes, 0);
  return false;
}

void flush_units() {
  for (auto& [unit, u] : units()) std::fflush(u.file);
  std::fflush(stdout);
}

}  // namespace vortan
