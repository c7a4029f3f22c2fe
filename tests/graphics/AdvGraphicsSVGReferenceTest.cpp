// The SVG fixtures drawn through the GDI+ context against the reference renderer's PNGs
// (made into the build tree by the svg_references CTest step), and hostile documents.
#include "graphics/AdvGraphicsSVGEngine.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <random>

#include "classlib/Canvas.h"
#include "classlib/Exceptions.h"
#include "classlib/Pictures.h"
#include "classlib/Streams.h"
#include "graphics/AdvTypes.h"
#include "support/SourceTree.h"

using namespace AdvGraphicsSVGEngine;
using AdvTypes::RectF;

namespace {

namespace fs = std::filesystem;

struct TPixels {
    int Width = 0, Height = 0;
    std::vector<std::uint32_t> Data;  // 0x00RRGGBB per pixel, rows top down
    std::uint32_t At(int x, int y) const { return Data[std::size_t(y) * std::size_t(Width) + std::size_t(x)]; }
};

TPixels ReadBitmap(ClassLib::TBitmap& bitmap) {
    TPixels p{bitmap.Width(), bitmap.Height(), {}};
    for (int y = 0; y < p.Height; ++y) {
        const auto* row = static_cast<const std::uint32_t*>(bitmap.ScanLine(y));
        for (int x = 0; x < p.Width; ++x) p.Data.push_back(row[x] & 0xFFFFFF);
    }
    return p;
}

std::unique_ptr<ClassLib::TBitmap> WhiteBitmap(int width, int height) {
    auto bitmap = std::make_unique<ClassLib::TBitmap>(width, height, ClassLib::pf32bit);
    bitmap->Canvas()->Brush()->SetColor(ClassLib::clWhite);
    bitmap->Canvas()->FillRect(ClassLib::TRect{0, 0, width, height});
    return bitmap;
}

int ChannelDistance(std::uint32_t a, std::uint32_t b) {
    int worst = 0;
    for (int shift : {0, 8, 16})
        worst = std::max(worst, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
    return worst;
}

// Writes ours, the reference and their difference beside the references for a look.
void WriteFailure(const fs::path& folder, const std::wstring& name, ClassLib::TBitmap& ours, const TPixels& reference) {
    ours.SaveToFile((folder / (name + L".ours.bmp")).wstring());
    ClassLib::TBitmap ref(reference.Width, reference.Height, ClassLib::pf32bit);
    ClassLib::TBitmap diff(reference.Width, reference.Height, ClassLib::pf32bit);
    const TPixels mine = ReadBitmap(ours);
    for (int y = 0; y < reference.Height; ++y) {
        auto* r = static_cast<std::uint32_t*>(ref.ScanLine(y));
        auto* d = static_cast<std::uint32_t*>(diff.ScanLine(y));
        for (int x = 0; x < reference.Width; ++x) {
            r[x] = reference.At(x, y);
            const int distance = ChannelDistance(reference.At(x, y), mine.At(x, y));
            const std::uint32_t level = std::uint32_t(255 - std::min(255, distance * 4));
            d[x] = (level << 16) | (level << 8) | level;
        }
    }
    ref.SaveToFile((folder / (name + L".reference.bmp")).wstring());
    diff.SaveToFile((folder / (name + L".difference.bmp")).wstring());
}

fs::path FixtureFolder() { return fs::path(TestSupport::SourceTreePath(L"tests\\graphics\\svg")); }

std::vector<fs::path> Fixtures() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(FixtureFolder()))
        if (entry.path().extension() == L".svg") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

TEST(SVGReference, FixturesMatchTheReferenceRenderer) {
    const fs::path references = fs::current_path() / L"svg-references";
    if (!fs::exists(references)) GTEST_SKIP() << "no references: CTest's svg_references step makes them";
    ASSERT_FALSE(Fixtures().empty());
    for (const fs::path& fixture : Fixtures()) {
        const std::wstring name = fixture.stem().wstring();
        SCOPED_TRACE(testing::PrintToString(name));
        ClassLib::TPicture png;
        png.LoadFromFile((references / (name + L".png")).wstring());
        std::unique_ptr<ClassLib::TBitmap> decoded = WhiteBitmap(png.Width(), png.Height());
        decoded->Canvas()->Draw(0, 0, png.Graphic());
        const TPixels reference = ReadBitmap(*decoded);

        TAdvGraphicsSVGImport svg;
        svg.LoadFromFile(fixture.wstring());
        std::unique_ptr<ClassLib::TBitmap> ours = WhiteBitmap(reference.Width, reference.Height);
        svg.Draw(ours->Canvas(), RectF(0, 0, float(reference.Width), float(reference.Height)), true);
        const TPixels mine = ReadBitmap(*ours);

        // Only where the reference is flat over a 3x3 neighbourhood: edges are anti-aliased
        // differently by any two renderers.
        long compared = 0, close = 0;
        for (int y = 1; y + 1 < reference.Height; ++y) {
            for (int x = 1; x + 1 < reference.Width; ++x) {
                bool uniform = true;
                for (int dy = -1; dy <= 1 && uniform; ++dy)
                    for (int dx = -1; dx <= 1 && uniform; ++dx)
                        uniform = reference.At(x + dx, y + dy) == reference.At(x, y);
                if (!uniform) continue;
                ++compared;
                if (ChannelDistance(reference.At(x, y), mine.At(x, y)) <= 24) ++close;
            }
        }
        ASSERT_GT(compared, 0);
        const double share = double(close) / double(compared);
        EXPECT_GE(share, 0.99) << "matching share " << share;
        if (share < 0.99) WriteFailure(references, name, *ours, reference);
    }
}

TEST(SVGReference, HostileDocumentsGiveAClearErrorOrAPartialDrawing) {
    std::wstring nested = L"<svg xmlns=\"http://www.w3.org/2000/svg\">";
    for (int i = 0; i < 100000; ++i) nested += L"<g>";
    for (int i = 0; i < 100000; ++i) nested += L"</g>";
    nested += L"</svg>";
    // Ten references to the entity before, ten levels deep.
    std::wstring laughs;
    laughs = L"<?xml version=\"1.0\"?><!DOCTYPE svg [<!ENTITY l0 \"lol\">";
    for (int level = 1; level <= 10; ++level) {
        std::wstring body;
        for (int i = 0; i < 10; ++i) body += L"&l" + std::to_wstring(level - 1) + L";";
        laughs += L"<!ENTITY l" + std::to_wstring(level) + L" \"" + body + L"\">";
    }
    laughs += L"]><svg xmlns=\"http://www.w3.org/2000/svg\"><text>&l10;</text></svg>";
    const std::wstring external =
        L"<?xml version=\"1.0\"?><!DOCTYPE svg [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>"
        L"<svg xmlns=\"http://www.w3.org/2000/svg\"><text>&x;</text></svg>";
    struct TCase { const char* Name; std::wstring Text; bool Raises; int Elements; };
    const TCase cases[] = {
        {"100,000 nested groups", nested, true, 0},
        {"billion laughs", laughs, true, 0},
        {"external entity", external, true, 0},
        {"not XML", L"<svg><rect></svg>", true, 0},
        {"broken path data", L"<svg xmlns=\"http://www.w3.org/2000/svg\"><rect width=\"5\" height=\"5\"/><path d=\"M0 0 L5\"/><rect/></svg>", true, 2},
        {"NaN arc", L"<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 9 9\"><path d=\"M0 0 A NaN 5 0 0 1 5 5\"/></svg>", false, 1},
        {"huge numbers", L"<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 1e39 1e400\"><rect width=\"3.4e38\" height=\"3.4e38\"/></svg>", false, 1},
        {"image paths", L"<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" viewBox=\"0 0 9 9\">"
                        L"<image xlink:href=\"missing.png\" width=\"9\" height=\"9\"/><image xlink:href=\"C:\\windows\\win.ini\"/>"
                        L"<image xlink:href=\"../../x.png\"/><image href=\"/etc/passwd\"/></svg>", false, 4},
        {"not svg", L"<html><rect/></html>", false, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TAdvGraphicsSVGImport svg;
        bool raised = false;
        try {
            svg.LoadFromText(c.Text);
        } catch (const ClassLib::Exception& e) {
            raised = true;
            EXPECT_FALSE(std::wstring(e.Message()).empty());
        }
        EXPECT_EQ(raised, c.Raises);
        EXPECT_EQ(svg.ElementCount(), c.Elements);
        svg.Draw(WhiteBitmap(40, 40)->Canvas(), RectF(0, 0, 40, 40), true);
    }
}

TEST(SVGReference, SeededMutationsOfTheFixturesNeverCrash) {
    std::mt19937 random(20261211);
    const std::string alphabet = "<>/=\"' .-e019MmLlCcAaZz#(),;:%&";
    std::vector<std::string> texts;
    for (const fs::path& fixture : Fixtures()) {
        ClassLib::TMemoryStream bytes;
        bytes.LoadFromFile(fixture.wstring());
        texts.emplace_back(bytes.Bytes().begin(), bytes.Bytes().end());
    }
    ASSERT_FALSE(texts.empty());
    for (int round = 0; round < 400; ++round) {
        std::string text = texts[random() % texts.size()];
        const int edits = 1 + int(random() % 6);
        for (int i = 0; i < edits && !text.empty(); ++i) {
            const std::size_t at = random() % text.size();
            switch (random() % 3) {
            case 0: text[at] = alphabet[random() % alphabet.size()]; break;
            case 1: text.erase(at, 1 + random() % 8); break;
            default: text.insert(at, 1, alphabet[random() % alphabet.size()]); break;
            }
        }
        SCOPED_TRACE(round);
        TAdvGraphicsSVGImport svg;
        try {
            svg.LoadFromText(std::wstring(text.begin(), text.end()));
        } catch (const ClassLib::Exception&) {
            // A clear error is one of the allowed outcomes; what was read still draws.
        }
        svg.Draw(WhiteBitmap(32, 32)->Canvas(), RectF(0, 0, 32, 32), round % 2 == 0);
    }
}

TEST(SVGReference, SVGPicturesReadDrawAndKeepTheirBytes) {
    // What start-up does for SVG pictures, undone at the end (a GDI+ session of its own
    // would shut GDI+ down for the tests after this one).
    struct TFactoryScope {
        AdvTypes::TSVGImportFactory Saved = AdvTypes::SVGImportFactory();
        TFactoryScope() { InstallSVGImporter(); }
        ~TFactoryScope() { AdvTypes::SetSVGImportFactory(Saved); }
    } factory;
    const fs::path file = FixtureFolder() / L"logo.svg";
    ClassLib::TMemoryStream original;
    original.LoadFromFile(file.wstring());

    AdvTypes::TAdvSVGBitmap picture;
    picture.LoadFromFile(file.wstring());
    ASSERT_TRUE(picture.HasSVG());
    EXPECT_FALSE(picture.Empty());
    ClassLib::TMemoryStream saved;
    picture.SaveToStream(&saved);
    EXPECT_EQ(saved.Bytes(), original.Bytes());

    std::unique_ptr<ClassLib::TBitmap> paper = WhiteBitmap(100, 100);
    picture.Draw(paper->Canvas(), ClassLib::TRect{0, 0, 100, 100});
    EXPECT_EQ(paper->Canvas()->Pixels(72, 34), ClassLib::TColor(0x3CD2FF));  // the yellow sun

    // The importer writes its document back; it reads again to the same elements.
    TAdvGraphicsSVGImport svg;
    svg.LoadFromFile(file.wstring());
    ClassLib::TMemoryStream written;
    svg.SaveToStream(&written);
    TAdvGraphicsSVGImport again;
    written.SetPosition(0);
    again.LoadFromStream(&written);
    EXPECT_EQ(again.ElementCount(), svg.ElementCount());
    EXPECT_FLOAT_EQ(again.ViewRect().Right, 100);

    // Bytes that are neither a raster picture nor XML still raise.
    ClassLib::TMemoryStream junk;
    junk.WriteBuffer("junk!", 5);
    junk.SetPosition(0);
    ClassLib::TPicture holder;
    EXPECT_THROW(holder.LoadFromStream(&junk), ClassLib::Exception);
}
