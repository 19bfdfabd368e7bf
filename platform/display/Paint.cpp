#include "platform/display/Paint.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/ListView.h"
#include "platform/vcl/MaskEdit.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/Spin.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/StdCtrlsEx.h"
#include <algorithm>
#include <functional>

namespace qz {

namespace {

// Restores the canvas clipping rectangle when it goes out of scope.
class ClipScope {
public:
    ClipScope(TCanvas& c, const TRect& rect) : c_(c), saved_(c.ClipRect()) {
        c.SetClipRect(IntersectRect(saved_, rect));
    }
    ~ClipScope() { c_.SetClipRect(saved_); }

private:
    TCanvas& c_;
    TRect saved_;
};

// The colour a control shows: pages show the dialog's face colour, and so do the controls that take
// their colour from them.
TColor EffectiveColor(const TControl& control) {
    if (dynamic_cast<const TTabSheet*>(&control)) return clBtnFace;
    if (control.ParentColor() && control.Parent()) return EffectiveColor(*control.Parent());
    return control.Color();
}

// Moves the canvas origin to the top-left of an inner rectangle and clips to it, until it goes out
// of scope.
class InnerScope {
public:
    InnerScope(TCanvas& c, const TRect& inner) : c_(c), origin_(c.Origin()), clip_(c.ClipRect()) {
        c.SetOrigin({origin_.X + inner.Left, origin_.Y + inner.Top});
        c.SetClipRect(OffsetRect(IntersectRect(clip_, inner), -inner.Left, -inner.Top));
    }
    ~InnerScope() {
        c_.SetOrigin(origin_);
        c_.SetClipRect(clip_);
    }

private:
    TCanvas& c_;
    TPoint origin_;
    TRect clip_;
};

void ResetTools(TCanvas& c, const TControl& control) {
    c.Pen().SetStyle(psSolid);
    c.Pen().SetWidth(1);
    c.Pen().SetMode(pmCopy);
    c.Pen().SetColor(clBlack);
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(EffectiveColor(control));
    c.SetFont(*control.Font());
    c.SetCopyMode(SRCCOPY);
}

void Line(TCanvas& c, int x1, int y1, int x2, int y2, TColor color) {
    c.Pen().SetColor(color);
    c.MoveTo(x1, y1);
    c.LineTo(x2, y2);
}

void Fill(TCanvas& c, const TRect& r, TColor color) {
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(color);
    c.FillRect(r);
}

bool IsPressed(const TControl* control) {
    return PaintState().Pressed == control && PaintState().PressedInside;
}

TCustomImageList* ImagesOf(TComponent* component) {
    return dynamic_cast<TCustomImageList*>(component);
}

// A glyph (one image of a picture, its transparent colour left out) and a caption laid out in the
// rectangle as buttons do: side by side or stacked, centred unless a margin is given.
void DrawGlyphAndCaption(TCanvas& c, const TRect& r, const TBitmap* glyph, const TRect& src,
                         const AnsiString& caption, TButtonLayout layout, int margin, int spacing,
                         bool enabled) {
    AnsiString text = StripAccel(caption);
    TSize ts = text.empty() ? TSize{} : c.TextExtent(text);
    int gw = glyph && !glyph->Empty() ? src.Width() : 0, gh = gw ? src.Height() : 0;
    if (!gw || text.empty()) spacing = 0;
    bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    int totalW = horizontal ? gw + spacing + ts.cx : std::max(gw, ts.cx);
    int totalH = horizontal ? std::max(gh, ts.cy) : gh + spacing + ts.cy;
    int x = r.Left + (r.Width() - totalW) / 2, y = r.Top + (r.Height() - totalH) / 2;
    if (margin >= 0) {
        if (layout == blGlyphLeft) x = r.Left + margin;
        if (layout == blGlyphRight) x = r.Right - margin - totalW;
        if (layout == blGlyphTop) y = r.Top + margin;
        if (layout == blGlyphBottom) y = r.Bottom - margin - totalH;
    }
    TPoint g, t;
    switch (layout) {
    case blGlyphLeft: g = {x, y + (totalH - gh) / 2}, t = {x + gw + spacing, y + (totalH - ts.cy) / 2}; break;
    case blGlyphRight:
        t = {x, y + (totalH - ts.cy) / 2}, g = {x + ts.cx + spacing, y + (totalH - gh) / 2};
        break;
    case blGlyphTop: g = {x + (totalW - gw) / 2, y}, t = {x + (totalW - ts.cx) / 2, y + gh + spacing}; break;
    default: t = {x + (totalW - ts.cx) / 2, y}, g = {x + (totalW - gw) / 2, y + ts.cy + spacing}; break;
    }
    if (gw) {
        c.Brush().SetStyle(bsClear);
        c.BrushCopy(Bounds(g.X, g.Y, gw, gh), *glyph, src, glyph->TransparentColor());
    }
    if (!text.empty())
        DrawCaption(c, caption, Bounds(t.X, t.Y, ts.cx + 1, ts.cy), DT_SINGLELINE | DT_LEFT, enabled);
}

// ---- standard controls

void PaintForm(TCustomForm& form, TCanvas& c) {
    Fill(c, form.ClientRect(), EffectiveColor(form));
}

void PaintPlain(TWinControl& control, TCanvas& c) {
    // Pages show the face colour of the dialog.
    Fill(c, Rect(0, 0, control.Width(), control.Height()), EffectiveColor(control));
}

void PaintLabel(TLabel& l, TCanvas& c) {
    TRect r = l.ClientRect();
    if (!l.Transparent()) Fill(c, r, EffectiveColor(l));
    unsigned flags =
        DT_EXPANDTABS | (l.WordWrap() ? DT_WORDBREAK : 0u) | (l.ShowAccelChar() ? 0u : DT_NOPREFIX);
    flags |= l.Alignment() == taCenter ? DT_CENTER : l.Alignment() == taRightJustify ? DT_RIGHT : DT_LEFT;
    if (l.Layout() != tlTop) {
        TRect calc = r;
        c.DrawText(l.Caption().empty() ? AnsiString(" ") : l.Caption(), calc, flags | DT_CALCRECT);
        int dy = l.Layout() == tlCenter ? (r.Height() - calc.Height()) / 2 : r.Height() - calc.Height();
        r.Top += dy;
    }
    DrawCaption(c, l.Caption(), r, flags, l.Enabled());
}

void PaintEdit(TCustomEdit& e, TCanvas& c) {
    TRect r = e.ClientRect();
    if (e.BorderStyle() == bsSingle) DrawSunkenBorder(c, r);
    Fill(c, r, e.Enabled() ? e.Color() : clBtnFace);
    if (auto* spin = dynamic_cast<TSpinEdit*>(&e)) {
        for (bool up : {true, false}) {
            TRect b = SpinButtonRect(*spin, up);
            bool pressed = IsPressed(spin) && PaintState().PressedPart == (up ? 1 : 2);
            DrawButtonFace(c, b, pressed, false);
            TColor arrow = e.Enabled() ? clBtnText : clGrayText;
            if (pressed) b = OffsetRect(b, 1, 1);
            up ? DrawUpArrow(c, b, arrow) : DrawDownArrow(c, b, arrow);
        }
        r.Right = SpinButtonRect(*spin, true).Left;
    }
    ClipScope clip(c, r);
    AnsiString text = e.Text();
    if (auto* masked = dynamic_cast<TCustomMaskEdit*>(&e); masked && masked->IsMasked())
        text = masked->EditText();
    if (e.PasswordChar()) text.assign(text.size(), e.PasswordChar());
    bool focused = e.Focused();
    int len = static_cast<int>(text.size());
    int selStart = std::clamp(e.SelStart(), 0, len),
        selEnd = std::clamp(e.SelStart() + e.SelLength(), 0, len);
    int caret = selEnd;
    int th = c.TextHeight("Wg");
    int x0 = r.Left + 1, y = r.Top + std::max(0, (r.Height() - th) / 2);
    int caretX = c.TextWidth(text.substr(0, caret));
    int scroll = std::max(0, caretX - (r.Width() - 3));
    c.Brush().SetStyle(bsClear);
    c.Font().SetColor(e.Enabled() ? e.Font()->Color() : clGrayText);
    c.TextOut(x0 - scroll, y, text);
    if (focused && selEnd > selStart) {
        int sx = x0 - scroll + c.TextWidth(text.substr(0, selStart));
        AnsiString sel = text.substr(selStart, selEnd - selStart);
        Fill(c, Bounds(sx, y, c.TextWidth(sel), th), clHighlight);
        c.Brush().SetStyle(bsClear);
        c.Font().SetColor(clHighlightText);
        c.TextOut(sx, y, sel);
    }
    if (focused) Line(c, x0 - scroll + caretX, y, x0 - scroll + caretX, y + th, clWindowText);
}

void PaintMemo(TCustomMemo& m, TCanvas& c) {
    TRect r = m.ClientRect();
    if (m.BorderStyle() == bsSingle) DrawSunkenBorder(c, r);
    Fill(c, r, m.Enabled() ? m.Color() : clBtnFace);
    TRect area = InflateRect(r, -2, -1);
    ClipScope clip(c, r);
    c.Brush().SetStyle(bsClear);
    c.Font().SetColor(m.Enabled() ? m.Font()->Color() : clGrayText);
    unsigned align = m.Alignment() == taCenter         ? DT_CENTER
                     : m.Alignment() == taRightJustify ? DT_RIGHT
                                                       : DT_LEFT;
    unsigned flags = align | DT_NOPREFIX | DT_EXPANDTABS | (m.WordWrap() ? DT_WORDBREAK : DT_SINGLELINE);
    int th = c.TextHeight("Wg");
    TPoint caret = m.CaretPos();
    int y = area.Top, caretY = area.Top;
    TStrings* lines = m.Lines();
    int count = lines->Count();
    for (int i = 0; i < count && y < area.Bottom; ++i) {
        AnsiString line = lines->Get(i);
        TRect lr = Rect(area.Left, y, area.Right, y + th);
        if (m.WordWrap() && !line.empty()) {
            TRect calc = lr;
            c.DrawText(line, calc, flags | DT_CALCRECT);
            lr.Bottom = y + std::max(th, calc.Height());
        }
        if (i == caret.Y) caretY = y;
        c.DrawText(line, lr, flags);
        y = lr.Bottom;
    }
    if (caret.Y >= count) caretY = y;
    if (m.Focused()) {
        AnsiString line = caret.Y < count ? lines->Get(caret.Y) : AnsiString();
        int x = area.Left + c.TextWidth(line.substr(0, std::min<std::size_t>(caret.X, line.size())));
        Line(c, x, caretY, x, caretY + th, clWindowText);
    }
}

void PaintComboBox(TCustomComboBox& cb, TCanvas& c) {
    cb.PaintTo(c); // the selection field, owner-drawn items included
    TRect r = cb.ClientRect();
    DrawSunkenBorder(c, r);
    if (cb.Style() == csSimple) return;
    TRect b = ComboButtonRect(cb);
    bool pressed = cb.DroppedDown();
    DrawButtonFace(c, b, pressed, false);
    if (pressed) b = OffsetRect(b, 1, 1);
    DrawDownArrow(c, b, cb.Enabled() ? clBtnText : clGrayText);
}

void PaintButton(TButton& b, TCanvas& c) {
    TRect r = b.ClientRect();
    bool pressed = IsPressed(&b);
    DrawButtonFace(c, r, pressed, b.IsActiveDefault());
    if (pressed) r = OffsetRect(r, 1, 1);
    if (auto* bb = dynamic_cast<TBitBtn*>(&b)) {
        const TBitmap* glyph = bb->Glyph();
        TRect src;
        if (glyph && !glyph->Empty()) {
            int n = std::max(1, bb->NumGlyphs());
            int w = glyph->Width() / n;
            int index = !b.Enabled() && n > 1 ? 1 : pressed && n > 2 ? 2 : 0;
            src = Bounds(index * w, 0, w, glyph->Height());
        }
        DrawGlyphAndCaption(c, r, glyph, src, bb->Caption(), bb->Layout(), bb->Margin(), bb->Spacing(),
                            b.Enabled());
    } else {
        DrawCaption(c, b.Caption(), r, DT_SINGLELINE | DT_CENTER | DT_VCENTER, b.Enabled());
    }
    if (b.Focused()) c.DrawFocusRect(Rect(4, 4, b.Width() - 4, b.Height() - 4));
}

// Check boxes and radio buttons: the mark at one side, the caption beside it, a focus rectangle
// around the caption.
void PaintCheckLike(TWinControl& w, TCanvas& c, TAlignment alignment, int markSize,
                    const std::function<void(int x, int y)>& drawMark) {
    TRect r = w.ClientRect();
    Fill(c, r, EffectiveColor(w));
    bool markLeft = alignment == taRightJustify;
    int mx = markLeft ? 0 : r.Right - markSize, my = (r.Height() - markSize) / 2;
    drawMark(mx, my);
    TRect tr =
        markLeft ? Rect(markSize + 4, 0, r.Right, r.Bottom) : Rect(0, 0, r.Right - markSize - 4, r.Bottom);
    AnsiString text = w.Caption();
    DrawCaption(c, text, tr, DT_SINGLELINE | DT_VCENTER | DT_LEFT, w.Enabled());
    if (w.Focused() && !text.empty()) {
        TSize s = c.TextExtent(StripAccel(text));
        int ty = (r.Height() - s.cy) / 2;
        c.DrawFocusRect(Rect(tr.Left - 1, std::max(0, ty - 1), std::min(tr.Left + s.cx + 1, r.Right),
                             std::min(ty + s.cy + 1, r.Bottom)));
    }
}

void PaintGroupBox(TGroupBox& g, TCanvas& c) {
    TRect r = g.ClientRect();
    Fill(c, r, EffectiveColor(g));
    int th = c.TextHeight("0");
    int top = th / 2;
    c.Brush().SetColor(clBtnShadow);
    c.FrameRect(Rect(0, top, r.Right - 1, r.Bottom - 1));
    c.Brush().SetColor(clBtnHighlight);
    c.FrameRect(Rect(1, top + 1, r.Right, r.Bottom));
    if (!g.Caption().empty()) {
        int tw = c.TextWidth(StripAccel(g.Caption()));
        Fill(c, Rect(6, 0, std::min(8 + tw + 2, r.Right), th), EffectiveColor(g));
        DrawCaption(c, g.Caption(), Rect(8, 0, 8 + tw + 1, th), DT_SINGLELINE | DT_LEFT, g.Enabled());
    }
}

void PaintPanel(TPanel& p, TCanvas& c) {
    TRect r = p.ClientRect();
    if (p.BorderStyle() == bsSingle) DrawSunkenBorder(c, r);
    Fill(c, r, EffectiveColor(p));
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone) return;
        for (int i = 0; i < p.BevelWidth(); ++i) {
            if (cut == bvRaised)
                Frame3D(c, r, clBtnHighlight, clBtnShadow);
            else if (cut == bvLowered)
                Frame3D(c, r, clBtnShadow, clBtnHighlight);
            else
                r = InflateRect(r, -1, -1);
        }
    };
    bevel(p.BevelOuter());
    r = InflateRect(r, -p.BorderWidth(), -p.BorderWidth());
    bevel(p.BevelInner());
    if (!p.Caption().empty()) {
        unsigned align = p.Alignment() == taLeftJustify    ? DT_LEFT
                         : p.Alignment() == taRightJustify ? DT_RIGHT
                                                           : DT_CENTER;
        DrawCaption(c, p.Caption(), r, DT_SINGLELINE | DT_VCENTER | align, p.Enabled());
    }
}

