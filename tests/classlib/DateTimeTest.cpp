#include "classlib/DateTime.h"

#include <gtest/gtest.h>

#include <tuple>

#include "classlib/Exceptions.h"

using namespace ClassLib;

TEST(Dates, EncodeDecodeAndFormat) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(2000, 3, 1), 36586.0);
    EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
    for (const auto& [y, m, d] : {std::tuple{1, 1, 1}, {1899, 12, 29}, {2000, 2, 29}, {2024, 12, 31}, {9999, 12, 31}}) {
        int year, month, day;
        DecodeDate(EncodeDate(y, m, d), year, month, day);
        EXPECT_EQ(std::tuple(year, month, day), std::tuple(y, m, d));
    }
    const TDateTime moment = EncodeDate(2026, 1, 5) + EncodeTime(7, 8, 9, 10);
    int hour, minute, second, msec;
    DecodeTime(moment, hour, minute, second, msec);
    EXPECT_EQ(std::tuple(hour, minute, second, msec), std::tuple(7, 8, 9, 10));

    TFormatSettings& settings = FormatSettings();
    const TFormatSettings saved = settings;
    settings.DateSeparator = L'/';
    settings.TimeSeparator = L':';
    EXPECT_EQ(FormatDateTime(L"dd/mm/yyyy hh:nn:ss", moment), L"05/01/2026 07:08:09");
    EXPECT_EQ(FormatDateTime(L"d/m/yy h:n:s.zzz", moment), L"5/1/26 7:8:9.010");
    EXPECT_EQ(FormatDateTime(L"hh:mm", moment), L"07:08");   // m after h is minutes
    EXPECT_EQ(FormatDateTime(L"h am/pm", moment + 0.5), L"7 pm");
    EXPECT_EQ(FormatDateTime(L"\"day\" d", moment), L"day 5");
    settings.DateSeparator = L'.';
    EXPECT_EQ(FormatDateTime(L"dd/mm", moment), L"05.01");   // '/' is the locale's separator
    settings = saved;
    EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 10)), 5);   // a Thursday
    EXPECT_EQ(DayOfWeek(-1.25), 6);                       // 29 December 1899 was a Friday
    int year, month, day;
    DecodeDate(-1.25, year, month, day);
    DecodeTime(-1.25, hour, minute, second, msec);
    EXPECT_EQ(std::tuple(year, month, day, hour), std::tuple(1899, 12, 29, 6));
    EXPECT_GT(Now(), EncodeDate(2020, 1, 1));
}

TEST(Dates, TryEncodeAcceptsExactlyWhatEncodeDoes) {
    struct TCase { int Hour, Minute, Second, Millisecond; bool Valid; };
    const TCase times[] = {
        {0, 0, 0, 0, true}, {23, 59, 59, 999, true}, {12, 30, 0, 0, true},
        {24, 0, 0, 0, false}, {0, 60, 0, 0, false}, {0, 0, 60, 0, false}, {0, 0, 0, 1000, false}, {-1, 0, 0, 0, false},
    };
    for (const TCase& c : times) {
        SCOPED_TRACE(testing::PrintToString(std::tuple(c.Hour, c.Minute, c.Second, c.Millisecond)));
        TDateTime time = -1;
        EXPECT_EQ(TryEncodeTime(c.Hour, c.Minute, c.Second, c.Millisecond, time), c.Valid);
        if (c.Valid) EXPECT_EQ(time, EncodeTime(c.Hour, c.Minute, c.Second, c.Millisecond));
        else EXPECT_THROW(EncodeTime(c.Hour, c.Minute, c.Second, c.Millisecond), EConvertError);
    }
    EXPECT_EQ(EncodeTime(18, 0, 0, 0), 0.75);
    TDateTime date = 0;
    EXPECT_TRUE(TryEncodeDate(2024, 2, 29, date));
    EXPECT_EQ(date, EncodeDate(2024, 2, 29));
    EXPECT_FALSE(TryEncodeDate(1900, 2, 29, date));   // a century not divisible by 400
    EXPECT_FALSE(TryEncodeDate(0, 1, 1, date));
    EXPECT_FALSE(TryEncodeDate(10000, 1, 1, date));
}
