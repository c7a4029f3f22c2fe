#include "rendering/AdvHTMLPrepare.h"

#include <cmath>
#include <cstdint>
#include <cwchar>
#include <limits>
#include <string_view>

#include "classlib/Strings.h"

namespace AdvHTML {

namespace {

struct TEntity {
    const wchar_t* Name;
    wchar_t Char;
};

// Table order matters: the status bar reads only the first 72 rows. The guillemets
// stand twice, as the table has always had them.
constexpr TEntity Entities[CanvasEntityCount] = {
    {L"&eacute;", L'\u00E9'}, {L"&egrave;", L'\u00E8'}, {L"&euml;", L'\u00EB'}, {L"&ecirc;", L'\u00EA'},
    {L"&oacute;", L'\u00F3'}, {L"&ograve;", L'\u00F2'}, {L"&ouml;", L'\u00F6'}, {L"&ocirc;", L'\u00F4'},
    {L"&iacute;", L'\u00ED'}, {L"&igrave;", L'\u00EC'}, {L"&iuml;", L'\u00EF'}, {L"&icirc;", L'\u00EE'},
    {L"&uacute;", L'\u00FA'}, {L"&ugrave;", L'\u00F9'}, {L"&uuml;", L'\u00FC'}, {L"&ucirc;", L'\u00FB'},
    {L"&aacute;", L'\u00E1'}, {L"&agrave;", L'\u00E0'}, {L"&auml;", L'\u00E4'}, {L"&acirc;", L'\u00E2'},
    {L"&Eacute;", L'\u00C9'}, {L"&Egrave;", L'\u00C8'}, {L"&Euml;", L'\u00CB'}, {L"&Ecirc;", L'\u00CA'},
    {L"&Oacute;", L'\u00D3'}, {L"&Ograve;", L'\u00D2'}, {L"&Ouml;", L'\u00D6'}, {L"&Ocirc;", L'\u00D4'},
    {L"&Iacute;", L'\u00CD'}, {L"&Igrave;", L'\u00CC'}, {L"&Iuml;", L'\u00CF'}, {L"&Icirc;", L'\u00CE'},
    {L"&Uacute;", L'\u00DA'}, {L"&Ugrave;", L'\u00D9'}, {L"&Uuml;", L'\u00DC'}, {L"&Ucirc;", L'\u00DB'},
    {L"&Aacute;", L'\u00C1'}, {L"&Agrave;", L'\u00C0'}, {L"&Auml;", L'\u00C4'}, {L"&Acirc;", L'\u00C2'},
    {L"&ccedil;", L'\u00E7'}, {L"&Ccedil;", L'\u00C7'}, {L"&oslash;", L'\u00F8'}, {L"&Oslash;", L'\u00D8'},
    {L"&aring;", L'\u00E5'}, {L"&Aring;", L'\u00C5'}, {L"&copy;", L'\u00A9'}, {L"&reg;", L'\u00AE'},
    {L"&euro;", L'\u20AC'}, {L"&laquo;", L'\u00AB'}, {L"&raquo;", L'\u00BB'}, {L"&atilde;", L'\u00E3'},
    {L"&Atilde;", L'\u00C3'}, {L"&otilde;", L'\u00F5'}, {L"&Otilde;", L'\u00D5'}, {L"&szlig;", L'\u00DF'},
    {L"&trade;", L'\u2122'}, {L"&pound;", L'\u00A3'}, {L"&dollar;", L'$'}, {L"&sect;", L'\u00A7'},
    {L"&permil;", L'\u2030'}, {L"&para;", L'\u00B6'}, {L"&quot;", L'"'}, {L"&apos;", L'\''},
    {L"&yen;", L'\u00A5'}, {L"&curren;", L'\u00A4'}, {L"&cent;", L'\u00A2'}, {L"&plusmn;", L'\u00B1'},
    {L"&iexcl;", L'\u00A1'}, {L"&laquo;", L'\u00AB'}, {L"&raquo;", L'\u00BB'}, {L"&deg;", L'\u00B0'},
    {L"&ntilde;", L'\u00F1'}, {L"&Ntilde;", L'\u00D1'}, {L"&frac14;", L'\u00BC'}, {L"&frac12;", L'\u00BD'},
    {L"&frac34;", L'\u00BE'},
};

struct TNamedColor {
    const wchar_t* Name;
    TColor Value;
};

constexpr TNamedColor ColorNames[] = {
    {L"clred", 0x0000FF}, {L"clblack", 0x000000}, {L"clblue", 0xFF0000}, {L"clgreen", 0x008000},
    {L"claqua", 0xFFFF00}, {L"clyellow", 0x00FFFF}, {L"clfuchsia", 0xFF00FF}, {L"clwhite", 0xFFFFFF},
    {L"cllime", 0x00FF00}, {L"clsilver", 0xC0C0C0}, {L"clgray", 0x808080}, {L"clolive", 0x008080},
    {L"clnavy", 0x800000}, {L"clpurple", 0x800080}, {L"clteal", 0x808000}, {L"clmaroon", 0x000080},
    {L"clbackground", ClassLib::clBackground}, {L"clactivecaption", ClassLib::clActiveCaption},
    {L"clinactivecaption", ClassLib::clInactiveCaption}, {L"clmenu", ClassLib::clMenu},
    {L"clwindow", ClassLib::clWindow}, {L"clwindowframe", ClassLib::clWindowFrame},
    {L"clmenutext", ClassLib::clMenuText}, {L"clwindowtext", ClassLib::clWindowText},
    {L"clcaptiontext", ClassLib::clCaptionText}, {L"clactiveborder", ClassLib::clActiveBorder},
    {L"clinactiveborder", ClassLib::clInactiveBorder}, {L"clappworkspace", ClassLib::clAppWorkSpace},
    {L"clhighlight", ClassLib::clHighlight}, {L"clhighlighttext", ClassLib::clHighlightText},
    {L"clbtnface", ClassLib::clBtnFace}, {L"clbtnshadow", ClassLib::clBtnShadow},
    {L"clgraytext", ClassLib::clGrayText}, {L"clbtntext", ClassLib::clBtnText},
    {L"clinactivecaptiontext", ClassLib::clInactiveCaptionText}, {L"clbtnhighlight", ClassLib::clBtnHighlight},
    {L"cl3ddkshadow", ClassLib::cl3DDkShadow}, {L"cl3dlight", ClassLib::cl3DLight},
    {L"clinfotext", ClassLib::clInfoText}, {L"clinfobk", ClassLib::clInfoBk},
};

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

String CodePointText(std::uint32_t value) {
    if (value <= 0xFFFF) return String(1, wchar_t(value));
    value -= 0x10000;
    return String{wchar_t(0xD800 + (value >> 10)), wchar_t(0xDC00 + (value & 0x3FF))};
}

// Left to right, without overlaps, in one pass: replacing in place would shift the rest
// of the text once per match.
void ReplaceAll(String& text, const String& from, const String& to) {
    if (text.find(from) != String::npos) text = ClassLib::StringReplace(text, from, to, ClassLib::rfReplaceAll);
}

wchar_t UpperAscii(wchar_t c) { return c >= L'a' && c <= L'z' ? wchar_t(c - L'a' + L'A') : c; }

// `text` holds `word` (upper-case ASCII) at `at`, letter case ignored.
bool HasWordAt(const String& text, std::size_t at, std::wstring_view word) {
    if (at + word.size() > text.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (UpperAscii(text[at + i]) != word[i]) return false;
    return true;
}

}  // namespace

String ReplaceNamedEntities(const String& text, int entityCount) {
    String result = text;
    if (result.find(L'&') == String::npos) return result;
    const int count = entityCount < 0 ? 0 : entityCount > CanvasEntityCount ? CanvasEntityCount : entityCount;
    for (int i = 0; i < count; ++i) ReplaceAll(result, Entities[i].Name, String(1, Entities[i].Char));
    return DoubleAmpersands(result);
}

String DoubleAmpersands(const String& text) {
    // "&amp;" in any letter case becomes "&&", the first one first, until none is left. The
    // second "&" of a replacement starts a new match with an "amp;" right after it, so
    // "&amp;amp;" ends as "&&&": each such "amp;" turns into one more "&". One pass.
    String result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == L'&' && HasWordAt(text, i + 1, L"AMP;")) {
            result += L"&&";
            i += 5;
            while (HasWordAt(text, i, L"AMP;")) {
                result += L'&';
                i += 4;
            }
        } else {
            result += text[i++];
        }
    }
    return result;
}

