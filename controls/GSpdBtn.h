#pragma once
// A speed button whose picture is chosen by number from the picture library.
#include "platform/vcl/Buttons.h"

namespace qz {

// The picture library the buttons load from: ours by default; tests may put another in its place.
struct TPictureLibrary {
    int (*GetMaxBmpID)() = nullptr;
    bool (*LoadBmp)(TBitmap* bitmap, int id) = nullptr;
};
// Installs a library (empty members: ours) and returns the previous one.
TPictureLibrary SetPictureLibrary(const TPictureLibrary& library);

class TGSpeedButton : public TSpeedButton {
    QZ_CLASS(TGSpeedButton)
public:
    explicit TGSpeedButton(TComponent* owner);

    // The picture number; 0 (or a number without a picture) leaves the button showing the number as
    // its caption.
    int GlyphIndex() const { return glyphIndex_; }
    void SetGlyphIndex(int v);
    // Stored with the form; no behaviour.
    int HintIndex() const { return hintIndex_; }
    void SetHintIndex(int v) { hintIndex_ = v; }

private:
    int glyphIndex_ = 0;
    int hintIndex_ = 0;
};

} // namespace qz
