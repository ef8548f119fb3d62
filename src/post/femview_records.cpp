#include "post/femview_records.h"

#include "run/fortran_format.h"

namespace vortan::femview {

namespace {

std::string key_field(int key) { return fmt::X(1) + fmt::I(key, 2); }

std::string integers(const long long* v, int count, int w) {
  std::string out;
  for (int i = 0; i < count; ++i) out += fmt::I(v[i], w);
  return out;
}

}  // namespace

std::string text_field(std::string_view text, int w) {
  std::string out(text.substr(0, static_cast<std::size_t>(w)));
  out.resize(static_cast<std::size_t>(w), ' ');
  return out;
}

std::string block_header(int key, std::string_view name) {
  return fmt::X(1) + fmt::I(key, 4) + "C" + text_field(name, 6);
}

std::string end_of_block() { return key_field(KEY_END_OF_BLOCK); }

std::string end_of_file() { return fmt::X(1) + fmt::I(KEY_END_OF_FILE, 4); }

std::string values(int key, long long number, const double* v, int count) {
  std::string out = key_field(key) + fmt::I(number, 5);
  for (int i = 0; i < count && i < VALUES_PER_LINE; ++i) out += fmt::E(v[i], 12, 5);
  return out;
}

std::string element_header(int key, const long long* v, int count) {
  return key_field(key) + integers(v, count < 6 ? count : 6, 5);
}

std::string node_list(int key, const long long* nodes, int count) {
  return key_field(key) + integers(nodes, count < NODES_PER_LINE ? count : NODES_PER_LINE, 5);
}

std::string result_set(int key, std::string_view name, int a, int b, int c) {
  return key_field(key) + fmt::X(2) + text_field(name, 8) + fmt::I(a, 5) + fmt::I(b, 5) + fmt::I(c, 5);
}

std::string component(int key, std::string_view name, const int* v) {
  std::string out = key_field(key) + fmt::X(2) + text_field(name, 8);
  for (int i = 0; i < 5; ++i) out += fmt::I(v[i], 5);
  return out + text_field("", 8) + text_field("", 8);
}

std::string result_layout(int key, int a, int b, const int* positions, int count) {
  std::string out = key_field(key) + fmt::I(a, 5) + fmt::I(b, 5);
  for (int i = 0; i < count && i < POSITIONS_PER_LINE; ++i) out += fmt::I(positions[i], 3);
  return out;
}

std::string element_result_header(int key, const long long* v, int count) {
  return key_field(key) + integers(v, count < 7 ? count : 7, 5);
}

}  // namespace vortan::femview
