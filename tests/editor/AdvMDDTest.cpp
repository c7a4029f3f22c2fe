#include "editor/AdvMDD.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "classlib/Seams.h"
#include "editor/AdvMemoOle.h"

using namespace AdvMDD;

namespace {

// Releases a COM object at the end of a scope.
template <class T>
struct TComRef {
    explicit TComRef(T* object) : Object(object) {}
    ~TComRef() { if (Object) Object->Release(); }
    TComRef(const TComRef&) = delete;
    TComRef& operator=(const TComRef&) = delete;
    T* operator->() const { return Object; }
    T* Object;
};

FORMATETC Etc(CLIPFORMAT cf, DWORD tymed = TYMED_HGLOBAL, DWORD aspect = DVASPECT_CONTENT) {
    return FORMATETC{cf, nullptr, aspect, -1, tymed};
}

CLIPFORMAT RtfFormat() { return static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(L"Rich Text Format")); }

std::vector<char> BytesOf(const STGMEDIUM& medium) {
    std::vector<char> bytes(::GlobalSize(medium.hGlobal));
    const void* data = ::GlobalLock(medium.hGlobal);
    std::memcpy(bytes.data(), data, bytes.size());
    ::GlobalUnlock(medium.hGlobal);
    return bytes;
}

template <class TChar>
std::vector<char> Raw(const TChar* text, size_t count) {
    const char* p = reinterpret_cast<const char*>(text);
    return std::vector<char>(p, p + count * sizeof(TChar));
}

// A data object that offers fixed byte blocks, each exactly as long as given.
class TFixedDataObject : public TComObject<IDataObject> {
public:
    explicit TFixedDataObject(std::map<CLIPFORMAT, std::vector<char>> blocks)
        : TComObject(IID_IDataObject), FBlocks(std::move(blocks)) {}
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        const auto found = FBlocks.find(format->cfFormat);
        if (found == FBlocks.end() || !(format->tymed & TYMED_HGLOBAL)) return DV_E_FORMATETC;
        const std::vector<char>& bytes = found->second;
        HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        std::memcpy(::GlobalLock(block), bytes.data(), bytes.size());
        ::GlobalUnlock(block);
        *medium = STGMEDIUM{};
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = block;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return FBlocks.count(format->cfFormat) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** result) override {
        if (direction != DATADIR_GET || FNoEnumerator) return E_NOTIMPL;
        std::vector<FORMATETC> formats;
        for (const auto& block : FBlocks) formats.push_back(Etc(block.first));
        return ::SHCreateStdEnumFmtEtc(static_cast<UINT>(formats.size()), formats.data(), result);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    bool FNoEnumerator = false;
private:
    std::map<CLIPFORMAT, std::vector<char>> FBlocks;
};

// A DROPFILES block: the header (naming `offset`), then the name bytes, nothing else.
template <class TChar>
std::vector<char> DropBlock(const std::basic_string<TChar>& names, DWORD offset = sizeof(DROPFILES)) {
    DROPFILES header{};
    header.pFiles = offset;
    header.fWide = sizeof(TChar) == 2;
    std::vector<char> bytes(reinterpret_cast<const char*>(&header), reinterpret_cast<const char*>(&header) + sizeof header);
    const std::vector<char> tail = Raw(names.data(), names.size());
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

const std::wstring kWideText = L"d\u00e9j\u00e0 \u20ac";

}  // namespace

// ---------------------------------------------------------------- the source's enumerator

