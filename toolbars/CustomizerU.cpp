#include "toolbars/CustomizerU.h"

#include <algorithm>
#include <cwctype>

#include "classlib/ButtonControls.h"
#include "classlib/Dialogs.h"
#include "classlib/EditControls.h"
#include "classlib/ImageList.h"
#include "classlib/IniFiles.h"
#include "classlib/Properties.h"
#include "classlib/Screen.h"
#include "classlib/SpeedButton.h"
#include "classlib/StandardControls.h"
#include "classlib/StringList.h"
#include "controls/AdvGlowButton.h"
#include "toolbars/AdvOptionLayout.h"
#include "toolbars/AdvToolBar.h"
#include "toolbars/AdvToolBarItem.h"
#include "toolbars/CustomizerBtnU.h"

namespace CustomizerU {

using namespace ClassLib;
using AdvToolBar::TATBItemProp;
using AdvToolBar::TAdvCustomToolBar;
using AdvToolBar::TAdvToolBarCustomizer;
using AdvToolBar::TToolBarItemKind;

CLASSLIB_IMPLEMENT(TCustomizerForm, ClassLib::TForm)

namespace {

TCustomizerDialogHook& DialogHook() {
    static TCustomizerDialogHook hook;
    return hook;
}

TButtonDialogHook& ButtonHook() {
    static TButtonDialogHook hook;
    return hook;
}

int GetOrdinal(const TObject* object, const wchar_t* name, int fallback) {
    const TPropInfo* info = object->ClassType().Published().Find(name);
    return info && info->IsOrdinal() && info->GetOrd ? int(info->GetOrd(object)) : fallback;
}

TToolBarItemKind KindOf(const TControl* control) {
    const auto* item = dynamic_cast<const AdvToolBar::IToolBarItem*>(control);
    return item ? item->ToolBarItemKind() : TToolBarItemKind::Control;
}

bool SameText(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return std::towupper(x) == std::towupper(y);
           });
}

// A button's record: what the dialog can edit.
std::unique_ptr<TATBItemProp> ButtonRecord(TControl* control) {
    auto prop = std::make_unique<TATBItemProp>();
    prop->ATBItem = control;
    if (auto* glow = dynamic_cast<AdvGlowButton::TAdvCustomGlowButton*>(control)) {
        prop->CommandID = glow->ToolBarFields().CommandID;
        prop->CustomizerCreated = glow->ToolBarFields().CustomizerCreated;
    } else if (auto* item = dynamic_cast<AdvToolBar::ICustomizedItem*>(control)) {
        prop->CommandID = item->CustomizerCommandID();
        prop->CustomizerCreated = item->CustomizerCreated();
        prop->ForceImageIndex = item->CustomizerForceImageIndex();
    }
    prop->Caption = control->Caption();
    prop->Hint = control->Hint();
    prop->Visible = control->Visible();
    prop->ImageIndex = GetOrdinal(control, L"ImageIndex", -1);
    prop->ShowCaption = GetOrdinal(control, L"ShowCaption", 1) != 0;
    return prop;
}

}  // namespace

// ---------------------------------------------------------------- rows

void TCustomizerRows::LoadFrom(const TAdvCustomToolBar& toolBar) {
    Clear();
    for (int i = 0; i < toolBar.ToolBarControlCount(); ++i) {
        TControl* control = toolBar.GetToolBarControls(i);
        TItemRow row;
        const bool glow = dynamic_cast<AdvGlowButton::TAdvCustomGlowButton*>(control) != nullptr;
        const TToolBarItemKind kind = KindOf(control);
        if (glow || kind == TToolBarItemKind::Button) {
            row.Prop = ButtonRecord(control);
            row.Text = control->Caption();
        } else if (kind == TToolBarItemKind::Separator) {
            row.Prop = std::make_unique<TATBItemProp>();
            row.Prop->ATBItem = control;
            row.Text = L"Separator";
        } else if (kind == TToolBarItemKind::Container) {
            row.Prop = std::make_unique<TATBItemProp>();
            row.Prop->ATBItem = control;
            row.Prop->Visible = control->Visible();
            row.Text = control->Caption().empty() ? control->Name() : control->Caption();
        } else {
            row.Text = control->Name();
        }
        FRows.push_back(std::move(row));
    }
    FSelected = Count() > 0 ? 0 : -1;
}

bool TCustomizerRows::MoveTop() {
    if (FSelected <= 0) return false;
    std::rotate(FRows.begin(), FRows.begin() + FSelected, FRows.begin() + FSelected + 1);
    FSelected = 0;
    return true;
}

