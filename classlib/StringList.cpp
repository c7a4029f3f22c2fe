#include "classlib/StringList.h"

#include <windows.h>
#undef GetObject

#include <algorithm>
#include <climits>

#include "classlib/Exceptions.h"
#include "classlib/Seams.h"
#include "classlib/Streams.h"
#include "classlib/Strings.h"
#include "classlib/UpdateScope.h"

namespace ClassLib {

// ---------------------------------------------------------------- TStrings

CLASSLIB_IMPLEMENT(TStrings, TPersistent)

void TStrings::IndexError(int index) { RaiseListIndexError(index); }

void TStrings::Put(int index, const std::wstring& s) {
    TObject* object = GetObject(index);
    Delete(index);
    InsertObject(index, s, object);
}

TObject* TStrings::GetObject(int) const { return nullptr; }
void TStrings::PutObject(int, TObject*) {}
void TStrings::SetUpdateState(bool) {}

int TStrings::Add(const std::wstring& s) {
    const int index = GetCount();
    Insert(index, s);
    return index;
}

int TStrings::AddObject(const std::wstring& s, TObject* object) {
    const int index = Add(s);
    PutObject(index, object);
    return index;
}

void TStrings::InsertObject(int index, const std::wstring& s, TObject* object) {
    Insert(index, s);
    PutObject(index, object);
}

void TStrings::AddStrings(const TStrings* strings) {
    TUpdateScope update(*this);
    for (int i = 0; i < strings->Count(); ++i) AddObject(strings->Get(i), strings->GetObject(i));
}

void TStrings::Assign(const TPersistent* source) {
    if (const TStrings* strings = dynamic_cast<const TStrings*>(source)) {
        if (strings == this) return;
        TUpdateScope update(*this);
        Clear();
        FNameValueSeparator = strings->FNameValueSeparator;
        FDelimiter = strings->FDelimiter;
        FQuoteChar = strings->FQuoteChar;
        FStrictDelimiter = strings->FStrictDelimiter;
        AddStrings(strings);
        return;
    }
    TPersistent::Assign(source);
}

void TStrings::AssignTo(TPersistent* dest) const { TPersistent::AssignTo(dest); }

void TStrings::Exchange(int index1, int index2) {
    TUpdateScope update(*this);
    TObject* object1 = GetObject(index1);
    const std::wstring s1 = Get(index1);
    Put(index1, Get(index2));
    PutObject(index1, GetObject(index2));
    Put(index2, s1);
    PutObject(index2, object1);
}

void TStrings::Move(int currentIndex, int newIndex) {
    if (currentIndex == newIndex) return;
    TUpdateScope update(*this);
    const std::wstring s = Get(currentIndex);
    TObject* object = GetObject(currentIndex);
    Delete(currentIndex);
    InsertObject(newIndex, s, object);
}

int TStrings::IndexOf(const std::wstring& s) const {
    for (int i = 0; i < GetCount(); ++i)
        if (CompareStrings(Get(i), s) == 0) return i;
    return -1;
}

int TStrings::IndexOfName(const std::wstring& name) const {
    for (int i = 0; i < GetCount(); ++i) {
        const std::wstring line = Get(i);
        const size_t at = line.find(FNameValueSeparator);
        if (at != std::wstring::npos && CompareStrings(line.substr(0, at), name) == 0) return i;
    }
    return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
    for (int i = 0; i < GetCount(); ++i)
        if (GetObject(i) == object) return i;
    return -1;
}

bool TStrings::Equals(const TStrings* strings) const {
    if (GetCount() != strings->GetCount()) return false;
    for (int i = 0; i < GetCount(); ++i)
        if (Get(i) != strings->Get(i)) return false;
    return true;
}

int TStrings::CompareStrings(const std::wstring& s1, const std::wstring& s2) const {
    return AnsiCompareText(s1, s2);
}

std::wstring TStrings::GetTextStr() const {
    std::wstring text;
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        text += Get(i);
        if (i + 1 < count || FTrailingLineBreak) text += FLineBreak;
    }
    return text;
}

void TStrings::SetTextStr(const std::wstring& text) {
    TUpdateScope update(*this);
    Clear();
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        const size_t start = i;
        while (i < n && text[i] != L'\r' && text[i] != L'\n') ++i;
        Add(text.substr(start, i - start));
        if (i < n && text[i] == L'\r') ++i;
        if (i < n && text[i] == L'\n') ++i;
    }
}

std::wstring TStrings::Names(int index) const {
    const std::wstring line = Get(index);
    const size_t at = line.find(FNameValueSeparator);
    return at == std::wstring::npos ? std::wstring() : line.substr(0, at);
}

