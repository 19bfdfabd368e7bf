#include "platform/gfx/Canvas.h"
#include "platform/core/CodePages.h"
#include <climits>

namespace qz {

// ---- pen and brush

void TPen::SetColor(TColor value) {
    if (value == color_) return;
    color_ = value;
    Changed();
}

void TPen::SetWidth(int value) {
    if (value < 1) value = 1;
    if (value == width_) return;
    width_ = value;
    Changed();
}

void TPen::SetStyle(TPenStyle value) {
    if (value == style_) return;
    style_ = value;
    Changed();
}

void TPen::SetMode(TPenMode value) {
    if (value == mode_) return;
    mode_ = value;
    Changed();
}

void TPen::Assign(const TPen& source) {
    if (&source == this) return;
    color_ = source.color_;
    width_ = source.width_;
    style_ = source.style_;
    mode_ = source.mode_;
    Changed();
}

void TBrush::SetColor(TColor value) {
    if (value == color_ && style_ != bsClear) return;
    color_ = value;
    if (style_ == bsClear) style_ = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle value) {
    if (value == style_) return;
    style_ = value;
    Changed();
}

void TBrush::Assign(const TBrush& source) {
    if (&source == this) return;
    color_ = source.color_;
    style_ = source.style_;
    Changed();
}

// ---- raster operations

std::uint32_t ApplyRop3(TCopyMode rop, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
    if (rop == ROP_DSPDxax) s = ~s; // black marks
    unsigned table = (rop >> 16) & 0xFF;
    std::uint32_t result = 0;
    for (unsigned i = 0; i < 8; ++i) {
        if (!(table & (1u << i))) continue;
        std::uint32_t term = (i & 4) ? p : ~p;
        term &= (i & 2) ? s : ~s;
        term &= (i & 1) ? d : ~d;
        result |= term;
    }
    return 0xFF000000u | (result & 0xFFFFFF);
}

// ---- canvas

TCanvas::TCanvas() = default;
TCanvas::~TCanvas() = default;

TRect TCanvas::ClipRect() const {
    if (clipped_) return clip_;
    return {INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2};
}

void TCanvas::SetClipRect(const TRect& value) {
    clip_ = value;
    clipped_ = true;
}

void TCanvas::TextOut(int x, int y, const AnsiString& text) {
    DoTextOut(x, y, text);
    penPos_ = {x + TextWidth(text), y};
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect) {
    if (TBitmap* surface = source.Surface())
        CopyBitmap(dest, *surface, OffsetRect(sourceRect, source.origin_.X, source.origin_.Y), copyMode_);
}

namespace {

struct PrefixedText {
    AnsiString text;
    int underline = -1;
};

// Removes accelerator prefixes: "&&" is one "&", "&x" underlines x.
PrefixedText StripPrefix(const AnsiString& s) {
    PrefixedText r;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&' && i + 1 < s.size()) {
            ++i;
            if (s[i] != '&') r.underline = static_cast<int>(r.text.size());
        } else if (s[i] == '&') {
            continue; // a prefix at the very end marks nothing
        }
        r.text += s[i];
    }
    return r;
}

AnsiString ExpandTabs(const AnsiString& s) {
    AnsiString r;
    for (char c : s) {
        if (c == '\t') {
            do r += ' ';
            while (r.size() % 8 != 0);
        } else {
            r += c;
        }
    }
    return r;
}

// Length in bytes of the character starting at i.
std::size_t CharLen(const AnsiString& s, std::size_t i, int codePage) {
    if (i + 1 < s.size() && IsDBCSLeadByte(static_cast<unsigned char>(s[i]), codePage)) return 2;
    return 1;
}

} // namespace

