#pragma once
// Components that push one style preset, or one set of colour tones, into every styleable
// control of a form or frame (TAdvFormStyler), and into many form stylers at once
// (TAdvAppStyler). They reach the controls only through IOVTStyle, IOVTStyleEx and
// IOVTTones, can follow the system theme, and fill a combo box with the style names.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Control.h"
#include "classlib/Object.h"
#include "graphics/AdvStyleIF.h"

namespace ClassLib {
class TComboBox;
class TCustomForm;
class TCustomFrame;
class TStringList;
}

namespace AdvAppStyler {

using AdvStyleIF::TColorTones;
using AdvStyleIF::TMetroStyle;
using AdvStyleIF::TOVTStyle;
using ClassLib::TColor;

class TAdvAppStyler;

// Asked before a style or tones go to one component; Allow false skips that component.
using TApplyStyleEvent = std::function<void(ClassLib::TObject* sender, ClassLib::TComponent* component, bool& allow)>;
using TAppliedStyleEvent = std::function<void(ClassLib::TObject* sender, ClassLib::TComponent* component)>;

// 2.4.0.1, the most significant byte first.
constexpr unsigned StylerVersionNr = 0x02040001;

// A styler's hidden window: WM_THEMECHANGED raises OnThemeChange. It is a zero-sized
// child of the styler's form, so it gets its window with the form's and hears the
// system's theme broadcasts (a message-only window would not).
class TThemeNotifierWindow : public ClassLib::TWinControl {
    CLASSLIB_CLASS(TThemeNotifierWindow, ClassLib::TWinControl)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TThemeNotifierWindow(ClassLib::TComponent* owner);
    void Dispatch(ClassLib::TMessage& message) override;

    ClassLib::TNotifyEvent OnThemeChange;
};

class TAdvFormStyler : public ClassLib::TComponent, public AdvStyleIF::IFormStylerStyle {
    CLASSLIB_CLASS(TAdvFormStyler, ClassLib::TComponent)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvFormStyler(ClassLib::TComponent* owner);
    ~TAdvFormStyler() override;

    void Loaded() override;
    // Takes AutoThemeAdapt and Style of another form styler.
    void Assign(const ClassLib::TPersistent* source) override;

    // The style to the owner (a form or a frame) and everything it owns; nothing while
    // disabled.
    void ApplyStyle();
    void ApplyStyleToForm(ClassLib::TCustomForm* form, TOVTStyle style);
    void ApplyStyleToFrame(ClassLib::TCustomFrame* frame, TOVTStyle style);
    void ApplyColorTonesToForm(ClassLib::TCustomForm* form, const TColorTones& tones);
    void ApplyColorTonesToFrame(ClassLib::TCustomFrame* frame, const TColorTones& tones);
    // Switches to metro (Style tsCustom, stored only) and pushes the tones.
    void SetColorTones(const TColorTones& tones);
    unsigned GetVersionNr() const { return StylerVersionNr; }
    std::wstring Version() const;
    // The names offered to a combo box, each with its preset as the item's object.
    static std::unique_ptr<ClassLib::TStringList> GetStyles();
    // Sender is a combo box: with an item selected, Style becomes its preset.
    void HandleStyleSelect(ClassLib::TObject* sender);

    TOVTStyle Style() const { return FStyle; }
    void SetStyle(TOVTStyle value);
    TColor AppColor() const { return FAppColor; }
    void SetAppColor(TColor value);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    bool Metro() const { return FMetro; }
    void SetMetro(bool value);
    TColor MetroColor() const { return FMetroColor; }
    void SetMetroColor(TColor value);
    TColor MetroTextColor() const { return FMetroTextColor; }
    void SetMetroTextColor(TColor value);
    TMetroStyle MetroStyle() const { return FMetroStyle; }
    void SetMetroStyle(TMetroStyle value);
    TAdvAppStyler* AppStyle() const { return FAppStyle; }
    void SetAppStyle(TAdvAppStyler* value);
    ClassLib::TComboBox* ComboBox() const { return FComboBox; }
    void SetComboBox(ClassLib::TComboBox* value);
    const TColorTones& Tones() const { return FTones; }
    TThemeNotifierWindow* ThemeWindow() const { return FNotifier; }

    bool FormStylerEnabled() const override { return FEnabled; }
    TOVTStyle FormStylerStyle() const override { return FStyle; }