String RemoveLiterals(const String& text) {
    // The first "<#" loses its "<", and the first ">" after it goes too; then the next
    // first "<#" of what is left, until none is. In one pass: a literal found here
    // owes the removal of the next ">" to come, and taking the "<" out can join an
    // earlier "<" to the "#" (so "<<#" holds two literals).
    String result;
    result.reserve(text.size());
    std::size_t owed = 0;   // ">" still to remove, one per literal found
    for (const wchar_t c : text) {
        if (c == L'#') {
            while (!result.empty() && result.back() == L'<') {
                result.pop_back();
                ++owed;
            }
        } else if (c == L'>' && owed > 0) {
            --owed;
            continue;
        }
        result += c;
    }
    return result;
}

String ReplaceNumericReferences(const String& text, bool emojiTags) {
    String result;
    result.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t at = text.find(L"&#", pos);
        // An "&" doubled by the entity step right before it: the rest is plain text.
        if (at == String::npos || (at > 0 && text[at - 1] == L'&')) break;
        result.append(text, pos, at - pos);
        const bool hex = at + 2 < text.size() && text[at + 2] == L'x';
        const std::size_t digitsStart = at + (hex ? 3 : 2);
        std::size_t end = text.find(L';', at + 2);
        if (end == String::npos) {
            result += L"&#";
            pos = at + 2;
            continue;
        }
        if (end - (at + 2) + 1 > 7) {
            // A far ";" is not this reference's end: it ends at the first non-digit.
            end = digitsStart;
            while (end < text.size() && (hex ? HexDigit(text[end]) >= 0 : (text[end] >= L'0' && text[end] <= L'9'))) ++end;
            if (end >= text.size()) end = digitsStart;  // ran out: no digits
        }
        const std::size_t digits = end > digitsStart ? end - digitsStart : 0;
        std::uint32_t value = 0;
        bool valid = digits >= 1 && digits <= 6;
        for (std::size_t i = digitsStart; valid && i < end; ++i) {
            const int d = hex ? HexDigit(text[i]) : (text[i] >= L'0' && text[i] <= L'9' ? text[i] - L'0' : -1);
            if (d < 0) valid = false;
            else value = value * (hex ? 16 : 10) + std::uint32_t(d);
        }
        if (valid && (value == 0 || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF)) valid = false;
        if (!valid) {
            result += L"&#";
            pos = at + 2;
            continue;
        }
        if (emojiTags && value >= FirstEmojiCodePoint) result += L"<J " + CodePointText(value) + L" >";
        else result += CodePointText(value);
        pos = end + 1;
    }
    if (pos < text.size()) result.append(text, pos, String::npos);
    return result;
}