void PaintSpeedButton(TSpeedButton& b, TCanvas& c) {
    TRect r = b.ClientRect();
    bool pressed = b.State() == bsDown || b.Down() || IsPressed(&b);
    if (b.Flat()) {
        if (!b.Transparent()) Fill(c, r, EffectiveColor(b));
        if (pressed) Frame3D(c, r, clBtnShadow, clBtnHighlight);
    } else {
        DrawButtonFace(c, r, pressed, false);
    }
    if (pressed) r = OffsetRect(r, 1, 1);
    const TBitmap* glyph = b.Glyph();
    TRect src;
    if (glyph && !glyph->Empty()) {
        int n = std::max(1, b.NumGlyphs());
        int w = glyph->Width() / n;
        int index = !b.Enabled() && n > 1 ? 1 : pressed && n > 2 ? 2 : b.Down() && n > 3 ? 3 : 0;
        src = Bounds(index * w, 0, w, glyph->Height());
    }
    DrawGlyphAndCaption(c, r, glyph, src, b.Caption(), b.Layout(), b.Margin(), b.Spacing(), b.Enabled());
}

void PaintToolButton(TToolButton& b, TCanvas& c) {
    TRect r = b.ClientRect();
    if (b.Style() == tbsSeparator) return;
    if (b.Style() == tbsDivider) {
        Line(c, r.Width() / 2 - 1, 0, r.Width() / 2 - 1, r.Bottom, clBtnShadow);
        Line(c, r.Width() / 2, 0, r.Width() / 2, r.Bottom, clBtnHighlight);
        return;
    }
    TToolBar* bar = b.ToolBar();
    bool flat = bar && bar->Flat();
    bool pressed = IsPressed(&b) || b.Down();
    TRect face = r;
    TRect arrow;
    if (b.Style() == tbsDropDown) {
        arrow = Rect(r.Right - 12, r.Top, r.Right, r.Bottom);
        face.Right = arrow.Left;
    }
    if (flat) {
        if (pressed) Frame3D(c, face, clBtnShadow, clBtnHighlight);
    } else {
        DrawButtonFace(c, face, pressed, false);
        if (!arrow.IsEmpty()) {
            TRect a = arrow;
            DrawButtonFace(c, a, false, false);
        }
    }
    if (pressed) face = OffsetRect(face, 1, 1);
    bool enabled = b.Enabled();
    TCustomImageList* images = bar ? ImagesOf(bar->Images()) : nullptr;
    bool captions = bar && bar->ShowCaptions();
    int th = captions ? c.TextHeight("Wg") : 0;
    if (images && b.ImageIndex() >= 0 && b.ImageIndex() < images->Count()) {
        int x = face.Left + (face.Width() - images->Width()) / 2;
        int y = captions ? face.Top + 2 : face.Top + (face.Height() - images->Height()) / 2;
        images->Draw(c, x, y, b.ImageIndex(), enabled);
    }
    if (captions) {
        TRect tr = Rect(face.Left, face.Bottom - th - 2, face.Right, face.Bottom - 2);
        DrawCaption(c, b.Caption(), tr, DT_SINGLELINE | DT_CENTER, enabled);
    }
    if (!arrow.IsEmpty()) DrawDownArrow(c, arrow, enabled ? clBtnText : clGrayText);
}

