#include "graphics/AdvHintInfo.h"

#include <gtest/gtest.h>

#include "classlib/Pictures.h"
#include "classlib/Properties.h"
#include "classlib/StringList.h"
#include "classlib/Strings.h"
#include "classlib/Streams.h"
#include "graphics/GDIPicture.h"

using AdvHintInfo::TAdvHintInfo;

namespace {

void Fill(TAdvHintInfo& info) {
    info.SetTitle(L"Paste");
    info.Notes()->Add(L"Inserts the clipboard text");
    info.Notes()->Add(L"at the caret.");
    info.SetShowHelp(true);
    info.SetWideTitle(L"wide title");
    info.SetWideNotes(L"wide notes");
    ClassLib::TBitmap bitmap(4, 3);
    info.Picture()->Assign(&bitmap);
}

}  // namespace

TEST(AdvHintInfo, EmptyMeansNoTitleAndNoNotesText) {
    TAdvHintInfo info;
    EXPECT_TRUE(info.IsEmpty());
    info.Notes()->Add(L"");   // one empty line: the text is a line break
    EXPECT_FALSE(info.IsEmpty());
    info.Notes()->Clear();
    info.SetTitle(L"t");
    EXPECT_FALSE(info.IsEmpty());
    info.SetTitle(L"");
    info.SetShowHelp(true);   // the help flag and the picture do not count
    ClassLib::TBitmap bitmap(2, 2);
    info.Picture()->Assign(&bitmap);
    EXPECT_TRUE(info.IsEmpty());
}

TEST(AdvHintInfo, AssignCopiesEverythingFromHintInfoOnly) {
    TAdvHintInfo source;
    Fill(source);
    TAdvHintInfo copy;
    copy.Assign(&source);
    EXPECT_EQ(copy.Title(), L"Paste");
    EXPECT_EQ(copy.Notes()->Text(), source.Notes()->Text());
    EXPECT_TRUE(copy.ShowHelp());
    EXPECT_EQ(copy.WideTitle(), L"wide title");
    EXPECT_EQ(copy.WideNotes(), L"wide notes");
    ASSERT_NE(copy.Picture()->Graphic(), nullptr);
    EXPECT_NE(copy.Picture()->Graphic(), source.Picture()->Graphic());   // a copy, not shared
    EXPECT_EQ(copy.Picture()->Width(), 4);

    // Itself: unchanged. Another class: ignored, no error.
    copy.Assign(&copy);
    EXPECT_EQ(copy.Title(), L"Paste");
    EXPECT_EQ(copy.Notes()->Count(), 2);
    ClassLib::TStringList other;
    other.Add(L"x");
    EXPECT_NO_THROW(copy.Assign(&other));
    EXPECT_EQ(copy.Notes()->Count(), 2);
    EXPECT_EQ(copy.Title(), L"Paste");
    EXPECT_NO_THROW(copy.Assign(nullptr));
    EXPECT_EQ(copy.Title(), L"Paste");
}

TEST(AdvHintInfo, SettersCopyIntoTheOwnedObjects) {
    TAdvHintInfo info;
    ClassLib::TStringList lines;
    lines.Add(L"one");
    info.SetNotes(&lines);
    lines.Add(L"two");
    EXPECT_EQ(info.Notes()->Count(), 1);

    GDIPicture::TGDIPPicture picture;
    ClassLib::TBitmap bitmap(5, 5);
    picture.Assign(&bitmap);
    info.SetPicture(&picture);
    picture.Assign(nullptr);
    EXPECT_EQ(info.Picture()->Width(), 5);
}

TEST(AdvHintInfo, PublishedDefaultsMatchANewObject) {
    TAdvHintInfo info;
    const ClassLib::TPropertyList& list = TAdvHintInfo::StaticClass().Published();
    for (const wchar_t* name : {L"Title", L"ShowHelp"}) {
        SCOPED_TRACE(ClassLib::UTF8Encode(name));
        const ClassLib::TPropInfo* property = list.Find(name);
        ASSERT_NE(property, nullptr);
        EXPECT_TRUE(property->IsDefault(&info));
    }
    for (const wchar_t* name : {L"Notes", L"Picture"}) {
        SCOPED_TRACE(ClassLib::UTF8Encode(name));
        const ClassLib::TPropInfo* property = list.Find(name);
        ASSERT_NE(property, nullptr);
        EXPECT_EQ(property->GetObjectValue(&info) != nullptr, true);
    }
}
