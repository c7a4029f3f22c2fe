#include "graphics/AdvUtils.h"

#include <windows.h>
#include <shlobj.h>
#include <wininet.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstring>
#include <exception>

#include "classlib/Base64Digits.h"
#include "classlib/Canvas.h"
#include "classlib/Clipboard.h"
#include "classlib/Exceptions.h"
#include "classlib/FileNames.h"
#include "classlib/Form.h"
#include "classlib/GdiObjects.h"
#include "classlib/Pictures.h"
#include "classlib/Seams.h"
#include "classlib/StringList.h"
#include "classlib/Streams.h"
#include "classlib/WindowDescription.h"
#include "classlib/WindowDescriptionWriter.h"
#include "graphics/AdvTypes.h"

#undef GetTempPath

namespace AdvUtils {

using namespace ClassLib;

namespace {

struct TEntity {
    const wchar_t* Text;
    const wchar_t* Name;
};

// Rows 1 to 86 of the markup entity table; "&sect;" and "&para;" really are listed twice.
constexpr std::array<TEntity, 86> Entities = {{
    {L"&", L"&amp;"}, {L"<", L"&lt;"}, {L">", L"&gt;"}, {L"\"", L"&quot;"},
    {L" ", L"&nbsp;"},
    {L"\u00E9", L"&eacute;"}, {L"\u00E8", L"&egrave;"}, {L"\u00EB", L"&euml;"}, {L"\u00EA", L"&ecirc;"},
    {L"\u00F3", L"&oacute;"}, {L"\u00F2", L"&ograve;"}, {L"\u00F6", L"&ouml;"}, {L"\u00F4", L"&ocirc;"},
    {L"\u00ED", L"&iacute;"}, {L"\u00EC", L"&igrave;"}, {L"\u00EF", L"&iuml;"}, {L"\u00EE", L"&icirc;"},
    {L"\u00FA", L"&uacute;"}, {L"\u00F9", L"&ugrave;"}, {L"\u00FC", L"&uuml;"}, {L"\u00FB", L"&ucirc;"},
    {L"\u00E1", L"&aacute;"}, {L"\u00E0", L"&agrave;"}, {L"\u00E4", L"&auml;"}, {L"\u00E2", L"&acirc;"},
    {L"\u00C9", L"&Eacute;"}, {L"\u00C8", L"&Egrave;"}, {L"\u00CB", L"&Euml;"}, {L"\u00CA", L"&Ecirc;"},
    {L"\u00D3", L"&Oacute;"}, {L"\u00D2", L"&Ograve;"}, {L"\u00D6", L"&Ouml;"}, {L"\u00D4", L"&Ocirc;"},
    {L"\u00CD", L"&Iacute;"}, {L"\u00CC", L"&Igrave;"}, {L"\u00CF", L"&Iuml;"}, {L"\u00CE", L"&Icirc;"},
    {L"\u00DA", L"&Uacute;"}, {L"\u00D9", L"&Ugrave;"}, {L"\u00DC", L"&Uuml;"}, {L"\u00DB", L"&Ucirc;"},
    {L"\u00C1", L"&Aacute;"}, {L"\u00C0", L"&Agrave;"}, {L"\u00C4", L"&Auml;"}, {L"\u00C2", L"&Acirc;"},
    {L"\u00E7", L"&ccedil;"}, {L"\u00C7", L"&Ccedil;"}, {L"\u00F8", L"&oslash;"}, {L"\u00D8", L"&Oslash;"},
    {L"\u00E5", L"&aring;"}, {L"\u00C5", L"&Aring;"},
    {L"(c)", L"&copy;"},
    {L"\u00AE", L"&reg;"}, {L"\u20AC", L"&euro;"}, {L"\u00AB", L"&laquo;"}, {L"\u00BB", L"&raquo;"},
    {L"\u00E3", L"&atilde;"}, {L"\u00C3", L"&Atilde;"}, {L"\u00F5", L"&otilde;"}, {L"\u00D5", L"&Otilde;"},
    {L"\u2122", L"&trade;"}, {L"\u00A7", L"&sect;"}, {L"\u00B6", L"&para;"}, {L"\u00DF", L"&szlig;"},
    {L"\u00A3", L"&pound;"}, {L"$", L"&#36;"}, {L"\u00A7", L"&sect;"}, {L"\u2030", L"&permil;"},
    {L"\u00B6", L"&para;"}, {L"'", L"&#39;"}, {L"\u00A5", L"&yen;"}, {L"\u00A4", L"&curren;"},
    {L"\u00A2", L"&cent;"}, {L"\u00B1", L"&plusmn;"}, {L"\u00A1", L"&iexcl;"}, {L"\u00B0", L"&deg;"},
    {L"\u00FD", L"&#x00FD;"}, {L"\u00DD", L"&#221;"}, {L"\u00BC", L"&frac14;"}, {L"\u00BD", L"&frac12;"},
    {L"\u00BE", L"&frac34;"}, {L"\u00C6", L"&AElig;"}, {L"\u00E6", L"&aelig;"}, {L"\u00D1", L"&Ntilde;"},
    {L"\u00F1", L"&ntilde;"}, {L"\u00D0", L"&ETH;"},
}};

const std::vector<String>& EntityNames() {
    static const std::vector<String> names = [] {
        std::vector<String> list;
        for (const TEntity& entity : Entities) list.emplace_back(entity.Name);
        return list;
    }();
    return names;
}

// The characters EscapeString writes as \u forms even though they are below 128.
constexpr wchar_t EscapedChars[] = {L'"', L'\\', L'\b', L'\f', L'\n', L'\r', L'\t'};

struct TImageData {
    const wchar_t* Extension;
    int Significant;
    std::uint8_t Signature[4];
};
constexpr TImageData ImageTypes[] = {
    {L".gif", 3, {0x47, 0x49, 0x46, 0x00}},  {L".bmp", 2, {0x42, 0x4D, 0x00, 0x00}},
    {L".png", 4, {0x89, 0x50, 0x4E, 0x47}},  {L".tiff", 3, {0x49, 0x49, 0x2A, 0x00}},
    {L".tiff", 3, {0x4D, 0x4D, 0x00, 0x00}}, {L".jpg", 4, {0xFF, 0xD8, 0xFF, 0xE0}},
    {L".jpg", 4, {0xFF, 0xD8, 0xFF, 0xE1}},  {L".jpg", 4, {0xFF, 0xD8, 0xFF, 0xDB}},
    {L".unknown", 4, {0x00, 0x00, 0x01, 0x00}}, {L".empty", 4, {0x00, 0x00, 0x00, 0x00}},
};

constexpr const wchar_t* SizeUnits[] = {L"Bytes", L"KB", L"MB", L"GB", L"TB"};

// Any value below 32 undoes itself; nothing stores text scrambled with it.
constexpr unsigned CryptKey = 0x0B;

constexpr wchar_t HexDigits[] = L"0123456789ABCDEF";

int HexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return -1;
}

// Replaces every occurrence, left to right, matching case exactly.
String ReplaceAll(const String& s, const String& from, const String& to) {
    return StringReplace(s, from, to, rfReplaceAll);
}

TBytes StreamBytes(TStream* stream) {
    TBytes bytes(size_t(std::max<int64_t>(stream->Size(), 0)));
    stream->SetPosition(0);
    if (!bytes.empty()) bytes.resize(size_t(stream->Read(bytes.data(), int(bytes.size()))));
    return bytes;
}

// The picture's graphic as the bytes its format writes; empty without a graphic.
TBytes PictureBytes(TPicture* picture) {
    TGraphic* graphic = picture ? picture->Graphic() : nullptr;
    if (!graphic || graphic->Empty()) return {};
    TMemoryStream stream;
    graphic->SaveToStream(&stream);
    return stream.Bytes();
}

String EncodeBase64(const TBytes& bytes, bool url) {
    String text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t left = bytes.size() - i;
        const std::uint32_t group = std::uint32_t(bytes[i]) << 16 | (left > 1 ? std::uint32_t(bytes[i + 1]) << 8 : 0) |
                                    (left > 2 ? bytes[i + 2] : 0);
        text += wchar_t(Base64Alphabet[group >> 18 & 63]);
        text += wchar_t(Base64Alphabet[group >> 12 & 63]);
        text += left > 1 ? wchar_t(Base64Alphabet[group >> 6 & 63]) : L'=';
        text += left > 2 ? wchar_t(Base64Alphabet[group & 63]) : L'=';
    }
    if (url) {
        std::replace(text.begin(), text.end(), L'+', L'-');
        std::replace(text.begin(), text.end(), L'/', L'_');
        std::erase(text, L'=');
    }
    return text;
}

