#include "run/console.h"

#include <unistd.h>

#include "run/file_set.h"
#include "run/timing.h"

namespace vortan {

namespace {

struct Console {
  std::FILE* stream = nullptr;  // null: standard output
  bool checked = false;         // terminal decided
  bool terminal = false;
  bool line_open = false;       // an overprint line waits for its newline
};
Console console;

std::FILE* diagnostics = stderr;
CardLocationQuery card_location = nullptr;

std::FILE* out() { return console.stream != nullptr ? console.stream : stdout; }

bool on_terminal() {
  if (!console.checked) {
    console.terminal = isatty(fileno(out())) != 0;
    console.checked = true;
  }
  return console.terminal;
}

std::string trimmed(std::string_view text) {
  const std::size_t last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string() : std::string(text.substr(0, last + 1));
}

}  // namespace

void write_console_record(std::string_view line) {
  std::FILE* f = out();
  if (on_terminal() && !line.empty() && line.front() == '+') {
    std::fputs("\r\x1b[K", f);
    std::fwrite(line.data() + 1, 1, line.size() - 1, f);
    console.line_open = true;
    std::fflush(f);
    return;
  }
  if (console.line_open) std::fputc('\n', f);
  console.line_open = false;
  std::fwrite(line.data(), 1, line.size(), f);
  std::fputc('\n', f);
}

void write_progress_record(std::string_view line, long long done, long long total) {
  if (total <= 0) {
    write_console_record(line);
    return;
  }
  // A new counter starts when the total changes or the count goes back.
  if (total != TIMING.progress_total || done <= TIMING.progress_done) {
    TIMING.progress_total = total;
    TIMING.progress_percent = -1;
  }
  TIMING.progress_done = done;
  const long long percent = done >= total ? 100 : (done > 0 ? done * 100 / total : 0);
  if (percent == TIMING.progress_percent && done != total) return;
  TIMING.progress_percent = percent;
  write_console_record(line);
}

void flush_console() { std::fflush(out()); }

void set_console_stream(std::FILE* stream, bool terminal) {
  console = Console{};
  TIMING.progress_total = TIMING.progress_done = 0;
  TIMING.progress_percent = -1;
  console.stream = stream;
  if (stream != nullptr) {
    console.checked = true;
    console.terminal = terminal;
  }
}

void set_diagnostic_stream(std::FILE* stream) { diagnostics = stream; }

void write_diagnostic(std::string_view text) {
  if (diagnostics == nullptr) return;
  std::fputs("VORTAN: ", diagnostics);
  std::fwrite(text.data(), 1, text.size(), diagnostics);
  std::fputc('\n', diagnostics);
  std::fflush(diagnostics);
}

void register_card_location(CardLocationQuery query) { card_location = query; }

void write_fatal_report(std::string_view message, std::string_view card_image) {
  // The console lines written so far come first.
  if (console.line_open) std::fputc('\n', out());
  console.line_open = false;
  flush_console();
  const CardLocation where = card_location != nullptr ? card_location() : CardLocation{};
  std::string head;
  if (!where.file.empty()) {
    head = where.file;
    if (where.line > 0) head += ":" + std::to_string(where.line);
    head += ": ";
  }
  write_diagnostic(head + trimmed(message));
  const std::string card = trimmed(card_image);
  if (!card.empty()) write_diagnostic("ULTIMA TARJETA LEIDA : " + card);
  for (const std::string& trouble : FILESET.file_errors) write_diagnostic(trouble);
  if (!FILESET.listing.empty()) write_diagnostic("LISTADO: " + FILESET.listing);
}

}  // namespace vortan
