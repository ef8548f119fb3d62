// The file set of a run: every file is addressed by a unit number and named from the
// problem path given on the command line (directory part + base name + extension).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vortan {

// Unit numbers with a fixed meaning.
inline constexpr int UNIT_CONSOLE = 6;
inline constexpr int UNIT_INPUT = 5;
inline constexpr int UNIT_INCLUDE = 8;
inline constexpr int UNIT_LISTING = 16;
inline constexpr int UNIT_TIMING = 2;
inline constexpr int UNIT_ALLOCATION = 10;
inline constexpr int UNIT_ERROR = 65;

struct FileSetRecord {
  std::string command_argument;  // the first command-line argument
  std::string directory;         // up to and including the last separator
  std::string base_name;         // without the extension
  std::string stem;              // the problem path without its extension
  bool named = false;            // the problem path has been read and split
  bool opened = false;           // the input file is open: the run may write its files
  std::string listing;           // the listing's path, once it was opened
  // Files that could not be opened or written, each a line for the fatal report.
  std::vector<std::string> file_errors;
  // While the fatal stop writes its report, a failed write is recorded, not a new stop.
  bool write_failures_held = false;
};
extern FileSetRecord FILESET;

// The program's first command-line argument, handed over by main before start-up.
void set_command_argument(std::string_view argument);

// Opens the unit(s) of a code of the unit table; length is the direct-access record
// length in 8-byte values (codes 101 to 105 only). Code 1 reads the problem path: the
// input is the file named exactly so (its extension ".vtn" in any letter case), and
// every other file of the run is its path without the extension followed by the
// unit's extension. Once the input is open, an error report left by an earlier run
// of the same problem is removed.
void OPENFI(int code, int length = 0);
// Closes units by code (keep or delete as the code says). A kept file whose last
// records cannot be written stops the run.
void CLOSFI(int code);

// Name of the file of the run with the given extension: the problem path without its
// extension, then the extension.
std::string unit_file_name(std::string_view extension);

// Opens a named file as an existing formatted input file on a unit; false when it
// cannot be opened.
bool open_existing_formatted(int unit, const std::string& path);

// Opens a scratch file for unformatted records on a unit outside the unit table (or
// in place of the file the table gives it), named from the run with the given
// extension; stops when it cannot be created.
void open_scratch(int unit, std::string_view extension);

// Opens the existing file of a unit of the table (as OPENFI names it) to write over it
// from byte `offset` on, keeping what comes before; stops as OPENFI does when it cannot
// be opened.
void reopen_at(int code, long offset);
// The byte position a unit's next record goes to (its pending records written first).
long unit_position(int unit);

bool unit_is_open(int unit);
// Closes one unit, deleting its file when asked; closing a kept file checks that its
// last records reached it.
void close_unit(int unit, bool delete_file);
// Closes every unit without checks (the end of a process, or a clean start).
void close_all_units();

// Write failures. A write or close of a unit that fails ends the run through the fatal
// stop ("WRITFI: ERROR DE ESCRITURA EN UNIDAD nn", or "CLOSFI: ..." for a close) and
// the file is named in the fatal report; later records to that unit are dropped.
// While the fatal stop writes its own report, failures are only recorded.
void hold_write_failures(bool hold);

// One formatted record: the whole line, then the newline. Unit 6 is the console.
// A record written to a unit that is not open is dropped.
void write_record(int unit, std::string_view line);
// Several empty records.
void write_empty(int unit, int count = 1);
// Reads one formatted record without its newline; false at end of file. A read error
// sets error. Only the first keep characters are stored: the rest of a longer line is
// read past, so a line of any length takes bounded memory.
bool read_record(int unit, std::string& line, bool& error, std::size_t keep);

// Unformatted sequential records.
void write_unformatted(int unit, const void* data, std::size_t bytes);
bool read_unformatted(int unit, void* data, std::size_t bytes);
void rewind_unit(int unit);

// Direct-access records of a set storage file: record numbers from 1, each of the
// record length the unit was opened with.
void write_direct(int unit, int record, const double* values);
// A record that was never written reads as zeros and gives false.
bool read_direct(int unit, int record, double* values);

// Flushes every open unit (the console included).
void flush_units();

}  // namespace vortan
