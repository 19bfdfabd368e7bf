#include "controls/GSpdBtn.h"
#include "outside/pictures/PxResD5.h"
#include "platform/core/CodePages.h"
#include "platform/core/Strings.h"
#include "platform/gfx/Bitmap.h"
#include "platform/vcl/Dialogs.h"
#include <exception>

namespace qz {

namespace {

TPictureLibrary& Library() {
    static TPictureLibrary library{&GetMaxBmpID, &LoadBmp};
    return library;
}

} // namespace

TPictureLibrary SetPictureLibrary(const TPictureLibrary& library) {
    TPictureLibrary old = Library();
    Library().GetMaxBmpID = library.GetMaxBmpID ? library.GetMaxBmpID : &GetMaxBmpID;
    Library().LoadBmp = library.LoadBmp ? library.LoadBmp : &LoadBmp;
    return old;
}

QZ_CLASS_INFO(TGSpeedButton, TSpeedButton) {
    b.Property("GlyphIndex", &TGSpeedButton::GlyphIndex, &TGSpeedButton::SetGlyphIndex).Default(0);
    b.Property("HintIndex", &TGSpeedButton::HintIndex, &TGSpeedButton::SetHintIndex).Default(0);
}

TGSpeedButton::TGSpeedButton(TComponent* owner) : TSpeedButton(owner) {}

void TGSpeedButton::SetGlyphIndex(int v) {
    if (v == glyphIndex_) return;
    glyphIndex_ = v;
    SetCaption(IntToStr(v));
    try {
        const TPictureLibrary& lib = Library();
        TBitmap picture;
        if (v != 0 && v <= lib.GetMaxBmpID() && lib.LoadBmp(&picture, v)) {
            SetGlyph(&picture);
            SetCaption("");
            SetNumGlyphs(picture.Height() > 0 ? picture.Width() / picture.Height() : 1);
        } else {
            // No picture: the number stays as the caption.
            SetGlyph(nullptr);
        }
    } catch (const std::exception&) {
        MessageDlg(GB("读取 BMP 发生错误"), mtError, {mbOK}, 0);
    }
}

} // namespace qz
