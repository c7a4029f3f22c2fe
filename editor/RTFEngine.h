#pragma once
// RTF writer: builds a document in memory from text, attributes, colours, tables,
// bullet lists, links and pictures, and merges RTF bodies and a reduced HTML.
#include <string>
#include <vector>

#include "classlib/Collections.h"
#include "classlib/Colors.h"

namespace ClassLib {
class TFont;
class TGraphic;
class TStream;
class TCustomImageList;
}

namespace RTFEngine {

class TFontItem : public ClassLib::TCollectionItem {
    CLASSLIB_CLASS(TFontItem, ClassLib::TCollectionItem)
public:
    explicit TFontItem(ClassLib::TCollection* collection) : TCollectionItem(collection) {}
    void Assign(const ClassLib::TPersistent* source) override;
    const std::wstring& FaceName() const noexcept { return FFaceName; }
    void SetFaceName(const std::wstring& value) { FFaceName = value; }
    // "\f" and the item's index.
    std::wstring Code() const;
    // The item's entry in a font table.
    std::wstring TableText() const;
private:
    std::wstring FFaceName;
};

class TFontCollection : public ClassLib::TCollection {
    CLASSLIB_CLASS(TFontCollection, ClassLib::TCollection)
public:
    TFontCollection() : TCollection(&ClassLib::CreateCollectionItem<TFontItem>) {}
    TFontItem* Add() { return static_cast<TFontItem*>(TCollection::Add()); }
    TFontItem* Insert(int index) { return static_cast<TFontItem*>(TCollection::Insert(index)); }
    TFontItem* GetItem(int index) const { return static_cast<TFontItem*>(Items(index)); }
    void SetItem(int index, const TFontItem* value) { SetItems(index, value); }
    // The first item of that name ignoring ASCII case, or -1.
    int IndexOf(const std::wstring& faceName) const;
};

class TFontTable {
public:
    // The code of the font of that name, appended when the table has none.
    std::wstring AddFont(const std::wstring& faceName);
    std::wstring AddFont(const ClassLib::TFont& font);
    int IndexOf(const std::wstring& faceName) const { return FFonts.IndexOf(faceName); }
    int Count() const noexcept { return FFonts.Count(); }
    const std::wstring& FaceName(int index) const { return FFonts.GetItem(index)->FaceName(); }
    // "{\fonttbl...}", or empty without fonts.
    std::wstring GetText() const;
    // Reads the font table of an RTF text (none when it has no well-formed one).
    void LoadFonts(const std::wstring& rtf);
private:
    TFontCollection FFonts;
};

class TColorTable {
public:
    // The index of the colour (resolved to RGB), appended when new; the first has index 0.
    int AddColor(ClassLib::TColor color);
    int Count() const noexcept { return int(FColors.size()); }
    ClassLib::TColor Color(int index) const { return FColors.at(size_t(index)); }
    // "{\colortbl ...}", or empty without colours.
    std::wstring GetText() const;
    // Reads the colour table of an RTF text.
    void LoadColors(const std::wstring& rtf);
private:
    std::vector<ClassLib::TColor> FColors;   // RGB values, no two equal
};

struct TRTFHeader {
    TFontTable FontTable;
    TColorTable ColorTable;
    int ViewKind = 4;
};

enum TRTFAlignment { raLeft = 0, raRight = 1, raCenter = 2 };

class TRTFEngine {
public:
    TRTFEngine();
    ~TRTFEngine();
    TRTFEngine(const TRTFEngine&) = delete;
    TRTFEngine& operator=(const TRTFEngine&) = delete;

    void AddText(const std::wstring& text);
    void AddNewLine();
    void AddTab();
    void AddPageBreak();
    void AddBold(bool value);
    void AddItalic(bool value);
    void AddUnderLine(bool value);
    void AddStrikeOut(bool value);
    // Half-points.
    void AddFontSize(int value);
    void AddFont(const ClassLib::TFont& font);
    void AddFontName(const std::wstring& fontName);
    void AddForeColor(ClassLib::TColor color);
    void AddHighLightColor(ClassLib::TColor color);
    void AddBackGroundColor(ClassLib::TColor color) { (void)color; }   // RTF has no page colour here
    void AddHAlignment(int align);
    void AddParagraph(int leftIndent, int rightIndent);
    void AddSuperScript();
    void AddSubScript();
    void AddNormalScript();

    // Tables; widths in twips.
    void StartTable(int align, bool withBorders);
    void AddColumn(int colWidth);
    void StartRow();
    void NextCell();
    void AddCellColor(ClassLib::TColor color);
    void EndRow();
    void AddRow();
    void EndTable();
    void ReDefColWidth();

    void StartBullet(const std::wstring& fontName, int charNo);
    void NextBullet();
    void EndBullet();

    void AddHyperLink(const std::wstring& link, const std::wstring& text, const ClassLib::TFont& font);
    // Appends the picture (at most 150 by 150 pixels) and returns its text; empty for none.
    std::wstring AddPicture(ClassLib::TGraphic* picture);
    void AddHTML(const std::wstring& html);
    void AddRTF(const std::wstring& rtf);

    std::wstring GetText() const;
    void GetBuffer(std::wstring& buffer, std::wstring& fontTable, std::wstring& colorTable) const;
    // The document as 7-bit bytes (every character above 127 is escaped).
    void SaveToStream(ClassLib::TStream* stream) const;
    void SaveToFile(const std::wstring& fileName) const;

    bool Bold() const noexcept { return FBold; }
    bool Italic() const noexcept { return FItalic; }
    bool UnderLine() const noexcept { return FUnderLine; }
    bool StrikeOut() const noexcept { return FStrikeOut; }
    int FonSize() const noexcept { return FFonSize; }
    int HAlignment() const noexcept { return FHAlignment; }
    ClassLib::TColor ForeColor() const noexcept { return FForeColor; }
    ClassLib::TColor HighLightColor() const noexcept { return FHighLightColor; }
    ClassLib::TCustomImageList* Images() const noexcept { return FImages; }
    void SetImages(ClassLib::TCustomImageList* images) { FImages = images; }
    const TRTFHeader& Header() const noexcept { return FHeader; }

private:
    enum class TPiece { Text, Line, Control, Alignment, NextBullet };
    struct TColumn { ClassLib::TColor Color; int Right; };

    void Append(const std::wstring& piece, TPiece kind);
    std::wstring RowAlignment(int align) const;

    TRTFHeader FHeader;
    std::wstring FBody;
    bool FNewLine = true;
    bool FPrevControl = true;
    bool FBold = false;
    bool FItalic = false;
    bool FUnderLine = false;
    bool FStrikeOut = false;
    int FFonSize = 12;
    int FHAlignment = raLeft;
    ClassLib::TColor FForeColor = 0;
    ClassLib::TColor FHighLightColor = ClassLib::clNone;
    ClassLib::TCustomImageList* FImages = nullptr;   // borrowed
    bool FInTable = false;
    int FTableWidth = 0;
    int FCurrentColumn = -1;   // invariant: -1 outside a row
    bool FInRow = false;
    int FTableAlign = raLeft;
    bool FBorders = false;
    std::vector<TColumn> FColumns;
    bool FInBullet = false;
    int FBulletChar = 0;
    std::wstring FBulletFont;
};

// The text rule of the writer: RTF specials escaped, line breaks as "\par ", control
// characters other than the tab as hex escapes, and everything above 127 escaped so the
// document stays 7-bit and holds no zero byte.
std::wstring EscapeText(const std::wstring& text);

}  // namespace RTFEngine