void PaintPageControl(TPageControl& pc, TCanvas& c) {
    pc.PaintTo(c); // the tabs' contents (drawn tabs of descendants too)
    int tabs = pc.TabCount();
    int top = tabs ? pc.TabRect(0).Bottom : 0;
    // Around the tabs and on the pages the control shows the dialog's face.
    if (tabs) {
        TRect first = pc.TabRect(0), last = pc.TabRect(tabs - 1);
        Fill(c, Rect(0, 0, pc.Width(), first.Top), clBtnFace);
        Fill(c, Rect(0, first.Top, first.Left, top), clBtnFace);
        Fill(c, Rect(last.Right, first.Top, pc.Width(), top), clBtnFace);
    }
    TRect page = Rect(0, top, pc.Width(), pc.Height());
    Fill(c, page, clBtnFace);
    DrawRaisedBorder(c, page);
    for (int t = 0; t < tabs; ++t) {
        TRect r = pc.TabRect(t);
        if (r.IsEmpty()) continue;
        bool active = pc.PageOfTab(t) == pc.ActivePage();
        if (active) r = Rect(r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 1);
        Line(c, r.Left, r.Bottom - 1, r.Left, r.Top + 2, clBtnHighlight);
        c.SetPixel(r.Left + 1, r.Top + 1, clBtnHighlight);
        Line(c, r.Left + 2, r.Top, r.Right - 2, r.Top, clBtnHighlight);
        Line(c, r.Right - 2, r.Top + 1, r.Right - 2, r.Bottom, clBtnShadow);
        Line(c, r.Right - 1, r.Top + 2, r.Right - 1, r.Bottom, cl3DDkShadow);
        c.SetPixel(r.Right - 2, r.Top + 1, cl3DDkShadow);
        if (active) {
            // The active tab opens into its page.
            Line(c, r.Left + 1, top, r.Right - 2, top, clBtnFace);
            Line(c, r.Left + 1, top + 1, r.Right - 2, top + 1, clBtnFace);
        }
    }
}

