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

}  // namespace ClassLib
