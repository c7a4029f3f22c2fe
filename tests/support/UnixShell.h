#pragma once
// Linux tools run from a test under Wine: Unix paths of Windows files, and a shell whose
// results come back through files.
#include <string>

namespace TestSupport {

// The Unix path of a Windows path; empty when not running under Wine.
std::string UnixPath(const std::wstring& windowsPath);
// The bytes of the file at a Unix path; empty when it cannot be read.
std::string ReadUnixFile(const std::string& unixPath);
// Runs a shell command line of the Linux side and waits until it is done. Its standard output
// never reaches a Windows pipe, nor its exit code the Windows process: the command writes its
// results into files and its status goes into `statusFile` (a Unix path), whose text is
// returned ("0\n" on success), or why the shell could not start.
std::string RunShell(const std::string& command, const std::string& statusFile);

}  // namespace TestSupport