void PaintStatusBar(TStatusBar& s, TCanvas& c) {
    s.PaintTo(c);
    TCustomForm* form = GetParentForm(&s);
    if (!s.SizeGrip() || !form || (form->BorderStyle() != bsSizeable && form->BorderStyle() != bsSizeToolWin))
        return;
    int w = s.Width(), h = s.Height();
    for (int i = 0; i < 3; ++i) {
        int d = 4 * i + 3;
        Line(c, w - d, h - 1, w, h - 1 - d, clBtnHighlight);
        Line(c, w - d + 1, h - 1, w, h - d, clBtnShadow);
        Line(c, w - d + 2, h - 1, w, h - d + 1, clBtnShadow);
    }
}

void PaintTabSet(TTabSet& t, TCanvas& c) {
    TRect r = t.ClientRect();
    Fill(c, r, EffectiveColor(t));
    Line(c, 0, 0, r.Right, 0, cl3DDkShadow);
    int th = c.TextHeight("Wg"), x = 8;
    for (int i = t.FirstIndex(); i < t.Tabs()->Count() && x < r.Right; ++i) {
        AnsiString text = t.Tabs()->Get(i);
        int w = c.TextWidth(StripAccel(text)) + 12;
        bool selected = i == t.TabIndex();
        TRect tab = Rect(x, selected ? 0 : 1, x + w, th + 6);
        Fill(c, tab, selected ? clWindow : EffectiveColor(t));
        c.Pen().SetColor(cl3DDkShadow);
        c.MoveTo(tab.Left, tab.Top);
        c.LineTo(tab.Left + 3, tab.Bottom - 1);
        c.LineTo(tab.Right - 4, tab.Bottom - 1);
        c.LineTo(tab.Right - 1, tab.Top - 1);
        DrawCaption(c, text, tab, DT_SINGLELINE | DT_CENTER | DT_VCENTER, t.Enabled());
        x += w - 3;
    }
}

void PaintTreeView(TTreeView& tv, TCanvas& c) {
    TRect r = tv.ClientRect();
    DrawSunkenBorder(c, r);
    Fill(c, r, tv.Color());
    ClipScope clip(c, r);
    int rowH = c.TextHeight("Wg") + 2, indent = 19, y = r.Top + 1;
    for (TTreeNode* node = tv.Items()->GetFirstNode(); node && y < r.Bottom; node = node->GetNext()) {
        if (!node->IsVisible()) continue;
        int x = r.Left + 2 + node->Level() * indent;
        if (node->HasChildren()) {
            TRect box = Bounds(x + 5, y + (rowH - 9) / 2, 9, 9);
            Fill(c, box, clWindow);
            c.Brush().SetColor(clBtnShadow);
            c.FrameRect(box);
            int cx = box.Left + 4, cy = box.Top + 4;
            Line(c, box.Left + 2, cy, box.Right - 2, cy, clWindowText);
            if (!node->Expanded()) Line(c, cx, box.Top + 2, cx, box.Bottom - 2, clWindowText);
        }
        int tx = x + indent + 2;
        AnsiString text = node->Text();
        int tw = c.TextWidth(text) + 4;
        bool selected = node->Selected() && (tv.Focused() || !tv.HideSelection());
        if (selected) Fill(c, Bounds(tx - 2, y, tw, rowH), tv.Focused() ? clHighlight : clBtnFace);
        c.Brush().SetStyle(bsClear);
        c.Font().SetColor(selected && tv.Focused() ? clHighlightText : tv.Font()->Color());
        c.TextOut(tx, y + 1, text);
        if (selected && tv.Focused()) c.DrawFocusRect(Bounds(tx - 2, y, tw, rowH));
        y += rowH;
    }
}

void PaintListItemText(TCanvas& c, TListView& lv, const AnsiString& text, const TRect& r, unsigned flags,
                       bool lit) {
    if (lit) Fill(c, r, lv.Focused() ? clHighlight : clBtnFace);
    c.Brush().SetStyle(bsClear);
    c.Font().SetColor(lit && lv.Focused() ? clHighlightText : lv.Font()->Color());
    TRect t = InflateRect(r, -2, 0);
    c.DrawText(text, t, flags | DT_NOPREFIX | DT_END_ELLIPSIS);
    c.Font().SetColor(lv.Font()->Color());
}

// A generic picture for items without an image list.
void DrawItemIcon(TCanvas& c, int x, int y, int size) {
    TRect r = Bounds(x + size / 8, y, size - size / 4, size);
    Fill(c, r, clWindow);
    c.Brush().SetColor(clBtnShadow);
    c.FrameRect(r);
    for (int ly = r.Top + 3; ly < r.Bottom - 2; ly += 3)
        Line(c, r.Left + 2, ly, r.Right - 2, ly, clBtnShadow);
}