String ConvertLineBreaks(const String& text, bool breaks) {
    String result;
    result.reserve(text.size());
    for (wchar_t c : text) {
        if (c == L'\n') continue;
        if (c == L'\r') {
            if (breaks) result += L"<BR>";
            continue;
        }
        result += c;
    }
    return result;
}

String PrepareHTML(const String& text, int entityCount, bool emojiTags) {
    String result = text.find(L'&') != String::npos ? ReplaceNamedEntities(text, entityCount) : text;
    result = RemoveLiterals(result);
    result = ReplaceNumericReferences(result, emojiTags);
    return ConvertLineBreaks(result, true);
}

int HexByte(wchar_t high, wchar_t low) {
    const int h = HexDigit(high), l = HexDigit(low);
    return (h < 0 ? 0 : h) * 16 + (l < 0 ? 0 : l);
}

TColor HexColor(const String& value) {
    auto pair = [&](std::size_t i) { return i + 1 < value.size() ? HexByte(value[i], value[i + 1]) : 0; };
    return ClassLib::RGBToColor(pair(1), pair(3), pair(5));
}

TColor HTMLColor(const String& value) {
    if (!value.empty() && value[0] == L'#') return HexColor(value);
    String lower = value;
    for (wchar_t& c : lower)
        if (c >= L'A' && c <= L'Z') c = wchar_t(c - L'A' + L'a');
    for (const TNamedColor& named : ColorNames)
        if (lower == named.Name) return named.Value;
    return ClassLib::clBlack;
}