void WriteBytes(TStream* stream, const TBytes& bytes) {
    if (!bytes.empty()) stream->WriteBuffer(bytes.data(), int(bytes.size()));
}

bool ContainsBase64Marker(const TBytes& bytes) {
    static constexpr char marker[] = ";base64,";
    return std::search(bytes.begin(), bytes.end(), marker, marker + 8) != bytes.end();
}

// ---- filter matching

// A comparison operand after an operator at `from`: blanks skipped, then up to a blank
// outside double quotes, or an "&" or "|" outside them; the quotes are not part of it.
String ReadOperand(const String& pattern, size_t from) {
    while (from < pattern.size() && pattern[from] == L' ') ++from;
    String operand;
    bool quoted = false;
    for (size_t i = from; i < pattern.size(); ++i) {
        const wchar_t c = pattern[i];
        if (c == L'"') { quoted = !quoted; continue; }
        if (!quoted && (c == L' ' || c == L'&' || c == L'|')) break;
        operand += c;
    }
    return operand;
}

// -1, 0, 1: the value against the operand, as numbers, else as dates, else as texts.
int CompareOperand(const String& value, const String& operand) {
    double valueNumber = 0, operandNumber = 0;
    if (TryStrToFloat(TAdvUtils::StripThousandSep(value), valueNumber) &&
        TryStrToFloat(TAdvUtils::StripThousandSep(operand), operandNumber))
        return valueNumber < operandNumber ? -1 : valueNumber > operandNumber ? 1 : 0;
    TDateTime valueDate = 0, operandDate = 0;
    if (TAdvUtils::IsDate(value, valueDate) && TAdvUtils::IsDate(operand, operandDate))
        return valueDate < operandDate ? -1 : valueDate > operandDate ? 1 : 0;
    const int order = CompareStr(value, operand);
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

bool WildcardMatch(const String& pattern, size_t p, const String& value, size_t v) {
    bool negate = false;
    bool matching = true;
    bool done = p >= pattern.size() && v >= value.size();
    while (!done && matching) {
        const wchar_t c = p < pattern.size() ? pattern[p] : L'\0';
        if (c == L'?') {
            matching = v < value.size();
            if (matching) { ++p; ++v; }
        } else if (c == L'!') {
            negate = true;
            ++p;
        } else if (c == L'"') {
            ++p;
        } else if (c == L'*') {
            while (p < pattern.size() && pattern[p] == L'*') ++p;
            // The star takes all it can first: the rest of the pattern meets ever longer tails.
            size_t tail = value.size();
            matching = WildcardMatch(pattern, p, value, tail);
            while (!matching && tail > v) matching = WildcardMatch(pattern, p, value, --tail);
            if (matching) { p = pattern.size(); v = value.size(); }
        } else {
            matching = p < pattern.size() && v < value.size() && c == value[v];
            if (matching) { ++p; ++v; }
        }
        done = p >= pattern.size() && v >= value.size();
    }
    return negate ? !matching : matching;
}

struct TFontCollector {
    TStringList* List;
    std::exception_ptr Error;   // carried past gdi32's frames and raised after the enumeration
};

int CALLBACK CollectFontFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM data) {
    auto* collector = reinterpret_cast<TFontCollector*>(data);
    try {
        const String name = font->lfFaceName;
        TStringList* list = collector->List;
        if (list->Count() == 0 || !SameText(list->Strings(list->Count() - 1), name)) list->Add(name);
        return 1;
    } catch (...) {
        collector->Error = std::current_exception();
        return 0;
    }
}

