// The JSON pull reader against RapidJSON's SAX reader on three generated inputs of about
// 5 MB each (records, numbers, escaped strings), written by our writer so both read the
// same ASCII. Goal: at least 1.0x RapidJSON's MB/s on each input. Also prints the
// writer's rate and RapidJSON's DOM parse. Prints figures only.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "classlib/Streams.h"
#include "classlib/Strings.h"
#include "graphics/AdvJSONReader.h"
#include "graphics/AdvJSONWriter.h"

#if __has_include(<rapidjson/reader.h>)
#include <rapidjson/document.h>
#include <rapidjson/reader.h>
#define JSONBENCH_HAS_RAPIDJSON 1
#endif

using namespace AdvJSONReader;
using namespace AdvJSONWriter;

namespace {

constexpr size_t TargetSize = 5 * 1000 * 1000;
constexpr int Repeats = 7;

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

struct TInput {
    const char* Name;
    std::string Text;
    double WriteSeconds;
};

void Record(TAdvJSONWriter& w, int i) {
    w.WriteBeginObject();
    w.WriteName(L"id").WriteInteger(i);
    w.WriteName(L"name").WriteString(L"Item number " + std::to_wstring(i));
    w.WriteName(L"active").WriteBoolean(i % 3 != 0);
    w.WriteName(L"price").WriteDouble(i * 0.25 + 1.5);
    w.WriteName(L"owner").WriteNull();
    w.WriteName(L"tags").WriteBeginArray().WriteString(L"red").WriteString(L"large").WriteEndArray();
    w.WriteName(L"size").WriteBeginObject().WriteName(L"width").WriteInteger(i % 640);
    w.WriteName(L"height").WriteInteger(i % 480).WriteEndObject();
    w.WriteEndObject();
}

void Numbers(TAdvJSONWriter& w, int i) {
    w.WriteBeginArray();
    w.WriteDouble(i / 3.0).WriteDouble(-i * 1.0e-7).WriteInteger(int64_t(i) * 7919).WriteDouble(1.0e10 + i);
    w.WriteInteger(-i).WriteDouble(i * 0.1);
    w.WriteEndArray();
}

void EscapedText(TAdvJSONWriter& w, int i) {
    w.WriteString(L"Line " + std::to_wstring(i) + L": \"quoted\" text\twith a tab, a back\\slash,\r\n" +
                  L"caf\u00e9 cr\u00e8me \u4e2d\u6587 and the end");
}

std::string Build(const std::function<void(TAdvJSONWriter&, int)>& item, double& seconds) {
    // Grow the count until the text is large enough; the last run's time is the writer's.
    int count = 1000;
    for (;;) {
        ClassLib::TStringStream stream;
        seconds = Seconds([&] {
            TAdvJSONWriter writer(&stream);
            writer.WriteBeginArray();
            for (int i = 0; i < count; ++i) item(writer, i);
            writer.WriteEndArray();
        });
        const std::string text = stream.DataString();
        if (text.size() >= TargetSize) return text;
        count = int(double(count) * double(TargetSize) / double(std::max<size_t>(text.size(), 1)) * 1.02) + 1;
    }
}

// Walks every token and reads every value, copying strings and summing numbers. The
// text is in memory already, as it is for RapidJSON.
double OurWalk(ClassLib::TStringStream& stream) {
    stream.SetPosition(0);
    TAdvJSONReader reader(&stream);
    double sum = 0;
    size_t characters = 0;
    String text;   // reused, as RapidJSON's handler below reuses its string
    for (;;) {
        switch (reader.Peek()) {
        case jstoBeginObject: reader.ReadBeginObject(); break;
        case jstoEndObject: reader.ReadEndObject(); break;
        case jstoBeginArray: reader.ReadBeginArray(); break;
        case jstoEndArray: reader.ReadEndArray(); break;
        case jstoName:
            reader.ReadName(text);
            characters += text.size();
            break;
        case jstoBoolean: sum += reader.ReadBoolean(); break;
        case jstoNull: reader.ReadNull(); break;
        case jstoText:
            reader.ReadString(text);
            characters += text.size();
            break;
        case jstoNumber: sum += reader.ReadDouble(); break;
        case jstoEOF: return sum + double(characters);
        }
    }
}

#ifdef JSONBENCH_HAS_RAPIDJSON
struct TCopyingHandler : rapidjson::BaseReaderHandler<rapidjson::UTF8<>, TCopyingHandler> {
    bool Null() { return true; }
    bool Bool(bool value) { Sum += value; return true; }
    bool Int(int value) { Sum += value; return true; }
    bool Uint(unsigned value) { Sum += value; return true; }
    bool Int64(int64_t value) { Sum += double(value); return true; }
    bool Uint64(uint64_t value) { Sum += double(value); return true; }
    bool Double(double value) { Sum += value; return true; }
    bool String(const char* text, rapidjson::SizeType length, bool) {
        Last.assign(text, length);
        Characters += length;
        return true;
    }
    bool Key(const char* text, rapidjson::SizeType length, bool copy) { return String(text, length, copy); }
    double Sum = 0;
    size_t Characters = 0;
    std::string Last;
};

double RapidSax(const std::string& text) {
    rapidjson::Reader reader;
    rapidjson::StringStream stream(text.c_str());
    TCopyingHandler handler;
    if (reader.Parse(stream, handler).IsError()) std::printf("  RapidJSON SAX: parse error\n");
    return handler.Sum + double(handler.Characters);
}

void RapidDom(const std::string& text) {
    rapidjson::Document document;
    document.Parse(text.c_str());
    if (document.HasParseError()) std::printf("  RapidJSON DOM: parse error\n");
}
#endif

double MBps(size_t bytes, double seconds) { return double(bytes) / 1e6 / seconds; }

}  // namespace

int main() {
    TInput inputs[] = {{"records", {}, 0}, {"numbers", {}, 0}, {"escaped strings", {}, 0}};
    const std::function<void(TAdvJSONWriter&, int)> items[] = {Record, Numbers, EscapedText};
    for (size_t i = 0; i < 3; ++i) inputs[i].Text = Build(items[i], inputs[i].WriteSeconds);

    std::printf("JSON reader against RapidJSON SAX (median of %d runs; goal: at least 1.0x on each input)\n", Repeats);
    for (const TInput& input : inputs) {
        const size_t bytes = input.Text.size();
        volatile double sink = 0;
        ClassLib::TStringStream stream(input.Text);
        const double ours = MedianSeconds([&] { sink = sink + OurWalk(stream); });
        std::printf("%-16s %5.2f MB  ours %7.1f MB/s", input.Name, bytes / 1e6, MBps(bytes, ours));
#ifdef JSONBENCH_HAS_RAPIDJSON
        const double sax = MedianSeconds([&] { sink = sink + RapidSax(input.Text); });
        const double dom = MedianSeconds([&] { RapidDom(input.Text); });
        std::printf("  RapidJSON SAX %7.1f MB/s  ratio %.2fx (%s)  RapidJSON DOM %7.1f MB/s", MBps(bytes, sax),
                    sax / ours, sax / ours >= 1.0 ? "goal met" : "short of goal", MBps(bytes, dom));
#endif
        std::printf("  writer %7.1f MB/s\n", MBps(bytes, input.WriteSeconds));
    }
#ifndef JSONBENCH_HAS_RAPIDJSON
    std::printf("RapidJSON's headers are missing: run scripts/setup.sh for the comparison.\n");
#endif
    return 0;
}
