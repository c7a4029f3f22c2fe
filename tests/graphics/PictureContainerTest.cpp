#include "graphics/PictureContainer.h"

#include <gtest/gtest.h>

#include <cwchar>

#include "classlib/Control.h"
#include "classlib/Pictures.h"
#include "classlib/WindowDescription.h"
#include "graphics/PictureFixtures.h"
#include "support/PublishedDefaults.h"

using namespace ClassLib;
using namespace PictureContainer;
using namespace PictureFixtures;

namespace {

void Load(THTMLPicture& picture, const TBytes& bytes) { picture.LoadFromStream(StreamOf(bytes).get()); }

class TCountingControl : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    void Invalidate() override { ++Invalidated; }
    int Invalidated = 0;
};

}  // namespace

TEST(HTMLPicture, GIFFramesAreCountedSteppedAndPlaced) {
    THTMLPicture picture;
    Load(picture, ThreeFrameGif());
    ASSERT_TRUE(picture.IsGIF());
    EXPECT_EQ(picture.FrameCount(), 3);
    EXPECT_EQ(picture.Width(), 2);
    EXPECT_EQ(picture.MaxWidth(), 2);

    EXPECT_EQ(picture.FrameTime(2), 20);
    EXPECT_TRUE(picture.FrameTransp());
    EXPECT_EQ(picture.FrameDisposal(), 2);
    EXPECT_EQ(picture.FrameTime(3), 30);
    EXPECT_FALSE(picture.FrameTransp());
    EXPECT_EQ(picture.FrameTime(4), -1);
    EXPECT_EQ(picture.FrameTime(0), -1);

    int frameChanges = 0;
    picture.SetOnFrameChange([&](TObject*) { ++frameChanges; });
    picture.SetFrame(2);
    EXPECT_EQ(frameChanges, 1);
    EXPECT_EQ(picture.FrameXPos(), 1);
    EXPECT_EQ(picture.FrameYPos(), 1);
    EXPECT_EQ(picture.FrameXSize(), 1);
    picture.SetFrame(3);
    picture.FrameNext();
    EXPECT_EQ(picture.Frame(), 1) << "from the last frame back to the first";
    picture.FramePrev();
    EXPECT_EQ(picture.Frame(), 3) << "from the first frame to the last";
    EXPECT_EQ(picture.FrameXSize(), 2);

    THTMLPicture png;
    Load(png, Png());
    EXPECT_EQ(png.FrameCount(), -1);
    EXPECT_EQ(png.FrameTime(1), -1);
}

TEST(HTMLPicture, StepAdvancesOnlyAnimationsAndOnlyWhenTheDelayIsOver) {
    THTMLPicture single;
    Load(single, TestSupport::SampleGif());
    for (int tick = 0; tick < 30; ++tick) EXPECT_FALSE(single.Step());

    THTMLPicture animation;
    Load(animation, ThreeFrameGif());
    std::vector<int> changedAt;
    for (int tick = 0; tick < 12; ++tick)
        if (animation.Step()) changedAt.push_back(tick);
    // Ticks of 10 hundredths on one running clock that the first tick starts: frame 2 at
    // 10, frame 3 at 10 + 20, frame 1 at 60, frame 2 again at 70, frame 3 at 90.
    EXPECT_EQ(changedAt, (std::vector<int>{2, 4, 7, 8, 10}));
    EXPECT_EQ(animation.Frame(), 3);

    THTMLPictureCache cache;
    Load(*cache.AddPicture(), ThreeFrameGif());
    Load(*cache.AddPicture(), Png());
    bool any = false;
    for (int tick = 0; tick < 4; ++tick) any = cache.Animate() || any;
    EXPECT_TRUE(any);
}

