#include "editor/AdvMemoStylers.h"

#include <algorithm>

#include "classlib/Properties.h"
#include "classlib/Strings.h"
#include "editor/AdvMemoSearchUtils.h"

namespace AdvMemo {

using namespace ClassLib;

// ---- TCharStyle

CLASSLIB_IMPLEMENT(TCharStyle, TPersistent)

const TPropertyList& TCharStyle::Published() {
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
        .Colour(L"TextColor", &TCharStyle::TextColor, &TCharStyle::SetTextColor, clBlack)
        .Colour(L"BkColor", &TCharStyle::BkColor, &TCharStyle::SetBkColor, clWhite)
        .SetOf(L"Style", &TCharStyle::StyleBits, &TCharStyle::SetStyleBits, TFontStyles());
    return list;
}

void TCharStyle::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TCharStyle*>(source);
    if (!other) return;
    FTextColor = other->FTextColor;
    FBkColor = other->FBkColor;
    FStyle = other->FStyle;
}

void TCharStyle::SetStyleBits(int bits) {
    TFontStyles style;
    for (int s = fsBold; s <= fsStrikeOut; ++s)
        if (bits & (1 << s)) style += TFontStyle(s);
    FStyle = style;
}

// ---- TElementStyle

CLASSLIB_IMPLEMENT(TElementStyle, TCollectionItem)

TElementStyle::TElementStyle(TCollection* collection)
    : TCollectionItem(collection),
      FKeyWords(std::make_unique<TStringList>()),
      FFont(std::make_unique<TFont>()) {
    FFont->SetName(L"Courier New");
    FFont->SetSize(8);
    FFont->SetColor(clBlack);
    FFont->SetStyle(TFontStyles());
    TElementStyles* styles = Styles();
    FBGColor = styles && styles->Memo() ? styles->Memo()->StylerBackground() : clWhite;
}

TElementStyle::~TElementStyle() {
    if (TElementStyles* styles = Styles()) styles->SetModified(true);
}

const TPropertyList& TElementStyle::Published() {
    static const TPropertyList list = TPropertyList::Extend(TCollectionItem::Published())
        .Strings(L"KeyWords", &TElementStyle::KeyWords)
        .SubObject(L"Font", &TElementStyle::Font)
        .Colour(L"BGColor", &TElementStyle::BGColor, &TElementStyle::SetBGColor, clWhite)
        .Add(L"Info", &TElementStyle::Info, &TElementStyle::SetInfo, L"")
        .Enum(L"StyleType", L"TStyleType", &TElementStyle::GetStyleTypeOrd, &TElementStyle::SetStyleTypeOrd,
              {L"stKeyword", L"stBracket", L"stSymbol", L"stComment"}, stKeyword)
        .Add(L"StyleNo", &TElementStyle::StyleNo, &TElementStyle::SetStyleNo, -1)
        .Add(L"BracketStart", &TElementStyle::GetBracketStartText, &TElementStyle::SetBracketStartText, L"")
        .Add(L"BracketEnd", &TElementStyle::GetBracketEndText, &TElementStyle::SetBracketEndText, L"")
        .Add(L"Symbols", &TElementStyle::Symbols, &TElementStyle::SetSymbols, L"")
        .Add(L"CommentLeft", &TElementStyle::CommentLeft, &TElementStyle::SetCommentLeft, L"")
        .Add(L"CommentRight", &TElementStyle::CommentRight, &TElementStyle::SetCommentRight, L"");
    return list;
}

TElementStyles* TElementStyle::Styles() const { return dynamic_cast<TElementStyles*>(Collection()); }

void TElementStyle::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TElementStyle*>(source);
    if (!other) return;
    FKeyWords->Assign(other->FKeyWords.get());
    FFont->Assign(other->FFont.get());
    FBGColor = other->FBGColor;
    FStyleType = other->FStyleType;
    FBracketStart = other->FBracketStart;
    FBracketEnd = other->FBracketEnd;
    FSymbols = other->FSymbols;
    FInfo = other->FInfo;
    FCommentLeft = other->FCommentLeft;
    FCommentRight = other->FCommentRight;
    Changed(false);
}

std::wstring TElementStyle::GetDisplayName() const {
    return FInfo.empty() ? TCollectionItem::GetDisplayName() : FInfo;
}

