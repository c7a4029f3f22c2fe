#include "classlib/Strings.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cwchar>

#include "classlib/Exceptions.h"

namespace ClassLib {

namespace {
bool IsBlank(wchar_t c) { return c <= L' '; }
wchar_t UpperAsciiChar(wchar_t c) { return (c >= L'a' && c <= L'z') ? wchar_t(c - 32) : c; }
wchar_t LowerAsciiChar(wchar_t c) { return (c >= L'A' && c <= L'Z') ? wchar_t(c + 32) : c; }
}  // namespace

// ---------------------------------------------------------------- trimming and case

String Trim(const String& s) {
    size_t first = 0, last = s.size();
    while (first < last && IsBlank(s[first])) ++first;
    while (last > first && IsBlank(s[last - 1])) --last;
    return s.substr(first, last - first);
}

String TrimLeft(const String& s) {
    size_t first = 0;
    while (first < s.size() && IsBlank(s[first])) ++first;
    return s.substr(first);
}

String TrimRight(const String& s) {
    size_t last = s.size();
    while (last > 0 && IsBlank(s[last - 1])) --last;
    return s.substr(0, last);
}

String UpperCase(const String& s) {
    String result = s;
    std::transform(result.begin(), result.end(), result.begin(), UpperAsciiChar);
    return result;
}

String LowerCase(const String& s) {
    String result = s;
    std::transform(result.begin(), result.end(), result.begin(), LowerAsciiChar);
    return result;
}

String AnsiUpperCase(const String& s) {
    String result = s;
    if (!result.empty()) ::CharUpperBuffW(result.data(), DWORD(result.size()));
    return result;
}

String AnsiLowerCase(const String& s) {
    String result = s;
    if (!result.empty()) ::CharLowerBuffW(result.data(), DWORD(result.size()));
    return result;
}

int CompareStr(const String& a, const String& b) { return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1); }

int CompareText(const String& a, const String& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const wchar_t x = UpperAsciiChar(a[i]), y = UpperAsciiChar(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool SameText(const String& a, const String& b) { return a.size() == b.size() && CompareText(a, b) == 0; }

int AnsiCompareText(const String& a, const String& b) {
    return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), int(a.size()), b.data(),
                            int(b.size())) - CSTR_EQUAL;
}

int AnsiCompareStr(const String& a, const String& b) {
    return ::CompareStringW(LOCALE_USER_DEFAULT, 0, a.data(), int(a.size()), b.data(), int(b.size())) - CSTR_EQUAL;
}

bool AnsiSameText(const String& a, const String& b) { return AnsiCompareText(a, b) == 0; }

// ---------------------------------------------------------------- positions

int Pos(const String& sub, const String& s) { return PosEx(sub, s, 1); }

int PosEx(const String& sub, const String& s, int offset) {
    if (sub.empty() || offset < 1 || size_t(offset) > s.size()) return 0;
    const size_t found = s.find(sub, size_t(offset - 1));
    return found == String::npos ? 0 : int(found) + 1;
}

String Copy(const String& s, int index, int count) {
    if (index < 1) index = 1;
    if (count <= 0 || size_t(index) > s.size()) return String();
    return s.substr(size_t(index - 1), size_t(count));
}

void Delete(String& s, int index, int count) {
    if (index < 1 || size_t(index) > s.size() || count <= 0) return;
    s.erase(size_t(index - 1), size_t(count));
}

void Insert(const String& sub, String& s, int index) {
    if (index < 1) index = 1;
    if (size_t(index) > s.size() + 1) index = int(s.size()) + 1;
    s.insert(size_t(index - 1), sub);
}

String StringOfChar(wchar_t c, int count) { return count > 0 ? String(size_t(count), c) : String(); }

String QuotedStr(const String& s) {
    String result = L"'";
    for (wchar_t c : s) {
        result += c;
        if (c == L'\'') result += c;
    }
    return result + L"'";
}

