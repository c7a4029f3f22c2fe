#include "editor/AdvMemoStringsStore.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace AdvMemo {

namespace {

// Shared blocks grow with the text they hold, from a size that suits a few short lines to
// one large enough that a block's own bookkeeping is lost in it and small enough that the
// last, partly used one wastes little.
constexpr size_t SmallestSharedBlock = 256;
constexpr size_t LargestSharedBlock = size_t(1) << 20;

// Shared blocks are rebuilt once more than this much of them belongs to no line.
constexpr size_t CompactAfterDead = size_t(1) << 20;

// The lines a text splits into, counted so that the records are allocated once: exact where
// the text has one kind of break and for the usual CR LF pairs, else a start.
template <typename TChar>
size_t LinesIn(const TChar* text, size_t size) {
    const size_t feeds = static_cast<size_t>(std::count(text, text + size, TChar('\n')));
    const size_t returns = static_cast<size_t>(std::count(text, text + size, TChar('\r')));
    return (feeds == 0 || returns == 0 ? feeds + returns : std::max(feeds, returns)) + 1;
}

// Edited lines are edited again: room to grow saves a new block for most keystrokes.
size_t RoomFor(size_t length) { return length + length / 2 + 8; }

}  // namespace

TLineStore::~TLineStore() {
    for (TLine& line : FLines) Release(line);
}

void TLineStore::Release(TLine& line) {
    if (line.Capacity > 0) delete[] line.Chars;
    else FSharedDead += line.Length;
    FTotalLength -= line.Length;
    line = TLine{};
}

wchar_t* TLineStore::SharedSpace(size_t length) {
    if (length == 0) return nullptr;
    if (length > FFreeLeft) {
        const auto spare =
            std::find_if(FSpare.begin(), FSpare.end(), [length](const TBlock& block) { return block.Size >= length; });
        if (spare != FSpare.end()) {
            FBlocks.push_back(std::move(*spare));
            FSpare.erase(spare);
        } else {
            const size_t size = std::max(length, std::clamp(FShared, SmallestSharedBlock, LargestSharedBlock));
            FBlocks.push_back({std::make_unique_for_overwrite<wchar_t[]>(size), size});
        }
        FFree = FBlocks.back().Chars.get();
        FFreeLeft = FBlocks.back().Size;
    }
    wchar_t* space = FFree;
    FFree += length;
    FFreeLeft -= length;
    FShared += length;
    return space;
}

void TLineStore::CompactIfWasteful() {
    if (FSharedDead < CompactAfterDead || FSharedDead < FShared / 2) return;
    // Every shared line moves into fresh blocks; the old ones then go whole.
    std::vector<TBlock> old;
    old.swap(FBlocks);
    std::vector<std::unique_ptr<std::wstring>> oldAdopted;
    oldAdopted.swap(FAdopted);
    FFree = nullptr;
    FFreeLeft = 0;
    FShared = 0;
    FSharedDead = 0;
    for (TLine& line : FLines) {
        if (line.Capacity > 0 || line.Length == 0) continue;
        wchar_t* space = SharedSpace(line.Length);
        std::memcpy(space, line.Chars, line.Length * sizeof(wchar_t));
        line.Chars = space;
    }
}

void TLineStore::Set(int index, std::wstring_view text) {
    TLine& line = FLines[static_cast<size_t>(index)];
    FTotalLength = FTotalLength - line.Length + text.size();
    if (line.Capacity >= text.size()) {
        if (!text.empty()) std::memmove(line.Chars, text.data(), text.size() * sizeof(wchar_t));
        line.Length = static_cast<uint32_t>(text.size());
        return;
    }
    const size_t capacity = RoomFor(text.size());
    auto* chars = new wchar_t[capacity];
    std::memcpy(chars, text.data(), text.size() * sizeof(wchar_t));
    if (line.Capacity > 0) delete[] line.Chars;
    else FSharedDead += line.Length;
    line.Chars = chars;
    line.Length = static_cast<uint32_t>(text.size());
    line.Capacity = static_cast<uint32_t>(capacity);
    CompactIfWasteful();
}

