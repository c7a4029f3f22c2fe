// Glow buttons in their looks: rest, hot, checked, disabled, drop-down, groups, key tips
// and the style presets. SHOWCASE_DRIVE=hot|pressed|dropdown|fade moves the real mouse
// (through the system's input queue) onto the first button once the window is up, so
// those looks can be photographed as a user would see them.
#include <windows.h>

#include <cmath>
#include <string>

#include "classlib/Menus.h"
#include "classlib/StandardControls.h"
#include "classlib/StringList.h"
#include "classlib/Timer.h"
#include "controls/AdvGlowButton.h"
#include "graphics/GDIPicture.h"
#include "showcase/ShowcasePages.h"

namespace {

using namespace ClassLib;
using namespace AdvGlowButton;

std::wstring ImagePath(const wchar_t* name) {
    wchar_t exe[MAX_PATH];
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path = exe;
    for (int up = 0; up < 4; ++up) path.erase(path.find_last_of(L"\\/"));
    return path + L"\\app\\images\\" + name;
}

void SendMouse(DWORD flags, int x = 0, int y = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        input.mi.dx = x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    ::SendInput(1, &input, sizeof(input));
}

const Showcase::TPageRegistration page(L"glowbutton", [](TForm* form) {
    const double scale = form->MonitorPixelsPerInch() / 96.0;
    const auto S = [scale](int value) { return int(std::lround(value * scale)); };
    form->SetBounds(0, 0, S(820), S(470));
    form->SetColor(TColor(0xF3F3F3));

    auto* picture = new GDIPicture::TGDIPPicture();
    try {
        picture->LoadFromFile(ImagePath(L"open.png"));
    } catch (...) {
    }
    auto* menu = new TPopupMenu(form);
    for (const wchar_t* caption : {L"Paste", L"Paste special...", L"Paste as text"}) {
        auto* item = new TMenuItem(menu);
        item->SetCaption(caption);
        menu->Items()->Add(item);
    }

    const auto label = [&](const wchar_t* text, int left, int top) {
        auto* l = new TLabel(form);
        l->SetParent(form);
        l->SetBounds(S(left), S(top), S(700), S(16));
        l->SetCaption(text);
    };
    const auto button = [&](const wchar_t* caption, int left, int top, int width = 100, int height = 41) {
        auto* b = new TAdvGlowButton(form);
        b->SetParent(form);
        b->SetBounds(S(left), S(top), S(width), S(height));
        b->SetCaption(caption);
        return b;
    };

    label(L"Looks: rest, hot, checked, disabled, split drop-down, whole drop-down, picture above the caption", 12, 8);
    TAdvGlowButton* first = button(L"&Create files", 12, 28);
    first->Picture()->Assign(picture);
    first->SetShortCutHint(L"C");
    TAdvGlowButton* hot = button(L"Hot", 122, 28);
    TAdvGlowButton* checked = button(L"Checked", 232, 28);
    checked->SetStyle(bsCheck);
    checked->SetDown(true);
    TAdvGlowButton* disabled = button(L"Disabled", 342, 28);
    disabled->SetEnabled(false);
    TAdvGlowButton* paste = button(L"&Paste", 452, 28);
    paste->SetDropDownButton(true);
    paste->SetDropDownMenu(menu);
    paste->SetShortCutHint(L"V");
    paste->SetShortCutHintPos(shpBottomRight);
    TAdvGlowButton* whole = button(L"Options", 562, 28);
    whole->SetDropDownButton(true);
    whole->SetDropDownSplit(false);
    whole->SetDropDownMenu(menu);
    TAdvGlowButton* tall = button(L"Open", 672, 12, 80, 62);
    tall->SetLayout(blGlyphTop);
    tall->Picture()->Assign(picture);
    tall->SetShortCutHint(L"O");
    tall->SetShortCutHintPos(shpBelowBottom);

    label(L"A group (left, middle, right) with one member down, and notes under a caption", 12, 96);
    const wchar_t* groupCaptions[] = {L"Left", L"Middle", L"Right"};
    const TButtonPosition positions[] = {bpLeft, bpMiddle, bpRight};
    for (int i = 0; i < 3; ++i) {
        TAdvGlowButton* member = button(groupCaptions[i], 12 + i * 80, 116, 80, 30);
        member->SetPosition(positions[i]);
        member->SetGroupIndex(1);
        if (i == 1) member->SetDown(true);
    }
    TAdvGlowButton* notes = button(L"Update", 272, 116, 160, 48);
    notes->Notes()->Add(L"Look for a new version");
    notes->SetLayout(blGlyphLeftAdjusted);

    label(L"Presets: 2003 Blue, 2007 Luna, Windows 7, 2010 Blue, 2013 White, 2016 Black, 2019 White, 2019 Black", 12, 176);
    const AdvStyleIF::TOVTStyle styles[] = {AdvStyleIF::tsOffice2003Blue, AdvStyleIF::tsOffice2007Luna,
                                            AdvStyleIF::tsWindows7, AdvStyleIF::tsOffice2010Blue,
                                            AdvStyleIF::tsOffice2013White, AdvStyleIF::tsOffice2016Black,
                                            AdvStyleIF::tsOffice2019White, AdvStyleIF::tsOffice2019Black};
    const wchar_t* styleNames[] = {L"2003 Blue", L"Luna", L"Windows 7", L"2010 Blue",
                                   L"2013 White", L"2016 Black", L"2019 White", L"2019 Black"};
    for (int i = 0; i < 8; ++i) {
        TAdvGlowButton* styled = button(styleNames[i], 12 + i * 100, 196, 94, 36);
        styled->SetParentFont(false);
        styled->SetComponentStyle(styles[i]);
        if (i % 2 == 1) {
            styled->SetStyle(bsCheck);
            styled->SetDown(true);
        }
    }
    label(L"The same presets hot (their hot look forced for the picture)", 12, 240);
    for (int i = 0; i < 8; ++i) {
        TAdvGlowButton* styled = button(styleNames[i], 12 + i * 100, 260, 94, 36);
        styled->SetParentFont(false);
        styled->SetComponentStyle(styles[i]);
        styled->Perform(CM_MOUSEENTER);
    }
    label(L"Auto size in the three size states: large, label, glyph", 12, 304);
    const TButtonSizeState states[] = {bsLarge, bsLabel, bsGlyph};
    for (int i = 0; i < 3; ++i) {
        TAdvGlowButton* sized = button(L"Generate", 12 + i * 130, 324, 100, 60);
        sized->SetLayout(blGlyphTop);
        sized->Picture()->Assign(picture);
        sized->SetAutoSize(true);
        sized->SetButtonSizeState(states[i]);
    }
    delete picture;

    // Driving with real input once the window shows.
    wchar_t drive[32] = L"";
    ::GetEnvironmentVariableW(L"SHOWCASE_DRIVE", drive, 32);
    const std::wstring how = drive;
    auto* timer = new TTimer(form);
    timer->SetInterval(600);
    timer->SetOnTimer([=](TObject*) {
        timer->SetEnabled(false);
        form->BringToFront();
        // The hot ones stay hot for the picture: no fade, the hot look at once.
        const int speed = GlowSpeed;
        GlowSpeed = 0;
        hot->Perform(CM_MOUSEENTER);
        for (int i = 0; i < form->ControlCount(); ++i) {
            auto* b = dynamic_cast<TAdvGlowButton*>(form->Controls(i));
            if (b && b->Top() > S(250) && b->Top() < S(300)) b->Perform(CM_MOUSEENTER);
        }
        GlowSpeed = speed;
        for (TAdvGlowButton* b : {first, paste, tall}) b->ShowShortCutHint();
        if (how.empty()) return;
        TAdvGlowButton* target = how == L"dropdown" ? paste : first;
        TPoint at = target->ClientToScreen({target->Width() - S(6), target->Height() / 2});
        if (how != L"dropdown") at = target->ClientToScreen({target->Width() / 2, target->Height() / 2});
        if (how == L"fade") GlowSpeed = 2000;  // slow enough to photograph a middle step
        SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, at.X, at.Y);
        if (how == L"pressed" || how == L"dropdown") SendMouse(MOUSEEVENTF_LEFTDOWN);
    });
});

}  // namespace
