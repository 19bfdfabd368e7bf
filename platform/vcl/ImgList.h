#pragma once
// Image lists: pictures of one size, drawn by index (enabled or greyed).
#include "platform/gfx/Colors.h"
#include "platform/vcl/Classes.h"
#include <memory>

namespace qz {

class TBitmap;
class TCanvas;

class TCustomImageList : public TComponent {
    QZ_CLASS(TCustomImageList)
public:
    explicit TCustomImageList(TComponent* owner);
    ~TCustomImageList() override;

    int Width() const { return width_; }
    void SetWidth(int v);
    int Height() const { return height_; }
    void SetHeight(int v);
    int Count() const { return static_cast<int>(images_.size()); }
    bool Masked() const { return masked_; }
    void SetMasked(bool v) { masked_ = v; }
    TColor BkColor() const { return bkColor_; }
    void SetBkColor(TColor v) { bkColor_ = v; }
    int AllocBy() const { return allocBy_; }
    void SetAllocBy(int v) { allocBy_ = v; }

    // Adds the images of a bitmap (cut into Width-wide pieces); returns the index of the first.
    int Add(const TBitmap& image, const TBitmap* mask = nullptr);
    // As Add, with the colour that becomes transparent.
    int AddMasked(const TBitmap& image, TColor maskColor);
    void Replace(int index, const TBitmap& image);
    void Delete(int index);
    void Clear();
    // Copies image index into bitmap (resized to the list's size).
    void GetBitmap(int index, TBitmap& bitmap) const;
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;
    bool ReadBinaryProperty(const AnsiString& name, const std::vector<Byte>& data) override;

    TNotifyEvent OnChange;

protected:
    void Change();

private:
    struct Image {
        std::unique_ptr<TBitmap> bitmap;
        TColor transparent;
    };
    int width_ = 16, height_ = 16;
    bool masked_ = true;
    TColor bkColor_ = clNone;
    int allocBy_ = 4;
    std::vector<Image> images_;
};

class TImageList : public TCustomImageList {
    QZ_CLASS(TImageList)
public:
    explicit TImageList(TComponent* owner) : TCustomImageList(owner) {}
};

} // namespace qz