bool ParseInt(const String& text, int& value) {
    return !text.empty() && TryStrToInt(text, value);
}

}  // namespace

// ---- search and replace

int TAdvUtils::IPos(const String& su, const String& s) { return Pos(AnsiUpperCase(su), AnsiUpperCase(s)); }

int TAdvUtils::VarPos(const String& subValue, const String& value, int& result) {
    result = Pos(subValue, value);
    return result;
}

int TAdvUtils::VarPosNoCase(const String& subValue, const String& value, int& result) {
    result = IPos(subValue, value);
    return result;
}

bool TAdvUtils::TagReplaceString(const String& srch, const String& repl, String& dest) {
    const int at = IPos(srch, dest);
    if (at == 0) return false;
    dest.replace(size_t(at - 1), srch.size(), repl);
    return true;
}

wchar_t TAdvUtils::CharInStr(const String& s, int index) {
    if (index < 1 || index > int(s.size())) return L'\0';
    return s[size_t(index - 1)];
}

int TAdvUtils::IndexOfTextInArray(const String& text, std::span<const String> values) {
    static const wchar_t* const accents[] = {L"cute", L"grave", L"uml", L"circ", L"tilde", L"ring", L"cedil"};
    const bool exactCase = std::any_of(std::begin(accents), std::end(accents),
                                       [&](const wchar_t* accent) { return text.find(accent) != String::npos; });
    for (size_t i = 0; i < values.size(); ++i)
        if (SameText(text, values[i]) && (!exactCase || text == values[i])) return int(i);
    return -1;
}

void TAdvUtils::Split(wchar_t delimiter, const String& input, TStrings* strings, bool clearEmptyStrings) {
    strings->Clear();
    strings->SetDelimiter(delimiter);
    strings->SetStrictDelimiter(true);
    strings->SetDelimitedText(input);
    if (!clearEmptyStrings) return;
    for (int i = strings->Count() - 1; i >= 0; --i)
        if (strings->Strings(i).empty()) strings->Delete(i);
}

// ---- markup entities

String TAdvUtils::FixMarkup(const String& su, bool specialChars) {
    String s = ReplaceAll(ReplaceAll(su, L"&", L"*amp;"), L"*amp;", L"&amp;");
    s = ReplaceAll(s, L"\"", L"&quot;");
    s = ReplaceAll(s, L"<", L"&lt;");
    s = ReplaceAll(s, L">", L"&gt;");
    if (!specialChars) return s;
    for (size_t row = 3; row < Entities.size(); ++row) s = ReplaceAll(s, Entities[row].Text, Entities[row].Name);
    String result;
    result.reserve(s.size());
    for (wchar_t c : s) {
        if (unsigned(c) > 256)
            result += L"&#" + IntToStr(unsigned(c)) + L";";
        else
            result += c;
    }
    return result;
}

String TAdvUtils::UnFixMarkup(const String& su, bool specialChars, bool specialCharsOnly) {
    String s = su;
    if (!specialCharsOnly) {
        // Until none of the four is left: an escaped ampersand before "lt;" ends as "<".
        static const TEntity basic[] = {{L"<", L"&lt;"}, {L">", L"&gt;"}, {L"&", L"&amp;"}, {L"\"", L"&quot;"}};
        for (bool changed = true; changed;) {
            changed = false;
            for (const TEntity& entity : basic) {
                if (s.find(entity.Name) == String::npos) continue;
                s = ReplaceAll(s, entity.Name, entity.Text);
                changed = true;
            }
        }
    }
    if (specialChars)
        for (size_t row = 3; row < Entities.size(); ++row) s = ReplaceAll(s, Entities[row].Name, Entities[row].Text);
    return s;
}

int TAdvUtils::GetMarkupIndex(const String& markup) { return IndexOfTextInArray(markup, EntityNames()); }

String TAdvUtils::GetSpecialChar(int value) {
    if (value < 1 || value > int(Entities.size())) return {};
    return Entities[size_t(value - 1)].Text;
}

String TAdvUtils::HTMLStrip(const String& html) {
    String s = StringReplace(html, L"<BR>", L"\r\n", rfReplaceAll | rfIgnoreCase);
    s = StringReplace(s, L"<HR>", L"\r\n", rfReplaceAll | rfIgnoreCase);
    String result;
    size_t at = 0;
    while (at < s.size()) {
        const size_t open = s.find(L'<', at);
        if (open == String::npos) break;
        const size_t close = s.find(L'>', open);
        if (close == String::npos) break;
        result.append(s, at, open - at);
        at = close + 1;
    }
    result.append(s, std::min(at, s.size()), String::npos);
    return result;
}

bool TAdvUtils::IsHTML(const String& value) {
    return value.find(L"</") != String::npos || value.find(L"/>") != String::npos || IPos(L"<BR>", value) > 0;
}

bool TAdvUtils::IsHTMLUnicode(const String& value) { return IsHTML(value); }

// ---- escaping

String TAdvUtils::EscapeString(const String& value) {
    String result;
    result.reserve(value.size());
    for (wchar_t c : value) {
        const bool listed = std::find(std::begin(EscapedChars), std::end(EscapedChars), c) != std::end(EscapedChars);
        if (unsigned(c) < 128 && !listed)
            result += c;
        else
            result += L"\\u" + IntToHex(unsigned(c), 4);
    }
    return result;
}

