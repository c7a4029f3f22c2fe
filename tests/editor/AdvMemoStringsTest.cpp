#include "editor/AdvMemo.h"

#include "classlib/Exceptions.h"
#include "classlib/Streams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <windows.h>

using namespace AdvMemo;

namespace {

std::vector<std::wstring> LinesOf(const TAdvMemoStrings& lines) {
    std::vector<std::wstring> result;
    for (int i = 0; i < lines.Count(); ++i) result.push_back(lines.Get(i));
    return result;
}

std::wstring TempFile(const wchar_t* name) {
    wchar_t dir[MAX_PATH];
    ::GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

std::string ReadBytes(const std::wstring& fileName) {
    std::ifstream in(std::filesystem::path(fileName), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::wstring& fileName, const std::string& bytes) {
    std::ofstream out(std::filesystem::path(fileName), std::ios::binary);
    out << bytes;
}

// The lengths kept beside the lines must always match the lines.
void ExpectLengthsMatch(const TAdvMemoStrings& lines) {
    ASSERT_EQ(lines.ListLengths().Count(), lines.Count());
    int widest = 0;
    for (int i = 0; i < lines.Count(); ++i) {
        EXPECT_EQ(lines.ListLengths()[i], static_cast<int>(lines.Get(i).size())) << "line " << i;
        widest = std::max(widest, static_cast<int>(lines.Get(i).size()));
    }
    EXPECT_EQ(lines.MaxLineLength(), widest);
}

// Stands in for the view: records what the store tells it, in order, and changes nothing.
class TRecordingWatcher : public ILinesWatcher {
public:
    std::vector<std::string> Events;
    int Tab = 4;
    bool Trim = false;
    bool AllowDelete = true;

    int TabSize() const override { return Tab; }
    bool CodeFoldingEnabled() const override { return false; }
    bool TrimTrailingSpaces() const override { return Trim; }
    void LineStored(int index) override { Note("stored", index); }
    void LineInserting(int index) override { Note("inserting", index); }
    void TextInserting(int index) override { Note("text inserting", index); }
    void TextInserted(int index, int count) override { Note("text inserted", index, count); }
    bool LineDeleting(int index) override { Note("deleting", index); return AllowDelete; }
    void LineDeleted(int index) override { Note("deleted", index); }
    void LinesClearing() override { Note("clearing"); }
    void TextReplaced(bool repaintGutter) override { Note("replaced", repaintGutter); }
    void ChangedInUpdate() override { Note("changed in update"); }
    void StringsAdded() override { Note("strings added"); }
    void AssignLines(const ClassLib::TStrings& source) override { Note("assign", source.Count()); }
    void LoadStarting() override { Note("load starting"); }
    void LoadEnded(bool loaded, bool fromFile) override { Note("load ended", loaded, fromFile); }
    void FileSaveStarting() override { Note("save starting"); }
    void FileSaveEnded() override { Note("save ended"); }
    void LinesSaved(bool toFile) override { Note("saved", toFile); }

private:
    void Note(const char* what, int a = -1, int b = -1) {
        std::string event = what;
        if (a >= 0) event += " " + std::to_string(a);
        if (b >= 0) event += " " + std::to_string(b);
        Events.push_back(event);
    }
};

// A watched store with three lines and nothing recorded yet.
struct TWatchedLines {
    TRecordingWatcher Watcher;
    TAdvMemoStrings Lines;
    TWatchedLines() {
        Lines.SetWatcher(&Watcher);
        Lines.SetText(L"a\r\nb\r\nc");
        Watcher.Events.clear();
    }
};

}  // namespace

TEST(AdvMemoStringsWatched, EveryChangeIsReportedInOrder) {
    using TEvents = std::vector<std::string>;
    struct TCase {
        const char* Name;
        std::function<void(TWatchedLines&)> Edit;
        std::vector<std::wstring> Lines;
        TEvents Events;
    };
    ClassLib::TStringList other;
    other.Add(L"x\ty");
    const TCase cases[] = {
        {"put", [](TWatchedLines& w) { w.Lines.Put(1, L"\tB"); }, {L"a", L"    B", L"c"}, {"stored 1"}},
        {"one line in", [](TWatchedLines& w) { w.Lines.DoInsert(1, L"n"); }, {L"a", L"n", L"b", L"c"}, {"inserting 1"}},
        {"text in", [](TWatchedLines& w) { w.Lines.Insert(0, L"p\r\nq"); }, {L"p", L"q", L"a", L"b", L"c"},
         {"text inserting 0", "inserting 0", "inserting 1", "text inserted 0 2"}},
        {"delete", [](TWatchedLines& w) { w.Lines.Delete(1); }, {L"a", L"c"}, {"deleting 1", "deleted 1"}},
        {"delete outside", [](TWatchedLines& w) { w.Lines.Delete(3); }, {L"a", L"b", L"c"}, {}},
        {"delete refused", [](TWatchedLines& w) { w.Watcher.AllowDelete = false; w.Lines.Delete(0); }, {L"a", L"b", L"c"}, {"deleting 0"}},
        {"only line is emptied", [](TWatchedLines& w) { w.Lines.SetText(L"solo"); w.Watcher.Events.clear(); w.Lines.Delete(0); },
         {L""}, {"deleting 0", "stored 0", "deleted 0"}},
        {"own command removes quietly", [](TWatchedLines& w) { w.Lines.RemoveLine(0); }, {L"b", L"c"}, {}},
        {"clear", [](TWatchedLines& w) { w.Lines.Clear(); }, {}, {"clearing"}},
        {"text", [](TWatchedLines& w) { w.Lines.SetText(L"t\tu"); }, {L"t    u"}, {"clearing", "changed in update", "replaced 0"}},
        {"strings added", [&](TWatchedLines& w) { w.Lines.AddStrings(&other); }, {L"a", L"b", L"c", L"x    y"},
         {"changed in update", "strings added"}},
        {"assign asks the watcher", [&](TWatchedLines& w) { w.Lines.Assign(&other); }, {L"a", L"b", L"c"}, {"assign 1", "replaced 1"}},
        {"update with a change", [](TWatchedLines& w) { w.Lines.BeginUpdate(); w.Lines.BeginUpdate(); w.Lines.Add(L"d"); w.Lines.EndUpdate(); w.Lines.EndUpdate(); },
         {L"a", L"b", L"c", L"d"}, {"changed in update"}},
        {"update without a change", [](TWatchedLines& w) { w.Lines.BeginUpdate(); w.Lines.EndUpdate(); }, {L"a", L"b", L"c"}, {}},
        {"save to a stream", [](TWatchedLines& w) { ClassLib::TMemoryStream out; w.Lines.SaveToStream(&out); }, {L"a", L"b", L"c"}, {"saved 0"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TWatchedLines watched;
        c.Edit(watched);
        EXPECT_EQ(LinesOf(watched.Lines), c.Lines);
        EXPECT_EQ(watched.Watcher.Events, c.Events);
        ExpectLengthsMatch(watched.Lines);
    }
}

TEST(AdvMemoStringsWatched, AFileLoadEndsOnceAndAFailedOneLeavesTheText) {
    const std::wstring file = TempFile(L"memo_watched.c");
    WriteBytes(file, "one\r\n\ttwo");
    TWatchedLines watched;
    watched.Lines.LoadFromFile(file);
    EXPECT_EQ(LinesOf(watched.Lines), (std::vector<std::wstring>{L"one", L"    two"}));
    // One path: the view re-wraps and redraws once, in the one "load ended".
    EXPECT_EQ(watched.Watcher.Events,
              (std::vector<std::string>{"load starting", "clearing", "changed in update", "load ended 1 1"}));
    ExpectLengthsMatch(watched.Lines);

    watched.Watcher.Events.clear();
    ClassLib::TStringStream stream("s");
    watched.Lines.LoadFromStream(&stream);
    EXPECT_EQ(watched.Watcher.Events,
              (std::vector<std::string>{"load starting", "clearing", "changed in update", "load ended 1 0"}));

    watched.Watcher.Events.clear();
    EXPECT_THROW(watched.Lines.LoadFromFile(TempFile(L"no_such_dir_memo\\missing.c")), ClassLib::Exception);
    EXPECT_TRUE(watched.Watcher.Events.empty());
    EXPECT_EQ(LinesOf(watched.Lines), std::vector<std::wstring>{L"s"});
    ::DeleteFileW(file.c_str());
}

TEST(AdvMemoStringsWatched, FileSaveIsBracketedAndTrimsWhenAsked) {
    const std::wstring file = TempFile(L"memo_watched_save.c");
    TWatchedLines watched;
    watched.Watcher.Trim = true;
    watched.Lines.SetText(L"a  \r\nb");
    watched.Watcher.Events.clear();
    watched.Lines.SaveToFile(file);
    EXPECT_EQ(ReadBytes(file), "a\r\nb\r\n");
    // The file is written through SaveToStream, which reports its own save.
    EXPECT_EQ(watched.Watcher.Events, (std::vector<std::string>{"save starting", "stored 0", "changed in update", "saved 0",
                                                                "save ended", "saved 1"}));

    watched.Watcher.Events.clear();
    EXPECT_THROW(watched.Lines.SaveToFile(TempFile(L"no_such_dir_memo\\out.c")), ClassLib::Exception);
    EXPECT_EQ(watched.Watcher.Events, (std::vector<std::string>{"save starting", "save ended"}));
    ::DeleteFileW(file.c_str());
}

// DoInsert and Put store one line as given (breaks included); only tabs never get in.
TEST(AdvMemoStringsWatched, RandomEditsKeepLengthsAndExpandEveryTab) {
    std::mt19937 random(31337);
    const std::wstring alphabet = L"ab \t\r\n";
    auto randomText = [&] {
        std::wstring text(random() % 8, L' ');
        for (wchar_t& c : text) c = alphabet[random() % alphabet.size()];
        return text;
    };
    TWatchedLines watched;
    TAdvMemoStrings& lines = watched.Lines;
    for (int round = 0; round < 3000; ++round) {
        const int count = lines.Count();
        const int at = count > 0 ? static_cast<int>(random() % count) : 0;
        const std::wstring text = randomText();
        const int op = static_cast<int>(random() % 9);
        SCOPED_TRACE("round " + std::to_string(round) + " op " + std::to_string(op));
        switch (op) {
        case 0: lines.Add(text); break;
        case 1: lines.Insert(at, text); break;
        case 2: lines.DoInsert(at, text); break;
        case 3: if (count > 0) lines.Put(at, text); break;
        case 4: lines.Delete(at); break;
        case 5: lines.RemoveLine(at); break;
        case 6: if (random() % 20 == 0) lines.SetText(text); break;
        case 7: if (count > 1) lines.Exchange(at, count - 1); break;
        case 8:
            lines.BeginUpdate();
            lines.Add(text);
            lines.Delete(0);
            lines.EndUpdate();
            break;
        }
        ExpectLengthsMatch(lines);
        for (int i = 0; i < lines.Count(); ++i) {
            const std::wstring line = lines.Get(i);
            ASSERT_EQ(line.find(L'\t'), std::wstring::npos) << "line " << i;
        }
        if (HasFailure()) return;
    }
}

TEST(AdvMemoStrings, LineRulesForTextFromOutside) {
    struct TCase { std::wstring Text; std::vector<std::wstring> Added; std::vector<std::wstring> Set; };
    const TCase cases[] = {
        {L"", {L""}, {}},
        {L"a\r\nb", {L"a", L"b"}, {L"a", L"b"}},
        {L"a\n\rb", {L"a", L"b"}, {L"a", L"", L"b"}},
        {L"a\r", {L"a", L""}, {L"a"}},
        {L"\tx\n", {L"    x"}, {L"\tx"}},  // Add expands; splitting a whole text keeps tabs for the store to expand
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.Text));
        EXPECT_EQ(SplitAddedText(c.Text, 4), c.Added);
        EXPECT_EQ(SplitText(c.Text), c.Set);
    }
}

TEST(AdvMemoStrings, FileLoadRefreshesOnceAndKeepsWrappedRows) {
    const std::wstring file = TempFile(L"memo_wrapped.c");
    WriteBytes(file, "aaaa bbbb cccc\r\nend");
    TAdvMemo memo;
    memo.SetRightMargin(10);
    memo.SetWordWrap(wwRightMargin);
    const int refreshes = memo.RefreshCount();
    memo.LoadFromFile(file);
    EXPECT_EQ(memo.RefreshCount(), refreshes + 1);
    EXPECT_EQ(LinesOf(*memo.Lines()), (std::vector<std::wstring>{L"aaaa bbbb ", L"cccc", L"end"}));
    // The continuation row is still known as one, so the file gets the line back whole.
    memo.SaveToFile(file);
    EXPECT_EQ(ReadBytes(file), "aaaa bbbb cccc\r\nend");
    ::DeleteFileW(file.c_str());
}

TEST(AdvMemoStrings, NewMemoHasOneEmptyLine) {
    TAdvMemo memo;
    EXPECT_EQ(memo.Lines()->Count(), 1);
    EXPECT_EQ(memo.Lines()->Text(), L"");
    EXPECT_EQ(memo.Lines()->RealCount(), 0);
}

TEST(AdvMemoStrings, SettingTextWithAndWithoutMemo) {
    struct TCase {
        const wchar_t* Name;
        std::wstring Text;
        std::vector<std::wstring> MemoLines;
        std::wstring MemoText;    // read back from a memo's own list (no final break)
        std::wstring SourceText;  // read back from a free list (final break on)
    };
    const TCase cases[] = {
        {L"tab is four blanks", L"a\tb", {L"a    b"}, L"a    b", L"a\tb\r\n"},
        {L"final break adds no line", L"x\r\ny\r\n", {L"x", L"y"}, L"x\r\ny", L"x\r\ny\r\n"},
        {L"empty text", L"", {}, L"", L""},
        {L"lone break", L"\r\n", {L""}, L"", L"\r\n"},
        {L"break and empty line", L"a\r\n\r\n", {L"a", L""}, L"a\r\n", L"a\r\n\r\n"},
        {L"CR and LF alone", L"a\rb\nc", {L"a", L"b", L"c"}, L"a\r\nb\r\nc", L"a\r\nb\r\nc\r\n"},
        {L"tabs anywhere", L"\t\tx\t", {L"        x    "}, L"        x    ", L"\t\tx\t\r\n"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Name)));
        TAdvMemo memo;
        memo.Lines()->SetText(c.Text);
        EXPECT_EQ(LinesOf(*memo.Lines()), c.MemoLines);
        EXPECT_EQ(memo.Lines()->Text(), c.MemoText);
        ExpectLengthsMatch(*memo.Lines());

        TAdvMemoSource source;
        source.Lines()->SetText(c.Text);
        EXPECT_EQ(source.Lines()->Text(), c.SourceText);
    }
}

