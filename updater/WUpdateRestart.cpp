#include "updater/WUpdateRestart.h"

#include <cwchar>
#include <cwctype>

namespace WUpdate {

namespace {

bool IsSeparator(wchar_t c) { return c == L',' || c == L';' || c == L' ' || c == L'\t'; }

std::wstring Folded(std::wstring text) {
    for (wchar_t& c : text) c = wchar_t(std::towupper(c));
    return text;
}

// A value that holds a blank travels in quotes.
std::wstring Quoted(const std::wstring& value) {
    return value.find(L' ') == std::wstring::npos ? value : L"\"" + value + L"\"";
}

// One value from `at`: quoted (up to the next quote) or up to the next blank.
bool TakeValue(const std::wstring& text, size_t& at, std::wstring& value) {
    while (at < text.size() && text[at] == L' ') ++at;
    if (at >= text.size()) return false;
    if (text[at] == L'"') {
        const size_t close = text.find(L'"', at + 1);
        if (close == std::wstring::npos) return false;
        value = text.substr(at + 1, close - at - 1);
        at = close + 1;
    } else {
        const size_t stop = std::min(text.find(L' ', at), text.size());
        value = text.substr(at, stop - at);
        at = stop;
    }
    return true;
}

}  // namespace

bool IsPlainFileName(const std::wstring& name) {
    if (name.empty() || name == L"." || name == L"..") return false;
    for (const wchar_t c : name)
        if (c < 32 || std::wcschr(L"\\/:*?\"<>|", c)) return false;
    if (name.back() == L'.' || name.back() == L' ') return false;
    // A device name opens the device wherever it is joined to, with any extension.
    const std::wstring base = Folded(name.substr(0, name.find(L'.')));
    static const wchar_t* const devices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* device : devices)
        if (base == device) return false;
    if (base.size() == 4 && (base.starts_with(L"COM") || base.starts_with(L"LPT")) && std::iswdigit(base[3]))
        return false;
    return true;
}

std::vector<std::wstring> SplitComponents(const std::wstring& list) {
    std::vector<std::wstring> names;
    std::wstring current;
    for (const wchar_t c : list + L",") {
        if (!IsSeparator(c)) {
            current += c;
        } else if (!current.empty()) {
            names.push_back(current);
            current.clear();
        }
    }
    return names;
}

bool IsComponent(const std::wstring& list, const std::wstring& fileName) {
    const size_t slash = fileName.find_last_of(L"\\/");
    const std::wstring name = Folded(slash == std::wstring::npos ? fileName : fileName.substr(slash + 1));
    for (const std::wstring& component : SplitComponents(list))
        if (Folded(component) == name) return true;
    return false;
}

std::wstring BuildRestartParameters(const TRestartCommand& command) {
    const std::wstring parameters = command.Parameters.empty() ? L" " : command.Parameters;
    return std::to_wstring(command.ProcessId) + (command.Logging ? L" L " : L" X ") + Quoted(command.Application) +
           L" " + Quoted(parameters) + L" \"" + command.Folder + L"\" " + command.Components;
}

bool ParseRestartParameters(const std::wstring& parameters, TRestartCommand& command) {
    size_t at = 0;
    std::wstring id, mode;
    if (!TakeValue(parameters, at, id) || id.empty() || id.find_first_not_of(L"0123456789") != std::wstring::npos)
        return false;
    if (!TakeValue(parameters, at, mode) || (mode != L"L" && mode != L"X")) return false;
    command.ProcessId = std::stoul(id);
    command.Logging = mode == L"L";
    if (!TakeValue(parameters, at, command.Application) || !TakeValue(parameters, at, command.Parameters)) return false;
    if (command.Parameters.find_first_not_of(L' ') == std::wstring::npos) command.Parameters.clear();
    while (at < parameters.size() && parameters[at] == L' ') ++at;
    if (at >= parameters.size() || parameters[at] != L'"' || !TakeValue(parameters, at, command.Folder)) return false;
    if (!command.Folder.empty() && command.Folder.back() != L'\\') command.Folder += L'\\';
    if (at < parameters.size() && parameters[at] == L' ') ++at;
    command.Components = parameters.substr(at);
    return true;
}

std::wstring SkipProgramName(const std::wstring& commandLine) {
    size_t at = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        const size_t close = commandLine.find(L'"', 1);
        at = close == std::wstring::npos ? commandLine.size() : close + 1;
    } else {
        at = std::min(commandLine.find_first_of(L" \t"), commandLine.size());
    }
    while (at < commandLine.size() && (commandLine[at] == L' ' || commandLine[at] == L'\t')) ++at;
    return commandLine.substr(at);
}

}  // namespace WUpdate