bool TCustomizerRows::MoveBottom() {
    if (FSelected < 0 || FSelected >= Count() - 1) return false;
    std::rotate(FRows.begin() + FSelected, FRows.begin() + FSelected + 1, FRows.end());
    FSelected = Count() - 1;
    return true;
}

bool TCustomizerRows::MoveUp() {
    if (Count() == 0) return false;
    if (FSelected < 0) {
        FSelected = Count() - 1;
        return false;
    }
    const int target = FSelected == 0 ? Count() - 1 : FSelected - 1;
    if (target == FSelected) return false;
    std::swap(FRows[size_t(FSelected)], FRows[size_t(target)]);
    FSelected = target;
    return true;
}

bool TCustomizerRows::MoveDown() {
    if (Count() == 0) return false;
    if (FSelected < 0) {
        FSelected = 0;
        return false;
    }
    const int target = FSelected == Count() - 1 ? 0 : FSelected + 1;
    if (target == FSelected) return false;
    std::swap(FRows[size_t(FSelected)], FRows[size_t(target)]);
    FSelected = target;
    return true;
}

bool TCustomizerRows::MoveTo(int target) {
    if (FSelected < 0 || target < 0 || target >= Count() || target == FSelected) return false;
    TItemRow row = std::move(FRows[size_t(FSelected)]);
    FRows.erase(FRows.begin() + FSelected);
    FRows.insert(FRows.begin() + target, std::move(row));
    FSelected = target;
    return true;
}

void TCustomizerRows::Insert(TItemRow row) {
    const int at = FSelected < 0 || FSelected >= Count() - 1 ? Count() : FSelected + 1;
    FRows.insert(FRows.begin() + at, std::move(row));
    FSelected = at;
}

void TCustomizerRows::InsertCommand(int commandID, const std::wstring& caption, int imageIndex, bool glowButton) {
    TItemRow row;
    row.Text = caption;
    row.Prop = std::make_unique<TATBItemProp>();
    row.Prop->IsATBButton = !glowButton;
    row.Prop->IsGlowButton = glowButton;
    row.Prop->CustomizerCreated = true;
    row.Prop->ImageIndex = imageIndex;
    row.Prop->ForceImageIndex = true;
    row.Prop->Caption = caption;
    row.Prop->Hint = caption;
    row.Prop->Visible = true;
    row.Prop->CommandID = commandID;
    Insert(std::move(row));
}

void TCustomizerRows::InsertSeparator(const std::wstring& name) {
    TItemRow row;
    row.Text = L"Separator";
    row.Prop = std::make_unique<TATBItemProp>();
    row.Prop->IsSeparator = true;
    row.Prop->CustomizerCreated = true;
    row.Prop->Caption = name;
    Insert(std::move(row));
}

bool TCustomizerRows::DeleteSelected() {
    if (FSelected < 0 || FSelected >= Count()) return false;
    FRows.erase(FRows.begin() + FSelected);
    if (FSelected >= Count()) FSelected = Count() - 1;
    return true;
}

void TCustomizerRows::Clear() {
    FRows.clear();
    FSelected = -1;
}

std::wstring NewSeparatorName(const TAdvCustomToolBar& toolBar) {
    for (int n = 1;; ++n) {
        const std::wstring name = L"AdvToolBarSeparator" + std::to_wstring(n);
        bool taken = false;
        for (int i = 0; i < toolBar.ControlCount() && !taken; ++i) taken = SameText(toolBar.Controls(i)->Name(), name);
        if (!taken) return name;
    }
}

// ---------------------------------------------------------------- saving