String TAdvUtils::UnescapeString(const String& value) {
    String result;
    result.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != L'\\') {
            result += value[i];
            continue;
        }
        if (i + 1 >= value.size()) throw EConvertError(L"Unexpected end of string");
        const size_t backslash = i++;
        switch (value[i]) {
        case L'\\': result += L'\\'; break;
        case L'/': result += L'/'; break;
        case L'b': result += L'\b'; break;
        case L'f': result += L'\f'; break;
        case L'n': result += L'\n'; break;
        case L'r': result += L'\r'; break;
        case L't': result += L'\t'; break;
        case L'u': {
            unsigned code = 0;
            bool valid = i + 4 < value.size();
            for (size_t k = 1; valid && k <= 4; ++k) {
                const int digit = HexValue(value[i + k]);
                valid = digit >= 0;
                code = code * 16 + unsigned(std::max(digit, 0));
            }
            if (!valid) throw EConvertError(Format(L"Invalid code at position %d", int(backslash + 1)));
            result += wchar_t(code);
            i += 4;
            break;
        }
        default:
            throw EConvertError(Format(L"Invalid code at position %d", int(backslash + 1)));
        }
    }
    return result;
}

// ---- character sets

TAdvUtilsCharSet TAdvUtils::CreateCharSet(const String& value) { return TAdvUtilsCharSet(value.begin(), value.end()); }

TAdvUtilsCharSet TAdvUtils::NumericCharSet() { return CreateCharSet(L"0123456789"); }

TAdvUtilsCharSet TAdvUtils::AlphaCharSet() {
    return CreateCharSet(L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
}

TAdvUtilsCharSet TAdvUtils::AddCharSet(const TAdvUtilsCharSet& set1, const TAdvUtilsCharSet& set2) {
    TAdvUtilsCharSet result = set1;
    result.insert(result.end(), set2.begin(), set2.end());
    return result;
}

TAdvUtilsCharSet TAdvUtils::SubCharSet(const TAdvUtilsCharSet& set1, const TAdvUtilsCharSet& set2) {
    TAdvUtilsCharSet result;
    for (wchar_t c : set1)
        if (!CharInSet(c, set2)) result.push_back(c);
    return result;
}

bool TAdvUtils::CharInSet(wchar_t ch, const TAdvUtilsCharSet& charSet) {
    return std::find(charSet.begin(), charSet.end(), ch) != charSet.end();
}

wchar_t TAdvUtils::FirstChar(const TAdvUtilsCharSet& charSet, const String& value, int& spos) {
    int quotes = 0;
    for (size_t i = 0; i < value.size(); ++i) {
        if (quotes % 2 == 0 && CharInSet(value[i], charSet)) {
            spos = int(i + 1);
            return value[i];
        }
        if (value[i] == L'"') ++quotes;
    }
    spos = -1;
    return L'\0';
}

// ---- filter expressions

bool TAdvUtils::MatchStrEx(const String& value1, const String& value2, bool caseSensitive) {
    String s = StripLogicSpaces(Trim(value1));
    if (!s.empty() && s[0] == L'=') s.erase(0, 1);
    if (s.empty()) return value2.empty();
    if (value2.empty() && s != L"*") return false;

    static const TAdvUtilsCharSet operators = CreateCharSet(L"(;^&|");
    bool result = false;
    wchar_t last = L'\0';   // the operator before the next operand; none for the first
    const auto combine = [&](bool operand) {
        switch (last) {
        case L'\0': result = operand; break;
        case L'&': result = result && operand; break;
        case L';': case L'^': case L'|': result = result || operand; break;
        default: break;   // "(": the empty operand after a group joins nothing
        }
    };
    int spos = 0;
    for (wchar_t op = FirstChar(operators, s, spos); op != L'\0'; op = FirstChar(operators, s, spos)) {
        if (s[0] == L'(') {
            const int close = ClosingParenthesis(s);
            if (close == 0) break;   // unbalanced: what is left is taken as the last operand
            combine(MatchStrEx(s.substr(1, size_t(close - 2)), value2, caseSensitive));
            s.erase(0, size_t(close));
            last = L'(';
        } else {
            combine(MatchStr(s.substr(0, size_t(spos - 1)), value2, caseSensitive));
            s.erase(0, size_t(spos));
            last = op;
        }
    }
    combine(MatchStr(s, value2, caseSensitive));
    return result;
}

bool TAdvUtils::MatchStr(const String& value1, const String& value2, bool caseSensitive) {
    if (caseSensitive) return Matches(value1, value2);
    return Matches(AnsiUpperCase(value1), AnsiUpperCase(value2));
}

bool TAdvUtils::Matches(const String& pattern, const String& value) {
    bool okLarger = true, okSmaller = true;
    bool hasLarger = false, hasSmaller = false;
    const size_t larger = pattern.find(L'>');
    if (larger != String::npos) {
        const bool orEqual = larger + 1 < pattern.size() && pattern[larger + 1] == L'=';
        const int order = CompareOperand(value, ReadOperand(pattern, larger + (orEqual ? 2 : 1)));
        okLarger = orEqual ? order >= 0 : order > 0;
        hasLarger = true;
    }
    const size_t smaller = pattern.find(L'<');
    if (smaller != String::npos) {
        const bool orEqual = smaller + 1 < pattern.size() && pattern[smaller + 1] == L'=';
        const int order = CompareOperand(value, ReadOperand(pattern, smaller + (orEqual ? 2 : 1)));
        okSmaller = orEqual ? order <= 0 : order < 0;
        hasSmaller = true;
    }
    // With a negation the missing sides count as present; they hold (true) by default.
    if (pattern.find(L'!') != String::npos) {
        hasLarger = true;
        hasSmaller = true;
    }
    if (pattern.find(L'^') != String::npos && (hasLarger || hasSmaller)) return okSmaller || okLarger;
    if (pattern.find(L'&') != String::npos && hasLarger && hasSmaller) return okSmaller && okLarger;
    if ((larger != String::npos && okLarger) || (smaller != String::npos && okSmaller)) return true;
    return WildcardMatch(pattern, 0, value, 0);
}

String TAdvUtils::StripLogicSpaces(const String& value) {
    String result;
    bool quoted = false;
    for (wchar_t c : value) {
        if (c == L'"') quoted = !quoted;
        if (c != L' ' || quoted) result += c;
    }
    return result;
}

int TAdvUtils::ClosingParenthesis(const String& s) {
    int open = 0, close = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == L'(') ++open;
        if (s[i] == L')' && ++close == open) return int(i + 1);
    }
    return 0;
}

