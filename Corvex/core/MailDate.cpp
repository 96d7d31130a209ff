#include "MailDate.h"

namespace corvex {

namespace {

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }

// Days from 1970-01-01 to the given day of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day) {
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yearOfEra = unsigned(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + int64_t(dayOfEra) - 719468;
}

unsigned DaysInMonth(int64_t year, unsigned month) {
    static const unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

// The bytes of a value, read from the front.
class Cursor {
public:
    Cursor(const char *p, size_t n) : p_(p), end_(p + n) {}
    bool AtEnd() const { return p_ == end_; }
    char Peek() const { return p_ < end_ ? *p_ : 0; }
    bool Take(char c) {
        if (Peek() != c)
            return false;
        ++p_;
        return true;
    }
    // Blanks, line ends and comments (nested, with quoted pairs); a comment
    // left open runs to the end.
    void SkipBlanksAndComments() {
        for (;;) {
            while (p_ < end_ && (*p_ == ' ' || *p_ == '\t' || *p_ == '\r' || *p_ == '\n'))
                ++p_;
            if (Peek() != '(')
                return;
            int depth = 0;
            while (p_ < end_) {
                const char c = *p_++;
                if (c == '\\' && p_ < end_)
                    ++p_;
                else if (c == '(')
                    ++depth;
                else if (c == ')' && --depth == 0)
                    break;
            }
        }
    }
    // Up to most digits as a number; the count read goes into digits.
    bool Number(int most, int64_t &value, int &digits) {
        value = 0;
        digits = 0;
        while (digits < most && p_ < end_ && IsDigit(*p_)) {
            value = value * 10 + (*p_++ - '0');
            ++digits;
        }
        return digits > 0 && !(p_ < end_ && IsDigit(*p_));
    }
    // A run of letters, lower-cased, of at most most letters.
    bool Word(char *out, size_t most, size_t &length) {
        length = 0;
        while (p_ < end_ && IsLetter(*p_)) {
            if (length == most)
                return false;
            out[length++] = Lower(*p_++);
        }
        out[length] = 0;
        return length > 0;
    }

private:
    const char *p_;
    const char *end_;
};

bool Equals(const char *a, const char *b) {
    while (*a && *a == *b)
        ++a, ++b;
    return *a == *b;
}

// The minutes east of UTC that an alphabetic zone names. The military
// letters were defined the wrong way round once, so they tell nothing and
// count as UTC.
bool NamedZone(const char *name, size_t length, int &minutes) {
    static const struct {
        const char *name;
        int hours;
    } zones[] = {{"ut", 0},  {"gmt", 0}, {"utc", 0}, {"est", -5}, {"edt", -4}, {"cst", -6},
                 {"cdt", -5}, {"mst", -7}, {"mdt", -6}, {"pst", -8}, {"pdt", -7}, {"ast", -4}, {"adt", -3}, {"jst", 9}};
    for (const auto &zone : zones)
        if (Equals(name, zone.name)) {
            minutes = zone.hours * 60;
            return true;
        }
    if (length == 1 && name[0] != 'j') {
        minutes = 0;
        return true;
    }
    return false;
}

int MonthOf(const char *name) {
    static const char *const months[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                         "jul", "aug", "sep", "oct", "nov", "dec"};
    for (int m = 0; m < 12; ++m)
        if (Equals(name, months[m]))
            return m + 1;
    return 0;
}

bool IsDayName(const char *name) {
    static const char *const days[] = {"mon", "tue", "wed", "thu", "fri", "sat", "sun"};
    for (const char *day : days)
        if (Equals(name, day))
            return true;
    return false;
}

enum class ZoneRead { None, Given, Bad };

// A zone where one may stand: "+hhmm" or "-hhmm" (three digits as some old
// writers wrote them, "-600"; a name after the numbers, "+0100 MET", says
// nothing more), or an alphabetic zone; the blanks after it are taken too.
ZoneRead ReadZone(Cursor &in, int &minutes) {
    char word[8];
    size_t wordLength;
    const char sign = in.Peek();
    if (sign == '+' || sign == '-') {
        in.Take(sign);
        int64_t hhmm;
        int digits;
        if (!in.Number(4, hhmm, digits) || digits < 3 || hhmm % 100 > 59)
            return ZoneRead::Bad;
        minutes = int(hhmm / 100 * 60 + hhmm % 100) * (sign == '-' ? -1 : 1);
        in.SkipBlanksAndComments();
        if (IsLetter(in.Peek())) {
            if (!in.Word(word, 5, wordLength))
                return ZoneRead::Bad;
            in.SkipBlanksAndComments();
        }
        return ZoneRead::Given;
    }
    if (!IsLetter(sign))
        return ZoneRead::None;
    if (!in.Word(word, 5, wordLength) || !NamedZone(word, wordLength, minutes))
        return ZoneRead::Bad;
    in.SkipBlanksAndComments();
    return ZoneRead::Given;
}

// The seconds since 1970 (UTC) of a day that exists and a time of day, written
// with a zone minutes east of UTC.
bool ToSeconds(int64_t year, int month, int64_t day, int64_t hour, int64_t minute, int64_t second,
               int zone, int64_t &seconds) {
    if (day < 1 || day > int64_t(DaysInMonth(year, unsigned(month))) || hour > 23 || minute > 59 ||
        second > 60)
        return false;
    seconds = DaysFromCivil(year, unsigned(month), unsigned(day)) * 86400 + hour * 3600 +
              minute * 60 + second - int64_t(zone) * 60;
    return true;
}

// The date-time's form, and a day that exists; seconds receives its time in
// UTC since 1970 (negative before it), whatever the year.
bool ParseDateTime(const char *value, size_t length, int64_t &seconds, bool &zoneGiven) {
    Cursor in(value, length);
    char word[8];
    size_t wordLength;
    int digits;
    in.SkipBlanksAndComments();

    // An optional day name, with or without its comma.
    if (IsLetter(in.Peek())) {
        if (!in.Word(word, 3, wordLength) || !IsDayName(word))
            return false;
        in.SkipBlanksAndComments();
        if (in.Take(','))
            in.SkipBlanksAndComments();
    }
    // A day of up to three digits ("029", as some writers pad it).
    int64_t day, year, hour, minute, second = 0;
    if (!in.Number(3, day, digits))
        return false;
    in.SkipBlanksAndComments();
    if (!in.Word(word, 3, wordLength))
        return false;
    const int month = MonthOf(word);
    if (!month)
        return false;
    in.SkipBlanksAndComments();
    if (!in.Number(4, year, digits) || digits < 2)
        return false;
    // Two digits: 1950 to 2049; three: from 1900 on.
    if (digits == 2)
        year += year < 50 ? 2000 : 1900;
    else if (digits == 3)
        year += 1900;
    in.SkipBlanksAndComments();
    if (!in.Number(2, hour, digits))
        return false;
    in.SkipBlanksAndComments();
    if (!in.Take(':'))
        return false;
    in.SkipBlanksAndComments();
    if (!in.Number(2, minute, digits) || digits != 2)
        return false;
    in.SkipBlanksAndComments();
    if (in.Take(':')) {
        in.SkipBlanksAndComments();
        if (!in.Number(2, second, digits) || digits != 2)
            return false;
        in.SkipBlanksAndComments();
    }

    int zone = 0;
    const ZoneRead read = ReadZone(in, zone);
    if (read == ZoneRead::Bad)
        return false;
    zoneGiven = read == ZoneRead::Given;
    if (!in.AtEnd())
        return false;

    return ToSeconds(year, month, day, hour, minute, second, zone, seconds);
}

// The date of an mbox separator line from "at" on, as the C library's
// asctime() writes it ("Sat Jan  1 00:00:00 2000"), the day name optional, a
// zone after the time or after the year allowed, and nothing else after it.
bool ParseSeparatorDate(const char *at, size_t length, int64_t &seconds, bool &zoneGiven) {
    Cursor in(at, length);
    char word[8];
    size_t wordLength;
    int digits;
    if (!in.Word(word, 3, wordLength))
        return false;
    int month = MonthOf(word);
    if (!month) {
        if (!IsDayName(word))
            return false;
        in.SkipBlanksAndComments();
        if (!in.Word(word, 3, wordLength) || !(month = MonthOf(word)))
            return false;
    }
    int64_t day, year, hour, minute, second = 0;
    in.SkipBlanksAndComments();
    if (!in.Number(2, day, digits))
        return false;
    in.SkipBlanksAndComments();
    if (!in.Number(2, hour, digits) || !in.Take(':') || !in.Number(2, minute, digits) || digits != 2)
        return false;
    if (in.Take(':') && (!in.Number(2, second, digits) || digits != 2))
        return false;
    in.SkipBlanksAndComments();
    int zone = 0;
    ZoneRead read = ReadZone(in, zone);
    if (read == ZoneRead::Bad)
        return false;
    if (!in.Number(4, year, digits) || digits != 4)
        return false;
    in.SkipBlanksAndComments();
    if (read == ZoneRead::None && (read = ReadZone(in, zone)) == ZoneRead::Bad)
        return false;
    if (!in.AtEnd())
        return false;
    zoneGiven = read == ZoneRead::Given;
    return ToSeconds(year, month, day, hour, minute, second, zone, seconds);
}

// From 1970 to 2106 (the seconds fit 32 bits without a sign).
bool InRange(int64_t seconds) { return seconds >= 0 && seconds <= int64_t(UINT32_MAX); }

} // namespace

bool ReadMailDate(const char *value, size_t length, MailDate &date) {
    int64_t seconds;
    bool zoneGiven;
    if (!ParseDateTime(value, length, seconds, zoneGiven) || !InRange(seconds))
        return false;
    date.utcSeconds = seconds;
    date.zoneGiven = zoneGiven;
    return true;
}

bool ReadSeparatorDate(const char *line, size_t length, MailDate &date) {
    // The date stands after the sender, which may hold blanks of its own:
    // it is read from the first word on from which the rest of the line reads
    // as one.
    for (size_t i = 0; i < length; ++i) {
        if (i > 0 && !(line[i - 1] == ' ' || line[i - 1] == '\t'))
            continue;
        if (!IsLetter(line[i]))
            continue;
        int64_t seconds;
        bool zoneGiven;
        if (ParseSeparatorDate(line + i, length - i, seconds, zoneGiven) && InRange(seconds)) {
            date.utcSeconds = seconds;
            date.zoneGiven = zoneGiven;
            return true;
        }
    }
    return false;
}

bool IsMailDate(const char *value, size_t length) {
    int64_t seconds;
    bool zoneGiven;
    return ParseDateTime(value, length, seconds, zoneGiven);
}

} // namespace corvex
