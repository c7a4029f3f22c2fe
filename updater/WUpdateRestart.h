#pragma once
// The hand-over to the restart program: which downloaded files are application components,
// and the command line the updater builds and the restart program reads. No windows here,
// so the restart program shares it without the rest of the updater.
#include <string>
#include <vector>

namespace WUpdate {

// A name that can only mean a file inside the folder it is joined to: not empty, no folder
// part, drive or stream (no "\", "/" or ":"), not "." or "..", no character the file
// system refuses, no trailing dot or blank (the system would drop it), and not a device
// such as "CON" or "lpt1.txt".
bool IsPlainFileName(const std::wstring& name);

// The names of a component list, split at commas, semicolons and blanks.
std::vector<std::wstring> SplitComponents(const std::wstring& list);
// True when the file's name (without folder) is one of the list's names, case ignored:
// "at.exe" is not a component of "VXAT.EXE".
bool IsComponent(const std::wstring& list, const std::wstring& fileName);

struct TRestartCommand {
    unsigned long ProcessId = 0;
    bool Logging = false;
    std::wstring Application;   // the program to start afterwards, or "null"
    std::wstring Parameters;    // its parameters, unquoted; blank when none
    std::wstring Folder;        // where the components wait; ends with "\"
    std::wstring Components;    // the rest of the line
};

// The restart program's parameters: process, L or X, application, parameters in quotes
// when they hold a blank (a lone blank when empty), the quoted folder, the components.
std::wstring BuildRestartParameters(const TRestartCommand& command);
// Reads the parameters back from the raw text after the program's name; the quoted folder
// ends in "\" and is taken up to the next quote, as argv splitting would not.
bool ParseRestartParameters(const std::wstring& parameters, TRestartCommand& command);
// The raw command line without the program's name (quoted or not) and the blanks after it.
std::wstring SkipProgramName(const std::wstring& commandLine);

}  // namespace WUpdate
