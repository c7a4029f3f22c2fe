#pragma once
// What the benchmarks of painted controls draw: the program's own 32 x 32 "open" picture,
// found from the build folder.
#include <windows.h>

#include <string>

namespace BenchSupport {

inline std::wstring SamplePicturePath() {
    wchar_t exe[MAX_PATH];
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path = exe;
    for (int up = 0; up < 4; ++up) path.erase(path.find_last_of(L"\\/"));
    return path + L"\\app\\images\\open.png";
}

}  // namespace BenchSupport
