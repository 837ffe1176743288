// Date-times: days since 1899-12-30 with the time of day as the fraction,
// on the local clock.
#pragma once

#include <cstdint>
#include <string>


namespace vantel {

// Days since 1899-12-30, the time of day as the fraction, local clock.
using Date_time = double;

// A fresh reading of the local clock.
Date_time local_now();

// The time of day "hh:mm:ss" as a fraction of a day, computed as
// (hours x 3600 + minutes x 60 + seconds) / 86400 in double, the way a
// time-of-day parser does. Throws Vantel_error for a malformed text.
double parse_time_of_day(const std::string& text);

// One second as the difference of two parsed times; a hair under 1/86400.
double one_second_units();

// Whole seconds between two date-times, rounded half to even.
std::int64_t elapsed_seconds(Date_time now, Date_time start, double one_second);

// "Time passed [s]=" followed by the elapsed whole seconds.
std::string time_label(Date_time now, Date_time start, double one_second);

// "mm-dd-yyyy-hhnnss" of a date-time.
std::string format_file_stamp(Date_time when);

}  // namespace vantel
