// The file set of a run: every file is addressed by a unit number and named from the
// problem path given on the command line (directory part + base name + extension).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

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
  std::string base_name;         // without ".vtn", at most 50 characters
  bool named = false;            // the problem path has been read and split
};
extern FileSetRecord FILESET;

// The program's first command-line argument, handed over by main before start-up.
void set_command_argument(std::string_view argument);

// Opens the unit(s) of a code of the unit table; length is the direct-access record
// length in 8-byte values (codes 101 to 105 only).
void OPENFI(int code, int length = 0);
// Closes units by code (keep or delete as the code says).
void CLOSFI(int code);

// Name of the file of the run with the given extension.
std::string unit_file_name(std::string_view extension);

// Opens a named file as an existing formatted input file on a unit; false when it
// cannot be opened.
bool open_existing_formatted(int unit, const std::string& path);

// Opens a scratch file for unformatted records on a unit outside the unit table (or
// in place of the file the table gives it), named from the run with the given
// extension; stops when it cannot be created.
void open_scratch(int unit, std::string_view extension);

bool unit_is_open(int unit);
// Closes one unit, deleting its file when asked.
void close_unit(int unit, bool delete_file);
void close_all_units();

// One formatted record: the whole line, then the newline. Unit 6 is the console.
// A record written to a unit that is not open is dropped.
void write_record(int unit, std::string_view line);
// Several empty records.
void write_empty(int unit, int count = 1);
// Reads one formatted record without its newline; false at end of file. A read error
// sets error.
bool read_record(int unit, std::string& line, bool& error);

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
