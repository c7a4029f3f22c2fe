// The office page control on the system tab control under Wine: bookkeeping of pages and
// tabs, the painted strip, close buttons, the closed list and its persistence, the buttons.
#include "controls/AdvPageControl.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "classlib/Application.h"
#include "classlib/Exceptions.h"
#include "classlib/Form.h"
#include "classlib/ImageList.h"
#include "classlib/IniFiles.h"
#include "classlib/Menus.h"
#include "classlib/Pictures.h"
#include "classlib/Registry.h"
#include "classlib/Seams.h"
#include "classlib/StandardControls.h"
#include "classlib/WindowDescription.h"
#include "controls/AdvPageControlLayout.h"
#include "support/PublishedDefaults.h"
#include "support/WindowTestSupport.h"

using namespace ClassLib;
using namespace AdvPageControl;

namespace {

TRect Centre(const TRect& r) { return TRect{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2, 0, 0}; }

// A form with one page control and named pages "Sheet0".., captions "Tab0"..; the form and
// the control are loaded as a description would load them, so the form scales to the screen.
class PageControlWindow : public testing::Test {
protected:
    void SetUp() override {
        REQUIRE_DISPLAY();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetName(L"PageForm");
        Form->BeginLoading();
        Form->SetBounds(0, 0, 520, 320);
        Control = new TAdvPageControl(Form.get());
        Control->SetName(L"Pages");
        Control->BeginLoading();
        Control->SetParent(Form.get());
        Control->SetBounds(8, 8, 400, 220);
    }
    void TearDown() override { Form.reset(); }

    void PersistTo(TPersistenceLocation location, const std::wstring& key, const std::wstring& section) {
        TPersistence* settings = Control->PersistPagesState();
        settings->SetLocation(location);
        settings->SetKey(key);
        settings->SetSection(section);
        settings->SetEnabled(true);
    }
    TAdvTabSheet* AddPage(const std::wstring& caption) {
        auto* page = new TAdvTabSheet(Form.get());
        page->SetName(L"Sheet" + std::to_wstring(Pages.size()));
        page->SetCaption(caption);
        page->SetAdvPageControl(Control);
        Pages.push_back(page);
        return page;
    }
    void Build(int count) {
        for (int i = 0; i < count; ++i) AddPage(L"Tab" + std::to_wstring(i));
        Form->Loaded();
        Control->Loaded();
        Form->Show();
        TestSupport::PumpMessages();
    }
    // The strip as the control paints it, over the host's own picture.
    std::unique_ptr<TBitmap> Snapshot() {
        auto bitmap = std::make_unique<TBitmap>(Control->Width(), Control->Height());
        HDC dc = bitmap->Canvas()->Handle();
        Control->Perform(WM_PRINTCLIENT, WPARAM(dc), PRF_CLIENT);
        Control->DrawAllTabs(bitmap->Canvas());
        return bitmap;
    }
    void Click(int x, int y, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP) {
        const WPARAM keys = down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON;
        Control->Perform(down, keys, MAKELPARAM(x, y));
        Control->Perform(up, 0, MAKELPARAM(x, y));
    }
    // The middle of a page's close box (cpLeft on top tabs).
    TPoint CloseBoxCentre(int pageIndex) {
        const TRect r = Control->TabRectOfPage(pageIndex);
        const int cw = int(std::lround(14 * Control->DPIScale())), ch = int(std::lround(13 * Control->DPIScale()));
        return TPoint{r.Left + Control->TabMargin()->LeftMargin() + (2 + cw) / 2,
                      r.Top + Control->TabMargin()->TopMargin() + (2 + ch) / 2};
    }

    std::unique_ptr<TForm> Form;
    TAdvPageControl* Control = nullptr;
    std::vector<TAdvTabSheet*> Pages;
};

// Tells whether a component still exists.
class TLifeWatch : public TComponent {
public:
    TLifeWatch() : TComponent(nullptr) {}
    void Watch(TComponent* component) { FreeNotification(component); }
    std::vector<TComponent*> Gone;
protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == opRemove) Gone.push_back(component);
    }
};

// ---- bookkeeping ----

TEST_F(PageControlWindow, FindNextPageStepsOverHiddenTabsAndWraps) {
    Build(4);
    Pages[1]->SetTabVisible(false);
    TAdvTabSheet* stranger = new TAdvTabSheet(Form.get());
    struct TCase { TAdvTabSheet* Current; bool Forward; bool Visible; TAdvTabSheet* Expected; const char* Tag; };
    const TCase cases[] = {
        {Pages[0], true, true, Pages[2], "forward over a hidden tab"},
        {Pages[0], true, false, Pages[1], "forward, hidden counts"},
        {Pages[3], true, true, Pages[0], "forward wraps"},
        {Pages[0], false, true, Pages[3], "backward wraps"},
        {Pages[2], false, true, Pages[0], "backward over a hidden tab"},
        {stranger, true, true, Pages[0], "a page of no control starts at the first"},
        {stranger, false, true, Pages[3], "backward from the last"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Tag);
        EXPECT_EQ(Control->FindNextPage(c.Current, c.Forward, c.Visible), c.Expected);
    }
    for (int i : {0, 3}) Pages[size_t(i)]->SetTabVisible(false);
    EXPECT_EQ(Control->FindNextPage(Pages[2], true, true), Pages[2]) << "the only visible page is its own next";
    Pages[2]->SetTabVisible(false);
    EXPECT_EQ(Control->FindNextPage(Pages[2], true, true), nullptr);
}

TEST_F(PageControlWindow, HostHoldsOneTabPerVisiblePageWithItsTabText) {
    Build(3);
    Pages[1]->SetTabVisible(false);
    ASSERT_EQ(Control->TabCount(), 2);
    EXPECT_EQ(Control->TabObject(1), Pages[2]);
    const TRect second = Control->TabRect(1);
    const TRect middle = Centre(second);
    EXPECT_EQ(Control->IndexOfTabAtEx(middle.Left, middle.Top), 2);
    EXPECT_EQ(Control->TabRectOfPage(2), second);

    // Texts as the host reads them back: they size the tabs, the painter draws the caption.
    Pages[0]->SetCaption(L"Tab1");
    EXPECT_EQ(Control->WindowTabText(0), L"TaW");
    Pages[0]->SetShowClose(true);
    EXPECT_EQ(Control->WindowTabText(0), L"Tab1 ");
    Pages[0]->SetCaption(L"ab");
    Pages[0]->SetShowClose(false);
    EXPECT_EQ(Control->WindowTabText(0), L"W");
}

