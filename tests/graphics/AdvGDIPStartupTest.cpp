#include "graphics/AdvGDIPStartup.h"

#include <gtest/gtest.h>

#include <memory>

#include "graphics/AdvGDIPlusApi.h"

namespace {

// The drawing tests run inside one GDI+ session, started as the program starts it.
class TGdiplusEnvironment : public testing::Environment {
public:
    void SetUp() override { FSession = std::make_unique<AdvGDIPStartup::TGdiplusSession>(); }
    void TearDown() override { FSession.reset(); }
private:
    std::unique_ptr<AdvGDIPStartup::TGdiplusSession> FSession;
};

[[maybe_unused]] testing::Environment* const GdiplusEnvironment =
    testing::AddGlobalTestEnvironment(new TGdiplusEnvironment);

}  // namespace

TEST(GdiplusSession, BindsTheLibraryBeforeTheFamiliesStart) {
    EXPECT_NE(AdvGDIPlusApi::GdiplusModule, nullptr);
    EXPECT_NE(AdvGDIPlusApi::GdiplusApi.GdiplusStartup, nullptr);
}
