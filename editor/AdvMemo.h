#pragma once
// The code editor control: line store, caret and selection, editing, undo, word wrap and marks.
// The model works without a window; painting and input attach through the virtual hooks below.
#include "classlib/Collections.h"
#include "classlib/Control.h"
#include "classlib/Dialogs.h"
#include "classlib/HintWindow.h"
#include "classlib/Object.h"
#include "classlib/Properties.h"
#include "classlib/Timer.h"
#include "editor/AdvMemoAppearance.h"
#include "editor/AdvMemoCompletion.h"
#include "editor/AdvMemoFind.h"
#include "editor/AdvMemoFolding.h"
#include "editor/AdvMemoPopups.h"
#include "editor/AdvMemoPrint.h"
#include "editor/AdvMemoStylers.h"
#include "editor/AdvMemoTokenizer.h"
#include "editor/AdvMemoStrings.h"
#include "editor/AdvMemoUndo.h"
#include "classlib/ImageList.h"
#include "classlib/Menus.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ClassLib { class TStream; struct THintInfo; }
namespace AdvMDD { class TAMDropTarget; }
namespace RTFEngine { class TRTFEngine; }

namespace AdvMemo {

class TAdvMemoSource;

// How a run of text looks by its syntax alone (no selection, highlight or line colour).
struct TRunLook {
    ClassLib::TColor Text;
    ClassLib::TColor Back;
    ClassLib::TFontStyles Style;
};

struct TCellSize { int W = 0; int H = 0; };
struct TFullPos { int LineNo = -1; int Pos = -1; };
struct TCellPos { int X = 0; int Y = 0; };
struct TMemoRect { int Left = 0; int Top = 0; int Right = 0; int Bottom = 0; };

enum TSelectionMode { smText, smBlock };
enum TWordWrapStyle { wwNone, wwClientWidth, wwRightMargin };
using ClassLib::TScrollStyle;
using ClassLib::ssNone;
using ClassLib::ssHorizontal;
using ClassLib::ssVertical;
using ClassLib::ssBoth;
enum TScrollMode { smAuto, smStrict };
enum TMemoBorderStyle { bsNone, bsSingle };
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TAutoHintParameters { hpAuto, hpManual, hpNone };
enum TAutoHintParameterPosition { hpBelowCode, hpAboveCode };
enum TClipboardAction { caCopy, caCut, caPaste };

// Modifier keys held during a caret command.
enum : unsigned { ssShiftKey = 1, ssAltKey = 2, ssCtrlKey = 4 };
using TMemoShiftState = unsigned;

// Text metrics of the memo's font; the window part measures with GDI, tests with a fixed grid.
class ITextMeasure {
public:
    virtual ~ITextMeasure() = default;
    virtual void SetFont(const std::wstring& name, int height, bool bold) = 0;
    virtual int TextWidth(const std::wstring& text) = 0;
    virtual int TextHeight(const std::wstring& text) = 0;
};

// A scroll bar's state; the window part mirrors it onto the child bars.
struct TScrollBarModel {
    bool Visible = false;
    int Min = 0;
    int Max = 100;
    int PageSize = 0;
    int Position = 0;
    int SmallChange = 1;
    int LargeChange = 1;
};

struct TAdvMemoSavePos {
    int CurX = 0, CurY = 0, LeftCol = 0, TopLine = 0, SelStartX = 0, SelStartY = 0, SelEndX = 0, SelEndY = 0;
};

// A line-bound mark with an image and a text, shown in the gutter and used for navigation.
class TAdvMarker : public ClassLib::TCollectionItem {
    CLASSLIB_CLASS(TAdvMarker, ClassLib::TCollectionItem)
public:
    explicit TAdvMarker(ClassLib::TCollection* collection) : ClassLib::TCollectionItem(collection) {}
    static const ClassLib::TPropertyList& Published();
    const std::wstring& Text() const { return FText; }
    void SetText(const std::wstring& value) { FText = value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value) { FImageIndex = value; }
    int LineNumber() const { return FLineNumber; }
    void SetLineNumber(int value) { FLineNumber = value; }
    std::wstring GetDisplayName() const override { return FText.empty() ? ClassLib::TCollectionItem::GetDisplayName() : FText; }
    void Assign(const ClassLib::TPersistent* source) override;

private:
    std::wstring FText;
    int FImageIndex = 0;
    int FLineNumber = 0;
};

class TAdvMarkers : public ClassLib::TOwnedCollection {
    CLASSLIB_CLASS(TAdvMarkers, ClassLib::TOwnedCollection)
public:
    explicit TAdvMarkers(ClassLib::TPersistent* owner)
        : ClassLib::TOwnedCollection(owner, &ClassLib::CreateCollectionItem<TAdvMarker>) {}
    int MarkerCount() const { return Count(); }
    TAdvMarker* Add() { return static_cast<TAdvMarker*>(TCollection::Add()); }
    TAdvMarker* Items(int index) const { return static_cast<TAdvMarker*>(TCollection::Items(index)); }
    TAdvMarker* GetMarkerAtLine(int lineNo) const;
    int GetMarkerImageIndex(int lineNo) const;
    bool HigherMarkerThanLine(int lineNo) const;
    void AdjustMarkerLinePlus(int startIndex, int by = 1);
    void AdjustMarkerLineMinus(int startIndex);
};

class TAdvMarkerList : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TAdvMarkerList, ClassLib::TPersistent)
public:
    explicit TAdvMarkerList(ClassLib::TPersistent* owner = nullptr) : FOwner(owner), FMarkers(this) {}
    static const ClassLib::TPropertyList& Published();
    TAdvMarkers& Markers() { return FMarkers; }
    const TAdvMarkers& Markers() const { return FMarkers; }
    void FastDeleteAll() { FMarkers.Clear(); }
    bool UseDefaultMarkerImageIndex() const { return FUseDefaultMarkerImageIndex; }
    void SetUseDefaultMarkerImageIndex(bool value) { FUseDefaultMarkerImageIndex = value; }
    int DefaultMarkerImageIndex() const { return FDefaultMarkerImageIndex; }
    void SetDefaultMarkerImageIndex(int value) { FDefaultMarkerImageIndex = value; }
    // The images the gutter draws for markers; the memo forgets a list that is freed.
    ClassLib::TCustomImageList* MarkerImageList() const { return FMarkerImageList; }
    void SetMarkerImageList(ClassLib::TCustomImageList* value);
    // No code loads the list's own marker bitmap, so this reads white.
    ClassLib::TColor ImageTransparentColor() const { return FImageTransparentColor; }
    void SetImageTransparentColor(ClassLib::TColor value) { FImageTransparentColor = value; }
    // The image index drawn for a marker: the default one when asked for and set.
    int ImageIndexFor(const TAdvMarker& marker) const;
    // Copies the image settings, not the markers.
    void Assign(const ClassLib::TPersistent* source) override;

protected:
    ClassLib::TPersistent* GetOwner() const override { return FOwner; }

private:
    ClassLib::TPersistent* FOwner;
    TAdvMarkers FMarkers;
    bool FUseDefaultMarkerImageIndex = false;
    int FDefaultMarkerImageIndex = -1;
    ClassLib::TCustomImageList* FMarkerImageList = nullptr;
    ClassLib::TColor FImageTransparentColor = ClassLib::clWhite;
};

using TMemoNotifyEvent = std::function<void(ClassLib::TObject* sender)>;
using TCodeFoldEvent = std::function<void(ClassLib::TObject* sender, int lineNo, bool expanded)>;
// x, y: the text column and line under the mouse; value: the word or token there.
using THintForWordEvent = std::function<void(ClassLib::TObject* sender, int x, int y, const std::wstring& value,
                                             std::wstring& hint, bool& show)>;
