#pragma once
// Dates and times. The dialect keeps them as ISO texts ("2024-05-01",
// "13:45:00", "2024-05-01 13:45:00"); these helpers read such texts (and
// VB6's own "5/1/2024 1:45:00 PM" form and serial numbers), compute with
// them and write them back.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "basic/value.h"

namespace corvane {

struct DateTime {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0;
  bool has_date = true;  // a time alone has no date part
  bool has_time = false;
};

// Text in ISO form, "M/D/YYYY" (US order, as VB6's default locale), month
// names ("May 1, 2024", "1 May 2024"), each optionally followed by a time
// "H:MM[:SS] [AM|PM]"; or a time alone.
std::optional<DateTime> parse_date_text(std::string_view text);
// A value as a date: texts as above, numbers as VB6 serial dates (days
// since 1899-12-30, the fraction the time of day). Type mismatch otherwise.
DateTime to_date(const Value& value);
// The ISO text of a date: "YYYY-MM-DD", "HH:MM:SS" or both.
std::string date_text(const DateTime& d);

// Days since 1899-12-30 of a calendar date (any month or day overflow is
// carried, so day 0 is the last day of the previous month).
int64_t days_from_civil(int64_t year, int64_t month, int64_t day);
void civil_from_days(int64_t days, int& year, int& month, int& day);
// VB6 serial number of a date (days plus the fraction of the day).
double date_serial(const DateTime& d);
DateTime from_serial(double serial);
// The current local date and time.
DateTime now_local();
// Day of the week, 1 = Sunday.
int weekday(const DateTime& d);

}  // namespace corvane
