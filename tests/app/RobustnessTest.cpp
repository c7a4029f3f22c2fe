// A short seeded run of bench/Robustness.h over every parser of outside data: no input
// may crash a parser, hang it, or make it raise anything but the class library's errors.
#include "bench/Robustness.h"

#include <gtest/gtest.h>

#include "classlib/Strings.h"
#include "support/SourceTree.h"

namespace {

std::wstring SourceTree() {
    std::wstring root = TestSupport::SourceTreePath(L"app");
    return root.substr(0, root.size() - 4);
}

std::string MessageOf(const Robustness::TParser& parser, const Robustness::TBytes& input) {
    try {
        parser.Parse(input);
    } catch (const ClassLib::Exception& e) {
        return e.what();
    } catch (const std::exception& e) {
        return std::string("not a library error: ") + e.what();
    }
    return {};
}

}  // namespace

// Mutations of seeds that do not read would only test the first check of each parser.
TEST(Robustness, EverySeedReads) {
    for (const Robustness::TParser& parser : Robustness::MakeParsers(SourceTree(), ClassLib::GetTempDir())) {
        SCOPED_TRACE(parser.Name);
        EXPECT_GE(parser.Seeds.size(), 1u);
        for (std::size_t i = 0; i < parser.Seeds.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(MessageOf(parser, parser.Seeds[i]), "");
        }
    }
}

TEST(Robustness, MutatedInputsOnlyRaiseLibraryErrors) {
    // Each parser's short run (fewer inputs where each costs file writes or the system's
    // image library), so the whole test stays a few seconds under Wine. A crash would end
    // the test program; bench/Robustness runs the same inputs by the million.
    for (const Robustness::TParser& parser : Robustness::MakeParsers(SourceTree(), ClassLib::GetTempDir())) {
        SCOPED_TRACE(parser.Name);
        const Robustness::TFigures figures = Robustness::RunParser(parser, 20261210, parser.ShortRun);
        EXPECT_EQ(figures.Inputs, parser.ShortRun);
        EXPECT_EQ(figures.Others, 0u) << figures.FirstOther;
    }
}

TEST(Robustness, MutationsAreRepeatableAndBounded) {
    const std::vector<Robustness::TBytes> seeds = {{1, 2, 3, 4, 5, 6, 7, 8}, {}};
    Robustness::TRandom first(7), second(7);
    for (int i = 0; i < 2000; ++i) {
        const Robustness::TBytes a = Robustness::Mutate(seeds, {"tok"}, first);
        ASSERT_EQ(a, Robustness::Mutate(seeds, {"tok"}, second));
        ASSERT_LE(a.size(), Robustness::MaxInputSize);
    }
}