void TElementStyle::SetKeyWords(const TStrings* value) {
    FKeyWords->Assign(value);
    Changed(false);
}

void TElementStyle::SetFont(const TFont* value) {
    FFont->Assign(value);
    Changed(false);
}

void TElementStyle::SetBGColor(TColor value) {
    if (FBGColor == value) return;
    FBGColor = value;
    Changed(false);
}

void TElementStyle::SetStyleType(TStyleType value) {
    if (FStyleType == value) return;
    FStyleType = value;
    Changed(false);
}

void TElementStyle::SetBracketStart(wchar_t value) {
    if (FBracketStart == value) return;
    FBracketStart = value;
    Changed(false);
}

void TElementStyle::SetBracketEnd(wchar_t value) {
    if (FBracketEnd == value) return;
    FBracketEnd = value;
    Changed(false);
}

void TElementStyle::SetSymbols(const String& value) {
    if (FSymbols == value) return;
    FSymbols = value;
    Changed(false);
}

// ---- TElementStyles

CLASSLIB_IMPLEMENT(TElementStyles, TOwnedCollection)

TElementStyles::TElementStyles(TPersistent* owner)
    : TOwnedCollection(owner, &CreateCollectionItem<TElementStyle>) {}

bool TElementStyles::IsWordBoundary(wchar_t ch) const {
    for (int i = 0; i < Count(); ++i) {
        const TElementStyle* item = Items(i);
        if (item->StyleType() == stSymbol && item->Symbols().find(ch) != String::npos) return true;
        if (item->StyleType() == stBracket && (ch == item->BracketStart() || ch == item->BracketEnd()))
            return true;
    }
    return false;
}

void TElementStyles::ResortKeywordLists() {
    for (int i = 0; i < Count(); ++i) {
        TStringList& words = *Items(i)->KeyWords();
        if (Items(i)->StyleType() != stKeyword || !words.Sorted()) continue;
        words.SetSorted(false);
        words.SetSorted(true);
    }
}

bool IsStylerWordDelimiter(wchar_t ch, const TAdvCustomMemoStyler* styler, bool useStyler) {
    return IsBaseWordDelimiter(ch) || (styler && useStyler && styler->AllStyles()->IsWordBoundary(ch));
}

// ---- TRegionDefinition

CLASSLIB_IMPLEMENT(TRegionDefinition, TCollectionItem)

const TPropertyList& TRegionDefinition::Published() {
    static const TPropertyList list = TPropertyList::Extend(TCollectionItem::Published())
        .Add(L"Identifier", &TRegionDefinition::Identifier, &TRegionDefinition::SetIdentifier, L"")
        .Add(L"RegionStart", &TRegionDefinition::RegionStart, &TRegionDefinition::SetRegionStart, L"")
        .Add(L"RegionEnd", &TRegionDefinition::RegionEnd, &TRegionDefinition::SetRegionEnd, L"")
        .Enum(L"RegionType", L"TRegionType", &TRegionDefinition::GetRegionTypeOrd,
              &TRegionDefinition::SetRegionTypeOrd, {L"rtOpen", L"rtClosed", L"rtFile", L"rtIgnore"}, rtClosed)
        .Add(L"ShowComments", &TRegionDefinition::ShowComments, &TRegionDefinition::SetShowComments, false);
    return list;
}

void TRegionDefinition::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TRegionDefinition*>(source);
    if (!other) {
        TCollectionItem::Assign(source);  // raises the usual assignment error
        return;
    }
    FIdentifier = other->FIdentifier;
    FRegionStart = other->FRegionStart;
    FRegionEnd = other->FRegionEnd;
    FRegionType = other->FRegionType;
    FShowComments = other->FShowComments;
}

void TRegionDefinition::SetIdentifier(const String& value) { FIdentifier = ClassLib::Trim(value); }
void TRegionDefinition::SetRegionStart(const String& value) { FRegionStart = ClassLib::Trim(value); }
void TRegionDefinition::SetRegionEnd(const String& value) { FRegionEnd = ClassLib::Trim(value); }

CLASSLIB_IMPLEMENT(TRegionDefinitions, TOwnedCollection)

TRegionDefinitions::TRegionDefinitions(TPersistent* owner)
    : TOwnedCollection(owner, &CreateCollectionItem<TRegionDefinition>) {}

