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

// What both stylers share: the style and colour settings, the enabled switch, the metro
// settings and the automatic theme step. Each styler says how a style or tones reach
// its controls.
class TCustomStyler : public ClassLib::TComponent {
    CLASSLIB_CLASS(TCustomStyler, ClassLib::TComponent)
public:
    static const ClassLib::TPropertyList& Published();

    // Nothing while disabled.
    virtual void ApplyStyle() = 0;
    unsigned GetVersionNr() const { return StylerVersionNr; }
    std::wstring Version() const;

    TOVTStyle Style() const { return FStyle; }
    virtual void SetStyle(TOVTStyle value) = 0;
    TColor AppColor() const { return FAppColor; }
    virtual void SetAppColor(TColor value) = 0;
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    // On: Style follows the system's theme now and on every theme change.
    void SetAutoThemeAdapt(bool value);
    bool Enabled() const { return FEnabled; }
    // Turned on, the style is applied again.
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
    // At run time the theme window is made as a child of `themeParent` (none when null).
    TCustomStyler(ClassLib::TComponent* owner, ClassLib::TWinControl* themeParent, TColor appColor);
    // Recomputes the metro tones and pushes them when metro is on and Style is tsCustom.
    virtual void MetroChanged() = 0;
    virtual void DoChange();
    // With AutoThemeAdapt on, Style becomes the system's.
    void AutoTheme();

    TOVTStyle FStyle = AdvStyleIF::tsCustom;
    bool FAutoThemeAdapt = false;
    TThemeNotifierWindow* FNotifier = nullptr;  // owned as a component; null in the designer
    TMetroStyle FMetroStyle = AdvStyleIF::msLight;
    bool FMetro = false;
    TColor FMetroTextColor = ClassLib::clBlack;
    TColor FMetroColor = ClassLib::clHighlight;
    TColorTones FTones{};
    bool FEnabled = true;
    TColor FAppColor;
};

class TAdvFormStyler : public TCustomStyler, public AdvStyleIF::IFormStylerStyle {
    CLASSLIB_CLASS(TAdvFormStyler, TCustomStyler)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvFormStyler(ClassLib::TComponent* owner);
    ~TAdvFormStyler() override;

    void Loaded() override;
    // Takes AutoThemeAdapt and Style of another form styler.
    void Assign(const ClassLib::TPersistent* source) override;

    // The style to the owner (a form or a frame) and everything it owns.
    void ApplyStyle() override;
    void ApplyStyleToForm(ClassLib::TCustomForm* form, TOVTStyle style);
    void ApplyStyleToFrame(ClassLib::TCustomFrame* frame, TOVTStyle style);
    void ApplyColorTonesToForm(ClassLib::TCustomForm* form, const TColorTones& tones);
    void ApplyColorTonesToFrame(ClassLib::TCustomFrame* frame, const TColorTones& tones);
    // Switches to metro (Style tsCustom, stored only) and pushes the tones.
    void SetColorTones(const TColorTones& tones);
    // The names offered to a combo box, each with its preset as the item's object.
    static std::unique_ptr<ClassLib::TStringList> GetStyles();
    // Sender is a combo box: with an item selected, Style becomes its preset.
    void HandleStyleSelect(ClassLib::TObject* sender);

    // Applied unless it is tsCustom or the styler is loading.
    void SetStyle(TOVTStyle value) override;
    void SetAppColor(TColor value) override;
    TAdvAppStyler* AppStyle() const { return FAppStyle; }
    void SetAppStyle(TAdvAppStyler* value);
    ClassLib::TComboBox* ComboBox() const { return FComboBox; }
    void SetComboBox(ClassLib::TComboBox* value);

    bool FormStylerEnabled() const override { return FEnabled; }
    TOVTStyle FormStylerStyle() const override { return FStyle; }

    TApplyStyleEvent OnApplyStyle;
    TApplyStyleEvent OnApplyColorTones;
    TAppliedStyleEvent OnAppliedStyle;
    TAppliedStyleEvent OnAppliedColorTones;

protected:
    void MetroChanged() override;
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;

private:
    struct TComboLink {
        TAdvFormStyler* Styler;
    };
    void StyleComponent(ClassLib::TComponent* component, TOVTStyle style);
    void TonesToComponent(ClassLib::TComponent* component, const TColorTones& tones);
    void PushColorTones(const TColorTones& tones);
    bool Loading() const { return HasState(ClassLib::csLoading); }

    TAdvAppStyler* FAppStyle = nullptr;
    ClassLib::TComboBox* FComboBox = nullptr;
    // The combo box's selection handler holds this weakly: once the styler is freed or
    // the combo box replaced, a late selection finds nothing and does nothing.
    std::shared_ptr<TComboLink> FComboLink;
};

class TAdvAppStyler : public TCustomStyler {
    CLASSLIB_CLASS(TAdvAppStyler, TCustomStyler)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvAppStyler(ClassLib::TComponent* owner);
    ~TAdvAppStyler() override;

    void Loaded() override;
    // Takes Style and AutoThemeAdapt of another application styler.
    void Assign(const ClassLib::TPersistent* source) override;

    // Each registered form styler, in registration order, takes the metro settings, the
    // colour and the style.
    void ApplyStyle() override;
    // A form styler is kept once.
    void RegisterFormStyler(TAdvFormStyler* formStyler);
    void UnRegisterFormStyler(TAdvFormStyler* formStyler);
    int FormStylerCount() const { return int(FForms.size()); }
    TAdvFormStyler* FormStylers(int index) const { return FForms.at(size_t(index)); }
    void SetColorTones(const TColorTones& tones);

    // Applied unless loading or in the designer.
    void SetStyle(TOVTStyle value) override;
    // Always stored; the form stylers take it unless loading or in the designer.
    void SetAppColor(TColor value) override;

protected:
    void MetroChanged() override;
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;

private:
    // Neither while loading nor in the designer.
    bool Quiet() const { return HasState(ClassLib::csLoading) || HasState(ClassLib::csDesigning); }

    std::vector<TAdvFormStyler*> FForms;  // registered, not owned; each at most once
};

}  // namespace AdvAppStyler