TEST(AdvMemoStrings, RealCountTreatsEmptyTextAsNoLines) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"");
    EXPECT_EQ(memo.Lines()->Count(), 0);
    EXPECT_EQ(memo.Lines()->RealCount(), 0);
    memo.Lines()->SetText(L"a\r\nb");
    EXPECT_EQ(memo.Lines()->RealCount(), 2);
}

TEST(AdvMemoStrings, AddSplitsAtCarriageReturnsAndDropsLineFeeds) {
    struct TCase { std::wstring Text; std::vector<std::wstring> Added; int Result; };
    const TCase cases[] = {
        {L"a\rb", {L"a", L"b"}, 2},
        {L"a\nb", {L"ab"}, 1},
        {L"a\r\nb", {L"a", L"b"}, 2},
        {L"", {L""}, 1},
        {L"\tq", {L"    q"}, 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.Text));
        TAdvMemo memo;
        memo.Lines()->SetText(L"first");
        EXPECT_EQ(memo.Lines()->Add(c.Text), c.Result);
        std::vector<std::wstring> expected{L"first"};
        expected.insert(expected.end(), c.Added.begin(), c.Added.end());
        EXPECT_EQ(LinesOf(*memo.Lines()), expected);
        ExpectLengthsMatch(*memo.Lines());
    }
    TAdvMemoSource source;
    source.Lines()->Add(L"a\tb");
    EXPECT_EQ(source.Lines()->Get(0), L"a\tb");  // a free list stores as given
}

