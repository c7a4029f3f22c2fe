#include "graphics/AdvGraphicsSVGEngine.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <tuple>

#include "classlib/Canvas.h"
#include "classlib/Exceptions.h"
#include "classlib/Pictures.h"
#include "classlib/Streams.h"
#include "classlib/Strings.h"
#include "graphics/AdvGraphics.h"
#include "graphics/AdvUtils.h"
#include "support/SourceTree.h"

using namespace AdvGraphicsSVGEngine;
using AdvTypes::PointF;
using AdvTypes::RectF;
using ClassLib::TColor;

namespace {

// A document tree built in code, read through the importer's node seam.
struct TNode {
    std::wstring Name;
    std::vector<std::pair<std::wstring, std::wstring>> Attributes;
    std::vector<TNode> Children;
    std::wstring Text;
};

TNode E(const std::wstring& name, std::vector<std::pair<std::wstring, std::wstring>> attributes = {},
        std::vector<TNode> children = {}) {
    return TNode{name, std::move(attributes), std::move(children), {}};
}
TNode T(const std::wstring& text) { return TNode{L"#text", {}, {}, text}; }

class TNodeView : public ISVGNode {
public:
    explicit TNodeView(const TNode& node) : FNode(node) {}
    std::wstring Name() const override { return FNode.Name; }
    bool IsText() const override { return FNode.Name == L"#text"; }
    std::wstring Text() const override {
        std::wstring text = FNode.Text;
        for (const TNode& child : FNode.Children) text += TNodeView(child).Text();
        return text;
    }
    int ChildCount() const override { return int(FNode.Children.size()); }
    std::unique_ptr<ISVGNode> Child(int index) const override {
        return std::make_unique<TNodeView>(FNode.Children[std::size_t(index)]);
    }
    int AttributeCount() const override { return int(FNode.Attributes.size()); }
    std::wstring AttributeName(int index) const override { return FNode.Attributes[std::size_t(index)].first; }
    std::wstring AttributeValue(int index) const override { return FNode.Attributes[std::size_t(index)].second; }
    bool Attribute(const std::wstring& name, std::wstring& value) const override {
        for (const auto& [n, v] : FNode.Attributes) {
            if (n == name) {
                value = v;
                return true;
            }
        }
        return false;
    }
private:
    const TNode& FNode;
};

void Load(TAdvGraphicsSVGImport& svg, const TNode& root) {
    svg.Clear();
    svg.LoadFromNode(TNodeView(root));
}

bool SameRect(const AdvTypes::TRectF& a, const AdvTypes::TRectF& b) {
    return std::abs(a.Left - b.Left) < 1e-3 && std::abs(a.Top - b.Top) < 1e-3 && std::abs(a.Right - b.Right) < 1e-3 &&
           std::abs(a.Bottom - b.Bottom) < 1e-3;
}

std::string RectText(const AdvTypes::TRectF& r) {
    return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
           std::to_string(r.Bottom);
}

// A white bitmap the import is drawn on, then probed.
struct TPaper {
    ClassLib::TBitmap Bitmap;
    explicit TPaper(int width = 100, int height = 100) : Bitmap(width, height, ClassLib::pf32bit) {
        Bitmap.Canvas()->Brush()->SetColor(ClassLib::clWhite);
        Bitmap.Canvas()->FillRect(ClassLib::TRect{0, 0, width, height});
    }
    TColor At(int x, int y) { return Bitmap.Canvas()->Pixels(x, y); }
};

int Channel(TColor c, int shift) { return (unsigned(c) >> shift) & 0xFF; }

}  // namespace

// ---- reading