std::wstring TStrings::Values(const std::wstring& name) const {
    const int index = IndexOfName(name);
    return index < 0 ? std::wstring() : ValueFromIndex(index);
}

std::wstring TStrings::ValueFromIndex(int index) const {
    const std::wstring line = Get(index);
    const size_t at = line.find(FNameValueSeparator);
    return at == std::wstring::npos ? std::wstring() : line.substr(at + 1);
}

void TStrings::SetValue(const std::wstring& name, const std::wstring& value) {
    const int index = IndexOfName(name);
    if (value.empty()) {
        if (index >= 0) Delete(index);
        return;
    }
    const std::wstring line = name + FNameValueSeparator + value;
    if (index >= 0)
        Put(index, line);
    else
        Add(line);
}

std::wstring TStrings::DelimitedText() const {
    std::wstring text;
    for (int i = 0; i < GetCount(); ++i) {
        const std::wstring item = Get(i);
        bool quote = false;
        if (FStrictDelimiter)
            quote = item.find(FDelimiter) != std::wstring::npos || item.find(FQuoteChar) != std::wstring::npos;
        else
            quote = std::any_of(item.begin(), item.end(),
                                [&](wchar_t c) { return c <= L' ' || c == FDelimiter || c == FQuoteChar; });
        // A lone empty item must still read back as one item.
        if (item.empty() && GetCount() == 1) quote = true;
        if (i > 0) text += FDelimiter;
        if (quote) {
            text += FQuoteChar;
            for (wchar_t c : item) {
                text += c;
                if (c == FQuoteChar) text += c;
            }
            text += FQuoteChar;
        } else {
            text += item;
        }
    }
    return text;
}

void TStrings::SetDelimitedText(const std::wstring& text) {
    TUpdateScope update(*this);
    Clear();
    const size_t n = text.size();
    size_t i = 0;
    auto skipBlanks = [&] {
        if (!FStrictDelimiter)
            while (i < n && text[i] <= L' ' && text[i] != FDelimiter) ++i;
    };
    skipBlanks();
    while (i < n) {
        std::wstring item;
        if (text[i] == FQuoteChar) {
            ++i;
            while (i < n) {
                if (text[i] == FQuoteChar) {
                    if (i + 1 < n && text[i + 1] == FQuoteChar) {
                        item += FQuoteChar;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            while (i < n && text[i] != FDelimiter && (FStrictDelimiter || text[i] > L' ')) item += text[i++];
        }
        Add(item);
        skipBlanks();
        if (i < n && text[i] == FDelimiter) {
            ++i;
            skipBlanks();
            if (i >= n) Add(std::wstring());  // "a," has an empty last item
        }
    }
}

std::wstring TStrings::CommaText() const {
    if (FDelimiter == L',' && FQuoteChar == L'"' && !FStrictDelimiter) return DelimitedText();
    TStringList copy;
    copy.Assign(this);
    copy.SetDelimiter(L',');
    copy.SetQuoteChar(L'"');
    copy.SetStrictDelimiter(false);
    return copy.DelimitedText();
}

void TStrings::SetCommaText(const std::wstring& text) {
    const wchar_t delimiter = FDelimiter, quote = FQuoteChar;
    const bool strict = FStrictDelimiter;
    FDelimiter = L',';
    FQuoteChar = L'"';
    FStrictDelimiter = false;
    try {
        SetDelimitedText(text);
    } catch (...) {
        FDelimiter = delimiter;
        FQuoteChar = quote;
        FStrictDelimiter = strict;
        throw;
    }
    FDelimiter = delimiter;
    FQuoteChar = quote;
    FStrictDelimiter = strict;
}

void TStrings::BeginUpdate() {
    if (FUpdateCount == 0) SetUpdateState(true);
    ++FUpdateCount;
}

void TStrings::EndUpdate() {
    if (FUpdateCount == 0) return;
    --FUpdateCount;
    if (FUpdateCount == 0) SetUpdateState(false);
}

// ---- encodings

namespace {
// Decides a file without a mark: plain ASCII reads the same either way, and bytes of an
// ANSI code page with letters beyond ASCII are almost never valid UTF-8.
bool IsUTF8BeyondASCII(const std::vector<uint8_t>& bytes) {
    if (std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b < 0x80; })) return false;
    if (bytes.size() > size_t(INT_MAX)) return false;
    return ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, reinterpret_cast<const char*>(bytes.data()),
                                 int(bytes.size()), nullptr, 0) > 0;
}
}  // namespace

