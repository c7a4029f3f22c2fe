#include "app/VxFormSR.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "classlib/Application.h"
#include "classlib/Dialogs.h"
#include "classlib/Exceptions.h"
#include "classlib/FileNames.h"
#include "classlib/IniFiles.h"
#include "classlib/Properties.h"
#include "classlib/Registry.h"
#include "classlib/Screen.h"
#include "classlib/Strings.h"

namespace VxFormSR {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TVxFormSR, TComponent)

namespace {

const wchar_t* const RunKey = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::wstring ExeName() { return Application ? Application->ExeName() : std::wstring(); }

std::vector<TRect> MonitorWorkAreas() {
    std::vector<TRect> areas;
    for (int i = 0; i < Screen->MonitorCount(); ++i) areas.push_back(Screen->Monitors(i).WorkareaRect);
    return areas;
}

// The size and position the window returns to when it is neither maximized nor minimized,
// in screen coordinates. WINDOWPLACEMENT holds it in work-area coordinates.
TRect NormalBounds(TCustomForm* form, bool& maximized) {
    const TWindowState state = form->WindowState();
    maximized = state == wsMaximized;
    if (state == wsNormal || !form->HandleAllocated()) return form->BoundsRect();
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!::GetWindowPlacement(form->Handle(), &placement)) return form->BoundsRect();
    if (state == wsMinimized) maximized = (placement.flags & WPF_RESTORETOMAXIMIZED) != 0;
    RECT normal = placement.rcNormalPosition;
    if (!(::GetWindowLongW(form->Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (::GetMonitorInfoW(::MonitorFromRect(&normal, MONITOR_DEFAULTTOPRIMARY), &info))
            ::OffsetRect(&normal, info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top);
    }
    return {normal.left, normal.top, normal.right, normal.bottom};
}

}  // namespace

std::wstring MainAppRegKeyFor(const std::wstring& exeName) {
    const std::wstring name = ExtractFileName(exeName);
    return L"\\Software\\" + name.substr(0, name.size() >= 4 ? name.size() - 4 : 0);
}

std::wstring FormRegKeyFor(const std::wstring& mainAppRegKey, const std::wstring& formName,
                           TApplicationIniName typeIniName, const std::wstring& iniFileName) {
    std::wstring key = mainAppRegKey + L"\\" + formName;
    if (typeIniName == asCustom) key += L"_" + iniFileName;
    return key;
}

std::wstring AutostartValueNameFor(const std::wstring& exeName) {
    const std::wstring name = ExtractFileName(exeName);
    const size_t dot = name.find(L".exe");
    // A name without a lower-case ".exe" would otherwise give the empty name, which is
    // the Run key's default value.
    if (dot == std::wstring::npos) return ChangeFileExt(name, L"");
    return name.substr(0, dot);
}

TRect BringOntoWorkArea(const TRect& bounds, const std::vector<TRect>& workAreas, const TRect& primaryWorkArea) {
    TRect overlap;
    for (const TRect& area : workAreas)
        if (IntersectRect(overlap, bounds, area)) return bounds;
    const int width = std::min(bounds.Width(), primaryWorkArea.Width());
    const int height = std::min(bounds.Height(), primaryWorkArea.Height());
    const int left = std::clamp(bounds.Left, primaryWorkArea.Left, primaryWorkArea.Right - width);
    const int top = std::clamp(bounds.Top, primaryWorkArea.Top, primaryWorkArea.Bottom - height);
    return Bounds(left, top, width, height);
}

TRect ClampToVirtualScreen(int left, int top, int width, int height, const TRect& virtualScreen) {
    const auto place = [](int64_t position, int64_t size, int64_t low, int64_t high, int64_t& placedSize) {
        placedSize = std::clamp<int64_t>(size, 1, std::max<int64_t>(high - low, 1));
        return std::clamp<int64_t>(position, low, std::max(high - placedSize, low));
    };
    int64_t placedWidth = 0, placedHeight = 0;
    const int64_t placedLeft = place(left, width, virtualScreen.Left, virtualScreen.Right, placedWidth);
    const int64_t placedTop = place(top, height, virtualScreen.Top, virtualScreen.Bottom, placedHeight);
    return Bounds(int(placedLeft), int(placedTop), int(placedWidth), int(placedHeight));
}

const TPropertyList& TVxFormSR::Published() {
    static const TPropertyList list = TPropertyList::Extend(TComponent::Published())
        .Add(L"RestoreOnlyPosition", &TVxFormSR::RestoreOnlyPosition, &TVxFormSR::SetRestoreOnlyPosition, false)
        .Add(L"IniFileName", &TVxFormSR::IniFileName, &TVxFormSR::SetIniFileName, AppIniPlaceholder)
        .Enum(L"TypeIniName", L"TApplicationIniName", &TVxFormSR::TypeIniName, &TVxFormSR::SetTypeIniName,
              {L"asAppIniName", L"asCustom"}, asAppIniName)
        .Add(L"UseRegistry", &TVxFormSR::UseRegistry, &TVxFormSR::SetUseRegistry, true)
        .Add(L"StartWithWindows", &TVxFormSR::StartWithWindows, &TVxFormSR::SetStartWithWindows, false)
        .ReadOnly(L"Version", &TVxFormSR::Version);
    return list;
}

TVxFormSR::TVxFormSR(TComponent* owner) : TComponent(owner) {
    FVersion = L"1.3";
    auto* form = dynamic_cast<TCustomForm*>(owner);
    if (!form) throw EConvertError(L"Invalid class typecast: the owner of a TVxFormSR must be a window");
    form->SetPosition(poDefaultPosOnly);
    FIniFileName = AppIniPlaceholder;
    FUseRegistry = true;
    if (!HasState(csDesigning)) {
        FMasterForm = form;
        FRestoreOnlyPosition = false;
        FMainAppRegKey = MainAppRegKeyFor(ExeName());
        ComputeAppRegKey();
        bPosCanSave = false;
        FStartWithWindows = false;
    }
}

TVxFormSR::~TVxFormSR() {
    // A window being destroyed is past the point where its events may be touched.
    if (FChained && FMasterForm && !FMasterForm->HasState(csDestroying)) {
        FMasterForm->OnShow = std::move(FSaveFormShow);
        FMasterForm->OnCloseQuery = std::move(FSaveFormCloseQuery);
        FMasterForm->OnDestroy = std::move(FSaveFormDestroy);
    }
}

void TVxFormSR::Loaded() {
    const bool fromDescription = HasState(csLoading);
    TComponent::Loaded();
    if (!fromDescription || HasState(csDesigning) || !FMasterForm || FChained) return;
    FSaveFormShow = std::move(FMasterForm->OnShow);
    FSaveFormCloseQuery = std::move(FMasterForm->OnCloseQuery);
    FSaveFormDestroy = std::move(FMasterForm->OnDestroy);
    FMasterForm->OnShow = [this](TObject* sender) { DoFormShow(sender); };
    FMasterForm->OnCloseQuery = [this](TObject* sender, bool& canClose) { DoFormCloseQuery(sender, canClose); };
    FMasterForm->OnDestroy = [this](TObject* sender) { DoFormDestroy(sender); };
    FChained = true;
    IniFile = std::make_unique<TIniFile>(ResolvedIniFileName());
}

// A failed restore or save is reported, and the window's own handler still runs.
void TVxFormSR::DoFormShow(TObject* sender) {
    if (FMasterForm) {
        try {
            RestorePos();
        } catch (...) {
            if (Application) Application->HandleException(this);
        }
    }
    FireEvent(FSaveFormShow, sender);
}

void TVxFormSR::DoFormCloseQuery(TObject* sender, bool& canClose) {
    if (FSaveFormCloseQuery) FSaveFormCloseQuery(sender, canClose);
}

void TVxFormSR::DoFormDestroy(TObject* sender) {
    if (FMasterForm && bPosCanSave) {
        try {
            SavePos();
        } catch (...) {
            if (Application) Application->HandleException(this);
        }
    }
    FireEvent(FSaveFormDestroy, sender);
}

void TVxFormSR::ComputeAppRegKey() {
    FAppRegKey = FormRegKeyFor(FMainAppRegKey, FMasterForm ? FMasterForm->Name() : std::wstring(), FTypeIniName,
                               FIniFileName);
}

std::wstring TVxFormSR::ResolvedIniFileName() const {
    // The placeholder is only resolved by writing IniFileName; a window that never wrote
    // it still gets the file next to the executable, not one named after the placeholder.
    if (Trim(FIniFileName) == AppIniPlaceholder) return ChangeFileExt(ExeName(), L".ini");
    return FIniFileName;
}

std::wstring TVxFormSR::WindowSection() const { return FMasterForm ? FMasterForm->Name() : std::wstring(); }

void TVxFormSR::RestorePos() {
    bPosCanSave = true;
    if (!FMasterForm) return;
    TCustomForm* form = FMasterForm;
    bool maximize = false;
    std::function<int(const wchar_t*, int)> read;
    TRegistry registry(KEY_READ);
    bool keyOpen = false;
    if (FUseRegistry) {
        ComputeAppRegKey();
        try {
            keyOpen = registry.OpenKeyReadOnly(FAppRegKey);
        } catch (const Exception&) {
            keyOpen = false;
        }
        read = [&](const wchar_t* name, int defaultValue) {
            if (!keyOpen) return defaultValue;
            try {
                if (!registry.ValueExists(name)) return defaultValue;
                return StrToIntDef(registry.ReadString(name), defaultValue);
            } catch (const Exception&) {
                return defaultValue;
            }
        };
        maximize = read(L"maximized", 0) == wsMaximized;
    } else {
        if (!IniFile) IniFile = std::make_unique<TIniFile>(ResolvedIniFileName());
        read = [this](const wchar_t* name, int defaultValue) {
            return IniFile->ReadInteger(WindowSection(), name, defaultValue);
        };
    }
    // The normal placement is restored also for a maximized window, so leaving the
    // maximized state brings back the size and place the window had before.
    const TRect desktop = Screen->DesktopRect();
    if (!FRestoreOnlyPosition) {
        int width = read(L"Width", form->Width());
        int height = read(L"Height", form->Height());
        if (width <= 0) width = form->Width();
        if (height <= 0) height = form->Height();
        const TRect size = ClampToVirtualScreen(desktop.Left, desktop.Top, width, height, desktop);
        form->SetBounds(form->Left(), form->Top(), size.Width(), size.Height());
    }
    const int top = read(L"Top", (Screen->Height() - form->Height()) / 2);
    const int left = read(L"Left", (Screen->Width() - form->Width()) / 2);
    const TRect bounds = BringOntoWorkArea(ClampToVirtualScreen(left, top, form->Width(), form->Height(), desktop),
                                           MonitorWorkAreas(), Screen->WorkAreaRect());
    form->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    if (maximize) form->SetWindowState(wsMaximized);
    bWasReadPos = true;
}

void TVxFormSR::SavePos() {
    if (!bWasReadPos || !FMasterForm) return;
    bool maximized = false;
    const TRect bounds = NormalBounds(FMasterForm, maximized);
    if (FUseRegistry) {
        ComputeAppRegKey();
        TRegistry registry;
        auto write = [&](const wchar_t* name, int value) {
            try {
                if (registry.OpenKey(FAppRegKey, true)) registry.WriteString(name, IntToStr(value));
            } catch (const Exception&) {
                // A value that cannot be written is left as it was.
            }
        };
        write(L"maximized", maximized ? wsMaximized : wsNormal);
        write(L"Width", bounds.Width());
        write(L"Height", bounds.Height());
        write(L"Top", bounds.Top);
        write(L"Left", bounds.Left);
    } else {
        if (!IniFile) IniFile = std::make_unique<TIniFile>(ResolvedIniFileName());
        const std::wstring section = WindowSection();
        IniFile->WriteInteger(section, L"Top", bounds.Top);
        IniFile->WriteInteger(section, L"Left", bounds.Left);
        IniFile->WriteInteger(section, L"Width", bounds.Width());
        IniFile->WriteInteger(section, L"Height", bounds.Height());
    }
}

void TVxFormSR::ResetPos() {
    if (FMasterForm) {
        TCustomForm* form = FMasterForm;
        form->SetBounds(Screen->Width() / 2 - form->Width() / 2, Screen->Height() / 2 - form->Height() / 2,
                        form->Width(), form->Height());
    }
    bWasReadPos = true;
}

bool TVxFormSR::IsWindowsAdmin() {
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!::AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0,
                                    0, 0, 0, &administrators))
        return false;
    // A null token asks about the calling thread's impersonation token, else the process's;
    // deny-only groups (a filtered administrator) do not count.
    BOOL member = FALSE;
    if (!::CheckTokenMembership(nullptr, administrators, &member)) member = FALSE;
    ::FreeSid(administrators);
    return member != FALSE;
}

