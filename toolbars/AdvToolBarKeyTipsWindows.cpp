// The keyboard on a ribbon group: arrow keys between its glow buttons and on to the
// neighbouring groups, Escape back to the tabs, and the group's key tips (showing them,
// matching typed characters, placing each tip by the button row it sits in). The page
// keeps the key-tip mode and the typed characters; the toolbar reaches it through
// IToolBarPageHost.
#include "toolbars/AdvToolBar.h"

#include "classlib/HintWindow.h"
#include "menus/AdvToolBarSystem.h"
#include "toolbars/AdvToolBarKeyTips.h"
#include "toolbars/AdvToolBarPageHost.h"

namespace AdvToolBar {

using namespace ClassLib;
using AdvGlowButton::TAdvCustomGlowButton;

namespace {

// A glow button and whether it sits inside another item (a container) of the group.
struct TTipButton {
    TAdvCustomGlowButton* Button;
    bool Nested;
};

// Glow buttons inside an item that is itself a window control, in child order: only
// enabled, visible window controls are entered.
void CollectNested(TWinControl* control, std::vector<TTipButton>& buttons) {
    for (int i = 0; i < control->ControlCount(); ++i) {
        auto* child = dynamic_cast<TWinControl*>(control->Controls(i));
        if (!child || !child->Enabled() || !child->Visible()) continue;
        if (auto* button = dynamic_cast<TAdvCustomGlowButton*>(child)) buttons.push_back({button, true});
        else CollectNested(child, buttons);
    }
}

void ForNestedButtons(TWinControl* control, bool showingOnly, const std::function<void(TAdvCustomGlowButton*)>& action) {
    for (int i = 0; i < control->ControlCount(); ++i) {
        auto* child = dynamic_cast<TWinControl*>(control->Controls(i));
        if (!child) continue;
        if (showingOnly ? !child->Showing() : !(child->Enabled() && child->Visible())) continue;
        if (auto* button = dynamic_cast<TAdvCustomGlowButton*>(child)) action(button);
        else ForNestedButtons(child, showingOnly, action);
    }
}

void Focus(TWinControl* control) {
    if (control && control->CanFocus()) control->SetFocus();
}

AdvGlowButton::TShortCutHintPos GlowPlace(TRowTipPlace place) {
    switch (place) {
        case TRowTipPlace::Bottom: return AdvGlowButton::shpBottom;
        case TRowTipPlace::TopLeft: return AdvGlowButton::shpTopLeft;
        case TRowTipPlace::AboveTopLeft: return AdvGlowButton::shpAboveTopLeft;
        case TRowTipPlace::Left: return AdvGlowButton::shpLeft;
        case TRowTipPlace::BelowBottomLeft: return AdvGlowButton::shpBelowBottomLeft;
        case TRowTipPlace::BottomLeft: break;
    }
    return AdvGlowButton::shpBottomLeft;
}

}  // namespace

// ---------------------------------------------------------------- hooks on the group's glow buttons

void TAdvCustomToolBar::HookRibbonKeys(TAdvCustomGlowButton* button) {
    button->ToolBarFields().OnInternalKeyDown = [this](TObject* sender, WORD& key, TShiftState shift) {
        ItemKeyDown(sender, key, shift);
    };
    button->ToolBarFields().OnGetShortCutHintPos = [this](TObject* sender, AdvGlowButton::TButtonSizeState state,
                                                          AdvGlowButton::TShortCutHintPos& position) {
        ItemGetShortCutHintPos(sender, state, position);
    };
}

// A glow button inside a container item: key tips and the way back to the tabs work the
// same; it has no place of its own in the group's arrow order.
void TAdvCustomToolBar::ItemGlowButtonKeyDown(TObject* sender, WORD& key, TShiftState shift) {
    if (PageHost()) ItemKeyDown(sender, key, shift);
}

// ---------------------------------------------------------------- keys

void TAdvCustomToolBar::ItemKeyDown(TObject* sender, WORD& key, TShiftState) {
    auto* senderControl = dynamic_cast<TWinControl*>(sender);
    if (!senderControl) return;
    IToolBarPageHost* page = PageHost();
    if (page && page->ToolBarShortCutShowing()) {
        wchar_t character = 0;
        if (!KeyTipChar(key, character)) {
            page->HideShortCutHintOfAdvToolBars();
            if (key == VK_ESCAPE) page->ShowPagerTabShortCutHint();
        } else if (page->MatchToolBarShortCut(page->AppendShortCutChar(character))) {
            page->HideShortCutHintOfAdvToolBars();
        }
    }
    if (page && key == VK_ESCAPE && page->PagerFloatingRibbonShowing()) page->HidePagerFloatingRibbon();
    if ((key == VK_ESCAPE || key == VK_UP) && page && page->PageInPager()) {
        page->FocusPagerByKeyPress();
        return;
    }
    if (key != VK_LEFT && key != VK_RIGHT) return;
    const std::vector<TWinControl*> order = FocusableControls(true);
    int position = -1;
    for (int i = 0; i < int(order.size()); ++i)
        if (order[size_t(i)] == senderControl) position = i;
    std::vector<TAdvCustomToolBar*> groups;
    if (page) groups = page->ToolBarsByLeft();
    int group = -1;
    for (int i = 0; i < int(groups.size()); ++i)
        if (groups[size_t(i)] == this) group = i;
    const TArrowTarget target = ArrowTarget(key == VK_RIGHT, position, int(order.size()), group,
                                            group < 0 ? 0 : int(groups.size()));
    switch (target.Kind) {
        case TArrowTarget::Item: Focus(order[size_t(target.Index)]); break;
        case TArrowTarget::FirstOf: Focus(groups[size_t(target.Index)]->FirstFocusableControl(true)); break;
        case TArrowTarget::LastOf: Focus(groups[size_t(target.Index)]->LastFocusableControl(true)); break;
        case TArrowTarget::None: break;
    }
}

void TAdvCustomToolBar::KeyTipsKeyDown(TMessage& message) {
    WORD key = WORD(message.WParam);
    IToolBarPageHost* page = PageHost();
    if (page && page->ToolBarShortCutShowing()) {
        WORD copy = key;
        ItemKeyDown(this, copy, KeyboardShiftState());
    }
    if (page) {
        if (page->TabShortCutHintShowing()) page->HideShortCutHintOfAdvToolBars();
        if (page->InFloatingRibbon()) {
            if (key == VK_ESCAPE && page->PagerFloatingRibbonShowing()) page->HidePagerFloatingRibbon();
            if (key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN) Focus(FirstFocusableControl(true));
        }
    } else if (TAdvCustomToolBar* source = InCompactWindow() ? CompactSource() : nullptr) {
        IToolBarPageHost* sourcePage = source->PageHost();
        if (sourcePage && FCompactShortCutHintShowing) {
            wchar_t character = 0;
            if (!KeyTipChar(key, character)) {
                HideShortCutHint();
                if (key == VK_ESCAPE) {
                    Focus(source->FirstFocusableControl(true));
                    sourcePage->ShowShortCutHintOfAdvToolBars();
                    TCustomControl::Dispatch(message);
                    return;
                }
            } else {
                int partial = 0;
                if (MatchShortCut(sourcePage->AppendShortCutChar(character), partial)) HideShortCutHint();
            }
        }
        if ((key == VK_ESCAPE || key == VK_UP) && sourcePage && sourcePage->PageInPager()) sourcePage->FocusPagerByKeyPress();
        else if (key == VK_LEFT || key == VK_RIGHT || key == VK_DOWN) Focus(FirstFocusableControl(true));
    }
    TCustomControl::Dispatch(message);
}

void TAdvCustomToolBar::KeyTipsFocusChanged(TMessage& message) {
    TCustomControl::Dispatch(message);
    if (HasState(csDestroying)) return;
    const bool toMe = reinterpret_cast<TControl*>(message.LParam) == this;
    if (toMe && FATBControls && FATBControls->Count() > 0 && !InCompactWindow()) {
        IToolBarPageHost* page = PageHost();
        const bool floating = page && page->InFloatingRibbon();
        if (Parent() && Parent()->Parent() && !floating) Focus(FirstFocusableControl(true));
    }
    if (FActive) SetActive(false);
}

std::vector<TWinControl*> TAdvCustomToolBar::FocusableControls(bool onlyFocusable) const {
    std::vector<TWinControl*> result;
    for (TWinControl* control : TabOrderList(true)) {
        if (dynamic_cast<THintWindow*>(control) || dynamic_cast<TAdvCustomToolBar*>(control)) continue;
        const std::wstring name = control->ClassName();
        if (name == L"TNotifierWindow" || name == L"TCompactWindow" || name == L"TAdvToolBarContainer") continue;
        if (onlyFocusable && !control->CanFocus()) continue;
        result.push_back(control);
    }
    return result;
}

TWinControl* TAdvCustomToolBar::FirstFocusableControl(bool onlyFocusable) const {
    const std::vector<TWinControl*> controls = FocusableControls(onlyFocusable);
    return controls.empty() ? nullptr : controls.front();
}

TWinControl* TAdvCustomToolBar::LastFocusableControl(bool onlyFocusable) const {
    const std::vector<TWinControl*> controls = FocusableControls(onlyFocusable);
    return controls.empty() ? nullptr : controls.back();
}

// ---------------------------------------------------------------- key tips

bool TAdvCustomToolBar::MatchShortCut(const std::wstring& keys, int& partial) {
    std::vector<TTipButton> buttons;
    std::vector<TKeyTipButton> tips;
    ForEachItem([&](TControl* control, IToolBarItem*) {
        if (auto* button = dynamic_cast<TAdvCustomGlowButton*>(control)) {
            buttons.push_back({button, false});
        } else if (auto* window = dynamic_cast<TWinControl*>(control);
                   window && window->Enabled() && window->Visible() && window->Showing()) {
            CollectNested(window, buttons);
        }
    });
    for (const TTipButton& entry : buttons) {
        const bool canPress = entry.Nested || (entry.Button->Visible() && entry.Button->Enabled());
        tips.push_back({entry.Button->ShortCutHint(), canPress, canPress});
    }
    const TKeyTipMatch match = MatchKeyTips(tips, keys);
    for (int index : match.Hidden) buttons[size_t(index)].Button->HideShortCutHint();
    partial += match.Partial;
    if (match.Pressed < 0) return false;

    const TTipButton& pressed = buttons[size_t(match.Pressed)];
    TAdvCustomGlowButton* button = pressed.Button;
    IToolBarPageHost* page = PageHost();
    if (button->CanFocus()) button->SetFocus();
    button->Repaint();
    if (pressed.Nested) {
        button->InvokeClick();
        RestorePagerFocus();
        return true;
    }
    if (button->IsMenuButton()) {
        button->DoDropDown();
    } else {
        button->InvokeClick();
        if (button->GroupIndex() > 0) button->SetDown(true);
    }
    if (page && page->PagerFloatingRibbonShowing()) page->HidePagerFloatingRibbon();
    RestorePagerFocus();
    return true;
}

void TAdvCustomToolBar::ShowShortCutHint() {
    if (IsOnRibbonPage()) UpdateButtonRows();  // items may have moved since the toolbar loaded
    ForEachItem([](TControl* control, IToolBarItem*) {
        if (!control->Enabled() || !control->Visible()) return;
        if (auto* button = dynamic_cast<TAdvCustomGlowButton*>(control)) {
            // A button without a key tip shows no empty tip.
            if (!button->ShortCutHint().empty()) button->ShowShortCutHint();
        } else if (auto* window = dynamic_cast<TWinControl*>(control)) {
            ForNestedButtons(window, false, [](TAdvCustomGlowButton* button) {
                if (button->Showing() && !button->ShortCutHint().empty()) button->ShowShortCutHint();
            });
        }
    });
}

void TAdvCustomToolBar::HideShortCutHint() {
    ForEachItem([](TControl* control, IToolBarItem*) {
        if (auto* button = dynamic_cast<TAdvCustomGlowButton*>(control)) button->HideShortCutHint();
        else if (auto* window = dynamic_cast<TWinControl*>(control))
            ForNestedButtons(window, true, [](TAdvCustomGlowButton* button) { button->HideShortCutHint(); });
    });
    FCompactShortCutHintShowing = false;
}

void TAdvCustomToolBar::UpdateButtonRows() {
    if (!IsOnRibbonPage()) return;
    std::vector<int> tops;
    ForEachItem([&](TControl* control, IToolBarItem*) {
        if (control->Visible()) tops.push_back(control->Top());
    });
    FButtonRows = MeasureButtonRows(tops);
}

void TAdvCustomToolBar::ItemGetShortCutHintPos(TObject* sender, AdvGlowButton::TButtonSizeState,
                                               AdvGlowButton::TShortCutHintPos& position) {
    auto* control = dynamic_cast<TControl*>(sender);
    if (position != AdvGlowButton::shpAuto || !control) return;
    position = GlowPlace(ChooseRowTipPlace(control->Top(), control->Height(), Height(), CaptionHeight(), FButtonRows));
}

void TAdvCustomToolBar::RestorePagerFocus() {
    if (HasState(csDesigning)) return;
    if (IToolBarPageHost* page = ContextPage()) page->RestorePagerFocus();
}


}  // namespace AdvToolBar