String TAdvUtils::StripThousandSep(const String& s) {
    String result = s;
    std::erase(result, FormatSettings().ThousandSeparator);
    return result;
}

bool TAdvUtils::IsDate(const String& value, TDateTime& date) {
    const String order = UpperCase(FormatSettings().ShortDateFormat);
    struct TField { int Position; wchar_t Kind; };
    TField fields[3] = {{Pos(L"D", order), L'D'}, {Pos(L"M", order), L'M'}, {Pos(L"Y", order), L'Y'}};
    std::sort(std::begin(fields), std::end(fields),
              [](const TField& a, const TField& b) { return a.Position < b.Position; });

    const wchar_t separator = FormatSettings().DateSeparator;
    const size_t first = value.find(separator);
    if (first == String::npos) return false;
    const size_t second = value.find(separator, first + 1);
    if (second == String::npos) return false;
    const size_t blank = value.find(L' ', second + 1);
    const String parts[3] = {value.substr(0, first), value.substr(first + 1, second - first - 1),
                             value.substr(second + 1, blank == String::npos ? String::npos : blank - second - 1)};
    int day = 0, month = 0, year = 0;
    for (int i = 0; i < 3; ++i) {
        int number = 0;
        if (!ParseInt(parts[i], number)) return false;
        (fields[i].Kind == L'D' ? day : fields[i].Kind == L'M' ? month : year) = number;
    }
    if (day >= 32 || month > 12) return false;

    int hours = 0, minutes = 0, seconds = 0;
    if (blank != String::npos) {
        const String time = value.substr(blank + 1);
        const wchar_t timeSeparator = FormatSettings().TimeSeparator;
        const size_t colon = time.find(timeSeparator);
        if (colon == String::npos) return false;
        const size_t colon2 = time.find(timeSeparator, colon + 1);
        if (!ParseInt(time.substr(0, colon), hours)) return false;
        if (!ParseInt(time.substr(colon + 1, colon2 == String::npos ? String::npos : colon2 - colon - 1), minutes))
            return false;
        if (colon2 != String::npos && !ParseInt(time.substr(colon2 + 1), seconds)) return false;
        if (hours > 23 || minutes >= 60 || seconds > 60) return false;
    }
    TDateTime day0 = 0;
    if (!TryEncodeDate(year, month, day, day0)) return false;
    try {
        date = day0 + EncodeTime(hours, minutes, seconds, 0);
    } catch (const EConvertError&) {
        return false;   // a leap second (60) or a negative field
    }
    return true;
}

// ---- numbers, dates and sizes

bool TAdvUtils::TryStrToFloatDot(const String& value, double& result) {
    TFormatSettingsScope dot;
    return TryStrToFloat(value, result);
}

double TAdvUtils::StrToFloatDot(const String& value) {
    TFormatSettingsScope dot;
    return StrToFloat(value);
}

String TAdvUtils::FloatToStrDot(double value) {
    TFormatSettingsScope dot;
    return FloatToStr(value);
}

TDateTime TAdvUtils::EpochToDateTime(const String& epoch) {
    constexpr TDateTime unixDay0 = 25569.0;   // 1970-01-01 in days since 1899-12-30
    return unixDay0 + double(StrToInt64(epoch)) / 86400.0;
}

String TAdvUtils::FormatBytesAsString(double size) {
    if (size <= -1) return {};
    size_t unit = 0;
    // The unit list ends at TB: larger sizes are counted in thousands of TB.
    while (size >= 1024 && unit + 1 < std::size(SizeUnits)) {
        size /= 1024;
        ++unit;
    }
    const String number = unit == 0 ? FloatToStr(size) : FloatToStrF(size, L'f', 18, 2);
    return number + L" " + SizeUnits[unit];
}

int TAdvUtils::MulDivInt(int number, int numerator, int denominator) {
    if (denominator == 0) return -1;
    const int64_t product = int64_t(number) * numerator;
    int64_t quotient = product / denominator;
    const int64_t remainder = product % denominator;
    if (2 * std::llabs(remainder) >= std::llabs(int64_t(denominator)))
        quotient += (product < 0) != (denominator < 0) ? -1 : 1;   // halves away from zero
    // A quotient beyond 32 bits saturates: wrapping would turn a large size negative.
    return int(std::clamp<int64_t>(quotient, INT_MIN, INT_MAX));
}

float TAdvUtils::MulDivSingle(float number, float numerator, float denominator) {
    if (denominator == 0) return -1;
    return number * numerator / denominator;
}

// ---- encodings

String TAdvUtils::SaveStreamToBase64(TStream* stream, bool url) { return EncodeBase64(StreamBytes(stream), url); }

String TAdvUtils::SaveStreamToHexStr(TStream* stream) {
    String text;
    for (std::uint8_t b : StreamBytes(stream)) {
        text += HexDigits[b >> 4];
        text += HexDigits[b & 15];
    }
    return text;
}

String TAdvUtils::SaveBitmapToBase64(TPicture* bitmap, bool url) { return EncodeBase64(PictureBytes(bitmap), url); }

String TAdvUtils::SaveBitmapToHexStr(TPicture* bitmap) {
    const TBytes bytes = PictureBytes(bitmap);
    TMemoryStream stream;
    WriteBytes(&stream, bytes);
    return SaveStreamToHexStr(&stream);
}

TBytes TAdvUtils::Decode64ToBytes(const String& value, bool url) {
    if (value.empty()) return {};
    String text = value;
    if (url) {
        while (text.size() % 4 != 0) text += L'=';
        std::replace(text.begin(), text.end(), L'-', L'+');
        std::replace(text.begin(), text.end(), L'_', L'/');
    }
    TBytes bytes;
    bytes.reserve(text.size() / 4 * 3);
    std::uint32_t bits = 0;
    int count = 0;
    for (wchar_t c : text) {
        if (c == L'=') break;
        const int digit = ClassLib::Base64DigitValue(c);
        if (digit < 0) continue;   // line breaks and other noise between groups
        bits = bits << 6 | unsigned(digit);
        count += 6;
        if (count >= 8) {
            count -= 8;
            bytes.push_back(std::uint8_t(bits >> count));
        }
    }
    return bytes;
}