String StringReplace(const String& s, const String& oldPattern, const String& newPattern, unsigned flags) {
    if (oldPattern.empty()) return s;
    const bool ignoreCase = (flags & rfIgnoreCase) != 0;
    const String haystack = ignoreCase ? AnsiUpperCase(s) : s;
    const String needle = ignoreCase ? AnsiUpperCase(oldPattern) : oldPattern;
    String result;
    size_t start = 0;
    while (true) {
        const size_t found = haystack.find(needle, start);
        if (found == String::npos) break;
        result.append(s, start, found - start);
        result += newPattern;
        start = found + needle.size();
        if (!(flags & rfReplaceAll)) break;
    }
    result.append(s, start, String::npos);
    return result;
}

// ---------------------------------------------------------------- encodings

AnsiString StringToAnsi(const String& s, unsigned codePage) {
    if (s.empty()) return AnsiString();
    const int size = ::WideCharToMultiByte(codePage, 0, s.data(), int(s.size()), nullptr, 0, nullptr, nullptr);
    AnsiString result(size_t(std::max(size, 0)), '\0');
    if (size > 0) ::WideCharToMultiByte(codePage, 0, s.data(), int(s.size()), result.data(), size, nullptr, nullptr);
    return result;
}

String AnsiToString(const AnsiString& s, unsigned codePage) {
    if (s.empty()) return String();
    const int size = ::MultiByteToWideChar(codePage, 0, s.data(), int(s.size()), nullptr, 0);
    String result(size_t(std::max(size, 0)), L'\0');
    if (size > 0) ::MultiByteToWideChar(codePage, 0, s.data(), int(s.size()), result.data(), size);
    return result;
}

AnsiString UTF8Encode(const String& s) { return StringToAnsi(s, CP_UTF8); }
String UTF8Decode(const AnsiString& s) { return AnsiToString(s, CP_UTF8); }

// ---------------------------------------------------------------- format settings

namespace {
String LocaleText(LCTYPE type, const wchar_t* fallback) {
    wchar_t buffer[128];
    const int length = ::GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 128);
    return length > 1 ? String(buffer, size_t(length - 1)) : String(fallback);
}

wchar_t LocaleChar(LCTYPE type, wchar_t fallback) {
    const String text = LocaleText(type, L"");
    return text.empty() ? fallback : text[0];
}

// The locale's date pictures use "M" for months and "H" for 24-hour hours; ours use
// "m" for months and "n" for minutes, as FormatDateTime reads them.
String ConvertLocaleDatePicture(const String& picture) {
    String result;
    for (size_t i = 0; i < picture.size(); ++i) {
        const wchar_t c = picture[i];
        if (c == L'\'') {  // quoted literal
            size_t end = picture.find(L'\'', i + 1);
            if (end == String::npos) end = picture.size();
            result += L'"' + picture.substr(i + 1, end - i - 1) + L'"';
            i = end;
        } else if (c == L'M') result += L'm';
        else if (c == L'y') result += L'y';
        else if (c == L'g') continue;
        else result += c;
    }
    return result;
}

String ConvertLocaleTimePicture(const String& picture) {
    String result;
    for (size_t i = 0; i < picture.size(); ++i) {
        const wchar_t c = picture[i];
        if (c == L'\'') {
            size_t end = picture.find(L'\'', i + 1);
            if (end == String::npos) end = picture.size();
            result += L'"' + picture.substr(i + 1, end - i - 1) + L'"';
            i = end;
        } else if (c == L'H') result += L'h';
        else if (c == L'm') result += L'n';
        else if (c == L't') {
            while (i + 1 < picture.size() && picture[i + 1] == L't') ++i;
            result += L"ampm";
        } else result += c;
    }
    return result;
}
}  // namespace

