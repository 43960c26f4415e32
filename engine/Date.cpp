#include "engine/Date.h"

#include <array>

#include "engine/GameState.h"
#include "engine/GameTimer.h"

namespace {

constexpr int32_t kDaysPerYear = static_cast<int32_t>(kDaysPerMonth * kMonthsPerYear);
constexpr int32_t kMonthDays = static_cast<int32_t>(kDaysPerMonth);
constexpr int32_t kYearMonths = static_cast<int32_t>(kMonthsPerYear);

// Real month lengths, used only to show a day.
constexpr std::array<int32_t, kMonthsPerYear> kRealMonthLength = {31, 28, 31, 30, 31, 30,
                                                                  31, 31, 30, 31, 30, 31};

} // namespace

CDate::CDate(int d, int m, int y)
    : day(static_cast<int8_t>(d)), month(static_cast<int8_t>(m)), year(static_cast<int16_t>(y)) {}

// The totals are formed in 64 bits and taken modulo 2^32, which is what the
// signed 32-bit arithmetic of the calendar gives, without overflow.
void CDate::SetFromTotal(int64_t wide) {
    const int32_t total = static_cast<int32_t>(wide);
    year = static_cast<int16_t>(total / kDaysPerYear);
    month = static_cast<int8_t>(total % kDaysPerYear / kMonthDays);
    day = static_cast<int8_t>(total % kMonthDays);
}

int32_t CDate::GetDayCount() const {
    return (static_cast<int32_t>(year) * kYearMonths + month) * kMonthDays + day;
}

void CDate::SetFromDays(int32_t dayCount) {
    SetFromTotal(dayCount);
}

int CDate::AddDays(int32_t days) {
    SetFromTotal(static_cast<int64_t>(GetDayCount()) + days);
    return month;
}

int CDate::AddMonths(int32_t months) {
    SetFromTotal((static_cast<int64_t>(year) * kYearMonths + month + months) * kMonthDays + day);
    return month;
}

void CDate::AddYears(int32_t years) {
    year = static_cast<int16_t>(year + years);
}

CDate& CDate::operator+=(const CDate& span) {
    SetFromTotal((static_cast<int64_t>(year + span.year) * kYearMonths + month + span.month) *
                     kMonthDays +
                 day + span.day);
    return *this;
}

CDate& CDate::operator-=(const CDate& span) {
    SetFromTotal((static_cast<int64_t>(year - span.year) * kYearMonths + month - span.month) *
                     kMonthDays +
                 day - span.day);
    return *this;
}

CDate CDate::Plus(const CDate& span) const {
    CDate result(*this);
    result += span;
    return result;
}

CDate CDate::Minus(const CDate& span) const {
    CDate result(*this);
    result -= span;
    return result;
}

int32_t CDate::ToTicks() const {
    const uint32_t ticksPerDay = g_gameTimer ? g_gameTimer->ticksPerDay : 0;
    const int64_t days = static_cast<int64_t>(GetDayCount()) - GetScenarioStartDate().GetDayCount();
    return static_cast<int32_t>(days * ticksPerDay);
}

int32_t CDate::GetDisplayDay() const {
    if (month < 0 || month >= kYearMonths)
        return day;
    return kRealMonthLength[static_cast<size_t>(month)] * day / kMonthDays;
}