void TAdvUtils::LoadStreamFromBase64(const String& base64, TStream* stream, bool url) {
    WriteBytes(stream, Decode64ToBytes(base64, url));
}

void TAdvUtils::LoadBitmapFromBase64(const String& base64, TPicture* bitmap, bool url) {
    String text = base64;
    const size_t marker = text.find(L";base64,");
    if (marker != String::npos) text.erase(0, marker + 8);
    TMemoryStream stream;
    LoadStreamFromBase64(text, &stream, url);
    stream.SetPosition(0);
    bitmap->LoadFromStream(&stream);
}

std::unique_ptr<AdvTypes::TAdvBitmap> TAdvUtils::CreateBitmapFromBase64(const String& base64, bool url) {
    auto picture = std::make_unique<AdvTypes::TAdvBitmap>();
    LoadBitmapFromBase64(base64, picture.get(), url);
    return picture;
}

TBytes TAdvUtils::HexStrToBytes(const String& value) {
    if (value.size() % 2 != 0)
        throw EConvertError(Format(L"Hexadecimal text of %d characters has no whole number of bytes",
                                   int(value.size())));
    TBytes bytes;
    bytes.reserve(value.size() / 2);
    for (size_t i = 0; i < value.size(); i += 2) {
        const int high = HexValue(value[i]), low = HexValue(value[i + 1]);
        if (high < 0 || low < 0)
            throw EConvertError(Format(L"'%s' is not a valid integer value", L"$" + value.substr(i, 2)));
        bytes.push_back(std::uint8_t(high * 16 + low));
    }
    return bytes;
}

void TAdvUtils::LoadStreamFromHexStr(const String& hexStr, TStream* stream) { WriteBytes(stream, HexStrToBytes(hexStr)); }

void TAdvUtils::LoadBitmapFromHexStr(const String& hexStr, TPicture* bitmap) {
    const TBytes bytes = HexStrToBytes(hexStr);
    if (ContainsBase64Marker(bytes)) return;
    TGraphicClass graphicClass = nullptr;
    if (!FindGraphicClass(bytes.data(), int64_t(bytes.size()), graphicClass)) return;
    std::unique_ptr<TGraphic> graphic = graphicClass->Create();
    TMemoryStream stream;
    WriteBytes(&stream, bytes);
    stream.SetPosition(0);
    graphic->LoadFromStream(&stream);
    bitmap->Assign(graphic.get());
}

std::unique_ptr<AdvTypes::TAdvBitmap> TAdvUtils::CreateBitmapFromHexStr(const String& hexStr) {
    auto picture = std::make_unique<AdvTypes::TAdvBitmap>();
    LoadBitmapFromHexStr(hexStr, picture.get());
    return picture;
}