TFormatSettings GetLocaleFormatSettings() {
    TFormatSettings settings;
    settings.DecimalSeparator = LocaleChar(LOCALE_SDECIMAL, L'.');
    settings.ThousandSeparator = LocaleChar(LOCALE_STHOUSAND, L',');
    settings.DateSeparator = LocaleChar(LOCALE_SDATE, L'/');
    settings.TimeSeparator = LocaleChar(LOCALE_STIME, L':');
    settings.ShortDateFormat = ConvertLocaleDatePicture(LocaleText(LOCALE_SSHORTDATE, L"dd/MM/yyyy"));
    settings.LongDateFormat = ConvertLocaleDatePicture(LocaleText(LOCALE_SLONGDATE, L"dddd, d MMMM yyyy"));
    settings.LongTimeFormat = ConvertLocaleTimePicture(LocaleText(LOCALE_STIMEFORMAT, L"HH:mm:ss"));
    String shortTime = settings.LongTimeFormat;
    const size_t seconds = shortTime.find(L"ss");
    if (seconds != String::npos && seconds > 0) shortTime.erase(seconds - 1, 3);
    settings.ShortTimeFormat = shortTime;
    settings.TimeAMString = LocaleText(LOCALE_S1159, L"AM");
    settings.TimePMString = LocaleText(LOCALE_S2359, L"PM");
    settings.CurrencyString = LocaleText(LOCALE_SCURRENCY, L"$");
    for (int i = 0; i < 12; ++i) {
        settings.ShortMonthNames[size_t(i)] = LocaleText(LCTYPE(LOCALE_SABBREVMONTHNAME1 + i), L"");
        settings.LongMonthNames[size_t(i)] = LocaleText(LCTYPE(LOCALE_SMONTHNAME1 + i), L"");
    }
    // The locale counts days from Monday; ours start on Sunday.
    for (int i = 0; i < 7; ++i) {
        const int localeDay = (i + 6) % 7;
        settings.ShortDayNames[size_t(i)] = LocaleText(LCTYPE(LOCALE_SABBREVDAYNAME1 + localeDay), L"");
        settings.LongDayNames[size_t(i)] = LocaleText(LCTYPE(LOCALE_SDAYNAME1 + localeDay), L"");
    }
    return settings;
}

TFormatSettings& FormatSettings() {
    static TFormatSettings settings = GetLocaleFormatSettings();
    return settings;
}

TFormatSettingsScope::TFormatSettingsScope(wchar_t decimalSeparator, wchar_t thousandSeparator)
    : FDecimal(FormatSettings().DecimalSeparator), FThousand(FormatSettings().ThousandSeparator) {
    FormatSettings().DecimalSeparator = decimalSeparator;
    FormatSettings().ThousandSeparator = thousandSeparator;
}

TFormatSettingsScope::~TFormatSettingsScope() {
    FormatSettings().DecimalSeparator = FDecimal;
    FormatSettings().ThousandSeparator = FThousand;
}

// ---------------------------------------------------------------- numbers

String IntToStr(int64_t value) { return std::to_wstring(value); }

String IntToHex(int64_t value, int digits) {
    static const wchar_t hex[] = L"0123456789ABCDEF";
    uint64_t bits = uint64_t(value);
    String result;
    do {
        result.insert(result.begin(), hex[bits & 15]);
        bits >>= 4;
    } while (bits != 0);
    if (int(result.size()) < digits) result.insert(0, size_t(digits) - result.size(), L'0');
    return result;
}

bool TryStrToInt64(const String& s, int64_t& value) {
    const String text = Trim(s);
    if (text.empty()) return false;
    size_t i = 0;
    bool negative = false;
    if (text[i] == L'-' || text[i] == L'+') {
        negative = text[i] == L'-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == L'$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) return false;
    uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const wchar_t c = text[i];
        int digit;
        if (c >= L'0' && c <= L'9') digit = c - L'0';
        else if (base == 16 && c >= L'a' && c <= L'f') digit = c - L'a' + 10;
        else if (base == 16 && c >= L'A' && c <= L'F') digit = c - L'A' + 10;
        else return false;
        if (magnitude > (UINT64_MAX - uint64_t(digit)) / uint64_t(base)) return false;
        magnitude = magnitude * uint64_t(base) + uint64_t(digit);
    }
    if (base == 10) {
        if (negative ? magnitude > uint64_t(INT64_MAX) + 1 : magnitude > uint64_t(INT64_MAX)) return false;
        value = negative ? int64_t(0 - magnitude) : int64_t(magnitude);
    } else {
        value = int64_t(magnitude);  // hex spells the bits, as $FFFFFFFF does
        if (negative) value = -value;
    }
    return true;
}

