#include "graphics/AdvGraphicsSVGValues.h"

#include <charconv>
#include <cmath>
#include <cwctype>
#include <numbers>

#include "classlib/Exceptions.h"
#include "classlib/Strings.h"
#include "graphics/AdvGraphics.h"

namespace AdvGraphicsSVGEngine {

using AdvGraphicsTypes::TAdvGraphicsMatrix;
using AdvTypes::PointF;
using ClassLib::LowerCase;
using ClassLib::Trim;

namespace {

constexpr double Pi = std::numbers::pi;

bool EndsWith(const std::wstring& text, const std::wstring& tail) { return text.ends_with(tail); }

bool IsCommandLetter(wchar_t c) { return c != 0 && std::wstring_view(L"MmLlHhVvCcSsQqTtAaZz").find(c) != std::wstring_view::npos; }

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

std::vector<std::wstring> SplitDropEmpty(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> items;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(separator, start);
        if (end == std::wstring::npos) end = text.size();
        if (end > start) items.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return items;
}

bool AllOf(const std::wstring& text, int (*test)(std::wint_t)) {
    if (text.empty()) return false;
    for (wchar_t c : text)
        if (c > 127 || !test(std::wint_t(c))) return false;
    return true;
}

TPointF Reflect(const TPointF& control, const TPointF& about) {
    return PointF(2 * about.X - control.X, 2 * about.Y - control.Y);
}

bool Finite(const TPointF& p) { return std::isfinite(p.X) && std::isfinite(p.Y); }

}  // namespace

bool TryParseNumber(const std::wstring& text, float& value) {
    // Trimmed by hand into a buffer on the stack: every coordinate of a document comes
    // through here, and a copy of each on the heap cost a good part of the import.
    std::size_t first = 0, last = text.size();
    while (first < last && text[first] <= L' ') ++first;
    while (last > first && text[last - 1] <= L' ') --last;
    const std::size_t size = last - first;
    if (size == 0 || size > 64) return false;
    char narrow[64];
    for (std::size_t i = 0; i < size; ++i) {
        const wchar_t c = text[first + i];
        // Only what a decimal number is made of: no letters of "inf", "nan" or hex forms.
        if (!((c >= L'0' && c <= L'9') || c == L'.' || c == L'-' || c == L'+' || c == L'e' || c == L'E'))
            return false;
        narrow[i] = char(c);
    }
    const char* begin = narrow;
    const char* end = narrow + size;
    if (*begin == '+') ++begin;
    double parsed = 0;
    const auto result = std::from_chars(begin, end, parsed, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != end) return false;
    if (!std::isfinite(parsed) || !std::isfinite(float(parsed))) return false;
    value = float(parsed);
    return true;
}

int ParseColorComponent(const std::wstring& text) {
    std::wstring digits = Trim(text);
    const bool percent = !digits.empty() && digits.back() == L'%';
    if (percent) digits.pop_back();
    digits = L"0" + digits;
    long long value = 0;
    const bool decimal = AllOf(digits, std::iswdigit);
    if (decimal || AllOf(digits, std::iswxdigit)) {
        // Long runs of digits only get bigger; capped before they could overflow.
        for (wchar_t c : digits) {
            const int digit = std::iswdigit(std::wint_t(c)) ? c - L'0' : (std::towlower(std::wint_t(c)) - L'a' + 10);
            value = std::min<long long>(value * (decimal ? 10 : 16) + digit, 1000000);
        }
    } else {
        return -1;
    }
    if (percent) return int(ClassLib::Round(double(std::min<long long>(value, 100)) * 2.55));
    return int(std::min<long long>(value, 255));
}

TColor ParseRGBColor(const std::wstring& text, int& alpha) {
    alpha = -1;
    const bool withAlpha = text.starts_with(L"rgba(");
    if ((!withAlpha && !text.starts_with(L"rgb(")) || !text.ends_with(L")")) return -1;
    const std::size_t open = text.find(L'(');
    std::wstring inside = Trim(text.substr(open + 1, text.size() - open - 2));
    std::vector<std::wstring> parts;
    const int cuts = withAlpha ? 3 : 2;
    for (int i = 0; i < cuts; ++i) {
        const std::size_t comma = inside.find(L',');
        if (comma == std::wstring::npos) return -1;
        parts.push_back(inside.substr(0, comma));
        inside.erase(0, comma + 1);
    }
    parts.push_back(inside);
    if (!withAlpha) parts.push_back(L"255");
    const int r = ParseColorComponent(parts[0]);
    const int g = ParseColorComponent(parts[1]);
    const int b = ParseColorComponent(parts[2]);
    alpha = ParseColorComponent(parts[3]);
    if (r < 0 || g < 0 || b < 0) return -1;
    return TColor(r | (g << 8) | (b << 16));
}

TSVGColorKind ParseColorValue(const std::wstring& value, bool allowURL, TColor& color, std::wstring& urlID) {
    if (value.starts_with(L"#")) {
        try {
            color = AdvGraphics::TAdvGraphics::HTMLToColor(value);
        } catch (const std::exception&) {
            color = -1;  // a malformed colour is no colour, not a failed document
        }
        return TSVGColorKind::Color;
    }
    if (allowURL && value.starts_with(L"url(#")) {
        const std::size_t hash = value.find(L'#');
        const std::size_t close = value.find(L')');
        urlID = close == std::wstring::npos || close < hash ? value.substr(hash + 1) : value.substr(hash + 1, close - hash - 1);
        return TSVGColorKind::URL;
    }
    if (allowURL && value.starts_with(L"url('#")) {
        const std::size_t start = value.find(L"'#") + 2;
        const std::size_t close = value.find(L"')", start);
        urlID = close == std::wstring::npos ? value.substr(start) : value.substr(start, close - start);
        return TSVGColorKind::URL;
    }
    if (value.starts_with(L"rgb")) {
        int alpha = 0;
        color = ParseRGBColor(value, alpha);
        return alpha == 0 ? TSVGColorKind::Transparent : TSVGColorKind::Color;
    }
    color = AdvGraphics::TAdvGraphics::TextToColor(value);
    return TSVGColorKind::Color;
}

float ParseLength(const std::wstring& text, bool* percent) {
    if (percent) *percent = false;
    static const struct {
        const wchar_t* Unit;
        float Factor;
    } units[] = {{L"px", 1}, {L"pt", 1.25f}, {L"pc", 15}, {L"mm", 10}, {L"cm", 100},
                 {L"in", 25.4f}, {L"em", 1}, {L"ex", 1}};
    std::wstring number = text;
    float factor = 1;
    bool found = false;
    for (const auto& unit : units) {
        if (EndsWith(text, unit.Unit)) {
            number = text.substr(0, text.size() - 2);
            factor = unit.Factor;
            found = true;
            break;
        }
    }
    if (!found && EndsWith(text, L"%")) {
        number = text.substr(0, text.size() - 1);
        if (percent) *percent = true;
    }
    float value = 0;
    if (!TryParseNumber(number, value)) return 0;
    const float result = value * factor;
    return std::isfinite(result) ? result : 0;
}

float ParseAngle(const std::wstring& text) {
    float value = 0;
    auto before = [&](const wchar_t* unit) { return text.substr(0, text.find(unit)); };
    if (text.find(L"deg") != std::wstring::npos) {
        if (TryParseNumber(before(L"deg"), value)) return float(value * Pi / 180);
    } else if (text.find(L"grad") != std::wstring::npos) {
        if (TryParseNumber(before(L"grad"), value)) return float(value * Pi / 200);
    } else if (text.find(L"rad") != std::wstring::npos) {
        if (TryParseNumber(before(L"rad"), value)) return value;
    } else if (TryParseNumber(text, value)) {
        return float(value * Pi / 180);
    }
    return 0;
}

TAdvGraphicsMatrix ParseTransform(const std::wstring& text) {
    TAdvGraphicsMatrix result = TAdvGraphicsMatrix::Identity();
    std::wstring rest = Trim(text);
    for (;;) {
        const std::size_t open = rest.find(L'(');
        const std::size_t close = rest.find(L')');
        if (open == std::wstring::npos || close == std::wstring::npos || close < open) break;
        const std::wstring name = rest.substr(0, open);
        std::wstring arguments = Trim(rest.substr(open + 1, close - open - 1));
        for (wchar_t& c : arguments)
            if (IsBlank(c)) c = L',';
        rest = Trim(rest.substr(close + 1));

        const std::vector<std::wstring> items = SplitDropEmpty(arguments, L',');
        std::vector<float> numbers;
        bool allNumbers = true;
        for (const std::wstring& item : items) {
            float v = 0;
            if (!TryParseNumber(item, v)) allNumbers = false;
            numbers.push_back(v);
        }
        const std::size_t n = numbers.size();
        TAdvGraphicsMatrix m = TAdvGraphicsMatrix::Identity();
        if (name == L"matrix") {
            if (n == 6 && allNumbers) {
                m.m11 = numbers[0]; m.m12 = numbers[1];
                m.m21 = numbers[2]; m.m22 = numbers[3];
                m.m31 = numbers[4]; m.m32 = numbers[5];
            }
        } else if (name == L"translate") {
            if ((n == 1 || n == 2) && allNumbers) m = TAdvGraphicsMatrix::CreateTranslation(numbers[0], n == 2 ? numbers[1] : 0);
        } else if (name == L"scale") {
            if ((n == 1 || n == 2) && allNumbers) m = TAdvGraphicsMatrix::CreateScaling(numbers[0], n == 2 ? numbers[1] : numbers[0]);
        } else if (name == L"rotate") {
            if (!items.empty()) {
                const float angle = ParseAngle(items[0]);
                float cx = 0, cy = 0;
                if (n == 3) {
                    cx = numbers[1];
                    cy = numbers[2];
                }
                m = TAdvGraphicsMatrix::CreateTranslation(-cx, -cy) * TAdvGraphicsMatrix::CreateRotation(angle) *
                    TAdvGraphicsMatrix::CreateTranslation(cx, cy);
            }
        } else if (name == L"skewX" || name == L"skewY") {
            if (n == 1) {
                const float t = std::tan(ParseAngle(items[0]));
                if (std::isfinite(t)) (name == L"skewX" ? m.m21 : m.m12) = t;
            }
        }
        // Row vectors: the function written last acts first, so each new one goes in front.
        result = m * result;
    }
    return result;
}

void ParsePoints(const std::wstring& text, bool closed, TAdvGraphicsSVGElementPathList& paths) {
    std::wstring spaced = text;
    for (wchar_t& c : spaced)
        if (c == L',') c = L' ';
    std::vector<std::wstring> tokens = TokenizePathCommand(L' ', spaced);
    tokens.erase(tokens.begin());
    if (tokens.size() % 2 != 0) return;
    std::vector<TPointF> points;
    for (std::size_t i = 0; i < tokens.size(); i += 2) {
        float x = 0, y = 0;
        TryParseNumber(tokens[i], x);
        TryParseNumber(tokens[i + 1], y);
        points.push_back(PointF(x, y));
    }
    auto path = std::make_unique<TAdvGraphicsPath>();
    if (!points.empty()) {
        path->MoveTo(points[0]);
        for (std::size_t i = 1; i < points.size(); ++i) path->LineTo(points[i]);
        if (closed) path->ClosePath();
    }
    paths.push_back(std::move(path));
}

std::vector<std::wstring> TokenizePathCommand(wchar_t command, const std::wstring& text) {
    std::vector<std::wstring> tokens{std::wstring(1, command)};
    const bool arc = command == L'A' || command == L'a';
    std::wstring token;
    bool point = false, exponent = false;
    auto end = [&] {
        if (!token.empty()) tokens.push_back(token);
        token.clear();
        point = exponent = false;
    };
    for (wchar_t c : text) {
        // An arc's two flags are single digits, so "015" is the flags 0 and 1 and then 5.
        if (arc && token.empty() && (c == L'0' || c == L'1')) {
            const std::size_t index = tokens.size() - 1;  // numbers before this one
            if (index % 7 == 3 || index % 7 == 4) {
                tokens.push_back(std::wstring(1, c));
                continue;
            }
        }
        if (IsBlank(c)) {
            end();
        } else if (c == L'+' || c == L'-') {
            if (exponent && (token.back() == L'e' || token.back() == L'E')) {
                token.push_back(c);
            } else {
                end();
                token.push_back(c);
            }
        } else if (c == L'.') {
            if (point || exponent) end();
            token.push_back(c);
            point = true;
        } else if (c >= L'0' && c <= L'9') {
            token.push_back(c);
        } else if (c == L'e' || c == L'E') {
            if (exponent) {
                end();
                token.push_back(c);
            } else {
                token.push_back(c);
            }
            exponent = true;
        }
    }
    end();
    return tokens;
}

void ExpandImplicitCommands(std::vector<std::wstring>& tokens) {
    if (tokens.empty()) return;
    const wchar_t command = tokens[0].empty() ? 0 : tokens[0][0];
    if (command == L'Z' || command == L'z') {
        tokens.resize(1);
        return;
    }
    std::size_t n = 0;
    switch (command) {
    case L'A': case L'a': n = 7; break;
    case L'C': case L'c': n = 6; break;
    case L'S': case L's': case L'Q': case L'q': n = 4; break;
    case L'M': case L'm': case L'L': case L'l': case L'T': case L't': n = 2; break;
    case L'H': case L'h': case L'V': case L'v': n = 1; break;
    default: return;
    }
    const std::size_t count = tokens.size() - 1;
    if (count < 2 * n || count % n == 1) return;
    const std::wstring repeat = command == L'M' ? L"L" : command == L'm' ? L"l" : tokens[0];
    std::vector<std::wstring> expanded{tokens[0]};
    expanded.reserve(tokens.size() + count / n);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0 && i % n == 0 && i + n <= count) expanded.push_back(repeat);
        expanded.push_back(std::move(tokens[i + 1]));
    }
    tokens = std::move(expanded);
}