String TAdvUtils::URLEncode(const String& url) {
    String result;
    for (char byte : UTF8Encode(url)) {
        const auto b = std::uint8_t(byte);
        if (b == '-' || b == '.' || b == '_' || (b >= '0' && b <= '9') || (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z')) {
            result += wchar_t(b);
        } else {
            result += L'%';
            result += HexDigits[b >> 4];
            result += HexDigits[b & 15];
        }
    }
    return result;
}

// Hex digits of either case are decoded; a "%" not followed by two of them stays as
// written, so a stray percent sign in a name survives.
String TAdvUtils::URLDecode(const String& url) {
    AnsiString bytes;
    for (size_t i = 0; i < url.size(); ++i) {
        if (url[i] == L'%' && i + 2 < url.size() && HexValue(url[i + 1]) >= 0 && HexValue(url[i + 2]) >= 0) {
            bytes += char(HexValue(url[i + 1]) * 16 + HexValue(url[i + 2]));
            i += 2;
        } else {
            bytes += char(url[i] & 0xFF);
        }
    }
    return Trim(UTF8Decode(bytes));
}

String TAdvUtils::EnDeCrypt(const String& value) {
    String result;
    result.reserve(value.size());
    for (wchar_t c : value) {
        const unsigned low = unsigned(c) & 0xFF;
        result += wchar_t((low & 0xE0) | ((low & 0x1F) ^ CryptKey));
    }
    return result;
}

// ---- picture formats and downloads

String TAdvUtils::GetImageType(TStream* data, bool resetPosition) {
    const int64_t saved = data->Position();
    if (resetPosition) data->SetPosition(0);
    std::uint8_t head[4] = {};
    const int got = data->Read(head, 4);
    data->SetPosition(saved);
    if (got < 4) return {};
    for (const TImageData& type : ImageTypes)
        if (std::memcmp(head, type.Signature, size_t(type.Significant)) == 0) return type.Extension;
    return {};
}

String TAdvUtils::GetImageType(AdvTypes::TAdvBitmap* bitmap, bool resetPosition) {
    (void)resetPosition;   // the saved picture is always read from its start
    TMemoryStream stream;
    WriteBytes(&stream, PictureBytes(bitmap));
    return GetImageType(&stream, true);
}

bool TAdvUtils::FindGraphicClass(const void* buffer, int64_t bufferSize, TGraphicClass& graphicClass) {
    graphicClass = nullptr;
    if (bufferSize <= 0 || !buffer) return false;
    const auto* b = static_cast<const std::uint8_t*>(buffer);
    const auto starts = [&](std::initializer_list<std::uint8_t> bytes) {
        return bufferSize >= int64_t(bytes.size()) && std::equal(bytes.begin(), bytes.end(), b);
    };
    const auto word16 = [&](int64_t at) { return at + 2 <= bufferSize ? b[at] | b[at + 1] << 8 : -1; };
    if (starts({'I', 'I', 0x2A, 0x00}) || starts({'M', 'M', 0x00, 0x2A}))
        graphicClass = &TWICImage::ClassData();
    else if (starts({'B', 'M'}))
        graphicClass = &TBitmap::ClassData();
    else if (starts({0xFF, 0xD8}))
        graphicClass = &TJPEGImage::ClassData();
    else if (starts({0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A}))
        graphicClass = &TPngImage::ClassData();
    else if (starts({0xD7, 0xCD, 0xC6, 0x9A}) ||
             (starts({1, 0, 0, 0}) && bufferSize >= 44 && std::memcmp(b + 40, " EMF", 4) == 0))
        graphicClass = &TMetafile::ClassData();
    else if (starts({'G', 'I', 'F'}))
        graphicClass = &TGIFImage::ClassData();
    else if (word16(2) == 1)
        graphicClass = &TIcon::ClassData();
    return graphicClass != nullptr;
}

std::unique_ptr<TMemoryStream> TAdvUtils::ConvertBitmapToJPEGStream(TPicture* bitmap, float quality,
                                                                    TColor backgroundColor) {
    const TBytes bytes = PictureBytes(bitmap);
    TGraphicClass graphicClass = nullptr;
    if (!FindGraphicClass(bytes.data(), int64_t(bytes.size()), graphicClass)) return nullptr;
    auto result = std::make_unique<TMemoryStream>();
    if (graphicClass == &TJPEGImage::ClassData()) {
        WriteBytes(result.get(), bytes);
        result->SetPosition(0);
        return result;
    }
    std::unique_ptr<TGraphic> graphic = graphicClass->Create();
    TMemoryStream source;
    WriteBytes(&source, bytes);
    source.SetPosition(0);
    graphic->LoadFromStream(&source);

    TBitmap flat(graphic->Width(), graphic->Height(), pf24bit);
    flat.Canvas()->Brush()->SetColor(backgroundColor == clNone || backgroundColor == TColor(-1) ? clWhite
                                                                                                 : backgroundColor);
    flat.Canvas()->FillRect(Rect(0, 0, flat.Width(), flat.Height()));
    flat.Canvas()->Draw(0, 0, graphic.get());
    TJPEGImage jpeg;
    jpeg.Assign(&flat);
    jpeg.SetCompressionQuality(int(Round(double(quality) * 100)));
    jpeg.SaveToStream(result.get());
    result->SetPosition(0);
    return result;
}

std::unique_ptr<TMemoryStream> TAdvUtils::DownloadImage(const String& url) {
    struct TInternetCloser { void operator()(HINTERNET handle) const noexcept { ::InternetCloseHandle(handle); } };
    using TOwnedInternet = std::unique_ptr<void, TInternetCloser>;

    TOwnedInternet session(::InternetOpenW(L"TAdvUtils", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) throw Exception(L"Unable to initialize Wininet");
    TOwnedInternet request(::InternetOpenUrlW(session.get(), url.c_str(), nullptr, 0,
                                              INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                                  INTERNET_FLAG_PRAGMA_NOCACHE,
                                              0));
    if (!request) throw Exception(Format(L"Cannot open URL %s", url));

    auto result = std::make_unique<TMemoryStream>();
    wchar_t contentType[256] = {};
    DWORD length = sizeof(contentType);
    if (!::HttpQueryInfoW(request.get(), HTTP_QUERY_CONTENT_TYPE, contentType, &length, nullptr)) return result;
    if (AnsiUpperCase(contentType).find(L"IMAGE") == String::npos) return result;
    std::uint8_t block[1025];
    DWORD read = 0;
    while (::InternetReadFile(request.get(), block, sizeof(block), &read) && read > 0)
        result->WriteBuffer(block, int(read));
    result->SetPosition(0);
    return result;
}

// ---- files, paths, forms

bool TAdvUtils::SelectFile(String& fileName, const String& defaultFolder, const String& filter,
                           const TAdvUtilsFileCallBackEvent& callBack) {
    TOpenDialog dialog(nullptr);
    dialog.SetInitialDir((defaultFolder.empty() ? GetDocumentsPath() : defaultFolder) + L"\\");
    dialog.SetFilter(filter);
    dialog.SetOptions(dialog.Options() + ofFileMustExist);
    const bool result = dialog.Execute();
    if (result) fileName = dialog.FileName();
    if (callBack) callBack(fileName, result);
    return result;
}

bool TAdvUtils::SaveFile(String& fileName, const String& filter, const TAdvUtilsFileCallBackEvent& callBack) {
    TSaveDialog dialog(nullptr);
    const String extension = ExtractFileExt(fileName);
    const String folder = ExtractFilePath(fileName);
    dialog.SetInitialDir(folder.empty() ? GetDocumentsPath() + L"\\" : folder);
    dialog.SetFileName(ExtractFileName(fileName));
    dialog.SetDefaultExt(extension.empty() ? String() : extension.substr(1));
    dialog.SetFilter(filter);
    dialog.SetOptions(dialog.Options() + ofOverwritePrompt);
    const bool result = dialog.Execute();
    if (result) {
        fileName = dialog.FileName();
        if (ExtractFileExt(fileName).empty()) fileName += extension;
    }
    if (callBack) callBack(fileName, result);
    return result;
}

int TAdvUtils::Message(const String& message) { return Message(message, mtInformation, TMsgDlgButtons{mbOK}, 0); }

int TAdvUtils::Message(const String& message, TMsgDlgType dialogType, TMsgDlgButtons buttons, int helpContext) {
    return MessageDlg(message, dialogType, buttons, helpContext);
}

void TAdvUtils::OpenFile(const String& file, TControl* controlReference) {
    (void)controlReference;
    Seams().ShellOpen(file, String());
}

void TAdvUtils::OpenURL(const String& url) { Seams().ShellOpen(url, String()); }

String TAdvUtils::GetTempPath() { return GetTempDir(); }

String TAdvUtils::GetAppPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return ExtractFilePath(path);
}

String TAdvUtils::GetDocumentsPath() {
    wchar_t path[MAX_PATH] = {};
    const HRESULT result = ::SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path);
    if (FAILED(result)) RaiseOSError(DWORD(result), L"Cannot find the documents folder");
    return path;
}

String TAdvUtils::AddBackslash(const String& value) {
    return value.empty() || value.back() == L'\\' ? value : value + L"\\";
}

