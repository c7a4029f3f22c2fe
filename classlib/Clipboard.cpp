#include "classlib/Clipboard.h"

#include <cstring>
#include <memory>

namespace ClassLib {

CLASSLIB_IMPLEMENT(TClipboard, TPersistent)

namespace {

// Frees a global block unless it was handed over.
struct TGlobalBlock {
    HGLOBAL Handle;
    explicit TGlobalBlock(HGLOBAL handle) : Handle(handle) {}
    ~TGlobalBlock() { if (Handle) ::GlobalFree(Handle); }
    HGLOBAL Release() { HGLOBAL h = Handle; Handle = nullptr; return h; }
};

// Closes the clipboard at the end of a scope, also when storing a format fails.
struct TOpenScope {
    TClipboard& Clipboard;
    explicit TOpenScope(TClipboard& clipboard) : Clipboard(clipboard) { Clipboard.Open(); }
    ~TOpenScope() { Clipboard.Close(); }
};

HGLOBAL CopyToGlobal(const void* data, std::size_t size) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size ? size : 1);
    if (!block) return nullptr;
    if (size) {
        void* target = ::GlobalLock(block);
        if (!target) {
            ::GlobalFree(block);
            return nullptr;
        }
        std::memcpy(target, data, size);
        ::GlobalUnlock(block);
    }
    return block;
}

}  // namespace

TClipboard::~TClipboard() {
    while (FOpenCount > 0) Close();
    if (FWindow) ::DestroyWindow(FWindow);
}

// The clipboard remembers an owner window; a hidden message-only window serves.
HWND TClipboard::Window() {
    if (!FWindow) {
        static const wchar_t* className = L"ClassLibClipboardOwner";
        WNDCLASSW cls{};
        cls.lpfnWndProc = ::DefWindowProcW;
        cls.hInstance = ::GetModuleHandleW(nullptr);
        cls.lpszClassName = className;
        ::RegisterClassW(&cls);  // fails harmlessly when already registered
        FWindow = ::CreateWindowExW(0, className, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, cls.hInstance, nullptr);
    }
    return FWindow;
}

void TClipboard::Open() {
    if (FOpenCount == 0) {
        HWND owner = Window();
        // Another program may hold the clipboard for a moment: try a few times.
        bool opened = false;
        for (int attempt = 0; attempt < 10 && !opened; ++attempt) {
            opened = ::OpenClipboard(owner) != FALSE;
            if (!opened) ::Sleep(10);
        }
        if (!opened) {
            const DWORD code = ::GetLastError();
            throw EClipboardException(L"Cannot open the clipboard: " + SysErrorMessage(code));
        }
        FEmptied = false;
    }
    ++FOpenCount;
}

void TClipboard::Close() {
    if (FOpenCount == 0) return;
    if (--FOpenCount == 0) ::CloseClipboard();
}

void TClipboard::Adding() {
    if (!FEmptied) {
        ::EmptyClipboard();
        FEmptied = true;
    }
}

void TClipboard::Clear() {
    TOpenScope scope(*this);
    ::EmptyClipboard();
    FEmptied = true;
}

bool TClipboard::HasFormat(UINT format) const { return ::IsClipboardFormatAvailable(format) != FALSE; }

UINT TClipboard::RegisterFormat(const std::wstring& name) {
    const UINT format = ::RegisterClipboardFormatW(name.c_str());
    if (!format) RaiseLastOSError(L"Cannot register the clipboard format \"" + name + L"\"");
    return format;
}

void TClipboard::SetAsHandle(UINT format, HANDLE data) {
    TGlobalBlock block(static_cast<HGLOBAL>(data));
    TOpenScope scope(*this);
    Adding();
    if (!::SetClipboardData(format, data)) {
        const DWORD code = ::GetLastError();
        throw EClipboardException(L"Cannot put data on the clipboard: " + SysErrorMessage(code));
    }
    block.Release();  // the clipboard owns it now
}

HANDLE TClipboard::GetAsHandle(UINT format) {
    TOpenScope scope(*this);
    return ::GetClipboardData(format);
}

void TClipboard::SetBuffer(UINT format, const void* data, std::size_t size) {
    HGLOBAL block = CopyToGlobal(data, size);
    if (!block) throw EClipboardException(L"Cannot put data on the clipboard: out of memory");
    SetAsHandle(format, block);
}

std::vector<std::uint8_t> TClipboard::GetBuffer(UINT format) {
    TOpenScope scope(*this);
    std::vector<std::uint8_t> bytes;
    HANDLE data = ::GetClipboardData(format);
    if (!data) return bytes;
    const SIZE_T size = ::GlobalSize(data);
    const void* source = ::GlobalLock(data);
    if (source && size) bytes.assign(static_cast<const std::uint8_t*>(source), static_cast<const std::uint8_t*>(source) + size);
    if (source) ::GlobalUnlock(data);
    return bytes;
}

std::wstring TClipboard::AsText() {
    TOpenScope scope(*this);
    std::wstring text;
    HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    if (!data) return text;
    const SIZE_T size = ::GlobalSize(data);
    const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data));
    if (!chars) return text;
    // Up to the terminating zero, but never past the end of the block.
    const std::size_t limit = size / sizeof(wchar_t);
    std::size_t length = 0;
    while (length < limit && chars[length] != L'\0') ++length;
    text.assign(chars, length);
    ::GlobalUnlock(data);
    return text;
}

void TClipboard::SetAsText(const std::wstring& text) {
    SetBuffer(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

TClipboard* Clipboard() {
    static TClipboard clipboard;
    return &clipboard;
}

}  // namespace ClassLib
