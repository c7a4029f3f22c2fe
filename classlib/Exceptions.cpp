#include "classlib/Exceptions.h"

#include <windows.h>

namespace ClassLib {

namespace {
std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(size_t(size > 0 ? size : 0), '\0');
    if (size > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), result.data(), size, nullptr, nullptr);
    return result;
}
}  // namespace

Exception::Exception(std::wstring message) : FMessage(std::move(message)), FNarrow(ToUtf8(FMessage)) {}

void Exception::SetMessage(std::wstring message) {
    FMessage = std::move(message);
    FNarrow = ToUtf8(FMessage);
}

void Abort() { throw EAbort(L"Operation aborted"); }

std::wstring SysErrorMessage(unsigned long errorCode) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
            FORMAT_MESSAGE_ARGUMENT_ARRAY,
        nullptr, errorCode, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text;
    if (buffer) {
        text.assign(buffer, length);
        ::LocalFree(buffer);
    }
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
        text.pop_back();
    if (text.empty()) text = L"System error code " + std::to_wstring(errorCode);
    return text;
}

void RaiseOSError(unsigned long errorCode, const std::wstring& context) {
    const std::wstring system = SysErrorMessage(errorCode);
    throw EOSError(context.empty() ? system : context + L": " + system, errorCode);
}

void RaiseLastOSError(const std::wstring& context) {
    const DWORD code = ::GetLastError();  // first: building the message may reset it
    RaiseOSError(code, context);
}

void RaiseListIndexError(int index) {
    throw EListError(L"List index out of bounds (" + std::to_wstring(index) + L")");
}

}  // namespace ClassLib