using THintForGutterEvent = std::function<void(ClassLib::TObject* sender, int line, std::wstring& hint, bool& show)>;
using TUndoChangeEvent = std::function<void(ClassLib::TObject* sender, bool canUndo, bool canRedo)>;
using TNewLineIndentEvent = std::function<void(ClassLib::TObject* sender, int lineNr, std::wstring& newLineIndent)>;
using TLinePosEvent = std::function<void(int pos)>;
using TMarkerAddedEvent = std::function<void(int lnNo, const std::wstring& markerText)>;
using TMarkerRemovedEvent = std::function<void(int lnNo)>;
using TFileNameEvent = std::function<void(ClassLib::TObject* sender, const std::wstring& fileName)>;
using TIsUrlEvent = std::function<void(ClassLib::TObject* sender, const std::wstring& token, bool& isUrl)>;
using TClipboardActionEvent = std::function<void(ClassLib::TObject* sender, TClipboardAction action, bool& allow)>;
using TAllowEvent = std::function<void(ClassLib::TObject* sender, bool& allow)>;
using TGutterClickEvent = std::function<void(ClassLib::TObject* sender, int lineNo)>;
using TURLClickEvent = std::function<void(ClassLib::TObject* sender, const std::wstring& url)>;
using TGutterDrawEvent = std::function<void(ClassLib::TObject* sender, HDC canvas, int lineNo, const RECT& rct)>;
using TLineBkColorEvent = std::function<void(ClassLib::TObject* sender, int lineNo, ClassLib::TColor& bkColor)>;
using TAfterPaintEvent = std::function<void(ClassLib::TObject* sender, HDC canvas)>;
using TScrollHintEvent = std::function<void(ClassLib::TObject* sender, int row, std::wstring& hint)>;

// The red wave under an error span: from rect.left (made even) to rect.right, alternating
// between one pixel above and one below rect.bottom every two pixels.
void DrawErrorWave(HDC dc, const RECT& rect);

// ==== types of input, behaviours and clipboard
// Texts of the editor's own user interface.
class TUILanguage : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TUILanguage, ClassLib::TPersistent)
public:
    std::wstring ScrollHint = L"Row", Undo = L"Undo", Redo = L"Redo", Copy = L"Copy", Cut = L"Cut",
                 Paste = L"Paste", Delete = L"Delete", SelectAll = L"Select All";
    void Assign(const ClassLib::TPersistent* source) override;
};

// Formats a copy writes (bits of a set).
enum TMemoClipboardFormat : unsigned { cfText = 1, cfRTF = 2, cfHTML = 4 };
using TMemoClipboardFormats = unsigned;

// What an OLE drop may bring (bits of a set).
enum TOleDropTargetType : unsigned { odtFile = 1, odtText = 2 };
using TOleDropTargetTypes = unsigned;

// Tags of the built-in context-menu items.
enum : int {
    cmTagCopy = 0x70000001, cmTagCut = 0x70000002, cmTagPaste = 0x70000003, cmTagSelectAll = 0x70000004,
    cmTagUndo = 0x70000005, cmTagRedo = 0x70000006, cmTagDelete = 0x70000007,
};

using TFileDropEvent = std::function<void(ClassLib::TObject* sender, const std::wstring& fileName, bool& defaultHandler)>;
using TCustomizeContextMenuEvent = std::function<void(ClassLib::TObject* sender, int curX, int curY, ClassLib::TPopupMenu* menu)>;
using TCustomContextMenuClickEvent = std::function<void(ClassLib::TObject* sender, ClassLib::TMenuItem* item)>;
using TOleTextDraggedEvent = std::function<void(ClassLib::TObject* sender, const std::wstring& text, bool copyText)>;
using TOleDropTextEvent = std::function<void(ClassLib::TObject* sender, int x, int y, std::wstring& text, bool& allow)>;
using TOleDropFileEvent = std::function<void(ClassLib::TObject* sender, int x, int y, const std::wstring& fileName, bool& allow)>;
using TWordCompleteEvent = std::function<void(ClassLib::TObject* sender, const std::wstring& currentWord, std::wstring& newWord)>;
// ==== end of the types of input


// One block word of the text, for the block guides.
struct TBlockDef {
    int FIndent = 0;  // 1-based position of the word in its line
    bool FIsBegin = false;
    int FLine = 0;
};

class TMemoTokenizerLink;
class TLineRenderer;
class TMemoLines;