TEST_F(PageControlWindow, SelectionThroughActivePageIndex) {
    Build(3);
    Control->SetActivePageIndex(0);
    EXPECT_EQ(Control->ActivePage(), Pages[0]);
    EXPECT_TRUE(Pages[0]->Visible());
    Control->SetActivePageIndex(2);
    EXPECT_EQ(Control->TabIndex(), 2);
    EXPECT_FALSE(Pages[0]->Visible());
    EXPECT_TRUE(Pages[2]->Visible());

    // Out of range: no page, no host selection, and the page shown before is hidden.
    Control->SetActivePageIndex(Control->PageCount());
    EXPECT_EQ(Control->ActivePage(), nullptr);
    EXPECT_EQ(Control->ActivePageIndex(), -1);
    EXPECT_EQ(Control->TabIndex(), -1);
    EXPECT_FALSE(Pages[2]->Visible());

    // A page whose tab cannot be chosen is not selected; the active tab cannot be disabled.
    Control->SetActivePageIndex(0);
    Pages[1]->SetTabEnable(false);
    Control->SetActivePage(Pages[1]);
    EXPECT_EQ(Control->ActivePage(), Pages[0]);
    try {
        Pages[0]->SetTabEnable(false);
        ADD_FAILURE() << "disabling the active tab was accepted";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message(), L"Can not disable active tab.");
    }
    EXPECT_TRUE(Pages[0]->TabEnable());
}

TEST_F(PageControlWindow, RemovingOrHidingTheActivePageMovesTheSelection) {
    Build(4);
    Control->SetActivePageIndex(1);
    delete Pages[1];
    Pages.erase(Pages.begin() + 1);
    EXPECT_EQ(Control->ActivePage(), Pages[1]) << "the next page forward";
    EXPECT_TRUE(Pages[1]->Visible());

    Control->SetActivePage(Pages[2]);
    Pages[2]->SetTabVisible(false);  // the last tab: the new last one takes its place
    EXPECT_EQ(Control->ActivePage(), Pages[1]);
    Control->SetActivePage(Pages[0]);
    Pages[0]->SetTabVisible(false);  // the tab now at its place
    EXPECT_EQ(Control->ActivePage(), Pages[1]);

    Pages[1]->SetAdvPageControl(nullptr);
    EXPECT_EQ(Control->ActivePage(), nullptr) << "no visible page is left";
    EXPECT_EQ(Control->TabCount(), 0);
    EXPECT_EQ(Pages[1]->Parent(), nullptr);
}

TEST_F(PageControlWindow, CtrlTabStepsBothWaysAndCanBeVetoed) {
    Build(3);
    Pages[1]->SetTabVisible(false);
    Control->SetActivePageIndex(2);
    Control->SetFocus();
    TSeamsScope seams;
    bool shift = false;
    Seams().KeyState = [&shift](int key) -> short {
        return (key == VK_CONTROL || (key == VK_SHIFT && shift)) ? short(0x8000) : short(0);
    };
    int changes = 0;
    Control->OnChange = [&changes](TObject*) { ++changes; };
    EXPECT_EQ(Control->Perform(CM_DIALOGKEY, VK_TAB, 0), 1);
    EXPECT_EQ(Control->ActivePage(), Pages[0]) << "from the last visible page to the first";
    shift = true;
    Control->Perform(CM_DIALOGKEY, VK_TAB, 0);
    EXPECT_EQ(Control->ActivePage(), Pages[2]) << "backwards over the hidden page";
    EXPECT_EQ(changes, 2);

    std::vector<std::pair<int, int>> asked;
    Control->OnCanChange = [&asked](TObject*, int from, int to, bool& allow) {
        asked.emplace_back(from, to);
        allow = false;
    };
    Control->Perform(CM_DIALOGKEY, VK_TAB, 0);
    EXPECT_EQ(Control->ActivePage(), Pages[2]);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], std::make_pair(2, 0));
}

