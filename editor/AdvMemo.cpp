#include "editor/AdvMemo.h"

#include <algorithm>
#include <cmath>

#include "editor/AdvMemoRuns.h"

namespace AdvMemo {

namespace {

bool HasTab(const std::wstring& s) { return s.find(L'\t') != std::wstring::npos; }

}  // namespace

// ---------------------------------------------------------------- construction

CLASSLIB_IMPLEMENT(TAdvCustomMemo, ClassLib::TCustomControl)
CLASSLIB_IMPLEMENT(TAdvMemo, TAdvCustomMemo)
CLASSLIB_IMPLEMENT(TAdvMemoSource, ClassLib::TComponent)

TAdvCustomMemo::TAdvCustomMemo(ClassLib::TComponent* owner) : ClassLib::TCustomControl(owner) {
    Init();
    InitWindow();
}

const ClassLib::TPropertyList& TAdvCustomMemo::Published() {
    using M = TAdvCustomMemo;
    static const ClassLib::TPropertyList list = ClassLib::TPropertyList::Extend(ClassLib::TCustomControl::Published())
        .Add(L"ParentFont", &M::ParentFont, &M::SetParentFont, false)
        .Add(L"TabStop", &M::TabStop, &M::SetTabStop, true)
        .SubObject(L"Gutter", &M::Gutter)
        .SubObject(L"ActiveLineSettings", &M::ActiveLineSettings)
        .SubObject(L"UrlStyle", &M::UrlStyle)
        .SubObject(L"CodeFolding", &M::CodeFoldingSettings)
        .Colour(L"SelColor", &M::SelColor, &M::SetSelColor, ClassLib::clWhite)
        .Colour(L"SelBkColor", &M::SelBkColor, &M::SetSelBkColor, ClassLib::TColor(0x800000))
        .Colour(L"BandColor", &M::BandColor, &M::SetBandColor, ClassLib::clNone)
        .Colour(L"BreakpointColor", &M::BreakpointColor, &M::SetBreakpointColor, ClassLib::clRed)
        .Colour(L"BreakpointTextColor", &M::BreakpointTextColor, &M::SetBreakpointTextColor, ClassLib::clWhite)
        .Colour(L"RightMarginColor", &M::RightMarginColor, &M::SetRightMarginColor, ClassLib::TColor(0xE2E2E2))
        .Add(L"ShowRightMargin", &M::ShowRightMargin, &M::SetShowRightMargin, true)
        .Colour(L"BorderColor", &M::BorderColor, &M::SetBorderColor, ClassLib::TColor(0x808080))
        .Add(L"BlockShow", &M::BlockShow, &M::SetBlockShow, true)
        .Colour(L"BlockColor", &M::BlockColor, &M::SetBlockColor, ClassLib::TColor(0xFFFF00))
        .Colour(L"BlockLineColor", &M::BlockLineColor, &M::SetBlockLineColor, ClassLib::clNone)
        .Add(L"BlockBrackets", &M::BlockBrackets, &M::SetBlockBrackets, false)
        .Add(L"UrlAware", &M::UrlAware, &M::SetUrlAware, true)
        .Add(L"AutoThemeAdapt", &M::AutoThemeAdapt, &M::SetAutoThemeAdapt, false)
        .Add(L"ScrollHint", &M::ScrollHint, &M::SetScrollHint, false)
        .Event(L"OnScrollHint", &M::OnScrollHint)
        .Event(L"OnURLClick", &M::OnURLClick)
        .Add(L"AutoIndent", &M::AutoIndent, &M::SetAutoIndent, true)
        .Add(L"AutoExpand", &M::AutoExpand, &M::SetAutoExpand, true)
        .Colour(L"BkColor", &M::BkColor, &M::SetBkColor, ClassLib::clWhite)
        .Enum(L"BorderStyle", L"TBorderStyle", &M::BorderStyle, &M::SetBorderStyle, {L"bsNone", L"bsSingle"}, bsSingle)
        .Add(L"CaseSensitive", &M::CaseSensitive, &M::SetCaseSensitive, false)
        .Enum(L"CharCase", L"TEditCharCase", &M::CharCase, &M::SetCharCase, {L"ecNormal", L"ecUpperCase", L"ecLowerCase"}, ecNormal)
        .Add(L"Ctl3D", &M::Ctl3D, &M::SetCtl3D, false)
        .Add(L"DelErase", &M::DelErase, &M::SetDelErase, false)
        .Enum(L"DragMode", &M::DragMode, &M::SetDragMode, ClassLib::dmAutomatic)
        .Add(L"AcceptFiles", &M::AcceptFiles, &M::SetAcceptFiles, false)
        .Add(L"OleDropSource", &M::OleDropSource, &M::SetOleDropSource, false)
        .SetOf(L"OleDropTarget", L"TOleDropTargetTypes", &M::OleDropTarget, &M::SetOleDropTarget, {L"odtFile", L"odtText"},
               TOleDropTargetTypes(0))
        .Event(L"OnOleDropText", &M::OnOleDropText)
        .Event(L"OnOleDropFile", &M::OnOleDropFile)
        .Event(L"OnOleTextDragged", &M::OnOleTextDragged)
        .Event(L"OnFind", &M::OnFind)
        .Event(L"OnReplace", &M::OnReplace)
        .Event(L"OnTextFound", &M::OnTextFound)
        .Event(L"OnFileDrop", &M::OnFileDrop)
        .Event(L"OnCustomizeContextMenu", &M::OnCustomizeContextMenu)
        .Event(L"OnCustomContextMenuClick", &M::OnCustomContextMenuClick)
        .Add(L"EnhancedHomeKey", &M::EnhancedHomeKey, &M::SetEnhancedHomeKey, false)
        .Add(L"HiddenCaret", &M::HiddenCaret, &M::SetHiddenCaret, false)
        .Add(L"HideSelection", &M::HideSelection, &M::SetHideSelection, false)
        .Strings(L"Lines", &M::Lines)
        .SubObject(L"MarkerList", &M::GetMarkerList)
        .SubObject(L"PrintOptions", &M::PrintOptions)
        .Reference(L"MemoSource", &M::MemoSource, &M::SetMemoSource)
        .Reference(L"SyntaxStyles", &M::SyntaxStyles, &M::SetSyntaxStyles)
        .Add(L"ReadOnly", &M::ReadOnly, &M::SetReadOnly, false)
        .Add(L"RightMargin", &M::RightMargin, &M::SetRightMargin, 80)
        .Enum(L"ScrollBars", &M::ScrollBars, &M::SetScrollBars, ssBoth)
        .Enum(L"ScrollMode", L"TScrollMode", &M::ScrollMode, &M::SetScrollMode, {L"smAuto", L"smStrict"}, smAuto)
        .Enum(L"SelectionMode", L"TSelectionMode", &M::SelectionMode, &M::SetSelectionMode, {L"smText", L"smBlock"}, smText)
        .Add(L"SmartTabs", &M::SmartTabs, &M::SetSmartTabs, false)
        .Add(L"TabSize", &M::TabSize, &M::SetTabSize, 4)
        .Add(L"TrimTrailingSpaces", &M::TrimTrailingSpaces, &M::SetTrimTrailingSpaces, false)
        .Add(L"UndoLimit", &M::UndoLimit, &M::SetUndoLimit, 100)
        .Add(L"UndoLineByLine", &M::UndoLineByLine, &M::SetUndoLineByLine, false)
        .Add(L"UseStyler", &M::UseStyler, &M::SetUseStyler, true)
        .Add(L"WantTab", &M::WantTab, &M::SetWantTab, true)
        .Enum(L"WordWrap", L"TWordWrapStyle", &M::WordWrap, &M::SetWordWrap, {L"wwNone", L"wwClientWidth", L"wwRightMargin"}, wwNone)
        .Event(L"OnChange", &M::OnChange)
        .Event(L"OnSelectionChange", &M::OnSelectionChange)
        .Event(L"OnStatusChange", &M::OnStatusChange)
        .Event(L"OnCursorChange", &M::OnCursorChange)
        .Event(L"OnTopLeftChanged", &M::OnTopLeftChanged)
        .Event(L"OnUndoChange", &M::OnUndoChange)
        .Event(L"OnNewLineIndent", &M::OnNewLineIndent)
        .Event(L"OnIsURL", &M::OnIsURL)
        .Event(L"OnClipboardAction", &M::OnClipboardAction)
        .Event(L"OnOverwriteToggle", &M::OnOverwriteToggle)
        .Event(L"OnActiveLineChange", &M::OnActiveLineChange)
        .Event(L"OnColumnChange", &M::OnColumnChange)
        .Event(L"OnMarkerAdded", &M::OnMarkerAdded)
        .Event(L"OnMarkerRemoved", &M::OnMarkerRemoved)
        .Event(L"OnGutterClick", &M::OnGutterClick)
        .Event(L"OnGutterRightClick", &M::OnGutterRightClick)
        .Event(L"OnGutterDblClick", &M::OnGutterDblClick)
        .Event(L"OnHintForWord", &M::OnHintForWord)
        .Event(L"OnHintForToken", &M::OnHintForToken)
        .Event(L"OnHintForGutter", &M::OnHintForGutter)
        .SubObject(L"AutoCompletion", &M::AutoCompletion)
        .Reference(L"AutoCompletionListImages", &M::AutoCompletionListImages, &M::SetAutoCompletionListImages)
        .Enum(L"AutoHintParameters", L"TAutoHintParameters", &M::AutoHintParameters, &M::SetAutoHintParameters,
              {L"hpAuto", L"hpManual", L"hpNone"}, hpAuto)
        .Enum(L"AutoHintParameterPosition", L"TAutoHintParameterPosition", &M::AutoHintParameterPosition,
              &M::SetAutoHintParameterPosition, {L"hpBelowCode", L"hpAboveCode"}, hpBelowCode)
        .Add(L"AutoHintParameterDelay", &M::AutoHintParameterDelay, &M::SetAutoHintParameterDelay, 2500)
        .Event(L"OnBeforeAutoCompletion", &M::OnBeforeAutoCompletion)
        .Event(L"OnGetAutoCompletionList", &M::OnGetAutoCompletionList)
        .Event(L"OnGetAutoCompletionListIndex", &M::OnGetAutoCompletionListIndex)
        .Event(L"OnStartAutoCompletion", &M::OnStartAutoCompletion)
        .Event(L"OnAutoCompletion", &M::OnAutoCompletion)
        .Event(L"OnCancelAutoCompletion", &M::OnCancelAutoCompletion)
        .Event(L"OnInsertAutoCompletionEntry", &M::OnInsertAutoCompletionEntry)
        .Event(L"OnGetParameterHint", &M::OnGetParameterHint)
        .Event(L"OnRetrievedParameterHint", &M::OnRetrievedParameterHint);
    return list;
}

// The form control changes a few defaults; its list re-publishes them.
const ClassLib::TPropertyList& TAdvMemo::Published() {
    using M = TAdvCustomMemo;
    static const ClassLib::TPropertyList list = ClassLib::TPropertyList::Extend(TAdvCustomMemo::Published())
        .Add(L"DelErase", &M::DelErase, &M::SetDelErase, true)
        .ReadOnly(L"Version", &TAdvMemo::VersionText);
    return list;
}

const ClassLib::TPropertyList& TAdvMemoSource::Published() {
    using S = TAdvMemoSource;
    static const ClassLib::TPropertyList list = ClassLib::TPropertyList::Extend(ClassLib::TComponent::Published())
        .Strings(L"Lines", &S::Lines)
        .Add(L"ReadOnly", &S::ReadOnly, &S::SetReadOnly, false)
        .Reference(L"SyntaxStyler", &S::SyntaxStyler, &S::SetSyntaxStyler);
    return list;
}

void TAdvCustomMemo::Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) {
    ClassLib::TCustomControl::Notification(component, operation);
    if (operation != ClassLib::opRemove) return;
    if (FMemoSource && component == FMemoSource) {
        SetMemoSource(nullptr);
        Invalidate();
    }
    if (component == FMemoChecker) FMemoChecker = nullptr;
    if (component == FAutoCompletionListImages) SetAutoCompletionListImages(nullptr);
    if (component == FMarkerList.MarkerImageList()) {
        FMarkerList.SetMarkerImageList(nullptr);
        Invalidate();
    }
    if (FInternalStyles && component == FInternalStyles) {
        FInternalStyles = nullptr;
        FCachedDelimiters.clear();
        Invalidate();
    }
}

