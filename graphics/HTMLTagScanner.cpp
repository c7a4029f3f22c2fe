#include "graphics/HTMLTagScanner.h"

#include "graphics/AdvUtils.h"

namespace HTMLTagScanner {

int IPos(const String& sub, const String& s) { return AdvUtils::TAdvUtils::IPos(sub, s); }

String UpperCase(const String& s) {
    String result(s);
    for (wchar_t& c : result)
        if (c >= L'a' && c <= L'z') c = wchar_t(c - L'a' + L'A');
    return result;
}

std::size_t FindTagEnd(const String& text, std::size_t from) { return text.find(L'>', from); }

bool IsClosingTag(const String& tag) { return tag.size() > 3 && tag[1] == L'/'; }

namespace {
std::size_t NameStart(const String& tag) { return IsClosingTag(tag) ? 2 : 1; }
bool EndsName(wchar_t c) { return c == L' ' || c == L'>' || c == L'/' || c == L'\t'; }
wchar_t Upper(wchar_t c) { return c >= L'a' && c <= L'z' ? wchar_t(c - L'a' + L'A') : c; }
}  // namespace

wchar_t TagLetter(const String& tag, std::size_t index) {
    const std::size_t start = NameStart(tag);
    for (std::size_t i = start; i < tag.size() && i <= start + index; ++i)
        if (EndsName(tag[i])) return 0;
    const std::size_t at = start + index;
    return at < tag.size() ? Upper(tag[at]) : 0;
}

String TagName(const String& tag) {
    String name;
    for (std::size_t i = NameStart(tag); i < tag.size() && !EndsName(tag[i]); ++i) name += Upper(tag[i]);
    return name;
}

bool TagNameIs(const String& tag, const wchar_t* name) {
    std::size_t i = NameStart(tag);
    for (; *name; ++name, ++i)
        if (i >= tag.size() || Upper(tag[i]) != *name) return false;
    return i >= tag.size() || EndsName(tag[i]);
}

bool AttributeValue(const String& tag, const String& upperTag, const String& attribute, String& value) {
    const std::size_t at = upperTag.find(attribute);
    if (at == String::npos) return false;
    const std::size_t open = tag.find(L'"', at + attribute.size());
    if (open == String::npos) return false;
    const std::size_t close = tag.find(L'"', open + 1);
    if (close == String::npos) return false;
    value = tag.substr(open + 1, close - open - 1);
    return true;
}

bool LooseAttributeValue(const String& tag, const String& upperTag, const String& attribute, String& value) {
    const std::size_t at = upperTag.find(attribute);
    if (at == String::npos) return false;
    std::size_t i = tag.find(L'=', at + attribute.size());
    if (i == String::npos) return false;
    ++i;
    while (i < tag.size() && tag[i] == L' ') ++i;
    if (i < tag.size() && tag[i] == L'"') {
        const std::size_t close = tag.find(L'"', i + 1);
        value = tag.substr(i + 1, close == String::npos ? String::npos : close - i - 1);
        return true;
    }
    std::size_t end = i;
    while (end < tag.size() && tag[end] != L' ' && tag[end] != L'>') ++end;
    value = tag.substr(i, end - i);
    return true;
}

}  // namespace HTMLTagScanner
