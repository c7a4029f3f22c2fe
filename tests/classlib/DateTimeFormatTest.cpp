#include "classlib/DateTimeFormat.h"

#include <gtest/gtest.h>

using namespace ClassLib;

TEST(DateTimeFormat, DatesFollowTheGivenFormatAndSeparator) {
    struct TCase {
        const wchar_t* Text;
        const wchar_t* Format;
        wchar_t Separator;
        bool Ok;
        int Year, Month, Day;
    };
    const TCase cases[] = {
        {L"24/12/2025", L"dd/mm/yyyy", L'/', true, 2025, 12, 24},
        {L"24.12.2025", L"dd/mm/yyyy", L'.', true, 2025, 12, 24},
        {L"12-24-25", L"mm-dd-yy", L'-', true, 2025, 12, 24},
        {L"2025-1-5", L"yyyy-mm-dd", L'-', true, 2025, 1, 5},
        {L"1/2/99", L"d/m/yy", L'/', true, 1999, 2, 1},
        {L"31/02/2025", L"dd/mm/yyyy", L'/', false, 0, 0, 0},    // no such day
        {L"24/12/2025", L"dd/mm/yyyy", L'.', false, 0, 0, 0},    // other separator
        {L"24/12", L"dd/mm/yyyy", L'/', false, 0, 0, 0},
        {L"aa/12/2025", L"dd/mm/yyyy", L'/', false, 0, 0, 0},
        {L"", L"dd/mm/yyyy", L'/', false, 0, 0, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Text)));
        TDateTime value = -1;
        ASSERT_EQ(TryStrToDateFormat(c.Text, c.Format, c.Separator, value), c.Ok);
        if (c.Ok) {
            EXPECT_DOUBLE_EQ(value, EncodeDate(c.Year, c.Month, c.Day));
        }
    }
}

TEST(DateTimeFormat, TimesFollowTheGivenFormatAndSeparator) {
    struct TCase {
        const wchar_t* Text;
        const wchar_t* Format;
        wchar_t Separator;
        bool Ok;
        int Hour, Minute, Second;
    };
    const TCase cases[] = {
        {L"13:45", L"hh:nn", L':', true, 13, 45, 0},
        {L"13.45.10", L"hh:nn:ss", L'.', true, 13, 45, 10},
        {L"13:45", L"hh:nn:ss", L':', true, 13, 45, 0},   // seconds left out
        {L"1:05 PM", L"hh:nn", L':', true, 13, 5, 0},
        {L"12:05 AM", L"hh:nn", L':', true, 0, 5, 0},
        {L"25:00", L"hh:nn", L':', false, 0, 0, 0},
        {L"13:45:10", L"hh:nn", L':', false, 0, 0, 0},    // more parts than the format
        {L"x", L"hh:nn", L':', false, 0, 0, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Text)));
        TDateTime value = -1;
        ASSERT_EQ(TryStrToTimeFormat(c.Text, c.Format, c.Separator, value), c.Ok);
        if (c.Ok) {
            EXPECT_NEAR(value, EncodeTime(c.Hour, c.Minute, c.Second, 0), 1e-9);
        }
    }
}

TEST(DateTimeFormat, FormatsWithTheGivenSeparatorsOnly) {
    const TDateTime value = EncodeDate(2026, 3, 7) + EncodeTime(9, 5, 4, 0);
    EXPECT_EQ(FormatDateTimeWith(L"dd/mm/yyyy hh:nn:ss", value, L'.', L'-'), L"07.03.2026 09-05-04");
    EXPECT_EQ(FormatDateTimeWith(L"d/m/yy h:n", value, L'/', L':'), L"7/3/26 9:5");
}