void TAdvCustomMemo::Assign(const ClassLib::TPersistent* source) {
    const auto* other = dynamic_cast<const TAdvCustomMemo*>(source);
    if (!other) {
        ClassLib::TCustomControl::Assign(source);
        return;
    }
    // In the order of the settings' dependencies: lines before the view settings that
    // lay them out, word wrap last.
    SetAcceptFiles(other->AcceptFiles());
    FActiveLineSettings->Assign(other->ActiveLineSettings());
    SetAlign(other->Align());
    SetAlignWithMargins(other->AlignWithMargins());
    SetAnchors(other->Anchors());
    FAutoCompletion->Assign(other->AutoCompletion());
    SetAutoCompletionListImages(other->AutoCompletionListImages());
    FAutoCorrect.Assign(&other->FAutoCorrect);
    SetAutoExpand(other->AutoExpand());
    SetAutoHintParameterDelay(other->AutoHintParameterDelay());
    SetAutoHintParameterPosition(other->AutoHintParameterPosition());
    SetAutoHintParameters(other->AutoHintParameters());
    SetAutoIndent(other->AutoIndent());
    SetAutoThemeAdapt(other->AutoThemeAdapt());
    SetBandColor(other->BandColor());
    SetBkColor(other->BkColor());
    SetBlockColor(other->BlockColor());
    SetBlockLineColor(other->BlockLineColor());
    SetBlockShow(other->BlockShow());
    SetBorderColor(other->BorderColor());
    SetBorderStyle(other->BorderStyle());
    SetBreakpointColor(other->BreakpointColor());
    SetBreakpointTextColor(other->BreakpointTextColor());
    SetCaseSensitive(other->CaseSensitive());
    SetCharCase(other->CharCase());
    SetClipboardFormats(other->ClipboardFormats());
    SetCodeFolding(other->FCodeFolding.get());
    SetCtl3D(other->Ctl3D());
    SetCursor(other->Cursor());
    SetDelErase(other->DelErase());
    SetDragMode(other->DragMode());
    SetEnabled(other->Enabled());
    SetEnhancedHomeKey(other->EnhancedHomeKey());
    Font()->Assign(other->Font());
    FGutter->Assign(other->Gutter());
    SetHint(other->Hint());
    if (other->Lines() != Lines()) SetLines(*other->Lines());
    FMarkerList.Assign(&other->FMarkerList);
    SetPrintOptions(other->PrintOptions());
    SetReadOnly(other->ReadOnly());
    SetRightMargin(other->RightMargin());
    SetRightMarginColor(other->RightMarginColor());
    SetScrollBars(other->ScrollBars());
    SetScrollHint(other->ScrollHint());
    SetScrollMode(other->ScrollMode());
    SetSelBkColor(other->SelBkColor());
    SetShowHint(other->ShowHint());
    SetShowRightMargin(other->ShowRightMargin());
    SetSmartTabs(other->SmartTabs());
    SetTabStop(other->TabStop());
    SetTag(other->Tag());
    SetTrimTrailingSpaces(other->TrimTrailingSpaces());
    SetUndoLimit(other->UndoLimit());
    SetUndoLineByLine(other->UndoLineByLine());
    SetUrlAware(other->UrlAware());
    FUrlStyle->Assign(other->UrlStyle());
    SetUseStyler(other->UseStyler());
    SetVisible(other->Visible());
    SetWantTab(other->WantTab());
    SetWordWrap(other->WordWrap());
}