TEST(AdvMDDSource, EnumeratorListsTextUnicodeAndRtfInOrder) {
    struct TCase { const char* Name; ULONG Skip; ULONG Asked; std::vector<CLIPFORMAT> Given; HRESULT Result; };
    const CLIPFORMAT rtf = RtfFormat();
    const TCase cases[] = {
        {"all at once", 0, 3, {CF_TEXT, CF_UNICODETEXT, rtf}, S_OK},
        {"more than there are", 0, 5, {CF_TEXT, CF_UNICODETEXT, rtf}, S_FALSE},
        {"after one skipped", 1, 1, {CF_UNICODETEXT}, S_OK},
        {"after the end", 3, 1, {}, S_FALSE},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TComRef<IEnumFORMATETC> e(new TSourceEnumFormatEtc);
        ASSERT_EQ(e->Skip(c.Skip), S_OK);
        FORMATETC got[5]{};
        ULONG fetched = 99;
        EXPECT_EQ(e->Next(c.Asked, got, &fetched), c.Result);
        ASSERT_EQ(fetched, c.Given.size());
        for (ULONG i = 0; i < fetched; ++i) {
            EXPECT_EQ(got[i].cfFormat, c.Given[i]);
            EXPECT_EQ(got[i].ptd, nullptr);
            EXPECT_EQ(got[i].dwAspect, DWORD(DVASPECT_CONTENT));
            EXPECT_EQ(got[i].lindex, -1);
            EXPECT_EQ(got[i].tymed, DWORD(TYMED_HGLOBAL));
        }
    }
}

TEST(AdvMDDSource, EnumeratorSkipResetAndClone) {
    TComRef<IEnumFORMATETC> e(new TSourceEnumFormatEtc);
    FORMATETC f{};
    EXPECT_EQ(e->Skip(2), S_OK);
    EXPECT_EQ(e->Skip(2), S_FALSE);  // past the end: left at the end
    EXPECT_EQ(e->Next(1, &f, nullptr), S_FALSE);
    IEnumFORMATETC* clone = nullptr;
    ASSERT_EQ(e->Clone(&clone), S_OK);
    TComRef<IEnumFORMATETC> cloned(clone);
    ASSERT_EQ(cloned->Next(1, &f, nullptr), S_OK);  // a clone starts at the first format
    EXPECT_EQ(f.cfFormat, CF_TEXT);
    EXPECT_EQ(e->Reset(), S_OK);
    ASSERT_EQ(e->Next(1, &f, nullptr), S_OK);
    EXPECT_EQ(f.cfFormat, CF_TEXT);
}

// ---------------------------------------------------------------- the source's data object

TEST(AdvMDDSource, QueryGetDataTakesTextOnGlobalMemoryOnly) {
    struct TCase { const char* Name; FORMATETC Format; HRESULT Result; };
    const TCase cases[] = {
        {"plain text", Etc(CF_TEXT), S_OK},
        {"unicode text", Etc(CF_UNICODETEXT), S_OK},
        {"rich text while the exchange is off", Etc(RtfFormat()), DV_E_FORMATETC},
        {"a file list", Etc(CF_HDROP), DV_E_FORMATETC},
        {"on a stream", Etc(CF_UNICODETEXT, TYMED_ISTREAM), DV_E_FORMATETC},
        {"as an icon", Etc(CF_UNICODETEXT, TYMED_HGLOBAL, DVASPECT_ICON), DV_E_FORMATETC},
    };
    TComRef<IDataObject> data(new TSourceDataObject(kWideText, "{\\rtf1 x}"));
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        FORMATETC f = c.Format;
        EXPECT_EQ(data->QueryGetData(&f), c.Result);
        STGMEDIUM medium{};
        const HRESULT got = data->GetData(&f, &medium);
        EXPECT_EQ(got, c.Result);
        if (got == S_OK) ::ReleaseStgMedium(&medium);
        else EXPECT_EQ(medium.hGlobal, nullptr);
    }
}

TEST(AdvMDDSource, GetDataRendersTheTextWithItsEndingZero) {
    TComRef<IDataObject> data(new TSourceDataObject(kWideText, ""));
    FORMATETC wide = Etc(CF_UNICODETEXT), narrow = Etc(CF_TEXT);
    STGMEDIUM medium{};
    ASSERT_EQ(data->GetData(&wide, &medium), S_OK);
    std::vector<char> bytes = BytesOf(medium);
    ASSERT_GE(bytes.size(), (kWideText.size() + 1) * 2);
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(bytes.data())), kWideText);
    ::ReleaseStgMedium(&medium);

    ASSERT_EQ(data->GetData(&narrow, &medium), S_OK);
    bytes = BytesOf(medium);
    std::string expected(64, '\0');
    expected.resize(::WideCharToMultiByte(CP_ACP, 0, kWideText.c_str(), -1, expected.data(), 64, nullptr, nullptr) - 1);
    EXPECT_EQ(std::string(bytes.data()), expected);
    ::ReleaseStgMedium(&medium);
}

