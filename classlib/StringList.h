#pragma once
// String lists: TStrings, the abstract list whose item operations are virtual so that
// a specialised line store can derive from it, and TStringList, the plain list.
//
// Note for files that include <windows.h>: it maps GetObject to GetObjectW. The lists
// declare GetObject under its own name; such a file writes `#undef GetObject` after
// <windows.h> before it calls or overrides it.
#include <functional>
#include <string>
#include <vector>

#include "classlib/Events.h"
#include "classlib/Object.h"

#pragma push_macro("GetObject")
#undef GetObject

namespace ClassLib {

class TStream;

// How a list's text is stored in a file: found by Load (byte-order mark), reused by Save.
enum class TTextEncoding { Ansi, UTF8, UTF16LE, UTF16BE };

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
    CLASSLIB_CLASS(TStrings, TPersistent)
public:
    TStrings() = default;

    int Count() const { return GetCount(); }
    std::wstring Strings(int index) const { return Get(index); }
    void SetStrings(int index, const std::wstring& s) { Put(index, s); }
    std::wstring operator[](int index) const { return Get(index); }
    TObject* Objects(int index) const { return GetObject(index); }
    void SetObjects(int index, TObject* object) { PutObject(index, object); }

    virtual int Add(const std::wstring& s);
    virtual int AddObject(const std::wstring& s, TObject* object);
    void Append(const std::wstring& s) { Add(s); }
    virtual void AddStrings(const TStrings* strings);
    virtual void Insert(int index, const std::wstring& s) = 0;
    virtual void InsertObject(int index, const std::wstring& s, TObject* object);
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual void Exchange(int index1, int index2);
    virtual void Move(int currentIndex, int newIndex);
    virtual int IndexOf(const std::wstring& s) const;
    int IndexOfName(const std::wstring& name) const;
    int IndexOfObject(const TObject* object) const;
    bool Equals(const TStrings* strings) const;

    // Copies lines and objects of another list (BeginUpdate, Clear, AddStrings, EndUpdate).
    void Assign(const TPersistent* source) override;

    // Lines joined by LineBreak, with a final LineBreak when TrailingLineBreak is on.
    std::wstring Text() const { return GetTextStr(); }
    // Cuts at CR, LF and CR LF; a break at the very end adds no empty line.
    virtual void SetText(const std::wstring& text) { SetTextStr(text); }

    // "name=value" lines.
    std::wstring Names(int index) const;
    std::wstring Values(const std::wstring& name) const;
    // An empty value deletes the line of that name.
    void SetValue(const std::wstring& name, const std::wstring& value);
    std::wstring ValueFromIndex(int index) const;
    wchar_t NameValueSeparator() const noexcept { return FNameValueSeparator; }
    void SetNameValueSeparator(wchar_t c) { FNameValueSeparator = c; }

    // Delimited text: items with blanks, delimiters or quotes are quoted (doubling quotes).
    std::wstring DelimitedText() const;
    void SetDelimitedText(const std::wstring& text);
    std::wstring CommaText() const;
    void SetCommaText(const std::wstring& text);
    wchar_t Delimiter() const noexcept { return FDelimiter; }
    void SetDelimiter(wchar_t c) { FDelimiter = c; }
    wchar_t QuoteChar() const noexcept { return FQuoteChar; }
    void SetQuoteChar(wchar_t c) { FQuoteChar = c; }
    bool StrictDelimiter() const noexcept { return FStrictDelimiter; }
    void SetStrictDelimiter(bool on) { FStrictDelimiter = on; }

    const std::wstring& LineBreak() const noexcept { return FLineBreak; }
    void SetLineBreak(const std::wstring& lineBreak) { FLineBreak = lineBreak; }
    bool TrailingLineBreak() const noexcept { return FTrailingLineBreak; }
    void SetTrailingLineBreak(bool on) { FTrailingLineBreak = on; }
    bool WriteBOM() const noexcept { return FWriteBOM; }
    void SetWriteBOM(bool on) { FWriteBOM = on; }
    TTextEncoding Encoding() const noexcept { return FEncoding; }
    void SetEncoding(TTextEncoding encoding) { FEncoding = encoding; }

    // Nested; the first BeginUpdate and the last EndUpdate call SetUpdateState.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const noexcept { return FUpdateCount; }