void SaveItems(const TCustomizerRows& rows, TAdvToolBarCustomizer& customizer, const TToolBarSettings& settings) {
    if (!customizer.EnablePersistence() || customizer.FileName().empty()) return;
    TIniFile file(customizer.FileName());
    const std::wstring section = customizer.Name();
    TAdvCustomToolBar* toolBar = customizer.AdvToolBar();
    std::vector<std::wstring> names;
    for (int i = 0; i < rows.Count(); ++i)
        if (rows.Row(i).Prop && rows.Row(i).Prop->ATBItem) names.push_back(rows.Row(i).Prop->ATBItem->Name());
    for (const std::wstring& key : file.ReadSection(section)) file.DeleteKey(section, key);

    // A name for an item the dialog added: free on the toolbar and among the rows.
    auto freeName = [&](const std::wstring& wanted, const std::wstring& stem) {
        auto taken = [&](const std::wstring& name) {
            if (toolBar && toolBar->FindComponent(name)) return true;
            return std::any_of(names.begin(), names.end(), [&](const std::wstring& n) { return SameText(n, name); });
        };
        std::wstring name = wanted;
        if (!AdvToolBar::IsValidComponentName(name) || taken(name))
            for (int n = 1; taken(name = stem + std::to_wstring(n)); ++n) {}
        names.push_back(name);
        return name;
    };

    if (settings.CaptionShown) file.WriteString(section, L"ATBCaption", settings.Caption);
    if (settings.GlyphPositionShown) file.WriteInteger(section, L"GlyphPosition", settings.GlyphPosition);
    if (settings.LargeIconShown) file.WriteInteger(section, L"LargeIcon", settings.LargeIcon ? 1 : 0);
    file.WriteInteger(section, L"ToolBarItemCount", rows.Count());
    const AdvToolBar::TButtonProperties& switches = *customizer.ButtonProperties();
    for (int i = 0; i < rows.Count(); ++i) {
        const TItemRow& row = rows.Row(i);
        const std::wstring key = L"Name" + std::to_wstring(i);
        auto writeButton = [&](const TATBItemProp& prop, bool withCommand) {
            if (withCommand) file.WriteInteger(section, key + L".CommandID", prop.CommandID);
            if (switches.Glyph) {
                file.WriteInteger(section, key + L".ImageIndex", prop.ImageIndex);
                file.WriteInteger(section, key + L".ForceImageIndex", prop.ForceImageIndex ? 1 : 0);
            }
            if (switches.Visible) file.WriteInteger(section, key + L".Visible", prop.Visible ? 1 : 0);
            if (switches.ShowCaption) file.WriteInteger(section, key + L".ShowCaption", prop.ShowCaption ? 1 : 0);
            if (switches.Caption) file.WriteString(section, key + L".Caption", prop.Caption);
            if (switches.Hint) file.WriteString(section, key + L".Hint", prop.Hint);
        };
        if (!row.Prop) {
            file.WriteString(section, key, row.Text);
            file.WriteString(section, key + L".ClassName", L"-1");
            continue;
        }
        const TATBItemProp& prop = *row.Prop;
        if (prop.ATBItem) {
            const std::wstring className = TAdvToolBarCustomizer::StoredClassName(prop.ATBItem);
            file.WriteString(section, key, prop.ATBItem->Name());
            file.WriteString(section, key + L".ClassName", className);
            if (className == AdvToolBar::ToolBarButtonClassName || className == AdvToolBar::GlowButtonClassName)
                writeButton(prop, prop.CustomizerCreated);
        } else if (prop.IsATBButton) {
            file.WriteString(section, key, freeName(L"", AdvToolBar::ToolBarButtonClassName));
            file.WriteString(section, key + L".ClassName", AdvToolBar::ToolBarButtonClassName);
            writeButton(prop, true);
        } else if (prop.IsGlowButton) {
            file.WriteString(section, key, freeName(row.Text, AdvToolBar::GlowButtonClassName));
            file.WriteString(section, key + L".ClassName", AdvToolBar::GlowButtonClassName);
            writeButton(prop, true);
        } else if (prop.IsSeparator) {
            file.WriteString(section, key, freeName(prop.Caption, L"AdvToolBarSeparator"));
            file.WriteString(section, key + L".ClassName", AdvToolBar::ToolBarSeparatorClassName);
        } else {
            file.WriteString(section, key, row.Text);
            file.WriteString(section, key + L".ClassName", L"-1");
        }
    }
}

// ---------------------------------------------------------------- the dialog

TCustomizerForm::TCustomizerForm(TAdvToolBarCustomizer* customizer)
    : TForm(customizer), FToolBarCustomizer(customizer) {
    SetBorderStyle(bsToolWindow);
    SetPosition(poDesigned);
    Font()->SetName(L"MS Sans Serif");
    Font()->SetHeight(-11);
    SetClientWidth(387);
    SetClientHeight(363);
    BuildControls();
}

TCustomizerForm::~TCustomizerForm() = default;