TEST_F(PageControlWindow, ArrowKeysTellCanChangeThePageTheyMoveTo) {
    Build(3);
    Pages[1]->SetTabVisible(false);
    Control->SetActivePageIndex(0);
    Control->SetFocus();
    int told = -2;
    Control->OnCanChange = [&told](TObject*, int, int to, bool&) { told = to; };
    Control->Perform(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(told, 2) << "the hidden page is not the one the key goes to";
    EXPECT_EQ(Control->ActivePage(), Pages[2]);

    // A veto keeps page and host selection where they were, for a click as for a key.
    Control->OnCanChange = [&told](TObject*, int, int to, bool& allow) { told = to; allow = false; };
    Control->Perform(WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(told, 0);
    const TRect first = Control->TabRectOfPage(0);
    Click(Centre(first).Left, Centre(first).Top);
    EXPECT_EQ(Control->ActivePage(), Pages[2]);
    EXPECT_EQ(Control->TabIndex(), 1);
}

TEST_F(PageControlWindow, AcceleratorsOfCaptionsSelectTheirPage) {
    Build(3);
    Pages[0]->SetCaption(L"&Source");
    Pages[1]->SetCaption(L"&Header");
    Pages[2]->SetCaption(L"&History");
    Control->SetActivePageIndex(0);
    int changes = 0;
    Control->OnChange = [&changes](TObject*) { ++changes; };
    EXPECT_EQ(Control->Perform(CM_DIALOGCHAR, L'h', 0), 1);
    EXPECT_EQ(Control->ActivePage(), Pages[1]) << "the first page that marks the letter";
    EXPECT_EQ(changes, 1);

    Pages[1]->SetEnabled(false);
    Control->SetActivePageIndex(0);
    Control->Perform(CM_DIALOGCHAR, L'H', 0);
    EXPECT_EQ(Control->ActivePage(), Pages[2]) << "a disabled page is passed over";
    Control->OnCanChange = [](TObject*, int, int, bool& allow) { allow = false; };
    EXPECT_EQ(Control->Perform(CM_DIALOGCHAR, L's', 0), 1) << "taken even when the change is refused";
    EXPECT_EQ(Control->ActivePage(), Pages[2]);
    EXPECT_EQ(Control->Perform(CM_DIALOGCHAR, L'q', 0), 0);
}

TEST_F(PageControlWindow, DefaultColoursFollowOnlyWherePagesKeptThem) {
    Build(2);
    EXPECT_EQ(Pages[0]->TabColor(), clBtnFace) << "clNone became the control's default when attached";
    EXPECT_EQ(Pages[0]->TextColor(), clBlack);
    Pages[1]->SetTabColor(clRed);
    Control->SetDefaultTabColor(clYellow);
    EXPECT_EQ(Pages[0]->TabColor(), clYellow);
    EXPECT_EQ(Pages[1]->TabColor(), clRed);

    // A closed and reopened page keeps its own colours.
    ASSERT_TRUE(Control->CloseOpenedTab(Pages[1]));
    ASSERT_TRUE(Control->OpenClosedTab(L"Sheet1"));
    EXPECT_EQ(Pages[1]->TabColor(), clRed);
}

TEST_F(PageControlWindow, ErrorsKeepTheValues) {
    Build(3);
    try {
        Pages[0]->SetPageIndex(3);
        ADD_FAILURE() << "no error";
    } catch (const EListError& error) {
        EXPECT_EQ(error.Message(), L"3 is an invalid PageIndex value.  PageIndex must be between 0 and 2");
    }
    EXPECT_EQ(Pages[0]->PageIndex(), 0);
    Pages[0]->SetPageIndex(2);
    EXPECT_EQ(Control->Pages(2), Pages[0]);
    EXPECT_EQ(Control->TabObject(2), Pages[0]);

    Control->SetTabStyle(tsDotNet);
    EXPECT_THROW(Control->SetTabSplitLine(true), Exception);
    EXPECT_FALSE(Control->TabSplitLine());
    Control->SetTabStyle(tsClassic);
    Control->SetTabSplitLine(true);
    Control->SetTabStyle(tsVestra);  // accepted the other way round
    EXPECT_TRUE(Control->TabSplitLine());
}

TEST_F(PageControlWindow, AnExceptionOfOnShowIsReportedNotRaised) {
    Build(2);
    Control->SetActivePageIndex(0);
    std::wstring reported;
    auto saved = Application->OnException;
    Application->OnException = [&reported](TObject*, const Exception& error) { reported = error.Message(); };
    Pages[1]->OnShow = [](TObject*) { throw Exception(L"show failed"); };
    EXPECT_NO_THROW(Control->SetActivePageIndex(1));
    Application->OnException = saved;
    EXPECT_EQ(reported, L"show failed");
    EXPECT_EQ(Control->ActivePage(), Pages[1]);
    EXPECT_TRUE(Pages[1]->Visible());
}

TEST(PageControlDescription, SheetsDescribedInsideTheControlBecomeItsPages) {
    TForm form(nullptr);
    ReadComponentFromText(&form, L"object F: TForm\n"
                                 L"  object Pages: TAdvPageControl\n"
                                 L"    Width = 300\n"
                                 L"    Height = 200\n"
                                 L"    TabStyle = tsDotNet\n"
                                 L"    object SheetA: TAdvTabSheet\n"
                                 L"      Caption = \"Source\"\n"
                                 L"      ShowClose = True\n"
                                 L"    end\n"
                                 L"    object SheetB: TAdvTabSheet\n"
                                 L"      Caption = \"Header\"\n"
                                 L"      TabColor = clRed\n"
                                 L"    end\n"
                                 L"  end\n"
                                 L"end");
    auto* control = dynamic_cast<TAdvPageControl*>(form.FindComponent(L"Pages"));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->TabStyle(), tsDotNet);
    ASSERT_EQ(control->PageCount(), 2);
    EXPECT_EQ(control->Pages(0)->Name(), L"SheetA");
    EXPECT_EQ(control->Pages(0)->Parent(), control);
    EXPECT_EQ(control->Pages(0)->TabText(), L"Source ");
    EXPECT_EQ(control->TabText(1), L"HeadW");
    EXPECT_EQ(control->Pages(1)->TabColor(), clRed);
    EXPECT_EQ(control->Pages(0)->TabColor(), clBtnFace);
    EXPECT_EQ(control->PlaceholderImages()->Width(), int(std::lround(4 * control->DPIScale()))) << "loaded";
}

TEST_F(PageControlWindow, PublishedDefaultsHold) {
    Build(1);
    for (TComponent* component : std::initializer_list<TComponent*>{new TAdvPageControl(nullptr),
                                                                    new TAdvTabSheet(nullptr), new TPCButton(nullptr),
                                                                    new TPCSpeedButton(nullptr)}) {
        std::unique_ptr<TComponent> owned(component);
        SCOPED_TRACE(testing::PrintToString(component->ClassName()));
        EXPECT_GT(TestSupport::ExpectPublishedDefaults(component), 0);
    }
    EXPECT_EQ(Control->Version(), L"2.0.4.2");
}

// ---- painting ----

TEST(PageControlDrawing, GradientBandsAndStepsZero) {
    TBitmap bitmap(64, 64);
    TCanvas* canvas = bitmap.Canvas();
    DrawGradient(canvas, clRed, clBlue, false, TRect{0, 0, 64, 64}, 4);
    EXPECT_EQ(canvas->Pixels(10, 2), clRed) << "the first band is the start colour";
    const TColor last = canvas->Pixels(10, 62);
    EXPECT_EQ(last & 0xFF, 0x40) << "the last band stops a step short of the end colour";
    EXPECT_EQ((last >> 16) & 0xFF, 0xBF);
    EXPECT_EQ(canvas->Pixels(10, 20), canvas->Pixels(50, 20)) << "vertical: one colour across";

    DrawGradient(canvas, clLime, clBlue, true, TRect{0, 0, 64, 64}, 0);
    EXPECT_EQ(canvas->Pixels(1, 1), clLime);
    EXPECT_EQ(canvas->Pixels(62, 62), clLime) << "Steps 0 draws one band in the start colour";
}

TEST(PageControlDrawing, SlicedPicturesKeepTheirCorners) {
    TBitmap picture(8, 6);
    TCanvas* p = picture.Canvas();
    p->Brush()->SetColor(clYellow);
    p->FillRect(TRect{0, 0, 8, 6});
    p->SetPixels(0, 0, clRed);   // corners that must survive the stretch
    p->SetPixels(7, 0, clBlue);
    p->SetPixels(0, 5, clWhite);  // bottom-left: the transparent colour
    TBitmap target(60, 60);
    TCanvas* t = target.Canvas();
    t->Brush()->SetColor(clBlack);
    t->FillRect(TRect{0, 0, 60, 60});
    DrawSlicedH(&picture, t, 5, 40, 10);
    EXPECT_EQ(t->Pixels(5, 10), clRed);
    EXPECT_EQ(t->Pixels(44, 10), clBlue);
    EXPECT_EQ(t->Pixels(20, 12), clYellow);
    EXPECT_EQ(t->Pixels(5, 15), clBlack) << "the transparent colour leaves the target";
    DrawSlicedV(&picture, t, 50, 30, 20);
    EXPECT_EQ(t->Pixels(50, 20), clRed);
    EXPECT_EQ(t->Pixels(57, 20), clBlue);
}

// ---- window-free layout ----

// Wherever the button sits, a click on any pixel of the box drawn for it closes the page.
TEST(PageControlLayout, TheClickAreaHoldsTheDrawnCloseBox) {
    for (const TStrip strip : {TStrip::Top, TStrip::Bottom, TStrip::Left, TStrip::Right})
        for (const bool atEnd : {false, true})
            for (const int scale : {96, 144}) {
                SCOPED_TRACE(testing::Message() << "strip " << int(strip) << ", at end " << atEnd << ", " << scale);
                TCloseBoxInput in;
                in.Strip = strip;
                in.AtEnd = atEnd;
                in.Tab = strip == TStrip::Top || strip == TStrip::Bottom ? TRect{40, 2, 140, 24} : TRect{2, 40, 24, 140};
                in.LeftMargin = 3;
                in.TopMargin = 2;
                in.RightMargin = 4;
                in.Width = 14 * scale / 96;
                in.Height = 13 * scale / 96 + (scale > 96 ? 1 : 0);
                const TRect box = CloseBoxPlace(in).Box;
                const TRect hit = CloseBoxHitArea(in);
                ASSERT_GT(box.Width(), 0);
                ASSERT_GT(box.Height(), 0);
                EXPECT_TRUE(hit.Contains(TPoint{box.Left, box.Top}) && hit.Contains(TPoint{box.Right - 1, box.Bottom - 1}))
                    << "box " << box.Left << "," << box.Top << "-" << box.Right << "," << box.Bottom << " hit " << hit.Left
                    << "," << hit.Top << "-" << hit.Right << "," << hit.Bottom;
            }
}

// The cross is centred in the box's face and clear of its outline, at every scale of the
// box and its pen; each stroke is a pen wide on every row.
TEST(PageControlLayout, TheCrossIsCentredInsideTheFace) {
    for (const int ppi : {96, 120, 144, 192}) {
        SCOPED_TRACE(ppi);
        const double scale = ppi / 96.0;
        const int cw = int(std::lround(14 * scale)), ch = int(std::lround(13 * scale)), pw = int(std::lround(2 * scale));
        const TRect box{10, 20, 10 + cw - 2, 20 + ch - 2};
        const TPixelRuns cross = CloseCross(box, pw);
        ASSERT_FALSE(cross.empty());
        int inkTop = box.Bottom, inkBottom = box.Top;
        for (const TPixelRun& run : cross) {
            SCOPED_TRACE(run.Y);
            // The face is box.Left + 1 .. box.Right - 2; a row's ink mirrors itself in it.
            EXPECT_GE(run.Left, box.Left + 2);
            EXPECT_LE(run.Right, box.Right - 2);
            EXPECT_GE(run.Right - run.Left, pw);
            inkTop = std::min(inkTop, run.Y);
            inkBottom = std::max(inkBottom, run.Y);
        }
        for (const TPixelRun& run : cross) {
            const bool mirrored = std::any_of(cross.begin(), cross.end(), [&](const TPixelRun& other) {
                return other.Y == run.Y && other.Left - (box.Left + 1) == (box.Right - 1) - run.Right;
            });
            EXPECT_TRUE(mirrored) << "row " << run.Y;
        }
        EXPECT_EQ(inkTop - (box.Top + 1), (box.Bottom - 2) - inkBottom);
        EXPECT_GE(inkTop, box.Top + 2);
    }
}

TEST(PageControlLayout, TabsOfPagesWhenSomeHideTheirs) {
    const std::vector<bool> visible = {false, true, false, true, true};
    struct TCase { int Tab, Page; };
    const TCase cases[] = {{-1, -1}, {0, 1}, {1, 3}, {2, 4}, {3, 5}, {4, 6}};  // past the last: further on
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Tab);
        EXPECT_EQ(PageOfTab(visible, c.Tab), c.Page);
    }
    EXPECT_EQ(TabOfPage(visible, 1), 0);
    EXPECT_EQ(TabOfPage(visible, 4), 2);
    const TRect tabs[] = {{0, 0, 50, 20}, {50, 0, 100, 20}};
    EXPECT_FALSE(TabsOverflow(tabs, 101));
    EXPECT_TRUE(TabsOverflow(tabs, 100));
    const TRect scrolled[] = {{-30, 0, 20, 20}};
    EXPECT_TRUE(TabsOverflow(scrolled, 500));
}


