// The program's pictures load through the class library's picture classes. The program
// reads them from its resources; the tests read the same files from the source tree.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "classlib/Pictures.h"
#include "classlib/Streams.h"
#include "classlib/Strings.h"
#include "support/SourceTree.h"

using namespace ClassLib;

namespace {

std::wstring ImagePath(const std::wstring& name) {
    return TestSupport::SourceTreePath(L"app\\images\\" + name);
}

uint8_t AlphaAt(TBitmap* bitmap, int x, int y) {
    return static_cast<const uint8_t*>(bitmap->ScanLine(y))[x * 4 + 3];
}

}  // namespace

TEST(AppImages, PicturesLoadAtTheirSizes) {
    struct TCase { const wchar_t* Name; int Width; int Height; bool Alpha; };
    const TCase cases[] = {
        {L"header.png", 860, 57, false},
        {L"open.png", 32, 32, true},
        {L"save.png", 32, 32, true},
        {L"splash.png", 890, 640, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Name)));
        TPicture picture;
        picture.LoadFromFile(ImagePath(c.Name));
        auto* png = dynamic_cast<TPngImage*>(picture.Graphic());
        ASSERT_NE(png, nullptr);
        EXPECT_EQ(png->Width(), c.Width);
        EXPECT_EQ(png->Height(), c.Height);
        EXPECT_EQ(png->HasAlpha(), c.Alpha);
        if (c.Alpha) {
            // The button pictures stand on the button's own face: corners clear, centre drawn.
            EXPECT_EQ(AlphaAt(png->Bitmap(), 0, 0), 0);
            EXPECT_EQ(AlphaAt(png->Bitmap(), 16, 16), 255);
        }
    }
}

TEST(AppImages, DecodedColoursMatchThePictures) {
    TPicture header;
    header.LoadFromFile(ImagePath(L"header.png"));
    TBitmap* pixels = static_cast<TPngImage*>(header.Graphic())->Bitmap();
    const TColor top = pixels->Canvas()->Pixels(400, 0);  // the strip's gradient starts at RGB(46, 117, 182)
    EXPECT_NEAR(int(top & 0xFF), 46, 3);
    EXPECT_NEAR(int((top >> 16) & 0xFF), 182, 3);
    EXPECT_EQ(pixels->Canvas()->Pixels(16, 28), TColor(0xFFFFFF));  // the chip's white frame

    TPicture splash;
    splash.LoadFromFile(ImagePath(L"splash.png"));
    // The lower right stays calm for the version label.
    EXPECT_GT(int(static_cast<TPngImage*>(splash.Graphic())->Bitmap()->Canvas()->Pixels(800, 610) & 0xFF), 200);
}

TEST(AppImages, IconHoldsThreeSizes) {
    TMemoryStream data;
    data.LoadFromFile(ImagePath(L"AtCmdGen.ico"));
    ASSERT_GE(data.Size(), 6 + 3 * 16);
    const uint8_t* bytes = data.Memory();
    ASSERT_EQ(bytes[4], 3);  // the directory's image count
    EXPECT_EQ(bytes[6], 16);
    EXPECT_EQ(bytes[6 + 16], 32);
    EXPECT_EQ(bytes[6 + 32], 48);

    TIcon icon;
    icon.LoadFromFile(ImagePath(L"AtCmdGen.ico"));
    EXPECT_FALSE(icon.Empty());
}