TEST(SVGImport, ViewRectFromViewBoxSizeOrBounds) {
    struct TCase { const char* Name; TNode Root; AdvTypes::TRectF View; };
    const TCase cases[] = {
        {"viewBox", E(L"svg", {{L"viewBox", L" 10 10  100 50 "}, {L"width", L"5"}, {L"height", L"5"}}, {E(L"rect")}),
         {10, 10, 110, 60}},
        {"size", E(L"svg", {{L"width", L"200"}, {L"height", L"100px"}}, {E(L"rect")}), {0, 0, 200, 100}},
        {"commas are no separators", E(L"svg", {{L"viewBox", L"0,0,5,5"}}, {}), {0, 0, 0, 0}},
        {"bounds", E(L"svg", {}, {E(L"rect", {{L"x", L"5"}, {L"y", L"6"}, {L"width", L"10"}, {L"height", L"4"}}),
                                  E(L"g", {{L"transform", L"translate(100,0)"}},
                                    {E(L"circle", {{L"cx", L"0"}, {L"cy", L"0"}, {L"r", L"3"}})})}),
         {5, -3, 103, 10}},
        {"nothing drawable", E(L"svg", {}, {E(L"defs", {}, {E(L"rect", {{L"width", L"9"}, {L"height", L"9"}})})}),
         {0, 0, 0, 0}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TAdvGraphicsSVGImport svg;
        Load(svg, c.Root);
        EXPECT_TRUE(SameRect(svg.ViewRect(), c.View)) << RectText(svg.ViewRect());
    }
}

TEST(SVGImport, CommaDecimalSettingsGiveTheSameViewRectAndStayAsTheyWere) {
    ClassLib::TFormatSettingsScope comma(L',', L'.');
    TAdvGraphicsSVGImport svg;
    Load(svg, E(L"svg", {{L"viewBox", L"0 0 10.5 20.25"}}, {E(L"rect")}));
    EXPECT_TRUE(SameRect(svg.ViewRect(), {0, 0, 10.5f, 20.25f})) << RectText(svg.ViewRect());
    EXPECT_EQ(ClassLib::FormatSettings().DecimalSeparator, L',');
    EXPECT_EQ(ClassLib::FormatSettings().ThousandSeparator, L'.');
}

TEST(SVGImport, UrlReferencesInBothSpellingsResolve) {
    TAdvGraphicsSVGImport svg;
    Load(svg, E(L"svg", {}, {E(L"defs", {}, {E(L"linearGradient", {{L"id", L"g"}}, {E(L"stop")})}),
                             E(L"rect", {{L"stroke", L"url('#g')"}}), E(L"rect", {{L"fill", L"url(#g)"}})}));
    ASSERT_EQ(svg.ElementCount(), 2);
    for (const auto& e : svg.Elements()) {
        EXPECT_EQ(e->URLRefID(), L"g");
        ASSERT_NE(e->PatternRef(), nullptr);
        EXPECT_EQ(e->PatternRef()->ID(), L"g");
    }
}

TEST(SVGImport, UseSwitchAndNestedSvgAreSkipped) {
    TAdvGraphicsSVGImport svg;
    Load(svg, E(L"svg", {}, {E(L"use", {{L"href", L"#a"}}), E(L"switch", {}, {E(L"rect")}),
                             E(L"svg", {}, {E(L"rect")}), E(L"a", {}, {E(L"rect")}), T(L"  \n "),
                             E(L"circle", {{L"r", L"2"}})}));
    ASSERT_EQ(svg.ElementCount(), 1);
    EXPECT_EQ(svg.Elements()[0]->Type(), etCircle);
}

TEST(SVGImport, ClassRulesOfSingleClassesOnly) {
    TAdvGraphicsSVGImport svg;
    Load(svg, E(L"svg", {}, {E(L"style", {}, {T(L".a{fill:red}.b{fill:blue}")}), E(L"rect", {{L"class", L"b"}})}));
    ASSERT_EQ(svg.DefsList().size(), 2u);
    EXPECT_EQ(svg.DefsList()[0]->ClassRefID(), L"a");
    EXPECT_EQ(svg.DefsList()[1]->ClassRefID(), L"b");
    ASSERT_NE(svg.Elements()[0]->ClassRef(), nullptr);
    EXPECT_EQ(svg.Elements()[0]->ClassRef()->FillColor(), TColor(0xFF0000));

    Load(svg, E(L"svg", {}, {E(L"style", {}, {T(L".a, .b{fill:red}")}), E(L"rect", {{L"class", L"a"}}),
                             E(L"rect", {{L"class", L"b"}})}));
    for (const auto& e : svg.Elements()) EXPECT_EQ(e->ClassRef(), nullptr);
}

// Style sheets and references of any size load in time that grows with their size: class
// rules, gradients referring to each other and classed elements each once.
TEST(SVGImport, LargeStyleSheetsAndReferencesLoadInLinearTime) {
    std::wstring rules;
    for (int i = 0; rules.size() < 2 * 1024 * 1024; ++i) rules += L".c" + std::to_wstring(i) + L"{fill:#102030}";
    std::vector<TNode> children = {E(L"style", {}, {T(rules)})};
    std::vector<TNode> gradients;
    for (int i = 0; i < 30000; ++i)
        gradients.push_back(E(L"linearGradient", {{L"id", L"g" + std::to_wstring(i)},
                                                  {L"xlink:href", L"#g" + std::to_wstring((i + 1) % 30000)}}));
    children.push_back(E(L"defs", {}, std::move(gradients)));
    for (int i = 0; i < 15000; ++i)
        children.push_back(E(L"rect", {{L"class", L"c" + std::to_wstring(i)}, {L"fill", L"url(#g" + std::to_wstring(i) + L")"}}));
    const TNode root = E(L"svg", {{L"viewBox", L"0 0 10 10"}}, std::move(children));
    TAdvGraphicsSVGImport svg;
    const auto start = std::chrono::steady_clock::now();
    Load(svg, root);
    // Generous: the erasing and searching reading took most of an hour here.
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 60);
    ASSERT_EQ(svg.Elements().size(), 15000u);
    const TAdvGraphicsSVGElement& last = *svg.Elements().back();
    ASSERT_NE(last.ClassRef(), nullptr);
    EXPECT_EQ(last.ClassRef()->ClassRefID(), L"c14999");
    ASSERT_NE(last.PatternRef(), nullptr);
    EXPECT_EQ(last.PatternRef()->ID(), L"g14999");
    ASSERT_NE(last.PatternRef()->HRefRef(), nullptr);
    EXPECT_EQ(last.PatternRef()->HRefRef()->ID(), L"g15000");
    EXPECT_TRUE(svg.CheckInvariants());
}

