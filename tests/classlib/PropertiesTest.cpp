#include "classlib/Properties.h"

#include <gtest/gtest.h>

#include <memory>

#include "classlib/StringList.h"
#include "support/PublishedDefaults.h"

using namespace ClassLib;

namespace {
enum TSide { sdLeft, sdRight, sdTop };
enum TMark : unsigned { mkBold = 1, mkItalic = 2, mkUnder = 4 };

class TPen2 : public TPersistent {
    CLASSLIB_CLASS(TPen2, TPersistent)
public:
    int Width = 1;
    void Assign(const TPersistent* source) override {
        if (const TPen2* other = dynamic_cast<const TPen2*>(source)) {
            Width = other->Width;
            return;
        }
        TPersistent::Assign(source);
    }
};
CLASSLIB_IMPLEMENT(TPen2, TPersistent)

class TShape : public TComponent {
    CLASSLIB_CLASS(TShape, TComponent)
public:
    explicit TShape(TComponent* owner) : TComponent(owner) {}
    static const TPropertyList& Published();

    int GetWidth() const { return FWidth; }
    void SetWidth(int value) { FWidth = value; }
    double GetRatio() const { return FRatio; }
    void SetRatio(double value) { FRatio = value; }
    const std::wstring& GetCaption() const { return FCaption; }
    void SetCaption(const std::wstring& value) { FCaption = value; }
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool value) { FVisible = value; }
    TSide GetSide() const { return FSide; }
    void SetSide(TSide value) { FSide = value; }
    unsigned GetMarks() const { return FMarks; }
    void SetMarks(unsigned value) { FMarks = value; }
    int32_t GetColor() const { return FColor; }
    void SetColor(int32_t value) { FColor = value; }
    TPen2* GetPen() const { return FPen.get(); }
    TStringList* GetLines() const { return FLines.get(); }
    TShape* GetBuddy() const { return FBuddy; }
    void SetBuddy(TShape* value) { FBuddy = value; }

    void ShapeClick(TObject* sender) { Clicked = sender; }
    void ShapeResize(TObject*, int& size) { size *= 2; }

    TNotifyEvent FOnClick;
    std::function<void(TObject*, int&)> FOnResize;
    TObject* Clicked = nullptr;

protected:
    int FWidth = 10;
    double FRatio = 1.5;
    std::wstring FCaption;
    bool FVisible = true;
    TSide FSide = sdTop;
    unsigned FMarks = mkBold;
    int32_t FColor = 0x00FF00;
    std::unique_ptr<TPen2> FPen = std::make_unique<TPen2>();
    std::unique_ptr<TStringList> FLines = std::make_unique<TStringList>();
    TShape* FBuddy = nullptr;
};
CLASSLIB_IMPLEMENT(TShape, TComponent)

const TPropertyList& TShape::Published() {
    static const TPropertyList list = TPropertyList::Extend(TComponent::Published())
        .Add(L"Width", &TShape::GetWidth, &TShape::SetWidth, 10)
        .Add(L"Ratio", &TShape::GetRatio, &TShape::SetRatio, 1.5)
        .Add(L"Caption", &TShape::GetCaption, &TShape::SetCaption)
        .Add(L"Visible", &TShape::GetVisible, &TShape::SetVisible, true)
        .Enum(L"Side", L"TSide", &TShape::GetSide, &TShape::SetSide, {L"sdLeft", L"sdRight", L"sdTop"}, sdTop)
        .SetOf(L"Marks", L"TMarks", &TShape::GetMarks, &TShape::SetMarks, {L"mkBold", L"mkItalic", L"mkUnder"}, mkBold)
        .Colour(L"Color", &TShape::GetColor, &TShape::SetColor, 0x00FF00)
        .SubObject(L"Pen", &TShape::GetPen)
        .Strings(L"Lines", &TShape::GetLines)
        .Reference(L"Buddy", &TShape::GetBuddy, &TShape::SetBuddy)
        .Event(L"OnClick", &TShape::FOnClick)
        .Event(L"OnResize", &TShape::FOnResize)
        .Method(L"ShapeClick", &TShape::ShapeClick)
        .Method(L"ShapeResize", &TShape::ShapeResize);
    return list;
}

// Re-publishes Width with another default and adds one property.
class TWideShape : public TShape {
    CLASSLIB_CLASS(TWideShape, TShape)
public:
    explicit TWideShape(TComponent* owner) : TShape(owner) { FWidth = 20; }
    static const TPropertyList& Published();
    int GetDepth() const { return FDepth; }
    void SetDepth(int value) { FDepth = value; }
private:
    int FDepth = 0;
};
CLASSLIB_IMPLEMENT(TWideShape, TShape)

