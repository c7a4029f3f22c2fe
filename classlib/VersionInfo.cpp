#include "classlib/VersionInfo.h"

#include <windows.h>

#include <vector>

namespace ClassLib {

bool ReadFileVersionWords(const std::wstring& fileName, TFileVersionWords& words) {
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(fileName.c_str(), &handle);
    if (size == 0) return false;
    std::vector<unsigned char> buffer(size);
    if (!::GetFileVersionInfoW(fileName.c_str(), 0, size, buffer.data())) return false;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (!::VerQueryValueW(buffer.data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) || !info ||
        infoSize < sizeof(VS_FIXEDFILEINFO) || info->dwSignature != 0xFEEF04BD)
        return false;
    words.VersionMS = info->dwFileVersionMS;
    words.VersionLS = info->dwFileVersionLS;
    return true;
}

std::wstring ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    while (true) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace ClassLib
