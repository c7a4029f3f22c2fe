#include "graphics/AdvUtils.h"

#include <gtest/gtest.h>

#include "classlib/Form.h"
#include "classlib/Pictures.h"
#include "classlib/StandardControls.h"
#include "classlib/WindowDescriptionWriter.h"

using namespace ClassLib;
using AdvUtils::TAdvUtils;

// A panel that owns its children and a picture: the copy has the same properties, a new
// root without owner or name, and the original keeps its name.
TEST(AdvUtilsClone, CopiesAPanelWithItsChildrenAndPicture) {
    TForm form(nullptr);
    auto* panel = new TPanel(&form);
    panel->SetName(L"Panel1");
    panel->SetParent(&form);
    panel->SetCaption(L"Commands");
    panel->SetBounds(10, 20, 300, 120);
    panel->SetColor(clYellow);
    auto* label = new TLabel(panel);
    label->SetName(L"Label1");
    label->SetParent(panel);
    label->SetCaption(L"AT+GMR");
    auto* image = new TImage(panel);
    image->SetName(L"Image1");
    image->SetParent(panel);
    TBitmap bitmap(4, 3, pf24bit);
    bitmap.Canvas()->SetPixels(1, 1, clRed);
    image->Picture()->SetGraphic(&bitmap);

    std::unique_ptr<TComponent> copy = TAdvUtils::Clone(panel);
    ASSERT_NE(copy, nullptr);
    auto* panelCopy = dynamic_cast<TPanel*>(copy.get());
    ASSERT_NE(panelCopy, nullptr);
    EXPECT_NE(panelCopy, panel);
    EXPECT_EQ(panel->Name(), L"Panel1");
    EXPECT_EQ(form.FindComponent(L"Panel1"), panel);
    EXPECT_EQ(panelCopy->Name(), L"");
    EXPECT_EQ(panelCopy->Owner(), nullptr);
    EXPECT_EQ(panelCopy->Parent(), nullptr);
    EXPECT_EQ(panelCopy->Caption(), L"Commands");
    EXPECT_EQ(panelCopy->BoundsRect(), panel->BoundsRect());
    EXPECT_EQ(panelCopy->Color(), clYellow);

    // The children belong to the copy and sit on it.
    ASSERT_EQ(panelCopy->ComponentCount(), 2);
    auto* labelCopy = dynamic_cast<TLabel*>(panelCopy->FindComponent(L"Label1"));
    auto* imageCopy = dynamic_cast<TImage*>(panelCopy->FindComponent(L"Image1"));
    ASSERT_NE(labelCopy, nullptr);
    ASSERT_NE(imageCopy, nullptr);
    EXPECT_NE(labelCopy, label);
    EXPECT_EQ(labelCopy->Parent(), panelCopy);
    EXPECT_EQ(imageCopy->Parent(), panelCopy);
    EXPECT_EQ(labelCopy->Caption(), L"AT+GMR");
    ASSERT_NE(imageCopy->Picture()->Graphic(), nullptr);
    EXPECT_EQ(imageCopy->Picture()->Width(), 4);
    EXPECT_EQ(imageCopy->Picture()->Height(), 3);
    EXPECT_EQ(imageCopy->Picture()->Bitmap()->Canvas()->Pixels(1, 1), clRed);

    // Equal properties all through: both write the same description but for the root's name.
    std::wstring original = WriteComponentToText(panel);
    original.replace(original.find(L"Panel1"), 6, L"");
    // The copy is on no window yet, so it has no place in a tab order.
    original.replace(original.find(L"TabOrder = 0"), 12, L"TabOrder = -1");
    EXPECT_EQ(WriteComponentToText(copy.get()), original);

    EXPECT_EQ(TAdvUtils::Clone(nullptr), nullptr);
}