const TPropertyList& TWideShape::Published() {
    static const TPropertyList list = TPropertyList::Extend(TShape::Published())
        .Add(L"Width", &TWideShape::GetWidth, &TWideShape::SetWidth, 20)
        .Add(L"Depth", &TWideShape::GetDepth, &TWideShape::SetDepth, 0);
    return list;
}

std::vector<std::wstring> Names(const TPropertyList& list) {
    std::vector<std::wstring> names;
    for (const TPropInfo& info : list) names.push_back(info.Name);
    return names;
}
}  // namespace

TEST(PublishedProperties, ListsExtendTheParentsList) {
    const std::vector<std::wstring> shape = Names(TShape::StaticClass().Published());
    EXPECT_EQ(shape, (std::vector<std::wstring>{L"Name", L"Tag", L"Width", L"Ratio", L"Caption", L"Visible", L"Side", L"Marks", L"Color",
                                                L"Pen", L"Lines", L"Buddy", L"OnClick", L"OnResize"}));
    // The child keeps the parent's order, replaces Width in place and appends Depth.
    std::vector<std::wstring> wide = shape;
    wide.push_back(L"Depth");
    EXPECT_EQ(Names(TWideShape::StaticClass().Published()), wide);
    EXPECT_EQ(*TWideShape::StaticClass().Published().Find(L"width")->OrdDefault, 20);
    EXPECT_EQ(TShape::StaticClass().Published().Find(L"Width")->Kind, TPropKind::Integer);
    EXPECT_EQ(TShape::StaticClass().Published().Find(L"Pen")->TypeName, L"TPen2");
}

TEST(PublishedProperties, TextFormsReadAndWriteEveryKind) {
    TShape shape(nullptr);
    struct TCase { const wchar_t* Name; const wchar_t* Text; const wchar_t* ReadBack; };
    const TCase cases[] = {
        {L"Width", L"42", L"42"},
        {L"Width", L"$10", L"16"},
        {L"Ratio", L"0.25", L"0.25"},
        {L"Caption", L"  padded ", L"  padded "},
        {L"Visible", L"false", L"False"},
        {L"Side", L"sdRight", L"sdRight"},
        {L"Marks", L"[mkItalic, mkUnder]", L"[mkItalic,mkUnder]"},
        {L"Marks", L"[]", L"[]"},
        {L"Color", L"255", L"255"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Name) + L"=" + c.Text));
        const TPropInfo& info = GetPropInfo(&shape, c.Name);
        SetPropText(&shape, info, c.Text);
        EXPECT_EQ(GetPropText(&shape, info), c.ReadBack);
    }
    EXPECT_EQ(shape.GetMarks(), 0u);
    EXPECT_EQ(shape.GetSide(), sdRight);
}

TEST(PublishedProperties, BadValuesAndUnknownNamesRaiseAndChangeNothing) {
    TShape shape(nullptr);
    const TPropInfo& side = GetPropInfo(&shape, L"Side");
    EXPECT_THROW(SetPropText(&shape, side, L"sdMiddle"), EPropertyError);
    EXPECT_THROW(SetPropText(&shape, GetPropInfo(&shape, L"Width"), L"12abc"), EPropertyError);
    EXPECT_THROW(SetPropText(&shape, GetPropInfo(&shape, L"Marks"), L"[mkBold,mkNone]"), EPropertyError);
    EXPECT_THROW(GetPropInfo(&shape, L"Height"), EPropertyError);
    EXPECT_EQ(shape.GetSide(), sdTop);
    EXPECT_EQ(shape.GetWidth(), 10);
    EXPECT_EQ(shape.GetMarks(), unsigned(mkBold));
}

TEST(PublishedProperties, DefaultsDecideWhatIsStored) {
    TShape shape(nullptr);
    const TPropertyList& list = TShape::StaticClass().Published();
    EXPECT_FALSE(list.Find(L"Width")->IsStored(&shape));
    shape.SetName(L"Shape1");
    EXPECT_FALSE(list.Find(L"Name")->IsStored(&shape));      // a description writes names apart
    EXPECT_FALSE(list.Find(L"Caption")->IsStored(&shape));   // empty text is the default
    EXPECT_FALSE(list.Find(L"OnClick")->IsStored(&shape));
    EXPECT_FALSE(list.Find(L"Buddy")->IsStored(&shape));
    EXPECT_TRUE(list.Find(L"Pen")->IsStored(&shape));         // sub-objects always
    SetOrdProp(&shape, L"Width", 11);
    SetStrProp(&shape, L"Caption", L"x");
    EXPECT_TRUE(list.Find(L"Width")->IsStored(&shape));
    EXPECT_TRUE(list.Find(L"Caption")->IsStored(&shape));
}