TTextBlock TCanvas::LayoutText(const AnsiString& text, const TRect& rect, unsigned flags) {
    TTextBlock layout;
    const int codePage = font_.CodePage();
    const int lineHeight = TextExtent("").cy;
    const bool single = flags & DT_SINGLELINE;

    // Paragraphs.
    std::vector<AnsiString> paragraphs;
    if (single) {
        paragraphs.push_back(text);
    } else {
        AnsiString cur;
        for (std::size_t i = 0; i < text.size(); ++i) {
            char c = text[i];
            if (c == '\r' || c == '\n') {
                paragraphs.push_back(cur);
                cur.clear();
                if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            } else {
                cur += c;
            }
        }
        if (!cur.empty() || paragraphs.empty()) paragraphs.push_back(cur);
    }
    if (text.empty()) paragraphs.clear();

    const int maxWidth = rect.Width();
    for (const AnsiString& para : paragraphs) {
        PrefixedText p = (flags & DT_NOPREFIX) ? PrefixedText{para, -1} : StripPrefix(para);
        if (flags & DT_EXPANDTABS) p.text = ExpandTabs(p.text);
        if (!(flags & DT_WORDBREAK) || single) {
            layout.Lines.push_back({p.text, 0, 0, 0, p.underline});
            continue;
        }
        // Word wrap: lines break between words and around double-byte characters; a word wider than
        // the rectangle stays whole; blanks at a break are dropped.
        struct Unit {
            std::size_t begin, end;
            bool blank, wide;
        };
        std::vector<Unit> units;
        for (std::size_t i = 0; i < p.text.size();) {
            std::size_t len = CharLen(p.text, i, codePage);
            bool blank = p.text[i] == ' ', wide = len == 2;
            if (!wide && !units.empty() && !units.back().wide && units.back().blank == blank)
                units.back().end = i + len;
            else
                units.push_back({i, i + len, blank, wide});
            i += len;
        }
        auto emit = [&](std::size_t begin, std::size_t end) {
            while (end > begin && p.text[end - 1] == ' ') --end;
            int ul = (p.underline >= static_cast<int>(begin) && p.underline < static_cast<int>(end))
                         ? p.underline - static_cast<int>(begin)
                         : -1;
            layout.Lines.push_back({p.text.substr(begin, end - begin), 0, 0, 0, ul});
        };
        std::size_t lineBegin = 0;
        bool hasWord = false;
        for (const Unit& u : units) {
            if (u.blank) continue;
            if (hasWord && TextWidth(p.text.substr(lineBegin, u.end - lineBegin)) > maxWidth) {
                emit(lineBegin, u.begin);
                lineBegin = u.begin;
            }
            hasWord = true;
        }
        emit(lineBegin, p.text.size());
    }

    // Ellipsis and widths.
    int widest = 0;
    for (TTextLine& line : layout.Lines) {
        line.Width = TextWidth(line.Text);
        if ((flags & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS)) && line.Width > maxWidth) {
            std::vector<std::size_t> bounds; // character starts
            for (std::size_t i = 0; i < line.Text.size(); i += CharLen(line.Text, i, codePage))
                bounds.push_back(i);
            AnsiString cut = "...";
            for (std::size_t k = bounds.size(); k-- > 0;) {
                AnsiString candidate = line.Text.substr(0, bounds[k]) + "...";
                if (TextWidth(candidate) <= maxWidth || k == 0) {
                    cut = candidate;
                    break;
                }
            }
            line.Text = cut;
            if (line.Underline >= static_cast<int>(cut.size()) - 3) line.Underline = -1;
            line.Width = TextWidth(line.Text);
        }
        widest = std::max(widest, line.Width);
    }

    layout.Height = static_cast<int>(layout.Lines.size()) * lineHeight;
    int y = rect.Top;
    if (single && (flags & DT_VCENTER))
        y = rect.Top + (rect.Height() - lineHeight) / 2;
    else if (single && (flags & DT_BOTTOM))
        y = rect.Bottom - lineHeight;
    for (TTextLine& line : layout.Lines) {
        if (flags & DT_CENTER)
            line.X = rect.Left + (rect.Width() - line.Width) / 2;
        else if (flags & DT_RIGHT)
            line.X = rect.Right - line.Width;
        else
            line.X = rect.Left;
        line.Y = y;
        y += lineHeight;
    }
    layout.Bounds = {rect.Left, rect.Top, rect.Left + widest, rect.Top + layout.Height};
    return layout;
}

int TCanvas::DrawText(const AnsiString& text, TRect& rect, unsigned flags) {
    TTextBlock layout = LayoutText(text, rect, flags);
    if (flags & DT_CALCRECT) {
        rect.Right = layout.Bounds.Right;
        rect.Bottom = layout.Bounds.Bottom;
        return layout.Height;
    }
    DoDrawText(text, rect, flags, layout);
    return layout.Height;
}

void TCanvas::DoDrawText(const AnsiString&, const TRect& rect, unsigned flags, const TTextBlock& layout) {
    for (const TTextLine& line : layout.Lines) DrawTextLine(line, (flags & DT_NOCLIP) ? nullptr : &rect);
}

} // namespace qz