void TCustomizerForm::BuildControls() {
    auto place = [](TControl* control, TWinControl* parent, int left, int top, int width, int height) {
        control->SetParent(parent);
        control->SetBounds(left, top, width, height);
    };
    auto label = [&](TWinControl* parent, int left, int top) {
        auto* l = new TLabel(this);
        l->SetParent(parent);
        l->SetLeft(left);
        l->SetTop(top);
        return l;
    };
    auto speed = [&](int top, const wchar_t* glyphText, void (TCustomizerForm::*handler)(TObject*)) {
        auto* b = new TSpeedButton(this);
        place(b, GroupBox1, 173, top, 23, 22);
        b->SetFlat(true);
        b->SetCaption(glyphText);
        b->SetShowHint(true);
        b->OnClick = [this, handler](TObject* sender) { (this->*handler)(sender); };
        return b;
    };
    GroupBox1 = new TGroupBox(this);
    place(GroupBox1, this, 9, 3, 369, 253);
    LblToolbarItems = label(GroupBox1, 9, 10);
    LstBxToolBarItems = new TListBox(this);
    place(LstBxToolBarItems, GroupBox1, 7, 26, 162, 219);
    LstBxToolBarItems->SetItemHeight(20);
    LstBxToolBarItems->OnClick = [this](TObject*) {
        FRows.Select(LstBxToolBarItems->ItemIndex());
        UpdateButtons();
    };
    LstBxToolBarItems->OnDblClick = [this](TObject* sender) {
        if (BtnEdit->Enabled() && BtnEdit->Visible()) BtnEditClick(sender);
    };
    LstBxToolBarItems->SetStyle(lbOwnerDrawFixed);
    LstBxToolBarItems->OnDrawItem = [this](TWinControl*, int index, TRect rect, TOwnerDrawState) {
        DrawItemRow(index, rect);
    };
    // Rows move by dragging within the list; a command dragged in becomes a button.
    LstBxToolBarItems->OnDragOver = [this](TObject*, TObject* source, int, int, TDragState, bool& accept) {
        accept = source == LstBxToolBarItems || source == LstBxCommand;
    };
    LstBxToolBarItems->OnDragDrop = [this](TObject*, TObject* source, int x, int y) {
        if (source == LstBxToolBarItems) {
            Moved(FRows.MoveTo(LstBxToolBarItems->ItemAtPos({x, y})));
        } else if (source == LstBxCommand && CommandIndex() >= 0) {
            AddButtonClick(source);
        }
    };
    TopButton = speed(26, L"\u2191\u2191", &TCustomizerForm::TopButtonClick);
    UpButton = speed(48, L"\u2191", &TCustomizerForm::UpButtonClick);
    DownButton = speed(70, L"\u2193", &TCustomizerForm::DownButtonClick);
    BottomButton = speed(92, L"\u2193\u2193", &TCustomizerForm::BottomButtonClick);
    AddButton = speed(114, L"+", &TCustomizerForm::AddButtonClick);
    AddGlowButton = speed(136, L"G", &TCustomizerForm::AddGlowButtonClick);
    SeparatorButton = speed(158, L"|", &TCustomizerForm::SeparatorButtonClick);
    DeleteButton = speed(180, L"\u00D7", &TCustomizerForm::DeleteButtonClick);
    ClearButton = speed(202, L"\u2205", &TCustomizerForm::ClearButtonClick);
    BtnEdit = speed(224, L"\u2026", &TCustomizerForm::BtnEditClick);
    LblCommands = label(GroupBox1, 201, 10);
    LstBxCommand = new TListBox(this);
    place(LstBxCommand, GroupBox1, 199, 26, 162, 193);
    LstBxCommand->SetItemHeight(13);
    LstBxCommand->OnClick = [this](TObject*) { UpdateButtons(); };
    LstBxCommand->SetDragMode(dmAutomatic);
    CmBxIcon = new TComboBox(this);
    place(CmBxIcon, GroupBox1, 199, 223, 162, 22);

    GroupBox2 = new TGroupBox(this);
    place(GroupBox2, this, 9, 258, 369, 65);
    LblCaption = label(GroupBox2, 7, 20);
    EdtCaption = new TEdit(this);
    place(EdtCaption, GroupBox2, 64, 16, 103, 21);
    EdtCaption->OnChange = [this](TObject*) { MarkModified(); };
    LblGlphPos = label(GroupBox2, 200, 21);
    CmBxGlphPos = new TComboBox(this);
    place(CmBxGlphPos, GroupBox2, 301, 16, 60, 21);
    CmBxGlphPos->OnChange = [this](TObject*) { MarkModified(); };
    ChkLargeIcon = new TCheckBox(this);
    place(ChkLargeIcon, GroupBox2, 7, 43, 162, 16);
    ChkLargeIcon->OnClick = [this](TObject*) { MarkModified(); };

    BtnOk = new TButton(this);
    place(BtnOk, this, 122, 333, 75, 25);
    BtnOk->SetDefault(true);
    BtnOk->OnClick = [this](TObject* sender) { OkBitBtnClick(sender); };
    BtnCancel = new TButton(this);
    place(BtnCancel, this, 197, 333, 75, 25);
    BtnCancel->SetCancel(true);
    BtnCancel->SetModalResult(mrCancel);
    BtnReset = new TButton(this);
    place(BtnReset, this, 303, 334, 75, 24);
    BtnReset->SetModalResult(mrNoToAll);
}

