#pragma once
// Syntax stylers: the non-visual components that tell the code editor how a language is
// coloured (keyword groups, strings, symbols, comments, numbers, blocks, fold regions).
#include <memory>
#include <string>

#include "classlib/Collections.h"
#include "classlib/Colors.h"
#include "classlib/GdiObjects.h"
#include "classlib/Geometry.h"
#include "classlib/Object.h"
#include "classlib/StringList.h"

#pragma push_macro("GetObject")
#undef GetObject

namespace ClassLib {
class TCanvas;
}

namespace AdvMemo {

using String = std::wstring;
using ClassLib::TColor;
using ClassLib::TFontStyles;

enum TStyleType { stKeyword, stBracket, stSymbol, stComment };
enum TKeywordStyle { ksUserCase, ksListCase, ksUppercase, ksLowercase };
enum TRegionType { rtOpen, rtClosed, rtFile, rtIgnore };

// The colours of one kind of text.
class TCharStyle : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TCharStyle, ClassLib::TPersistent)
public:
    TCharStyle() = default;
    TCharStyle(TColor textColor, TColor bkColor, TFontStyles style)
        : FTextColor(textColor), FBkColor(bkColor), FStyle(style) {}
    static const ClassLib::TPropertyList& Published();
    // Copies from another TCharStyle; anything else leaves it unchanged.
    void Assign(const ClassLib::TPersistent* source) override;

    TColor TextColor() const noexcept { return FTextColor; }
    void SetTextColor(TColor value) { FTextColor = value; }
    // clNone: the editor's background.
    TColor BkColor() const noexcept { return FBkColor; }
    void SetBkColor(TColor value) { FBkColor = value; }
    TFontStyles Style() const noexcept { return FStyle; }
    void SetStyle(TFontStyles value) { FStyle = value; }
    int StyleBits() const noexcept { return FStyle.Bits(); }
    void SetStyleBits(int bits);
private:
    TColor FTextColor = ClassLib::clBlack;
    TColor FBkColor = ClassLib::clWhite;
    TFontStyles FStyle;
};

// What a style list asks of the editor that uses it.
class IStyledMemo {
public:
    virtual TColor StylerBackground() const = 0;
protected:
    ~IStyledMemo() = default;
};

class TElementStyles;

// One group of a styler's vocabulary.
class TElementStyle : public ClassLib::TCollectionItem {
    CLASSLIB_CLASS(TElementStyle, ClassLib::TCollectionItem)
public:
    explicit TElementStyle(ClassLib::TCollection* collection);
    ~TElementStyle() override;
    static const ClassLib::TPropertyList& Published();
    void Assign(const ClassLib::TPersistent* source) override;
    std::wstring GetDisplayName() const override;

    ClassLib::TStringList* KeyWords() const noexcept { return FKeyWords.get(); }
    void SetKeyWords(const ClassLib::TStrings* value);
    ClassLib::TFont* Font() const noexcept { return FFont.get(); }
    void SetFont(const ClassLib::TFont* value);
    TColor BGColor() const noexcept { return FBGColor; }
    void SetBGColor(TColor value);
    const String& Info() const noexcept { return FInfo; }
    void SetInfo(const String& value) { FInfo = value; }
    TStyleType StyleType() const noexcept { return FStyleType; }
    void SetStyleType(TStyleType value);
    int StyleNo() const noexcept { return FStyleNo; }
    void SetStyleNo(int value) { FStyleNo = value; }
    wchar_t BracketStart() const noexcept { return FBracketStart; }
    void SetBracketStart(wchar_t value);
    wchar_t BracketEnd() const noexcept { return FBracketEnd; }
    void SetBracketEnd(wchar_t value);
    const String& Symbols() const noexcept { return FSymbols; }
    void SetSymbols(const String& value);
    const String& CommentLeft() const noexcept { return FCommentLeft; }
    void SetCommentLeft(const String& value) { FCommentLeft = value; }
    const String& CommentRight() const noexcept { return FCommentRight; }
    void SetCommentRight(const String& value) { FCommentRight = value; }
private:
    // Characters are stored in descriptions as one-character texts.
    String GetBracketStartText() const { return FBracketStart ? String(1, FBracketStart) : String(); }
    void SetBracketStartText(const String& value) { SetBracketStart(value.empty() ? 0 : value[0]); }
    String GetBracketEndText() const { return FBracketEnd ? String(1, FBracketEnd) : String(); }
    void SetBracketEndText(const String& value) { SetBracketEnd(value.empty() ? 0 : value[0]); }
    int GetStyleTypeOrd() const { return FStyleType; }
    void SetStyleTypeOrd(int value) { SetStyleType(TStyleType(value)); }
    TElementStyles* Styles() const;

