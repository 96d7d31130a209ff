// Reading the date-time of a mail's Date field: the standard form and the
// obsolete ones that real mail carries (no day name, two- or three-digit
// years, no seconds, blanks and comments around the parts, the alphabetic
// zones). A date that does not exist, or one outside 1970 to 2106 once in
// UTC, is not readable.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvex {

struct MailDate {
    int64_t utcSeconds = 0; // since 1970-01-01 00:00:00 UTC, 0 to 2^32 - 1
    bool zoneGiven = false; // false: no zone was written, and the time was read as UTC
};

// Reads the length bytes of a field's value (what follows the colon; folded
// lines may still hold their line ends). Reads nothing past them. False when
// they hold no readable date-time; trailing blanks and comments are allowed,
// anything else after the zone is not.
bool ReadMailDate(const char *value, size_t length, MailDate &date);

// Reads the date at the end of an mbox separator line (the line without its
// line end), as the C library's asctime() writes it: "From sender Sat Jan  1
// 00:00:00 2000", with a zone after the time or after the year where the
// writer put one, and as UTC where it did not. Same range as above.
bool ReadSeparatorDate(const char *line, size_t length, MailDate &date);

// Whether the value is a date-time of the same forms, whatever its year
// (a message may well be dated before 1970).
bool IsMailDate(const char *value, size_t length);

} // namespace corvex