void ArcToCurves(TAdvGraphicsPath& path, const TPointF& current, float rxIn, float ryIn, float angle, bool largeArc,
                 bool sweep, const TPointF& end) {
    if (end == current) return;
    if (!Finite(current) || !Finite(end) || !std::isfinite(rxIn) || !std::isfinite(ryIn) || !std::isfinite(angle))
        return;
    auto lineOrMove = [&path](const TPointF& p) {
        if (path.Count() == 0) path.MoveTo(p);
        else path.LineTo(p);
    };
    double rx = std::fabs(double(rxIn)), ry = std::fabs(double(ryIn));
    if (rx == 0 || ry == 0) {
        lineOrMove(current);
        path.LineTo(end);
        return;
    }
    // Endpoint to centre, computed in double so that coordinates near the float limit
    // do not overflow on the way.
    const double phi = double(angle) * Pi / 180;
    const double cosPhi = std::cos(phi), sinPhi = std::sin(phi);
    const double dx = (double(current.X) - end.X) / 2, dy = (double(current.Y) - end.Y) / 2;
    const double x1 = cosPhi * dx + sinPhi * dy;
    const double y1 = -sinPhi * dx + cosPhi * dy;
    const double lambda = (x1 * x1) / (rx * rx) + (y1 * y1) / (ry * ry);
    if (lambda > 1) {
        rx *= std::sqrt(lambda);
        ry *= std::sqrt(lambda);
    }
    const double num = rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1;
    const double den = rx * rx * y1 * y1 + ry * ry * x1 * x1;
    double factor = den == 0 ? 0 : std::sqrt(std::max(0.0, num / den));
    if (largeArc == sweep) factor = -factor;
    const double cxp = factor * rx * y1 / ry;
    const double cyp = -factor * ry * x1 / rx;
    const double cx = cosPhi * cxp - sinPhi * cyp + (double(current.X) + end.X) / 2;
    const double cy = sinPhi * cxp + cosPhi * cyp + (double(current.Y) + end.Y) / 2;

    auto vectorAngle = [](double ux, double uy, double vx, double vy) {
        double a = std::atan2(vy, vx) - std::atan2(uy, ux);
        while (a < 0) a += 2 * Pi;
        while (a >= 2 * Pi) a -= 2 * Pi;
        return a;
    };
    const double theta1 = vectorAngle(1, 0, (x1 - cxp) / rx, (y1 - cyp) / ry);
    double delta = vectorAngle((x1 - cxp) / rx, (y1 - cyp) / ry, (-x1 - cxp) / rx, (-y1 - cyp) / ry);
    if (!sweep && delta > 0) delta -= 2 * Pi;
    else if (sweep && delta < 0) delta += 2 * Pi;
    if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(theta1) || !std::isfinite(delta)) {
        lineOrMove(current);
        path.LineTo(end);
        return;
    }

    const int parts = std::max(1, int(std::ceil(std::fabs(delta) / (Pi / 2) - 1e-9)));
    const double step = delta / parts;
    const double k = 4.0 / 3.0 * std::tan(step / 4);
    auto at = [&](double t) {
        const double ex = rx * std::cos(t), ey = ry * std::sin(t);
        return PointF(float(cx + cosPhi * ex - sinPhi * ey), float(cy + sinPhi * ex + cosPhi * ey));
    };
    auto tangent = [&](double t) {
        const double ex = -rx * std::sin(t), ey = ry * std::cos(t);
        return std::pair<double, double>(cosPhi * ex - sinPhi * ey, sinPhi * ex + cosPhi * ey);
    };
    // All parts first: an arc whose curve would leave the float range becomes a line.
    std::vector<TPointF> points;
    for (int i = 0; i < parts; ++i) {
        const double t0 = theta1 + step * i, t1 = t0 + step;
        const TPointF p0 = i == 0 ? current : at(t0);
        const TPointF p3 = i == parts - 1 ? end : at(t1);
        const auto [d0x, d0y] = tangent(t0);
        const auto [d1x, d1y] = tangent(t1);
        points.insert(points.end(), {p0, PointF(float(p0.X + k * d0x), float(p0.Y + k * d0y)),
                                     PointF(float(p3.X - k * d1x), float(p3.Y - k * d1y)), p3});
    }
    for (const TPointF& p : points) {
        if (!Finite(p)) {
            lineOrMove(current);
            path.LineTo(end);
            return;
        }
    }
    for (std::size_t i = 0; i < points.size(); i += 4) {
        lineOrMove(points[i]);
        path.CurveTo(points[i + 1], points[i + 2], points[i + 3]);
    }
}

