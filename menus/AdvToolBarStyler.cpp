#include "menus/AdvToolBarStyler.h"

#include <algorithm>
#include <vector>

#include "classlib/Control.h"
#include "classlib/GdiObjects.h"
#include "classlib/Pictures.h"
#include "classlib/Properties.h"
#include "menus/AdvMenuStyler.h"
#include "menus/AdvToolBarPagerSettings.h"

namespace AdvToolBar {

using namespace ClassLib;
using namespace AdvStyleIF;

CLASSLIB_IMPLEMENT(TCustomAdvToolBarStyler, ClassLib::TComponent)

namespace {

// The control list holds every entry as a TObject, however the control was reached.
void* Entry(TComponent* component) { return static_cast<TObject*>(component); }
TObject* ObjectAt(const TDbgList& list, int index) { return static_cast<TObject*>(list.GetItemsEx(index)); }

}  // namespace

TCustomAdvToolBarStyler::TCustomAdvToolBarStyler(TComponent* owner)
    : TComponent(owner),
      FControlList(std::make_unique<TDbgList>()),
      FAppColor(std::make_unique<TAppColor>()),
      FBackGround(std::make_unique<TBitmap>()),
      FFont(std::make_unique<TFont>()),
      FDragGripImage(std::make_unique<TBitmap>()),
      FRightHandleImage(std::make_unique<TBitmap>()),
      FCaptionAppearance(std::make_unique<TCaptionAppearance>()),
      FColor(std::make_unique<TVistaGradientBackground>()),
      FDockColor(std::make_unique<TGradientBackground>()),
      FButtonAppearance(std::make_unique<TButtonAppearance>()),
      FColorHot(std::make_unique<TVistaGradientBackground>()),
      FCaptionFont(std::make_unique<TFont>()),
      FContainerAppearance(std::make_unique<TContainerAppearance>()),
      FGlowButtonAppearance(std::make_unique<AdvGlowButton::TGlowButtonAppearance>()),
      FCompactGlowButtonAppearance(std::make_unique<AdvGlowButton::TGlowButtonAppearance>()),
      FPagerCaption(std::make_unique<TVistaTextBackground>()),
      FTabAppearance(std::make_unique<TTabAppearance>()),
      FPageAppearance(std::make_unique<TVistaPageBackground>()),
      FGroupAppearance(std::make_unique<TGroupAppearance>()),
      FQATAppearance(std::make_unique<TQATAppearance>()) {
    FFont->SetHeight(-11);
    FCaptionAppearance->OnChange = [this](TObject*) { NotifyChange(scColors); };
    FColor->OnChange = [this](TObject*) { NotifyChange(scColors); };
    FDockColor->OnChange = [this](TObject*) { NotifyChange(scColors); };
    FInternalAdvMenuStyler = new AdvMenus::TAdvMenuStyler(this);
    FInternalAdvMenuStyler->SetName(L"InternalMenuStyler");
    FCurrentAdvMenuStyler = FInternalAdvMenuStyler;
    FColorHot->SetColor(clNone);
    FColorHot->SetColorTo(clNone);
    FContainerAppearance->OnChange = [this](TObject*) { NotifyChange(scContainer); };
    FGlowButtonAppearance->OnChange = [this](TObject*) { NotifyChange(scGlowButtons); };
    FCompactGlowButtonAppearance->OnChange = [this](TObject*) { NotifyChange(scGlowButtons); };
    FPagerCaption->OnChange = [this](TObject*) { NotifyChange(scPagerCaption); };
    FTabAppearance->OnChange = [this](TObject*) { NotifyChange(scPagerLooks); };
    FPageAppearance->OnChange = [this](TObject*) { NotifyChange(scPagerLooks); };
    FGroupAppearance->OnChange = [this](TObject*) { NotifyChange(scPagerLooks); };
    FQATAppearance->OnChange = [this](TObject*) { NotifyChange(scQuickAccess); };
    ApplySystemFontRule();
}

TCustomAdvToolBarStyler::~TCustomAdvToolBarStyler() {
    Destroying();
    if (!HasState(csDesigning)) {
        // Each panel or pager that leaves takes its entry with it, so the same index is
        // looked at again; the walk is bounded by the count it began with.
        const int steps = FControlList->Count();
        int index = 0;
        for (int step = 0; step < steps && index < FControlList->Count(); ++step) {
            TObject* entry = ObjectAt(*FControlList, index);
            auto* client = dynamic_cast<IToolBarStylerClient*>(entry);
            auto* component = dynamic_cast<TComponent*>(entry);
            const bool detach = client && component && client->StylerClientKind() != TStylerClientKind::ToolBar &&
                                !component->HasState(csDestroying) && client->ToolBarStyler() == this;
            if (!detach) {
                ++index;
                continue;
            }
            try {
                client->SetToolBarStyler(nullptr);
            } catch (...) {
                // A control that cannot let go must not stop the others: the styler is gone either way.
                ++index;
            }
        }
    }
    FControlList.reset();
}

void TCustomAdvToolBarStyler::Loaded() { TComponent::Loaded(); }

// ---------------------------------------------------------------- attached controls

void TCustomAdvToolBarStyler::AddControl(TCustomControl* control) {
    if (!control || !FControlList) return;
    FControlList->Add(Entry(control));
    control->FreeNotification(this);
}

void TCustomAdvToolBarStyler::RemoveControl(TCustomControl* control) {
    if (!FControlList || !control) return;
    const int index = FControlList->IndexOf(Entry(control));
    if (index >= 0) FControlList->Delete(index);
}

void TCustomAdvToolBarStyler::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != opRemove || HasState(csDestroying) || !component) return;
    if (component == FAdvMenuStyler) {
        SetAdvMenuStyler(nullptr);
        return;
    }
    if (!FControlList) return;
    const int index = FControlList->IndexOf(Entry(component));
    if (index >= 0) FControlList->Delete(index);
}