void TAdvMemoSource::Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) {
    ClassLib::TComponent::Notification(component, operation);
    if (operation != ClassLib::opRemove) return;
    if (FMemo && component == FMemo) AttachMemo(nullptr);
    if (FSyntaxStyler && component == FSyntaxStyler) StylerRemoved();
}

void TAdvMemoSource::SetSyntaxStyler(TAdvCustomMemoStyler* value) {
    if (value == FSyntaxStyler) return;
    if (FSyntaxStyler) FSyntaxStyler->RemoveFreeNotification(this);
    FSyntaxStyler = value;
    if (value) value->FreeNotification(this);
}

void TAdvCustomMemo::Init() {
    FLines = std::make_unique<TAdvMemoStrings>();
    FLines->Add(L"");
    FLines->SetTrailingLineBreak(false);
    FLines->SetWatcher(this);
    AttachLinesChange();
    for (int i = 0; i < 10; ++i) FBookmarkList.Add(-1);
    FUndoList = std::make_unique<TAdvUndoList>();
    FUndoList->SetWatcher(this);
    FVertBar.SmallChange = 1;
    FAutoCompletion->OnChange = [this] { AutoCompletionChanged(); };
    FCodeFolding = std::make_unique<TCodeFolding>();
    FCodeFolding->OnChange = [this](int code) { CodeFoldingChanged(code); };
    FMemoLines = std::make_unique<TMemoLines>(this);
    FBookmarkGlyph = std::make_unique<ClassLib::TBitmap>();
    try {
        FBookmarkGlyph->LoadFromResourceName(::GetModuleHandleW(nullptr), L"OVT_BOOK");
    } catch (const std::exception&) {
        // A program built without the editor's pictures draws bookmarks without a glyph.
    }
    FBookmarkGlyph->SetTransparent(true);
}

void TAdvCustomMemo::SetBookmarkGlyph(const ClassLib::TBitmap* value) {
    FBookmarkGlyph->Assign(value);
    FBookmarkGlyph->SetTransparent(true);
    Invalidate();
}

