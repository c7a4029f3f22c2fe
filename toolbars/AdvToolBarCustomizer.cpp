#include "toolbars/AdvToolBarCustomizer.h"

#include <algorithm>
#include <cwctype>

#include "classlib/Actions.h"
#include "classlib/Exceptions.h"
#include "classlib/ImageList.h"
#include "classlib/MemIniFile.h"
#include "classlib/Properties.h"
#include "classlib/Screen.h"
#include "classlib/Streams.h"
#include "controls/AdvGlowButton.h"
#include "toolbars/AdvToolBar.h"
#include "toolbars/AdvToolBarItem.h"
#include "toolbars/CustomizerU.h"

namespace AdvToolBar {

using namespace ClassLib;
using AdvGlowButton::TAdvCustomGlowButton;

CLASSLIB_IMPLEMENT(TAdvToolBarCustomizer, ClassLib::TComponent)

namespace {

bool SameText(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return std::towupper(x) == std::towupper(y);
           });
}

const TPropInfo* Prop(const TObject* object, const wchar_t* name) {
    return object->ClassType().Published().Find(name);
}

int GetOrdinal(const TObject* object, const wchar_t* name, int fallback) {
    const TPropInfo* info = Prop(object, name);
    return info && info->IsOrdinal() && info->GetOrd ? int(info->GetOrd(object)) : fallback;
}

void SetOrdinal(TObject* object, const wchar_t* name, int value) {
    const TPropInfo* info = Prop(object, name);
    if (info && info->IsOrdinal() && info->SetOrd) info->SetOrd(object, value);
}

TToolBarItemKind KindOf(const TControl* control) {
    const auto* item = dynamic_cast<const IToolBarItem*>(control);
    return item ? item->ToolBarItemKind() : TToolBarItemKind::Control;
}

bool IsToolBarButton(const TControl* control) { return KindOf(control) == TToolBarItemKind::Button; }

// Command ID and customizer mark of a toolbar or glow button.
void MarkCustomized(TControl* control, int commandID) {
    if (auto* glow = dynamic_cast<TAdvCustomGlowButton*>(control)) {
        glow->ToolBarFields().CustomizerCreated = true;
        if (commandID >= 0) glow->ToolBarFields().CommandID = commandID;
    } else if (auto* item = dynamic_cast<ICustomizedItem*>(control)) {
        item->SetCustomizerCreated(true);
        if (commandID >= 0) item->SetCustomizerCommandID(commandID);
    }
}

bool IsCustomizerMade(TControl* control) {
    if (auto* glow = dynamic_cast<TAdvCustomGlowButton*>(control)) return glow->ToolBarFields().CustomizerCreated;
    if (auto* item = dynamic_cast<ICustomizedItem*>(control)) return item->CustomizerCreated();
    return false;
}

std::wstring Key(int index, const wchar_t* suffix = L"") { return L"Name" + std::to_wstring(index) + suffix; }

}  // namespace