TEST(AdvMDDSource, UnsupportedCallsAnswerTheirFixedCodes) {
    TComRef<IDataObject> data(new TSourceDataObject(L"x", ""));
    FORMATETC f = Etc(CF_TEXT);
    STGMEDIUM medium{};
    DWORD connection = 0;
    IEnumSTATDATA* advises = nullptr;
    IEnumFORMATETC* e = nullptr;
    EXPECT_EQ(data->GetDataHere(&f, &medium), DV_E_FORMATETC);
    EXPECT_EQ(data->SetData(&f, &medium, FALSE), DV_E_FORMATETC);
    EXPECT_EQ(data->DAdvise(&f, 0, nullptr, &connection), OLE_E_ADVISENOTSUPPORTED);
    EXPECT_EQ(data->DUnadvise(0), OLE_E_ADVISENOTSUPPORTED);
    EXPECT_EQ(data->EnumDAdvise(&advises), OLE_E_ADVISENOTSUPPORTED);
    EXPECT_EQ(data->EnumFormatEtc(DATADIR_SET, &e), E_NOTIMPL);
    FORMATETC out = f;
    out.ptd = reinterpret_cast<DVTARGETDEVICE*>(&out);
    EXPECT_EQ(data->GetCanonicalFormatEtc(&f, &out), E_NOTIMPL);
    EXPECT_EQ(out.ptd, nullptr);
}

TEST(AdvMDDSource, DropSourceFollowsTheKeysAndRemembersARefusal) {
    TComRef<TAMDropSource> source(new TAMDropSource);
    EXPECT_EQ(source->QueryContinueDrag(TRUE, MK_LBUTTON), DRAGDROP_S_CANCEL);
    EXPECT_EQ(source->QueryContinueDrag(FALSE, 0), DRAGDROP_S_DROP);
    EXPECT_EQ(source->QueryContinueDrag(FALSE, MK_LBUTTON), S_OK);
    EXPECT_EQ(source->GiveFeedback(DROPEFFECT_NONE), DRAGDROP_S_USEDEFAULTCURSORS);
    EXPECT_TRUE(source->NoAccept());
    source->GiveFeedback(DROPEFFECT_MOVE);
    EXPECT_FALSE(source->NoAccept());
}

// ---------------------------------------------------------------- reading drops