void TLineStore::Replace(int index, size_t column, size_t count, std::wstring_view text) {
    TLine& line = FLines[static_cast<size_t>(index)];
    assert(column + count <= line.Length);
    const size_t tail = line.Length - column - count;
    const size_t length = line.Length - count + text.size();
    const bool moved = line.Capacity < length;
    if (moved) {
        // The tail is copied from the old block before it goes.
        const wchar_t* old = line.Chars;
        const bool owned = line.Capacity > 0;
        const size_t capacity = RoomFor(length);
        auto* chars = new wchar_t[capacity];
        if (column > 0) std::memcpy(chars, old, column * sizeof(wchar_t));
        if (tail > 0) std::memcpy(chars + column + text.size(), old + column + count, tail * sizeof(wchar_t));
        if (owned) delete[] old;
        else FSharedDead += line.Length;
        line.Chars = chars;
        line.Capacity = static_cast<uint32_t>(capacity);
    } else if (tail > 0 && count != text.size()) {
        std::memmove(line.Chars + column + text.size(), line.Chars + column + count, tail * sizeof(wchar_t));
    }
    if (!text.empty()) std::memcpy(line.Chars + column, text.data(), text.size() * sizeof(wchar_t));
    FTotalLength = FTotalLength - line.Length + length;
    line.Length = static_cast<uint32_t>(length);
    if (moved) CompactIfWasteful();
}

void TLineStore::Insert(int index, std::wstring_view text, ClassLib::TObject* object) {
    TLine line;
    line.Chars = SharedSpace(text.size());
    if (!text.empty()) std::memcpy(line.Chars, text.data(), text.size() * sizeof(wchar_t));
    line.Length = static_cast<uint32_t>(text.size());
    FLines.insert(FLines.begin() + index, line);
    FTotalLength += text.size();
    if (!FObjects.empty() || object) {
        FObjects.resize(FLines.size() - 1, nullptr);
        FObjects.insert(FObjects.begin() + index, object);
    }
}

void TLineStore::Erase(int index) {
    Release(FLines[static_cast<size_t>(index)]);
    FLines.erase(FLines.begin() + index);
    if (!FObjects.empty()) FObjects.erase(FObjects.begin() + index);
    CompactIfWasteful();
}

void TLineStore::Recycle() {
    for (TLine& line : FLines) Release(line);
    FLines.clear();
    FObjects.clear();
    for (TBlock& block : FBlocks) FSpare.push_back(std::move(block));
    FBlocks.clear();
    FAdopted.clear();
    FFree = nullptr;
    FFreeLeft = 0;
    FShared = 0;
    FSharedDead = 0;
    FTotalLength = 0;
}

void TLineStore::Clear() {
    Recycle();
    DropSpare();
    std::vector<TLine>().swap(FLines);
    std::vector<ClassLib::TObject*>().swap(FObjects);
}

void TLineStore::Swap(int index1, int index2) {
    std::swap(FLines[static_cast<size_t>(index1)], FLines[static_cast<size_t>(index2)]);
    if (!FObjects.empty()) std::swap(FObjects[static_cast<size_t>(index1)], FObjects[static_cast<size_t>(index2)]);
}

void TLineStore::Reorder(const std::vector<int>& order) {
    assert(order.size() == FLines.size());
    std::vector<TLine> lines;
    lines.reserve(FLines.size());
    for (int from : order) lines.push_back(FLines[static_cast<size_t>(from)]);
    FLines.swap(lines);
    if (FObjects.empty()) return;
    std::vector<ClassLib::TObject*> objects;
    objects.reserve(FObjects.size());
    for (int from : order) objects.push_back(FObjects[static_cast<size_t>(from)]);
    FObjects.swap(objects);
}

void TLineStore::SetObject(int index, ClassLib::TObject* object) {
    if (FObjects.empty()) {
        if (!object) return;
        FObjects.resize(FLines.size(), nullptr);
    }
    FObjects[static_cast<size_t>(index)] = object;
}

