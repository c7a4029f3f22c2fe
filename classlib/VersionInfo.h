#pragma once
// The fixed part of a file's version resource: the two 32-bit words of its file version.
#include <cstdint>
#include <string>

namespace ClassLib {

struct TFileVersionWords {
    uint32_t VersionMS = 0;   // first two numbers, high and low 16 bits
    uint32_t VersionLS = 0;   // last two numbers
};

// False when the file is missing or has no version resource with a fixed part.
bool ReadFileVersionWords(const std::wstring& fileName, TFileVersionWords& words);
// The running executable's path.
std::wstring ExecutablePath();

}  // namespace ClassLib
