#include "graphics/AdvGDIPFamilies.h"

#include <map>

#include "classlib/GdiObjects.h"
#include "graphics/AdvGDIP.h"

namespace AdvGDIPFamilies {

const AdvGDIP::TGPFontFamily* FamilyOf(const std::wstring& name) {
    static std::map<std::wstring, AdvGDIP::TGPFontFamily*> families;
    const auto found = families.find(name);
    if (found != families.end()) return found->second;
    auto* family = new AdvGDIP::TGPFontFamily(name, nullptr);
    if (family->lastResult != Gdiplus::Ok) {
        delete family;
        family = new AdvGDIP::TGPFontFamily(std::wstring(L"Arial"), nullptr);
    }
    families[name] = family;
    return family;
}

const AdvGDIP::TGPFontFamily* FamilyOf(const ClassLib::TFont* font) { return FamilyOf(font->Name()); }

}  // namespace AdvGDIPFamilies