bool IsValidComponentName(const std::wstring& name) {
    if (name.empty()) return false;
    auto letter = [](wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_'; };
    if (!letter(name[0])) return false;
    return std::all_of(name.begin(), name.end(), [&](wchar_t c) { return letter(c) || (c >= L'0' && c <= L'9'); });
}

// ---------------------------------------------------------------- commands

void TATBCommand::SetCaption(const std::wstring& value) {
    FCaption = value;
    std::replace(FCaption.begin(), FCaption.end(), L' ', L'_');
}

void TATBCommand::SetAction(TBasicAction* value) {
    FAction = value;
    if (auto* action = dynamic_cast<TCustomAction*>(value)) SetCaption(action->Caption());
}

void TATBCommand::Assign(const TATBCommand& source) {
    FCaption = source.FCaption;
    OnExecute = source.OnExecute;
}

TATBCommand* TATBCommands::Add() {
    FItems.push_back(std::make_unique<TATBCommand>());
    return FItems.back().get();
}

TATBCommand* TATBCommands::Insert(int index) {
    index = std::clamp(index, 0, Count());
    return FItems.insert(FItems.begin() + index, std::make_unique<TATBCommand>())->get();
}

TATBCommand* TATBCommands::Items(int index) const {
    return index >= 0 && index < Count() ? FItems[size_t(index)].get() : nullptr;
}

void TATBCommands::Assign(const TATBCommands& source) {
    FItems.clear();
    for (const auto& command : source.FItems) Add()->Assign(*command);
}

// ---------------------------------------------------------------- the component

const TPropertyList& TAdvToolBarCustomizer::Published() {
    static const TPropertyList list = TPropertyList::Extend(TComponent::Published());
    return list;
}

TAdvToolBarCustomizer::TAdvToolBarCustomizer(TComponent* owner) : TComponent(owner) {}

TAdvToolBarCustomizer::~TAdvToolBarCustomizer() {
    if (FAdvToolBar && FAdvToolBar->Customizer() == this) FAdvToolBar->SetCustomizer(nullptr);
}

void TAdvToolBarCustomizer::SetAdvToolBar(TAdvCustomToolBar* value) {
    if (value == FAdvToolBar) return;
    if (FAdvToolBar) {
        if (FAdvToolBar->Customizer() == this) FAdvToolBar->SetCustomizer(nullptr);
        FAdvToolBar->RemoveFreeNotification(this);
    }
    FAdvToolBar = value;
    if (FAdvToolBar) {
        FAdvToolBar->SetCustomizer(this);
        FAdvToolBar->FreeNotification(this);
    }
}

void TAdvToolBarCustomizer::SetLargeImages(TCustomImageList* value) {
    FLargeImages = value;
    if (value) value->FreeNotification(this);
}

void TAdvToolBarCustomizer::SetSmallImages(TCustomImageList* value) {
    FSmallImages = value;
    if (value) value->FreeNotification(this);
}

void TAdvToolBarCustomizer::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != opRemove || HasState(csDestroying)) return;
    if (component == FAdvToolBar) {
        FAdvToolBar = nullptr;
        FDeleteItems.clear();
    }
    if (component == FLargeImages) FLargeImages = nullptr;
    if (component == FSmallImages) FSmallImages = nullptr;
    if (auto* control = dynamic_cast<TControl*>(component))
        FDeleteItems.erase(std::remove(FDeleteItems.begin(), FDeleteItems.end(), control), FDeleteItems.end());
}

void TAdvToolBarCustomizer::SetFileName(const std::wstring& value) {
    if (value == FFileName) return;
    FFileName = value;
    if (FFileName.empty() || HasState(csDesigning) || HasState(csLoading)) return;
    SaveOriginal();
    LoadCustomization();
}

bool TAdvToolBarCustomizer::CanPersist() const {
    return FEnablePersistence && !FFileName.empty() && FAdvToolBar && !HasState(csDesigning);
}

std::unique_ptr<TMemIniFile> TAdvToolBarCustomizer::OpenFile() const {
    auto file = std::make_unique<TMemIniFile>();
    try {
        file->LoadFromFile(FFileName);
    } catch (const Exception&) {
        // A missing or unreadable file reads as empty.
    }
    file->SetFileName(FFileName);
    return file;
}

void TAdvToolBarCustomizer::CloseFile(std::unique_ptr<TMemIniFile>& file) {
    try {
        if (file->Modified()) file->UpdateFile();
    } catch (const Exception&) {
        // A file that cannot be written keeps the toolbar as it is; the layout is lost only
        // for the next start.
    }
    file.reset();
}

TControl* TAdvToolBarCustomizer::FindToolBarControl(const std::wstring& name) const {
    if (name.empty() || !FAdvToolBar) return nullptr;
    for (int i = 0; i < FAdvToolBar->ToolBarControlCount(); ++i) {
        TControl* control = FAdvToolBar->GetToolBarControls(i);
        if (control && SameText(control->Name(), name)) return control;
    }
    return nullptr;
}