void ParsePathData(const std::wstring& text, TAdvGraphicsSVGElementPathList& paths) {
    std::wstring data = text;
    for (wchar_t& c : data)
        if (c == L',') c = L' ';

    std::vector<std::wstring> tokens;
    std::size_t position = 0;
    while (position < data.size()) {
        std::size_t next = position + 1;
        while (next < data.size() && !IsCommandLetter(data[next])) ++next;
        std::vector<std::wstring> command =
            TokenizePathCommand(data[position], Trim(data.substr(position + 1, next - position - 1)));
        ExpandImplicitCommands(command);
        tokens.insert(tokens.end(), std::make_move_iterator(command.begin()), std::make_move_iterator(command.end()));
        position = next;
    }

    std::size_t index = 0;
    // A command letter met where a number belongs counts as no number and is consumed.
    auto read = [&](float& value) {
        if (index >= tokens.size()) ClassLib::RaiseListIndexError(int(index));
        const std::wstring& token = tokens[index++];
        if (!token.empty() && IsCommandLetter(token[0])) return;
        TryParseNumber(token, value);
    };
    TPointF current;
    TPointF lastControl;
    wchar_t previous = 0;
    TAdvGraphicsPath* path = nullptr;
    float x = 0, y = 0, x1 = 0, y1 = 0, x2 = 0, y2 = 0, rx = 0, ry = 0, angle = 0, large = 0, sweepFlag = 0;
    while (index < tokens.size()) {
        const std::wstring& token = tokens[index++];
        if (token.empty() || !IsCommandLetter(token[0])) continue;
        const wchar_t command = token[0];
        const bool relative = command >= L'a';
        const float ox = relative ? current.X : 0, oy = relative ? current.Y : 0;
        const wchar_t upper = wchar_t(std::towupper(std::wint_t(command)));
        switch (upper) {
        case L'M':
            read(x); read(y);
            current = PointF(x + ox, y + oy);
            paths.push_back(std::make_unique<TAdvGraphicsPath>());
            path = paths.back().get();
            path->MoveTo(current);
            break;
        case L'L': case L'H': case L'V': {
            TPointF target = current;
            if (upper == L'L') { read(x); read(y); target = PointF(x + ox, y + oy); }
            else if (upper == L'H') { read(x); target.X = x + ox; }
            else { read(y); target.Y = y + oy; }
            if (path) path->LineTo(target);
            current = target;
            break;
        }
        case L'C': {
            read(x1); read(y1); read(x2); read(y2); read(x); read(y);
            const TPointF c2 = PointF(x2 + ox, y2 + oy), end = PointF(x + ox, y + oy);
            if (path) path->CurveTo(PointF(x1 + ox, y1 + oy), c2, end);
            lastControl = c2;
            current = end;
            break;
        }
        case L'S': {
            read(x2); read(y2); read(x); read(y);
            const bool smooth = previous && std::wstring_view(L"CcSs").find(previous) != std::wstring_view::npos;
            const TPointF c1 = smooth ? Reflect(lastControl, current) : current;
            const TPointF c2 = PointF(x2 + ox, y2 + oy), end = PointF(x + ox, y + oy);
            if (path) path->CurveTo(c1, c2, end);
            lastControl = c2;
            current = end;
            break;
        }
        case L'Q': {
            read(x1); read(y1); read(x); read(y);
            const TPointF control = PointF(x1 + ox, y1 + oy), end = PointF(x + ox, y + oy);
            if (path) path->QuadCurveTo(control, end);
            lastControl = control;
            current = end;
            break;
        }
        case L'T': {
            read(x); read(y);
            const bool smooth = previous && std::wstring_view(L"QqTt").find(previous) != std::wstring_view::npos;
            const TPointF control = smooth ? Reflect(lastControl, current) : current;
            const TPointF end = PointF(x + ox, y + oy);
            if (path) path->QuadCurveTo(control, end);
            lastControl = control;
            current = end;
            break;
        }
        case L'A': {
            read(rx); read(ry); read(angle); read(large); read(sweepFlag); read(x); read(y);
            const TPointF end = PointF(x + ox, y + oy);
            if (path) ArcToCurves(*path, current, std::fabs(rx), std::fabs(ry), angle, large != 0, sweepFlag != 0, end);
            current = end;
            break;
        }
        case L'Z':
            if (path) {
                path->ClosePath();
                current = path->LastPoint();
            }
            break;
        }
        previous = command;
    }
}

