#include "run/file_set.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "run/console.h"
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
  bool failed = false;           // a write failed: later records are dropped
  bool reading = false;          // opened as an existing file, only read
};

std::map<int, Unit>& units() {
  static std::map<int, Unit> table;
  return table;
}

// Input comes only from regular files: a device or a pipe could block the run or
// never end its line.
bool is_regular_file(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}


// Why a file could not be opened, for the fatal report.
std::string open_failure_reason(const std::string& path, int error) {
  struct stat info {};
  if (stat(path.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) return "ES UN DIRECTORIO";
    if (!S_ISREG(info.st_mode)) return "NO ES UN FICHERO ORDINARIO";
  }
  switch (error) {
    case ENOENT: return "NO EXISTE";
    case EACCES: return "SIN PERMISO";
    case ENAMETOOLONG: return "NOMBRE DEMASIADO LARGO";
    default: return std::strerror(error);
  }
}

void note_file_error(const std::string& text) {
  for (const std::string& known : FILESET.file_errors)
    if (known == text) return;
  FILESET.file_errors.push_back(text);
}

// A write or close of a unit failed: the unit takes no more records, the file is named
// in the fatal report, and the run stops unless the fatal stop is already reporting.
void write_failed(int unit, Unit& u, const char* routine) {
  const bool first = !u.failed;
  u.failed = true;
  note_file_error("ERROR DE ESCRITURA EN EL FICHERO " + u.path);
  if (first && !FILESET.write_failures_held) ERRSTP(std::string(routine) + ": ERROR DE ESCRITURA EN UNIDAD " + std::to_string(unit));
}

struct UnitRow {
  std::string extension;
  Form form;
  bool must_exist;
};

// Extension, form and status of every unit that is opened by name.
bool unit_row(int unit, UnitRow& row) {
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
    case 48: row = {".c48", Form::formatted, false}; return true;
    case 49: row = {".fem", Form::formatted, false}; return true;
    case 50: row = {".vtu", Form::formatted, false}; return true;
    case 51: row = {".pvd", Form::formatted, false}; return true;
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
    row = {".p" + std::to_string(unit), Form::unformatted, false};
    return true;
  }
  if (unit >= 101 && unit <= 105) {
    row = {".st" + std::to_string(unit - 100), Form::direct, false};
    return true;
  }
  return false;
}

void open_unit(int unit, int record_length) {
  UnitRow row{};
  if (!unit_row(unit, row)) ERRSTP("OPENFI: NO FILE SPECIFIED FOR THATH NUMBER");
  if (unit_is_open(unit)) close_unit(unit, false);
  Unit u;
  // The input is the file named on the command line, whatever the case of its extension.
  u.path = unit == UNIT_INPUT ? FILESET.command_argument : unit_file_name(row.extension);
  u.form = row.form;
  u.reading = row.must_exist;
  const char* mode = row.must_exist ? "rb" : (row.form == Form::formatted ? "wb" : "w+b");
  errno = 0;
  u.file = row.must_exist && !is_regular_file(u.path) ? nullptr : std::fopen(u.path.c_str(), mode);
  if (u.file == nullptr) {
    const std::string reason = open_failure_reason(u.path, errno != 0 ? errno : ENOENT);
    note_file_error("NO SE PUEDE ABRIR EL FICHERO " + u.path + " (" + reason + ")");
    write_empty(UNIT_LISTING);
    write_record(UNIT_LISTING, fmt::X(5) + "NO SE PUEDE ABRIR EL FICHERO " + u.path);
    ERRSTP("OPENFI: NO ABRE UNIDAD " + std::to_string(unit) + " " + row.extension);
  }
  if (row.form == Form::direct) u.record_bytes = 8 * static_cast<std::size_t>(record_length);
  if (unit == UNIT_LISTING) FILESET.listing = u.path;
  units()[unit] = u;
}

bool has_problem_extension(const std::string& path) {
  if (path.size() < 4) return false;
  std::string extension = path.substr(path.size() - 4);
  for (char& c : extension)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return extension == ".vtn";
}

// Splits the problem path into directory part, base name and stem. The path is used
// exactly as given: blanks, long names and the case of every letter are kept.
void read_problem_path() {
  FILESET.directory.clear();
  FILESET.base_name.clear();
  FILESET.stem.clear();
  FILESET.named = false;
  FILESET.opened = false;
  FILESET.listing.clear();
  const std::string& path = FILESET.command_argument;
  if (!has_problem_extension(path)) {
    if (!path.empty()) note_file_error("EL FICHERO DE DATOS NO TERMINA EN .vtn: " + path);
    ERRSTP("OPENFI: ERROR EN EL NOMBRE DE *.vtn");
  }
  // Both separators are honoured: the backslash and, on this platform, the slash.
  const std::size_t last = path.find_last_of("\\/");
  const std::size_t dir_length = last == std::string::npos ? 0 : last + 1;
  FILESET.directory = path.substr(0, dir_length);
  FILESET.base_name = path.substr(dir_length, path.size() - dir_length - 4);
  FILESET.stem = path.substr(0, path.size() - 4);
  FILESET.named = true;
}

}  // namespace

void set_command_argument(std::string_view argument) { FILESET.command_argument = argument; }

std::string unit_file_name(std::string_view extension) { return FILESET.stem + std::string(extension); }