// A rule that a "class" declaration listed among the classed elements and that is then
// dropped (its class is empty) must not stay listed: it is freed.
TEST(SVGImport, DroppedRulesLeaveNoElementBehind) {
    TAdvGraphicsSVGImport svg;
    Load(svg, E(L"svg", {}, {E(L"style", {}, {T(L".a{class:}.b{class:c;fill:red} x{class:d}")}),
                             E(L"rect", {{L"class", L"a"}}), E(L"rect", {{L"class", L"c"}})}));
    EXPECT_TRUE(svg.CheckInvariants());
    ASSERT_EQ(svg.DefsList().size(), 1u);   // only the rule whose class is then "c" stays
    EXPECT_EQ(svg.DefsList()[0]->ClassRefID(), L"c");
    EXPECT_EQ(svg.Elements()[1]->ClassRef(), svg.DefsList()[0].get());
}

TEST(SVGImport, StyleDeclarationsWinOverPresentationAttributes) {
    struct TCase { const char* Name; TNode Rect; const wchar_t* Fill; float Width; const wchar_t* WidthValue; };
    const TCase cases[] = {
        {"style wins", E(L"rect", {{L"style", L"fill:red;stroke-width:3"}, {L"fill", L"blue"}, {L"stroke-width", L"2"}}),
         L"red", 3, L"3"},
        {"attribute alone", E(L"rect", {{L"fill", L"blue"}}), L"blue", 1, L"default"},
        {"first declaration kept", E(L"rect", {{L"style", L"stroke-width:4"}}), L"default", 4, L"4"},
        {"a unit is no plain number", E(L"rect", {{L"stroke-width", L"2px"}}), L"default", 1, L"2px"},
        {"transparent rgba", E(L"rect", {{L"fill", L"rgba(0,0,0,0)"}}), L"none", 1, L"default"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TAdvGraphicsSVGImport svg;
        Load(svg, E(L"svg", {}, {c.Rect}));
        ASSERT_EQ(svg.ElementCount(), 1);
        const TAdvGraphicsSVGElement& e = *svg.Elements()[0];
        EXPECT_EQ(e.FillColorValue(), c.Fill);
        EXPECT_FLOAT_EQ(e.StrokeWidth(), c.Width);
        EXPECT_EQ(e.StrokeWidthValue(), c.WidthValue);
    }
}

TEST(SVGImport, TextElements) {
    TAdvGraphicsSVGImport svg;
    Load(svg, E(L"svg", {}, {E(L"text", {{L"x", L"3"}, {L"font-family", L"Arial-BoldMT"}}, {T(L" Hi ")}),
                             E(L"text", {}, {T(L"a"), E(L"tspan", {{L"x", L"7"}}, {T(L"b")})})}));
    ASSERT_EQ(svg.ElementCount(), 2);
    EXPECT_EQ(svg.Elements()[0]->Text(), L" Hi ");  // untrimmed; no children made
    EXPECT_FALSE(svg.Elements()[0]->HasElements());
    EXPECT_EQ(svg.Elements()[0]->FontFamily(), L"Arial");
    EXPECT_TRUE(svg.Elements()[0]->FontStyle().Contains(ClassLib::fsBold));
    TAdvGraphicsSVGElement& mixed = *svg.Elements()[1];
    ASSERT_EQ(mixed.Elements().size(), 2u);
    EXPECT_EQ(mixed.Elements()[0]->Type(), etTextSpanChild);
    EXPECT_EQ(mixed.Elements()[1]->Type(), etTextSpan);
    EXPECT_EQ(mixed.Elements()[1]->Elements()[0]->Text(), L"b");
}

TEST(SVGImport, BrokenPathDataRaisesAndKeepsThePartialTree) {
    ClassLib::TFormatSettingsScope comma(L',', L'.');
    TAdvGraphicsSVGImport svg;
    try {
        Load(svg, E(L"svg", {}, {E(L"rect", {{L"width", L"4"}, {L"height", L"4"}}), E(L"path", {{L"d", L"M0 0 L10 20 L5"}}),
                                 E(L"circle")}));
        ADD_FAILURE() << "no error";
    } catch (const ClassLib::EListError& e) {
        EXPECT_TRUE(std::wstring(e.Message()).starts_with(L"List index out of bounds ("));
    }
    ASSERT_EQ(svg.ElementCount(), 2);  // the rect and the path read so far
    EXPECT_EQ(svg.Elements()[1]->Paths().size(), 1u);
    EXPECT_TRUE(SameRect(svg.ViewRect(), {0, 0, 10, 20})) << RectText(svg.ViewRect());
    EXPECT_EQ(ClassLib::FormatSettings().DecimalSeparator, L',');
}

TEST(SVGImport, DeepNestingIsRefusedClearly) {
    TNode root = E(L"rect");
    for (int i = 0; i < 400; ++i) root = E(L"g", {}, {root});
    root = E(L"svg", {}, {root});
    TAdvGraphicsSVGImport svg;
    try {
        Load(svg, root);
        ADD_FAILURE() << "no error";
    } catch (const ClassLib::Exception& e) {
        EXPECT_NE(std::wstring(e.Message()).find(L"nested"), std::wstring::npos);
    }
}

TEST(SVGImport, ImagesFromDataAddressesOrSafeFilesBesideTheDocument) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / L"svgimport-images";
    std::filesystem::create_directories(folder / L"sub");
    ClassLib::TBitmap picture(4, 4, ClassLib::pf24bit);
    picture.SaveToFile((folder / L"sub" / L"p.bmp").wstring());
    ClassLib::TMemoryStream bytes;
    bytes.LoadFromFile((folder / L"sub" / L"p.bmp").wstring());
    bytes.SetPosition(0);
    const std::wstring base64 = AdvUtils::TAdvUtils::SaveStreamToBase64(&bytes);

    struct TCase { std::wstring Reference; bool Loads; };
    const TCase cases[] = {
        {L"data:image/bmp;base64," + base64, true},
        {L"sub/p.bmp", true},
        {L"sub\\p.bmp", true},
        {L"missing.bmp", false},
        {L"../svgimport-images/sub/p.bmp", false},
        {L"sub/../sub/p.bmp", false},
        {(folder / L"sub" / L"p.bmp").wstring(), false},   // absolute
        {L"\\\\server\\share\\p.bmp", false},
        {L"data:image/bmp;base64,@@@@", false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.Reference));
        TAdvGraphicsSVGImport svg;
        svg.SetBaseFolder((folder / L"sub").parent_path().wstring());
        Load(svg, E(L"svg", {}, {E(L"image", {{L"xlink:href", c.Reference}, {L"width", L"4"}, {L"height", L"4"}})}));
        ASSERT_EQ(svg.ElementCount(), 1);
        EXPECT_EQ(svg.Elements()[0]->HasBitmap(), c.Loads);
    }
    std::filesystem::remove_all(folder);
}