std::wstring TStrings::DecodeText(const std::vector<uint8_t>& bytes, TTextEncoding& encoding, bool* hasBOM) {
    const size_t n = bytes.size();
    if (hasBOM) *hasBOM = true;
    if (n >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        encoding = TTextEncoding::UTF16LE;
        std::wstring text((n - 2) / 2, L'\0');
        for (size_t i = 0; i < text.size(); ++i) text[i] = wchar_t(bytes[2 + 2 * i] | (bytes[3 + 2 * i] << 8));
        return text;
    }
    if (n >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
        encoding = TTextEncoding::UTF16BE;
        std::wstring text((n - 2) / 2, L'\0');
        for (size_t i = 0; i < text.size(); ++i) text[i] = wchar_t((bytes[2 + 2 * i] << 8) | bytes[3 + 2 * i]);
        return text;
    }
    if (n >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        encoding = TTextEncoding::UTF8;
        return UTF8Decode(std::string(bytes.begin() + 3, bytes.end()));
    }
    if (hasBOM) *hasBOM = false;
    if (IsUTF8BeyondASCII(bytes)) {
        encoding = TTextEncoding::UTF8;
        return UTF8Decode(std::string(bytes.begin(), bytes.end()));
    }
    encoding = TTextEncoding::Ansi;
    return AnsiToString(std::string(bytes.begin(), bytes.end()), Seams().AnsiCodePage());
}

std::vector<uint8_t> TStrings::EncodeText(const std::wstring& text, TTextEncoding& encoding, bool withBOM) {
    std::vector<uint8_t> bytes;
    if (encoding == TTextEncoding::Ansi) {
        const unsigned codePage = Seams().AnsiCodePage();
        BOOL lost = FALSE;
        std::string ansi;
        if (!text.empty()) {
            const int size = ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), int(text.size()),
                                                   nullptr, 0, nullptr, &lost);
            ansi.resize(size_t(std::max(size, 0)));
            if (size > 0 && ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), int(text.size()),
                                                  ansi.data(), size, nullptr, &lost) != size)
                ansi.clear();
        }
        // The UTF-8 code page (65001) refuses these flags and converts nothing; on such a
        // system ANSI text is UTF-8 without a mark, which Load reads back the same.
        if (!text.empty() && ansi.empty()) {
            const std::string utf8 = UTF8Encode(text);
            return std::vector<uint8_t>(utf8.begin(), utf8.end());
        }
        // A character the code page cannot hold would be written as '?': keep it instead.
        if (!lost) return std::vector<uint8_t>(ansi.begin(), ansi.end());
        encoding = TTextEncoding::UTF8;
        withBOM = true;
    }
    if (encoding == TTextEncoding::UTF8) {
        if (withBOM) bytes = {0xEF, 0xBB, 0xBF};
        const std::string utf8 = UTF8Encode(text);
        bytes.insert(bytes.end(), utf8.begin(), utf8.end());
        return bytes;
    }
    const bool little = encoding == TTextEncoding::UTF16LE;
    if (withBOM) bytes = little ? std::vector<uint8_t>{0xFF, 0xFE} : std::vector<uint8_t>{0xFE, 0xFF};
    bytes.reserve(bytes.size() + text.size() * 2);
    for (wchar_t c : text) {
        const uint8_t low = uint8_t(c & 0xFF), high = uint8_t(c >> 8);
        bytes.push_back(little ? low : high);
        bytes.push_back(little ? high : low);
    }
    return bytes;
}

void TStrings::LoadFromStream(TStream* stream) {
    const int64_t size = stream->Size() - stream->Position();
    std::vector<uint8_t> bytes(size_t(std::max<int64_t>(size, 0)));
    if (!bytes.empty()) stream->ReadBuffer(bytes.data(), int(bytes.size()));
    TTextEncoding encoding = TTextEncoding::Ansi;
    bool hasBOM = false;
    const std::wstring text = DecodeText(bytes, encoding, &hasBOM);
    FEncoding = encoding;
    // Saved back the way it came: a UTF-8 file written without a mark stays without one.
    if (encoding != TTextEncoding::Ansi) FWriteBOM = hasBOM;
    SetTextStr(text);
}