    ClassLib::TNotifyEvent OnChange;
    TApplyStyleEvent OnApplyStyle;
    TApplyStyleEvent OnApplyColorTones;
    TAppliedStyleEvent OnAppliedStyle;
    TAppliedStyleEvent OnAppliedColorTones;

protected:
    // Recomputes the metro tones and pushes them when metro is on and Style is tsCustom.
    virtual void MetroChanged();
    virtual void DoChange();
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;

private:
    friend class TAdvAppStyler;
    struct TComboLink {
        TAdvFormStyler* Styler;
    };
    void ThemeChanged(ClassLib::TObject* sender);
    void AutoTheme();
    void StyleComponent(ClassLib::TComponent* component, TOVTStyle style);
    void TonesToComponent(ClassLib::TComponent* component, const TColorTones& tones);
    void StyleOwned(ClassLib::TComponent* container, TOVTStyle style, bool frameFirst);
    void TonesToOwned(ClassLib::TComponent* container, const TColorTones& tones, bool frameFirst);
    void PushColorTones(const TColorTones& tones);
    bool Loading() const { return HasState(ClassLib::csLoading); }

    TOVTStyle FStyle = AdvStyleIF::tsCustom;
    TAdvAppStyler* FAppStyle = nullptr;
    bool FAutoThemeAdapt = false;
    TThemeNotifierWindow* FNotifier = nullptr;  // owned as a component; null in the designer
    TMetroStyle FMetroStyle = AdvStyleIF::msLight;
    bool FMetro = false;
    TColor FMetroTextColor = ClassLib::clBlack;
    TColor FMetroColor = ClassLib::clHighlight;
    TColorTones FTones{};
    bool FEnabled = true;
    ClassLib::TComboBox* FComboBox = nullptr;
    // The combo box's selection handler holds this weakly: once the styler is freed or
    // the combo box replaced, a late selection finds nothing and does nothing.
    std::shared_ptr<TComboLink> FComboLink;
    TColor FAppColor = 0;
};

class TAdvAppStyler : public ClassLib::TComponent {
    CLASSLIB_CLASS(TAdvAppStyler, ClassLib::TComponent)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvAppStyler(ClassLib::TComponent* owner);
    ~TAdvAppStyler() override;

    void Loaded() override;
    // Takes Style and AutoThemeAdapt of another application styler.
    void Assign(const ClassLib::TPersistent* source) override;

    // Each registered form styler, in registration order, takes the metro settings, the
    // colour and the style; nothing while disabled.
    void ApplyStyle();
    // A form styler is kept once.
    void RegisterFormStyler(TAdvFormStyler* formStyler);
    void UnRegisterFormStyler(TAdvFormStyler* formStyler);
    int FormStylerCount() const { return int(FForms.size()); }
    TAdvFormStyler* FormStylers(int index) const { return FForms.at(size_t(index)); }
    unsigned GetVersionNr() const { return StylerVersionNr; }
    std::wstring Version() const;
    void SetColorTones(const TColorTones& tones);

    TOVTStyle Style() const { return FStyle; }
    void SetStyle(TOVTStyle value);
    TColor AppColor() const { return FAppColor; }
    void SetAppColor(TColor value);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    bool Metro() const { return FMetro; }
    void SetMetro(bool value);
    TColor MetroColor() const { return FMetroColor; }
    void SetMetroColor(TColor value);
    TColor MetroTextColor() const { return FMetroTextColor; }
    void SetMetroTextColor(TColor value);
    TMetroStyle MetroStyle() const { return FMetroStyle; }
    void SetMetroStyle(TMetroStyle value);
    const TColorTones& Tones() const { return FTones; }
    TThemeNotifierWindow* ThemeWindow() const { return FNotifier; }

    ClassLib::TNotifyEvent OnChange;

protected:
    virtual void MetroChanged();
    virtual void DoChange();
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;

private:
    void ThemeChanged(ClassLib::TObject* sender);
    void AutoTheme();
    // Neither while loading nor in the designer.
    bool Quiet() const { return HasState(ClassLib::csLoading) || HasState(ClassLib::csDesigning); }

    TColorTones FTones{};  // all colours 0 until tones are set
    std::vector<TAdvFormStyler*> FForms;  // registered, not owned; each at most once
    TOVTStyle FStyle = AdvStyleIF::tsCustom;
    bool FAutoThemeAdapt = false;
    TThemeNotifierWindow* FNotifier = nullptr;  // owned as a component
    TMetroStyle FMetroStyle = AdvStyleIF::msLight;
    bool FMetro = false;
    TColor FMetroTextColor = ClassLib::clBlack;
    TColor FMetroColor = ClassLib::clHighlight;
    bool FEnabled = true;
    TColor FAppColor = ClassLib::clNone;
};

}  // namespace AdvAppStyler
