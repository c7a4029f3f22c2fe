#pragma once
// GDI+ font families by name for the painters' captions: "Arial" where GDI+ has no family
// of that name.
#include <string>

namespace ClassLib {
class TFont;
}

namespace AdvGDIP {
class TGPFontFamily;
}

namespace AdvGDIPFamilies {

// Looking a family up enumerates the system's fonts, far too slow for every fade tick, so
// each name is looked up once; like GDI+'s generic families, the few found live as long
// as the process. Never null. GUI thread only.
const AdvGDIP::TGPFontFamily* FamilyOf(const std::wstring& name);
const AdvGDIP::TGPFontFamily* FamilyOf(const ClassLib::TFont* font);

}  // namespace AdvGDIPFamilies
