#include "editor/AdvMemoRuns.h"

#include "classlib/Properties.h"
#include "editor/AdvMemo.h"

namespace AdvMemo {

CLASSLIB_IMPLEMENT(TMemoPartItem, ClassLib::TCollectionItem)
CLASSLIB_IMPLEMENT(TMemoParts, ClassLib::TOwnedCollection)
CLASSLIB_IMPLEMENT(TMemoLineItem, ClassLib::TCollectionItem)
CLASSLIB_IMPLEMENT(TMemoLines, ClassLib::TOwnedCollection)

const ClassLib::TPropertyList& TMemoPartItem::Published() {
    using P = TMemoPartItem;
    static const ClassLib::TPropertyList list = ClassLib::TPropertyList::Extend(ClassLib::TCollectionItem::Published())
        .Colour(L"Color", &P::Color, &P::SetColor, ClassLib::clBlack)
        .Add(L"Text", &P::Text, &P::SetText)
        .Add(L"URL", &P::URL, &P::SetURL, false)
        .Colour(L"BkgColor", &P::BkgColor, &P::SetBkgColor, ClassLib::clNone)
        .SetOf(L"FontStyle", &P::FontStyle, &P::SetFontStyle, ClassLib::TFontStyles());
    return list;
}

void TMemoPartItem::Assign(const ClassLib::TPersistent* source) {
    if (const auto* other = dynamic_cast<const TMemoPartItem*>(source)) {
        FColor = other->FColor;
        FText = other->FText;
        FURL = other->FURL;
        FBkgColor = other->FBkgColor;
        FFontStyle = other->FFontStyle;
        return;
    }
    ClassLib::TCollectionItem::Assign(source);
}

const ClassLib::TPropertyList& TMemoLineItem::Published() {
    static const ClassLib::TPropertyList list = ClassLib::TPropertyList::Extend(ClassLib::TCollectionItem::Published())
        .Collection(L"Parts", &TMemoLineItem::Parts);
    return list;
}

void TMemoLineItem::Assign(const ClassLib::TPersistent* source) {
    if (const auto* other = dynamic_cast<const TMemoLineItem*>(source)) {
        FParts->Assign(other->FParts.get());
        return;
    }
    ClassLib::TCollectionItem::Assign(source);
}

void TMemoPartsWriter::DrawRun(const String& text, const TStyle& style) {
    if (FLines.Count() == 0) return;
    const TRunLook look = FMemo.StyleLook(style);
    TMemoPartItem* part = FLines.Items(FLines.Count() - 1)->Parts()->Add();
    part->SetText(text);
    part->SetColor(look.Text);
    part->SetBkgColor(look.Back);
    part->SetFontStyle(look.Style);
    part->SetURL(style.isURL);
}

}  // namespace AdvMemo
