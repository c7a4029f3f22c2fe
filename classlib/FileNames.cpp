#include "classlib/FileNames.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <iterator>

namespace ClassLib {

namespace {
bool IsDelimiter(wchar_t c) { return c == L'\\' || c == L'/' || c == L':'; }
size_t LastDelimiter(const String& name) {
    for (size_t i = name.size(); i > 0; --i)
        if (IsDelimiter(name[i - 1])) return i - 1;
    return String::npos;
}
}  // namespace

String ExtractFilePath(const String& fileName) {
    const size_t at = LastDelimiter(fileName);
    return at == String::npos ? String() : fileName.substr(0, at + 1);
}

String ExtractFileDir(const String& fileName) {
    String path = ExtractFilePath(fileName);
    // Keep "C:\" and "\" whole: they are directories in their own right.
    if (path.size() > 1 && (path.back() == L'\\' || path.back() == L'/') && path[path.size() - 2] != L':')
        path.pop_back();
    return path;
}

String ExtractFileName(const String& fileName) {
    const size_t at = LastDelimiter(fileName);
    return at == String::npos ? fileName : fileName.substr(at + 1);
}

String ExtractFileExt(const String& fileName) {
    const String name = ExtractFileName(fileName);
    const size_t dot = name.rfind(L'.');
    return dot == String::npos ? String() : name.substr(dot);
}

String ChangeFileExt(const String& fileName, const String& extension) {
    const size_t nameStart = fileName.size() - ExtractFileName(fileName).size();
    const size_t dot = fileName.rfind(L'.');
    if (dot == String::npos || dot < nameStart) return fileName + extension;
    return fileName.substr(0, dot) + extension;
}

String IncludeTrailingPathDelimiter(const String& path) {
    if (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) return path;
    return path + L'\\';
}

String ExcludeTrailingPathDelimiter(const String& path) {
    String result = path;
    if (!result.empty() && (result.back() == L'\\' || result.back() == L'/')) result.pop_back();
    return result;
}

String ExpandFileName(const String& fileName) {
    if (fileName.empty()) return String();
    wchar_t buffer[MAX_PATH * 4];
    const DWORD length = ::GetFullPathNameW(fileName.c_str(), DWORD(std::size(buffer)), buffer, nullptr);
    return length == 0 || length >= std::size(buffer) ? fileName : String(buffer, length);
}

bool FileExists(const String& fileName) {
    const DWORD attributes = ::GetFileAttributesW(fileName.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const String& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(const String& path) {
    const String dir = ExcludeTrailingPathDelimiter(ExpandFileName(path));
    if (dir.empty()) return false;
    if (DirectoryExists(dir)) return true;
    const String parent = ExtractFileDir(dir);
    if (parent == dir || parent.empty()) return ::CreateDirectoryW(dir.c_str(), nullptr) != 0;
    return ForceDirectories(parent) && (::CreateDirectoryW(dir.c_str(), nullptr) != 0 || DirectoryExists(dir));
}

String GetCurrentDir() {
    wchar_t buffer[MAX_PATH * 4];
    const DWORD length = ::GetCurrentDirectoryW(DWORD(std::size(buffer)), buffer);
    return String(buffer, length < std::size(buffer) ? length : 0);
}

String GetTempDir() {
    wchar_t buffer[MAX_PATH + 2];
    const DWORD length = ::GetTempPathW(DWORD(std::size(buffer)), buffer);
    return IncludeTrailingPathDelimiter(String(buffer, length <= MAX_PATH + 1 ? length : 0));
}

String KnownFolderPath(TKnownFolder folder) {
    const KNOWNFOLDERID* id = &FOLDERID_Documents;
    switch (folder) {
        case TKnownFolder::Documents: id = &FOLDERID_Documents; break;
        case TKnownFolder::LocalAppData: id = &FOLDERID_LocalAppData; break;
        case TKnownFolder::RoamingAppData: id = &FOLDERID_RoamingAppData; break;
        case TKnownFolder::CommonAppData: id = &FOLDERID_ProgramData; break;
    }
    wchar_t* path = nullptr;
    String result;
    if (SUCCEEDED(::SHGetKnownFolderPath(*id, 0, nullptr, &path)) && path) result = path;
    ::CoTaskMemFree(path);
    return result;
}

String CreateTempFileIn(const String& folder, const String& prefix) {
    wchar_t name[MAX_PATH + 1] = {};
    if (!::GetTempFileNameW(folder.empty() ? L"." : folder.c_str(), prefix.c_str(), 0, name)) return String();
    return name;
}

String CreateTempFileBeside(const String& fileName, const String& prefix) {
    return CreateTempFileIn(ExtractFilePath(fileName), prefix);
}

}  // namespace ClassLib