    std::unique_ptr<ClassLib::TStringList> FKeyWords;
    std::unique_ptr<ClassLib::TFont> FFont;
    TColor FBGColor = ClassLib::clWhite;
    String FInfo;
    TStyleType FStyleType = stKeyword;
    int FStyleNo = -1;
    wchar_t FBracketStart = 0;
    wchar_t FBracketEnd = 0;
    String FSymbols;
    String FCommentLeft;
    String FCommentRight;
};

class TElementStyles : public ClassLib::TOwnedCollection {
    CLASSLIB_CLASS(TElementStyles, ClassLib::TOwnedCollection)
public:
    explicit TElementStyles(ClassLib::TPersistent* owner);

    TElementStyle* Add() { return static_cast<TElementStyle*>(TCollection::Add()); }
    TElementStyle* Insert(int index) { return static_cast<TElementStyle*>(TCollection::Insert(index)); }
    TElementStyle* Items(int index) const { return static_cast<TElementStyle*>(TCollection::Items(index)); }
    void SetItems(int index, const TElementStyle* value) { TCollection::SetItems(index, value); }

    // The editor currently using the styler (null when none).
    IStyledMemo* Memo() const noexcept { return FMemo; }
    void SetMemo(IStyledMemo* memo) { FMemo = memo; }
    bool Modified() const noexcept { return FModified; }
    void SetModified(bool value) { FModified = value; }
    void Init() { FModified = true; }

    // A symbol of a symbol group or a bracket of a string group.
    bool IsWordBoundary(wchar_t ch) const;
    // Sorts the sorted keyword lists again (an editor attaching the styler asks this).
    void ResortKeywordLists();
private:
    IStyledMemo* FMemo = nullptr;
    bool FModified = false;
};

// A fold region of a styler.
class TRegionDefinition : public ClassLib::TCollectionItem {
    CLASSLIB_CLASS(TRegionDefinition, ClassLib::TCollectionItem)
public:
    explicit TRegionDefinition(ClassLib::TCollection* collection) : TCollectionItem(collection) {}
    static const ClassLib::TPropertyList& Published();
    void Assign(const ClassLib::TPersistent* source) override;

    const String& Identifier() const noexcept { return FIdentifier; }
    void SetIdentifier(const String& value);
    const String& RegionStart() const noexcept { return FRegionStart; }
    void SetRegionStart(const String& value);
    const String& RegionEnd() const noexcept { return FRegionEnd; }
    void SetRegionEnd(const String& value);
    TRegionType RegionType() const noexcept { return FRegionType; }
    void SetRegionType(TRegionType value) { FRegionType = value; }
    bool ShowComments() const noexcept { return FShowComments; }
    void SetShowComments(bool value) { FShowComments = value; }
private:
    int GetRegionTypeOrd() const { return FRegionType; }
    void SetRegionTypeOrd(int value) { FRegionType = TRegionType(value); }

    String FIdentifier;
    String FRegionStart;
    String FRegionEnd;
    TRegionType FRegionType = rtClosed;
    bool FShowComments = false;
};

