#include "classlib/DateTime.h"

#include <windows.h>

#include <cmath>

#include "classlib/Exceptions.h"

namespace ClassLib {

namespace {
constexpr int64_t MSecsPerDay = 86400000;
// Days from 1 January 0001 to 30 December 1899.
constexpr int64_t DateDelta = 693594;

int64_t DaysBeforeYear(int year) {
    const int64_t y = year - 1;
    return y * 365 + y / 4 - y / 100 + y / 400;
}

const int MonthDays[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                              {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

// Milliseconds since 30 December 1899; a negative date counts its time forwards
// from the day's start, as the serial number's sign says only the day is before the epoch.
int64_t DateTimeToMSecs(TDateTime value) {
    const double day = std::trunc(value);
    const double fraction = std::fabs(value - day);
    return int64_t(day) * MSecsPerDay + int64_t(std::llround(fraction * MSecsPerDay));
}
}  // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
    if (month < 1 || month > 12) return 0;
    return MonthDays[IsLeapYear(year) ? 1 : 0][month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& date) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return false;
    int64_t days = DaysBeforeYear(year);
    for (int m = 1; m < month; ++m) days += DaysInMonth(year, m);
    days += day;
    date = double(days - DateDelta);
    return true;
}

TDateTime EncodeDate(int year, int month, int day) {
    TDateTime date = 0;
    if (!TryEncodeDate(year, month, day, date)) throw EConvertError(L"Invalid argument to date encode");
    return date;
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& time) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
        millisecond > 999)
        return false;
    time = double((int64_t(hour) * 3600000 + minute * 60000 + second * 1000 + millisecond)) / double(MSecsPerDay);
    return true;
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
    TDateTime time = 0;
    if (!TryEncodeTime(hour, minute, second, millisecond, time)) throw EConvertError(L"Invalid argument to time encode");
    return time;
}

void DecodeDate(TDateTime date, int& year, int& month, int& day) {
    int64_t msecs = DateTimeToMSecs(date);
    int64_t days = msecs / MSecsPerDay;
    if (msecs % MSecsPerDay < 0) --days;
    days += DateDelta;  // days since 1 January 0001 (day 1 = that date)
    if (days <= 0) {
        year = month = day = 0;
        return;
    }
    int64_t d = days - 1;
    int y = int(d / 146097) * 400;
    d %= 146097;
    int64_t centuries = std::min<int64_t>(d / 36524, 3);
    y += int(centuries) * 100;
    d -= centuries * 36524;
    y += int(d / 1461) * 4;
    d %= 1461;
    int64_t years = std::min<int64_t>(d / 365, 3);
    y += int(years);
    d -= years * 365;
    year = y + 1;
    month = 1;
    while (d >= DaysInMonth(year, month)) {
        d -= DaysInMonth(year, month);
        ++month;
    }
    day = int(d) + 1;
}

void DecodeTime(TDateTime time, int& hour, int& minute, int& second, int& millisecond) {
    int64_t msecs = DateTimeToMSecs(time) % MSecsPerDay;
    if (msecs < 0) msecs += MSecsPerDay;
    hour = int(msecs / 3600000);
    minute = int(msecs / 60000 % 60);
    second = int(msecs / 1000 % 60);
    millisecond = int(msecs % 1000);
}

int DayOfWeek(TDateTime date) {
    int64_t days = int64_t(std::trunc(date));   // -1.25 is 29 December 1899, 06:00
    // 30 December 1899 was a Saturday (7).
    int64_t weekDay = (days + 6) % 7;
    if (weekDay < 0) weekDay += 7;
    return int(weekDay) + 1;
}

TDateTime Now() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return EncodeDate(now.wYear, now.wMonth, now.wDay) + EncodeTime(now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
}

TDateTime Date() { return std::floor(Now()); }
TDateTime Time() {
    const TDateTime now = Now();
    return now - std::floor(now);
}

