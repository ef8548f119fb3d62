#include "run/run_driver.h"

#include <string>

#include "run/banners.h"
#include "run/console.h"
#include "run/errstp.h"
#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/timing.h"
#include "run/work_array.h"

namespace vortan {

namespace {

const std::string* last_card_image = nullptr;
const std::string* last_card_first_word = nullptr;

std::string last_image() {
  std::string image = last_card_image != nullptr ? *last_card_image : std::string();
  image.resize(150, ' ');
  return image;
}

void write_error_report(int unit, const std::string& message, bool with_block) {
  write_empty(unit);
  write_record(unit, fmt::X(5) + fmt::A(message, 40));
  write_empty(unit);
  if (!with_block) return;
  const std::string stars = fmt::X(5) + [] {
    std::string s;
    for (int i = 0; i < 39; ++i) s += "* ";
    return s;
  }();
  write_empty(unit, 2);
  write_record(unit, stars);
  write_empty(unit);
  write_record(unit, fmt::X(25) + "SE HA DETECTADO UN ERROR");
  write_empty(unit);
  write_record(unit, fmt::X(5) + "ULTIMA TARJETA LEIDA : " + last_image());
  write_empty(unit);
  write_record(unit, stars);
}

}  // namespace

void register_last_card(const std::string* image, const std::string* first_word) {
  last_card_image = image;
  last_card_first_word = first_word;
}

void read_date_time() {
  const LocalTime t = local_time();
  const int values[7] = {t.hour, t.minute, t.second, t.millisecond, t.day, t.month, t.year};
  for (int i = 0; i < 7; ++i) RUN.date_time[i] = static_cast<std::int16_t>(values[i]);
}

void INIRUN() {
  RUN.stopping = false;
  SECNOW(TIMING.program_start);
  write_console_banner();
  for (double& slot : TIMING.table) slot = 0.0;
  TIMACC(10, TIMING.table, 1);
  TIMACC(1, TIMING.table, 1);
  read_date_time();
  OPENFI(1);
  OPENFI(UNIT_ALLOCATION);
  write_start_banner();
  PROGRE(TIMING.program_start, 1);
  TIMACC(1, TIMING.table, 2);
}

void ENDRUN() {
  CLOSFI(100);
  read_date_time();
  ELAPSE();
  TIMACC(10, TIMING.table, 2);
  TIMREP();
  write_final_banner();
  CLOSFI(1);
  PROGRE(TIMING.program_start, 11);
}

void ERRSTP(std::string_view text) {
  const std::string cut(text.substr(0, 40));
  std::string message = cut;
  message.resize(40, ' ');
  // A failure while the report itself is written (the error file cannot be opened)
  // must not start a second report.
  if (RUN.stopping) throw FatalStop(cut);
  RUN.stopping = true;
  // A file that fails while the report is written is named in the report, not stopped for.
  hold_write_failures(true);
  // Before the listing exists (a wrong problem path) the message goes to the console.
  if (!unit_is_open(UNIT_LISTING)) write_record(UNIT_CONSOLE, fmt::X(5) + message);
  const bool with_block = last_card_first_word == nullptr || *last_card_first_word != "FINCA";
  write_error_report(UNIT_LISTING, message, with_block);
  // No error file beside a problem file that could not be opened.
  if (with_block && FILESET.opened) {
    try {
      OPENFI(UNIT_ERROR);
      write_error_report(UNIT_ERROR, message, true);
      CLOSFI(UNIT_ERROR);
    } catch (const FatalStop&) {
    }
  }
  CLOSFI(1);
  CLOSFI(UNIT_ALLOCATION);
  write_fatal_report(cut, last_image());
  write_record(UNIT_CONSOLE, "VORTAN:* * * FIN DE ANALISIS * * *");
  flush_units();
  hold_write_failures(false);
  RUN.stopping = false;
  throw FatalStop(cut);
}

}  // namespace vortan
