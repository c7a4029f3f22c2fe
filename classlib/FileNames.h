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

}  // namespace ClassLib