class TAdvCustomMemo : public ClassLib::TCustomControl, public IStyledMemo, public AdvStyleIF::IOVTStyle,
                       public AdvStyleIF::IOVTTones, private ILinesWatcher, private IUndoWatcher {
    CLASSLIB_CLASS(TAdvCustomMemo, ClassLib::TCustomControl)
public:
    explicit TAdvCustomMemo(ClassLib::TComponent* owner = nullptr);
    ~TAdvCustomMemo() override;
    static const ClassLib::TPropertyList& Published();

    // ---- text and lists
    TAdvMemoStrings* Lines() const;
    void SetLines(const ClassLib::TStrings& value);
    TAdvUndoList& UndoList() const;
    TAdvMemoSource* MemoSource() const { return FMemoSource; }
    void SetMemoSource(TAdvMemoSource* value);
    TAdvCustomMemoStyler* SyntaxStyles() const { return FInternalStyles; }
    void SetSyntaxStyles(TAdvCustomMemoStyler* value);
    TAdvCustomMemoStyler* EffectiveStyler() const;
    std::wstring GetLineBreak() const { return L"\r\n"; }

    // ---- geometry
    void SetTextMeasure(ITextMeasure* measure);
    const TCellSize& CellSize() const { return FCellSize; }
    int CharWidth() const { return FCellSize.W; }
    int CharHeight() const { return FCellSize.H; }
    int NodeWidth() const { return 16; }
    const std::wstring& FontName() const { return FFontName; }
    int FontHeight() const { return FFontHeight; }
    using ClassLib::TControl::SetFont;
    void SetFont(const std::wstring& name, int height);
    TMemoRect TextArea() const;
    TMemoRect LineRect(int line) const;
    TFullPos CharFromPos(int x, int y);
    void MouseToCursor(int x, int y, int& cursorX, int& cursorY) const;
    int VisiblePosCount() const { return GetVisible(0); }
    int VisibleLineCount() const { return GetVisible(1); }
    int LastVisibleCol() const { return GetVisible(2); }
    int LastVisibleLine() const { return GetVisible(3); }
    int TopLine() const { return FTopLine; }
    void SetTopLine(int value);
    int LeftCol() const { return FLeftCol; }
    void SetLeftCol(int value);
    void ScrollToTop() { SetTopLine(0); }
    void ScrollToBottom();
    void ScrollCaretIntoView();
    void UpdateScrollBars(bool repaintGutter);
    void ScrollBy(bool vertical, int delta);
    void UpdateLayout();
    const TScrollBarModel& VertBar() const { return FVertBar; }
    const TScrollBarModel& HorzBar() const { return FHorzBar; }
    int MaxLength() const { return FMaxLength; }
    void UpdateMaxLength();
    void InvalidateTopLine() { FbackupTopLine = -1; }

    // ---- update counting
    void BeginUpdate();
    void EndUpdate();
    void ResetUpdate();
    int UpdateCount() const { return FUpdateCount; }
    bool LetRefresh() const { return FLetRefresh; }
    void SetLetRefresh(bool value) { FLetRefresh = value; }
    virtual void UpdateView();
    // Bumped by every invalidation; the window part repaints, tests count.
    int InvalidateCount() const { return FInvalidateCount; }
    int RefreshCount() const { return FRefreshCount; }

    // ---- caret and selection
    int CurX() const { return FCurX; }
    int CurY() const { return FCurY; }
    void SetCurX(int value);
    void SetCurY(int value);
    // Places the caret column again even when it is unchanged (pads or clamps the line).
    void SetCurXForced(int value);
    using ClassLib::TControl::SetCursor;
    void SetCursor(int aCurX, int aCurY);
    int SelStartX() const { return FSelStartX; }
    int SelStartY() const { return FSelStartY; }
    int SelEndX() const { return FSelEndX; }
    int SelEndY() const { return FSelEndY; }
    void SetSelStartX(int v) { FSelStartX = v; }
    void SetSelStartY(int v) { FSelStartY = v; }
    void SetSelEndX(int v) { FSelEndX = v; }
    void SetSelEndY(int v) { FSelEndY = v; }
    TSelectionMode SelectionMode() const { return FSelectionMode; }
    void SetSelectionMode(TSelectionMode value);
    const TMemoRect& BlockSelection() const { return FBlockSelection; }
    void SetBlockSelection(const TMemoRect& value) { FBlockSelection = value; Invalidate(); }
    bool SelectSingleLine() const { return FSelectSingleLine; }
    void SetSelectSingleLine(bool v) { FSelectSingleLine = v; }
    bool HasSelection() const;
    std::wstring Selection() const;
    void SetSelection(const std::wstring& value) { InsertText(value); }
    void InsertText(const std::wstring& value);
    int SelStart() const;
    void SetSelStart(int value);
    int SelLength() const { return static_cast<int>(Selection().size()); }
    void SetSelLength(int value);
    int TextFromPos(int x, int y) const;
    void PosFromText(int textPos, int& x, int& y) const;
    void InsertTextAtXY(const std::wstring& value, int x, int y);
    void DeleteTextAtXY(int x, int y, int numChar);
    void DeleteSelection() { DeleteSelectionCore(true); }
    bool DeleteSelectionCore(bool invalidate);
    void Clear();
    bool IsEmpty() const;
    void SelectAll();
    void UnSelect();
    void ClearSelection();
    void CursorToSelection() { ClearSelection(); }
    void ExtendSelectionToCaret();
    std::wstring TrimLine(int y, bool recordUndo);
    void MoveCaret(int dx, int dy, TMemoShiftState shift);
    void MovePage(int direction, TMemoShiftState shift);
    void HomeKey(TMemoShiftState shift);
    void EndKey(TMemoShiftState shift);
    void WordLeft();
    void WordRight();
    bool IsSymbolDelimiter(wchar_t ch);
    virtual bool IsWordDelimiter(wchar_t ch) const;
    virtual bool IsTokenDelimiter(wchar_t ch) const;
    std::wstring WordAtXY(int x, int y) const;
    std::wstring FullWordAtXY(int x, int y) const;
    std::wstring TokenAtXY(int x, int y) const;
    std::wstring WordAtCursor();
    std::wstring WordAtCursorPos(int& pos);
    std::wstring FullWordAtCursor();
    std::wstring TokenAtCursor();
    std::wstring WordBeforeCursor();
    std::wstring WordTillCursor();
    void SelectWordAtCursor();
    std::wstring NextToken(const std::wstring& text, int start, int& consumed) const;

    // ---- editing commands
    void InsertChar(wchar_t c);
    void DeleteChar(int oldX, int oldY);
    void BackspaceKeyCommand(TMemoShiftState shift);  // the Backspace key as dispatched by input (Ctrl via DeleteWordBack)
    void BackspaceKey();
    void DeleteWordBack();
    void NewLine();
    void TabKey(TMemoShiftState shift);
    void BlockIndent(int fromLine, int toLine, bool addUndo, int indent);
    void DeleteLine();
    std::wstring NewLineIndent();
    std::wstring SmartTabPadding();
    int SmartBackTarget();

    // ---- undo
    void Undo();
    void Redo();
    void AddUndoStep(std::unique_ptr<TUndo> step);
    bool CanUndo() const;
    bool CanRedo() const;
    void ClearUndoRedo();
    int UndoLimit() const { return FUndoLimit; }
    void SetUndoLimit(int value);
    bool UndoLineByLine() const { return FUndoLineByLine; }
    void SetUndoLineByLine(bool v) { FUndoLineByLine = v; }
    bool Modified() const;
    void SetModified(bool value);
    void DoUndoChange(bool canUndo, bool canRedo);
    bool IsDestroying() const { return FDestroying; }

    // ---- per-line flags and word wrap
    bool BreakPoint(int i) const;
    void SetBreakPoint(int i, bool value);
    bool Executable(int i) const;
    void SetExecutable(int i, bool value);
    bool LineModified(int i) const { return LineModifiedInt(i) != lmUnmodified; }
    void SetLineModified(int i, bool value) { SetLineModifiedInt(i, value ? lmModified : lmUnmodified); }
    TLineModifiedState LineModifiedInt(int i) const;
    void SetLineModifiedInt(int i, TLineModifiedState value);
    bool Bookmark(int i) const;
    void SetBookmark(int i, bool value);
    int BookmarkCount() const;
    int GetLastChildOfParentNode(int i) const;
    void ClearBreakpoints();
    void ClearExecutableLines();
    void ClearModified();
    bool LinesModified() const;
    void MarkLinesSaved();
    void MarkLinesUnmodified();
    std::wstring WrappedText();
    std::wstring WrappedLine(int i);
    int GetWrappedLineIndex(int i) const;
    int GetLineIndexWrapped(int i) const;
    int GetLineIndexWrappedEnd(int i) const;
    void UpdateWrap();
    TWordWrapStyle WordWrap() const { return FWordWrap; }
    void SetWordWrap(TWordWrapStyle value);
    void DoWrap();
    void DoJoin();
    bool GetCachedStyle(int i, TStyle& style) const;
    void SetCachedStyle(int i, const TStyle& style);
    void ClearCachedStyles(int from = 0, int to = -1);
    const TIntList& WWList() const { return FWWList; }
    // Edits (and undo) work on joined lines while word wrap is on; nested calls join once.
    void BeginLogicalEdit();
    void EndLogicalEdit();
    // A stored row's position as a position in its whole line (unchanged without word wrap).
    void PhysicalToLogical(int& x, int& y) const;
    // A line counts a break before it unless it continues the line above.
    bool IsWrappedLine(int i) const;

    // ---- bookmarks, markers, error marks
    int Bookmarks(int index) const;
    void SetBookmarks(int index, int line);
    void GotoBookmark(int index);
    void ClearBookmarks();
    bool HasBookmarks() const;
    int BookmarkIndex(int line) const;
    void SetBookmarkIndex(int line, int value);
    TIntList& BookmarkList() { return FBookmarkList; }
    void AddMarker(int lineIndex, int imageIndex);
    void AddMarker(int lineIndex, int imageIndex, const std::wstring& markerText);
    void RemoveMarker(int lineIndex);
    void ClearAllMarkers();
    int MarkerCount() const { return FMarkerList.Markers().MarkerCount(); }
    bool HasMarkers() const { return MarkerCount() > 0; }
    bool MarkerAtLine(int lineNo);
    bool GetMarkers(TAdvMarkers& markers) const;
    void GoToMarker(int marker);
    void GoToMarkerName(const std::wstring& markerText);
    void GotoBegin();
    void GotoEnd();
    TAdvMarkerList& MarkerList() { return FMarkerList; }
    // The gutter's bookmark picture: the program's "OVT_BOOK" bitmap until one is set
    // (setting copies it).
    ClassLib::TBitmap* BookmarkGlyph() const { return FBookmarkGlyph.get(); }
    void SetBookmarkGlyph(const ClassLib::TBitmap* value);
    TAdvMarkerList* GetMarkerList() const { return const_cast<TAdvMarkerList*>(&FMarkerList); }
    void SetError(int lineNo, int errPos, int errLen);
    void ClearLineErrors(int lineNo);
    void ClearErrors();
    void ClearWordError(int lineNo, int linePos);
    void ClearErrorsForWord(const std::wstring& word);
    bool CanCut() const { return SelLength() >= 1 && !FReadOnly; }
    bool CanCopy() const { return SelLength() > 0; }
    bool CanPaste() { return CanEdit(); }
    TAdvMemoSavePos GetSavePos() const;
    void SetSavePos(const TAdvMemoSavePos& pos);

    // ---- find and replace (AdvMemoFind.cpp): results are SelStart of the selected match or -1,
    // the number of matches or replacements, or FindTextPos's linear index (-1 when none)
    int FindText(const std::wstring& searchStr, ClassLib::TFindOptions options);
    int FindText(const std::wstring& searchStr, TFindOptionsEx options);
    int FindTextInMemo(const std::wstring& searchStr, ClassLib::TFindOptions options);
    int FindTextInMemo(const std::wstring& searchStr, TFindOptionsEx options);
    int FindTextCount(const std::wstring& searchStr, ClassLib::TFindOptions options);
    int FindTextCount(const std::wstring& searchStr, TFindOptionsEx options);
    int FindAndReplace(const std::wstring& searchStr, const std::wstring& newStr, ClassLib::TFindOptions options);
    int FindAndReplace(const std::wstring& searchStr, const std::wstring& newStr, TFindOptionsEx options);
    int FindTextPos(const std::wstring& searchStr, ClassLib::TFindOptions options) const;
    TMemoTextFoundEvent OnTextFound;

    // ---- typing aids (AdvMemoCompletion.cpp)
    TAutoCorrect& AutoCorrect() { return FAutoCorrect; }
    TAdvMemoChecker* MemoChecker() const { return FMemoChecker; }
    void SetMemoChecker(TAdvMemoChecker* value);
    // Tooltips (AdvMemoHints.cpp): asked with the word or token under the mouse (outside
    // comments) or the gutter line; a hint shows when the handler leaves `show` true.
    THintForWordEvent OnHintForWord, OnHintForToken;
    THintForGutterEvent OnHintForGutter;
    // The answer to the hint-show request: false cancels the hint. Never throws.
    bool HintShow(ClassLib::THintInfo& info) noexcept;

    // ---- completion list and parameter hint (AdvMemoPopups.cpp). Windows and timers are made
    // on first use: a memo without entries or signatures never makes any.
    TAutoCompletion* AutoCompletion() const { return FAutoCompletion.get(); }
    void SetAutoCompletion(const TAutoCompletion* value) { FAutoCompletion->Assign(value); }
    ClassLib::TCustomImageList* AutoCompletionListImages() const { return FAutoCompletionListImages; }
    void SetAutoCompletionListImages(ClassLib::TCustomImageList* value);
    TAutoHintParameters AutoHintParameters() const { return FAutoHintParameters; }
    void SetAutoHintParameters(TAutoHintParameters value);
    TAutoHintParameterPosition AutoHintParameterPosition() const { return FAutoHintParameterPosition; }
    void SetAutoHintParameterPosition(TAutoHintParameterPosition value) { FAutoHintParameterPosition = value; }
    int AutoHintParameterDelay() const { return FAutoHintParameterDelay; }
    void SetAutoHintParameterDelay(int value);
    void ShowAutoCompletion();
    void HideAutoCompletion();
    virtual void FillAutoCompleteList(const std::wstring& token);
    virtual void FillCompletionListBox(const std::wstring& token);
    // Accepts the selected entry (its name, with "()" when allowed and it has parameters).
    void InsertCompletion(bool allowParens);
    void ShowParameterHint();
    bool UpdateParameterHint();
    void HideHint();
    virtual bool IsAutoCompletionStartToken(wchar_t key);
    virtual bool EndsWithStartToken(const std::wstring& text);
    virtual bool IsParameterHintToken(wchar_t key) { (void)key; return false; }
    virtual bool IsIdentifierChar(wchar_t c);
    virtual bool IsCompletionEndChar(wchar_t key) { (void)key; return false; }
    // Asked before the styler's signatures: handled with show false hides the hint.
    virtual void GetCustomParameterHint(std::wstring& hint, int& parameterIndex, bool& handled, bool& show) {
        (void)hint; (void)parameterIndex; (void)handled; (void)show;
    }
    // The open pop-ups (null when none); the completion form goes when it closes.
    TAdvAutoform* CompletionForm() const { return FCompletionForm; }
    TAdvHintForm* HintForm() const { return FHintForm.get(); }
    bool ParameterHintShowing() const;
    ClassLib::TStringList* AutoCompleteList() const { return FAutoCompleteList.get(); }

    TMemoNotifyEvent OnStartAutoCompletion, OnAutoCompletion, OnCancelAutoCompletion;
    std::function<void(ClassLib::TObject* sender, const std::wstring& token, bool& show)> OnBeforeAutoCompletion;
    std::function<void(ClassLib::TObject* sender, const std::wstring& token, ClassLib::TStringList* list)>
        OnGetAutoCompletionList;
    std::function<void(ClassLib::TObject* sender, const std::wstring& token, ClassLib::TStringList* list, int& index)>
        OnGetAutoCompletionListIndex;
    std::function<void(ClassLib::TObject* sender, std::wstring& entry)> OnInsertAutoCompletionEntry;
    std::function<void(ClassLib::TObject* sender, const std::wstring& token, std::wstring& hint, bool& handled)>
        OnGetParameterHint;
    std::function<void(ClassLib::TObject* sender, const std::wstring& token, const std::wstring& hint)>
        OnRetrievedParameterHint;

protected:
    // Starts the completion timer after a start token, or asks for the hint after a hint token.
    void CheckCompletionTrigger(wchar_t key);
    // True when an entry could come: from the styler or from OnGetAutoCompletionList.
    bool CompletionHasSource() const;
    void CompletionKeyPress(wchar_t& key);
    void CompletionKeyDown(WORD& key);
    void StartCompletionTimer();
    // The word the open list filters by (the start position's word after a start token).
    std::wstring CompletionWord();
    void ParameterHintTimerStart();
    void ReleasePopups();
    void AutoCompletionChanged();
    std::unique_ptr<TAutoCompletion> FAutoCompletion = std::make_unique<TAutoCompletion>();
    std::unique_ptr<ClassLib::TStringList> FAutoCompleteList = std::make_unique<ClassLib::TStringList>();
    ClassLib::TCustomImageList* FAutoCompletionListImages = nullptr;
    TAdvAutoform* FCompletionForm = nullptr;  // freed when it closes
    std::unique_ptr<TAdvHintForm> FHintForm;
    std::unique_ptr<ClassLib::TTimer> FAutoCompleteTimer;
    std::unique_ptr<ClassLib::TTimer> FHintTimer;
    TAutoHintParameterPosition FAutoHintParameterPosition = hpBelowCode;
    int FAutoHintParameterDelay = 2500;
    bool FAutoCompleteDot = false;   // opened after a start token: the word starts at FDotPoint
    TCellPos FDotPoint;
    std::wstring FCompletionToken;   // the token the open list was filled for
    bool FAutoHintsAllowed = true;   // off while a key is held with Ctrl
    bool FClosingCompletion = false;
    bool FHintShowing = false;       // set while the hint is being shown (focus moves meanwhile)

public:

    // ---- code folding (AdvMemoCodeFold.cpp; the rules in AdvMemoFolding.*). Line indexes are
    // 0-based; with folding off the mapping is the identity and nothing else acts.
    bool CodeFoldingEnabled() const override { return FCodeFoldingEnabled; }
    TCodeFolding& CodeFolding() { return *FCodeFolding; }
    TCodeFolding* CodeFoldingSettings() const { return FCodeFolding.get(); }
    void SetCodeFolding(const TCodeFolding* value) { FCodeFolding->Assign(value); }
    virtual int VisIndexToLineIndex(int index) const;
    virtual int LineIndexToVisIndex(int index) const;
    bool AddCodeFolding(int startLineIndex, int endLineIndex) { return AddFoldNode(startLineIndex, endLineIndex, true); }
    virtual void RemoveCodeFolding(int startLineIndex);
    void RemoveAllCodeFolding();
    virtual void AdjustFoldingForDeletedLine(int lineIndex);
    virtual void AutoCodeFold();
    virtual void ExpandParentNodes(int line);
    // Expands the node starting at `line` when it is collapsed (an edit there reaches its text).
    virtual void ExpandNodeOfLine(int line);
    bool IsNode(int line) const;
    bool IsLastChild(int line) const;
    bool GetExpandNode(int line) const;
    void SetExpandNode(int line, bool value);
    void ToggleNode(int line) { SetExpandNode(line, !GetExpandNode(line)); }
    void ExpandAllNodes() { SetAllNodes(true); }
    void CollapseAllNodes() { SetAllNodes(false); }
    int GetNodeEndLine(int line) const;
    bool GetFoldSummary(int line, int& defIndex, std::wstring& text) const;
    int CodeFoldingNodeCount() const { return FCodeFoldingNodeCount; }
    void SetCodeFoldingNodeCount(int value) { FCodeFoldingNodeCount = value; }
    TCodeFoldEvent OnCodeFold;

    // ---- version, files and URLs
    static unsigned GetVersionNr() { return 0x03080200; }
    static std::wstring Version();
    static std::wstring GetVersionString();
    bool WordIsURL(const std::wstring& s);
    void LoadFromFile(const std::wstring& fileName) { Lines()->LoadFromFile(fileName); }
    void SaveToFile(const std::wstring& fileName) { Lines()->SaveToFile(fileName); }
    const std::wstring& FileName() const { return FFileName; }
    void SetFileName(const std::wstring& value);

    // ---- HTML and RTF export (AdvMemoExport.cpp); lastLine -1 means the last line. With
    // columns (lines in order) the first line starts at firstCol and the last ends before
    // lastCol (-1: its end).
    TRunLook StyleLook(const TStyle& style) const;
    std::vector<std::wstring> BuildHTML(bool fixedFonts, int firstLine, int lastLine, bool fragmentOnly,
                                        int firstCol = 0, int lastCol = -1);
    void BuildRTF(RTFEngine::TRTFEngine& engine, bool fixedFonts, int firstLine, int lastLine, int firstCol = 0,
                  int lastCol = -1);
    // False when writing failed.
    bool SaveToHTML(const std::wstring& fileName, bool fixedFonts);
    bool SaveToHTMLStream(ClassLib::TStream* stream, bool fixedFonts);
    bool SaveToRTF(const std::wstring& fileName, bool fixedFonts);
    bool SaveToRTFStream(ClassLib::TStream* stream, bool fixedFonts);
    // The whole text as "HTML Format" beside plain text.
    void CopyHTMLToClipboard();
    // The stream selection as an RTF document (7-bit) and an "HTML Format" block; the lines
    // stay as they are.
    void SelectionAsRichText(std::string& rtf, std::string& html);
    // The structured run store (AdvMemoRuns.h), created empty; no export fills it.
    TMemoLines* MemoLines() const { return FMemoLines.get(); }

    // ---- printing (AdvMemoPrint.cpp); pages count from 1, sizes are the canvas's pixels.
    // A page too small for one line raises EPrinter and sends nothing to the printer.
    TPrintOptions* PrintOptions() const { return FPrintOptions.get(); }
    void SetPrintOptions(const TPrintOptions* value) { FPrintOptions->Assign(value); }
    int NumberOfPages(ClassLib::TCanvas* canvas, int pageWidth, int pageHeight);
    void PrintToCanvas(ClassLib::TCanvas* canvas, int pageWidth, int pageNr, int pageHeight);
    void Print();
    // Nothing when a page is 0 or less or toPage < fromPage; pages beyond the text are not printed.
    void PrintPages(int fromPage, int toPage);
    // The selected text, numbered as the gutter numbers it.
    void PrintSelection();
    // ---- settings file (AdvMemoSettings.cpp): section "Memo Settings" of an INI file
    void SaveMemoSettingsToFile(const std::wstring& fileName);
    // Nothing when the file is missing; a bad colour raises EConvertError and applies nothing.
    void LoadMemoSettingsFromFile(const std::wstring& fileName);

    // ---- options
    ClassLib::TColor BkColor() const { return FBkColor; }
    void SetBkColor(ClassLib::TColor value) { if (value != FBkColor) { FBkColor = value; Invalidate(); } }
    ClassLib::TColor StylerBackground() const override { return FBkColor; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v) { FReadOnly = v; }
    int TabSize() const override { return FTabSize; }
    void SetTabSize(int v) { FTabSize = v; }
    bool AutoIndent() const { return FAutoIndent; }
    void SetAutoIndent(bool v) { FAutoIndent = v; }
    bool AutoExpand() const { return FAutoExpand; }
    void SetAutoExpand(bool v) { FAutoExpand = v; }
    bool SmartTabs() const { return FSmartTabs; }
    void SetSmartTabs(bool v) { FSmartTabs = v; }
    bool EnhancedHomeKey() const { return FEnhancedHomeKey; }
    void SetEnhancedHomeKey(bool v) { FEnhancedHomeKey = v; }
    bool DelErase() const { return FDelErase; }
    void SetDelErase(bool v) { FDelErase = v; }
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase v) { FCharCase = v; }
    bool WantTab() const { return FWantTab; }
    void SetWantTab(bool v) { FWantTab = v; }
    bool Overwrite() const { return FOverwrite; }
    void SetOverwrite(bool v) { FOverwrite = v; }
    bool TrimTrailingSpaces() const override { return FTrimTrailingSpaces; }
    void SetTrimTrailingSpaces(bool v) { FTrimTrailingSpaces = v; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool v) { if (v != FCaseSensitive) { FCaseSensitive = v; Invalidate(); } }
    bool UseStyler() const { return FUseStyler; }
    void SetUseStyler(bool v) { FUseStyler = v; FCachedDelimiters.clear(); }
    int RightMargin() const { return FRightMargin; }
    void SetRightMargin(int v) { if (v != FRightMargin) { FRightMargin = v; Invalidate(); } }
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle v);
    TScrollMode ScrollMode() const { return FScrollMode; }
    void SetScrollMode(TScrollMode v) { FScrollMode = v; }
    TMemoBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TMemoBorderStyle v) { FBorderStyle = v; Invalidate(); }
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool v) { FCtl3D = v; Invalidate(); }
    bool HiddenCaret() const { return FHiddenCaret; }
    void SetHiddenCaret(bool v) {
        FHiddenCaret = v;
        if (Focused() && FCaretVisible == v) UpdateCaret(!v);
    }
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool v) { if (v != FHideSelection) { FHideSelection = v; Invalidate(); } }
    int ActiveLine() const { return FActiveLine; }
    void SetActiveLine(int v) { FActiveLine = v; }
    bool ActiveLineAtCursor() const { return FActiveLineAtCursor; }
    void SetActiveLineAtCursor(bool v) { FActiveLineAtCursor = v; }
    bool ShowModifiedLines() const { return FShowModifiedLines; }
    void SetShowModifiedLines(bool v) { FShowModifiedLines = v; }
    bool GutterVisible() const { return FGutterVisible; }
    void SetGutterVisible(bool v) { FGutterVisible = v; }
    int GutterWidth() const { return FGutterWidth; }
    void SetGutterWidth(int v) { FGutterWidth = v; }
    bool Loading() const { return FLoading; }
    void SetLoading(bool v) { FLoading = v; }
    bool LetCursorUpdate() const { return FLetCursorUpdate; }

    // ---- events
    TMemoNotifyEvent OnChange, OnSelectionChange, OnStatusChange, OnCursorChange, OnTopLeftChanged;
    TUndoChangeEvent OnUndoChange;
    TNewLineIndentEvent OnNewLineIndent;
    TLinePosEvent OnActiveLineChange, OnColumnChange;
    TMarkerAddedEvent OnMarkerAdded;
    TMarkerRemovedEvent OnMarkerRemoved;
    TFileNameEvent OnFileNameChange;
    TIsUrlEvent OnIsURL;
    TClipboardActionEvent OnClipboardAction;
    TAllowEvent OnOverwriteToggle;
    TGutterClickEvent OnGutterClick, OnGutterRightClick, OnGutterDblClick;

    // ---- hooks for the window part and descendants
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;
    // Copies the editor settings and the text of another memo (not its events, styler or marks).
    void Assign(const ClassLib::TPersistent* source) override;
    virtual bool CanEdit() { return true; }
    virtual void AfterEdit() {}
    virtual void DoChange();
    virtual void Changed();
    virtual void DoSelectionChange();
    virtual void DoStatusChange();
    virtual void DoCursorChange();
    virtual void DoIsURL(const std::wstring& token, bool& isUrl);
    virtual void DoClipboardAction(TClipboardAction action, bool& allow);
    virtual void DoGutterClick(int lineNo);
    // Clipboard commands asked through OnClipboardAction first; the transfers are hooks.
    void DoCopy();
    void DoCut();
    void DoPaste();
    virtual void CopyToClipBoard();
    virtual void CutToClipBoard();
    virtual void PasteFromClipBoard();
    virtual void BuildBlockLines();
    // Counted always; reach the window only while it exists (see AdvMemoWindow.cpp).
    void Invalidate() override;
    virtual void Refresh();
    virtual void InvalidateGutter();
    virtual void InvalidateLine(int line);
    virtual void ShowCaret(bool show);
    virtual bool Focused() const;
    void SetFocus() override;
    virtual void ControlChanged() {}
    // Hides the parameter hint (when it is open).
    virtual void HideParameterHint();
    virtual void ScrollBarsChanged();
    // Symbols of the effective styler's first symbol group (empty without a styler).
    std::wstring StylerSymbols() const;
    // Every symbol and bracket character of the effective styler's symbol and bracket groups.
    std::wstring StylerDelimiters() const;

    // Lines' change notification: pointed at UpdateView, or detached.
    void AttachLinesChange();
    void DetachLinesChange();

    // What this memo gives a line store and an undo list it works on (its own, or a memo source's).
    ILinesWatcher* LinesWatcher() { return this; }
    IUndoWatcher* UndoWatcher() { return this; }