void ForEachClassRule(std::wstring_view text, const TSVGClassRuleVisitor& visit) {
    // The rest of the text is kept as `kept` (what lay before a rule's "." stays in front
    // of the rest; it holds no ".") followed by text[from, to): nothing is erased in place,
    // so every character is looked at a bounded number of times.
    constexpr std::size_t none = std::wstring_view::npos;
    const auto blank = [](wchar_t c) { return c <= L' '; };
    std::size_t from = 0, to = text.size();
    while (from < to && blank(text[from])) ++from;
    while (to > from && blank(text[to - 1])) --to;
    std::wstring kept;
    std::size_t keptOpen = none, keptClose = none;   // the first "{" and "}" in `kept`
    // The next of a character at or after `from`; found again only once `from` passed it.
    struct TNext {
        wchar_t Char;
        std::size_t At = 0;
        bool Known = false;
    };
    TNext dots{L'.'}, opens{L'{'}, closes{L'}'};
    const auto next = [&text, &from](TNext& n) {
        if (!n.Known || (n.At != none && n.At < from)) {
            n.At = text.find(n.Char, from);
            n.Known = true;
        }
        return n.At;
    };
    std::wstring classBuffer, declarationsBuffer;
    while (!kept.empty() || from < to) {
        const std::size_t k = kept.size();
        // Positions within the rest (kept, then the text from `from`).
        const std::size_t dotAt = next(dots);
        if (dotAt == none) break;
        const std::size_t dot = k + (dotAt - from);
        std::size_t open = keptOpen, close = keptClose;
        if (open == none) {
            const std::size_t at = next(opens);
            if (at == none) break;
            open = k + (at - from);
        }
        if (close == none) {
            const std::size_t at = next(closes);
            if (at == none) break;
            close = k + (at - from);
        }
        // The rest's characters [a, b): a view of the text where they all lie in it (the
        // usual case: nothing kept), else put together in `buffer`.
        const auto part = [&](std::size_t a, std::size_t b, std::wstring& buffer) -> std::wstring_view {
            if (a >= k) return text.substr(from + (a - k), b - a);
            buffer.assign(kept, a, std::min(b, k) - a);
            if (b > k) buffer.append(text.substr(from, b - k));
            return buffer;
        };
        const std::wstring_view className = open > dot ? part(dot + 1, open, classBuffer) : std::wstring_view();
        const bool hasDeclarations = close > open;
        visit(className, hasDeclarations,
              hasDeclarations ? part(open + 1, close, declarationsBuffer) : std::wstring_view());
        // What lay before the "." stays; the rest goes on after the dropped characters.
        for (std::size_t i = from; i < dotAt; ++i) {
            if (keptOpen == none && text[i] == L'{') keptOpen = kept.size();
            if (keptClose == none && text[i] == L'}') keptClose = kept.size();
            kept += text[i];
        }
        from = std::min(to, dotAt + close + 1);
        if (kept.empty()) {
            while (from < to && blank(text[from])) ++from;
        } else if (from >= to) {
            while (!kept.empty() && blank(kept.back())) kept.pop_back();
        }
    }
}

