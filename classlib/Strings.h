#pragma once
// String and number helpers of the class library (dates: DateTime.h, file names:
// FileNames.h). Character
// positions are 1-based where the names come from the 1-based tradition (Pos, Copy,
// Delete, Insert); everything else is 0-based.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

namespace ClassLib {

using String = std::wstring;      // UTF-16 (wchar_t is 16-bit on this target)
using AnsiString = std::string;   // 8-bit text in the system ANSI code page (or UTF-8 where named so)

// ---- trimming and case: codes 0..32 count as blanks
String Trim(const String& s);
String TrimLeft(const String& s);
String TrimRight(const String& s);
String UpperCase(const String& s);   // ASCII letters only
String LowerCase(const String& s);   // ASCII letters only
String AnsiUpperCase(const String& s);   // the user's locale
String AnsiLowerCase(const String& s);   // the user's locale
int CompareStr(const String& a, const String& b);     // ordinal, <0 / 0 / >0
int CompareText(const String& a, const String& b);    // ordinal, ASCII case ignored
bool SameText(const String& a, const String& b);      // ASCII case ignored
// The user default locale's collation with case ignored (CompareStringW, NORM_IGNORECASE).
int AnsiCompareText(const String& a, const String& b);
// The user default locale's collation, case significant.
int AnsiCompareStr(const String& a, const String& b);
bool AnsiSameText(const String& a, const String& b);

// ---- positions (1-based; 0 = not found)
int Pos(const String& sub, const String& s);
int PosEx(const String& sub, const String& s, int offset);
// Up to `count` characters from position `index`; out-of-range parts are clipped.
String Copy(const String& s, int index, int count = 0x7FFFFFFF);
void Delete(String& s, int index, int count);
void Insert(const String& sub, String& s, int index);
String StringOfChar(wchar_t c, int count);
String QuotedStr(const String& s);   // 'it''s'

enum TReplaceFlag : unsigned { rfReplaceAll = 1, rfIgnoreCase = 2 };
String StringReplace(const String& s, const String& oldPattern, const String& newPattern, unsigned flags);

// ---- conversions between encodings
AnsiString StringToAnsi(const String& s, unsigned codePage = 0);   // 0 = CP_ACP
String AnsiToString(const AnsiString& s, unsigned codePage = 0);
AnsiString UTF8Encode(const String& s);
String UTF8Decode(const AnsiString& s);

// ---- format settings: read from the user's locale at start-up; a process-wide copy
// that a loader may change for the length of its work (TFormatSettingsScope).
struct TFormatSettings {
    wchar_t DecimalSeparator = L'.';
    wchar_t ThousandSeparator = L',';
    wchar_t DateSeparator = L'/';
    wchar_t TimeSeparator = L':';
    String ShortDateFormat = L"dd/mm/yyyy";
    String LongDateFormat = L"dddd, d mmmm yyyy";
    String ShortTimeFormat = L"hh:nn";
    String LongTimeFormat = L"hh:nn:ss";
    String TimeAMString = L"AM";
    String TimePMString = L"PM";
    String CurrencyString = L"$";
    std::array<String, 12> ShortMonthNames;
    std::array<String, 12> LongMonthNames;
    std::array<String, 7> ShortDayNames;   // Sunday first
    std::array<String, 7> LongDayNames;
};
TFormatSettings GetLocaleFormatSettings();
TFormatSettings& FormatSettings();   // the process-wide copy; one thread changes it at a time

// Sets the decimal separator to '.' and the thousands separator to ',' and restores
// both when it ends, also when an exception passes.
class TFormatSettingsScope {
public:
    TFormatSettingsScope(wchar_t decimalSeparator = L'.', wchar_t thousandSeparator = L',');
    ~TFormatSettingsScope();
    TFormatSettingsScope(const TFormatSettingsScope&) = delete;
    TFormatSettingsScope& operator=(const TFormatSettingsScope&) = delete;
private:
    wchar_t FDecimal, FThousand;
};

// ---- numbers
String IntToStr(int64_t value);
String IntToHex(int64_t value, int digits);   // upper-case, at least `digits` digits
// Decimal, or hexadecimal with a "$", "0x" or "0X" prefix; EConvertError
// "'<s>' is not a valid integer value" when it is not a 32-bit integer.
int StrToInt(const String& s);
int StrToIntDef(const String& s, int defaultValue);
bool TryStrToInt(const String& s, int& value);
int64_t StrToInt64(const String& s);
int64_t StrToInt64Def(const String& s, int64_t defaultValue);
bool TryStrToInt64(const String& s, int64_t& value);
// 15 significant digits, the process-wide decimal separator, exponent form when needed.
String FloatToStr(double value);
String FloatToStrF(double value, wchar_t format, int precision, int digits);   // format: 'f','n','e','g'
// EConvertError "'<s>' is not a valid floating point value".
double StrToFloat(const String& s);
double StrToFloatDef(const String& s, double defaultValue);
bool TryStrToFloat(const String& s, double& value);
bool TryStrToFloat(const String& s, double& value, const TFormatSettings& settings);
String BoolToStr(bool value, bool useBoolStrs = false);   // "-1"/"0", or "True"/"False"
bool StrToBool(const String& s);

// Halves go to the even neighbour.
int64_t Round(double value);
int64_t Trunc(double value);

// ---- Format: "%[index:][-][width][.precision]type", types d u x e f g n m p s and %%.
// Arguments are checked against the types at run time: a mismatch raises EConvertError
// "Format '<format>' invalid or incompatible with argument" and never reads past them.
using TFormatArg = std::variant<int64_t, uint64_t, double, String, const void*>;
String FormatV(const String& format, std::span<const TFormatArg> args);

namespace Detail {
template <class T>
TFormatArg ToFormatArg(const T& value) {
    if constexpr (std::is_same_v<T, bool>)
        return TFormatArg(int64_t(value));
    else if constexpr (std::is_enum_v<T>)
        return TFormatArg(int64_t(value));
    else if constexpr (std::is_integral_v<T> && std::is_unsigned_v<T> && sizeof(T) == 8)
        return TFormatArg(uint64_t(value));
    else if constexpr (std::is_integral_v<T>)
        return TFormatArg(int64_t(value));
    else if constexpr (std::is_floating_point_v<T>)
        return TFormatArg(double(value));
    else if constexpr (std::is_convertible_v<const T&, std::wstring_view>)
        return TFormatArg(String(std::wstring_view(value)));
    else if constexpr (std::is_convertible_v<const T&, std::string_view>)
        return TFormatArg(AnsiToString(AnsiString(std::string_view(value))));
    else if constexpr (std::is_pointer_v<T>)
        return TFormatArg(static_cast<const void*>(value));
    else
        static_assert(sizeof(T) == 0, "Format takes numbers, strings and pointers");
}
}  // namespace Detail

template <class... TArgs>
String Format(const String& format, const TArgs&... args) {
    const std::array<TFormatArg, sizeof...(TArgs)> list{Detail::ToFormatArg(args)...};
    return FormatV(format, std::span<const TFormatArg>(list.data(), list.size()));
}

}  // namespace ClassLib