// ---- drawing

TEST(SVGDraw, DisplayNoneSkipsTheElementAndItsChildrenOnly) {
    TAdvGraphicsSVGImport svg;
    Load(svg, E(L"svg", {{L"viewBox", L"0 0 100 100"}},
                {E(L"style", {}, {T(L".hide{display:none}")}),
                 E(L"g", {{L"display", L"none"}}, {E(L"rect", {{L"width", L"50"}, {L"height", L"50"}, {L"fill", L"red"}})}),
                 E(L"rect", {{L"class", L"hide"}, {L"x", L"50"}, {L"width", L"50"}, {L"height", L"50"}, {L"fill", L"red"}}),
                 E(L"rect", {{L"y", L"50"}, {L"width", L"50"}, {L"height", L"50"}, {L"fill", L"blue"}})}));
    for (bool native : {false, true}) {
        SCOPED_TRACE(native ? "GDI+" : "canvas");
        TPaper paper;
        svg.Draw(paper.Bitmap.Canvas(), RectF(0, 0, 100, 100), native);
        EXPECT_EQ(paper.At(25, 25), ClassLib::clWhite);
        EXPECT_EQ(paper.At(75, 25), ClassLib::clWhite);
        EXPECT_EQ(paper.At(25, 75), TColor(0xFF0000));
    }
}

TEST(SVGDraw, NestedTransformsApplyInnermostFirst) {
    // The rect's own scale, then the inner group's translation, then the outer scale:
    // (0..5) -> (0..10) -> (10..20) -> (30..60).
    TAdvGraphicsSVGImport svg;
    Load(svg, E(L"svg", {{L"viewBox", L"0 0 100 100"}},
                {E(L"g", {{L"transform", L"scale(3)"}},
                   {E(L"g", {{L"transform", L"translate(10,10)"}},
                      {E(L"rect", {{L"transform", L"scale(2)"}, {L"width", L"5"}, {L"height", L"5"}, {L"fill", L"lime"}})})})}));
    TPaper paper;
    svg.Draw(paper.Bitmap.Canvas(), RectF(0, 0, 100, 100), true);
    EXPECT_EQ(paper.At(45, 45), TColor(0x00FF00));
    EXPECT_EQ(paper.At(32, 58), TColor(0x00FF00));
    EXPECT_EQ(paper.At(25, 25), ClassLib::clWhite);
    EXPECT_EQ(paper.At(65, 45), ClassLib::clWhite);
}

