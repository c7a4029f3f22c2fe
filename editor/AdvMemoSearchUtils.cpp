#include "editor/AdvMemoSearchUtils.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <initializer_list>
#include <vector>

#include "classlib/DateTime.h"
#include "classlib/Strings.h"

namespace AdvMemo {

namespace {

bool ToInt(const String& s, int& value) {
    if (s.empty() || s.size() > 10) return false;
    size_t i = 0;
    bool negative = false;
    if (s[0] == L'+' || s[0] == L'-') { negative = s[0] == L'-'; i = 1; }
    if (i >= s.size()) return false;
    long long v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < L'0' || s[i] > L'9') return false;
        v = v * 10 + (s[i] - L'0');
    }
    value = int(negative ? -v : v);
    return true;
}

// A decimal floating-point text, as a whole: sign, digits, fraction, exponent.
bool ToFloat(const String& text, double& value) {
    const String s = ClassLib::Trim(text);
    size_t i = 0, n = s.size();
    if (i < n && (s[i] == L'+' || s[i] == L'-')) ++i;
    size_t digits = 0;
    while (i < n && iswdigit(s[i])) { ++i; ++digits; }
    if (i < n && s[i] == L'.') {
        ++i;
        while (i < n && iswdigit(s[i])) { ++i; ++digits; }
    }
    if (digits == 0) return false;
    if (i < n && (s[i] == L'e' || s[i] == L'E')) {
        ++i;
        if (i < n && (s[i] == L'+' || s[i] == L'-')) ++i;
        size_t expDigits = 0;
        while (i < n && iswdigit(s[i])) { ++i; ++expDigits; }
        if (expDigits == 0) return false;
    }
    if (i != n) return false;
    value = std::wcstod(s.c_str(), nullptr);
    return true;
}

// -1, 0 or 1: the value against the operand, as numbers, as dates, or as texts.
int CompareOperand(const String& value, const String& operand) {
    double a = 0, b = 0, da = 0, db = 0;
    const bool valueDate = ParseDateText(value, da);
    const bool operandDate = ParseDateText(operand, db);
    const bool valueNumber = !valueDate && ToFloat(NormalizeNumberText(value), a);
    const bool operandNumber = !operandDate && ToFloat(NormalizeNumberText(operand), b);
    if (valueNumber && operandNumber) return a < b ? -1 : (a > b ? 1 : 0);
    if (valueDate && operandDate) return da < db ? -1 : (da > db ? 1 : 0);
    const int c = value.substr(0, 255).compare(operand.substr(0, 255));
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// The operand after an operator: up to a blank, the end, or "&" / "|" outside quotes.
String ReadOperand(const String& pattern, size_t start, bool blankInQuotes) {
    size_t i = start;
    while (i < pattern.size() && pattern[i] == L' ') ++i;
    String operand;
    bool quoted = false;
    for (; i < pattern.size(); ++i) {
        const wchar_t c = pattern[i];
        if (c == L'"') {
            quoted = !quoted;
            operand += c;
            continue;
        }
        if (c == L' ' && !(blankInQuotes && quoted)) break;
        if (!quoted && (c == L'&' || c == L'|')) break;
        operand += c;
    }
    if (!operand.empty() && operand.front() == L'"') operand.erase(0, 1);
    if (!operand.empty() && operand.back() == L'"') operand.pop_back();
    if (operand.size() > 255) operand.resize(255);
    return operand;
}

// MatchPattern over suffixes of pattern and value, without copying either. A "*" asks whether
// the rest of the pattern matches some tail of the value; that answer, for every tail at once,
// is a table per star computed from the last star back to the first, so each pattern position
// costs one pass over the value however many stars or repeated characters there are.
class TPatternMatcher {
public:
    TPatternMatcher(const String& pattern, const String& value) : FPattern(pattern), FValue(value) {
        const size_t pn = FPattern.size();
        FTails.resize(pn + 1);
        for (size_t p = pn; p-- > 0;) {
            TTail t = FTails[p + 1];
            switch (FPattern[p]) {
                case L'>': t.Gt = p; break;
                case L'<': t.Lt = p; break;
                case L'!': t.Not = true; break;
                case L'^': t.Caret = true; break;
                case L'&': t.Amp = true; break;
                default: break;
            }
            FTails[p] = t;
        }
    }

    bool Match() {
        // The positions right after each run of stars: the patterns a star hands on.
        std::vector<size_t> targets;
        for (size_t p = 0; p < FPattern.size();) {
            if (FPattern[p] != L'*') { ++p; continue; }
            while (p < FPattern.size() && FPattern[p] == L'*') ++p;
            targets.push_back(p);
        }
        const size_t vn = FValue.size();
        std::vector<char> next, current;  // [t]: the pattern after the star matches some tail from t
        for (size_t k = targets.size(); k-- > 0;) {
            current.assign(vn + 2, 0);
            for (size_t t = vn + 1; t-- > 0;) current[t] = current[t + 1] || Evaluate(targets[k], t, next);
            next.swap(current);
        }
        return Evaluate(0, 0, next);
    }

private:
    struct TTail {  // what the pattern from a position on holds
        size_t Gt = String::npos, Lt = String::npos;  // the first ">" and "<"
        bool Not = false, Caret = false, Amp = false;
    };

    // MatchPattern of the pattern from p against the value from v; `star` answers the star
    // that ends the stretch of pattern starting at p.
    bool Evaluate(size_t p0, size_t v0, const std::vector<char>& star) {
        const TTail& tail = FTails[p0];
        bool gt = true, lt = true, gtDone = false, ltDone = false;
        if (tail.Gt != String::npos || tail.Lt != String::npos) {
            const String value = FValue.substr(v0);
            if (tail.Gt != String::npos) {
                size_t i = tail.Gt + 1;
                const bool inclusive = i < FPattern.size() && FPattern[i] == L'=';
                if (inclusive) ++i;
                const int c = CompareOperand(value, ReadOperand(FPattern, i, true));
                gt = inclusive ? c >= 0 : c > 0;
                gtDone = true;
            }
            if (tail.Lt != String::npos) {
                size_t i = tail.Lt + 1;
                const bool inclusive = i < FPattern.size() && FPattern[i] == L'=';
                if (inclusive) ++i;
                const int c = CompareOperand(value, ReadOperand(FPattern, i, false));
                lt = inclusive ? c <= 0 : c < 0;
                ltDone = true;
            }
        }
        if (tail.Not) {
            if (tail.Gt == String::npos) gtDone = true;
            if (tail.Lt == String::npos) ltDone = true;
        }
        if (tail.Caret && (gtDone || ltDone)) return gt || lt;
        if (tail.Amp && gtDone && ltDone) return gt && lt;
        if (tail.Gt != String::npos && gt) return true;
        if (tail.Lt != String::npos && lt) return true;
        return Wildcard(p0, v0, star);
    }

    bool Wildcard(size_t p, size_t v, const std::vector<char>& star) {
        const size_t pn = FPattern.size(), vn = FValue.size();
        bool ok = true, negate = false;
        while (ok && !(p == pn && v == vn)) {
            if (p == pn) { ok = false; break; }
            const wchar_t c = FPattern[p];
            if (c == L'!') { negate = true; ++p; continue; }
            if (c == L'"') { ++p; continue; }
            if (c == L'*') {
                ok = star[v] != 0;
                break;
            }
            if (v == vn) { ok = false; break; }
            if (c != L'?' && c != FValue[v]) { ok = false; break; }
            ++p;
            ++v;
        }
        return negate ? !ok : ok;
    }

    const String& FPattern;
    const String& FValue;
    std::vector<TTail> FTails;
};

}  // namespace