template <typename TChar>
void TLineStore::AppendLines(const TChar* text, size_t size, int tabSize, bool reserve) {
    if (reserve) FLines.reserve(FLines.size() + LinesIn(text, size));

    const size_t blanks = static_cast<size_t>(std::max(tabSize, 0));
    size_t i = 0;
    while (i < size) {
        const size_t start = i;
        size_t tabs = 0;
        for (; i < size; ++i) {
            // Nearly every character is above CR: one comparison passes it.
            const TChar c = text[i];
            if (static_cast<unsigned>(c) > static_cast<unsigned>('\r')) continue;
            if (c == TChar('\r') || c == TChar('\n')) break;
            if (c == TChar('\t')) ++tabs;
        }
        const size_t length = tabSize >= 0 ? i - start - tabs + tabs * blanks : i - start;
        TLine line;
        line.Chars = SharedSpace(length);
        line.Length = static_cast<uint32_t>(length);
        wchar_t* out = line.Chars;
        if (tabSize < 0 || tabs == 0) {
            for (size_t k = start; k < i; ++k) *out++ = static_cast<wchar_t>(text[k]);
        } else {
            for (size_t k = start; k < i; ++k) {
                if (text[k] == TChar('\t')) out = std::fill_n(out, blanks, L' ');
                else *out++ = static_cast<wchar_t>(text[k]);
            }
        }
        FLines.push_back(line);
        FTotalLength += length;
        if (i < size && text[i] == TChar('\r')) ++i;
        if (i < size && text[i] == TChar('\n')) ++i;
    }
    if (!FObjects.empty()) FObjects.resize(FLines.size(), nullptr);
}

void TLineStore::AppendText(std::wstring_view text, int tabSize) { AppendLines(text.data(), text.size(), tabSize, true); }

void TLineStore::AdoptText(std::wstring&& text) {
    assert(text.find(L'\t') == std::wstring::npos);
    FAdopted.push_back(std::make_unique<std::wstring>(std::move(text)));
    const std::wstring& adopted = *FAdopted.back();
    const size_t before = FTotalLength;
    const size_t size = adopted.size();
    const wchar_t* chars = adopted.data();
    FLines.reserve(FLines.size() + LinesIn(chars, size));
    size_t i = 0;
    while (i < size) {
        const size_t start = i;
        while (i < size && chars[i] != L'\r' && chars[i] != L'\n') ++i;
        TLine line;
        line.Chars = i > start ? const_cast<wchar_t*>(chars + start) : nullptr;
        line.Length = static_cast<uint32_t>(i - start);
        FLines.push_back(line);
        FTotalLength += i - start;
        if (i < size && chars[i] == L'\r') ++i;
        if (i < size && chars[i] == L'\n') ++i;
    }
    if (!FObjects.empty()) FObjects.resize(FLines.size(), nullptr);
    // The breaks between the lines count as dead space of a shared block.
    FShared += size;
    FSharedDead += size - (FTotalLength - before);
}

void TLineStore::AppendLine(std::initializer_list<std::wstring_view> pieces) {
    size_t length = 0;
    for (const std::wstring_view piece : pieces) length += piece.size();
    TLine line;
    line.Chars = SharedSpace(length);
    line.Length = static_cast<uint32_t>(length);
    wchar_t* out = line.Chars;
    for (const std::wstring_view piece : pieces) {
        if (piece.empty()) continue;
        std::memcpy(out, piece.data(), piece.size() * sizeof(wchar_t));
        out += piece.size();
    }
    FLines.push_back(line);
    FTotalLength += length;
    if (!FObjects.empty()) FObjects.push_back(nullptr);
}

void TLineStore::Swap(TLineStore& other) noexcept {
    FLines.swap(other.FLines);
    FObjects.swap(other.FObjects);
    FBlocks.swap(other.FBlocks);
    FAdopted.swap(other.FAdopted);
    std::swap(FFree, other.FFree);
    std::swap(FFreeLeft, other.FFreeLeft);
    std::swap(FShared, other.FShared);
    std::swap(FSharedDead, other.FSharedDead);
    std::swap(FTotalLength, other.FTotalLength);
}

void TLineStore::AppendText(std::string_view ascii, int tabSize) {
    AppendLines(reinterpret_cast<const unsigned char*>(ascii.data()), ascii.size(), tabSize, true);
}

void TLineStore::AppendPiece(std::string_view ascii, int tabSize) {
    AppendLines(reinterpret_cast<const unsigned char*>(ascii.data()), ascii.size(), tabSize, false);
}

}  // namespace AdvMemo