TEST(AdvMemoStrings, InsertShiftsMarkersAndBookmarksByInsertedLines) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"l0\r\nl1\r\nl2");
    memo.AddMarker(0, 1, L"m0");
    memo.AddMarker(2, 1, L"m2");
    memo.SetBookmarks(0, 0);
    memo.SetBookmarks(1, 2);
    memo.Lines()->Insert(0, L"p\r\nq");
    EXPECT_EQ(LinesOf(*memo.Lines()), (std::vector<std::wstring>{L"p", L"q", L"l0", L"l1", L"l2"}));
    EXPECT_EQ(memo.MarkerList().Markers().Items(0)->LineNumber(), 2);
    EXPECT_EQ(memo.MarkerList().Markers().Items(1)->LineNumber(), 4);
    EXPECT_EQ(memo.Bookmarks(0), 2);
    EXPECT_EQ(memo.Bookmarks(1), 4);
    EXPECT_EQ(memo.Bookmarks(2), -1);  // an unset slot never moves
    ExpectLengthsMatch(*memo.Lines());
}

TEST(AdvMemoStrings, DeleteThroughListRecordsNoUndoAndKeepsCaretOnItsText) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"a\r\nb\r\nc\r\nd");
    memo.ClearUndoRedo();
    memo.SetCursor(1, 2);  // on "c"
    memo.Lines()->Delete(0);
    EXPECT_EQ(LinesOf(*memo.Lines()), (std::vector<std::wstring>{L"b", L"c", L"d"}));
    EXPECT_EQ(memo.CurY(), 1);
    EXPECT_EQ(memo.CurX(), 1);
    EXPECT_EQ(memo.UndoList().Count(), 0);
    memo.Lines()->Delete(7);  // outside: nothing
    EXPECT_EQ(memo.Lines()->Count(), 3);
    ExpectLengthsMatch(*memo.Lines());
}

