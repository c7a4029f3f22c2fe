#include "classlib/RegistryIniFile.h"

#include <cwchar>

#include "classlib/Exceptions.h"
#include "classlib/Registry.h"

namespace ClassLib {

CLASSLIB_IMPLEMENT(TRegistryIniFile, TObject)

TRegistryIniFile::TRegistryIniFile(const std::wstring& fileName, REGSAM access)
    : FFileName(fileName), FAccess(access), FRegistry(std::make_unique<TRegistry>(access)) {}

TRegistryIniFile::~TRegistryIniFile() = default;

namespace {
std::wstring Join(const std::wstring& key, const std::wstring& section) {
    std::wstring path = L"\\" + key;
    if (!section.empty()) path += L"\\" + section;
    return path;
}
}  // namespace

bool TRegistryIniFile::OpenSection(const std::wstring& section, bool create) {
    FRegistry->CloseKey();
    if (create) {
        // A read-only open before leaves the registry object asking for read access only.
        FRegistry->SetAccess(FAccess);
        if (!FRegistry->OpenKey(Join(FFileName, section), true))
            throw ERegistryException(L"Cannot create the registry key \"" + Join(FFileName, section) + L"\"");
        return true;
    }
    return FRegistry->OpenKeyReadOnly(Join(FFileName, section));
}

std::wstring TRegistryIniFile::ReadString(const std::wstring& section, const std::wstring& key,
                                          const std::wstring& defaultValue) {
    if (!OpenSection(section, false) || !FRegistry->ValueExists(key)) return defaultValue;
    switch (FRegistry->GetDataType(key)) {
        case rdString: case rdExpandString: return FRegistry->ReadString(key);
        case rdInteger: return std::to_wstring(FRegistry->ReadInteger(key));
        default: return defaultValue;
    }
}

int TRegistryIniFile::ReadInteger(const std::wstring& section, const std::wstring& key, int defaultValue) {
    if (!OpenSection(section, false) || !FRegistry->ValueExists(key)) return defaultValue;
    switch (FRegistry->GetDataType(key)) {
        case rdInteger: return FRegistry->ReadInteger(key);
        case rdString: case rdExpandString: {
            const std::wstring text = FRegistry->ReadString(key);
            wchar_t* end = nullptr;
            const long value = std::wcstol(text.c_str(), &end, 10);
            return (!text.empty() && end && *end == L'\0') ? int(value) : defaultValue;
        }
        default: return defaultValue;
    }
}

bool TRegistryIniFile::ReadBool(const std::wstring& section, const std::wstring& key, bool defaultValue) {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TRegistryIniFile::WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    OpenSection(section, true);
    FRegistry->WriteString(key, value);
}

void TRegistryIniFile::WriteInteger(const std::wstring& section, const std::wstring& key, int value) {
    OpenSection(section, true);
    FRegistry->WriteInteger(key, value);
}

void TRegistryIniFile::WriteBool(const std::wstring& section, const std::wstring& key, bool value) {
    WriteInteger(section, key, value ? 1 : 0);
}

std::vector<std::wstring> TRegistryIniFile::ReadSection(const std::wstring& section) {
    if (!OpenSection(section, false)) return {};
    return FRegistry->GetValueNames();
}

std::vector<std::wstring> TRegistryIniFile::ReadSections() {
    if (!OpenSection(L"", false)) return {};
    return FRegistry->GetKeyNames();
}

bool TRegistryIniFile::SectionExists(const std::wstring& section) { return OpenSection(section, false); }

bool TRegistryIniFile::ValueExists(const std::wstring& section, const std::wstring& key) {
    return OpenSection(section, false) && FRegistry->ValueExists(key);
}

void TRegistryIniFile::EraseSection(const std::wstring& section) {
    FRegistry->CloseKey();
    FRegistry->DeleteKey(Join(FFileName, section));
}

void TRegistryIniFile::DeleteKey(const std::wstring& section, const std::wstring& key) {
    if (OpenSection(section, false)) {
        FRegistry->CloseKey();
        if (OpenSection(section, true)) FRegistry->DeleteValue(key);
    }
}

}  // namespace ClassLib
