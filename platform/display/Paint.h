#pragma once
// Painting of forms and their controls in the classic look: button faces, 3-D borders, focus
// rectangles, embossed disabled text. Standard controls are painted here from their models; other
// custom controls paint themselves through their Paint.
#include "platform/core/Types.h"
#include "platform/gfx/Colors.h"
#include "platform/gfx/Geometry.h"
#include <vector>

namespace qz {

class TBitmap;
class TCanvas;
class TControl;
class TCustomForm;
class TMenuItem;

// 3-D primitives. Frame3D draws a one-pixel frame (top and left in one colour, bottom and right in
// the other) and shrinks the rectangle by one pixel.
void Frame3D(TCanvas& canvas, TRect& rect, TColor topLeft, TColor bottomRight);
// A raised button face (pressed: sunken), filled with the face colour; the rectangle becomes the
// content area. A default button gets a dark outer frame.
void DrawButtonFace(TCanvas& canvas, TRect& rect, bool pressed, bool isDefault, bool flat = false);
// The two-pixel sunken border of edits, lists and grids; the rectangle becomes the inner area.
void DrawSunkenBorder(TCanvas& canvas, TRect& rect);
// The two-pixel raised border of windows and pages.
void DrawRaisedBorder(TCanvas& canvas, TRect& rect);
// Text laid out by DrawText flags; disabled text is embossed: highlight one pixel down and right,
// then gray text.
void DrawCaption(TCanvas& canvas, const AnsiString& text, TRect rect, unsigned flags, bool enabled);
// A check box square (13 x 13) with its mark; grayed draws a gray mark on a face background.
void DrawCheckBox(TCanvas& canvas, int x, int y, int state, bool enabled);
// A radio button circle (12 x 12) with its dot.
void DrawRadioButton(TCanvas& canvas, int x, int y, bool checked, bool enabled);
// A small solid triangle pointing down (the arrow of drop-downs), centred in the rectangle.
void DrawDownArrow(TCanvas& canvas, const TRect& rect, TColor color);
void DrawUpArrow(TCanvas& canvas, const TRect& rect, TColor color);
void DrawRightArrow(TCanvas& canvas, const TRect& rect, TColor color);

// What input shows while the mouse is held: the pressed control, and whether the mouse is still on it.
// The part pressed: 0 the whole control, 1 and 2 the up and down buttons of a spin edit.
struct TPaintState {
    TControl* Pressed = nullptr;
    bool PressedInside = false;
    int PressedPart = 0;
};
TPaintState& PaintState();

// Where a child lies in its parent's client area: its bounds, except for the pages of a page
// control, which fill the page area below the tabs.
TRect DisplayBounds(const TControl& child);

// The up and down buttons of a spin edit and the drop button of a combo box, in the control's
// coordinates.
TRect SpinButtonRect(const TControl& spin, bool up);
TRect ComboButtonRect(const TControl& combo);

// Paints one control (not its children) with its top-left corner at the canvas origin.
void PaintControl(TControl& control, TCanvas& canvas);
// Paints the control and its visible children; the canvas is left with its tools in any state.
void PaintControlTree(TControl& control, TCanvas& canvas, TPoint origin, const TRect& deviceClip);
// Paints the client area of a form into the bitmap, which takes the client size.
void PaintFormClient(TCustomForm& form, TBitmap& target);
// Paints the whole window: the frame and caption bar in the classic look around the client area.
void PaintFormWindow(TCustomForm& form, TBitmap& target, bool active = true);

// Drop-down and popup menus: the rectangles of the visible items of a menu (item index in the
// parent, rectangle) and the menu's size, then painting with one item highlighted (-1 for none).
struct TMenuLayout {
    std::vector<int> Items;
    std::vector<TRect> Rects;
    TSize Size;
    // The position (in Items) of the item at a point, -1 for none or a separator.
    int ItemAt(TPoint p, const TMenuItem& parent) const;
};
TMenuLayout LayoutMenu(const TMenuItem& parent, TCanvas& measure);
void PaintMenu(const TMenuItem& parent, const TMenuLayout& layout, TCanvas& canvas, int highlighted);
// "Ctrl+S", "F2", "Shift+Del": the text of a short cut.
AnsiString ShortCutToText(Word shortCut);

} // namespace qz
