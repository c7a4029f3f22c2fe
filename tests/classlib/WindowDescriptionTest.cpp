#include "classlib/WindowDescription.h"

#include <gtest/gtest.h>

#include "classlib/Application.h"
#include "classlib/Collections.h"
#include "classlib/Form.h"
#include "classlib/Menus.h"
#include "classlib/Pictures.h"
#include "classlib/Streams.h"
#include "classlib/Properties.h"
#include "classlib/StandardControls.h"
#include "classlib/StringList.h"
#include "classlib/Timer.h"
#include "support/WindowTestSupport.h"

using namespace ClassLib;

namespace {

// A window as the program writes them: fields tied to its components, handlers by name.
class TDescribedForm : public TForm {
    CLASSLIB_CLASS(TDescribedForm, TForm)
public:
    static const TPropertyList& Published();
    explicit TDescribedForm(TComponent* owner) : TForm(owner) {
        BindField(Panel1, L"Panel1");
        BindField(CheckBox1, L"CheckBox1");
        BindField(Timer1, L"Timer1");
    }

    void FormCreate(TObject*) { Events += L"create;"; }
    void CheckBox1Click(TObject*) { Events += L"click;"; }
    void Timer1Timer(TObject*) { ++Ticks; }

    TPanel* Panel1 = nullptr;
    TCheckBox* CheckBox1 = nullptr;
    TTimer* Timer1 = nullptr;
    std::wstring Events;
    int Ticks = 0;
};

CLASSLIB_IMPLEMENT(TDescribedForm, TForm)

const TPropertyList& TDescribedForm::Published() {
    static const TPropertyList list = TPropertyList::Extend(TForm::Published())
        .Method(L"FormCreate", &TDescribedForm::FormCreate)
        .Method(L"CheckBox1Click", &TDescribedForm::CheckBox1Click)
        .Method(L"Timer1Timer", &TDescribedForm::Timer1Timer);
    return list;
}

// A collection to show that reading clears it before adding the written items.
class TNamedItem : public TCollectionItem {
    CLASSLIB_CLASS(TNamedItem, TCollectionItem)
public:
    static const TPropertyList& Published();
    using TCollectionItem::TCollectionItem;
    const std::wstring& Text() const { return FText; }
    void SetText(const std::wstring& value) { FText = value; }
private:
    std::wstring FText;
};

CLASSLIB_IMPLEMENT(TNamedItem, TCollectionItem)

const TPropertyList& TNamedItem::Published() {
    static const TPropertyList list = TPropertyList::Extend(TCollectionItem::Published())
        .Add(L"Text", &TNamedItem::Text, &TNamedItem::SetText);
    return list;
}

class TItemHolder : public TComponent {
    CLASSLIB_CLASS(TItemHolder, TComponent)
public:
    static const TPropertyList& Published();
    explicit TItemHolder(TComponent* owner)
        : TComponent(owner), FItems(std::make_unique<TCollection>(&CreateCollectionItem<TNamedItem>)) {
        FItems->Add();  // made by the constructor; a description replaces it
    }
    TCollection* Items() const { return FItems.get(); }
    int LoadedCount = 0;
    void Loaded() override {
        TComponent::Loaded();
        ++LoadedCount;
    }
private:
    std::unique_ptr<TCollection> FItems;
};

CLASSLIB_IMPLEMENT(TItemHolder, TComponent)

const TPropertyList& TItemHolder::Published() {
    static const TPropertyList list = TPropertyList::Extend(TComponent::Published())
        .Collection(L"Items", &TItemHolder::Items);
    return list;
}

const wchar_t* const MainDescription = LR"(
# The test window: nested panels, a check box, a timer and bound handlers.
object DescribedForm: TDescribedForm
  Caption = "Described \"window\""
  ClientWidth = 400
  ClientHeight = 300
  Font.Name = "Tahoma"
  OnCreate = FormCreate
  PopupMenu = PopupMenu1
  object Panel1: TPanel
    Align = alTop
    Height = 50
    Anchors = [akLeft, akTop, akRight]
    object Panel2: TPanel
      Align = alClient
      BevelOuter = bvNone
      object CheckBox1: TCheckBox
        Left = 8
        Top = 8
        Caption = "Sort commands"
        Checked = true
        OnClick = CheckBox1Click
      end
    end
  end
  object Memo1: TMemo
    Align = alClient
    Visible = false
    Lines = ["ATE0 - echo off", "AT+RST\u003F"]
  end
  object Timer1: TTimer
    Interval = 20
    OnTimer = Timer1Timer
  end
  object PopupMenu1: TPopupMenu
    object Item1: TMenuItem
      Caption = "Copy"
      ImageIndex = 1
    end
  end
  object Holder: TItemHolder
    Items = <
      item
        Text = "first"
      end
      item
        Text = "second"
      end
    >
  end
end
)";

