#include "editor/AdvMemoUndo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

using namespace AdvMemo;

namespace {

// A step that only has a name; steps whose names start with '+' absorb each other.
class TNamedStep : public TUndoClone<TNamedStep> {
public:
    explicit TNamedStep(const std::wstring& name, bool linked = false) : TUndoClone(0, name, 0, 0, 0) { FLinkedUndo = linked; }
    bool Append(TUndo* newUndo) override {
        auto* other = dynamic_cast<TNamedStep*>(newUndo);
        if (!other || FUndoText[0] != L'+' || other->UndoText()[0] != L'+') return false;
        FUndoText += other->UndoText();
        return true;
    }
    // Steps are replayed by the watcher, which never hands them a memo here.
    void PerformUndo(TAdvCustomMemo&) override { ADD_FAILURE() << "performed on a memo"; }
    void PerformRedo(TAdvCustomMemo&) override { ADD_FAILURE() << "performed on a memo"; }
};

std::unique_ptr<TUndo> Step(const wchar_t* name, bool linked = false) { return std::make_unique<TNamedStep>(name, linked); }

// Stands in for the editor: records what the list reports and which steps it replays.
class TRecordingWatcher : public IUndoWatcher {
public:
    std::vector<std::wstring> Events;
    std::wstring FailOn;  // a step whose replay throws
    TAdvUndoList* List = nullptr;
    bool PerformingDuringReplay = true;

    void UndoStateChanged(bool canUndo, bool canRedo) override {
        Events.push_back(L"state " + std::to_wstring(canUndo) + std::to_wstring(canRedo));
    }
    void ReplayStarting(bool redo) override { Events.push_back(redo ? L"redo starts" : L"undo starts"); }
    void ReplayEnded(bool redo, bool completed) override {
        Events.push_back(std::wstring(redo ? L"redo ends" : L"undo ends") + (completed ? L"" : L" failed"));
    }
    void Replay(TUndo& step, bool redo) override {
        if (List && !List->IsPerforming()) PerformingDuringReplay = false;
        Events.push_back((redo ? L"redo " : L"undo ") + step.UndoText());
        if (!FailOn.empty() && step.UndoText() == FailOn) throw std::runtime_error("replay failed");
    }
};

struct TWatchedUndo {
    TRecordingWatcher Watcher;
    TAdvUndoList List;
    TWatchedUndo() {
        List.SetWatcher(&Watcher);
        Watcher.List = &List;
    }
    void Add(std::initializer_list<const wchar_t*> names) {
        for (const wchar_t* name : names) List.Add(Step(name));
        Watcher.Events.clear();
    }
};

using TEvents = std::vector<std::wstring>;

}  // namespace

TEST(AdvUndoList, UndoAndRedoReplayThroughTheWatcher) {
    TWatchedUndo undo;
    undo.Add({L"a", L"b"});
    undo.List.Undo();
    EXPECT_EQ(undo.Watcher.Events, (TEvents{L"undo starts", L"undo b", L"undo ends", L"state 11"}));
    EXPECT_EQ(undo.List.Pos(), 1);
    undo.Watcher.Events.clear();
    undo.List.Undo();
    undo.List.Undo();  // nothing left: nothing reported
    EXPECT_EQ(undo.Watcher.Events, (TEvents{L"undo starts", L"undo a", L"undo ends", L"state 01"}));
    undo.Watcher.Events.clear();
    undo.List.Redo();
    EXPECT_EQ(undo.Watcher.Events, (TEvents{L"redo starts", L"redo a", L"redo ends", L"state 11"}));
    EXPECT_TRUE(undo.Watcher.PerformingDuringReplay);
    EXPECT_FALSE(undo.List.IsPerforming());
}

