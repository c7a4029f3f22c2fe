#include "controls/AdvGlowButton.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Actions.h"
#include "classlib/Application.h"
#include "classlib/Form.h"
#include "classlib/Pictures.h"
#include "classlib/StandardControls.h"
#include "graphics/AdvGDIPStartup.h"
#include "support/PublishedDefaults.h"
#include "support/WindowTestSupport.h"

using namespace ClassLib;
using namespace AdvGlowButton;

namespace {

// GDI+ for the whole test program: the painter draws through it.
const AdvGDIPStartup::TGdiplusSession& GdiplusSession() {
    static const AdvGDIPStartup::TGdiplusSession session;
    return session;
}

struct TChangeCounter {
    int Count = 0;
    void Watch(TGlowButtonAppearance& appearance) {
        appearance.OnChange = [this](TObject*) { ++Count; };
    }
};

}  // namespace

// ---- appearance ----

TEST(GlowButtonAppearance, StartsWithTheInitialLooks) {
    TGlowButtonAppearance a;
    EXPECT_EQ(a.Color(), TColor(0xFFFFFF));
    EXPECT_EQ(a.ColorTo(), TColor(0xFFFFFF));
    EXPECT_EQ(a.ColorMirror(), TColor(0xC0C0C0));
    // Down and checked are hot shaded by -10 % on red and green; disabled is white and silver shaded by -5 %.
    EXPECT_EQ(a.ColorDown(), ShadeColorRGB(a.ColorHot(), -10, -10, 0));
    EXPECT_EQ(a.ColorMirrorDownTo(), ShadeColorRGB(a.ColorMirrorHotTo(), -10, -10, 0));
    EXPECT_EQ(a.ColorMirrorDisabled(), ShadeColor(clSilver, -5));
    EXPECT_EQ(a.ColorDisabled(), ShadeColor(clWhite, -5));
    EXPECT_EQ(a.BorderColorCheckedHot(), clNone);
    EXPECT_EQ(a.TextColor(), clNone);
    EXPECT_EQ(a.GradientMirrorChecked(), ggVertical);
    EXPECT_EQ(a.GradientChecked(), ggRadial);
    EXPECT_TRUE(a.SystemFont());
    EXPECT_GT(TestSupport::ExpectPublishedDefaults(&a), 20);
}

TEST(GlowButtonAppearance, TellsRealChangesOnlyAndSilentMembersNever) {
    TGlowButtonAppearance a;
    TChangeCounter changes;
    changes.Watch(a);
    a.SetColor(a.Color());
    a.SetGradientHot(a.GradientHot());
    EXPECT_EQ(changes.Count, 0);
    a.SetBorderColorCheckedHot(clRed);
    a.SetTextColorDisabled(clRed);
    a.SetTranspHover(true);
    a.SetNoBorderDefault(true);
    EXPECT_EQ(changes.Count, 0);
    a.SetColorHot(clRed);
    EXPECT_EQ(changes.Count, 1);
}

TEST(GlowButtonAppearance, InitOnDefaultsIsQuietAndAssignTellsEachOfFortyAndKeepsTheFocusColour) {
    TGlowButtonAppearance target, source;
    TChangeCounter changes;
    changes.Watch(target);
    target.Init();
    EXPECT_EQ(changes.Count, 0);

    // Every member of the source differs from the target's.
#define SOURCE_SET(Name, Initial, Kind) source.Set##Name(TColor(0x010203));
    ADVGLOW_APPEARANCE_COLOURS(SOURCE_SET)
#undef SOURCE_SET
#define SOURCE_SET(Name, Initial, Kind) source.Set##Name(TGDIPGradient(Initial == ggRadial ? ggVertical : ggRadial));
    ADVGLOW_APPEARANCE_GRADIENTS(SOURCE_SET)
#undef SOURCE_SET
    source.SetSystemFont(false);
    source.SetTranspHover(true);
    const TColor focused = target.BorderColorFocused();
    target.Assign(&source);
    EXPECT_EQ(changes.Count, 40);
    EXPECT_EQ(target.BorderColorFocused(), focused);
    EXPECT_EQ(target.BorderColorCheckedHot(), TColor(0x010203));
    EXPECT_TRUE(target.TranspHover());
    target.Assign(nullptr);
    EXPECT_EQ(changes.Count, 40);
}