bool TVxFormSR::ReadRegINI(const std::wstring& name, bool defaultValue) {
    if (name.empty()) return defaultValue;
    try {
        TRegistry registry(KEY_READ);
        if (registry.OpenKeyReadOnly(FMainAppRegKey) && registry.ValueExists(name)) return registry.ReadBool(name);
    } catch (const Exception&) {
    }
    return defaultValue;
}

std::wstring TVxFormSR::ReadRegINI(const std::wstring& name, const std::wstring& defaultValue) {
    if (name.empty()) return defaultValue;
    try {
        TRegistry registry(KEY_READ);
        if (registry.OpenKeyReadOnly(FMainAppRegKey) && registry.ValueExists(name)) return registry.ReadString(name);
    } catch (const Exception&) {
    }
    return defaultValue;
}

int TVxFormSR::ReadRegINI(const std::wstring& name, int defaultValue) {
    if (name.empty()) return defaultValue;
    try {
        TRegistry registry(KEY_READ);
        if (registry.OpenKeyReadOnly(FMainAppRegKey)) {
            const std::wstring text = registry.ValueExists(name) ? registry.ReadString(name) : std::wstring();
            return StrToIntDef(text, defaultValue);
        }
    } catch (const Exception&) {
    }
    return defaultValue;
}

