// The program's windows are read from their descriptions: every class a description
// names must be registered by the program's one registration call, or the window
// cannot be made. The check uses the classes that call reports, not the registry: in a
// test program, other tests link in classes the real program might leave out.
#include "app/AppClasses.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "classlib/Object.h"
#include "classlib/StringList.h"
#include "classlib/Strings.h"
#include "support/SourceTree.h"

using namespace ClassLib;

namespace {

std::vector<std::wstring> DescriptionFiles() {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(TestSupport::SourceTreePath(L"app\\*.desc").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.emplace_back(found.cFileName);
    while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

}  // namespace

TEST(AppClasses, EveryClassTheProgramsDescriptionsNameIsRegistered) {
    const std::vector<const TClass*>& registered = AppClasses::RegisterAppClasses();
    const std::vector<std::wstring> files = DescriptionFiles();
    ASSERT_GE(files.size(), 2u);  // the main window and the splash window at least
    const std::wregex objectLine(LR"(^\s*object\s+\w+\s*:\s*(\w+))", std::regex::icase);
    for (const std::wstring& file : files) {
        TStringList text;
        text.LoadFromFile(TestSupport::SourceTreePath(L"app\\" + file));
        int objects = 0;
        for (int i = 0; i < text.Count(); ++i) {
            const std::wstring line = text.Strings(i);
            std::wsmatch match;
            if (!std::regex_search(line, match, objectLine)) continue;
            const std::wstring className = match[1];
            SCOPED_TRACE(testing::PrintToString(file + L": " + className));
            const auto found = std::find_if(registered.begin(), registered.end(),
                                            [&](const TClass* cls) { return SameText(cls->ClassName(), className); });
            ASSERT_NE(found, registered.end());
            EXPECT_EQ(GetClass(className), *found);
            const TClass* cls = *found;
            // The outer object is the window itself; every nested one is made by name.
            if (objects++ > 0) {
                EXPECT_TRUE(cls->CanCreate());
            }
        }
        EXPECT_GT(objects, 1) << testing::PrintToString(file);
    }
}
