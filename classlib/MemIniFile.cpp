#include "classlib/MemIniFile.h"

#include <windows.h>

#include "classlib/Exceptions.h"
#include "classlib/Seams.h"
#include "classlib/Streams.h"
#include "classlib/Strings.h"

namespace ClassLib {

CLASSLIB_IMPLEMENT(TMemIniFile, TObject)

TMemIniFile::~TMemIniFile() {
    if (!FAutoSave || !FModified || FFileName.empty()) return;
    try {
        UpdateFile();
    } catch (...) {
    }
}

bool TryUTF8Decode(const char* data, size_t size, std::wstring& text) {
    if (size == 0) {
        text.clear();
        return true;
    }
    if (size > 0x7FFFFFFF) return false;
    const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, data, int(size), nullptr, 0);
    if (length <= 0) return false;
    std::wstring decoded(size_t(length), L'\0');
    if (::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, data, int(size), decoded.data(), length) != length)
        return false;
    text = std::move(decoded);
    return true;
}

bool TMemIniFile::SetBytes(const std::vector<uint8_t>& bytes) {
    const char* data = reinterpret_cast<const char*>(bytes.data());
    size_t size = bytes.size();
    if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        data += 3;
        size -= 3;
    }
    std::wstring text;
    const bool utf8 = TryUTF8Decode(data, size, text);
    if (!utf8) text = AnsiToString(std::string(bytes.begin(), bytes.end()), Seams().AnsiCodePage());
    SetText(text);
    return utf8;
}

bool TMemIniFile::LoadFromFile(const std::wstring& fileName) {
    HANDLE file = ::CreateFileW(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = ::GetLastError();
        throw EFOpenError(L"Cannot open file \"" + fileName + L"\". " + SysErrorMessage(code), code);
    }
    std::vector<uint8_t> bytes;
    uint8_t block[32768];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ::ReadFile(file, block, sizeof block, &got, nullptr) != 0) && got > 0)
        bytes.insert(bytes.end(), block, block + got);
    const DWORD code = ok ? 0 : ::GetLastError();
    ::CloseHandle(file);
    if (!ok) throw EFOpenError(L"Cannot read file \"" + fileName + L"\". " + SysErrorMessage(code), code);
    return SetBytes(bytes);
}

void TMemIniFile::SetText(const std::wstring& text) {
    std::vector<TSection> sections;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos) end = text.size();
        const std::wstring line = Trim(text.substr(start, end - start));
        if (end < text.size() && text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n') ++end;
        start = end + 1;
        if (line.empty() || line[0] == L';') continue;
        if (line.front() == L'[' && line.back() == L']') {
            sections.push_back({Trim(line.substr(1, line.size() - 2)), {}});
            continue;
        }
        // Lines before the first section header belong to no section and are ignored.
        if (sections.empty()) continue;
        const size_t equals = line.find(L'=');
        if (equals == std::wstring::npos) continue;
        sections.back().Entries.push_back({Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))});
    }
    FSections = std::move(sections);
}

const TMemIniFile::TSection* TMemIniFile::FindSection(const std::wstring& section) const {
    for (const TSection& s : FSections)
        if (SameText(s.Name, section)) return &s;
    return nullptr;
}

const TMemIniFile::TEntry* TMemIniFile::FindEntry(const std::wstring& section, const std::wstring& key) const {
    // A section written twice reads as one, its first key of a name winning.
    for (const TSection& s : FSections) {
        if (!SameText(s.Name, section)) continue;
        for (const TEntry& e : s.Entries)
            if (SameText(e.Key, key)) return &e;
    }
    return nullptr;
}

std::wstring TMemIniFile::ReadString(const std::wstring& section, const std::wstring& key,
                                     const std::wstring& defaultValue) const {
    const TEntry* entry = FindEntry(section, key);
    return entry ? entry->Value : defaultValue;
}

int TMemIniFile::ReadInteger(const std::wstring& section, const std::wstring& key, int defaultValue) const {
    const TEntry* entry = FindEntry(section, key);
    return entry ? StrToIntDef(entry->Value, defaultValue) : defaultValue;
}

bool TMemIniFile::ReadBool(const std::wstring& section, const std::wstring& key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool TMemIniFile::SectionExists(const std::wstring& section) const { return FindSection(section) != nullptr; }

bool TMemIniFile::ValueExists(const std::wstring& section, const std::wstring& key) const {
    return FindEntry(section, key) != nullptr;
}

std::vector<std::wstring> TMemIniFile::ReadSections() const {
    std::vector<std::wstring> names;
    for (const TSection& s : FSections) names.push_back(s.Name);
    return names;
}

std::vector<std::wstring> TMemIniFile::ReadSection(const std::wstring& section) const {
    std::vector<std::wstring> keys;
    if (const TSection* s = FindSection(section))
        for (const TEntry& e : s->Entries) keys.push_back(e.Key);
    return keys;
}

void TMemIniFile::WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    TSection* target = nullptr;
    for (TSection& s : FSections)
        if (SameText(s.Name, section)) {
            target = &s;
            break;
        }
    if (!target) {
        FSections.push_back({section, {}});
        target = &FSections.back();
    }
    FModified = true;
    for (TEntry& e : target->Entries)
        if (SameText(e.Key, key)) {
            e.Value = value;
            return;
        }
    target->Entries.push_back({key, value});
}

void TMemIniFile::WriteInteger(const std::wstring& section, const std::wstring& key, int value) {
    WriteString(section, key, std::to_wstring(value));
}

void TMemIniFile::WriteBool(const std::wstring& section, const std::wstring& key, bool value) {
    WriteString(section, key, value ? L"1" : L"0");
}

void TMemIniFile::EraseSection(const std::wstring& section) {
    const auto before = FSections.size();
    std::erase_if(FSections, [&](const TSection& s) { return SameText(s.Name, section); });
    FModified = FModified || FSections.size() != before;
}

void TMemIniFile::DeleteKey(const std::wstring& section, const std::wstring& key) {
    for (TSection& s : FSections) {
        if (!SameText(s.Name, section)) continue;
        const auto before = s.Entries.size();
        std::erase_if(s.Entries, [&](const TEntry& e) { return SameText(e.Key, key); });
        FModified = FModified || s.Entries.size() != before;
    }
}

std::wstring TMemIniFile::Text() const {
    std::wstring text;
    for (const TSection& s : FSections) {
        text += L"[" + s.Name + L"]\r\n";
        for (const TEntry& e : s.Entries) text += e.Key + L"=" + e.Value + L"\r\n";
        text += L"\r\n";
    }
    return text;
}

void TMemIniFile::UpdateFile() {
    const AnsiString bytes = StringToAnsi(Text(), Seams().AnsiCodePage());
    SaveFileSafely(FFileName, [&](TStream* stream) { stream->WriteBuffer(bytes.data(), int(bytes.size())); });
    FModified = false;
}

}  // namespace ClassLib