protected:
    // ---- watching the line store: caret, marks and view follow every change of the lines
    void LineStored(int index) override;
    void LineInserting(int index) override;
    void TextInserting(int index) override;
    void TextInserted(int index, int count) override;
    bool LineDeleting(int index) override;
    void LineDeleted(int index) override;
    void LinesClearing() override;
    void TextReplaced(bool repaintGutter) override;
    void ChangedInUpdate() override;
    void StringsAdded() override;
    void AssignLines(const ClassLib::TStrings& source) override;
    void LoadStarting() override;
    void LoadEnded(bool loaded, bool fromFile) override;
    void FileSaveStarting() override;
    void FileSaveEnded() override;
    void LinesSaved(bool toFile) override;
    // The caret line's marks go first and the caret moves to the start of what stays (one
    // line up when the last line goes); the answer says how the line goes.
    TDeleteLineUndo::TKind PrepareCaretLineDelete();
    // Bookmarks and markers below the deleted line move up; the selection collapses.
    void FinishLineDelete(int deleted);
    void ShiftMarkersForInsert(int line, int count);
    void ShiftBookmarksForInsert(int line);
    // ---- watching the undo list: a replay holds the view, auto-indent and word wrap
    void UndoStateChanged(bool canUndo, bool canRedo) override;
    void ReplayStarting(bool redo) override;
    void ReplayEnded(bool redo, bool completed) override;
    void Replay(TUndo& step, bool redo) override;
    TMemoNotifyEvent FReplayOnChange;  // OnChange, held back while an undo replays
    bool FReplayAutoIndent = false;    // AutoIndent, off while steps replay
    // The caret and line count before a deletion reported by the line store.
    struct TListDelete { int CurX = 0, CurY = 0, Count = 0; };
    TListDelete FListDelete;

    // ==== window part (AdvMemoWindow.cpp): handle, font measurement, caret, scroll bars