void TCustomizerForm::ApplySettings() {
    const AdvToolBar::TDialogSettings& s = *FToolBarCustomizer->DialogSettings();
    TForm::SetCaption(s.Caption);
    LblToolbarItems->SetCaption(s.ToolBarLabel);
    LblCommands->SetCaption(s.CommandLabel);
    LblCaption->SetCaption(s.CaptionLabel);
    LblGlphPos->SetCaption(s.GlyphPosLabel);
    ChkLargeIcon->SetCaption(s.LargeIconCheck);
    TopButton->SetHint(s.TopHint);
    UpButton->SetHint(s.UpHint);
    DownButton->SetHint(s.DownHint);
    BottomButton->SetHint(s.BottomHint);
    AddButton->SetHint(s.AddHint);
    AddGlowButton->SetHint(s.AddGlowButtonHint);
    SeparatorButton->SetHint(s.AddSeparatorHint);
    DeleteButton->SetHint(s.DeleteHint);
    ClearButton->SetHint(s.DeleteAllHint);
    BtnEdit->SetHint(s.EditHint);
    BtnOk->SetCaption(s.OKButtonCaption);
    BtnOk->SetHint(s.OKButtonHint);
    BtnCancel->SetCaption(s.CancelButtonCaption);
    BtnCancel->SetHint(s.CancelButtonHint);
    BtnReset->SetCaption(s.ResetButtonCaption);
    BtnReset->SetHint(s.ResetButtonHint);
    CmBxGlphPos->Items()->Clear();
    for (const std::wstring* text : {&s.GlyphPositionLeftCaption, &s.GlyphPositionTopCaption,
                                     &s.GlyphPositionRightCaption, &s.GlyphPositionBottomCaption})
        CmBxGlphPos->Items()->Add(*text);
    SetCaption(s.EditCaption);
    SetGlyphPosition(s.EditGlyphPosition);
    ChkLargeIcon->SetVisible(s.LargeIcon && FToolBarCustomizer->LargeImages());
}

void TCustomizerForm::SetCaption(bool value) {
    EdtCaption->SetVisible(value);
    LblCaption->SetVisible(value);
}

void TCustomizerForm::SetGlyphPosition(bool value) {
    CmBxGlphPos->SetVisible(value);
    LblGlphPos->SetVisible(value);
}

void TCustomizerForm::LoadComponents() {
    ApplySettings();
    TAdvCustomToolBar* toolBar = FToolBarCustomizer->AdvToolBar();
    if (!toolBar) return;
    FRows.LoadFrom(*toolBar);
    ShowRows();
    LstBxCommand->Items()->Clear();
    AdvToolBar::TATBCommands& commands = *FToolBarCustomizer->Commands();
    for (int i = 0; i < commands.Count(); ++i) LstBxCommand->Items()->Add(commands.Items(i)->Caption());
    const int images = toolBar->Images() ? toolBar->Images()->Count() : 0;
    CmBxIcon->Items()->Clear();
    for (int i = 0; i < images; ++i) CmBxIcon->Items()->Add(std::to_wstring(i));
    CmBxIcon->Items()->Add(FToolBarCustomizer->DialogSettings()->GlyphEditNoneIconCaption);
    const bool iconBox = images > 0 && FToolBarCustomizer->DialogSettings()->EditGlyphVisible;
    CmBxIcon->SetVisible(iconBox);
    LstBxCommand->SetHeight(iconBox ? 193 : 219);
    CmBxIcon->SetEnabled(FToolBarCustomizer->DialogSettings()->EditGlyph);
    EdtCaption->SetText(toolBar->Caption());
    int glyphPosition = 0;
    for (int i = 0; i < toolBar->ToolBarControlCount(); ++i)
        if (KindOf(toolBar->GetToolBarControls(i)) == TToolBarItemKind::Button) {
            glyphPosition = GetOrdinal(toolBar->GetToolBarControls(i), L"GlyphPosition", 0);
            break;
        }
    CmBxGlphPos->SetItemIndex(glyphPosition);
    ChkLargeIcon->SetChecked(FToolBarCustomizer->LargeImages() && FToolBarCustomizer->LargeImages() == toolBar->Images());
    if (commands.Count() > 0) LstBxCommand->SetItemIndex(0);
    if (LstBxCommand->ItemIndex() >= 0 && iconBox) {
        const int icon = commands.Items(0)->ItemIndex();
        CmBxIcon->SetItemIndex(icon >= 0 && icon < images ? icon : images);
    }
    const AdvToolBar::TButtonProperties& p = *FToolBarCustomizer->ButtonProperties();
    FCanEditBtn = p.Caption || p.ShowCaption || p.Visible || p.Hint || p.Glyph;
    const AdvToolBar::TCustomizedOptions& o = *FToolBarCustomizer->Options();
    for (TControl* move : {static_cast<TControl*>(TopButton), static_cast<TControl*>(UpButton),
                           static_cast<TControl*>(DownButton), static_cast<TControl*>(BottomButton)})
        move->SetVisible(o.ReOrder);
    DeleteButton->SetVisible(o.Delete);
    ClearButton->SetVisible(o.DeleteAll);
    AddButton->SetVisible(o.AddButton && commands.Count() > 0);
    SeparatorButton->SetVisible(o.AddSeparator);
    AddGlowButton->SetVisible(o.AddGlowButton);
    BtnEdit->SetVisible(o.EditButton);
    LstBxToolBarItems->SetDragMode(o.ReOrder ? dmAutomatic : dmManual);
    // The visible buttons close up under the move buttons.
    int top = o.ReOrder ? BottomButton->Top() + BottomButton->Height() : TopButton->Top();
    for (TControl* b : {static_cast<TControl*>(AddButton), static_cast<TControl*>(AddGlowButton),
                        static_cast<TControl*>(SeparatorButton), static_cast<TControl*>(DeleteButton),
                        static_cast<TControl*>(ClearButton), static_cast<TControl*>(BtnEdit)}) {
        if (!b->Visible()) continue;
        b->SetTop(top);
        top += b->Height();
    }
    ArrangeSettings();
    UpdateButtons();
    FLoading = false;
}