TAdvCustomMemo::~TAdvCustomMemo() {
    FDestroying = true;
    ReleasePopups();
    RevokeOleDropTarget();
    if (FMemoSource) {
        TAdvMemoSource* source = FMemoSource;
        FMemoSource = nullptr;
        source->MemoRemoved();
    }
    FLines->OnChange = nullptr;
    FUndoList->Clear();
}

TAdvMemo::TAdvMemo(ClassLib::TComponent* owner) : TAdvCustomMemo(owner) {
    FWidth = 250;
    FHeight = 350;
    FHiddenCaret = false;
    FDelErase = true;
    FCaseSensitive = false;
    FReadOnly = false;
    FFontName = L"COURIER NEW";
    FFontHeight = -13;
    SyncFontObject();
    OnChange = [this](ClassLib::TObject*) { Invalidate(); };
    OnGutterClick = [this](ClassLib::TObject*, int lineNo) {
        SetCurY(lineNo);
        ClearSelection();
    };
}

std::wstring TAdvCustomMemo::Version() {
    const unsigned v = GetVersionNr();
    return std::to_wstring((v >> 24) & 0xFF) + L"." + std::to_wstring((v >> 16) & 0xFF) + L"." +
           std::to_wstring((v >> 8) & 0xFF) + L"." + std::to_wstring(v & 0xFF);
}

std::wstring TAdvCustomMemo::GetVersionString() { return Version() + L" Apr, 2022"; }

// ---------------------------------------------------------------- lists

TAdvMemoStrings* TAdvCustomMemo::Lines() const { return FMemoSource ? FMemoSource->Lines() : FLines.get(); }

TAdvUndoList& TAdvCustomMemo::UndoList() const { return FMemoSource ? FMemoSource->UndoList() : *FUndoList; }

int TAdvCustomMemo::LineCount() const { return Lines()->Count(); }

std::wstring TAdvCustomMemo::LineText(int index) const {
    TAdvMemoStrings* lines = Lines();
    return index >= 0 && index < lines->Count() ? lines->Get(index) : std::wstring();
}

void TAdvCustomMemo::StoreLine(int index, const std::wstring& text) { Lines()->Put(index, text); }

void TAdvCustomMemo::EnsureOneLine() {
    TAdvMemoStrings* lines = Lines();
    if (lines->Count() > 0) return;
    auto saved = lines->OnChange;
    lines->OnChange = nullptr;
    lines->Add(L"");
    lines->OnChange = saved;
}

void TAdvCustomMemo::AttachLinesChange() {
    Lines()->OnChange = [this](ClassLib::TObject*) { UpdateView(); };
}

void TAdvCustomMemo::DetachLinesChange() { Lines()->OnChange = nullptr; }

// ---------------------------------------------------------------- watching the undo list

void TAdvCustomMemo::UndoStateChanged(bool canUndo, bool canRedo) {
    if (!IsDestroying()) DoUndoChange(canUndo, canRedo);
}

void TAdvCustomMemo::ReplayStarting(bool redo) {
    if (!redo) {
        FReplayOnChange = OnChange;
        OnChange = nullptr;
    }
    FReplayAutoIndent = FAutoIndent;
    FAutoIndent = false;
    BeginLogicalEdit();
}

void TAdvCustomMemo::ReplayEnded(bool redo, bool completed) {
    EndLogicalEdit();
    if (!redo) OnChange = std::move(FReplayOnChange);
    if (!redo && completed) UpdateView();
    FAutoIndent = FReplayAutoIndent;
    if (redo && completed) ControlChanged();
}

void TAdvCustomMemo::Replay(TUndo& step, bool redo) {
    if (redo) step.Redo(*this);
    else step.Undo(*this);
}

// ---------------------------------------------------------------- watching the line store

void TAdvCustomMemo::LineStored(int index) {
    FoldRowsLineStored();
    if (index < FTopLine) InvalidateTopLine();
}

void TAdvCustomMemo::LineInserting(int index) {
    if (index < FTopLine) InvalidateTopLine();
    ShiftBookmarksForInsert(index);
}

void TAdvCustomMemo::TextInserting(int) { ClearSelection(); }

void TAdvCustomMemo::TextInserted(int index, int count) {
    const int x = FCurX, y = FCurY;
    FCurY = -1;  // forces the setter to place the caret again
    SetCurY(y);
    SetCurXForced(x);
    ShiftMarkersForInsert(index, count);
    Invalidate();
}

bool TAdvCustomMemo::LineDeleting(int index) {
    if (index < FTopLine) InvalidateTopLine();
    if (FCodeFoldingEnabled && Lines()->GetLineProp(index)) AdjustFoldingForDeletedLine(index);
    if (!CanEdit()) return false;
    FListDelete = TListDelete{FCurX, FCurY, Lines()->Count()};
    // The line goes as if deleted with the caret on it; the caret comes back in LineDeleted.
    FCurY = index;
    PrepareCaretLineDelete();
    return true;
}

void TAdvCustomMemo::LineDeleted(int index) {
    FinishLineDelete(index);
    AfterEdit();
    const TListDelete before = FListDelete;
    // Written straight into the fields: the caret stays on its text line, one up when a line
    // above it went.
    FCurX = before.Count == 1 ? 0 : before.CurX;
    FCurY = index < before.CurY ? before.CurY - 1 : before.CurY;
    // The caret stood on the line that went away: place it through the setters.
    if (FCurY >= LineCount()) {
        FCurY = -1;
        SetCurY(std::max(0, LineCount() - 1));
        SetCurXForced(before.CurX);
    }
}

void TAdvCustomMemo::LinesClearing() {
    FSelStartX = FSelStartY = FSelEndX = FSelEndY = 0;
    FCurX = FCurY = 0;
    Invalidate();
    FCodeFoldingNodeCount = 0;
}

void TAdvCustomMemo::TextReplaced(bool repaintGutter) {
    UpdateMaxLength();
    UpdateScrollBars(repaintGutter);
}

void TAdvCustomMemo::ChangedInUpdate() {
    UpdateMaxLength();
    UpdateScrollBars(false);
    Invalidate();
}

void TAdvCustomMemo::StringsAdded() { Refresh(); }