void PaintListView(TListView& lv, TCanvas& c) {
    TRect outer = lv.ClientRect();
    DrawSunkenBorder(c, outer);
    Fill(c, outer, lv.Color());
    ClipScope clip(c, outer);
    TPoint saved = c.Origin();
    c.SetOrigin({saved.X + 2, saved.Y + 2});
    TRect area = Rect(0, 0, outer.Width(), outer.Height());
    TListItems* items = lv.Items();
    TCustomImageList* small = ImagesOf(lv.SmallImages());
    TCustomImageList* large = ImagesOf(lv.LargeImages());
    int th = c.TextHeight("Wg");
    bool hideSel = lv.HideSelection() && !lv.Focused();
    switch (lv.ViewStyle()) {
    case vsReport: {
        int header = lv.HeaderHeight();
        int left = 0;
        for (int i = 0; i < lv.Columns()->Count(); ++i) {
            TListColumn* col = lv.Columns()->Items(i);
            if (header > 0) {
                TRect h = Rect(left, 0, left + col->Width(), header);
                DrawButtonFace(c, h, false, false);
                c.Font().SetColor(lv.Font()->Color());
                DrawCaption(c, col->Caption(), InflateRect(h, -3, 0),
                            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS, true);
            }
            left += col->Width();
        }
        if (header > 0 && left < area.Right) {
            TRect rest = Rect(left, 0, area.Right, header);
            DrawButtonFace(c, rest, false, false);
        }
        int rowH = lv.RowHeight();
        for (int i = 0; i < items->Count(); ++i) {
            TRect row = lv.ItemRect(i);
            if (row.Bottom <= header) continue;
            if (row.Top >= area.Bottom) break;
            TListItem* item = items->Item(i);
            bool lit = item->Selected() && !hideSel;
            int x = 0;
            int columns = std::max(lv.Columns()->Count(), 1);
            for (int col = 0; col < columns; ++col) {
                int w = lv.Columns()->Count() ? lv.Columns()->Items(col)->Width() : area.Width();
                TRect cell = Rect(x, row.Top, x + w, row.Bottom);
                x += w;
                if (col == 0) {
                    if (lv.Checkboxes()) {
                        DrawCheckBox(c, cell.Left + 2, cell.Top + (rowH - 13) / 2, item->Checked() ? 1 : 0,
                                     true);
                        cell.Left += 17;
                    }
                    if (small && item->ImageIndex() >= 0) {
                        small->Draw(c, cell.Left + 1, cell.Top + (rowH - small->Height()) / 2,
                                    item->ImageIndex());
                        cell.Left += small->Width() + 2;
                    }
                }
                AnsiString text =
                    col == 0 ? item->Caption()
                             : (col - 1 < item->SubItems()->Count() ? item->SubItems()->Get(col - 1) : "");
                unsigned align = DT_LEFT;
                if (lv.Columns()->Count()) {
                    TAlignment a = lv.Columns()->Items(col)->Alignment();
                    align = a == taCenter ? DT_CENTER : a == taRightJustify ? DT_RIGHT : DT_LEFT;
                }
                bool cellLit = lit && (col == 0 || lv.RowSelect());
                PaintListItemText(c, lv, text, cell, DT_SINGLELINE | DT_VCENTER | align, cellLit);
            }
            if (lv.GridLines()) {
                Line(c, 0, row.Bottom - 1, x, row.Bottom - 1, clBtnFace);
                int gx = 0;
                for (int col = 0; col < lv.Columns()->Count(); ++col) {
                    gx += lv.Columns()->Items(col)->Width();
                    Line(c, gx - 1, row.Top, gx - 1, row.Bottom, clBtnFace);
                }
            }
            if (item == lv.ItemFocused() && lv.Focused()) c.DrawFocusRect(row);
        }
        break;
    }
    case vsIcon: {
        int iconSize = large ? large->Width() : 32, cellW = std::max(75, iconSize + 8);
        int cellH = (large ? large->Height() : 32) + 6 + 2 * th;
        int perRow = std::max(1, area.Width() / cellW);
        for (int i = 0; i < items->Count(); ++i) {
            TListItem* item = items->Item(i);
            int x = (i % perRow) * cellW, y = (i / perRow) * cellH + 2;
            if (y >= area.Bottom) break;
            if (large && item->ImageIndex() >= 0)
                large->Draw(c, x + (cellW - large->Width()) / 2, y, item->ImageIndex());
            else
                DrawItemIcon(c, x + (cellW - 32) / 2, y, 32);
            int ty = y + (large ? large->Height() : 32) + 2;
            TRect tr = Rect(x + 2, ty, x + cellW - 2, ty + 2 * th);
            TRect calc = tr;
            c.DrawText(item->Caption(), calc, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
            int tw = std::min(calc.Width() + 4, cellW - 2);
            TRect box =
                Rect(x + (cellW - tw) / 2, ty, x + (cellW + tw) / 2, ty + std::min(calc.Height(), 2 * th));
            bool lit = item->Selected() && !hideSel;
            if (lit) Fill(c, box, lv.Focused() ? clHighlight : clBtnFace);
            c.Brush().SetStyle(bsClear);
            c.Font().SetColor(lit && lv.Focused() ? clHighlightText : lv.Font()->Color());
            c.DrawText(item->Caption(), box, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS);
            c.Font().SetColor(lv.Font()->Color());
            if (item == lv.ItemFocused() && lv.Focused()) c.DrawFocusRect(box);
        }
        break;
    }
    case vsSmallIcon:
    case vsList: {
        int iconW = small ? small->Width() : 16;
        int rowH = std::max(small ? small->Height() : 16, th) + 2;
        int widest = 0;
        for (int i = 0; i < items->Count(); ++i)
            widest = std::max(widest, c.TextWidth(items->Item(i)->Caption()));
        int cellW = iconW + 4 + widest + 8;
        bool list = lv.ViewStyle() == vsList;
        int perCol = std::max(1, area.Height() / rowH), perRow = std::max(1, area.Width() / cellW);
        for (int i = 0; i < items->Count(); ++i) {
            TListItem* item = items->Item(i);
            int x = list ? (i / perCol) * cellW : (i % perRow) * cellW;
            int y = list ? (i % perCol) * rowH : (i / perRow) * rowH;
            if (x >= area.Right || y >= area.Bottom) continue;
            if (small && item->ImageIndex() >= 0)
                small->Draw(c, x + 1, y + (rowH - small->Height()) / 2, item->ImageIndex());
            else
                DrawItemIcon(c, x + 1, y + 1, 16 > rowH - 2 ? rowH - 2 : 16);
            int tw = c.TextWidth(item->Caption()) + 4;
            TRect tr = Rect(x + iconW + 3, y, x + iconW + 3 + tw, y + rowH);
            PaintListItemText(c, lv, item->Caption(), tr, DT_SINGLELINE | DT_VCENTER,
                              item->Selected() && !hideSel);
            if (item == lv.ItemFocused() && lv.Focused()) c.DrawFocusRect(tr);
        }
        break;
    }
    }
}

void PaintGrid(TDrawGrid& g, TCanvas& c) {
    TRect outer = g.ClientRect();
    DrawSunkenBorder(c, outer);
    {
        InnerScope inner(c, outer);
        g.PaintTo(c);
        c.Font().SetColor(g.Font()->Color());
        TGridOptions o = g.Options();
        int lw = g.GridLineWidth();
        for (int row = 0; row < g.RowCount(); ++row) {
            for (int col = 0; col < g.ColCount(); ++col) {
                TRect r = g.CellRect(col, row);
                if (r.IsEmpty() || r.Left >= outer.Width() || r.Top >= outer.Height()) continue;
                bool fixed = col < g.FixedCols() || row < g.FixedRows();
                if (fixed) {
                    TRect f = r;
                    Frame3D(c, f, clBtnHighlight, clBtnShadow);
                }
                if (lw <= 0) continue;
                TColor color = fixed ? cl3DDkShadow : clBtnFace;
                bool vert = fixed ? o.Contains(goFixedVertLine) : o.Contains(goVertLine);
                bool horz = fixed ? o.Contains(goFixedHorzLine) : o.Contains(goHorzLine);
                if (vert) Fill(c, Rect(r.Right, r.Top, r.Right + lw, r.Bottom + lw), color);
                if (horz) Fill(c, Rect(r.Left, r.Bottom, r.Right + lw, r.Bottom + lw), color);
            }
        }
    }
}

} // namespace

