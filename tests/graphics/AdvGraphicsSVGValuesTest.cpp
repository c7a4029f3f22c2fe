#include "graphics/AdvGraphicsSVGValues.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <iterator>
#include <random>
#include <tuple>

#include "classlib/Exceptions.h"
#include "classlib/Strings.h"

using namespace AdvGraphicsSVGEngine;
using AdvGraphicsTypes::TAdvGraphicsMatrix;
using AdvTypes::PointF;

namespace {

// A path list as text: "M x,y L x,y C x,y x,y x,y Z", paths joined by " | ", numbers
// rounded to two decimals.
std::string Dump(const TAdvGraphicsSVGElementPathList& paths) {
    std::string out;
    auto number = [](float v) {
        char buffer[32];
        const double rounded = std::round(double(v) * 100) / 100;
        std::snprintf(buffer, sizeof buffer, "%g", rounded == 0 ? 0.0 : rounded);
        return std::string(buffer);
    };
    for (const auto& path : paths) {
        if (!out.empty()) out += " | ";
        std::string text;
        int curveEntry = 0;  // a cubic is three entries: its letter goes before the first
        for (const auto& entry : path->PathData()) {
            const std::string point = number(entry.Point.X) + "," + number(entry.Point.Y);
            switch (entry.Kind) {
            case AdvGraphicsTypes::gppMoveTo: text += " M " + point; break;
            case AdvGraphicsTypes::gppLineTo: text += " L " + point; break;
            case AdvGraphicsTypes::gppCurveTo: text += (curveEntry % 3 == 0 ? " C " : " ") + point; ++curveEntry; break;
            case AdvGraphicsTypes::gppClose: text += " Z"; break;
            }
        }
        out += text.empty() ? "" : text.substr(1);
    }
    return out;
}

std::string PathOf(const std::wstring& data) {
    TAdvGraphicsSVGElementPathList paths;
    ParsePathData(data, paths);
    return Dump(paths);
}

}  // namespace

TEST(SVGValues, NumbersAreDecimalDotAndFinite) {
    struct TCase { const wchar_t* Text; bool Ok; float Value; };
    const TCase cases[] = {
        {L"12", true, 12},   {L" -1.5 ", true, -1.5f}, {L"+3", true, 3},     {L".5", true, 0.5f},
        {L"1e-5", true, 1e-5f}, {L"3.4e38", true, 3.4e38f},
        {L"1e39", false, 0},   // beyond a float: infinite, so no number
        {L"1e400", false, 0},  {L"nan", false, 0}, {L"inf", false, 0}, {L"0x10", false, 0},
        {L"1,5", false, 0},    {L"", false, 0},    {L"2px", false, 0}, {L"--1", false, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Text)));
        float value = 7;
        EXPECT_EQ(TryParseNumber(c.Text, value), c.Ok);
        EXPECT_FLOAT_EQ(value, c.Ok ? c.Value : 7);  // a failure leaves the target alone
    }
}

TEST(SVGValues, NumbersIgnoreACommaDecimalProcessSetting) {
    ClassLib::TFormatSettingsScope comma(L',', L'.');
    float value = 0;
    EXPECT_TRUE(TryParseNumber(L"2.5", value));
    EXPECT_FLOAT_EQ(value, 2.5f);
    EXPECT_FLOAT_EQ(ParseLength(L"1.5pt"), 1.875f);
}

