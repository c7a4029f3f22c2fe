#include "updater/WUpdateVersions.h"

#include <windows.h>

#include <vector>

#include "classlib/DateTime.h"
#include "classlib/Strings.h"
#include "classlib/VersionInfo.h"

namespace WUpdate {

namespace {

// One number of a version text: decimal digits (blanks around them allowed), 0 to 65535.
// "-1" or "70000" would otherwise wrap into a version later than every other.
bool ReadVersionNumber(const std::wstring& text, uint32_t& number) {
    const std::wstring digits = ClassLib::Trim(text);
    if (digits.empty() || digits.size() > 5 || digits.find_first_not_of(L"0123456789") != std::wstring::npos)
        return false;
    number = uint32_t(std::stoul(digits));
    return number <= 0xFFFFu;
}

wchar_t VersionSeparator(const std::wstring& text) { return text.find(L',') != std::wstring::npos ? L',' : L'.'; }

}  // namespace

bool HasVersion(const tfvi& version) {
    return version.versionms != 0xFFFFFFFFu && version.versionls != 0xFFFFFFFFu;
}

tfvi ParseVersion(const std::wstring& text) {
    tfvi version;
    const wchar_t separator = VersionSeparator(text);
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (parts.size() < 3) {
        const size_t end = text.find(separator, start);
        if (end == std::wstring::npos) break;
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    parts.push_back(text.substr(start));   // the rest: the fourth number, or more
    std::vector<uint32_t> numbers;
    for (size_t i = 0; i < parts.size(); ++i) {
        uint32_t n = 0;
        if (!ReadVersionNumber(parts[i], n)) {
            // Only the fourth place may fail on its own ("1.2.3.4.5"): the low word then stays missing.
            if (i == 3) break;
            return tfvi{};
        }
        numbers.push_back(n);
    }
    const auto word = [](uint32_t high, uint32_t low) { return (high << 16) | low; };
    switch (parts.size()) {
        case 1: version = {numbers[0] << 16, 0}; break;
        case 2: version = {word(numbers[0], numbers[1]), 0}; break;
        case 3: version = {word(numbers[0], numbers[1]), numbers[2] << 16}; break;
        default:
            version.versionms = word(numbers[0], numbers[1]);
            version.versionls = numbers.size() == 4 ? word(numbers[2], numbers[3]) : 0xFFFFFFFFu;
            break;
    }
    return version;
}

bool IsVersionText(const std::wstring& text) {
    const wchar_t separator = VersionSeparator(text);
    size_t start = 0;
    for (int part = 0; part < 4; ++part) {
        const size_t end = text.find(separator, start);
        // Past the third separator the rest is one number, or (with more separators) no
        // low word at all: that version is never later, nothing to fear.
        if (part == 3 && end != std::wstring::npos) return true;
        uint32_t number = 0;
        if (!ReadVersionNumber(text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start), number))
            return false;
        if (end == std::wstring::npos) return true;
        start = end + 1;
    }
    return true;
}

std::wstring FormatVersion(const tfvi& version) {
    return std::to_wstring(version.versionms >> 16) + L"." + std::to_wstring(version.versionms & 0xFFFFu) + L"." +
           std::to_wstring(version.versionls >> 16) + L"." + std::to_wstring(version.versionls & 0xFFFFu);
}

bool IsLaterVersion(const tfvi& candidate, const tfvi& installed) {
    if (candidate.versionms != installed.versionms) return candidate.versionms > installed.versionms;
    return candidate.versionls > installed.versionls;
}

tfvi GetFileVersion(const std::wstring& fileName) {
    ClassLib::TFileVersionWords words;
    if (!ClassLib::ReadFileVersionWords(fileName, words)) return tfvi{};
    return tfvi{words.VersionMS, words.VersionLS};
}

bool FileTimeStamp(const std::wstring& fileName, double& localTime) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(fileName.c_str(), GetFileExInfoStandard, &data)) return false;
    FILETIME local{};
    SYSTEMTIME time{};
    if (!::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !::FileTimeToSystemTime(&local, &time))
        return false;
    localTime = ClassLib::EncodeDate(time.wYear, time.wMonth, time.wDay) +
                ClassLib::EncodeTime(time.wHour, time.wMinute, time.wSecond, time.wMilliseconds);
    return true;
}

int FileByteSum(const std::wstring& fileName) {
    HANDLE file = ::CreateFileW(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    uint32_t sum = 0xFFFFFFFFu;
    uint8_t block[4096];
    DWORD got = 0;
    while (::ReadFile(file, block, sizeof block, &got, nullptr) && got > 0)
        for (DWORD i = 0; i < got; ++i) sum += block[i];
    ::CloseHandle(file);
    return int(sum);
}

}  // namespace WUpdate