std::wstring ReadError(TComponent* root, const std::wstring& text) {
    try {
        ReadComponentFromText(root, text);
    } catch (const EDescriptionError& error) {
        return error.Message();
    }
    return L"(no error)";
}

}  // namespace

TEST(WindowDescription, BuildsTheWindowAndBindsHandlersHeadless) {
    // No window is needed: the handles come when the window is shown.
    auto* form = new TDescribedForm(nullptr);
    form->InitFromDescriptionText(MainDescription);
    EXPECT_EQ(form->Name(), L"DescribedForm");
    EXPECT_EQ(form->Caption(), L"Described \"window\"");
    EXPECT_EQ(form->ClientWidth(), 400);
    EXPECT_EQ(form->Font()->Name(), L"Tahoma");
    ASSERT_NE(form->Panel1, nullptr);
    ASSERT_NE(form->CheckBox1, nullptr);
    ASSERT_NE(form->Timer1, nullptr);
    EXPECT_FALSE(form->HandleAllocated());

    // Stored Checked is applied quietly; OnCreate ran once, after everything was read.
    EXPECT_TRUE(form->CheckBox1->Checked());
    EXPECT_EQ(form->Events, L"create;");
    form->CheckBox1->SetChecked(false);
    EXPECT_EQ(form->Events, L"create;click;");

    // Nesting is parenting; alignment happened once loading was over.
    auto* panel2 = dynamic_cast<TPanel*>(form->FindComponent(L"Panel2"));
    ASSERT_NE(panel2, nullptr);
    EXPECT_EQ(panel2->Parent(), form->Panel1);
    EXPECT_EQ(form->CheckBox1->Parent(), panel2);
    EXPECT_EQ(form->Panel1->BoundsRect(), Rect(0, 0, 400, 50));
    EXPECT_EQ(panel2->BoundsRect(), Rect(1, 1, 399, 49));  // inside the raised bevel
    EXPECT_EQ(form->Panel1->Anchors(), AnchorBit(akLeft) | AnchorBit(akTop) | AnchorBit(akRight));

    // Unwritten properties keep the constructor's values.
    EXPECT_EQ(panel2->BevelInner(), bvNone);
    EXPECT_EQ(form->Timer1->Interval(), 20u);
    EXPECT_TRUE(form->Timer1->Enabled());

    auto* memo = dynamic_cast<TMemo*>(form->FindComponent(L"Memo1"));
    ASSERT_NE(memo, nullptr);
    ASSERT_EQ(memo->Lines()->Count(), 2);
    EXPECT_EQ(memo->Lines()->Strings(1), L"AT+RST?");

    // References are resolved after reading (the menu comes after the form's line).
    auto* menu = dynamic_cast<TPopupMenu*>(form->FindComponent(L"PopupMenu1"));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(form->PopupMenu(), menu);
    ASSERT_EQ(menu->Items()->Count(), 1);
    EXPECT_EQ(menu->Items()->Items(0)->Caption(), L"Copy");
    EXPECT_EQ(menu->Items()->Items(0)->ImageIndex(), 1);

    // Collections are cleared before their written items are added; Loaded ran once.
    auto* holder = dynamic_cast<TItemHolder*>(form->FindComponent(L"Holder"));
    ASSERT_NE(holder, nullptr);
    ASSERT_EQ(holder->Items()->Count(), 2);
    EXPECT_EQ(static_cast<TNamedItem*>(holder->Items()->Items(0))->Text(), L"first");
    EXPECT_EQ(holder->LoadedCount, 1);
    EXPECT_FALSE(holder->HasState(csLoading));
    delete form;
}