TEST_F(PageControlWindow, TabsSheetAndFramesArePaintedInTheirColours) {
    Build(3);
    Control->SetActivePageIndex(1);
    Control->SetActiveColor(clBlue);
    Pages[0]->SetTabColor(clRed);
    Pages[2]->SetTabColor(clLime);
    Pages[2]->SetTabColorTo(clYellow);
    Control->SetTabSheetBorderColor(clPurple);
    auto shot = Snapshot();
    TCanvas* c = shot->Canvas();
    const TRect first = Control->TabRectOfPage(0), active = Control->TabRectOfPage(1), third = Control->TabRectOfPage(2);
    EXPECT_EQ(c->Pixels(first.Left + 2, first.Bottom - 3), clRed);
    EXPECT_EQ(c->Pixels(active.Left + 2, active.Bottom - 3), clBlue);
    // Lime to yellow from top to bottom: the red part grows.
    const TColor top = c->Pixels(third.Left + 2, third.Top), bottom = c->Pixels(third.Left + 2, third.Bottom - 3);
    EXPECT_EQ(top & 0xFFFF00, clLime & 0xFFFF00);
    EXPECT_LT(top & 0xFF, 0x40);
    EXPECT_GT(bottom & 0xFF, 0xA0);
    EXPECT_EQ(c->Pixels(first.Left, first.Top + 3), clGray) << "classic outline";
    const int w = Control->Width(), h = Control->Height();
    EXPECT_EQ(c->Pixels(0, h - 1), clPurple) << "flat sheet border";
    EXPECT_EQ(c->Pixels(w - 1, h / 2), clPurple);

    // A coloured page frames the sheet in its colour.
    Pages[1]->SetColor(clFuchsia);
    shot = Snapshot();
    EXPECT_EQ(shot->Canvas()->Pixels(2, h - 3), clFuchsia);
    EXPECT_EQ(shot->Canvas()->Pixels(w - 3, h / 2), clFuchsia);
}

TEST_F(PageControlWindow, HoverOutlineNeverOnTheActiveTab) {
    Build(3);
    Control->SetActivePageIndex(1);
    Control->SetTabHoverColor(clAqua);
    Control->SetTabHoverBorder(clMaroon);
    const TRect active = Control->TabRectOfPage(1), other = Control->TabRectOfPage(2);
    Control->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(Centre(active).Left, Centre(active).Top));
    EXPECT_EQ(Control->HoverPage(), 1);
    auto shot = Snapshot();
    EXPECT_NE(shot->Canvas()->Pixels(active.Left, active.Top + 3), clMaroon);
    Control->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(Centre(other).Left, Centre(other).Top));
    EXPECT_EQ(Control->HoverPage(), 2);
    shot = Snapshot();
    EXPECT_EQ(shot->Canvas()->Pixels(other.Left, other.Top + 3), clMaroon);
    EXPECT_EQ(shot->Canvas()->Pixels(other.Left + 2, other.Bottom - 3), clAqua);
    Control->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Control->HoverPage(), -1);
}

