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
                 {"cdt", -5}, {"mst", -7}, {"mdt", -6}, {"pst", -8}, {"pdt", -7}, {"jst", 9}};
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
    zoneGiven = false;
    const char sign = in.Peek();
    if (sign == '+' || sign == '-') {
        in.Take(sign);
        int64_t hhmm;
        // Four digits, or three as some old writers wrote them ("-600").
        if (!in.Number(4, hhmm, digits) || digits < 3 || hhmm % 100 > 59)
            return false;
        zone = int(hhmm / 100 * 60 + hhmm % 100) * (sign == '-' ? -1 : 1);
        zoneGiven = true;
        in.SkipBlanksAndComments();
        // A zone's name after its numbers ("+0100 MET") says nothing more.
        if (IsLetter(in.Peek())) {
            if (!in.Word(word, 5, wordLength))
                return false;
            in.SkipBlanksAndComments();
        }
    } else if (IsLetter(sign)) {
        if (!in.Word(word, 5, wordLength) || !NamedZone(word, wordLength, zone))
            return false;
        zoneGiven = true;
        in.SkipBlanksAndComments();
    }
    if (!in.AtEnd())
        return false;

    if (day < 1 || day > int64_t(DaysInMonth(year, unsigned(month))) || hour > 23 || minute > 59 ||
        second > 60)
        return false;
    seconds = DaysFromCivil(year, unsigned(month), unsigned(day)) * 86400 + hour * 3600 +
              minute * 60 + second - int64_t(zone) * 60;
    return true;
}

} // namespace

bool ReadMailDate(const char *value, size_t length, MailDate &date) {
    int64_t seconds;
    bool zoneGiven;
    if (!ParseDateTime(value, length, seconds, zoneGiven) || seconds < 0 ||
        seconds > int64_t(UINT32_MAX))
        return false;
    date.utcSeconds = seconds;
    date.zoneGiven = zoneGiven;
    return true;
}

bool IsMailDate(const char *value, size_t length) {
    int64_t seconds;
    bool zoneGiven;
    return ParseDateTime(value, length, seconds, zoneGiven);
}

} // namespace corvex