void TCustomAdvToolBarStyler::UpdateStyle() { NotifyChange(scColors); }

void TCustomAdvToolBarStyler::NotifyChange(int code) {
    if (HasState(csDestroying) || HasState(csLoading) || FUpdateCount > 0 || !FControlList) return;
    // Entries that join during the walk are not told; one that leaves moves the later
    // ones up, and the entry that moves into an index already passed is not told either.
    const int count = FControlList->Count();
    for (int index = 0; index < count; ++index) {
        try {
            auto* control = dynamic_cast<TCustomControl*>(ObjectAt(*FControlList, index));
            if (!control || control->Name().empty()) continue;
            auto* client = dynamic_cast<IToolBarStylerClient*>(control);
            if (!client) continue;
            if (client->StylerClientKind() == TStylerClientKind::ToolBar)
                if (IToolBarStylerClient* copy = client->CompactCopy()) copy->StylerChanged(code);
            client->StylerChanged(code);
        } catch (...) {
            // One control's failure must not keep the change from the others.
        }
    }
}

void TCustomAdvToolBarStyler::ApplyStyleToPagers(TOVTStyle style) {
    FNewOVTStyle = style;
    if (HasState(csDestroying) || HasState(csLoading) || !FControlList) return;
    const bool scenic = style == tsWindows7 || style == tsWindows8 || style == tsOffice2010Blue ||
                        style == tsOffice2010Silver || style == tsOffice2010Black;
    const bool glass = style == tsOffice2010Blue || style == tsOffice2010Silver || style == tsOffice2010Black;
    // Handling a pager may change the list: each pass starts from the front again and
    // takes the first pager not handled yet.
    std::vector<IToolBarStylerPager*> handled;
    for (;;) {
        IToolBarStylerPager* next = nullptr;
        for (int index = 0; index < FControlList->Count() && !next; ++index) {
            auto* pager = dynamic_cast<IToolBarStylerPager*>(ObjectAt(*FControlList, index));
            if (pager && std::find(handled.begin(), handled.end(), pager) == handled.end()) next = pager;
        }
        if (!next) return;
        handled.push_back(next);
        TATBTabSettings* settings = next->TabSettings();
        if (settings) settings->SetGlass(glass);
        next->SetWin7ScenicRibbon(scenic);
        const bool shaded = settings ? settings->Glass() : glass;
        next->SetTabBackGroundShaded(shaded);
        next->SetIsAeroVista(shaded);
        next->SetUpdateHelpButtonRes(true);
        next->UpdateHelpButton();
    }
}

IToolBarStylerPager* TCustomAdvToolBarStyler::GetFirstPager() const {
    if (!FControlList) return nullptr;
    for (int index = 0; index < FControlList->Count(); ++index)
        if (auto* pager = dynamic_cast<IToolBarStylerPager*>(ObjectAt(*FControlList, index))) return pager;
    return nullptr;
}

// ---------------------------------------------------------------- settings

void TCustomAdvToolBarStyler::StoreColour(TColor& field, TColor value) {
    if (field == value) return;
    field = value;
    NotifyChange(scColors);
}

void TCustomAdvToolBarStyler::StoreFlag(bool& field, bool value) {
    if (field == value) return;
    field = value;
    NotifyChange(scColors);
}

void TCustomAdvToolBarStyler::ApplySystemFontRule() {
    const bool segoe = IsVistaOrLater();
    ApplySystemFont(FFont.get(), segoe);
    FCaptionFont->SetName(segoe ? L"Segoe UI" : L"Tahoma");
}

