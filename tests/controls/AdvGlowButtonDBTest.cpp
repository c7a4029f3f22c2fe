// The data-aware glow button over a small data set kept in memory.
#include "controls/AdvGlowButtonDB.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/DataSets.h"
#include "classlib/Dialogs.h"
#include "classlib/ImageList.h"

using namespace ClassLib;
using namespace AdvGlowButton;

namespace {

class TMemoryDataSet : public TDataSet {
public:
    explicit TMemoryDataSet(int records) : TDataSet(nullptr), Records(size_t(records)) {}
    std::vector<std::wstring> Records;
    bool ReadOnly = false;
    int RecordCount() const override { return int(Records.size()); }
    bool CanModify() const override { return !ReadOnly; }
protected:
    void InternalInsert(int at) override { Records.insert(Records.begin() + at, L""); }
    void InternalDelete(int recNo) override { Records.erase(Records.begin() + recNo); }
};

struct TDataFixture {
    TMemoryDataSet DataSet{3};
    TDataSource Source{nullptr};
    TDBAdvGlowButton Button{nullptr};
    explicit TDataFixture(TDBGlowButtonType type) {
        Source.SetDataSet(&DataSet);
        DataSet.Open();
        Button.SetDBButtonType(type);
        Button.SetDataSource(&Source);
    }
};

}  // namespace

TEST(DBGlowButton, NextIsDisabledAtTheEndAndEnabledAfterPrior) {
    TDataFixture f(dbNext);
    EXPECT_TRUE(f.Button.Enabled());
    f.DataSet.Last();
    EXPECT_FALSE(f.Button.Enabled());
    f.DataSet.Prior();
    EXPECT_TRUE(f.Button.Enabled());
    f.Button.Click();  // a click steps the data set
    EXPECT_EQ(f.DataSet.RecNo(), 2);
}

TEST(DBGlowButton, PostFollowsTheEditingStateAndAnInactiveLinkDisables) {
    TDataFixture f(dbPost);
    int changes = 0;
    f.Button.OnEnabledChanged = [&](TObject*) { ++changes; };
    EXPECT_FALSE(f.Button.Enabled());
    f.DataSet.Edit();
    EXPECT_TRUE(f.Button.Enabled());
    f.Button.Click();
    EXPECT_EQ(f.DataSet.State(), dsBrowse);
    EXPECT_FALSE(f.Button.Enabled());
    EXPECT_EQ(changes, 2);
    f.DataSet.Edit();
    f.DataSet.Close();
    EXPECT_FALSE(f.Button.Enabled());
    f.Button.SetAutoDisable(false);
    f.DataSet.Open();
    f.DataSet.Edit();
    EXPECT_FALSE(f.Button.Enabled());  // never changed by the data set any more
}

TEST(DBGlowButton, DeleteAsksAndCancelKeepsTheRecord) {
    TDataFixture f(dbDelete);
    EXPECT_EQ(f.Button.ConfirmActionString(), L"Delete record?");
    f.Button.SetConfirmAction(true);
    TMessageDlgRequest asked{};
    int answer = IDCANCEL;
    const TMessageDlgHook saved = SetMessageDlgHook([&](const TMessageDlgRequest& request) {
        asked = request;
        return answer;
    });
    int before = 0, after = 0;
    f.Button.OnBeforeAction = [&](TObject*, bool&) { ++before; };
    f.Button.OnAfterAction = [&](TObject*, bool&) { ++after; };
    f.Button.Click();
    EXPECT_EQ(asked.Message, L"Delete record?");
    EXPECT_TRUE(asked.Buttons.Contains(mbOK));
    EXPECT_TRUE(asked.Buttons.Contains(mbCancel));
    EXPECT_EQ(f.DataSet.RecordCount(), 3);
    EXPECT_EQ(before + after, 0);
    answer = IDOK;
    f.Button.Click();
    EXPECT_EQ(f.DataSet.RecordCount(), 2);
    EXPECT_EQ(after, 1);
    SetMessageDlgHook(saved);
}

TEST(DBGlowButton, AnEventDecidesWhenAskedAndAFailureGoesToTheAfterHandler) {
    TDataFixture f(dbCustom);
    f.Button.SetDisableControl({drEvent});
    bool allow = false;
    f.Button.OnGetEnabled = [&](TObject*, bool& enabled) {
        EXPECT_TRUE(enabled);  // starts from enabled
        enabled = allow;
    };
    f.DataSet.Refresh();
    EXPECT_FALSE(f.Button.Enabled());
    allow = true;
    f.DataSet.Refresh();
    EXPECT_TRUE(f.Button.Enabled());

    TDataFixture g(dbPost);
    g.Button.SetAutoDisable(false);
    g.Button.SetEnabled(true);
    bool swallow = true;
    g.Button.OnAfterAction = [&](TObject*, bool& show) { show = !swallow; };
    EXPECT_NO_THROW(g.Button.Click());  // Post while browsing fails; the handler swallows it
    swallow = false;
    EXPECT_THROW(g.Button.Click(), Exception);
}

TEST(DBGlowButton, TheGlyphComesFromTheProgramsBitmaps) {
    TDataFixture f(dbFirst);
    f.DataSet.Next();
    ASSERT_TRUE(f.Button.Enabled());
    // Every type loads its glyph, enabled and disabled.
    for (TDBGlowButtonType type : {dbFirst, dbPrior, dbNext, dbLast, dbInsert, dbAppend, dbDelete, dbEdit, dbPost,
                                   dbCancel, dbRefresh}) {
        SCOPED_TRACE(int(type));
        TDBAdvGlowButton button(nullptr);
        EXPECT_NO_THROW(button.SetDBButtonType(type));
        button.SetAutoDisable(false);
        EXPECT_NO_THROW(button.SetEnabled(false));
    }
}
