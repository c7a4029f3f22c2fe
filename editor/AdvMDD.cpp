#include "editor/AdvMDD.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>

#include "classlib/Control.h"
#include "classlib/Exceptions.h"

namespace AdvMDD {

bool RTFExchange = false;
UINT RTFClipFormat = 0;

namespace {

// Every COM entry stops exceptions here (none may unwind into OLE's frames) and hands
// them to the application, as the window procedure does.
template <class TBody>
HRESULT Guarded(TBody body) noexcept {
    HRESULT result = E_UNEXPECTED;
    ClassLib::CallGuarded(nullptr, [&] { result = body(); });
    return result;
}

FORMATETC OfferedFormat(ULONG index) {
    if (RTFClipFormat == 0) RTFClipFormat = ::RegisterClipboardFormatW(L"Rich Text Format");
    const CLIPFORMAT formats[3] = {CF_TEXT, CF_UNICODETEXT, static_cast<CLIPFORMAT>(RTFClipFormat)};
    return FORMATETC{formats[index], nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

// A movable, shared, zeroed block holding the bytes (which carry their own ending zero).
HGLOBAL GlobalCopy(const void* bytes, size_t size) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT, size);
    if (!block) return nullptr;
    void* target = ::GlobalLock(block);
    if (!target) {
        ::GlobalFree(block);
        return nullptr;
    }
    std::memcpy(target, bytes, size);
    ::GlobalUnlock(block);
    return block;
}

std::string ToCodePage(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(std::max(size, 0)), '\0');
    if (size > 0)
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr, nullptr);
    return result;
}

std::wstring FromCodePage(const std::string& text) {
    if (text.empty()) return {};
    const int size = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(std::max(size, 0)), L'\0');
    if (size > 0) ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), size);
    return result;
}

}  // namespace

// ---------------------------------------------------------------- reading drop data

std::wstring ReadWideText(const void* data, size_t size) {
    const size_t count = size / sizeof(wchar_t);
    std::wstring text(count, L'\0');
    if (count) std::memcpy(text.data(), data, count * sizeof(wchar_t));
    text.resize(std::min(text.find(L'\0'), count));
    return text;
}

std::string ReadNarrowText(const void* data, size_t size) {
    std::string text(static_cast<const char*>(data), size);
    text.resize(std::min(text.find('\0'), size));
    return text;
}

std::vector<std::wstring> ReadDropFiles(const void* data, size_t size) {
    std::vector<std::wstring> names;
    if (size < sizeof(DROPFILES)) return names;
    DROPFILES header;
    std::memcpy(&header, data, sizeof header);
    const size_t offset = header.pFiles & ~size_t(1);
    if (offset < sizeof(DROPFILES) || offset >= size) return names;
    const char* bytes = static_cast<const char*>(data) + offset;
    const size_t rest = size - offset;
    if (header.fWide) {
        const std::wstring all = [&] {
            std::wstring w(rest / sizeof(wchar_t), L'\0');
            if (!w.empty()) std::memcpy(w.data(), bytes, w.size() * sizeof(wchar_t));
            return w;
        }();
        size_t pos = 0;
        for (size_t end; (end = all.find(L'\0', pos)) != std::wstring::npos && end > pos; pos = end + 1)
            names.push_back(all.substr(pos, end - pos));
    } else {
        const std::string all(bytes, rest);
        size_t pos = 0;
        for (size_t end; (end = all.find('\0', pos)) != std::string::npos && end > pos; pos = end + 1)
            names.push_back(FromCodePage(all.substr(pos, end - pos)));
    }
    return names;
}

// ---------------------------------------------------------------- TEnumFormats

TEnumFormats::TEnumFormats(IDataObject* dataObject) : FDataObject(dataObject) {
    // Registered again here, as the clipboard's own numbering may not have run yet.
    if (::OpenClipboard(nullptr)) {
        RTFClipFormat = ::RegisterClipboardFormatW(L"Rich Text Format");
        ::CloseClipboard();
    } else {
        RTFClipFormat = ::RegisterClipboardFormatW(L"Rich Text Format");
    }
    if (!FDataObject || FAILED(FDataObject->EnumFormatEtc(DATADIR_GET, &FEnumerator)) || !FEnumerator)
        throw ClassLib::EInvalidOperation(L"Cannot get the format enumerator");
    FDataObject->AddRef();
    Reset();
}