TEST(SVGDraw, TintGreyAndCustomColours) {
    const TNode root = E(L"svg", {{L"viewBox", L"0 0 30 10"}},
                         {E(L"rect", {{L"width", L"10"}, {L"height", L"10"}, {L"fill", L"white"}}),
                          E(L"rect", {{L"x", L"10"}, {L"width", L"10"}, {L"height", L"10"}, {L"fill", L"black"}}),
                          E(L"rect", {{L"x", L"20"}, {L"width", L"10"}, {L"height", L"10"}})});
    struct TCase { const char* Name; bool Grey; TColor Tint; TColor Custom; TColor White, Black, NoFill; };
    const TCase cases[] = {
        {"plain", false, -1, -1, 0xFFFFFF, 0x000000, 0x000000},
        {"tint red", false, 0x0000FF, -1, 0x0000FF, 0x000000, 0x0000FF},
        {"grey", true, -1, -1, 0xFFFFFF, 0x000000, 0x808080},
        {"custom fill", false, -1, 0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TAdvGraphicsSVGImport svg;
        Load(svg, root);
        svg.SetGrayScale(c.Grey);
        svg.SetTintColor(c.Tint);
        svg.SetCustomFillColor(c.Custom);
        TPaper paper(90, 30);
        paper.Bitmap.Canvas()->Brush()->SetColor(0x00FFFF);  // yellow paper: white shows
        paper.Bitmap.Canvas()->FillRect(ClassLib::TRect{0, 0, 90, 30});
        svg.Draw(paper.Bitmap.Canvas(), RectF(0, 0, 90, 30), true);
        EXPECT_EQ(paper.At(15, 15), c.White);
        EXPECT_EQ(paper.At(45, 15), c.Black);
        EXPECT_EQ(paper.At(75, 15), c.NoFill);
    }
}

TEST(SVGDraw, HalfWidthStrokeDrawsOnePixel) {
    TAdvGraphicsSVGImport svg;
    Load(svg, E(L"svg", {{L"viewBox", L"0 0 40 40"}},
                {E(L"line", {{L"x1", L"0"}, {L"y1", L"20"}, {L"x2", L"40"}, {L"y2", L"20"}, {L"stroke", L"black"},
                             {L"stroke-width", L"0.5"}})}));
    TPaper paper(40, 40);
    svg.Draw(paper.Bitmap.Canvas(), RectF(0, 0, 40, 40), true);
    // With the half-pixel offset a one-pixel line on y = 20 fills row 20 alone.
    EXPECT_EQ(paper.At(20, 19), ClassLib::clWhite);
    EXPECT_EQ(paper.At(20, 20), TColor(0));
    EXPECT_EQ(paper.At(20, 21), ClassLib::clWhite);
}

TEST(SVGDraw, RadialGradientCentreIsInTheShapesTransformedBounds) {
    // cx and cy count as percentages of the bounds; without them the centre is the middle.
    struct TCase { const char* Name; std::vector<std::pair<std::wstring, std::wstring>> Centre; float X, Y; };
    const TCase cases[] = {
        {"middle", {}, 60, 60},
        {"cx 25 cy 0", {{L"cx", L"25%"}, {L"cy", L"0"}}, 45, 40},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto gradient = c.Centre;
        gradient.push_back({L"id", L"r"});
        TAdvGraphicsSVGImport svg;
        Load(svg, E(L"svg", {{L"viewBox", L"0 0 100 100"}},
                    {E(L"defs", {}, {E(L"radialGradient", gradient,
                                       {E(L"stop", {{L"offset", L"0%"}, {L"stop-color", L"red"}}),
                                        E(L"stop", {{L"offset", L"100%"}, {L"stop-color", L"blue"}, {L"stop-opacity", L"0.5"}})})}),
                     E(L"rect", {{L"x", L"20"}, {L"y", L"40"}, {L"width", L"60"}, {L"height", L"40"},
                                 {L"fill", L"url(#r)"}, {L"transform", L"translate(10,0)"}})}));
        std::unique_ptr<AdvGraphics::TAdvGraphics> g = AdvGraphics::TAdvGraphics::CreateBitmapCanvas(100, 100, false);
        AdvGraphicsTypes::TAdvGraphicsFill* fill = g->Fill();
        ClassLib::TNotifyEvent forward = fill->OnChanged();
        AdvTypes::TPointF centre{-1, -1};
        std::vector<std::tuple<TColor, float, float>> stops;
        fill->SetOnChanged([&](ClassLib::TObject* sender) {
            if (fill->Kind() == AdvGraphicsTypes::gfkGradient && fill->GradientType() == AdvGraphicsTypes::gfgtRadial) {
                centre = fill->GradientCenterPoint();
                stops.clear();
                for (const auto* item : *fill->GradientItems())
                    stops.emplace_back(item->Color(), item->Position(), item->Opacity());
            }
            forward(sender);
        });
        svg.Draw(g.get(), RectF(0, 0, 100, 100), false, false);
        EXPECT_NEAR(centre.X, c.X, 1e-3);
        EXPECT_NEAR(centre.Y, c.Y, 1e-3);
        const std::vector<std::tuple<TColor, float, float>> expected{{0x0000FF, 0.f, 1.f}, {0xFF0000, 1.f, 0.5f}};
        EXPECT_EQ(stops, expected);
    }
}

TEST(SVGDraw, LinearGradientRunsAlongItsAngle) {
    TAdvGraphicsSVGImport svg;
    Load(svg, E(L"svg", {{L"viewBox", L"0 0 100 100"}},
                {E(L"defs", {}, {E(L"linearGradient", {{L"id", L"l"}, {L"x2", L"100%"}},
                                   {E(L"stop", {{L"offset", L"0"}, {L"stop-color", L"red"}}),
                                    E(L"stop", {{L"offset", L"1"}, {L"stop-color", L"blue"}})})}),
                 E(L"rect", {{L"width", L"100"}, {L"height", L"100"}, {L"fill", L"url(#l)"}})}));
    TPaper paper;
    svg.Draw(paper.Bitmap.Canvas(), RectF(0, 0, 100, 100), true);
    const TColor left = paper.At(5, 50), right = paper.At(95, 50);
    EXPECT_GT(Channel(left, 0), Channel(left, 16)) << std::hex << left;     // red on the left
    EXPECT_GT(Channel(right, 16), Channel(right, 0)) << std::hex << right;  // blue on the right
    EXPECT_EQ(paper.At(5, 5), left);                                         // horizontal: the same down a column
}

TEST(SVGDraw, GenerateBitmapSizes) {
    TAdvGraphicsSVGImport svg;
    Load(svg, E(L"svg", {{L"viewBox", L"10 10 100 50"}},
                {E(L"rect", {{L"x", L"10"}, {L"y", L"10"}, {L"width", L"50"}, {L"height", L"50"}, {L"fill", L"blue"}}),
                 E(L"rect", {{L"x", L"60"}, {L"y", L"10"}, {L"width", L"50"}, {L"height", L"50"}, {L"fill", L"red"}})}));
    struct TCase { float W, H; int Width, Height; int BlueX, RedX, Y; };
    const TCase cases[] = {
        {-1, -1, 110, 60, 30, 90, 40},   // the view rect lands on (10, 10, 110, 60)
        {200, 100, 200, 100, 50, 150, 50},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Width);
        AdvTypes::TAdvBitmap* bitmap = svg.GenerateBitmap(c.W, c.H);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(bitmap->Width(), c.Width);
        EXPECT_EQ(bitmap->Height(), c.Height);
        ClassLib::TBitmap copy(c.Width, c.Height, ClassLib::pf32bit);
        copy.Canvas()->Draw(0, 0, bitmap->Graphic());
        EXPECT_EQ(copy.Canvas()->Pixels(c.BlueX, c.Y), TColor(0xFF0000));
        EXPECT_EQ(copy.Canvas()->Pixels(c.RedX, c.Y), TColor(0x0000FF));
    }
    TAdvGraphicsSVGImport empty;
    EXPECT_EQ(empty.GenerateBitmap(10, 10), nullptr);
}

