// The standard page control with its sheets, the check list box and the shape: the three
// plain controls the update wizard's window is made of.
#include "classlib/PageControl.h"

#include <gtest/gtest.h>

#include <memory>

#include "classlib/CheckListBox.h"
#include "classlib/ComponentClasses.h"
#include "classlib/Form.h"
#include "classlib/GdiObjects.h"
#include "classlib/Shape.h"
#include "classlib/StringList.h"
#include "support/WindowTestSupport.h"

using namespace ClassLib;

namespace {

const wchar_t* const Pages = LR"(
object Pages: TForm
  ClientWidth = 400
  ClientHeight = 300
  object PageControl1: TPageControl
    Left = 10
    Top = 10
    Width = 300
    Height = 200
    Style = tsFlatButtons
    object Sheet1: TTabSheet
      Caption = "One"
      TabVisible = false
    end
    object Sheet2: TTabSheet
      Caption = "Two"
      TabVisible = false
    end
    object Sheet3: TTabSheet
      Caption = "Three"
      TabVisible = false
    end
  end
end
)";

}  // namespace

TEST(PageControl, HiddenTabsLeaveThePagesTheWholeControlAndOnePageShows) {
    REQUIRE_DISPLAY();
    RegisterComponentClasses();
    TForm form(nullptr);
    form.InitFromDescriptionText(Pages);
    auto* pages = dynamic_cast<TPageControl*>(form.FindComponent(L"PageControl1"));
    ASSERT_NE(pages, nullptr);
    ASSERT_EQ(pages->PageCount(), 3);
    EXPECT_EQ(pages->TabCount(), 0);
    EXPECT_EQ(pages->ActivePageIndex(), -1);
    form.Show();
    for (int active : {0, 2, 1}) {
        SCOPED_TRACE(active);
        pages->SetActivePageIndex(active);
        EXPECT_EQ(pages->ActivePage(), pages->Pages(active));
        for (int i = 0; i < pages->PageCount(); ++i) {
            EXPECT_EQ(pages->Pages(i)->Visible(), i == active) << "page " << i;
            EXPECT_EQ(pages->Pages(i)->PageIndex(), i);
        }
        const TTabSheet& page = *pages->ActivePage();
        EXPECT_EQ(page.Left(), 0);
        EXPECT_EQ(page.Top(), 0);
        EXPECT_EQ(page.Width(), 300);
        EXPECT_EQ(page.Height(), 200);
    }
    // Visible tabs come back in page order and follow the page shown.
    pages->Pages(2)->SetTabVisible(true);
    pages->Pages(1)->SetTabVisible(true);
    ASSERT_EQ(pages->TabCount(), 2);
    EXPECT_EQ(pages->TabText(0), L"Two");
    EXPECT_EQ(pages->TabText(1), L"Three");
    EXPECT_EQ(pages->TabIndex(), 0);
    pages->Pages(2)->SetText(L"Third");
    EXPECT_EQ(pages->WindowTabText(1), L"Third");
    // A page that goes takes its place and its showing with it.
    delete pages->Pages(1);
    EXPECT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(pages->ActivePage(), nullptr);
    EXPECT_EQ(pages->TabCount(), 1);
    pages->SetActivePageIndex(7);
    EXPECT_EQ(pages->ActivePage(), nullptr);
}

TEST(CheckListBox, ChecksBelongToItemsAndADisabledItemKeepsItsCheck) {
    REQUIRE_DISPLAY();
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto* list = new TCheckListBox(&form);
    list->SetParent(&form);
    list->SetBounds(10, 10, 200, 120);
    list->SetItemHeight(16);
    for (const wchar_t* item : {L"Program", L"Help", L"Samples"}) list->Items()->Add(item);
    list->SetChecked(0, true);
    list->SetItemEnabled(0, false);
    list->SetChecked(2, true);
    int clicks = 0;
    list->OnClickCheck = [&](TObject*) { ++clicks; };
    form.Show();
    TestSupport::PumpMessages();
    struct TCase {
        int Item;
        bool OnBox;
        bool Checked;  // afterwards
        int Clicks;    // OnClickCheck so far
    };
    const TCase cases[] = {
        {1, true, true, 1},     // the box turns the check over
        {1, false, true, 1},    // the text only selects
        {2, true, false, 2},
        {0, true, true, 2},     // disabled: the check stays
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "item " << c.Item << (c.OnBox ? " box" : " text"));
        const TRect rect = list->ItemRect(c.Item);
        const int x = c.OnBox ? rect.Left + 4 : rect.Left + 80;
        const LPARAM at = MAKELPARAM(x, rect.Top + 4);
        ::SendMessageW(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageW(list->Handle(), WM_LBUTTONUP, 0, at);
        EXPECT_EQ(list->Checked(c.Item), c.Checked);
        EXPECT_EQ(clicks, c.Clicks);
    }
    // The space key turns the selected item's check over.
    list->SetItemIndex(1);
    ::SendMessageW(list->Handle(), WM_CHAR, L' ', 0);
    EXPECT_FALSE(list->Checked(1));
    list->Items()->Clear();
    list->Items()->Add(L"New");
    EXPECT_FALSE(list->Checked(0));
    EXPECT_TRUE(list->ItemEnabled(0));
    EXPECT_THROW(list->SetChecked(1, true), Exception);
}

TEST(Shape, DrawsItsFigureWithItsPenAndBrush) {
    REQUIRE_DISPLAY();
    struct TCase {
        TShapeType Shape;
        TPoint Corner;       // a pixel near the bounds' corner
        COLORREF CornerColour;
    };
    const TCase cases[] = {
        {stRectangle, {0, 0}, RGB(255, 0, 0)},
        {stRoundRect, {0, 0}, RGB(255, 255, 255)},
        {stEllipse, {2, 2}, RGB(255, 255, 255)},
        // A circle is as wide as the bounds are high, centred: the left strip stays untouched.
        {stCircle, {5, 20}, RGB(255, 255, 255)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(int(c.Shape));
        TForm form(nullptr);
        form.SetBounds(0, 0, 200, 200);
        auto* shape = new TShape(&form);
        shape->SetParent(&form);
        shape->SetBounds(0, 0, 60, 40);
        shape->SetShape(c.Shape);
        shape->Pen()->SetColor(TColor(RGB(255, 0, 0)));
        shape->Brush()->SetColor(TColor(RGB(0, 0, 255)));
        HDC screen = ::GetDC(nullptr);
        HDC memory = ::CreateCompatibleDC(screen);
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 60, 40);
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        const RECT all{0, 0, 60, 40};
        ::FillRect(memory, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        shape->Perform(WM_PAINT, WPARAM(memory), 0);
        EXPECT_EQ(::GetPixel(memory, 30, 20), RGB(0, 0, 255));
        EXPECT_EQ(::GetPixel(memory, c.Corner.X, c.Corner.Y), c.CornerColour);
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(memory);
        ::ReleaseDC(nullptr, screen);
    }
}
