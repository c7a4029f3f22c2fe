#include "graphics/AdvGDIPlusApi.h"

#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <string>

#include "graphics/AdvGDIPlusClasses.h"

using namespace AdvGDIPlusApi;

namespace {

// Leaves the binding as the session set it up, whatever a test did to it.
class GdiplusBinding : public testing::Test {
protected:
    void TearDown() override {
        GdiplusApi = FSaved;
        if (!GdiplusModule) LoadGdiplusApi();
    }
    const TGdiplusApiTable FSaved = GdiplusApi;
};

void* WINGDIPAPI EmptyAllocator(size_t) { return nullptr; }

}  // namespace

TEST_F(GdiplusBinding, AnEmptyAllocatorRaisesOutOfMemory) {
    GdiplusApi.GdipAlloc = &EmptyAllocator;
    EXPECT_THROW(AdvGDIPlusClasses::TGPMatrix::operator new(sizeof(AdvGDIPlusClasses::TGPMatrix)), std::bad_alloc);
    EXPECT_THROW(std::make_unique<AdvGDIPlusClasses::TGPSolidBrush>(0xFF000000u), std::bad_alloc);
}

TEST_F(GdiplusBinding, EveryCalledEntryIsBound) {
    ASSERT_NE(GdiplusModule, nullptr);
    std::string unbound;
    for (const TEntryBinding& entry : EntryBindings())
        if (!entry.Bound) unbound += std::string(entry.Name) + " ";
    EXPECT_EQ(unbound, "");
    EXPECT_GT(EntryBindings().size(), 500u);
}

TEST_F(GdiplusBinding, UnloadingClearsEverythingAndTwiceDoesNothing) {
    UnloadGdiplusApi();
    EXPECT_EQ(GdiplusModule, nullptr);
    for (const TEntryBinding& entry : EntryBindings()) EXPECT_FALSE(entry.Bound) << entry.Name;
    UnloadGdiplusApi();
    EXPECT_EQ(GdiplusModule, nullptr);
}

TEST_F(GdiplusBinding, ALibraryLackingTheNamesLeavesThemNull) {
    UnloadGdiplusApi();
    ASSERT_TRUE(LoadGdiplusApi(L"kernel32.dll"));
    for (const TEntryBinding& entry : EntryBindings()) EXPECT_FALSE(entry.Bound) << entry.Name;
    // Wrappers still exist and answer for the missing entries.
    AdvGDIPlusClasses::TGPMatrix matrix;
    EXPECT_EQ(matrix.GetLastStatus(), Gdiplus::NotImplemented);
    UnloadGdiplusApi();
    EXPECT_FALSE(LoadGdiplusApi(L"atgen-no-such-library.dll"));
    EXPECT_EQ(GdiplusModule, nullptr);
}

TEST_F(GdiplusBinding, AnUnboundEntryAnswersNotImplementedAndIsKept) {
    AdvGDIPlusClasses::TGPMatrix matrix;
    ASSERT_EQ(matrix.LastResult(), Gdiplus::Ok);
    GdiplusApi.GdipTranslateMatrix = nullptr;
    EXPECT_EQ(matrix.Translate(1, 2), Gdiplus::NotImplemented);
    EXPECT_EQ(matrix.Scale(2, 2), Gdiplus::Ok);
    EXPECT_EQ(matrix.GetLastStatus(), Gdiplus::NotImplemented);
}

TEST_F(GdiplusBinding, WithoutALibraryWrappersAnswerNotInitialized) {
    UnloadGdiplusApi();
    auto matrix = std::make_unique<AdvGDIPlusClasses::TGPMatrix>();
    EXPECT_EQ(matrix->LastResult(), Gdiplus::GdiplusNotInitialized);
    auto pen = std::make_unique<AdvGDIPlusClasses::TGPPen>(0xFF000000, 1.0f);
    EXPECT_EQ(pen->SetWidth(2), Gdiplus::GdiplusNotInitialized);
    // Made from the C++ heap, released there, even after the library comes back.
    LoadGdiplusApi();
    matrix.reset();
    pen.reset();
}

TEST(GdiplusPathData, StartsEmptyAndOwnsItsArrays) {
    TPathData data;
    EXPECT_EQ(data.Count, 0);
    EXPECT_EQ(data.Points, nullptr);
    EXPECT_EQ(data.Types, nullptr);
    ASSERT_TRUE(data.Allocate(5));
    EXPECT_EQ(data.Count, 5);
    EXPECT_NE(data.Points, nullptr);
    EXPECT_NE(data.Types, nullptr);
    data.Clear();
    EXPECT_EQ(data.Count, 0);
    EXPECT_EQ(data.Points, nullptr);
}

TEST(GdiplusBuilders, RecordsAndColours) {
    EXPECT_EQ(ARGBFromChannels(255, 1, 2, 3), 0xFF010203u);
    const TGPPointF point = GPPointF(1.5f, 2.5f);
    EXPECT_FLOAT_EQ(point.X, 1.5f);
    EXPECT_FLOAT_EQ(point.Y, 2.5f);
    const TGPRectF rect = GPRectF(1, 2, 3, 4);
    EXPECT_FLOAT_EQ(rect.Width, 3);
    EXPECT_FLOAT_EQ(rect.Height, 4);
}

TEST_F(GdiplusBinding, AStubLackingOneNameLeavesExactlyThatEntryNull) {
    UnloadGdiplusApi();
    ASSERT_TRUE(LoadGdiplusApi(L"gdiplus_stub.dll")) << "the build puts the stub beside the tests";
    std::string unbound;
    for (const TEntryBinding& entry : EntryBindings())
        if (!entry.Bound) unbound += entry.Name;
    EXPECT_EQ(unbound, GDIPLUS_STUB_MISSING);
    {
        // The bound entries reach the real library.
        AdvGDIPlusClasses::TGPMatrix matrix;
        EXPECT_EQ(matrix.Translate(1, 2), Gdiplus::Ok);
        EXPECT_FLOAT_EQ(matrix.OffsetX(), 1);
    }
    UnloadGdiplusApi();
}
