#pragma once
// OLE drag and drop for the editor: a drop target that turns OLE events into simple virtual
// calls, a drop source and data object offering text, a reader of incoming data objects.
#include <windows.h>
#include <ole2.h>

#include <atomic>
#include <string>
#include <vector>

namespace AdvMDD {

// Rich text is never exchanged by drag and drop: drops do not take it and the data object
// refuses to render it (its enumerator still lists it).
extern bool RTFExchange;
// The "Rich Text Format" number as last registered by a TEnumFormats (0 before).
extern UINT RTFClipFormat;

// The names of a file-drop block (DROPFILES header, then zero-ended names, then an empty
// one). Only the given bytes are read: a bad offset gives no names, a name without its
// ending zero is dropped.
std::vector<std::wstring> ReadDropFiles(const void* data, size_t size);
// UTF-16 text up to its ending zero or the end of the block, whichever comes first.
std::wstring ReadWideText(const void* data, size_t size);
// 8-bit text (system code page) up to its ending zero or the end of the block.
std::string ReadNarrowText(const void* data, size_t size);

// COM reference counting shared by the classes below; each starts at one reference.
template <class TInterface>
class TComObject : public TInterface {
public:
    explicit TComObject(const IID& iid) : FIid(iid) {}
    virtual ~TComObject() = default;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefCount; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG count = --FRefCount;
        if (count == 0) delete this;
        return count;
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, FIid)) {
            *object = static_cast<TInterface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
private:
    const IID& FIid;
    std::atomic<ULONG> FRefCount{1};
};

// Reads the formats and data of an incoming data object.
class TEnumFormats {
public:
    explicit TEnumFormats(IDataObject* dataObject);
    ~TEnumFormats();
    TEnumFormats(const TEnumFormats&) = delete;
    TEnumFormats& operator=(const TEnumFormats&) = delete;

    void Reset();
    bool Next();
    bool HasFormat(CLIPFORMAT clipFormat);
    // The data of the current format on that medium (the caller releases it), or false.
    bool Handle(DWORD medium, STGMEDIUM& result);
    bool HasText() { return HasFormat(CF_UNICODETEXT); }
    bool HasRTF() { return RTFClipFormat != 0 && HasFormat(static_cast<CLIPFORMAT>(RTFClipFormat)); }
    bool HasFile() { return HasFormat(CF_HDROP); }
    std::wstring Text();
    std::string RTF();
    // The dropped file names; false when none could be read.
    bool ReadFiles();
    const std::vector<std::wstring>& Files() const { return FFiles; }
    const FORMATETC& Format() const { return FFormat; }
    bool Valid() const { return FValid; }
private:
    // The bytes of a global block of the given format, read within its size.
    bool GlobalBytes(CLIPFORMAT clipFormat, std::vector<char>& bytes);
    IDataObject* FDataObject;
    IEnumFORMATETC* FEnumerator = nullptr;
    FORMATETC FFormat{};
    bool FValid = false;
    int FSteps = 0;
    std::vector<std::wstring> FFiles;
};

// The drop target: answers OLE's four calls and hands a drop to the virtual calls.
// Points are screen coordinates.
class TAMDropTarget : public TComObject<IDropTarget> {
public:
    TAMDropTarget() : TComObject(IID_IDropTarget) {}
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* dataObject, DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* dataObject, DWORD keyState, POINTL pt, DWORD* effect) override;

    virtual bool WantsFiles() { return true; }
    virtual bool WantsText() { return true; }
    virtual void DropText(POINT, const std::wstring&) {}
    virtual void DropRTF(POINT, const std::string&) {}
    virtual void DropFiles(POINT, const std::vector<std::wstring>&) {}
    virtual void DragMouseMove(POINT, bool& allow) { allow = true; }
    virtual void DragMouseEnter(POINT pt) = 0;
    // The drag left the window or was cancelled: whatever the move drew is taken away.
    virtual void DragMouseLeave() {}
protected:
    bool FOk = false;
    // The effect given for the current drop: DropText reads it (copy or move) and sets
    // DROPEFFECT_NONE when it took nothing, so that the source keeps its text.
    DWORD FEffect = DROPEFFECT_NONE;
private:
    DWORD EffectFor(DWORD keyState) const;
};

class TAMDropSource : public TComObject<IDropSource> {
public:
    TAMDropSource() : TComObject(IID_IDropSource) {}
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override;
    bool NoAccept() const { return fNoAccept; }
private:
    bool fNoAccept = false;
};

// Offers plain text, Unicode text and (listed, refused while RTFExchange is off) RTF.
class TSourceDataObject : public TComObject<IDataObject> {
public:
    TSourceDataObject(std::wstring text, std::string rtf) : TComObject(IID_IDataObject), textdata(std::move(text)), rtfdata(std::move(rtf)) {}
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return DV_E_FORMATETC; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return DV_E_FORMATETC; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** result) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }
private:
    std::wstring textdata;
    std::string rtfdata;
};

class TSourceEnumFormatEtc : public TComObject<IEnumFORMATETC> {
public:
    TSourceEnumFormatEtc() : TComObject(IID_IEnumFORMATETC) {}
    HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* formats, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override { FIndex = 0; return S_OK; }
    HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** result) override;
private:
    ULONG FIndex = 0;  // invariant: 0 <= FIndex <= 3
};

// Runs the modal drag loop for the text: DRAGDROP_S_DROP on a drop (effect tells which),
// DRAGDROP_S_CANCEL when cancelled or when the last target allowed nothing.
HRESULT StartOleDrag(const std::wstring& text, const std::string& rtf, DWORD allowedEffects, DWORD& effect);

}  // namespace AdvMDD
