#include "graphics/AdvHintInfo.h"

#include "classlib/Properties.h"
#include "classlib/StringList.h"
#include "graphics/GDIPicture.h"

namespace AdvHintInfo {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TAdvHintInfo, TPersistent)

TAdvHintInfo::TAdvHintInfo() : FPicture(std::make_unique<GDIPicture::TGDIPPicture>()), FNotes(std::make_unique<TStringList>()) {}

TAdvHintInfo::~TAdvHintInfo() = default;

const TPropertyList& TAdvHintInfo::Published() {
    using H = TAdvHintInfo;
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
        .Add(L"Title", &H::Title, &H::SetTitle, std::wstring())
        .Strings(L"Notes", &H::Notes)
        .SubObject(L"Picture", &H::Picture)
        .Add(L"ShowHelp", &H::ShowHelp, &H::SetShowHelp, false);
    return list;
}

void TAdvHintInfo::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TAdvHintInfo*>(source);
    if (!other || other == this) return;
    FTitle = other->FTitle;
    FNotes->Assign(other->FNotes.get());
    FShowHelp = other->FShowHelp;
    FPicture->Assign(other->FPicture.get());
    FWideTitle = other->FWideTitle;
    FWideNotes = other->FWideNotes;
}

bool TAdvHintInfo::IsEmpty() const { return FTitle.empty() && FNotes->Text().empty(); }

TStrings* TAdvHintInfo::Notes() const { return FNotes.get(); }

void TAdvHintInfo::SetNotes(const TStrings* value) { FNotes->Assign(value); }

void TAdvHintInfo::SetPicture(const GDIPicture::TGDIPPicture* value) { FPicture->Assign(value); }

}  // namespace AdvHintInfo
