#pragma once
// A style environment whose registry values and system answers a test sets; it replaces
// the system's own while it exists.
#include <map>

#include "graphics/AdvStyleIF.h"

namespace TestSupport {

using AdvStyleIF::String;

// Registry values and system answers as a test sets them.
class TFakeEnvironment : public AdvStyleIF::IStyleEnvironment {
public:
    TFakeEnvironment() { AdvStyleIF::SetStyleEnvironment(this); }
    ~TFakeEnvironment() override { AdvStyleIF::SetStyleEnvironment(nullptr); }
    bool RegKeyExists(const String& key) override { return Keys.count(key) > 0; }
    std::optional<String> RegReadString(const String& key, const String& name) override {
        auto found = Strings.find(key + L"|" + name);
        return found == Strings.end() ? std::nullopt : std::optional<String>(found->second);
    }
    std::optional<std::uint32_t> RegReadDWord(const String& key, const String& name) override {
        auto found = Numbers.find(key + L"|" + name);
        return found == Numbers.end() ? std::nullopt : std::optional<std::uint32_t>(found->second);
    }
    int WindowsVersionKind() override { return VersionKind; }
    int XPThemeKind() override { return ThemeKind; }

    void AddString(const String& key, const String& name, const String& value) {
        Keys.insert({key, true});
        Strings[key + L"|" + name] = value;
    }
    void AddNumber(const String& key, const String& name, std::uint32_t value) {
        Keys.insert({key, true});
        Numbers[key + L"|" + name] = value;
    }
    std::map<String, bool> Keys;
    std::map<String, String> Strings;
    std::map<String, std::uint32_t> Numbers;
    int VersionKind = 1;
    int ThemeKind = 0;
};

}  // namespace TestSupport
