#include "classlib/DateTimeFormat.h"

#include <cwctype>
#include <vector>

namespace ClassLib {

namespace {

// The letters of `format` that name parts, one per part, in order: "dd/mm/yyyy" -> "dmy".
String PartOrder(const String& format, const String& letters) {
    String order;
    wchar_t last = 0;
    for (wchar_t c : format) {
        const wchar_t lower = wchar_t(std::towlower(c));
        if (letters.find(lower) == String::npos) {
            last = 0;
            continue;
        }
        if (lower != last) order += lower;
        last = lower;
    }
    return order;
}

bool SplitNumbers(const String& text, wchar_t separator, std::vector<int>& numbers) {
    size_t start = 0;
    while (true) {
        const size_t end = text.find(separator, start);
        const String part = Trim(text.substr(start, end == String::npos ? String::npos : end - start));
        if (part.empty()) return false;
        for (wchar_t c : part)
            if (c < L'0' || c > L'9') return false;
        if (part.size() > 9) return false;
        numbers.push_back(std::stoi(part));
        if (end == String::npos) return true;
        start = end + 1;
    }
}

void AppendNumber(String& out, int value, int digits) {
    String text = std::to_wstring(value);
    while (int(text.size()) < digits) text.insert(text.begin(), L'0');
    out += text;
}

}  // namespace

bool TryStrToDateFormat(const String& text, const String& format, wchar_t separator, TDateTime& value) {
    const String order = PartOrder(format, L"dmy");
    std::vector<int> numbers;
    if (order.size() != 3 || !SplitNumbers(text, separator, numbers) || numbers.size() != 3) return false;
    int day = 0, month = 0, year = 0;
    for (size_t i = 0; i < 3; ++i) {
        if (order[i] == L'd') day = numbers[i];
        if (order[i] == L'm') month = numbers[i];
        if (order[i] == L'y') year = numbers[i];
    }
    if (year < 100) year += year < 50 ? 2000 : 1900;
    return TryEncodeDate(year, month, day, value);
}

bool TryStrToTimeFormat(const String& text, const String& format, wchar_t separator, TDateTime& value) {
    String body = Trim(text);
    int shift = -1;   // -1: a 24-hour clock; 0: AM; 12: PM
    if (body.size() >= 2) {
        const String suffix = UpperCase(body.substr(body.size() - 2));
        if (suffix == L"AM" || suffix == L"PM") {
            shift = suffix == L"AM" ? 0 : 12;
            body = Trim(body.substr(0, body.size() - 2));
        }
    }
    const String order = PartOrder(format, L"hns");
    std::vector<int> numbers;
    if (order.empty() || !SplitNumbers(body, separator, numbers) || numbers.size() > order.size()) return false;
    int hour = 0, minute = 0, second = 0;
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (order[i] == L'h') hour = numbers[i];
        if (order[i] == L'n') minute = numbers[i];
        if (order[i] == L's') second = numbers[i];
    }
    if (shift >= 0) {
        if (hour < 1 || hour > 12) return false;
        hour = hour % 12 + shift;
    }
    return TryEncodeTime(hour, minute, second, 0, value);
}

String FormatDateTimeWith(const String& format, TDateTime value, wchar_t dateSeparator, wchar_t timeSeparator) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, minute, second, millisecond);
    String out;
    for (size_t i = 0; i < format.size();) {
        const wchar_t c = wchar_t(std::towlower(format[i]));
        size_t run = 1;
        while (i + run < format.size() && std::towlower(format[i + run]) == c) ++run;
        switch (c) {
            case L'd': AppendNumber(out, day, run >= 2 ? 2 : 1); break;
            case L'm': AppendNumber(out, month, run >= 2 ? 2 : 1); break;
            case L'y': run >= 4 ? AppendNumber(out, year, 4) : AppendNumber(out, year % 100, 2); break;
            case L'h': AppendNumber(out, hour, run >= 2 ? 2 : 1); break;
            case L'n': AppendNumber(out, minute, run >= 2 ? 2 : 1); break;
            case L's': AppendNumber(out, second, run >= 2 ? 2 : 1); break;
            case L'z': AppendNumber(out, millisecond, run >= 3 ? 3 : 1); break;
            case L'/': out.append(run, dateSeparator); break;
            case L':': out.append(run, timeSeparator); break;
            default: out.append(format, i, run); break;
        }
        i += run;
    }
    return out;
}

}  // namespace ClassLib