public:
    // Paints the whole control on a DC of its size (a memory DC in tests and benchmarks).
    void PaintTo(HDC dc);
    // The gutter's width and margin are pixels and scale with the bounds; so does its font
    // when given in pixels.
    void ChangeScale(int m, int d) override;
protected:
    void CreateParams(ClassLib::TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Paint() override;
    void BoundsChanged(bool sizeChanged) override;
    void FontChanged() override;
    void WndProc(ClassLib::TMessage& message) override;
    void InitWindow();
    // Copies the model's font name and height into the control's font object.
    void SyncFontObject();
    // The real font's measure when no other was given (tests give a fixed grid).
    void EnsureMeasure();
    void PlaceCaret();
    void MeasureBoldWidth();
    // The row hint beside the pointer while the vertical thumb is dragged.
    void ShowScrollHint(int position);
    void HideScrollHint();
    std::unique_ptr<ClassLib::THintWindow> FScrollHintWindow;
    void ScrollMessage(bool vertical, int code);
    std::unique_ptr<ITextMeasure> FOwnMeasure;
    bool FSyncingFont = false;
    bool FCaretCreated = false;
    bool FCaretShown = false;
    bool FApplyingBars = false;
public:
    bool ScrollHint() const { return FScrollHint; }
    void SetScrollHint(bool v) { FScrollHint = v; }
    TScrollHintEvent OnScrollHint;
    // The scale the memo was rescaled to (1 at 96 pixels per inch) and the scroll bars' size
    // at that scale, which the text area leaves free.
    float DPIScale() const { return FDPIScale; }
    int ScrollBarSize() const { return FScrollBarSize; }
protected:
    bool FScrollHint = false;
    float FDPIScale = 1.0f;
    int FScrollBarSize = 16;
    // ==== end of window part

    // ==== appearance, painting and block matching (AdvMemoAppearance.cpp, AdvMemoPaint.cpp, AdvMemoBlocks.cpp)
public:
    TAdvGutter* Gutter() const { return FGutter.get(); }
    TAdvActiveLineSettings* ActiveLineSettings() const { return FActiveLineSettings.get(); }
    ClassLib::TColor SelColor() const { return FSelColor; }
    void SetSelColor(ClassLib::TColor v) { FSelColor = v; Invalidate(); }
    ClassLib::TColor SelBkColor() const { return FSelBkColor; }
    void SetSelBkColor(ClassLib::TColor v) { FSelBkColor = v; Invalidate(); }
    ClassLib::TColor BandColor() const { return FBandColor; }
    void SetBandColor(ClassLib::TColor v) { FBandColor = v; Invalidate(); }
    ClassLib::TColor BreakpointColor() const { return FBreakpointColor; }
    void SetBreakpointColor(ClassLib::TColor v) { FBreakpointColor = v; Invalidate(); }
    ClassLib::TColor BreakpointTextColor() const { return FBreakpointTextColor; }
    void SetBreakpointTextColor(ClassLib::TColor v) { FBreakpointTextColor = v; Invalidate(); }
    ClassLib::TColor RightMarginColor() const { return FRightMarginColor; }
    void SetRightMarginColor(ClassLib::TColor v) { FRightMarginColor = v; Invalidate(); }
    bool ShowRightMargin() const { return FShowRightMargin; }
    void SetShowRightMargin(bool v) { FShowRightMargin = v; Invalidate(); }
    ClassLib::TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(ClassLib::TColor v) { FBorderColor = v; Invalidate(); }
    bool BlockShow() const { return FBlockShow; }
    void SetBlockShow(bool v) { FBlockShow = v; Invalidate(); }
    ClassLib::TColor BlockColor() const { return FBlockColor; }
    void SetBlockColor(ClassLib::TColor v) { FBlockColor = v; Invalidate(); }
    ClassLib::TColor BlockLineColor() const { return FBlockLineColor; }
    void SetBlockLineColor(ClassLib::TColor v) { FBlockLineColor = v; Invalidate(); }
    bool BlockBrackets() const { return FBlockBrackets; }
    void SetBlockBrackets(bool v);
    bool UrlAware() const { return FUrlAware; }
    void SetUrlAware(bool v) { FUrlAware = v; Invalidate(); }
    TCharStyle* UrlStyle() const { return FUrlStyle.get(); }
    AdvStyleIF::TOVTStyle UIStyle() const { return FUIStyle; }
    void SetStyle(AdvStyleIF::TOVTStyle style);
    void SetComponentStyle(AdvStyleIF::TOVTStyle style) override { SetStyle(style); }
    void SetColorTones(AdvStyleIF::TColorTones tones) override;
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool v);
    // Applies the colours of the operating system's visual style to the gutter.
    void ThemeAdapt();
    // Repaints the gutter or the whole control after a gutter setting changed.
    void GutterChanged(bool layout);
    TMemoRect GetFoldGutterRect() const;

    // Block matching: the match below the caret (a block end) and above it (a start); -1 = none.
    int BSSelLine = -1, BSSelStart = -1, BSSelLen = 0;
    int BESelLine = -1, BESelStart = -1, BESelLen = 0;
    const std::vector<TBlockDef>& BlockLines() const { return FBlockLines; }
    // The URL under the caret (wrapped pieces joined), or empty.
    std::wstring URLAtCursor();
    // True when the column lies in a URL segment of the line (for the hand cursor).
    bool IsURLAt(int column, int line);
    // A click on the URL under the caret: OnURLClick, else the shell for web and mail links only.
    bool ClickURLAtCursor();
    void OpenURL(const std::wstring& url);
    // Text that paint marks in every line (set by find); empty for none.
    void SetHighlight(const std::wstring& text, bool caseSensitive, bool wholeWord);
    const std::wstring& HighlightText() const { return FHighlightText; }
    void SetHighlightText(const std::wstring& v) { if (v != FHighlightText) { FHighlightText = v; Invalidate(); } }
    bool HighlightCaseSensitive() const { return FHighlightCaseSensitive; }
    void SetHighlightCaseSensitive(bool v) { if (v != FHighlightCaseSensitive) { FHighlightCaseSensitive = v; Invalidate(); } }
    bool HighlightWholeWord() const { return FHighlightWholeWord; }
    void SetHighlightWholeWord(bool v) { if (v != FHighlightWholeWord) { FHighlightWholeWord = v; Invalidate(); } }
    // The colours of an active application style, or (forced) the system's defaults.
    void ApplyStyleColors(bool force);
    // True when the font is not truly fixed-pitch and bold glyphs are wider: paint drops bold.
    bool NoRealFixedWidth() const { return FNoRealFixedWidth; }
    // The memo's syntax colouring, synchronised with the line store's changes.
    TMemoTokenizer& Tokenizer();

    TURLClickEvent OnURLClick;
    TGutterDrawEvent OnGutterDraw;
    TLineBkColorEvent OnLineBkColor;
    TAfterPaintEvent OnAfterPaint;
    void DefaultGutterDraw(ClassLib::TObject* sender, HDC canvas, int lineNo, const RECT& rct);
    virtual void DrawBlockLines(HDC dc);