void TAdvCustomMemo::AssignLines(const ClassLib::TStrings& source) {
    Clear();
    InvalidateTopLine();
    SetLines(source);
}

void TAdvCustomMemo::LoadStarting() {
    ClearSelection();
    UndoList().Clear();
    FCurX = FCurY = 0;
    SetLetRefresh(false);
    DetachLinesChange();
}

void TAdvCustomMemo::LoadEnded(bool loaded, bool fromFile) {
    if (loaded) {
        InvalidateTopLine();
        FCurX = FCurY = 0;
        UpdateMaxLength();
    }
    AttachLinesChange();
    SetLetRefresh(true);
    if (!loaded) return;
    UpdateView();
    DoWrap();
    AutoCodeFold();
    if (fromFile) MarkLinesUnmodified();
    Refresh();
}

void TAdvCustomMemo::FileSaveStarting() {
    if (FWordWrap == wwNone) return;
    DetachLinesChange();
    DoJoin();
}

void TAdvCustomMemo::FileSaveEnded() {
    if (FWordWrap == wwNone) return;
    DoWrap();
    AttachLinesChange();
}

void TAdvCustomMemo::LinesSaved(bool toFile) {
    MarkLinesSaved();
    if (toFile) Invalidate();
}

void TAdvCustomMemo::SetLines(const ClassLib::TStrings& value) {
    TAdvMemoStrings* lines = Lines();
    lines->Clear();
    lines->AddStrings(&value);
    if (FTrimTrailingSpaces) {
        for (int i = 0; i < lines->Count(); ++i) {
            std::wstring s = lines->Get(i);
            const size_t end = s.find_last_not_of(L' ');
            std::wstring t = end == std::wstring::npos ? std::wstring() : s.substr(0, end + 1);
            if (t != s) lines->Put(i, t);
        }
    }
    DoSelectionChange();
    Invalidate();
}

TAdvCustomMemoStyler* TAdvCustomMemo::EffectiveStyler() const {
    if (FMemoSource && FMemoSource->SyntaxStyler()) return FMemoSource->SyntaxStyler();
    return FInternalStyles;
}

std::wstring TAdvCustomMemo::StylerSymbols() const {
    const TAdvCustomMemoStyler* styler = EffectiveStyler();
    if (!styler || !styler->AllStyles()) return L"";
    const TElementStyles& styles = *styler->AllStyles();
    for (int i = 0; i < styles.Count(); ++i)
        if (styles.Items(i)->StyleType() == stSymbol) return styles.Items(i)->Symbols();
    return L"";
}

std::wstring TAdvCustomMemo::StylerDelimiters() const {
    const TAdvCustomMemoStyler* styler = EffectiveStyler();
    if (!styler || !styler->AllStyles()) return L"";
    const TElementStyles& styles = *styler->AllStyles();
    std::wstring result;
    for (int i = 0; i < styles.Count(); ++i) {
        const TElementStyle& style = *styles.Items(i);
        if (style.StyleType() == stSymbol) {
            result += style.Symbols();
        } else if (style.StyleType() == stBracket) {
            if (style.BracketStart()) result += style.BracketStart();
            if (style.BracketEnd()) result += style.BracketEnd();
        }
    }
    return result;
}

void TAdvCustomMemo::SetSyntaxStyles(TAdvCustomMemoStyler* value) {
    if (value == FInternalStyles) return;
    if (FInternalStyles) {
        FInternalStyles->RemoveFreeNotification(this);
        if (FInternalStyles->AllStyles()->Memo() == this) FInternalStyles->AllStyles()->SetMemo(nullptr);
    }
    FInternalStyles = value;
    if (value) {
        value->FreeNotification(this);
        value->AllStyles()->SetMemo(this);
    }
    FCachedDelimiters.clear();
    ClearCachedStyles();
    Invalidate();
}

void TAdvCustomMemo::SetFileName(const std::wstring& value) {
    FFileName = value;
    if (OnFileNameChange) OnFileNameChange(this, value);
}

// ---------------------------------------------------------------- events

void TAdvCustomMemo::DoChange() {
    if (OnChange) OnChange(this);
}

void TAdvCustomMemo::Changed() {
    BuildBlockLines();
    if (!FDisableChange) DoChange();
}

void TAdvCustomMemo::DoSelectionChange() {
    if (OnSelectionChange) OnSelectionChange(this);
}

void TAdvCustomMemo::DoStatusChange() {
    if (OnStatusChange) OnStatusChange(this);
}

void TAdvCustomMemo::DoCursorChange() {
    // Inside an update the match is found once, by EndUpdate: a replace-all moves the caret
    // for every match, and each search scans the whole screen.
    if (FUpdateCount == 0) FindBlockMatch();
    if (OnCursorChange) OnCursorChange(this);
}

void TAdvCustomMemo::DoIsURL(const std::wstring& token, bool& isUrl) {
    if (OnIsURL) OnIsURL(this, token, isUrl);
}

void TAdvCustomMemo::DoGutterClick(int lineNo) {
    if (OnGutterClick) OnGutterClick(this, lineNo);
}

void TAdvCustomMemo::DoClipboardAction(TClipboardAction action, bool& allow) {
    if (OnClipboardAction) OnClipboardAction(this, action, allow);
}

void TAdvCustomMemo::DoCopy() {
    bool allow = true;
    DoClipboardAction(caCopy, allow);
    if (allow) CopyToClipBoard();
}

void TAdvCustomMemo::DoCut() {
    bool allow = true;
    DoClipboardAction(caCut, allow);
    if (allow) CutToClipBoard();
}

void TAdvCustomMemo::DoPaste() {
    bool allow = true;
    DoClipboardAction(caPaste, allow);
    if (!allow) return;
    PasteFromClipBoard();
    TAdvCustomMemoStyler* styler = EffectiveStyler();
    if (styler && styler->CanFormat()) Lines()->SetText(styler->FormatText(Lines()->Text()));
}

void TAdvCustomMemo::DoUndoChange(bool canUndo, bool canRedo) {
    if (OnUndoChange) OnUndoChange(this, canUndo, canRedo);
}

