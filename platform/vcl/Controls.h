#pragma once
// Controls: bounds, visibility, enabled state, colour, font, caption, hints, alignment, mouse events
// (TControl); children, tab order, focus, handles and keys (TWinControl); painting hooks.
#include "platform/gfx/Colors.h"
#include "platform/gfx/Geometry.h"
#include "platform/vcl/Classes.h"
#include "platform/vcl/Messages.h"
#include <memory>
#include <vector>

namespace qz {

class TFont;
class TCanvas;
class TBitmap;
class TWinControl;
class TCustomForm;

QZ_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient)
QZ_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)
QZ_ENUM(TBevelCut, bvNone, bvLowered, bvRaised, bvSpace)
// Border styles of forms; edits and panels use bsNone and bsSingle.
QZ_ENUM(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
using TCursor = int;
enum : TCursor {
    crDefault = 0,
    crNone = -1,
    crArrow = -2,
    crCross = -3,
    crIBeam = -4,
    crSizeWE = -9,
    crHourGlass = -11,
    crDrag = -12,
    crNo = -18,
    crHSplit = -14,
    crVSplit = -15,
    crSQLWait = -17,
    crHandPoint = -21,
};
using TModalResult = int;
enum : TModalResult {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10,
};

QZ_EVENT_TYPE(TMouseEvent, void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y))
QZ_EVENT_TYPE(TMouseMoveEvent, void(TObject* Sender, TShiftState Shift, int X, int Y))
QZ_EVENT_TYPE(TKeyEvent, void(TObject* Sender, Word& Key, TShiftState Shift))
QZ_EVENT_TYPE(TKeyPressEvent, void(TObject* Sender, char& Key))

// The shift state carried in key message parameters.
LPARAM ShiftToKeyData(TShiftState shift);
TShiftState KeyDataToShift(LPARAM data);

// The character a key produces without shift ('\r' for Enter, 'a' for the A key); 0 for none.
char KeyToChar(Word key, TShiftState shift);

class TControl : public TComponent {
    QZ_CLASS(TControl)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    void SetParentComponent(TComponent* parent) override;
    TComponent* GetParentComponent() const override;
    bool HasParent() const override { return true; }

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    // The client area (0, 0, ClientWidth, ClientHeight); forms and bordered controls are smaller.
    virtual TRect ClientRect() const;
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    void SetClientWidth(int v);
    void SetClientHeight(int v);
    TPoint ClientOrigin() const; // screen position of the client area
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible here and in every parent up to the form (and the form is shown).
    bool Showing() const;
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool v);

    TColor Color() const { return color_; }
    void SetColor(TColor v);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool v);
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* v);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v);

    // Caption and Text are the same text of a control.
    const AnsiString& Caption() const { return text_; }
    void SetCaption(const AnsiString& v) { SetText(v); }
    virtual AnsiString Text() const { return text_; }
    virtual void SetText(const AnsiString& v);

    const AnsiString& Hint() const { return hint_; }
    void SetHint(const AnsiString& v) { hint_ = v; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool v);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool v);
    TAlign Align() const { return align_; }
    void SetAlign(TAlign v);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor v) { cursor_ = v; }
    TComponent* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TComponent* v);
    bool AutoSize() const { return autoSize_; }
    virtual void SetAutoSize(bool v);

    // Message dispatch: Perform calls WndProc, which dispatches to the class's handler for the number
    // (ClassBuilder::Message) or to DefaultHandler.
    LRESULT Perform(Cardinal msg, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual void WndProc(TMessage& message);
    void Dispatch(TMessage& message);
    // Passes a message on to the handler of the ancestors of cls (the "inherited" of a handler).
    void InheritedMessage(const TMetaClass* cls, TMessage& message);
    virtual void DefaultHandler(TMessage& message) {}

    virtual void Click();
    virtual void DblClick();
    void Invalidate();
    void Repaint() { Invalidate(); }
    void Refresh() { Invalidate(); }
    void Update() {}
    void BringToFront();
    void SendToBack();
    // A screen point lies on the control.
    bool ContainsPoint(TPoint clientPoint) const {
        return clientPoint.X >= 0 && clientPoint.Y >= 0 && clientPoint.X < width_ && clientPoint.Y < height_;
    }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnResize;

protected:
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    // A completed left click (button pressed and released on the control); Click by default.
    virtual void MouseClick() { Click(); }
    virtual void TextChanged() {}
    virtual void FontChanged();
    virtual void EnabledChanged() {}
    virtual void VisibleChanged() {}
    virtual void Resize();
    virtual void ParentFontChanged();
    virtual void ParentColorChanged();
    virtual void ParentShowHintChanged();
    // Bounds that AutoSize asks for; the current ones by default.
    virtual void AdjustSize() {}
    void RequestAlign();

    void WMLButtonDown(TMessage& m);
    void WMLButtonUp(TMessage& m);
    void WMLButtonDblClk(TMessage& m);
    void WMRButtonDown(TMessage& m);
    void WMRButtonUp(TMessage& m);
    void WMMouseMove(TMessage& m);

    friend class TWinControl;
    TWinControl* parent_ = nullptr;
    bool clicked_ = false;

private:
    void FontObjectChanged();

    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clWindow;
    bool parentColor_ = false;
    std::unique_ptr<TFont> font_;
    bool parentFont_ = true;
    bool updatingFont_ = false;
    AnsiString text_;
    AnsiString hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TAlign align_ = alNone;
    TCursor cursor_ = crDefault;
    TComponent* popupMenu_ = nullptr;
    bool autoSize_ = false;
};