TEST(AdvMDDRead, FileListsAreReadWithinTheBlock) {
    struct TCase { const char* Name; std::vector<char> Block; std::vector<std::wstring> Names; };
    std::vector<char> odd = DropBlock<wchar_t>(std::wstring(L"C:\\a\0", 5) + L'\0', sizeof(DROPFILES) | 1);
    const TCase cases[] = {
        {"narrow", DropBlock<char>(std::string("C:\\a.c\0D:\\b\0\0", 13)), {L"C:\\a.c", L"D:\\b"}},
        {"wide", DropBlock<wchar_t>(std::wstring(L"C:\\\u00e9.c\0D:\\b\0\0", 13)), {L"C:\\\u00e9.c", L"D:\\b"}},
        {"offset's low bit ignored", odd, {L"C:\\a"}},
        {"offset past the block", DropBlock<wchar_t>(std::wstring(L"C:\\a\0\0", 6), 4000), {}},
        {"offset inside the header", DropBlock<wchar_t>(std::wstring(L"C:\\a\0\0", 6), 8), {}},
        {"no list end", DropBlock<wchar_t>(std::wstring(L"C:\\a\0D:\\b\0", 10)), {L"C:\\a", L"D:\\b"}},
        {"last name unended", DropBlock<wchar_t>(std::wstring(L"C:\\a\0D:\\b", 9)), {L"C:\\a"}},
        {"header cut short", std::vector<char>(10, '\0'), {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(ReadDropFiles(c.Block.data(), c.Block.size()), c.Names);
        // The same block through a data object: only GlobalSize bytes are read.
        TComRef<IDataObject> data(new TFixedDataObject({{CF_HDROP, c.Block}}));
        TEnumFormats formats(data.Object);
        EXPECT_EQ(formats.ReadFiles(), !c.Names.empty());
        EXPECT_EQ(formats.Files(), c.Names);
    }
}

TEST(AdvMDDRead, TextStopsAtItsZeroOrTheBlockEnd) {
    struct TCase { const char* Name; std::vector<char> Block; std::wstring Text; };
    const TCase cases[] = {
        {"ended", Raw(L"ab\0cd", 5), L"ab"},
        {"unended", Raw(L"abc", 3), L"abc"},
        {"odd byte count", Raw("a\0b\0c", 5), L"ab"},
        {"empty", {}, L""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TComRef<IDataObject> data(new TFixedDataObject({{CF_UNICODETEXT, c.Block}}));
        TEnumFormats formats(data.Object);
        EXPECT_TRUE(formats.HasText());
        EXPECT_EQ(formats.Text(), c.Text);
    }
}

TEST(AdvMDDRead, ADataObjectWithoutEnumeratorIsAClearError) {
    TComRef<TFixedDataObject> data(new TFixedDataObject({{CF_UNICODETEXT, Raw(L"a", 2)}}));
    data->FNoEnumerator = true;
    try {
        TEnumFormats formats(data.Object);
        FAIL() << "no error";
    } catch (const ClassLib::Exception& e) {
        EXPECT_EQ(e.Message(), L"Cannot get the format enumerator");
    }
}

// ---------------------------------------------------------------- the drop target

namespace {

class TRecordingTarget : public TAMDropTarget {
public:
    bool Files = true, Text = true, Allow = true;
    std::vector<std::wstring> Calls;
    bool WantsFiles() override { return Files; }
    bool WantsText() override { return Text; }
    void DropText(POINT pt, const std::wstring& text) override { Calls.push_back(L"text " + At(pt) + text); }
    void DropRTF(POINT, const std::string&) override { Calls.push_back(L"rtf"); }
    void DropFiles(POINT pt, const std::vector<std::wstring>& files) override {
        for (const std::wstring& f : files) Calls.push_back(L"file " + At(pt) + f);
    }
    void DragMouseMove(POINT, bool& allow) override { allow = Allow; }
    void DragMouseEnter(POINT pt) override { Calls.push_back(L"enter " + At(pt)); }
    void DragMouseLeave() override { Calls.push_back(L"leave"); }
private:
    static std::wstring At(POINT pt) { return std::to_wstring(pt.x) + L"," + std::to_wstring(pt.y) + L" "; }
};

}  // namespace

TEST(AdvMDDTarget, EffectsAndCallsFollowTheDataAndTheKeys) {
    const std::vector<char> text = Raw(L"hi\0", 3);
    const std::vector<char> files = DropBlock<wchar_t>(std::wstring(L"C:\\a\0\0", 6));
    const std::vector<char> rtf = Raw("{\\rtf1 hi}\0", 11);
    using TBlocks = std::map<CLIPFORMAT, std::vector<char>>;
    struct TCase {
        const char* Name; TBlocks Blocks; DWORD Keys; bool WantsText; bool Allow;
        DWORD Effect; DWORD OverEffect; std::vector<std::wstring> Calls;  // effects: on entering; on moving and dropping
    };
    const TCase cases[] = {
        {"text moves", {{CF_UNICODETEXT, text}}, MK_LBUTTON, true, true, DROPEFFECT_MOVE, DROPEFFECT_MOVE,
         {L"enter 5,6 ", L"text 5,6 hi", L"leave"}},
        {"Ctrl copies", {{CF_UNICODETEXT, text}}, MK_LBUTTON | MK_CONTROL, true, true, DROPEFFECT_COPY, DROPEFFECT_COPY,
         {L"enter 5,6 ", L"text 5,6 hi", L"leave"}},
        {"files", {{CF_HDROP, files}}, MK_LBUTTON, true, true, DROPEFFECT_MOVE, DROPEFFECT_MOVE,
         {L"enter 5,6 ", L"file 5,6 C:\\a", L"leave"}},
        {"text and files", {{CF_UNICODETEXT, text}, {CF_HDROP, files}}, MK_LBUTTON, true, true, DROPEFFECT_MOVE,
         DROPEFFECT_MOVE, {L"enter 5,6 ", L"text 5,6 hi", L"file 5,6 C:\\a", L"leave"}},
        {"RTF only is refused", {{RtfFormat(), rtf}}, MK_LBUTTON, true, true, DROPEFFECT_NONE, DROPEFFECT_NONE,
         {L"leave"}},
        {"RTF beside text gives the text", {{RtfFormat(), rtf}, {CF_UNICODETEXT, text}}, MK_LBUTTON, true, true,
         DROPEFFECT_MOVE, DROPEFFECT_MOVE, {L"enter 5,6 ", L"text 5,6 hi", L"leave"}},
        {"text not wanted", {{CF_UNICODETEXT, text}}, MK_LBUTTON, false, true, DROPEFFECT_NONE, DROPEFFECT_NONE,
         {L"leave"}},
        {"the place refuses", {{CF_UNICODETEXT, text}}, MK_LBUTTON, true, false, DROPEFFECT_MOVE, DROPEFFECT_NONE,
         {L"enter 5,6 ", L"leave"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TComRef<TFixedDataObject> data(new TFixedDataObject(c.Blocks));
        TComRef<TRecordingTarget> target(new TRecordingTarget);
        target->Text = c.WantsText;
        target->Allow = c.Allow;
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        ASSERT_EQ(target->DragEnter(data.Object, c.Keys, POINTL{5, 6}, &effect), S_OK);
        EXPECT_EQ(effect, c.Effect);
        ASSERT_EQ(target->DragOver(c.Keys, POINTL{5, 6}, &effect), S_OK);
        EXPECT_EQ(effect, c.OverEffect);
        ASSERT_EQ(target->Drop(data.Object, c.Keys, POINTL{5, 6}, &effect), S_OK);
        EXPECT_EQ(effect, c.OverEffect);
        EXPECT_EQ(target->Calls, c.Calls);
    }
}

TEST(AdvMDDTarget, NoExceptionLeavesTheTargetAndEachIsShown) {
    class TThrowingTarget : public TAMDropTarget {
    public:
        void DragMouseEnter(POINT) override { throw ClassLib::EInvalidOperation(L"enter failed"); }
        void DropText(POINT, const std::wstring&) override { throw ClassLib::EInvalidOperation(L"drop failed"); }
    };
    ClassLib::TSeamsScope seams;
    std::vector<std::wstring> shown;
    ClassLib::Seams().ShowMessageBox = [&](void*, const std::wstring& text, const std::wstring&, unsigned) {
        shown.push_back(text);
        return IDOK;
    };
    TComRef<TFixedDataObject> data(new TFixedDataObject({{CF_UNICODETEXT, Raw(L"a\0", 2)}}));
    TComRef<TThrowingTarget> target(new TThrowingTarget);
    DWORD effect = DROPEFFECT_MOVE;
    EXPECT_EQ(target->DragEnter(data.Object, 0, POINTL{0, 0}, &effect), E_UNEXPECTED);
    EXPECT_EQ(target->Drop(data.Object, 0, POINTL{0, 0}, &effect), E_UNEXPECTED);
    EXPECT_EQ(target->DragEnter(nullptr, 0, POINTL{0, 0}, &effect), E_UNEXPECTED);  // no data object
    EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"enter failed.", L"drop failed.", L"Cannot get the format enumerator."}));
}

// ---------------------------------------------------------------- the memo's target

namespace {

class TGridMeasure : public AdvMemo::ITextMeasure {
public:
    void SetFont(const std::wstring&, int, bool) override {}
    int TextWidth(const std::wstring& text) override { return 8 * static_cast<int>(text.size()); }
    int TextHeight(const std::wstring&) override { return 15; }
};

class MemoDropTarget : public testing::Test {
protected:
    void SetUp() override {
        memo.SetTextMeasure(&measure);
        memo.SetBounds(0, 0, 400, 200);
        memo.Lines()->SetText(L"abc\r\ndef");
        memo.ClearUndoRedo();
        memo.SetOleDropTarget(AdvMemo::odtText | AdvMemo::odtFile);
    }
    // Without a window, screen and client points are the same.
    POINTL Cell(int col, int row) const {
        const AdvMemo::TMemoRect area = memo.TextArea();
        return POINTL{area.Left + col * 8 + 1, area.Top + row * 16 + 8};
    }
    DWORD DropAt(IDataObject* data, POINTL pt, DWORD keys = MK_LBUTTON) {
        TComRef<AdvMemo::TAdvMemoDropTarget> target(new AdvMemo::TAdvMemoDropTarget(&memo));
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target->DragEnter(data, keys, pt, &effect);
        target->DragOver(keys, pt, &effect);
        target->Drop(data, keys, pt, &effect);
        return effect;
    }
    TGridMeasure measure;
    AdvMemo::TAdvMemo memo;
};

}  // namespace

TEST_F(MemoDropTarget, DroppedTextGoesToTheCellAndUndoesInOneStep) {
    TComRef<IDataObject> data(new TSourceDataObject(L"XY\r\nZ", ""));
    EXPECT_EQ(DropAt(data.Object, Cell(1, 1)), DWORD(DROPEFFECT_MOVE));
    EXPECT_EQ(memo.Lines()->Text(), L"abc\r\ndXY\r\nZef");
    memo.Undo();
    EXPECT_EQ(memo.Lines()->Text(), L"abc\r\ndef");
    EXPECT_EQ(DropAt(data.Object, Cell(0, 0), MK_LBUTTON | MK_CONTROL), DWORD(DROPEFFECT_COPY));
}

TEST_F(MemoDropTarget, ARefusingMemoTakesNothingAndSaysSo) {
    struct TCase { const char* Name; AdvMemo::TOleDropTargetTypes Types; bool ReadOnly; bool Refuse; };
    const TCase cases[] = {
        {"text not accepted", AdvMemo::odtFile, false, false},
        {"read-only", AdvMemo::odtText, true, false},
        {"refused by its event", AdvMemo::odtText, false, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        memo.SetOleDropTarget(c.Types);
        memo.SetReadOnly(c.ReadOnly);
        memo.OnOleDropText = [&](ClassLib::TObject*, int, int, std::wstring&, bool& allow) { allow = !c.Refuse; };
        TComRef<IDataObject> data(new TSourceDataObject(L"XY", ""));
        // A source told "none" keeps its text.
        EXPECT_EQ(DropAt(data.Object, Cell(1, 1)), DWORD(DROPEFFECT_NONE));
        EXPECT_EQ(memo.Lines()->Text(), L"abc\r\ndef");
    }
}

TEST_F(MemoDropTarget, ADroppedFileIsOfferedToTheEventAtItsCell) {
    std::vector<std::wstring> seen;
    memo.OnOleDropFile = [&](ClassLib::TObject*, int x, int y, const std::wstring& name, bool& allow) {
        seen.push_back(std::to_wstring(x) + L"," + std::to_wstring(y) + L" " + name);
        allow = false;
    };
    TComRef<IDataObject> data(new TFixedDataObject({{CF_HDROP, DropBlock<wchar_t>(std::wstring(L"C:\\a.c\0C:\\b.c\0\0", 14))}}));
    DropAt(data.Object, Cell(2, 1));
    EXPECT_EQ(seen, std::vector<std::wstring>{L"2,1 C:\\a.c"});
    EXPECT_EQ(memo.Lines()->Text(), L"abc\r\ndef");
}
