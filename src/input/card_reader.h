// The card reader: reads the next card of the input language and splits it into
// words and numbers, with comments, continuation lines, unit annotations, one level
// of include files and the echo of the input into the listing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vortan {

inline constexpr int CARD_SLOTS = 60;
inline constexpr int WORD_LENGTH = 20;
inline constexpr int LINE_LENGTH = 150;

// The last card read. Slot i (1-based) pairs WORD(i) with VALUE(i): a number that
// follows a word lands in the word's slot; a number after a number takes a new slot.
struct CardRecord {
  std::string CARDIM = std::string(LINE_LENGTH, ' ');  // image of the last line read
  std::string words[CARD_SLOTS];   // upper case, at most 20 characters, empty when absent
  double values[CARD_SLOTS] = {};  // 0.0 when absent
  std::int32_t NWORD = 0;
  std::int32_t NVALU = 0;
  std::int32_t NSLOT = 0;

  // Reader state kept between calls.
  bool echo = false;
  bool continuation = false;
  int unit = 5;  // the input file, or 8 while an include file is read
  // Where the lines come from, for the fatal report: lines read from the input file
  // and from the include file (as it was opened), and the unit of the last line.
  long input_lines = 0;
  long include_lines = 0;
  std::string include_path;
  int line_unit = 0;  // 0 before the first line

  const std::string& WORD(int i) const { return words[i - 1]; }
  double VALUE(int i) const { return values[i - 1]; }
  // Keyword comparison: a keyword longer than 20 characters is compared on its first 20.
  bool word_is(int i, std::string_view keyword) const {
    return i >= 1 && i <= CARD_SLOTS && words[i - 1] == keyword.substr(0, WORD_LENGTH);
  }
  void reset() { *this = CardRecord{}; }
};
extern CardRecord CARD;

// Reads one complete card; name is the caller's six-character routine name, shown in
// the echo ("NOECHO" suppresses every echo line of the call). Characters after column
// 150 of a line are ignored. A relative include name is looked for in the folder of
// the problem file first, then in the working directory; the listing records the full
// path of every include file opened.
void LISTEN(std::string_view name);

// Position of the last non-blank character of a line (0 for a blank line).
int LENLIN(std::string_view line);
// Letters a to z become A to Z; other characters are left as they are.
void UPWORD(std::string& word);

// Reads a token as a number of the card language: optional sign, digits with an
// optional decimal point, and an optional exponent written with E or D or as a signed
// integer right after the digits (1.5-3 is 0.0015). False when it is not a number.
bool read_card_number(std::string_view token, double& value);

}  // namespace vortan