std::wstring TAdvToolBarCustomizer::FreeItemName(const std::wstring& wanted, const std::wstring& stem) const {
    const TComponent* owner = FAdvToolBar;
    auto taken = [owner](const std::wstring& name) { return owner && owner->FindComponent(name); };
    if (IsValidComponentName(wanted) && !taken(wanted)) return wanted;
    for (int n = 1;; ++n) {
        const std::wstring name = stem + std::to_wstring(n);
        if (!taken(name)) return name;
    }
}

std::wstring TAdvToolBarCustomizer::StoredClassName(const TControl* control) {
    if (dynamic_cast<const TAdvCustomGlowButton*>(control)) return GlowButtonClassName;
    switch (KindOf(control)) {
        case TToolBarItemKind::Button: return ToolBarButtonClassName;
        case TToolBarItemKind::Separator: return ToolBarSeparatorClassName;
        default: return L"-1";
    }
}

void TAdvToolBarCustomizer::SaveOriginal() {
    if (!CanPersist()) return;
    auto file = OpenFile();
    const std::wstring section = Name() + L"Org";
    TAdvCustomToolBar* toolBar = FAdvToolBar;
    file->WriteString(section, L"ATBCaption", toolBar->Caption());
    int glyphPosition = 0;
    for (int i = 0; i < toolBar->ToolBarControlCount(); ++i)
        if (IsToolBarButton(toolBar->GetToolBarControls(i))) {
            glyphPosition = GetOrdinal(toolBar->GetToolBarControls(i), L"GlyphPosition", 0);
            break;
        }
    file->WriteInteger(section, L"GlyphPosition", glyphPosition);
    file->WriteInteger(section, L"LargeIcon", toolBar->Images() == FLargeImages ? 1 : 0);
    file->WriteInteger(section, L"ToolBarItemCount", toolBar->ToolBarControlCount());
    for (int i = 0; i < toolBar->ToolBarControlCount(); ++i) {
        TControl* control = toolBar->GetToolBarControls(i);
        const std::wstring className = StoredClassName(control);
        file->WriteString(section, Key(i), control->Name());
        file->WriteString(section, Key(i, L".ClassName"), className);
        if (className != ToolBarButtonClassName && className != GlowButtonClassName) continue;
        file->WriteInteger(section, Key(i, L".ImageIndex"), GetOrdinal(control, L"ImageIndex", -1));
        file->WriteInteger(section, Key(i, L".Visible"), control->Visible() ? 1 : 0);
        file->WriteInteger(section, Key(i, L".ShowCaption"), GetOrdinal(control, L"ShowCaption", 1) ? 1 : 0);
        file->WriteString(section, Key(i, L".Caption"), control->Caption());
        file->WriteString(section, Key(i, L".Hint"), control->Hint());
    }
    CloseFile(file);
}

TControl* TAdvToolBarCustomizer::CreateItem(const std::wstring& className, const std::wstring& name, int commandID) {
    TAdvCustomToolBar* toolBar = FAdvToolBar;
    TATBCommand* command = FCommands.Items(commandID);
    TControl* control = nullptr;
    std::wstring stem;
    if (SameText(className, GlowButtonClassName)) {
        auto* glow = new AdvGlowButton::TAdvGlowButton(toolBar);
        if (auto* images = dynamic_cast<TImageList*>(toolBar->Images())) glow->SetImages(images);
        glow->SetBounds(0, 0, 23, 22);
        glow->SetAutoSize(true);
        control = glow;
        stem = GlowButtonClassName;
    } else {
        // The item classes register themselves by name; without them such an item is skipped.
        const bool button = SameText(className, ToolBarButtonClassName);
        if (!button && !SameText(className, ToolBarSeparatorClassName)) return nullptr;
        const TClass* cls = GetClass(button ? L"TAdvToolBarButton" : L"TAdvToolBarSeparator");
        if (!cls || !cls->CanCreate()) return nullptr;
        control = dynamic_cast<TControl*>(cls->Create(toolBar));
        if (!control) return nullptr;
        stem = button ? ToolBarButtonClassName : L"AdvToolBarSeparator";
    }
    control->SetName(FreeItemName(name, stem));
    if (KindOf(control) != TToolBarItemKind::Separator) {
        MarkCustomized(control, command ? commandID : -1);
        if (command) {
            control->OnClick = command->OnExecute;
            if (command->Action()) control->SetAction(command->Action());
        }
    }
    toolBar->AddToolBarControl(control);
    return control;
}

