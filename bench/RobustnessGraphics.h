#pragma once
// Robustness: the graphics layer's parsers of outside data. SVG text is read and drawn on
// both drawing contexts; JSON text is walked token by token by the reader, and loaded as
// settings into the objects it describes, where a failed load must change nothing.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "classlib/Canvas.h"
#include "classlib/PictureCodecs.h"
#include "classlib/Pictures.h"
#include "classlib/Streams.h"
#include "classlib/Strings.h"
#include "graphics/AdvGraphicsSVGEngine.h"
#include "graphics/AdvGraphicsTypes.h"
#include "graphics/AdvJSONReader.h"
#include "graphics/AdvJSONWriter.h"
#include "graphics/AdvPersistence.h"

namespace Robustness::Graphics {

using TBytes = std::vector<std::uint8_t>;

inline TBytes TextBytes(const std::string& text) { return TBytes(text.begin(), text.end()); }

// The fixture's bytes, or none when it cannot be read (a missing fixture only narrows the seeds).
inline TBytes Fixture(const std::wstring& sourceTree, const std::wstring& name) {
    if (sourceTree.empty()) return {};
    ClassLib::TMemoryStream file;
    try {
        file.LoadFromFile(sourceTree + L"\\tests\\graphics\\svg\\" + name + L".svg");
    } catch (const ClassLib::Exception&) {
        return {};
    }
    return file.Bytes();
}

// A 4 x 4 picture with a soft alpha edge, as a fill's texture.
inline TBytes TexturePng() {
    ClassLib::TRasterImage image;
    image.Width = image.Height = 4;
    image.HasAlpha = true;
    for (int i = 0; i < 16; ++i)
        image.Pixels.insert(image.Pixels.end(), {std::uint8_t(i * 16), 0x40, std::uint8_t(255 - i * 16),
                                                 std::uint8_t(i % 4 == 0 ? 0x80 : 0xFF)});
    return ClassLib::EncodePng(image);
}

inline std::unique_ptr<ClassLib::TMemoryStream> StreamOfBytes(const TBytes& bytes) {
    auto stream = std::make_unique<ClassLib::TMemoryStream>();
    if (!bytes.empty()) stream->WriteBuffer(bytes.data(), int(bytes.size()));
    stream->SetPosition(0);
    return stream;
}

// Built in, so the run does not depend on the fixtures: class rules, gradients that refer
// to each other, clip paths, nested transforms, arcs, text and an embedded image.
inline const char* BuiltInSVG() {
    return "<?xml version=\"1.0\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
           "width=\"64\" height=\"48\" viewBox=\"0 0 64 48\">\n"
           "<style>.a{fill:#c03060;stroke:navy;stroke-width:2}.b{fill:url(#g2)}.c{clip-path:url(#k)}</style>\n"
           "<defs><linearGradient id=\"g1\" x1=\"0\" y1=\"0\" x2=\"10\" y2=\"5\">"
           "<stop offset=\"0%\" stop-color=\"red\"/><stop offset=\"100%\" stop-color=\"rgb(0,0,255)\" "
           "stop-opacity=\"0.5\"/></linearGradient>"
           "<radialGradient id=\"g2\" xlink:href=\"#g1\" cx=\"40\" cy=\"60\"/>"
           "<clipPath id=\"k\"><circle cx=\"20\" cy=\"20\" r=\"15\"/></clipPath></defs>\n"
           "<g transform=\"translate(4,2) rotate(10 32 24) scale(1.5,0.8)\" opacity=\"0.9\">"
           "<rect class=\"a\" x=\"2\" y=\"3\" width=\"20\" height=\"10\" rx=\"3\"/>"
           "<g transform=\"matrix(1 0.2 0 1 3 4) skewX(10)\"><ellipse class=\"b\" cx=\"30\" cy=\"20\" rx=\"8\" "
           "ry=\"5\"/></g></g>\n"
           "<path class=\"c\" d=\"M5,40 L20 30 h5 v-4 C30 20 35 20 40 25 S50 30 55 25 Q58 20 60 25 T62 30 "
           "A6 4 30 1 0 50 44 z m2 2 l3 3\" fill=\"none\" stroke=\"#0a0\"/>\n"
           "<polyline points=\"1,1 5-2 9,3 12,1\" stroke=\"orange\" fill=\"none\"/>"
           "<polygon points=\"40,2 50,12 30,12\" style=\"fill:gold;stroke:black\"/>"
           "<line x1=\"0\" y1=\"47\" x2=\"63\" y2=\"40\" stroke=\"gray\" stroke-width=\"0.5px\"/>\n"
           "<text x=\"2\" y=\"46\" font-family=\"Arial-BoldMT\" font-size=\"8pt\" fill=\"black\">AT<tspan "
           "x=\"20\" y=\"46\">cmd</tspan></text>\n"
           "<image x=\"50\" y=\"30\" width=\"8\" height=\"8\" preserveAspectRatio=\"none\" xlink:href=\"data:"
           "image/gif;base64,R0lGODlhAQABAIAAAP///wAAACwAAAAAAQABAAACAkQBADs=\"/>\n"
           "</svg>\n";
}

// The same document with many rules and references, so the mutations reach the
// resolution of classes and references at some size.
inline std::string ManyRulesSVG() {
    std::string text = "<svg viewBox=\"0 0 100 100\"><style>";
    for (int i = 0; i < 40; ++i) text += ".c" + std::to_string(i) + "{fill:#" + std::to_string(100000 + i) + "}";
    text += "</style><defs>";
    for (int i = 0; i < 20; ++i)
        text += "<linearGradient id=\"g" + std::to_string(i) + "\"" +
                (i ? " xlink:href=\"#g" + std::to_string(i - 1) + "\"" : std::string()) +
                "><stop offset=\"" + std::to_string(i * 5) + "%\" stop-color=\"blue\"/></linearGradient>";
    text += "</defs>";
    for (int i = 0; i < 40; ++i)
        text += "<rect class=\"c" + std::to_string(i) + "\" x=\"" + std::to_string(i * 2) + "\" y=\"3\" width=\"4\" "
                "height=\"4\" fill=\"url(#g" + std::to_string(i % 20) + ")\"/>";
    return text + "</svg>";
}

// Mutated documents mostly stop at the XML reader. These inputs are the values alone,
// separated by "|": put into a fixed document (escaped), they always reach the value
// syntaxes, the class rules, the references and the drawing.
inline std::wstring DocumentOfValues(const TBytes& input) {
    std::vector<std::wstring> fields(1);
    for (std::uint8_t byte : input) {
        if (byte == '|') {
            fields.emplace_back();
            continue;
        }
        std::wstring& field = fields.back();
        if (byte == '&') field += L"&amp;";
        else if (byte == '<') field += L"&lt;";
        else if (byte == '"') field += L"&quot;";
        else if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') field += L' ';   // no XML character
        else field += wchar_t(byte);
    }
    fields.resize(11);
    const auto f = [&fields](int i) { return fields[std::size_t(i)]; };
    return L"<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" viewBox=\"" + f(0) +
           L"\"><style>" + f(1) + L"</style><defs><linearGradient id=\"g\" x1=\"0\" y1=\"" + f(3) +
           L"\" x2=\"" + f(5) + L"\" y2=\"1\" gradientTransform=\"" + f(2) + L"\"><stop offset=\"" + f(3) +
           L"\" stop-color=\"" + f(4) + L"\" stop-opacity=\"" + f(3) + L"\"/></linearGradient><radialGradient id=\"r\" "
           L"xlink:href=\"#g\" cx=\"" + f(3) + L"\"/><clipPath id=\"k\"><rect class=\"a\" width=\"" + f(5) +
           L"\" height=\"30\" rx=\"" + f(5) + L"\"/></clipPath></defs><g transform=\"" + f(2) + L"\" style=\"" + f(6) +
           L"\"><path class=\"a b\" d=\"" + f(7) + L"\" style=\"" + f(6) + L"\"/><polygon points=\"" + f(8) +
           L"\" fill=\"url(#r)\" stroke=\"" + f(4) + L"\" stroke-width=\"" + f(5) + L"\"/><circle cx=\"" + f(5) +
           L"\" cy=\"9\" r=\"" + f(5) + L"\" fill=\"" + f(4) + L"\"/><ellipse class=\"c\" cx=\"9\" cy=\"" + f(5) +
           L"\" rx=\"" + f(3) + L"\" ry=\"" + f(5) + L"\"/><line x1=\"" + f(5) + L"\" y2=\"" + f(3) +
           L"\" stroke=\"red\"/><text x=\"" + f(5) + L"\" y=\"20\" font-size=\"" + f(5) + L"\" font-family=\"" + f(9) +
           L"\" transform=\"" + f(2) + L"\">" + f(10) + L"</text></g></svg>";
}

inline const char* const ValueSeeds[] = {
    "0 0 64 48|.a{fill:url(#g)}.b{stroke:#0a0;stroke-width:3}.c{clip-path:url(#k)}|translate(3,4) rotate(30 8 8) "
    "scale(1.5)|50%|rgb(20,160,80)|12.5|fill:gold;stroke:navy;opacity:0.8|M10,10 L20 20 h5 v-5 C30 5 35 5 40 10 S50 "
    "20 55 10 Q58 5 60 10 T62 20 A5 5 30 1 0 50 40 z m2 2 l3 3|1,2 30,4 15-20|Arial-BoldMT|AT cmd",
    "-5 -5 200 100|.a{fill:blue}|matrix(1 0.5 -0.5 1 10 20) skewX(20deg) skewY(0.1rad)|0.25|#f0c|3em|"
    "stroke-width:2px;fill:rgba(0,0,255,0);display:inline|m1 2 3 4 5 6 7 8 a10 20 0 0 1 30 40 c1.5.5-1e-2 2 3 4 "
    "5 6 Z|0 0 10 10 20 0|Helvetica, Arial|x",
};

// JSON the writer writes: nested objects and arrays, every kind of value, escapes.
inline std::string WrittenJSON() {
    ClassLib::TStringStream stream;
    {
        AdvJSONWriter::TAdvJSONWriter w(&stream);
        w.WriteBeginObject();
        w.WriteName(L"name").WriteString(L"AT \"cmd\" \\ caf\u00e9 \u4e2d\t\x01");
        w.WriteName(L"count").WriteInteger(-9223372036854775807ll - 1);
        w.WriteName(L"ratio").WriteDouble(1.5e-10);
        w.WriteName(L"items").WriteBeginArray();
        for (int i = 0; i < 4; ++i) {
            w.WriteBeginObject().WriteName(L"id").WriteInteger(i).WriteName(L"on").WriteBoolean(i % 2 != 0);
            w.WriteName(L"none").WriteNull().WriteName(L"list").WriteBeginArray().WriteDouble(i / 3.0);
            w.WriteBeginArray().WriteEndArray().WriteBeginObject().WriteEndObject().WriteEndArray().WriteEndObject();
        }
        w.WriteEndArray().WriteEndObject();
    }
    return stream.DataString();
}

// Every token the reader knows, read with its typed read; strings also as numbers, and
// one value in three skipped whole.
inline void WalkJSON(const TBytes& input) {
    using namespace AdvJSONReader;
    const std::unique_ptr<ClassLib::TMemoryStream> stream = StreamOfBytes(input);
    TAdvJSONReader reader(stream.get());
    for (int step = 0;; ++step) {
        switch (reader.Peek()) {
        case jstoBeginObject: reader.ReadBeginObject(); break;
        case jstoEndObject: reader.ReadEndObject(); break;
        case jstoBeginArray:
            if (step % 3 == 2) reader.SkipValue();
            else reader.ReadBeginArray();
            break;
        case jstoEndArray: reader.ReadEndArray(); break;
        case jstoName: reader.PeekName(); reader.ReadName(); break;
        case jstoBoolean: reader.ReadBoolean(); break;
        case jstoNull: reader.ReadNull(); break;
        case jstoText:
            if (step % 2) {
                try {
                    reader.ReadDouble();
                } catch (const ClassLib::Exception&) {
                    reader.ReadString();   // kept by the failed conversion
                }
            } else {
                reader.ReadString();
            }
            break;
        case jstoNumber:
            if (step % 2) reader.ReadInt64();
            else reader.ReadDouble();
            break;
        case jstoEOF: return;
        }
    }
}

// Loads the input as the settings of the object whose class it names (a fill, a stroke or
// an SVG element), and checks that a load that fails changes nothing.
inline void LoadSettings(const TBytes& input) {
    const std::string text(input.begin(), input.end());
    std::unique_ptr<ClassLib::TPersistent> target;
    if (text.find("TAdvGraphicsSVGElement") != std::string::npos) {
        auto element = std::make_unique<AdvGraphicsSVGEngine::TAdvGraphicsSVGElement>();
        // Made on first access, as the reading of the members does: no change of the load's.
        element->Elements();
        element->Bitmap();
        target = std::move(element);
    } else if (text.find("TAdvGraphicsFill") != std::string::npos)
        target = std::make_unique<AdvGraphicsTypes::TAdvGraphicsFill>();
    else
        target = std::make_unique<AdvGraphicsTypes::TAdvGraphicsStroke>();
    const std::wstring before = AdvPersistence::ToJSON(target.get());
    ClassLib::TStringStream stream(text);
    try {
        AdvPersistence::TAdvPersistence::LoadSettingsFromStream(target.get(), &stream);
    } catch (const ClassLib::Exception&) {
        if (AdvPersistence::ToJSON(target.get()) != before) throw std::runtime_error("a load that failed changed the object");
        throw;
    }
}

inline std::string SavedSettings(ClassLib::TObject* object) {
    ClassLib::TStringStream stream;
    AdvPersistence::TAdvPersistence::SaveSettingsToStream(object, &stream);
    return stream.DataString();
}

// A load that fails keeps what it read so far: that too must hold only its own elements.
template <class F>
void LoadChecked(AdvGraphicsSVGEngine::TAdvGraphicsSVGImport& svg, F load) {
    try {
        load();
    } catch (const ClassLib::Exception&) {
        if (!svg.CheckInvariants()) throw std::runtime_error("a failed import points to an element not its own");
        throw;
    }
}

// Checks the import and draws it on a small bitmap through the canvas and through GDI+.
inline void DrawSVG(AdvGraphicsSVGEngine::TAdvGraphicsSVGImport& svg) {
    if (!svg.CheckInvariants()) throw std::runtime_error("the import points to an element not its own");
    for (bool native : {false, true}) {
        ClassLib::TBitmap bitmap(32, 24, ClassLib::pf32bit);
        svg.Draw(bitmap.Canvas(), AdvTypes::RectF(0, 0, 32, 24), native);
    }
}

}  // namespace Robustness::Graphics

