#include "classlib/StandardControls.h"

#include <algorithm>

#include "classlib/Canvas.h"
#include "classlib/GdiObjects.h"
#include "classlib/GdiScopes.h"
#include "classlib/Pictures.h"
#include "classlib/Properties.h"
#include "classlib/StringList.h"

#undef GetObject

namespace ClassLib {

CLASSLIB_IMPLEMENT(TCustomPanel, TCustomControl)
CLASSLIB_IMPLEMENT(TPanel, TCustomPanel)
CLASSLIB_IMPLEMENT(TGroupBox, TCustomControl)
CLASSLIB_IMPLEMENT(TSplitter, TGraphicControl)
CLASSLIB_IMPLEMENT(TCustomLabel, TGraphicControl)
CLASSLIB_IMPLEMENT(TLabel, TCustomLabel)
CLASSLIB_IMPLEMENT(TCheckBox, TWinControl)
CLASSLIB_IMPLEMENT(TMemo, TWinControl)
CLASSLIB_IMPLEMENT(TImage, TGraphicControl)
CLASSLIB_IMPLEMENT(TScrollBar, TWinControl)
CLASSLIB_IMPLEMENT(TCustomListControl, TWinControl)
CLASSLIB_IMPLEMENT(TListBox, TCustomListControl)
CLASSLIB_IMPLEMENT(TComboBox, TCustomListControl)

namespace {

// Draws one bevel ring inside `rect` and moves the rectangle in by its width.
void DrawBevel(TCanvas& canvas, TRect& rect, TBevelCut cut, int width) {
    if (cut == bvNone) return;
    const TColor topLeft = cut == bvRaised ? clBtnHighlight : clBtnShadow;
    const TColor bottomRight = cut == bvRaised ? clBtnShadow : clBtnHighlight;
    canvas.Pen()->SetStyle(psSolid);
    canvas.Pen()->SetWidth(1);
    for (int i = 0; i < width; ++i) {
        if (cut != bvSpace) {
            canvas.Pen()->SetColor(topLeft);
            canvas.MoveTo(rect.Left, rect.Bottom - 1);
            canvas.LineTo(rect.Left, rect.Top);
            canvas.LineTo(rect.Right - 1, rect.Top);
            canvas.Pen()->SetColor(bottomRight);
            canvas.LineTo(rect.Right - 1, rect.Bottom - 1);
            canvas.LineTo(rect.Left - 1, rect.Bottom - 1);
        }
        rect.Inflate(-1, -1);
    }
}

TTextFormat AlignmentFormat(TAlignment alignment) {
    return alignment == taCenter ? TTextFormat{tfCenter} : alignment == taRightJustify ? TTextFormat{tfRight} : TTextFormat{tfLeft};
}

}  // namespace

// ---- TCustomPanel ----

const TPropertyList& TCustomPanel::Published() {
    static const TPropertyList list = TPropertyList::Extend(TCustomControl::Published())
        .Enum(L"BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter, bvRaised)
        .Enum(L"BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner, bvNone)
        .Add(L"BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth, 1)
        .Add(L"BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth, 0)
        .Enum(L"Alignment", &TCustomPanel::Alignment, &TCustomPanel::SetAlignment, taCenter)
        .Add(L"ShowCaption", &TCustomPanel::ShowCaption, &TCustomPanel::SetShowCaption, true)
        .Colour(L"Color", &TCustomPanel::Color, &TCustomPanel::SetColor, clBtnFace);
    return list;
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
    FControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csOpaque | csDoubleClicks;
    FColor = clBtnFace;
    TControl::SetBounds(0, 0, 185, 41);
}

int TCustomPanel::FrameWidth() const {
    int width = FBorderWidth;
    if (FBevelOuter != bvNone) width += FBevelWidth;
    if (FBevelInner != bvNone) width += FBevelWidth;
    return width;
}

void TCustomPanel::AdjustClientRect(TRect& rect) const {
    const int frame = FrameWidth();
    rect.Inflate(-frame, -frame);
}

void TCustomPanel::SetBevelOuter(TBevelCut value) { FBevelOuter = value; Realign(); Invalidate(); }
void TCustomPanel::SetBevelInner(TBevelCut value) { FBevelInner = value; Realign(); Invalidate(); }
void TCustomPanel::SetBevelWidth(int value) { FBevelWidth = std::max(value, 1); Realign(); Invalidate(); }
void TCustomPanel::SetBorderWidth(int value) { FBorderWidth = std::max(value, 0); Realign(); Invalidate(); }
void TCustomPanel::SetAlignment(TAlignment value) { FAlignment = value; Invalidate(); }
void TCustomPanel::SetShowCaption(bool value) { FShowCaption = value; Invalidate(); }

void TCustomPanel::Paint() {
    TCanvas& canvas = *Canvas();
    TRect rect = ClientRect();
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(rect);
    DrawBevel(canvas, rect, FBevelOuter, FBevelWidth);
    rect.Inflate(-FBorderWidth, -FBorderWidth);
    DrawBevel(canvas, rect, FBevelInner, FBevelWidth);
    std::wstring text = GetText();
    if (!FShowCaption || text.empty()) return;
    canvas.Brush()->SetStyle(bsClear);
    canvas.TextRect(rect, text, AlignmentFormat(FAlignment) + TTextFormat{tfSingleLine, tfVerticalCenter, tfNoPrefix});
}

// ---- TSplitter ----

const TPropertyList& TSplitter::Published() {
    static const TPropertyList list = TPropertyList::Extend(TGraphicControl::Published())
        .Add(L"MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize, 30)
        .Enum(L"Align", &TSplitter::Align, &TSplitter::SetAlign, alLeft)
        .Add(L"Cursor", &TSplitter::Cursor, &TSplitter::SetCursor, crHSplit)
        .Event(L"OnMoved", &TSplitter::OnMoved);
    return list;
}

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
    FControlStyle = csCaptureMouse;
    TControl::SetBounds(0, 0, 3, 100);
    SetAlign(alLeft);
    SetCursor(crHSplit);
}

TControl* TSplitter::FindResizeControl() const {
    TWinControl* parent = Parent();
    if (!parent) return nullptr;
    const TAlign side = Align();
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* control = parent->Controls(i);
        if (control == this || !control->Visible() || control->Align() != side) continue;
        bool touches = false;
        switch (side) {
            case alLeft: touches = control->Left() + control->Width() == Left(); break;
            case alRight: touches = control->Left() == Left() + Width(); break;
            case alTop: touches = control->Top() + control->Height() == Top(); break;
            case alBottom: touches = control->Top() == Top() + Height(); break;
            default: break;
        }
        if (touches) return control;
    }
    return nullptr;
}

void TSplitter::Loaded() {
    TGraphicControl::Loaded();
    // A splitter between rows drags up and down.
    if ((Align() == alTop || Align() == alBottom) && Cursor() == crHSplit) SetCursor(crVSplit);
}

void TSplitter::ChangeScale(int m, int d) {
    if (m > 0 && d > 0) SetMinSize(::MulDiv(FMinSize, m, d));
    TGraphicControl::ChangeScale(m, d);
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    FControl = FindResizeControl();
    if (!FControl) return;
    FDownPos = ClientToScreen({x, y});
    FStartSize = (Align() == alLeft || Align() == alRight) ? FControl->Width() : FControl->Height();
    FDragging = true;
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!FDragging || !FControl || !Parent()) return;
    const TPoint now = ClientToScreen({x, y});
    const bool horizontal = Align() == alLeft || Align() == alRight;
    int delta = horizontal ? now.X - FDownPos.X : now.Y - FDownPos.Y;
    if (Align() == alRight || Align() == alBottom) delta = -delta;
    // The rest of the parent keeps at least MinSize as well.
    const TRect client = Parent()->ClientRect();
    int room = horizontal ? client.Width() : client.Height();
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        TControl* control = Parent()->Controls(i);
        if (!control->Visible() || control == FControl) continue;
        if (horizontal && (control->Align() == alLeft || control->Align() == alRight)) room -= control->Width();
        if (!horizontal && (control->Align() == alTop || control->Align() == alBottom)) room -= control->Height();
    }
    const int size = std::clamp(FStartSize + delta, FMinSize, std::max(FMinSize, room - FMinSize));
    if (horizontal) FControl->SetWidth(size);
    else FControl->SetHeight(size);
    Parent()->Update();
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    if (!FDragging) return;
    FDragging = false;
    FControl = nullptr;
    FireEvent(OnMoved, this);
}

void TSplitter::Paint() {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect({0, 0, Width(), Height()});
}

// ---- TCustomLabel ----

const TPropertyList& TCustomLabel::Published() {
    static const TPropertyList list = TPropertyList::Extend(TGraphicControl::Published())
        .Enum(L"Alignment", &TCustomLabel::Alignment, &TCustomLabel::SetAlignment, taLeftJustify)
        .Enum(L"Layout", &TCustomLabel::Layout, &TCustomLabel::SetLayout, tlTop)
        .Add(L"AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize, true)
        .Add(L"WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap, false)
        .Add(L"Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent, false)
        .Add(L"ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar, true)
        .Reference(L"FocusControl", &TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl);
    return list;
}

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
    FControlStyle |= csReplicatable;
    TControl::SetBounds(0, 0, 65, 17);
}

void TCustomLabel::SetAlignment(TAlignment value) { FAlignment = value; Invalidate(); }
void TCustomLabel::SetLayout(TTextLayout value) { FLayout = value; Invalidate(); }
void TCustomLabel::SetAutoSize(bool value) { FAutoSize = value; AdjustBounds(); }
void TCustomLabel::SetWordWrap(bool value) { FWordWrap = value; AdjustBounds(); Invalidate(); }
void TCustomLabel::SetTransparent(bool value) { FTransparent = value; Invalidate(); }
void TCustomLabel::SetShowAccelChar(bool value) { FShowAccelChar = value; AdjustBounds(); Invalidate(); }

void TCustomLabel::SetFocusControl(TWinControl* value) {
    if (value == FFocusControl) return;
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = value;
    if (value) value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::SetText(const std::wstring& value) {
    TGraphicControl::SetText(value);
    AdjustBounds();
}

void TCustomLabel::FontChanged() {
    TGraphicControl::FontChanged();
    AdjustBounds();
}

TTextFormat TCustomLabel::TextFlags() const {
    TTextFormat format{FWordWrap ? tfWordBreak : tfSingleLine};
    if (!FShowAccelChar) format += tfNoPrefix;
    return format;
}

void TCustomLabel::AdjustBounds() {
    if (!FAutoSize || HasState(csLoading) || HasState(csReading)) return;
    std::wstring text = GetText();
    if (text.empty()) text = L" ";
    // Measured on the screen's DC: the label may have no parent window to lend one yet.
    TCanvas screen;
    TWindowDC screenDC;
    screen.SetHandle(screenDC.Handle());
    screen.SetFont(Font());
    TRect rect{0, 0, FWordWrap ? std::max(Width(), 1) : 0, 0};
    screen.TextRect(rect, text, TextFlags() + tfCalcRect);
    screen.SetHandle(nullptr);
    int left = Left();
    // A right-aligned label grows to the left, a centred one both ways.
    if (!FWordWrap && FAlignment == taRightJustify) left += Width() - rect.Right;
    else if (!FWordWrap && FAlignment == taCenter) left += (Width() - rect.Right) / 2;
    SetBounds(left, Top(), rect.Right, rect.Bottom);
}

void TCustomLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::Paint() {
    TCanvas& canvas = *Canvas();
    TRect rect{0, 0, Width(), Height()};
    if (!FTransparent) {
        canvas.Brush()->SetColor(Color());
        canvas.FillRect(rect);
    }
    std::wstring text = GetText();
    canvas.Brush()->SetStyle(bsClear);
    canvas.Font()->SetColor(Enabled() ? Font()->Color() : clGrayText);
    const TTextFormat format = TextFlags() + AlignmentFormat(FAlignment);
    if (FLayout != tlTop) {
        TRect measure = rect;
        canvas.TextRect(measure, text, format + tfCalcRect);
        const int spare = Height() - measure.Height();
        rect.Top += FLayout == tlCenter ? spare / 2 : spare;
    }
    canvas.TextRect(rect, text, format);
}

// ---- TCheckBox ----

const TPropertyList& TCheckBox::Published() {
    static const TPropertyList list = TPropertyList::Extend(TWinControl::Published())
        .Add(L"Checked", &TCheckBox::Checked, &TCheckBox::SetChecked, false)
        .Enum(L"State", &TCheckBox::State, &TCheckBox::SetState, cbUnchecked)
        .Add(L"AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed, false)
        .Enum(L"Alignment", &TCheckBox::Alignment, &TCheckBox::SetAlignment, taRightJustify)
        .Add(L"TabStop", &TCheckBox::TabStop, &TCheckBox::SetTabStop, true);
    return list;
}

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
    FControlStyle = csSetCaption | csDoubleClicks;
    TControl::SetBounds(0, 0, 97, 17);
    SetTabStop(true);
}

void TCheckBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"BUTTON");
    params.Style |= (FAllowGrayed ? BS_3STATE : BS_CHECKBOX);
    if (FAlignment == taLeftJustify) params.Style |= BS_LEFTTEXT;
}

void TCheckBox::CreateWindowHandleDone() {
    ::SendMessageW(FHandle, BM_SETCHECK, WPARAM(FState), 0);
}

void TCheckBox::SetState(TCheckBoxState value) {
    if (value == FState) return;
    FState = value;
    if (FHandle) ::SendMessageW(FHandle, BM_SETCHECK, WPARAM(FState), 0);
    // Loading a description sets the state quietly; everything else clicks.
    if (!HasState(csLoading)) Click();
}

void TCheckBox::SetAllowGrayed(bool value) {
    if (value == FAllowGrayed) return;
    FAllowGrayed = value;
    RecreateWnd();
}

void TCheckBox::SetAlignment(TAlignment value) {
    if (value == FAlignment) return;
    FAlignment = value;
    RecreateWnd();
}

void TCheckBox::Toggle() {
    switch (FState) {
        case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
        case cbChecked: SetState(cbUnchecked); break;
        case cbGrayed: SetState(cbChecked); break;
    }
}

void TCheckBox::Dispatch(TMessage& message) {
    if (message.Msg == CN_COMMAND) {
        const UINT code = HIWORD(message.WParam);
        if (code == BN_CLICKED || code == BN_DOUBLECLICKED) Toggle();
        return;
    }
    TWinControl::Dispatch(message);
}

// ---- TMemo ----

const TPropertyList& TMemo::Published() {
    static const TPropertyList list = TPropertyList::Extend(TWinControl::Published())
        .Strings(L"Lines", &TMemo::Lines)
        .Add(L"ReadOnly", &TMemo::ReadOnly, &TMemo::SetReadOnly, false)
        .Add(L"WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap, true)
        .Enum(L"ScrollBars", &TMemo::ScrollBars, &TMemo::SetScrollBars, ssNone)
        .Add(L"TabStop", &TMemo::TabStop, &TMemo::SetTabStop, true)
        .Add(L"ParentColor", &TMemo::ParentColor, &TMemo::SetParentColor, false)
        .Event(L"OnChange", &TMemo::OnChange);
    return list;
}

TMemo::TMemo(TComponent* owner) : TWinControl(owner), FLines(std::make_unique<TStringList>()) {
    FControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    FColor = clWindow;
    SetParentColor(false);
    TControl::SetBounds(0, 0, 185, 89);
    SetTabStop(true);
    FLines->OnChange = [this](TObject*) { LinesChanged(); };
}

TMemo::~TMemo() {
    FLines->OnChange = nullptr;
}

TStrings* TMemo::Lines() const { return FLines.get(); }

void TMemo::SetLines(const TStrings* value) { FLines->Assign(value); }

std::wstring TMemo::GetText() const {
    // The window's own text, break for break: the lines hold the same.
    if (FHandle) return TWinControl::GetText();
    std::wstring text = FLines->Text();
    return text;
}

void TMemo::SetText(const std::wstring& value) {
    FLines->SetText(value);
}

void TMemo::LinesChanged() {
    if (FSyncing) return;
    if (FHandle) {
        FSyncing = true;
        std::wstring text = FLines->Text();
        ::SetWindowTextW(FHandle, text.c_str());
        FSyncing = false;
    }
    Change();
}

void TMemo::PullWindowText() {
    if (!FHandle || FSyncing) return;
    FSyncing = true;
    FLines->OnChange = nullptr;
    try {
        FLines->SetText(TWinControl::GetText());
    } catch (...) {
        FLines->OnChange = [this](TObject*) { LinesChanged(); };
        FSyncing = false;
        throw;
    }
    FLines->OnChange = [this](TObject*) { LinesChanged(); };
    FSyncing = false;
}

void TMemo::Change() { FireEvent(OnChange, this); }

void TMemo::SetReadOnly(bool value) {
    FReadOnly = value;
    if (FHandle) ::SendMessageW(FHandle, EM_SETREADONLY, value, 0);
}

void TMemo::SetWordWrap(bool value) {
    if (value == FWordWrap) return;
    FWordWrap = value;
    RecreateWnd();
}

void TMemo::SetScrollBars(TScrollStyle value) {
    if (value == FScrollBars) return;
    FScrollBars = value;
    RecreateWnd();
}

void TMemo::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"EDIT");
    params.Style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_BORDER;
    if (!FWordWrap) params.Style |= ES_AUTOHSCROLL;
    if (FReadOnly) params.Style |= ES_READONLY;
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) params.Style |= WS_VSCROLL;
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) params.Style |= WS_HSCROLL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
    params.Caption = FLines->Text();
}

void TMemo::CreateWindowHandleDone() {
    FSyncing = true;
    const std::wstring text = FLines->Text();
    ::SetWindowTextW(FHandle, text.c_str());
    FSyncing = false;
}

void TMemo::DestroyWnd() {
    PullWindowText();
    TWinControl::DestroyWnd();
}

void TMemo::Dispatch(TMessage& message) {
    if (message.Msg == CN_COMMAND) {
        if (HIWORD(message.WParam) == EN_CHANGE && !FSyncing) {
            PullWindowText();
            Change();
        }
        return;
    }
    TWinControl::Dispatch(message);
}

// ---- TImage ----

const TPropertyList& TImage::Published() {
    static const TPropertyList list = TPropertyList::Extend(TGraphicControl::Published())
        .SubObject(L"Picture", &TImage::Picture)
        .Add(L"Stretch", &TImage::Stretch, &TImage::SetStretch, false)
        .Add(L"Center", &TImage::Center, &TImage::SetCenter, false)
        .Add(L"Proportional", &TImage::Proportional, &TImage::SetProportional, false)
        .Add(L"Transparent", &TImage::Transparent, &TImage::SetTransparent, false)
        .Add(L"AutoSize", &TImage::AutoSize, &TImage::SetAutoSize, false);
    return list;
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner), FPicture(std::make_unique<TPicture>()) {
    FControlStyle |= csReplicatable;
    TControl::SetBounds(0, 0, 105, 105);
    FPicture->SetOnChange([this](TObject*) { PictureChanged(); });
}

TImage::~TImage() {
    FPicture->SetOnChange(nullptr);
}

void TImage::SetPicture(const TPicture* value) { FPicture->Assign(value); }

void TImage::SetAutoSize(bool value) {
    FAutoSize = value;
    PictureChanged();
}

void TImage::PictureChanged() {
    if (FAutoSize && FPicture->Width() > 0 && FPicture->Height() > 0)
        SetBounds(Left(), Top(), FPicture->Width(), FPicture->Height());
    Invalidate();
}

TRect TImage::DestRect() const {
    int width = FPicture->Width(), height = FPicture->Height();
    const int clientWidth = Width(), clientHeight = Height();
    if (FStretch || (FProportional && (width > clientWidth || height > clientHeight))) {
        if (FProportional && width > 0 && height > 0) {
            // The whole picture, as large as fits, keeping its shape.
            if (int64_t(clientWidth) * height > int64_t(clientHeight) * width) {
                width = int(int64_t(width) * clientHeight / height);
                height = clientHeight;
            } else {
                height = int(int64_t(height) * clientWidth / width);
                width = clientWidth;
            }
        } else {
            width = clientWidth;
            height = clientHeight;
        }
    }
    TRect rect{0, 0, width, height};
    if (FCenter) rect.Offset((clientWidth - width) / 2, (clientHeight - height) / 2);
    return rect;
}

void TImage::Paint() {
    TGraphic* graphic = FPicture->Graphic();
    if (!graphic || graphic->Empty()) return;
    Canvas()->StretchDraw(DestRect(), graphic);
}

// ---- TScrollBar ----

const TPropertyList& TScrollBar::Published() {
    static const TPropertyList list = TPropertyList::Extend(TWinControl::Published())
        .Enum(L"Kind", &TScrollBar::Kind, &TScrollBar::SetKind, sbHorizontal)
        .Add(L"Min", &TScrollBar::Min, &TScrollBar::SetMin, 0)
        .Add(L"Max", &TScrollBar::Max, &TScrollBar::SetMax, 100)
        .Add(L"Position", &TScrollBar::Position, &TScrollBar::SetPosition, 0)
        .Add(L"PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize, 0)
        .Add(L"SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange, 1)
        .Add(L"LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange, 1)
        .Add(L"TabStop", &TScrollBar::TabStop, &TScrollBar::SetTabStop, true)
        .Event(L"OnScroll", &TScrollBar::OnScroll)
        .Event(L"OnChange", &TScrollBar::OnChange);
    return list;
}

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
    FControlStyle = csCaptureMouse | csDoubleClicks;
    TControl::SetBounds(0, 0, 121, ::GetSystemMetrics(SM_CYHSCROLL));
    SetTabStop(true);
}

void TScrollBar::SetKind(TScrollBarKind value) {
    if (value == FKind) return;
    FKind = value;
    if (!HasState(csLoading)) SetBounds(Left(), Top(), Height(), Width());
    RecreateWnd();
}

void TScrollBar::SetPageSize(int value) {
    FPageSize = std::max(value, 0);
    SetParams(FPosition, FMin, FMax);
}

void TScrollBar::SetParams(int position, int min, int max) {
    if (max < min) throw EInvalidOperation(L"Scroll bar property out of range");
    const int last = std::max(min, max - std::max(FPageSize - 1, 0));
    position = std::clamp(position, min, last);
    const bool changed = position != FPosition;
    FMin = min;
    FMax = max;
    FPosition = position;
    UpdateWindow();
    if (changed) Change();
}

void TScrollBar::UpdateWindow() {
    if (!FHandle) return;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_POS | SIF_RANGE | SIF_PAGE;
    info.nMin = FMin;
    info.nMax = FMax;
    info.nPage = UINT(FPageSize);
    info.nPos = FPosition;
    ::SetScrollInfo(FHandle, SB_CTL, &info, TRUE);
}

void TScrollBar::Change() { FireEvent(OnChange, this); }

void TScrollBar::Scroll(TScrollCode code, int trackPos) {
    int position = FPosition;
    switch (code) {
        case scLineUp: position -= FSmallChange; break;
        case scLineDown: position += FSmallChange; break;
        case scPageUp: position -= FLargeChange; break;
        case scPageDown: position += FLargeChange; break;
        case scPosition: case scTrack: position = trackPos; break;
        case scTop: position = FMin; break;
        case scBottom: position = FMax; break;
        case scEndScroll: break;
    }
    position = std::clamp(position, FMin, FMax);
    if (OnScroll) OnScroll(this, code, position);
    SetPosition(position);
}

void TScrollBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"SCROLLBAR");
    params.Style |= FKind == sbHorizontal ? SBS_HORZ : SBS_VERT;
}

void TScrollBar::CreateWindowHandleDone() { UpdateWindow(); }

void TScrollBar::Dispatch(TMessage& message) {
    if (message.Msg == CN_HSCROLL || message.Msg == CN_VSCROLL) {
        TScrollCode code;
        switch (LOWORD(message.WParam)) {
            case SB_LINEUP: code = scLineUp; break;
            case SB_LINEDOWN: code = scLineDown; break;
            case SB_PAGEUP: code = scPageUp; break;
            case SB_PAGEDOWN: code = scPageDown; break;
            case SB_THUMBPOSITION: code = scPosition; break;
            case SB_THUMBTRACK: code = scTrack; break;
            case SB_TOP: code = scTop; break;
            case SB_BOTTOM: code = scBottom; break;
            default: code = scEndScroll; break;
        }
        int track = FPosition;
        if (code == scTrack || code == scPosition) {
            // The 16-bit position of the message is too small for large ranges.
            SCROLLINFO info{};
            info.cbSize = sizeof(info);
            info.fMask = SIF_TRACKPOS;
            track = ::GetScrollInfo(FHandle, SB_CTL, &info) ? info.nTrackPos : int(HIWORD(message.WParam));
        }
        Scroll(code, track);
        return;
    }
    TWinControl::Dispatch(message);
}

// ---- list controls ----

const TPropertyList& TCustomListControl::Published() {
    static const TPropertyList list = TPropertyList::Extend(TWinControl::Published())
        .Strings(L"Items", &TCustomListControl::Items)
        .Add(L"ItemIndex", &TCustomListControl::ItemIndex, &TCustomListControl::SetItemIndex, -1)
        .Add(L"ItemHeight", &TCustomListControl::ItemHeight, &TCustomListControl::SetItemHeight, 16)
        .Add(L"Sorted", &TCustomListControl::Sorted, &TCustomListControl::SetSorted, false)
        .Add(L"TabStop", &TCustomListControl::TabStop, &TCustomListControl::SetTabStop, true)
        .Add(L"ParentColor", &TCustomListControl::ParentColor, &TCustomListControl::SetParentColor, false)
        .Event(L"OnDrawItem", &TCustomListControl::OnDrawItem)
        .Event(L"OnMeasureItem", &TCustomListControl::OnMeasureItem);
    return list;
}

TCustomListControl::TCustomListControl(TComponent* owner)
    : TWinControl(owner), FItems(std::make_unique<TStringList>()), FCanvas(std::make_unique<TControlCanvas>(this)) {
    FColor = clWindow;
    SetParentColor(false);
    SetTabStop(true);
    FItems->OnChange = [this](TObject*) { ItemsChanged(); };
}

TCustomListControl::~TCustomListControl() {
    FItems->OnChange = nullptr;
    FCanvas->ReleaseWindowDC();
}

TStrings* TCustomListControl::Items() const { return FItems.get(); }
void TCustomListControl::SetItems(const TStrings* value) { FItems->Assign(value); }
TCanvas* TCustomListControl::Canvas() const { return FCanvas.get(); }

bool TCustomListControl::Sorted() const { return FItems->Sorted(); }
void TCustomListControl::SetSorted(bool value) { FItems->SetSorted(value); }

int TCustomListControl::ItemIndex() const {
    if (FHandle) return int(::SendMessageW(FHandle, MsgGetSel(), 0, 0));
    return FItemIndex;
}

void TCustomListControl::SetItemIndex(int value) {
    if (value < -1 || value >= FItems->Count()) value = -1;
    FItemIndex = value;
    if (FHandle) ::SendMessageW(FHandle, MsgSetSel(), WPARAM(value), 0);
}

void TCustomListControl::ChangeScale(int m, int d) {
    if (m > 0 && d > 0) SetItemHeight(::MulDiv(FItemHeight, m, d));
    TWinControl::ChangeScale(m, d);
}

void TCustomListControl::SetItemHeight(int value) {
    if (value <= 0) return;
    FItemHeight = value;
    if (FHandle) {
        ::SendMessageW(FHandle, MsgSetItemHeight(), 0, value);
        Invalidate();
    }
}

void TCustomListControl::ItemsChanged() {
    if (FItemIndex >= FItems->Count()) FItemIndex = -1;
    if (!FHandle) return;
    const int selected = ItemIndex();
    FillWindow();
    ::SendMessageW(FHandle, MsgSetSel(), WPARAM(selected < FItems->Count() ? selected : -1), 0);
}

void TCustomListControl::FillWindow() {
    ::SendMessageW(FHandle, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(FHandle, MsgReset(), 0, 0);
    for (int i = 0; i < FItems->Count(); ++i) {
        const std::wstring item = FItems->Strings(i);
        ::SendMessageW(FHandle, MsgAdd(), 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    ::SendMessageW(FHandle, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(FHandle, nullptr, TRUE);
}

void TCustomListControl::CreateWindowHandleDone() {
    FillWindow();
    ::SendMessageW(FHandle, MsgSetSel(), WPARAM(FItemIndex), 0);
}

void TCustomListControl::DestroyWnd() {
    FItemIndex = ItemIndex();
    FCanvas->ReleaseWindowDC();
    TWinControl::DestroyWnd();
}

void TCustomListControl::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    TCanvas& canvas = *FCanvas;
    const bool selected = (state & odSelected) != 0;
    canvas.Brush()->SetColor(selected ? clHighlight : clWindow);
    canvas.FillRect(rect);
    if (index < 0 || index >= FItems->Count()) return;
    canvas.Brush()->SetStyle(bsClear);
    canvas.Font()->SetColor(selected ? clHighlightText : clWindowText);
    std::wstring text = FItems->Strings(index);
    TRect textRect{rect.Left + 2, rect.Top, rect.Right, rect.Bottom};
    canvas.TextRect(textRect, text, {tfSingleLine, tfVerticalCenter, tfNoPrefix});
}

void TCustomListControl::MeasureItem(int index, int& height) {
    if (OnMeasureItem) OnMeasureItem(this, index, height);
}

void TCustomListControl::Dispatch(TMessage& message) {
    switch (message.Msg) {
        case CN_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
            const TOwnerDrawState state = OwnerDrawStateOf(item->itemState);
            const TRect rect{item->rcItem.left, item->rcItem.top, item->rcItem.right, item->rcItem.bottom};
            FCanvas->PaintOn(item->hDC, [&] { DrawItem(int(item->itemID), rect, state); });
            message.Result = TRUE;
            return;
        }
        case CN_MEASUREITEM: {
            auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
            int height = FItemHeight;
            MeasureItem(int(item->itemID), height);
            item->itemHeight = UINT(height);
            message.Result = TRUE;
            return;
        }
        default: TWinControl::Dispatch(message);
    }
}

const TPropertyList& TListBox::Published() {
    static const TPropertyList list = TPropertyList::Extend(TCustomListControl::Published())
        .Enum(L"Style", &TListBox::Style, &TListBox::SetStyle, lbStandard);
    return list;
}

TListBox::TListBox(TComponent* owner) : TCustomListControl(owner) {
    TControl::SetBounds(0, 0, 121, 97);
}

void TListBox::SetStyle(TListBoxStyle value) {
    if (value == FStyle) return;
    FStyle = value;
    RecreateWnd();
}

int TListBox::TopIndex() const {
    return FHandle ? int(::SendMessageW(FHandle, LB_GETTOPINDEX, 0, 0)) : FTopIndex;
}

void TListBox::SetTopIndex(int value) {
    FTopIndex = value;
    if (FHandle) ::SendMessageW(FHandle, LB_SETTOPINDEX, WPARAM(value), 0);
}

int TListBox::Count() const { return Items()->Count(); }

int TListBox::ItemAtPos(const TPoint& point) const {
    if (!FHandle) return -1;
    const LRESULT result = ::SendMessageW(FHandle, LB_ITEMFROMPOINT, 0, MAKELPARAM(point.X, point.Y));
    if (HIWORD(result) != 0) return -1;
    return int(LOWORD(result));
}

TRect TListBox::ItemRect(int index) const {
    RECT rect{};
    if (FHandle) ::SendMessageW(FHandle, LB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&rect));
    return {rect.left, rect.top, rect.right, rect.bottom};
}

void TListBox::CreateParams(TCreateParams& params) {
    TCustomListControl::CreateParams(params);
    CreateSubClass(params, L"LISTBOX");
    params.Style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER;
    if (FStyle == lbOwnerDrawFixed) params.Style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
    if (FStyle == lbOwnerDrawVariable) params.Style |= LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListBox::Dispatch(TMessage& message) {
    if (message.Msg == CN_COMMAND) {
        if (HIWORD(message.WParam) == LBN_SELCHANGE) {
            FItemIndex = ItemIndex();
            Click();
        }
        return;
    }
    TCustomListControl::Dispatch(message);
}

const TPropertyList& TComboBox::Published() {
    static const TPropertyList list = TPropertyList::Extend(TCustomListControl::Published())
        .Enum(L"Style", &TComboBox::Style, &TComboBox::SetStyle, csDropDown)
        .Add(L"DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount, 8)
        .Add(L"Text", &TComboBox::GetText, &TComboBox::SetText)
        .Event(L"OnChange", &TComboBox::OnChange)
        .Event(L"OnSelect", &TComboBox::OnSelect)
        .Event(L"OnDropDown", &TComboBox::OnDropDown)
        .Event(L"OnCloseUp", &TComboBox::OnCloseUp);
    return list;
}

TComboBox::TComboBox(TComponent* owner) : TCustomListControl(owner) {
    TControl::SetBounds(0, 0, 145, 21);
}

void TComboBox::SetStyle(TComboBoxStyle value) {
    if (value == FStyle) return;
    FStyle = value;
    RecreateWnd();
}

bool TComboBox::DroppedDown() const {
    return FHandle && ::SendMessageW(FHandle, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TComboBox::SetDroppedDown(bool value) {
    if (FHandle) ::SendMessageW(FHandle, CB_SHOWDROPDOWN, value, 0);
}

std::wstring TComboBox::GetText() const {
    if (FStyle == csDropDownList || FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable) {
        const int index = ItemIndex();
        return index >= 0 && index < Items()->Count() ? Items()->Strings(index) : std::wstring();
    }
    return TCustomListControl::GetText();
}

void TComboBox::SetText(const std::wstring& value) {
    if (FStyle == csDropDownList || FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable) {
        SetItemIndex(Items()->IndexOf(value));
        return;
    }
    TCustomListControl::SetText(value);
}

void TComboBox::Change() { FireEvent(OnChange, this); }

void TComboBox::Select() {
    if (OnSelect) OnSelect(this);
    else Change();
}

void TComboBox::CreateParams(TCreateParams& params) {
    TCustomListControl::CreateParams(params);
    CreateSubClass(params, L"COMBOBOX");
    params.Style |= WS_VSCROLL | CBS_AUTOHSCROLL;
    switch (FStyle) {
        case csSimple: params.Style |= CBS_SIMPLE; break;
        case csDropDownList: params.Style |= CBS_DROPDOWNLIST; break;
        case csOwnerDrawFixed: params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS; break;
        case csOwnerDrawVariable: params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS; break;
        default: params.Style |= CBS_DROPDOWN; break;
    }
    // The window's height includes its dropped-down list.
    if (FStyle != csSimple) params.Height = Height() + FItemHeight * std::max(FDropDownCount, 1) + 2;
}

void TComboBox::Dispatch(TMessage& message) {
    if (message.Msg == CN_COMMAND) {
        switch (HIWORD(message.WParam)) {
            case CBN_SELCHANGE:
                FItemIndex = ItemIndex();
                Click();
                Select();
                break;
            case CBN_EDITCHANGE: Change(); break;
            case CBN_DROPDOWN: FireEvent(OnDropDown, this); break;
            case CBN_CLOSEUP: FireEvent(OnCloseUp, this); break;
            default: break;
        }
        return;
    }
    TCustomListControl::Dispatch(message);
}

// ---------------------------------------------------------------- TGroupBox

TGroupBox::TGroupBox(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(ControlStyle() | csAcceptsControls);
    SetBounds(Left(), Top(), 185, 105);
}

void TGroupBox::Paint() {
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(Font());
    const std::wstring caption = Caption();
    const int textHeight = canvas->TextHeight(L"0");
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
    // The etched frame starts halfway down the caption, which then covers its top edge.
    RECT frame{0, textHeight / 2, Width(), Height()};
    ::DrawEdge(canvas->Handle(), &frame, EDGE_ETCHED, BF_RECT);
    if (caption.empty()) return;
    canvas->Font()->SetColor(Enabled() ? Font()->Color() : clGrayText);
    canvas->TextOut(8, 0, L" " + caption + L" ");
}

}  // namespace ClassLib