protected:
    friend class TLineRenderer;
    void DrawLine(HDC dc, int line, TStyle& state);
    void PaintLine(HDC dc, TLineRenderer& renderer, int line, int top, TStyle& state);
    // Printer mode of the line renderer: the rows of one printed page.
    void PrintRows(HDC dc, const TPrintedRows& rows);
    std::unique_ptr<TPrintOptions> FPrintOptions = std::make_unique<TPrintOptions>();
    void DrawRightMarginPiece(HDC dc, int left, int right, int top);
    // 1-based position of the first passing alternative of `words` in an upper-cased line, 0 when none.
    int FindBlockWord(const std::wstring& upperLine, const std::wstring& words, int maxAlternatives, int& length) const;
    // 1-based start of the line's comment, 0 when none.
    int CommentPosition(const std::wstring& line) const;
    void PaintGutter(HDC dc);
    void FindBlockMatch();
    // Answers the tokenizer's questions about this memo (defined with the painting).
    std::shared_ptr<TMemoTokenizerLink> FTokenizerLink;
    std::unique_ptr<TAdvGutter> FGutter;
    std::unique_ptr<TAdvActiveLineSettings> FActiveLineSettings;
    std::unique_ptr<TCharStyle> FUrlStyle;
    std::unique_ptr<TMemoTokenizer> FTokenizer;
    const TAdvMemoStrings* FTokenizerLines = nullptr;
    ClassLib::TColor FSelColor = ClassLib::clWhite;
    ClassLib::TColor FSelBkColor = 0x800000;
    ClassLib::TColor FBandColor = ClassLib::clNone;
    ClassLib::TColor FBreakpointColor = ClassLib::clRed;
    ClassLib::TColor FBreakpointTextColor = ClassLib::clWhite;
    ClassLib::TColor FRightMarginColor = 0xE2E2E2;
    bool FShowRightMargin = true;
    ClassLib::TColor FBorderColor = 0x808080;
    bool FBlockShow = true;
    ClassLib::TColor FBlockColor = 0xFFFF00;
    ClassLib::TColor FBlockLineColor = ClassLib::clNone;
    bool FBlockBrackets = false;
    bool FUrlAware = true;
    AdvStyleIF::TOVTStyle FUIStyle = AdvStyleIF::tsCustom;
    bool FAutoThemeAdapt = false;
    std::vector<TBlockDef> FBlockLines;
    std::wstring FHighlightText;
    bool FHighlightCaseSensitive = true;
    bool FNoRealFixedWidth = false;
    bool FHighlightWholeWord = false;
    std::vector<ClassLib::TColor> FBlockLineColors{0xFF8080, 0xFF80FF, 0xA8FFD3, 0xD8B0FF, 0x9BBCFF, 0xFFCCCC};
    // ==== end of appearance, painting and block matching

