#pragma once
// The main window's generator and read-back: turns the command list into the C source
// and header of the AT-command interpreter, and reads a generated C file back so that
// the user's sections and function bodies survive the next run. Works on line stores
// only, so the window hands in its panes and everything runs without window handles.
#include <functional>
#include <memory>
#include <string>

namespace ClassLib {
class TStrings;
class TStringList;
}  // namespace ClassLib

namespace Unit1 {

struct TGeneratorOptions {
    bool SortCommands = true;         // "Sort commands"
    bool UseVt100Colors = true;       // "Use VT100 colors in HELP"
    bool AutoCorrectHeaders = false;  // "Auto correct header sections"
};

// The main window owns one: it hands in its panes' line stores (the three editors'
// Lines() and the hidden collector's lines) and binds OnReadOptions to its check boxes.
class TAtGenerator {
public:
    TAtGenerator();
    ~TAtGenerator();
    TAtGenerator(const TAtGenerator&) = delete;
    TAtGenerator& operator=(const TAtGenerator&) = delete;

    // The command list, the C source, the header and the hidden table collector.
    // Not owned; all four must be set before GenerateSources, the list before LoadUserBlocks.
    void SetPanes(ClassLib::TStrings* atcmds, ClassLib::TStrings* memoC, ClassLib::TStrings* memoH,
                  ClassLib::TStrings* memo2);

    // Asked at the start of every run (the window binds it to its check boxes);
    // when unbound, Options is used.
    std::function<TGeneratorOptions()> OnReadOptions;
    TGeneratorOptions Options;

    // Rewrites the command list (cleaned, optionally sorted, names upper-cased) and
    // replaces the C source, the header and the table collector. Writes nothing to disk.
    void GenerateSources();
    // Reads the command list, the user sections and the blocks back from a generated C
    // file, appending one list line per block. A missing file changes nothing; a file
    // that cannot be read raises and also changes nothing.
    void LoadUserBlocks(const std::wstring& fileName);

    // Read-back state: block names in file order, their coded blocks (entry k belongs
    // to name k; invariant: both have the same count after every read-back), and the
    // lines of the two user sections, markers included.
    std::unique_ptr<ClassLib::TStringList> atList;
    std::unique_ptr<ClassLib::TStringList> atFunList;
    std::unique_ptr<ClassLib::TStringList> sct1List;
    std::unique_ptr<ClassLib::TStringList> sct2List;

private:
    // What a run builds beside the panes, kept for the next run, which fills the same memory
    // again instead of fresh memory (a large list's source is megabytes).
    struct TWork;
    std::unique_ptr<TWork> FWork;
    ClassLib::TStrings* FAtcmds = nullptr;
    ClassLib::TStrings* FMemoC = nullptr;
    ClassLib::TStrings* FMemoH = nullptr;
    ClassLib::TStrings* FMemo2 = nullptr;
};

}  // namespace Unit1