TEST(WindowDescription, BadDescriptionsNameWhatIsWrong) {
    struct TCase {
        const wchar_t* Text;
        const wchar_t* Expected;  // part of the message
    };
    const TCase cases[] = {
        {L"object F: TForm\n  Colour = 5\nend", L"Unknown property \"Colour\" of F (TForm) at line 2"},
        {L"object F: TForm\n  Font.Nam = \"x\"\nend", L"Unknown property \"Font.Nam\""},
        {L"object F: TForm\n  object P: TNoSuchPanel\n  end\nend", L"Unknown class \"TNoSuchPanel\" of component P at line 2"},
        {L"object F: TForm\n  OnShow = NoSuchHandler\nend", L"Unknown handler \"NoSuchHandler\""},
        {L"object F: TForm\n  PopupMenu = Nowhere\nend", L"Unknown component \"Nowhere\""},
        {L"object F: TForm\n  Align = alMiddle\nend", L"Unknown value \"alMiddle\""},
        {L"object F: TForm\n  Left = \"ten\"\nend", L"needs a whole number"},
        {L"object F: TForm\n  Caption = \"open\nend", L"Unterminated string at line 2"},
        {L"object F: TForm\n  Caption = \"x\"\n", L"Missing \"end\" of object F"},
        {L"object F: TPanel\nend", L"The description is of class TPanel, not of TForm"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Text)));
        TForm form(nullptr);
        const std::wstring message = ReadError(&form, c.Text);
        EXPECT_NE(message.find(c.Expected), std::wstring::npos) << testing::PrintToString(message);
        EXPECT_FALSE(form.HasState(csLoading));
    }
}

TEST(WindowDescription, NumbersOutOfRangeAndDeepNestingAreRefused) {
    // `depth` levels inside the form; `open` may name its level with %.
    const auto nested = [](int depth, const std::wstring& open, const std::wstring& close) {
        std::wstring text = L"object F: TForm\n";
        for (int i = 0; i < depth; ++i) {
            std::wstring line = open;
            if (const size_t at = line.find(L'%'); at != std::wstring::npos) line.replace(at, 1, std::to_wstring(i));
            text += line + L"\n";
        }
        for (int i = 0; i < depth; ++i) text += close + L"\n";
        return text + L"end";
    };
    struct TCase {
        const wchar_t* Name;
        std::wstring Text;
        std::wstring Expected;  // part of the message
    };
    const TCase cases[] = {
        {L"enumeration past its names", L"object F: TForm\n  BorderStyle = 99\nend",
         L"Property \"BorderStyle\" needs a value of TFormBorderStyle from 0 to 5 at line 2"},
        {L"negative enumeration", L"object F: TForm\n\n  Position = -1\nend", L"from 0 to"},
        {L"int one past its top", L"object F: TForm\n  Left = 2147483648\nend",
         L"Property \"Left\" needs a whole number from -2147483648 to 2147483647 at line 2"},
        {L"int one below its bottom", L"object F: TForm\n  Width = -2147483649\nend", L"at line 2"},
        {L"int in hex", L"object F: TForm\n  Top = 0x100000000\nend", L"from -2147483648 to 2147483647 at line 2"},
        {L"past even 64 bits", L"object F: TForm\n  Top = 99999999999999999999\nend", L"needs a whole number at line 2"},
        {L"objects nested too deep", nested(1000, L"object P%: TComponent", L"end"),
         L"Nested deeper than 64 levels at line 65"},
        {L"hostile depth", nested(100000, L"object P%: TComponent", L"end"), L"Nested deeper than 64 levels"},
        {L"collections nested too deep", nested(1000, L"X = < item", L"end >"), L"Nested deeper than 64 levels at line 65"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Name)));
        TForm form(nullptr);
        const std::wstring message = ReadError(&form, c.Text);
        EXPECT_NE(message.find(c.Expected), std::wstring::npos) << testing::PrintToString(message);
    }
    // The edges themselves are taken.
    TForm edges(nullptr);
    EXPECT_EQ(ReadError(&edges, L"object F: TForm\n  Left = -2147483648\n  Top = 2147483647\n  BorderStyle = 5\nend"),
              L"(no error)");
    EXPECT_EQ(edges.Left(), INT32_MIN);
    EXPECT_EQ(edges.Top(), INT32_MAX);
    TForm deep(nullptr);
    EXPECT_EQ(ReadError(&deep, nested(63, L"object P%: TComponent", L"end")), L"(no error)");
}

