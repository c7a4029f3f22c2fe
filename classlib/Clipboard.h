#pragma once
// The system clipboard: text in and out, formats registered by name, and blocks of
// global memory set and read by handle. Reads never go past a block's size.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/Object.h"

namespace ClassLib {

class EClipboardException : public Exception { public: using Exception::Exception; };

class TClipboard : public TPersistent {
    CLASSLIB_CLASS(TClipboard, TPersistent)
public:
    TClipboard() = default;
    ~TClipboard() override;

    // Nests. Within one Open/Close the first store empties the clipboard and the
    // others add formats beside it. Raises EClipboardException when another
    // program keeps the clipboard open.
    void Open();
    void Close();
    bool IsOpen() const { return FOpenCount > 0; }
    void Clear();

    bool HasFormat(UINT format) const;
    // The number of a named format, registered with the system on first use.
    static UINT RegisterFormat(const std::wstring& name);

    // Unicode text; line breaks stay as they are. Empty when the clipboard has none.
    std::wstring AsText();
    void SetAsText(const std::wstring& text);

    // The clipboard takes ownership of `data` (a global memory block) once stored;
    // on failure the block is freed and EClipboardException raised.
    void SetAsHandle(UINT format, HANDLE data);
    // The clipboard keeps ownership; the handle is valid until the clipboard changes.
    HANDLE GetAsHandle(UINT format);
    // Copies `size` bytes into a new movable, zero-initialised global block and stores it.
    void SetBuffer(UINT format, const void* data, std::size_t size);
    // The whole block of a format; empty when the format is absent.
    std::vector<std::uint8_t> GetBuffer(UINT format);
private:
    void Adding();
    HWND Window();

    int FOpenCount = 0;
    bool FEmptied = false;
    HWND FWindow = nullptr;
};

// The one clipboard object of the program.
TClipboard* Clipboard();

}  // namespace ClassLib