TEST(AdvMemoStrings, DeletingTheCaretsLastLineClampsTheCaret) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"abc\r\nxy\r\nlast line");
    memo.SetCursor(6, 2);
    memo.Lines()->Delete(2);
    EXPECT_EQ(memo.Lines()->Count(), 2);
    EXPECT_EQ(memo.CurY(), 1);
    EXPECT_LE(memo.CurX(), static_cast<int>(memo.Lines()->Get(1).size()));
}

TEST(AdvMemoStrings, ObjectsShowTheUserObjectOverLineProperties) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"a\r\nb");
    ClassLib::TObject user;
    memo.SetBreakPoint(1, true);
    memo.Lines()->SetObjects(1, &user);
    EXPECT_EQ(memo.Lines()->Objects(1), &user);
    EXPECT_TRUE(memo.BreakPoint(1));
    EXPECT_EQ(memo.Lines()->Objects(5), nullptr);
    memo.Lines()->SetObjects(5, &user);  // ignored
}

TEST(AdvMemoStrings, ChangesInsideAnUpdateFireNoChangeEvent) {
    TAdvMemoSource source;
    int changes = 0;
    source.Lines()->OnChange = [&](ClassLib::TObject*) { ++changes; };
    source.Lines()->BeginUpdate();
    for (int i = 0; i < 10; ++i) source.Lines()->Add(L"x");
    source.Lines()->EndUpdate();
    EXPECT_EQ(changes, 0);
    source.Lines()->Add(L"y");
    EXPECT_EQ(changes, 1);
}

