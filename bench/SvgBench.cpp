// SVG reading figures on a generated document of about 2 MB (groups of shapes, paths and
// text, a document type declaration with an entity): the XML document's parse in MB/s
// (the scan in front of the DOM included) and a walk over every element, reading names
// and attributes as an importer does, in elements/s. Prints figures only.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "classlib/XmlDocument.h"

using namespace ClassLib;

namespace {

constexpr std::size_t TargetSize = 2 * 1000 * 1000;
constexpr int Repeats = 5;

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double MedianSeconds(const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < Repeats; ++i) times.push_back(Seconds(work));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::wstring GeneratedSvg() {
    std::wstring text =
        L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        L"<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" \"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\" [\n"
        L"  <!ENTITY ns_svg \"http://www.w3.org/2000/svg\">\n]>\n"
        L"<svg xmlns=\"&ns_svg;\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" viewBox=\"0 0 512 512\">\n"
        L"<defs><linearGradient id=\"g\" x1=\"0\" y1=\"0\" x2=\"1\" y2=\"0\">"
        L"<stop offset=\"0%\" stop-color=\"#ff0000\"/><stop offset=\"100%\" stop-color=\"#0000ff\"/>"
        L"</linearGradient></defs>\n";
    for (int i = 0; text.size() < TargetSize; ++i) {
        const std::wstring n = std::to_wstring(i % 500);
        text += L"<g transform=\"translate(" + n + L",3) rotate(15)\" class=\"c" + std::to_wstring(i % 7) + L"\">\n";
        text += L"  <rect x=\"" + n + L"\" y=\"10\" width=\"40\" height=\"20\" rx=\"3\" fill=\"url(#g)\"/>\n";
        text += L"  <circle cx=\"" + n + L"\" cy=\"50\" r=\"12.5\" style=\"fill:#33aa55;stroke:black;stroke-width:2\"/>\n";
        text += L"  <path d=\"M" + n + L" 10 C 20 20, 40 20, 50 10 S 80 0, 90 10 A 5 5 0 0 1 100 20 Z\" fill=\"none\" "
                L"stroke=\"#123456\"/>\n";
        text += L"  <text x=\"" + n + L"\" y=\"90\" font-family=\"Arial\" font-size=\"12\">Label " + n + L"</text>\n";
        text += L"</g>\n";
    }
    return text + L"</svg>\n";
}

// Every element, its name and all its attributes, depth first.
long long Walk(const TXmlNode& node) {
    long long elements = node.Kind() == TXmlNodeKind::Element ? 1 : 0;
    volatile std::size_t sink = node.Name().size();
    for (int i = 0; i < node.AttributeCount(); ++i) sink = sink + node.Attribute(i).Value.size();
    for (int i = 0; i < node.ChildCount(); ++i) elements += Walk(node.Child(i));
    return elements;
}

}  // namespace

int main() {
    ::OleInitialize(nullptr);
    const std::wstring text = GeneratedSvg();
    const double megabytes = double(text.size()) / 1e6;   // characters; the file is ASCII

    TXmlDocument document;
    const double parse = MedianSeconds([&] { document.LoadFromText(text); });
    // Each walk on a freshly parsed document, so no node list is cached from the last.
    long long elements = 0;
    std::vector<double> walks;
    for (int i = 0; i < Repeats; ++i) {
        TXmlDocument fresh;
        fresh.LoadFromText(text);
        walks.push_back(Seconds([&] { elements = Walk(fresh.DocumentElement()); }));
    }
    std::sort(walks.begin(), walks.end());
    const double walk = walks[walks.size() / 2];

    std::printf("SVG reading, generated document of %.2f MB (median of %d runs)\n", megabytes, Repeats);
    std::printf("XML parse             %8.1f MB/s   (%.1f ms)\n", megabytes / parse, parse * 1e3);
    std::printf("walk                  %8.0f elements/s   (%lld elements, %.1f ms)\n", double(elements) / walk,
                elements, walk * 1e3);
    ::OleUninitialize();
    return 0;
}
