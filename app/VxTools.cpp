#include "app/VxTools.h"

#include <windows.h>

#include <vector>

namespace VxTools {

std::wstring FormatVersionText(uint32_t versionMS, uint32_t versionLS) {
    return L"ver: " + std::to_wstring(HIWORD(versionMS)) + L"." + std::to_wstring(LOWORD(versionMS)) + L"." +
           std::to_wstring(LOWORD(versionLS));
}

std::wstring GetVersionText() {
    wchar_t path[MAX_PATH * 4];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    if (length == 0 || length >= std::size(path)) return {};
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path, &handle);
    if (size == 0) return {};
    std::vector<unsigned char> buffer(size);
    if (!::GetFileVersionInfoW(path, 0, size, buffer.data())) return {};
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (!::VerQueryValueW(buffer.data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) || !info ||
        infoSize < sizeof(VS_FIXEDFILEINFO))
        return {};
    return FormatVersionText(info->dwFileVersionMS, info->dwFileVersionLS);
}

}  // namespace VxTools
