#include "controls/ExtPage.h"
#include "platform/gfx/Canvas.h"

namespace qz {

QZ_CLASS_INFO(TExtPageControl, TPageControl) {}

TExtPageControl::TExtPageControl(TComponent* owner) : TPageControl(owner) {
    SetOwnerDraw(true);
}

void TExtPageControl::DrawTab(int tabIndex, const TRect& rect, bool active) {
    if (OnDrawTab) {
        OnDrawTab(this, tabIndex, rect, active);
        return;
    }
    TCanvas* c = Canvas();
    TRect r = rect;
    TFontStyles style = c->Font().Style();
    if (active) {
        r = InflateRect(r, -2, -2);
        c->Font().SetColor(clCaptionText);
        c->Font().SetStyle(style << fsBold);
        c->Brush().SetColor(clActiveCaption);
    } else {
        c->Font().SetColor(clInactiveCaptionText);
        c->Font().SetStyle(style >> fsBold);
        c->Brush().SetColor(clInactiveCaption);
    }
    c->FillRect(r);
    if (!active) r.Top += 2;
    if (TTabSheet* page = PageOfTab(tabIndex)) {
        c->Brush().SetStyle(bsClear);
        c->DrawText(page->Caption(), r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    }
}

} // namespace qz