TEnumFormats::~TEnumFormats() {
    if (FEnumerator) FEnumerator->Release();
    if (FDataObject) FDataObject->Release();
}

void TEnumFormats::Reset() {
    FValid = false;
    FSteps = 0;
    FEnumerator->Reset();
}

bool TEnumFormats::Next() {
    ULONG fetched = 0;
    FFormat = FORMATETC{};
    FValid = FEnumerator->Next(1, &FFormat, &fetched) == S_OK && fetched == 1;
    // The enumerator's target device is ours to free; nothing here uses it.
    if (FValid && FFormat.ptd) {
        ::CoTaskMemFree(FFormat.ptd);
        FFormat.ptd = nullptr;
    }
    ++FSteps;
    return FValid;
}

bool TEnumFormats::HasFormat(CLIPFORMAT clipFormat) {
    Reset();
    while (Next())
        if (FFormat.cfFormat == clipFormat) return true;
    return false;
}

bool TEnumFormats::Handle(DWORD medium, STGMEDIUM& result) {
    if (!FValid || !(FFormat.tymed & medium)) return false;
    FORMATETC wanted = FFormat;
    wanted.tymed = medium;
    result = STGMEDIUM{};
    return SUCCEEDED(FDataObject->GetData(&wanted, &result)) && result.tymed == medium;
}

bool TEnumFormats::GlobalBytes(CLIPFORMAT clipFormat, std::vector<char>& bytes) {
    STGMEDIUM medium{};
    if (!HasFormat(clipFormat) || !Handle(TYMED_HGLOBAL, medium)) return false;
    bool ok = false;
    if (const void* data = ::GlobalLock(medium.hGlobal)) {
        const size_t size = ::GlobalSize(medium.hGlobal);
        bytes.assign(static_cast<const char*>(data), static_cast<const char*>(data) + size);
        ::GlobalUnlock(medium.hGlobal);
        ok = true;
    }
    ::ReleaseStgMedium(&medium);
    return ok;
}

std::wstring TEnumFormats::Text() {
    std::vector<char> bytes;
    if (!GlobalBytes(CF_UNICODETEXT, bytes)) return {};
    return ReadWideText(bytes.data(), bytes.size());
}

std::string TEnumFormats::RTF() {
    std::vector<char> bytes;
    if (RTFClipFormat == 0 || !GlobalBytes(static_cast<CLIPFORMAT>(RTFClipFormat), bytes)) return {};
    return ReadNarrowText(bytes.data(), bytes.size());
}

bool TEnumFormats::ReadFiles() {
    FFiles.clear();
    std::vector<char> bytes;
    if (GlobalBytes(CF_HDROP, bytes)) FFiles = ReadDropFiles(bytes.data(), bytes.size());
    return !FFiles.empty();
}

// ---------------------------------------------------------------- TAMDropTarget

