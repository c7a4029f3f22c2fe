#pragma once
// Stand-ins for the controls a toolbar styler serves: each records the change codes it
// is told, and the pager what the styler and its presets ask of it.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Control.h"
#include "menus/AdvToolBarPagerSettings.h"
#include "menus/AdvToolBarStyler.h"

namespace StylerTests {

// What the clients heard, in order: "Name:code".
using TLog = std::vector<std::wstring>;

class TFakeClient : public ClassLib::TCustomControl, public AdvToolBar::IToolBarStylerClient {
public:
    TFakeClient(AdvToolBar::TStylerClientKind kind, const std::wstring& name, TLog* log)
        : TCustomControl(nullptr), FKind(kind), FLog(log) {
        if (!name.empty()) SetName(name);
    }
    ~TFakeClient() override {
        if (FStyler) FStyler->RemoveControl(this);
    }
    AdvToolBar::TStylerClientKind StylerClientKind() const override { return FKind; }
    void StylerChanged(int code) override {
        if (FLog) FLog->push_back((Name().empty() ? std::wstring(L"?") : Name()) + L":" + std::to_wstring(code));
        if (OnStylerChanged) OnStylerChanged(code);
    }
    AdvToolBar::TCustomAdvToolBarStyler* ToolBarStyler() const override { return FStyler; }
    // Attaches as the real controls do: leaves the old styler's list, joins the new one's.
    void SetToolBarStyler(AdvToolBar::TCustomAdvToolBarStyler* value) override {
        if (!value) ++Detached;
        if (FStyler) FStyler->RemoveControl(this);
        FStyler = value;
        if (value) value->AddControl(this);
    }
    IToolBarStylerClient* CompactCopy() const override { return Compact; }

    std::function<void(int code)> OnStylerChanged;
    IToolBarStylerClient* Compact = nullptr;
    int Detached = 0;   // times it was handed a null styler

protected:
    // A styler freed first tells us, as it tells every control it serves.
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override {
        TCustomControl::Notification(component, operation);
        if (operation == ClassLib::opRemove && component == FStyler) FStyler = nullptr;
    }

private:
    AdvToolBar::TStylerClientKind FKind;
    TLog* FLog;
    AdvToolBar::TCustomAdvToolBarStyler* FStyler = nullptr;
};

// A pager: its own appearance objects, which SetOfficeTones fills from the tones so that
// a copy-back can be seen, and a record of the calls.
class TFakePager : public TFakeClient, public AdvToolBar::IToolBarStylerPager {
public:
    TFakePager(const std::wstring& name, TLog* log)
        : TFakeClient(AdvToolBar::TStylerClientKind::Pager, name, log),
          FTabSettings(std::make_unique<AdvToolBar::TATBTabSettings>()),
          FPage(std::make_unique<AdvToolBar::TVistaPageBackground>()),
          FTab(std::make_unique<AdvToolBar::TTabAppearance>()),
          FGroup(std::make_unique<AdvToolBar::TGroupAppearance>()),
          FCaption(std::make_unique<AdvToolBar::TCaptionAppearance>()),
          FGlow(std::make_unique<AdvGlowButton::TGlowButtonAppearance>()),
          FPagerCaption(std::make_unique<AdvToolBar::TVistaTextBackground>()),
          FContainer(std::make_unique<AdvToolBar::TContainerAppearance>()) {}

    AdvToolBar::TATBTabSettings* TabSettings() const override { return FTabSettings.get(); }
    bool Win7ScenicRibbon() const override { return Scenic; }
    void SetWin7ScenicRibbon(bool value) override { Scenic = value; }
    void SetTabBackGroundShaded(bool value) override { TabBackGroundShaded = value; }
    void SetIsAeroVista(bool value) override { IsAeroVista = value; }
    void SetUpdateHelpButtonRes(bool value) override { UpdateHelpButtonRes = value; }
    void UpdateHelpButton() override { ++HelpButtonUpdates; }
    void ClearOfficeTones() override { Calls.push_back(L"ClearOfficeTones"); }
    // The page takes the pager tones' background, the tabs the tab tones' text, the glow
    // buttons the button tones' hover brush: enough to tell the tones and the copy-back.
    void SetOfficeTones(const AdvToolBar::TOfficeTones& tones, AdvToolBar::TGroupStyle groupStyle) override {
        Calls.push_back(L"SetOfficeTones");
        Tones = tones;
        GroupStyle = groupStyle;
        FPage->SetColor(tones.Pager.Background.BrushColor);
        FTab->SetTextColor(tones.Tab.Background.TextColor);
        FGlow->SetColorHot(tones.Buttons.Hover.BrushColor);
        FCaption->SetCaptionTextColor(ClassLib::clRed);
    }
    void UpdateQAT() override { Calls.push_back(L"UpdateQAT"); }
    AdvToolBar::TCustomAdvToolBarStyler* CurrentToolBarStyler() const override { return ToolBarStyler(); }
    AdvToolBar::TVistaPageBackground* PageAppearance() const override { return FPage.get(); }
    AdvToolBar::TTabAppearance* TabAppearance() const override { return FTab.get(); }
    AdvToolBar::TGroupAppearance* GroupAppearance() const override { return FGroup.get(); }
    AdvToolBar::TCaptionAppearance* CaptionAppearance() const override { return FCaption.get(); }
    AdvGlowButton::TGlowButtonAppearance* GlowButtonAppearance() const override { return FGlow.get(); }
    AdvToolBar::TVistaTextBackground* PagerCaption() const override { return FPagerCaption.get(); }
    AdvToolBar::TContainerAppearance* ContainerAppearance() const override { return FContainer.get(); }

    bool Scenic = false;
    bool TabBackGroundShaded = false;
    bool IsAeroVista = false;
    bool UpdateHelpButtonRes = false;
    int HelpButtonUpdates = 0;
    std::vector<std::wstring> Calls;
    AdvToolBar::TOfficeTones Tones;
    AdvToolBar::TGroupStyle GroupStyle = AdvToolBar::gsClassic;

private:
    std::unique_ptr<AdvToolBar::TATBTabSettings> FTabSettings;
    std::unique_ptr<AdvToolBar::TVistaPageBackground> FPage;
    std::unique_ptr<AdvToolBar::TTabAppearance> FTab;
    std::unique_ptr<AdvToolBar::TGroupAppearance> FGroup;
    std::unique_ptr<AdvToolBar::TCaptionAppearance> FCaption;
    std::unique_ptr<AdvGlowButton::TGlowButtonAppearance> FGlow;
    std::unique_ptr<AdvToolBar::TVistaTextBackground> FPagerCaption;
    std::unique_ptr<AdvToolBar::TContainerAppearance> FContainer;
};

}  // namespace StylerTests