bool TryStrToInt(const String& s, int& value) {
    int64_t wide = 0;
    if (!TryStrToInt64(s, wide)) return false;
    const String text = Trim(s);
    const bool hex = text.find_first_of(L"$xX") != String::npos;
    if (hex && wide >= 0 && wide <= int64_t(UINT32_MAX)) wide = int32_t(uint32_t(wide));
    if (wide < INT32_MIN || wide > INT32_MAX) return false;
    value = int(wide);
    return true;
}

int StrToInt(const String& s) {
    int value = 0;
    if (!TryStrToInt(s, value)) throw EConvertError(L"'" + s + L"' is not a valid integer value");
    return value;
}

int StrToIntDef(const String& s, int defaultValue) {
    int value = 0;
    return TryStrToInt(s, value) ? value : defaultValue;
}

int64_t StrToInt64(const String& s) {
    int64_t value = 0;
    if (!TryStrToInt64(s, value)) throw EConvertError(L"'" + s + L"' is not a valid integer value");
    return value;
}

int64_t StrToInt64Def(const String& s, int64_t defaultValue) {
    int64_t value = 0;
    return TryStrToInt64(s, value) ? value : defaultValue;
}

namespace {
// printf into a String, then the decimal point becomes the wanted separator.
String PrintNumber(const wchar_t* pattern, int precision, double value, wchar_t decimalSeparator) {
    wchar_t buffer[512];
    std::swprintf(buffer, 512, pattern, precision, value);
    String text = buffer;
    if (decimalSeparator != L'.')
        for (wchar_t& c : text)
            if (c == L'.') c = decimalSeparator;
    return text;
}

String GroupThousands(const String& digits, wchar_t separator) {
    if (separator == 0) return digits;
    String result;
    const int count = int(digits.size());
    for (int i = 0; i < count; ++i) {
        if (i > 0 && (count - i) % 3 == 0) result += separator;
        result += digits[size_t(i)];
    }
    return result;
}

// Exponent with at least `minDigits` digits, as "E+002" or "E-5"; a '+' only when asked.
String FixExponent(const String& text, size_t minDigits, bool plusSign = true) {
    const size_t e = text.find_first_of(L"eE");
    if (e == String::npos) return text;
    String mantissa = text.substr(0, e);
    wchar_t sign = L'+';
    size_t i = e + 1;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) sign = text[i++];
    String digits = text.substr(i);
    while (digits.size() > 1 && digits[0] == L'0') digits.erase(0, 1);
    while (digits.size() < minDigits) digits.insert(0, 1, L'0');
    return mantissa + L'E' + (sign == L'+' && !plusSign ? String() : String(1, sign)) + digits;
}

String FloatGeneral(double value, int precision, wchar_t decimalSeparator) {
    if (std::isnan(value)) return L"NAN";
    if (std::isinf(value)) return value > 0 ? L"INF" : L"-INF";
    if (precision < 1 || precision > 18) precision = 15;
    if (value == 0) return L"0";
    const int exponent = int(std::floor(std::log10(std::fabs(value))));
    String text;
    if (exponent >= precision || exponent < -4) {
        text = PrintNumber(L"%.*E", precision - 1, value, decimalSeparator);
        const size_t e = text.find(L'E');
        String mantissa = text.substr(0, e);
        if (mantissa.find(decimalSeparator) != String::npos) {
            while (!mantissa.empty() && mantissa.back() == L'0') mantissa.pop_back();
            if (!mantissa.empty() && mantissa.back() == decimalSeparator) mantissa.pop_back();
        }
        text = FixExponent(mantissa + text.substr(e), 0, false);
    } else {
        text = PrintNumber(L"%.*G", precision, value, decimalSeparator);
        if (text.find_first_of(L"eE") != String::npos) text = PrintNumber(L"%.*f", precision - 1 - exponent, value, decimalSeparator);
        if (text.find(decimalSeparator) != String::npos) {
            while (!text.empty() && text.back() == L'0') text.pop_back();
            if (!text.empty() && text.back() == decimalSeparator) text.pop_back();
        }
    }
    return text;
}