// A control that is a window: it has children, takes the focus and keys, and owns a handle on demand.
class TWinControl : public TControl {
    QZ_CLASS(TWinControl)
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const;
    bool ContainsControl(const TControl* control) const; // a descendant (or this)
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    // Sends the message to every child until one answers with a non-zero result.
    void Broadcast(TMessage& message);

    int TabOrder() const;
    void SetTabOrder(int v);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool v) { tabStop_ = v; }
    // Windowed children in tab order, depth first through containers.
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                 bool checkParent) const;
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
    void SelectFirst();

    // Visible and enabled up to its form.
    virtual bool CanFocus() const;
    virtual void SetFocus();
    virtual bool Focused() const;

    HWND Handle();
    bool HandleAllocated() const { return handle_ != 0; }
    void HandleNeeded() { Handle(); }
    void DestroyHandle();

    // Key input as the platform delivers it: the key goes through dialog-key handling (Tab, Enter,
    // Esc, arrows, unless the control wants them), then the form's key preview, then the control.
    // Returns true when a dialog key consumed it (no character follows then).
    bool DeliverKeyDown(Word key, TShiftState shift);
    void DeliverChar(char ch);
    void DeliverKeyUp(Word key, TShiftState shift);
    // Keys the control handles itself instead of the dialog (a memo's Enter, a grid's arrows).
    virtual bool WantsKey(Word key, TShiftState shift) const { return false; }

    void DisableAlign() { ++alignDisabled_; }
    void EnableAlign();
    void Realign();
    virtual void AlignControls(TControl* control, TRect& rect);

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

    void SetBounds(int left, int top, int width, int height) override;

protected:
    void Loaded() override;
    virtual void CreateWnd() {}
    virtual void DoEnter();
    virtual void DoExit();
    // Key handlers: OnKeyDown, OnKeyPress, OnKeyUp; descendants add their default handling.
    virtual void KeyDown(Word& key, TShiftState shift);
    virtual void KeyPress(char& key);
    virtual void KeyUp(Word& key, TShiftState shift);
    // The form previewing its controls' keys.
    bool DoKeyDown(Word& key, TShiftState shift);
    bool DoKeyPress(char& key);
    bool DoKeyUp(Word& key, TShiftState shift);
    void FontChanged() override;
    void ParentFontChanged() override;
    void ParentColorChanged() override;
    void ParentShowHintChanged() override;
    void Resize() override;
    // A hidden or disabled control gives the focus up.
    void EnabledChanged() override;
    void VisibleChanged() override;

    void WMKeyDown(TMessage& m);
    void WMChar(TMessage& m);
    void WMKeyUp(TMessage& m);
    void WMSetFocus(TMessage& m);
    void CMEnter(TMessage& m);
    void CMExit(TMessage& m);
    void CMDialogKey(TMessage& m);
    void CMDialogChar(TMessage& m);
    void CMFocusChanged(TMessage& m);

    friend class TControl;
    friend class TCustomForm;
    std::vector<TControl*> controls_;
    std::vector<TWinControl*> tabList_;

private:
    void UpdateTabOrder(int value);
    // The form's focus leaves a child control that is being removed.
    void DefocusLeaving(TWinControl* control);

    bool tabStop_ = false;
    int pendingTabOrder_ = -1;
    HWND handle_ = 0;
    int alignDisabled_ = 0;
    bool aligning_ = false;
};

// Publishes Color and ParentColor, and with font also Font and ParentFont (the controls that have them).
template <class T> void PublishColorAndFont(ClassBuilder<T>& b, bool font = true) {
    b.Property("Color", &TControl::Color, &TControl::SetColor).TypeName("TColor");
    b.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor);
    if (!font) return;
    b.Property("Font", &TControl::Font, &TControl::SetFont);
    b.Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(true);
}

// The control of a handle; nullptr when the handle is unknown (the window is gone).
TWinControl* FindControl(HWND handle);
// The form a control sits on; nullptr for a control without one.
TCustomForm* GetParentForm(const TControl* control);
// Messages by handle. SendMessage dispatches at once; PostMessage queues for the application loop.
LRESULT SendMessage(HWND handle, Cardinal msg, WPARAM wParam = 0, LPARAM lParam = 0);
bool PostMessage(HWND handle, Cardinal msg, WPARAM wParam = 0, LPARAM lParam = 0);
// The text of an accelerator ("&Save" has the accelerator S).
bool IsAccel(char key, const AnsiString& caption);
// Caption without "&" markers ("&&" is one "&").
AnsiString StripAccel(const AnsiString& caption);

// A windowed control that paints itself on a canvas.
class TCustomControl : public TWinControl {
    QZ_CLASS(TCustomControl)
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;
    // The canvas being painted on; outside painting, a canvas of a small bitmap for measuring text,
    // with the control's font.
    TCanvas* Canvas();
    // Paints the control onto canvas (the display backend, tests).
    void PaintTo(TCanvas& canvas);

protected:
    virtual void Paint() {}

private:
    TCanvas* paintCanvas_ = nullptr;
    std::unique_ptr<TBitmap> measureBitmap_;
};

// A control without a window that paints on its parent's canvas.
class TGraphicControl : public TControl {
    QZ_CLASS(TGraphicControl)
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    TCanvas* Canvas();
    void PaintTo(TCanvas& canvas);

protected:
    virtual void Paint() {}

private:
    TCanvas* paintCanvas_ = nullptr;
    std::unique_ptr<TBitmap> measureBitmap_;
};

} // namespace qz
