#include "classlib/WindowDescriptionWriter.h"

#include <gtest/gtest.h>

#include "classlib/Collections.h"
#include "classlib/Form.h"
#include "classlib/Menus.h"
#include "classlib/Pictures.h"
#include "classlib/Properties.h"
#include "classlib/StandardControls.h"
#include "classlib/StringList.h"
#include "classlib/Streams.h"
#include "classlib/Timer.h"
#include "classlib/WindowDescription.h"

using namespace ClassLib;

namespace {

// A window with handlers a description can name.
class TWrittenForm : public TForm {
    CLASSLIB_CLASS(TWrittenForm, TForm)
public:
    static const TPropertyList& Published();
    using TForm::TForm;
    void FormCreate(TObject*) {}
    void ItemClick(TObject*) {}
    void TimerTick(TObject*) {}
};

CLASSLIB_IMPLEMENT(TWrittenForm, TForm)

const TPropertyList& TWrittenForm::Published() {
    static const TPropertyList list = TPropertyList::Extend(TForm::Published())
        .Method(L"FormCreate", &TWrittenForm::FormCreate)
        .Method(L"ItemClick", &TWrittenForm::ItemClick)
        .Method(L"TimerTick", &TWrittenForm::TimerTick);
    return list;
}

// A collection whose items hold a string, a number and a nested sub-object path.
class TWrittenItem : public TCollectionItem {
    CLASSLIB_CLASS(TWrittenItem, TCollectionItem)
public:
    static const TPropertyList& Published();
    using TCollectionItem::TCollectionItem;
    const std::wstring& Text() const { return FText; }
    void SetText(const std::wstring& value) { FText = value; }
    int Width() const { return FWidth; }
    void SetWidth(int value) { FWidth = value; }
private:
    std::wstring FText;
    int FWidth = 50;
};

CLASSLIB_IMPLEMENT(TWrittenItem, TCollectionItem)

const TPropertyList& TWrittenItem::Published() {
    static const TPropertyList list = TPropertyList::Extend(TCollectionItem::Published())
        .Add(L"Text", &TWrittenItem::Text, &TWrittenItem::SetText)
        .Add(L"Width", &TWrittenItem::Width, &TWrittenItem::SetWidth, 50);
    return list;
}

class TWrittenHolder : public TComponent {
    CLASSLIB_CLASS(TWrittenHolder, TComponent)
public:
    static const TPropertyList& Published();
    explicit TWrittenHolder(TComponent* owner)
        : TComponent(owner), FItems(std::make_unique<TCollection>(&CreateCollectionItem<TWrittenItem>)) {
        FItems->Add();  // a constructor's item: an emptied collection must stay empty
    }
    TCollection* Items() const { return FItems.get(); }
    double Ratio() const { return FRatio; }
    void SetRatio(double value) { FRatio = value; }
private:
    std::unique_ptr<TCollection> FItems;
    double FRatio = 0;
};

CLASSLIB_IMPLEMENT(TWrittenHolder, TComponent)

const TPropertyList& TWrittenHolder::Published() {
    static const TPropertyList list = TPropertyList::Extend(TComponent::Published())
        .Collection(L"Items", &TWrittenHolder::Items)
        .Add(L"Ratio", &TWrittenHolder::Ratio, &TWrittenHolder::SetRatio, 0.0);
    return list;
}

std::wstring PictureDataText() {
    TPicture picture;
    TBitmap bitmap(5, 3, pf24bit);
    picture.SetGraphic(&bitmap);
    TMemoryStream data;
    picture.WriteData(&data);
    std::wstring hex;
    const wchar_t* digits = L"0123456789ABCDEF";
    for (std::uint8_t byte : data.Bytes()) {
        hex += digits[byte >> 4];
        hex += digits[byte & 15];
    }
    return L"{" + hex + L"}";
}

std::wstring Written(const TClass& cls, const std::wstring& text) {
    std::unique_ptr<TComponent> root(cls.Create(nullptr));
    ReadComponentFromText(root.get(), text);
    return WriteComponentToText(root.get());
}

std::wstring Trimmed(std::wstring text) {
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
    return text;
}

}  // namespace