void TCustomizerForm::ArrangeSettings() {
    LblCaption->SetVisible(EdtCaption->Visible());
    LblGlphPos->SetVisible(CmBxGlphPos->Visible());
    const bool caption = EdtCaption->Visible(), glyph = CmBxGlphPos->Visible();
    if (ChkLargeIcon->Visible()) {
        ChkLargeIcon->SetLeft(50);
        ChkLargeIcon->SetTop(43);
        if (!caption && glyph) {
            LblGlphPos->SetLeft(6);
            CmBxGlphPos->SetLeft(LblGlphPos->Left() + LblGlphPos->Width() + 5);
            ChkLargeIcon->SetLeft(200);
            ChkLargeIcon->SetTop(19);
        } else if (!caption && !glyph) {
            ChkLargeIcon->SetLeft(7);
            ChkLargeIcon->SetTop(16);
        } else if (!glyph) {
            ChkLargeIcon->SetLeft(200);
            ChkLargeIcon->SetTop(19);
        }
    }
    if (caption) EdtCaption->SetLeft(LblCaption->Left() + LblCaption->Width() + 5);
    if (glyph) LblGlphPos->SetLeft(CmBxGlphPos->Left() - 5 - LblGlphPos->Width());
    if (!caption && !glyph && !ChkLargeIcon->Visible()) {
        const int shrink = GroupBox2->Height();
        GroupBox2->SetVisible(false);
        SetHeight(Height() - shrink);
        BtnOk->SetTop(BtnOk->Top() - shrink);
        BtnCancel->SetTop(BtnCancel->Top() - shrink);
        BtnReset->SetTop(BtnOk->Top());
    }
}

void TCustomizerForm::DrawItemRow(int index, const TRect& rect) {
    TCanvas* canvas = LstBxToolBarItems->Canvas();
    canvas->FillRect(rect);
    if (index < 0 || index >= FRows.Count()) return;
    const TItemRow& row = FRows.Row(index);
    TAdvCustomToolBar* toolBar = FToolBarCustomizer->AdvToolBar();
    TCustomImageList* images = toolBar ? toolBar->Images() : nullptr;
    int x = 2;
    if (row.Prop) {
        const TATBItemProp& prop = *row.Prop;
        const bool separator = prop.IsSeparator || KindOf(prop.ATBItem) == TToolBarItemKind::Separator;
        if (separator) {
            x += 8;
        } else if (images) {
            // The icon column, drawn or left empty, keeps the captions in line.
            if (prop.ImageIndex >= 0 && prop.ImageIndex < images->Count())
                images->Draw(canvas, rect.Left + 2, rect.Top + 2, prop.ImageIndex);
            x += images->Width() + 8;
        }
    } else if (images) {
        x += images->Width() + 8;
    }
    x += 8;
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextOut(rect.Left + x, rect.Top + (LstBxToolBarItems->ItemHeight() - canvas->TextHeight(L"Wg")) / 2,
                    row.Text);
}

