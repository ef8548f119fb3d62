// The console of a run (unit 6, standard output) and its diagnostic stream (standard
// error): overprint lines, the throttle of progress counters, and the report of a
// fatal stop where the user looks for it.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace vortan {

// One console record. A record with "+" in its first column is an overprint line: on
// a terminal it returns to the start of the line and replaces what was there;
// elsewhere it is written as an ordinary line.
void write_console_record(std::string_view line);

// One record of a progress counter that runs from 1 to total (the factorisation
// counter writes one per equation). Only the records that reach a new whole percent
// of the work, and the last one, are written, so a counter never writes more than
// 101 lines whatever the size of the problem.
void write_progress_record(std::string_view line, long long done, long long total);

void flush_console();

// Sends the console to another stream (tests); terminal says whether overprint lines
// are rendered with a carriage return. A null stream restores standard output.
void set_console_stream(std::FILE* stream, bool terminal);

// Where the fatal report and other diagnostics go: standard error by default; a null
// stream silences them (the fuzzer runs thousands of decks in one process).
void set_diagnostic_stream(std::FILE* stream);
// One diagnostic line, "VORTAN: " and the text.
void write_diagnostic(std::string_view text);

// Where the last line the card reader read came from: the file as it was opened and
// the line number within it (0: no line read yet).
struct CardLocation {
  std::string file;
  long line = 0;
};
using CardLocationQuery = CardLocation (*)();
// The card reader tells the fatal report where it stands.
void register_card_location(CardLocationQuery query);

// The report of a fatal stop on the diagnostic stream: the message after the file and
// line of the last card read, that card, every file the run could not open or write,
// and the path of the listing when it was opened.
void write_fatal_report(std::string_view message, std::string_view card_image);

}  // namespace vortan
