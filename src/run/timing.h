// Timing of the phases of a run: clock readings in seconds of the year, the table of
// accumulated times per action, the console progress lines and the timing report.
#pragma once

#include <cstdint>

namespace vortan {

struct LocalTime {
  int hour, minute, second, millisecond, day, month, year;
};

struct TimingRecord {
  double table[40] = {};        // 1..20 accumulated seconds; 21..40 last start readings
  double program_start = 0.0;   // clock reading when the console banner was written
  // The counter whose progress lines are being thinned out: its total, the last count
  // reported and the percentage of the last line written.
  long long progress_total = 0, progress_done = 0, progress_percent = -1;
  void reset() { *this = TimingRecord{}; }
  double& slot(int i) { return table[i - 1]; }
};
extern TimingRecord TIMING;

// The local date and time; replaceable so that clock arithmetic can be checked.
using ClockSource = LocalTime (*)();
void set_clock_source(ClockSource source);
LocalTime local_time();

// Seconds of the year of a local time (day of the year x 86400 + time of day).
double clock_reading(const LocalTime& time);

void SECNOW(double& t);
// Mode 1 starts an action; any other mode stops it, adding the time since its start.
void TIMACC(int action, double* table, int mode);
// Elapsed run time since the program start, into the run record.
void ELAPSE();
// Writes the timing report of the analysis to the timing file and the listing.
void TIMREP();
// Writes the console progress line of a code with the elapsed time since start.
void PROGRE(double start, int code, int n = 0, double x = 0.0, double y = 0.0);

}  // namespace vortan