void TCustomizerForm::ShowRows() {
    TStrings* items = LstBxToolBarItems->Items();
    items->Clear();
    for (int i = 0; i < FRows.Count(); ++i) items->Add(FRows.Row(i).Text);
    LstBxToolBarItems->SetItemIndex(FRows.Selected());
}

void TCustomizerForm::UpdateButtons() {
    const int selected = FRows.Selected();
    const bool reorder = FToolBarCustomizer->Options()->ReOrder;
    bool editable = false;
    if (selected >= 0 && FRows.Row(selected).Prop) {
        const TATBItemProp& prop = *FRows.Row(selected).Prop;
        editable = prop.IsATBButton || prop.IsGlowButton ||
                   dynamic_cast<AdvGlowButton::TAdvCustomGlowButton*>(prop.ATBItem) ||
                   KindOf(prop.ATBItem) == TToolBarItemKind::Button;
    }
    BtnEdit->SetEnabled(FCanEditBtn && editable);
    TopButton->SetEnabled(selected > 0 && reorder);
    UpButton->SetEnabled(selected > 0 && reorder);
    DownButton->SetEnabled(selected >= 0 && selected < FRows.Count() - 1 && reorder);
    BottomButton->SetEnabled(selected >= 0 && selected < FRows.Count() - 1 && reorder);
    AddButton->SetEnabled(CommandIndex() >= 0);
    DeleteButton->SetEnabled(selected >= 0);
    ClearButton->SetEnabled(FRows.Count() > 0);
}

void TCustomizerForm::MarkModified() {
    if (!FLoading) FModified = true;
}

void TCustomizerForm::Moved(bool moved) {
    if (moved) {
        MarkModified();
        ShowRows();
    } else {
        LstBxToolBarItems->SetItemIndex(FRows.Selected());
    }
    UpdateButtons();
}

int TCustomizerForm::CommandIndex() const { return LstBxCommand->ItemIndex(); }

int TCustomizerForm::IconIndex() const { return CmBxIcon->Visible() ? CmBxIcon->ItemIndex() : -1; }

void TCustomizerForm::TopButtonClick(TObject*) { Moved(FRows.MoveTop()); }
void TCustomizerForm::UpButtonClick(TObject*) { Moved(FRows.MoveUp()); }
void TCustomizerForm::DownButtonClick(TObject*) { Moved(FRows.MoveDown()); }
void TCustomizerForm::BottomButtonClick(TObject*) { Moved(FRows.MoveBottom()); }

void TCustomizerForm::AddButtonClick(TObject*) {
    const int command = CommandIndex();
    if (command < 0) return;
    FRows.InsertCommand(command, FToolBarCustomizer->Commands()->Items(command)->Caption(), IconIndex(), false);
    Moved(true);
}

void TCustomizerForm::AddGlowButtonClick(TObject*) {
    const int command = CommandIndex();
    if (command < 0) return;
    FRows.InsertCommand(command, FToolBarCustomizer->Commands()->Items(command)->Caption(), IconIndex(), true);
    Moved(true);
}

void TCustomizerForm::SeparatorButtonClick(TObject*) {
    if (TAdvCustomToolBar* toolBar = FToolBarCustomizer->AdvToolBar()) {
        FRows.InsertSeparator(NewSeparatorName(*toolBar));
        Moved(true);
    }
}

void TCustomizerForm::DeleteButtonClick(TObject*) { Moved(FRows.DeleteSelected()); }

void TCustomizerForm::ClearButtonClick(TObject*) {
    if (MessageDlg(L"Are you sure that you want to clear ToolBar?", mtConfirmation, TMsgDlgButtons{mbYes, mbNo}, 0) !=
        mrYes)
        return;
    FRows.Clear();
    Moved(true);
}

