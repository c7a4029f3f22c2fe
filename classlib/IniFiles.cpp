#include "classlib/IniFiles.h"

#include <windows.h>
#undef GetObject

#include "classlib/Exceptions.h"
#include "classlib/StringList.h"
#include "classlib/Strings.h"
#include "classlib/UpdateScope.h"

#include <string_view>

namespace ClassLib {

CLASSLIB_IMPLEMENT(TIniFile, TObject)

std::wstring TIniFile::ReadString(const std::wstring& section, const std::wstring& key,
                                  const std::wstring& defaultValue) const {
    std::vector<wchar_t> buffer(2048);
    while (true) {
        const DWORD length = ::GetPrivateProfileStringW(section.c_str(), key.c_str(), defaultValue.c_str(),
                                                        buffer.data(), DWORD(buffer.size()), FFileName.c_str());
        // A full buffer means the value may have been cut: try again with more room.
        if (length + 1 < buffer.size() || buffer.size() >= 1u << 20) return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 4);
    }
}

int TIniFile::ReadInteger(const std::wstring& section, const std::wstring& key, int defaultValue) const {
    std::wstring text = ReadString(section, key, std::wstring());
    return StrToIntDef(text, defaultValue);
}

bool TIniFile::ReadBool(const std::wstring& section, const std::wstring& key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

double TIniFile::ReadFloat(const std::wstring& section, const std::wstring& key, double defaultValue) const {
    return StrToFloatDef(ReadString(section, key, std::wstring()), defaultValue);
}

void TIniFile::WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    if (!::WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), FFileName.c_str())) {
        const DWORD code = ::GetLastError();
        throw EIniFileException(L"Unable to write to " + FFileName + L": " + SysErrorMessage(code));
    }
}

void TIniFile::WriteInteger(const std::wstring& section, const std::wstring& key, int value) {
    WriteString(section, key, IntToStr(value));
}

void TIniFile::WriteBool(const std::wstring& section, const std::wstring& key, bool value) {
    WriteString(section, key, value ? L"1" : L"0");
}

void TIniFile::WriteFloat(const std::wstring& section, const std::wstring& key, double value) {
    WriteString(section, key, FloatToStr(value));
}

std::vector<std::wstring> TIniFile::ReadList(const wchar_t* section) const {
    std::vector<wchar_t> buffer(16384);
    DWORD length = 0;
    while (true) {
        length = section ? ::GetPrivateProfileStringW(section, nullptr, L"", buffer.data(), DWORD(buffer.size()),
                                                      FFileName.c_str())
                         : ::GetPrivateProfileSectionNamesW(buffer.data(), DWORD(buffer.size()), FFileName.c_str());
        if (length + 2 < buffer.size() || buffer.size() >= 1u << 22) break;
        buffer.resize(buffer.size() * 4);
    }
    std::vector<std::wstring> names;
    size_t start = 0;
    for (size_t i = 0; i < length; ++i)
        if (buffer[i] == L'\0') {
            if (i > start) names.emplace_back(buffer.data() + start, i - start);
            start = i + 1;
        }
    if (start < length) names.emplace_back(buffer.data() + start, length - start);
    return names;
}

std::vector<std::wstring> TIniFile::ReadSection(const std::wstring& section) const { return ReadList(section.c_str()); }
std::vector<std::wstring> TIniFile::ReadSections() const { return ReadList(nullptr); }

void TIniFile::ReadSection(const std::wstring& section, TStrings* keys) const {
    TUpdateScope update(*keys);
    keys->Clear();
    for (const std::wstring& key : ReadSection(section)) keys->Add(key);
}

void TIniFile::ReadSections(TStrings* sections) const {
    TUpdateScope update(*sections);
    sections->Clear();
    for (const std::wstring& section : ReadSections()) sections->Add(section);
}

