#pragma once
// The content of an office-style hint: a title, lines of notes, a picture and a help flag.
#include <memory>
#include <string>

#include "classlib/Object.h"

namespace GDIPicture {
class TGDIPPicture;
}

namespace ClassLib {
class TPropertyList;
class TStringList;
class TStrings;
}  // namespace ClassLib

namespace AdvHintInfo {

class TAdvHintInfo : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TAdvHintInfo, ClassLib::TPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    TAdvHintInfo();
    ~TAdvHintInfo() override;

    // Copies from another hint info; any other source is ignored, without an error.
    void Assign(const ClassLib::TPersistent* source) override;
    // An empty title and notes whose text is empty (one empty line is a line break: not empty).
    bool IsEmpty() const;

    const std::wstring& Title() const { return FTitle; }
    void SetTitle(const std::wstring& value) { FTitle = value; }
    ClassLib::TStrings* Notes() const;
    void SetNotes(const ClassLib::TStrings* value);
    GDIPicture::TGDIPPicture* Picture() const { return FPicture.get(); }
    void SetPicture(const GDIPicture::TGDIPPicture* value);
    bool ShowHelp() const { return FShowHelp; }
    void SetShowHelp(bool value) { FShowHelp = value; }
    // Further texts some hint windows show in place of title and notes; not published.
    const std::wstring& WideTitle() const { return FWideTitle; }
    void SetWideTitle(const std::wstring& value) { FWideTitle = value; }
    const std::wstring& WideNotes() const { return FWideNotes; }
    void SetWideNotes(const std::wstring& value) { FWideNotes = value; }

private:
    std::unique_ptr<GDIPicture::TGDIPPicture> FPicture;
    bool FShowHelp = false;
    std::unique_ptr<ClassLib::TStringList> FNotes;
    std::wstring FTitle;
    std::wstring FWideTitle;
    std::wstring FWideNotes;
};

}  // namespace AdvHintInfo
