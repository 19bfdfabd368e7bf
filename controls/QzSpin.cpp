#include "controls/QzSpin.h"
#include "platform/core/Strings.h"

namespace qz {

QZ_CLASS_INFO(TQzSpinEdit, TSpinEdit) {}

void TQzSpinEdit::Change() {
    // Each removal changes the text and comes back here, until no sign is left after the first place.
    for (char sign : {'+', '-'}) {
        const AnsiString text = Text();
        if (text.find(sign, 1) != AnsiString::npos) {
            SetText(text.substr(0, text.size() - 1));
            return;
        }
    }
    if (Trim(Text()).empty()) {
        SetModified(true);
        return;
    }
    TSpinEdit::Change();
}

} // namespace qz
