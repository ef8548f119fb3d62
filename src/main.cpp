// VORTAN: batch finite-element analysis of solids, structures and heat conduction.
// Usage: vortan problem.vtn
#include <cstdio>
#include <string_view>

#include "analyses/inpdat.h"
#include "run/banners.h"
#include "run/work_array.h"

#ifndef VORTAN_SOURCE_DIR
#define VORTAN_SOURCE_DIR "."
#endif

namespace {

void write_usage(std::FILE* out) {
  std::fputs(
      "Usage: vortan PROBLEM.vtn\n"
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
      "\n"
      "Environment:\n"
      "  VORTAN_THREADS  threads of the LDLT profile factorisation: a whole number from\n"
      "                  1 to 64 (default: the number of cores of the machine; 1 runs it\n"
      "                  on one thread). The results do not depend on it.\n"
      "\n"
      "Example decks:  " VORTAN_SOURCE_DIR "/examples/\n"
      "Card reference: " VORTAN_SOURCE_DIR "/docs/cards.md\n",
      out);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view argument = argc > 1 ? argv[1] : "";
  if (argc < 2 || argument == "-h" || argument == "--help") {
    write_usage(stdout);
    return 2;
  }
  if (argument == "--version") {
    const std::string_view version = vortan::PROGRAM_VERSION;
    std::printf("VORTAN %.*s\n", static_cast<int>(version.size()), version.data());
    return 0;
  }
  if (argc > 2 || (argument.size() > 1 && argument.front() == '-')) {
    std::fprintf(stderr, "vortan: %s\n\n", argc > 2 ? "one problem deck per run" : "unknown option");
    write_usage(stderr);
    return 2;
  }
  vortan::size_work_array();
  return vortan::run_vortan(argument);
}