TEST(SVGDraw, FailedDrawRestoresTheCallersDrawingState) {
    TAdvGraphicsSVGImport svg;
    Load(svg, E(L"svg", {{L"viewBox", L"0 0 10 10"}},
                {E(L"g", {{L"fill", L"blue"}}, {E(L"rect", {{L"width", L"5"}, {L"height", L"5"}, {L"fill", L"red"}})})}));
    std::unique_ptr<AdvGraphics::TAdvGraphics> g = AdvGraphics::TAdvGraphics::CreateBitmapCanvas(10, 10, false);
    g->Fill()->SetColor(ClassLib::clLime);
    g->Stroke()->SetWidth(3);
    ClassLib::TNotifyEvent forward = g->Fill()->OnChanged();
    AdvGraphicsTypes::TAdvGraphicsFill* fill = g->Fill();
    g->Fill()->SetOnChanged([&](ClassLib::TObject* sender) {
        if (fill->Color() == TColor(0x0000FF)) throw ClassLib::EInvalidOperation(L"drawing failed");
        forward(sender);
    });
    EXPECT_THROW(svg.Draw(g.get(), RectF(0, 0, 10, 10), false, false), ClassLib::EInvalidOperation);
    EXPECT_EQ(g->Fill()->Color(), ClassLib::clLime);
    EXPECT_FLOAT_EQ(g->Stroke()->Width(), 3);
}