TEST_F(PageControlWindow, PlaceholderMakesRoomForContent) {
    Build(2);
    const int four = int(std::lround(4 * Control->DPIScale()));
    EXPECT_EQ(Control->PlaceholderImages()->Width(), four) << "after loading: the scaled 4-pixel term";
    Control->TabMargin()->SetRightMargin(10);
    EXPECT_EQ(Control->PlaceholderImages()->Width(), four + 10);
    Control->TabMargin()->SetLeftMargin(3);
    EXPECT_EQ(Control->PlaceholderImages()->Width(), 10 + 3) << "a left margin change drops the 4-pixel term";
    TImageList images(nullptr);
    images.SetSize(16, 16);
    Control->SetImages(&images);
    EXPECT_EQ(Control->PlaceholderImages()->Width(), 13 + 16);
    Control->SetImages(nullptr);
    EXPECT_EQ(Control->PlaceholderImages()->Width(), 13);
}

TEST_F(PageControlWindow, SizesFollowTheScreenResolution) {
    HDC screen = ::GetDC(nullptr);
    const int ppi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    if (const char* expected = std::getenv("ATGEN_EXPECT_DPI")) {
        ASSERT_EQ(ppi, std::atoi(expected)) << "the screen does not have the resolution this run set up";
    }
    Build(2);
    for (TAdvTabSheet* page : Pages) page->SetShowClose(true);
    const float scale = float(ppi) / 96.0f;
    EXPECT_FLOAT_EQ(Control->DPIScale(), scale) << "from the scaled form";
    EXPECT_EQ(Control->ActiveFont()->Height(), ::MulDiv(-11, ppi, 96)) << "a pixel height, rescaled once";
    const int four = int(std::lround(4 * scale));
    EXPECT_EQ(Control->PlaceholderImages()->Width(), four);

    // The close box measured through the hit test: from (2, 2) to (CW, CH) of the tab content.
    const TRect tab = Control->TabRectOfPage(1);
    const int x0 = tab.Left, y0 = tab.Top;
    int right = x0 + 2, bottom = y0 + 2;
    while (Control->IsOnCloseButton(1, right, y0 + 3)) ++right;
    while (Control->IsOnCloseButton(1, x0 + 3, bottom)) ++bottom;
    const int cw = int(std::lround(14 * scale)), ch = int(std::lround(13 * scale));
    EXPECT_FALSE(Control->IsOnCloseButton(1, x0 + 1, y0 + 3));
    EXPECT_EQ(right - x0, cw);
    EXPECT_EQ(bottom - y0, ch);

    // The drawn box has the same size: its grey outline ends at CW - 1 and CH - 1.
    auto shot = Snapshot();
    EXPECT_EQ(shot->Canvas()->Pixels(x0 + cw - 1, y0 + 2 + (ch - 2) / 2), clGray);
    EXPECT_EQ(shot->Canvas()->Pixels(x0 + 2 + (cw - 2) / 2, y0 + ch - 1), clGray);
    std::printf("[ info ] %d dpi: scale %.2f, close box %d x %d, cross pen %d, placeholder %d, active font %d, "
                "tab %d x %d\n", ppi, double(scale), cw, ch, int(std::lround(2 * scale)), four,
                Control->ActiveFont()->Height(), tab.Width(), tab.Height());
}

// ---- close buttons and the closed list ----

TEST_F(PageControlWindow, CloseButtonHitTestFollowsPositionAndKind) {
    Build(3);
    for (TAdvTabSheet* page : Pages) page->SetShowClose(true);
    Control->SetActivePageIndex(0);
    const TPoint left = CloseBoxCentre(1);
    EXPECT_TRUE(Control->IsOnCloseButton(1, left.X, left.Y));
    const TRect tab = Control->TabRectOfPage(1);
    EXPECT_FALSE(Control->IsOnCloseButton(1, tab.Right - 5, left.Y));
    Control->SetClosePosition(cpRight);
    EXPECT_TRUE(Control->IsOnCloseButton(1, tab.Right - 5, tab.Top + 5));
    EXPECT_FALSE(Control->IsOnCloseButton(1, left.X, left.Y));
    Control->SetClosePosition(cpLeftActive);
    EXPECT_FALSE(Control->IsOnCloseButton(1, left.X, left.Y)) << "only on the selected tab";
    const TPoint active = CloseBoxCentre(0);
    EXPECT_TRUE(Control->IsOnCloseButton(0, active.X, active.Y));

    // The normal state: white box in a grey outline.
    Control->SetClosePosition(cpLeft);
    auto shot = Snapshot();
    const TRect first = Control->TabRectOfPage(1);
    const int boxLeft = first.Left + 2, boxTop = first.Top + 2;
    EXPECT_EQ(shot->Canvas()->Pixels(boxLeft, boxTop + 4), clGray);
    EXPECT_EQ(shot->Canvas()->Pixels(boxLeft + 1, boxTop + 5), clWhite);
}

TEST_F(PageControlWindow, ClosingByClickAsksFiresAndKeepsThePage) {
    Build(3);
    for (TAdvTabSheet* page : Pages) page->SetShowClose(true);
    Control->SetActivePageIndex(0);
    std::vector<std::string> events;
    bool allow = false;
    Pages[1]->OnCanClose = [&](TObject*, bool& can) { events.push_back("can"); can = allow; };
    Pages[1]->OnClose = [&](TObject*) { events.push_back("close"); };
    Control->OnChange = [&](TObject*) { events.push_back("change"); };
    TPoint box = CloseBoxCentre(1);
    Click(box.X, box.Y);
    EXPECT_EQ(Control->ClosedTabCount(), 0) << "vetoed";
    allow = true;
    events.clear();
    Control->SetActivePageIndex(0);
    box = CloseBoxCentre(1);
    Click(box.X, box.Y);
    // The press selects the tab (a change), the release closes it.
    EXPECT_EQ(events, (std::vector<std::string>{"change", "can", "close", "change"}));
    ASSERT_EQ(Control->ClosedTabCount(), 1);
    EXPECT_EQ(Control->ClosedTabs(0), Pages[1]);
    EXPECT_EQ(Pages[1]->AdvPageControl(), nullptr);
    EXPECT_EQ(Control->ActivePage(), Pages[2]) << "the page after the closed one";

    // A right click on a close box does nothing.
    box = CloseBoxCentre(2);
    Click(box.X, box.Y, WM_RBUTTONDOWN, WM_RBUTTONUP);
    EXPECT_EQ(Control->PageCount(), 2);
}

TEST_F(PageControlWindow, FreeOnCloseDestroysAndDockSiteClosesOnThePress) {
    Build(3);
    for (TAdvTabSheet* page : Pages) page->SetShowClose(true);
    Control->SetFreeOnClose(true);
    Control->SetActivePageIndex(2);
    TLifeWatch watch;
    watch.Watch(Pages[2]);
    TPoint box = CloseBoxCentre(2);
    Click(box.X, box.Y);
    ASSERT_EQ(watch.Gone.size(), 1u);
    EXPECT_EQ(Control->PageCount(), 2);
    EXPECT_EQ(Control->ClosedTabCount(), 0);
    EXPECT_EQ(Control->ActivePage(), Pages[1]) << "the last page hands over to the one before it";

    Control->SetFreeOnClose(false);
    Control->SetDockSite(true);
    Control->SetActivePageIndex(0);
    box = CloseBoxCentre(0);
    Control->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(box.X, box.Y));
    EXPECT_EQ(Control->ClosedTabCount(), 1) << "closed on the press";
    Control->Perform(WM_LBUTTONUP, 0, MAKELPARAM(box.X, box.Y));
}

