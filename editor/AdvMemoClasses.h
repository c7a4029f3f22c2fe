#pragma once
// The editor's components that window descriptions create by name.
namespace AdvMemo {

// Registers the memo, its shared line source, the styler list and the stylers. Naming
// each class here also links its unit into a program (see ClassLib::RegisterComponentClasses).
void RegisterEditorClasses();

}  // namespace AdvMemo