void TAdvToolBarCustomizer::ApplyOrder(const std::vector<TControl*>& list, int glyphPosition, bool withGlyphPosition) {
    TAdvCustomToolBar* toolBar = FAdvToolBar;
    for (int p = 0; p < int(list.size()) && p < toolBar->ToolBarControlCount(); ++p) {
        TControl* control = list[size_t(p)];
        if (withGlyphPosition) {
            if (IsToolBarButton(control)) {
                SetOrdinal(control, L"GlyphPosition", glyphPosition);
            } else if (auto* glow = dynamic_cast<TAdvCustomGlowButton*>(control)) {
                static const AdvGlowButton::TButtonLayout layouts[] = {
                    AdvGlowButton::blGlyphLeft, AdvGlowButton::blGlyphTop, AdvGlowButton::blGlyphRight,
                    AdvGlowButton::blGlyphBottom};
                if (glyphPosition >= 0 && glyphPosition < 4) glow->SetLayout(layouts[glyphPosition]);
            }
        }
        const int index = toolBar->IndexOfToolBarControl(control);
        if (index >= 0 && index != p) toolBar->MoveToolBarControl(index, p);
    }
}

void TAdvToolBarCustomizer::ApplyImages(int largeIcon) {
    if (largeIcon == 1 && FLargeImages) FAdvToolBar->SetImages(FLargeImages);
    else if (FSmallImages) FAdvToolBar->SetImages(FSmallImages);
}

void TAdvToolBarCustomizer::LoadCustomization() {
    if (!CanPersist()) return;
    auto file = OpenFile();
    const std::wstring section = Name();
    TAdvCustomToolBar* toolBar = FAdvToolBar;
    if (FDialogSettings.EditCaption) toolBar->SetCaption(file->ReadString(section, L"ATBCaption", toolBar->Caption()));
    const int glyphPosition = FDialogSettings.EditGlyphPosition ? file->ReadInteger(section, L"GlyphPosition", 0) : 0;
    const int largeIcon = FDialogSettings.LargeIcon && FLargeImages ? file->ReadInteger(section, L"LargeIcon", 0) : 0;
    const int count = std::min(file->ReadInteger(section, L"ToolBarItemCount", -1), MaxStoredItems);
    if (count >= 0) {
        std::vector<TControl*> list;
        toolBar->BeginUpdate();
        for (int i = 0; i < count; ++i) {
            const std::wstring name = file->ReadString(section, Key(i), L"");
            const std::wstring className = file->ReadString(section, Key(i, L".ClassName"), L"");
            if (className.empty()) continue;
            TControl* control = FindToolBarControl(name);
            if (!control) control = CreateItem(className, name, file->ReadInteger(section, Key(i, L".CommandID"), -1));
            // Twice in the file: the first place counts.
            if (!control || std::find(list.begin(), list.end(), control) != list.end()) continue;
            auto* glow = dynamic_cast<TAdvCustomGlowButton*>(control);
            if (glow || IsToolBarButton(control)) {
                if (FButtonProperties.Glyph && (!glow || IsCustomizerMade(control)))
                    SetOrdinal(control, L"ImageIndex",
                               file->ReadInteger(section, Key(i, L".ImageIndex"), GetOrdinal(control, L"ImageIndex", -1)));
                auto* item = dynamic_cast<ICustomizedItem*>(control);
                if (FButtonProperties.Glyph && !glow && item)
                    item->SetCustomizerForceImageIndex(
                        file->ReadInteger(section, Key(i, L".ForceImageIndex"), item->CustomizerForceImageIndex() ? 1 : 0) != 0);
                if (FButtonProperties.Visible)
                    control->SetVisible(file->ReadInteger(section, Key(i, L".Visible"), control->Visible() ? 1 : 0) != 0);
                if (FButtonProperties.ShowCaption) {
                    const int current = GetOrdinal(control, L"ShowCaption", 1) ? 1 : 0;
                    SetOrdinal(control, L"ShowCaption", file->ReadInteger(section, Key(i, L".ShowCaption"), current) == 1);
                }
                if (FButtonProperties.Caption)
                    control->SetCaption(file->ReadString(section, Key(i, L".Caption"), control->Caption()));
                if (FButtonProperties.Hint) control->SetHint(file->ReadString(section, Key(i, L".Hint"), control->Hint()));
            }
            list.push_back(control);
        }
        ApplyOrder(list, glyphPosition, FDialogSettings.EditGlyphPosition);
        // What the layout does not name leaves the toolbar; a reset brings it back.
        while (toolBar->ToolBarControlCount() > int(list.size())) {
            TControl* extra = toolBar->GetToolBarControls(int(list.size()));
            if (std::find(FDeleteItems.begin(), FDeleteItems.end(), extra) == FDeleteItems.end())
                FDeleteItems.push_back(extra);
            extra->FreeNotification(this);
            extra->SetParent(nullptr);
        }
        toolBar->EndUpdate();
    }
    ApplyImages(largeIcon);
    CloseFile(file);
}

