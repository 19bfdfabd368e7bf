#pragma once
// A spin edit that refuses sign characters after the first position.
#include "platform/vcl/Spin.h"

namespace qz {

class TQzSpinEdit : public TSpinEdit {
    QZ_CLASS(TQzSpinEdit)
public:
    explicit TQzSpinEdit(TComponent* owner) : TSpinEdit(owner) {}

protected:
    // A "+" or "-" after the first position cuts the text before it; OnChange only for a text that is
    // not blank.
    void Change() override;
};

} // namespace qz
