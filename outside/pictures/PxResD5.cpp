#include "outside/pictures/PxResD5.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include <algorithm>
#include <cmath>
#include <vector>

namespace qz {

namespace {

constexpr TColor kBack = clOlive; // transparent background

// Draws on a 16 x 16 design grid scaled to the image size, the image starting at x offset left.
class Painter {
public:
    Painter(TCanvas& canvas, int left, int size) : c_(canvas), left_(left), size_(size) {}

    int X(double v) const { return left_ + static_cast<int>(std::lround(v * size_ / 16.0)); }
    int Y(double v) const { return static_cast<int>(std::lround(v * size_ / 16.0)); }

    void Fill(double x1, double y1, double x2, double y2, TColor color) {
        c_.Brush().SetStyle(bsSolid);
        c_.Brush().SetColor(color);
        c_.FillRect(Rect(X(x1), Y(y1), X(x2), Y(y2)));
    }
    void Box(double x1, double y1, double x2, double y2, TColor pen, TColor brush) {
        Tools(pen, brush);
        c_.Rectangle(X(x1), Y(y1), X(x2), Y(y2));
    }
    void Oval(double x1, double y1, double x2, double y2, TColor pen, TColor brush) {
        Tools(pen, brush);
        c_.Ellipse(X(x1), Y(y1), X(x2), Y(y2));
    }
    void Poly(std::initializer_list<TPoint> points, TColor pen, TColor brush) {
        Tools(pen, brush);
        std::vector<TPoint> pts;
        for (TPoint p : points) pts.push_back({X(p.X), Y(p.Y)});
        c_.Polygon(pts);
        if (pen != clNone) {
            pts.push_back(pts.front());
            c_.Polyline(pts);
        }
    }
    void Line(double x1, double y1, double x2, double y2, TColor color, int width = 1) {
        c_.Pen().SetStyle(psSolid);
        c_.Pen().SetColor(color);
        c_.Pen().SetWidth(std::max(1, static_cast<int>(std::lround(width * size_ / 16.0))));
        c_.MoveTo(X(x1), Y(y1));
        c_.LineTo(X(x2), Y(y2));
        c_.Pen().SetWidth(1);
    }

private:
    void Tools(TColor pen, TColor brush) {
        c_.Pen().SetWidth(1);
        c_.Pen().SetStyle(pen == clNone ? psClear : psSolid);
        if (pen != clNone) c_.Pen().SetColor(pen);
        c_.Brush().SetStyle(brush == clNone ? bsClear : bsSolid);
        if (brush != clNone) c_.Brush().SetColor(brush);
    }