protected:
    void Init();
    int GetVisible(int index) const;
    void ApplyFont();
    void UpdateCaret(bool show);
    void TrimLineOnLeave(int oldLine);
    void StoreLine(int index, const std::wstring& text);
    std::wstring LineText(int index) const;
    int LineCount() const;
    void EnsureOneLine();
    void OrderedSelection(int& sx, int& sy, int& ex, int& ey) const;
    bool BeginMoveSelection(TMemoShiftState shift);
    void AfterMoveSelection(bool extend);
    void ClearErrorsOfCaretLine();
    std::wstring JoinedWithContinuations(int line) const;
    struct TLinearState { int Caret = 0, CaretBeyond = 0, SelStart = 0, SelEnd = 0, PrevSel = 0; };
    TLinearState SaveLinearState() const;
    void RestoreLinearState(const TLinearState& state);
    // Blanks an edit trims away are recorded as a step linked to the edit, so undo is exact.
    void RecordDroppedText(int column, int line, const std::wstring& text);

    std::unique_ptr<TAdvMemoStrings> FLines;
    std::unique_ptr<TAdvUndoList> FUndoList;
    TAdvMemoSource* FMemoSource = nullptr;
    TAdvCustomMemoStyler* FInternalStyles = nullptr;
    ITextMeasure* FMeasure = nullptr;

    int FCurX = 0, FCurY = 0;
    int FMaxLength = 0;
    bool FCaretVisible = false;
    int FTopLine = 0, FLeftCol = 0;
    int FbackupTopLine = -1;  // -1: the remembered top-line state is invalid
    TCellSize FCellSize;
    int FMargin = 2;
    std::wstring FFontName = L"Courier New";
    int FFontHeight = -13;
    TScrollBarModel FVertBar, FHorzBar;

    int FSelStartX = 0, FSelStartY = 0, FSelEndX = 0, FSelEndY = 0, FPrevSelX = 0, FPrevSelY = 0;
    TSelectionMode FSelectionMode = smText;
    TMemoRect FBlockSelection;
    TFullPos FSelCharPos;
    bool FSelectSingleLine = false;
    bool FHideSelection = false;

    ClassLib::TColor FBkColor = ClassLib::clWhite;
    bool FReadOnly = false;
    int FTabSize = DefaultTabSize;
    bool FAutoIndent = true;
    bool FAutoExpand = true;
    bool FSmartTabs = false;
    bool FEnhancedHomeKey = false;
    bool FDelErase = false;
    TEditCharCase FCharCase = ecNormal;
    bool FWantTab = true;
    bool FOverwrite = false;
    bool FTrimTrailingSpaces = false;
    bool FCaseSensitive = false;
    bool FUseStyler = true;
    bool FHiddenCaret = false;
    int FRightMargin = 80;
    TScrollStyle FScrollBars = ssBoth;
    TScrollMode FScrollMode = smAuto;
    TMemoBorderStyle FBorderStyle = bsSingle;
    bool FCtl3D = false;
    TWordWrapStyle FWordWrap = wwNone;
    int FActiveLine = -1;
    bool FActiveLineAtCursor = false;
    bool FShowModifiedLines = false;
    bool FGutterVisible = true;
    int FGutterWidth = 45;
    TAutoHintParameters FAutoHintParameters = hpAuto;

    int FUndoLimit = 100;
    bool FUndoLineByLine = false;

    bool FLetRefresh = true;
    bool FLetCursorUpdate = true;
    int FUpdateCount = 0;
    bool FDisableChange = false;
    bool FLoading = false;
    bool FDestroying = false;
    bool FShouldCheckCodeFolding = false;
    bool FKeepLeftLine = false;  // set while a command moves the caret and trims the line itself
    int FWrapHold = 0;  // while above 0 the lines stay joined and wrapping waits
    bool FCodeFoldingEnabled = false;
    int FCodeFoldingNodeCount = 0;
    std::unique_ptr<TCodeFolding> FCodeFolding;
    std::unique_ptr<TMemoLines> FMemoLines;
    // The row mapping of the lines FFoldRowsStore held at FFoldRowsStamp; rebuilt on demand.
    mutable TFoldRowIndex FFoldRows;
    mutable const TAdvMemoStrings* FFoldRowsStore = nullptr;
    mutable std::uint64_t FFoldRowsStamp = 0;
    bool FoldRowsCurrent() const;
    const TFoldRowIndex& FoldRows() const;
    void FoldMarksChanged();
    void FoldRowsLineStored();
    // Expands or collapses the node starting at `line` (a node in the other state); the row
    // index follows the node instead of being rebuilt.
    void SetNodeExpansion(int line, bool expanded);
    void AfterFoldExpansion(bool caretShown);
    bool AddFoldNode(int start, int end, bool byCode);
    void SetAllNodes(bool expanded);
    void CodeFoldingChanged(int code);
    // Clicks in the fold column toggle the node under the pointer; true when it was one.
    bool FoldColumnMouseDown(int x, int y);
    void PaintFoldColumn(HDC dc);
    void DrawFoldEllipsis(HDC dc, int line, int x, int top);
    int FInvalidateCount = 0;
    int FRefreshCount = 0;

    std::wstring FCachedDelimiters;
    std::wstring FFileName;
    TAdvMarkerList FMarkerList{this};
    std::unique_ptr<ClassLib::TBitmap> FBookmarkGlyph;
    TIntList FBookmarkList;
    TIntList FWWList;

    // ================================================================ input, behaviours, clipboard
    // Keyboard and mouse commands, the built-in context menu, double click, wheel, the
    // messages the control answers, and the clipboard transfers of text.