namespace {

template <class TWrite>
bool WriteSetting(const std::wstring& key, const std::wstring& name, TWrite write) {
    if (name.empty()) return false;
    try {
        TRegistry registry;
        if (!registry.OpenKey(key, true)) return false;
        write(registry);
        return true;
    } catch (const Exception&) {
        return false;
    }
}

}  // namespace

bool TVxFormSR::SaveRegINI(const std::wstring& name, bool value) {
    return WriteSetting(FMainAppRegKey, name, [&](TRegistry& registry) { registry.WriteBool(name, value); });
}

bool TVxFormSR::SaveRegINI(const std::wstring& name, const std::wstring& value) {
    return WriteSetting(FMainAppRegKey, name, [&](TRegistry& registry) { registry.WriteString(name, value); });
}

bool TVxFormSR::SaveRegINI(const std::wstring& name, int value) {
    return WriteSetting(FMainAppRegKey, name, [&](TRegistry& registry) { registry.WriteString(name, IntToStr(value)); });
}

void TVxFormSR::SetIniFileName(const std::wstring& value) {
    if (Trim(value) != AppIniPlaceholder) FTypeIniName = asCustom;
    if (FTypeIniName == asCustom) FIniFileName = value;
    else if (HasState(csDesigning)) FIniFileName = AppIniPlaceholder;
    else FIniFileName = ChangeFileExt(ExeName(), L".ini");
}

void TVxFormSR::SetTypeIniName(TApplicationIniName value) {
    FTypeIniName = value;
    if (value == asAppIniName) SetIniFileName(AppIniPlaceholder);
}

bool TVxFormSR::StartWithWindows() const {
    try {
        TRegistry registry(KEY_READ);
        FStartWithWindows = registry.OpenKeyReadOnly(RunKey) && registry.ValueExists(AutostartValueNameFor(ExeName()));
    } catch (const Exception&) {
        FStartWithWindows = false;
    }
    return FStartWithWindows;
}

void TVxFormSR::SetStartWithWindows(bool value) {
    if (value == FStartWithWindows) return;
    if (HasState(csDesigning)) {
        ShowMessage(L"Set only in Runtime");
        return;
    }
    FStartWithWindows = value;
    const std::wstring exe = ExeName();
    const std::wstring name = AutostartValueNameFor(exe);
    TRegistry registry;
    if (!registry.OpenKey(RunKey, value)) return;
    if (value && !registry.ValueExists(name)) registry.WriteString(name, exe);
    if (!value && registry.ValueExists(name)) registry.DeleteValue(name);
}

}  // namespace VxFormSR