void TCustomizerForm::BtnEditClick(TObject*) {
    const int selected = FRows.Selected();
    if (!FCanEditBtn || selected < 0 || !FRows.Row(selected).Prop) return;
    TItemRow& row = FRows.Row(selected);
    TATBItemProp& prop = *row.Prop;
    const bool glow = dynamic_cast<AdvGlowButton::TAdvCustomGlowButton*>(prop.ATBItem) != nullptr;
    if (!prop.IsATBButton && !prop.IsGlowButton && !glow && KindOf(prop.ATBItem) != TToolBarItemKind::Button) return;
    CustomizerBtnU::TCusBtnForm dialog(this, FToolBarCustomizer);
    dialog.LoadSettings();
    dialog.EdtBtnCaption->SetText(prop.Caption);
    dialog.EdtBtnHint->SetText(prop.Hint);
    dialog.ChkBtnShowCap->SetChecked(prop.ShowCaption);
    dialog.ChkBtnVis->SetChecked(prop.Visible);
    // A glow button of the designer's keeps its own picture.
    if (glow && !prop.CustomizerCreated) {
        dialog.CmBxGlyph->SetEnabled(false);
        dialog.CmBxGlyph->Items()->Clear();
    } else if (prop.ImageIndex >= 0 && prop.ImageIndex < dialog.CmBxGlyph->Items()->Count()) {
        dialog.CmBxGlyph->SetItemIndex(prop.ImageIndex);
    }
    dialog.AlignFields();
    const TPoint corner = ClientToScreen({75, 120});
    dialog.SetLeft(corner.X);
    dialog.SetTop(corner.Y);
    const int result = ButtonHook() ? ButtonHook()(dialog) : dialog.ShowModal();
    if (result == mrOk) {
        prop.Caption = dialog.EdtBtnCaption->Caption();
        prop.Hint = dialog.EdtBtnHint->Caption();
        prop.Visible = dialog.ChkBtnVis->Checked();
        prop.ShowCaption = dialog.ChkBtnShowCap->Checked();
        const int images = dialog.CmBxGlyph->Items()->Count() - 1;  // the last row means no icon
        const int chosen = dialog.CmBxGlyph->ItemIndex();
        if (FToolBarCustomizer->ButtonProperties()->Glyph && dialog.CmBxGlyph->Enabled() && chosen >= 0) {
            const int index = chosen >= images ? -1 : chosen;
            if (index != prop.ImageIndex) prop.ForceImageIndex = true;
            prop.ImageIndex = index;
        }
        row.Text = prop.Caption;
        MarkModified();
        ShowRows();
    }
    dialog.BeforeDestruction();
}

void TCustomizerForm::OkBitBtnClick(TObject*) {
    TToolBarSettings settings;
    settings.CaptionShown = EdtCaption->Visible();
    settings.Caption = EdtCaption->Caption();
    settings.GlyphPositionShown = CmBxGlphPos->Visible();
    settings.GlyphPosition = CmBxGlphPos->ItemIndex();
    settings.LargeIconShown = ChkLargeIcon->Visible();
    settings.LargeIcon = ChkLargeIcon->Checked();
    SaveItems(FRows, *FToolBarCustomizer, settings);
    SetModalResult(mrOk);
}

// ---------------------------------------------------------------- showing

TButtonDialogHook SetButtonDialogHook(TButtonDialogHook hook) {
    TButtonDialogHook old = std::move(ButtonHook());
    ButtonHook() = std::move(hook);
    return old;
}

TCustomizerDialogHook SetCustomizerDialogHook(TCustomizerDialogHook hook) {
    TCustomizerDialogHook old = std::move(DialogHook());
    DialogHook() = std::move(hook);
    return old;
}

void ShowCustomizerDialog(TAdvToolBarCustomizer& customizer) {
    TAdvCustomToolBar* toolBar = customizer.AdvToolBar();
    if (!toolBar) return;
    auto dialog = std::make_unique<TCustomizerForm>(&customizer);
    dialog->LoadComponents();
    TPoint place{toolBar->Left() + toolBar->Width() - 12, toolBar->Top() + toolBar->Height() + 1};
    if (toolBar->Parent()) place = toolBar->Parent()->ClientToScreen(place);
    const TRect work = Screen->WorkAreaRect();
    const int leftX = toolBar->Position() == AdvToolBar::daRight && toolBar->Parent()
                          ? toolBar->Parent()->ClientToScreen({toolBar->Left() - dialog->Width(), 0}).X
                          : work.Right - dialog->Width();
    place = AdvToolBar::KeepOnArea(place, {dialog->Width(), dialog->Height()}, work, 2, leftX);
    bool canShow = true;
    if (customizer.OnCanShow) customizer.OnCanShow(&customizer, place.X, place.Y, canShow);
    if (!canShow) return;
    dialog->SetLeft(place.X);
    dialog->SetTop(place.Y);
    FireEvent(customizer.OnBeforeDisplay, &customizer);
    const int result = DialogHook() ? DialogHook()(*dialog) : dialog->ShowModal();
    const bool modified = dialog->Modified();
    dialog->BeforeDestruction();
    dialog.reset();
    if (result == mrOk) {
        if (modified) {
            customizer.LoadCustomization();
            FireEvent(customizer.OnAfterPost, &customizer);
        }
    } else if (result == mrNoToAll) {
        customizer.ResetToolBar();
    }
}

}  // namespace CustomizerU