class TRegionDefinitions : public ClassLib::TOwnedCollection {
    CLASSLIB_CLASS(TRegionDefinitions, ClassLib::TOwnedCollection)
public:
    explicit TRegionDefinitions(ClassLib::TPersistent* owner);
    TRegionDefinition* Add() { return static_cast<TRegionDefinition*>(TCollection::Add()); }
    TRegionDefinition* Items(int index) const { return static_cast<TRegionDefinition*>(TCollection::Items(index)); }
    TRegionDefinition* AddRegion(const String& identifier, const String& regionStart,
                                 const String& regionEnd, TRegionType regionType);
};

// Parameter-hint settings of a styler.
class THintParameter : public ClassLib::TPersistent {
    CLASSLIB_CLASS(THintParameter, ClassLib::TPersistent)
public:
    THintParameter();
    static const ClassLib::TPropertyList& Published();
    // Copies the characters and the colours, not Parameters.
    void Assign(const ClassLib::TPersistent* source) override;

    TColor TextColor() const noexcept { return FTextColor; }
    void SetTextColor(TColor value) { FTextColor = value; }
    TColor BkColor() const noexcept { return FBkColor; }
    void SetBkColor(TColor value) { FBkColor = value; }
    wchar_t HintCharStart() const noexcept { return FHintCharStart; }
    void SetHintCharStart(wchar_t value) { FHintCharStart = value; }
    wchar_t HintCharEnd() const noexcept { return FHintCharEnd; }
    void SetHintCharEnd(wchar_t value) { FHintCharEnd = value; }
    wchar_t HintCharDelimiter() const noexcept { return FHintCharDelimiter; }
    void SetHintCharDelimiter(wchar_t value) { FHintCharDelimiter = value; }
    wchar_t HintCharWriteDelimiter() const noexcept { return FHintCharWriteDelimiter; }
    void SetHintCharWriteDelimiter(wchar_t value) { FHintCharWriteDelimiter = value; }
    wchar_t HintClassDelimiter() const noexcept { return FHintClassDelimiter; }
    void SetHintClassDelimiter(wchar_t value) { FHintClassDelimiter = value; }
    ClassLib::TStringList* Parameters() const noexcept { return FParameters.get(); }
private:
    static String CharText(wchar_t c) { return c ? String(1, c) : String(); }
    static wchar_t TextChar(const String& s) { return s.empty() ? 0 : s[0]; }
    String GetStartText() const { return CharText(FHintCharStart); }
    void SetStartText(const String& s) { FHintCharStart = TextChar(s); }
    String GetEndText() const { return CharText(FHintCharEnd); }
    void SetEndText(const String& s) { FHintCharEnd = TextChar(s); }
    String GetDelimiterText() const { return CharText(FHintCharDelimiter); }
    void SetDelimiterText(const String& s) { FHintCharDelimiter = TextChar(s); }
    String GetWriteDelimiterText() const { return CharText(FHintCharWriteDelimiter); }
    void SetWriteDelimiterText(const String& s) { FHintCharWriteDelimiter = TextChar(s); }
    String GetClassDelimiterText() const { return CharText(FHintClassDelimiter); }
    void SetClassDelimiterText(const String& s) { FHintClassDelimiter = TextChar(s); }
    TColor FTextColor = ClassLib::clBlack;
    TColor FBkColor = ClassLib::clInfoBk;
    wchar_t FHintCharStart = L'(';
    wchar_t FHintCharEnd = L')';
    wchar_t FHintCharDelimiter = L';';
    wchar_t FHintCharWriteDelimiter = L',';
    wchar_t FHintClassDelimiter = L'.';
    std::unique_ptr<ClassLib::TStringList> FParameters;
};

class TAdvCustomMemoStyler : public ClassLib::TComponent {
    CLASSLIB_CLASS(TAdvCustomMemoStyler, ClassLib::TComponent)
public:
    explicit TAdvCustomMemoStyler(ClassLib::TComponent* owner);
    ~TAdvCustomMemoStyler() override;

