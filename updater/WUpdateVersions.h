#pragma once
// Version words of files and control files, and the byte-sum checksum: no window, no network.
#include <cstdint>
#include <string>

namespace WUpdate {

// A file version: the high and low 16 bits of versionms are its first two numbers, those
// of versionls the last two. Both words all ones mean "no version".
struct tfvi {
    uint32_t versionms = 0xFFFFFFFFu;
    uint32_t versionls = 0xFFFFFFFFu;
    bool operator==(const tfvi&) const = default;
};

bool HasVersion(const tfvi& version);
// "1,5" and "1.5" are 1.5.0.0; "7" is 7.0.0.0; "1.2.3.4.5" keeps its first word only.
// A number that is not decimal from 0 to 65535 ("-1", "70000", "$10") gives no version.
tfvi ParseVersion(const std::wstring& text);
// True when every number ParseVersion reads of the text is such a number ("1.2.3.4.5",
// whose low word is not read, included): what a control file may offer.
bool IsVersionText(const std::wstring& text);
// The four numbers joined by "."; no version gives 65535.65535.65535.65535.
std::wstring FormatVersion(const tfvi& version);
// True when `candidate` is later than `installed`; the words compare unsigned, so
// 1.0.40000.0 is later than 1.0.1.0.
bool IsLaterVersion(const tfvi& candidate, const tfvi& installed);
// The fixed version resource of a file; no version when it has none or is missing.
tfvi GetFileVersion(const std::wstring& fileName);
// The last-write time of a file in local time (days since 1899-12-30); false when missing.
bool FileTimeStamp(const std::wstring& fileName, double& localTime);
// -1 plus the sum of all bytes, wrapping at 32 bits; -1 when the file cannot be opened.
int FileByteSum(const std::wstring& fileName);

}  // namespace WUpdate