TEST_F(PageControlWindow, ClosedTabsApi) {
    Build(3);
    Control->SetActivePageIndex(0);
    EXPECT_TRUE(Control->CloseOpenedTab(L"sHeEt0"));
    EXPECT_FALSE(Control->CloseOpenedTab(Pages[0])) << "not twice";
    EXPECT_FALSE(Control->CloseOpenedTab(L"nothing"));
    EXPECT_EQ(Control->ActivePage(), Pages[1]);
    EXPECT_TRUE(Control->CloseOpenedTab(Pages[2]));
    EXPECT_EQ(Control->ClosedTabCount(), 2);
    EXPECT_EQ(Control->GetClosedTab(5), nullptr);
    EXPECT_TRUE(Control->OpenClosedTab(L"SHEET0"));
    EXPECT_EQ(Control->Pages(Control->PageCount() - 1), Pages[0]) << "reopened as the last tab";
    EXPECT_EQ(Control->ActivePage(), Pages[1]) << "the selection stays";
    EXPECT_FALSE(Control->OpenClosedTab(L"Sheet0"));
    Control->OpenAllClosedTabs();
    EXPECT_EQ(Control->ClosedTabCount(), 0);
    EXPECT_EQ(Control->PageCount(), 3);
}

TEST_F(PageControlWindow, ClosedListButtonFollowsTheListAndOpensTheMenu) {
    Build(3);
    Control->SetShowClosedList(true);
    TPCButton* button = Control->ClosedListButton();
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(button->Visible()) << "nothing to reopen";
    Control->CloseOpenedTab(Pages[1]);
    EXPECT_TRUE(button->Visible());
    EXPECT_EQ(button->Width(), 16);
    EXPECT_EQ(button->Height(), 16);
    EXPECT_EQ(button->Left(), Control->ClientWidth() - 16);
    EXPECT_EQ(button->Top(), 2);

    int reported = 0;
    Control->OnClosedListClick = [&reported](TObject*, int, int) { ++reported; };
    TPopupMenu menu(nullptr);
    Control->SetClosedListMenu(&menu);
    button->OnClick(button);
    EXPECT_EQ(reported, 1);
    ASSERT_EQ(menu.Items()->Count(), 1);
    EXPECT_EQ(menu.Items()->Items(0)->Caption(), L"Tab1");
    menu.Items()->Items(0)->Click();
    EXPECT_EQ(Control->ClosedTabCount(), 0);
    EXPECT_FALSE(button->Visible());

    // Tabs beyond the strip: the button moves inward past the host's scroll arrows (34
    // pixels at 96 pixels per inch, more on a larger screen).
    for (int i = 0; i < 20; ++i) AddPage(L"Another long caption " + std::to_wstring(i));
    Control->CloseOpenedTab(Pages[0]);
    TestSupport::PumpMessages();
    ASSERT_TRUE(Control->TabsOverflow());
    HWND arrows = ::FindWindowExW(Control->Handle(), nullptr, UPDOWN_CLASSW, nullptr);
    ASSERT_NE(arrows, nullptr);
    RECT arrowsRect{};
    ::GetWindowRect(arrows, &arrowsRect);
    if (Control->DPIScale() == 1.0f) EXPECT_EQ(arrowsRect.right - arrowsRect.left, 34);
    EXPECT_EQ(button->Left(), Control->ClientWidth() - 16 - (arrowsRect.right - arrowsRect.left));
    Control->SetShowClosedList(false);
    EXPECT_FALSE(button->Visible());
}

// Scrolled to the end of the strip, or ending just inside it, the last tab ends where the
// closed-list button begins: its caption never lies under the button.
TEST_F(PageControlWindow, TheLastTabKeepsClearOfTheClosedListButton) {
    struct TCase { const char* Tag; int Pages; };
    const TCase cases[] = {{"tabs ending just inside the strip", 3}, {"tabs beyond the strip", 14}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Tag);
        Pages.clear();
        SetUp();
        for (int i = 0; i <= c.Pages; ++i) AddPage(L"Caption " + std::to_wstring(i));
        Build(0);
        Control->SetShowClosedList(true);
        Control->CloseOpenedTab(Pages[0]);
        const int last = Control->PageCount() - 1;
        if (c.Pages == 3) Control->SetWidth(Control->TabRectOfPage(last).Right + 8);
        TestSupport::PumpMessages();
        // As far to the end as the host's scroll arrows go (a step a message under Wine).
        if (HWND arrows = ::FindWindowExW(Control->Handle(), nullptr, UPDOWN_CLASSW, nullptr)) {
            int low = 0, high = 0;
            ::SendMessageW(arrows, UDM_GETRANGE32, WPARAM(&low), LPARAM(&high));
            for (int step = low; step <= high; ++step)
                ::SendMessageW(Control->Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, high), LPARAM(arrows));
        }
        const TPCButton* button = Control->ClosedListButton();
        ASSERT_TRUE(button->Visible());
        const TRect tab = Control->TabRectOfPage(last);
        EXPECT_GT(tab.Right, tab.Left);
        EXPECT_LE(tab.Right, button->Left()) << "tab " << tab.Left << "-" << tab.Right;
    }
}

// ---- page state between runs ----

std::filesystem::path TempIni() {
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    return std::filesystem::path(folder) / L"pagecontrol-state-test.ini";
}

TEST_F(PageControlWindow, StateIsWrittenInTheIniLayoutAndReadBack) {
    const std::filesystem::path file = TempIni();
    std::filesystem::remove(file);
    PersistTo(plIniFile, file.wstring(), L"Tabs");
    Build(3);
    Pages[0]->SetCaption(L"a");
    Pages[2]->SetCaption(L"b");
    Control->CloseOpenedTab(Pages[2]);
    Control->CloseOpenedTab(Pages[0]);
    Form.reset();  // saved by the control's destructor
    std::wstringstream text;
    {
        std::wifstream in(file);
        text << in.rdbuf();
    }
    // (Read in text mode: the line breaks arrive as "\n".)
    EXPECT_EQ(text.str(), L"[Tabs]\nClosedTabCount=2\nName1=Sheet2\nSheet2.Caption=b\nName2=Sheet0\nSheet0.Caption=a\n");

    // The next run closes the same pages again; a renamed page is found by its caption.
    Pages.clear();
    SetUp();
    PersistTo(plIniFile, file.wstring(), L"Tabs");
    AddPage(L"a");
    AddPage(L"x");
    TAdvTabSheet* renamed = AddPage(L"b");
    renamed->SetName(L"Renamed");
    Build(0);
    EXPECT_EQ(Control->ClosedTabCount(), 2);
    EXPECT_EQ(Control->PageCount(), 1);
    EXPECT_EQ(Control->Pages(0)->Caption(), L"x");
    Control->PersistPagesState()->SetEnabled(false);
    Form.reset();
    std::filesystem::remove(file);
}

