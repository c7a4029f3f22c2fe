#pragma once
// The editor's structured run store: lines of coloured parts, as a run writer leaves them when
// the line renderer's runs are sent to it. The editor owns one, empty; none of its exports
// fills it, so it holds what code puts there through the writer or by hand.
#include <memory>
#include <string>

#include "classlib/Collections.h"
#include "classlib/Colors.h"
#include "classlib/GdiObjects.h"
#include "editor/AdvMemoTokenizer.h"

namespace AdvMemo {

class TAdvCustomMemo;

// One run: its text and how it looks.
class TMemoPartItem : public ClassLib::TCollectionItem {
    CLASSLIB_CLASS(TMemoPartItem, ClassLib::TCollectionItem)
public:
    explicit TMemoPartItem(ClassLib::TCollection* collection) : ClassLib::TCollectionItem(collection) {}
    static const ClassLib::TPropertyList& Published();
    void Assign(const ClassLib::TPersistent* source) override;

    ClassLib::TColor Color() const { return FColor; }
    void SetColor(ClassLib::TColor value) { FColor = value; }
    const std::wstring& Text() const { return FText; }
    void SetText(const std::wstring& value) { FText = value; }
    bool URL() const { return FURL; }
    void SetURL(bool value) { FURL = value; }
    // clNone: no background of its own.
    ClassLib::TColor BkgColor() const { return FBkgColor; }
    void SetBkgColor(ClassLib::TColor value) { FBkgColor = value; }
    ClassLib::TFontStyles FontStyle() const { return FFontStyle; }
    void SetFontStyle(ClassLib::TFontStyles value) { FFontStyle = value; }

private:
    ClassLib::TColor FColor = ClassLib::clBlack;
    std::wstring FText;
    bool FURL = false;
    ClassLib::TColor FBkgColor = ClassLib::clNone;
    ClassLib::TFontStyles FFontStyle;
};

class TMemoParts : public ClassLib::TOwnedCollection {
    CLASSLIB_CLASS(TMemoParts, ClassLib::TOwnedCollection)
public:
    explicit TMemoParts(ClassLib::TPersistent* owner)
        : ClassLib::TOwnedCollection(owner, &ClassLib::CreateCollectionItem<TMemoPartItem>) {}
    TMemoPartItem* Add() { return static_cast<TMemoPartItem*>(TCollection::Add()); }
    TMemoPartItem* Items(int index) const { return static_cast<TMemoPartItem*>(TCollection::Items(index)); }
};

// One line: its parts, in order.
class TMemoLineItem : public ClassLib::TCollectionItem {
    CLASSLIB_CLASS(TMemoLineItem, ClassLib::TCollectionItem)
public:
    explicit TMemoLineItem(ClassLib::TCollection* collection)
        : ClassLib::TCollectionItem(collection), FParts(std::make_unique<TMemoParts>(this)) {}
    static const ClassLib::TPropertyList& Published();
    // Copies the parts.
    void Assign(const ClassLib::TPersistent* source) override;

    TMemoParts* Parts() const { return FParts.get(); }

private:
    std::unique_ptr<TMemoParts> FParts;
};

class TMemoLines : public ClassLib::TOwnedCollection {
    CLASSLIB_CLASS(TMemoLines, ClassLib::TOwnedCollection)
public:
    explicit TMemoLines(ClassLib::TPersistent* owner)
        : ClassLib::TOwnedCollection(owner, &ClassLib::CreateCollectionItem<TMemoLineItem>) {}
    TMemoLineItem* Add() { return static_cast<TMemoLineItem*>(TCollection::Add()); }
    TMemoLineItem* Items(int index) const { return static_cast<TMemoLineItem*>(TCollection::Items(index)); }
};

// The run writer of the store: each run the line renderer sends becomes a part of the last
// line of `lines`, coloured as the exports colour it (nothing while `lines` has no line).
class TMemoPartsWriter final : public ITokenSink {
public:
    TMemoPartsWriter(const TAdvCustomMemo& memo, TMemoLines& lines) : FMemo(memo), FLines(lines) {}
    void DrawRun(const String& text, const TStyle& style) override;

private:
    const TAdvCustomMemo& FMemo;
    TMemoLines& FLines;
};

}  // namespace AdvMemo
