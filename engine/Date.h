#pragma once
// CDate: a day of the game's calendar, in which every month has 30 days and
// every year 12 months. Dates order by their day count
// (year x 12 + month) x 30 + day.
//
// Every change is made on a signed 32-bit day total split with truncating
// division (year = total / 360, month = total % 360 / 30, day = total % 30),
// so a negative total gives negative parts; day and month are signed bytes so
// that such a date keeps its day count.
#include <cstdint>

class CDataBlock;
class CFieldReader;

constexpr uint32_t kDaysPerMonth = 30;
constexpr uint32_t kMonthsPerYear = 12;

class CDate {
public:
    int8_t day = 0;   // 0..29
    int8_t month = 0; // 0..11, January = 0
    int16_t year = 0;

    CDate() = default;
    CDate(int day, int month, int year);
    virtual ~CDate() = default;
    CDate(const CDate&) = default;
    CDate& operator=(const CDate&) = default;

    // Each answers the new month.
    int AddDays(int32_t days);
    int AddMonths(int32_t months);
    void AddYears(int32_t years);

    bool IsAfter(const CDate& other) const { return GetDayCount() > other.GetDayCount(); }
    bool IsNotBefore(const CDate& other) const { return GetDayCount() >= other.GetDayCount(); }

    // A date used as a span of years, months and days.
    CDate& operator+=(const CDate& span);
    CDate& operator-=(const CDate& span);
    CDate Plus(const CDate& span) const;
    CDate Minus(const CDate& span) const;

    int32_t GetDayCount() const;
    void SetFromDays(int32_t dayCount);

    // Game ticks from the scenario's start date to this date at the clock's
    // current ticks per day (0 without a clock).
    int32_t ToTicks() const;

    // The day as shown to the player: the real length of the month x day /
    // 30, truncated (February has 28 days).
    int32_t GetDisplayDay() const;

    // The date block of the text format, { year = 1492 month = october day = 11 }.
    // Write answers a new block (count 0, owned by the caller) of "year",
    // "month" (the month's keyword; one outside 0..11 as "january") and
    // "day". Read takes the fields of a block whose "{" has been taken, up
    // to and including its "}", in any order; a missing one leaves that part
    // unchanged; "month" must be a month keyword ("Unknown month" otherwise,
    // the month kept); "day" is cut to its low byte and held within 0..29.
    // Read answers the field codes of data/TokenFile.h: FIELD_BLOCK_END when
    // read, FIELD_ERROR after an unknown key ("Date : Unexpected field"),
    // FIELD_END_OF_FILE when the file ends inside the block. Both belong to
    // the text format and are defined with it (data/DateBlock.cpp), so only
    // code of data/ and above calls them.
    CDataBlock* Write() const;
    int32_t Read(CFieldReader& in);

    bool operator==(const CDate& other) const {
        return day == other.day && month == other.month && year == other.year;
    }

private:
    void SetFromTotal(int64_t total);
};