TEST(SVGValues, ColoursByEveryRule) {
    struct TCase { const wchar_t* Text; TSVGColorKind Kind; TColor Color; const wchar_t* URL; };
    const TCase cases[] = {
        {L"rgb(255,0,0)", TSVGColorKind::Color, 0x0000FF, L""},
        {L"rgb(100%,0%,0%)", TSVGColorKind::Color, 0x0000FF, L""},
        {L"rgb(ff,0,0)", TSVGColorKind::Color, 0x0000FF, L""},
        {L"rgb(300, 0, 0)", TSVGColorKind::Color, 0x0000FF, L""},  // capped at 255
        {L"rgb(0,128,0)", TSVGColorKind::Color, 0x008000, L""},
        {L"rgba(0,0,0,0)", TSVGColorKind::Transparent, 0, L""},
        {L"rgba(0,0,255,0.5)", TSVGColorKind::Color, 0xFF0000, L""},  // fractional alpha: no effect
        {L"rgb(1,2)", TSVGColorKind::Color, -1, L""},
        {L"rgb(x,0,0)", TSVGColorKind::Color, -1, L""},
        {L"#00ff00", TSVGColorKind::Color, 0x00FF00, L""},
        {L"#f00", TSVGColorKind::Color, 0x0000FF, L""},
        {L"#zz0000", TSVGColorKind::Color, -1, L""},  // malformed: no colour, no error
        {L"#", TSVGColorKind::Color, -1, L""},
        {L"red", TSVGColorKind::Color, 0x0000FF, L""},
        {L"url(#g)", TSVGColorKind::URL, 5, L"g"},
        {L"url('#g')", TSVGColorKind::URL, 5, L"g"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Text)));
        TColor color = 5;
        std::wstring url;
        EXPECT_EQ(ParseColorValue(c.Text, true, color, url), c.Kind);
        EXPECT_EQ(color, c.Color);
        EXPECT_EQ(url, c.URL);
    }
    TColor color = 5;
    std::wstring url;
    EXPECT_EQ(ParseColorValue(L"url(#g)", false, color, url), TSVGColorKind::Color);  // stop colours take no url
    EXPECT_EQ(url, L"");
}

TEST(SVGValues, LengthsAndAngles) {
    struct TLength { const wchar_t* Text; float Value; bool Percent; };
    const TLength lengths[] = {
        {L"12pt", 15, false}, {L"2pc", 30, false}, {L"1in", 25.4f, false}, {L"3em", 3, false},
        {L"50%", 50, true},   {L"10px", 10, false}, {L"1mm", 10, false},   {L"1cm", 100, false},
        {L"7", 7, false},     {L"", 0, false},      {L"abc", 0, false},    {L"1e39px", 0, false},
    };
    for (const TLength& c : lengths) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Text)));
        bool percent = !c.Percent;
        EXPECT_FLOAT_EQ(ParseLength(c.Text, &percent), c.Value);
        EXPECT_EQ(percent, c.Percent);
    }
    const float quarter = float(std::acos(-1.0) / 4);
    struct TAngle { const wchar_t* Text; float Radians; };
    const TAngle angles[] = {
        {L"45deg", quarter}, {L"50grad", quarter}, {L"45", quarter}, {L"1rad", 1}, {L"", 0}, {L"xdeg", 0},
    };
    for (const TAngle& c : angles) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Text)));
        EXPECT_NEAR(ParseAngle(c.Text), c.Radians, 1e-6);
    }
}

TEST(SVGValues, TransformsComposeRightmostFirst) {
    struct TCase { const wchar_t* Text; float X, Y; float MappedX, MappedY; };
    const TCase cases[] = {
        {L"translate(10,0) scale(2)", 1, 0, 12, 0},
        {L"scale(2) translate(10,0)", 1, 0, 22, 0},
        {L"translate(10,20) rotate(90)", 1, 0, 10, 21},
        {L"rotate(90)", 1, 0, 0, 1},              // about the origin
        {L"rotate(90 10 10)", 10, 0, 20, 10},     // about (10, 10)
        {L"translate(5)", 1, 1, 6, 1},
        {L"scale(2 3)", 1, 1, 2, 3},
        {L"matrix(1 0 0 1 7 8)", 0, 0, 7, 8},
        {L"matrix(1 0 0 1 7)", 1, 1, 1, 1},       // five numbers: identity
        {L"skewX(45)", 0, 1, 1, 1},
        {L"skewY(45)", 1, 0, 1, 1},
        {L"translate (3,3)", 1, 1, 1, 1},         // the name is "translate ": unknown
        {L"Translate(3,3)", 1, 1, 1, 1},
        {L"translate(1e39,0)", 1, 1, 1, 1},       // not a number: identity
        {L"translate(3,3", 1, 1, 1, 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Text)));
        const AdvTypes::TPointF p = PointF(c.X, c.Y) * ParseTransform(c.Text);
        EXPECT_NEAR(p.X, c.MappedX, 1e-4);
        EXPECT_NEAR(p.Y, c.MappedY, 1e-4);
    }
}