bool TAdvCustomMemo::WordIsURL(const std::wstring& s) {
    std::wstring lower = s;
    for (auto& c : lower) c = static_cast<wchar_t>(::towlower(c));
    static const wchar_t* const prefixes[] = {L"http://", L"https://", L"ftp://", L"nntp://", L"file://", L"mailto:", L"www."};
    bool result = false;
    for (const wchar_t* p : prefixes)
        if (lower.rfind(p, 0) == 0) result = true;
    DoIsURL(lower, result);
    return result;
}

// ---------------------------------------------------------------- update counting

void TAdvCustomMemo::BeginUpdate() {
    ++FUpdateCount;
    FLetRefresh = false;
}

void TAdvCustomMemo::EndUpdate() {
    if (FUpdateCount > 0) --FUpdateCount;
    if (FUpdateCount != 0) return;
    UpdateWrap();
    FLetRefresh = true;
    UpdateMaxLength();
    UpdateScrollBars(true);
    if (FWordWrap != wwNone) UpdateLayout();
    FindBlockMatch();
    Refresh();
}

void TAdvCustomMemo::ResetUpdate() {
    if (FUpdateCount > 0) --FUpdateCount;
}

void TAdvCustomMemo::UpdateView() {
    if (!FLetRefresh || !FLetCursorUpdate) return;
    Changed();
    UpdateMaxLength();
    UpdateScrollBars(false);
    ScrollCaretIntoView();
    Invalidate();
}

void TAdvCustomMemo::UpdateMaxLength() { FMaxLength = Lines()->MaxLineLength(); }

// ---------------------------------------------------------------- geometry

void TAdvCustomMemo::SetTextMeasure(ITextMeasure* measure) {
    FMeasure = measure;
    ApplyFont();
}

void TAdvCustomMemo::SetFont(const std::wstring& name, int height) {
    FFontName = name;
    FFontHeight = height;
    ApplyFont();
    Invalidate();
}

void TAdvCustomMemo::ApplyFont() {
    if (!FMeasure) return;
    FMeasure->SetFont(FFontName, FFontHeight, false);
    // The grid needs a fixed pitch; a proportional font is replaced rather than drawn misaligned.
    if (FMeasure->TextWidth(L"W") != FMeasure->TextWidth(L"i")) {
        FFontName = L"FixedSys";
        FMeasure->SetFont(FFontName, FFontHeight, false);
    }
    FCellSize.W = FMeasure->TextWidth(L"W");
    FCellSize.H = FMeasure->TextHeight(L"W_") + 1;
}

TMemoRect TAdvCustomMemo::TextArea() const {
    TMemoRect r;
    r.Left = (FGutterVisible && FGutterWidth > 2 ? FGutterWidth + 2 : 2) + FMargin;
    r.Top = 2;
    r.Right = FWidth - 2;
    if ((FScrollBars == ssVertical || FScrollBars == ssBoth) && FVertBar.Visible) r.Right -= FScrollBarSize;
    r.Bottom = FHeight - 2;
    if ((FScrollBars == ssHorizontal || FScrollBars == ssBoth) && FHorzBar.Visible) r.Bottom -= FScrollBarSize;
    const int grow = FBorderStyle == bsNone ? 2 : (!FCtl3D ? 1 : 0);
    r.Left -= grow;
    r.Top -= grow;
    r.Right += grow;
    r.Bottom += grow;
    if (FCodeFoldingEnabled && FCodeFoldingNodeCount > 0) r.Left += NodeWidth();
    return r;
}

TMemoRect TAdvCustomMemo::LineRect(int line) const {
    const TMemoRect area = TextArea();
    TMemoRect r = area;
    r.Top = area.Top + (LineIndexToVisIndex(line) - LineIndexToVisIndex(FTopLine)) * FCellSize.H;
    r.Bottom = r.Top + FCellSize.H;
    return r;
}

TFullPos TAdvCustomMemo::CharFromPos(int x, int y) {
    if (FCellSize.W == 0 || FCellSize.H == 0) ApplyFont();
    if (FCellSize.W == 0 || FCellSize.H == 0) return TFullPos{1, 1};
    const TMemoRect area = TextArea();
    TFullPos result;
    result.Pos = (x - area.Left) / FCellSize.W + FLeftCol;
    const int row = (y - area.Top) / FCellSize.H;
    result.LineNo = FCodeFoldingEnabled ? VisIndexToLineIndex(LineIndexToVisIndex(FTopLine) + row) : row + FTopLine;
    return result;
}

void TAdvCustomMemo::MouseToCursor(int x, int y, int& cursorX, int& cursorY) const {
    if (FCellSize.W == 0 || FCellSize.H == 0) {
        cursorX = 0;
        cursorY = 0;
        return;
    }
    const TMemoRect area = TextArea();
    cursorX = (x + FCellSize.W / 2 - area.Left) / FCellSize.W;
    cursorY = (y - area.Top) / FCellSize.H;
}

int TAdvCustomMemo::GetVisible(int index) const {
    const TMemoRect area = TextArea();
    switch (index) {
    case 0: {
        int cx = 0, cy = 0;
        MouseToCursor(area.Right, area.Bottom, cx, cy);
        return cx;
    }
    case 1:
        return FCellSize.H > 0 ? (area.Bottom - area.Top - 1) / FCellSize.H : 0;
    default: {
        TFullPos pos = const_cast<TAdvCustomMemo*>(this)->CharFromPos(area.Right, area.Bottom);
        return index == 2 ? pos.Pos - 1 : pos.LineNo - 1;
    }
    }
}

