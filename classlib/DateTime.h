#pragma once
// Dates and times as days since 30 December 1899, the time of day as the fraction:
// building, taking apart and formatting them with the process-wide format settings.
#include "classlib/Strings.h"

namespace ClassLib {

using TDateTime = double;
TDateTime EncodeDate(int year, int month, int day);   // EConvertError on an invalid date
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
bool TryEncodeDate(int year, int month, int day, TDateTime& date);
bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& time);
void DecodeDate(TDateTime date, int& year, int& month, int& day);
void DecodeTime(TDateTime time, int& hour, int& minute, int& second, int& millisecond);
int DayOfWeek(TDateTime date);   // 1 = Sunday
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
TDateTime Now();
TDateTime Date();
TDateTime Time();
// Specifiers: d dd ddd dddd m mm mmm mmmm yy yyyy h hh n nn s ss z zzz am/pm ampm
// / (date separator) : (time separator) c, and literal text in quotes.
String FormatDateTime(const String& format, TDateTime value);
String DateToStr(TDateTime date);
String TimeToStr(TDateTime time);
String DateTimeToStr(TDateTime value);

}  // namespace ClassLib