String TAdvUtils::AddForwardslash(const String& value) {
    return value.empty() || value.back() == L'/' ? value : value + L"/";
}

std::unique_ptr<TResourceStream> TAdvUtils::GetResourceStream(const String& resourceName, std::uintptr_t instance) {
    const auto module = instance ? reinterpret_cast<HMODULE>(instance) : ::GetModuleHandleW(nullptr);
    if (!::FindResourceW(module, resourceName.c_str(), MAKEINTRESOURCEW(10))) return nullptr;   // RT_RCDATA
    return std::make_unique<TResourceStream>(module, resourceName);
}

std::uintptr_t TAdvUtils::GetHInstance() { return reinterpret_cast<std::uintptr_t>(::GetModuleHandleW(nullptr)); }

void TAdvUtils::Log(const String& message) { ::OutputDebugStringW(message.c_str()); }

TPointF TAdvUtils::GetMousePos() {
    POINT point = {};
    ::GetCursorPos(&point);
    return {float(point.x), float(point.y)};
}

void TAdvUtils::GetFonts(TStringList* fontList) {
    fontList->Clear();
    LOGFONTW query = {};
    query.lfCharSet = DEFAULT_CHARSET;
    HDC dc = ::GetDC(nullptr);
    // A family is reported once per character set; only a repeat of the name just added is dropped.
    TFontCollector collector{fontList, {}};
    ::EnumFontFamiliesExW(dc, &query, CollectFontFamily, reinterpret_cast<LPARAM>(&collector), 0);
    ::ReleaseDC(nullptr, dc);
    if (collector.Error) std::rethrow_exception(collector.Error);
    fontList->Sort();
}

TCustomForm* TAdvUtils::GetOwnerForm(TComponent* component) {
    for (TComponent* owner = component ? component->Owner() : nullptr; owner; owner = owner->Owner())
        if (auto form = As<TCustomForm>(owner)) return form;
    return nullptr;
}

TCustomForm* TAdvUtils::GetParentForm(TControl* control) {
    if (!control) return nullptr;
    TControl* top = control;
    while (top->Parent()) top = top->Parent();
    return As<TCustomForm>(top);
}

// ---- screen scaling

// Forms of this class library keep the sizes they were described with at every
// resolution (they are not scaled), so the scale of any owner is 1.
float TAdvUtils::GetDPIScale(TComponent* owner, int defaultDPI) {
    (void)owner;
    (void)defaultDPI;
    return 1.0f;
}

bool TAdvUtils::IsHighDPIScale(TComponent* owner, int defaultDPI) { return GetDPIScale(owner, defaultDPI) > 1; }

// Controls are laid out at 96 pixels per inch; the control scales itself from there.
void TAdvUtils::ScaleForDPI(TControl* control, int dpi) {
    if (control) control->ChangeScale(dpi, 96);
}

void TAdvUtils::ScaleForCurrentDPI(TCustomForm* form) {
    if (!form) return;
    const std::function<void(TWinControl*)> scaleChildren = [&](TWinControl* parent) {
        for (int i = 0; i < parent->ControlCount(); ++i) {
            TControl* control = parent->Controls(i);
            if (As<TCustomForm>(control)) continue;
            if (auto container = As<TWinControl>(control)) scaleChildren(container);
            TFont* font = control->Font();
            font->SetHeight(MulDivInt(font->Height(), 96, font->PixelsPerInch()));
        }
    };
    scaleChildren(form);
    if (form->ClassName() == L"TAdvCustomPopupForm") return;
    const float scale = GetDPIScale(form, 96);
    form->SetWidth(int(Round(form->Width() * scale)));
    form->SetHeight(int(Round(form->Height() * scale)));
}

void TAdvUtils::SetFontSize(TFont* font, float size) {
    font->SetHeight(-MulDivInt(int(Round(double(size) / 96 * 72)), 96, 72));
}

namespace {
// Takes the component's name away for a scope and gives it back, whatever happens.
class TNameCleared {
public:
    explicit TNameCleared(TComponent* component) : FComponent(component), FName(component->Name()) {
        FComponent->SetName(L"");
    }
    ~TNameCleared() { FComponent->SetName(FName); }
    TNameCleared(const TNameCleared&) = delete;
    TNameCleared& operator=(const TNameCleared&) = delete;
private:
    TComponent* FComponent;
    std::wstring FName;
};
}  // namespace

std::unique_ptr<TComponent> TAdvUtils::Clone(TComponent* component) {
    if (!component) return nullptr;
    TMemoryStream stream;
    {
        // Written without its name, the copy does not take it: under one owner two
        // components of one name cannot be.
        const TNameCleared unnamed(component);
        WriteComponentToStream(component, &stream);
    }
    stream.SetPosition(0);
    std::unique_ptr<TComponent> copy(component->ClassType().Create(nullptr));
    ReadComponentFromStream(copy.get(), &stream);
    return copy;
}

// ---- clipboard formats

std::uint16_t AdvClipboardFormat(TAdvClipboardFormat format) {
    static const std::array<std::uint16_t, 5> formats = [] {
        const auto registered = [](const wchar_t* name) {
            const UINT number = TClipboard::RegisterFormat(name);
            if (number > 0xFFFF) throw Exception(Format(L"Clipboard format \"%s\" got number %d, beyond 16 bits",
                                                        name, int(number)));
            return std::uint16_t(number);
        };
        std::array<std::uint16_t, 5> list{};
        list[size_t(TAdvClipboardFormat::RichEditorText)] = registered(L"RichEditorText");
        list[size_t(TAdvClipboardFormat::StreamFormat)] = registered(L"TAdvClipBoard.StreamFormat");
        list[size_t(TAdvClipboardFormat::RichTextFormat)] = registered(L"Rich Text Format");
        list[size_t(TAdvClipboardFormat::Bitmap)] = CF_BITMAP;
        list[size_t(TAdvClipboardFormat::HTMLFormat)] = registered(L"HTML Format");
        return list;
    }();
    return formats[size_t(format)];
}

}  // namespace AdvUtils