public:
    void KeyDown(WORD& key, ClassLib::TShiftState shift) override;
    void KeyPress(wchar_t& key) override;
    void KeyUp(WORD& key, ClassLib::TShiftState shift) override;
    void MouseDown(ClassLib::TMouseButton button, ClassLib::TShiftState shift, int x, int y) override;
    void MouseMove(ClassLib::TShiftState shift, int x, int y) override;
    void MouseUp(ClassLib::TMouseButton button, ClassLib::TShiftState shift, int x, int y) override;
    void DragOver(ClassLib::TObject* source, int x, int y, ClassLib::TDragState state, bool& accept) override;
    void DragDrop(ClassLib::TObject* source, int x, int y) override;
    void DoEndDrag(ClassLib::TObject* target, int x, int y) override;
    bool DoMouseWheelDown(ClassLib::TShiftState shift, ClassLib::TPoint mousePos) override;
    bool DoMouseWheelUp(ClassLib::TShiftState shift, ClassLib::TPoint mousePos) override;
    // The key-command dispatcher shared by the key-down and character paths.
    void ExecuteKey(WORD key, ClassLib::TShiftState shift);
    void PlaceCaretAtMouse(int x, int y, ClassLib::TMouseButton button, ClassLib::TShiftState shift, bool allowDrag);
    void DrawDragCaret(TCellPos point, ClassLib::TDragState state);
    // Places the caret at a client point and inserts the text there.
    void DropText(int x, int y, const std::wstring& s);
    // The left double click at a client point: gutter event, OnDblClick, word selection.
    void DoubleClickAt(int x, int y);
    // The files of a shell drop, each offered to OnFileDrop before it is loaded.
    void DropShellFiles(HDROP drop);
    // Answers the control's own messages; false leaves the message to the standard handling.
    bool HandleMemoMessage(ClassLib::TMessage& message);
    void Dispatch(ClassLib::TMessage& message) override;

    // ---- context menu
    // Builds the built-in menu for the cell (column, row of the view) under a click.
    ClassLib::TPopupMenu* BuildContextMenu(int curX, int curY);
    ClassLib::TPopupMenu* StdMenu() const { return FStdMenu.get(); }
    // Cut, copy, paste, undo and redo pictures of the built-in menu, made on first use.
    ClassLib::TCustomImageList* ContextMenuImages();
    // The context menu at a client point (screen point for the popup); false: standard handling.
    bool ContextMenuAt(ClassLib::TPoint client, ClassLib::TPoint screen);
    virtual void ContextMenuClick(ClassLib::TMenuItem* item);
    virtual void DoCustomizeContextMenu(int curX, int curY, ClassLib::TPopupMenu* menu);
    virtual void DoCustomContextMenuClick(ClassLib::TMenuItem* item);
    virtual void DoOleTextDragged(const std::wstring& text, bool copyText);
    // Text or a file dropped at a text cell (column, line); each may be refused by its event.
    virtual bool DoOleDropText(const std::wstring& text, int x, int y);  // false: refused
    virtual void DoOleDropFile(int x, int y, const std::wstring& fileName);
    // Caret, scroll bars, view and wrap brought up to date after outside changes.
    void RefreshMemo();
    TUILanguage& UILanguage() { return FUILanguage; }
    void SetUILanguage(const TUILanguage& value) { FUILanguage.Assign(&value); }

    // ---- clipboard
    TMemoClipboardFormats ClipboardFormats() const { return FClipboardFormats; }
    void SetClipboardFormats(TMemoClipboardFormats value) { FClipboardFormats = value; }

    // ---- options of input
    bool AcceptFiles() const { return FAcceptFiles; }
    void SetAcceptFiles(bool value);
    bool DragCaret() const { return FDragCaret; }
    void SetDragCaret(bool value) { FDragCaret = value; }
    bool OleDropSource() const { return FOleDropSource; }
    void SetOleDropSource(bool value) { FOleDropSource = value; }
    TOleDropTargetTypes OleDropTarget() const { return FOleDropTarget; }
    // Registers the window for OLE drops while the set is not empty.
    void SetOleDropTarget(TOleDropTargetTypes value);
    bool AlwaysFocus() const { return FAlwaysFocus; }
    void SetAlwaysFocus(bool value) { FAlwaysFocus = value; }
    bool IsFocusActive() const { return Focused() || FAlwaysFocus; }

    TMemoNotifyEvent OnFind, OnReplace, OnSave;
    TFileDropEvent OnFileDrop;
    TCustomizeContextMenuEvent OnCustomizeContextMenu;
    TCustomContextMenuClickEvent OnCustomContextMenuClick;
    TOleTextDraggedEvent OnOleTextDragged;
    TOleDropTextEvent OnOleDropText;
    TOleDropFileEvent OnOleDropFile;
    TWordCompleteEvent OnWordComplete;

protected:
    // The memo starts its own drags (from a press inside the selection), not every press.
    void BeginAutoDrag() override {}
    void CreateWindowHandleDone() override;
    bool WantsKey(WORD key) override { return key == VK_RETURN; }
    bool InGutter(int x) const;
    // Marks the undo steps added since `newestBefore` so that one undo reverses them all.
    void LinkUndoStepsSince(const TUndo* newestBefore);
    void MoveDroppedSelection(int dropX, int dropY, bool copy);
    // The selection dragged by OLE to this or another window; deleted only when moved away.
    void StartOleDragFromSelection();
    void RegisterOleDropTarget();
    void RevokeOleDropTarget();
    friend class TAdvMemoDropTarget;
    TOleDropTargetTypes FOleDropTarget = 0;
    AdvMDD::TAMDropTarget* FOleTarget = nullptr;  // registered for the window; one reference held
    bool FOleMovedInside = false;  // this memo's own OLE drag was dropped (and moved) inside it
    // The word ending at the caret replaced as OnWordComplete says, as one undo step.
    void CompleteWordBeforeCaret();
    // The checker's word or line step for a word-ending key (Enter: the line steps too).
    void RunMemoChecker(bool enter);
    // The wordLength characters before the caret become newWord, as one undo step.
    void ReplaceBeforeCaret(int wordLength, const std::wstring& newWord);
    TAutoCorrect FAutoCorrect;
    TAdvMemoChecker* FMemoChecker = nullptr;

    bool FLeftButtonDown = false;
    bool FSelButtonDown = false;  // the press came inside the selection (a drag may start)
    bool FSelClick = false;       // the next mouse move belongs to the click and is ignored
    bool FSelDrag = false;        // the press inside the selection became a drag
    bool FIsDragSource = false;
    TCellPos FDragPos{0, -1};     // cell of the drawn drag caret; line -1 when none
    bool FDragCaret = true;
    bool FOleDropSource = false;
    bool FAcceptFiles = false;
    bool FAlwaysFocus = false;
    int FMouseTopLine = 0;
    bool FCursorSwapped = false;  // the mouse cursor shows a link or a draggable selection
    ClassLib::TCursor FNormalCursor = ClassLib::crDefault;
    TMemoClipboardFormats FClipboardFormats = cfText;
    TUILanguage FUILanguage;
    // The images outlive the menu that shows them (members go in reverse order).
    std::unique_ptr<ClassLib::TCustomImageList> FContextMenuImages;
    std::unique_ptr<ClassLib::TPopupMenu> FStdMenu;
    // Selected text is dragged by default; set once the control part is built.
    bool FInputDefaultsSet = (SetDragMode(ClassLib::dmAutomatic), true);
};

// The control placed on a form: publishes the editor's properties with the form defaults.
class TAdvMemo : public TAdvCustomMemo {
    CLASSLIB_CLASS(TAdvMemo, TAdvCustomMemo)
public:
    explicit TAdvMemo(ClassLib::TComponent* owner = nullptr);
    static const ClassLib::TPropertyList& Published();
    bool IsWordDelimiter(wchar_t ch) const override;
    std::wstring VersionText() const { return Version(); }
    // After reading from a window description: source attached, layout, font and blocks redone.
    void Loaded() override;
};

// Owns one text (lines, undo list, styler) that one memo at a time can show.
class TAdvMemoSource : public ClassLib::TComponent {
    CLASSLIB_CLASS(TAdvMemoSource, ClassLib::TComponent)
public:
    explicit TAdvMemoSource(ClassLib::TComponent* owner = nullptr);
    ~TAdvMemoSource() override;
    static const ClassLib::TPropertyList& Published();

    TAdvMemoStrings* Lines() const { return FLines.get(); }
    void SetLines(const ClassLib::TStrings& value);
    TAdvUndoList& UndoList() const { return *FUndoList; }
    void SetUndoList(const TAdvUndoList& value);
    TAdvCustomMemoStyler* SyntaxStyler() const { return FSyntaxStyler; }
    void SetSyntaxStyler(TAdvCustomMemoStyler* value);
    bool ReadOnly() const;
    void SetReadOnly(bool value);
    bool Modified() const;
    void SetModified(bool value);
    TAdvCustomMemo* Memo() const { return FMemo; }
    void AttachMemo(TAdvCustomMemo* memo);
    // The styler or the attached memo goes away.
    void StylerRemoved();
    void MemoRemoved() { AttachMemo(nullptr); }
    const TAdvMemoSavePos& CaretInfo() const { return FCaretInfo; }
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;
    const TIntList& SavedBookmarks() const { return FBookmarkList; }

private:
    TAdvCustomMemoStyler* FSyntaxStyler = nullptr;
    std::unique_ptr<TAdvMemoStrings> FLines;
    std::unique_ptr<TAdvUndoList> FUndoList;
    int FUndoLimit = 100;
    TAdvCustomMemo* FMemo = nullptr;
    bool FModified = false;
    bool FReadOnly = false;
    TAdvMemoSavePos FCaretInfo;
    TIntList FBookmarkList;
};

}  // namespace AdvMemo
