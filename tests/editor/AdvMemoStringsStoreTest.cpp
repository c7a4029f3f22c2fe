#include "editor/AdvMemoStringsStore.h"

#include "classlib/Object.h"
#include "editor/AdvMemoStrings.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace AdvMemo;

namespace {

// The store against a plain list of lines and objects: every line, length and object alike.
void ExpectSame(const TLineStore& store, const std::vector<std::wstring>& lines,
                const std::vector<ClassLib::TObject*>& objects) {
    ASSERT_EQ(store.Count(), static_cast<int>(lines.size()));
    size_t total = 0;
    for (int i = 0; i < store.Count(); ++i) {
        ASSERT_EQ(std::wstring(store.Text(i)), lines[static_cast<size_t>(i)]) << "line " << i;
        ASSERT_EQ(store.Length(i), static_cast<int>(lines[static_cast<size_t>(i)].size())) << "line " << i;
        ASSERT_EQ(store.Object(i), objects[static_cast<size_t>(i)]) << "line " << i;
        total += lines[static_cast<size_t>(i)].size();
    }
    EXPECT_EQ(store.TotalLength(), total);
}

}  // namespace

// Long random runs reach the growth of shared blocks, their rebuild once mostly dead, and
// lines moving between shared and own blocks.
TEST(LineStore, RandomEditsMatchAPlainList) {
    std::mt19937 random(2024);
    ClassLib::TObject marks[3];
    TLineStore store;
    std::vector<std::wstring> lines;
    std::vector<ClassLib::TObject*> objects;
    auto randomText = [&] {
        std::wstring text(random() % 600, L'x');
        for (wchar_t& c : text) c = static_cast<wchar_t>(L'a' + random() % 26);
        return text;
    };
    for (int round = 0; round < 30000; ++round) {
        const int count = store.Count();
        const int at = count > 0 ? static_cast<int>(random() % static_cast<unsigned>(count)) : 0;
        const int op = static_cast<int>(random() % 10);
        SCOPED_TRACE("round " + std::to_string(round) + " op " + std::to_string(op));
        switch (op) {
        case 0: case 1: case 2: {
            const std::wstring text = randomText();
            ClassLib::TObject* object = random() % 5 == 0 ? &marks[random() % 3] : nullptr;
            store.Insert(at, text, object);
            lines.insert(lines.begin() + at, text);
            objects.insert(objects.begin() + at, object);
            break;
        }
        case 3: case 4:
            if (count == 0) break;
            {
                const std::wstring text = randomText();
                store.Set(at, text);
                lines[static_cast<size_t>(at)] = text;
            }
            break;
        case 5: case 6:
            if (count == 0) break;
            store.Erase(at);
            lines.erase(lines.begin() + at);
            objects.erase(objects.begin() + at);
            break;
        case 7:
            if (count < 2) break;
            store.Swap(at, count - 1);
            std::swap(lines[static_cast<size_t>(at)], lines.back());
            std::swap(objects[static_cast<size_t>(at)], objects.back());
            break;
        case 8:
            if (count == 0) break;
            store.SetObject(at, &marks[0]);
            objects[static_cast<size_t>(at)] = &marks[0];
            break;
        case 9:
            if (random() % 2000 == 0) {
                store.Clear();
                lines.clear();
                objects.clear();
            } else {
                store.AppendText(std::wstring(L"p\r\nq\tr"), 2);
                lines.insert(lines.end(), {L"p", L"q  r"});
                objects.insert(objects.end(), {nullptr, nullptr});
            }
            break;
        }
        if (round % 97 == 0 || round > 29900) ExpectSame(store, lines, objects);
        if (HasFailure()) return;
    }
    ExpectSame(store, lines, objects);
}

// The one split that loads and sets whole texts: the same rules from bytes and from UTF-16,
// and the same as splitting first and expanding each line.
TEST(LineStore, AppendedTextFollowsTheLineRules) {
    const char* const texts[] = {"", "a", "a\r\n", "a\r\nb", "a\rb\nc", "\n\n", "a\n\rb", "\r", "\tx\t\r\n\t", "x\r\r\n\ny"};
    for (const char* bytes : texts) {
        const std::string narrow(bytes);
        const std::wstring wide(narrow.begin(), narrow.end());
        SCOPED_TRACE(testing::PrintToString(narrow));
        for (const int tabSize : {-1, 0, 4}) {
            SCOPED_TRACE("tab size " + std::to_string(tabSize));
            std::vector<std::wstring> expected = SplitText(wide);
            if (tabSize >= 0)
                for (std::wstring& line : expected) line = ExpandTabs(line, tabSize);
            TLineStore fromBytes, fromWide;
            fromBytes.AppendText(narrow, tabSize);
            fromWide.AppendText(std::wstring_view(wide), tabSize);
            const std::vector<ClassLib::TObject*> none(expected.size(), nullptr);
            ExpectSame(fromBytes, expected, none);
            ExpectSame(fromWide, expected, none);
        }
    }
}
