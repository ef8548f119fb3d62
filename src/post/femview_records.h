// The record layouts of the FEMVIEW neutral file. Every record is one line built from
// fixed-width fields (edit notation: nX blanks, Iw integers, Ew.d reals, An texts);
// each function returns one whole line without its newline.
#pragma once

#include <string>
#include <string_view>

namespace vortan::femview {

// Record keys.
inline constexpr int KEY_FIRST = -1;        // first line of an item
inline constexpr int KEY_CONTINUATION = -2; // continuation line of an item
inline constexpr int KEY_END_OF_BLOCK = -3;
inline constexpr int KEY_RESULT_SET = -4;
inline constexpr int KEY_COMPONENT = -5;
inline constexpr int KEY_RESULT_LAYOUT = -6;
inline constexpr int KEY_END_OF_FILE = 9999;

// Values per N line, nodes per L line and positions per P line.
inline constexpr int VALUES_PER_LINE = 6;
inline constexpr int NODES_PER_LINE = 15;
inline constexpr int POSITIONS_PER_LINE = 20;

// A text left-justified in w columns: cut to its first w characters, or padded with
// blanks on the right (a name held in a longer text field, as the file writes it).
std::string text_field(std::string_view text, int w);

// H: 1X, I4 key, "C", A6 name.
std::string block_header(int key, std::string_view name);
// E: 1X, I2 key -3.
std::string end_of_block();
// F: 1X, I4 9999.
std::string end_of_file();
// N: 1X, I2 key, I5 number, up to six E12.5 values.
std::string values(int key, long long number, const double* v, int count);
// C: 1X, I2 key, up to six I5 integers.
std::string element_header(int key, const long long* v, int count);
// L: 1X, I2 key, up to fifteen I5 node numbers.
std::string node_list(int key, const long long* nodes, int count);
// R: 1X, I2 key, 2X, A8 name, 3I5.
std::string result_set(int key, std::string_view name, int a, int b, int c);
// K: 1X, I2 key, 2X, A8 name, 5I5, A8, A8 (the two trailing texts blank).
std::string component(int key, std::string_view name, const int* v);
// P: 1X, I2 key, 2I5, up to twenty I3 positions.
std::string result_layout(int key, int a, int b, const int* positions, int count);
// G: 1X, I2 key, up to seven I5 integers.
std::string element_result_header(int key, const long long* v, int count);

}  // namespace vortan::femview