TEST(AdvUndoList, LinkedAndLineStateStepsGoWithTheirEdit) {
    struct TCase { const char* Name; std::function<void(TAdvUndoList&)> Fill; TEvents Undone; TEvents Redone; };
    const TCase cases[] = {
        {"a linked chain is undone newest first and redone oldest first",
         [](TAdvUndoList& list) {
             list.Add(Step(L"x"));
             list.Add(Step(L"a"));
             list.Add(Step(L"b", true));
             list.Add(Step(L"c", true));
         },
         {L"undo c", L"undo b", L"undo a"}, {L"redo a", L"redo b", L"redo c"}},
        {"a line-state step below the edit",
         [](TAdvUndoList& list) {
             list.Add(Step(L"x"));
             list.Add(Step(L"a"));
             list.InsertBelowNewest(std::make_unique<TModifiedUndo>(3));
         },
         {L"undo a", L"undo "}, {L"redo ", L"redo a"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TWatchedUndo undo;
        c.Fill(undo.List);
        undo.Watcher.Events.clear();
        undo.List.Undo();
        TEvents undone;
        for (const std::wstring& e : undo.Watcher.Events)
            if (e.rfind(L"undo ", 0) == 0 && e != L"undo starts" && e != L"undo ends") undone.push_back(e);
        EXPECT_EQ(undone, c.Undone);
        EXPECT_EQ(undo.List.Pos(), undo.List.Count() - 1);  // only "x" is left to undo
        undo.Watcher.Events.clear();
        undo.List.Redo();
        TEvents redone;
        for (const std::wstring& e : undo.Watcher.Events)
            if (e.rfind(L"redo ", 0) == 0 && e != L"redo starts" && e != L"redo ends") redone.push_back(e);
        EXPECT_EQ(redone, c.Redone);
        EXPECT_EQ(undo.List.Pos(), 0);
    }
}

TEST(AdvUndoList, AddingMergesDropsRedoAndKeepsTheLimit) {
    TWatchedUndo undo;
    undo.Add({L"+a", L"+b"});
    ASSERT_EQ(undo.List.Count(), 1);  // typed on: one step
    EXPECT_EQ(undo.List.Items(0)->UndoText(), L"+a+b");
    undo.Add({L"c", L"d"});
    undo.List.Undo();
    undo.List.Add(Step(L"+e"));  // an undone step never absorbs; the redo side is dropped
    ASSERT_EQ(undo.List.Count(), 3);
    EXPECT_EQ(undo.List.Items(0)->UndoText(), L"+e");
    EXPECT_EQ(undo.List.Pos(), 0);

    undo.List.SetLimit(2);  // a new limit starts afresh
    EXPECT_EQ(undo.List.Count(), 0);
    undo.Add({L"1", L"2", L"3"});
    ASSERT_EQ(undo.List.Count(), 2);
    EXPECT_EQ(undo.List.Items(1)->UndoText(), L"2");  // the oldest went
}

TEST(AdvUndoList, AFailedReplayEndsTheReplayAndReportsNoState) {
    TWatchedUndo undo;
    undo.Add({L"a", L"b"});
    undo.Watcher.FailOn = L"b";
    EXPECT_THROW(undo.List.Undo(), std::runtime_error);
    EXPECT_EQ(undo.Watcher.Events, (TEvents{L"undo starts", L"undo b", L"undo ends failed"}));
    EXPECT_FALSE(undo.List.IsPerforming());
    undo.List.Add(Step(L"c"));  // the list records again
    EXPECT_EQ(undo.List.Count(), 3);
}

TEST(AdvUndoList, WithoutAWatcherStepsAreKeptButNotReplayed) {
    TAdvUndoList list;
    list.Add(Step(L"a"));
    list.Undo();
    EXPECT_EQ(list.Pos(), 0);
    TAdvUndoList copy;
    copy.AppendCopies(list);
    ASSERT_EQ(copy.Count(), 1);
    EXPECT_NE(copy.Items(0), list.Items(0));
    {
        TUndoPerforming performing(list);
        list.Add(Step(L"b"));  // replaying edits record nothing
    }
    EXPECT_EQ(list.Count(), 1);
}

TEST(AdvUndoList, RandomUseKeepsPositionAndReportsTheTruth) {
    std::mt19937 random(4242);
    TWatchedUndo undo;
    TAdvUndoList& list = undo.List;
    list.SetLimit(8);
    for (int round = 0; round < 5000; ++round) {
        undo.Watcher.Events.clear();
        const int op = static_cast<int>(random() % 10);
        SCOPED_TRACE("round " + std::to_string(round) + " op " + std::to_string(op));
        const int countBefore = list.Count();
        if (op < 4) list.Add(Step(random() % 3 == 0 ? L"+t" : L"s", random() % 4 == 0));
        else if (op < 6) list.Undo();
        else if (op < 8) list.Redo();
        else if (op == 8 && list.Count() > 0) list.InsertBelowNewest(std::make_unique<TModifiedUndo>(0));
        else if (random() % 50 == 0) list.Clear();
        ASSERT_GE(list.Pos(), 0);
        ASSERT_LE(list.Pos(), list.Count());
        ASSERT_FALSE(list.IsPerforming());
        // Line-state steps come in beside the limit; an added step never grows the list past it.
        if (op < 4) {
            ASSERT_LE(list.Count(), std::max(countBefore, 8));
        }
        const TEvents& events = undo.Watcher.Events;
        if (!events.empty() && events.back().rfind(L"state ", 0) == 0) {
            const std::wstring expected = L"state " + std::to_wstring(list.Pos() < list.Count()) + std::to_wstring(list.Pos() > 0);
            ASSERT_EQ(events.back(), expected);
        }
        int starts = 0, ends = 0;
        for (const std::wstring& e : events) {
            starts += e == L"undo starts" || e == L"redo starts";
            ends += e == L"undo ends" || e == L"redo ends";
        }
        ASSERT_EQ(starts, ends);
        ASSERT_TRUE(undo.Watcher.PerformingDuringReplay);
    }
}

// The steps against a plain list of names: adds that drop the redo side and the oldest step,
// line-state steps put below the newest, deletions and clears, over enough rounds for the
// list's storage to grow and wrap around many times.
TEST(AdvUndoList, StepsKeepTheirOrderAgainstAPlainList) {
    std::mt19937 random(99);
    TWatchedUndo undo;
    TAdvUndoList& list = undo.List;
    std::vector<std::wstring> model;  // newest first
    size_t pos = 0;
    int made = 0;
    for (int round = 0; round < 20000; ++round) {
        const int op = static_cast<int>(random() % 20);
        SCOPED_TRACE("round " + std::to_string(round) + " op " + std::to_string(op));
        if (op < 10) {
            const std::wstring name = L"s" + std::to_wstring(made++);
            list.Add(Step(name.c_str()));
            model.erase(model.begin(), model.begin() + static_cast<long>(pos));
            pos = 0;
            model.insert(model.begin(), name);
            if (model.size() > 100) model.pop_back();
        } else if (op < 13) {
            list.Undo();
            if (pos < model.size()) ++pos;
        } else if (op < 15) {
            list.Redo();
            if (pos > 0) --pos;
        } else if (op < 18) {
            const std::wstring name = L"m" + std::to_wstring(made++);
            list.InsertBelowNewest(Step(name.c_str()));
            if (!model.empty()) model.insert(model.begin() + 1, name);
        } else if (op == 18 && !model.empty()) {
            const int at = static_cast<int>(random() % model.size());
            list.Delete(at);
            model.erase(model.begin() + at);
            pos = std::min(pos, model.size());
        } else if (random() % 40 == 0) {
            list.Clear();
            model.clear();
            pos = 0;
        }
        ASSERT_EQ(list.Count(), static_cast<int>(model.size()));
        ASSERT_EQ(list.Pos(), static_cast<int>(pos));
        for (size_t i = 0; i < model.size(); ++i) ASSERT_EQ(list.Items(static_cast<int>(i))->UndoText(), model[i]) << i;
    }
}