TEST(SVGValues, PointsTokenizeLikePathData) {
    struct TCase { const wchar_t* Text; bool Closed; const char* Paths; };
    const TCase cases[] = {
        {L"0,0 10-5 20,0", false, "M 0,0 L 10,-5 L 20,0"},
        {L"0,0 10,0 10,10", true, "M 0,0 L 10,0 L 10,10 Z"},
        {L"1e-5,0 1,1", false, "M 0,0 L 1,1"},     // 1e-5 stays one number
        {L"0,0 10,0 5", false, ""},                 // odd: nothing
        {L"", false, ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Text)));
        TAdvGraphicsSVGElementPathList paths;
        ParsePoints(c.Text, c.Closed, paths);
        EXPECT_EQ(Dump(paths), c.Paths);
    }
}

TEST(SVGValues, PathCommandTokens) {
    struct TCase { wchar_t Command; const wchar_t* Text; std::vector<std::wstring> Tokens; };
    const TCase cases[] = {
        {L'M', L"10-20", {L"M", L"10", L"-20"}},
        {L'L', L"1e-5 2", {L"L", L"1e-5", L"2"}},
        {L'L', L"1.2.3", {L"L", L"1.2", L".3"}},
        {L'L', L"0.5.5", {L"L", L"0.5", L".5"}},
        {L'L', L"1\t2\r\n3", {L"L", L"1", L"2", L"3"}},
        {L'L', L"1x2", {L"L", L"12"}},                    // other characters are dropped
        {L'a', L"5 5 0 015 5", {L"a", L"5", L"5", L"0", L"0", L"1", L"5", L"5"}},
        {L'a', L"5 5 0 1 1 5 5", {L"a", L"5", L"5", L"0", L"1", L"1", L"5", L"5"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Text)));
        EXPECT_EQ(TokenizePathCommand(c.Command, c.Text), c.Tokens);
    }
    struct TExpand { std::vector<std::wstring> In, Out; };
    const TExpand expansions[] = {
        {{L"L", L"1", L"2", L"3", L"4", L"5", L"6"}, {L"L", L"1", L"2", L"L", L"3", L"4", L"L", L"5", L"6"}},
        {{L"L", L"1", L"2", L"3", L"4", L"5"}, {L"L", L"1", L"2", L"3", L"4", L"5"}},  // remainder 1: as is
        {{L"M", L"1", L"2", L"3", L"4"}, {L"M", L"1", L"2", L"L", L"3", L"4"}},
        {{L"m", L"1", L"2", L"3", L"4"}, {L"m", L"1", L"2", L"l", L"3", L"4"}},
        {{L"z", L"1", L"2"}, {L"z"}},
        {{L"H", L"1", L"2"}, {L"H", L"1", L"H", L"2"}},
    };
    for (const TExpand& c : expansions) {
        std::vector<std::wstring> tokens = c.In;
        ExpandImplicitCommands(tokens);
        EXPECT_EQ(tokens, c.Out);
    }
}

