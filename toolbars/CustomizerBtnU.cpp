#include "toolbars/CustomizerBtnU.h"

#include <algorithm>

#include "classlib/ButtonControls.h"
#include "classlib/EditControls.h"
#include "classlib/ImageList.h"
#include "classlib/StandardControls.h"
#include "classlib/StringList.h"
#include "toolbars/AdvToolBar.h"
#include "toolbars/AdvToolBarCustomizer.h"

namespace CustomizerBtnU {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TCusBtnForm, ClassLib::TForm)

TCusBtnForm::TCusBtnForm(TComponent* owner, AdvToolBar::TAdvToolBarCustomizer* customizer)
    : TForm(owner), FToolBarCustomizer(customizer) {
    SetBorderStyle(bsToolWindow);
    Font()->SetName(L"MS Sans Serif");
    Font()->SetHeight(-11);
    SetClientWidth(248);
    SetClientHeight(140);
    auto place = [](TControl* control, TWinControl* parent, int left, int top, int width, int height) {
        control->SetParent(parent);
        control->SetBounds(left, top, width, height);
    };
    auto label = [&](int left, int top) {
        auto* l = new TLabel(this);
        l->SetParent(GroupBox1);
        l->SetLeft(left);
        l->SetTop(top);
        return l;
    };
    GroupBox1 = new TGroupBox(this);
    place(GroupBox1, this, 8, 0, 233, 102);
    LblBtnCaption = label(9, 17);
    EdtBtnCaption = new TEdit(this);
    place(EdtBtnCaption, GroupBox1, 50, 14, 73, 21);
    LblBtnHint = label(26, 42);
    EdtBtnHint = new TEdit(this);
    place(EdtBtnHint, GroupBox1, 50, 38, 73, 21);
    LblGlyph = label(23, 67);
    CmBxGlyph = new TComboBox(this);
    place(CmBxGlyph, GroupBox1, 50, 62, 74, 19);
    CmBxGlyph->SetItemHeight(13);
    ChkBtnShowCap = new TCheckBox(this);
    place(ChkBtnShowCap, GroupBox1, 129, 17, 100, 17);
    ChkBtnVis = new TCheckBox(this);
    place(ChkBtnVis, GroupBox1, 129, 38, 99, 17);
    BtnOk = new TButton(this);
    place(BtnOk, this, 49, 109, 75, 25);
    BtnOk->SetDefault(true);
    BtnOk->SetModalResult(mrOk);
    BtnCancel = new TButton(this);
    place(BtnCancel, this, 124, 109, 75, 25);
    BtnCancel->SetCancel(true);
    BtnCancel->SetModalResult(mrCancel);
}

void TCusBtnForm::LoadSettings() {
    const AdvToolBar::TDialogSettings& s = *FToolBarCustomizer->DialogSettings();
    SetCaption(s.ButtonEditCaption);
    LblBtnCaption->SetCaption(s.ButtonEditCaptionLabel);
    LblBtnHint->SetCaption(s.ButtonEditHintLabel);
    LblGlyph->SetCaption(s.ButtonEditIconLabel);
    ChkBtnShowCap->SetCaption(s.ButtonEditCaptionCheck);
    ChkBtnVis->SetCaption(s.ButtonEditVisibleCheck);
    BtnOk->SetCaption(s.OKButtonCaption);
    BtnOk->SetHint(s.OKButtonHint);
    BtnCancel->SetCaption(s.CancelButtonCaption);
    BtnCancel->SetHint(s.CancelButtonHint);
    const AdvToolBar::TButtonProperties& p = *FToolBarCustomizer->ButtonProperties();
    CmBxGlyph->Items()->Clear();
    AdvToolBar::TAdvCustomToolBar* toolBar = FToolBarCustomizer->AdvToolBar();
    if (p.Glyph && toolBar && toolBar->Images()) {
        CmBxGlyph->SetItemHeight(toolBar->Images()->Height() + 3);
        for (int i = 0; i < toolBar->Images()->Count(); ++i) CmBxGlyph->Items()->Add(std::to_wstring(i));
        CmBxGlyph->Items()->Add(s.GlyphEditNoneIconCaption);
    }
    EdtBtnCaption->SetEnabled(p.Caption);
    EdtBtnHint->SetVisible(p.Hint);
    CmBxGlyph->SetVisible(p.Glyph);
    ChkBtnShowCap->SetVisible(p.ShowCaption);
    ChkBtnVis->SetVisible(p.Visible);
    LblBtnHint->SetVisible(p.Hint);
    LblGlyph->SetVisible(p.Glyph);
    if (!p.ShowCaption && p.Visible) {
        ChkBtnVis->SetLeft(139);
        ChkBtnVis->SetTop(11);
    }
}

void TCusBtnForm::AlignFields() {
    int widest = 0;
    for (TLabel* l : {LblBtnCaption, LblBtnHint, LblGlyph})
        if (l->Visible()) widest = std::max(widest, l->Width());
    if (widest <= 0) return;
    for (TControl* field : {static_cast<TControl*>(EdtBtnCaption), static_cast<TControl*>(EdtBtnHint),
                            static_cast<TControl*>(CmBxGlyph)})
        field->SetLeft(widest + 12);
    for (TLabel* l : {LblBtnCaption, LblBtnHint, LblGlyph}) l->SetLeft(widest + 7 - l->Width());
    const int left = std::max(ChkBtnShowCap->Left(), widest + EdtBtnCaption->Width() + 16);
    ChkBtnShowCap->SetLeft(left);
    ChkBtnVis->SetLeft(left);
    if (left + EdtBtnCaption->Width() >= GroupBox1->Width()) GroupBox1->SetWidth(left + EdtBtnCaption->Width() + 3);
    if (GroupBox1->Left() + GroupBox1->Width() >= ClientWidth())
        SetClientWidth(GroupBox1->Left() + GroupBox1->Width() + 6);
    BtnOk->SetLeft(ClientWidth() / 2 - BtnOk->Width());
    BtnCancel->SetLeft(BtnOk->Left() + BtnOk->Width());
}

}  // namespace CustomizerBtnU