void TAdvToolBarCustomizer::ResetToolBar() {
    if (!CanPersist()) return;
    auto file = OpenFile();
    const std::wstring section = Name() + L"Org";
    TAdvCustomToolBar* toolBar = FAdvToolBar;
    toolBar->SetCaption(file->ReadString(section, L"ATBCaption", toolBar->Caption()));
    const int glyphPosition = file->ReadInteger(section, L"GlyphPosition", 0);
    const int largeIcon = file->ReadInteger(section, L"LargeIcon", 0);
    const int count = std::min(file->ReadInteger(section, L"ToolBarItemCount", 0), MaxStoredItems);
    if (count > 0) {
        toolBar->BeginUpdate();
        const std::vector<TControl*> taken = FDeleteItems;
        FDeleteItems.clear();
        for (TControl* control : taken) {
            control->RemoveFreeNotification(this);
            control->SetParent(toolBar);
        }
        std::vector<TControl*> list;
        for (int i = 0; i < count; ++i) {
            const std::wstring name = file->ReadString(section, Key(i), L"");
            if (file->ReadString(section, Key(i, L".ClassName"), L"").empty()) continue;
            TControl* control = FindToolBarControl(name);
            if (!control || std::find(list.begin(), list.end(), control) != list.end()) continue;
            if (IsToolBarButton(control)) {
                SetOrdinal(control, L"ImageIndex", file->ReadInteger(section, Key(i, L".ImageIndex"), -1));
                control->SetVisible(file->ReadInteger(section, Key(i, L".Visible"), 1) != 0);
                SetOrdinal(control, L"ShowCaption", file->ReadInteger(section, Key(i, L".ShowCaption"), 1) == 1);
                control->SetCaption(file->ReadString(section, Key(i, L".Caption"), control->Caption()));
                control->SetHint(file->ReadString(section, Key(i, L".Hint"), control->Hint()));
            }
            list.push_back(control);
        }
        ApplyOrder(list, glyphPosition, FDialogSettings.EditGlyphPosition);
        // Items made since the layout was stored go for good.
        while (toolBar->ToolBarControlCount() > int(list.size()))
            delete toolBar->GetToolBarControls(int(list.size()));
        toolBar->EndUpdate();
    }
    ApplyImages(largeIcon);
    for (const std::wstring& key : file->ReadSection(Name())) file->DeleteKey(Name(), key);
    CloseFile(file);
}

void TAdvToolBarCustomizer::ShowDialog() {
    if (!FAdvToolBar) return;
    CustomizerU::ShowCustomizerDialog(*this);
}

}  // namespace AdvToolBar