TEST_F(PageControlWindow, StateRoundTripsThroughTheRegistry) {
    const std::wstring key = L"Software\\AtCmdGenTests\\PageControlState";
    TRegistry().DeleteKey(L"\\Software\\AtCmdGenTests");
    PersistTo(plRegistry, key, L"Main");
    Build(3);
    Control->CloseOpenedTab(Pages[1]);
    Form.reset();
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKeyReadOnly(L"\\" + key + L"\\Main"));
        EXPECT_EQ(registry.GetDataType(L"ClosedTabCount"), rdInteger);
        EXPECT_EQ(registry.ReadInteger(L"ClosedTabCount"), 1);
        EXPECT_EQ(registry.ReadString(L"Name1"), L"Sheet1");
        EXPECT_EQ(registry.ReadString(L"Sheet1.Caption"), L"Tab1");
    }
    Pages.clear();
    SetUp();
    PersistTo(plRegistry, key, L"Main");
    Build(3);
    ASSERT_EQ(Control->ClosedTabCount(), 1);
    EXPECT_EQ(Control->ClosedTabs(0), Pages[1]);
    Control->PersistPagesState()->SetEnabled(false);
    Form.reset();
    TRegistry().DeleteKey(L"\\Software\\AtCmdGenTests");
}

TEST_F(PageControlWindow, AClosedPageDestroyedBeforeTheControlLeavesTheList) {
    const std::filesystem::path file = TempIni();
    std::filesystem::remove(file);
    PersistTo(plIniFile, file.wstring(), L"Tabs");
    Build(3);
    Control->CloseOpenedTab(Pages[0]);
    Control->CloseOpenedTab(Pages[1]);
    delete Pages[0];
    EXPECT_EQ(Control->ClosedTabCount(), 1);
    EXPECT_EQ(Control->ClosedTabs(0), Pages[1]);
    Form.reset();
    TIniFile ini(file.wstring());
    EXPECT_EQ(ini.ReadInteger(L"Tabs", L"ClosedTabCount", -1), 1);
    EXPECT_EQ(ini.ReadString(L"Tabs", L"Name1", L""), L"Sheet1");
    std::filesystem::remove(file);
}

// Pixel probes of the cross in the box the control reports: the outline untouched, the ink
// centred in the face within half a pixel.
TEST_F(PageControlWindow, TheCloseCrossSitsInTheMiddleOfItsBox) {
    Build(2);
    for (TAdvTabSheet* page : Pages) page->SetShowClose(true);
    Control->SetActivePageIndex(0);
    auto shot = Snapshot();
    TCloseBoxInput in;
    in.Tab = Control->TabRectOfPage(1);
    in.LeftMargin = Control->TabMargin()->LeftMargin();
    in.TopMargin = Control->TabMargin()->TopMargin();
    in.RightMargin = Control->TabMargin()->RightMargin();
    in.Width = int(std::lround(14 * Control->DPIScale()));
    in.Height = int(std::lround(13 * Control->DPIScale()));
    const TRect box = CloseBoxPlace(in).Box;
    TCanvas* c = shot->Canvas();
    for (int x = box.Left; x < box.Right; ++x) {
        EXPECT_EQ(c->Pixels(x, box.Top), clGray) << x;
        EXPECT_EQ(c->Pixels(x, box.Bottom - 1), clGray) << x;
    }
    for (int y = box.Top; y < box.Bottom; ++y) {
        EXPECT_EQ(c->Pixels(box.Left, y), clGray) << y;
        EXPECT_EQ(c->Pixels(box.Right - 1, y), clGray) << y;
    }
    double sumX = 0, sumY = 0;
    int ink = 0;
    for (int y = box.Top + 1; y < box.Bottom - 1; ++y)
        for (int x = box.Left + 1; x < box.Right - 1; ++x) {
            if (c->Pixels(x, y) != clBlack) continue;
            sumX += x;
            sumY += y;
            ++ink;
        }
    ASSERT_GT(ink, 8);
    EXPECT_NEAR(sumX / ink, (box.Left + 1 + box.Right - 2) / 2.0, 0.5);
    EXPECT_NEAR(sumY / ink, (box.Top + 1 + box.Bottom - 2) / 2.0, 0.5);
}

// Without visual styles the list button draws its arrow itself: it shows whatever the
// system's arrow picture looks like (Wine's loses its arrow to its own transparent colour).
TEST_F(PageControlWindow, TheClosedListArrowShowsWithoutVisualStyles) {
    Build(2);
    Control->SetShowClosedList(true);
    Control->CloseOpenedTab(Pages[1]);
    TPCSpeedButton* speed = Control->ClosedListButton()->SpeedButton();
    if (speed->Themed()) GTEST_SKIP() << "the visual styles draw the arrow";
    TBitmap picture(speed->Width(), speed->Height(), pf32bit);
    picture.Canvas()->Brush()->SetColor(clFuchsia);
    picture.Canvas()->FillRect(TRect{0, 0, speed->Width(), speed->Height()});
    speed->Perform(WM_PAINT, WPARAM(picture.Canvas()->Handle()), 0);
    const TColor arrow = ColorToRGB(clBtnText);
    int count = 0, left = speed->Width(), right = -1;
    for (int y = 0; y < speed->Height(); ++y)
        for (int x = 0; x < speed->Width(); ++x)
            if (picture.Canvas()->Pixels(x, y) == arrow) {
                ++count;
                left = std::min(left, x);
                right = std::max(right, x);
            }
    EXPECT_GE(count, 16);
    EXPECT_LE(std::abs((left + right) - (speed->Width() - 1)), 1) << "centred across the button";
}