String FormatDateTime(const String& format, TDateTime value) {
    const TFormatSettings& settings = FormatSettings();
    int year, month, day, hour, minute, second, msec;
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, minute, second, msec);
    // Is there an am/pm marker anywhere? Then hours count 1..12.
    const String lower = LowerCase(format);
    const bool twelveHour = lower.find(L"am/pm") != String::npos || lower.find(L"a/p") != String::npos ||
                            lower.find(L"ampm") != String::npos;
    auto two = [](int v) {
        String t = std::to_wstring(v);
        return t.size() < 2 ? L"0" + t : t;
    };
    String result;
    bool lastWasHour = false;
    size_t i = 0;
    const size_t n = format.size();
    auto run = [&](wchar_t c) {
        size_t count = 0;
        while (i + count < n && (format[i + count] | 0x20) == c) ++count;
        return count;
    };
    while (i < n) {
        const wchar_t c = format[i];
        const wchar_t lc = wchar_t(c | 0x20);
        if (c == L'"' || c == L'\'') {
            size_t end = format.find(c, i + 1);
            if (end == String::npos) end = n;
            result += format.substr(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        if (lower.compare(i, 5, L"am/pm") == 0) {
            result += hour < 12 ? format.substr(i, 2) : format.substr(i + 3, 2);
            i += 5;
            continue;
        }
        if (lower.compare(i, 3, L"a/p") == 0) {
            result += hour < 12 ? format.substr(i, 1) : format.substr(i + 2, 1);
            i += 3;
            continue;
        }
        if (lower.compare(i, 4, L"ampm") == 0) {
            result += hour < 12 ? settings.TimeAMString : settings.TimePMString;
            i += 4;
            continue;
        }
        const int shownHour = twelveHour ? (hour % 12 == 0 ? 12 : hour % 12) : hour;
        if (lc == L'y') {
            const size_t count = run(L'y');
            result += count <= 2 ? two(year % 100) : std::to_wstring(year);
            i += count;
        } else if (lc == L'm') {
            const size_t count = run(L'm');
            if (lastWasHour && count <= 2) result += count == 1 ? std::to_wstring(minute) : two(minute);
            else if (count == 1) result += std::to_wstring(month);
            else if (count == 2) result += two(month);
            else if (count == 3) result += settings.ShortMonthNames[size_t(month - 1)];
            else result += settings.LongMonthNames[size_t(month - 1)];
            i += count;
            lastWasHour = false;
            continue;
        } else if (lc == L'd') {
            const size_t count = run(L'd');
            const int weekDay = DayOfWeek(value) - 1;
            if (count == 1) result += std::to_wstring(day);
            else if (count == 2) result += two(day);
            else if (count == 3) result += settings.ShortDayNames[size_t(weekDay)];
            else if (count == 4) result += settings.LongDayNames[size_t(weekDay)];
            else if (count == 5) result += FormatDateTime(settings.ShortDateFormat, value);
            else result += FormatDateTime(settings.LongDateFormat, value);
            i += count;
        } else if (lc == L'h') {
            const size_t count = run(L'h');
            result += count == 1 ? std::to_wstring(shownHour) : two(shownHour);
            i += count;
            lastWasHour = true;
            continue;
        } else if (lc == L'n') {
            const size_t count = run(L'n');
            result += count == 1 ? std::to_wstring(minute) : two(minute);
            i += count;
        } else if (lc == L's') {
            const size_t count = run(L's');
            result += count == 1 ? std::to_wstring(second) : two(second);
            i += count;
        } else if (lc == L'z') {
            const size_t count = run(L'z');
            String t = std::to_wstring(msec);
            if (count >= 3) t.insert(0, 3 - t.size(), L'0');
            result += t;
            i += count;
        } else if (lc == L't') {
            const size_t count = run(L't');
            result += FormatDateTime(count == 1 ? settings.ShortTimeFormat : settings.LongTimeFormat, value);
            i += count;
        } else if (lc == L'c') {
            result += FormatDateTime(settings.ShortDateFormat, value);
            if (value - std::floor(value) != 0) result += L' ' + FormatDateTime(settings.LongTimeFormat, value);
            ++i;
        } else if (c == L'/') {
            result += settings.DateSeparator;
            ++i;
        } else if (c == L':') {
            result += settings.TimeSeparator;
            ++i;
            continue;  // "hh:mm" keeps reading mm as minutes
        } else {
            result += c;
            ++i;
            if (c != L' ') lastWasHour = false;
            continue;
        }
        lastWasHour = false;
    }
    return result;
}

String DateToStr(TDateTime date) { return FormatDateTime(FormatSettings().ShortDateFormat, date); }
String TimeToStr(TDateTime time) { return FormatDateTime(FormatSettings().LongTimeFormat, time); }
String DateTimeToStr(TDateTime value) { return FormatDateTime(L"c", value); }

}  // namespace ClassLib