String GetShortDateFormat() { return ClassLib::FormatSettings().ShortDateFormat; }

bool MatchPattern(const String& pattern, const String& value) {
    TPatternMatcher matcher(pattern, value);
    return matcher.Match();
}

bool MatchPatternCase(const String& pattern, const String& value, bool caseSensitive) {
    if (caseSensitive) return MatchPattern(pattern, value);
    return MatchPattern(ClassLib::AnsiUpperCase(pattern), ClassLib::AnsiUpperCase(value));
}

bool ParseDateText(const String& text, double& dateTime) {
    const ClassLib::TFormatSettings& fs = ClassLib::FormatSettings();
    const String format = ClassLib::AnsiUpperCase(fs.ShortDateFormat);
    struct TField { wchar_t Letter; size_t Where; };
    TField order[3] = {{L'D', format.find(L'D')}, {L'M', format.find(L'M')}, {L'Y', format.find(L'Y')}};
    std::stable_sort(std::begin(order), std::end(order),
                     [](const TField& a, const TField& b) { return a.Where < b.Where; });

    const size_t sep1 = text.find(fs.DateSeparator);
    if (sep1 == String::npos) return false;
    const size_t sep2 = text.find(fs.DateSeparator, sep1 + 1);
    if (sep2 == String::npos) return false;
    String fields[3] = {text.substr(0, sep1), text.substr(sep1 + 1, sep2 - sep1 - 1), {}};
    String rest = ClassLib::Trim(text.substr(sep2 + 1));
    String timeText;
    const size_t blank = rest.find(L' ');
    if (blank != String::npos) {
        fields[2] = rest.substr(0, blank);
        timeText = ClassLib::Trim(rest.substr(blank));
    } else {
        fields[2] = rest;
    }
    int day = 0, month = 0, year = 0;
    for (int i = 0; i < 3; ++i) {
        int v = 0;
        if (!ToInt(fields[i], v)) return false;
        if (order[i].Letter == L'D') day = v;
        else if (order[i].Letter == L'M') month = v;
        else year = v;
    }
    if (day > 31 || month > 12) return false;
    int hour = 0, minute = 0, second = 0;
    if (!timeText.empty()) {
        const size_t t1 = timeText.find(fs.TimeSeparator);
        if (t1 == String::npos) return false;
        if (!ToInt(timeText.substr(0, t1), hour) || hour > 23) return false;
        const String after = timeText.substr(t1 + 1);
        const size_t t2 = after.find(fs.TimeSeparator);
        if (t2 == String::npos) {
            if (!ToInt(after, minute)) return false;
        } else {
            if (!ToInt(after.substr(0, t2), minute) || !ToInt(after.substr(t2 + 1), second)) return false;
        }
        if (minute > 59 || second > 60) return false;
    }
    double date = 0, time = 0;
    if (!ClassLib::TryEncodeDate(year, month, day, date) || !ClassLib::TryEncodeTime(hour, minute, second, 0, time))
        return false;
    dateTime = date >= 0 ? date + time : date - time;
    return true;
}

