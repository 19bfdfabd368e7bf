#include "controls/QzControls.h"
#include "controls/BtChkBox.h"
#include "controls/DBLabel.h"
#include "controls/ExtPage.h"
#include "controls/F2Button.h"
#include "controls/QzRadioGroup.h"
#include "controls/QzSpin.h"
#include "controls/QzcEdit.h"
#include "controls/SelectPnl.h"

namespace qz {

void RegisterQzControls() {
    static const bool done = [] {
        for (const TMetaClass* mc :
             {TBitCheckBox::StaticClass(), TLumCheckBox::StaticClass(), TGSpeedButton::StaticClass(),
              TF2Button::StaticClass(), TQzRadioButton::StaticClass(), TQzGroupButton::StaticClass(),
              TQzRadioGroup::StaticClass(), TExtPageControl::StaticClass(), TSelectPanel::StaticClass(),
              TLumMaskEdit::StaticClass(), TLumListView::StaticClass(), TQzEdit::StaticClass(),
              TQzDBEdit::StaticClass(), TQzBtnDBEdit::StaticClass(), TDBLabel::StaticClass(),
              TQzSpinEdit::StaticClass()})
            RegisterClass(mc);
        RegisterSelectPanelConversion();
        return true;
    }();
    (void)done;
}

} // namespace qz
