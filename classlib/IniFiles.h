#pragma once
// INI files through the system's profile routines: each write goes to the file at
// once, existing keys are replaced in place, other sections and keys stay as they are.
#include <string>
#include <vector>

#include "classlib/Object.h"

namespace ClassLib {

class TStrings;

class TIniFile : public TObject {
    CLASSLIB_CLASS(TIniFile, TObject)
public:
    explicit TIniFile(const std::wstring& fileName) : FFileName(fileName) {}
    const std::wstring& FileName() const noexcept { return FFileName; }

    std::wstring ReadString(const std::wstring& section, const std::wstring& key, const std::wstring& defaultValue) const;
    // Decimal, or hexadecimal with "0x" or "$"; the default when missing or not a number.
    int ReadInteger(const std::wstring& section, const std::wstring& key, int defaultValue) const;
    // Any integer other than 0 reads as true.
    bool ReadBool(const std::wstring& section, const std::wstring& key, bool defaultValue) const;
    double ReadFloat(const std::wstring& section, const std::wstring& key, double defaultValue) const;

    // EIniFileException "Unable to write to <file>" when the profile routine fails.
    void WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value);
    void WriteInteger(const std::wstring& section, const std::wstring& key, int value);
    void WriteBool(const std::wstring& section, const std::wstring& key, bool value);   // "1" / "0"
    void WriteFloat(const std::wstring& section, const std::wstring& key, double value);

    std::vector<std::wstring> ReadSection(const std::wstring& section) const;   // key names
    std::vector<std::wstring> ReadSections() const;
    void ReadSection(const std::wstring& section, TStrings* keys) const;
    void ReadSections(TStrings* sections) const;
    void ReadSectionValues(const std::wstring& section, TStrings* values) const;   // "key=value" lines
    bool SectionExists(const std::wstring& section) const;
    bool ValueExists(const std::wstring& section, const std::wstring& key) const;
    void EraseSection(const std::wstring& section);
    void DeleteKey(const std::wstring& section, const std::wstring& key);
    // Flushes the system's cached copy of the file.
    void UpdateFile();

private:
    std::vector<std::wstring> ReadList(const wchar_t* section) const;
    std::wstring FFileName;
};

}  // namespace ClassLib