// ---- primitives

void Frame3D(TCanvas& c, TRect& r, TColor topLeft, TColor bottomRight) {
    if (r.IsEmpty()) return;
    c.Pen().SetStyle(psSolid);
    c.Pen().SetWidth(1);
    c.Pen().SetMode(pmCopy);
    c.Pen().SetColor(topLeft);
    c.MoveTo(r.Left, r.Bottom - 1);
    c.LineTo(r.Left, r.Top);
    c.LineTo(r.Right - 1, r.Top);
    c.Pen().SetColor(bottomRight);
    c.LineTo(r.Right - 1, r.Bottom - 1);
    c.LineTo(r.Left - 1, r.Bottom - 1);
    r = InflateRect(r, -1, -1);
}

void DrawButtonFace(TCanvas& c, TRect& r, bool pressed, bool isDefault, bool flat) {
    if (isDefault) {
        c.Brush().SetStyle(bsSolid);
        c.Brush().SetColor(cl3DDkShadow);
        c.FrameRect(r);
        r = InflateRect(r, -1, -1);
    }
    if (flat) {
        if (pressed) Frame3D(c, r, clBtnShadow, clBtnHighlight);
    } else if (pressed) {
        if (isDefault) {
            c.Brush().SetColor(clBtnShadow);
            c.FrameRect(r);
            r = InflateRect(r, -1, -1);
        } else {
            Frame3D(c, r, cl3DDkShadow, clBtnHighlight);
            Frame3D(c, r, clBtnShadow, cl3DLight);
        }
    } else {
        Frame3D(c, r, clBtnHighlight, cl3DDkShadow);
        Frame3D(c, r, cl3DLight, clBtnShadow);
    }
    Fill(c, r, clBtnFace);
}

void DrawSunkenBorder(TCanvas& c, TRect& r) {
    Frame3D(c, r, clBtnShadow, clBtnHighlight);
    Frame3D(c, r, cl3DDkShadow, cl3DLight);
}

void DrawRaisedBorder(TCanvas& c, TRect& r) {
    Frame3D(c, r, clBtnHighlight, cl3DDkShadow);
    Frame3D(c, r, cl3DLight, clBtnShadow);
}

void DrawCaption(TCanvas& c, const AnsiString& text, TRect rect, unsigned flags, bool enabled) {
    if (text.empty()) return;
    TColor saved = c.Font().Color();
    c.Brush().SetStyle(bsClear);
    if (!enabled) {
        TRect shadow = OffsetRect(rect, 1, 1);
        c.Font().SetColor(clBtnHighlight);
        c.DrawText(text, shadow, flags);
        c.Font().SetColor(clGrayText);
    }
    c.DrawText(text, rect, flags);
    c.Font().SetColor(saved);
}

void DrawCheckBox(TCanvas& c, int x, int y, int state, bool enabled) {
    TRect r = Bounds(x, y, 13, 13);
    DrawSunkenBorder(c, r);
    Fill(c, r, enabled && state != cbGrayed ? clWindow : clBtnFace);
    if (state == cbUnchecked) return;
    TColor mark = enabled && state == cbChecked ? clWindowText : clBtnShadow;
    static const int tops[] = {3, 4, 5, 4, 3, 2, 1};
    for (int i = 0; i < 7; ++i)
        for (int k = 0; k < 3; ++k) c.SetPixel(r.Left + 1 + i, r.Top + tops[i] + k, mark);
}

void DrawRadioButton(TCanvas& c, int x, int y, bool checked, bool enabled) {
    // S shadow, D dark shadow, H highlight, L light, W the inside.
    static const char* const rows[12] = {
        "....SSSS....", "..SSDDDDSS..", ".SDDWWWWWWH.", ".SDWWWWWWWLH", "SDWWWWWWWWLH", "SDWWWWWWWWLH",
        "SDWWWWWWWWLH", "SDWWWWWWWWLH", ".SDWWWWWWWLH", ".SLLWWWWWLLH", "..HHLLLLHH..", "....HHHH....",
    };
    for (int row = 0; row < 12; ++row) {
        for (int col = 0; col < 12; ++col) {
            TColor color;
            switch (rows[row][col]) {
            case 'S': color = clBtnShadow; break;
            case 'D': color = cl3DDkShadow; break;
            case 'H': color = clBtnHighlight; break;
            case 'L': color = cl3DLight; break;
            case 'W': color = enabled ? clWindow : clBtnFace; break;
            default: continue;
            }
            c.SetPixel(x + col, y + row, color);
        }
    }
    if (!checked) return;
    TColor dot = enabled ? clWindowText : clBtnShadow;
    for (int row = 4; row < 8; ++row)
        for (int col = 4; col < 8; ++col)
            if (!((row == 4 || row == 7) && (col == 4 || col == 7))) c.SetPixel(x + col, y + row, dot);
}

void DrawDownArrow(TCanvas& c, const TRect& r, TColor color) {
    int cx = r.Left + r.Width() / 2, cy = r.Top + (r.Height() - 4) / 2;
    for (int i = 0; i < 4; ++i) Line(c, cx - 3 + i, cy + i, cx + 4 - i, cy + i, color);
}

void DrawUpArrow(TCanvas& c, const TRect& r, TColor color) {
    int cx = r.Left + r.Width() / 2, cy = r.Top + (r.Height() - 4) / 2;
    for (int i = 0; i < 4; ++i) Line(c, cx - i, cy + i, cx + 1 + i, cy + i, color);
}

void DrawRightArrow(TCanvas& c, const TRect& r, TColor color) {
    int cx = r.Left + (r.Width() - 4) / 2, cy = r.Top + r.Height() / 2;
    for (int i = 0; i < 4; ++i) Line(c, cx + i, cy - 3 + i, cx + i, cy + 4 - i, color);
}

TPaintState& PaintState() {
    static TPaintState state;
    return state;
}

// ---- controls and forms

