// Start-up and end of a run.
#pragma once

#include <string>

namespace vortan {

// Start-up: console banner, timers, date, file set, start banner.
void INIRUN();
// Normal end: set files deleted, timing report, final banner, files closed.
void ENDRUN();

// The card reader tells the fatal stop where the image and first word of the last
// card read are kept, so that the error block can show them.
void register_last_card(const std::string* image, const std::string* first_word);

// Fills the seven date-and-time integers of the run record from the local clock.
void read_date_time();

}  // namespace vortan