DWORD TAMDropTarget::EffectFor(DWORD keyState) const {
    if (!FOk) return DROPEFFECT_NONE;
    return (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

HRESULT TAMDropTarget::DragEnter(IDataObject* dataObject, DWORD keyState, POINTL pt, DWORD* effect) {
    return Guarded([&] {
        FOk = false;
        if (effect) *effect = DROPEFFECT_NONE;
        TEnumFormats formats(dataObject);
        FOk = (formats.HasText() && WantsText()) || (formats.HasFile() && WantsFiles());
        FEffect = EffectFor(keyState);
        if (effect) *effect = FEffect;
        if (FOk) DragMouseEnter(POINT{pt.x, pt.y});
        return S_OK;
    });
}

HRESULT TAMDropTarget::DragOver(DWORD keyState, POINTL pt, DWORD* effect) {
    return Guarded([&] {
        FEffect = EffectFor(keyState);
        if (FEffect != DROPEFFECT_NONE) {
            bool allow = true;
            DragMouseMove(POINT{pt.x, pt.y}, allow);
            if (!allow) FEffect = DROPEFFECT_NONE;
        }
        if (effect) *effect = FEffect;
        return S_OK;
    });
}

HRESULT TAMDropTarget::DragLeave() {
    return Guarded([&] {
        DragMouseLeave();
        return S_OK;
    });
}

HRESULT TAMDropTarget::Drop(IDataObject* dataObject, DWORD keyState, POINTL pt, DWORD* effect) {
    return Guarded([&] {
        const POINT point{pt.x, pt.y};
        FEffect = EffectFor(keyState);
        // A place that refuses the drop takes nothing and says so: a mover told "move"
        // would delete text that never arrived.
        if (FEffect != DROPEFFECT_NONE) {
            bool allow = true;
            DragMouseMove(point, allow);
            if (!allow) FEffect = DROPEFFECT_NONE;
        }
        if (effect) *effect = FEffect;
        if (FEffect == DROPEFFECT_NONE) {
            DragMouseLeave();
            return S_OK;
        }
        TEnumFormats formats(dataObject);
        if (formats.HasRTF() && RTFExchange) DropRTF(point, formats.RTF());
        else if (formats.HasText()) DropText(point, formats.Text());
        if (formats.HasFile() && formats.ReadFiles()) DropFiles(point, formats.Files());
        DragMouseLeave();
        if (effect) *effect = FEffect;  // a drop call may have refused after all
        return S_OK;
    });
}

// ---------------------------------------------------------------- TAMDropSource

HRESULT TAMDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
    if (escapePressed) return DRAGDROP_S_CANCEL;
    if (!(keyState & MK_LBUTTON)) return DRAGDROP_S_DROP;
    return S_OK;
}

HRESULT TAMDropSource::GiveFeedback(DWORD effect) {
    fNoAccept = effect == DROPEFFECT_NONE;
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

// ---------------------------------------------------------------- TSourceDataObject

HRESULT TSourceDataObject::QueryGetData(FORMATETC* format) {
    if (!format || format->dwAspect != DVASPECT_CONTENT || !(format->tymed & TYMED_HGLOBAL)) return DV_E_FORMATETC;
    const CLIPFORMAT cf = format->cfFormat;
    const bool rtf = RTFExchange && RTFClipFormat != 0 && cf == RTFClipFormat;
    return cf == CF_TEXT || cf == CF_UNICODETEXT || rtf ? S_OK : DV_E_FORMATETC;
}

HRESULT TSourceDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
    return Guarded([&]() -> HRESULT {
        if (!medium) return E_POINTER;
        *medium = STGMEDIUM{};
        if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
        HGLOBAL block = nullptr;
        if (format->cfFormat == CF_UNICODETEXT) {
            block = GlobalCopy(textdata.c_str(), (textdata.size() + 1) * sizeof(wchar_t));
        } else {
            const std::string bytes = format->cfFormat == CF_TEXT ? ToCodePage(textdata) : rtfdata;
            block = GlobalCopy(bytes.c_str(), bytes.size() + 1);
        }
        if (!block) return DV_E_FORMATETC;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = block;
        return S_OK;
    });
}

HRESULT TSourceDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
    if (out) out->ptd = nullptr;
    return E_NOTIMPL;
}

HRESULT TSourceDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** result) {
    return Guarded([&]() -> HRESULT {
        if (!result) return E_POINTER;
        *result = nullptr;
        if (direction != DATADIR_GET) return E_NOTIMPL;
        *result = new TSourceEnumFormatEtc;
        return S_OK;
    });
}

// ---------------------------------------------------------------- TSourceEnumFormatEtc

HRESULT TSourceEnumFormatEtc::Next(ULONG count, FORMATETC* formats, ULONG* fetched) {
    if (!formats) return E_POINTER;
    ULONG given = 0;
    while (given < count && FIndex < 3) formats[given++] = OfferedFormat(FIndex++);
    if (fetched) *fetched = given;
    return given == count ? S_OK : S_FALSE;
}

HRESULT TSourceEnumFormatEtc::Skip(ULONG count) {
    if (count > 3 - FIndex) {
        FIndex = 3;
        return S_FALSE;
    }
    FIndex += count;
    return S_OK;
}

HRESULT TSourceEnumFormatEtc::Clone(IEnumFORMATETC** result) {
    return Guarded([&]() -> HRESULT {
        if (!result) return E_POINTER;
        *result = new TSourceEnumFormatEtc;
        return S_OK;
    });
}

// ---------------------------------------------------------------- starting a drag

HRESULT StartOleDrag(const std::wstring& text, const std::string& rtf, DWORD allowedEffects, DWORD& effect) {
    effect = DROPEFFECT_NONE;
    auto* source = new TAMDropSource;
    auto* data = new TSourceDataObject(text, rtf);
    HRESULT result = ::DoDragDrop(data, source, allowedEffects, &effect);
    if (source->NoAccept()) result = DRAGDROP_S_CANCEL;
    data->Release();
    source->Release();
    return result;
}

}  // namespace AdvMDD