std::vector<TSVGClassRule> SplitClassRules(std::wstring_view text) {
    std::vector<TSVGClassRule> rules;
    ForEachClassRule(text, [&rules](std::wstring_view className, bool hasDeclarations, std::wstring_view declarations) {
        rules.push_back({std::wstring(className), hasDeclarations, std::wstring(declarations)});
    });
    return rules;
}

TSVGFontFamily ParseFontFamily(const std::wstring& text) {
    TSVGFontFamily result;
    std::wstring name = text;
    auto take = [&](const std::wstring& word, ClassLib::TFontStyle style) {
        const std::size_t at = name.find(word);
        if (at == std::wstring::npos) return;
        result.Style += style;
        name.erase(at, word.size());
    };
    take(L"Bold", ClassLib::fsBold);
    take(L"Italic", ClassLib::fsItalic);
    if (name.ends_with(L"-")) name.pop_back();
    if (name.ends_with(L"MT")) {
        name.resize(name.size() - 2);
        if (name.ends_with(L"-")) name.pop_back();
    }
    if (name.find(L',') != std::wstring::npos) {
        // The second family of a list, as the importer has always taken it.
        const std::size_t first = name.find(L',');
        const std::size_t second = name.find(L',', first + 1);
        name = Trim(name.substr(first + 1, second == std::wstring::npos ? std::wstring::npos : second - first - 1));
    }
    result.Name = name;
    return result;
}

}  // namespace AdvGraphicsSVGEngine
