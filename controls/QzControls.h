#pragma once
// The control library's classes in the class registry, so that form resources find them by name.
namespace qz {

// TBitCheckBox, TLumCheckBox, TGSpeedButton, TF2Button, TQzRadioButton, TQzGroupButton, TQzRadioGroup,
// TExtPageControl, TSelectPanel, TLumMaskEdit and TLumListView; safe to call more than once.
void RegisterQzControls();

} // namespace qz
