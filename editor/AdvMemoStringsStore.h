#pragma once
// The text behind the code editor's line list: one compact record per line, with the text of
// lines that came in together (a load, a whole text set at once, lines added) packed into large
// shared blocks, and a line that is edited moved into a block of its own. Objects are kept
// beside the lines only once a line has one. Plain data: no notifications, no window.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ClassLib {
class TObject;
}

namespace AdvMemo {

class TLineStore {
public:
    TLineStore() = default;
    ~TLineStore();
    TLineStore(const TLineStore&) = delete;
    TLineStore& operator=(const TLineStore&) = delete;
    // Exchanges the lines and the blocks that hold them; each store keeps its spare blocks.
    void Swap(TLineStore& other) noexcept;

    int Count() const { return static_cast<int>(FLines.size()); }
    // Valid until the store next changes. Indexes are not checked here: the list above does.
    std::wstring_view Text(int index) const {
        const TLine& line = FLines[static_cast<size_t>(index)];
        return {line.Chars, line.Length};
    }
    int Length(int index) const { return static_cast<int>(FLines[static_cast<size_t>(index)].Length); }
    // The characters of all lines together, breaks not counted.
    size_t TotalLength() const { return FTotalLength; }

    void Set(int index, std::wstring_view text);
    // Drops every line but keeps the shared blocks, whose space new lines then take before
    // any new block is made: a store that is filled again and again touches no fresh memory.
    void Recycle();
    // Frees the blocks Recycle kept that no line took.
    void DropSpare() { FSpare.clear(); }
    // Replaces `count` characters at `column` (both within the line) by `text`, in place when
    // the line's own block has room. `text` must not point into the store.
    void Replace(int index, size_t column, size_t count, std::wstring_view text);
    void Insert(int index, std::wstring_view text, ClassLib::TObject* object);
    void Erase(int index);
    void Clear();
    void Swap(int index1, int index2);
    // Puts the lines in the order given: line k becomes the one that stood at order[k].
    void Reorder(const std::vector<int>& order);

    ClassLib::TObject* Object(int index) const {
        return FObjects.empty() ? nullptr : FObjects[static_cast<size_t>(index)];
    }
    void SetObject(int index, ClassLib::TObject* object);

    // Appends the lines of a whole text: CR, LF and CR LF each end a line, a break at the very
    // end adds no empty line, and with tabSize >= 0 every tab becomes tabSize blanks. The
    // byte form takes ASCII text (every byte below 0x80) and widens it as it goes.
    void AppendText(std::wstring_view text, int tabSize);
    void AppendText(std::string_view ascii, int tabSize);
    // The same for one piece of a text read in pieces, each of which but the last ends with a
    // line break (a CR LF pair whole in one piece); the caller reserves the lines beforehand.
    void AppendPiece(std::string_view ascii, int tabSize);
    // The same for a text without tabs, whose buffer the store takes over instead of copying
    // it: the lines then point into it.
    void AdoptText(std::wstring&& text);
    // Appends one line made of the pieces, taken as they are (no tab or break is looked for).
    // For a text built line by line into a store of its own, which a list then takes whole.
    void AppendLine(std::initializer_list<std::wstring_view> pieces);
    void Reserve(size_t lines) { FLines.reserve(lines); }

private:
    // Capacity 0: the characters live in a shared block and are not freed one by one.
    struct TLine {
        wchar_t* Chars = nullptr;
        uint32_t Length = 0;
        uint32_t Capacity = 0;
    };
    template <typename TChar>
    void AppendLines(const TChar* text, size_t size, int tabSize, bool reserve);
    wchar_t* SharedSpace(size_t length);
    void Release(TLine& line);
    void CompactIfWasteful();

    std::vector<TLine> FLines;
    std::vector<ClassLib::TObject*> FObjects;  // invariant: empty, or one entry per line
    struct TBlock {
        std::unique_ptr<wchar_t[]> Chars;
        size_t Size = 0;
    };
    std::vector<TBlock> FBlocks;
    std::vector<TBlock> FSpare;  // blocks kept by Recycle, taken again by SharedSpace
    std::vector<std::unique_ptr<std::wstring>> FAdopted;  // texts taken over, shared like FBlocks
    wchar_t* FFree = nullptr;  // the unused end of the newest shared block
    size_t FFreeLeft = 0;
    size_t FShared = 0;  // characters handed out of shared blocks
    size_t FSharedDead = 0;  // of those, the ones no line uses any more
    size_t FTotalLength = 0;
};

}  // namespace AdvMemo