void PaintControl(TControl& control, TCanvas& c) {
    ResetTools(c, control);
    if (auto* f = dynamic_cast<TCustomForm*>(&control)) return PaintForm(*f, c);
    if (auto* pc = dynamic_cast<TPageControl*>(&control)) return PaintPageControl(*pc, c);
    if (auto* g = dynamic_cast<TDrawGrid*>(&control)) return PaintGrid(*g, c);
    if (auto* lv = dynamic_cast<TListView*>(&control)) return PaintListView(*lv, c);
    if (auto* tv = dynamic_cast<TTreeView*>(&control)) return PaintTreeView(*tv, c);
    if (auto* ts = dynamic_cast<TTabSet*>(&control)) return PaintTabSet(*ts, c);
    if (auto* sb = dynamic_cast<TStatusBar*>(&control)) return PaintStatusBar(*sb, c);
    if (auto* tb = dynamic_cast<TToolButton*>(&control)) return PaintToolButton(*tb, c);
    if (auto* sp = dynamic_cast<TSpeedButton*>(&control)) return PaintSpeedButton(*sp, c);
    if (auto* l = dynamic_cast<TLabel*>(&control)) return PaintLabel(*l, c);
    if (auto* gb = dynamic_cast<TGroupBox*>(&control)) return PaintGroupBox(*gb, c);
    if (auto* p = dynamic_cast<TPanel*>(&control)) return PaintPanel(*p, c);
    if (auto* cb = dynamic_cast<TCustomComboBox*>(&control)) return PaintComboBox(*cb, c);
    if (auto* m = dynamic_cast<TCustomMemo*>(&control)) return PaintMemo(*m, c);
    if (auto* e = dynamic_cast<TCustomEdit*>(&control)) return PaintEdit(*e, c);
    if (auto* b = dynamic_cast<TButton*>(&control)) return PaintButton(*b, c);
    if (auto* cb = dynamic_cast<TCheckBox*>(&control)) {
        return PaintCheckLike(*cb, c, cb->Alignment(), 13, [&](int x, int y) {
            DrawCheckBox(c, x, y, static_cast<int>(cb->State()), cb->Enabled());
        });
    }
    if (auto* rb = dynamic_cast<TRadioButton*>(&control)) {
        return PaintCheckLike(*rb, c, rb->Alignment(), 12,
                              [&](int x, int y) { DrawRadioButton(c, x, y, rb->Checked(), rb->Enabled()); });
    }
    // Other custom controls paint themselves.
    if (auto* cc = dynamic_cast<TCustomControl*>(&control)) return cc->PaintTo(c);
    if (auto* gc = dynamic_cast<TGraphicControl*>(&control)) return gc->PaintTo(c);
    if (auto* w = dynamic_cast<TWinControl*>(&control)) return PaintPlain(*w, c);
}

TRect SpinButtonRect(const TControl& spin, bool up) {
    int w = 15, top = 2, bottom = std::max(top + 2, spin.Height() - 2), mid = (top + bottom) / 2;
    int right = spin.Width() - 2;
    return up ? Rect(right - w, top, right, mid) : Rect(right - w, mid, right, bottom);
}

TRect ComboButtonRect(const TControl& combo) {
    return Rect(combo.Width() - 2 - 17, 2, combo.Width() - 2, combo.Height() - 2);
}

TRect DisplayBounds(const TControl& child) {
    if (dynamic_cast<const TTabSheet*>(&child))
        if (auto* pc = dynamic_cast<TPageControl*>(child.Parent())) return pc->DisplayRect();
    return child.BoundsRect();
}

void PaintControlTree(TControl& control, TCanvas& c, TPoint origin, const TRect& deviceClip) {
    TRect own = dynamic_cast<TCustomForm*>(&control) ? control.ClientRect()
                                                     : Rect(0, 0, control.Width(), control.Height());
    if (dynamic_cast<TTabSheet*>(&control))
        own = Rect(0, 0, DisplayBounds(control).Width(), DisplayBounds(control).Height());
    TRect clip = IntersectRect(OffsetRect(own, origin.X, origin.Y), deviceClip);
    if (clip.IsEmpty()) return;
    c.SetOrigin(origin);
    c.SetClipRect(OffsetRect(clip, -origin.X, -origin.Y));
    PaintControl(control, c);
    auto* w = dynamic_cast<TWinControl*>(&control);
    if (!w) return;
    // Controls without windows lie under the windowed ones.
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < w->ControlCount(); ++i) {
            TControl* child = w->Controls(i);
            bool windowed = dynamic_cast<TWinControl*>(child) != nullptr;
            if (windowed != (pass == 1) || !child->Visible()) continue;
            TRect at = DisplayBounds(*child);
            PaintControlTree(*child, c, {origin.X + at.Left, origin.Y + at.Top}, clip);
        }
    }
}

void PaintFormClient(TCustomForm& form, TBitmap& target) {
    TRect client = form.ClientRect();
    target.SetSize(std::max(1, client.Width()), std::max(1, client.Height()));
    TCanvas& c = target.Canvas();
    PaintControlTree(form, c, {0, 0}, Rect(0, 0, target.Width(), target.Height()));
    c.SetOrigin({0, 0});
    c.ResetClip();
}

void PaintFormWindow(TCustomForm& form, TBitmap& target, bool active) {
    int w = std::max(1, form.Width()), h = std::max(1, form.Height());
    target.SetSize(w, h);
    TCanvas& c = target.Canvas();
    c.SetOrigin({0, 0});
    c.ResetClip();
    TRect client = form.ClientRect();
    int frame = (w - client.Width()) / 2;
    int captionH = h - client.Height() - 2 * frame;
    TRect r = Rect(0, 0, w, h);
    Fill(c, r, clBtnFace);
    if (frame > 0) {
        Frame3D(c, r, cl3DLight, cl3DDkShadow);
        if (frame > 1) Frame3D(c, r, clBtnHighlight, clBtnShadow);
    }
    if (captionH > 1) {
        TRect bar = Rect(frame, frame, w - frame, frame + captionH - 1);
        TColor from = ColorToRGB(active ? clActiveCaption : clInactiveCaption);
        TColor to = active ? RGB(166, 202, 240) : RGB(192, 192, 192);
        for (int x = bar.Left; x < bar.Right; ++x) {
            int t = bar.Width() > 1 ? (x - bar.Left) * 255 / (bar.Width() - 1) : 0;
            auto mix = [&](int a, int b) { return a + (b - a) * t / 255; };
            Line(c, x, bar.Top, x, bar.Bottom,
                 RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)),
                     mix(GetBValue(from), GetBValue(to))));
        }
        // Close, maximise and minimise boxes.
        int bh = bar.Height() - 4, bw = bh + 2, bx = bar.Right - 2 - bw;
        int boxes = form.BorderIcons().Contains(biSystemMenu) ? 1 : 0;
        if (boxes && form.BorderStyle() != bsDialog && form.BorderStyle() != bsToolWindow &&
            form.BorderStyle() != bsSizeToolWin) {
            if (form.BorderIcons().Contains(biMaximize)) ++boxes;
            if (form.BorderIcons().Contains(biMinimize)) ++boxes;
            if (boxes == 2) boxes = 3;
        }
        for (int i = 0; i < boxes; ++i) {
            TRect b = Bounds(bx, bar.Top + 2, bw, bh);
            DrawButtonFace(c, b, false, false);
            int cx = b.Left + b.Width() / 2, cy = b.Top + b.Height() / 2;
            if (i == 0) {
                for (int d = -3; d <= 3; ++d) {
                    c.SetPixel(cx + d, cy + d, clBtnText), c.SetPixel(cx + d - 1, cy + d, clBtnText);
                    c.SetPixel(cx - d, cy + d, clBtnText), c.SetPixel(cx - d - 1, cy + d, clBtnText);
                }
                bx -= 2;
            } else if (i == 1) {
                c.Brush().SetColor(clBtnText);
                c.FrameRect(Rect(cx - 4, cy - 4, cx + 4, cy + 3));
                Line(c, cx - 4, cy - 3, cx + 4, cy - 3, clBtnText);
            } else {
                Line(c, cx - 3, cy + 2, cx + 3, cy + 2, clBtnText);
                Line(c, cx - 3, cy + 3, cx + 3, cy + 3, clBtnText);
            }
            bx -= bw;
        }
        c.SetFont(*form.Font());
        c.Font().SetStyle(TFontStyles{fsBold});
        c.Font().SetColor(active ? clCaptionText : clInactiveCaptionText);
        c.Brush().SetStyle(bsClear);
        TRect tr = Rect(bar.Left + 4, bar.Top, bx, bar.Bottom);
        c.DrawText(form.Caption(), tr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    TPoint origin{frame, frame + captionH};
    PaintControlTree(form, c, origin, Bounds(origin.X, origin.Y, client.Width(), client.Height()));
    c.SetOrigin({0, 0});
    c.ResetClip();
}