void TIniFile::ReadSectionValues(const std::wstring& section, TStrings* values) const {
    TUpdateScope update(*values);
    values->Clear();
    for (const std::wstring& key : ReadSection(section)) values->Add(key + L"=" + ReadString(section, key, L""));
}

bool TIniFile::SectionExists(const std::wstring& section) const {
    for (const std::wstring& name : ReadSections())
        if (SameText(name, section)) return true;
    return false;
}

bool TIniFile::ValueExists(const std::wstring& section, const std::wstring& key) const {
    for (const std::wstring& name : ReadSection(section))
        if (SameText(name, key)) return true;
    return false;
}

void TIniFile::EraseSection(const std::wstring& section) {
    if (!::WritePrivateProfileStringW(section.c_str(), nullptr, nullptr, FFileName.c_str())) {
        const DWORD code = ::GetLastError();
        throw EIniFileException(L"Unable to write to " + FFileName + L": " + SysErrorMessage(code));
    }
}

void TIniFile::DeleteKey(const std::wstring& section, const std::wstring& key) {
    ::WritePrivateProfileStringW(section.c_str(), key.c_str(), nullptr, FFileName.c_str());
}

void TIniFile::UpdateFile() { ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, FFileName.c_str()); }

namespace {

// The system's own case mapping, which its profile routines match names with.
std::wstring LowerKey(std::wstring key) {
    if (!key.empty()) ::CharLowerBuffW(key.data(), DWORD(key.size()));
    return key;
}

// What the profile routines do to every value they hand out, defaults included.
std::wstring WithoutEnclosingQuotes(std::wstring value) {
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

TIniFileSection::TIniFileSection(const std::wstring& fileName, const std::wstring& section)
    : FFileName(fileName), FSection(section) {
    // Keys, values and blanks around "=" come as the system read them: "key=value" strings,
    // each ended by a zero, comments and blank lines left out.
    std::vector<wchar_t> buffer(16384);
    DWORD length = 0;
    while (true) {
        length = ::GetPrivateProfileSectionW(section.c_str(), buffer.data(), DWORD(buffer.size()), fileName.c_str());
        if (length + 2 < buffer.size() || buffer.size() >= 1u << 24) break;
        buffer.resize(buffer.size() * 4);
    }
    for (std::size_t start = 0; start < length;) {
        std::size_t end = start;
        while (end < length && buffer[end] != L'\0') ++end;
        const std::wstring_view line(buffer.data() + start, end - start);
        start = end + 1;
        if (line.empty()) continue;
        // A key cannot hold "=": the first one ends it.
        const std::size_t equals = line.find(L'=');
        if (equals == std::wstring_view::npos)
            FEntries.push_back({LowerKey(std::wstring(line)), std::wstring(), false});
        else
            FEntries.push_back({LowerKey(std::wstring(line.substr(0, equals))), std::wstring(line.substr(equals + 1)), true});
    }
}

const TIniFileSection::TEntry* TIniFileSection::Find(const std::wstring& key) const {
    const std::wstring lower = LowerKey(key);
    for (const TEntry& entry : FEntries)
        if (entry.Key == lower) return &entry;
    return nullptr;
}

std::wstring TIniFileSection::ReadString(const std::wstring& key, const std::wstring& defaultValue) const {
    const TEntry* entry = Find(key);
    if (entry && entry->HasValue) return WithoutEnclosingQuotes(entry->Value);
    // The default as the system takes it: up to a zero, without trailing blanks but its first.
    std::wstring value(defaultValue.c_str());
    while (value.size() > 1 && value.back() == L' ') value.pop_back();
    return WithoutEnclosingQuotes(value);
}

int TIniFileSection::ReadInteger(const std::wstring& key, int defaultValue) const {
    return StrToIntDef(ReadString(key, std::wstring()), defaultValue);
}

bool TIniFileSection::ReadBool(const std::wstring& key, bool defaultValue) const {
    return ReadInteger(key, defaultValue ? 1 : 0) != 0;
}

}  // namespace ClassLib