TEST(WindowDescription, TwoWindowsOfOneClassUnderOneOwnerGetDistinctNames) {
    TComponent owner(nullptr);
    auto* first = new TDescribedForm(&owner);
    auto* second = new TDescribedForm(&owner);
    first->InitFromDescriptionText(MainDescription);
    second->InitFromDescriptionText(MainDescription);
    EXPECT_EQ(first->Name(), L"DescribedForm");
    EXPECT_EQ(second->Name(), L"DescribedForm_1");
    EXPECT_NE(second->Panel1, first->Panel1);
}

TEST(WindowDescription, AFieldWithoutItsComponentFails) {
    auto* form = new TDescribedForm(nullptr);
    try {
        form->InitFromDescriptionText(L"object DescribedForm: TDescribedForm\nend");
        ADD_FAILURE() << "no error";
    } catch (const EDescriptionError& error) {
        EXPECT_NE(error.Message().find(L"has no component Panel1"), std::wstring::npos);
    }
    delete form;
}

TEST(WindowDescriptionWindow, TimerAndHandlersRunInTheShownWindow) {
    REQUIRE_DISPLAY();
    auto* form = new TDescribedForm(nullptr);
    form->InitFromDescriptionText(MainDescription);
    form->Show();
    EXPECT_TRUE(form->HandleAllocated());
    EXPECT_TRUE(form->CheckBox1->HandleAllocated());
    EXPECT_EQ(::SendMessageW(form->CheckBox1->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    const DWORD start = ::GetTickCount();
    while (form->Ticks < 2 && ::GetTickCount() - start < 3000) {
        Application->ProcessMessages();
        ::Sleep(5);
    }
    EXPECT_GE(form->Ticks, 2);
    // A click by the system toggles the box and reaches the bound handler.
    ::SendMessageW(form->CheckBox1->Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(form->CheckBox1->Checked());
    EXPECT_EQ(form->Events, L"create;click;");
    delete form;
}

TEST(WindowDescription, ReadsTheDescriptionResourceOfAModule) {
    // A copy of this program with a description added as RCDATA, loaded as data.
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring copy = std::wstring(folder) + L"description-resource-test.exe";
    ASSERT_TRUE(::CopyFileW(self, copy.c_str(), FALSE));
    const std::string text = "object Panel9: TPanel\n  Caption = \"from \\u00E9 resource\"\n  Width = 77\nend\n";
    HANDLE update = ::BeginUpdateResourceW(copy.c_str(), FALSE);
    ASSERT_NE(update, nullptr);
    ASSERT_TRUE(::UpdateResourceW(update, MAKEINTRESOURCEW(10), L"TPANEL", MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                  const_cast<char*>(text.data()), DWORD(text.size())));
    ASSERT_TRUE(::EndUpdateResourceW(update, FALSE));
    HMODULE module = ::LoadLibraryExW(copy.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);

    TPanel panel(nullptr);
    ReadComponentResource(&panel, module, panel.ClassName());
    EXPECT_EQ(panel.Name(), L"Panel9");
    EXPECT_EQ(panel.Caption(), L"from \u00E9 resource");
    EXPECT_EQ(panel.Width(), 77);
    TPanel other(nullptr);
    EXPECT_THROW(ReadComponentResource(&other, module, L"TNOSUCHFORM"), EResNotFound);
    ::FreeLibrary(module);
    ::DeleteFileW(copy.c_str());
}

TEST(WindowDescription, BinaryPictureDataGoesThroughTheDefinePropertiesHook) {
    TPicture source;
    TBitmap bitmap(3, 2, pf24bit);
    source.SetGraphic(&bitmap);
    TMemoryStream data;
    source.WriteData(&data);
    std::wstring hex;
    const wchar_t* digits = L"0123456789ABCDEF";
    for (size_t i = 0; i < data.Bytes().size(); ++i) {
        hex += digits[data.Bytes()[i] >> 4];
        hex += digits[data.Bytes()[i] & 15];
        if (i % 32 == 31) hex += L"\n      ";  // lines may break anywhere between bytes
    }
    TForm form(nullptr);
    ReadComponentFromText(&form, L"object F: TForm\n  object Image1: TImage\n    Picture.Data = {" + hex +
                                     L"}\n  end\nend");
    auto* image = dynamic_cast<TImage*>(form.FindComponent(L"Image1"));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Picture()->Width(), 3);
    EXPECT_EQ(image->Picture()->Height(), 2);

    // Damaged data is an error of the description, naming the property.
    TForm other(nullptr);
    const std::wstring message =
        ReadError(&other, L"object F: TForm\n  object Image1: TImage\n    Picture.Data = {07 5442 69}\n  end\nend");
    EXPECT_NE(message.find(L"Cannot read \"Picture.Data\""), std::wstring::npos) << testing::PrintToString(message);
}

// A nested component is placed by the component it is written in: a control by a
// windowed control, an item by a menu or an item; a control inside a control without a
// window of its own is a mistake in the description.
TEST(WindowDescription, NestedComponentsArePlacedByTheirParent) {
    TForm form(nullptr);
    ReadComponentFromText(&form, L"object F: TForm\n"
                                 L"  object Menu1: TPopupMenu\n"
                                 L"    object FileItem: TMenuItem\n"
                                 L"      object OpenItem: TMenuItem\n"
                                 L"      end\n"
                                 L"    end\n"
                                 L"  end\n"
                                 L"  object Panel1: TPanel\n"
                                 L"    object Timer1: TTimer\n"
                                 L"    end\n"
                                 L"  end\n"
                                 L"end");
    auto* menu = dynamic_cast<TPopupMenu*>(form.FindComponent(L"Menu1"));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->Items()->Count(), 1);
    ASSERT_EQ(menu->Items()->Items(0)->Count(), 1);
    EXPECT_EQ(menu->Items()->Items(0)->Items(0)->Name(), L"OpenItem");
    EXPECT_NE(form.FindComponent(L"Timer1"), nullptr);  // needs no place: only owned
    EXPECT_EQ(dynamic_cast<TPanel*>(form.FindComponent(L"Panel1"))->Parent(), &form);

    TForm other(nullptr);
    const std::wstring message = ReadError(&other, L"object F: TForm\n"
                                                   L"  object Label1: TLabel\n"
                                                   L"    object CheckBox1: TCheckBox\n"
                                                   L"    end\n"
                                                   L"  end\n"
                                                   L"end");
    EXPECT_NE(message.find(L"CheckBox1 (TCheckBox) cannot be placed on Label1 (TLabel) at line 3"), std::wstring::npos)
        << testing::PrintToString(message);
}