void OPENFI(int code, int length) {
  if (code == 1) {
    read_problem_path();
    open_unit(UNIT_INPUT, 0);
    FILESET.opened = true;
    // A successful run must not sit beside the error report of an earlier failed one.
    std::remove(unit_file_name(".err").c_str());
    open_unit(UNIT_LISTING, 0);
    open_unit(UNIT_TIMING, 0);
    return;
  }
  open_unit(code, length);
}

void CLOSFI(int code) {
  switch (code) {
    case 1:
      // Every file is written out first, so that a failure is still reported in the
      // listing.
      flush_units();
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
  Unit u;
  u.file = file;
  u.path = path;
  u.reading = true;
  units()[unit] = u;
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

void seek(int unit, Unit& u, long offset);

void reopen_at(int code, long offset) {
  UnitRow row{};
  if (!unit_row(code, row)) ERRSTP("OPENFI: NO FILE SPECIFIED FOR THATH NUMBER");
  if (unit_is_open(code)) close_unit(code, false);
  Unit u;
  u.path = unit_file_name(row.extension);
  u.form = row.form;
  errno = 0;
  u.file = is_regular_file(u.path) ? std::fopen(u.path.c_str(), "r+b") : nullptr;
  if (u.file == nullptr) {
    note_file_error("NO SE PUEDE ABRIR EL FICHERO " + u.path + " (" + open_failure_reason(u.path, errno != 0 ? errno : ENOENT) + ")");
    ERRSTP("OPENFI: NO ABRE UNIDAD " + std::to_string(code) + " " + row.extension);
  }
  units()[code] = u;
  seek(code, units()[code], offset);
}

long unit_position(int unit) {
  auto it = units().find(unit);
  if (it == units().end()) return 0;
  if (std::fflush(it->second.file) != 0 && !it->second.failed) write_failed(unit, it->second, "WRITFI");
  return std::ftell(it->second.file);
}

bool unit_is_open(int unit) { return units().count(unit) != 0; }

void close_unit(int unit, bool delete_file) {
  auto it = units().find(unit);
  if (it == units().end()) return;
  Unit u = it->second;
  units().erase(it);
  const bool closed = std::fclose(u.file) == 0;
  if (delete_file) {
    std::remove(u.path.c_str());
    return;
  }
  // A kept output file must have received every record.
  if (!closed && !u.reading) write_failed(unit, u, "CLOSFI");
}

void close_all_units() {
  while (!units().empty()) {
    auto it = units().begin();
    std::fclose(it->second.file);
    units().erase(it);
  }
  flush_console();
}

void hold_write_failures(bool hold) { FILESET.write_failures_held = hold; }

void write_record(int unit, std::string_view line) {
  if (unit == UNIT_CONSOLE) {
    write_console_record(line);
    return;
  }
  auto it = units().find(unit);
  if (it == units().end() || it->second.failed) return;
  std::FILE* file = it->second.file;
  if (std::fwrite(line.data(), 1, line.size(), file) != line.size() || std::fputc('\n', file) == EOF)
    write_failed(unit, it->second, "WRITFI");
}

void write_empty(int unit, int count) {
  for (int i = 0; i < count; ++i) write_record(unit, "");
}

bool read_record(int unit, std::string& line, bool& error, std::size_t keep) {
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
  bool cut = false;
  while ((c = std::getc(file)) != EOF) {
    any = true;
    if (c == '\n') break;
    if (line.size() < keep) line.push_back(static_cast<char>(c));
    else cut = true;
  }
  if (std::ferror(file)) {
    error = true;
    return false;
  }
  if (!any) return false;
  if (!cut && !line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

void write_unformatted(int unit, const void* data, std::size_t bytes) {
  auto it = units().find(unit);
  if (it == units().end() || it->second.failed) return;
  if (std::fwrite(data, 1, bytes, it->second.file) != bytes) write_failed(unit, it->second, "WRITFI");
}

bool read_unformatted(int unit, void* data, std::size_t bytes) {
  auto it = units().find(unit);
  if (it == units().end()) return false;
  return std::fread(data, 1, bytes, it->second.file) == bytes;
}

// Moving in a file first writes out its pending records: a failure there is a write
// failure, and what would be read back is not what was written.
void seek(int unit, Unit& u, long offset) {
  if (std::fseek(u.file, offset, SEEK_SET) != 0) write_failed(unit, u, "WRITFI");
}

void rewind_unit(int unit) {
  auto it = units().find(unit);
  if (it != units().end()) seek(unit, it->second, 0);
}

void write_direct(int unit, int record, const double* values) {
  auto it = units().find(unit);
  if (it == units().end() || record < 1 || it->second.failed) return;
  Unit& u = it->second;
  seek(unit, u, static_cast<long>((record - 1) * u.record_bytes));
  if (std::fwrite(values, 1, u.record_bytes, u.file) != u.record_bytes) write_failed(unit, u, "WRITFI");
}

bool read_direct(int unit, int record, double* values) {
  auto it = units().find(unit);
  if (it == units().end() || record < 1) return false;
  Unit& u = it->second;
  seek(unit, u, static_cast<long>((record - 1) * u.record_bytes));
  const std::size_t got = std::fread(values, 1, u.record_bytes, u.file);
  if (got == u.record_bytes) return true;
  std::fill(reinterpret_cast<char*>(values) + got, reinterpret_cast<char*>(values) + u.record_bytes, 0);
  return false;
}

void flush_units() {
  for (auto& [unit, u] : units())
    if (std::fflush(u.file) != 0 && !u.failed) write_failed(unit, u, "WRITFI");
  flush_console();
}

}  // namespace vortan
