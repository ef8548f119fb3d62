// VORTAN: batch finite-element analysis of solids, structures and heat conduction.
// Usage: vortan [--memory SIZE] problem.vtn
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "analyses/inpdat.h"
#include "run/banners.h"
#include "run/memory_size.h"
#include "run/work_array.h"

#ifndef VORTAN_SOURCE_DIR
#define VORTAN_SOURCE_DIR "."
#endif

namespace {

void write_usage(std::FILE* out) {
  std::fputs(
      "Usage: vortan [--memory SIZE] PROBLEM.vtn\n"
      "       vortan -h | --help | --version\n"
      "\n"
      "Reads the problem deck PROBLEM.vtn (the card language with Spanish keywords; the\n"
      "extension in any letter case) and runs the one analysis its first cards select.\n"
      "Beside the deck, with the same name and another extension, it writes:\n"
      "  .sal   the listing: banners, echo, parameters, results, error report\n"
      "  .tim   the timing report of the phases\n"
      "  .dic   the allocation table of the work array\n"
      "  .err   the error report, after a fatal stop only (removed when a run starts)\n"
      "Progress lines go to standard output; a fatal stop also writes its message, the\n"
      "file and line of the last card read and the path of the listing to standard error.\n"
      "\n"
      "Exit status: 0 normal end; 1 fatal stop (an error in the deck, a file that cannot\n"
      "be opened or written); 2 usage error.\n"
      "\n"
      "Options:\n"
      "  -h, --help   print this text and exit\n"
      "  --version    print the version and exit\n"
      "  --memory SIZE, --memory=SIZE\n"
      "               size of the work array that holds the model and the profile and\n"
      "               iterative solvers (default 1G): bytes with K, M, G or T, as 6G,\n"
      "               from 1M up to 8G (2147483647 words of 4 bytes). When the system\n"
      "               grants less, the size shrinks by a factor 0.8 until it does. The\n"
      "               sparse direct solver's factor lives outside the work array.\n"
      "\n"
      "Environment:\n"
      "  VORTAN_MEMORY=SIZE  the work array size when --memory is not given\n"
      "  VORTAN_THREADS=N    threads of the LDLT profile factorisation: a whole number\n"
      "                      from 1 to 64 (default: the number of cores of the machine;\n"
      "                      1 runs it on one thread). The results do not depend on it.\n"
      "\n"
      "Example decks:  " VORTAN_SOURCE_DIR "/examples/\n"
      "Card reference: " VORTAN_SOURCE_DIR "/docs/cards.md\n",
      out);
}

}  // namespace

namespace {

int usage_error(const std::string& reason) {
  std::fprintf(stderr, "vortan: %s\n\n", reason.c_str());
  write_usage(stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view first = argc > 1 ? argv[1] : "";
  if (argc < 2 || first == "-h" || first == "--help") {
    write_usage(stdout);
    return 2;
  }
  if (first == "--version") {
    const std::string_view version = vortan::PROGRAM_VERSION;
    std::printf("VORTAN %.*s\n", static_cast<int>(version.size()), version.data());
    return 0;
  }
  std::string_view deck;
  std::string memory;      // the size text of --memory, when given
  bool memory_given = false;
  int decks = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--memory") {
      if (i + 1 >= argc) return usage_error("--memory needs a size, as --memory 6G");
      memory = argv[++i];
      memory_given = true;
    } else if (argument.rfind("--memory=", 0) == 0) {
      memory = std::string(argument.substr(9));
      memory_given = true;
    } else if (argument.size() > 1 && argument.front() == '-') {
      return usage_error("unknown option");
    } else {
      deck = argument;
      ++decks;
    }
  }
  if (decks != 1) return usage_error(decks == 0 ? "no problem deck" : "one problem deck per run");
  std::string source = "--memory";
  if (!memory_given) {
    const char* variable = std::getenv(vortan::MEMORY_VARIABLE);
    if (variable != nullptr && *variable != '\0') {
      memory = variable;
      memory_given = true;
      source = vortan::MEMORY_VARIABLE;
    }
  }
  if (memory_given) {
    std::int32_t words = 0;
    std::string error;
    if (!vortan::parse_memory_size(memory, words, error)) return usage_error(source + ": " + error);
    vortan::RUN.MEMORY = words;
  }
  vortan::size_work_array();
  return vortan::run_vortan(deck);
}