int IntValue(const String& value) {
    std::size_t i = 0;
    while (i < value.size() && value[i] == L' ') ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == L'-' || value[i] == L'+')) negative = value[i++] == L'-';
    int base = 10;
    if (i < value.size() && (value[i] == L'$' || value[i] == L'x' || value[i] == L'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < value.size() && value[i] == L'0' && (value[i + 1] == L'x' || value[i + 1] == L'X')) {
        base = 16;
        i += 2;
    }
    const std::int64_t limit = negative ? -std::int64_t(std::numeric_limits<int>::min()) : std::numeric_limits<int>::max();
    std::int64_t result = 0;
    for (; i < value.size(); ++i) {
        const int d = base == 16 ? HexDigit(value[i]) : (value[i] >= L'0' && value[i] <= L'9' ? value[i] - L'0' : -1);
        if (d < 0) break;
        result = result * base + d;
        if (result > limit) result = limit;  // saturate: "99999999999" is the largest number, not garbage
    }
    return int(negative ? -result : result);
}

int RoundHalfEven(double value) {
    const double r = std::nearbyint(value);   // the default rounding mode: halves to even
    if (!(r < 2147483647.0)) return std::isnan(r) ? 0 : 2147483647;
    if (r < -2147483648.0) return -2147483647 - 1;
    return int(r);
}

String ReplaceRunEntities(const String& run) {
    String result = run;
    if (result.find(L'&') == String::npos) return result;
    ReplaceAll(result, L"&nbsp;", L" ");
    ReplaceAll(result, L"&lt;", L"<");
    ReplaceAll(result, L"&gt;", L">");
    return result;
}

double DecimalValue(const String& value) {
    String text = value;
    for (wchar_t& c : text)
        if (c == L',') c = L'.';
    wchar_t* end = nullptr;
    const double result = std::wcstod(text.c_str(), &end);
    return std::isfinite(result) ? result : 0.0;
}

String HTMLPlainText(const String& text) {
    // Each step walks the text once from where the step before left off.
    String s;
    s.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (HasWordAt(text, i, L"<BR>") || HasWordAt(text, i, L"<HR>")) {
            s += L"\r\n";
            i += 4;
        } else {
            s += text[i++];
        }
    }
    String result;
    std::size_t pos = 0;   // what lies before has gone to the result or was dropped
    for (const auto& [open, close] : {std::pair{L"<z>", L"</z>"}, std::pair{L"<Z>", L"</Z>"}}) {
        for (std::size_t at = s.find(open, pos); at != String::npos; at = s.find(open, pos)) {
            const std::size_t end = s.find(close, at);
            if (end == String::npos) break;
            result.append(s, pos, at - pos);
            pos = end + 4;
        }
    }
    for (std::size_t at = s.find(L'<', pos); at != String::npos; at = s.find(L'<', pos)) {
        result.append(s, pos, at - pos);
        pos = at;
        const std::size_t close = s.find(L'>', at);
        if (close == String::npos) break;
        pos = close + 1;
    }
    return result.append(s, pos, String::npos);
}

}  // namespace AdvHTML
