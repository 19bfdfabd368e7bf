#pragma once
// The page control of the request windows: it draws its tabs itself, the active one bold in the
// active-caption colours, the others in the inactive-caption colours.
#include "platform/vcl/ComCtrls.h"

namespace qz {

// The tab control style of owner-drawn fixed tabs.
constexpr unsigned TCS_OWNERDRAWFIXED = 0x2000;

class TExtPageControl : public TPageControl {
    QZ_CLASS(TExtPageControl)
public:
    explicit TExtPageControl(TComponent* owner);
    // The tab control style the window is created with.
    unsigned TabStyle() const { return TCS_OWNERDRAWFIXED; }

protected:
    // OnDrawTab when set; otherwise the tab is drawn here.
    void DrawTab(int tabIndex, const TRect& rect, bool active) override;
};

} // namespace qz