TRegionDefinition* TRegionDefinitions::AddRegion(const String& identifier, const String& regionStart,
                                                 const String& regionEnd, TRegionType regionType) {
    TRegionDefinition* region = Add();
    region->SetIdentifier(identifier);
    region->SetRegionStart(regionStart);
    region->SetRegionEnd(regionEnd);
    region->SetRegionType(regionType);
    return region;
}

// ---- THintParameter

CLASSLIB_IMPLEMENT(THintParameter, TPersistent)

THintParameter::THintParameter() : FParameters(std::make_unique<TStringList>()) {}

const TPropertyList& THintParameter::Published() {
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
        .Colour(L"TextColor", &THintParameter::TextColor, &THintParameter::SetTextColor, clBlack)
        .Colour(L"BkColor", &THintParameter::BkColor, &THintParameter::SetBkColor, clInfoBk)
        .Add(L"HintCharStart", &THintParameter::GetStartText, &THintParameter::SetStartText, L"(")
        .Add(L"HintCharEnd", &THintParameter::GetEndText, &THintParameter::SetEndText, L")")
        .Add(L"HintCharDelimiter", &THintParameter::GetDelimiterText, &THintParameter::SetDelimiterText, L";")
        .Add(L"HintCharWriteDelimiter", &THintParameter::GetWriteDelimiterText,
             &THintParameter::SetWriteDelimiterText, L",")
        .Add(L"HintClassDelimiter", &THintParameter::GetClassDelimiterText,
             &THintParameter::SetClassDelimiterText, L".")
        .Strings(L"Parameters", &THintParameter::Parameters);
    return list;
}

void THintParameter::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const THintParameter*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    FTextColor = other->FTextColor;
    FBkColor = other->FBkColor;
    FHintCharStart = other->FHintCharStart;
    FHintCharEnd = other->FHintCharEnd;
    FHintCharDelimiter = other->FHintCharDelimiter;
    FHintCharWriteDelimiter = other->FHintCharWriteDelimiter;
    FHintClassDelimiter = other->FHintClassDelimiter;
}

// ---- TAdvCustomMemoStyler

CLASSLIB_IMPLEMENT(TAdvCustomMemoStyler, TComponent)

TAdvCustomMemoStyler::TAdvCustomMemoStyler(TComponent* owner)
    : TComponent(owner),
      FAllStyles(std::make_unique<TElementStyles>(this)),
      FCommentStyle(std::make_unique<TCharStyle>(clSilver, clWhite, TFontStyles{fsItalic})),
      FNumberStyle(std::make_unique<TCharStyle>(clNavy, clWhite, TFontStyles{fsBold})),
      FHighlightStyle(std::make_unique<TCharStyle>(clWhite, clRed, TFontStyles{fsBold})),
      FAutoCompletion(std::make_unique<TStringList>()),
      FHintParameter(std::make_unique<THintParameter>()),
      FRegionDefinitions(std::make_unique<TRegionDefinitions>(this)) {}

TAdvCustomMemoStyler::~TAdvCustomMemoStyler() = default;

void TAdvCustomMemoStyler::SetAllStyles(const TElementStyles* value) { FAllStyles->Assign(value); }

void TAdvCustomMemoStyler::SetRegionDefinitions(const TRegionDefinitions* value) {
    FRegionDefinitions->Assign(value);
}

void TAdvCustomMemoStyler::SetCharStyle(int index, const TCharStyle* style) {
    TCharStyle* target = index == 1 ? FCommentStyle.get()
                       : index == 2 ? FNumberStyle.get()
                       : index == 3 ? FHighlightStyle.get()
                                    : nullptr;
    if (target && style) target->Assign(style);
}

void TAdvCustomMemoStyler::Loaded() {
    TComponent::Loaded();
    // A description that stores no style list leaves the loaded styler without styles.
    if (!FAllStyles->Modified()) FAllStyles->Clear();
}

void TAdvCustomMemoStyler::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
}

namespace {
bool HasOwnColours(const TElementStyle& item) {
    return item.BGColor() != clWhite || item.Font()->Color() != clBlack;
}
}  // namespace