TEST(SVGValues, PathData) {
    struct TCase { const wchar_t* Data; const char* Paths; };
    const TCase cases[] = {
        {L"M10-20L30,40 50 60z", "M 10,-20 L 30,40 L 50,60 Z"},
        {L"m 1 2 3 4", "M 1,2 L 4,6"},
        {L"M0 0 H5 V6 h1 v1", "M 0,0 L 5,0 L 5,6 L 6,6 L 6,7"},
        {L"M0 0 L1 1 2 2 3", "M 0,0 L 1,1"},               // five numbers: only the first line
        {L"M0 0 L1 L2 3", "M 0,0 L 1,0"},                   // the letter counts as no number and is consumed
        {L"L5 5 M1 1 L2 2", "M 1,1 L 2,2"},                 // before M: only the point moves
        {L"M0 0 10 0 M0 5 10 5", "M 0,0 L 10,0 | M 0,5 L 10,5"},
        {L"M0 0 L10 0 Z l0 5", "M 0,0 L 10,0 Z L 0,5"},     // after Z the start is the current point
        // Exact degree elevation: controls at 2/3 towards the quadratic control.
        {L"M0 0 Q3 3 6 0", "M 0,0 C 2,2 4,2 6,0"},
        // T reflects the previous control about the current point: (9,-3).
        {L"M0 0 Q3 3 6 0 T12 0", "M 0,0 C 2,2 4,2 6,0 C 8,-2 10,-2 12,0"},
        {L"M0 0 T6 0", "M 0,0 C 0,0 2,0 6,0"},
        // S reflects the second control of C about the current point.
        {L"M0 0 C0 5 5 5 5 0 S10 -5 10 0", "M 0,0 C 0,5 5,5 5,0 C 5,-5 10,-5 10,0"},
        {L"M0 0 S5 5 10 0", "M 0,0 C 0,0 5,5 10,0"},
        {L"M0 0 A5 5 0 0 1 0 0", "M 0,0"},                  // ends meet: nothing
        {L"M0 0 A0 5 0 0 1 10 0", "M 0,0 L 0,0 L 10,0"},    // a zero radius: a line
        {L"M0 0 a5 5 0 015 5", "M 0,0 L 0,0 C 2.76,0 5,2.24 5,5"},
        {L"M0 0 A5 5 0 1 1 10 0", "M 0,0 L 0,0 C 0,-2.76 2.24,-5 5,-5 L 5,-5 C 7.76,-5 10,-2.76 10,0"},
        {L"M0 0 A5 5 0 0 1 1e39 0", "M 0,0"},                // 1e39 is no number: x stays 0, the ends meet
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Data)));
        EXPECT_EQ(PathOf(c.Data), c.Paths);
    }
}

TEST(SVGValues, ArcsNearTheFloatLimitStayFinite) {
    TAdvGraphicsSVGElementPathList paths;
    ParsePathData(L"M3.4e38 0 A1 1 0 0 1 -3.4e38 0 A3e38 3e38 45 1 0 3e38 3e38", paths);
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_GT(paths[0]->Count(), 4);
    for (const auto& entry : paths[0]->PathData()) EXPECT_TRUE(AdvGraphicsTypes::IsFinitePoint(entry.Point));

    const float nan = std::nanf("");
    for (const auto& [rx, angle, endX] : {std::tuple{nan, 0.f, 10.f}, std::tuple{5.f, nan, 10.f}, std::tuple{5.f, 0.f, nan}}) {
        AdvGraphicsTypes::TAdvGraphicsPath path;
        path.MoveTo(PointF(0, 0));
        ArcToCurves(path, PointF(0, 0), rx, 5, angle, false, true, PointF(endX, 0));
        EXPECT_EQ(path.Count(), 1);  // a value that is no number adds nothing
    }
}

TEST(SVGValues, TruncatedPathDataRaisesAndKeepsWhatWasBuilt) {
    for (const wchar_t* data : {L"M0 0 L10 10 L5", L"M0 0 C1 2 3", L"M0"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(data)));
        TAdvGraphicsSVGElementPathList paths;
        try {
            ParsePathData(data, paths);
            ADD_FAILURE() << "no error";
        } catch (const ClassLib::EListError& e) {
            EXPECT_TRUE(std::wstring(e.Message()).starts_with(L"List index out of bounds ("));
        }
        if (std::wstring(data) != L"M0") {
            ASSERT_EQ(paths.size(), 1u);
            EXPECT_GE(paths[0]->Count(), 1);
        }
    }
}