    TCanvas& c_;
    int left_;
    int size_;
};

// The colours of an image: its own, or greys for the disabled image.
struct Tones {
    bool disabled = false;
    TColor operator()(TColor color) const {
        if (!disabled) return color;
        return color == clWhite || color == clYellow || color == clAqua ? clSilver : clGray;
    }
};

void DrawLookup(Painter& p, Tones t) {
    p.Line(10, 10, 14, 14, t(clMaroon), 3);
    p.Oval(1, 1, 11, 11, t(clNavy), t(clAqua));
    p.Fill(3, 3, 5, 5, t(clWhite));
}

void DrawDatePicker(Painter& p, Tones t) {
    p.Box(1, 2, 15, 15, t(clBlack), t(clWhite));
    p.Fill(2, 3, 14, 6, t(clRed));
    p.Line(4, 1, 4, 4, t(clBlack));
    p.Line(11, 1, 11, 4, t(clBlack));
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 4; ++col) {
            double x = 3 + col * 2.8, y = 8 + row * 3;
            p.Fill(x, y, x + 2, y + 2, row == 1 && col == 2 ? t(clBlue) : t(clGray));
        }
}

void DrawDeleteRow(Painter& p, Tones t) {
    for (int row = 0; row < 3; ++row) p.Fill(1, 2 + row * 4, 10, 4 + row * 4, t(clGray));
    p.Line(7, 6, 14, 13, t(clRed), 2);
    p.Line(14, 6, 7, 13, t(clRed), 2);
}

void DrawClearList(Painter& p, Tones t) {
    p.Box(2, 1, 12, 15, t(clBlack), t(clWhite));
    for (int row = 0; row < 4; ++row) p.Fill(4, 3 + row * 3, 10, 4 + row * 3, t(clNavy));
    p.Line(3, 4, 14, 14, t(clRed), 2);
    p.Line(14, 4, 3, 14, t(clRed), 2);
}

void DrawNotifyUsers(Painter& p, Tones t) {
    p.Oval(9, 2, 14, 7, t(clBlack), t(clYellow));
    p.Poly({{8, 14}, {8, 10}, {10, 8}, {13, 8}, {15, 10}, {15, 14}}, t(clBlack), t(clGreen));
    p.Oval(2, 3, 7, 8, t(clBlack), t(clYellow));
    p.Poly({{1, 14}, {1, 11}, {3, 9}, {6, 9}, {8, 11}, {8, 14}}, t(clBlack), t(clBlue));
}

void DrawNoteLookup(Painter& p, Tones t) {
    p.Box(1, 1, 11, 15, t(clBlack), t(clWhite));
    for (int row = 0; row < 4; ++row) p.Fill(3, 3 + row * 2.5, 9, 4 + row * 2.5, t(clGray));
    p.Line(11, 12, 15, 15, t(clMaroon), 2);
    p.Oval(7, 7, 13, 13, t(clNavy), t(clAqua));
}

void DrawPlan(Painter& p, Tones t) {
    p.Box(2, 2, 13, 15, t(clMaroon), t(clTeal));
    p.Box(4, 3, 12, 14, t(clGray), t(clWhite));
    p.Fill(6, 1, 10, 4, t(clGray));
    for (int row = 0; row < 3; ++row) p.Fill(5, 6 + row * 2.5, 11, 7 + row * 2.5, t(clNavy));
}

void DrawSave(Painter& p, Tones t) {
    p.Box(1, 1, 15, 15, t(clBlack), t(clNavy));
    p.Fill(4, 2, 12, 8, t(clWhite));
    p.Fill(5, 10, 11, 15, t(clSilver));
    p.Fill(9, 11, 10, 14, t(clNavy));
}

void DrawOpen(Painter& p, Tones t) {
    p.Poly({{1, 3}, {5, 3}, {6, 4}, {12, 4}, {12, 14}, {1, 14}}, t(clBlack), t(clTeal));
    p.Poly({{3, 7}, {15, 7}, {12, 14}, {1, 14}}, t(clBlack), t(clYellow));
}

void DrawDelete(Painter& p, Tones t) {
    p.Line(3, 3, 13, 13, t(clRed), 3);
    p.Line(13, 3, 3, 13, t(clRed), 3);
}

void DrawView(Painter& p, Tones t) {
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 2; ++col) {
            double x = 2 + col * 7, y = 2 + row * 7;
            p.Box(x, y, x + 5, y + 5, t(clNavy), t(row == col ? clAqua : clWhite));
        }
}

using DrawFn = void (*)(Painter&, Tones);

struct Picture {
    int id;
    int size;   // images are size x size
    int images; // the second image is the disabled one
    DrawFn draw;
};

const Picture kPictures[] = {
    {bmpClearList, 16, 2, DrawClearList},   {bmpLookup, 16, 1, DrawLookup},
    {bmpDatePicker, 16, 1, DrawDatePicker}, {bmpNotifyUsers, 16, 1, DrawNotifyUsers},
    {bmpDeleteRow, 16, 1, DrawDeleteRow},   {bmpNoteLookup, 16, 1, DrawNoteLookup},
    {bmpPlan18, 18, 1, DrawPlan},           {bmpSave18, 18, 1, DrawSave},
    {bmpOpen18, 18, 1, DrawOpen},           {bmpDelete18, 18, 1, DrawDelete},
    {bmpView18, 18, 1, DrawView},           {bmpPlan24, 24, 1, DrawPlan},
    {bmpSave24, 24, 1, DrawSave},           {bmpOpen24, 24, 1, DrawOpen},
    {bmpDelete24, 24, 1, DrawDelete},       {bmpView24, 24, 1, DrawView},
};

} // namespace

int GetMaxBmpID() {
    int max = 0;
    for (const Picture& p : kPictures) max = std::max(max, p.id);
    return max;
}

bool LoadBmp(TBitmap* bitmap, int id) {
    if (!bitmap) return false;
    for (const Picture& pic : kPictures) {
        if (pic.id != id) continue;
        TBitmap image(pic.size * pic.images, pic.size);
        image.Fill(kBack);
        TCanvas& canvas = image.Canvas();
        for (int i = 0; i < pic.images; ++i) {
            Painter painter(canvas, i * pic.size, pic.size);
            pic.draw(painter, Tones{i == 1});
        }
        // The bottom-left pixel names the transparent colour.
        image.SetPixel(0, pic.size - 1, kBack);
        image.SetPixelFormat(pf4bit);
        image.SetTransparentMode(tmAuto);
        image.SetTransparent(true);
        bitmap->Assign(image);
        return true;
    }
    return false;
}

} // namespace qz
