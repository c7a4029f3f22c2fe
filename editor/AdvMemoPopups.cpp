// The completion list and the parameter hint: their settings, their windows, and the memo's
// side that fills, places, opens and closes them.
#include "editor/AdvMemoPopups.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cwctype>

#include "classlib/Application.h"
#include "classlib/Screen.h"
#include "classlib/Strings.h"
#include "editor/AdvMemo.h"
#include "editor/AdvMemoStylers.h"
#include "editor/AdvMemoTokenizer.h"

#pragma push_macro("GetObject")
#undef GetObject

namespace AdvMemo {

using ClassLib::TColor;

namespace {

constexpr UINT WM_SHOWPARAMETERHINT = WM_USER + 1;

int CategoryOf(ClassLib::TObject* object) {
    const auto category = static_cast<int>(reinterpret_cast<std::intptr_t>(object));
    return category >= ccIdentifier && category <= ccProcedure ? category : ccIdentifier;
}

// A canvas for measuring text in a font before (or without) any window.
class TMeasureCanvas {
public:
    explicit TMeasureCanvas(const ClassLib::TFont& font, float scale = 1.0f) : FBitmap(1, 1) {
        Canvas().Font()->Assign(&font);
        if (scale != 1.0f) Canvas().Font()->SetHeight(int(std::lround(font.Height() * scale)));
    }
    ClassLib::TCanvas& Canvas() { return *FBitmap.Canvas(); }
    int Width(const std::wstring& text, bool bold) {
        ClassLib::TFontStyles style = Canvas().Font()->Style();
        if (bold) style += ClassLib::fsBold;
        else style -= ClassLib::fsBold;
        Canvas().Font()->SetStyle(style);
        return text.empty() ? 0 : Canvas().TextWidth(text);
    }
private:
    ClassLib::TBitmap FBitmap;
};

// The split of an entry's name part for drawing: bold up to the parameters, normal after.
size_t BoldEnd(const std::wstring& text, bool colonToo) {
    size_t cut = text.find(L'(');
    if (cut == std::wstring::npos) cut = text.find(L'[');
    if (cut == std::wstring::npos && colonToo) cut = text.find(L':');
    return cut == std::wstring::npos ? text.size() : cut;
}

const wchar_t* const kPictureNames[5] = {L"OVT_VAR", L"OVT_PROP", L"OVT_EVENT", L"OVT_PROC", L"OVT_METHOD"};

// The picture of a category: functions and procedures share one.
int PictureOf(int category) {
    switch (category) {
        case ccVariable: return 0;
        case ccProperty: return 1;
        case ccEvent: return 2;
        case ccMethod: return 4;
        case ccFunction: case ccProcedure: return 3;
        default: return -1;
    }
}

// The memo's handlers leave the form before it goes: they point at the memo.
void DetachHandlers(TAdvAutoform& form) {
    TAutoCompletionListBox* list = form.ListBox();
    list->OnKeyPress = nullptr;
    list->OnListKeyDown = nullptr;
    list->OnMouseUp = nullptr;
    list->OnExit = nullptr;
    form.OnDeactivate = nullptr;
}

}  // namespace

// ---------------------------------------------------------------- settings

CLASSLIB_IMPLEMENT(TAutoCompletion, ClassLib::TPersistent)

TAutoCompletion::TAutoCompletion() : FFont(std::make_unique<ClassLib::TFont>()) {
    FFont->SetOnChange([this](ClassLib::TObject*) { Changed(); });
}

TAutoCompletion::~TAutoCompletion() { FFont->SetOnChange(nullptr); }

const ClassLib::TPropertyList& TAutoCompletion::Published() {
    using A = TAutoCompletion;
    static const ClassLib::TPropertyList list = ClassLib::TPropertyList::Extend(ClassLib::TPersistent::Published())
        .Add(L"Active", &A::Active, &A::SetActive, true)
        .Add(L"AutoDisplay", &A::AutoDisplay, &A::SetAutoDisplay, true)
        .Add(L"AutoWidth", &A::AutoWidth, &A::SetAutoWidth, true)
        .Colour(L"Color", &A::Color, &A::SetColor, ClassLib::clWindow)
        .Add(L"Delay", &A::Delay, &A::SetDelay, 500)
        .SubObject(L"Font", &A::Font)
        .Colour(L"ColorVar", &A::ColorVar, &A::SetColorVar, ClassLib::clBlue)
        .Colour(L"ColorProp", &A::ColorProp, &A::SetColorProp, ClassLib::clTeal)
        .Colour(L"ColorMethod", &A::ColorMethod, &A::SetColorMethod, ClassLib::clNavy)
        .Colour(L"ColorFunc", &A::ColorFunc, &A::SetColorFunc, ClassLib::clNavy)
        .Colour(L"ColorProc", &A::ColorProc, &A::SetColorProc, ClassLib::clNavy)
        .Colour(L"ColorEvent", &A::ColorEvent, &A::SetColorEvent, ClassLib::clRed)
        .Colour(L"ColorIdentifier", &A::ColorIdentifier, &A::SetColorIdentifier, ClassLib::clTeal)
        .Add(L"FromFirstChar", &A::FromFirstChar, &A::SetFromFirstChar, true)
        .Add(L"Height", &A::Height, &A::SetHeight, 100)
        .Add(L"KeepLastSize", &A::KeepLastSize, &A::SetKeepLastSize, false)
        .Add(L"ShowImages", &A::ShowImages, &A::SetShowImages, false)
        .Add(L"SizeDropDown", &A::SizeDropDown, &A::SetSizeDropDown, true)
        .Add(L"StartToken", &A::GetStartTokenText, &A::SetStartToken, std::wstring(L"(."))
        .Add(L"Width", &A::Width, &A::SetWidth, 200)
        .Add(L"MaxWidth", &A::MaxWidth, &A::SetMaxWidth, 0);
    return list;
}

void TAutoCompletion::Assign(const ClassLib::TPersistent* source) {
    const auto* other = dynamic_cast<const TAutoCompletion*>(source);
    if (!other) {
        ClassLib::TPersistent::Assign(source);
        return;
    }
    FActive = other->FActive;
    FAutoDisplay = other->FAutoDisplay;
    FAutoWidth = other->FAutoWidth;
    FColorVar = other->FColorVar;
    FColorProp = other->FColorProp;
    FColorMethod = other->FColorMethod;
    FColorFunc = other->FColorFunc;
    FColorProc = other->FColorProc;
    FColorEvent = other->FColorEvent;
    FColorIdentifier = other->FColorIdentifier;
    FFromFirstChar = other->FFromFirstChar;
    FHeight = other->FHeight;
    FKeepLastSize = other->FKeepLastSize;
    FShowImages = other->FShowImages;
    FSizeDropDown = other->FSizeDropDown;
    FStartToken = other->FStartToken;
    FWidth = other->FWidth;
    FMaxWidth = other->FMaxWidth;
    FColor = other->FColor;
    FDelay = other->FDelay;
    FFont->Assign(other->FFont.get());  // reports the change once for all of it
    Changed();
}

void TAutoCompletion::SetColor(TColor value) {
    if (value == FColor) return;
    FColor = value;
    Changed();
}

void TAutoCompletion::SetDelay(int value) {
    if (value == FDelay) return;
    FDelay = value;
    Changed();
}

// ---------------------------------------------------------------- list box

CLASSLIB_IMPLEMENT(TAutoCompletionListBox, ClassLib::TListBox)

TAutoCompletionListBox::TAutoCompletionListBox(ClassLib::TComponent* owner) : ClassLib::TListBox(owner) {
    SetStyle(ClassLib::lbOwnerDrawFixed);
    LoadPictures();
}

TAutoCompletionListBox::~TAutoCompletionListBox() = default;

const ClassLib::TPropertyList& TAutoCompletionListBox::Published() {
    using L = TAutoCompletionListBox;
    static const ClassLib::TPropertyList list = ClassLib::TPropertyList::Extend(ClassLib::TListBox::Published())
        .Enum(L"Style", &L::Style, &L::SetStyle, ClassLib::lbOwnerDrawFixed)
        .Add(L"ShowImages", &L::ShowImages, &L::SetShowImages, false)
        .Colour(L"ColorVar", &L::ColorVar, &L::SetColorVar, ClassLib::clBlue)
        .Colour(L"ColorProp", &L::ColorProp, &L::SetColorProp, ClassLib::clTeal)
        .Colour(L"ColorEvent", &L::ColorEvent, &L::SetColorEvent, ClassLib::clRed)
        .Colour(L"ColorMethod", &L::ColorMethod, &L::SetColorMethod, ClassLib::clNavy)
        .Colour(L"ColorFunc", &L::ColorFunc, &L::SetColorFunc, ClassLib::clNavy)
        .Colour(L"ColorProc", &L::ColorProc, &L::SetColorProc, ClassLib::clNavy)
        .Colour(L"ColorIdentifier", &L::ColorIdentifier, &L::SetColorIdentifier, ClassLib::clTeal);
    return list;
}

void TAutoCompletionListBox::TakeSettings(const TAutoCompletion& settings) {
    FShowImages = settings.ShowImages();
    FColors[ccVariable] = settings.ColorVar();
    FColors[ccProperty] = settings.ColorProp();
    FColors[ccEvent] = settings.ColorEvent();
    FColors[ccMethod] = settings.ColorMethod();
    FColors[ccFunction] = settings.ColorFunc();
    FColors[ccProcedure] = settings.ColorProc();
    FColors[ccIdentifier] = settings.ColorIdentifier();
    Invalidate();
}

void TAutoCompletionListBox::LoadPictures() {
    for (int i = 0; i < 5; ++i) {
        FPictures[i] = std::make_unique<ClassLib::TBitmap>();
        try {
            FPictures[i]->LoadFromResourceName(::GetModuleHandleW(nullptr), kPictureNames[i]);
        } catch (const std::exception&) {
            // A program built without the editor's pictures lists entries without them.
        }
        FPictures[i]->SetTransparentColor(ClassLib::clLime);
        FPictures[i]->SetTransparent(true);
    }
}

void TAutoCompletionListBox::SetImageList(ClassLib::TCustomImageList* list) {
    FImageList = list;
    if (!list) {
        LoadPictures();
        Invalidate();
        return;
    }
    for (int i = 0; i < 5; ++i) {
        FPictures[i] = std::make_unique<ClassLib::TBitmap>();
        if (i < list->Count()) list->GetBitmap(i, FPictures[i].get());
        FPictures[i]->SetPixelFormat(ClassLib::pf24bit);
        FPictures[i]->SetTransparentColor(ClassLib::clLime);
        FPictures[i]->SetTransparent(true);
    }
    Invalidate();
}

int TAutoCompletionListBox::Scaled(int value) const { return int(std::lround(value * FDPIScale)); }

void TAutoCompletionListBox::SetIdentifierWidth() {
    TMeasureCanvas measure(*Font());
    int widest = 0;
    for (int i = 0; i < Items()->Count(); ++i) {
        const std::wstring text = Items()->Strings(i);
        const size_t blank = text.find(L' ');
        if (blank != std::wstring::npos) widest = std::max(widest, measure.Width(text.substr(0, blank + 1), false));
    }
    FIdentifierWidth = widest;
}

int TAutoCompletionListBox::AutoAdaptWidth() {
    TMeasureCanvas measure(*Font(), FDPIScale);
    int widest = 0;
    for (int i = 0; i < Items()->Count(); ++i) {
        std::wstring text = Items()->Strings(i);
        int width = 0;
        const size_t blank = text.find(L' ');
        if (blank != std::wstring::npos) {
            width = FIdentifierWidth;
            text.erase(0, blank + 1);
        }
        const size_t cut = BoldEnd(text, false);
        width += measure.Width(text.substr(0, cut), true) + measure.Width(text.substr(cut), false);
        widest = std::max(widest, width);
    }
    SetItemHeight(std::max(measure.Canvas().TextHeight(L"h_") + 1, Scaled(16)));
    return ::GetSystemMetrics(SM_CXVSCROLL) + widest + 28 - (FShowImages ? 0 : 20);
}

void TAutoCompletionListBox::CreateParams(ClassLib::TCreateParams& params) {
    ClassLib::TListBox::CreateParams(params);
    params.Style &= ~DWORD(WS_BORDER);
    params.ExStyle &= ~DWORD(WS_EX_CLIENTEDGE);
}

void TAutoCompletionListBox::DrawItem(int index, const ClassLib::TRect& rect, ClassLib::TOwnerDrawState state) {
    ClassLib::TCanvas& canvas = *Canvas();
    const bool selected = (state & ClassLib::odSelected) != 0;
    canvas.Font()->Assign(Font());
    if (FDPIScale != 1.0f) canvas.Font()->SetHeight(Scaled(Font()->Height()));
    canvas.Brush()->SetStyle(ClassLib::bsSolid);
    canvas.Brush()->SetColor(selected ? ClassLib::clHighlight : Color());
    canvas.FillRect(rect);
    if (index < 0 || index >= Items()->Count()) return;
    std::wstring text = Items()->Strings(index);
    const int category = CategoryOf(Items()->Objects(index));
    int x = rect.Left + 2;
    if (FShowImages) {
        const int picture = PictureOf(category);
        if (picture >= 0 && !FPictures[picture]->Empty())
            canvas.Draw(rect.Left, rect.Top + (rect.Height() - FPictures[picture]->Height()) / 2, FPictures[picture].get());
        x = rect.Left + 22;
    }
    canvas.Brush()->SetStyle(ClassLib::bsClear);
    const int top = rect.Top + (rect.Height() - canvas.TextHeight(L"h_")) / 2;
    const TColor textColor = selected ? ClassLib::clHighlightText : Font()->Color();
    const size_t blank = text.find(L' ');
    if (blank != std::wstring::npos) {
        canvas.Font()->SetColor(selected ? ClassLib::clHighlightText : FColors[category]);
        canvas.TextOut(x, top, text.substr(0, blank + 1));
        x += Scaled(FIdentifierWidth);
        text.erase(0, blank + 1);
    }
    const size_t cut = BoldEnd(text, true);
    canvas.Font()->SetColor(textColor);
    canvas.Font()->SetStyle(canvas.Font()->Style() + ClassLib::fsBold);
    const std::wstring bold = text.substr(0, cut);
    canvas.TextOut(x, top, bold);
    x += bold.empty() ? 0 : canvas.TextWidth(bold);
    canvas.Font()->SetStyle(canvas.Font()->Style() - ClassLib::fsBold);
    if (cut < text.size()) canvas.TextOut(x, top, text.substr(cut));
}

void TAutoCompletionListBox::KeyDown(WORD& key, ClassLib::TShiftState shift) {
    ClassLib::TListBox::KeyDown(key, shift);
    if (key != 0 && OnListKeyDown) OnListKeyDown(key);
}

// ---------------------------------------------------------------- pop-up form

CLASSLIB_IMPLEMENT(TAdvAutoform, ClassLib::TCustomForm)

TAdvAutoform::TAdvAutoform(ClassLib::TComponent* owner) : ClassLib::TCustomForm(owner) {
    SetName(L"_fa");
    SetFormStyle(ClassLib::fsStayOnTop);
    FListBox = new TAutoCompletionListBox(this);
    FListBox->SetName(L"_lc");
    FListBox->SetParent(this);
    FListBox->SetAlign(ClassLib::alClient);
}

void TAdvAutoform::SetSizeDropDown(bool value) {
    if (value == FSizeDropDown && HandleAllocated()) return;
    FSizeDropDown = value;
    // Without the sizing frame the form's silver shows as a 1-pixel frame around the list.
    FListBox->Margins()->SetLeft(1);
    FListBox->Margins()->SetTop(1);
    FListBox->Margins()->SetRight(1);
    FListBox->Margins()->SetBottom(1);
    FListBox->SetAlignWithMargins(!value);
    SetColor(value ? ClassLib::clBtnFace : ClassLib::clSilver);
    if (HandleAllocated()) RecreateWnd();
}

void TAdvAutoform::CreateParams(ClassLib::TCreateParams& params) {
    ClassLib::TCustomForm::CreateParams(params);
    params.Style = WS_POPUP | WS_CLIPCHILDREN | (FSizeDropDown ? WS_THICKFRAME : WS_BORDER);
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    params.WndParent = FOwnerWindow;
    if (!FSizeDropDown) params.WindowClass.style |= CS_DROPSHADOW;
}

// ---------------------------------------------------------------- hint window

CLASSLIB_IMPLEMENT(TAdvHintForm, ClassLib::TCustomControl)

TAdvHintForm::TAdvHintForm(ClassLib::TComponent* owner) : ClassLib::TCustomControl(owner) {
    FColor = ClassLib::clInfoBk;
    SetParentColor(false);
    SetParentFont(false);
    TControl::SetVisible(false);
}

void TAdvHintForm::CreateParams(ClassLib::TCreateParams& params) {
    ClassLib::TCustomControl::CreateParams(params);
    params.Style = WS_POPUP;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    params.WndParent = nullptr;
    params.WindowClass.style |= CS_DROPSHADOW | CS_SAVEBITS;
}

ClassLib::TSize TAdvHintForm::HintSize() {
    TMeasureCanvas measure(*Font());
    const std::wstring* parts[3] = {&part1, &part2, &part3};
    int width = 6;
    for (int i = 0; i < 3; ++i) width += measure.Width(*parts[i], Active == i + 1);
    return ClassLib::TSize{width, measure.Canvas().TextHeight(L"h,g_`") + 5};
}

void TAdvHintForm::ShowAt(int x, int y, int width, int height) {
    HandleNeeded();
    SetBounds(x, y, width, height);
    ::SetWindowPos(FHandle, HWND_TOPMOST, x, y, width, height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    ::InvalidateRect(FHandle, nullptr, TRUE);
    ::UpdateWindow(FHandle);
}

void TAdvHintForm::HideHint() {
    if (HandleAllocated()) ::ShowWindow(FHandle, SW_HIDE);
}

bool TAdvHintForm::Showing() const { return HandleAllocated() && ::IsWindowVisible(FHandle); }

void TAdvHintForm::Paint() {
    ClassLib::TCanvas& canvas = *Canvas();
    const ClassLib::TRect client = ClientRect();
    canvas.Brush()->SetStyle(ClassLib::bsSolid);
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(client);
    canvas.Brush()->SetColor(ClassLib::clGray);
    canvas.FrameRect(client);
    canvas.Brush()->SetStyle(ClassLib::bsClear);
    canvas.Font()->Assign(Font());
    const std::wstring* parts[3] = {&part1, &part2, &part3};
    int x = 2;
    for (int i = 0; i < 3; ++i) {
        ClassLib::TFontStyles style = Font()->Style();
        if (Active == i + 1) style += ClassLib::fsBold;
        canvas.Font()->SetStyle(style);
        if (parts[i]->empty()) continue;
        canvas.TextOut(x, 2, *parts[i]);
        x += canvas.TextWidth(*parts[i]);
    }
}

void TAdvHintForm::Dispatch(ClassLib::TMessage& message) {
    if (message.Msg == WM_MOUSEACTIVATE) {
        message.Result = MA_NOACTIVATE;
        if (OnClickActivate) ClassLib::CallGuarded(this, OnClickActivate);
        return;
    }
    ClassLib::TCustomControl::Dispatch(message);
}

// ---------------------------------------------------------------- the memo's side

void TAdvCustomMemo::AutoCompletionChanged() {
    if (FAutoCompleteTimer) FAutoCompleteTimer->SetInterval(unsigned(std::max(FAutoCompletion->Delay(), 0)));
    if (FCompletionForm) {
        TAutoCompletionListBox* list = FCompletionForm->ListBox();
        list->SetColor(FAutoCompletion->Color());
        list->Font()->Assign(FAutoCompletion->Font());
    }
}

void TAdvCustomMemo::SetAutoCompletionListImages(ClassLib::TCustomImageList* value) {
    if (value == FAutoCompletionListImages) return;
    if (FAutoCompletionListImages) FAutoCompletionListImages->RemoveFreeNotification(this);
    FAutoCompletionListImages = value;
    if (value) value->FreeNotification(this);
    if (FCompletionForm) FCompletionForm->ListBox()->SetImageList(value);
}

void TAdvCustomMemo::SetAutoHintParameters(TAutoHintParameters value) {
    FAutoHintParameters = value;
    HideHint();
}

void TAdvCustomMemo::SetAutoHintParameterDelay(int value) {
    FAutoHintParameterDelay = value;
    if (FHintTimer && value >= 0) FHintTimer->SetInterval(unsigned(value));
}

bool TAdvCustomMemo::IsAutoCompletionStartToken(wchar_t key) {
    return FAutoCompletion->StartToken().find(key) != std::wstring::npos;
}

bool TAdvCustomMemo::EndsWithStartToken(const std::wstring& text) {
    return !text.empty() && IsAutoCompletionStartToken(text.back());
}

bool TAdvCustomMemo::IsIdentifierChar(wchar_t c) {
    return std::iswalnum(c) || c == L'-' || c == L'1' || c == L'_';
}

bool TAdvCustomMemo::CompletionHasSource() const {
    if (OnGetAutoCompletionList) return true;
    const TAdvCustomMemoStyler* styler = FUseStyler ? EffectiveStyler() : nullptr;
    return styler && styler->AutoCompletion()->Count() > 0;
}

void TAdvCustomMemo::CheckCompletionTrigger(wchar_t key) {
    if (IsAutoCompletionStartToken(key) && FAutoCompletion->Active()) {
        // Without entries nothing could open: no timer is made.
        if (CompletionHasSource()) StartCompletionTimer();
    } else if (IsParameterHintToken(key) && FAutoHintParameters != hpNone && HandleAllocated()) {
        ::PostMessageW(FHandle, WM_SHOWPARAMETERHINT, 0, 0);
    }
}

void TAdvCustomMemo::StartCompletionTimer() {
    if (!FAutoCompleteTimer) {
        FAutoCompleteTimer = std::make_unique<ClassLib::TTimer>(nullptr);
        FAutoCompleteTimer->SetEnabled(false);
        FAutoCompleteTimer->SetInterval(unsigned(std::max(FAutoCompletion->Delay(), 0)));
        FAutoCompleteTimer->SetOnTimer([this](ClassLib::TObject* sender) {
            ClassLib::CallGuarded(sender, [this] {
                FAutoCompleteTimer->SetEnabled(false);
                if (!FAutoCompletion->Active() || !FAutoCompletion->AutoDisplay()) return;
                if (FullWordAtXY(FCurX - 1, FCurY).empty()) return;
                FAutoCompleteDot = true;
                FDotPoint = TCellPos{FCurX, FCurY};
                ShowAutoCompletion();
            });
        });
    }
    FAutoCompleteTimer->SetEnabled(false);
    FAutoCompleteTimer->SetEnabled(true);
}

void TAdvCustomMemo::FillAutoCompleteList(const std::wstring& token) {
    FAutoCompleteList->Clear();
    const TAdvCustomMemoStyler* styler = FUseStyler ? EffectiveStyler() : nullptr;
    if (styler) {
        const ClassLib::TStringList& entries = *styler->AutoCompletion();
        for (int i = 0; i < entries.Count(); ++i) {
            const std::wstring entry = entries.Strings(i);
            const size_t blank = entry.find(L' ');
            const std::wstring name = ClassLib::AnsiUpperCase(blank == std::wstring::npos ? entry : entry.substr(blank + 1));
            if (token.empty() || name.rfind(token, 0) == 0) FAutoCompleteList->AddObject(entry, entries.Objects(i));
        }
    }
    if (OnGetAutoCompletionList) OnGetAutoCompletionList(this, token, FAutoCompleteList.get());
}

void TAdvCustomMemo::FillCompletionListBox(const std::wstring& token) {
    if (!FCompletionForm) return;
    TAutoCompletionListBox* list = FCompletionForm->ListBox();
    int index = -1;
    // The list event filled the memo's list when it opened; firing it again here would add its
    // entries twice. The index event may still pick the item for the new token.
    if (OnGetAutoCompletionListIndex) OnGetAutoCompletionListIndex(this, token, FAutoCompleteList.get(), index);
    ClassLib::TStringList fitting;
    for (int i = 0; i < FAutoCompleteList->Count(); ++i) {
        const std::wstring entry = FAutoCompleteList->Strings(i);
        if (!token.empty() && !CompletionEntryFits(entry, token, FAutoCompletion->FromFirstChar())) continue;
        fitting.AddObject(entry, FAutoCompleteList->Objects(i));
    }
    if (fitting.Count() == 0) {
        HideAutoCompletion();
        return;
    }
    list->Items()->Assign(&fitting);
    list->SetItemIndex(std::clamp(index, 0, fitting.Count() - 1));
    list->SetIdentifierWidth();
    if (FAutoCompletion->SizeDropDown()) {
        int width = FAutoCompletion->AutoWidth() ? list->AutoAdaptWidth() : FAutoCompletion->Width();
        if (FAutoCompletion->MaxWidth() > 0 && FAutoCompletion->MaxWidth() < width) width = FAutoCompletion->MaxWidth();
        FCompletionForm->SetWidth(width);
    }
}

std::wstring TAdvCustomMemo::CompletionWord() {
    // After a start token only what follows it filters ("Le" of "obj.Le").
    if (FAutoCompleteDot) return WordAtXY(FDotPoint.X, FDotPoint.Y);
    return FullWordAtCursor();
}

void TAdvCustomMemo::ShowAutoCompletion() {
    if (!FAutoCompletion->Active() || FReadOnly || !CompletionHasSource() || !HandleAllocated()) return;
    const std::wstring token = ClassLib::AnsiUpperCase(TokenAtCursor());
    bool show = true;
    if (OnBeforeAutoCompletion) OnBeforeAutoCompletion(this, token, show);
    if (!show) return;
    FCompletionToken = token;
    FillAutoCompleteList(token);
    int index = -1;
    if (OnGetAutoCompletionListIndex) OnGetAutoCompletionListIndex(this, token, FAutoCompleteList.get(), index);
    if (index < 0) index = 0;
    if (FAutoCompleteList->Count() == 0) return;

    // Below the caret's cell, in screen pixels.
    const TMemoRect caretRow = LineRect(FCurY);
    const ClassLib::TPoint anchor = ClientToScreen({TextArea().Left + (FCurX - FLeftCol) * CharWidth(), caretRow.Bottom + 2});

    if (!FCompletionForm) FCompletionForm = new TAdvAutoform(nullptr);
    TAdvAutoform* form = FCompletionForm;
    TAutoCompletionListBox* list = form->ListBox();
    form->SetOwnerWindow(::GetAncestor(FHandle, GA_ROOT));
    form->SetSizeDropDown(FAutoCompletion->SizeDropDown());
    list->SetColor(FAutoCompletion->Color());
    list->Font()->Assign(FAutoCompletion->Font());
    list->TakeSettings(*FAutoCompletion);
    list->SetDPIScale(FDPIScale);
    if (FAutoCompletionListImages) list->SetImageList(FAutoCompletionListImages);
    list->Items()->Assign(FAutoCompleteList.get());
    EnsureOneLine();

    list->OnKeyPress = [this](ClassLib::TObject* sender, wchar_t& key) {
        ClassLib::CallGuarded(sender, [this, &key] { CompletionKeyPress(key); });
        key = 0;  // every key of the open list is the memo's
    };
    list->OnListKeyDown = [this, list](WORD& key) { ClassLib::CallGuarded(list, [this, &key] { CompletionKeyDown(key); }); };
    list->OnMouseUp = [this](ClassLib::TObject* sender, ClassLib::TMouseButton, ClassLib::TShiftState, int, int) {
        ClassLib::CallGuarded(sender, [this] { InsertCompletion(true); });
    };
    auto cancel = [this](ClassLib::TObject* sender) {
        ClassLib::CallGuarded(sender, [this] {
            if (FClosingCompletion || !FCompletionForm) return;
            ClassLib::FireEvent(OnCancelAutoCompletion, this);
            HideAutoCompletion();
        });
    };
    list->OnExit = cancel;
    form->OnDeactivate = cancel;
    ClassLib::FireEvent(OnStartAutoCompletion, this);

    const float scale = FDPIScale;
    list->SetIdentifierWidth();
    int width = FAutoCompletion->AutoWidth() ? list->AutoAdaptWidth() : int(std::lround(FAutoCompletion->Width() * scale));
    if (FAutoCompletion->MaxWidth() > 0 && FAutoCompletion->MaxWidth() < width)
        width = int(std::lround(FAutoCompletion->MaxWidth() * scale));
    if (!FAutoCompletion->AutoWidth()) width = int(std::lround(FAutoCompletion->Width() * scale));
    const int height = int(std::lround(FAutoCompletion->Height() * scale));

    // Inside the work area of the monitor nearest the caret: a list that does not fit below
    // the caret line goes above it, so it covers neither the screen's edge nor the typed word.
    const ClassLib::TRect area = ClassLib::Screen->MonitorFromPoint(anchor).WorkareaRect;
    int x = anchor.X, y = anchor.Y;
    if (y + height > area.Bottom) {
        const int above = ClientToScreen({0, caretRow.Top}).Y - height - 2;
        y = above >= area.Top ? above : area.Bottom - height - 10;
    }
    x = std::max(std::min(x, area.Right - width - 10), area.Left);
    y = std::max(std::min(y, area.Bottom - height), area.Top);
    form->SetBounds(x, y, width, height);
    form->Show();
    if (FCompletionForm != form) return;  // a handler closed it meanwhile
    if (list->CanFocus()) list->SetFocus();

    if (FAutoCompleteDot) {
        std::wstring dotToken = TokenAtXY(FDotPoint.X, FDotPoint.Y);
        if (EndsWithStartToken(dotToken)) dotToken.clear();
        if (!dotToken.empty()) {
            FillCompletionListBox(ClassLib::AnsiUpperCase(dotToken));
            return;
        }
    }
    list->SetItemIndex(std::min(index, list->Items()->Count() - 1));
}

void TAdvCustomMemo::HideAutoCompletion() {
    if (!FCompletionForm || FClosingCompletion) return;
    FClosingCompletion = true;
    TAdvAutoform* form = FCompletionForm;
    FCompletionForm = nullptr;
    if (FAutoCompletion->KeepLastSize() && form->Showing()) {
        FAutoCompletion->SetAutoWidth(false);
        FAutoCompletion->SetWidth(int(std::lround(form->Width() / FDPIScale)));
        FAutoCompletion->SetHeight(int(std::lround(form->Height() / FDPIScale)));
    }
    DetachHandlers(*form);
    form->Hide();
    if (CanFocus()) SetFocus();
    if (!FHiddenCaret) UpdateCaret(true);
    // Released, not deleted: this may run inside one of the form's own handlers.
    form->Release();
    FClosingCompletion = false;
}

void TAdvCustomMemo::CompletionKeyPress(wchar_t& key) {
    const wchar_t c = key;
    key = 0;
    switch (c) {
        case VK_BACK: {
            if (!FReadOnly) BackspaceKeyCommand(0);
            // Blank-delimited, so that the start token itself is seen: erased, the list goes.
            const std::wstring word = FullWordAtXY(FCurX, FCurY);
            if (FAutoCompleteDot && word.find(L'.') == std::wstring::npos && word.find(L')') == std::wstring::npos) {
                HideAutoCompletion();
            } else {
                // After a start token the entries are still those of the token ("OBJ."); only
                // the filter follows what is typed after it.
                const std::wstring upper = ClassLib::AnsiUpperCase(CompletionWord());
                FillAutoCompleteList(FAutoCompleteDot ? FCompletionToken : upper);
                FillCompletionListBox(upper);
            }
            Invalidate();
            return;
        }
        case VK_TAB:
        case VK_ESCAPE:
            HideAutoCompletion();
            return;
        case VK_RETURN:
            InsertCompletion(true);
            return;
        case L' ':
            InsertCompletion(true);
            if (IsCompletionEndChar(L' ')) {
                wchar_t blank = L' ';
                KeyPress(blank);
            }
            return;
        default:
            break;
    }
    if (IsIdentifierChar(c)) {
        wchar_t typed = c;
        KeyPress(typed);
        FillCompletionListBox(ClassLib::AnsiUpperCase(CompletionWord()));
        Invalidate();
        return;
    }
    if (IsCompletionEndChar(c)) {
        InsertCompletion(false);
    } else {
        ClassLib::FireEvent(OnCancelAutoCompletion, this);
        HideAutoCompletion();
    }
    wchar_t typed = c;
    KeyPress(typed);
}

void TAdvCustomMemo::CompletionKeyDown(WORD& key) {
    if (key != VK_DELETE) return;
    key = 0;
    if (!FReadOnly) ExecuteKey(VK_DELETE, 0);
    Invalidate();
}

void TAdvCustomMemo::InsertCompletion(bool allowParens) {
    if (!FCompletionForm) return;
    TAutoCompletionListBox* list = FCompletionForm->ListBox();
    const int index = list->ItemIndex();
    if (index < 0 || index >= list->Items()->Count()) return;
    const std::wstring entry = list->Items()->Strings(index);
    std::wstring text = entry;
    if (OnInsertAutoCompletionEntry) OnInsertAutoCompletionEntry(this, text);
    bool parens = false;
    if (text == entry) text = CompletionInsertText(entry, allowParens, parens);

    // What the text replaces: the identifier around the caret, or what was typed after the
    // start token.
    const std::wstring line = LineText(FCurY);
    const int length = static_cast<int>(line.size());
    int from = std::min(FCurX, length), to = from;
    if (!FAutoCompleteDot || EndsWithStartToken(TokenAtXY(FDotPoint.X, FDotPoint.Y))) {
        auto bound = [](wchar_t ch) { return std::wstring(L" (),.[]").find(ch) != std::wstring::npos; };
        while (from > 0 && !bound(line[from - 1])) --from;
        while (to < length && !bound(line[to])) ++to;
    } else {
        from = std::clamp(FDotPoint.X, 0, from);
    }
    // The list goes first: giving the focus back to the memo would otherwise cancel it.
    HideAutoCompletion();
    ClassLib::FireEvent(OnAutoCompletion, this);
    FSelStartX = from;
    FSelEndX = to;
    FSelStartY = FSelEndY = FCurY;
    FCurX = to;
    InsertText(text);
    if (parens) {
        SetCurX(FCurX - 1);
        ShowParameterHint();
    }
    Invalidate();
}

// ---------------------------------------------------------------- parameter hint

bool TAdvCustomMemo::ParameterHintShowing() const { return FHintForm && FHintForm->Showing(); }

void TAdvCustomMemo::HideParameterHint() { HideHint(); }

void TAdvCustomMemo::HideHint() {
    if (FHintTimer) FHintTimer->SetEnabled(false);
    if (FHintForm && FHintForm->Showing()) FHintForm->HideHint();
}

void TAdvCustomMemo::ParameterHintTimerStart() {
    if (!FHintTimer) {
        FHintTimer = std::make_unique<ClassLib::TTimer>(nullptr);
        FHintTimer->SetEnabled(false);
        FHintTimer->SetOnTimer([this](ClassLib::TObject* sender) {
            ClassLib::CallGuarded(sender, [this] { HideHint(); });
        });
    }
    if (FAutoHintParameterDelay >= 0) FHintTimer->SetInterval(unsigned(FAutoHintParameterDelay));
    FHintTimer->SetEnabled(false);
    FHintTimer->SetEnabled(true);
}

bool TAdvCustomMemo::UpdateParameterHint() {
    TAdvCustomMemoStyler* styler = FUseStyler ? EffectiveStyler() : nullptr;
    if (!styler || FCurY < 0 || FCurY >= LineCount()) return false;
    const THintParameter& chars = *styler->HintParameter();
    std::wstring hint;
    int index = 0;
    bool handled = false, show = true;
    GetCustomParameterHint(hint, index, handled, show);
    if (handled && !show) {
        HideHint();
        return false;
    }
    // Nothing could answer: neither the line nor its comment state is looked at.
    if (!handled && chars.Parameters()->Count() == 0 && !OnGetParameterHint) return false;
    if (Tokenizer().GetLineStyle(FCurY).isComment != 0) return false;
    std::wstring name;
    if (!handled) {
        std::wstring line = LineText(FCurY);
        if (!FCaseSensitive) line = ClassLib::AnsiUpperCase(line);
        if (!FindHintCall(line, FCurX, chars, name, index)) {
            HideHint();
            return false;
        }
        bool eventHandled = false;
        if (OnGetParameterHint) OnGetParameterHint(this, name, hint, eventHandled);
        if (!eventHandled) hint = FindHintSignature(name, chars, FCaseSensitive);
    }
    if (hint.empty()) {
        HideHint();
        return false;
    }
    const THintParts parts = SplitParameterHint(hint, index, chars);
    if (OnRetrievedParameterHint) OnRetrievedParameterHint(this, name, parts.Part2);
    if (!FHintForm) {
        FHintForm = std::make_unique<TAdvHintForm>(nullptr);
        FHintForm->OnClickActivate = [this] {
            if (CanFocus()) SetFocus();
        };
    }
    FHintForm->part1 = parts.Part1;
    FHintForm->part2 = parts.Part2;
    FHintForm->part3 = parts.Part3;
    FHintForm->Active = parts.Active;
    ParameterHintTimerStart();
    return true;
}

void TAdvCustomMemo::ShowParameterHint() {
    TAdvCustomMemoStyler* styler = FUseStyler ? EffectiveStyler() : nullptr;
    if (!styler || !HandleAllocated()) return;
    const int row = LineIndexToVisIndex(FCurY) - LineIndexToVisIndex(FTopLine);
    if (row < 0 || row > VisibleLineCount()) return;
    if (!UpdateParameterHint()) {
        HideHint();
        return;
    }
    TAdvHintForm& hint = *FHintForm;
    const THintParameter& chars = *styler->HintParameter();
    hint.Font()->Assign(Font());
    hint.Font()->SetColor(chars.TextColor());
    hint.SetColor(chars.BkColor());
    const ClassLib::TSize size = hint.HintSize();
    const TMemoRect caretRow = LineRect(FCurY);
    const ClassLib::TPoint caret = ClientToScreen({TextArea().Left + (FCurX - FLeftCol) * CharWidth(), caretRow.Top});
    int x = hint.Showing() ? hint.Left() : caret.X;
    int y = FAutoHintParameterPosition == hpBelowCode ? caret.Y + CharHeight() : caret.Y - size.cy;
    const ClassLib::TRect area = ClassLib::Screen->MonitorFromPoint(caret).WorkareaRect;
    x = std::max(std::min(x, area.Right - size.cx), area.Left);
    y = std::max(std::min(y, area.Bottom - size.cy - 5), area.Top);
    FHintShowing = true;
    hint.ShowAt(x, y, size.cx, size.cy);
    FHintShowing = false;
}

void TAdvCustomMemo::ReleasePopups() {
    FAutoCompleteTimer.reset();
    FHintTimer.reset();
    if (TAdvAutoform* form = FCompletionForm) {
        FCompletionForm = nullptr;
        DetachHandlers(*form);
        form->BeforeDestruction();
        delete form;
    }
    FHintForm.reset();
}

}  // namespace AdvMemo

#pragma pop_macro("GetObject")