void TStrings::LoadFromFile(const std::wstring& fileName) {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TStrings::SaveToStream(TStream* stream) {
    TTextEncoding encoding = FEncoding;
    const std::vector<uint8_t> bytes = EncodeText(GetTextStr(), encoding, FWriteBOM);
    FEncoding = encoding;
    if (!bytes.empty()) stream->WriteBuffer(bytes.data(), int(bytes.size()));
}

void TStrings::SaveToFile(const std::wstring& fileName) {
    SaveFileSafely(fileName, [this](TStream* stream) { SaveToStream(stream); });
}

// ---------------------------------------------------------------- TStringList

CLASSLIB_IMPLEMENT(TStringList, TStrings)

TStringList::~TStringList() {
    OnChange = nullptr;
    OnChanging = nullptr;
    if (FOwnsObjects)
        for (TItem& item : FList) delete item.FObject;
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
    if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::SetUpdateState(bool updating) {
    if (updating)
        Changing();
    else
        Changed();
}

std::wstring TStringList::Get(int index) const {
    if (index < 0 || index >= int(FList.size())) IndexError(index);
    return FList[size_t(index)].FString;
}

void TStringList::Put(int index, const std::wstring& s) {
    if (FSorted) throw EListError(L"Operation not allowed on sorted list");
    if (index < 0 || index >= int(FList.size())) IndexError(index);
    Changing();
    FList[size_t(index)].FString = s;
    Changed();
}

TObject* TStringList::GetObject(int index) const {
    if (index < 0 || index >= int(FList.size())) IndexError(index);
    return FList[size_t(index)].FObject;
}

void TStringList::PutObject(int index, TObject* object) {
    if (index < 0 || index >= int(FList.size())) IndexError(index);
    Changing();
    FList[size_t(index)].FObject = object;
    Changed();
}

int TStringList::Add(const std::wstring& s) { return AddObject(s, nullptr); }

int TStringList::AddObject(const std::wstring& s, TObject* object) {
    int index = int(FList.size());
    if (FSorted && Find(s, index)) {
        switch (FDuplicates) {
        case dupIgnore: return index;
        case dupError: throw EListError(L"String list does not allow duplicates");
        case dupAccept: break;
        }
    }
    InsertItem(index, s, object);
    return index;
}

void TStringList::Insert(int index, const std::wstring& s) { InsertObject(index, s, nullptr); }

void TStringList::InsertObject(int index, const std::wstring& s, TObject* object) {
    if (FSorted) throw EListError(L"Operation not allowed on sorted list");
    if (index < 0 || index > int(FList.size())) IndexError(index);
    InsertItem(index, s, object);
}

void TStringList::InsertItem(int index, const std::wstring& s, TObject* object) {
    Changing();
    FList.insert(FList.begin() + index, TItem{s, object});
    Changed();
}

void TStringList::Delete(int index) {
    if (index < 0 || index >= int(FList.size())) IndexError(index);
    Changing();
    TObject* object = FList[size_t(index)].FObject;
    FList.erase(FList.begin() + index);
    if (FOwnsObjects) delete object;
    Changed();
}

void TStringList::Clear() {
    if (FList.empty()) return;
    Changing();
    std::vector<TItem> old;
    old.swap(FList);
    if (FOwnsObjects)
        for (TItem& item : old) delete item.FObject;
    Changed();
}

void TStringList::Exchange(int index1, int index2) {
    if (index1 < 0 || index1 >= int(FList.size())) IndexError(index1);
    if (index2 < 0 || index2 >= int(FList.size())) IndexError(index2);
    Changing();
    std::swap(FList[size_t(index1)], FList[size_t(index2)]);
    Changed();
}

int TStringList::CompareStrings(const std::wstring& s1, const std::wstring& s2) const {
    return FCaseSensitive ? AnsiCompareStr(s1, s2) : AnsiCompareText(s1, s2);
}

// Find and Sort read the lines through Get: a derived list that keeps them elsewhere inherits both.
bool TStringList::Find(const std::wstring& s, int& index) const {
    int low = 0, high = GetCount() - 1;
    bool found = false;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const int compared = CompareStrings(Get(middle), s);
        if (compared < 0) {
            low = middle + 1;
        } else {
            high = middle - 1;
            if (compared == 0) {
                found = true;
                if (FDuplicates != dupAccept) low = middle;
            }
        }
    }
    index = low;
    return found;
}

int TStringList::IndexOf(const std::wstring& s) const {
    if (!FSorted) return TStrings::IndexOf(s);
    int index = 0;
    return Find(s, index) ? index : -1;
}

void TStringList::Sort() {
    CustomSort([](TStringList* list, int a, int b) {
        return list->CompareStrings(list->Get(a), list->Get(b));
    });
}

void TStringList::CustomSort(const TStringListSortCompare& compare) {
    if (FList.size() < 2) return;
    Changing();
    // The comparer sees indexes into the current list, so sort a permutation first.
    std::vector<int> order(FList.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = int(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(this, a, b) < 0; });
    std::vector<TItem> sorted;
    sorted.reserve(FList.size());
    for (int i : order) sorted.push_back(FList[size_t(i)]);
    FList.swap(sorted);
    Changed();
}

void TStringList::SetSorted(bool sorted) {
    if (sorted == FSorted) return;
    if (sorted) Sort();
    FSorted = sorted;
}

void TStringList::SetCaseSensitive(bool on) {
    if (on == FCaseSensitive) return;
    FCaseSensitive = on;
    if (FSorted) Sort();
}

}  // namespace ClassLib