TEST(AdvMemoStrings, SaveWritesNoFinalBreakAndKeepsTheLoadedEncoding) {
    const std::wstring utf8 = TempFile(L"memo_utf8.c");
    const std::wstring ansi = TempFile(L"memo_ansi.c");
    WriteBytes(utf8, "\xEF\xBB\xBFint a;\r\n\tb\xC3\xA9;\r\n");
    WriteBytes(ansi, "x\r\ny\r\n");
    TAdvMemo memo;
    memo.LoadFromFile(utf8);
    EXPECT_EQ(LinesOf(*memo.Lines()), (std::vector<std::wstring>{L"int a;", L"    b\u00E9;"}));
    memo.SaveToFile(utf8);
    EXPECT_EQ(ReadBytes(utf8), "\xEF\xBB\xBFint a;\r\n    b\xC3\xA9;");
    memo.LoadFromFile(ansi);
    memo.SaveToFile(ansi);
    EXPECT_EQ(ReadBytes(ansi), "x\r\ny");
    ::DeleteFileW(utf8.c_str());
    ::DeleteFileW(ansi.c_str());
}

TEST(AdvMemoStrings, GeneratorStyleFillAndSave) {
    TAdvMemo memo;
    memo.Lines()->Clear();
    memo.Lines()->Add(L"#include \"x.h\"");
    memo.Lines()->Add(L"void f(void)\r\n{\r\n\treturn;\r\n}");
    const std::wstring file = TempFile(L"memo_gen.c");
    memo.Lines()->SaveToFile(file);
    EXPECT_EQ(ReadBytes(file), "#include \"x.h\"\r\nvoid f(void)\r\n{\r\n    return;\r\n}");
    ::DeleteFileW(file.c_str());
}