namespace Robustness {

// Appends the graphics parsers to the program's list (any list of the parser record,
// made of name, seeds, tokens, reader, repair and short run).
template <class TParserList>
void AppendGraphicsParsers(TParserList& parsers, const std::wstring& sourceTree) {
    using namespace Graphics;
    std::vector<TBytes> documents = {TextBytes(BuiltInSVG()), TextBytes(ManyRulesSVG())};
    for (const wchar_t* name : {L"shapes", L"gradient", L"transforms", L"path-arcs", L"path-curves", L"logo", L"defs",
                                L"strokes"})
        if (TBytes bytes = Fixture(sourceTree, name); !bytes.empty()) documents.push_back(std::move(bytes));
    parsers.push_back({"SVG text", documents,
                       {"<svg", "<rect ", "<path d=\"", "<g transform=\"", "</g>", "<linearGradient ", "<stop ",
                        "xlink:href=\"#", "url(#", "class=\"", "<style>", "{", "}", ".", "fill:", "stroke-width:",
                        "rotate(", "matrix(", "scale(", "e38", "1e30", "-", "NaN", "<!DOCTYPE svg [<!ENTITY e \"",
                        "&e;", " A", "c", "z", "\"", "/>", "%"},
                       [](const TBytes& input) {
                           AdvGraphicsSVGEngine::TAdvGraphicsSVGImport svg;
                           LoadChecked(svg, [&] { svg.LoadFromStream(StreamOfBytes(input).get()); });
                           DrawSVG(svg);
                       },
                       {}, 300});

    parsers.push_back({"SVG values", {TextBytes(ValueSeeds[0]), TextBytes(ValueSeeds[1])},
                       {"|", "M", "m", "L", "C", "S", "Q", "T", "A", "z", "e", "-", ".", ",", " ", "#", "url(#g)",
                        "url(#k)", "rgb(", "rgba(", "%", "deg", "grad", "rad", "1e30", "3.4e38", "1e-45", "NaN",
                        "inf", "0", "{", "}", ";", ":", "fill:", "clip-path:", "rotate(", "matrix(", "scale(",
                        "translate(", ")", "display:none"},
                       [](const TBytes& input) {
                           AdvGraphicsSVGEngine::TAdvGraphicsSVGImport svg;
                           LoadChecked(svg, [&] { svg.LoadFromText(DocumentOfValues(input)); });
                           DrawSVG(svg);
                       },
                       {}, 300});

    parsers.push_back({"JSON reader", {TextBytes(WrittenJSON())},
                       {"{", "}", "[", "]", ",", ":", "\"", "\\u00", "\\", "true", "null", "-", "1e", "0.",
                        "9223372036854775808", " \r\n"},
                       WalkJSON, {}});

    AdvGraphicsTypes::TAdvGraphicsFill fill(AdvGraphicsTypes::gfkGradient, ClassLib::clRed);
    fill.AddGradientItem(ClassLib::clBlue, 0.25f, 0.5f);
    fill.AddGradientItem(ClassLib::clLime, 0.75f, 1);
    fill.Texture()->LoadFromStream(StreamOfBytes(TexturePng()).get());
    AdvGraphicsTypes::TAdvGraphicsStroke stroke(AdvGraphicsTypes::gskDash, ClassLib::clNavy);
    stroke.SetWidth(2.5f);
    AdvGraphicsSVGEngine::TAdvGraphicsSVGImport svg;
    svg.LoadFromText(ClassLib::UTF8Decode(BuiltInSVG()));
    AdvGraphicsSVGEngine::TAdvGraphicsSVGElement element;
    for (const auto& top : svg.Elements())
        if (top->HasElements()) {
            element.SetJSON(top->JSON());   // a group with children
            break;
        }
    parsers.push_back({"JSON settings", {TextBytes(SavedSettings(&fill)), TextBytes(SavedSettings(&stroke)),
                                         TextBytes(SavedSettings(&element))},
                       {"\"$type\":", "\"TAdvGraphicsFill\"", "\"gcNull\"", "\"#FF00GG\"", "{", "}", "[", "]", ",",
                        "null", "true", "1e308", "-1", "\"Elements\":[", "\"GradientItems\":["},
                       LoadSettings, {}});
}

}  // namespace Robustness
