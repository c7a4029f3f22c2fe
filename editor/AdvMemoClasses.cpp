#include "editor/AdvMemoClasses.h"

#include "editor/AdvMemo.h"
#include "editor/AdvMemoStylers.h"
#include "editor/AdvmCSHS.h"

namespace AdvMemo {

std::vector<const ClassLib::TClass*> RegisterEditorClasses() {
    const std::vector<const ClassLib::TClass*> classes = {
        &TAdvMemo::StaticClass(), &TAdvMemoSource::StaticClass(), &TAdvStylerList::StaticClass(),
        &AdvmCSHS::TAdvCSharpMemoStyler::StaticClass(),
    };
    for (const ClassLib::TClass* cls : classes) ClassLib::RegisterClassType(*cls);
    return classes;
}

}  // namespace AdvMemo
