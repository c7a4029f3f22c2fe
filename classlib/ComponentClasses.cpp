#include "classlib/ComponentClasses.h"

#include "classlib/CheckListBox.h"
#include "classlib/Dialogs.h"
#include "classlib/Form.h"
#include "classlib/ImageList.h"
#include "classlib/Menus.h"
#include "classlib/PageControl.h"
#include "classlib/Shape.h"
#include "classlib/StandardControls.h"
#include "classlib/Timer.h"

namespace ClassLib {

std::vector<const TClass*> RegisterComponentClasses() {
    const std::vector<const TClass*> classes = {
        &TForm::StaticClass(), &TPanel::StaticClass(), &TGroupBox::StaticClass(), &TSplitter::StaticClass(), &TLabel::StaticClass(),
        &TCheckBox::StaticClass(), &TMemo::StaticClass(), &TImage::StaticClass(), &TScrollBar::StaticClass(),
        &TListBox::StaticClass(), &TComboBox::StaticClass(), &TMenuItem::StaticClass(),
        &TPopupMenu::StaticClass(), &TMainMenu::StaticClass(), &TImageList::StaticClass(), &TOpenDialog::StaticClass(),
        &TSaveDialog::StaticClass(), &TTimer::StaticClass(), &TFrame::StaticClass(),
        &TShape::StaticClass(), &TCheckListBox::StaticClass(), &TPageControl::StaticClass(), &TTabSheet::StaticClass(),
    };
    for (const TClass* cls : classes) RegisterClassType(*cls);
    return classes;
}

}  // namespace ClassLib