String FloatFixed(double value, int digits, bool thousands, const TFormatSettings& settings) {
    if (digits < 0) digits = 0;
    if (digits > 18) digits = 18;
    String text = PrintNumber(L"%.*f", digits, value, L'.');
    if (text == L"-0" || (text.rfind(L"-0.", 0) == 0 && text.find_first_not_of(L"-0.") == String::npos))
        text.erase(0, 1);  // no "-0.00"
    bool negative = !text.empty() && text[0] == L'-';
    if (negative) text.erase(0, 1);
    const size_t dot = text.find(L'.');
    String whole = text.substr(0, dot);
    String fraction = dot == String::npos ? String() : text.substr(dot + 1);
    if (thousands) whole = GroupThousands(whole, settings.ThousandSeparator);
    String result = negative ? L"-" : L"";
    result += whole;
    if (!fraction.empty()) result += settings.DecimalSeparator + fraction;
    return result;
}
}  // namespace

String FloatToStr(double value) { return FloatGeneral(value, 15, FormatSettings().DecimalSeparator); }

String FloatToStrF(double value, wchar_t format, int precision, int digits) {
    const TFormatSettings& settings = FormatSettings();
    switch (format) {
    case L'f': case L'F': return FloatFixed(value, digits, false, settings);
    case L'n': case L'N': return FloatFixed(value, digits, true, settings);
    case L'e': case L'E': {
        if (precision < 1 || precision > 18) precision = 15;
        return FixExponent(PrintNumber(L"%.*E", precision - 1, value, settings.DecimalSeparator), size_t(std::max(digits, 0)));
    }
    default: return FloatGeneral(value, precision, settings.DecimalSeparator);
    }
}

bool TryStrToFloat(const String& s, double& value, const TFormatSettings& settings) {
    String text = Trim(s);
    if (text.empty()) return false;
    for (wchar_t& c : text) {
        if (c == settings.DecimalSeparator) c = L'.';
        else if (c == L'.' && settings.DecimalSeparator != L'.') return false;
    }
    // Only plain decimal numbers: no hex floats, no "inf"/"nan" words.
    for (wchar_t c : text)
        if (!((c >= L'0' && c <= L'9') || c == L'.' || c == L'-' || c == L'+' || c == L'e' || c == L'E'))
            return false;
    wchar_t* end = nullptr;
    errno = 0;
    const double result = std::wcstod(text.c_str(), &end);
    if (!end || *end != L'\0' || errno == ERANGE) return false;
    value = result;
    return true;
}

bool TryStrToFloat(const String& s, double& value) { return TryStrToFloat(s, value, FormatSettings()); }

double StrToFloat(const String& s) {
    double value = 0;
    if (!TryStrToFloat(s, value)) throw EConvertError(L"'" + s + L"' is not a valid floating point value");
    return value;
}

double StrToFloatDef(const String& s, double defaultValue) {
    double value = 0;
    return TryStrToFloat(s, value) ? value : defaultValue;
}

String BoolToStr(bool value, bool useBoolStrs) {
    if (useBoolStrs) return value ? L"True" : L"False";
    return value ? L"-1" : L"0";
}

bool StrToBool(const String& s) {
    if (SameText(Trim(s), L"True")) return true;
    if (SameText(Trim(s), L"False")) return false;
    double number = 0;
    if (TryStrToFloat(s, number)) return number != 0;
    throw EConvertError(L"'" + s + L"' is not a valid boolean value");
}

int64_t Round(double value) { return int64_t(std::nearbyint(value)); }
int64_t Trunc(double value) { return int64_t(std::trunc(value)); }

// ---------------------------------------------------------------- Format

namespace {
[[noreturn]] void FormatError(const String& format) {
    throw EConvertError(L"Format '" + format + L"' invalid or incompatible with argument");
}
}  // namespace

