#include "classlib/Registry.h"

#include <cstring>

#include "classlib/Exceptions.h"

namespace ClassLib {

CLASSLIB_IMPLEMENT(TRegistry, TObject)

namespace {
std::wstring TrimSeparators(std::wstring path, bool& absolute) {
    absolute = !path.empty() && path.front() == L'\\';
    while (!path.empty() && path.front() == L'\\') path.erase(0, 1);
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    return path;
}

[[noreturn]] void InvalidType(const std::wstring& name) {
    throw ERegistryException(L"Invalid data type for '" + name + L"'");
}
}  // namespace

TRegistry::TRegistry(REGSAM access) : FAccess(access) {}

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKEY root) {
    if (root == FRootKey) return;
    CloseKey();
    FRootKey = root;
}

HKEY TRegistry::BaseKey(bool relative) const { return relative && FCurrentKey ? FCurrentKey : FRootKey; }

std::wstring TRegistry::ExpandPath(const std::wstring& key, bool& relative) const {
    bool absolute = false;
    const std::wstring path = TrimSeparators(key, absolute);
    relative = !absolute;
    if (relative && FCurrentKey && !FCurrentPath.empty()) return FCurrentPath + (path.empty() ? L"" : L"\\" + path);
    return path;
}

void TRegistry::ChangeKey(HKEY key, const std::wstring& path) {
    CloseKey();
    FCurrentKey = key;
    FCurrentPath = path;
}

bool TRegistry::OpenKey(const std::wstring& key, bool canCreate) {
    bool relative = false;
    const std::wstring fullPath = ExpandPath(key, relative);
    bool absolute = false;
    const std::wstring subKey = TrimSeparators(key, absolute);
    HKEY opened = nullptr;
    LONG status;
    if (canCreate && !subKey.empty())
        status = ::RegCreateKeyExW(BaseKey(relative), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, FAccess,
                                   nullptr, &opened, nullptr);
    else
        status = ::RegOpenKeyExW(BaseKey(relative), subKey.c_str(), 0, FAccess, &opened);
    if (status != ERROR_SUCCESS) return false;
    ChangeKey(opened, fullPath);
    return true;
}

bool TRegistry::OpenKeyReadOnly(const std::wstring& key) {
    const REGSAM saved = FAccess;
    FAccess = KEY_READ;
    const bool opened = OpenKey(key, false);
    if (!opened) FAccess = saved;
    return opened;
}

void TRegistry::CloseKey() {
    if (FCurrentKey) {
        ::RegCloseKey(FCurrentKey);
        FCurrentKey = nullptr;
    }
    FCurrentPath.clear();
}

bool TRegistry::CreateKey(const std::wstring& key) {
    bool absolute = false;
    const std::wstring subKey = TrimSeparators(key, absolute);
    HKEY created = nullptr;
    const LONG status = ::RegCreateKeyExW(BaseKey(!absolute), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                          KEY_ALL_ACCESS, nullptr, &created, nullptr);
    if (status != ERROR_SUCCESS) return false;
    ::RegCloseKey(created);
    return true;
}

