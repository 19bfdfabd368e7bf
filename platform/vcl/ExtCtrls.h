#pragma once
// Panels, images, bevels and splitters.
#include "platform/vcl/Controls.h"

namespace qz {

class TPicture;

QZ_ENUM(TBevelShape, bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer)
QZ_ENUM(TBevelStyle, bsLowered, bsRaised)
QZ_ENUM(TResizeStyle, rsNone, rsLine, rsUpdate, rsPattern)

class TPanel : public TCustomControl {
    QZ_CLASS(TPanel)
public:
    explicit TPanel(TComponent* owner);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut v);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut v);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int v);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int v);
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle v);
    void AlignControls(TControl* control, TRect& rect) override;

protected:
    void Paint() override;

private:
    TAlignment alignment_ = taCenter;
    TBevelCut bevelInner_ = bvNone;
    TBevelCut bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TFormBorderStyle borderStyle_ = bsNone;
};

class TImage : public TGraphicControl {
    QZ_CLASS(TImage)
public:
    explicit TImage(TComponent* owner);
    ~TImage() override;
    TPicture* Picture() const { return picture_.get(); }
    void SetPicture(TPicture* v);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool v);
    bool Center() const { return center_; }
    void SetCenter(bool v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    bool ReadBinaryProperty(const AnsiString& name, const std::vector<Byte>& data) override;

protected:
    void AdjustSize() override;
    void Paint() override;

private:
    std::unique_ptr<TPicture> picture_;
    bool stretch_ = false;
    bool center_ = false;
    bool transparent_ = false;
};

class TBevel : public TGraphicControl {
    QZ_CLASS(TBevel)
public:
    explicit TBevel(TComponent* owner);
    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape v);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle v);

protected:
    void Paint() override;

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};

// Dragging the splitter resizes the control aligned beside it.
class TSplitter : public TGraphicControl {
    QZ_CLASS(TSplitter)
public:
    explicit TSplitter(TComponent* owner);
    int MinSize() const { return minSize_; }
    void SetMinSize(int v) { minSize_ = v; }
    bool Beveled() const { return beveled_; }
    void SetBeveled(bool v) { beveled_ = v; }
    TResizeStyle ResizeStyle() const { return resizeStyle_; }
    void SetResizeStyle(TResizeStyle v) { resizeStyle_ = v; }
    // The control the splitter resizes: the one aligned the same way just before it.
    TControl* FindControl() const;
    TNotifyEvent OnMoved;

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Paint() override;

private:
    int minSize_ = 30;
    bool beveled_ = false;
    TResizeStyle resizeStyle_ = rsPattern;
    bool dragging_ = false;
    TPoint downPos_;
    int startSize_ = 0;
    TControl* target_ = nullptr;
};

} // namespace qz