// Written, read into a fresh root and written again, a description comes out the same:
// whatever the writer puts down, the reader takes back whole.
TEST(WindowDescriptionWriter, RoundTripsRealWindows) {
    struct TCase { const wchar_t* Name; const TClass* Class; std::wstring Text; std::vector<std::wstring> Expected; };
    const TCase cases[] = {
        {L"form with panels, labels and a memo", &TWrittenForm::StaticClass(),
         L"object Form1: TWrittenForm\n"
         L"  Caption = \"Panels \\\"and\\\" labels\"\n"
         L"  ClientWidth = 420\n"
         L"  Font.Name = \"Tahoma\"\n"
         L"  Color = 0x00A0682A\n"
         L"  OnCreate = FormCreate\n"
         L"  PopupMenu = Menu1\n"
         L"  object Panel1: TPanel\n"
         L"    Align = alTop\n"
         L"    Height = 60\n"
         L"    Anchors = [akLeft, akTop, akRight]\n"
         L"    object Panel2: TPanel\n"
         L"      Align = alClient\n"
         L"      BevelOuter = bvNone\n"
         L"      object Label1: TLabel\n"
         L"        Caption = \"tab\\there, line\\nbreak, \\\\ and \\u00E9 \\uD83D\"\n"
         L"        PopupMenu = Menu1\n"
         L"      end\n"
         L"    end\n"
         L"  end\n"
         L"  object Memo1: TMemo\n"
         L"    Align = alClient\n"
         L"    Lines = [\"ATE0 - echo off\", \"\", \"quote \\\" here\"]\n"
         L"  end\n"
         L"  object Timer1: TTimer\n"
         L"    Interval = 20\n"
         L"    OnTimer = TimerTick\n"
         L"  end\n"
         L"  object Menu1: TPopupMenu\n"
         L"    object FileItem: TMenuItem\n"
         L"      Caption = \"File\"\n"
         L"      object OpenItem: TMenuItem\n"
         L"        Caption = \"Open\"\n"
         L"        OnClick = ItemClick\n"
         L"      end\n"
         L"    end\n"
         L"  end\n"
         L"end\n",
         {L"  Caption = \"Panels \\\"and\\\" labels\"", L"  Color = 0x00A0682A", L"  OnCreate = FormCreate",
          L"  PopupMenu = Menu1", L"    Anchors = [akLeft, akTop, akRight]", L"      BevelOuter = bvNone",
          L"        Caption = \"tab\\there, line\\nbreak, \\\\ and \u00E9 \\uD83D\"", L"        PopupMenu = Menu1",
          L"    Lines = [", L"      \"quote \\\" here\"]", L"    OnTimer = TimerTick", L"    object FileItem: TMenuItem",
          L"      object OpenItem: TMenuItem", L"        OnClick = ItemClick"}},
        {L"collections, floats and an emptied collection", &TForm::StaticClass(),
         L"object F: TForm\n"
         L"  object Holder1: TWrittenHolder\n"
         L"    Ratio = 0.1\n"
         L"    Items = <\n"
         L"      item\n"
         L"        Text = \"first\"\n"
         L"      end\n"
         L"      item\n"
         L"        Width = -7\n"
         L"      end\n"
         L"    >\n"
         L"  end\n"
         L"  object Holder2: TWrittenHolder\n"
         L"    Ratio = -123456789.25\n"
         L"    Items = <>\n"
         L"  end\n"
         L"end\n",
         {L"    Ratio = 0.1", L"        Text = \"first\"", L"        Width = -7", L"    Ratio = -123456789.25",
          L"    Items = <>"}},
        {L"picture data", &TForm::StaticClass(),
         L"object F: TForm\n"
         L"  object Image1: TImage\n"
         L"    Picture.Data = " + PictureDataText() + L"\n"
         L"  end\n"
         L"end\n",
         {L"    Picture.Data = {", L"      07544269746D6170"
                                  L"66000000424D660000000000000036000000280000000500"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Name)));
        const std::wstring first = Written(*c.Class, c.Text);
        const std::wstring second = Written(*c.Class, first);
        EXPECT_EQ(first, second);
        for (const std::wstring& line : c.Expected) {
            SCOPED_TRACE(testing::PrintToString(line));
            EXPECT_NE(first.find(line + L"\r\n"), std::wstring::npos) << testing::PrintToString(first);
        }
    }
}