bool TRegistry::DeleteKey(const std::wstring& key) {
    bool absolute = false;
    const std::wstring subKey = TrimSeparators(key, absolute);
    if (subKey.empty()) return false;
    const HKEY base = BaseKey(!absolute);
    // RegDeleteKey refuses keys with sub-keys: remove those first, deepest first.
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(base, subKey.c_str(), 0, KEY_READ, &opened) == ERROR_SUCCESS) {
        std::vector<std::wstring> children;
        wchar_t name[256];
        for (DWORD index = 0;; ++index) {
            DWORD length = 256;
            if (::RegEnumKeyExW(opened, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            children.emplace_back(name, length);
        }
        ::RegCloseKey(opened);
        TRegistry child(KEY_ALL_ACCESS);
        child.SetRootKey(base);
        for (const std::wstring& name2 : children) child.DeleteKey(L"\\" + subKey + L"\\" + name2);
    }
    return ::RegDeleteKeyW(base, subKey.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::KeyExists(const std::wstring& key) {
    bool absolute = false;
    const std::wstring subKey = TrimSeparators(key, absolute);
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(BaseKey(!absolute), subKey.c_str(), 0, STANDARD_RIGHTS_READ | KEY_QUERY_VALUE |
                        KEY_ENUMERATE_SUB_KEYS, &opened) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(opened);
    return true;
}

bool TRegistry::HasSubKeys() {
    DWORD count = 0;
    return FCurrentKey && ::RegQueryInfoKeyW(FCurrentKey, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                                             nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS && count > 0;
}

std::vector<std::wstring> TRegistry::GetKeyNames() {
    std::vector<std::wstring> names;
    if (!FCurrentKey) return names;
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        if (::RegEnumKeyExW(FCurrentKey, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    return names;
}

std::vector<std::wstring> TRegistry::GetValueNames() {
    std::vector<std::wstring> names;
    if (!FCurrentKey) return names;
    std::vector<wchar_t> name(16384);
    for (DWORD index = 0;; ++index) {
        DWORD length = DWORD(name.size());
        if (::RegEnumValueW(FCurrentKey, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.emplace_back(name.data(), length);
    }
    return names;
}

bool TRegistry::ValueExists(const std::wstring& name) {
    return FCurrentKey &&
           ::RegQueryValueExW(FCurrentKey, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool TRegistry::DeleteValue(const std::wstring& name) {
    return FCurrentKey && ::RegDeleteValueW(FCurrentKey, name.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::GetDataInfo(const std::wstring& name, TRegDataInfo& info) {
    DWORD type = 0, size = 0;
    if (!FCurrentKey || ::RegQueryValueExW(FCurrentKey, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        info = {rdUnknown, 0};
        return false;
    }
    switch (type) {
    case REG_SZ: info.RegData = rdString; break;
    case REG_EXPAND_SZ: info.RegData = rdExpandString; break;
    case REG_DWORD: info.RegData = rdInteger; break;
    case REG_BINARY: info.RegData = rdBinary; break;
    default: info.RegData = rdUnknown; break;
    }
    info.DataSize = int(size);
    return true;
}

TRegDataType TRegistry::GetDataType(const std::wstring& name) {
    TRegDataInfo info{};
    return GetDataInfo(name, info) ? info.RegData : rdUnknown;
}

std::vector<uint8_t> TRegistry::GetData(const std::wstring& name, DWORD& type) {
    DWORD size = 0;
    if (!FCurrentKey || ::RegQueryValueExW(FCurrentKey, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        throw ERegistryException(L"Failed to get data for '" + name + L"'");
    std::vector<uint8_t> data(size);
    // The value may grow between the two calls; ask again with the size it reports.
    LONG status;
    while ((status = ::RegQueryValueExW(FCurrentKey, name.c_str(), nullptr, &type, data.data(), &size)) == ERROR_MORE_DATA)
        data.resize(size);
    if (status != ERROR_SUCCESS) throw ERegistryException(L"Failed to get data for '" + name + L"'");
    data.resize(size);
    return data;
}

void TRegistry::PutData(const std::wstring& name, const void* data, DWORD size, DWORD type) {
    if (!FCurrentKey || ::RegSetValueExW(FCurrentKey, name.c_str(), 0, type, static_cast<const BYTE*>(data), size) !=
                            ERROR_SUCCESS)
        throw ERegistryException(L"Failed to set data for '" + name + L"'");
}

std::wstring TRegistry::ReadString(const std::wstring& name) {
    if (!ValueExists(name)) return std::wstring();
    DWORD type = 0;
    const std::vector<uint8_t> data = GetData(name, type);
    if (type != REG_SZ && type != REG_EXPAND_SZ) InvalidType(name);
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
    const size_t end = text.find(L'\0');
    if (end != std::wstring::npos) text.resize(end);
    return text;
}

int TRegistry::ReadInteger(const std::wstring& name) {
    DWORD type = 0;
    const std::vector<uint8_t> data = GetData(name, type);
    if (type != REG_DWORD || data.size() != sizeof(DWORD)) InvalidType(name);
    DWORD value = 0;
    std::memcpy(&value, data.data(), sizeof value);
    return int(value);
}

bool TRegistry::ReadBool(const std::wstring& name) { return ReadInteger(name) != 0; }

std::vector<uint8_t> TRegistry::ReadBinaryData(const std::wstring& name) {
    DWORD type = 0;
    std::vector<uint8_t> data = GetData(name, type);
    if (type != REG_BINARY) InvalidType(name);
    return data;
}

void TRegistry::WriteString(const std::wstring& name, const std::wstring& value) {
    PutData(name, value.c_str(), DWORD((value.size() + 1) * sizeof(wchar_t)), REG_SZ);
}

void TRegistry::WriteExpandString(const std::wstring& name, const std::wstring& value) {
    PutData(name, value.c_str(), DWORD((value.size() + 1) * sizeof(wchar_t)), REG_EXPAND_SZ);
}

void TRegistry::WriteInteger(const std::wstring& name, int value) {
    const DWORD data = DWORD(value);
    PutData(name, &data, sizeof data, REG_DWORD);
}

void TRegistry::WriteBool(const std::wstring& name, bool value) { WriteInteger(name, value ? 1 : 0); }

void TRegistry::WriteBinaryData(const std::wstring& name, const void* data, int size) {
    PutData(name, data, DWORD(size), REG_BINARY);
}

}  // namespace ClassLib