TEST(PublishedProperties, ClassTypedPropertiesCopyOrReference) {
    TShape shape(nullptr), other(nullptr);
    TPen2 pen;
    pen.Width = 5;
    SetObjectProp(&shape, L"Pen", &pen);
    EXPECT_EQ(shape.GetPen()->Width, 5);
    EXPECT_NE(shape.GetPen(), &pen);   // copied into the owned pen

    TStringList lines;
    lines.Add(L"one");
    SetObjectProp(&shape, L"Lines", &lines);
    EXPECT_EQ(shape.GetLines()->Text(), L"one\r\n");

    SetObjectProp(&shape, L"Buddy", &other);
    EXPECT_EQ(shape.GetBuddy(), &other);
    EXPECT_THROW(SetObjectProp(&shape, L"Buddy", &pen), EPropertyError);   // not a TShape
    EXPECT_EQ(shape.GetBuddy(), &other);
}

TEST(PublishedProperties, EventsBindToHandlersNamedOnAnotherObject) {
    TShape form(nullptr), button(nullptr);
    // A description says "OnClick = ShapeClick": the handler is looked up on the form.
    SetEventProp(&button, L"OnClick", MethodAddress(&form, L"ShapeClick"));
    ASSERT_TRUE(button.FOnClick);
    button.FOnClick(&button);
    EXPECT_EQ(form.Clicked, &button);

    // Typed events with in-out parameters bind the same way.
    SetEventProp(&button, L"OnResize", MethodAddress(&form, L"ShapeResize"));
    int size = 3;
    button.FOnResize(&button, size);
    EXPECT_EQ(size, 6);

    // A handler of the wrong shape is refused and the event keeps its handler.
    EXPECT_THROW(SetEventProp(&button, L"OnClick", MethodAddress(&form, L"ShapeResize")), EPropertyError);
    EXPECT_TRUE(button.FOnClick);
    EXPECT_FALSE(MethodAddress(&form, L"NoSuchHandler").has_value());
    SetEventProp(&button, L"OnClick", std::any());
    EXPECT_FALSE(button.FOnClick);
}

// A saved event names its handler again: the reverse of MethodAddress.
TEST(PublishedProperties, ABoundHandlerIsNamedAgain) {
    TShape form(nullptr), button(nullptr);
    SetEventProp(&button, L"OnClick", MethodAddress(&form, L"ShapeClick"));
    SetEventProp(&button, L"OnResize", MethodAddress(&form, L"ShapeResize"));
    const TPropInfo& onClick = GetPropInfo(&button, L"OnClick");
    EXPECT_EQ(MethodName(TShape::StaticClass(), onClick.GetEvent(&button)), L"ShapeClick");
    EXPECT_EQ(MethodName(TShape::StaticClass(), GetPropInfo(&button, L"OnResize").GetEvent(&button)), L"ShapeResize");
    button.FOnClick = [](TObject*) {};   // a handler that is no published method
    EXPECT_EQ(MethodName(TShape::StaticClass(), onClick.GetEvent(&button)), L"");
    EXPECT_EQ(MethodName(TShape::StaticClass(), std::any()), L"");
}

TEST(PublishedProperties, CopyPublishedValuesCopiesSimpleKinds) {
    TShape source(nullptr);
    TWideShape dest(nullptr);
    source.SetWidth(3);
    source.SetCaption(L"c");
    source.SetSide(sdLeft);
    CopyPublishedValues(&source, &dest);
    EXPECT_EQ(dest.GetWidth(), 3);
    EXPECT_EQ(dest.GetCaption(), L"c");
    EXPECT_EQ(dest.GetSide(), sdLeft);
}

// Every class that can be made by name starts with the defaults its list declares;
// a constructor and a list that disagree would drop values from saved windows.
TEST(PublishedProperties, EveryRegisteredClassStartsAtItsDeclaredDefaults) {
    for (const TClass* cls : RegisteredClasses()) {
        if (!cls->CanCreate()) continue;
        SCOPED_TRACE(testing::PrintToString(cls->ClassName()));
        std::unique_ptr<TComponent> instance(cls->Create(nullptr));
        TestSupport::ExpectPublishedDefaults(instance.get());
    }
}