// ---- menus

namespace {
constexpr int kMenuGutter = 20;
constexpr int kSeparatorHeight = 9;

AnsiString KeyName(Word key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return AnsiString(1, static_cast<char>(key));
    if (key >= VK_F1 && key <= VK_F1 + 11) return "F" + std::to_string(key - VK_F1 + 1);
    switch (key) {
    case VK_BACK: return "BkSp";
    case VK_TAB: return "Tab";
    case VK_RETURN: return "Enter";
    case VK_ESCAPE: return "Esc";
    case VK_SPACE: return "Space";
    case VK_PRIOR: return "PgUp";
    case VK_NEXT: return "PgDn";
    case VK_END: return "End";
    case VK_HOME: return "Home";
    case VK_LEFT: return "Left";
    case VK_UP: return "Up";
    case VK_RIGHT: return "Right";
    case VK_DOWN: return "Down";
    case VK_INSERT: return "Ins";
    case VK_DELETE: return "Del";
    default: return "";
    }
}
} // namespace

AnsiString ShortCutToText(Word shortCut) {
    AnsiString name = KeyName(shortCut & 0xFF);
    if (name.empty()) return "";
    AnsiString prefix;
    if (shortCut & 0x2000) prefix += "Shift+";
    if (shortCut & 0x4000) prefix += "Ctrl+";
    if (shortCut & 0x8000) prefix += "Alt+";
    return prefix + name;
}

int TMenuLayout::ItemAt(TPoint p, const TMenuItem& parent) const {
    for (std::size_t i = 0; i < Rects.size(); ++i)
        if (Rects[i].Contains(p)) return parent.Items(Items[i])->IsLine() ? -1 : static_cast<int>(i);
    return -1;
}

TMenuLayout LayoutMenu(const TMenuItem& parent, TCanvas& measure) {
    TMenuLayout layout;
    int th = measure.TextHeight("Wg");
    int itemH = std::max(th + 6, 18);
    int textW = 0, keyW = 0, y = 2;
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem* item = parent.Items(i);
        if (!item->Visible()) continue;
        int h = item->IsLine() ? kSeparatorHeight : itemH;
        layout.Items.push_back(i);
        layout.Rects.push_back(Rect(2, y, 0, y + h));
        y += h;
        if (item->IsLine()) continue;
        textW = std::max(textW, measure.TextWidth(StripAccel(item->Caption())));
        AnsiString key = ShortCutToText(item->ShortCutKey());
        if (!key.empty()) keyW = std::max(keyW, measure.TextWidth(key));
    }
    int width = kMenuGutter + textW + (keyW ? 24 + keyW : 0) + 24;
    for (TRect& r : layout.Rects) r.Right = 2 + width;
    layout.Size = {width + 4, y + 2};
    return layout;
}

void PaintMenu(const TMenuItem& parent, const TMenuLayout& layout, TCanvas& c, int highlighted) {
    TRect r = Rect(0, 0, layout.Size.cx, layout.Size.cy);
    c.Pen().SetMode(pmCopy);
    Fill(c, r, clMenu);
    DrawRaisedBorder(c, r);
    TColor textColor = c.Font().Color();
    for (std::size_t i = 0; i < layout.Items.size(); ++i) {
        const TMenuItem* item = parent.Items(layout.Items[i]);
        TRect ir = layout.Rects[i];
        if (item->IsLine()) {
            int y = ir.Top + ir.Height() / 2 - 1;
            Line(c, ir.Left + 1, y, ir.Right - 1, y, clBtnShadow);
            Line(c, ir.Left + 1, y + 1, ir.Right - 1, y + 1, clBtnHighlight);
            continue;
        }
        bool lit = static_cast<int>(i) == highlighted;
        bool enabled = item->Enabled();
        if (lit) Fill(c, ir, clHighlight);
        TColor fg = lit && enabled ? clHighlightText : lit ? clGrayText : clMenuText;
        c.Font().SetColor(fg);
        c.Font().SetStyle(item->Default() ? TFontStyles{fsBold} : TFontStyles{});
        if (item->Checked()) {
            TRect mark = Rect(ir.Left, ir.Top, ir.Left + kMenuGutter, ir.Bottom);
            int cx = mark.Left + mark.Width() / 2, cy = mark.Top + mark.Height() / 2;
            if (item->RadioItem()) {
                c.Brush().SetColor(fg);
                c.Pen().SetColor(fg);
                c.Ellipse(cx - 3, cy - 3, cx + 3, cy + 3);
            } else {
                static const int tops[] = {2, 3, 4, 3, 2, 1, 0};
                for (int k = 0; k < 7; ++k)
                    for (int d = 0; d < 3; ++d) c.SetPixel(cx - 3 + k, cy - 3 + tops[k] + d, fg);
            }
        }
        TRect tr = Rect(ir.Left + kMenuGutter, ir.Top, ir.Right - 16, ir.Bottom);
        bool embossed = !enabled && !lit;
        DrawCaption(c, item->Caption(), tr, DT_SINGLELINE | DT_VCENTER | DT_LEFT, !embossed);
        AnsiString key = ShortCutToText(item->ShortCutKey());
        if (!key.empty())
            DrawCaption(c, key, tr, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX, !embossed);
        if (item->Count() > 0)
            DrawRightArrow(c, Rect(ir.Right - 14, ir.Top, ir.Right - 4, ir.Bottom),
                           enabled ? fg : clGrayText);
    }
    c.Font().SetColor(textColor);
    c.Font().SetStyle({});
}

} // namespace qz