TEST(HTMLPicture, AddressesLoadResourcesAndFilesButFetchNothingFromTheWeb) {
    THTMLPicture picture;
    picture.LoadFromURL(L"res://TinyGif");
    EXPECT_EQ(picture.ID(), L"res://TinyGif");
    EXPECT_EQ(picture.Width(), 1);

    THTMLPicture web;
    web.LoadFromURL(L"http://127.0.0.1:1/a.png");
    EXPECT_TRUE(web.Empty());
    EXPECT_TRUE(web.ThreadBusy());
    EXPECT_EQ(web.URL(), L"http://127.0.0.1:1/a.png");
    EXPECT_TRUE(web.ID().empty());
    web.LoadFromURL(L"http://127.0.0.1:1/b.png");
    EXPECT_EQ(web.URL(), L"http://127.0.0.1:1/a.png") << "later addresses are ignored";

    THTMLPicture direct;
    direct.SetAsynch(false);
    direct.LoadFromURL(L"http://127.0.0.1:1/c.png");
    EXPECT_EQ(direct.ID(), L"http://127.0.0.1:1/c.png");
    EXPECT_TRUE(direct.Empty());
}

// The download thread runs, fetches nothing, tells its end and frees itself.
TEST(HTMLPicture, TheDownloadThreadEndsAtOnceAndFreesItself) {
    THTMLPicture picture;
    std::unique_ptr<TDownLoadThread> thread = TThread::Create<TDownLoadThread>(true, &picture);
    EXPECT_TRUE(thread->FreeOnTerminate());
    EXPECT_EQ(thread->Picture(), &picture);
    TObject* ended = nullptr;
    thread->OnTerminate = [&ended](TObject* sender) { ended = sender; };
    TDownLoadThread* const running = thread.release();
    running->Start();
    for (int i = 0; i < 1000 && !ended; ++i) {   // its end comes through the main thread
        if (!TThread::CheckSynchronize()) ::Sleep(10);
    }
    EXPECT_EQ(ended, running);
    EXPECT_TRUE(picture.Empty());
    EXPECT_TRUE(picture.ID().empty());
}

TEST(HTMLPicture, KeepsItsBytesAndCopiesThroughSavedData) {
    const TBytes gif = ThreeFrameGif();
    THTMLPicture picture;
    Load(picture, gif);
    EXPECT_EQ(TestSupport::SavedBytes(picture), gif);
    EXPECT_THROW(Load(picture, {'j', 'u', 'n', 'k'}), EInvalidGraphic);
    EXPECT_EQ(TestSupport::SavedBytes(picture), gif);

    picture.SetID(L"res://one");
    picture.SetStretch(true);
    picture.SetFrame(2);
    THTMLPicture copy;
    copy.Assign(&picture);
    EXPECT_EQ(TestSupport::SavedBytes(copy), gif);
    EXPECT_EQ(copy.ID(), L"res://one");
    EXPECT_TRUE(copy.Stretch());
    EXPECT_EQ(copy.Frame(), 2);

    TBitmap bitmap(3, 2, pf24bit);
    copy.Assign(&bitmap);
    EXPECT_EQ(copy.Width(), 3);
    EXPECT_EQ(copy.FrameCount(), -1);
    TPicture none;
    copy.Assign(&none);
    EXPECT_TRUE(copy.Empty());

    TMemoryStream data;
    picture.WriteData(&data);
    data.SetPosition(0);
    THTMLPicture read;
    read.ReadData(&data);
    EXPECT_EQ(read.Width(), 2) << "reading measures";

    TPaper paper(4, 4);
    picture.Draw(paper.Canvas(), Rect(0, 0, 2, 2));
    EXPECT_EQ(paper.Pixel(0, 0), clRed);
}

