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

// One section of an INI file, read through a single system call and then answered from
// memory as TIniFile's reads of the unchanged file would answer: the first section of the
// name and its first key of the name (both matched without regard to case), one pair of
// matching enclosing quotes dropped, a key without "=" read as missing, and a default's
// trailing blanks dropped. A key starting with ";" is a comment and reads as missing.
// For a reader of many keys: each TIniFile read goes to the file again.
class TIniFileSection {
public:
    // A missing file, or one without the section, reads as empty.
    TIniFileSection(const std::wstring& fileName, const std::wstring& section);
    const std::wstring& FileName() const noexcept { return FFileName; }
    const std::wstring& Section() const noexcept { return FSection; }

    std::wstring ReadString(const std::wstring& key, const std::wstring& defaultValue) const;
    // As TIniFile's: decimal, or hexadecimal with "0x" or "$"; the default when missing or
    // not a number.
    int ReadInteger(const std::wstring& key, int defaultValue) const;
    bool ReadBool(const std::wstring& key, bool defaultValue) const;

private:
    struct TEntry {
        std::wstring Key;   // lower case
        std::wstring Value;
        bool HasValue;      // the line had a "="
    };
    const TEntry* Find(const std::wstring& key) const;
    std::wstring FFileName, FSection;
    std::vector<TEntry> FEntries;   // in the file's order
};

}  // namespace ClassLib