void TCustomAdvToolBarStyler::SetAdvMenuStyler(AdvMenus::TCustomAdvMenuStyler* value) {
    if (FAdvMenuStyler && FAdvMenuStyler != value) FAdvMenuStyler->RemoveFreeNotification(this);
    FAdvMenuStyler = value;
    if (!value) {
        FCurrentAdvMenuStyler = FInternalAdvMenuStyler;
    } else {
        FCurrentAdvMenuStyler = value;
        value->FreeNotification(this);
        if (value->RootItem()->UseSystemFont()) value->RootItem()->UpdateFont();
    }
    NotifyChange(scMenuStyler);
}

void TCustomAdvToolBarStyler::SetBackGround(const TBitmap* value) {
    FBackGround->Assign(value);
    NotifyChange(scBackGround);
}

void TCustomAdvToolBarStyler::SetBackGroundTransparent(bool value) {
    if (value == FBackGroundTransparent) return;
    FBackGroundTransparent = value;
    NotifyChange(scBackGround);
}

void TCustomAdvToolBarStyler::SetBackGroundDisplay(TBackGroundDisplay value) {
    if (value == FBackGroundDisplay) return;
    FBackGroundDisplay = value;
    NotifyChange(scBackGround);
}

void TCustomAdvToolBarStyler::SetCaptionFont(const TFont* value) {
    FCaptionFont->Assign(value);
    NotifyChange(scColors);
}

void TCustomAdvToolBarStyler::SetDragGripStyle(TDragGripStyle value) {
    if (value == FDragGripStyle) return;
    FDragGripStyle = value;
    NotifyChange(scDragGrip);
}

void TCustomAdvToolBarStyler::SetDragGripImage(const TBitmap* value) { FDragGripImage->Assign(value); }

void TCustomAdvToolBarStyler::SetFloatingWindowBorderWidth(int value) {
    if (value == FFloatingWindowBorderWidth) return;
    FFloatingWindowBorderWidth = value;
    NotifyChange(scColors);
}

void TCustomAdvToolBarStyler::SetFont(const TFont* value) {
    FFont->Assign(value);
    NotifyChange(scBackGround);
}

void TCustomAdvToolBarStyler::SetRightHandleImage(const TBitmap* value) {
    FRightHandleImage->Assign(value);
    NotifyChange(scColors);
}

void TCustomAdvToolBarStyler::SetSystemFont(bool value) {
    if (value == FSystemFont) return;
    FSystemFont = value;
    if (value) ApplySystemFontRule();
}

void TCustomAdvToolBarStyler::SetRoundEdges(bool value) {
    FRoundEdges = value;
    NotifyChange(scColors);
}

void TCustomAdvToolBarStyler::SetUseBevel(bool value) { StoreFlag(FUseBevel, value); }

void TCustomAdvToolBarStyler::SetSysButtonColor(TColor value) {
    if (value == FSysButtonColor) return;
    FSysButtonColor = value;
    NotifyChange(scPagerCaption);
}

void TCustomAdvToolBarStyler::SetShow3D(bool value) { StoreFlag(FShow3D, value); }
void TCustomAdvToolBarStyler::SetShowShadow(bool value) { StoreFlag(FShowShadow, value); }

void TCustomAdvToolBarStyler::SetBevel(TBevelCut value) {
    if (value == FBevel) return;
    FBevel = value;
    NotifyChange(scColors);
}

void TCustomAdvToolBarStyler::Assign(const TPersistent* source) {
    const auto* from = dynamic_cast<const TCustomAdvToolBarStyler*>(source);
    if (!from) {
        TComponent::Assign(source);
        return;
    }
    if (FCurrentAdvMenuStyler && from->FAdvMenuStyler) FCurrentAdvMenuStyler->Assign(from->FAdvMenuStyler);
    FColor->Assign(from->FColor.get());
    FDockColor->Assign(from->FDockColor.get());
    FBackGround->Assign(from->FBackGround.get());
    SetBackGroundTransparent(from->FBackGroundTransparent);
    SetBackGroundDisplay(from->FBackGroundDisplay);
    FFont->Assign(from->FFont.get());
    SetDragGripStyle(from->FDragGripStyle);
    FDragGripImage->Assign(from->FDragGripImage.get());
    FRightHandleImage->Assign(from->FRightHandleImage.get());
    SetFloatingWindowBorderColor(from->FFloatingWindowBorderColor);
    SetFloatingWindowBorderWidth(from->FFloatingWindowBorderWidth);
    FCaptionAppearance->Assign(from->FCaptionAppearance.get());
    SetFormBorderColor(from->FFormBorderColor);
    SetButtonAppearance(from->FButtonAppearance.get());
    SetShowShadow(from->FShowShadow);
    SetShow3D(from->FShow3D);
}

}  // namespace AdvToolBar