TEST(PictureContainerLookups, CacheByExactIDContainerByNameInAnyCase) {
    THTMLPictureCache cache;
    THTMLPicture* first = cache.AddPicture();
    first->SetID(L"res://Logo");
    EXPECT_EQ(cache.FindPicture(L"res://Logo"), first);
    EXPECT_EQ(cache.FindPicture(L"RES://LOGO"), nullptr);
    cache.ClearPictures();
    EXPECT_EQ(cache.Count(), 0);

    TPictureContainer container(nullptr);
    TPictureItem* item = container.Items()->Add();
    item->SetName(L"Logo");
    Load(*item->Picture(), Png());
    EXPECT_EQ(container.FindPicture(L"LOGO"), item->Picture());
    EXPECT_EQ(container.FindPicture(L"other"), nullptr);

    TPicture* bitmap = container.FindBitmap(L"logo");
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->Width(), 16);
    EXPECT_EQ(TestSupport::SavedBytes(*bitmap->Graphic()), Png());
    TPicture* again = item->Bitmap();   // the first copy is gone now; only the last one lives
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->Width(), 16);
    EXPECT_EQ(container.FindBitmap(L"none"), nullptr);

    EXPECT_EQ(container.Version(), L"2.1.1.0");
    container.SetVersion(L"9.9");
    EXPECT_EQ(container.Version(), L"2.1.1.0");
}

TEST(PictureContainerLookups, ItemsWrittenAreCopiedNotAdopted) {
    TPictureContainer container(nullptr);
    {
        TPictureCollection foreign(nullptr);
        TPictureItem* item = foreign.Add();
        item->SetName(L"one");
        item->SetTag(7);
        Load(*item->Picture(), TinyGif());
        container.SetItems(&foreign);
    }   // the foreign collection is freed here; the container must not share its items
    ASSERT_EQ(container.Items()->Count(), 1);
    EXPECT_EQ(container.Items()->Items(0)->Name(), L"one");
    EXPECT_EQ(container.Items()->Items(0)->Tag(), 7);
    EXPECT_EQ(container.FindPicture(L"ONE")->Width(), 1);
    EXPECT_EQ(container.Items()->Items(0)->Container(), &container);
}

TEST(PictureContainerLookups, RegisteredControlsRepaintUntilTheyGo) {
    TPictureContainer container(nullptr);
    int changes = 0;
    container.SetOnChange([&](TObject*) { ++changes; });
    auto* control = new TCountingControl(nullptr);
    container.RegisterControl(control);
    container.Changed();
    EXPECT_EQ(control->Invalidated, 1);
    EXPECT_EQ(changes, 1);
    delete control;
    container.Changed();   // the freed control is no longer in the list
    EXPECT_EQ(changes, 2);
}

TEST(PictureContainerLookups, PublishedDefaultsMatchTheConstructors) {
    TPictureContainer container(nullptr);
    TPictureItem item(nullptr);
    TestSupport::ExpectPublishedDefaults(&container);
    EXPECT_GT(TestSupport::ExpectPublishedDefaults(&item), 0);
}

TEST(PictureContainerLookups, ADescriptionFillsTheItemsAndTheirPictureData) {
    std::wstring hex;
    for (std::uint8_t byte : TinyGif()) {
        wchar_t digits[3];
        std::swprintf(digits, 3, L"%02X", byte);
        hex += digits;
    }
    const std::wstring text = L"object Pictures: TPictureContainer\n"
                              L"  Items = <\n"
                              L"    item\n"
                              L"      Name = \"Dot\"\n"
                              L"      Tag = 3\n"
                              L"      Picture.Data = {" + hex + L"}\n"
                              L"    end\n"
                              L"  >\n"
                              L"end\n";
    TPictureContainer container(nullptr);
    ReadComponentFromText(&container, text);
    ASSERT_EQ(container.Items()->Count(), 1);
    EXPECT_EQ(container.Items()->Items(0)->Tag(), 3);
    TGraphic* dot = container.FindPicture(L"dot");
    ASSERT_NE(dot, nullptr);
    EXPECT_EQ(dot->Width(), 1) << "measured when read";
    EXPECT_EQ(TestSupport::SavedBytes(*dot), TinyGif());
}