namespace {

// The reading of class rules as it stood when it erased each rule from the front of the
// text: quadratic, and the reference the linear reading must agree with.
std::vector<TSVGClassRule> ClassRulesByErasing(const std::wstring& text) {
    std::vector<TSVGClassRule> rules;
    std::wstring rest = ClassLib::Trim(text);
    while (!rest.empty()) {
        const std::size_t dot = rest.find(L'.'), open = rest.find(L'{'), close = rest.find(L'}');
        if (dot == std::wstring::npos || open == std::wstring::npos || close == std::wstring::npos) break;
        TSVGClassRule rule;
        if (open > dot) rule.ClassName = rest.substr(dot + 1, open - dot - 1);
        if (close > open) {
            rule.HasDeclarations = true;
            rule.Declarations = rest.substr(open + 1, close - open - 1);
        }
        rules.push_back(rule);
        rest.erase(dot, close + 1);
        rest = ClassLib::Trim(rest);
    }
    return rules;
}

std::string Described(const std::vector<TSVGClassRule>& rules) {
    std::string text;
    for (const TSVGClassRule& r : rules)
        text += "[" + ClassLib::UTF8Encode(r.ClassName) + (r.HasDeclarations ? "|" + ClassLib::UTF8Encode(r.Declarations) : "") + "]";
    return text;
}

}  // namespace

TEST(SVGValues, ClassRulesReadAsTheyAlwaysWere) {
    struct TCase { const wchar_t* Text; const char* Rules; };
    const TCase cases[] = {
        {L".a{fill:red}.b{fill:blue}", "[a|fill:red][b|fill:blue]"},
        {L"  .a {fill:red}\n\t.b{ }  ", "[a |fill:red][b| ]"},
        {L"rect{fill:red} .a{fill:blue}", "[|fill:red]"},       // an element selector; the rest is dropped
        {L".a, .b{fill:red}", "[a, .b|fill:red]"},               // a grouped selector names no class of ours
        {L"g.a{fill:red}.b{fill:blue}", "[a|fill:red]"},         // the text before the dot stays in front
        {L"/* x */ .a{fill:red}", "[a|fill:red]"},
        {L".a{fill:red", ""},
        {L"", ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Text)));
        EXPECT_EQ(Described(SplitClassRules(c.Text)), c.Rules);
        EXPECT_EQ(Described(ClassRulesByErasing(c.Text)), c.Rules);
    }
    // Random texts of the characters that steer the reading, against the erasing reference.
    std::mt19937 random(11);
    const wchar_t alphabet[] = L"..{{}}  ab;:";
    for (int round = 0; round < 20000; ++round) {
        std::wstring text(random() % 24, L' ');
        for (wchar_t& ch : text) ch = alphabet[random() % (std::size(alphabet) - 1)];
        SCOPED_TRACE(testing::PrintToString(text));
        ASSERT_EQ(Described(SplitClassRules(text)), Described(ClassRulesByErasing(text)));
    }
}

TEST(SVGValues, FontFamilies) {
    struct TCase { const wchar_t* Text; const wchar_t* Name; bool Bold, Italic; };
    const TCase cases[] = {
        {L"Arial-BoldMT", L"Arial", true, false},
        {L"Helvetica, Arial", L"Arial", false, false},
        {L"Times-BoldItalic", L"Times", true, true},
        {L"Verdana", L"Verdana", false, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Text)));
        const TSVGFontFamily family = ParseFontFamily(c.Text);
        EXPECT_EQ(family.Name, c.Name);
        EXPECT_EQ(family.Style.Contains(ClassLib::fsBold), c.Bold);
        EXPECT_EQ(family.Style.Contains(ClassLib::fsItalic), c.Italic);
    }
}
