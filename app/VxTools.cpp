#include "app/VxTools.h"

#include <windows.h>

#include "classlib/VersionInfo.h"

namespace VxTools {

std::wstring FormatVersionText(uint32_t versionMS, uint32_t versionLS) {
    return L"ver: " + std::to_wstring(HIWORD(versionMS)) + L"." + std::to_wstring(LOWORD(versionMS)) + L"." +
           std::to_wstring(LOWORD(versionLS));
}

std::wstring GetVersionText() {
    ClassLib::TFileVersionWords words;
    const std::wstring path = ClassLib::ExecutablePath();
    if (path.empty() || !ClassLib::ReadFileVersionWords(path, words)) return {};
    return FormatVersionText(words.VersionMS, words.VersionLS);
}

}  // namespace VxTools
