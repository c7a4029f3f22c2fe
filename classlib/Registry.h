#pragma once
// TRegistry: one open key under a root key of the system registry, with typed reads
// and writes. Paths starting with "\" are taken from the root, others from the key
// that is open.
#include <windows.h>

#include <string>
#include <vector>

#include "classlib/Object.h"

namespace ClassLib {

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegDataInfo {
    TRegDataType RegData;
    int DataSize;
};

class TRegistry : public TObject {
    CLASSLIB_CLASS(TRegistry, TObject)
public:
    // Root HKEY_CURRENT_USER; `access` is what OpenKey asks for.
    explicit TRegistry(REGSAM access = KEY_ALL_ACCESS);
    ~TRegistry() override;

    HKEY RootKey() const noexcept { return FRootKey; }
    void SetRootKey(HKEY root);
    HKEY CurrentKey() const noexcept { return FCurrentKey; }
    const std::wstring& CurrentPath() const noexcept { return FCurrentPath; }
    REGSAM Access() const noexcept { return FAccess; }
    void SetAccess(REGSAM access) { FAccess = access; }

    // False when the key does not exist (and `canCreate` is off) or cannot be opened.
    bool OpenKey(const std::wstring& key, bool canCreate);
    bool OpenKeyReadOnly(const std::wstring& key);
    void CloseKey();
    bool CreateKey(const std::wstring& key);
    bool DeleteKey(const std::wstring& key);
    bool KeyExists(const std::wstring& key);
    bool HasSubKeys();
    std::vector<std::wstring> GetKeyNames();
    std::vector<std::wstring> GetValueNames();

    bool ValueExists(const std::wstring& name);
    bool DeleteValue(const std::wstring& name);
    bool GetDataInfo(const std::wstring& name, TRegDataInfo& info);
    TRegDataType GetDataType(const std::wstring& name);

    // Reads raise ERegistryException "Invalid data type for '<name>'" when the value
    // has another type, and on a missing value (a missing string reads as empty).
    std::wstring ReadString(const std::wstring& name);
    int ReadInteger(const std::wstring& name);
    bool ReadBool(const std::wstring& name);   // a 32-bit number, non-zero = true
    std::vector<uint8_t> ReadBinaryData(const std::wstring& name);
    // Writes raise ERegistryException "Failed to set data for '<name>'".
    void WriteString(const std::wstring& name, const std::wstring& value);
    void WriteExpandString(const std::wstring& name, const std::wstring& value);
    void WriteInteger(const std::wstring& name, int value);
    void WriteBool(const std::wstring& name, bool value);
    void WriteBinaryData(const std::wstring& name, const void* data, int size);

private:
    HKEY BaseKey(bool relative) const;
    std::wstring ExpandPath(const std::wstring& key, bool& relative) const;
    void ChangeKey(HKEY key, const std::wstring& path);
    void PutData(const std::wstring& name, const void* data, DWORD size, DWORD type);
    std::vector<uint8_t> GetData(const std::wstring& name, DWORD& type);

    HKEY FRootKey = HKEY_CURRENT_USER;
    HKEY FCurrentKey = nullptr;
    std::wstring FCurrentPath;
    REGSAM FAccess;
};

}  // namespace ClassLib
