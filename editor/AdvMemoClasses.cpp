#include "editor/AdvMemoClasses.h"

#include "editor/AdvMemo.h"
#include "editor/AdvMemoStylers.h"
#include "editor/AdvmCSHS.h"

namespace AdvMemo {

void RegisterEditorClasses() {
    for (const ClassLib::TClass* cls : {
             &TAdvMemo::StaticClass(), &TAdvMemoSource::StaticClass(), &TAdvStylerList::StaticClass(),
             &AdvmCSHS::TAdvCSharpMemoStyler::StaticClass(),
         })
        ClassLib::RegisterClassType(*cls);
}

}  // namespace AdvMemo