    // Load reads from the stream's position to its end: FF FE = UTF-16 LE, FE FF =
    // UTF-16 BE, EF BB BF = UTF-8 (the mark is skipped); without a mark, bytes that are
    // valid UTF-8 and not plain ASCII are UTF-8, anything else the ANSI code page. The
    // encoding found is remembered, and for a Unicode one WriteBOM is set to whether the
    // file had a mark. Save writes the remembered encoding and, when WriteBOM is on, its
    // mark. A list in ANSI whose text the code page cannot hold is saved as UTF-8 with
    // its mark instead (and remembers that), so nothing is lost; where the code page
    // converts nothing (the UTF-8 one, 65001), ANSI is written as UTF-8 without a mark.
    virtual void LoadFromStream(TStream* stream);
    virtual void LoadFromFile(const std::wstring& fileName);
    virtual void SaveToStream(TStream* stream);
    // Through a temporary file beside the target: a failed save keeps the old file.
    virtual void SaveToFile(const std::wstring& fileName);

    // The text decoding and encoding Load and Save use, for callers with bytes in hand.
    // `hasBOM`, when given, is set to whether the bytes began with a mark.
    static std::wstring DecodeText(const std::vector<uint8_t>& bytes, TTextEncoding& encoding,
                                   bool* hasBOM = nullptr);
    static std::vector<uint8_t> EncodeText(const std::wstring& text, TTextEncoding& encoding, bool withBOM);

protected:
    virtual std::wstring Get(int index) const = 0;
    virtual void Put(int index, const std::wstring& s);
    virtual TObject* GetObject(int index) const;
    virtual void PutObject(int index, TObject* object);
    virtual int GetCount() const = 0;
    virtual std::wstring GetTextStr() const;
    virtual void SetTextStr(const std::wstring& text);
    virtual void SetUpdateState(bool updating);
    // How IndexOf, IndexOfName and sorting compare: the locale with case ignored.
    virtual int CompareStrings(const std::wstring& s1, const std::wstring& s2) const;
    void AssignTo(TPersistent* dest) const override;
    [[noreturn]] static void IndexError(int index);

private:
    int FUpdateCount = 0;
    std::wstring FLineBreak = L"\r\n";
    bool FTrailingLineBreak = true;
    bool FWriteBOM = true;
    TTextEncoding FEncoding = TTextEncoding::Ansi;
    wchar_t FNameValueSeparator = L'=';
    wchar_t FDelimiter = L',';
    wchar_t FQuoteChar = L'"';
    bool FStrictDelimiter = false;
};

class TStringList;
using TStringListSortCompare = std::function<int(TStringList* list, int index1, int index2)>;

class TStringList : public TStrings {
    CLASSLIB_CLASS(TStringList, TStrings)
public:
    TStringList() = default;
    explicit TStringList(bool ownsObjects) : FOwnsObjects(ownsObjects) {}
    ~TStringList() override;

    int Add(const std::wstring& s) override;
    int AddObject(const std::wstring& s, TObject* object) override;
    void Insert(int index, const std::wstring& s) override;
    void InsertObject(int index, const std::wstring& s, TObject* object) override;
    void Delete(int index) override;
    void Clear() override;
    void Exchange(int index1, int index2) override;
    int IndexOf(const std::wstring& s) const override;
    // Binary search of a sorted list: true and the index when found, else where it would go.
    virtual bool Find(const std::wstring& s, int& index) const;
    virtual void Sort();
    virtual void CustomSort(const TStringListSortCompare& compare);

    bool Sorted() const noexcept { return FSorted; }
    void SetSorted(bool sorted);
    bool CaseSensitive() const noexcept { return FCaseSensitive; }
    void SetCaseSensitive(bool on);
    TDuplicates Duplicates() const noexcept { return FDuplicates; }
    void SetDuplicates(TDuplicates duplicates) { FDuplicates = duplicates; }
    bool OwnsObjects() const noexcept { return FOwnsObjects; }
    void SetOwnsObjects(bool owns) { FOwnsObjects = owns; }

    // Fired around every change made outside BeginUpdate / EndUpdate.
    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    std::wstring Get(int index) const override;
    void Put(int index, const std::wstring& s) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* object) override;
    int GetCount() const override { return int(FList.size()); }
    void SetUpdateState(bool updating) override;
    int CompareStrings(const std::wstring& s1, const std::wstring& s2) const override;
    virtual void Changed();
    virtual void Changing();
    virtual void InsertItem(int index, const std::wstring& s, TObject* object);

private:
    struct TItem {
        std::wstring FString;
        TObject* FObject;
    };
    std::vector<TItem> FList;
    bool FSorted = false;
    bool FCaseSensitive = false;
    bool FOwnsObjects = false;
    TDuplicates FDuplicates = dupIgnore;
};

}  // namespace ClassLib

#pragma pop_macro("GetObject")