    TElementStyles* AllStyles() const noexcept { return FAllStyles.get(); }
    void SetAllStyles(const TElementStyles* value);
    const String& LineComment() const noexcept { return FLineComment; }
    void SetLineComment(const String& value) { FLineComment = value; }
    const String& MultiCommentLeft() const noexcept { return FMultiCommentLeft; }
    void SetMultiCommentLeft(const String& value) { FMultiCommentLeft = value; }
    const String& MultiCommentRight() const noexcept { return FMultiCommentRight; }
    void SetMultiCommentRight(const String& value) { FMultiCommentRight = value; }
    TCharStyle* CommentStyle() const noexcept { return FCommentStyle.get(); }
    TCharStyle* NumberStyle() const noexcept { return FNumberStyle.get(); }
    TCharStyle* HighlightStyle() const noexcept { return FHighlightStyle.get(); }
    void SetCommentStyle(const TCharStyle* value) { SetCharStyle(1, value); }
    void SetNumberStyle(const TCharStyle* value) { SetCharStyle(2, value); }
    void SetHighlightStyle(const TCharStyle* value) { SetCharStyle(3, value); }
    ClassLib::TStringList* AutoCompletion() const noexcept { return FAutoCompletion.get(); }
    THintParameter* HintParameter() const noexcept { return FHintParameter.get(); }
    const String& NumericChars() const noexcept { return FNumericChars; }
    void SetNumericChars(const String& value) { FNumericChars = value; }
    const String& StrictNumericChars() const noexcept { return FStrictNumericChars; }
    const String& HexIdentifier() const noexcept { return FHexIdentifier; }
    void SetHexIdentifier(const String& value) { FHexIdentifier = value; }
    const String& BinIdentifier() const noexcept { return FBinIdentifier; }
    void SetBinIdentifier(const String& value) { FBinIdentifier = value; }
    const String& BlockStart() const noexcept { return FBlockStart; }
    void SetBlockStart(const String& value) { FBlockStart = value; }
    const String& BlockEnd() const noexcept { return FBlockEnd; }
    void SetBlockEnd(const String& value) { FBlockEnd = value; }
    const String& Literal() const noexcept { return FLiteral; }
    void SetLiteral(const String& value) { FLiteral = value; }
    bool CustomDraw() const noexcept { return FCustomDraw; }
    void SetCustomDraw(bool value) { FCustomDraw = value; }
    const String& Filter() const noexcept { return FFilter; }
    void SetFilter(const String& value) { FFilter = value; }
    const String& DefaultExtension() const noexcept { return FDefaultExtension; }
    void SetDefaultExtension(const String& value) { FDefaultExtension = value; }
    const String& Extensions() const noexcept { return FExtensions; }
    void SetExtensions(const String& value) { FExtensions = value; }
    const String& Description() const noexcept { return FDescription; }
    void SetDescription(const String& value) { FDescription = value; }
    const String& StylerName() const noexcept { return FStylerName; }
    void SetStylerName(const String& value) { FStylerName = value; }
    const String& KeywordPrefix() const noexcept { return FKeywordPrefix; }
    void SetKeywordPrefix(const String& value) { FKeywordPrefix = value; }
    TRegionDefinitions* RegionDefinitions() const noexcept { return FRegionDefinitions.get(); }
    void SetRegionDefinitions(const TRegionDefinitions* value);
    const String& EscapeChar() const noexcept { return FEscapeChar; }
    void SetEscapeChar(const String& value) { FEscapeChar = value; }
    TKeywordStyle KeywordStyle() const noexcept { return FKeywordStyle; }
    void SetKeywordStyle(TKeywordStyle value) { FKeywordStyle = value; }
    bool AutoBlockEnd() const noexcept { return FAutoBlockEnd; }
    void SetAutoBlockEnd(bool value) { FAutoBlockEnd = value; }
    const String& LineDelimiter() const noexcept { return FLineDelimiter; }
    void SetLineDelimiter(const String& value) { FLineDelimiter = value; }
    const String& Version() const noexcept { return FVersion; }

