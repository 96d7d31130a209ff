// The Date field's reader: the standard form, the obsolete forms of real
// mail, zones at both ends, the limits of the range, and rubbish.
#include "MailDate.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace corvex::test {
namespace {

// The UTC seconds a value reads as, or -1 when it is not readable.
int64_t Read(const std::string &value, bool *zoneGiven = nullptr) {
    MailDate date;
    if (!ReadMailDate(value.data(), value.size(), date))
        return -1;
    if (zoneGiven)
        *zoneGiven = date.zoneGiven;
    return date.utcSeconds;
}

// 1997-11-21 15:55:06 UTC, the standard's example.
constexpr int64_t kExample = 880127706;

TEST(MailDate, TheStandardFormAndItsObsoleteForms) {
    EXPECT_EQ(Read("Fri, 21 Nov 1997 09:55:06 -0600"), kExample);
    EXPECT_EQ(Read(" Fri, 21 Nov 1997 09:55:06 -0600\r\n"), kExample);
    EXPECT_EQ(Read("21 Nov 1997 09:55:06 -0600"), kExample);          // no day name
    EXPECT_EQ(Read("Fri 21 Nov 1997 09:55:06 -0600"), kExample);       // no comma
    EXPECT_EQ(Read("Fri, 021 Nov 1997 09:55:06 -0600"), kExample);     // a padded day
    EXPECT_EQ(Read("fri, 21 nov 1997 09:55:06 -0600"), kExample);      // any case
    EXPECT_EQ(Read("Fri, 21 Nov 97 15:55:06 GMT"), kExample);          // two-digit year
    EXPECT_EQ(Read("Fri, 21 Nov 097 15:55:06 UT"), kExample);          // three-digit year
    EXPECT_EQ(Read("Fri, 21 Nov 1997 15:55 +0000"), kExample - 6);     // no seconds
    EXPECT_EQ(Read("Fri, 21 Nov 1997 09(comment):   55  :  06 -0600"), kExample);
    EXPECT_EQ(Read("Fri, 21 Nov 1997\r\n 09:55:06\r\n -0600 (CST)"), kExample); // folded, a comment
    EXPECT_EQ(Read("(first) Fri, (a (nested) \\) one) 21 Nov 1997 09:55:06 -0600"), kExample);
    EXPECT_EQ(Read("Fri, 21 Nov 1997 16:55:06 +0100 MET"), kExample);  // a name after the numbers
    EXPECT_EQ(Read("Sat, 1 Jan 2000 00:00:00 +0000"), 946684800);
    EXPECT_EQ(Read("1 Jan 49 00:00:00 +0000"), 2493072000);            // 2049
    EXPECT_EQ(Read("1 Jan 50 00:00:00 +0000"), -1);                    // 1950: too early
    EXPECT_EQ(Read("1 Jan 90 00:00:00 +0000"), 631152000);             // 1990
    // A comment left open at the end is taken to run to the end.
    EXPECT_EQ(Read("Fri, 21 Nov 1997 09:55:06 -0600 (CST"), kExample);
}

TEST(MailDate, Zones) {
    const struct {
        const char *zone;
        int hours;
    } zones[] = {{"UT", 0},   {"GMT", 0},  {"EST", -5}, {"EDT", -4}, {"CST", -6}, {"CDT", -5},
                 {"MST", -7}, {"MDT", -6}, {"PST", -8}, {"PDT", -7}, {"JST", 9},  {"Z", 0},
                 {"a", 0},    {"M", 0},    {"N", 0},    {"Y", 0},    {"+1400", 14}, {"-1200", -12}};
    for (const auto &z : zones) {
        bool given = false;
        EXPECT_EQ(Read(std::string("Fri, 21 Nov 1997 15:55:06 ") + z.zone, &given),
                  kExample - z.hours * 3600)
            << z.zone;
        EXPECT_TRUE(given) << z.zone;
    }
    bool given = true;
    EXPECT_EQ(Read("Fri, 21 Nov 1997 15:55:06", &given), kExample); // none: read as UTC
    EXPECT_FALSE(given);
    EXPECT_EQ(Read("Fri, 21 Nov 1997 15:55:06 +0930"), kExample - 9 * 3600 - 30 * 60);
    EXPECT_EQ(Read("Fri, 21 Nov 1997 09:55:06 -600"), kExample); // three digits, as old writers wrote
    for (const char *bad : {"+60", "+06000", "+0660", "XYZ", "J", "Europe"})
        EXPECT_EQ(Read(std::string("Fri, 21 Nov 1997 15:55:06 ") + bad), -1) << bad;
}

TEST(MailDate, TheLimitsOfTheRange) {
    EXPECT_EQ(Read("Thu, 1 Jan 1970 00:00:00 +0000"), 0);
    EXPECT_EQ(Read("Wed, 31 Dec 1969 23:59:59 +0000"), -1);
    EXPECT_EQ(Read("Thu, 1 Jan 1970 09:00:00 +0900"), 0);
    EXPECT_EQ(Read("Thu, 1 Jan 1970 08:59:59 +0900"), -1);
    EXPECT_EQ(Read("Tue, 19 Jan 2038 03:14:07 +0000"), 2147483647);
    EXPECT_EQ(Read("Tue, 19 Jan 2038 03:14:08 +0000"), 2147483648);
    EXPECT_EQ(Read("Sun, 7 Feb 2106 06:28:15 +0000"), 4294967295);
    EXPECT_EQ(Read("Sun, 7 Feb 2106 06:28:16 +0000"), -1);
    EXPECT_EQ(Read("1 Jan 2107 00:00:00 +0000"), -1);
    EXPECT_EQ(Read("29 Feb 2000 12:00:00 +0000"), 951825600);
    for (const char *none : {"31 Feb 2001 00:00:00 +0000", "29 Feb 2100 00:00:00 +0000",
                             "31 Apr 2001 00:00:00 +0000", "0 Jan 2001 00:00:00 +0000",
                             "1 Jan 2001 24:00:00 +0000", "1 Jan 2001 00:60:00 +0000",
                             "1 Jan 2001 00:00:61 +0000"})
        EXPECT_EQ(Read(none), -1) << none;
}

TEST(MailDate, RubbishIsNotReadable) {
    for (const char *bad : {"", " ", "(only a comment)", "(left open", "yesterday", "Fri,",
                            "Fri, 21", "Fri, 21 Nov", "Fri, 21 Nov 1997", "Fri, 21 Nov 1997 09",
                            "Fri, 21 Nov 1997 09:", "Fri, 21 Nov 1997 9:5", "Friday, 21 Nov 1997 09:55 GMT",
                            "Fri, 21 November 1997 09:55 GMT", "Fri, 21 Nov 1 09:55 GMT",
                            "Fri, 21 Nov 19970 09:55 GMT", "Fri, 210 Nov 1997 09:55 GMT", "Fri, 0210 Nov 1997 09:55 GMT",
                            "1997-11-21T09:55:06Z", "Fri, 21 Nov 1997 09:55:06 -0600 trailing words",
                            "99999999999999999999 Nov 1997 09:55 GMT"}) {
        EXPECT_EQ(Read(bad), -1) << bad;
    }
    // Nothing past the given length is read: the bytes after it would make
    // a readable date, and a lone byte of a number at the end is cut there.
    const std::string more = "Fri, 21 Nov 1997 09:55:06 -06001";
    MailDate date;
    EXPECT_TRUE(ReadMailDate(more.data(), more.size() - 1, date));
    EXPECT_FALSE(ReadMailDate(more.data(), more.size() - 2, date));
    EXPECT_FALSE(ReadMailDate(more.data(), 0, date));
}

TEST(MailDate, TheFormWhateverTheYearForTellingAMessageHeader) {
    // A header's Date is judged by its form: a message of 1969, or one dated
    // far ahead, is still a message, though no file time can hold its date.
    for (const char *date : {" Thu, 13 Feb 1969 23:32:54 -0330", "1 Jan 2200 00:00 +0000",
                             " 21 Nov 97 09:55 GMT", "Thu,\r\n  13 Feb 1969 23:32\r\n -0330 (Newfoundland)"}) {
        EXPECT_TRUE(IsMailDate(date, std::strlen(date))) << date;
    }
    MailDate read;
    EXPECT_FALSE(ReadMailDate(" Thu, 13 Feb 1969 23:32:54 -0330", 32, read));
    // A day that does not exist, or rubbish, is no date in either reading.
    for (const char *bad : {"31 Feb 1969 00:00 +0000", "yesterday", "", "Fri, 21 Nov 1997 09"})
        EXPECT_FALSE(IsMailDate(bad, std::strlen(bad))) << bad;
}

// The UTC seconds a separator line's date reads as, or -1.
int64_t Separator(const std::string &line, bool *zoneGiven = nullptr) {
    MailDate date;
    if (!ReadSeparatorDate(line.data(), line.size(), date))
        return -1;
    if (zoneGiven)
        *zoneGiven = date.zoneGiven;
    return date.utcSeconds;
}

TEST(SeparatorDate, TheFormsThatMailProgramsWrite) {
    constexpr int64_t y2k = 946684800;
    bool given = true;
    EXPECT_EQ(Separator("From sender@host Sat Jan  1 00:00:00 2000", &given), y2k);
    EXPECT_FALSE(given); // no zone: read as UTC
    EXPECT_EQ(Separator("From - Sat Jan  1 00:00:00 2000"), y2k);            // one program's
    EXPECT_EQ(Separator("From 1234567890@xxx Sat Jan 01 00:00:00 +0000 2000", &given), y2k);
    EXPECT_TRUE(given);                                                      // a web mail's export
    EXPECT_EQ(Separator("From ???@??? Sat Jan 01 00:00:00 2000"), y2k);      // another program's
    EXPECT_EQ(Separator("From a@b Sat Jan  1 09:00:00 2000 +0900"), y2k);    // a zone after the year
    EXPECT_EQ(Separator("From a@b Sat Jan  1 09:00:00 JST 2000"), y2k);      // a named one before it
    EXPECT_EQ(Separator("From a@b Sat Jan  1 00:00 2000"), y2k);             // no seconds
    EXPECT_EQ(Separator("From a@b Jan  1 00:00:00 2000"), y2k);              // no day name
    EXPECT_EQ(Separator("From a@b\tSat Jan  1 00:00:00 2000  "), y2k);       // blanks around it
    EXPECT_EQ(Separator("From John Q. Public Sat Jan  1 00:00:00 2000"), y2k); // blanks in the sender
    EXPECT_EQ(Separator("From Sat Sat Jan  1 00:00:00 2000"), y2k);          // a sender named as a day
    EXPECT_EQ(Separator("From a@b Thu Jan  1 00:00:00 1970"), 0);
    EXPECT_EQ(Separator("From a@b Sun Feb  7 06:28:15 2106"), 4294967295);
}

TEST(SeparatorDate, WhatIsNotADate) {
    for (const char *bad : {"From a@b", "From ", "", "From a@b Sat Jan  1 00:00:00 2000 later",
                            "From a@b Sat Jan  1 00:00:00 00", "From a@b Sat Feb 30 00:00:00 2000",
                            "From a@b Wed Dec 31 23:59:59 1969", "From a@b Sun Feb  7 06:28:16 2106",
                            "From a@b Sat Jan  1 24:00:00 2000", "From a@b Sat Jan  1 00:00:00 +0000",
                            "From a@b Sat Jan  1 00:00:00 +0000 2000 +0100", "From a@b 2000-01-01"}) {
        EXPECT_EQ(Separator(bad), -1) << bad;
    }
    // Nothing past the length given is read.
    const std::string line = "From a@b Sat Jan  1 00:00:00 20001";
    MailDate date;
    EXPECT_TRUE(ReadSeparatorDate(line.data(), line.size() - 1, date));
    EXPECT_FALSE(ReadSeparatorDate(line.data(), line.size() - 3, date));
}

} // namespace
} // namespace corvex::test