TEST(AdvMemoStrings, FailedLoadKeepsTextAndLeavesTheMemoRefreshing) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"keep\r\nme");
    memo.InsertChar(L'x');
    EXPECT_THROW(memo.LoadFromFile(TempFile(L"no_such_dir_memo\\missing.c")), ClassLib::Exception);
    EXPECT_EQ(memo.Lines()->Text(), L"xkeep\r\nme");
    EXPECT_TRUE(memo.CanUndo());
    EXPECT_TRUE(memo.LetRefresh());
    int changes = 0;
    memo.OnChange = [&](ClassLib::TObject*) { ++changes; };
    memo.Lines()->Add(L"more");
    EXPECT_EQ(changes, 1);  // the list still reports to the memo
}

TEST(AdvMemoStrings, LoadMarksLinesUnmodifiedAndSaveMarksThemSaved) {
    const std::wstring file = TempFile(L"memo_states.c");
    WriteBytes(file, "a\r\nb");
    TAdvMemo memo;
    memo.LoadFromFile(file);
    memo.SetLineModifiedInt(1, lmModified);
    memo.SaveToFile(file);
    EXPECT_EQ(memo.LineModifiedInt(1), lmSaved);
    EXPECT_EQ(memo.LineModifiedInt(0), lmUnmodified);
    memo.LoadFromFile(file);
    EXPECT_EQ(memo.LineModifiedInt(1), lmUnmodified);
    ::DeleteFileW(file.c_str());
}

TEST(AdvMemoSource, LinesSetterKeepsTextWithoutAMemo) {
    TAdvMemoSource source;
    ClassLib::TStringList given;
    given.Add(L"one");
    given.Add(L"two");
    source.SetLines(given);
    EXPECT_EQ(source.Lines()->Text(), L"one\r\ntwo\r\n");
}

TEST(AdvMemoSource, UndoListSetterCopiesSteps) {
    TAdvMemo memo;
    memo.InsertChar(L'a');
    memo.NewLine();
    TAdvMemoSource source;
    source.SetUndoList(memo.UndoList());
    ASSERT_EQ(source.UndoList().Count(), memo.UndoList().Count());
    EXPECT_NE(source.UndoList().Items(0), memo.UndoList().Items(0));
    memo.ClearUndoRedo();  // freeing the memo's steps leaves the copies intact
    EXPECT_EQ(source.UndoList().Items(0)->UndoText(), L"a\r");
}

