#include "input/card_reader.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "run/console.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/run_driver.h"

namespace vortan {

CardRecord CARD;

namespace {

// The file and line of the last line read.
CardLocation last_line_location() {
  if (CARD.line_unit == UNIT_INCLUDE) return {CARD.include_path, CARD.include_lines};
  if (CARD.line_unit == UNIT_INPUT) return {FILESET.command_argument, CARD.input_lines};
  return {};
}

}  // namespace

// The fatal stop shows the last card read and where it was read.
const bool last_card_registered =
    (register_last_card(&CARD.CARDIM, &CARD.words[0]), register_card_location(last_line_location), true);

namespace {

bool is_stop_character(char c) {
  switch (c) {
    case '\\': case '/': case '!': case '$': case '[': case ',': case ':': case '=': case ' ':
      return true;
    default:
      return false;
  }
}

bool is_separator(char c) { return c == ' ' || c == ',' || c == ':' || c == '='; }

bool is_digit(char c) { return c >= '0' && c <= '9'; }

void write_echo(std::string_view name, std::string_view text) {
  std::string routine(name.substr(0, 6));
  routine.resize(6, ' ');
  write_record(UNIT_LISTING, " " + routine + " <-- " + std::string(text));
}

bool echo_wanted(std::string_view name) { return CARD.echo && name != "NOECHO"; }

// Scanning state of one call: the current word and number slots.
struct Scan {
  int w = 0;
  int v = 0;
};

void blank_card() {
  for (int i = 0; i < CARD_SLOTS; ++i) {
    CARD.words[i].clear();
    CARD.values[i] = 0.0;
  }
  CARD.NWORD = 0;
  CARD.NVALU = 0;
}

// Reads the next physical line of the current unit into CARDIM; at the end of an
// include file the reader goes back to the input file.
void read_physical_line(std::string_view name) {
  std::string line;
  for (;;) {
    bool error = false;
    if (read_record(CARD.unit, line, error, LINE_LENGTH)) {
      CARD.line_unit = CARD.unit;
      ++(CARD.unit == UNIT_INCLUDE ? CARD.include_lines : CARD.input_lines);
      break;
    }
    if (error) ERRSTP("LISTEN: ERROR DETECTADO DURANTE LECTURA");
    if (CARD.unit != UNIT_INCLUDE) {
      CARD.CARDIM.assign(LINE_LENGTH, ' ');
      ERRSTP("LISTEN: FIN DE FICHERO DETECTADO");
    }
    close_unit(UNIT_INCLUDE, false);
    CARD.unit = UNIT_INPUT;
    if (echo_wanted(name)) write_echo("LISTEN", "END OF INCLUDE FILE");
  }
  line.resize(LINE_LENGTH, ' ');
  CARD.CARDIM = line;
}

void add_number(Scan& scan, double value) {
  scan.v += 1;
  if (scan.v > CARD_SLOTS) ERRSTP("LISTEN: MUCHOS PARAMETROS EN COMANDO");
  scan.v = std::max(scan.v, scan.w);
  CARD.values[scan.v - 1] = value;
  CARD.NVALU += 1;
}

void add_word(Scan& scan, std::string_view token) {
  CARD.NWORD += 1;
  scan.w += 1;
  if (scan.w > CARD_SLOTS) ERRSTP("LISTEN: MUCHAS PALABRAS EN COMANDO");
  scan.w = std::max(scan.w, scan.v + 1);
  // A word after sixty numbers would need a sixty-first slot.
  if (scan.w > CARD_SLOTS) ERRSTP("LISTEN: MUCHAS PALABRAS EN COMANDO");
  std::string word;
  for (std::size_t i = 0; i < token.size(); ++i)
    if (i == 0 || token[i] != '_') word.push_back(token[i]);
  if (word.size() > WORD_LENGTH) word.resize(WORD_LENGTH);
  UPWORD(word);
  CARD.words[scan.w - 1] = word;
}

// Opens the include file named after "INCLUYE" (the token ending at column end, 0-based
// exclusive) and switches the reader to it; the echo shows the line up to line_end.
void open_include(std::string_view name, int first_column, int line_end, int end) {
  const std::string& line = CARD.CARDIM;
  if (echo_wanted(name))
    write_echo("LISTEN", std::string_view(line).substr(first_column, line_end - first_column));
  std::size_t start = static_cast<std::size_t>(end) + 1;
  const int length = LENLIN(line);
  while (start < static_cast<std::size_t>(length) && line[start] == ' ') ++start;
  std::size_t stop = start;
  while (stop < static_cast<std::size_t>(length) && line[stop] != ' ') ++stop;
  if (stop == start) ERRSTP("LISTEN: ERROR LINEA EN BLANCO");
  if (CARD.unit == UNIT_INCLUDE) ERRSTP("LISTEN: ERROR: INCLUDE DE INCLUDE");
  const std::string file = line.substr(start, stop - start);
  // A relative name belongs to the folder of the file that includes it (the problem
  // file: include files do not include); the working directory comes second.
  std::string path = file;
  bool opened = false;
  if (file.front() != '/' && !FILESET.directory.empty()) {
    path = FILESET.directory + file;
    opened = open_existing_formatted(UNIT_INCLUDE, path);
  }
  if (!opened) {
    path = file;
    opened = open_existing_formatted(UNIT_INCLUDE, path);
  }
  if (!opened) ERRSTP("LISTEN: ERROR ABRIENDO FICHERO INCLUDE");
  CARD.unit = UNIT_INCLUDE;
  CARD.include_path = path;
  CARD.include_lines = 0;
  std::error_code ignored;
  const std::filesystem::path full = std::filesystem::absolute(path, ignored).lexically_normal();
  write_record(UNIT_LISTING, fmt::X(5) + "FICHERO INCLUIDO: " + full.string());
}

enum class LineEnd { normal, include };

// Scans one physical line into the card. first/last receive the columns (0-based,
// last exclusive) of the first token and the end of the last token, -1 when none.
LineEnd scan_line(std::string_view name, Scan& scan, int& first, int& last) {
  const std::string& line = CARD.CARDIM;
  int length = LENLIN(line);
  first = last = -1;
  int column = 0;
  while (column < length) {
    const char c = line[column];
    if (is_separator(c) || (c == '_' && column != length - 1)) {
      ++column;
      continue;
    }
    if (c == '[') {
      const std::size_t close = line.find(']', column + 1);
      if (close == std::string::npos || static_cast<int>(close) >= length)
        ERRSTP("LISTEN: UNIDADES DEBEN TERMINAR CON \"]\"");
      column = static_cast<int>(close) + 1;
      continue;
    }
    int end = column;
    while (end < length && !is_stop_character(line[end])) ++end;
    if (end > column) {
      if (first < 0) first = column;
      last = end;
      const std::string_view token = std::string_view(line).substr(column, end - column);
      double number = 0.0;
      // A number is read whole: cut to its first 20 characters, a number written with
      // all its digits would lose the end of its exponent (6.123233995736766e-17 would
      // read as 0.612). Other tokens are read on their first 20 characters.
      if (read_card_number(token, number) || read_card_number(token.substr(0, WORD_LENGTH), number)) {
        if (!std::isfinite(number)) ERRSTP("LISTEN: NUMERO FUERA DE RANGO");
        add_number(scan, number);
      } else {
        add_word(scan, token);
        if (CARD.NWORD == 1 && CARD.NVALU == 0 && CARD.words[scan.w - 1] == "INCLUYE") {
          open_include(name, first, length, end);
          CARD.NWORD = 0;
          scan.w = 0;
          CARD.words[0].clear();
          return LineEnd::include;
        }
      }
    }
    if (end >= length) break;
    const char stop = line[end];
    if (stop == '$' || stop == '!') {
      length = end;
    } else if (stop == '/' || stop == '\\') {
      CARD.continuation = true;
      length = end;
    } else {
      column = end;
      if (stop != '[') ++column;
    }
  }
  return LineEnd::normal;
}

// An "ECHO" card of two words switches the echo and is then discarded.
bool handle_echo_switch(std::string_view name, Scan& scan) {
  if (CARD.NWORD != 2 || CARD.NVALU != 0 || CARD.words[0] != "ECHO") return false;
  const bool on = CARD.words[1] != "OFF";
  CARD.echo = on;
  if (name != "NOECHO") write_echo("LISTEN", on ? "ECHO ON" : "ECHO OFF");
  blank_card();
  scan.w = 0;
  scan.v = 0;
  return true;
}

}  // namespace

int LENLIN(std::string_view line) {
  const std::size_t last = line.find_last_not_of(' ');
  return last == std::string_view::npos ? 0 : static_cast<int>(last) + 1;
}

void UPWORD(std::string& word) {
  for (char& c : word)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
}

bool read_card_number(std::string_view token, double& value) {
  std::size_t i = 0;
  std::string text;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) text.push_back(token[i++]);
  std::size_t digits = 0;
  while (i < token.size() && is_digit(token[i])) { text.push_back(token[i++]); ++digits; }
  if (i < token.size() && token[i] == '.') {
    text.push_back(token[i++]);
    while (i < token.size() && is_digit(token[i])) { text.push_back(token[i++]); ++digits; }
  }
  if (digits == 0) return false;
  if (i < token.size()) {
    const char c = token[i];
    std::size_t exponent_start = i;
    if (c == 'E' || c == 'e' || c == 'D' || c == 'd') exponent_start = i + 1;
    else if (c != '+' && c != '-') return false;
    std::size_t j = exponent_start;
    std::string exponent;
    if (j < token.size() && (token[j] == '+' || token[j] == '-')) exponent.push_back(token[j++]);
    const std::size_t exponent_digits_start = j;
    while (j < token.size() && is_digit(token[j])) exponent.push_back(token[j++]);
    if (j == exponent_digits_start || j != token.size()) return false;
    text += "e" + exponent;
  }
  value = std::strtod(text.c_str(), nullptr);
  return true;
}

void LISTEN(std::string_view name) {
  blank_card();
  Scan scan;
  for (;;) {
    if (!CARD.continuation && (CARD.NWORD > 0 || CARD.NVALU > 0)) {
      CARD.NSLOT = std::max(scan.w, scan.v);
      return;
    }
    CARD.continuation = false;
    read_physical_line(name);
    int first = -1;
    int last = -1;
    if (scan_line(name, scan, first, last) == LineEnd::include) continue;
    if (!CARD.continuation && handle_echo_switch(name, scan)) continue;
    if (echo_wanted(name) && first >= 0) {
      std::string text = CARD.CARDIM.substr(first, last - first);
      if (CARD.continuation) text += " \\";
      write_echo(name, text);
    }
  }
}

}  // namespace vortan
