#pragma once
// Robustness: every parser of outside data fed with seeded mutations of valid samples
// (byte flips, field values, truncation, splices). Shared by bench/Robustness.cpp, which
// runs it long and prints figures, and the app tests, which run it short. A parser may
// raise the class library's errors; anything else it raises is counted apart, and a
// crash ends the process (no structured exception is caught here).
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Unit1Generator.h"
#include "bench/RobustnessEditor.h"
#include "bench/RobustnessUpdater.h"
#include "app/UserBlockCoding.h"
#include "bench/RobustnessHTML.h"
#include "bench/RobustnessGraphics.h"
#include "classlib/Exceptions.h"
#include "classlib/FileNames.h"
#include "classlib/Form.h"
#include "classlib/IniFiles.h"
#include "classlib/PictureCodecs.h"
#include "classlib/Pictures.h"
#include "classlib/Streams.h"
#include "classlib/StringList.h"
#include "classlib/Strings.h"
#include "classlib/WindowDescription.h"
#include "tests/support/SamplePictures.h"

namespace Robustness {

using TBytes = std::vector<std::uint8_t>;
using TestSupport::SampleGif;
using TestSupport::SavedBytes;

// xorshift64*: the same inputs for the same seed on every build.
class TRandom {
public:
    explicit TRandom(std::uint64_t seed) : FState(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull) {
        if (!FState) FState = 1;
    }
    std::uint64_t Next() {
        FState ^= FState >> 12;
        FState ^= FState << 25;
        FState ^= FState >> 27;
        return FState * 0x2545F4914F6CDD1Dull;
    }
    // 0 .. bound - 1; 0 when bound is 0.
    std::size_t Below(std::size_t bound) { return bound ? std::size_t(Next() % bound) : 0; }
private:
    std::uint64_t FState;
};

// Inputs grow by insertion and splicing; beyond this they only shrink.
constexpr std::size_t MaxInputSize = 256 * 1024;

// One to four stacked mutations of one of the seeds; `tokens` are words the parser
// knows (keywords, markers), inserted whole so text parsers get past their first line.
inline TBytes Mutate(const std::vector<TBytes>& seeds, const std::vector<std::string>& tokens, TRandom& random) {
    TBytes out = seeds[random.Below(seeds.size())];
    static const std::uint32_t interesting[] = {0,          1,          2,          0x7F,       0x80,       0xFF,
                                                0x100,      0x7FFF,     0x8000,     0xFFFF,     0x10000,    0x7FFFFFFF,
                                                0x80000000, 0x80000001, 0xFFFFFFFE, 0xFFFFFFFF, 0x40000000, 4096};
    const int steps = 1 + int(random.Below(4));
    for (int step = 0; step < steps; ++step) {
        const std::size_t at = random.Below(out.size() + 1);
        switch (random.Below(tokens.empty() ? 10 : 12)) {
        case 0:  // one bit
            if (!out.empty()) out[random.Below(out.size())] ^= std::uint8_t(1u << random.Below(8));
            break;
        case 1:  // one byte, any value
            if (!out.empty()) out[random.Below(out.size())] = std::uint8_t(random.Next());
            break;
        case 2:  // a field of 1, 2 or 4 bytes set to a boundary value, little or big endian
        case 3: {
            if (out.empty()) break;
            const std::size_t width = std::size_t(1) << random.Below(3);
            const std::uint32_t value = interesting[random.Below(std::size(interesting))];
            const bool big = random.Below(2) != 0;
            const std::size_t start = random.Below(out.size());
            for (std::size_t i = 0; i < width && start + i < out.size(); ++i)
                out[start + i] = std::uint8_t(value >> (8 * (big ? width - 1 - i : i)));
            break;
        }
        case 4:  // cut short
            out.resize(at);
            break;
        case 5: {  // a range removed
            const std::size_t length = random.Below(std::min<std::size_t>(out.size() - std::min(at, out.size()), 64) + 1);
            out.erase(out.begin() + std::ptrdiff_t(at), out.begin() + std::ptrdiff_t(at + length));
            break;
        }
        case 6: {  // a range repeated
            if (out.empty()) break;
            const std::size_t from = random.Below(out.size());
            const std::size_t length = 1 + random.Below(std::min<std::size_t>(out.size() - from, 256));
            const TBytes copy(out.begin() + std::ptrdiff_t(from), out.begin() + std::ptrdiff_t(from + length));
            const std::size_t times = 1 + random.Below(random.Below(8) == 0 ? 64 : 3);
            for (std::size_t t = 0; t < times && out.size() + copy.size() <= MaxInputSize; ++t)
                out.insert(out.begin() + std::ptrdiff_t(at), copy.begin(), copy.end());
            break;
        }
        case 7: {  // random bytes inserted
            const std::size_t length = 1 + random.Below(16);
            for (std::size_t i = 0; i < length; ++i) out.insert(out.begin() + std::ptrdiff_t(at), std::uint8_t(random.Next()));
            break;
        }
        case 8:
        case 9: {  // spliced: this input's head, another seed's tail
            const TBytes& other = seeds[random.Below(seeds.size())];
            const std::size_t from = random.Below(other.size() + 1);
            out.resize(at);
            out.insert(out.end(), other.begin() + std::ptrdiff_t(from), other.end());
            break;
        }
        default: {  // a known word inserted or written over
            const std::string& token = tokens[random.Below(tokens.size())];
            if (random.Below(2)) {
                out.insert(out.begin() + std::ptrdiff_t(at), token.begin(), token.end());
            } else {
                for (std::size_t i = 0; i < token.size() && at + i < out.size(); ++i) out[at + i] = std::uint8_t(token[i]);
            }
            break;
        }
        }
        if (out.size() > MaxInputSize) out.resize(MaxInputSize);
    }
    return out;
}

// One parser of outside data, with the samples its inputs are made from.
struct TParser {
    const char* Name;
    std::vector<TBytes> Seeds;
    std::vector<std::string> Tokens;
    // Reads the input; may raise the class library's errors.
    std::function<void(const TBytes& input)> Parse;
    // Applied to some mutated inputs, to get past a check no random change passes (a checksum).
    std::function<void(TBytes& input)> Repair;
    // Inputs for the short run of the tests: fewer where each input costs file writes
    // or the system's image library.
    std::uint64_t ShortRun = 3000;
};

struct TFigures {
    std::uint64_t Inputs = 0;
    std::uint64_t Accepted = 0;  // read without an error
    std::uint64_t Errors = 0;    // raised one of the class library's errors
    std::uint64_t Others = 0;    // raised something else (a fault to look into)
    double LongestMs = 0;
    std::uint64_t LongestInput = 0;  // the index of the slowest input
    std::string FirstOther;          // what the first "something else" said
};

// The seed one parser's run uses: the run's seed mixed with the parser's name, so a
// run of one parser alone meets the same inputs as a run of all.
inline std::uint64_t ParserSeed(const TParser& parser, std::uint64_t seed) {
    std::uint64_t hash = 1469598103934665603ull;
    for (const char* c = parser.Name; *c; ++c) hash = (hash ^ std::uint8_t(*c)) * 1099511628211ull;
    return hash ^ seed;
}

// Called with each input before it is parsed (to keep it for a crash report).
using TInputWatch = std::function<void(const TParser& parser, std::uint64_t index, const TBytes& input)>;

// The input RunParser makes as number `index` for this parser and seed.
inline TBytes InputAt(const TParser& parser, std::uint64_t seed, std::uint64_t index) {
    TRandom random(ParserSeed(parser, seed));
    TBytes input;
    for (std::uint64_t i = 0; i <= index; ++i) {
        input = Mutate(parser.Seeds, parser.Tokens, random);
        if (parser.Repair && random.Below(2)) parser.Repair(input);
    }
    return input;
}

// Parses inputs number `first` to `first + count - 1`: the inputs before are made but not
// parsed, so that several processes can share one long run.
inline TFigures RunParser(const TParser& parser, std::uint64_t seed, std::uint64_t count, const TInputWatch& watch = {},
                          std::uint64_t first = 0) {
    TFigures figures;
    TRandom random(ParserSeed(parser, seed));
    for (std::uint64_t i = 0; i < first + count; ++i) {
        TBytes input = Mutate(parser.Seeds, parser.Tokens, random);
        if (parser.Repair && random.Below(2)) parser.Repair(input);
        if (i < first) continue;
        if (watch) watch(parser, i, input);
        const auto start = std::chrono::steady_clock::now();
        try {
            parser.Parse(input);
            ++figures.Accepted;
        } catch (const ClassLib::Exception&) {
            ++figures.Errors;
        } catch (const std::exception& e) {
            if (!figures.Others) figures.FirstOther = e.what();
            ++figures.Others;
        }
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (ms > figures.LongestMs) {
            figures.LongestMs = ms;
            figures.LongestInput = i;
        }
        ++figures.Inputs;
    }
    return figures;
}

// ---- samples ----

// A file the parsers write their inputs to; removed once the last parser using it is gone.
struct TScratchFile {
    explicit TScratchFile(std::wstring name) : Name(std::move(name)) {}
    ~TScratchFile() { ::DeleteFileW(Name.c_str()); }
    TScratchFile(const TScratchFile&) = delete;
    TScratchFile& operator=(const TScratchFile&) = delete;
    const std::wstring Name;
};

inline TBytes BytesOfText(const std::string& text) { return TBytes(text.begin(), text.end()); }

// The whole file, or nothing when it cannot be read (a missing fixture only narrows the seeds).
inline TBytes FileBytes(const std::wstring& fileName) {
    try {
        ClassLib::TFileStream file(fileName, ClassLib::fmOpenRead | ClassLib::fmShareDenyWrite);
        TBytes bytes(std::size_t(file.Size()));
        if (!bytes.empty()) file.ReadBuffer(bytes.data(), int(bytes.size()));
        return bytes;
    } catch (const ClassLib::Exception&) {
        return {};
    }
}

inline void WriteFile(const std::wstring& fileName, const TBytes& bytes) {
    ClassLib::TFileStream file(fileName, ClassLib::fmCreate);
    if (!bytes.empty()) file.WriteBuffer(bytes.data(), int(bytes.size()));
}

// A small picture with every kind of pixel: a colour ramp, a red and a blue dot.
inline std::unique_ptr<ClassLib::TBitmap> SampleBitmap(ClassLib::TPixelFormat format, int width = 9, int height = 7) {
    using namespace ClassLib;
    auto bitmap = std::make_unique<TBitmap>(width, height, pf24bit);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap->Canvas()->SetPixels(x, y, RGBToColor(x * 28, y * 36, 200 - x * y));
    bitmap->Canvas()->SetPixels(3, 2, clRed);
    bitmap->SetPixelFormat(format);
    return bitmap;
}

inline ClassLib::TRasterImage SampleRaster(bool alpha) {
    ClassLib::TRasterImage image;
    image.Width = 6;
    image.Height = 5;
    image.HasAlpha = alpha;
    for (int i = 0; i < image.Width * image.Height; ++i)
        image.Pixels.insert(image.Pixels.end(), {std::uint8_t(i * 8), std::uint8_t(255 - i * 8), std::uint8_t(i * 3),
                                                 std::uint8_t(alpha ? i * 8 : 255)});
    return image;
}

inline void PutLe(TBytes& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(std::uint8_t(value >> (8 * i)));
}

// A BMP with run-length pixels (RLE8, or RLE4 with two indexes per byte), written by
// hand: runs, a literal run, a move and the end markers.
inline TBytes SampleRleBitmap(bool fourBits) {
    const int colors = fourBits ? 16 : 256;
    const TBytes pixels = {4, 0x12, 0, 3, 0x21, 0x43, 0x05, 0, 0, 2, 1, 1, 3, 0x33, 0, 0, 2, 0x44, 0, 1};
    TBytes out = {'B', 'M'};
    const std::uint32_t offset = 14 + 40 + std::uint32_t(colors) * 4;
    PutLe(out, offset + std::uint32_t(pixels.size()), 4);
    PutLe(out, 0, 4);
    PutLe(out, offset, 4);
    PutLe(out, 40, 4);
    PutLe(out, 8, 4);  // width
    PutLe(out, 4, 4);  // height
    PutLe(out, 1, 2);
    PutLe(out, fourBits ? 4 : 8, 2);
    PutLe(out, fourBits ? 2 : 1, 4);  // BI_RLE4 : BI_RLE8
    PutLe(out, std::uint32_t(pixels.size()), 4);
    PutLe(out, 2835, 4);
    PutLe(out, 2835, 4);
    PutLe(out, std::uint32_t(colors), 4);
    PutLe(out, 0, 4);
    for (int i = 0; i < colors; ++i) PutLe(out, std::uint32_t(i * 0x010305), 4);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

// The same kind of picture with the 12-byte header of the oldest BMP files.
inline TBytes SampleCoreBitmap() {
    TBytes out = {'B', 'M'};
    const std::uint32_t offset = 14 + 12 + 2 * 3;
    PutLe(out, offset + 4 * 2, 4);
    PutLe(out, 0, 4);
    PutLe(out, offset, 4);
    PutLe(out, 12, 4);
    PutLe(out, 5, 2);
    PutLe(out, 2, 2);
    PutLe(out, 1, 2);
    PutLe(out, 1, 2);
    out.insert(out.end(), {0, 0, 0, 255, 255, 255, 0xA8, 0, 0, 0, 0x50, 0, 0, 0});
    return out;
}

// A 16 x 16 icon file of one 32-bit image with its mask.
inline TBytes SampleIcon(int bitCount) {
    const int side = 16, colors = bitCount <= 8 ? 1 << bitCount : 0;
    const std::uint32_t stride = ((side * bitCount + 31) / 32) * 4, maskStride = 4;
    const std::uint32_t imageSize = 40 + colors * 4 + (stride + maskStride) * side;
    TBytes out;
    PutLe(out, 0, 2);
    PutLe(out, 1, 2);
    PutLe(out, 1, 2);
    out.insert(out.end(), {std::uint8_t(side), std::uint8_t(side), std::uint8_t(colors & 0xFF), 0});
    PutLe(out, 1, 2);
    PutLe(out, std::uint32_t(bitCount), 2);
    PutLe(out, imageSize, 4);
    PutLe(out, 22, 4);
    PutLe(out, 40, 4);
    PutLe(out, side, 4);
    PutLe(out, side * 2, 4);
    PutLe(out, 1, 2);
    PutLe(out, std::uint32_t(bitCount), 2);
    for (int i = 0; i < 6; ++i) PutLe(out, 0, 4);
    for (int i = 0; i < colors; ++i) PutLe(out, std::uint32_t(i * 0x112233), 4);
    for (std::uint32_t i = 0; i < stride * side; ++i) out.push_back(std::uint8_t(i * 7));
    for (std::uint32_t i = 0; i < maskStride * side; ++i) out.push_back(i % 3 ? 0 : 0xF0);
    return out;
}

inline TBytes SampleEnhancedMetafile() {
    HDC dc = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    ::Rectangle(dc, 1, 1, 40, 30);
    ::MoveToEx(dc, 0, 0, nullptr);
    ::LineTo(dc, 40, 30);
    const POINT points[] = {{1, 1}, {20, 5}, {10, 25}};
    ::Polygon(dc, points, 3);
    ::TextOutW(dc, 2, 2, L"AT", 2);
    HENHMETAFILE metafile = ::CloseEnhMetaFile(dc);
    TBytes out(::GetEnhMetaFileBits(metafile, 0, nullptr));
    ::GetEnhMetaFileBits(metafile, UINT(out.size()), out.data());
    ::DeleteEnhMetaFile(metafile);
    return out;
}

// A placeable Windows metafile: the 22-byte box header, then the metafile records.
inline TBytes SamplePlaceableMetafile() {
    HDC dc = ::CreateMetaFileW(nullptr);
    ::Rectangle(dc, 1, 1, 40, 30);
    ::LineTo(dc, 40, 30);
    const POINT points[] = {{1, 1}, {20, 5}, {10, 25}};
    ::Polyline(dc, points, 3);
    HMETAFILE metafile = ::CloseMetaFile(dc);
    TBytes records(::GetMetaFileBitsEx(metafile, 0, nullptr));
    ::GetMetaFileBitsEx(metafile, UINT(records.size()), records.data());
    ::DeleteMetaFile(metafile);
    TBytes out;
    PutLe(out, 0x9AC6CDD7, 4);
    PutLe(out, 0, 2);
    for (std::uint32_t v : {0u, 0u, 40u, 30u, 96u}) PutLe(out, v, 2);
    PutLe(out, 0, 4);
    std::uint16_t check = 0;
    for (std::size_t i = 0; i < out.size(); i += 2) check ^= std::uint16_t(out[i] | (out[i + 1] << 8));
    PutLe(out, check, 2);
    out.insert(out.end(), records.begin(), records.end());
    return out;
}

// Recomputes the checksum of every whole PNG chunk, so a changed field reaches the decoder.
inline void RepairPngChecksums(TBytes& png) {
    std::size_t pos = 8;
    while (png.size() >= pos + 12) {
        const std::uint32_t length = (std::uint32_t(png[pos]) << 24) | (std::uint32_t(png[pos + 1]) << 16) |
                                     (std::uint32_t(png[pos + 2]) << 8) | png[pos + 3];
        if (length > png.size() - pos - 12) return;
        // CRC-32 of the type and body, as PNG defines it.
        std::uint32_t crc = 0xFFFFFFFFu;
        for (std::size_t i = pos + 4; i < pos + 8 + length; ++i) {
            crc ^= png[i];
            for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
        }
        crc ^= 0xFFFFFFFFu;
        for (int k = 0; k < 4; ++k) png[pos + 8 + length + k] = std::uint8_t(crc >> (24 - 8 * k));
        pos += 12 + length;
    }
}

// A description whose root is a plain form: the program's own window classes and
// handlers are not what is tested here, only the reader.
inline std::string PlainFormDescription(const std::string& text) {
    std::string out;
    std::size_t start = 0;
    bool first = true;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        const std::size_t indent = line.find_first_not_of(" \t");
        if (indent == std::string::npos) continue;
        if (first && line.compare(indent, 7, "object ") == 0) {
            const std::size_t colon = line.find(':');
            if (colon != std::string::npos) line = line.substr(0, colon) + ": TForm";
            first = false;
        }
        if (line.compare(indent, 2, "On") == 0 && line.find(" = ") != std::string::npos) continue;  // handlers
        out += line + "\n";
    }
    return out;
}

inline const char* BuiltInDescription() {
    return "# every kind of value\n"
           "object Form1: TForm\n"
           "  Caption = \"A \\\"window\\\" \\u00e9\\n\"\n"
           "  ClientWidth = 0x1F0\n"
           "  ClientHeight = 300\n"
           "  Font.Name = \"Tahoma\"\n"
           "  Font.Size = 9\n"
           "  Color = clBtnFace\n"
           "  object Panel1: TPanel\n"
           "    Align = alTop\n"
           "    Height = 50\n"
           "    Anchors = [akLeft, akTop, akRight]\n"
           "    object CheckBox1: TCheckBox\n"
           "      Left = -8\n"
           "      Caption = \"Sort\"\n"
           "      Checked = true\n"
           "    end\n"
           "  end\n"
           "  object Memo1: TMemo\n"
           "    Lines = [\"first\", \"second\"]\n"
           "    PopupMenu = PopupMenu1\n"
           "  end\n"
           "  object Image1: TImage\n"
           "    Picture.Data = {07544269746D6170 3A000000 424D3A00000000000000360000002800000001000000"
           "01000000010018000000000004000000000000000000000000000000000000000000FF00}\n"
           "  end\n"
           "  object PopupMenu1: TPopupMenu\n"
           "    object Item1: TMenuItem\n"
           "      Caption = \"Copy\"\n"
           "    end\n"
           "  end\n"
           "end\n";
}

inline std::vector<std::wstring> SampleCommands() {
    return {L"ATE0 - echo off", L"ATE1 - echo on", L"AT+CHADDR=<change ip addr>", L"AT+RST? - reboot uC",
            L"AT+DISP=<1-5>",   L"!AT+LCD=<y>,<x>,<text>", L"ATQ\t- tabbed"};
}

// Every parser of outside data. `sourceTree` is the checkout (empty: built-in samples
// only); `scratch` a folder for the parsers that read files (the INI routines and the
// read-back of generated C), each run with names of its own.
inline std::vector<TParser> MakeParsers(const std::wstring& sourceTree, const std::wstring& scratch) {
    using namespace ClassLib;
    auto fixture = [&sourceTree](const wchar_t* relative) {
        return sourceTree.empty() ? TBytes() : FileBytes(sourceTree + L"\\" + relative);
    };
    auto withFixtures = [](std::vector<TBytes> seeds, std::initializer_list<TBytes> more) {
        for (const TBytes& bytes : more)
            if (!bytes.empty()) seeds.push_back(bytes);
        return seeds;
    };
    const std::wstring tag = std::to_wstring(::GetCurrentProcessId());
    std::vector<TParser> parsers;

    std::vector<TBytes> bitmaps = {SampleRleBitmap(false), SampleRleBitmap(true), SampleCoreBitmap()};
    for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit})
        bitmaps.push_back(SavedBytes(*SampleBitmap(format)));
    parsers.push_back({"BMP", bitmaps, {},
                       [](const TBytes& input) { TBitmap().LoadFromBytes(input.data(), input.size()); }, {}});

    parsers.push_back({"ICO", withFixtures({SampleIcon(32), SampleIcon(8), SampleIcon(4), SampleIcon(1), SampleIcon(24)},
                                           {fixture(L"app\\images\\AtCmdGen.ico")}),
                       {},
                       [](const TBytes& input) { TIcon().LoadFromBytes(input.data(), input.size()); }, {}, 500});

    auto palette = std::make_unique<TPngImage>();
    palette->Assign(SampleBitmap(pf24bit).get());
    parsers.push_back({"PNG", withFixtures({EncodePng(SampleRaster(false)), EncodePng(SampleRaster(true)), SavedBytes(*palette)},
                                           {fixture(L"app\\images\\open.png"), fixture(L"app\\images\\save.png")}),
                       {"IHDR", "PLTE", "tRNS", "IDAT", "IEND"},
                       [](const TBytes& input) { TPngImage().LoadFromBytes(input.data(), input.size()); },
                       RepairPngChecksums});

    TRasterImage grey = SampleRaster(false);
    parsers.push_back({"JPEG", {EncodeJpeg(SampleRaster(false), 90), EncodeJpeg(grey, 20), EncodeJpeg(SampleRaster(true), 60)},
                       {},
                       [](const TBytes& input) { TJPEGImage().LoadFromBytes(input.data(), input.size()); }, {}});

    parsers.push_back({"GIF", {SampleGif()}, {},
                       [](const TBytes& input) { TGIFImage().LoadFromBytes(input.data(), input.size()); }, {}, 500});

    std::vector<TBytes> tiffs;
    try {
        TWICImage tiff;
        tiff.Assign(SampleBitmap(pf24bit).get());
        tiffs.push_back(SavedBytes(tiff));
    } catch (const Exception&) {
    }
    // Two hand-made strips in both byte orders stand in when the system has no encoder.
    tiffs.push_back({'I', 'I', 42, 0, 8, 0, 0, 0, 8, 0, 0, 1, 3, 0, 1, 0, 0, 0, 2, 0, 0, 0, 1, 1, 3, 0, 1, 0, 0, 0, 2,
                     0, 0, 0, 2, 1, 3, 0, 1, 0, 0, 0, 8, 0, 0, 0, 3, 1, 3, 0, 1, 0, 0, 0, 1, 0, 0, 0, 6, 1, 3, 0, 1,
                     0, 0, 0, 1, 0, 0, 0, 17, 1, 4, 0, 1, 0, 0, 0, 110, 0, 0, 0, 21, 1, 3, 0, 1, 0, 0, 0, 1, 0, 0,
                     0, 23, 1, 4, 0, 1, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 10, 200, 30, 250});
    parsers.push_back({"TIFF", tiffs, {},
                       [](const TBytes& input) { TWICImage().LoadFromBytes(input.data(), input.size()); }, {}, 500});

    parsers.push_back({"metafile", {SampleEnhancedMetafile(), SamplePlaceableMetafile()}, {},
                       [](const TBytes& input) { TMetafile().LoadFromBytes(input.data(), input.size()); }, {}, 500});

    // The picture data of window descriptions: class name, length, then the format's bytes.
    std::vector<TBytes> pictureData;
    for (const std::vector<TBytes>* group : {&parsers[0].Seeds, &parsers[1].Seeds, &parsers[2].Seeds, &parsers[3].Seeds,
                                             &parsers[4].Seeds, &parsers[6].Seeds}) {
        for (const TBytes& bytes : *group) {
            TPicture picture;
            try {
                TMemoryStream source;
                source.WriteBuffer(bytes.data(), int(bytes.size()));
                source.SetPosition(0);
                picture.LoadFromStream(&source);
                TMemoryStream data;
                picture.WriteData(&data);
                pictureData.push_back(data.Bytes());
            } catch (const Exception&) {
            }
        }
    }
    parsers.push_back({"picture data", pictureData, {"\x07TBitmap", "\x05TIcon", "\x09TPngImage", "\x09TMetafile"},
                       [](const TBytes& input) {
                           TMemoryStream stream;
                           if (!input.empty()) stream.WriteBuffer(input.data(), int(input.size()));
                           stream.SetPosition(0);
                           TPicture().ReadData(&stream);
                       },
                       {}, 500});

    std::vector<TBytes> descriptions = {BytesOfText(BuiltInDescription())};
    for (const wchar_t* name : {L"app\\Unit1.desc", L"app\\frmDorlenU.desc"}) {
        const TBytes text = fixture(name);
        if (!text.empty()) descriptions.push_back(BytesOfText(PlainFormDescription(std::string(text.begin(), text.end()))));
    }
    {
        TTextEncoding encoding = TTextEncoding::UTF16LE;
        const std::string text = BuiltInDescription();
        descriptions.push_back(TStrings::EncodeText(std::wstring(text.begin(), text.end()), encoding, true));
    }
    parsers.push_back({"window description", descriptions,
                       {"object ", "end\n", "item\n", "<\n", ">\n", "[", "]", "{", "}", "\"", "\\u", "\\", " = ", ".",
                        "0x", "-", "2.5", "\n", "# ", ":", ",", "\xEF\xBB\xBF", "\xFF\xFE"},
                       [](const TBytes& input) {
                           TMemoryStream stream;
                           if (!input.empty()) stream.WriteBuffer(input.data(), int(input.size()));
                           stream.SetPosition(0);
                           TForm form(nullptr);
                           ReadComponentFromStream(&form, &stream);
                       },
                       {}});

    // A generated C file as the program writes it, in each encoding it may be saved in.
    std::vector<TBytes> sources;
    {
        TStringList atcmds, memoC, memoH, memo2;
        Unit1::TAtGenerator generator;
        generator.SetPanes(&atcmds, &memoC, &memoH, &memo2);
        for (const std::wstring& command : SampleCommands()) atcmds.Add(command);
        generator.GenerateSources();
        for (TTextEncoding encoding : {TTextEncoding::UTF8, TTextEncoding::Ansi, TTextEncoding::UTF16LE}) {
            TTextEncoding used = encoding;
            sources.push_back(TStrings::EncodeText(memoC.Text(), used, encoding != TTextEncoding::Ansi));
        }
    }
    const auto sourceFile = std::make_shared<TScratchFile>(scratch + L"robustness_" + tag + L".c");
    parsers.push_back({"generated C read-back", sources,
                       {"//#1[ ", "//#1]", "//#2[ ", "//#2]", "///{ ", "///[ ", "//}]---", "\r\n", "\t", "{", " "},
                       [sourceFile](const TBytes& input) {
                           WriteFile(sourceFile->Name, input);
                           TStringList atcmds, memoC, memoH, memo2;
                           Unit1::TAtGenerator generator;
                           generator.SetPanes(&atcmds, &memoC, &memoH, &memo2);
                           generator.LoadUserBlocks(sourceFile->Name);
                           generator.GenerateSources();
                       },
                       {}, 150});

    std::vector<TBytes> coded;
    for (const wchar_t* text : {L"int x = 1;\r\n", L"\u00e9\u4e2d\r\nreturn 0;", L"a"}) {
        const std::string utf8 = UserBlockCoding::ToUtf8(UserBlockCoding::EncodeUserBlock(text));
        coded.push_back(BytesOfText(utf8));
    }
    parsers.push_back({"user block decoding", coded, {"error#", "=", "+", "/"},
                       [](const TBytes& input) {
                           UserBlockCoding::DecodeUserBlock(UserBlockCoding::FromUtf8(std::string(input.begin(), input.end())));
                       },
                       {}});

    const auto iniFile = std::make_shared<TScratchFile>(scratch + L"robustness_" + tag + L".ini");
    parsers.push_back({"INI file",
                       {BytesOfText("[Options]\r\nSort=1\r\nColors=0x1F\r\nScale=2.5\r\n; comment\r\n[Recent]\r\nFile1=C:\\a.c\r\n"),
                        BytesOfText("\xEF\xBB\xBF[a]\nb=c\n\n[ spaced ]\n key = value \n"),
                        {0xFF, 0xFE, '[', 0, 'x', 0, ']', 0, '\r', 0, '\n', 0, 'k', 0, '=', 0, '5', 0}},
                       {"[", "]", "=", "\r\n", ";", "\"", "$", "0x"},
                       [iniFile](const TBytes& input) {
                           WriteFile(iniFile->Name, input);
                           TIniFile ini(iniFile->Name);
                           // Every read parses the file again: a few sections and keys are enough.
                           const std::vector<std::wstring> sections = ini.ReadSections();
                           for (std::size_t s = 0; s < sections.size() && s < 4; ++s) {
                               TStringList values;
                               ini.ReadSectionValues(sections[s], &values);
                               const std::vector<std::wstring> keys = ini.ReadSection(sections[s]);
                               for (std::size_t k = 0; k < keys.size() && k < 3; ++k) {
                                   ini.ReadInteger(sections[s], keys[k], 0);
                                   ini.ReadFloat(sections[s], keys[k], 0);
                               }
                           }
                       },
                       {}, 150});

    std::vector<TBytes> texts;
    for (TTextEncoding encoding : {TTextEncoding::Ansi, TTextEncoding::UTF8, TTextEncoding::UTF16LE, TTextEncoding::UTF16BE}) {
        for (bool mark : {true, false}) {
            TTextEncoding used = encoding;
            texts.push_back(TStrings::EncodeText(L"first\r\nsecond \u00e9\r\n\u4e2d\u6587\r\n\U0001F600 last", used, mark));
        }
    }
    parsers.push_back({"string list", texts, {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF", "\r\n", "\xC3", "\xED\xA0\x80"},
                       [](const TBytes& input) {
                           TMemoryStream stream;
                           if (!input.empty()) stream.WriteBuffer(input.data(), int(input.size()));
                           stream.SetPosition(0);
                           TStringList list;
                           list.LoadFromStream(&stream);
                           list.Text();
                       },
                       {}});
    RobustnessHTML::AppendHTMLParsers(parsers);
    AddEditorParsers(parsers, scratch, tag);
    AppendGraphicsParsers(parsers, sourceTree);
    AppendUpdaterParsers(parsers, scratch);
    return parsers;
}

}  // namespace Robustness
