#pragma once
// An INI file held in memory: parsed once from text or from bytes (strict UTF-8, else
// the system's ANSI code page), read with case-insensitive section and key names, and
// changed in memory until it is written back to its file.
#include <cstdint>
#include <string>
#include <vector>

#include "classlib/Object.h"

namespace ClassLib {

class TMemIniFile : public TObject {
    CLASSLIB_CLASS(TMemIniFile, TObject)
public:
    TMemIniFile() = default;
    explicit TMemIniFile(const std::wstring& text) { SetText(text); }
    // With AutoSave on, a changed file is written back here; a failure is swallowed (a
    // destructor cannot report it): call UpdateFile first to hear of it.
    ~TMemIniFile() override;

    // Bytes that are valid UTF-8 (with or without a mark) are read as such; anything
    // else in the ANSI code page of the seams. Returns whether UTF-8 was used.
    bool SetBytes(const std::vector<uint8_t>& bytes);
    // EFOpenError when the file cannot be read; the sections loaded before stay.
    bool LoadFromFile(const std::wstring& fileName);
    void SetText(const std::wstring& text);

    std::wstring ReadString(const std::wstring& section, const std::wstring& key, const std::wstring& defaultValue) const;
    // Decimal, or hexadecimal with "$" or "0x"; the default when missing or not a number.
    int ReadInteger(const std::wstring& section, const std::wstring& key, int defaultValue) const;
    bool ReadBool(const std::wstring& section, const std::wstring& key, bool defaultValue) const;
    bool SectionExists(const std::wstring& section) const;
    bool ValueExists(const std::wstring& section, const std::wstring& key) const;
    std::vector<std::wstring> ReadSections() const;
    std::vector<std::wstring> ReadSection(const std::wstring& section) const;   // key names

    // Changes in memory; the section and the key are added when missing.
    void WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value);
    void WriteInteger(const std::wstring& section, const std::wstring& key, int value);
    void WriteBool(const std::wstring& section, const std::wstring& key, bool value);   // "1" / "0"
    void EraseSection(const std::wstring& section);
    void DeleteKey(const std::wstring& section, const std::wstring& key);
    // Every section as INI text: "[name]", then one "key=value" line per key, CR LF.
    std::wstring Text() const;

    // The file UpdateFile writes (LoadFromFile does not set it).
    const std::wstring& FileName() const noexcept { return FFileName; }
    void SetFileName(const std::wstring& fileName) { FFileName = fileName; }
    bool AutoSave() const noexcept { return FAutoSave; }
    void SetAutoSave(bool value) { FAutoSave = value; }
    // True after a write that UpdateFile has not stored yet.
    bool Modified() const noexcept { return FModified; }
    // Writes Text() in the ANSI code page of the seams through a temporary file beside
    // the target (EFCreateError when that fails; the old file stays whole).
    void UpdateFile();

private:
    struct TEntry { std::wstring Key, Value; };
    struct TSection { std::wstring Name; std::vector<TEntry> Entries; };
    const TSection* FindSection(const std::wstring& section) const;
    const TEntry* FindEntry(const std::wstring& section, const std::wstring& key) const;

    std::vector<TSection> FSections;
    std::wstring FFileName;
    bool FAutoSave = false;
    bool FModified = false;
};

// Strict UTF-8 to UTF-16: false (and `text` untouched) for bytes that are not UTF-8.
bool TryUTF8Decode(const char* data, size_t size, std::wstring& text);

}  // namespace ClassLib