TEST(AdvMemoSource, AttachedMemoWorksOnTheSourceText) {
    TAdvMemoSource source;
    source.Lines()->SetText(L"s0\r\ns1\r\ns2");
    TAdvMemo memo;
    memo.Lines()->SetText(L"own");
    memo.SetCursor(0, 0);
    memo.SetMemoSource(&source);
    EXPECT_EQ(memo.Lines(), source.Lines());
    memo.SetCursor(2, 1);
    memo.InsertChar(L'!');
    EXPECT_EQ(source.Lines()->Get(1), L"s1!");
    EXPECT_EQ(&memo.UndoList(), &source.UndoList());
    memo.SetMemoSource(nullptr);
    EXPECT_EQ(memo.Lines()->Text(), L"own");
    EXPECT_TRUE(source.Modified());
    EXPECT_EQ(source.CaretInfo().CurX, 3);
    EXPECT_EQ(source.CaretInfo().CurY, 1);
}

TEST(AdvMemoSource, CaretBeyondTheSourceGoesToTheStart) {
    TAdvMemoSource source;
    source.Lines()->SetText(L"a\r\nb\r\nc");
    TAdvMemo memo;
    memo.Lines()->SetText(L"0\r\n1\r\n2\r\n3\r\n4\r\n5");
    memo.SetCursor(0, 5);
    memo.SetMemoSource(&source);
    EXPECT_EQ(memo.CurY(), 0);
    EXPECT_EQ(memo.TopLine(), 0);
}

TEST(TIntList, IndexOfWorksSortedAndUnsorted) {
    TIntList list;
    for (int v : {1, 3, 5, 7}) list.Add(v);
    EXPECT_EQ(list.IndexOf(5), 2);
    EXPECT_EQ(list.IndexOf(4), -1);
    list.SetInteger(0, 9);  // no longer ascending
    EXPECT_EQ(list.IndexOf(9), 0);
    EXPECT_EQ(list.IndexOf(7), 3);
    list.Insert(1, 2);
    EXPECT_EQ(list.IndexOf(2), 1);
}

TEST(AdvMemoStrings, FailedSaveWithWordWrapRewrapsAndKeepsReporting) {
    TAdvMemo memo;
    memo.SetRightMargin(10);
    memo.Lines()->SetText(L"aaaa bbbb cccc");
    memo.SetWordWrap(wwRightMargin);
    ASSERT_EQ(memo.Lines()->Count(), 2);
    EXPECT_THROW(memo.SaveToFile(TempFile(L"no_such_dir_memo\\out.c")), ClassLib::Exception);
    EXPECT_EQ(LinesOf(*memo.Lines()), (std::vector<std::wstring>{L"aaaa bbbb ", L"cccc"}));
    int changes = 0;
    memo.OnChange = [&](ClassLib::TObject*) { ++changes; };
    memo.Lines()->Add(L"more");
    EXPECT_EQ(changes, 1);
}

// Large files are read in pieces: lines longer than a piece, CR LF pairs cut by a piece's
// end, lone breaks, a last line without a break, and bytes that end the ASCII reading late
// (the file is then read again whole) all give the lines a whole-text load gives.
TEST(AdvMemoStrings, LoadInPiecesGivesTheLinesOfTheWholeText) {
    std::string ascii;
    std::mt19937 random(77);
    while (ascii.size() < 700000) {
        const size_t length = random() % 7 == 0 ? 300000 : random() % 90;
        for (size_t i = 0; i < length; ++i) ascii += static_cast<char>(i % 17 == 0 ? '\t' : 'a' + random() % 26);
        static const char* const breaks[] = {"\r\n", "\r\n", "\r\n", "\n", "\r", "\r\n\r\n"};
        ascii += breaks[random() % 6];
    }
    // Breaks around the first piece ends (the pieces are 256 KiB).
    for (const size_t at : {size_t(262143), size_t(262144), size_t(524287)}) ascii.replace(at, 2, "\r\n");
    struct TCase { const char* Name; std::string Bytes; };
    const TCase cases[] = {
        {"ASCII", ascii + "last"},
        {"ASCII ending in CR", ascii + "last\r"},
        {"a byte beyond ASCII after the first piece", ascii + "caf\xE9"},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + ascii + "caf\xC3\xA9"},
    };
    const std::wstring file = TempFile(L"memo_pieces.c");
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        WriteBytes(file, c.Bytes);
        ClassLib::TStringList whole;
        whole.LoadFromFile(file);
        std::vector<std::wstring> expected;
        for (int i = 0; i < whole.Count(); ++i) expected.push_back(ExpandTabs(whole.Strings(i), DefaultTabSize));
        TAdvMemo memo;
        memo.LoadFromFile(file);
        EXPECT_EQ(LinesOf(*memo.Lines()), expected);
        EXPECT_EQ(memo.Lines()->Encoding(), whole.Encoding());
    }
    ::DeleteFileW(file.c_str());
}

