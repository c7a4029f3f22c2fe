#pragma once
// File names ('\' and '/' both separate; a drive ends with ':') and the few questions
// about files and folders the class library asks the system.
#include "classlib/Strings.h"

namespace ClassLib {

String ExtractFilePath(const String& fileName);   // with the trailing separator
String ExtractFileDir(const String& fileName);    // without it
String ExtractFileName(const String& fileName);
String ExtractFileExt(const String& fileName);    // with the dot; empty when none
String ChangeFileExt(const String& fileName, const String& extension);
String IncludeTrailingPathDelimiter(const String& path);
String ExcludeTrailingPathDelimiter(const String& path);
String ExpandFileName(const String& fileName);
bool FileExists(const String& fileName);
bool DirectoryExists(const String& path);
bool ForceDirectories(const String& path);

String GetCurrentDir();
String GetTempDir();   // with the trailing separator

// The user's and the machine's standard folders as the system names them (no trailing
// separator but a drive root's); empty when the system does not know the folder.
enum class TKnownFolder { Documents, LocalAppData, RoamingAppData, CommonAppData };
String KnownFolderPath(TKnownFolder folder);

// Creates an empty file of a new name ("<prefix>XXXX.tmp", the system's temporary-file
// names) in `folder` and returns its full name; empty when none could be made.
String CreateTempFileIn(const String& folder, const String& prefix);
// The same in the folder of `fileName` (the current folder for a bare name), so the
// temporary file can later replace `fileName` by a move on the same volume.
String CreateTempFileBeside(const String& fileName, const String& prefix);

}  // namespace ClassLib