    // Comment searches over the unconsumed rest of a line segment; positions are 1-based.
    struct TCommentHit {
        int Pos = 0;         // 0 when none
        int Length = 0;
        int Kind = -1;       // 255: the multi-line pair; else the comment group's index
        int ColorIndex = -1; // -1: CommentStyle; else a comment group with its own colours
    };
    TCommentHit FindCommentStart(const String& text) const;
    TCommentHit FindCommentEnd(const String& text) const;
    // -1 when LineComment is empty.
    int FindLineComment(const String& text, int& length) const;
    bool HasCommentStyles() const;
    bool HasMultiComment() const;

    // 1 = CommentStyle, 2 = NumberStyle, 3 = HighlightStyle: copies the given values.
    virtual void SetCharStyle(int index, const TCharStyle* style);
    virtual String GetCustomText() { return String(); }
    virtual String FormatText(const String& text) { return text; }
    virtual bool CanFormat() { return false; }
    // Draws a keyword itself when CustomDraw is on; the base draws nothing.
    virtual void DrawKeyword(ClassLib::TCanvas* canvas, const String& keyword, const ClassLib::TRect& rect) {
        (void)canvas; (void)keyword; (void)rect;
    }

    void Loaded() override;
protected:
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;
    void SetVersion(const String& value) { FVersion = value; }

    std::unique_ptr<TElementStyles> FAllStyles;
    String FLineComment;
    String FMultiCommentLeft;
    String FMultiCommentRight;
    std::unique_ptr<TCharStyle> FCommentStyle;
    std::unique_ptr<TCharStyle> FNumberStyle;
    std::unique_ptr<TCharStyle> FHighlightStyle;
    std::unique_ptr<ClassLib::TStringList> FAutoCompletion;
    std::unique_ptr<THintParameter> FHintParameter;
    String FNumericChars = L"+-.0123456789";
    String FStrictNumericChars = L".0123456789";
    String FHexIdentifier;
    String FBinIdentifier;
    String FBlockEnd;
    String FBlockStart;
    String FLiteral;
    bool FCustomDraw = false;
    String FFilter;
    String FDefaultExtension;
    String FExtensions;
    String FDescription;
    String FStylerName;
    String FKeywordPrefix;
    std::unique_ptr<TRegionDefinitions> FRegionDefinitions;
    String FEscapeChar = String(1, wchar_t(0x0100));
    TKeywordStyle FKeywordStyle = ksUserCase;
    bool FAutoBlockEnd = false;
    String FLineDelimiter;
    String FVersion;
};

// The stylers a memo's owner holds (components whose class derives directly from
// TAdvCustomMemoStyler).
class TAdvStylerList : public ClassLib::TComponent {
    CLASSLIB_CLASS(TAdvStylerList, ClassLib::TComponent)
public:
    explicit TAdvStylerList(ClassLib::TComponent* owner);
    int Count() const;
    TAdvCustomMemoStyler* Stylers(int index) const;
    // Adds every such component of the memo's owner, once each.
    void Fill(ClassLib::TComponent* memoOwner);
    void ComponentNotification(ClassLib::TComponent* component, ClassLib::TOperation operation);
protected:
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;
private:
    static bool IsStyler(ClassLib::TComponent* component);
    void SortOutInserted() const;
    mutable std::vector<TAdvCustomMemoStyler*> FStylers;
    // A component is announced while its base constructor runs, before its class is
    // known; it is looked at when the list is next read.
    mutable std::vector<ClassLib::TComponent*> FInserted;
};

// The word-delimiter test of a memo: the base set, and with a styler in use its symbols
// and string brackets.
bool IsStylerWordDelimiter(wchar_t ch, const TAdvCustomMemoStyler* styler, bool useStyler);

}  // namespace AdvMemo

#pragma pop_macro("GetObject")