// ---- colour arithmetic ----

TEST(GlowButtonColours, ShadeAndBlend) {
    struct TCase { const char* Name; TColor Got, Expected; };
    const TCase cases[] = {
        {"shade darkens", ShadeColor(0x646464, -10), TColor(0x5A5A5A)},
        {"shade keeps zero channels at zero when darkening", ShadeColor(0x000064, -10), TColor(0x00005A)},
        {"shade lifts a zero channel to a positive percent", ShadeColor(0x000064, 5), TColor(0x050564)},
        {"blend 100 is the first", BlendColor(clRed, clBlue, 100), clRed},
        {"blend 0 is the second", BlendColor(clRed, clBlue, 0), clBlue},
        {"blend halfway", BlendColor(0x0000C8, 0x000064, 50), TColor(0x000096)},
        {"clNone first gives the second", BlendColor(clNone, clBlue, 50), clBlue},
        {"clNone second gives the first", BlendColor(clRed, clNone, 50), clRed},
        {"clamp inside", TColor(ClampSize(10, 20)), TColor(10)},
        {"clamp zero limit", TColor(ClampSize(0, 20)), TColor(20)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(c.Got, c.Expected);
    }
}

// ---- painter, on a memory canvas ----

class GlowButtonPainter : public testing::Test {
protected:
    static void SetUpTestSuite() { GdiplusSession(); }
    TGlowFace Face() {
        TGlowFace face;
        face.Font = FFont.get();
        face.Caption = L"";
        return face;
    }
    TColor PaintAndProbe(const TGlowFace& face, int x, int y, TColor background = clFuchsia) {
        FBitmap.Canvas()->Brush()->SetColor(background);
        FBitmap.Canvas()->FillRect({0, 0, 100, 41});
        DrawGlowButton(FBitmap.Canvas(), {0, 0, 100, 41}, face);
        return FBitmap.Canvas()->Pixels(x, y);
    }
    TBitmap FBitmap{100, 41};
    std::unique_ptr<TFont> FFont = std::make_unique<TFont>();
};

TEST_F(GlowButtonPainter, FlatFacesFromMissingColours) {
    TGlowFace face = Face();
    face.Color = 0x40A040;
    face.ColorTo = clNone;      // one colour missing: the half is flat
    face.ColorMirror = clNone;  // both mirror colours missing: the lower half repeats Color
    face.ColorMirrorTo = clNone;
    face.Gradient = ggVertical;
    face.HasBorder = false;
    for (int y : {2, 10, 19, 25, 38}) {
        SCOPED_TRACE(y);
        EXPECT_EQ(PaintAndProbe(face, 50, y), TColor(0x40A040));
    }
}

TEST_F(GlowButtonPainter, RoundedCornersKeepTheFaceAndSquareOnesTheBorder) {
    TGlowFace face = Face();
    face.BorderColor = clBlack;
    face.Rounded = true;
    // The arc passes inside the corner pixel; the control puts the parent there afterwards.
    const TColor rounded = PaintAndProbe(face, 0, 0);
    EXPECT_GT(ColorRed(rounded) + ColorGreen(rounded), 400) << std::hex << rounded;
    face.Rounded = false;
    // A plain rectangle of size (Right - 1, Bottom - 1): the corner pixel is the border.
    const TColor corner = PaintAndProbe(face, 0, 0);
    EXPECT_LT(ColorRed(corner) + ColorGreen(corner), 80) << std::hex << corner;
}

TEST_F(GlowButtonPainter, NoBackgroundStillDrawsTheFocusFrame) {
    TGlowFace face = Face();
    face.NoBackground = true;
    face.FocusFrame = true;
    face.BorderColorFocused = clBlue;
    face.Rounded = false;
    EXPECT_EQ(PaintAndProbe(face, 50, 20), clFuchsia);  // no face
    const TColor frame = PaintAndProbe(face, 50, 1);
    EXPECT_GT(ColorBlue(frame), 200) << std::hex << frame;
    EXPECT_LT(ColorRed(frame), 60) << std::hex << frame;
}

TEST_F(GlowButtonPainter, NoBorderDefaultShowsTheOutlineOnlyUnderTheMouse) {
    TGlowFace face = Face();
    face.Color = face.ColorTo = face.ColorMirror = face.ColorMirrorTo = clWhite;
    face.BorderColor = clBlack;
    face.Rounded = false;
    face.NoBorderDefault = true;
    EXPECT_EQ(PaintAndProbe(face, 50, 0), clWhite);
    face.MouseEnter = true;
    EXPECT_NE(PaintAndProbe(face, 50, 0), clWhite);
}

TEST_F(GlowButtonPainter, ASplitDropDownHoveredOnTheButtonPartDarkensTheDropDownPart) {
    TGlowFace face = Face();
    face.Color = face.ColorTo = face.ColorMirror = face.ColorMirrorTo = 0xC8C8C8;
    face.HasBorder = false;
    face.DropDownButton = true;
    face.HotOrDown = true;
    face.DropDownHover = 2;
    face.DropDownPartWidth = 14;
    EXPECT_EQ(PaintAndProbe(face, 20, 30), TColor(0xC8C8C8));       // the button part as it is
    EXPECT_EQ(PaintAndProbe(face, 100 - 3, 30), ShadeColor(0xC8C8C8, -10));  // the part 10 % darker
    face.DropDownHover = 1;
    EXPECT_EQ(PaintAndProbe(face, 20, 30), ShadeColor(0xC8C8C8, -10));
}

TEST_F(GlowButtonPainter, MeasuresALineBreakAndFallsBackToABoxForAnEmptyCaption) {
    TGlowFace face = Face();
    face.CalcOnly = true;
    face.Caption = L"";
    const TSize bang = DrawGlowButton(FBitmap.Canvas(), {0, 0, 100, 41}, face);
    EXPECT_GT(bang.cx, 0);  // "!" is measured
    EXPECT_GT(bang.cy, 0);
    face.Caption = L"Create files";
    const TSize oneLine = DrawGlowButton(FBitmap.Canvas(), {0, 0, 100, 41}, face);
    face.Caption = L"Create\\nfiles";
    const TSize twoLines = DrawGlowButton(FBitmap.Canvas(), {0, 0, 100, 41}, face);
    EXPECT_GT(twoLines.cy, oneLine.cy);
    EXPECT_LT(twoLines.cx, oneLine.cx);
    face.PictureSize = {16, 16};  // with a fixed picture size the break becomes a space
    const TSize spaced = DrawGlowButton(FBitmap.Canvas(), {0, 0, 100, 41}, face);
    EXPECT_EQ(spaced.cy, oneLine.cy);
}

// ---- the control, in windows ----

class GlowButtonWindow : public testing::Test {
protected:
    void SetUp() override {
        if (!TestSupport::HasDisplay()) return;
        GdiplusSession();
        FForm = std::make_unique<TForm>(nullptr);
        FForm->SetBounds(100, 100, 400, 300);
        FForm->Show();
    }
    void TearDown() override {
        GlowSpeed = 20;
        FForm.reset();
    }
    TAdvGlowButton* Button(const std::wstring& caption, int left = 10, int top = 10) {
        auto* button = new TAdvGlowButton(FForm.get());
        button->SetParent(FForm.get());
        button->SetBounds(left, top, 100, 41);
        button->SetCaption(caption);
        button->HandleNeeded();
        return button;
    }
    static void Send(TWinControl* control, UINT msg, int x, int y, WPARAM keys = 0) {
        ::SendMessageW(control->Handle(), msg, keys, MAKELPARAM(x, y));
    }
    std::unique_ptr<TForm> FForm;
};

TEST(GlowButtonHeadless, NewButtonKeepsItsPublishedDefaults) {
    TAdvGlowButton button(nullptr);
    EXPECT_GT(TestSupport::ExpectPublishedDefaults(&button), 30);
    EXPECT_EQ(button.Version(), L"2.7.3.4");
    EXPECT_EQ(button.Width(), 100);
    EXPECT_EQ(button.Height(), 41);
}

TEST_F(GlowButtonWindow, OneClickOnReleaseInsideAndNoneOutside) {
    REQUIRE_DISPLAY();
    TAdvGlowButton* button = Button(L"Create files");
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    Send(button, WM_MOUSEMOVE, 20, 20);
    Send(button, WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(button->State(), absDown);
    Send(button, WM_MOUSEMOVE, 200, 20, MK_LBUTTON);  // out while held: the up look
    EXPECT_EQ(button->State(), absUp);
    Send(button, WM_MOUSEMOVE, 20, 20, MK_LBUTTON);   // back: pressed again
    EXPECT_EQ(button->State(), absDown);
    Send(button, WM_LBUTTONUP, 20, 20);
    EXPECT_EQ(clicks, 1);
    Send(button, WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    Send(button, WM_LBUTTONUP, 300, 20);
    EXPECT_EQ(clicks, 1);
}

TEST_F(GlowButtonWindow, AHoverFadeRunsInTwentyPercentStepsAndEnds) {
    REQUIRE_DISPLAY();
    TAdvGlowButton* button = Button(L"Fade");
    GlowSpeed = 5;
    std::vector<TColor> faces;
    button->OnDrawButton = [&](TObject*, TCanvas* canvas, TRect, TGlowButtonState) {
        faces.push_back(canvas->Pixels(50, 30));
    };
    Send(button, WM_MOUSEMOVE, 50, 20);
    const DWORD until = ::GetTickCount() + 2000;
    while (::GetTickCount() < until && button->ComponentCount() > 0) {
        Application->ProcessMessages();
        button->Update();
        ::Sleep(1);
    }
    EXPECT_EQ(button->ComponentCount(), 0) << "the fade timer frees itself when the fade ends";
    // From the normal face to the hot one, through distinct steps.
    ASSERT_GE(faces.size(), 3u);
    EXPECT_NE(faces.front(), faces.back());
}

TEST_F(GlowButtonWindow, SplitDropDownEdges) {
    REQUIRE_DISPLAY();
    TAdvGlowButton* button = Button(L"Paste");
    button->SetDropDownButton(true);
    int dropDowns = 0, clicks = 0;
    button->OnDropDown = [&](TObject*) { ++dropDowns; };
    button->OnClick = [&](TObject*) { ++clicks; };
    const int edge = button->Width() - button->GetDropDownPartWidth();
    Send(button, WM_LBUTTONDOWN, edge, 20, MK_LBUTTON);  // at the edge: the button part (greater-than)
    Send(button, WM_LBUTTONUP, edge, 20);
    EXPECT_EQ(dropDowns, 0);
    EXPECT_EQ(clicks, 1);
    Send(button, WM_LBUTTONDOWN, edge + 1, 20, MK_LBUTTON);
    Send(button, WM_LBUTTONUP, edge + 1, 20);
    EXPECT_EQ(dropDowns, 1);
}

TEST_F(GlowButtonWindow, GroupMembersReleaseEachOtherUnlessAllowAllUp) {
    REQUIRE_DISPLAY();
    TAdvGlowButton* left = Button(L"Left", 10);
    TAdvGlowButton* right = Button(L"Right", 120);
    left->SetGroupIndex(1);
    right->SetGroupIndex(1);
    left->SetDown(true);
    EXPECT_TRUE(left->Down());
    right->SetDown(true);
    EXPECT_TRUE(right->Down());
    EXPECT_FALSE(left->Down());
    right->SetDown(false);  // a checked member cannot be released through Down
    EXPECT_TRUE(right->Down());
    right->SetAllowAllUp(true);
    right->SetDown(false);
    EXPECT_FALSE(right->Down());
    // A click on a member checks it.
    Send(left, WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    Send(left, WM_LBUTTONUP, 20, 20);
    EXPECT_TRUE(left->Down());
}

TEST_F(GlowButtonWindow, ReleasingOutsideACheckedCheckButtonLeavesItChecked) {
    REQUIRE_DISPLAY();
    TAdvGlowButton* button = Button(L"Bold");
    button->SetStyle(bsCheck);
    Send(button, WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    Send(button, WM_LBUTTONUP, 20, 20);
    ASSERT_TRUE(button->Down());
    Send(button, WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    Send(button, WM_LBUTTONUP, 300, 20);
    EXPECT_TRUE(button->Down());
}

TEST_F(GlowButtonWindow, SpaceCallsOnClickAndEnterClicksTheDefaultButtonOnce) {
    REQUIRE_DISPLAY();
    TAdvGlowButton* first = Button(L"First", 10);
    TAdvGlowButton* second = Button(L"Second", 120);
    TCheckBox memo(nullptr);  // a control of another kind holds the focus
    memo.SetParent(FForm.get());
    memo.SetBounds(10, 100, 100, 20);
    second->SetDefault(true);
    second->SetModalResult(mrOk);
    int firstClicks = 0, secondClicks = 0;
    first->OnClick = [&](TObject*) { ++firstClicks; };
    second->OnClick = [&](TObject*) { ++secondClicks; };
    ::SendMessageW(first->Handle(), WM_CHAR, L' ', 0);
    EXPECT_EQ(firstClicks, 1);
    memo.SetFocus();
    TestSupport::PumpMessages();
    ::PostMessageW(memo.Handle(), WM_KEYDOWN, VK_RETURN, 0);
    ::PostMessageW(memo.Handle(), WM_KEYUP, VK_RETURN, 0);
    Application->ProcessMessages();
    EXPECT_EQ(secondClicks, 1);
    EXPECT_EQ(FForm->ModalResult(), mrOk);
    memo.SetParent(nullptr);
}

TEST_F(GlowButtonWindow, AcceleratorsFromCaptionAndHintAndAToolBarParentWantsAlt) {
    REQUIRE_DISPLAY();
    TAdvGlowButton* paste = Button(L"&Paste", 10);
    TAdvGlowButton* copy = Button(L"Copy", 120);
    copy->SetHint(L"&Copy the selection");
    int pastes = 0, copies = 0;
    paste->OnClick = [&](TObject*) { ++pastes; };
    copy->OnClick = [&](TObject*) { ++copies; };
    constexpr LPARAM altDown = LPARAM(1) << 29;
    ::SendMessageW(FForm->Handle(), WM_SYSCHAR, L'p', altDown);
    ::SendMessageW(FForm->Handle(), WM_SYSCHAR, L'c', altDown);
    EXPECT_EQ(pastes, 1);
    EXPECT_EQ(copies, 1);
    paste->SetEnabled(false);  // a button that cannot take the focus ignores its letter
    ::SendMessageW(FForm->Handle(), WM_SYSCHAR, L'p', altDown);
    EXPECT_EQ(pastes, 1);
}

TEST_F(GlowButtonWindow, PresetsAndTones) {
    REQUIRE_DISPLAY();
    TAdvGlowButton* button = Button(L"Style");
    TGlowButtonAppearance* a = button->Appearance();
    button->SetComponentStyle(AdvStyleIF::tsCustom);
    EXPECT_EQ(a->Color(), TColor(0xFFFFFF));
    EXPECT_EQ(button->UIStyle(), AdvStyleIF::tsCustom);

    button->SetComponentStyle(AdvStyleIF::tsOffice2007Luna);
    EXPECT_EQ(a->Color(), TColor(0xEEDBC8));
    EXPECT_EQ(a->BorderColor(), TColor(0xE0B99B));
    EXPECT_EQ(a->ColorMirrorHot(), TColor(0x59DAFF));
    EXPECT_EQ(a->BorderColorChecked(), TColor(0x45667B));
    EXPECT_EQ(a->GradientHot(), ggVertical);
    EXPECT_TRUE(button->Rounded());
    EXPECT_FALSE(a->TranspOffice());
    button->SetComponentStyle(AdvStyleIF::tsOffice2003Classic);
    EXPECT_EQ(a->BorderColorChecked(), TColor(0x45667B));  // Classic does not set it

    button->SetComponentStyle(AdvStyleIF::tsOffice2019White);
    EXPECT_EQ(a->ColorHot(), TColor(0xFAECE3));
    EXPECT_EQ(a->ColorDisabledTo(), clNone);
    EXPECT_EQ(a->BorderColorCheckedHot(), TColor(0xB0784A));
    EXPECT_EQ(a->TextColorChecked(), TColor(0x393A3B));
    EXPECT_EQ(a->TextColorDisabled(), TColor(0xD4D4D4));
    EXPECT_TRUE(a->TranspOffice());
    EXPECT_FALSE(button->Rounded());
    ASSERT_TRUE(button->ParentFont());
    const TColor fontColour = button->Font()->Color();
    EXPECT_EQ(button->Font()->Color(), fontColour);  // ParentFont: the white preset leaves the font
    button->SetComponentStyle(AdvStyleIF::tsOffice2019Gray);
    EXPECT_EQ(button->Font()->Color(), TColor(0x232425));  // ... the gray one sets it anyway

    TAdvGlowButton* other = Button(L"Other", 120);
    AdvStyleIF::TColorTones tones{};
    tones.Background = {0x101010, 0x202020, 0x303030};
    tones.Selected = {0x404040, 0x505050, 0x606060};
    tones.Hover = {0x707070, 0x808080, 0x909090};
    tones.Disabled = {0xA0A0A0, 0xB0B0B0, 0xA0A0A0};
    button->SetColorTones(tones);
    EXPECT_EQ(GlowSpeed, 0);  // no button fades any more, the other one included
    EXPECT_EQ(a->ColorTo(), clNone);
    EXPECT_EQ(a->ColorMirrorTo(), TColor(0x101010));
    EXPECT_EQ(a->TextColorDisabled(), TColor(0x808080));  // unreadable grey on grey
    Send(other, WM_MOUSEMOVE, 20, 20);
    EXPECT_EQ(other->ComponentCount(), 0);  // no fade timer
}

TEST_F(GlowButtonWindow, AutoSizeAddsSpacingAndMarginsToTheContent) {
    REQUIRE_DISPLAY();
    TAdvGlowButton* button = Button(L"Go");
    button->SetAutoSize(true);
    button->Repaint();
    TestSupport::PumpMessages();
    TGlowFace face;
    TFont font;
    font.Assign(button->Font());
    font.SetName(AdvStyleIF::IsVistaOrLater() ? L"Segoe UI" : L"Tahoma");
    face.Font = &font;
    face.Caption = L"Go";
    face.CalcOnly = true;
    face.NoBackground = true;
    TBitmap scratch(200, 100);
    const TSize content = DrawGlowButton(scratch.Canvas(), {0, 0, 200, 100}, face);
    EXPECT_EQ(button->Width(), content.cx + 10);  // 3 x 2 + 2 x 1 + 2
    EXPECT_EQ(button->Height(), content.cy + 6);  // 2 x 2 + 2 x 1
    const int wide = button->Width();
    button->SetDropDownButton(true);
    TestSupport::PumpMessages();
    EXPECT_EQ(button->Width(), wide + button->GetDropDownPartWidth());
    // Measuring for a state changes nothing.
    const TSize label = button->GetSizeForState(bsLabel);
    EXPECT_GT(label.cx, 0);
    EXPECT_EQ(button->Width(), wide + button->GetDropDownPartWidth());
}

TEST_F(GlowButtonWindow, SettingTheAutoSizeDirectionMeasuresAgain) {
    REQUIRE_DISPLAY();
    TAdvGlowButton* button = Button(L"Go");
    EXPECT_EQ(button->AutoSizeDirection(), asVertical);
    button->SetAutoSize(true);
    TestSupport::PumpMessages();
    const int measured = button->Width();
    button->SetWidth(300);
    button->SetAutoSizeDirection(asVertical);  // unchanged: nothing to measure
    EXPECT_EQ(button->Width(), 300);
    button->SetAutoSizeDirection(asHorizontal);
    EXPECT_EQ(button->AutoSizeDirection(), asHorizontal);
    EXPECT_EQ(button->Width(), measured);
}

namespace {

// The caption's ink: the pixels where the button painted with its caption differs from the
// button painted without one.
std::vector<COLORREF> CaptionInk(TAdvGlowButton* button, const std::wstring& caption) {
    const int w = button->Width(), h = button->Height();
    const auto paint = [&](const std::wstring& text) {
        button->SetCaption(text);
        TBitmap bitmap(w, h, pf32bit);
        button->Perform(WM_PAINT, WPARAM(bitmap.Canvas()->Handle()), 0);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) pixels.push_back(COLORREF(bitmap.Canvas()->Pixels(x, y)) & 0xFFFFFF);
        return pixels;
    };
    const std::vector<COLORREF> with = paint(caption), without = paint(L"");
    std::vector<COLORREF> ink;
    for (std::size_t i = 0; i < with.size(); ++i)
        if (with[i] != without[i]) ink.push_back(with[i]);
    return ink;
}

int Lightness(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); }

}  // namespace

// Anti-aliased or not, a caption's core pixels are the colour its look gives it: the
// lightest ink of a light caption on a dark face, the darkest of a dark one on a light face.
TEST_F(GlowButtonWindow, CaptionsShowTheColourOfTheirLook) {
    REQUIRE_DISPLAY();
    struct TCase { const char* Tag; AdvStyleIF::TOVTStyle Style; bool Enabled; bool Light; };
    const TCase cases[] = {
        {"disabled", AdvStyleIF::tsCustom, false, false},
        {"tsOffice2016Black", AdvStyleIF::tsOffice2016Black, true, true},
        {"tsOffice2019Black", AdvStyleIF::tsOffice2019Black, true, true},
        {"tsOffice2019Black, disabled", AdvStyleIF::tsOffice2019Black, false, true},  // grey on its dark face
    };
    for (const TCase& c : cases) {
        for (const AdvGDIP::TAntiAlias antiAlias : {aaNone, aaClearType, AdvGDIP::aaAntiAlias}) {
            SCOPED_TRACE(std::string(c.Tag) + ", anti-alias mode " + std::to_string(int(antiAlias)));
            TAdvGlowButton* button = Button(L"");
            button->SetComponentStyle(c.Style);
            button->SetEnabled(c.Enabled);
            button->SetAntiAlias(antiAlias);
            button->Font()->SetHeight(-16);
            // Disabled, drawn by GDI the caption is grey; through GDI+ it takes the look's colour.
            const TColor caption = c.Enabled ? button->Font()->Color()
                                   : antiAlias == aaNone ? clGray : button->Appearance()->TextColorDisabled();
            const std::vector<COLORREF> ink = CaptionInk(button, L"WWW");
            ASSERT_GT(ink.size(), 30u);
            const COLORREF core = *std::max_element(ink.begin(), ink.end(), [&](COLORREF a, COLORREF b) {
                return c.Light ? Lightness(a) < Lightness(b) : Lightness(a) > Lightness(b);
            });
            const COLORREF expected = COLORREF(ColorToRGB(caption));
            EXPECT_NEAR(GetRValue(core), GetRValue(expected), 40) << std::hex << core << " for " << expected;
            EXPECT_NEAR(GetGValue(core), GetGValue(expected), 40) << std::hex << core << " for " << expected;
            EXPECT_NEAR(GetBValue(core), GetBValue(expected), 40) << std::hex << core << " for " << expected;
            delete button;
        }
    }
}

TEST_F(GlowButtonWindow, AStyleOutsideTheEnumerationLeavesTheLooks) {
    REQUIRE_DISPLAY();
    TAdvGlowButton* button = Button(L"Style");
    button->SetComponentStyle(AdvStyleIF::tsOffice2007Luna);
    const TColor color = button->Appearance()->Color(), font = button->Font()->Color();
    button->SetComponentStyle(AdvStyleIF::TOVTStyle(200));
    EXPECT_EQ(button->Appearance()->Color(), color);
    EXPECT_EQ(button->Font()->Color(), font);
    EXPECT_EQ(button->UIStyle(), AdvStyleIF::tsOffice2007Luna);
}

TEST_F(GlowButtonWindow, KeyTipSitsWhereItsPositionSays) {
    REQUIRE_DISPLAY();
    // A 60 x 22 button with a 13 x 17 tip at the bottom right corner.
    const TPoint place = ShortCutHintPlace(shpBottomRight, {100, 200}, 60, 22, 13, 17);
    EXPECT_EQ(place.X - 100, 48);
    EXPECT_EQ(200 + 22 - place.Y, 8);
    EXPECT_EQ(ShortCutHintPlace(shpAuto, {0, 0}, 60, 22, 14, 18).Y, -9);
    TAdvGlowButton* button = Button(L"Paste");
    button->SetShortCutHint(L"V");
    button->SetShortCutHintPos(shpBelowBottom);
    button->ShowShortCutHint();
    ASSERT_NE(button->ShortCutHintWindow(), nullptr);
    RECT tip;
    ::GetWindowRect(button->ShortCutHintWindow()->Handle(), &tip);
    const TPoint origin = button->ClientOrigin();
    EXPECT_EQ(tip.top, origin.Y + button->Height());
    EXPECT_EQ(button->ShortCutHintWindow()->ColorTo(), button->Appearance()->Color());
    button->HideShortCutHint();
}

TEST_F(GlowButtonWindow, ThePaintedDropDownPartIsThePressZone) {
    REQUIRE_DISPLAY();
    if (const char* expected = std::getenv("ATGEN_EXPECT_DPI")) {
        HDC screen = ::GetDC(nullptr);
        EXPECT_EQ(::GetDeviceCaps(screen, LOGPIXELSY), std::atoi(expected));
        ::ReleaseDC(nullptr, screen);
    }
    TAdvGlowButton* button = Button(L"Paste");
    button->SetDropDownButton(true);
    button->SetRounded(false);
    TGlowButtonAppearance* a = button->Appearance();
    a->SetBorderColorHot(clBlack);
    for (auto set : {&TGlowButtonAppearance::SetColorHot, &TGlowButtonAppearance::SetColorHotTo,
                     &TGlowButtonAppearance::SetColorMirrorHot, &TGlowButtonAppearance::SetColorMirrorHotTo})
        (a->*set)(clWhite);
    GlowSpeed = 0;
    button->Perform(CM_MOUSEENTER);
    button->Repaint();
    // The split line sits on the first pixel of the part a press drops down from.
    const int splitX = button->Width() - button->GetDropDownPartWidth();
    HDC dc = ::GetDC(button->Handle());
    const COLORREF line = ::GetPixel(dc, splitX, button->Height() / 2);
    const COLORREF before = ::GetPixel(dc, splitX - 1, button->Height() / 2);
    ::ReleaseDC(button->Handle(), dc);
    EXPECT_EQ(line, COLORREF(0));
    EXPECT_NE(before, COLORREF(0));
}

TEST(GlowButtonActionLink, CheckedGroupAndImageFollowTheAction) {
    TActionList list(nullptr);
    TAction action(nullptr);
    action.SetActionList(&list);
    action.SetGroupIndex(2);
    action.SetImageIndex(4);
    TAdvGlowButton button(nullptr);
    button.SetAction(&action);
    EXPECT_EQ(button.GroupIndex(), 2);
    EXPECT_EQ(button.ImageIndex(), 4);
    action.SetChecked(true);
    EXPECT_TRUE(button.Down());
    // The image follows while the button shows the action's image, whatever its group.
    button.SetGroupIndex(7);
    action.SetImageIndex(5);
    EXPECT_EQ(button.ImageIndex(), 5);
    // The group index follows only while the two agree.
    action.SetGroupIndex(9);
    EXPECT_EQ(button.GroupIndex(), 7);
}
