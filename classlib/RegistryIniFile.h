#pragma once
// TRegistryIniFile: the reads and writes of an INI file on a registry key. The "file
// name" is a key path under the current user's keys; a section is a subkey of it and a
// key a value. Integers are stored as 32-bit numbers, strings as text.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "classlib/Object.h"

namespace ClassLib {

class TRegistry;

class TRegistryIniFile : public TObject {
    CLASSLIB_CLASS(TRegistryIniFile, TObject)
public:
    explicit TRegistryIniFile(const std::wstring& fileName, REGSAM access = KEY_ALL_ACCESS);
    ~TRegistryIniFile() override;
    const std::wstring& FileName() const noexcept { return FFileName; }
    TRegistry* RegIniFile() const { return FRegistry.get(); }

    // The default when the section or value is missing; a number stored as text (or text
    // stored as a number) is converted.
    std::wstring ReadString(const std::wstring& section, const std::wstring& key, const std::wstring& defaultValue);
    int ReadInteger(const std::wstring& section, const std::wstring& key, int defaultValue);
    bool ReadBool(const std::wstring& section, const std::wstring& key, bool defaultValue);
    // Create the section's key when it is missing; ERegistryException when it cannot.
    void WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value);
    void WriteInteger(const std::wstring& section, const std::wstring& key, int value);
    void WriteBool(const std::wstring& section, const std::wstring& key, bool value);

    std::vector<std::wstring> ReadSection(const std::wstring& section);   // value names
    std::vector<std::wstring> ReadSections();                              // subkey names
    bool SectionExists(const std::wstring& section);
    bool ValueExists(const std::wstring& section, const std::wstring& key);
    void EraseSection(const std::wstring& section);
    void DeleteKey(const std::wstring& section, const std::wstring& key);

private:
    // Opens the section's key (made when `create`); false when it is missing.
    bool OpenSection(const std::wstring& section, bool create);
    std::wstring FFileName;
    REGSAM FAccess;
    std::unique_ptr<TRegistry> FRegistry;
};

}  // namespace ClassLib