void TAdvCustomMemo::SetTopLine(int value) {
    const int old = FTopLine;
    if (value == old) return;
    const int count = LineCount();
    if (count < VisibleLineCount()) {
        FCurX = 0;
        FCurY = 0;
    } else if (value >= 0 && value < count) {
        FTopLine = value;
        FVertBar.Position = LineIndexToVisIndex(value);
    } else if (value >= count && count > 0) {
        FTopLine = count - 1;
        FVertBar.Position = LineIndexToVisIndex(FTopLine);
    }
    if (FCaretVisible) UpdateCaret(true);
    if (FTopLine != old) Invalidate();
    // Reported for every request of another top line, also one the view could not follow.
    if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TAdvCustomMemo::ScrollToBottom() {
    const int count = LineCount();
    const int visible = VisibleLineCount();
    SetTopLine(count > visible ? count - visible : 0);
}

void TAdvCustomMemo::SetLeftCol(int value) {
    if (value < 0 || value == FLeftCol) return;
    FLeftCol = value;
    FHorzBar.Position = value;
    Invalidate();
    if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TAdvCustomMemo::UpdateCaret(bool show) {
    if (!show) {
        if (FCaretVisible) ShowCaret(false);
        FCaretVisible = false;
        return;
    }
    if (!Focused() || FHiddenCaret) return;
    ShowCaret(true);
    FCaretVisible = true;
}

void TAdvCustomMemo::ScrollCaretIntoView() {
    bool moved = false;
    if (FCurX < FLeftCol) {
        FLeftCol = std::max(0, FCurX - 2);
        moved = true;
    }
    const int lastCol = LastVisibleCol();
    if (FCurX > lastCol + 1) {
        if (FScrollMode == smStrict && (FScrollBars == ssNone || FScrollBars == ssVertical)) FCurX = lastCol;
        else FLeftCol = std::max(0, FLeftCol + FCurX - lastCol + 2);
        moved = true;
    }
    if (FCurY < FTopLine) {
        FTopLine = std::max(0, FCurY);
        moved = true;
    }
    const int lastLine = LastVisibleLine();
    if (FCurY > lastLine) {
        if (FScrollMode == smStrict && (FScrollBars == ssNone || FScrollBars == ssHorizontal)) {
            FCurY = lastLine;
        } else if (FCodeFoldingEnabled) {
            FTopLine = VisIndexToLineIndex(LineIndexToVisIndex(FTopLine) + LineIndexToVisIndex(FCurY) - LineIndexToVisIndex(lastLine));
        } else {
            FTopLine += FCurY - lastLine;
        }
        moved = true;
    }
    if (moved) Invalidate();
}

void TAdvCustomMemo::SetScrollBars(TScrollStyle v) {
    if (v == FScrollBars) return;
    FScrollBars = v;
    UpdateLayout();
    Invalidate();
}

void TAdvCustomMemo::UpdateScrollBars(bool repaintGutter) {
    // A bar that appears or disappears changes the text area; the bounded rerun settles it.
    for (int pass = 0; pass < 3; ++pass) {
        const bool wantV = FScrollBars == ssVertical || FScrollBars == ssBoth;
        const bool wantH = (FScrollBars == ssHorizontal || FScrollBars == ssBoth) && FWordWrap != wwClientWidth;
        const bool oldV = FVertBar.Visible;
        const bool oldH = FHorzBar.Visible;
        if (!wantV) FVertBar.Visible = false;
        if (!wantH) FHorzBar.Visible = false;
        if (!FLetRefresh) return;
        const int count = LineCount();
        if (wantV) {
            const int total = FCodeFoldingEnabled ? LineIndexToVisIndex(count - 1) : count;
            const int visible = VisibleLineCount();
            if (visible <= 0 || visible >= total) {
                FVertBar.PageSize = 0;
                FTopLine = 0;
                FVertBar.Visible = false;
            } else {
                FVertBar.Position = LineIndexToVisIndex(FTopLine);
                FVertBar.Max = std::max(FVertBar.Min, LineIndexToVisIndex(count - 1) + visible - 1);
                FVertBar.PageSize = visible;
                FVertBar.Visible = true;
            }
        }
        if (wantH) {
            const int visible = VisiblePosCount();
            if (visible > 0 && visible < FMaxLength) {
                FHorzBar.Max = FMaxLength;
                FHorzBar.PageSize = visible + 1;
                FHorzBar.Position = FLeftCol;
                FHorzBar.LargeChange = 10;
                FHorzBar.Visible = true;
            } else if (FCurX < visible) {
                FHorzBar.Visible = false;
                FHorzBar.PageSize = 0;
                FLeftCol = 0;
            }
        }
        if (oldV == FVertBar.Visible && oldH == FHorzBar.Visible) break;
    }
    if (repaintGutter) InvalidateGutter();
    if (FVertBar.Visible) {
        const int limit = FVertBar.Max - FVertBar.PageSize + 1;
        if (FVertBar.Position > limit) FVertBar.Position = limit;
        const int top = VisIndexToLineIndex(FVertBar.Position);
        if (top != FTopLine) {
            FTopLine = top;
            if (OnTopLeftChanged) OnTopLeftChanged(this);
        }
    }
    if (FHorzBar.Visible) {
        const int limit = FHorzBar.Max - FHorzBar.PageSize + 1;
        if (FHorzBar.Position > limit) FHorzBar.Position = std::max(0, limit);
        if (FHorzBar.Position != FLeftCol) {
            FLeftCol = FHorzBar.Position;
            if (OnTopLeftChanged) OnTopLeftChanged(this);
        }
    }
    ScrollBarsChanged();
}

void TAdvCustomMemo::ScrollBy(bool vertical, int delta) {
    if (!vertical) {
        FLeftCol = std::clamp(FLeftCol + delta, 0, std::max(0, FHorzBar.Max));
        FHorzBar.Position = FLeftCol;
    } else {
        const int old = FTopLine;
        int top = LineIndexToVisIndex(FTopLine) + delta;
        top = std::min(top, FVertBar.Max);
        top = std::max(top, 0);
        FTopLine = VisIndexToLineIndex(top);
        if (FTopLine != old) {
            ClearCachedStyles(std::min(old, FTopLine), std::max(old, FTopLine));
            Invalidate();
            UpdateCaret(FCurX > FLeftCol);
        }
        FVertBar.Position = LineIndexToVisIndex(FTopLine);
    }
    HideParameterHint();
}

void TAdvCustomMemo::UpdateLayout() {
    const int selStart = SelStart();
    const int selLength = SelLength();
    const int top = FTopLine;
    const int caretPos = TextFromPos(FCurX, FCurY);
    const int count = LineCount();
    UpdateWrap();
    int x = 0, y = 0;
    PosFromText(caretPos, x, y);
    if (FWordWrap != wwNone) SetCursor(x, y);
    if (FWordWrap != wwClientWidth) UpdateScrollBars(false);
    if (selLength > 0) {
        SetSelStart(selStart);
        SetSelLength(selLength);
    }
    ScrollCaretIntoView();
    if (LineCount() == count || FWordWrap == wwNone) {
        FTopLine = top;
        const int visible = VisibleLineCount();
        if (LineCount() - top < visible && LineCount() > visible) FTopLine = LineCount() - visible;
    }
    if (!FVertBar.Visible) FTopLine = 0;
    Invalidate();
}

// ---------------------------------------------------------------- memo source

void TAdvCustomMemo::SetMemoSource(TAdvMemoSource* value) {
    if (value == FMemoSource) return;
    if (FMemoSource) {
        FMemoSource->AttachMemo(nullptr);
        FMemoSource->RemoveFreeNotification(this);
    }
    FMemoSource = value;
    if (value) value->FreeNotification(this);
    if (value && !FLoading) {
        value->AttachMemo(this);
        if (FTopLine >= value->Lines()->Count() || FCurY >= value->Lines()->Count()) {
            FTopLine = 0;
            FCurX = 0;
            FCurY = 0;
        }
    }
    TAdvMemoStrings* lines = Lines();
    for (int i = 0; i < lines->Count(); ++i) {
        const std::wstring s = lines->Get(i);
        if (HasTab(s)) lines->Put(i, ExpandTabs(s, FTabSize));
    }
    UpdateMaxLength();
    UpdateScrollBars(true);
}

TAdvMemoSavePos TAdvCustomMemo::GetSavePos() const {
    TAdvMemoSavePos p;
    p.CurX = FCurX;
    p.CurY = FCurY;
    p.LeftCol = FLeftCol;
    p.TopLine = FTopLine;
    p.SelStartX = FSelStartX;
    p.SelStartY = FSelStartY;
    p.SelEndX = FSelEndX;
    p.SelEndY = FSelEndY;
    return p;
}

void TAdvCustomMemo::SetSavePos(const TAdvMemoSavePos& p) {
    FCurX = p.CurX;
    FCurY = p.CurY;
    FLeftCol = p.LeftCol;
    FTopLine = p.TopLine;
    FSelStartX = p.SelStartX;
    FSelStartY = p.SelStartY;
    FSelEndX = p.SelEndX;
    FSelEndY = p.SelEndY;
    if (FCaretVisible) UpdateCaret(true);
    UpdateScrollBars(false);
}

TAdvMemoSource::TAdvMemoSource(ClassLib::TComponent* owner)
    : ClassLib::TComponent(owner), FLines(std::make_unique<TAdvMemoStrings>()), FUndoList(std::make_unique<TAdvUndoList>()) {}

TAdvMemoSource::~TAdvMemoSource() {
    if (FMemo) {
        TAdvCustomMemo* memo = FMemo;
        AttachMemo(nullptr);
        memo->SetMemoSource(nullptr);
    }
}

void TAdvMemoSource::SetLines(const ClassLib::TStrings& value) {
    FLines->Clear();
    FLines->AddStrings(&value);
}

void TAdvMemoSource::SetUndoList(const TAdvUndoList& value) {
    if (&value == FUndoList.get()) return;
    FUndoList->Clear();
    FUndoList->AppendCopies(value);
}

bool TAdvMemoSource::ReadOnly() const { return FMemo ? FMemo->ReadOnly() : FReadOnly; }

void TAdvMemoSource::SetReadOnly(bool value) {
    if (FMemo) FMemo->SetReadOnly(value);
    else FReadOnly = value;
}

bool TAdvMemoSource::Modified() const { return FMemo ? FMemo->Modified() : FUndoList->Count() > 0; }

void TAdvMemoSource::SetModified(bool value) {
    if (FMemo) FMemo->SetModified(value);
    else FModified = value;
}

void TAdvMemoSource::StylerRemoved() {
    FSyntaxStyler = nullptr;
    if (FMemo) FMemo->Invalidate();
}

void TAdvMemoSource::AttachMemo(TAdvCustomMemo* memo) {
    if (memo == FMemo) return;
    if (FMemo) {
        if (FSyntaxStyler) FSyntaxStyler->AllStyles()->SetMemo(nullptr);
        FLines->SetWatcher(nullptr);
        FLines->OnChange = nullptr;
        FModified = FMemo->Modified();
        FReadOnly = FMemo->ReadOnly();
        FCaretInfo = FMemo->GetSavePos();
        FBookmarkList.Clear();
        if (FMemo->BookmarkList().Count() == 10)
            for (int i = 0; i < 10; ++i) FBookmarkList.Add(FMemo->BookmarkList()[i]);
        FUndoList->SetWatcher(nullptr);
        FMemo->Invalidate();
    }
    FMemo = memo;
    if (!memo) {
        if (FSyntaxStyler) FSyntaxStyler->AllStyles()->SetMemo(nullptr);
        FLines->SetWatcher(nullptr);
        FLines->OnChange = nullptr;
        FUndoList->SetWatcher(nullptr);
        return;
    }
    if (FSyntaxStyler) FSyntaxStyler->AllStyles()->SetMemo(memo);
    FLines->SetWatcher(memo->LinesWatcher());
    FLines->OnChange = [memo](ClassLib::TObject*) { memo->UpdateView(); };
    memo->SetSavePos(FCaretInfo);
    if (FBookmarkList.Count() == 10)
        for (int i = 0; i < 10; ++i) memo->BookmarkList().SetInteger(i, FBookmarkList[i]);
    FUndoList->SetWatcher(memo->UndoWatcher());
    memo->SetReadOnly(FReadOnly);
    memo->Invalidate();
}

}  // namespace AdvMemo