String NormalizeNumberText(const String& text) {
    const ClassLib::TFormatSettings& fs = ClassLib::FormatSettings();
    String result;
    result.reserve(text.size());
    for (wchar_t c : text) {
        if (c == fs.DecimalSeparator) result += L'.';
        else if (c != fs.ThousandSeparator) result += c;
    }
    return result;
}

bool IsSearchWordEndChar(wchar_t ch) {
    switch (ch) {
    case L'\t': case L'\r': case L' ': case L'!': case L',': case L'.': case L':': case L';':
    case L'=': case L'?':
        return true;
    default:
        return false;
    }
}

void FindHighlightWord(const String& word, const String& text, bool caseSensitive, bool wholeWord,
                       int& rawPos, int& pos, wchar_t before) {
    auto upper = [](String s) {
        for (wchar_t& c : s) if (c >= L'a' && c <= L'z') c = wchar_t(c - 32);
        return s;
    };
    rawPos = caseSensitive ? PosOf(word, text) : PosOf(upper(word), upper(text));
    pos = rawPos;
    if (rawPos > 0 && wholeWord) {
        if ((rawPos > 1 ? text[rawPos - 2] : before) != L' ') pos = 0;
        const size_t after = size_t(rawPos - 1) + word.size();
        if (after < text.size() && !IsSearchWordEndChar(text[after])) pos = 0;
    }
}

int PosOf(const String& text, const String& s, int from) {
    if (text.empty() || from < 1) return 0;
    const size_t found = s.find(text, size_t(from - 1));
    return found == String::npos ? 0 : int(found) + 1;
}

int PosOfFirstListItem(const String& list, const String& text) {
    if (list.find(L',') == String::npos) return PosOf(list, text);
    size_t start = 0;
    while (start <= list.size()) {
        size_t comma = list.find(L',', start);
        if (comma == String::npos) comma = list.size();
        const int found = PosOf(list.substr(start, comma - start), text);
        if (found > 0) return found;
        start = comma + 1;
    }
    return 0;
}

int LastPos(const String& pattern, const String& text) {
    if (pattern.empty() || text.size() < pattern.size()) return 0;
    const size_t found = text.rfind(pattern);
    return found == String::npos ? 0 : int(found) + 1;
}

void DecIfPositive(int& value) {
    if (value > 0) --value;
}

String TrimRightBlanks(const String& text) {
    size_t end = text.size();
    while (end > 0 && text[end - 1] == L' ') --end;
    return text.substr(0, end);
}

void SwapInts(int& a, int& b) { std::swap(a, b); }

void OrderPositions(int& x1, int& y1, int& x2, int& y2) {
    if (y2 < y1 || (y2 == y1 && x2 < x1)) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
}

bool IsBaseWordDelimiter(wchar_t ch) {
    switch (ch) {
    case L' ': case L'!': case L'"': case L'\'': case L',': case L'.': case L';': case L'?':
    case L'`': case L'\x00B4':
        return true;
    default:
        return false;
    }
}

bool IsTokenDelimiterChar(wchar_t ch) {
    switch (ch) {
    case L' ': case L'"': case L'\'': case L'(': case L')': case L',': case L'.': case L':':
    case L';': case L'=': case L'[': case L']': case L'`': case L'\x00B4':
        return true;
    default:
        return false;
    }
}

namespace {
bool StartsWithAnyNoCase(const String& text, std::initializer_list<const wchar_t*> prefixes) {
    String s = text;
    for (wchar_t& c : s) if (c >= L'A' && c <= L'Z') c = wchar_t(c + 32);
    for (const wchar_t* prefix : prefixes)
        if (s.rfind(prefix, 0) == 0) return true;
    return false;
}
}  // namespace

bool WordIsURLText(const String& text) {
    return StartsWithAnyNoCase(text, {L"http://", L"https://", L"ftp://", L"nntp://", L"file://",
                                      L"mailto:", L"www."});
}

}  // namespace AdvMemo