String FormatV(const String& format, std::span<const TFormatArg> args) {
    String result;
    size_t next = 0;  // the argument the next specifier takes unless it names one
    size_t i = 0;
    const size_t n = format.size();
    auto readNumber = [&](int& number) -> bool {
        if (i < n && format[i] == L'*') {
            ++i;
            if (next >= args.size() || !std::holds_alternative<int64_t>(args[next])) FormatError(format);
            number = int(std::get<int64_t>(args[next++]));
            return true;
        }
        if (i >= n || format[i] < L'0' || format[i] > L'9') return false;
        number = 0;
        while (i < n && format[i] >= L'0' && format[i] <= L'9') {
            number = number * 10 + (format[i] - L'0');
            if (number > 100000) FormatError(format);
            ++i;
        }
        return true;
    };
    while (i < n) {
        const wchar_t c = format[i++];
        if (c != L'%') {
            result += c;
            continue;
        }
        if (i < n && format[i] == L'%') {
            result += L'%';
            ++i;
            continue;
        }
        // "%<index>:" picks the argument; the digits are a width when no ':' follows.
        size_t digitsEnd = i;
        while (digitsEnd < n && format[digitsEnd] >= L'0' && format[digitsEnd] <= L'9') ++digitsEnd;
        if (digitsEnd > i && digitsEnd < n && format[digitsEnd] == L':') {
            int index = 0;
            readNumber(index);
            ++i;
            next = size_t(index);
        }
        const bool left = i < n && format[i] == L'-';
        if (left) ++i;
        int width = -1, precision = -1;
        readNumber(width);
        if (i < n && format[i] == L'.') {
            ++i;
            if (!readNumber(precision)) precision = 0;
        }
        if (i >= n || next >= args.size()) FormatError(format);
        const wchar_t type = wchar_t(format[i++] | 0x20);
        const TFormatArg& arg = args[next++];
        String text;
        switch (type) {
        case L'd':
        case L'u': {
            int64_t value = 0;
            if (const int64_t* v = std::get_if<int64_t>(&arg)) value = *v;
            else if (const uint64_t* u = std::get_if<uint64_t>(&arg)) value = int64_t(*u);
            else FormatError(format);
            if (type == L'u' && value < 0) value = int64_t(uint32_t(value));
            const bool negative = value < 0;
            text = std::to_wstring(negative ? 0 - uint64_t(value) : uint64_t(value));
            if (precision > int(text.size())) text.insert(0, size_t(precision) - text.size(), L'0');
            if (negative) text.insert(0, 1, L'-');
            break;
        }
        case L'x': {
            int64_t value = 0;
            if (const int64_t* v = std::get_if<int64_t>(&arg)) value = *v;
            else if (const uint64_t* u = std::get_if<uint64_t>(&arg)) value = int64_t(*u);
            else FormatError(format);
            // A negative 32-bit number prints as its 32 bits.
            if (value < 0 && value >= INT32_MIN) value = int64_t(uint32_t(value));
            text = IntToHex(value, precision > 0 ? precision : 0);
            break;
        }
        case L'e': case L'f': case L'g': case L'n': case L'm': {
            double value = 0;
            if (const double* v = std::get_if<double>(&arg)) value = *v;
            else if (const int64_t* iv = std::get_if<int64_t>(&arg)) value = double(*iv);
            else FormatError(format);
            const TFormatSettings& settings = FormatSettings();
            if (type == L'f') text = FloatFixed(value, precision < 0 ? 2 : precision, false, settings);
            else if (type == L'n') text = FloatFixed(value, precision < 0 ? 2 : precision, true, settings);
            else if (type == L'm') text = FloatFixed(value, precision < 0 ? 2 : precision, true, settings) + L' ' + settings.CurrencyString;
            else if (type == L'g') text = FloatGeneral(value, precision < 0 ? 15 : precision, settings.DecimalSeparator);
            else text = FixExponent(PrintNumber(L"%.*E", (precision < 1 ? 15 : std::min(precision, 18)) - 1, value, settings.DecimalSeparator), 3);
            break;
        }
        case L's': {
            const String* v = std::get_if<String>(&arg);
            if (!v) FormatError(format);
            text = precision >= 0 ? v->substr(0, size_t(precision)) : *v;
            break;
        }
        case L'p': {
            const void* const* v = std::get_if<const void*>(&arg);
            if (!v) FormatError(format);
            text = IntToHex(int64_t(uintptr_t(*v)), int(sizeof(void*) * 2));
            break;
        }
        default: FormatError(format);
        }
        if (width > int(text.size())) {
            const size_t pad = size_t(width) - text.size();
            if (left) text.append(pad, L' ');
            else text.insert(0, pad, L' ');
        }
        result += text;
    }
    return result;
}