// A count in the saved state that no control of these pages can have, from a damaged INI
// file or registry value, reads only the names stored; a negative one reads none. Either
// way the load ends (2147483647 entries would otherwise be read for ever), and no page
// is closed for an entry that was never written: such entries default to the control's
// name, which the last page's caption matches here.
TEST_F(PageControlWindow, ADamagedClosedTabCountReadsOnlyTheNamesStored) {
    const std::wstring key = L"Software\\AtCmdGenTests\\PageControlState";
    struct TCase { const char* Tag; TPersistenceLocation Where; std::int64_t Count; bool ClosesStored; };
    const TCase cases[] = {
        {"INI, 100000", plIniFile, 100000, true},
        {"INI, 2147483647", plIniFile, 2147483647, true},
        {"INI, -3", plIniFile, -3, false},
        {"registry, 2147483647", plRegistry, 2147483647, true},
        {"registry, 0xFFFFFFFF", plRegistry, -1, false},
    };
    const std::filesystem::path file = TempIni();
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Tag);
        std::filesystem::remove(file);
        TRegistry().DeleteKey(L"\\Software\\AtCmdGenTests");
        if (c.Where == plIniFile) {
            TIniFile ini(file.wstring());
            ini.WriteString(L"Tabs", L"ClosedTabCount", std::to_wstring(c.Count));
            ini.WriteString(L"Tabs", L"Name1", L"Sheet2");
            ini.WriteString(L"Tabs", L"Name2", L"Sheet0");
        } else {
            TRegistry registry;
            ASSERT_TRUE(registry.OpenKey(L"\\" + key + L"\\Tabs", true));
            registry.WriteInteger(L"ClosedTabCount", int(c.Count));
            registry.WriteString(L"Name1", L"Sheet2");
            registry.WriteString(L"Name2", L"Sheet0");
        }
        Pages.clear();
        SetUp();
        PersistTo(c.Where, c.Where == plIniFile ? file.wstring() : key, L"Tabs");
        AddPage(L"a");
        AddPage(L"b");
        AddPage(L"c");
        AddPage(L"Pages");  // the control's own name
        Build(0);
        if (c.ClosesStored) {
            ASSERT_EQ(Control->ClosedTabCount(), 2);
            EXPECT_EQ(Control->ClosedTabs(0), Pages[2]);
            EXPECT_EQ(Control->ClosedTabs(1), Pages[0]);
        } else {
            EXPECT_EQ(Control->ClosedTabCount(), 0);
        }
        EXPECT_EQ(Control->IndexOfPage(Pages[3]), Control->PageCount() - 1) << "never named, never closed";
        Control->PersistPagesState()->SetEnabled(false);
        Form.reset();
    }
    std::filesystem::remove(file);
    TRegistry().DeleteKey(L"\\Software\\AtCmdGenTests");
}

// ---- buttons and the scroller ----

TEST_F(PageControlWindow, ButtonKeepsItsWidthAndFiresOnLeftReleaseOnly) {
    Build(1);
    auto* button = new TPCButton(Form.get());
    button->SetParent(Form.get());
    button->SetBounds(420, 10, 18, 22);
    EXPECT_EQ(button->Width(), 16);
    EXPECT_EQ(button->SpeedButton()->Width(), 16);
    EXPECT_EQ(button->SpeedButton()->Height(), 22);
    int clicks = 0;
    button->OnClick = [&clicks](TObject*) { ++clicks; };
    TPCSpeedButton* speed = button->SpeedButton();
    speed->Perform(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    speed->Perform(WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(clicks, 0);
    speed->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    speed->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(clicks, 1);
}

TEST_F(PageControlWindow, SetUpNeverShowsThePressedLook) {
    Build(1);
    auto* holder = new TPCButton(Form.get());
    holder->SetParent(Form.get());
    holder->SetBounds(420, 10, 16, 22);
    TPCSpeedButton* speed = holder->SpeedButton();
    speed->SetButtonStyle(bsButton);
    // The classic looks are what this branch draws under Wine without visual styles.
    std::printf("[ info ] speed button: common controls 6+ %d, themed %d\n", speed->ThemesCapable() ? 1 : 0,
                speed->Themed() ? 1 : 0);
    auto paint = [&]() {
        TBitmap bitmap(16, 22);
        HDC dc = bitmap.Canvas()->Handle();
        holder->Perform(WM_PAINT, WPARAM(dc), 0);
        return std::pair<TColor, TColor>{bitmap.Canvas()->Pixels(0, 0), bitmap.Canvas()->Pixels(14, 20)};
    };
    const auto up = paint();
    speed->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    const auto pressed = paint();
    EXPECT_NE(up, pressed) << "pressed looks different";
    speed->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    speed->SetUp();
    speed->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(paint(), up);
    speed->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

TEST_F(PageControlWindow, ScrollArrowsHiddenWhenAllTabsFit) {
    Control->SetTabWidth(60);
    for (int i = 0; i < 12; ++i) AddPage(L"Page " + std::to_wstring(i));
    Build(0);
    HWND arrows = ::FindWindowExW(Control->Handle(), nullptr, UPDOWN_CLASSW, nullptr);
    ASSERT_NE(arrows, nullptr) << "twelve tabs of 60 pixels overflow 400";
    EXPECT_TRUE(::IsWindowVisible(arrows));
    // The window scales the fixed tab width on a screen of more than 96 pixels per inch.
    const int total = 12 * Control->TabWidth();
    EXPECT_EQ(Control->GetTotalTabWidth(), total);
    Control->UpdateTabScroller();
    EXPECT_TRUE(::IsWindowVisible(arrows)) << "they do not fit";
    Control->SetWidth(total);
    TestSupport::PumpMessages();
    Control->UpdateTabScroller();
    EXPECT_FALSE(::IsWindowVisible(arrows)) << "client width equal to the total";
}

}  // namespace

namespace {

TEST_F(PageControlWindow, ADroppedPanelBecomesASheetAndLeavesWithIt) {
    Build(1);
    Control->SetDockSite(true);
    auto* panel = new TPanel(Form.get());
    panel->SetParent(Form.get());
    panel->SetBounds(420, 10, 80, 60);
    panel->SetCaption(L"Docked\r\nsecond line");
    bool accept = false;
    Control->DragOver(panel, 20, 20, dsDragMove, accept);
    EXPECT_TRUE(accept);
    Control->DragDrop(panel, 20, 20);
    TAdvTabSheet* sheet = Control->HostOf(panel);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(Control->PageCount(), 2);
    EXPECT_EQ(panel->Parent(), sheet);
    EXPECT_EQ(panel->Align(), alClient);
    EXPECT_EQ(Control->ActivePage(), sheet);
    EXPECT_EQ(sheet->Caption(), L"Docked\r\nsecond line");
    accept = false;
    Control->DragOver(panel, 20, 20, dsDragMove, accept);
    EXPECT_FALSE(accept) << "a control is docked once";

    // The client's text and visibility reach its tab.
    panel->SetCaption(L"Renamed\nrest");
    EXPECT_EQ(sheet->Caption(), L"Renamed");
    panel->SetVisible(false);
    EXPECT_FALSE(sheet->TabVisible());
    panel->SetVisible(true);

    TLifeWatch watch;
    watch.Watch(sheet);
    ASSERT_TRUE(Control->UndockClient(panel, Form.get()));
    EXPECT_EQ(panel->Parent(), Form.get());
    EXPECT_EQ(panel->Align(), alNone);
    EXPECT_EQ(watch.Gone.size(), 1u) << "the sheet goes with its client";
    EXPECT_EQ(Control->PageCount(), 1);
    EXPECT_EQ(Control->ActivePage(), Pages[0]);
    EXPECT_FALSE(Control->UndockClient(panel, Form.get()));
}

}  // namespace