TEST(SVGDraw, HostileNumbersDrawWithoutFault) {
    const TNode root = E(L"svg", {{L"viewBox", L"0 0 100 100"}},
        {E(L"rect", {{L"width", L"1e39"}, {L"height", L"1e400"}, {L"fill", L"red"}}),
         E(L"rect", {{L"x", L"-3.4e38"}, {L"y", L"-3.4e38"}, {L"width", L"3.4e38"}, {L"height", L"3.4e38"}, {L"stroke", L"blue"}}),
         E(L"path", {{L"d", L"M3.4e38 3.4e38 C-3.4e38 0 0 -3.4e38 3.4e38 -3.4e38 A3.4e38 1 90 1 1 -3.4e38 3.4e38 Q1e39 1 2 2 z"},
                     {L"stroke", L"black"}, {L"stroke-width", L"3e38"}}),
         E(L"circle", {{L"cx", L"50"}, {L"cy", L"50"}, {L"r", L"3.4e38"}, {L"transform", L"scale(3.4e38)"}}),
         E(L"polygon", {{L"points", L"0,0 3.4e38,3.4e38 -3.4e38,1e39"}}),
         E(L"rect", {{L"x", L"40"}, {L"y", L"40"}, {L"width", L"20"}, {L"height", L"20"}, {L"fill", L"lime"}})});
    TAdvGraphicsSVGImport svg;
    Load(svg, root);
    for (bool native : {false, true}) {
        SCOPED_TRACE(native ? "GDI+" : "canvas");
        TPaper paper;
        svg.Draw(paper.Bitmap.Canvas(), RectF(0, 0, 100, 100), native);
        EXPECT_EQ(paper.At(50, 50), TColor(0x00FF00));  // the sound element after them still draws
    }
    EXPECT_NE(svg.GenerateBitmap(50, 50), nullptr);
    EXPECT_THROW(svg.GenerateBitmap(1e9f, 1e9f), ClassLib::EInvalidGraphicOperation);
}

// ---- JSON

namespace {

// The published values that drawing depends on, one line per element of the tree, so a
// failure names the element and the value that differ.
std::string TreeValues(const TAdvGraphicsSVGElement& e, const TAdvGraphicsSVGElement* parent, int depth = 0) {
    std::wstring text = std::wstring(std::size_t(depth) * 2, L' ') + L"type " + std::to_wstring(int(e.Type())) +
                        L" id " + e.ID() + L" x " + std::to_wstring(e.X()) + L" y " + std::to_wstring(e.Y()) +
                        L" w " + std::to_wstring(e.Width()) + L" h " + std::to_wstring(e.Height()) + L" r " +
                        std::to_wstring(e.Rx()) + L"," + std::to_wstring(e.Ry()) + L" fill " +
                        std::to_wstring(e.FillColor()) + L"/" + e.FillColorValue() + L" stroke " +
                        std::to_wstring(e.StrokeColor()) + L"/" + e.StrokeColorValue() + L" width " +
                        std::to_wstring(e.StrokeWidth()) + L"/" + e.StrokeWidthValue() + L" display " +
                        e.DisplayValue() + L" offset " + std::to_wstring(e.Offset()) + L" stop " +
                        std::to_wstring(e.StopColor()) + L"/" + e.StopColorValue() + L" url " + e.URLRefID() +
                        L" class " + e.ClassRefID() + (e.Parent() == parent ? L"" : L" WRONG PARENT") + L"\n";
    std::string result = ClassLib::UTF8Encode(text);
    if (e.HasElements())
        for (const auto& child : const_cast<TAdvGraphicsSVGElement&>(e).Elements())
            result += TreeValues(*child, &e, depth + 1);
    return result;
}

std::wstring FixturePath(const wchar_t* name) {
    return TestSupport::SourceTreePath(std::wstring(L"tests\\graphics\\svg\\") + name);
}

}  // namespace

