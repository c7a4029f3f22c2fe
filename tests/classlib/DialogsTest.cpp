#include "classlib/Dialogs.h"

#include <gtest/gtest.h>

using namespace ClassLib;

namespace {
struct THooks {
    ~THooks() {
        SetFileDialogHook(nullptr);
        SetMessageDlgHook(nullptr);
    }
};
}  // namespace

TEST(Dialogs, FileDialogsAskTheHookInsteadOfTheUser) {
    THooks restore;
    TSaveDialog dialog(nullptr);
    dialog.SetInitialDir(L"c:\\");
    dialog.SetFileName(L"vx_at_user_cmds.c");
    dialog.SetFilter(L"( source file *.C )|*.c");
    dialog.SetDefaultExt(L"*.c");
    dialog.SetOptions(dialog.Options() + ofOverwritePrompt);

    std::wstring seenDir, seenName;
    bool seenSave = false, seenPrompt = false;
    SetFileDialogHook([&](TOpenDialog& d) {
        seenDir = d.InitialDir();
        seenName = d.FileName();
        seenSave = d.IsSaveDialog();
        seenPrompt = d.Options().Contains(ofOverwritePrompt);
        d.SetFileName(L"D:\\w\\x.c");
        return true;
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(seenDir, L"c:\\");
    EXPECT_EQ(seenName, L"vx_at_user_cmds.c");
    EXPECT_TRUE(seenSave);
    EXPECT_TRUE(seenPrompt);
    EXPECT_EQ(dialog.FileName(), L"D:\\w\\x.c");
    EXPECT_EQ(dialog.Files(), std::vector<std::wstring>{L"D:\\w\\x.c"});

    TOpenDialog open(nullptr);
    SetFileDialogHook([](TOpenDialog& d) { return d.IsSaveDialog(); });  // the user cancels
    open.SetFileName(L"kept.c");
    EXPECT_FALSE(open.Execute());
    EXPECT_EQ(open.FileName(), L"kept.c");
}

TEST(Dialogs, MessageDialogsAskTheHook) {
    THooks restore;
    std::vector<TMessageDlgRequest> asked;
    SetMessageDlgHook([&asked](const TMessageDlgRequest& request) {
        asked.push_back(request);
        return request.Buttons.Contains(mbYes) ? IDYES : IDOK;
    });
    EXPECT_EQ(MessageDlg(L"Overwrite?", mtConfirmation, {mbYes, mbNo}, 0), IDYES);
    ShowMessage(L"Done");
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].Message, L"Overwrite?");
    EXPECT_EQ(asked[0].Type, mtConfirmation);
    EXPECT_EQ(asked[1].Message, L"Done");
    EXPECT_EQ(asked[1].Buttons, TMsgDlgButtons{mbOK});
}
