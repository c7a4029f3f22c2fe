#pragma once
// Dates and times read and written with a format and separators given by the caller,
// never through the process-wide settings, so a worker thread may convert while the
// main thread does too.
#include "classlib/DateTime.h"

namespace ClassLib {

// `format` names the order of the parts: "dd/mm/yyyy", "m/d/yy", "yyyy-mm-dd" (any
// non-letter in the format is just a break; the text is split at `separator`). Two-digit
// years below 50 are 20xx, others 19xx. False for a missing part, a non-number or an
// impossible date.
bool TryStrToDateFormat(const String& text, const String& format, wchar_t separator, TDateTime& value);
// "hh:nn" or "hh:nn:ss" (h, n and s in any order); seconds may be left out of the text.
// An "AM"/"PM" suffix moves the hour. False for a non-number or a time out of range.
bool TryStrToTimeFormat(const String& text, const String& format, wchar_t separator, TDateTime& value);
// d dd m mm yy yyyy (the date), h hh n nn s ss z zzz (the time); "/" writes
// `dateSeparator` and ":" `timeSeparator`; every other character is copied.
String FormatDateTimeWith(const String& format, TDateTime value, wchar_t dateSeparator, wchar_t timeSeparator);

}  // namespace ClassLib