TAdvCustomMemoStyler::TCommentHit TAdvCustomMemoStyler::FindCommentStart(const String& text) const {
    TCommentHit hit;
    if (!FMultiCommentLeft.empty()) {
        hit.Pos = PosOf(FMultiCommentLeft, text);
        hit.Length = int(FMultiCommentLeft.size());
        hit.Kind = 255;
    }
    if (!HasCommentStyles()) return hit;
    int earliest = 0;
    for (int i = 0; i < FAllStyles->Count(); ++i) {
        const TElementStyle& item = *FAllStyles->Items(i);
        if (item.StyleType() != stComment || item.CommentLeft().empty()) continue;
        const int pos = PosOf(item.CommentLeft(), text);
        if (pos > 0 && (earliest == 0 || pos < earliest)) {
            earliest = pos;
            hit = {pos, int(item.CommentLeft().size()), i, HasOwnColours(item) ? i : -1};
        }
    }
    return hit;
}

TAdvCustomMemoStyler::TCommentHit TAdvCustomMemoStyler::FindCommentEnd(const String& text) const {
    TCommentHit hit;
    if (!FMultiCommentRight.empty()) {
        const int pos = PosOf(FMultiCommentRight, text);
        if (pos > 0) return {pos, int(FMultiCommentRight.size()), 255, -1};
    }
    int earliest = 0;
    for (int i = 0; i < FAllStyles->Count(); ++i) {
        const TElementStyle& item = *FAllStyles->Items(i);
        if (item.StyleType() != stComment || item.CommentRight().empty()) continue;
        const int pos = PosOf(item.CommentRight(), text);
        if (pos > 0 && (earliest == 0 || pos < earliest)) {
            earliest = pos;
            hit = {pos, int(item.CommentRight().size()), i, HasOwnColours(item) ? i : -1};
        }
    }
    return hit;
}

int TAdvCustomMemoStyler::FindLineComment(const String& text, int& length) const {
    length = int(FLineComment.size());
    if (FLineComment.empty()) return -1;
    return PosOf(FLineComment, text);
}

bool TAdvCustomMemoStyler::HasCommentStyles() const {
    for (int i = 0; i < FAllStyles->Count(); ++i)
        if (FAllStyles->Items(i)->StyleType() == stComment) return true;
    return false;
}

bool TAdvCustomMemoStyler::HasMultiComment() const {
    if (!FMultiCommentLeft.empty() && !FMultiCommentRight.empty()) return true;
    for (int i = 0; i < FAllStyles->Count(); ++i) {
        const TElementStyle& item = *FAllStyles->Items(i);
        if (item.StyleType() == stComment && !item.CommentLeft().empty() && !item.CommentRight().empty())
            return true;
    }
    return false;
}

// ---- TAdvStylerList

CLASSLIB_IMPLEMENT(TAdvStylerList, TComponent)

TAdvStylerList::TAdvStylerList(TComponent* owner) : TComponent(owner) {}

bool TAdvStylerList::IsStyler(TComponent* component) {
    return component && component->ClassType().ClassParent() == &TAdvCustomMemoStyler::StaticClass();
}

void TAdvStylerList::Fill(TComponent* memoOwner) {
    if (!memoOwner) return;
    for (int i = 0; i < memoOwner->ComponentCount(); ++i)
        ComponentNotification(memoOwner->Components(i), opInsert);
}

void TAdvStylerList::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    ComponentNotification(component, operation);
}

void TAdvStylerList::ComponentNotification(TComponent* component, TOperation operation) {
    if (!component) return;
    if (operation == opRemove) {
        std::erase(FStylers, component);
        std::erase(FInserted, component);
    } else if (std::find(FInserted.begin(), FInserted.end(), component) == FInserted.end()) {
        FInserted.push_back(component);
    }
}

void TAdvStylerList::SortOutInserted() const {
    for (TComponent* component : FInserted) {
        if (IsStyler(component) && std::find(FStylers.begin(), FStylers.end(), component) == FStylers.end())
            FStylers.push_back(static_cast<TAdvCustomMemoStyler*>(component));
    }
    FInserted.clear();
}

int TAdvStylerList::Count() const {
    SortOutInserted();
    return int(FStylers.size());
}

TAdvCustomMemoStyler* TAdvStylerList::Stylers(int index) const {
    SortOutInserted();
    return FStylers.at(size_t(index));
}

}  // namespace AdvMemo