// ASCII text is written as it is read; a character beyond ASCII late in the text sends the
// save back to the exact encoding, over what was written already, and a stream that held
// more before keeps its tail.
TEST(AdvMemoStrings, SaveMeetsACharacterBeyondAsciiLate) {
    const std::wstring text = std::wstring(100000, L'x') + L"\r\ncaf\u00E9 \u4E2D";
    TAdvMemo memo;
    memo.Lines()->SetText(text);
    ClassLib::TTextEncoding encoding = ClassLib::TTextEncoding::Ansi;
    const std::vector<uint8_t> exact = ClassLib::TStrings::EncodeText(text, encoding, true);
    ASSERT_GT(exact.size(), size_t(65536));

    ClassLib::TMemoryStream empty;
    memo.Lines()->SaveToStream(&empty);
    EXPECT_EQ(empty.Size(), static_cast<int64_t>(exact.size()));
    EXPECT_EQ(std::memcmp(empty.Memory(), exact.data(), exact.size()), 0);
    EXPECT_EQ(memo.Lines()->Encoding(), encoding);

    ClassLib::TMemoryStream longer;
    const std::vector<uint8_t> old(exact.size() + 5000, uint8_t('z'));
    longer.WriteBuffer(old.data(), static_cast<int>(old.size()));
    longer.SetPosition(0);
    memo.Lines()->SetEncoding(ClassLib::TTextEncoding::Ansi);
    memo.Lines()->SaveToStream(&longer);
    ASSERT_EQ(longer.Size(), static_cast<int64_t>(old.size()));
    EXPECT_EQ(std::memcmp(longer.Memory(), exact.data(), exact.size()), 0);
    EXPECT_EQ(static_cast<const uint8_t*>(longer.Memory())[exact.size()], uint8_t('z'));
}

// A keystroke's change goes into the stored line: padded when it starts beyond the end,
// expanded when it brings a tab, moved into a block of its own on the first edit.
TEST(AdvMemoStrings, ReplaceCharsChangesTheStoredLine) {
    struct TCase { const wchar_t* Line; int Column, Count; const wchar_t* Text; const wchar_t* Result; };
    const TCase cases[] = {
        {L"abcdef", 3, 0, L"x", L"abcxdef"},
        {L"abcdef", 0, 1, L"X", L"Xbcdef"},
        {L"abcdef", 6, 0, L"gh", L"abcdefgh"},
        {L"abc", 5, 0, L"x", L"abc  x"},
        {L"abc", 1, 9, L"", L"a"},
        {L"abc", 1, 0, L"\t", L"a    bc"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Line)));
        TAdvMemo memo;
        memo.Lines()->SetText(std::wstring(L"first\r\n") + c.Line + L"\r\nlast");
        memo.Lines()->ReplaceChars(1, c.Column, c.Count, c.Text);
        EXPECT_EQ(LinesOf(*memo.Lines()), (std::vector<std::wstring>{L"first", c.Result, L"last"}));
        // Again on the line that now has a block of its own.
        memo.Lines()->ReplaceChars(1, 0, 0, L"++");
        EXPECT_EQ(memo.Lines()->Get(1), std::wstring(L"++") + c.Result);
        EXPECT_EQ(memo.Lines()->MaxLineLength(), std::max<int>(5, static_cast<int>(std::wcslen(c.Result)) + 2));
    }
}
