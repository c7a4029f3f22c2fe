#pragma once
// TVxFormSR: a non-visual component that keeps its window's size, position and maximized
// state in the current user's registry (or an INI file) across runs, with helpers for the
// application's own settings, starting with Windows and the Administrators test.
#include <memory>
#include <string>
#include <vector>

#include "classlib/Form.h"
#include "classlib/Geometry.h"
#include "classlib/Object.h"

namespace ClassLib {
class TIniFile;
}

namespace VxFormSR {

using ClassLib::TObject;
using ClassLib::TComponent;
using ClassLib::TCustomForm;
using ClassLib::TRect;

enum TApplicationIniName { asAppIniName, asCustom };

// The placeholder that stands for "the executable's path with .ini".
inline constexpr const wchar_t* AppIniPlaceholder = L"[ApplicationExeName.ini]";

// "\Software\" and the executable's file name less its last four characters ("prog.exe"
// gives "\Software\prog").
std::wstring MainAppRegKeyFor(const std::wstring& exeName);
// The key of one window's placement under the application's key; a custom INI name is
// appended after "_".
std::wstring FormRegKeyFor(const std::wstring& mainAppRegKey, const std::wstring& formName,
                           TApplicationIniName typeIniName, const std::wstring& iniFileName);
// The autostart value's name: the executable's file name cut before ".exe".
std::wstring AutostartValueNameFor(const std::wstring& exeName);
// A window lying off every work area is moved (and shrunk when larger) into the primary
// one; a window that overlaps any work area keeps its place.
TRect BringOntoWorkArea(const TRect& bounds, const std::vector<TRect>& workAreas, const TRect& primaryWorkArea);

// Stored placement is outside input: a size is cut to the virtual screen (and kept at
// least one pixel), a place keeps the whole window inside it. Computed without int
// overflow, so any four numbers give a rect inside `virtualScreen`.
TRect ClampToVirtualScreen(int left, int top, int width, int height, const TRect& virtualScreen);

class TVxFormSR : public TComponent {
    CLASSLIB_CLASS(TVxFormSR, TComponent)
public:
    static const ClassLib::TPropertyList& Published();
    // The owner must be a window; anything else raises EConvertError.
    explicit TVxFormSR(TComponent* owner);
    ~TVxFormSR() override;

    void Loaded() override;

    void SavePos();
    void RestorePos();
    void ResetPos();
    static bool IsWindowsAdmin();

    // Application settings under the application's key: a failed read gives the default,
    // a failed write answers false.
    bool ReadRegINI(const std::wstring& name, bool defaultValue);
    std::wstring ReadRegINI(const std::wstring& name, const std::wstring& defaultValue);
    std::wstring ReadRegINI(const std::wstring& name, const wchar_t* defaultValue) {
        return ReadRegINI(name, std::wstring(defaultValue));
    }
    int ReadRegINI(const std::wstring& name, int defaultValue);
    bool SaveRegINI(const std::wstring& name, bool value);
    bool SaveRegINI(const std::wstring& name, const std::wstring& value);
    bool SaveRegINI(const std::wstring& name, const wchar_t* value) { return SaveRegINI(name, std::wstring(value)); }
    bool SaveRegINI(const std::wstring& name, int value);

    bool RestoreOnlyPosition() const { return FRestoreOnlyPosition; }
    void SetRestoreOnlyPosition(bool value) { FRestoreOnlyPosition = value; }
    const std::wstring& IniFileName() const { return FIniFileName; }
    void SetIniFileName(const std::wstring& value);
    TApplicationIniName TypeIniName() const { return FTypeIniName; }
    void SetTypeIniName(TApplicationIniName value);
    bool UseRegistry() const { return FUseRegistry; }
    void SetUseRegistry(bool value) { FUseRegistry = value; }
    bool StartWithWindows() const;
    void SetStartWithWindows(bool value);
    const std::wstring& Version() const { return FVersion; }

    const std::wstring& MainAppRegKey() const { return FMainAppRegKey; }
    // Keeps settings and placement under another key (tests use one of their own).
    void SetMainAppRegKey(const std::wstring& key) { FMainAppRegKey = key; }
    const std::wstring& AppRegKey() const { return FAppRegKey; }

private:
    void ComputeAppRegKey();
    std::wstring ResolvedIniFileName() const;
    std::wstring WindowSection() const;
    void DoFormShow(TObject* sender);
    void DoFormCloseQuery(TObject* sender, bool& canClose);
    void DoFormDestroy(TObject* sender);

    std::wstring FIniFileName;
    TApplicationIniName FTypeIniName = asAppIniName;
    TCustomForm* FMasterForm = nullptr;
    bool FUseRegistry = true;
    std::wstring FAppRegKey;
    mutable bool FStartWithWindows = false;
    std::wstring FMainAppRegKey;
    bool bWasReadPos = false;
    bool FRestoreOnlyPosition = false;
    ClassLib::TNotifyEvent FSaveFormShow;
    ClassLib::TCloseQueryEvent FSaveFormCloseQuery;
    ClassLib::TNotifyEvent FSaveFormDestroy;
    std::wstring FVersion;
    bool bPosCanSave = false;
    bool FChained = false;
    std::unique_ptr<ClassLib::TIniFile> IniFile;
};

}  // namespace VxFormSR