// ---------------------------------------------------------------- dates

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

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
        millisecond > 999)
        throw EConvertError(L"Invalid argument to time encode");
    return double((int64_t(hour) * 3600000 + minute * 60000 + second * 1000 + millisecond)) / double(MSecsPerDay);
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

// ---------------------------------------------------------------- file names

namespace {
bool IsDelimiter(wchar_t c) { return c == L'\\' || c == L'/' || c == L':'; }
size_t LastDelimiter(const String& name) {
    for (size_t i = name.size(); i > 0; --i)
        if (IsDelimiter(name[i - 1])) return i - 1;
    return String::npos;
}
}  // namespace

String ExtractFilePath(const String& fileName) {
    const size_t at = LastDelimiter(fileName);
    return at == String::npos ? String() : fileName.substr(0, at + 1);
}

String ExtractFileDir(const String& fileName) {
    String path = ExtractFilePath(fileName);
    // Keep "C:\" and "\" whole: they are directories in their own right.
    if (path.size() > 1 && (path.back() == L'\\' || path.back() == L'/') && path[path.size() - 2] != L':')
        path.pop_back();
    return path;
}

String ExtractFileName(const String& fileName) {
    const size_t at = LastDelimiter(fileName);
    return at == String::npos ? fileName : fileName.substr(at + 1);
}

String ExtractFileExt(const String& fileName) {
    const String name = ExtractFileName(fileName);
    const size_t dot = name.rfind(L'.');
    return dot == String::npos ? String() : name.substr(dot);
}

String ChangeFileExt(const String& fileName, const String& extension) {
    const size_t nameStart = fileName.size() - ExtractFileName(fileName).size();
    const size_t dot = fileName.rfind(L'.');
    if (dot == String::npos || dot < nameStart) return fileName + extension;
    return fileName.substr(0, dot) + extension;
}

String IncludeTrailingPathDelimiter(const String& path) {
    if (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) return path;
    return path + L'\\';
}

String ExcludeTrailingPathDelimiter(const String& path) {
    String result = path;
    if (!result.empty() && (result.back() == L'\\' || result.back() == L'/')) result.pop_back();
    return result;
}

String ExpandFileName(const String& fileName) {
    if (fileName.empty()) return String();
    wchar_t buffer[MAX_PATH * 4];
    const DWORD length = ::GetFullPathNameW(fileName.c_str(), DWORD(std::size(buffer)), buffer, nullptr);
    return length == 0 || length >= std::size(buffer) ? fileName : String(buffer, length);
}

bool FileExists(const String& fileName) {
    const DWORD attributes = ::GetFileAttributesW(fileName.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const String& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(const String& path) {
    const String dir = ExcludeTrailingPathDelimiter(ExpandFileName(path));
    if (dir.empty()) return false;
    if (DirectoryExists(dir)) return true;
    const String parent = ExtractFileDir(dir);
    if (parent == dir || parent.empty()) return ::CreateDirectoryW(dir.c_str(), nullptr) != 0;
    return ForceDirectories(parent) && (::CreateDirectoryW(dir.c_str(), nullptr) != 0 || DirectoryExists(dir));
}

String GetCurrentDir() {
    wchar_t buffer[MAX_PATH * 4];
    const DWORD length = ::GetCurrentDirectoryW(DWORD(std::size(buffer)), buffer);
    return String(buffer, length < std::size(buffer) ? length : 0);
}

String GetTempDir() {
    wchar_t buffer[MAX_PATH + 2];
    const DWORD length = ::GetTempPathW(DWORD(std::size(buffer)), buffer);
    return IncludeTrailingPathDelimiter(String(buffer, length <= MAX_PATH + 1 ? length : 0));
}

}  // namespace ClassLib