TEST(SVGElementJSON, AnImportedTreeLoadsIntoAFreshElementWithTheSameValues) {
    struct TCase { const wchar_t* File; bool Defs; const char* What; };
    const TCase cases[] = {
        {L"groups.svg", false, "nested groups, a hidden rect, inherited fill and stroke"},
        {L"gradient.svg", true, "a gradient with its stops"},
        {L"defs.svg", true, "a class rule"},
        {L"logo.svg", false, "a rounded rect with a url fill"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TAdvGraphicsSVGImport svg;
        svg.LoadFromFile(FixturePath(c.File));
        TAdvGraphicsSVGElement& original = *(c.Defs ? svg.DefsList() : svg.Elements())[0];
        const std::wstring json = original.JSON();

        TAdvGraphicsSVGElement copy;
        copy.SetJSON(json);
        EXPECT_EQ(TreeValues(copy, nullptr), TreeValues(original, nullptr));
        EXPECT_EQ(copy.JSON(), json);
        EXPECT_EQ(copy.HasElements(), original.HasElements());
        EXPECT_FALSE(copy.HasBitmap());   // neither had an image, and saving made none
        EXPECT_FALSE(original.HasBitmap());
    }
}

TEST(SVGElementJSON, BadJSONRaisesAndChangesNothing) {
    TAdvGraphicsSVGElement element;
    element.SetJSON(L"{\"ID\":\"keep\",\"X\":5,\"Elements\":[{\"ID\":\"child\"}]}");
    const std::wstring before = element.JSON();
    ASSERT_NE(before.find(L"child"), std::wstring::npos);
    const wchar_t* cases[] = {
        L"{\"X\":7,",                                             // cut short
        L"{\"X\":7}{}",                                           // two values
        L"[1,2]",                                                 // no object
        L"{\"ID\":\"changed\",\"X\":\"seven\"}",                  // a text where a number belongs
        L"{\"ID\":\"changed\",\"Type\":99}",                      // no such element type
        L"{\"ID\":\"changed\",\"Width\":1e39}",                   // beyond a float
        L"{\"Elements\":[{\"ID\":\"new\"},{\"Y\":\"a\"}],\"X\":9}",  // a bad child after a good one
    };
    for (const wchar_t* text : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(text)));
        EXPECT_THROW(element.SetJSON(text), ClassLib::Exception);
        EXPECT_EQ(element.JSON(), before);
    }
    ASSERT_EQ(element.Elements().size(), 1u);
    EXPECT_EQ(element.Elements()[0]->Parent(), &element);
}

TEST(SVGElementJSON, AnElementOfAnImportIsNotReloaded) {
    // Other elements of the document point at its children: replacing them would leave
    // those pointers dangling.
    TAdvGraphicsSVGImport svg;
    svg.LoadFromFile(FixturePath(L"groups.svg"));
    TAdvGraphicsSVGElement& group = *svg.Elements()[0];
    const std::wstring json = group.JSON();
    EXPECT_THROW(group.SetJSON(L"{\"Elements\":[]}"), ClassLib::EInvalidOperation);
    EXPECT_EQ(group.JSON(), json);
}

TEST(SVGElementJSON, StoredFormatOfEveryPublishedValueStaysAsItWas) {
    // Saved element trees are read back by later versions: names, order, defaults and
    // which values are written must not drift when the element's storage changes.
    TAdvGraphicsSVGImport svg;
    svg.LoadFromText(
        L"<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" viewBox=\"0 0 90 90\">"
        L"<defs><style>.warm{fill:#C04000;stroke-width:3}</style>"
        L"<linearGradient id=\"lg\" x1=\"0\" y1=\"0\" x2=\"1\" y2=\"1\" gradientTransform=\"rotate(10)\">"
        L"<stop offset=\"25%\" stop-color=\"#102030\" stop-opacity=\"0.5\"/></linearGradient>"
        L"<radialGradient id=\"rg\" xlink:href=\"#lg\" cx=\"40\" cy=\"60\"/>"
        L"<clipPath id=\"cp\"><rect width=\"50\" height=\"50\"/></clipPath></defs>"
        L"<g transform=\"translate(2,3)\" stroke=\"navy\" opacity=\"0.75\">"
        L"<rect class=\"warm\" x=\"1\" y=\"2\" width=\"30\" height=\"20\" rx=\"4\" ry=\"5\" fill=\"url(#lg)\" "
        L"clip-path=\"url(#cp)\" display=\"inline\"/>"
        L"<circle cx=\"60\" cy=\"60\" r=\"9\" style=\"stroke-width:2.5;fill:rgb(1,2,3)\"/>"
        L"<text x=\"5\" y=\"80\" font-family=\"Arial Bold\" font-size=\"11px\" font-style=\"italic\">Hi</text>"
        L"<image x=\"0\" y=\"0\" width=\"4\" height=\"4\" preserveAspectRatio=\"none\"/></g></svg>");
    std::wstring stored;
    for (const auto* list : {&svg.DefsList(), &svg.Elements()}) {
        for (const auto& e : *list) {
            const std::wstring json = e->JSON();
            stored += json + L"\n";
            TAdvGraphicsSVGElement copy;
            copy.SetJSON(json);
            EXPECT_EQ(copy.JSON(), json);
        }
    }
    ClassLib::TMemoryStream file;
    file.LoadFromFile(FixturePath(L"stored-elements.json"));
    const std::wstring expected = ClassLib::UTF8Decode(ClassLib::AnsiString(file.Bytes().begin(), file.Bytes().end()));
    EXPECT_EQ(stored, expected);
}