TEST(WindowDescriptionWriter, NestsByParentAndLeavesOutDefaultsAndWhatCannotBeReadBack) {
    TWrittenForm form(nullptr);
    form.SetName(L"Form1");
    auto* panel = new TPanel(&form);
    panel->SetName(L"Panel1");
    panel->SetParent(&form);
    // Owned by the form, placed on the panel: written inside the panel.
    auto* label = new TLabel(&form);
    label->SetName(L"Label1");
    label->SetParent(panel);
    label->SetCaption(L"Hello");
    // A handler that is no published method, and a menu of another window.
    SetEventProp(label, L"OnClick", std::any(TNotifyEvent([](TObject*) {})));
    TForm other(nullptr);
    auto* foreignMenu = new TPopupMenu(&other);
    foreignMenu->SetName(L"ForeignMenu");
    form.SetPopupMenu(foreignMenu);
    // Unnamed: written without a name and read back so.
    new TTimer(&form);

    const std::wstring text = WriteComponentToText(&form);
    EXPECT_NE(text.find(L"\r\n  object Panel1: TPanel\r\n"), std::wstring::npos) << testing::PrintToString(text);
    EXPECT_NE(text.find(L"\r\n    object Label1: TLabel\r\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"      Caption = \"Hello\"\r\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"\r\n  object : TTimer\r\n"), std::wstring::npos);
    EXPECT_EQ(text.find(L"OnClick"), std::wstring::npos);
    EXPECT_EQ(text.find(L"PopupMenu"), std::wstring::npos);
    EXPECT_EQ(text.find(L"Name ="), std::wstring::npos);
    EXPECT_EQ(text.find(L"Tag ="), std::wstring::npos);    // at its default
    EXPECT_EQ(text.find(L"Interval"), std::wstring::npos);  // the timer's is its default

    TWrittenForm copy(nullptr);
    ReadComponentFromText(&copy, text);
    auto* copiedLabel = dynamic_cast<TLabel*>(copy.FindComponent(L"Label1"));
    ASSERT_NE(copiedLabel, nullptr);
    EXPECT_EQ(copiedLabel->Parent(), copy.FindComponent(L"Panel1"));
    EXPECT_EQ(copiedLabel->Caption(), L"Hello");
    EXPECT_EQ(copy.ComponentCount(), 3);
    EXPECT_EQ(Trimmed(WriteComponentToText(&copy)), Trimmed(text));
}

// Each string comes back exactly, written with the escapes the reader knows.
TEST(WindowDescriptionWriter, StringsComeBackExactly) {
    const std::wstring cases[] = {
        L"",
        L"plain",
        L"\"quoted\" and \\backslash\\",
        L"line\r\nbreak\ttab",
        std::wstring(L"nul\0inside", 10),
        L"\x01\x1F\x7F control",
        L"\u00E9\u4E2D non-ASCII",
        L"\U0001F600 pair",
        L"\xD83D lone surrogate",
        L"# not a comment // either",
    };
    for (const std::wstring& value : cases) {
        SCOPED_TRACE(testing::PrintToString(value));
        TForm form(nullptr);
        form.SetName(L"F");
        form.SetCaption(value);
        TMemoryStream stream;
        WriteComponentToStream(&form, &stream);
        stream.SetPosition(0);
        TForm copy(nullptr);
        ReadComponentFromStream(&copy, &stream);
        EXPECT_EQ(copy.Caption(), value);
    }
}
